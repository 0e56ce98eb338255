#include "tax/balance_detail.h"

#include <gtest/gtest.h>

#include "tax/testutil.h"

namespace dodu::tax {
namespace {

using testing::Dec;

core::VariableMap DetailVars() {
  core::VariableMap v;
  for (int n = 1; n <= 51; ++n) {
    v.Declare("I13_" + std::string(n < 10 ? "0" : "") + std::to_string(n), Decimal());
  }
  for (int n = 1; n <= 24; ++n) {
    v.Declare("I3_" + std::string(n < 10 ? "0" : "") + std::to_string(n), Decimal());
  }
  for (int n = 1; n <= 12; ++n) {
    v.Declare("I4_" + std::string(n < 10 ? "0" : "") + std::to_string(n), Decimal());
  }
  testing::DeclareNumbers(v, {"I13_1C", "I13_2C", "I13_3C", "I13_4C", "I13_5C", "I9_2", "I9_3"});
  v.Declare("CONJPAD", std::string(" "));
  return v;
}

CashBalance Totals(const char* receipts, const char* expenses) {
  CashBalance b;
  b.receipts = Dec(receipts);
  b.expenses = Dec(expenses);
  return b;
}

std::vector<std::string> Labels(const DetailWindow& w) {
  std::vector<std::string> out;
  for (const DetailRow& r : w.rows) out.push_back(r.description);
  return out;
}

TEST(BalanceDetailTest, SharesOfReceiptsAndExpenses) {
  EXPECT_EQ(ShareOf(Dec("25"), Dec("200")), Dec("12.50"));
  EXPECT_EQ(ShareOf(Dec("1"), Dec("3")), Dec("33.33"));
  EXPECT_EQ(ShareOf(Dec("2"), Dec("3")), Dec("66.67"));
  EXPECT_EQ(ShareOf(Dec("25"), Dec("0")), Dec("0")) << "no receipts: no share";
}

TEST(BalanceDetailTest, TaxableIncome) {
  core::VariableMap v = DetailVars();
  const CashBalance b = Totals("80000", "40000");
  EXPECT_TRUE(TaxableDetail(v, b).nothing);
  v.SetNumber("I13_01", Dec("50000"));
  v.SetNumber("I13_03", Dec("10000"));
  v.SetNumber("I13_08", Dec("60000"));
  DetailWindow w = TaxableDetail(v, b);
  EXPECT_FALSE(w.nothing);
  EXPECT_FALSE(w.expense_window);
  EXPECT_EQ(Labels(w), (std::vector<std::string>{"Recebido de P.Jurídica pelo Titular ",
                                                 "Rec. P.Física pelo Titular ",
                                                 "Total dos Rendimentos Tributáveis"}));
  EXPECT_EQ(w.rows[0].receipt_share, Dec("62.50"));
  EXPECT_EQ(w.rows[0].expense_share, Dec("0"));
  EXPECT_EQ(w.rows[2].value, Dec("60000"));
  EXPECT_EQ(w.rows[2].receipt_share, Dec("75"));
}

TEST(BalanceDetailTest, ExemptAndExclusiveLines) {
  core::VariableMap v = DetailVars();
  const CashBalance b = Totals("10000", "0");
  IncomeTotals income;
  income.line34_titular = Dec("150");
  EXPECT_TRUE(ExemptDetail(v, b).nothing);
  EXPECT_TRUE(ExclusiveDetail(v, income, b).nothing);
  v.SetNumber("I3_05", Dec("3000"));
  v.SetNumber("I3_24", Dec("100"));
  v.SetNumber("I3_09", Dec("-5"));  // not above zero
  v.SetNumber("I13_44", Dec("3100"));
  DetailWindow e = ExemptDetail(v, b);
  EXPECT_EQ(Labels(e), (std::vector<std::string>{"Lucros e dividendos recebidos", "Outros isentos",
                                                 "Total dos rendimentos isentos"}));
  EXPECT_EQ(e.rows.back().value, Dec("3100"));

  v.SetNumber("I4_01", Dec("2000"));
  v.SetNumber("I4_03", Dec("900"));  // variable income has its own window
  v.SetNumber("I4_05", Dec("1000"));
  DetailWindow x = ExclusiveDetail(v, income, b);
  EXPECT_EQ(Labels(x), (std::vector<std::string>{"Décimo terceiro salário (do Titular) ",
                                                 "Recebido acumulado pelo titular       ",
                                                 "Total do rendimento tributado na fonte"}));
  EXPECT_EQ(x.rows[1].value, Dec("1150"));
  EXPECT_EQ(x.rows[2].value, Dec("3150"));
}

TEST(BalanceDetailTest, VariableIncomeMonths) {
  const CashBalance b = Totals("10000", "4000");
  EXPECT_TRUE(VariableIncomeDetail({}, b).nothing);
  std::vector<std::array<Decimal, 12>> line14(2);
  line14[0][2] = Dec("1000");  // March
  line14[0][7] = Dec("-400");  // August
  line14[1][11] = Dec("500");  // December of another row
  DetailWindow w = VariableIncomeDetail(line14, b);
  EXPECT_TRUE(w.expense_window);
  EXPECT_EQ(Labels(w),
            (std::vector<std::string>{"Lucro no mês Marco", "Prejuízo no mês Agosto",
                                      "Lucro no mês Dezembro", "", "Total Ganho na Renda Variável",
                                      "Total Prejuízo na Renda Variável"}));
  EXPECT_EQ(w.rows[0].receipt_share, Dec("10"));
  EXPECT_EQ(w.rows[0].expense_share, Dec("0"));
  EXPECT_EQ(w.rows[1].value, Dec("-400"));
  EXPECT_EQ(w.rows[1].expense_share, Dec("10"));
  EXPECT_EQ(w.rows[1].receipt_share, Dec("4"));
  EXPECT_EQ(w.rows[4].value, Dec("1500"));
  EXPECT_EQ(w.rows[5].value, Dec("-400"));
}

TEST(BalanceDetailTest, SpouseFigures) {
  core::VariableMap v = DetailVars();
  const CashBalance b = Totals("10000", "0");
  EXPECT_TRUE(SpouseDetail(v, b).nothing);
  v.SetText("CONJPAD", "S");
  v.SetNumber("I13_1C", Dec("40000"));
  v.SetNumber("I13_5C", Dec("300"));
  v.SetNumber("I9_2", Dec("35000"));
  v.SetNumber("I9_3", Dec("38000"));
  DetailWindow w = SpouseDetail(v, b);
  EXPECT_EQ(Labels(w), (std::vector<std::string>{
                           "+ Base de cálculo", "- Carnê Leão - I.Complementar",
                           "Total rendimento oficial do conjuge", "Outras rendas do cônjuge",
                           "Saldo no balanço do cônjuge", "Diferença entre Rendimento e Saldo"}));
  EXPECT_EQ(w.rows.back().value, Dec("3000"));
}

TEST(BalanceDetailTest, PatrimonyVariation) {
  AssetTotals t;
  t.assets_previous = Dec("100000");
  t.assets_current = Dec("150000");
  t.debts_previous = Dec("20000");
  t.debts_current = Dec("30000");
  t.debts_paid = Dec("5000");
  DetailWindow w = PatrimonyDetail(t, Totals("100000", "50000"));
  EXPECT_TRUE(w.expense_window);
  ASSERT_EQ(w.rows.size(), 7u);
  EXPECT_EQ(w.rows[0].description, " Valor dos Bens declarado em 2019 (+)");
  EXPECT_EQ(w.rows[1].description, " Valor das Dívidas declarado em 2018 (-)");
  EXPECT_EQ(w.rows[5].value, Dec("-10000"));
  // 150,000 + 20,000 - (100,000 + 30,000) - 5,000 paid.
  EXPECT_EQ(w.rows[6].value, Dec("35000"));
  EXPECT_EQ(w.rows[6].expense_share, Dec("70"));
  EXPECT_TRUE(PatrimonyDetail(AssetTotals{}, Totals("1", "1")).nothing);
}

TEST(BalanceDetailTest, TaxesAndExpenses) {
  core::VariableMap v = DetailVars();
  const CashBalance b = Totals("100000", "20000");
  EXPECT_TRUE(TaxesDetail(v, b).nothing);
  v.SetNumber("I13_27", Dec("4000"));
  v.SetNumber("I13_29", Dec("1000"));
  DetailWindow t = TaxesDetail(v, b);
  EXPECT_EQ(t.rows.back().description, "Total dos Impostos pagos no Ano");
  EXPECT_EQ(t.rows.back().value, Dec("5000"));
  EXPECT_EQ(t.rows.back().expense_share, Dec("25"));
  EXPECT_EQ(t.rows.back().receipt_share, Dec("5"));

  v.SetNumber("I13_09", Dec("6000"));
  v.SetNumber("I13_12", Dec("2275.08"));
  v.SetNumber("I13_14", Dec("800"));
  PaymentTotals totals;
  totals.medical_reimbursed = Dec("200");
  totals.education_total = Dec("5000");
  const std::vector<PaymentLine> payments = {
      {55, Dec("1000")}, {76, Dec("300")}, {70, Dec("200")}, {72, Dec("50")}, {10, Dec("999")}};
  BalanceInputs in;
  in.simplified = false;
  DetailWindow complete = ExpensesDetail(v, totals, payments, in, b);
  EXPECT_EQ(Labels(complete),
            (std::vector<std::string>{
                "Contribuição previdenciária Oficial", "Abatimento com Dependentes",
                "Despesas com instrução", "Despesas médicas e/ou hospitalares",
                "Advogados, Engenheiros etc", "Aluguéis e Arrendamentos rurais",
                "Pagamentos de corretagem ja computado", "Total das despesas declaradas"}));
  EXPECT_EQ(complete.rows[3].value, Dec("1000")) << "medical as paid, before reimbursement";
  EXPECT_EQ(complete.rows[5].value, Dec("500"));
  EXPECT_EQ(complete.rows[6].value, Dec("-50"));
  EXPECT_EQ(complete.rows.back().value, Dec("15725.08"));

  in.simplified = true;
  in.only_discount = true;
  in.standard_discount = Dec("16754.34");
  const std::vector<PaymentLine> no_brokerage = {{99, Dec("10")}};
  DetailWindow discount = ExpensesDetail(v, totals, no_brokerage, in, b);
  EXPECT_EQ(Labels(discount), (std::vector<std::string>{"Valor do abatimento Padrão", "Outros",
                                                        "Total das despesas declaradas"}));
}

TEST(BalanceDetailTest, ResultLine) {
  struct Case {
    const char* saldo;
    const char* indgas;
    const char* label;
    bool alert;
  };
  const Case cases[] = {
      {"5000", "25", "   Saldo de ", false},
      {"5000", "5", "   Saldo de ", true},  // below the alert of 10
      {"5000", "10", "   Saldo de ", false},
      {"0", "0", "Déficit de  ", true},
      {"-100", "-1", "Déficit de  ", true},
  };
  for (const Case& c : cases) {
    CashBalance b;
    b.saldo = Dec(c.saldo);
    b.indgas = Dec(c.indgas);
    ResultLine r = ResultLineOf(b, Dec("10"));
    EXPECT_EQ(r.label, c.label) << c.saldo;
    EXPECT_EQ(r.alert, c.alert) << c.saldo << " " << c.indgas;
  }
}

}  // namespace
}  // namespace dodu::tax
