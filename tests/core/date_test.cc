#include "core/date.h"

#include <gtest/gtest.h>

namespace dodu::core {
namespace {

Date Ymd(int y, int m, int d) { return Date::FromYmd(y, m, d).value(); }

TEST(Date, ValidatesCivilDates) {
  EXPECT_TRUE(Date::FromYmd(2020, 2, 29).has_value());
  EXPECT_FALSE(Date::FromYmd(2019, 2, 29).has_value());
  EXPECT_FALSE(Date::FromYmd(1900, 2, 29).has_value());
  EXPECT_TRUE(Date::FromYmd(2000, 2, 29).has_value());
  EXPECT_FALSE(Date::FromYmd(2020, 4, 31).has_value());
  EXPECT_FALSE(Date::FromYmd(2020, 13, 1).has_value());
  EXPECT_FALSE(Date::FromYmd(2020, 1, 0).has_value());
  EXPECT_FALSE(Date::FromYmd(0, 1, 1).has_value());
}

TEST(Date, TextForms) {
  Date d = Ymd(2020, 6, 30);
  EXPECT_EQ(d.Dtos(), "20200630");
  EXPECT_EQ(d.ToDmy(), "30/06/2020");
  EXPECT_EQ(d.ToDmy2(), "30/06/20");
  EXPECT_EQ(Date::FromDtos("20200630"), d);
  EXPECT_EQ(Date::ParseDmy("30/06/2020"), d);
  EXPECT_EQ(Date::ParseDmy("05/03/19"), Ymd(1919, 3, 5));  // epoch 1900
  EXPECT_EQ(Date::ParseDmy("05/03/99"), Ymd(1999, 3, 5));
  for (const char* bad : {"31/02/2020", "3/6/2020", "30-06-2020", "aa/bb/cccc", "30/06/202"}) {
    EXPECT_FALSE(Date::ParseDmy(bad).has_value()) << bad;
  }
  for (const char* bad : {"2020063", "20201301", "2020O630"}) {
    EXPECT_FALSE(Date::FromDtos(bad).has_value()) << bad;
  }
}

TEST(Date, BlankDate) {
  Date blank;
  EXPECT_TRUE(blank.IsBlank());
  EXPECT_EQ(blank.Dtos(), "        ");
  EXPECT_EQ(blank.ToDmy(), "  /  /    ");
  EXPECT_EQ(Date::FromDtos("        "), blank);
  EXPECT_EQ(Date::FromDtos(""), blank);
  EXPECT_EQ(Date::ParseDmy("  /  /    "), blank);
  EXPECT_EQ(Date::ParseDmy("  /  /  "), blank);
  EXPECT_LT(blank, Ymd(1, 1, 1));
  EXPECT_EQ(blank.AddDays(5), blank);
}

TEST(Date, DayArithmeticAndWeekday) {
  EXPECT_EQ(Ymd(1970, 1, 1).Days(), 0);
  EXPECT_EQ(Ymd(2019, 12, 31).AddDays(1), Ymd(2020, 1, 1));
  EXPECT_EQ(Ymd(2020, 3, 1).AddDays(-1), Ymd(2020, 2, 29));
  EXPECT_EQ(Ymd(2020, 6, 30).DaysSince(Ymd(2019, 6, 30)), 366);
  EXPECT_EQ(Date::FromDays(Ymd(1899, 12, 31).Days()), Ymd(1899, 12, 31));
  EXPECT_EQ(Ymd(2020, 6, 30).Weekday(), 2);  // Tuesday
  EXPECT_EQ(Ymd(2019, 12, 29).Weekday(), 0);  // Sunday
  EXPECT_EQ(Ymd(1969, 12, 31).Weekday(), 3);
  EXPECT_LT(Ymd(2019, 12, 31), Ymd(2020, 1, 1));
}

TEST(YearMonth, Arithmetic) {
  YearMonth jan = YearMonth::Of(2019, 1).value();
  EXPECT_FALSE(YearMonth::Of(2019, 0).has_value());
  EXPECT_EQ(jan.AddMonths(-1), YearMonth::Of(2018, 12).value());
  EXPECT_EQ(jan.AddMonths(13), YearMonth::Of(2020, 2).value());
  EXPECT_EQ(YearMonth::Of(2020, 2)->LastDay(), Ymd(2020, 2, 29));
  EXPECT_EQ(YearMonth::Of(2019, 2)->Days(), 28);
  EXPECT_EQ(jan.FirstDay(), Ymd(2019, 1, 1));
  EXPECT_EQ(YearMonth::Of(2020, 3)->MonthsSince(jan), 14);
  EXPECT_EQ(YearMonth::Of(Ymd(2019, 7, 15)), YearMonth::Of(2019, 7).value());
  EXPECT_EQ(jan.ToString(), "2019-01");
}

}  // namespace
}  // namespace dodu::core
