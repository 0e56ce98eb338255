#include "tax/quota.h"

#include <gtest/gtest.h>

#include "tax/testutil.h"

namespace dodu::tax {
namespace {

using testing::D;
using testing::Dec;

QuotaInput Balance(const char* balance, int chosen = 0) {
  QuotaInput in;
  in.balance = Dec(balance);
  in.chosen = chosen;
  in.debit = "N";
  in.today = D(2020, 5, 1);
  return in;
}

TEST(QuotaTest, CountAndValueOfTheQuotas) {
  struct Case {
    const char* balance;
    int chosen;
    int count;
    const char* value;
  };
  const Case cases[] = {
      {"49.99", 0, 1, "49.99"},
      {"99.99", 0, 1, "99.99"},
      {"100.00", 0, 2, "50.00"},
      {"399.99", 0, 7, "57.14"},
      {"400.00", 0, 8, "50.00"},
      {"10000.00", 0, 8, "1250.00"},
      {"1000.00", 3, 3, "333.33"},  // the cent lost is carried nowhere
      {"1000.00", 9, 8, "125.00"},
      {"1000.00", 0, 8, "125.00"},
      {"120.00", 5, 2, "60.00"},  // more than the minimum of 50.00 allows
      {"0", 3, 0, "0"},
  };
  for (const Case& c : cases) {
    QuotaOutcome q = FqtdQuota(Balance(c.balance, c.chosen));
    EXPECT_EQ(q.count, c.count) << c.balance << " / " << c.chosen;
    EXPECT_EQ(q.value, Dec(c.value)) << c.balance << " / " << c.chosen;
    EXPECT_TRUE(q.message.empty());
    QuotaOutcome p = FParcela(Balance(c.balance, c.chosen), true);
    EXPECT_EQ(p.count, c.count) << "FPARCELA " << c.balance;
    EXPECT_EQ(p.value, Dec(c.value)) << "FPARCELA " << c.balance;
  }
  QuotaInput nothing = Balance("0", 2);
  nothing.debit = "S";
  EXPECT_EQ(FqtdQuota(nothing).debit, " ");
  // A single quota by the minimum blanks the debit flag in FQTD_QUOTA only.
  QuotaInput single = Balance("80", 0);
  single.debit = "S";
  EXPECT_EQ(FqtdQuota(single).debit, " ");
  EXPECT_EQ(FParcela(single, false).debit, "S");
}

TEST(QuotaTest, ClosedEstateHasOneQuota) {
  QuotaInput in = Balance("1000", 3);
  in.estate_closed = true;
  QuotaOutcome q = FqtdQuota(in);
  EXPECT_EQ(q.count, 1);
  EXPECT_EQ(q.value, Dec("1000"));
  EXPECT_EQ(q.message, (std::vector<std::string>{" ATENÇÃO! Não é permitido o",
                                                 "parcelamento em declaração final"}));
  EXPECT_EQ(FParcela(in, false).count, 3) << "FPARCELA has no estate step";
  in.chosen = 1;
  EXPECT_TRUE(FqtdQuota(in).message.empty());
}

TEST(QuotaTest, ExitAndFinalDeclarationsHaveOneQuota) {
  // Fault: the number of quotas could not be typed in an exit or final
  // declaration, but the rule still filled in the largest count allowed, so such
  // a declaration went out with eight instalments.
  for (bool exit : {true, false}) {
    QuotaInput in = Balance("1000", 0);
    in.exit_declaration = exit;
    in.final_declaration = !exit;
    EXPECT_FALSE(QuotaCountEditable(in));
    QuotaOutcome q = FqtdQuota(in);
    EXPECT_EQ(q.count, 1) << (exit ? "exit" : "final");
    EXPECT_EQ(q.value, Dec("1000"));
    QuotaOutcome p = FParcela(in, false);
    EXPECT_EQ(p.count, 1);
    EXPECT_TRUE(p.message.empty());
  }
  EXPECT_TRUE(QuotaCountEditable(Balance("1000")));
  EXPECT_FALSE(QuotaCountEditable(Balance("0")));
}

TEST(QuotaTest, SingleQuotaAutomaticDebit) {
  struct Case {
    int count;
    const char* debit;
    Date today, delivery;
    bool allowed;
    const char* after;
    bool message;
  };
  const Case cases[] = {
      {1, "S", D(2020, 6, 10), Date(), true, "S", false},          // on the deadline
      {1, "S", D(2020, 6, 11), Date(), false, "N", true},          // after, not delivered
      {1, "S", D(2020, 6, 11), D(2020, 6, 5), true, "S", false},   // delivered in time
      {1, "S", D(2020, 6, 11), D(2020, 6, 11), false, "N", true},  // delivered late
      {1, "N", D(2020, 6, 20), Date(), true, "N", false},
      {3, "S", D(2020, 6, 20), Date(), true, "S", false},
      {0, "S", D(2020, 6, 20), Date(), false, "S", false},
  };
  for (const Case& c : cases) {
    DebitCheck d = VejaUmaQuota(c.count, c.debit, c.today, c.delivery);
    EXPECT_EQ(d.allowed, c.allowed) << c.count << " " << c.debit << " " << c.today;
    EXPECT_EQ(d.debit, c.after) << c.count << " " << c.today;
    EXPECT_EQ(!d.message.empty(), c.message) << c.count << " " << c.today;
  }
  EXPECT_EQ(VejaUmaQuota(1, "S", D(2020, 7, 1), Date()).message.at(0),
            "Não é permitido débito automático com uma quota após 10/06/2020");
  // The rule runs for an estate's single quota.
  QuotaInput in = Balance("1000", 3);
  in.estate_closed = true;
  in.debit = "S";
  in.today = D(2020, 6, 15);
  QuotaOutcome q = FqtdQuota(in);
  EXPECT_EQ(q.debit, "N");
  EXPECT_EQ(q.message.size(), 3u);
}

TEST(QuotaTest, QuotasPaidInSeptember) {
  // Four quotas of 250.00 paid on 15/09/2020: 1 % + July 0.19 + August 0.16 for
  // every one; the fine by the days after each due date.
  const auto selic = testing::Selic2019To2020();
  struct Case {
    Date due;
    const char* fine_rate;
    const char* fine;
    const char* total;
  };
  const Case cases[] = {
      {D(2020, 6, 30), "20", "50", "303.375"},        // 77 days: capped
      {D(2020, 7, 31), "15.18", "37.95", "291.325"},  // 46 days
      {D(2020, 8, 31), "4.95", "12.375", "265.75"},   // 15 days
      {D(2020, 9, 30), "0", "0", "253.375"},          // paid early, interest only
  };
  for (const Case& c : cases) {
    auto ch = QuotaCharges(Dec("250"), c.due, D(2020, 9, 15), selic, D(2020, 9, 15));
    ASSERT_TRUE(ch.ok()) << ch.status().message();
    EXPECT_EQ(ch->interest_rate, Dec("1.35")) << c.due;
    EXPECT_EQ(ch->interest, Dec("3.375")) << c.due;
    EXPECT_EQ(ch->fine_rate, Dec(c.fine_rate)) << c.due;
    EXPECT_EQ(ch->fine, Dec(c.fine)) << c.due;
    EXPECT_EQ(ch->total, Dec(c.total)) << c.due;
  }
  auto first = QuotaCharges(Dec("250"), D(2020, 6, 30), D(2020, 6, 30), selic, D(2020, 6, 30));
  EXPECT_EQ(first->total, Dec("250")) << "quota 1 by the deadline";
}

TEST(QuotaTest, RuleOverTheVariables) {
  core::VariableMap v;
  v.Declare("I13_36", Dec("1000"));
  v.Declare("QTD_QUOTA", Dec("3"));
  v.Declare("I13_37", Dec("0"));
  v.Declare("DEBITAUT", std::string("S"));
  v.Declare("DECFINAL", std::string(" "));
  v.Declare("DECSAIDA", std::string(" "));
  v.Declare("DECJUDI", std::string("S"));
  v.Declare("DATAPARTI", D(2019, 8, 1));
  v.Declare("DATALAVRA", Date());
  v.Declare("DENTREGA", Date());
  QuotaInput in = QuotaInputOf(v, D(2020, 5, 1));
  EXPECT_TRUE(in.estate_closed);
  EXPECT_EQ(in.chosen, 3);
  std::vector<std::string> msg = ApplyQuotas(v, FqtdQuota(in));
  EXPECT_EQ(msg.size(), 2u);
  EXPECT_EQ(v.Number("QTD_QUOTA"), Dec("1"));
  EXPECT_EQ(v.Number("I13_37"), Dec("1000"));
  EXPECT_EQ(v.Text("DEBITAUT"), "S");
  // A deed date with a non-judicial partition closes the estate too; a deed
  // with a judicial one does not.
  v.SetDate("DATAPARTI", Date());
  v.SetDate("DATALAVRA", D(2019, 9, 1));
  EXPECT_FALSE(QuotaInputOf(v, D(2020, 5, 1)).estate_closed);
  v.SetText("DECJUDI", "N");
  EXPECT_TRUE(QuotaInputOf(v, D(2020, 5, 1)).estate_closed);
}

}  // namespace
}  // namespace dodu::tax
