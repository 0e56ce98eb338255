#include "screen/calculator.h"

#include <algorithm>

#include "core/picture.h"
#include "screen/edit_buffer.h"

namespace dodu::screen {

using core::Decimal;

namespace {

constexpr int kMaxTop = kScreenRows - Calculator::kRows;   // 11
constexpr int kMaxLeft = kScreenCols - Calculator::kCols;  // 54
// Where a first opening may be asked to go.
constexpr int kMaxStartLeft = 48;

constexpr const char* kIntegerMask = "@Ez 99,999,999,999";
constexpr const char* kDecimalMask = "@Ez 99,999,999,999.9999";
constexpr const char* kTextAppendMask = "@EZ 9999,999,999.99";
constexpr int kDisplayCol = 4;  // the display's first column inside the window
constexpr int kDisplayWidth = 19;

// The keypad picture, one text per key row (rows 4, 6, 8, 10, 12).
constexpr const char* kKeypad[] = {
    " Mr  Mc  M-  M+   ^Enter",
    "  7   8   9   *   ESC",
    "  4   5   6   +   <-",
    "  1   2   3   -   (C)lear",
    "  0   .   =   /   I +/-",
};

std::string Trim(std::string s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  s.erase(0, b);
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

}  // namespace

bool CalculatorResultFits(const Decimal& v, const CalculatorTarget& target) {
  if (target.kind == EditKind::kNumber) return FieldDisplay(EditValue(v), target.picture).ok();
  if (target.kind != EditKind::kText) return false;
  std::string appended = AppendCalculatorResult(v, target);
  int width = target.width > 0 ? target.width : static_cast<int>(target.text.size());
  return static_cast<int>(Trim(appended).size()) <= width &&
         core::Transform(v, kTextAppendMask).find('*') == std::string::npos;
}

std::string AppendCalculatorResult(const Decimal& v, const CalculatorTarget& target) {
  std::string text = target.text;
  while (!text.empty() && text.back() == ' ') text.pop_back();
  std::string number = Trim(core::Transform(v, kTextAppendMask));
  if (!text.empty()) text += ' ';
  text += number;
  int width = target.width > 0 ? target.width : static_cast<int>(target.text.size());
  if (static_cast<int>(text.size()) < width) text.resize(width, ' ');
  return text;
}

void Calculator::Draw(Toolkit& tk, const CalculatorEngine& e) {
  const ColourSettings& c = tk.colours();
  Attr text = static_cast<Attr>(c.COR_TEL1);
  Attr frame = static_cast<Attr>(c.COR_TEL2);
  Attr display = static_cast<Attr>(c.COR_PEGA);
  tk.Fill(top_, left_, top_ + kRows - 1, left_ + kCols - 1, ' ', text);
  tk.Frame(top_, left_, top_ + kRows - 1, left_ + kCols - 1, frame);
  for (int i = 0; i < 5; ++i) tk.Write(top_ + 4 + 2 * i, left_ + 1, kKeypad[i], text);

  std::string shown;
  if (e.HasError()) {
    shown = "ERRO";
  } else {
    shown = core::Transform(e.Displayed(), e.ShowsDecimals() ? kDecimalMask : kIntegerMask);
  }
  if (static_cast<int>(shown.size()) < kDisplayWidth) {
    shown.insert(0, kDisplayWidth - shown.size(), ' ');
  }
  tk.Write(top_ + 2, left_ + kDisplayCol, shown, display);
  tk.Write(top_ + 2, left_ + 1, e.MemoryInUse() ? "M" : " ", text);
  std::string op = " ";
  if (e.AwaitingMemoryKey()) {
    op = "M";
  } else {
    switch (e.pending()) {
      case CalculatorEngine::Op::kAdd: op = "+"; break;
      case CalculatorEngine::Op::kSub: op = "-"; break;
      case CalculatorEngine::Op::kMul: op = "*"; break;
      case CalculatorEngine::Op::kDiv: op = "\xF6"; break;  // the division sign, cp850
      case CalculatorEngine::Op::kNone: break;
    }
  }
  tk.Write(top_ + 2, left_ + kCols - 2, op, text);
  tk.ShowCursor(false);
  tk.Flush();
}

std::optional<Decimal> Calculator::Run(Toolkit& tk, int row, int col,
                                       const CalculatorTarget* target) {
  if (!placed_) {
    top_ = std::clamp(row, 0, kMaxTop);
    left_ = std::clamp(col, 0, kMaxStartLeft);
    placed_ = true;
  }
  CalculatorEngine e;
  e.set_memory(memory_);
  SavedRegion under = tk.Save(top_, left_, top_ + kRows - 1, left_ + kCols - 1);
  Draw(tk, e);

  auto tone = [&] { tk.Tone(kToneHz, kToneMs); };
  auto move = [&](int dr, int dc) {
    int t = std::clamp(top_ + dr, 0, kMaxTop);
    int l = std::clamp(left_ + dc, 0, kMaxLeft);
    if (t == top_ && l == left_) return;
    tk.Restore(under);
    top_ = t;
    left_ = l;
    under = tk.Save(top_, left_, top_ + kRows - 1, left_ + kCols - 1);
  };
  std::optional<Decimal> result;
  bool leave = false;
  while (!leave) {
    Key key = tk.RawKey();
    bool ok = true;
    if (key.is_char()) {
      char ch = static_cast<char>(key.upper_byte() ? key.upper_byte() : key.byte());
      if (e.AwaitingMemoryKey()) {
        ok = e.Memory(ch);
      } else if (ch >= '0' && ch <= '9') {
        ok = e.Digit(ch - '0');
      } else {
        switch (ch) {
          case '.': case ',': ok = e.Point(); break;
          case '+': ok = e.Operator(CalculatorEngine::Op::kAdd); break;
          case '-': ok = e.Operator(CalculatorEngine::Op::kSub); break;
          case '*': ok = e.Operator(CalculatorEngine::Op::kMul); break;
          case '/': ok = e.Operator(CalculatorEngine::Op::kDiv); break;
          case '=': ok = e.Equals(); break;
          case 'I': ok = e.ChangeSign(); break;
          case 'C': e.Clear(); break;
          case 'M': ok = e.MemoryKey(); break;
          case 'X': leave = true; break;
          default: ok = false; break;
        }
      }
    } else {
      switch (key.type) {
        case KeyType::kEnter: ok = e.Equals(); break;
        case KeyType::kBackspace: ok = e.ClearEntry(); break;
        case KeyType::kUp: move(-1, 0); break;
        case KeyType::kDown: move(+1, 0); break;
        case KeyType::kLeft: move(0, -1); break;
        case KeyType::kRight: move(0, +1); break;
        case KeyType::kEsc: leave = true; break;
        case KeyType::kCtrlEnter: {
          std::optional<Decimal> r = e.Finish();
          if (!r || (target && !CalculatorResultFits(*r, *target))) {
            ok = false;
          } else {
            result = r;
            leave = true;
          }
          break;
        }
        default: ok = false; break;
      }
    }
    if (!ok) tone();
    memory_ = e.memory();
    if (!leave) Draw(tk, e);
  }
  tk.Restore(under);
  tk.Flush();
  return result;
}

HotKey CalculatorHotKey(Key key, Calculator& calculator, int row, int col) {
  return HotKey{key, [&calculator, row, col](Toolkit& tk, VariableStore&, ActiveField& field) {
    Result<EditValue> now = field.value();
    CalculatorTarget target;
    target.kind = field.kind();
    target.picture = field.picture();
    target.width = field.width();
    if (field.kind() == EditKind::kText && now.ok()) target.text = std::get<std::string>(*now);
    if (field.kind() != EditKind::kNumber && field.kind() != EditKind::kText) {
      // Dates and logicals take no number: the calculator still works, but
      // hands nothing over.
      (void)calculator.Run(tk, row, col);
      return HotKeyAction::kContinue;
    }
    std::optional<Decimal> r = calculator.Run(tk, row, col, &target);
    if (!r) return HotKeyAction::kContinue;
    if (field.kind() == EditKind::kNumber) {
      (void)field.set_value(EditValue(*r));
    } else {
      (void)field.set_value(EditValue(AppendCalculatorResult(*r, target)));
    }
    return HotKeyAction::kContinue;
  }};
}

}  // namespace dodu::screen
