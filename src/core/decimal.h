// Decimal: the one fixed-point number of the system, for money, rates, quantities
// and every intermediate of the computations. Never binary floating point.
//
// A Decimal is a signed 64-bit count of 10^-8 units: eight decimal places (the
// widest numeric field is N(18,8)) and a range of about +/-92 billion. Products
// and quotients go through 128-bit integers.
//
// Contract:
// - There is no constructor from double. Values come from integers, from scaled
//   integers (cents, implied decimals of fixed-position files) or from text.
// - +, - and unary - are exact. * is exact whenever the factors' decimal places add
//   up to 8 or fewer (amount x six-decimal rate, amount x amount); beyond that the
//   product is rounded half away from zero at the 8th place.
// - Every rounding the rules call for is a named step: RoundHalfAway, Truncate,
//   Despreza, Div (division always names its places and its rounding).
// - Overflow of the range is a programming error (inputs are bounded by their field
//   widths): the operators throw std::overflow_error. Code that combines values of
//   unknown size uses the Checked* forms, which answer std::nullopt instead.
// - Text is locale independent: "." is the decimal point, no thousands separators.
//   The display masks ("@E 999,999.99") live in core/picture.h.
#ifndef DODU_CORE_DECIMAL_H_
#define DODU_CORE_DECIMAL_H_

#include <compare>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace dodu::core {

enum class Rounding {
  kHalfAwayFromZero,  // "rounded": 0.125 -> 0.13, -0.125 -> -0.13
  kTruncate,          // toward zero: 0.129 -> 0.12, -0.129 -> -0.12
};

class Decimal {
 public:
  static constexpr int kPlaces = 8;
  static constexpr int64_t kScale = 100000000;  // 10^kPlaces

  constexpr Decimal() = default;
  Decimal(double) = delete;  // never from binary floating point
  Decimal(float) = delete;

  // Whole numbers. Throws std::overflow_error outside the range.
  static Decimal FromInt(int64_t whole);
  // value x 10^-places, e.g. FromScaled(1234, 2) == 12.34 (cents, implied decimals).
  // places 0..8. Throws std::overflow_error outside the range.
  static Decimal FromScaled(int64_t value, int places);
  // The raw count of 10^-8 units.
  static constexpr Decimal FromUnits(int64_t units) { return Decimal(units); }

  // Reads "-12.34", "+5", "0.125", ".5", "7.", with blanks around allowed.
  // Fails (nullopt) on empty or blank text, any other character, more than 8
  // decimals, or a value outside the range. No thousands separators, no ",".
  static constexpr std::optional<Decimal> Parse(std::string_view text);

  constexpr int64_t units() const { return units_; }
  constexpr bool IsZero() const { return units_ == 0; }
  constexpr bool IsNegative() const { return units_ < 0; }
  constexpr int Sign() const { return units_ < 0 ? -1 : (units_ > 0 ? 1 : 0); }
  Decimal Abs() const;

  // The value x 10^places as an integer, rounded as asked (places 0..8): the cents
  // of an amount, the digits of an implied-decimal field. Throws on overflow.
  int64_t ToScaled(int places, Rounding mode = Rounding::kHalfAwayFromZero) const;

  // Named rounding steps, places 0..8.
  Decimal RoundHalfAway(int places) const;
  Decimal Truncate(int places) const;
  Decimal Round(int places, Rounding mode) const;

  // DESPREZA(value, width, decimals, mode): in mode 0 the value is rounded half
  // away from zero at decimals + 2 places and then cut (toward zero) to `decimals`;
  // in any other mode it is only rounded at decimals + 2 places. decimals 0..6.
  // 10.129 -> 10.12, 12.34996 -> 12.35, -3.4567 -> -3.45. The width of the text
  // the old routine went through is no limit here.
  Decimal Despreza(int decimals = 2, int mode = 0) const;

