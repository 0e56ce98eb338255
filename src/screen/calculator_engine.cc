#include "screen/calculator_engine.h"

#include <cstdlib>

namespace dodu::screen {

using core::Decimal;
using core::Rounding;

namespace {

const Decimal kLimit = Decimal::FromInt(core::Pow10(CalculatorEngine::kIntegerDigits));

}  // namespace

bool CalculatorEngine::Fits(const Decimal& v) { return v.Abs() < kLimit; }

void CalculatorEngine::BeginEntry() {
  if (typing_) return;
  int_digits_.clear();
  frac_digits_.clear();
  point_ = false;
  negative_ = false;
  typing_ = true;
}

Decimal CalculatorEngine::EntryValue() const {
  std::string text = int_digits_.empty() ? "0" : int_digits_;
  if (!frac_digits_.empty()) text += "." + frac_digits_;
  Decimal v = *Decimal::Parse(text);
  return negative_ ? -v : v;
}

bool CalculatorEngine::Digit(int digit) {
  if (error_ || awaiting_memory_ || digit < 0 || digit > 9) return false;
  BeginEntry();
  if (point_) {
    if (static_cast<int>(frac_digits_.size()) >= kDecimalDigits) return false;
    frac_digits_ += static_cast<char>('0' + digit);
    return true;
  }
  if (int_digits_.empty() && digit == 0) return true;  // leading zeros count for nothing
  if (static_cast<int>(int_digits_.size()) >= kIntegerDigits) return false;
  int_digits_ += static_cast<char>('0' + digit);
  return true;
}

bool CalculatorEngine::Point() {
  if (error_ || awaiting_memory_) return false;
  BeginEntry();
  if (point_) return false;
  point_ = true;
  show_decimals_ = true;
  return true;
}

bool CalculatorEngine::Apply() {
  Decimal entry = EntryValue();
  std::optional<Decimal> r;
  switch (pending_) {
    case Op::kNone: r = entry; break;
    case Op::kAdd: r = result_.CheckedAdd(entry); break;
    case Op::kSub: r = result_.CheckedSub(entry); break;
    case Op::kMul:
      // Both factors have at most four decimals: the product is exact before
      // it is rounded to the display's four places.
      r = result_.CheckedMul(entry);
      if (r) r = r->RoundHalfAway(kDecimalDigits);
      break;
    case Op::kDiv:
      show_decimals_ = true;
      r = result_.CheckedDiv(entry, kDecimalDigits, Rounding::kHalfAwayFromZero);
      break;
  }
  typing_ = false;
  if (!r || !Fits(*r)) {
    error_ = true;
    pending_ = Op::kNone;
    result_ = Decimal();
    return false;
  }
  result_ = *r;
  return true;
}

bool CalculatorEngine::Operator(Op op) {
  if (error_ || awaiting_memory_ || op == Op::kNone) return false;
  if (typing_ && !Apply()) return false;
  pending_ = op;
  return true;
}

bool CalculatorEngine::Equals() {
  if (error_ || awaiting_memory_) return false;
  if (typing_ && !Apply()) return false;
  pending_ = Op::kNone;
  return true;
}

bool CalculatorEngine::ChangeSign() {
  if (error_ || awaiting_memory_) return false;
  if (typing_) {
    negative_ = !negative_;
  } else {
    result_ = -result_;
  }
  return true;
}

bool CalculatorEngine::ClearEntry() {
  if (error_ || awaiting_memory_) return false;
  typing_ = false;
  BeginEntry();
  return true;
}

void CalculatorEngine::Clear() {
  typing_ = false;
  int_digits_.clear();
  frac_digits_.clear();
  point_ = negative_ = false;
  result_ = Decimal();
  pending_ = Op::kNone;
  error_ = false;
  show_decimals_ = false;
  awaiting_memory_ = false;
}

bool CalculatorEngine::MemoryKey() {
  if (error_ || awaiting_memory_) return false;
  awaiting_memory_ = true;
  return true;
}

bool CalculatorEngine::Memory(char which) {
  if (!awaiting_memory_) return false;
  awaiting_memory_ = false;
  switch (which) {
    case '+':
    case '-': {
      std::optional<Decimal> m =
          which == '+' ? memory_.CheckedAdd(Displayed()) : memory_.CheckedSub(Displayed());
      if (!m || !Fits(*m)) return false;
      memory_ = *m;
      return true;
    }
    case 'r':
    case 'R': {
      if (error_) return false;
      // Memory only ever holds sums of displayed values: four decimals at most,
      // within the display's integer digits.
      std::string text = memory_.Abs().ToFixed(kDecimalDigits);
      size_t dot = text.find('.');
      std::string whole = text.substr(0, dot);
      std::string frac = text.substr(dot + 1);
      while (!frac.empty() && frac.back() == '0') frac.pop_back();
      typing_ = false;
      BeginEntry();
      int_digits_ = whole == "0" ? "" : whole;
      frac_digits_ = frac;
      point_ = !frac.empty();
      if (point_) show_decimals_ = true;
      negative_ = memory_.IsNegative();
      return true;
    }
    case 'c':
    case 'C':
      memory_ = Decimal();
      return true;
    default:
      return false;
  }
}

Decimal CalculatorEngine::Displayed() const {
  if (error_) return Decimal();
  return typing_ ? EntryValue() : result_;
}

std::optional<Decimal> CalculatorEngine::Finish() {
  if (error_) return std::nullopt;
  awaiting_memory_ = false;
  if (!Equals()) return std::nullopt;
  return result_;
}

}  // namespace dodu::screen
