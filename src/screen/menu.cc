#include "screen/menu.h"

#include <algorithm>

#include "screen/colour.h"
#include "screen/dialog.h"
#include "screen/layout.h"
#include "screen/toolkit.h"

namespace dodu::screen {

// ---------------------------------------------------------------- items

char LMenuItem::accelerator() const {
  size_t amp = cPrompt.find('&');
  unsigned char c = 0;
  if (amp != std::string::npos && amp + 1 < cPrompt.size()) c = cPrompt[amp + 1];
  else if (!cPrompt.empty()) c = cPrompt[0];
  return static_cast<char>(Key::Char(c).upper_byte());
}

std::string LMenuItem::shown() const {
  std::string s;
  for (char c : cPrompt) {
    if (c != '&') s += c;
  }
  return s;
}

bool LMenuItem::action() {
  if (submenu || !enabled_ || !bAction) return false;
  bAction();
  return true;
}

// ---------------------------------------------------------------- building

std::vector<LMenuItem>& LMenu::current() {
  std::vector<LMenuItem>* v = &items_;
  for (size_t i : path_) v = &(*v)[i].items;
  return *v;
}

LMenu& LMenu::subMenu(std::string caption) {
  LMenuItem item;
  item.nSequence = ++nCount;
  item.cPrompt = std::move(caption);
  item.submenu = true;
  std::vector<LMenuItem>& v = current();
  v.push_back(std::move(item));
  path_.push_back(v.size() - 1);
  last_id_ = nCount;
  return *this;
}

LMenu& LMenu::menuItem(std::string caption, LMenuItem::Action action, bool enabled) {
  LMenuItem item;
  item.nSequence = ++nCount;
  item.cPrompt = std::move(caption);
  item.bAction = std::move(action);
  if (!enabled) item.disable();
  current().push_back(std::move(item));
  last_id_ = nCount;
  return *this;
}

LMenu& LMenu::separator() {
  std::vector<LMenuItem>& v = current();
  if (!v.empty()) v.back().lSeparator = true;
  return *this;
}

LMenu& LMenu::endMenu() {
  if (!path_.empty()) path_.pop_back();
  return *this;
}

LMenu& LMenu::create() {
  path_.clear();
  oParent->tk_.RefreshMenuBar();
  return *this;
}

namespace {
LMenuItem* FindIn(std::vector<LMenuItem>& items, int id) {
  for (LMenuItem& it : items) {
    if (it.nSequence == id) return &it;
    if (LMenuItem* sub = FindIn(it.items, id)) return sub;
  }
  return nullptr;
}
}  // namespace

LMenuItem* LMenu::find(int id) { return id == 0 ? nullptr : FindIn(items_, id); }

bool LMenu::event(int id) {
  LMenuItem* item = find(id);
  return item != nullptr && item->action();
}

LMenu& LDialog::newMenu() {
  menu_ = std::make_unique<LMenu>(*this);
  return *menu_;
}

// ---------------------------------------------------------------- running the bar

LMenu* Toolkit::current_menu() {
  for (auto it = dialogs_.rbegin(); it != dialogs_.rend(); ++it) {
    if (LMenu* m = (*it)->menu()) return m;
  }
  return nullptr;
}

void Toolkit::RefreshMenuBar(int highlighted, bool active) {
  MenuBarView view;
  if (LMenu* m = current_menu()) {
    for (const LMenuItem& it : m->aItem()) view.captions.push_back(it.cPrompt);
  }
  view.highlighted = highlighted;
  view.active = active;
  term_.SetMenuBar(view);
}

Key Toolkit::RawKey() {
  while (true) {
    int64_t now = clock().MonotonicMillis();
    if (now >= next_tick_ms_) TimerTick();
    Flush();
    int wait = static_cast<int>(std::max<int64_t>(next_tick_ms_ - clock().MonotonicMillis(), 1));
    if (std::optional<Key> k = term_.ReadKey(wait)) return *k;
  }
}

Toolkit::DropResult Toolkit::RunDropdown(std::vector<LMenuItem>& items, int top, int left, bool nested) {
  DropResult result;
  if (items.empty()) return result;
  int width = 0;
  int height = 0;
  std::vector<int> item_row;
  for (const LMenuItem& it : items) {
    width = std::max<int>(width, static_cast<int>(it.shown().size()) + (it.submenu ? 2 : 0));
    item_row.push_back(top + 1 + height);
    height += it.lSeparator ? 2 : 1;
  }
  if (items.back().lSeparator) --height;
  int right = left + width + 3;
  if (right >= kScreenCols) {
    left -= right - (kScreenCols - 1);
    right = kScreenCols - 1;
  }
  int bottom = top + height + 1;
  if (bottom >= kScreenRows) {
    int shift = bottom - (kScreenRows - 1);
    top -= shift;
    bottom -= shift;
    for (int& r : item_row) r -= shift;
  }
  const Attr text = ColourOr(colours_.COR_1_CLI, 0x1E);
  const Attr chosen = ColourOr(colours_.COR_ESC_CL, 0xC7);
  const Attr frame = ColourOr(colours_.COR_2_CLI, 0x1F);
  const Attr disabled = MakeAttr(8, (text >> 4) & 15);
  SavedRegion under = Save(top, left, bottom, right);
  int sel = 0;
  auto draw = [&] {
    Fill(top, left, bottom, right, ' ', text);
    Frame(top, left, bottom, right, frame);
    for (size_t i = 0; i < items.size(); ++i) {
      const LMenuItem& it = items[i];
      Attr a = static_cast<int>(i) == sel ? chosen : it.lEnable() ? text : disabled;
      std::string label = " " + it.shown();
      label.resize(width + 2, ' ');
      if (it.submenu) label[width + 1] = 0x10;  // a right-pointing mark
      Write(item_row[i], left + 1, label, a);
      if (it.lSeparator && i + 1 < items.size()) {
        Put(item_row[i] + 1, left, Cell{0xC3, frame});
        for (int c = left + 1; c < right; ++c) Put(item_row[i] + 1, c, Cell{0xC4, frame});
        Put(item_row[i] + 1, right, Cell{0xB4, frame});
      }
    }
  };
  auto choose = [&](int i) -> bool {  // true when the dropdown ends
    LMenuItem& it = items[i];
    if (!it.lEnable()) {
      Beep();
      return false;
    }
    if (!it.submenu) {
      result.id = it.nSequence;
      return true;
    }
    DropResult inner = RunDropdown(it.items, item_row[i], right - 1, true);
    draw();
    if (inner.id > 0 || inner.leave || inner.bar_click >= 0) {
      result = inner;
      return true;
    }
    if (inner.move > 0 && !nested) {  // Right inside a nested one goes on to the next bar item
      result.move = 1;
      return true;
    }
    return false;
  };
  const int n = static_cast<int>(items.size());
  bool done = false;
  while (!done) {
    draw();
    Key k = RawKey();
    switch (k.type) {
      case KeyType::kUp: sel = (sel + n - 1) % n; break;
      case KeyType::kDown: sel = (sel + 1) % n; break;
      case KeyType::kHome: sel = 0; break;
      case KeyType::kEnd: sel = n - 1; break;
      case KeyType::kEnter: done = choose(sel); break;
      case KeyType::kEsc: done = true; break;
      case KeyType::kLeft:
        if (!nested) result.move = -1;
        done = true;
        break;
      case KeyType::kRight:
        if (items[sel].submenu) {
          done = choose(sel);
        } else {
          result.move = 1;
          done = true;
        }
        break;
      case KeyType::kF:
      case KeyType::kCtrlF:
        if (k == menu_key_ || k == Key::F(10)) {
          result.leave = true;
          done = true;
        }
        break;
      case KeyType::kClick:
      case KeyType::kDoubleClick: {
        if (k.row == Key::kMenuBarRow) {
          MenuBarView view;
          if (LMenu* m = current_menu()) {
            for (const LMenuItem& it : m->aItem()) view.captions.push_back(it.cPrompt);
          }
          result.bar_click = MenuBarHit(view, k.col);
          if (result.bar_click < 0) result.leave = true;
          done = true;
          break;
        }
        bool hit = false;
        for (int i = 0; i < n; ++i) {
          if (k.row == item_row[i] && k.col > left && k.col < right) {
            sel = i;
            hit = true;
            done = choose(i);
          }
        }
        if (!hit) {
          result.leave = true;
          done = true;
        }
        break;
      }
      case KeyType::kChar:
      case KeyType::kAlt: {
        uint8_t letter = k.type == KeyType::kAlt ? static_cast<uint8_t>(k.code) : k.upper_byte();
        for (int i = 0; i < n; ++i) {
          if (static_cast<uint8_t>(items[i].accelerator()) == letter) {
            sel = i;
            draw();
            done = choose(i);
            break;
          }
        }
        break;
      }
      default: break;
    }
  }
  Restore(under);
  return result;
}

int Toolkit::RunMenuBar(std::optional<Key> opening_key) {
  LMenu* menu = current_menu();
  if (menu == nullptr || menu->aItem().empty()) return 0;
  in_menu_ = true;
  struct Reset {
    bool& f;
    ~Reset() { f = false; }
  } reset{in_menu_};
  std::vector<LMenuItem>& top = menu->aItem();
  const int n = static_cast<int>(top.size());
  MenuBarView view;
  for (const LMenuItem& it : top) view.captions.push_back(it.cPrompt);
  const std::vector<int> columns = MenuBarColumns(view);
  const int drop_top = ComputeLayout(term_.rows(), term_.cols()).menu_only_while_active ? 1 : 0;
  int sel = 0;
  bool open = false;
  if (opening_key && opening_key->type == KeyType::kClick) {
    sel = MenuBarHit(view, opening_key->col);
    if (sel < 0) return 0;
    open = true;
  }
  int result = 0;
  while (true) {
    RefreshMenuBar(sel, true);
    if (open) {
      LMenuItem& item = top[sel];
      if (!item.submenu) {
        if (item.lEnable()) {
          result = item.nSequence;
          break;
        }
        Beep();
        open = false;
        continue;
      }
      DropResult r = RunDropdown(item.items, drop_top, std::max(columns[sel] - 1, 0), false);
      if (r.id > 0) {
        result = r.id;
        break;
      }
      if (r.leave) break;
      if (r.bar_click >= 0) {
        sel = r.bar_click;
      } else if (r.move != 0) {
        sel = (sel + r.move + n) % n;
      } else {
        open = false;
      }
      continue;
    }
    Key k = RawKey();
    if (k.type == KeyType::kLeft) {
      sel = (sel + n - 1) % n;
    } else if (k.type == KeyType::kRight) {
      sel = (sel + 1) % n;
    } else if (k.type == KeyType::kEnter || k.type == KeyType::kDown) {
      open = true;
    } else if (k.type == KeyType::kEsc || k == menu_key_ || k == Key::F(10)) {
      break;
    } else if (k.type == KeyType::kClick || k.type == KeyType::kDoubleClick) {
      if (k.row != Key::kMenuBarRow) break;
      int hit = MenuBarHit(view, k.col);
      if (hit < 0) break;
      sel = hit;
      open = true;
    } else if (k.is_char() || k.type == KeyType::kAlt) {
      uint8_t letter = k.type == KeyType::kAlt ? static_cast<uint8_t>(k.code) : k.upper_byte();
      for (int i = 0; i < n; ++i) {
        if (static_cast<uint8_t>(top[i].accelerator()) == letter) {
          sel = i;
          open = true;
          break;
        }
      }
    }
  }
  RefreshMenuBar(-1, false);
  return result;
}

}  // namespace dodu::screen
