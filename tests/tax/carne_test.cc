#include "tax/carne.h"

#include <gtest/gtest.h>

#include <vector>

#include "tax/testutil.h"

namespace dodu::tax {
namespace {

using testing::D;
using testing::Dec;

TEST(CarneTest, MonthDueByTheMonthlyTable) {
  struct Case {
    const char* base;
    const char* tax;
  };
  const Case cases[] = {
      {"1903.99", "0"},     {"1904.00", "0"},      // 1,904.00 x 7.5 % - 142.80
      {"2000.00", "7.20"},  {"2826.66", "69.19"},  // 211.9995 - 142.80, cut
      {"3000.00", "95.20"}, {"4000.00", "263.87"}, {"5000.00", "505.64"}, {"-100", "0"}, {"0", "0"},
  };
  for (const Case& c : cases) {
    // The base is income from individuals alone.
    CarneRow row;
    row.at(kFromIndividuals, 5) = Dec(c.base);
    MonthDue(row, 5, true);
    EXPECT_EQ(row.at(kDue, 5), Dec(c.tax)) << c.base;
    EXPECT_EQ(row.at(kDue, kYearRow), Dec(c.tax)) << c.base;
  }
  // Base = individuals + abroad - cash book - deductions: 1,500 + 900 - 300 - 100.
  CarneRow row;
  row.at(kFromIndividuals, 1) = Dec("1500");
  row.at(kFromAbroad, 1) = Dec("900");
  row.at(kCashBook, 1) = Dec("300");
  row.at(kDeductions, 1) = Dec("100");
  MonthDue(row, 1, false);
  EXPECT_EQ(row.at(kDue, 1), Dec("7.20"));
  EXPECT_EQ(row.at(kDue, kYearRow), Dec("0")) << "no year sum asked";
}

TEST(CarneTest, InverseCalculationFindsTheIncome) {
  struct Case {
    const char* paid;
    const char* cash_book;
    const char* deductions;
    const char* abroad;
    const char* income;
  };
  const Case cases[] = {
      {"0", "0", "0", "0", "1904.00"},        {"100", "0", "0", "0", "3032.00"},  // 15 % band
      {"500", "0", "0", "0", "4979.49"},                                          // 27.5 % band
      {"50", "0", "189.59", "0", "2760.26"},   // 7.5 % band over the deduction
      {"50", "89.59", "100", "0", "2760.26"},  // cash book and deductions alike
      {"100", "0", "0", "1000", "2032.00"},    // abroad is part of the gross
  };
  for (const Case& c : cases) {
    CarneRow row;
    row.at(kPaid, 4) = Dec(c.paid);
    row.at(kCashBook, 4) = Dec(c.cash_book);
    row.at(kDeductions, 4) = Dec(c.deductions);
    row.at(kFromAbroad, 4) = Dec(c.abroad);
    InverseMonth(row, 4);
    EXPECT_EQ(row.at(kFromIndividuals, 4), Dec(c.income)) << "paid " << c.paid;
    EXPECT_EQ(row.at(kFromIndividuals, kYearRow), Dec(c.income));
    EXPECT_EQ(row.at(kPaid, 4), Dec(c.paid)) << "a matching band keeps the paid tax";
    MonthDue(row, 4, true);
    EXPECT_EQ(row.at(kDue, 4).RoundHalfAway(0), Dec(c.paid).RoundHalfAway(0)) << c.paid;
  }
  // Income from abroad above the gross: the income from individuals stays 0.
  CarneRow row;
  row.at(kFromAbroad, 1) = Dec("5000");
  InverseMonth(row, 1);
  EXPECT_EQ(row.at(kFromIndividuals, 1), Dec("0"));
}

TEST(CarneTest, DeductionColumnSplit) {
  // Two dependants: D = 379.18.
  struct Case {
    const char* typed;
    DeductionEntry::Action action;
    const char* if_yes;
    const char* if_no;
    const char* social_security_if_yes;
  };
  const Case cases[] = {
      {"500.00", DeductionEntry::kAsk, "500.00", "379.18", "120.82"},
      {"300.00", DeductionEntry::kAsk, "300.00", "0", "300.00"},
      {"379.18", DeductionEntry::kKeep, "379.18", "0", "0"},
      {"0", DeductionEntry::kKeep, "0", "0", "0"},
  };
  for (const Case& c : cases) {
    DeductionEntry e = ConfCarne(Dec(c.typed), true, 2);
    EXPECT_EQ(e.action, c.action) << c.typed;
    EXPECT_EQ(e.if_yes, Dec(c.if_yes)) << c.typed;
    if (e.action == DeductionEntry::kAsk) {
      EXPECT_EQ(e.if_no, Dec(c.if_no)) << c.typed;
    }
    EXPECT_EQ(SplitDeduction(e.if_yes, Dec("379.18")).social_security,
              Dec(c.social_security_if_yes))
        << c.typed;
  }
  EXPECT_EQ(ConfCarne(Dec("500"), true, 2).message.at(0),
            "O valor      120,82 deve ser considerado como  Previdência?");
  DeductionEntry dep = ConfCarne(Dec("500"), false, 2);
  EXPECT_EQ(dep.action, DeductionEntry::kRefused);
  EXPECT_EQ(dep.message.size(), 2u);

  CarneRow titular;
  titular.at(kDeductions, 1) = Dec("500");
  titular.at(kDeductions, 2) = Dec("300");
  titular.at(kDeductions, 3) = Dec("379.18");
  DeductionSplit year = SplitYear(titular, 2);
  EXPECT_EQ(year.social_security, Dec("420.82"));
  EXPECT_EQ(year.dependants, Dec("758.36"));
}

TEST(CarneTest, CarriedTaxByPaidOrLarger) {
  std::vector<CarneRow> rows(2);
  rows[0].at(kPaid, 1) = Dec("100");
  rows[0].at(kDue, 1) = Dec("150");
  rows[0].at(kPaid, 2) = Dec("200");
  rows[0].at(kDue, 2) = Dec("150");
  rows[1].cpfdepen = "12345678909";
  rows[1].at(kDue, 5) = Dec("30");
  rows[1].at(kPaid, kYearRow) = Dec("999");  // the year row is not counted again
  CarriedTax larger = CalcLeaoTotal(rows, false);
  EXPECT_EQ(larger.titular, Dec("350"));
  EXPECT_EQ(larger.dependants, Dec("30"));
  CarriedTax paid = CalcLeaoTotal(rows, true);
  EXPECT_EQ(paid.titular, Dec("300"));
  EXPECT_EQ(paid.dependants, Dec("0"));
}

TEST(CarneTest, CorrectionOfUnpaidDifferences) {
  const auto selic = testing::Selic2019To2020();
  CarneRow row;
  // March 2019: due 111.76, paid 100.00, due date 30/04/2019.
  row.at(kDue, 3) = Dec("111.76");
  row.at(kPaid, 3) = Dec("100");
  // June 2019 fully paid: nothing, whatever the dates.
  row.at(kDue, 6) = Dec("50");
  row.at(kPaid, 6) = Dec("50");
  // November 2019: due 40.00 unpaid, due 30/12/2019.
  row.at(kDue, 11) = Dec("40");
  auto age = CorrDarf(row, D(2020, 9, 30), selic, D(2020, 9, 30));
  ASSERT_TRUE(age.ok()) << age.status().message();
  EXPECT_EQ(*age, SelicAge::kCurrent);
  // 11.76 x (1 + 20 % + 1 % + 5.86 % of May 2019 .. August 2020) = 14.918736
  EXPECT_EQ(row.at(kCorrected, 3), Dec("14.92"));
  EXPECT_EQ(row.at(kCorrected, 6), Dec("0"));
  // 40.00 x (1 + 20 % + 1 % + 2.09 % of January .. August 2020) = 49.236
  EXPECT_EQ(row.at(kCorrected, 11), Dec("49.24"));
  EXPECT_EQ(row.at(kCorrected, kYearRow), Dec("64.16"));

  // Paid on the due date itself: the difference alone.
  CarneRow on_time;
  on_time.at(kDue, 6) = Dec("80");
  ASSERT_TRUE(CorrDarf(on_time, D(2019, 7, 31), selic, D(2019, 7, 31)).ok());
  EXPECT_EQ(on_time.at(kCorrected, 6), Dec("80"));
  // Two days after the due date 31/07/2019, in the next month: 0.66 % and 1 %.
  ASSERT_TRUE(CorrDarf(on_time, D(2019, 8, 2), selic, D(2019, 8, 2)).ok());
  EXPECT_EQ(on_time.at(kCorrected, 6), Dec("81.33"));  // 80 x 1.0166 = 81.328

  // A blank payment date clears the column.
  ASSERT_TRUE(CorrDarf(row, core::Date(), selic, D(2020, 9, 30)).ok());
  EXPECT_EQ(row.at(kCorrected, kYearRow), Dec("0"));
}

TEST(CarneTest, CorrectionWithAMissingSelicMonthFails) {
  auto selic = testing::Selic2019To2020();
  selic.erase(selic.begin() + 13);  // February 2020
  CarneRow row;
  row.at(kDue, 11) = Dec("40");
  row.at(kCorrected, 11) = Dec("1");
  auto age = CorrDarf(row, D(2020, 9, 30), selic, D(2020, 9, 30));
  ASSERT_FALSE(age.ok());
  EXPECT_EQ(age.status().message(), "Taxa Selic de Fevereiro/2020 não cadastrada");
  EXPECT_EQ(row.at(kCorrected, 11), Dec("1")) << "the row is left as it was";
}

TEST(CarneTest, FillModeAndGridNames) {
  EXPECT_EQ(FillModeOf(Dec("3")), FillMode::kCashBookLedger);
  EXPECT_EQ(FillModeOf(Dec("0")), FillMode::kIndividual);
  EXPECT_EQ(FillModeOf(Dec("7")), FillMode::kIndividual);
  EXPECT_EQ(CarneFieldName(7, 13), "I2_713");
  EXPECT_EQ(CarneFieldName(1, 2), "I2_102");
}

}  // namespace
}  // namespace dodu::tax
