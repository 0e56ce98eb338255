#include "tax/calendar.h"

#include <gtest/gtest.h>

namespace dodu::tax {
namespace {

Date D(int y, int m, int d) { return *Date::FromYmd(y, m, d); }

struct ProxCase {
  Date from, want;
};

struct ProxCaseYear {
  int year;
  Date want;
};

struct UltimoCase {
  int month, year, offset;
  Date want;
};

TEST(CalendarTest, UltimoDiaFindsTheLastBusinessDay) {
  const UltimoCase cases[] = {
      {12, 2019, 2, D(2020, 1, 31)},   // December's payment is due in January, a Friday
      {11, 2019, 2, D(2019, 12, 30)},  // 31/12/2019 is a Tuesday: December moves one more day
      {8, 2019, 2, D(2019, 9, 30)},    // a Monday stays
      {10, 2019, 2, D(2019, 11, 29)},  // 30/11/2019 is a Saturday
      {6, 2019, 2, D(2019, 7, 31)},   {3, 2019, 2, D(2019, 4, 30)},
      {5, 2020, 1, D(2020, 5, 29)},                                    // 31/05/2020 is a Sunday
      {11, 2020, 1, D(2020, 11, 30)}, {12, 2020, 1, D(2020, 12, 30)},  // 31/12/2020 is a Thursday
      {12, 2021, 1, D(2021, 12, 30)},  // 31/12/2021 Friday, one back: Thursday
      {11, 2022, 2, D(2022, 12, 30)},  // 31/12/2022 Saturday -> 30 Friday, which stays
      {1, 2023, 1, D(2023, 1, 31)},
  };
  for (const UltimoCase& c : cases) {
    EXPECT_EQ(UltimoDia(c.month, c.year, c.offset), c.want)
        << c.month << "/" << c.year << " offset " << c.offset;
  }
}

TEST(CalendarTest, DecemberStepsBackOnlyFrom31December) {
  // Fault: every December result used to move one more day back, so a month
  // whose last weekday was 29 or 30 December lost a valid due date. Only
  // 31 December itself is no business day.
  // 31/12/2023 is a Sunday -> 29 Friday, which stays.
  EXPECT_EQ(UltimoDia(12, 2023, 1), D(2023, 12, 29));
  // 31/12/2018 is a Monday -> one back -> 30 Sunday -> 28 Friday.
  EXPECT_EQ(UltimoDia(12, 2018, 1), D(2018, 12, 28));
}

TEST(CalendarTest, EasterSundayOfKnownYears) {
  const ProxCaseYear cases[] = {{2019, D(2019, 4, 21)}, {2020, D(2020, 4, 12)},
                                {2021, D(2021, 4, 4)},  {2017, D(2017, 4, 16)},
                                {2038, D(2038, 4, 25)}, {2285, D(2285, 3, 22)}};
  for (const ProxCaseYear& c : cases) EXPECT_EQ(EasterSunday(c.year), c.want) << c.year;
}

TEST(CalendarTest, NationalHolidaysAreNoBusinessDays) {
  // Fault: only weekends, 1 May and 31 December were known, so due dates and
  // the first business day after them could fall on a holiday.
  const ProxCase prox[] = {
      {D(2020, 4, 9), D(2020, 4, 13)},     // Good Friday 10/04/2020
      {D(2020, 4, 20), D(2020, 4, 22)},    // Tiradentes, a Tuesday
      {D(2020, 6, 10), D(2020, 6, 12)},    // Corpus Christi 11/06/2020
      {D(2020, 2, 21), D(2020, 2, 26)},    // Carnival 24 and 25/02/2020
      {D(2020, 9, 4), D(2020, 9, 8)},      // 7 September, a Monday
      {D(2020, 11, 13), D(2020, 11, 16)},  // 15 November on a Sunday changes nothing
      {D(2020, 12, 24), D(2020, 12, 28)},  // Christmas on a Friday
      {D(2020, 12, 30), D(2021, 1, 4)},    // 31/12, 1 January, then the weekend
  };
  for (const ProxCase& c : prox) EXPECT_EQ(ProxDia(c.from), c.want) << c.from;
  // February 2017 ends on Carnival Monday and Tuesday: its last business day is
  // Friday 24/02/2017.
  EXPECT_EQ(UltimoDia(1, 2017, 2), D(2017, 2, 24));
  // March 2018 ends on Good Friday 30/03 and a Saturday.
  EXPECT_EQ(UltimoDia(3, 2018, 1), D(2018, 3, 29));
  EXPECT_FALSE(IsBusinessDay(D(2019, 12, 31)));
  EXPECT_FALSE(IsNationalHoliday(D(2019, 12, 31)));
  EXPECT_TRUE(IsBusinessDay(D(2019, 12, 30)));
}

TEST(CalendarTest, MesAnterIsTheBaseYear) {
  EXPECT_EQ(MesAnter(12), D(2019, 12, 30));
  EXPECT_EQ(MesAnter(6), D(2019, 6, 28));  // 30/06/2019 is a Sunday
}

TEST(CalendarTest, ProxDiaFindsTheNextBusinessDay) {
  const ProxCase cases[] = {
      {D(2020, 1, 31), D(2020, 2, 3)},   // Friday -> Monday
      {D(2020, 2, 3), D(2020, 2, 4)},    // Monday -> Tuesday
      {D(2019, 12, 30), D(2020, 1, 2)},  // 31/12 is no business day
      {D(2021, 12, 30), D(2022, 1, 3)},  // 31/12 -> 02/01/2022 is a Sunday -> Monday
      {D(2020, 4, 30), D(2020, 5, 4)},   // 1 May 2020 (Friday) -> 2 May Saturday -> Monday
      {D(2019, 4, 30), D(2019, 5, 2)},   // 1 May 2019 (Wednesday) -> Thursday
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
