#include "tax/balance.h"

#include <gtest/gtest.h>

#include "tax/testutil.h"

namespace dodu::tax {
namespace {

using testing::Dec;

TEST(BalanceTest, PatrimonyVariation) {
  struct Case {
    const char *a0, *a1, *d0, *d1;
    const char *increase, *decrease, *borrowing;
  };
  const Case cases[] = {
      {"100000", "150000", "20000", "30000", "40000", "0", "0"},
      {"150000", "100000", "30000", "20000", "0", "40000", "0"},
      {"100000", "100000", "0", "30000", "0", "0", "30000"},
      {"100000", "110000", "0", "30000", "0", "0", "20000"},     // debts grew more
      {"100000", "80000", "0", "5000", "0", "20000", "5000"},    // sold and borrowed
      {"100000", "90000", "50000", "20000", "20000", "0", "0"},  // paid debts with assets
      {"100000", "150000", "50000", "40000", "60000", "0", "0"},
  };
  for (const Case& c : cases) {
    AssetTotals t;
    t.assets_previous = Dec(c.a0);
    t.assets_current = Dec(c.a1);
    t.debts_previous = Dec(c.d0);
    t.debts_current = Dec(c.d1);
    Patrimony p = Fi10_1(t);
    EXPECT_EQ(p.increase, Dec(c.increase)) << c.a0 << ">" << c.a1 << " " << c.d0 << ">" << c.d1;
    EXPECT_EQ(p.decrease, Dec(c.decrease)) << c.a0 << ">" << c.a1 << " " << c.d0 << ">" << c.d1;
    EXPECT_EQ(p.borrowing, Dec(c.borrowing)) << c.a0 << ">" << c.a1 << " " << c.d0 << ">" << c.d1;
  }
}

BalanceInputs Simple() {
  BalanceInputs in;
  in.taxable = Dec("60000");
  in.exempt = Dec("10000");
  in.exclusive = Dec("5000");
  in.tax_paid = Dec("8000");
  in.declared = Dec("12000");
  in.social_security = Dec("6000");
  in.cash_book = Dec("1000");
  in.dependants = Dec("2275.08");
  in.personal_spending = Dec("30000");
  return in;
}

TEST(BalanceTest, ReceiptsExpensesAndIndex) {
  CashBalance b = VeSaldo(Simple());
  EXPECT_EQ(b.receipts, Dec("75000"));
  EXPECT_EQ(b.declared_expenses, Dec("21275.08"));  // complete model
  EXPECT_EQ(b.expenses, Dec("59275.08"));
  EXPECT_EQ(b.saldo, Dec("15724.92"));
  EXPECT_EQ(b.indgas, Dec("20.96"));  // 20.96656, cut
  EXPECT_FALSE(CashProblem(b, Dec("10")));
  EXPECT_TRUE(CashProblem(b, Dec("21")));
  EXPECT_FALSE(CashProblem(b, Dec("20.96"))) << "an index equal to the alert is no problem";
}

TEST(BalanceTest, DeclaredExpensesByModel) {
  BalanceInputs in = Simple();
  in.standard_discount = Dec("16754.34");
  in.declared_simplified = Dec("500");
  in.simplified = true;
  in.only_discount = true;
  EXPECT_EQ(DeclaredExpenses(in), Dec("17254.34"));
  in.only_discount = false;
  EXPECT_EQ(DeclaredExpenses(in), Dec("19000"));
  in.simplified = false;
  EXPECT_EQ(DeclaredExpenses(in), Dec("21275.08"));
}

TEST(BalanceTest, DeferredGainCountsUnlessRefused) {
  BalanceInputs in;
  in.deferred_gain = Dec("7000");
  EXPECT_EQ(VeSaldo(in).receipts, Dec("7000"));
  in.deferred_counted = false;
  EXPECT_EQ(VeSaldo(in).receipts, Dec("0"));
}

TEST(BalanceTest, IndexAndBalanceLimits) {
  struct Case {
    const char* receipts;  // as taxable income
    const char* expenses;  // as personal spending
    const char* saldo;
    const char* indgas;
  };
  const Case cases[] = {
      {"100", "-899.50", "999.50", "999.50"},  // stays
      {"100", "-900.01", "1000.01", "999"},    // above the field: 999
      {"100", "250", "-150", "-99.99"},
      {"0", "500", "-500", "0"},  // no receipts: no index
      {"100", "100", "0", "0"},
      {"0", "200000000", "-99999999.99", "0"},  // within the field
  };
  for (const Case& c : cases) {
    BalanceInputs in;
    in.taxable = Dec(c.receipts);
    in.personal_spending = Dec(c.expenses);
    CashBalance b = VeSaldo(in);
    EXPECT_EQ(b.saldo, Dec(c.saldo)) << c.receipts << " - " << c.expenses;
    EXPECT_EQ(b.indgas, Dec(c.indgas)) << c.receipts << " - " << c.expenses;
  }
  BalanceInputs zero;
  zero.taxable = Dec("100");
  zero.personal_spending = Dec("100");
  EXPECT_TRUE(CashProblem(VeSaldo(zero), Dec("0"))) << "a balance of exactly 0 is a problem";
}

TEST(BalanceTest, InputsFromTheVariables) {
  core::VariableMap v;
  testing::DeclareNumbers(
      v, {"I9_2",      "I9_3",      "EMPRUR",  "OUTREC",  "ENTRADGP", "ISENTNAO", "EXGSUSP",
          "I13_08",    "I13_44",    "I13_45",  "I4_03",   "I3_20",    "LUCRRVA",  "VALFUTUR",
          "I13_34",    "IMPOANTER", "I13_35",  "I13_46",  "I13_47",   "I13_48",   "AMORUR",
          "PREJRVA",   "PREJVEN1",  "PREJRUR", "DESPNAO", "OUTRDES",  "CUSTOANO", "CUSTOANT",
          "DESPADRAO", "I13_09",    "I13_12",  "I13_18",  "SALDO",    "INDGAS",   "EMPREST"});
  v.Declare("SOMAG", std::string("N"));
  v.Declare("USAPADRAO", std::string("S"));
  v.Declare("SO_SIMPLES", std::string("N"));
  v.SetNumber("I9_2", Dec("3000"));
  v.SetNumber("I9_3", Dec("5000"));
  v.SetNumber("VALFUTUR", Dec("900"));
  v.SetNumber("I4_03", Dec("200"));
  v.SetNumber("I13_45", Dec("1200"));
  v.SetNumber("I13_09", Dec("700"));
  Patrimony p;
  p.borrowing = Dec("400");
  p.increase = Dec("50");
  PaymentTotals pay;
  pay.declared = Dec("300");
  BalanceInputs in = BalanceInputsOf(v, p, pay);
  EXPECT_FALSE(in.deferred_counted);
  EXPECT_TRUE(in.simplified);
  EXPECT_FALSE(in.only_discount);
  CashBalance b = VeSaldo(in);
  // I9_2 + (I9_3 - I9_2) + EMPREST + I13_45 - I4_03, VALFUTUR refused.
  EXPECT_EQ(b.receipts, Dec("6400"));
  EXPECT_EQ(b.expenses, Dec("1050"));  // I10_1 + DESPDECLA + I13_09
  ApplyBalance(v, b, p);
  EXPECT_EQ(v.Number("SALDO"), Dec("5350"));
  EXPECT_EQ(v.Number("INDGAS"), Dec("83.59"));
  EXPECT_EQ(v.Number("EMPREST"), Dec("400"));
}

TEST(BalanceTest, DeclarationFee) {
  EXPECT_EQ(DeclarationFee(Dec("50000"), 1800, Dec("0.10"), Dec("1.00"), Dec("10")),
            Dec("35"));  // 5.00 by size and 30.00 by time
  EXPECT_EQ(DeclarationFee(Dec("50000"), 1800, Dec("0.10"), Dec("1.00"), Dec("50")), Dec("50"));
  // 0.0617 + 0.8333...: 0.895 rounds to 0.90.
  EXPECT_EQ(DeclarationFee(Dec("1234"), 100, Dec("0.05"), Dec("0.50"), Dec("0")), Dec("0.90"));
}

TEST(BalanceTest, UpkeepRowsFromTheAssets) {
  const std::vector<AssetLine> assets = {
      {1, "Casa na praia com piscina e quadra de tenis", 0, Dec("120000")},
      {0, "continuacao", 11, Dec("0")},        // the code on the asset's last row
      {2, "Conta corrente", 61, Dec("5000")},  // no expense description
      {3, "Carro", 21, Dec("0")},              // no value: no cost
      {4, "Apartamento", 12, Dec("0")},
      {0, "", 0, Dec("60000")},  // the first value counts
      {0, "", 0, Dec("99999")},
  };
  const std::map<int, std::string> expense_of = {
      {11, "IPTU e manutencao"}, {12, "Condominio"}, {21, "IPVA"}, {61, "  "}};
  std::vector<UpkeepRow> rows = BuscaDesp(assets, expense_of);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].code, 11);
  EXPECT_EQ(rows[0].item, "Casa na praia com piscina");
  EXPECT_EQ(rows[0].expense, "IPTU e manutencao");
  EXPECT_EQ(rows[0].monthly, Dec("1000"));
  EXPECT_EQ(rows[1].code, 12);
  EXPECT_EQ(rows[1].monthly, Dec("500"));
  EXPECT_EQ(TotalDesp(std::vector<UpkeepRow>(rows.begin(), rows.begin() + 1)), Dec("12000"));
  EXPECT_EQ(TotalDesp(rows), Dec("18000"));
  EXPECT_TRUE(BuscaDesp({}, expense_of).empty());
}

}  // namespace
}  // namespace dodu::tax
