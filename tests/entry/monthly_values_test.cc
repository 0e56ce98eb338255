// The monthly values window (CALC_MENS): the dollar and e-Social columns, the
// Alt keys of the window, the month limit of a final declaration, the Alt U
// hot key of the entry screens and a golden dump of the window.
#include "entry/monthly_values.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/codepage.h"
#include "screen/form.h"
#include "screen/form_variables.h"
#include "screen/testutil.h"

namespace dodu::entry {
namespace {

using core::Decimal;
using core::literals::operator""_dec;
using screen::Key;

// TAB_DOLAR of the base year.
std::array<Decimal, 12> Rates() {
  return {"3.6519"_dec, "3.7385"_dec, "3.8967"_dec, "3.9453"_dec, "3.9407"_dec, "3.8322"_dec,
          "3.7649"_dec, "4.1385"_dec, "4.1644"_dec, "4.0041"_dec, "4.2240"_dec, "4.0307"_dec};
}

TEST(MonthlyConversionTest, TruncatedToTheCent) {
  struct Case {
    Decimal value, rate;
    MonthlyVariant variant;
    Decimal second;
  } cases[] = {
      {"1000.00"_dec, "3.6519"_dec, MonthlyVariant::kDollar, "273.83"_dec},  // 273.83006...
      {"12345678.90"_dec, "4.0307"_dec, MonthlyVariant::kDollar, "3062911.87"_dec},
      {"1000.00"_dec, Decimal(), MonthlyVariant::kDollar, Decimal()},      // no rate: 0
      {"1000.00"_dec, Decimal(), MonthlyVariant::kESocial, "314.28"_dec},  // 314.286
      {"0.03"_dec, Decimal(), MonthlyVariant::kESocial, "0.00"_dec},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SecondColumnOf(c.value, c.rate, c.variant), c.second) << c.value << " / " << c.rate;
  }
  EXPECT_EQ(ValueOfDollars("273.83"_dec, "3.6519"_dec), "999.99"_dec);  // 999.999777
  EXPECT_EQ(ValueOfDollars("100.00"_dec, "4.0307"_dec), "403.07"_dec);
}

TEST(MakeCalcMensTest, FillsFromTheValuesUpToTheLastMonth) {
  MonthlyValuesInput in;
  in.rates = Rates();
  for (int m = 0; m < 12; ++m) in.values[m] = "100.00"_dec;
  in.last_month = 8;  // a final declaration whose deed is dated in August
  GridModel g = MakeCalcMens(in);
  EXPECT_EQ(g.Number(7, kValueColumn), "100.00"_dec);
  for (int m = 8; m < 12; ++m) EXPECT_EQ(g.Number(m, kValueColumn), Decimal()) << m;
  EXPECT_EQ(g.Number(kTotalsRow, kValueColumn), "800.00"_dec);
  EXPECT_EQ(g.Number(0, kDollarColumn), "27.38"_dec);
  EXPECT_EQ(g.Text(0, kMonthColumn), "01-Jan");
  EXPECT_EQ(g.column(kDollarColumn).heading, "  DOLAR  ");

  in.variant = MonthlyVariant::kESocial;
  GridModel e = MakeCalcMens(in);
  EXPECT_EQ(e.column(kValueColumn).heading, "  E-Social  ");
  EXPECT_EQ(e.column(kDollarColumn).heading, " Patronal");
  EXPECT_EQ(e.Number(0, kDollarColumn), "31.42"_dec);
}

class MonthlyWindowTest : public screen::testing::ScreenTest {
 protected:
  MonthlyValuesInput Input() {
    MonthlyValuesInput in;
    in.rates = Rates();
    return in;
  }
  Result<MonthlyValuesResult> Run(std::string_view script, const MonthlyValuesInput& in,
                                  MonthlyWindowOptions o = {}) {
    term_.Feed(script);
    return RunMonthlyValues(tk_, in, o);
  }
};

TEST_F(MonthlyWindowTest, ValuesGoInMonthByMonthWithTheirTotal) {
  Scribble();
  const std::string before = Snapshot();
  // Enter after a value, or typing it to its last decimal, goes to the next
  // month's value.
  Result<MonthlyValuesResult> r = Run("1000{Enter}2500,50{Down}12345678,90{Esc}", Input());
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  EXPECT_EQ(r->values[0], "1000.00"_dec);
  EXPECT_EQ(r->values[1], "2500.50"_dec);
  EXPECT_EQ(r->values[2], Decimal());
  EXPECT_EQ(r->values[3], "12345678.90"_dec);
  EXPECT_EQ(r->total, "12349179.40"_dec);
  EXPECT_EQ(r->key, Key::Esc());
  EXPECT_EQ(Snapshot(), before);  // the screen under the window is back
}

TEST_F(MonthlyWindowTest, DollarColumnIsLockedUntilAltL) {
  // Typed on the locked dollar column nothing changes; after Alt L 100 dollars
  // in March make 389.67 reais.
  Result<MonthlyValuesResult> r = Run("{Down}{Down}{Right}5{Enter}{Alt L}100{Enter}{Esc}", Input());
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  EXPECT_EQ(r->values[2], "389.67"_dec);
  EXPECT_EQ(r->total, "389.67"_dec);
}

TEST_F(MonthlyWindowTest, ESocialRefusesTheSecondColumn) {
  MonthlyValuesInput in = Input();
  in.variant = MonthlyVariant::kESocial;
  in.values[0] = "1000.00"_dec;
  Result<MonthlyValuesResult> r = Run("{Right}{Alt L}50{Enter}{Enter}{Esc}", in);
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  ASSERT_EQ(term_.boxes().size(), 1u);
  EXPECT_EQ(term_.boxes()[0].lines,
            std::vector<std::string>{core::Cp850("Digite o valor na coluna E-Social")});
  EXPECT_EQ(r->values[0], "1000.00"_dec);
}

TEST_F(MonthlyWindowTest, AltBBringsTheCellTotal) {
  MonthlyValuesInput in = Input();
  in.field_total = "1200.00"_dec;
  // The value column takes the total; the dollar column its conversion, and the
  // month's value follows from the dollars.
  Result<MonthlyValuesResult> r =
      Run("{Alt B}{Down}{Right}{Alt B}{Ctrl PgDn}{Left}{Alt B}{Esc}", in);
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  EXPECT_EQ(r->values[0], "1200.00"_dec);
  // 1200 / 3.7385 = 320.98 dollars, x 3.7385 = 1199.98 reais
  EXPECT_EQ(r->values[1], "1199.98"_dec);
  EXPECT_EQ(r->total, "2399.98"_dec);  // Alt B on the totals row does nothing
}

TEST_F(MonthlyWindowTest, FinalDeclarationLimitsTheMonths) {
  MonthlyValuesInput in = Input();
  for (int m = 0; m < 12; ++m) in.values[m] = "10.00"_dec;
  in.last_month = 8;
  Result<MonthlyValuesResult> r = Run("{Enter}{Ctrl PgDn}{Up}{Up}{Up}7{Enter}{Esc}", in);
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  ASSERT_GE(term_.boxes().size(), 1u);
  EXPECT_EQ(term_.boxes()[0].lines,
            (std::vector<std::string>{core::Cp850("Em declaração Final o limite de recebimento"),
                                      core::Cp850("ou pagamentos é o mês 8")}));
  EXPECT_EQ(r->values[8], Decimal());  // September is closed
  EXPECT_EQ(r->total, "80.00"_dec);
}

TEST_F(MonthlyWindowTest, GoldenScreen) {
  MonthlyValuesInput in = Input();
  in.values[0] = "1000.00"_dec;
  in.values[5] = "12345678.90"_dec;
  in.values[11] = "0.01"_dec;
  term_.Feed("{Down}{Down}");
  EXPECT_THROW((void)RunMonthlyValues(tk_, in), screen::ScriptExhausted);
  const std::string dir = std::string(DODU_SOURCE_DIR) + "/tests/golden/entry_grid_monthly";
  std::filesystem::create_directories(dir);
  screen::testing::ExpectGolden("entry_grid_monthly", "expected.txt",
                                term_.DumpUtf8() + "\n" + term_.DumpAttrs());
}

TEST_F(MonthlyWindowTest, AltUPutsTheTotalIntoTheField) {
  screen::MapVariableStore vars;
  vars.Define("I1_4", Decimal());
  vars.Define("I1_2", std::string(10, ' '));
  screen::FormOptions fo;
  fo.hot_keys.push_back(MonthlyValuesHotKey(Key::Alt('U'), [] { return Rates(); }));
  screen::FormField amount, text;
  amount.row = 3, amount.col = 10, amount.name = "I1_4", amount.picture = "@Ez 999,999,999.99";
  text.row = 4, text.col = 10, text.name = "I1_2", text.picture = "@S10";
  screen::Form form(tk_, vars, {amount, text}, fo);
  // A second Alt U inside the window is the window's (ignored); on the text
  // field Alt U does nothing.
  term_.Feed("{Alt U}150{Enter}250{Enter}{Alt U}{Esc}{Enter}{Alt U}{Enter}");
  Result<screen::FormResult> r = form.Read();
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  EXPECT_EQ(std::get<Decimal>(*vars.Get("I1_4")), "400.00"_dec);
  EXPECT_TRUE(term_.script_empty());
}

}  // namespace
}  // namespace dodu::entry
