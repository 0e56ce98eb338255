#include "tax/calendar.h"

#include <gtest/gtest.h>

namespace dodu::tax {
namespace {

Date D(int y, int m, int d) { return *Date::FromYmd(y, m, d); }

struct UltimoCase {
  int month, year, offset;
  Date want;
};

TEST(CalendarTest, UltimoDiaFindsTheLastBusinessDay) {
  const UltimoCase cases[] = {
      {12, 2019, 2, D(2020, 1, 31)},  // December's payment is due in January, a Friday
      {11, 2019, 2, D(2019, 12, 30)}, // 31/12/2019 is a Tuesday: December moves one more day
      {8, 2019, 2, D(2019, 9, 30)},   // a Monday stays
      {10, 2019, 2, D(2019, 11, 29)}, // 30/11/2019 is a Saturday
      {6, 2019, 2, D(2019, 7, 31)},
      {3, 2019, 2, D(2019, 4, 30)},
      {5, 2020, 1, D(2020, 5, 29)},   // 31/05/2020 is a Sunday
      {11, 2020, 1, D(2020, 11, 30)},
      {12, 2020, 1, D(2020, 12, 30)}, // 31/12/2020 is a Thursday
      {12, 2021, 1, D(2021, 12, 30)}, // 31/12/2021 Friday, one back: Thursday
      {11, 2022, 2, D(2022, 12, 29)}, // 31/12/2022 Saturday -> 30 Friday -> 29 Thursday
      {1, 2023, 1, D(2023, 1, 31)},
  };
  for (const UltimoCase& c : cases) {
    EXPECT_EQ(UltimoDia(c.month, c.year, c.offset), c.want)
        << c.month << "/" << c.year << " offset " << c.offset;
  }
}

TEST(CalendarTest, DecemberDateSkipsAWeekendAfterStepping) {
  // 31/12/2023 is a Sunday -> 29 Friday; December rule one back -> 28 Thursday.
  EXPECT_EQ(UltimoDia(12, 2023, 1), D(2023, 12, 28));
  // 31/12/2018 is a Monday -> one back -> 30 Sunday -> 28 Friday.
  EXPECT_EQ(UltimoDia(12, 2018, 1), D(2018, 12, 28));
}

TEST(CalendarTest, MesAnterIsTheBaseYear) {
  EXPECT_EQ(MesAnter(12), D(2019, 12, 30));
  EXPECT_EQ(MesAnter(6), D(2019, 6, 28));  // 30/06/2019 is a Sunday
}

struct ProxCase {
  Date from, want;
};

TEST(CalendarTest, ProxDiaFindsTheNextBusinessDay) {
  const ProxCase cases[] = {
      {D(2020, 1, 31), D(2020, 2, 3)},    // Friday -> Monday
      {D(2020, 2, 3), D(2020, 2, 4)},     // Monday -> Tuesday
      {D(2019, 12, 30), D(2020, 1, 2)},   // 31/12 is no business day
      {D(2021, 12, 30), D(2022, 1, 3)},   // 31/12 -> 02/01/2022 is a Sunday -> Monday
      {D(2020, 4, 30), D(2020, 5, 4)},    // 1 May 2020 (Friday) -> 2 May Saturday -> Monday
      {D(2019, 4, 30), D(2019, 5, 2)},    // 1 May 2019 (Wednesday) -> Thursday
      {D(2020, 2, 28), D(2020, 3, 2)},
  };
  for (const ProxCase& c : cases) EXPECT_EQ(ProxDia(c.from), c.want) << c.from;
}

TEST(CalendarTest, DfPagtoIsTheLastBusinessDayOfTheMonth) {
  EXPECT_EQ(DfPagto(D(2020, 5, 4)), D(2020, 5, 29));
  EXPECT_EQ(DfPagto(D(2020, 4, 1)), D(2020, 4, 30));
  EXPECT_EQ(DfPagto(D(2020, 12, 10)), D(2020, 12, 30));
  EXPECT_EQ(DfPagto(D(2026, 12, 11)), D(2026, 12, 30));  // 31/12/2026 is a Thursday
}

}  // namespace
}  // namespace dodu::tax
