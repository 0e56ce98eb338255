// The old style's in-screen menu bar (row 0, colours CORMENU) with its
// pull-down lists, and the screen index line shown while a screen runs.
#include <algorithm>
#include <string>

#include "screen/colour.h"
#include "shell/declaration_menu_window.h"

namespace dodu::shell {

using screen::Attr;
using screen::Key;
using screen::KeyType;

namespace {

struct BarColours {
  Attr normal, selected;
};

BarColours Colours(screen::Toolkit& tk) {
  const std::vector<std::string> pairs = screen::SplitColourList(tk.colours().CORMENU);
  BarColours c{0x70, 0x1F};
  if (!pairs.empty()) c.normal = screen::ColourOr(pairs[0], c.normal);
  if (pairs.size() > 1) c.selected = screen::ColourOr(pairs[1], c.selected);
  return c;
}

char Accelerator(const std::string& caption) {
  const size_t amp = caption.find('&');
  if (amp == std::string::npos || amp + 1 >= caption.size()) return 0;
  const char c = caption[amp + 1];
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string Shown(const std::string& caption) {
  std::string s;
  for (char c : caption) {
    if (c != '&') s += c;
  }
  return s;
}

// The bar's columns: each caption after two blanks.
std::vector<int> Columns(const std::vector<ClassicMenu>& bar) {
  std::vector<int> cols;
  int col = 1;
  for (const auto& m : bar) {
    cols.push_back(col);
    col += static_cast<int>(Shown(m.caption).size()) + 2;
  }
  return cols;
}

void DrawBar(screen::Toolkit& tk, const std::vector<ClassicMenu>& bar, int sel) {
  const BarColours c = Colours(tk);
  tk.Fill(0, 0, 0, 79, ' ', c.normal);
  const std::vector<int> cols = Columns(bar);
  for (size_t i = 0; i < bar.size(); ++i) {
    tk.Write(0, cols[i], Shown(bar[i].caption), static_cast<int>(i) == sel ? c.selected : c.normal);
  }
  tk.Flush();
}

bool IsScreenKey(const Key& k) {
  switch (k.type) {
    case KeyType::kF:
    case KeyType::kAltF:
      return true;
    case KeyType::kAlt:
      return k.code == 'X' || k.code == 'Z' || k.code == 'T';
    default:
      return false;
  }
}

std::optional<int> ShortcutItem(const std::vector<ClassicMenu>& bar, const Key& k) {
  for (const auto& m : bar) {
    for (const auto& it : m.items) {
      if (it.shortcut && *it.shortcut == k) return it.id;
    }
  }
  return std::nullopt;
}

struct DropOutcome {
  int id = 0;
  int move = 0;  // -1 / +1 to the neighbouring list
};

DropOutcome RunList(screen::Toolkit& tk, const ClassicMenu& menu, int left) {
  const BarColours c = Colours(tk);
  const int n = static_cast<int>(menu.items.size());
  int width = 0;
  for (const auto& it : menu.items) {
    int w = static_cast<int>(Shown(it.caption).size());
    if (it.shortcut) w += 2 + static_cast<int>(it.shortcut->Name().size());
    width = std::max(width, w);
  }
  int lines = 0;
  for (const auto& it : menu.items) lines += it.line_before ? 2 : 1;
  const int top = 1, bottom = top + lines + 1;
  left = std::min(left, 79 - width - 3);
  const int right = left + width + 3;
  const screen::SavedRegion under = tk.Save(top, left, bottom, right);
  int sel = 0;
  DropOutcome out;
  while (true) {
    tk.Fill(top, left, bottom, right, ' ', c.normal);
    tk.Frame(top, left, bottom, right, c.normal);
    int row = top + 1;
    for (int i = 0; i < n; ++i) {
      const ClassicItem& it = menu.items[i];
      if (it.line_before) {
        tk.Fill(row, left + 1, row, right - 1, 0xC4, c.normal);
        ++row;
      }
      std::string text = Shown(it.caption);
      if (it.shortcut) {
        const std::string sc = it.shortcut->Name();
        text += std::string(std::max<size_t>(2, width - text.size() - sc.size()), ' ') + sc;
      }
      text.resize(static_cast<size_t>(width), ' ');
      tk.Write(row, left + 2, text, i == sel ? c.selected : c.normal);
      ++row;
    }
    tk.SetStatusLine(menu.items[sel].message);
    tk.Flush();
    const Key k = tk.WaitKey();
    if (k.type == KeyType::kUp) {
      sel = (sel + n - 1) % n;
    } else if (k.type == KeyType::kDown) {
      sel = (sel + 1) % n;
    } else if (k.type == KeyType::kEnter) {
      out.id = menu.items[sel].id;
      break;
    } else if (k.type == KeyType::kEsc) {
      break;
    } else if (k.type == KeyType::kLeft || k.type == KeyType::kRight) {
      out.move = k.type == KeyType::kLeft ? -1 : 1;
      break;
    } else if (k.is_char()) {
      const uint8_t letter = k.upper_byte();
      auto hit = std::find_if(menu.items.begin(), menu.items.end(), [&](const ClassicItem& it) {
        return static_cast<uint8_t>(Accelerator(it.caption)) == letter;
      });
      if (hit != menu.items.end()) {
        out.id = hit->id;
        break;
      }
      tk.Beep();
    }
  }
  tk.Restore(under);
  tk.SetStatusLine("");
  tk.Flush();
  return out;
}

}  // namespace

ClassicChoice RunClassicMenu(screen::Toolkit& tk, const std::vector<ClassicMenu>& bar, int first) {
  ClassicChoice choice;
  if (bar.empty()) return choice;
  const int n = static_cast<int>(bar.size());
  int sel = std::clamp(first, 0, n - 1);
  const std::vector<int> cols = Columns(bar);
  bool open = false;
  while (true) {
    DrawBar(tk, bar, sel);
    choice.bar_index = sel;
    if (open) {
      const DropOutcome d = RunList(tk, bar[sel], std::max(cols[sel] - 1, 0));
      if (d.id != 0) {
        choice.id = d.id;
        return choice;
      }
      if (d.move != 0) {
        sel = (sel + d.move + n) % n;
        continue;
      }
      open = false;
      continue;
    }
    const Key k = tk.WaitKey();
    if (k.type == KeyType::kLeft) {
      sel = (sel + n - 1) % n;
    } else if (k.type == KeyType::kRight) {
      sel = (sel + 1) % n;
    } else if (k.type == KeyType::kEnter || k.type == KeyType::kDown) {
      open = true;
    } else if (k == Key::Alt('T')) {
      choice.key = k;
      return choice;
    } else if (auto id = ShortcutItem(bar, k)) {
      choice.id = *id;
      return choice;
    } else if (IsScreenKey(k)) {
      choice.key = k;
      return choice;
    } else if (k.is_char()) {
      const uint8_t letter = k.upper_byte();
      for (int i = 0; i < n; ++i) {
        if (static_cast<uint8_t>(Accelerator(bar[i].caption)) == letter) {
          sel = i;
          open = true;
          break;
        }
      }
    }
  }
}

void MOS_IND(screen::Toolkit& tk) {
  const BarColours c = Colours(tk);
  tk.Fill(0, 0, 0, 79, ' ', c.normal);
  tk.Write(0, 0, kScreenIndexLine, c.normal);
  tk.Flush();
}

}  // namespace dodu::shell
