#include "tax/selic.h"

#include <gtest/gtest.h>

#include <vector>

namespace dodu::tax {
namespace {

using namespace core::literals;

Date D(int y, int m, int d) { return *Date::FromYmd(y, m, d); }

// The SELIC register as it stood at the end of 2020 (per cent a month).
std::vector<SelicRow> Selic2020() {
  const char* const rates[] = {"0.38", "0.29", "0.34", "0.28", "0.24", "0.21",
                               "0.19", "0.16", "0.16", "0.16", "0.15", "0.16"};
  std::vector<SelicRow> rows;
  for (int m = 1; m <= 12; ++m) {
    rows.push_back({*YearMonth::Of(2020, m), *Decimal::Parse(rates[m - 1])});
  }
  return rows;
}

const Date kToday = D(2020, 12, 15);

struct JuroCase {
  Date due, payment;
  const char* rate;
  const char* why;
};

TEST(SelicTest, AchaJuroCountsTheMonthsStrictlyBetween) {
  // Fault: the old loop added the payment month's own rate, or ran to the end of
  // the register when the due month had no later end; the range is now the
  // months strictly after the due month and strictly before the payment month.
  const JuroCase cases[] = {
      {D(2020, 3, 31), D(2020, 3, 31), "0", "paid on the due date"},
      {D(2020, 3, 31), D(2020, 3, 20), "0", "paid early"},
      {D(2020, 3, 16), D(2020, 3, 31), "0", "late within the due month"},
      {D(2020, 3, 31), D(2020, 4, 1), "1", "the month after: 1 % only"},
      {D(2020, 3, 31), D(2020, 5, 5), "1.28", "1 + April"},
      {D(2020, 6, 30), D(2020, 9, 15), "1.35", "1 + July + August"},
      {D(2020, 1, 31), D(2020, 12, 30), "3.18", "1 + February .. November"},
  };
  const auto rows = Selic2020();
  for (const JuroCase& c : cases) {
    auto r = AchaJuro(rows, c.due, c.payment, kToday);
    ASSERT_TRUE(r.ok()) << c.why << ": " << r.status().message();
    EXPECT_EQ(r->rate, *Decimal::Parse(c.rate)) << c.why;
  }
}

TEST(SelicTest, QuotaInterestStartsInJuly) {
  struct Case {
    Date payment;
    const char* rate;
  };
  const Case cases[] = {
      {D(2020, 6, 30), "0"},     // quota 1 by the deadline
      {D(2020, 5, 15), "0"},     // any quota paid early
      {D(2020, 7, 31), "1"},     // quota 2 in July
      {D(2020, 8, 31), "1.19"},  // quota 3 in August: 1 + July
      {D(2020, 9, 30), "1.35"},  // quota 4 in September: 1 + July + August
      {D(2020, 9, 1), "1.35"},   // any quota paid in September
  };
  const auto rows = Selic2020();
  for (const Case& c : cases) {
    auto r = QuotaInterest(rows, c.payment, kToday);
    ASSERT_TRUE(r.ok()) << c.payment;
    EXPECT_EQ(r->rate, *Decimal::Parse(c.rate)) << c.payment;
  }
}

TEST(SelicTest, AMissingMonthIsReportedByName) {
  // Fault: a month missing from the register silently added nothing.
  auto rows = Selic2020();
  rows.erase(rows.begin() + 7);  // August 2020
  auto r = AchaJuro(rows, D(2020, 6, 30), D(2020, 9, 15), kToday);
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(r.status().code(), StatusCode::kNotFound);
  EXPECT_EQ(r.status().message(), "Taxa Selic de Agosto/2020 não cadastrada");
  // A month outside the range is not needed.
  EXPECT_TRUE(AchaJuro(rows, D(2020, 3, 31), D(2020, 5, 5), kToday).ok());
  EXPECT_FALSE(QuotaInterest(rows, D(2020, 9, 30), kToday).ok());
  EXPECT_TRUE(QuotaInterest(rows, D(2020, 8, 31), kToday).ok());
}

TEST(SelicTest, AgeOfTheRegister) {
  const auto rows = Selic2020();                                 // newest December 2020
  EXPECT_EQ(AgeOf(rows, D(2021, 1, 30)), SelicAge::kCurrent);    // 30 days back: 31/12/2020
  EXPECT_EQ(AgeOf(rows, D(2021, 1, 31)), SelicAge::kStaleYear);  // 01/01/2021: a year behind
  std::vector<SelicRow> older(rows.begin(), rows.begin() + 9);   // up to September
  EXPECT_EQ(AgeOf(older, D(2020, 11, 20)), SelicAge::kStaleMonth);
  EXPECT_EQ(AgeOf(older, D(2020, 10, 30)), SelicAge::kCurrent);
  EXPECT_EQ(AgeOf({}, kToday), SelicAge::kStaleYear);
  EXPECT_EQ(SelicAgeMessage(SelicAge::kStaleMonth).size(), 2u);
  // Only a consulted register is judged.
  auto early = AchaJuro(older, D(2020, 3, 31), D(2020, 3, 20), D(2020, 11, 20));
  EXPECT_EQ(early->age, SelicAge::kCurrent);
  auto late = AchaJuro(older, D(2020, 3, 31), D(2020, 6, 1), D(2020, 11, 20));
  EXPECT_EQ(late->age, SelicAge::kStaleMonth);
}

TEST(SelicTest, LateFineCountsCalendarDaysAndIsCapped) {
  // Fault: the day count started at the first business day after the due date
  // in one place and at the due date itself in another, and the carnê-leão
  // correction did not cap the fine.
  struct Case {
    Date due, payment;
    std::optional<Date> edited;
    const char* rate;
  };
  const Case cases[] = {
      {D(2020, 6, 30), D(2020, 6, 30), {}, "0"},
      {D(2020, 6, 30), D(2020, 6, 10), {}, "0"},
      {D(2020, 6, 30), D(2020, 7, 2), {}, "0.66"},    // 1 day after the next business day
      {D(2020, 7, 31), D(2020, 8, 4), {}, "1.32"},    // Friday due, 4 calendar days
      {D(2020, 6, 30), D(2020, 8, 29), {}, "19.80"},  // 60 days
      {D(2020, 6, 30), D(2020, 8, 30), {}, "20"},     // 61 days: 20.13 capped
      {D(2020, 6, 30), D(2020, 9, 15), {}, "20"},
      {D(2020, 7, 31), D(2020, 8, 4), D(2020, 8, 3), "0.66"},   // later start moves it
      {D(2020, 7, 31), D(2020, 8, 4), D(2020, 7, 20), "1.32"},  // earlier start does not
      {D(2020, 7, 31), D(2020, 8, 4), Date(), "1.32"},          // blank start does not
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LateFineRate(c.due, c.payment, c.edited), *Decimal::Parse(c.rate))
        << c.due << " -> " << c.payment;
  }
}

TEST(SelicTest, LateFilingMonthsAcrossTheYear) {
  // Fault: months late were the difference of the month numbers within a year
  // and "days / 30" across years, so January 2021 counted 6 or 7 by the day.
  struct Case {
    Date payment;
    int months;
  };
  const Case cases[] = {{D(2020, 6, 30), 0}, {D(2020, 5, 2), 0}, {D(2020, 7, 1), 1},
                        {D(2020, 8, 31), 2}, {D(2021, 1, 1), 7}, {D(2021, 1, 31), 7},
                        {D(2022, 6, 1), 24}};
  for (const Case& c : cases) EXPECT_EQ(LateFilingMonths(c.payment), c.months) << c.payment;
}

TEST(SelicTest, LateFilingFineHasAMinimumAndACap) {
  struct Case {
    const char* tax;
    Date payment;
    const char* uncapped;
    const char* fine;
  };
  const Case cases[] = {
      {"10000", D(2020, 8, 10), "200", "200"},    // 2 months late
      {"1000", D(2020, 8, 10), "20", "165.74"},   // the minimum
      {"500", D(2020, 7, 10), "5", "165.74"},     // the minimum beats the cap of 100
      {"10000", D(2022, 9, 10), "2700", "2000"},  // 27 months: capped at 20 %
      {"10000", D(2020, 6, 30), "0", "0"},        // paid in time
  };
  for (const Case& c : cases) {
    LateFilingFine f = LateFilingFineOf(*Decimal::Parse(c.tax), c.payment);
    EXPECT_EQ(f.uncapped, *Decimal::Parse(c.uncapped)) << c.tax << " " << c.payment;
    EXPECT_EQ(f.fine, *Decimal::Parse(c.fine)) << c.tax << " " << c.payment;
  }
}

TEST(SelicTest, ChargesAddFineAndInterestUnrounded) {
  Charges c = ChargesOf("333.33"_dec, "4.95"_dec, Interest{"1.35"_dec});
  EXPECT_EQ(c.fine, "16.499835"_dec);
  EXPECT_EQ(c.interest, "4.4999550"_dec);
  EXPECT_EQ(c.total, "354.3297900"_dec);
}

}  // namespace
}  // namespace dodu::tax
