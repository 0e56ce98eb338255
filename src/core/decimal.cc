#include "core/decimal.h"

#include <cassert>
#include <ostream>

namespace dodu::core {
namespace {

using Wide = __int128;

std::optional<int64_t> Narrow(Wide v) {
  if (v > INT64_MAX || v < INT64_MIN) return std::nullopt;
  return static_cast<int64_t>(v);
}

int64_t NarrowOrThrow(Wide v) {
  auto n = Narrow(v);
  if (!n) throw std::overflow_error("Decimal out of range");
  return *n;
}

void CheckPlaces(int places, int max) {
  if (places < 0 || places > max) throw std::invalid_argument("Decimal: places out of range");
}

// n / d rounded as asked; d > 0.
Wide DivRound(Wide n, Wide d, Rounding mode) {
  Wide q = n / d;
  Wide r = n % d;
  if (mode == Rounding::kHalfAwayFromZero && r != 0) {
    Wide twice = (r < 0 ? -r : r) * 2;
    if (twice >= d) q += (n < 0 ? -1 : 1);
  }
  return q;
}

}  // namespace

Decimal Decimal::FromInt(int64_t whole) {
  return Decimal(NarrowOrThrow(static_cast<Wide>(whole) * kScale));
}

Decimal Decimal::FromScaled(int64_t value, int places) {
  CheckPlaces(places, kPlaces);
  return Decimal(NarrowOrThrow(static_cast<Wide>(value) * Pow10(kPlaces - places)));
}

Decimal Decimal::Abs() const { return units_ < 0 ? -*this : *this; }

int64_t Decimal::ToScaled(int places, Rounding mode) const {
  CheckPlaces(places, kPlaces);
  return NarrowOrThrow(DivRound(units_, Pow10(kPlaces - places), mode));
}

Decimal Decimal::Round(int places, Rounding mode) const {
  CheckPlaces(places, kPlaces);
  int64_t step = Pow10(kPlaces - places);
  return Decimal(NarrowOrThrow(DivRound(units_, step, mode) * step));
}

Decimal Decimal::RoundHalfAway(int places) const {
  return Round(places, Rounding::kHalfAwayFromZero);
}

Decimal Decimal::Truncate(int places) const { return Round(places, Rounding::kTruncate); }

Decimal Decimal::Despreza(int decimals, int mode) const {
  CheckPlaces(decimals, kPlaces - 2);
  Decimal rounded = RoundHalfAway(decimals + 2);
  return mode == 0 ? rounded.Truncate(decimals) : rounded;
}

std::optional<Decimal> Decimal::CheckedAdd(const Decimal& o) const {
  auto v = Narrow(static_cast<Wide>(units_) + o.units_);
  if (!v) return std::nullopt;
  return Decimal(*v);
}

std::optional<Decimal> Decimal::CheckedSub(const Decimal& o) const {
  auto v = Narrow(static_cast<Wide>(units_) - o.units_);
  if (!v) return std::nullopt;
  return Decimal(*v);
}

std::optional<Decimal> Decimal::CheckedMul(const Decimal& o) const {
  // |units| < 2^63 each, so the product fits 126 bits.
  auto v = Narrow(DivRound(static_cast<Wide>(units_) * o.units_, kScale,
                           Rounding::kHalfAwayFromZero));
  if (!v) return std::nullopt;
  return Decimal(*v);
}

std::optional<Decimal> Decimal::CheckedDiv(const Decimal& divisor, int places,
                                           Rounding mode) const {
  CheckPlaces(places, kPlaces);
  if (divisor.units_ == 0) return std::nullopt;
  // Quotient in 10^-places units: units_ * 10^places / divisor.units_. The
  // numerator fits: 2^63 * 10^8 < 2^127.
  Wide n = static_cast<Wide>(units_) * Pow10(places);
  Wide d = divisor.units_;
  if (d < 0) {
    n = -n;
    d = -d;
  }
  Wide q = DivRound(n, d, mode);
  auto v = Narrow(q * Pow10(kPlaces - places));
  if (!v || q > INT64_MAX || q < INT64_MIN) return std::nullopt;
  return Decimal(*v);
}

Decimal Decimal::Div(const Decimal& divisor, int places, Rounding mode) const {
  if (divisor.units_ == 0) {
    CheckPlaces(places, kPlaces);
    return Decimal();
  }
  auto q = CheckedDiv(divisor, places, mode);
  if (!q) throw std::overflow_error("Decimal division out of range");
  return *q;
}

Decimal Decimal::Mul(const Decimal& other, int places, Rounding mode) const {
  CheckPlaces(places, kPlaces);
  Wide p = static_cast<Wide>(units_) * other.units_;  // 10^-16 units
  Wide step = static_cast<Wide>(kScale) * Pow10(kPlaces - places);
  Wide q = DivRound(p, step, mode);
  return Decimal(NarrowOrThrow(q * Pow10(kPlaces - places)));
}

Decimal Decimal::operator-() const {
  if (units_ == INT64_MIN) throw std::overflow_error("Decimal out of range");
  return Decimal(-units_);
}

Decimal& Decimal::operator+=(const Decimal& o) {
  auto v = CheckedAdd(o);
  if (!v) throw std::overflow_error("Decimal out of range");
  return *this = *v;
}

Decimal& Decimal::operator-=(const Decimal& o) {
  auto v = CheckedSub(o);
  if (!v) throw std::overflow_error("Decimal out of range");
  return *this = *v;
}

Decimal& Decimal::operator*=(const Decimal& o) {
  auto v = CheckedMul(o);
  if (!v) throw std::overflow_error("Decimal out of range");
  return *this = *v;
}

std::string Decimal::ToFixed(int decimals) const {
  CheckPlaces(decimals, kPlaces);
  // Work on the magnitude in 128 bits so INT64_MIN needs no special case.
  Wide scaled = DivRound(units_, Pow10(kPlaces - decimals), Rounding::kHalfAwayFromZero);
  bool negative = scaled < 0;
  Wide mag = negative ? -scaled : scaled;
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(mag % 10)));
    mag /= 10;
  } while (mag != 0);
  if (static_cast<int>(digits.size()) <= decimals) {
    digits.insert(0, decimals + 1 - digits.size(), '0');
  }
  if (decimals > 0) digits.insert(digits.size() - decimals, 1, '.');
  if (negative) digits.insert(0, 1, '-');
  return digits;
}

std::string Decimal::ToString() const {
  std::string s = ToFixed(kPlaces);
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s;
}

std::optional<std::string> Decimal::ToField(int width, int decimals) const {
  CheckPlaces(decimals, kPlaces);
  std::string s = ToFixed(decimals);
  if (width < 1 || static_cast<int>(s.size()) > width) return std::nullopt;
  return std::string(width - s.size(), ' ') + s;
}

std::ostream& operator<<(std::ostream& os, const Decimal& d) { return os << d.ToString(); }

}  // namespace dodu::core
