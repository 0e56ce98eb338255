#include "screen/mens.h"

#include <algorithm>
#include <cstdlib>

#include "screen/dialog.h"
#include "screen/edit_buffer.h"

namespace dodu::screen {
namespace {

constexpr const char* kDefaultTitle = "DODU2020 - Vesk";

int Kind(int mode) { return mode % 10; }
int FrameOf(int mode) { return mode / 10; }

// The text cut into `lines` rows of equal width (the last may be shorter).
int RowWidth(const MensArgs& a) {
  int len = static_cast<int>(a.text.size());
  int lines = std::max(a.lines, 1);
  return (len + lines - 1) / lines;
}

bool IsNumber(const std::string& s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

Key WaitAnyKey(Toolkit& tk) {
  tk.DropPendingKeys();
  while (true) {
    Key k = tk.WaitKey();
    if (k.type != KeyType::kResize) return k;
  }
}

// The message window itself: window `args.window` redefined over the geometry,
// keeping its colours, opened and written.
void ShowWindow(Toolkit& tk, int mode, const MensArgs& args, const Toolkit::Rect& r) {
  const TextWindow* w = tk.window(args.window);
  Attr text = w ? w->text_attr : static_cast<Attr>(tk.colours().COR_TEL2);
  Attr frame = w ? w->frame_attr : static_cast<Attr>(tk.colours().COR_TEL1);
  Attr shadow = w ? w->shadow_attr : static_cast<Attr>(tk.colours().COR_TEL2);
  int type = Kind(mode) == 9 ? 2 : FrameOf(mode);
  if (type != 0 && type != 1 && type != 2 && type != 7) type = 0;
  tk.REDEFJAN(args.window, text, frame, shadow, r.top, r.left, r.bottom, r.right, type);
  tk.ABREJAN(args.window);
  if (Kind(mode) == 9) return;
  // Each row holds an equal share of the text; a blank column on the right.
  std::string flowed;
  int width = RowWidth(args);
  int inner = r.right - r.left + 1 - (type == 7 ? 1 : 0) - (type == 2 ? 2 : 0);
  for (size_t i = 0; i < args.text.size(); i += width) {
    std::string part = args.text.substr(i, width);
    part.resize(inner, ' ');
    flowed += part;
  }
  tk.ESCRJAN(args.window, flowed);
}

}  // namespace

Toolkit::Rect MensGeometry(int mode, const MensArgs& args, int extra_width) {
  int width = RowWidth(args) + 1 + extra_width;
  if (FrameOf(mode) == 7) width += 1;
  if (FrameOf(mode) == 2) width += 2;
  int lines = std::max(args.lines, 1) + (FrameOf(mode) == 2 ? 2 : 0);
  int left;
  if (args.column == "E" || args.column == "e") left = 2;
  else if (args.column == "C" || args.column == "c") left = (kScreenCols - width) / 2;
  else if (IsNumber(args.column)) left = std::atoi(args.column.c_str());
  else left = 70 - width;
  left = std::clamp(left, 0, std::max(kScreenCols - width, 0));
  int top = std::clamp(args.row, 0, kScreenRows - lines);
  return {top, left, top + lines - 1, std::min(left + width - 1, kScreenCols - 1)};
}

Result<MensResult> MENS(Toolkit& tk, int mode, const MensArgs& args) {
  MensResult result;
  const int kind = Kind(mode);
  if (kind == 0) {
    tk.SetStatusLine(args.text);
    return result;
  }
  if (kind == 9) {
    static const char* kTitles[] = {"", " dos Bens e Direitos", " das Dividas e Onus",
                                    " dos Bens da Atividade Rural", " das Dividas da Atividade Rural"};
    int f = std::clamp(FrameOf(mode), 1, 4);
    std::string title = "Item " + std::to_string(args.item) + kTitles[f];
    MensArgs a = args;
    a.text = title;
    a.column = "C";
    a.lines = 1;
    Toolkit::Rect r = MensGeometry(20 + kind, a, 2);
    ShowWindow(tk, mode, a, r);
    tk.Write(r.top + 1, r.left + 2, title, tk.window(a.window)->text_attr);
    result.key = WaitAnyKey(tk);
    tk.FECHAJAN(a.window);
    return result;
  }

  // Kind 4: room for the field after the text.
  int field_width = 0;
  std::optional<EditValue> original;
  if (kind == 4) {
    if (args.vars == nullptr) return Status::Invalid("MENS 4 without variables: " + args.variable);
    DODU_ASSIGN_OR_RETURN(EditValue v, args.vars->Get(args.variable));
    original = v;
    switch (KindOf(v)) {
      case EditKind::kText: field_width = static_cast<int>(std::get<std::string>(v).size()); break;
      case EditKind::kNumber:
        if (args.length > 0) {
          field_width = args.length;
        } else {
          DODU_ASSIGN_OR_RETURN(std::string shown, FieldDisplay(v, args.picture));
          field_width = static_cast<int>(shown.size());
        }
        break;
      case EditKind::kDate: field_width = 10; break;
      case EditKind::kLogical: field_width = 1; break;
    }
  }
  Toolkit::Rect r = MensGeometry(mode, args, kind == 4 ? field_width + 1 : 0);
  LDialog* dialog = nullptr;
  if (kind != 3) {
    Toolkit::Rect fp = r;
    if (FrameOf(mode) == 7) {
      fp.bottom = std::min(fp.bottom + 1, kScreenRows - 1);
      fp.right = std::min(fp.right + 2, kScreenCols - 1);
    }
    if (FrameOf(mode) == 1) fp = {std::max(r.top - 1, 0), std::max(r.left - 1, 0),
                                  std::min(r.bottom + 1, kScreenRows - 1), std::min(r.right + 1, kScreenCols - 1)};
    dialog = tk.LDLGSHOW(fp.top, fp.left, fp.bottom, fp.right, args.title.empty() ? kDefaultTitle : args.title);
    if (dialog != nullptr) tk.LSBDRAW({Toolkit::PartSpec(std::string())});
  }
  ShowWindow(tk, mode, args, r);
  auto finish = [&] {
    tk.FECHAJAN(args.window);
    if (dialog != nullptr) dialog->close();
  };
  switch (kind) {
    case 1:
      tk.Beep();
      result.key = WaitAnyKey(tk);
      finish();
      return result;
    case 2:
      tk.DropPendingKeys();
      while (true) {
        Key k = tk.WaitKey();
        if (k.type == KeyType::kEsc) {
          result.letter = " ";
          result.cancelled = true;
          break;
        }
        uint8_t up = k.upper_byte();
        if (up != 0 && args.letters.find(static_cast<char>(up)) != std::string::npos) {
          result.letter = std::string(1, static_cast<char>(up));
          break;
        }
      }
      finish();
      return result;
    case 3:
      return result;
    case 4: {
      const TextWindow* w = tk.window(args.window);
      int row = w->top + (w->type == 2 ? 1 : 0);
      int col = w->left + (w->type == 2 ? 1 : 0) + RowWidth(args) + 1;
      FormField field;
      field.row = row;
      field.col = col;
      field.name = args.variable;
      field.picture = args.picture;
      field.width = KindOf(*original) == EditKind::kText ? field_width : 0;
      if (args.validation) field.valid = args.validation;
      tk.DropPendingKeys();
      Form form(tk, *args.vars, {field});
      Result<FormResult> read = dialog != nullptr ? dialog->readmodal([&] { return form.Read(); }) : form.Read();
      if (!read.ok()) {
        finish();
        return read.status();
      }
      if (read->end == FormEnd::kEscaped) {
        // Esc empties the variable, a date becomes today; the caller is told.
        EditValue empty = EmptyValue(KindOf(*original), field_width);
        if (KindOf(*original) == EditKind::kDate) {
          platform::CivilTime t = tk.clock().Now();
          empty = core::Date::FromYmd(t.year, t.month, t.day).value_or(core::Date());
        }
        DODU_RETURN_IF_ERROR(args.vars->Set(args.variable, empty));
        result.cancelled = true;
      }
      result.key = read->key;
      Result<EditValue> now = args.vars->Get(args.variable);
      if (now.ok()) result.value = *now;
      finish();
      return result;
    }
    default:  // 5 and anything else: any key closes
      result.key = WaitAnyKey(tk);
      finish();
      return result;
  }
}

int ESC_OPCAO(Toolkit& tk, int window, int last_item, int column, int width, int row_offset,
              bool close_window, bool with_messages, const std::function<void()>& calculator) {
  const TextWindow* w = tk.window(window);
  if (w == nullptr || last_item < 1) return 0;
  const int inner_top = w->top + (w->type == 2 ? 1 : 0);
  const int inner_left = w->left + (w->type == 2 ? 1 : 0);
  const Attr normal = static_cast<Attr>(tk.colours().COR_TEL1);
  const Attr chosen = static_cast<Attr>(tk.colours().COR_ESCOL);
  auto row_of = [&](int item) { return inner_top + row_offset + item - 1; };
  int& pos = tk.POSVER;
  pos = std::clamp(pos, 1, last_item);
  int result = -1;
  while (result < 0) {
    for (int i = 1; i <= last_item; ++i) tk.Recolour(row_of(i), inner_left + column - 1, width, i == pos ? chosen : normal);
    if (with_messages && pos - 1 < static_cast<int>(tk.MENSMENU.size())) {
      MensArgs m;
      m.text = tk.MENSMENU[pos - 1];
      m.row = 1;
      m.column = "C";
      (void)MENS(tk, 3, m);
    }
    Key k = tk.WaitKey();
    switch (k.type) {
      case KeyType::kEnter: result = pos; break;
      case KeyType::kEsc: result = 0; break;
      case KeyType::kUp: pos = std::max(pos - 1, 1); break;
      case KeyType::kDown: pos = std::min(pos + 1, last_item); break;
      case KeyType::kHome: pos = 1; break;
      case KeyType::kEnd: pos = last_item; break;
      case KeyType::kMenu: result = 0; break;  // unwind for the menu choice
      case KeyType::kAlt:
        if (k.code == 'A' && calculator) calculator();
        break;
      case KeyType::kChar: {
        uint8_t up = k.upper_byte();
        size_t at = tk.OPCOES.find(static_cast<char>(up));
        if (up != 0 && at != std::string::npos && static_cast<int>(at) < last_item) {
          pos = static_cast<int>(at) + 1;
          result = pos;
        }
        break;
      }
      default: break;
    }
  }
  tk.FECHAJAN(10);
  if (close_window) tk.FECHAJAN(window);
  return result;
}

}  // namespace dodu::screen
