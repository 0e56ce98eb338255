#include "tax/annual_simulator.h"

#include <gtest/gtest.h>

#include "annual_fixture.h"
#include "tax/annual_table.h"
#include "tax/exercise.h"

namespace dodu::tax {
namespace {

using namespace core::literals;
using testing::DeclarationVariables;
using testing::Rows;

Decimal SimplifiedTaxOf(const Decimal& income) {
  Decimal discount = std::min((income * "0.20"_dec).Despreza(2), kSimplifiedLimit);
  return AnnualTax(income - discount);
}

TEST(AnnualSimulatorTest, SimplifiedInverseGivesTheDesiredBalance) {
  const Decimal paid = "1500.00"_dec;
  // Targets (balance + paid) in every band, at and around the cap of the discount.
  for (Decimal balance :
       {"-1500.00"_dec, "-1000.00"_dec, "0"_dec, "500.00"_dec, "2500.00"_dec, "5000.00"_dec,
        "6497.45"_dec, "6500.00"_dec, "6627.07"_dec, "20000.00"_dec}) {
    core::VariableMap v = DeclarationVariables();
    v.SetNumber("I13_35", paid);
    InverseResult r = SimplifiedIncomeFor(v, balance);
    ASSERT_FALSE(r.refused) << balance;
    EXPECT_EQ(SimplifiedTaxOf(r.income) - paid, balance) << balance << " income " << r.income;
  }
}

TEST(AnnualSimulatorTest, SimplifiedCapStartsWhereTheDiscountReachesIt) {
  // Fault: the inverse took the capped discount only from a tax of 8,127.07,
  // while 20 % of the income reaches 16,754.34 at 83,771.70 (tax 7,997.45); a
  // tax of 8,000.00 was answered with an income 2.32 too high.
  EXPECT_EQ(SimplifiedCapTax(), "7997.45"_dec);
  core::VariableMap v = DeclarationVariables();
  InverseResult r = SimplifiedIncomeFor(v, "8000.00"_dec);
  EXPECT_EQ(r.income, "83780.96"_dec);
  EXPECT_EQ(SimplifiedTaxOf(r.income), "8000.00"_dec);
}

TEST(AnnualSimulatorTest, RefundAboveTheTaxPaidIsRefused) {
  core::VariableMap v = DeclarationVariables();
  v.SetNumber("I13_35", "1234.56"_dec);
  InverseResult s = SimplifiedIncomeFor(v, "-1234.57"_dec);
  EXPECT_TRUE(s.refused);
  EXPECT_EQ(s.message, "O valor máximo de restituição de imposto é R$1.234,56");
  InverseResult c = CompleteIncomeFor(v, AnnualFigures{}, "-1300.00"_dec);
  EXPECT_TRUE(c.refused);
  EXPECT_EQ(c.message, "O valor máximo da restituição de imposto é R$1.234,56");
}

TEST(AnnualSimulatorTest, CompleteInverseWithTheDeclarationsDeductions) {
  for (Decimal balance : {"0"_dec, "300.00"_dec, "1500.00"_dec, "4000.00"_dec, "12000.00"_dec}) {
    core::VariableMap v = DeclarationVariables();
    v.SetNumber("I13_19", "10000.00"_dec);
    v.SetNumber("I13_35", "2000.00"_dec);
    v.SetNumber("I13_22", "100.00"_dec);
    v.SetNumber("I13_25", "50.00"_dec);
    InverseResult r = CompleteIncomeFor(v, AnnualFigures{}, balance);
    ASSERT_FALSE(r.refused);
    // tax - line 22 + line 25 - line 35 is the balance.
    EXPECT_EQ(AnnualTax(r.income - "10000.00"_dec) - "100.00"_dec + "50.00"_dec - "2000.00"_dec,
              balance)
        << balance << " income " << r.income;
  }
}

TEST(AnnualSimulatorTest, CompleteInverseAllowsThePensionOnTheIncomeFound) {
  // Deductions 10,000.00 of which 3,000.00 private pension (paid 20,000.00):
  // the pension allowed follows 12 % of the income found.
  core::VariableMap v = DeclarationVariables();
  v.SetNumber("I13_19", "10000.00"_dec);
  v.SetNumber("I13_11", "3000.00"_dec);
  AnnualFigures f;
  f.private_pension_total = "20000.00"_dec;
  InverseResult r = CompleteIncomeFor(v, f, "5000.00"_dec);
  Decimal allowance = std::min(f.private_pension_total, (r.income * "0.12"_dec).Despreza(2));
  EXPECT_EQ(AnnualTax(r.income - "7000.00"_dec - allowance), "5000.00"_dec) << r.income;

  // A pension paid below 12 % is allowed whole.
  f.private_pension_total = "2000.00"_dec;
  r = CompleteIncomeFor(v, f, "5000.00"_dec);
  EXPECT_EQ(AnnualTax(r.income - "9000.00"_dec), "5000.00"_dec) << r.income;
}

TEST(AnnualSimulatorTest, BalanceWithAnExtraDeduction) {
  core::VariableMap v = DeclarationVariables();
  v.SetNumber("I13_20", "62000.00"_dec);
  v.SetNumber("I13_35", "5000.00"_dec);
  v.SetNumber("I13_25", "10.00"_dec);
  AnnualFigures f;
  f.incentives = "500.00"_dec;
  // Tax of 60,000.00 is 6,067.68; 6 % of it 364.06 of the 500.00 donated.
  EXPECT_EQ(CompleteBalanceWith(v, f, "2000.00"_dec),
            "6067.68"_dec - "364.06"_dec - "5000.00"_dec + "10.00"_dec);
  f.incentives = "100.00"_dec;
  EXPECT_EQ(CompleteBalanceWith(v, f, "2000.00"_dec), "977.68"_dec);
}

}  // namespace
}  // namespace dodu::tax
