#include "tax/annual_calc.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "annual_fixture.h"
#include "core/picture.h"
#include "tax/annual_rate.h"

namespace dodu::tax {
namespace {

using namespace core::literals;
using testing::DeclarationVariables;
using testing::Rows;

Decimal L(const core::Variables& v, const char* name) { return v.Number(name); }

core::Date D(int y, int m, int d) { return *core::Date::FromYmd(y, m, d); }

// A titular's company income line.
Rows& Salary(Rows& rows, Decimal amount, Decimal withheld = Decimal(), Decimal social = Decimal()) {
  return rows.Income({{"I1_1", "J"},
                      {"I1_11", "S"},
                      {"I1_3", "11.111.111/0001-11"},
                      {"I1_4", amount},
                      {"I1_5", withheld},
                      {"I1_6", social}});
}

AnnualOutcome Whole(core::Variables& v, const Rows& rows, int mode = 1, CalcHooks hooks = {}) {
  return AnnualCalculation(v, rows.view(), std::move(hooks)).Calc(kCalcWhole, mode);
}

TEST(AnnualCalcTest, SimplifiedDiscountIsCapped) {
  core::VariableMap v = DeclarationVariables();
  Rows rows;
  Salary(rows, "100000.00"_dec);
  Whole(v, rows);
  EXPECT_EQ(L(v, "I13_08"), "100000.00"_dec);
  EXPECT_EQ(L(v, "DESPADRAO"), "16754.34"_dec);
  EXPECT_EQ(L(v, "I13_20"), "83245.66"_dec);
  EXPECT_EQ(L(v, "I13_21"), "12460.23"_dec);
  EXPECT_EQ(L(v, "I13_26"), "12460.23"_dec);
  EXPECT_EQ(L(v, "I13_36"), "12460.23"_dec);
}

// Income 50,000.00 with 12,000.00 of deductions: simplified base 40,000.00
// (tax 1,742.43), complete base 38,000.00 (tax 1,442.43).
TEST(AnnualCalcTest, ModelComparisonAndHint) {
  struct Case {
    const char* model;
    int mode;
    Decimal base, tax;
    HintKind hint;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"N", 1, "38000.00"_dec, "1442.43"_dec, HintKind::kNone, {}},
      {"S",
       2,
       "40000.00"_dec,
       "1742.43"_dec,
       HintKind::kCompleteBetter,
       {"  ATENÇAO!!  ", " Melhor opção", "  Formulario ", "   Completo  "}},
      {"S", 1, "40000.00"_dec, "1742.43"_dec, HintKind::kCompleteBetter, {}},
      {" ",
       2,
       "40000.00"_dec,
       "1742.43"_dec,
       HintKind::kCompleteBetter,
       {"  ATENÇAO!!  ", " Melhor opção", "  Formulario ", "   Completo  "}},
  };
  for (const Case& c : cases) {
    core::VariableMap v = DeclarationVariables();
    v.SetText("USAPADRAO", c.model);
    Rows rows;
    Salary(rows, "50000.00"_dec, Decimal(), "12000.00"_dec);
    AnnualOutcome out = Whole(v, rows, c.mode);
    EXPECT_EQ(L(v, "I13_20"), c.base) << c.model << c.mode;
    EXPECT_EQ(L(v, "I13_21"), c.tax) << c.model << c.mode;
    EXPECT_EQ(out.figures.complete_tax, "1442.43"_dec);
    EXPECT_EQ(out.figures.simplified_tax, "1742.43"_dec);
    EXPECT_EQ(out.hint.kind, c.hint) << c.model << c.mode;
    EXPECT_EQ(out.hint.lines, c.lines) << c.model << c.mode;
    EXPECT_EQ(v.Text("USAPADRAO"), c.model) << "the model is never switched";
  }
}

TEST(AnnualCalcTest, SimplifiedBetterHintByDeclarationKind) {
  struct Case {
    const char* final_flag;
    const char* exit_flag;
    int mode;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {" ", " ", 1, {"ATENÇÃO! É mais vantajoso usar o formulário simples"}},
      {" ", " ", 0, {}},
      {"S", " ", 0, {"Na declaração Final somente uma quota e completa"}},
      {" ", "S", 1, {"Na declaração de Saida so uma quota e completa"}},
  };
  for (const Case& c : cases) {
    core::VariableMap v = DeclarationVariables();
    v.SetText("USAPADRAO", "N");
    v.SetText("DECFINAL", c.final_flag);
    v.SetText("DECSAIDA", c.exit_flag);
    v.SetDate("DATAPARTI", D(2019, 12, 1));
    v.SetDate("DATASAIDA", D(2019, 12, 1));
    Rows rows;
    Salary(rows, "50000.00"_dec);
    AnnualOutcome out = Whole(v, rows, c.mode);
    EXPECT_EQ(out.hint.kind, HintKind::kSimplifiedBetter);
    EXPECT_EQ(out.hint.lines, c.lines) << c.final_flag << c.exit_flag << c.mode;
  }
}

TEST(AnnualCalcTest, ComparisonCountsTheCompleteModelsDonations) {
  // Fault: in the simplified model the comparison took the complete tax less
  // line 22, which is 0 there, so a declaration the donations made cheaper in
  // the complete model never showed the hint.
  core::VariableMap v = DeclarationVariables();
  Rows rows;
  Salary(rows, "50000.00"_dec, Decimal(), "9600.00"_dec);
  rows.Pay(41, "200.00"_dec);
  AnnualOutcome out = Whole(v, rows, 2);
  EXPECT_EQ(out.figures.simplified_tax, "1742.43"_dec);
  EXPECT_EQ(out.figures.complete_tax, "1694.29"_dec);  // 1,802.43 less 6 % of it
  EXPECT_EQ(out.hint.kind, HintKind::kCompleteBetter);
  EXPECT_EQ(L(v, "I13_22"), "0"_dec);
}

TEST(AnnualCalcTest, EqualTaxesGiveNoHint) {
  core::VariableMap v = DeclarationVariables();
  v.SetText("USAPADRAO", "N");
  Rows rows;
  Salary(rows, "20000.00"_dec);  // both bases exempt
  EXPECT_EQ(Whole(v, rows).hint.kind, HintKind::kNone);
  v.SetText("USAPADRAO", "S");
  EXPECT_EQ(Whole(v, rows, 2).hint.kind, HintKind::kNone);
}

TEST(AnnualCalcTest, CompleteDeductionsAndLimits) {
  core::VariableMap v = DeclarationVariables();
  v.SetText("USAPADRAO", "N");
  Rows rows;
  Salary(rows, "100000.00"_dec, "20000.00"_dec, "5000.00"_dec);
  rows.Dependant()
      .Dependant()
      .Pay(1, "5000.00"_dec)                 // titular's education, capped
      .Pay(1, "1000.00"_dec, Decimal(), 1)   // dependant 1
      .Pay(2, "800.00"_dec, Decimal(), 7)    // a person that does not exist
      .Pay(10, "3000.00"_dec, "500.00"_dec)  // medical less reimbursed
      .Pay(30, "1200.00"_dec)
      .Pay(33, "300.00"_dec)
      .Pay(36, "15000.00"_dec);  // private pension above 12 %
  AnnualOutcome out = Whole(v, rows);
  EXPECT_EQ(L(v, "I13_09"), "5000.00"_dec);
  EXPECT_EQ(L(v, "I13_11"), "12000.00"_dec);
  EXPECT_EQ(out.figures.private_pension_total, "15000.00"_dec);
  EXPECT_EQ(L(v, "I13_12"), "4550.16"_dec);
  EXPECT_EQ(L(v, "I13_13"), "4561.50"_dec);
  EXPECT_EQ(out.figures.education_total, "6800.00"_dec);
  EXPECT_EQ(L(v, "I13_14"), "2500.00"_dec);
  EXPECT_EQ(out.figures.medical_reimbursed, "500.00"_dec);
  EXPECT_EQ(L(v, "I13_15"), "1200.00"_dec);
  EXPECT_EQ(L(v, "I13_16"), "300.00"_dec);
  const Decimal deductions = "5000.00"_dec + "12000.00"_dec + "4550.16"_dec + "4561.50"_dec +
                             "2500.00"_dec + "1200.00"_dec + "300.00"_dec;
  EXPECT_EQ(L(v, "I13_19"), deductions);
  EXPECT_EQ(L(v, "I13_20"), "100000.00"_dec - deductions);
  EXPECT_EQ(L(v, "I13_21"), AnnualTax("100000.00"_dec - deductions));
  EXPECT_EQ(L(v, "DESCON"), deductions);
  EXPECT_EQ(L(v, "I13_27"), "20000.00"_dec);
  EXPECT_EQ(L(v, "I13_35"), "20000.00"_dec);
  EXPECT_EQ(L(v, "I13_38"), "20000.00"_dec - L(v, "I13_26"));
  EXPECT_EQ(L(v, "IMPPGRE"), L(v, "I13_26") - "20000.00"_dec);
}

TEST(AnnualCalcTest, FunpresppDeductsAtMostWhatWasPaid) {
  // Fault: code 37 counted its whole not-deductible column (the sponsor's
  // contribution) as official social security even when it exceeded what the
  // taxpayer paid.
  struct Case {
    Decimal paid, sponsor, social, pension;
  };
  const Case cases[] = {
      {"1000.00"_dec, "1500.00"_dec, "1000.00"_dec, "0"_dec},
      {"1000.00"_dec, "400.00"_dec, "400.00"_dec, "600.00"_dec},
      {"1000.00"_dec, "0"_dec, "0"_dec, "1000.00"_dec},
  };
  for (const Case& c : cases) {
    core::VariableMap v = DeclarationVariables();
    v.SetText("USAPADRAO", "N");
    Rows rows;
    Salary(rows, "60000.00"_dec);
    rows.Pay(37, c.paid, c.sponsor);
    AnnualOutcome out = Whole(v, rows);
    EXPECT_EQ(L(v, "I13_09"), c.social) << c.sponsor;
    EXPECT_EQ(out.figures.funpresp, c.social) << c.sponsor;
    EXPECT_EQ(out.figures.private_pension_total, c.pension) << c.sponsor;
    EXPECT_EQ(L(v, "I13_11"), c.pension) << c.sponsor;
  }
}

TEST(AnnualCalcTest, FinalDeclarationUsesThePartYearTable) {
  core::VariableMap v = DeclarationVariables();
  v.SetText("USAPADRAO", "N");
  v.SetText("DECFINAL", "S");
  v.SetDate("DATAPARTI", D(2019, 6, 15));
  Rows rows;
  Salary(rows, "30000.00"_dec);
  AnnualOutcome out = Whole(v, rows);
  EXPECT_EQ(L(v, "I13_20"), "30000.00"_dec);
  EXPECT_EQ(L(v, "I13_21"), "3033.84"_dec);  // 8,250.00 - 6 x 869.36
  EXPECT_TRUE(out.warnings.empty());

  v.SetDate("DATAPARTI", core::Date());
  out = Whole(v, rows);
  // Twelve months of the monthly table: 2,250.00 - 12 x 142.80 (the annual
  // table would deduct 1,713.58).
  EXPECT_EQ(L(v, "I13_21"), "536.40"_dec);
  ASSERT_EQ(out.warnings.size(), 1u);
  EXPECT_EQ(out.warnings[0][0], "Na declaração final o cálculo do Imposto");
}

TEST(AnnualCalcTest, FinalAndExitDeclarationsAreComplete) {
  core::VariableMap v = DeclarationVariables();
  EXPECT_FALSE(EnforceCompleteModel(v));
  EXPECT_EQ(ModelSwitchRefusal(v), "");
  v.SetText("DECSAIDA", "S");
  EXPECT_TRUE(EnforceCompleteModel(v));
  EXPECT_EQ(v.Text("USAPADRAO"), "N");
  EXPECT_EQ(ModelSwitchRefusal(v), "A declaração de saída definitiva só pode ser uma completa");
  v.SetText("DECFINAL", "S");
  EXPECT_EQ(ModelSwitchRefusal(v), "A declaração final de espólio só pode ser uma completa");
}

TEST(AnnualCalcTest, CumulativeIncomeTaxedExclusively) {
  core::VariableMap v = DeclarationVariables();
  v.SetText("USAPADRAO", "N");
  Rows rows;
  Salary(rows, "60000.00"_dec);
  // 30,000.00 over 10 months: monthly base 3,000.000000, tax 95.202 a month.
  rows.Income({{"I1_1", "A"},
               {"I1_11", "S"},
               {"TIPOCR", "N"},
               {"I1_4", "30000.00"_dec},
               {"I1_5", "900.00"_dec},
               {"I1_21", 10},
               {"I1_36", "05"}});
  // In the adjustment: income, withheld tax, social security and alimony join
  // the annual lines.
  rows.Income({{"I1_1", "A"},
               {"I1_11", "N"},
               {"TIPOCR", "S"},
               {"I1_4", "5000.00"_dec},
               {"I1_5", "50.00"_dec},
               {"I1_6", "400.00"_dec},
               {"I1_12", "300.00"_dec},
               {"I1_17", "700.00"_dec}});
  AnnualOutcome out = Whole(v, rows);
  EXPECT_EQ(L(v, "I13_25"), "952.02"_dec);
  EXPECT_EQ(L(v, "I13_34"), "900.00"_dec);
  EXPECT_EQ(L(v, "I4_05"), "29100.00"_dec);
  EXPECT_EQ(L(v, "I13_06"), "5000.00"_dec);
  EXPECT_EQ(L(v, "I13_28"), "50.00"_dec);
  EXPECT_EQ(L(v, "I13_10"), "400.00"_dec);
  EXPECT_EQ(L(v, "I13_17"), "300.00"_dec);
  EXPECT_EQ(L(v, "I3_06"), "700.00"_dec);
  EXPECT_EQ(L(v, "I13_26"), L(v, "I13_23") + "952.02"_dec);
  // The mixed choices are reported; the lines' own fields come back to write.
  ASSERT_EQ(out.warnings.size(), 1u);
  EXPECT_EQ(out.warnings[0][0],
            "Atenção! Todos os lançamentos devem ter a mesma opção de tributação");
  const std::vector<RowChange> want = {
      {RowTable::kIncome, 1, "I1_25", core::Value("30000.00"_dec)},
      {RowTable::kIncome, 1, "I1_20", core::Value("952.02"_dec)},
      {RowTable::kIncome, 2, "I1_25", core::Value("5000.00"_dec)},
  };
  EXPECT_EQ(out.changes, want);
}

TEST(AnnualCalcTest, CumulativeIncomeWithoutMonthsHasNoTax) {
  // A line without its number of months divided by zero.
  core::VariableMap v = DeclarationVariables();
  Rows rows;
  rows.Income({{"I1_1", "A"}, {"I1_11", "S"}, {"TIPOCR", "N"}, {"I1_4", "30000.00"_dec}});
  AnnualOutcome out = Whole(v, rows);
  EXPECT_EQ(L(v, "I13_25"), "0"_dec);
  ASSERT_EQ(out.warnings.size(), 2u);
  EXPECT_EQ(out.warnings[0][0], "É necessário informar a quantidade de meses");
  EXPECT_EQ(out.warnings[1][0], "É necessário informar o mês do recebimento");
}

TEST(AnnualCalcTest, ThirteenthSalaryAndExemptColumns) {
  core::VariableMap v = DeclarationVariables();
  v.SetNumber("I3_02", "123.00"_dec);  // typed on screen 3, kept
  v.SetNumber("I4_03", "45.00"_dec);   // variable income, kept
  Rows rows;
  rows.Income({{"I1_1", "J"},
               {"I1_11", "S"},
               {"I1_4", "1000.00"_dec},
               {"I1_7", "800.00"_dec},
               {"I1_29", "10.00"_dec},
               {"I1_9", "20.00"_dec},
               {"I1_38", "30.00"_dec},
               {"I1_19", "70.00"_dec},
               {"I1_20", "5.00"_dec}});
  rows.Income({{"I1_1", "D"},
               {"I1_11", "N"},
               {"I1_4", "2000.00"_dec},
               {"I1_7", "600.00"_dec},
               {"I1_5", "10.00"_dec}});
  // A serious-illness pension: its thirteenth is exempt and its tax credited.
  rows.Income({{"I1_1", "J"},
               {"I1_11", "S"},
               {"I1_18", "900.00"_dec},
               {"I1_7", "75.00"_dec},
               {"I1_39", "7.00"_dec}});
  Whole(v, rows);
  EXPECT_EQ(L(v, "I4_01"), "800.00"_dec);
  EXPECT_EQ(L(v, "I4_06"), "600.00"_dec);
  EXPECT_EQ(L(v, "I3_07"), "975.00"_dec);
  EXPECT_EQ(L(v, "I13_27"), "7.00"_dec);
  EXPECT_EQ(L(v, "I13_28"), "10.00"_dec);
  EXPECT_EQ(L(v, "I3_01"), "10.00"_dec);
  EXPECT_EQ(L(v, "I3_24"), "20.00"_dec);
  EXPECT_EQ(L(v, "I4_04"), "30.00"_dec);
  EXPECT_EQ(L(v, "EXGSUSP"), "65.00"_dec);
  EXPECT_EQ(L(v, "I13_44"), "10.00"_dec + "975.00"_dec + "20.00"_dec + "123.00"_dec);
  EXPECT_EQ(L(v, "I13_45"), "800.00"_dec + "600.00"_dec + "30.00"_dec + "45.00"_dec);
  EXPECT_EQ(v.Text("CGCPAGADOR"), "");  // the largest line names no payer
}

TEST(AnnualCalcTest, ForeignTaxCredit) {
  struct Case {
    const char* model;
    Decimal typed, credit;
    bool explained;
  };
  // Titular: 80,000.00 from companies and 20,000.00 from abroad.
  const Case cases[] = {
      {"N", "1000.00"_dec, "1000.00"_dec, false},
      {"N", "9000.00"_dec, "5500.00"_dec, true},
      {"S", "9000.00"_dec, "5292.55"_dec, true},  // 12,460.23 - 7,167.68
      {"S", "100.00"_dec, "100.00"_dec, false},
  };
  for (const Case& c : cases) {
    core::VariableMap v = DeclarationVariables();
    v.SetText("USAPADRAO", c.model);
    v.SetNumber("I13_49", "20000.00"_dec);
    v.SetNumber("IR_EXTER", c.typed);
    Rows rows;
    Salary(rows, "80000.00"_dec);
    AnnualOutcome out = Whole(v, rows);
    EXPECT_EQ(L(v, "I13_32"), c.credit) << c.model << " " << c.typed;
    EXPECT_EQ(out.figures.foreign_limit,
              out.figures.foreign_tax_with - out.figures.foreign_tax_without);
    EXPECT_EQ(!out.foreign_explanation.empty(), c.explained) << c.model << " " << c.typed;
    if (c.explained) {
      EXPECT_EQ(out.foreign_explanation.back(), "       O limite Legal assumido é de.....:" +
                                                    core::Transform(c.credit, "@E 999,999,999.99"));
    }
  }
  // Without foreign income there is no credit, whatever was typed.
  core::VariableMap v = DeclarationVariables();
  v.SetNumber("IR_EXTER", "500.00"_dec);
  v.SetNumber("I13_32", "500.00"_dec);
  Rows rows;
  Salary(rows, "80000.00"_dec);
  Whole(v, rows);
  EXPECT_EQ(L(v, "I13_32"), "0"_dec);
}

TEST(AnnualCalcTest, ForeignLimitLeavesOutTheExclusiveCumulativeTax) {
  // Fault: the complete model's limit took the tax with the foreign income
  // including the exclusive tax of cumulative income (line 25) and the tax
  // without it excluding that tax, so the limit grew by line 25.
  core::VariableMap v = DeclarationVariables();
  v.SetText("USAPADRAO", "N");
  v.SetNumber("I13_49", "20000.00"_dec);
  v.SetNumber("IR_EXTER", "9000.00"_dec);
  Rows rows;
  Salary(rows, "80000.00"_dec);
  rows.Income({{"I1_1", "A"},
               {"I1_11", "S"},
               {"TIPOCR", "N"},
               {"I1_4", "30000.00"_dec},
               {"I1_21", 10},
               {"I1_36", "05"}});
  AnnualOutcome out = Whole(v, rows);
  EXPECT_EQ(L(v, "I13_25"), "952.02"_dec);
  EXPECT_EQ(out.figures.foreign_tax_with, L(v, "I13_26") - "952.02"_dec);
  EXPECT_EQ(L(v, "I13_32"), "5500.00"_dec);
}

TEST(AnnualCalcTest, DonationsInTheSimplifiedModelAreNotDeductible) {
  core::VariableMap v = DeclarationVariables();
  v.SetNumber("I13_22", "300.00"_dec);  // left by a complete computation
  Rows rows;
  Salary(rows, "100000.00"_dec);
  rows.Pay(41, "300.00"_dec);
  AnnualOutcome out = AnnualCalculation(v, rows.view()).Balanco();
  EXPECT_EQ(L(v, "I13_22"), "0"_dec);
  EXPECT_EQ(L(v, "I13_23"), L(v, "I13_21"));
  ASSERT_EQ(out.warnings.size(), 1u);
  EXPECT_EQ(out.warnings[0][0], "Abatimentos somente na declaração completa!");
  const std::vector<RowChange> want = {{RowTable::kPayments, 0, "I6_5", core::Value("300.00"_dec)}};
  EXPECT_EQ(out.changes, want);
}

TEST(AnnualCalcTest, BalancoRebuildsEveryTotal) {
  core::VariableMap v = DeclarationVariables();
  v.SetText("USAPADRAO", "N");
  v.SetNumber("I9_2", "777.00"_dec);
  v.SetNumber("I13_31", "100.00"_dec);     // typed complementary tax
  v.SetNumber("I13_01", "999999.00"_dec);  // stale
  Rows rows;
  Salary(rows, "70000.00"_dec, "9000.00"_dec, "3000.00"_dec);
  rows.Dependant().Person({{"CODIDEPEN", 99}, {"NRODEPEN", 2}}).Person({{"CODIDEPEN", 100}});
  rows.Pay(41, "500.00"_dec);
  rows.Asset({{"I7_3", "100.00"_dec}, {"I7_4", "150.00"_dec}})
      .Asset({{"I7_3", "1.00"_dec}, {"I7_4", "2.00"_dec}})
      .Debt({{"I8_3", "40.00"_dec}, {"I8_4", "30.00"_dec}, {"I8_7", "10.00"_dec}});
  std::vector<std::string> order;
  CalcHooks hooks;
  hooks.carne_leao = [&](core::Variables& vars, int mode) {
    order.push_back("carne" + std::to_string(mode));
    vars.SetNumber("I13_03", "5000.00"_dec);
    vars.SetNumber("CARNEINSS", "200.00"_dec);
  };
  hooks.patrimony = [&](core::Variables&) { order.push_back("patrimony"); };
  hooks.cash_balance = [&](core::Variables& vars) {
    order.push_back("cash");
    EXPECT_EQ(vars.Number("IMPPGRE"), vars.Number("I13_26") - vars.Number("I13_35"));
  };
  AnnualOutcome out = AnnualCalculation(v, rows.view(), hooks).Balanco();
  EXPECT_EQ(order, (std::vector<std::string>{"carne2", "patrimony", "cash"}));
  EXPECT_EQ(L(v, "I13_01"), "70000.00"_dec);
  EXPECT_EQ(L(v, "I13_08"), "75000.00"_dec);
  EXPECT_EQ(L(v, "I13_09"), "3200.00"_dec);
  EXPECT_EQ(L(v, "I13_12"), "2275.08"_dec);  // alimony recipients and heirs are no dependants
  EXPECT_EQ(L(v, "I13_39"), "101.00"_dec);
  EXPECT_EQ(L(v, "I13_40"), "152.00"_dec);
  EXPECT_EQ(L(v, "I13_41"), "40.00"_dec);
  EXPECT_EQ(L(v, "I13_42"), "30.00"_dec);
  EXPECT_EQ(L(v, "I13_51"), "10.00"_dec);
  EXPECT_EQ(L(v, "I13_43"), "777.00"_dec);
  EXPECT_EQ(L(v, "I13_35"), "9100.00"_dec);
  // 6 % of the tax on the base (521.22) covers the donation.
  EXPECT_EQ(L(v, "I13_21"), "8687.03"_dec);
  EXPECT_EQ(L(v, "I13_22"), "500.00"_dec);
  EXPECT_EQ(L(v, "I13_23"), "8187.03"_dec);
  const std::vector<RowChange> want = {
      {RowTable::kPeople, 0, "NRODEPEN", core::Value("1"_dec)},
      {RowTable::kPeople, 2, "NRODEPEN", core::Value("3"_dec)},
  };
  EXPECT_EQ(out.changes, want);
}

TEST(AnnualCalcTest, ScreenModesComputeTheirOwnPart) {
  core::VariableMap v = DeclarationVariables();
  Rows rows;
  Salary(rows, "70000.00"_dec, "9000.00"_dec, "3000.00"_dec);
  rows.Pay(37, "500.00"_dec, "500.00"_dec);
  AnnualCalculation calc(v, rows.view());
  calc.Calc(kCalcSocialSecurity, 0);
  EXPECT_EQ(L(v, "I13_09"), "3500.00"_dec);
  EXPECT_EQ(L(v, "I13_20"), "0"_dec);  // nothing else
  calc.Calc(kCalcExemptTotals, 0);
  EXPECT_EQ(L(v, "I13_08"), "70000.00"_dec);
  EXPECT_EQ(L(v, "I13_20"), "0"_dec);
  calc.Calc(99, 0);  // no such screen: nothing happens
  calc.Calc(kCalcWhole, 0);
  EXPECT_EQ(L(v, "I13_20"), "70000.00"_dec - "14000.00"_dec);
}

struct RateCase {
  Decimal income, paid, to_pay, refund;
  const char* label;
  Decimal rate;
  const char* text;
};

TEST(AnnualCalcTest, EffectiveRate) {
  const RateCase cases[] = {
      {"110623.52"_dec, "15421.65"_dec, "0"_dec, "39.95"_dec, "Imposto a Restituir", "13.90"_dec,
       "13,90%"},
      // A refund of all the tax paid: paid / income.
      {"50000.00"_dec, "1000.00"_dec, "0"_dec, "1000.00"_dec, "Imposto a Restituir", "2.00"_dec,
       " 2,00%"},
      {"60000.00"_dec, "4000.00"_dec, "2067.68"_dec, "0"_dec, "Imposto a PAGAR", "10.11"_dec,
       "10,11%"},
      {"30000.00"_dec, "300.00"_dec, "0"_dec, "0"_dec, "Sem saldo de Imposto", "1.00"_dec,
       " 1,00%"},
      {"20000.00"_dec, "0"_dec, "0"_dec, "0"_dec, "Zero", "0"_dec, " 0,00%"},
      // No taxable income: the division yields 0.
      {"0"_dec, "500.00"_dec, "0"_dec, "500.00"_dec, "Imposto a Restituir", "0"_dec, " 0,00%"},
  };
  for (const RateCase& c : cases) {
    core::VariableMap v = DeclarationVariables();
    v.SetNumber("I13_08", c.income);
    v.SetNumber("I13_35", c.paid);
    v.SetNumber("I13_36", c.to_pay);
    v.SetNumber("I13_38", c.refund);
    EffectiveRate r = EffectiveRateOf(v);
    EXPECT_EQ(r.label, c.label) << c.income;
    EXPECT_EQ(r.rate, c.rate) << c.income;
    EXPECT_EQ(r.text, c.text) << c.income;
  }
}

TEST(AnnualCalcTest, RegisterCopiesAndSpouseFigures) {
  core::VariableMap v = DeclarationVariables();
  v.SetNumber("I13_27", "100.00"_dec);
  v.SetNumber("I13_28", "20.00"_dec);
  v.SetNumber("I13_35", "500.00"_dec);
  v.SetNumber("I13_34", "80.00"_dec);
  RegisterCopies r = RegisterCopiesOf(v);
  EXPECT_EQ(r.withheld, "120.00"_dec);
  EXPECT_EQ(r.paid, "420.00"_dec);

  core::VariableMap spouse;
  spouse.Declare("I13_20", "1.00"_dec);
  spouse.Declare("I13_44", "2.00"_dec);
  spouse.Declare("I13_45", "3.00"_dec);
  spouse.Declare("I13_35", "4.00"_dec);
  spouse.Declare("EXGSUSP", "5.00"_dec);
  SpouseFigures(spouse, v);
  EXPECT_EQ(L(v, "I13_1C"), "1.00"_dec);
  EXPECT_EQ(L(v, "I13_2C"), "2.00"_dec);
  EXPECT_EQ(L(v, "I13_3C"), "3.00"_dec);
  EXPECT_EQ(L(v, "I13_4C"), "4.00"_dec);
  EXPECT_EQ(L(v, "I13_5C"), "5.00"_dec);
}

}  // namespace
}  // namespace dodu::tax
