#include "tax/annual_incentives.h"

#include <gtest/gtest.h>

#include <vector>

#include "annual_fixture.h"

namespace dodu::tax {
namespace {

using namespace core::literals;
using testing::Rows;

struct Payment {
  int code;
  Decimal paid;
  Decimal not_deductible;  // as recomputed
};

struct ConsumptionCase {
  const char* name;
  Decimal tax;
  std::vector<Payment> payments;
  Decimal line22;
};

TEST(AnnualIncentivesTest, DonationsConsumeTheirLimitsInOrder) {
  const ConsumptionCase cases[] = {
      // Tax 10,000.00: 6 % is 600.00; a code 41 donation of 700.00 keeps
      // 100.00 not deductible and a later code 39 one has nothing left.
      {"worked example",
       "10000.00"_dec,
       {{41, "700.00"_dec, "100.00"_dec}, {39, "50.00"_dec, "50.00"_dec}},
       "600.00"_dec},
      {"within the limit",
       "10000.00"_dec,
       {{40, "200.00"_dec, "0"_dec}, {44, "300.00"_dec, "0"_dec}},
       "500.00"_dec},
      // The year's donations go first whatever their place in the table.
      {"39 after 40..44",
       "10000.00"_dec,
       {{39, "200.00"_dec, "100.00"_dec},
        {40, "500.00"_dec, "0"_dec},
        {49, "80.00"_dec, "80.00"_dec}},
       "600.00"_dec},
      {"later ones wholly not deductible",
       "10000.00"_dec,
       {{42, "550.00"_dec, "0"_dec},
        {43, "100.00"_dec, "50.00"_dec},
        {41, "30.00"_dec, "30.00"_dec}},
       "600.00"_dec},
      // Codes 45 and 46: 1 % each, apart from the 6 %.
      {"own limits of 45 and 46",
       "10000.00"_dec,
       {{45, "150.00"_dec, "50.00"_dec},
        {46, "80.00"_dec, "0"_dec},
        {45, "10.00"_dec, "10.00"_dec},
        {41, "600.00"_dec, "0"_dec}},
       "780.00"_dec},
      {"no tax", "0"_dec, {{41, "100.00"_dec, "100.00"_dec}}, "0"_dec},
      // The limits are cut to cents: 6 % of 1,234.56 is 74.0736.
      {"limits in cents", "1234.56"_dec, {{40, "80.00"_dec, "5.93"_dec}}, "74.07"_dec},
  };
  for (const ConsumptionCase& c : cases) {
    Rows rows;
    for (const Payment& p : c.payments) rows.Pay(p.code, p.paid, "1.00"_dec);
    rows.Pay(10, "99.00"_dec, "1.00"_dec);  // medical: untouched
    IncentiveResult r = IncentiveDeductions(rows.view().payments, c.tax, true, Decimal());
    EXPECT_EQ(r.line22, c.line22) << c.name;
    ASSERT_EQ(r.changes.size(), c.payments.size()) << c.name;
    for (size_t i = 0; i < c.payments.size(); ++i) {
      EXPECT_EQ(r.changes[i], (RowChange{RowTable::kPayments, i, "I6_5",
                                         core::Value(c.payments[i].not_deductible)}))
          << c.name << " payment " << i;
    }
    EXPECT_TRUE(r.message.empty()) << c.name;
  }
}

TEST(AnnualIncentivesTest, UnchangedNotDeductibleIsNotRewritten) {
  Rows rows;
  rows.Pay(41, "700.00"_dec, "100.00"_dec).Pay(40, "10.00"_dec, "10.00"_dec);
  IncentiveResult r = IncentiveDeductions(rows.view().payments, "10000.00"_dec, true, Decimal());
  EXPECT_TRUE(r.changes.empty());
  EXPECT_EQ(r.line22, "600.00"_dec);
}

TEST(AnnualIncentivesTest, SimplifiedModelDeductsNothing) {
  Rows rows;
  rows.Pay(41, "100.00"_dec).Pay(39, "50.00"_dec, "50.00"_dec).Pay(46, "20.00"_dec);
  IncentiveResult r =
      IncentiveDeductions(rows.view().payments, "10000.00"_dec, false, "150.00"_dec);
  EXPECT_EQ(r.line22, "0"_dec);
  const std::vector<RowChange> want = {
      {RowTable::kPayments, 0, "I6_5", core::Value("100.00"_dec)},
      {RowTable::kPayments, 2, "I6_5", core::Value("20.00"_dec)},
  };
  EXPECT_EQ(r.changes, want);
  EXPECT_EQ(r.message, std::vector<std::string>{"Abatimentos somente na declaração completa!"});
  EXPECT_TRUE(
      IncentiveDeductions(rows.view().payments, "10000.00"_dec, false, Decimal()).message.empty());
}

struct AvailableCase {
  const char* name;
  std::vector<Payment> payments;  // here: paid and its current not-deductible part
  Decimal children, elderly;
};

TEST(AnnualIncentivesTest, DirectDonationAvailable) {
  // Tax 10,000.00: 600.00 overall, 300.00 per fund.
  const AvailableCase cases[] = {
      {"nothing yet", {}, "300.00"_dec, "300.00"_dec},
      {"year's donations first", {{41, "400.00"_dec, "0"_dec}}, "200.00"_dec, "200.00"_dec},
      {"the deducted part only", {{41, "700.00"_dec, "500.00"_dec}}, "300.00"_dec, "300.00"_dec},
      {"own fund used",
       {{39, "250.00"_dec, "0"_dec}, {49, "100.00"_dec, "0"_dec}},
       "50.00"_dec,
       "200.00"_dec},
      {"overall used up",
       {{40, "350.00"_dec, "0"_dec}, {39, "250.00"_dec, "0"_dec}},
       "0"_dec,
       "0"_dec},
      {"programmes apart", {{45, "500.00"_dec, "0"_dec}}, "300.00"_dec, "300.00"_dec},
  };
  for (const AvailableCase& c : cases) {
    Rows rows;
    for (const Payment& p : c.payments) rows.Pay(p.code, p.paid, p.not_deductible);
    const auto& payments = rows.view().payments;
    EXPECT_EQ(DirectDonationAvailable(payments, "10000.00"_dec, DirectFund::kChildren), c.children)
        << c.name;
    EXPECT_EQ(DirectDonationAvailable(payments, "10000.00"_dec, DirectFund::kElderly), c.elderly)
        << c.name;
  }
}

TEST(AnnualIncentivesTest, DirectDonationCheck) {
  EXPECT_EQ(CheckDirectDonation("200.00"_dec, "200.00"_dec), std::nullopt);
  EXPECT_EQ(CheckDirectDonation("200.01"_dec, "200.00"_dec),
            "Valor acima do limite da doação! Confira.");
  EXPECT_EQ(CheckDirectDonation("10.00"_dec, "0"_dec),
            "Não há valor disponível para a doação direta na declaração");
}

TEST(AnnualIncentivesTest, TypedDonationWithinLimdoaStaysDeductible) {
  // What LIMDOA lets through, line 22 deducts in full: one set of limits.
  for (Decimal tax : {"10000.00"_dec, "1234.56"_dec, "777.77"_dec}) {
    Rows rows;
    rows.Pay(41, "20.00"_dec);
    Decimal available = DirectDonationAvailable(rows.view().payments, tax, DirectFund::kChildren);
    rows.Pay(39, available);
    IncentiveResult r = IncentiveDeductions(rows.view().payments, tax, true, Decimal());
    EXPECT_EQ(r.line22, std::min("20.00"_dec, IncentiveLimitsOf(tax).overall) + available) << tax;
  }
}

}  // namespace
}  // namespace dodu::tax
