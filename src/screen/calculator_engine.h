// The arithmetic of the pop-up calculator, apart from its window: a pocket
// calculator that chains operations left to right (12 + 3 * 2 = gives 30), with
// an entry of at most 10 integer and 4 decimal digits, one memory register and
// an error state. Pure logic over Decimal; the window, the keys that move it and
// the tone live in screen/calculator.h.
#ifndef DODU_SCREEN_CALCULATOR_ENGINE_H_
#define DODU_SCREEN_CALCULATOR_ENGINE_H_

#include <optional>
#include <string>

#include "core/decimal.h"

namespace dodu::screen {

class CalculatorEngine {
 public:
  static constexpr int kIntegerDigits = 10;
  static constexpr int kDecimalDigits = 4;

  enum class Op { kNone, kAdd, kSub, kMul, kDiv };

  // Each key of the keypad. Every one answers true when taken and false when
  // refused: the caller sounds the refusal tone. A refused key changes nothing,
  // except that an operation that overflows or divides by zero puts the engine
  // in the error state (and answers false).
  bool Digit(int digit);       // 0..9
  bool Point();                // "." or ","
  bool Operator(Op op);        // + - * /: applies the pending one, sets this one
  bool Equals();               // "=" or Enter
  bool ChangeSign();           // "I"
  bool ClearEntry();           // Backspace
  void Clear();                // "C": a new calculation; the memory stays
  bool MemoryKey();            // "M": the next key is a memory key
  // While a memory key is awaited: '+', '-', 'R', 'C'. Any other key leaves the
  // wait and is refused.
  bool Memory(char which);

  // The number on the display: the entry while one is being typed, otherwise the
  // last result.
  core::Decimal Displayed() const;
  // The display shows four decimals once a point was typed or a division made.
  bool ShowsDecimals() const { return show_decimals_; }
  bool HasError() const { return error_; }
  bool AwaitingMemoryKey() const { return awaiting_memory_; }
  bool MemoryInUse() const { return !memory_.IsZero(); }
  Op pending() const { return pending_; }
  const core::Decimal& memory() const { return memory_; }
  void set_memory(const core::Decimal& m) { memory_ = m; }

  // What Ctrl Enter hands back: the pending operation is completed first (as
  // "="); nullopt when that ends in the error state. Leaves the engine showing
  // the result.
  std::optional<core::Decimal> Finish();

 private:
  // Starts a fresh entry unless one is being typed.
  void BeginEntry();
  core::Decimal EntryValue() const;
  // result_ op entry into result_; false (and the error state) on overflow or
  // division by zero.
  bool Apply();
  // A value fits the display: at most kIntegerDigits before the point.
  static bool Fits(const core::Decimal& v);

  std::string int_digits_;   // typed digits before the point, no leading zeros
  std::string frac_digits_;  // typed digits after the point
  bool point_ = false;
  bool negative_ = false;
  bool typing_ = false;  // an entry is on the display

  core::Decimal result_;
  Op pending_ = Op::kNone;
  bool error_ = false;
  bool show_decimals_ = false;

  core::Decimal memory_;
  bool awaiting_memory_ = false;
};

}  // namespace dodu::screen

#endif  // DODU_SCREEN_CALCULATOR_ENGINE_H_
