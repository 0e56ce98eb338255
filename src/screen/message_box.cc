#include "screen/message_box.h"

#include <algorithm>

#include "screen/colour.h"

namespace dodu::screen {
namespace {

constexpr int kMaxLines = 16;
constexpr int kButtonMin = 10;

std::string Shown(const std::string& caption) {
  std::string s;
  for (char c : caption) {
    if (c != '&') s += c;
  }
  return s;
}

uint8_t Accelerator(const std::string& caption) {
  size_t amp = caption.find('&');
  uint8_t c = 0;
  if (amp != std::string::npos && amp + 1 < caption.size()) c = static_cast<uint8_t>(caption[amp + 1]);
  else if (!caption.empty()) c = static_cast<uint8_t>(caption[0]);
  return Key::Char(c).upper_byte();
}

int ButtonWidth(const std::string& b) {
  return std::max<int>(kButtonMin, static_cast<int>(Shown(b).size()) + 2);
}

// Splits the buttons into rows no wider than `width`.
std::vector<std::vector<int>> ButtonRows(const std::vector<std::string>& buttons, int width) {
  std::vector<std::vector<int>> rows(1);
  int used = 0;
  for (int i = 0; i < static_cast<int>(buttons.size()); ++i) {
    int w = ButtonWidth(buttons[i]);
    if (!rows.back().empty() && used + 1 + w > width) {
      rows.emplace_back();
      used = 0;
    }
    used += (rows.back().empty() ? 0 : 1) + w;
    rows.back().push_back(i);
  }
  return rows;
}

int ButtonRowWidth(const std::vector<std::string>& buttons) {
  int w = 0;
  for (const std::string& b : buttons) w += ButtonWidth(b) + (w > 0 ? 1 : 0);
  return w;
}

Attr Inverse(Attr a) { return MakeAttr(a >> 4, a & 15); }

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> out(1);
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r') continue;
    if (c == '\n') {
      out.emplace_back();
      continue;
    }
    out.back() += c;
  }
  return out;
}

}  // namespace

AlertGeometry AlertBoxGeometry(const std::vector<std::string>& lines,
                               const std::vector<std::string>& buttons, std::string_view title) {
  int content = ButtonRowWidth(buttons);
  for (const std::string& l : lines) content = std::max<int>(content, static_cast<int>(l.size()));
  content = std::max<int>(content, static_cast<int>(title.size()));
  int width = std::min(content + 3, kScreenCols - 4);
  int n = std::min<int>(static_cast<int>(lines.size()), kMaxLines);
  int button_rows = static_cast<int>(ButtonRows(buttons, width - 3).size());
  int height = n + 2 + button_rows;
  AlertGeometry g;
  g.top = (kScreenRows - height) / 2;
  g.left = (kScreenCols - width) / 2;
  g.bottom = g.top + height - 1;
  g.right = g.left + width - 1;
  return g;
}

int MSGALERT(Toolkit& tk, const std::vector<std::string>& lines, const std::vector<std::string>& buttons,
             Attr colour, std::string_view title, bool exit_on_esc) {
  Toolkit::BindingsSuspended suspended(tk);
  AlertGeometry g = AlertBoxGeometry(lines, buttons, title);
  const int inner = g.right - g.left - 2;
  const int n = std::min<int>(static_cast<int>(lines.size()), kMaxLines);
  const std::vector<std::vector<int>> rows = ButtonRows(buttons, inner);
  SavedRegion under = tk.Save(g.top, g.left, g.bottom, g.right);
  // Where each button is, for drawing and for clicks.
  struct Place {
    int row, col, width;
  };
  std::vector<Place> places(buttons.size());
  for (size_t r = 0; r < rows.size(); ++r) {
    int w = 0;
    for (int i : rows[r]) w += ButtonWidth(buttons[i]) + (w > 0 ? 1 : 0);
    int col = g.left + 1 + (g.right - g.left - 1 - w) / 2;
    for (int i : rows[r]) {
      places[i] = {g.top + 1 + n + static_cast<int>(r), col, ButtonWidth(buttons[i])};
      col += places[i].width + 1;
    }
  }
  int sel = 0;
  auto draw = [&] {
    tk.Fill(g.top, g.left, g.bottom, g.right, ' ', colour);
    tk.Frame(g.top, g.left, g.bottom, g.right, colour, title);
    for (int i = 0; i < n; ++i) tk.Write(g.top + 1 + i, g.left + 2, lines[i].substr(0, inner), colour);
    for (size_t i = 0; i < buttons.size(); ++i) {
      std::string t = Shown(buttons[i]);
      int pad = places[i].width - static_cast<int>(t.size());
      std::string cell = std::string(pad / 2, ' ') + t + std::string(pad - pad / 2, ' ');
      tk.Write(places[i].row, places[i].col, cell, static_cast<int>(i) == sel ? Inverse(colour) : colour);
    }
  };
  const int count = static_cast<int>(buttons.size());
  int result = -1;
  tk.DropPendingKeys();
  while (result < 0) {
    draw();
    Key k = tk.RawKey();
    switch (k.type) {
      case KeyType::kLeft:
      case KeyType::kShiftTab:
      case KeyType::kUp:
        sel = (sel + count - 1) % count;
        break;
      case KeyType::kRight:
      case KeyType::kTab:
      case KeyType::kDown:
        sel = (sel + 1) % count;
        break;
      case KeyType::kEnter:
        result = sel + 1;
        break;
      case KeyType::kEsc:
        if (exit_on_esc) result = 0;
        break;
      case KeyType::kClick:
      case KeyType::kDoubleClick:
        for (int i = 0; i < count; ++i) {
          if (k.row == places[i].row && k.col >= places[i].col && k.col < places[i].col + places[i].width) {
            result = i + 1;
          }
        }
        break;
      case KeyType::kChar:
      case KeyType::kAlt: {
        uint8_t letter = k.type == KeyType::kAlt ? static_cast<uint8_t>(k.code) : k.upper_byte();
        for (int i = 0; i < count; ++i) {
          if (Accelerator(buttons[i]) == letter) {
            result = i + 1;
            break;
          }
        }
        break;
      }
      default:
        break;
    }
  }
  tk.Restore(under);
  return result;
}

