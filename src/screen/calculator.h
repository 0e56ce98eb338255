// The pop-up calculator (CALCULADORA): window 9, 14 rows x 26 columns, a keypad
// picture and a one-line display, over the arithmetic of CalculatorEngine.
//
// Keys: digits, "." or ",", + - * /, "=" or Enter, "I" (sign), Backspace (clear
// the entry), "C" (clear), "M" then +, -, R or C (memory), arrows (move the
// window by one cell, kept inside the screen; the position is remembered for
// the next opening), Esc or "X" (leave without a result), Ctrl Enter (leave
// with the result). Refusals sound an 800 Hz tone.
//
// The result is handed back only on Ctrl Enter, never when the calculation
// ended in an error (division by zero, overflow), and never when it does not
// fit the field it is meant for: then the tone sounds and the calculator stays
// open.
#ifndef DODU_SCREEN_CALCULATOR_H_
#define DODU_SCREEN_CALCULATOR_H_

#include <optional>
#include <string>

#include "core/decimal.h"
#include "screen/calculator_engine.h"
#include "screen/edit_value.h"
#include "screen/form.h"
#include "screen/toolkit.h"

namespace dodu::screen {

// The field a result is meant for.
struct CalculatorTarget {
  EditKind kind = EditKind::kNumber;
  std::string picture;  // the field's picture
  int width = 0;        // text fields: the field's width
  std::string text;     // text fields: what the field holds (the result is appended)
};

// Whether `v` can go into the target: a number field shows it through its
// picture (rounded to its decimals); a text field takes it formatted
// "@EZ 9999,999,999.99" after its own text, within its width.
bool CalculatorResultFits(const core::Decimal& v, const CalculatorTarget& target);
// The text a text field holds after the result was appended.
std::string AppendCalculatorResult(const core::Decimal& v, const CalculatorTarget& target);

class Calculator {
 public:
  static constexpr int kWindow = 9;
  static constexpr int kRows = 14;
  static constexpr int kCols = 26;
  static constexpr int kToneHz = 800;
  static constexpr int kToneMs = 200;

  // CALCULADORA(window, row, column): opens at the remembered position, or at
  // (row, column) the first time (row at most 11, column at most 48). Returns
  // the result on Ctrl Enter, nullopt on Esc / "X". ScriptExhausted passes
  // through on the virtual terminal. The screen under the window is put back.
  std::optional<core::Decimal> Run(Toolkit& tk, int row, int col,
                                   const CalculatorTarget* target = nullptr);

  int top() const { return top_; }
  int left() const { return left_; }
  // The memory register lasts from one opening to the next.
  const core::Decimal& memory() const { return memory_; }

 private:
  void Draw(Toolkit& tk, const CalculatorEngine& e);

  bool placed_ = false;
  int top_ = 0;
  int left_ = 0;
  core::Decimal memory_;
};

// A form hot key (Alt S in the entry screens) that opens the calculator over
// the active field and hands the confirmed result to it: a number field takes
// the value, a text field gets it appended.
HotKey CalculatorHotKey(Key key, Calculator& calculator, int row = 5, int col = 27);

}  // namespace dodu::screen

#endif  // DODU_SCREEN_CALCULATOR_H_
