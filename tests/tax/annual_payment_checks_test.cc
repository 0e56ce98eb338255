#include "tax/annual_payment_checks.h"

#include <gtest/gtest.h>

namespace dodu::tax {
namespace {

using namespace core::literals;

TEST(AnnualPaymentChecksTest, PaidColumn) {
  struct Case {
    int code;
    Decimal paid, line09;
    std::optional<Decimal> not_deductible;
    size_t message_lines;
    bool line22;
  };
  const Case cases[] = {
      {1, "5000.00"_dec, "0"_dec, "1438.50"_dec, 0, false},
      {6, "3000.00"_dec, "0"_dec, "0"_dec, 0, false},
      {36, "100.00"_dec, "0"_dec, std::nullopt, 6, false},
      {38, "100.00"_dec, "1.00"_dec, std::nullopt, 0, false},
      {37, "100.00"_dec, "1.00"_dec, std::nullopt, 3, false},
      {41, "100.00"_dec, "1.00"_dec, std::nullopt, 0, true},
      {10, "100.00"_dec, "1.00"_dec, std::nullopt, 0, false},
  };
  for (const Case& c : cases) {
    PaidColumnCheck r = CheckPaidColumn(c.code, c.paid, c.line09);
    EXPECT_EQ(r.not_deductible, c.not_deductible) << c.code;
    EXPECT_EQ(r.message.size(), c.message_lines) << c.code;
    EXPECT_EQ(r.recompute_line22, c.line22) << c.code;
  }
}

TEST(AnnualPaymentChecksTest, NotDeductibleColumn) {
  struct Case {
    int code;
    Decimal paid, typed, kept;
    bool refused;
    const char* first_line;
  };
  const Case cases[] = {
      {37, "100.00"_dec, "150.00"_dec, "150.00"_dec, false,
       "Lance nesse campo o valor limite do patrocinador"},
      {41, "100.00"_dec, "50.00"_dec, "0"_dec, false,
       "Valores não dedutíveis só deve ser preenchido para convênios"},
      {10, "100.00"_dec, "100.01"_dec, "0"_dec, true, "O valor não dedutível ou reembolsado"},
      {10, "100.00"_dec, "100.00"_dec, "100.00"_dec, false, nullptr},
      {30, "100.00"_dec, "20.00"_dec, "20.00"_dec, false, nullptr},
  };
  for (const Case& c : cases) {
    NotDeductibleCheck r = CheckNotDeductibleColumn(c.code, c.paid, c.typed);
    EXPECT_EQ(r.value, c.kept) << c.code;
    EXPECT_EQ(r.refused, c.refused) << c.code;
    if (c.first_line) {
      ASSERT_FALSE(r.message.empty()) << c.code;
      EXPECT_EQ(r.message[0], c.first_line) << c.code;
    } else {
      EXPECT_TRUE(r.message.empty()) << c.code;
    }
  }
}

}  // namespace
}  // namespace dodu::tax