  // this / divisor with `places` decimals (0..8) rounded as asked. A zero divisor
  // yields 0, as every ratio of the system does. Throws on overflow.
  Decimal Div(const Decimal& divisor, int places, Rounding mode) const;
  // this x other with `places` decimals rounded as asked (places 0..8).
  Decimal Mul(const Decimal& other, int places, Rounding mode) const;

  // Checked forms: nullopt on overflow (and, for CheckedDiv, on a zero divisor).
  std::optional<Decimal> CheckedAdd(const Decimal& o) const;
  std::optional<Decimal> CheckedSub(const Decimal& o) const;
  std::optional<Decimal> CheckedMul(const Decimal& o) const;
  std::optional<Decimal> CheckedDiv(const Decimal& divisor, int places, Rounding mode) const;

  Decimal operator-() const;
  Decimal& operator+=(const Decimal& o);
  Decimal& operator-=(const Decimal& o);
  Decimal& operator*=(const Decimal& o);
  friend Decimal operator+(Decimal a, const Decimal& b) { return a += b; }
  friend Decimal operator-(Decimal a, const Decimal& b) { return a -= b; }
  friend Decimal operator*(Decimal a, const Decimal& b) { return a *= b; }
  friend constexpr bool operator==(const Decimal&, const Decimal&) = default;
  friend constexpr std::strong_ordering operator<=>(const Decimal&, const Decimal&) = default;

  // Plain text with exactly `decimals` places (0..8), rounded half away from zero:
  // "-1234.50". A value that rounds to zero has no sign.
  std::string ToFixed(int decimals) const;
  // Shortest exact text: "12.5", "-3", "0.00000001".
  std::string ToString() const;

  // Numeric field text, as a DBF N(width, decimals) field stores it: rounded half
  // away from zero, right-aligned in exactly `width` characters, blanks on the
  // left ("   12.34"). nullopt when the text does not fit the width.
  std::optional<std::string> ToField(int width, int decimals) const;
  bool FitsField(int width, int decimals) const { return ToField(width, decimals).has_value(); }

 private:
  constexpr explicit Decimal(int64_t units) : units_(units) {}
  int64_t units_ = 0;
};

std::ostream& operator<<(std::ostream& os, const Decimal& d);

// 10^n for n in 0..18.
constexpr int64_t Pow10(int n) {
  int64_t p = 1;
  while (n-- > 0) p *= 10;
  return p;
}

constexpr std::optional<Decimal> Decimal::Parse(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && text[b] == ' ') ++b;
  while (e > b && text[e - 1] == ' ') --e;
  if (b == e) return std::nullopt;
  bool negative = false;
  if (text[b] == '-' || text[b] == '+') {
    negative = text[b] == '-';
    ++b;
  }
  constexpr int64_t kMax = INT64_MAX;
  int64_t whole = 0;
  int64_t frac = 0;
  int frac_digits = 0;
  bool any_digit = false, seen_point = false;
  for (size_t i = b; i < e; ++i) {
    char c = text[i];
    if (c == '.') {
      if (seen_point) return std::nullopt;
      seen_point = true;
      continue;
    }
    if (c < '0' || c > '9') return std::nullopt;
    any_digit = true;
    int digit = c - '0';
    if (seen_point) {
      if (++frac_digits > kPlaces) return std::nullopt;
      frac = frac * 10 + digit;
    } else {
      if (whole > (kMax / kScale - digit) / 10) return std::nullopt;
      whole = whole * 10 + digit;
    }
  }
  if (!any_digit) return std::nullopt;
  int64_t units = frac * Pow10(kPlaces - frac_digits);
  if (whole > (kMax - units) / kScale) return std::nullopt;
  units += whole * kScale;
  return Decimal(negative ? -units : units);
}

namespace literals {
// 12.34_dec is not possible without going through double; write "12.34"_dec.
consteval Decimal operator""_dec(const char* text, size_t len) {
  auto d = Decimal::Parse(std::string_view(text, len));
  if (!d) throw std::invalid_argument("bad decimal literal");
  return *d;
}
}  // namespace literals

}  // namespace dodu::core

#endif  // DODU_CORE_DECIMAL_H_
