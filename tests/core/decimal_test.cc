#include "core/decimal.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>

namespace dodu::core {
namespace {

using namespace literals;

Decimal D(std::string_view s) {
  auto d = Decimal::Parse(s);
  EXPECT_TRUE(d.has_value()) << s;
  return d.value_or(Decimal());
}

TEST(DecimalParse, AcceptsPlainNumbers) {
  struct Case {
    const char* text;
    int64_t units;
  } cases[] = {
      {"0", 0},
      {"12.34", 1234000000},
      {"-12.34", -1234000000},
      {"+5", 500000000},
      {".5", 50000000},
      {"7.", 700000000},
      {"  12.5  ", 1250000000},
      {"0.00000001", 1},
      {"-0.00000001", -1},
      {"92233720368.54775807", INT64_MAX},
      {"-92233720368.54775807", -INT64_MAX},
  };
  for (const auto& c : cases) {
    auto d = Decimal::Parse(c.text);
    ASSERT_TRUE(d.has_value()) << c.text;
    EXPECT_EQ(d->units(), c.units) << c.text;
  }
}

TEST(DecimalParse, RejectsMalformedText) {
  for (const char* text : {"", "   ", "-", ".", "1.2.3", "12,5", "1.000,00", "1e5", "12a",
                           "0.000000001", "92233720368.54775808", "99999999999", "- 1"}) {
    EXPECT_FALSE(Decimal::Parse(text).has_value()) << text;
  }
}

TEST(DecimalParse, LiteralIsCompileTime) {
  constexpr Decimal d = "1234.56"_dec;
  static_assert(d.units() == 123456000000);
  EXPECT_EQ(d, D("1234.56"));
}

TEST(DecimalText, ToFixedRoundsHalfAwayFromZero) {
  struct Case {
    const char* value;
    int decimals;
    const char* text;
  } cases[] = {
      {"0", 2, "0.00"},
      {"1234.5", 2, "1234.50"},
      {"0.125", 2, "0.13"},
      {"-0.125", 2, "-0.13"},
      {"0.124999", 2, "0.12"},
      {"-0.004", 2, "0.00"},  // rounds to zero: no sign
      {"2.5", 0, "3"},
      {"-2.5", 0, "-3"},
      {"0.00000001", 8, "0.00000001"},
      {"-92233720368.54775807", 2, "-92233720368.55"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(D(c.value).ToFixed(c.decimals), c.text) << c.value << " @" << c.decimals;
  }
  EXPECT_EQ(D("12.500").ToString(), "12.5");
  EXPECT_EQ(D("-3").ToString(), "-3");
  std::ostringstream os;
  os << D("0.10");
  EXPECT_EQ(os.str(), "0.1");
}

TEST(DecimalText, FieldIsRightAlignedAndMustFit) {
  struct Case {
    const char* value;
    int width, decimals;
    std::optional<std::string> text;
  } cases[] = {
      {"12.34", 8, 2, "   12.34"},
      {"-12.345", 8, 2, "  -12.35"},
      {"999999999.99", 12, 2, "999999999.99"},
      {"1000000000", 12, 2, std::nullopt},
      {"-99999999.99", 12, 2, "-99999999.99"},
      {"-100000000", 12, 2, std::nullopt},
      {"999999999.995", 12, 2, std::nullopt},  // rounding carries it over the width
      {"5", 3, 0, "  5"},
      {"1.23456789", 18, 8, "        1.23456789"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(D(c.value).ToField(c.width, c.decimals), c.text) << c.value;
    EXPECT_EQ(D(c.value).FitsField(c.width, c.decimals), c.text.has_value()) << c.value;
  }
}

TEST(DecimalRounding, NamedSteps) {
  struct Case {
    const char* value;
    int places;
    const char* rounded;
    const char* truncated;
  } cases[] = {
      {"10.125", 2, "10.13", "10.12"},
      {"-10.125", 2, "-10.13", "-10.12"},
      {"10.1249", 2, "10.12", "10.12"},
      {"0.5", 0, "1", "0"},
      {"-0.5", 0, "-1", "0"},
      {"1.23456789", 8, "1.23456789", "1.23456789"},
      {"1.23456789", 6, "1.234568", "1.234567"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(D(c.value).RoundHalfAway(c.places), D(c.rounded)) << c.value;
    EXPECT_EQ(D(c.value).Truncate(c.places), D(c.truncated)) << c.value;
  }
}

// DESPREZA: rounded at four decimals first, then cut to two.
TEST(DecimalRounding, Despreza) {
  struct Case {
    const char* value;
    int decimals, mode;
    const char* result;
  } cases[] = {
      {"10.129", 2, 0, "10.12"},
      {"12.3456", 2, 0, "12.34"},
      {"12.34996", 2, 0, "12.35"},  // the rounding at the fourth place happens first
      {"-3.4567", 2, 0, "-3.45"},
      {"-12.34996", 2, 0, "-12.35"},
      {"12.34996", 2, 1, "12.35"},
      {"12.34561", 2, 1, "12.3456"},  // other modes only round at decimals + 2
      {"7.12345", 4, 0, "7.1234"},
      {"7.1234996", 4, 0, "7.1235"},
      {"0.99995", 2, 0, "1"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(D(c.value).Despreza(c.decimals, c.mode), D(c.result)) << c.value;
  }
}

// The old DESPREZA wrote the value into a text of `width` characters and read it
// back, so amounts from 10 million (1 million when negative) overflowed width 12.
TEST(DecimalRounding, DesprezaHasNoWidthLimit) {
  EXPECT_EQ(D("12345678.129").Despreza(), D("12345678.12"));
  EXPECT_EQ(D("-1234567.4567").Despreza(), D("-1234567.45"));
  EXPECT_EQ(D("999999999.99999").Despreza(), D("1000000000"));
}

TEST(DecimalArithmetic, SumsAndProductsAreExact) {
  EXPECT_EQ(D("0.1") + D("0.2"), D("0.3"));
  EXPECT_EQ(D("100.00") - D("100.01"), D("-0.01"));
  EXPECT_EQ(D("1234.56") * D("0.275"), D("339.504"));
  EXPECT_EQ(D("-2.5") * D("4"), D("-10"));
  EXPECT_EQ(D("0.0001") * D("0.0001"), D("0.00000001"));
  // Beyond eight places the product is rounded half away at the eighth.
  EXPECT_EQ(D("0.00000001") * D("0.5"), D("0.00000001"));
  EXPECT_EQ(D("0.00000001") * D("-0.5"), D("-0.00000001"));
  EXPECT_EQ(D("0.00000001") * D("0.49"), D("0"));
  EXPECT_EQ(D("1234.5678").Mul(D("0.15"), 2, Rounding::kHalfAwayFromZero), D("185.19"));
  EXPECT_EQ(D("1234.5678").Mul(D("0.15"), 2, Rounding::kTruncate), D("185.18"));
  Decimal acc;
  for (int i = 0; i < 10; ++i) acc += D("0.1");
  EXPECT_EQ(acc, Decimal::FromInt(1));
}

TEST(DecimalArithmetic, DivisionNamesPlacesAndRounding) {
  struct Case {
    const char* a;
    const char* b;
    int places;
    Rounding mode;
    const char* q;
  } cases[] = {
      {"10", "3", 2, Rounding::kHalfAwayFromZero, "3.33"},
      {"20", "3", 2, Rounding::kHalfAwayFromZero, "6.67"},
      {"20", "3", 2, Rounding::kTruncate, "6.66"},
      {"-20", "3", 2, Rounding::kHalfAwayFromZero, "-6.67"},
      {"20", "-3", 2, Rounding::kTruncate, "-6.66"},
      {"1", "8", 2, Rounding::kHalfAwayFromZero, "0.13"},
      {"1", "3", 8, Rounding::kHalfAwayFromZero, "0.33333333"},
      {"100", "0.00000001", 0, Rounding::kTruncate, "10000000000"},
      {"5", "0", 2, Rounding::kHalfAwayFromZero, "0"},  // a zero divisor yields 0
  };
  for (const auto& c : cases) {
    EXPECT_EQ(D(c.a).Div(D(c.b), c.places, c.mode), D(c.q)) << c.a << "/" << c.b;
  }
  EXPECT_FALSE(D("5").CheckedDiv(Decimal(), 2, Rounding::kTruncate).has_value());
}

TEST(DecimalArithmetic, OverflowIsReported) {
  const Decimal max = Decimal::FromUnits(INT64_MAX);
  const Decimal min = Decimal::FromUnits(INT64_MIN);
  EXPECT_FALSE(max.CheckedAdd(Decimal::FromUnits(1)).has_value());
  EXPECT_FALSE(min.CheckedSub(Decimal::FromUnits(1)).has_value());
  EXPECT_FALSE(D("1000000").CheckedMul(D("1000000")).has_value());
  EXPECT_TRUE(D("100000").CheckedMul(D("100000")).has_value());
  EXPECT_FALSE(D("90000000000").CheckedDiv(D("0.5"), 2, Rounding::kTruncate).has_value());
  EXPECT_THROW(max + Decimal::FromUnits(1), std::overflow_error);
  EXPECT_THROW(min - Decimal::FromUnits(1), std::overflow_error);
  EXPECT_THROW(-min, std::overflow_error);
  EXPECT_THROW(D("1000000") * D("1000000"), std::overflow_error);
  EXPECT_THROW(Decimal::FromInt(100000000000), std::overflow_error);
  EXPECT_THROW(max.RoundHalfAway(0), std::overflow_error);
  EXPECT_EQ(min.ToFixed(0), "-92233720369");
}

TEST(DecimalConversions, ScaledIntegers) {
  EXPECT_EQ(Decimal::FromScaled(1234, 2), D("12.34"));
  EXPECT_EQ(Decimal::FromScaled(-5, 0), D("-5"));
  EXPECT_EQ(D("12.345").ToScaled(2), 1235);
  EXPECT_EQ(D("-12.345").ToScaled(2), -1235);
  EXPECT_EQ(D("12.349").ToScaled(2, Rounding::kTruncate), 1234);
  EXPECT_EQ(Decimal::FromInt(-7).units(), -700000000);
  EXPECT_LT(D("-0.01"), Decimal());
  EXPECT_GT(D("0.01"), D("0.009"));
  EXPECT_EQ(D("-3").Abs(), D("3"));
  EXPECT_EQ(D("-3").Sign(), -1);
}

}  // namespace
}  // namespace dodu::core
