#include "tax/carne_recompute.h"

#include <gtest/gtest.h>

#include <vector>

#include "tax/testutil.h"

namespace dodu::tax {
namespace {

using testing::D;
using testing::Dec;

constexpr const char* kDependant = "12345678909";

CarneLine Line(char kind, int month, const char* value, bool titular = true) {
  CarneLine l;
  l.kind = kind;
  l.titular = titular;
  if (!titular) l.dependant_cpf = kDependant;
  l.value = Dec(value);
  l.monthly[month - 1] = Dec(value);
  return l;
}

CarneRow DependantRow() {
  CarneRow r;
  r.cpfdepen = kDependant;
  return r;
}

struct Fixture {
  core::VariableMap vars = testing::CarneVars();
  std::vector<CarneRow> rows = {CarneRow{}, DependantRow()};
  std::vector<SelicRow> selic = testing::Selic2019To2020();
  CarneSetting setting;
  Fixture() {
    setting.payment = D(2020, 9, 30);
    setting.today = D(2020, 9, 30);
    setting.selic = selic;
  }
  Decimal Grid(int kind, int month) const { return vars.Number(CarneFieldName(kind, month)); }
};

TEST(CarneRecomputeTest, IndividualModeMonthWithCashBook) {
  // March 2019 of a titular with one dependant: income 5,000.00 from a patient,
  // cash book 1,200.00, social security 500.00, alimony 300.00, paid 100.00.
  Fixture f;
  f.setting.dependants = 1;
  CarneLine patient = Line('F', 3, "5000");
  patient.payer_cpf = "11144477735";
  const std::vector<CarneLine> lines = {
      patient,
      Line('L', 3, "1200"),
      Line('P', 3, "500"),
      Line('I', 3, "100"),
      Line('F', 2, "1000", false),  // the dependant's: not on the titular's table
      Line('P', 2, "50", false),
      Line('R', 3, "7000"),  // no carnê-leão kind
  };
  CarnePayment alimony{31, {}};
  alimony.monthly[2] = Dec("300");
  const std::vector<CarnePayment> payments = {alimony, CarnePayment{40, {Dec("999")}}};
  f.rows[1].at(kFromIndividuals, 2) = Dec("1000");  // as stored for the dependant

  CarneOutcome out = FdeLeao(f.vars, f.rows, 0, lines, payments, f.setting, CarnePass::kScreen);
  EXPECT_TRUE(out.correction.ok());
  EXPECT_TRUE(out.line_updates.empty());
  EXPECT_EQ(out.pensaom, Dec("300"));
  EXPECT_EQ(out.dependants_applied, Dec("189.59"));  // only March has the income for it
  EXPECT_EQ(f.Grid(kFromIndividuals, 3), Dec("5000"));
  EXPECT_EQ(f.Grid(kCashBook, 3), Dec("1200"));
  EXPECT_EQ(f.Grid(kDeductions, 3), Dec("989.59"));  // 500 + 300 + 189.59
  EXPECT_EQ(f.Grid(kDeductions, kYearRow), Dec("989.59"));
  EXPECT_EQ(f.Grid(kPaid, 3), Dec("100"));
  // Base 2,810.41: 210.78075 - 142.80 = 67.98075, cut to 67.98.
  EXPECT_EQ(f.Grid(kDue, 3), Dec("67.98"));
  EXPECT_EQ(f.Grid(kDue, kYearRow), Dec("67.98"));
  EXPECT_EQ(f.Grid(kCorrected, kYearRow), Dec("0"));  // paid more than due
  EXPECT_EQ(f.rows[0].at(kDue, 3), Dec("67.98")) << "the person's row is kept in step";
  EXPECT_EQ(f.vars.Number("TOTTRABT"), Dec("5000"));
  EXPECT_EQ(f.vars.Number("CARNEINSS"), Dec("500"));
  EXPECT_EQ(f.vars.Number("CARNEDEPEN"), Dec("50"));
  EXPECT_EQ(f.vars.Number("I13_03"), Dec("5000"));
  EXPECT_EQ(f.vars.Number("I13_04"), Dec("1000"));
  EXPECT_EQ(f.vars.Number("I13_18"), Dec("1200"));
  EXPECT_EQ(f.vars.Number("I13_29"), Dec("100"));
}

TEST(CarneRecomputeTest, DependantsDeductionNeedsTheMonthsIncome) {
  // Two dependants (D = 379.18).
  Fixture f;
  f.setting.dependants = 2;
  const std::vector<CarneLine> lines = {Line('F', 1, "379.17"), Line('F', 2, "379.18"),
                                        Line('E', 3, "200"), Line('F', 3, "179.18")};
  CarneOutcome out = FdeLeao(f.vars, f.rows, 0, lines, {}, f.setting, CarnePass::kScreen);
  EXPECT_EQ(f.Grid(kDeductions, 1), Dec("0"));
  EXPECT_EQ(f.Grid(kDeductions, 2), Dec("379.18"));
  EXPECT_EQ(f.Grid(kDeductions, 3), Dec("379.18"));  // individuals and abroad together
  EXPECT_EQ(out.dependants_applied, Dec("758.36"));
  EXPECT_EQ(f.vars.Number("I13_49"), Dec("200"));
  // A dependant's own table never gets the dependants' deduction.
  f.rows[1] = DependantRow();
  FdeLeao(f.vars, f.rows, 1, {}, {}, f.setting, CarnePass::kScreen);
  EXPECT_EQ(f.Grid(kDeductions, kYearRow), Dec("0"));
}

TEST(CarneRecomputeTest, LedgerModeCountsADatedLineInItsMonthOnly) {
  // Fault: a ledger line's value was written into its dated month while the
  // other months kept what an earlier date or fill mode 1 had left there.
  Fixture f;
  f.vars.SetNumber("CAL_AUTO", Dec("3"));
  CarneLine dated = Line('F', 1, "1000");  // January left over from mode 1
  dated.date = D(2019, 3, 15);
  CarneLine undated = Line('L', 3, "400");
  const std::vector<CarneLine> lines = {dated, undated, Line('P', 5, "80")};
  CarneOutcome out = FdeLeao(f.vars, f.rows, 0, lines, {}, f.setting, CarnePass::kScreen);
  EXPECT_EQ(f.Grid(kFromIndividuals, 1), Dec("0"));
  EXPECT_EQ(f.Grid(kFromIndividuals, 3), Dec("1000"));
  EXPECT_EQ(f.Grid(kCashBook, kYearRow), Dec("0")) << "an undated ledger line adds nothing";
  EXPECT_EQ(f.Grid(kDeductions, 5), Dec("80")) << "social security keeps its months";
  ASSERT_EQ(out.line_updates.size(), 1u);
  EXPECT_EQ(out.line_updates[0].index, 0u);
  std::array<Decimal, 12> want{};
  want[2] = Dec("1000");
  EXPECT_EQ(out.line_updates[0].monthly, want);
}

TEST(CarneRecomputeTest, TypeTotalsOfIncomeFromIndividuals) {
  struct Case {
    char type;
    const char* payer;
    const char* tipo_pf;
    const char* total;  // the variable that gets the value
  };
  const Case cases[] = {
      {'T', "", "O", "TOTTRABT"}, {'A', "11144477735", "T", "TOTALUGT"},
      {'O', "", "T", "TOTOUTRT"}, {' ', "11144477735", "A", "TOTTRABT"},
      {' ', "", "A", "TOTALUGT"}, {' ', "", "O", "TOTOUTRT"},
      {' ', "", " ", "TOTTRABT"},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.vars.SetText("TIPO_PF", c.tipo_pf);
    CarneLine l = Line('F', 6, "700");
    l.type = c.type;
    l.payer_cpf = c.payer;
    FdeLeao(f.vars, f.rows, 0, {&l, 1}, {}, f.setting, CarnePass::kScreen);
    for (const char* n : {"TOTTRABT", "TOTALUGT", "TOTOUTRT"}) {
      EXPECT_EQ(f.vars.Number(n), std::string(n) == c.total ? Dec("700") : Dec("0"))
          << "type '" << c.type << "' payer '" << c.payer << "' TIPO_PF " << c.tipo_pf << ": " << n;
    }
  }
}

TEST(CarneRecomputeTest, TypedModesKeepTheGrid) {
  Fixture f;
  f.setting.dependants = 2;
  f.vars.SetNumber("CAL_AUTO", Dec("2"));
  f.vars.SetText("TIPO_PF", "A");
  f.vars.SetNumber("CARNEDEPEN", Dec("77"));
  f.vars.SetNumber(CarneFieldName(kFromIndividuals, 1), Dec("3000"));
  f.vars.SetNumber(CarneFieldName(kDeductions, 1), Dec("500"));
  f.vars.SetNumber(CarneFieldName(kPaid, 1), Dec("10"));
  // Lines are not read in the typed modes.
  const std::vector<CarneLine> lines = {Line('F', 1, "9999"), Line('P', 1, "9999")};
  FdeLeao(f.vars, f.rows, 0, lines, {}, f.setting, CarnePass::kScreen);
  EXPECT_EQ(f.Grid(kFromIndividuals, kYearRow), Dec("3000"));
  EXPECT_EQ(f.vars.Number("TOTALUGT"), Dec("3000"));
  EXPECT_EQ(f.vars.Number("TOTTRABT"), Dec("0"));
  // Base 2,500.00: 187.50 - 142.80.
  EXPECT_EQ(f.Grid(kDue, 1), Dec("44.70"));
  EXPECT_EQ(f.vars.Number("CARNEINSS"), Dec("120.82"));  // 500 less the dependants' 379.18
  EXPECT_EQ(f.vars.Number("CARNEDEPEN"), Dec("77"));
  // January 2019 due 28/02/2019, paid 30/09/2020: 34.70 x (1 + 20 % + 1 % + 6.85 %
  // of March 2019 .. August 2020) = 44.36395.
  EXPECT_EQ(f.Grid(kCorrected, 1), Dec("44.36"));
}

TEST(CarneRecomputeTest, InverseModeBackComputesUnderTheCursor) {
  Fixture f;
  f.vars.SetNumber("CAL_AUTO", Dec("4"));
  f.vars.SetNumber(CarneFieldName(kPaid, 4), Dec("100"));
  FdeLeao(f.vars, f.rows, 0, {}, {}, f.setting, CarnePass::kScreen);
  EXPECT_EQ(f.Grid(kFromIndividuals, 4), Dec("0")) << "the cursor is not on the paid column";
  f.setting.inverse_cursor = true;
  FdeLeao(f.vars, f.rows, 0, {}, {}, f.setting, CarnePass::kScreen);
  EXPECT_EQ(f.Grid(kFromIndividuals, 4), Dec("3032"));
  EXPECT_EQ(f.Grid(kDue, 4), Dec("100"));
}

TEST(CarneRecomputeTest, SilentPassRebuildsTheGrid) {
  // Fault: the silent recomputation (after a payment changes the alimony, on
  // opening the declaration) took the stored month grid as it stood, so a new
  // alimony payment did not reach the month's deductions and due.
  Fixture f;
  const std::vector<CarneLine> lines = {Line('F', 7, "4000")};
  FdeLeao(f.vars, f.rows, 0, lines, {}, f.setting, CarnePass::kScreen);
  EXPECT_EQ(f.Grid(kDue, 7), Dec("263.87"));
  CarnePayment alimony{30, {}};
  alimony.monthly[6] = Dec("1000");
  CarneOutcome out =
      FdeLeao(f.vars, f.rows, 0, lines, {&alimony, 1}, f.setting, CarnePass::kSilent);
  EXPECT_EQ(out.pensaom, Dec("1000"));
  EXPECT_EQ(f.Grid(kDeductions, 7), Dec("1000"));
  EXPECT_EQ(f.Grid(kDue, 7), Dec("95.20"));  // base 3,000.00
}

TEST(CarneRecomputeTest, TotalsPassRebuildsTheYearRowOnly) {
  Fixture f;
  f.vars.SetNumber(CarneFieldName(kFromIndividuals, 2), Dec("2000"));  // stale month
  const std::vector<CarneLine> lines = {Line('F', 1, "3000")};
  FdeLeao(f.vars, f.rows, 0, lines, {}, f.setting, CarnePass::kTotals);
  EXPECT_EQ(f.Grid(kFromIndividuals, kYearRow), Dec("3000"));
  EXPECT_EQ(f.Grid(kFromIndividuals, 1), Dec("0"));
  EXPECT_EQ(f.Grid(kFromIndividuals, 2), Dec("2000"));
}

TEST(CarneRecomputeTest, MissingSelicMonthLeavesTheCorrectionAtZero) {
  Fixture f;
  f.selic.erase(f.selic.begin() + 5);  // June 2019
  f.setting.selic = f.selic;
  f.vars.SetNumber(CarneFieldName(kCorrected, 1), Dec("5"));
  const std::vector<CarneLine> lines = {Line('F', 1, "3000")};
  CarneOutcome out = FdeLeao(f.vars, f.rows, 0, lines, {}, f.setting, CarnePass::kScreen);
  EXPECT_EQ(out.correction.code(), StatusCode::kNotFound);
  EXPECT_EQ(out.correction.message(), "Taxa Selic de Junho/2019 não cadastrada");
  EXPECT_EQ(f.Grid(kCorrected, 1), Dec("0"));
  EXPECT_EQ(f.Grid(kDue, 1), Dec("95.20")) << "the rest is computed";
  EXPECT_EQ(f.vars.Number("I13_03"), Dec("3000"));
}

TEST(CarneRecomputeTest, TypedCell) {
  EXPECT_TRUE(CarneCellEditable(FillMode::kTotalsOnly, 1, kFromIndividuals));
  EXPECT_TRUE(CarneCellEditable(FillMode::kInverse, 12, kPaid));
  EXPECT_FALSE(CarneCellEditable(FillMode::kInverse, 13, kPaid)) << "the year row";
  EXPECT_FALSE(CarneCellEditable(FillMode::kTotalsOnly, 3, kDue));
  EXPECT_FALSE(CarneCellEditable(FillMode::kIndividual, 3, kFromIndividuals));
  EXPECT_FALSE(CarneCellEditable(FillMode::kCashBookLedger, 3, kCashBook));

  Fixture f;
  CarneRow row;
  row.at(kFromIndividuals, 2) = Dec("1000");
  ASSERT_TRUE(
      CarneCellTyped(row, FillMode::kTotalsOnly, 1, kFromIndividuals, Dec("3000"), f.setting).ok());
  EXPECT_EQ(row.at(kFromIndividuals, kYearRow), Dec("4000"));
  EXPECT_EQ(row.at(kDue, 1), Dec("95.20"));
  EXPECT_EQ(row.at(kDue, kYearRow), Dec("95.20"));
  EXPECT_GT(row.at(kCorrected, kYearRow), Dec("95.20"));

  // Mode 4: typing the paid tax back-computes the income.
  CarneRow inverse;
  ASSERT_TRUE(CarneCellTyped(inverse, FillMode::kInverse, 4, kPaid, Dec("500"), f.setting).ok());
  EXPECT_EQ(inverse.at(kFromIndividuals, 4), Dec("4979.49"));
  // Typing the income itself does not.
  ASSERT_TRUE(
      CarneCellTyped(inverse, FillMode::kInverse, 4, kFromIndividuals, Dec("2000"), f.setting)
          .ok());
  EXPECT_EQ(inverse.at(kFromIndividuals, 4), Dec("2000"));
  EXPECT_EQ(inverse.at(kDue, 4), Dec("7.20"));

  f.selic.clear();
  f.setting.selic = f.selic;
  Status st = CarneCellTyped(row, FillMode::kTotalsOnly, 1, kPaid, Dec("0"), f.setting);
  EXPECT_EQ(st.code(), StatusCode::kNotFound);
  EXPECT_EQ(row.at(kCorrected, kYearRow), Dec("0"));
}

}  // namespace
}  // namespace dodu::tax