std::string AVISOSN(Toolkit& tk, const std::vector<std::string>& given, int style,
                    const std::vector<std::string>& choices, std::string_view title) {
  std::vector<std::string> lines;
  for (const std::string& l : given) {
    for (std::string& part : SplitLines(l)) lines.push_back(std::move(part));
  }
  std::string shown_title = !title.empty() ? std::string(title) : style == 8 ? "ERRO" : "Aviso";
  const std::string kNao = "&N\xC6o";
  std::vector<std::string> buttons;
  std::vector<std::string> answers;  // per button
  std::string on_esc;
  Attr colour = ColourOr(tk.colours().COR_ENCH_C, 0x1F);
  const Attr native = ColourOr("N/W", 0x70);
  switch (style) {
    case 1: buttons = {"OK"}; answers = {"N"}; on_esc = "N"; colour = native; break;
    case 2: buttons = {"&Sim", kNao}; answers = {"S", "N"}; on_esc = "N"; colour = native; break;
    case 3:
      buttons = {"&Sim", kNao, "&Cancelar"};
      answers = {"S", "N", "I"};
      on_esc = "I";
      colour = native;
      break;
    case 4: buttons = {"&Sim", kNao, "&Fim"}; answers = {"S", "N", "F"}; on_esc = "N"; break;
    case 5: buttons = {"1", "2", "3"}; answers = {"1", "2", "3"}; on_esc = "0"; break;
    case 6:
      buttons = choices.empty() ? std::vector<std::string>{"OK"} : choices;
      for (size_t i = 0; i < buttons.size(); ++i) answers.push_back(std::to_string(i + 1));
      on_esc = "0";
      break;
    case 7:
      for (int i = 1; i <= 6; ++i) {
        buttons.push_back(std::to_string(i));
        answers.push_back(std::to_string(i));
      }
      on_esc = "0";
      break;
    default:  // 0, 8 and anything else: OK only
      buttons = {"OK"};
      answers = {""};
      on_esc = "";
      colour = native;
      break;
  }
  int pressed = MSGALERT(tk, lines, buttons, colour, shown_title, true);
  std::string answer = pressed == 0 ? on_esc : answers[pressed - 1];
  BoxRecord rec;
  rec.style = style;
  rec.title = shown_title;
  rec.lines = lines;
  for (const std::string& b : buttons) rec.buttons.push_back(Shown(b));
  rec.answer = answer;
  tk.terminal().RecordBox(rec);
  return answer;
}

std::string AVISOSN(Toolkit& tk, std::string_view text, int style, const std::vector<std::string>& choices,
                    std::string_view title) {
  return AVISOSN(tk, std::vector<std::string>{std::string(text)}, style, choices, title);
}

void ToolkitDiagnostic(Toolkit& tk, const std::vector<std::string>& lines) {
  AVISOSN(tk, lines, 0, {}, "Aviso");
}

}  // namespace dodu::screen
