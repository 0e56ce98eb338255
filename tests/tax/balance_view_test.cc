#include "tax/balance_view.h"

#include <gtest/gtest.h>

#include "tax/testutil.h"

namespace dodu::tax {
namespace {

using testing::Dec;

TEST(BalanceViewTest, ScreenRows) {
  BalanceInputs in;
  in.taxable = Dec("60000");
  in.exclusive = Dec("5000");
  in.exclusive_gains = Dec("800");
  in.rra_tax = Dec("300");
  in.variable_gains = Dec("2000");
  in.variable_recovered = Dec("500");
  in.spouse_income = Dec("10000");
  in.spouse_balance = Dec("12000");
  in.tax_paid = Dec("7000");
  in.gains_tax = Dec("150");
  in.deferred_gain = Dec("900");
  in.personal_spending = Dec("20000");
  const CashBalance b = VeSaldo(in);
  std::vector<BalanceScreenRow> rows = BalanceScreenRows(in, b, false);
  ASSERT_EQ(rows.size(), 16u);
  EXPECT_EQ(rows[0].expense, Dec("7150"));
  EXPECT_EQ(rows[2].receipt, Dec("4500"));  // I13_45 - I4_03 + I13_34
  EXPECT_EQ(rows[3].receipt, Dec("1500"));
  EXPECT_EQ(rows[5].receipt, Dec("2000"));
  EXPECT_EQ(rows[13].receipt, Dec("900"));
  EXPECT_FALSE(rows[13].expense.has_value()) << "the result line";
  EXPECT_EQ(rows[14].receipt, b.receipts);
  EXPECT_EQ(rows[15].receipt, Dec("0"));
  EXPECT_EQ(rows[15].expense,
            b.saldo.Div(Decimal::FromInt(12), 2, core::Rounding::kHalfAwayFromZero));
  EXPECT_EQ(rows[11].expense_label, "Despesas+Cartao Credito");

  // A deferred gain not counted moves to the last row; a final estate has no
  // spouse rows and spends as an estate.
  in.deferred_counted = false;
  rows = BalanceScreenRows(in, VeSaldo(in), true);
  EXPECT_EQ(rows[13].receipt, Dec("0"));
  EXPECT_EQ(rows[15].receipt, Dec("900"));
  EXPECT_EQ(rows[4].receipt_label, "");
  EXPECT_FALSE(rows[4].receipt.has_value());
  EXPECT_EQ(rows[11].expense_label, "Despesas do Espólio    ");
}

TEST(BalanceViewTest, ConferenceFlag) {
  EXPECT_EQ(ConferenceFlag('S').action, ConferenceAnswer::kCheckNow);
  EXPECT_EQ(ConferenceFlag('N').action, ConferenceAnswer::kNothing);
  EXPECT_EQ(ConferenceFlag('A').action, ConferenceAnswer::kAutomatic);
  EXPECT_EQ(ConferenceFlag('A').message.size(), 1u);
  ConferenceAnswer wrong = ConferenceFlag('x');
  EXPECT_EQ(wrong.action, ConferenceAnswer::kRefused);
  EXPECT_EQ(wrong.message.at(1), "para verificar pendências e conferir a declaração.");
}

}  // namespace
}  // namespace dodu::tax
