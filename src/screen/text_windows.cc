// The numbered text windows. A window number is reused, never nested: opening
// it again first puts back what its previous opening covered. What is saved is
// exactly the footprint (rectangle, frame and shadow, clipped to the screen),
// the same rectangle drawing can touch, so closing restores every byte.
#include <algorithm>

#include "screen/colour.h"
#include "screen/toolkit.h"

namespace dodu::screen {
namespace {

constexpr char kTextColour = 0x01, kFrameColour = 0x02, kShadowColour = 0x03, kRepeat = 0x04;
constexpr int kMoveBack = 129;  // direction code for up / left

struct Inner {
  int top, left, bottom, right;
  int width() const { return right - left + 1; }
};

Inner InnerOf(const TextWindow& w) {
  if (w.type == 2) return {w.top + 1, w.left + 1, w.bottom - 1, w.right - 1};
  return {w.top, w.left, w.bottom, w.right};
}

// One cell of text to place: a character and the colour slot in force.
struct Glyph {
  uint8_t ch;
  int slot;  // 1 text, 2 frame, 3 shadow
  bool newline = false;
};

// Expands the window text codes: colour switches and "\x04" n c repeats.
std::vector<Glyph> Expand(std::string_view text) {
  std::vector<Glyph> out;
  int slot = 1;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == kTextColour) slot = 1;
    else if (c == kFrameColour) slot = 2;
    else if (c == kShadowColour) slot = 3;
    else if (c == kRepeat) {
      if (i + 2 >= text.size()) break;  // a code cut short is dropped
      int n = static_cast<uint8_t>(text[i + 1]);
      uint8_t ch = static_cast<uint8_t>(text[i + 2]);
      for (int k = 0; k < n; ++k) out.push_back({ch, slot});
      i += 2;
    } else if (c == '\n') {
      out.push_back({' ', slot, true});
    } else if (c == '\r') {
      continue;
    } else {
      out.push_back({static_cast<uint8_t>(c), slot});
    }
  }
  return out;
}

std::string Plain(const std::vector<Glyph>& glyphs) {
  std::string s;
  for (const Glyph& g : glyphs) s += g.newline ? '\n' : static_cast<char>(g.ch);
  return s;
}

}  // namespace

Toolkit::Rect Toolkit::Footprint(const TextWindow& w) {
  Rect r{w.top, w.left, w.bottom, w.right};
  if (w.type == 1) r = {w.top - 1, w.left - 1, w.bottom + 1, w.right + 1};
  if (w.type == 7) r = {w.top, w.left, w.bottom + 1, w.right + 2};  // shadow: 2 columns right, 1 row below
  r.top = std::max(r.top, 0);
  r.left = std::max(r.left, 0);
  r.bottom = std::min(r.bottom, kScreenRows - 1);
  r.right = std::min(r.right, kScreenCols - 1);
  return r;
}

const TextWindow* Toolkit::window(int n) const {
  auto it = windows_.find(n);
  return it == windows_.end() ? nullptr : &it->second;
}

void Toolkit::REDEFJAN(int n, int text_attr, int frame_attr, int shadow_attr, int top, int left,
                       int bottom, int right, int type) {
  TextWindow& w = windows_[n];
  w.number = n;
  w.text_attr = static_cast<Attr>(text_attr);
  w.frame_attr = static_cast<Attr>(frame_attr);
  w.shadow_attr = static_cast<Attr>(shadow_attr);
  w.top = top;
  w.left = left;
  w.bottom = std::max(bottom, top);
  w.right = std::max(right, left);
  w.type = type;
}

void Toolkit::ABREJAN(int n) {
  auto it = windows_.find(n);
  if (it == windows_.end()) return;
  TextWindow& w = it->second;
  auto saved = saved_.find(n);
  if (saved != saved_.end()) Restore(saved->second);
  Rect fp = Footprint(w);
  saved_[n] = Save(fp.top, fp.left, fp.bottom, fp.right);
  if (w.type == 1) Frame(w.top - 1, w.left - 1, w.bottom + 1, w.right + 1, w.frame_attr);
  if (w.type == 2) Frame(w.top, w.left, w.bottom, w.right, w.frame_attr);
  w.open = true;
}

void Toolkit::ESCRJAN(int n, std::string_view text) {
  auto it = windows_.find(n);
  if (it == windows_.end()) return;
  TextWindow& w = it->second;
  colours_.COR_1_CLI = "GR+/B";
  colours_.COR_2_CLI = "W+/B";
  colours_.COR_INI = "W+/B";
  std::vector<Glyph> glyphs = Expand(text);
  w.last_text = Plain(glyphs);
  const Attr slots[4] = {w.text_attr, w.text_attr, w.frame_attr, w.shadow_attr};
  if (n == 0) {
    int col = 0;
    for (const Glyph& g : glyphs) {
      if (g.newline) break;
      Put(24, col++, Cell{g.ch, slots[g.slot]});
    }
    return;
  }
  Inner in = InnerOf(w);
  int r = in.top, c = in.left;
  size_t i = 0;
  while (r <= in.bottom) {
    if (i < glyphs.size() && glyphs[i].newline) {
      for (; c <= in.right; ++c) Put(r, c, Cell{' ', w.text_attr});
      ++i;
    } else if (i < glyphs.size()) {
      Put(r, c++, Cell{glyphs[i].ch, slots[glyphs[i].slot]});
      ++i;
    } else {
      Put(r, c++, Cell{' ', w.text_attr});
    }
    if (c > in.right) {
      c = in.left;
      ++r;
    }
  }
  if (w.type == 7) {
    for (int row = w.top + 1; row <= w.bottom; ++row) {
      Put(row, w.right + 1, Cell{kShadowChar, w.shadow_attr});
      Put(row, w.right + 2, Cell{kShadowChar, w.shadow_attr});
    }
    for (int col = w.left + 2; col <= w.right + 2; ++col) {
      Put(w.bottom + 1, col, Cell{kShadowChar, w.shadow_attr});
    }
  }
}

void Toolkit::ESCRLCOL(int n, int row, int col, std::string_view text) {
  auto it = windows_.find(n);
  if (it == windows_.end()) return;
  const TextWindow& w = it->second;
  std::vector<Glyph> glyphs = Expand(text);
  if (n == 0) {
    const Attr slots[4] = {w.text_attr, w.text_attr, w.frame_attr, w.shadow_attr};
    int c = col;
    for (const Glyph& g : glyphs) {
      if (!g.newline) Put(24, c++, Cell{g.ch, slots[g.slot]});
    }
    return;
  }
  Inner in = InnerOf(w);
  int r = in.top + row - 1;
  int c = in.left + col - 1;
  for (const Glyph& g : glyphs) {
    if (g.newline) continue;
    if (c > in.right) break;
    Put(r, c, Cell{g.ch, At(r, c).attr});
    ++c;
  }
}

void Toolkit::ESCRATR(int n, int row, int col, int attr, int length) {
  auto it = windows_.find(n);
  if (it == windows_.end()) return;
  const TextWindow& w = it->second;
  if (n == 0) {
    for (int k = 0; k < length; ++k) {
      size_t idx = static_cast<size_t>(col + k);
      uint8_t ch = idx < w.last_text.size() ? static_cast<uint8_t>(w.last_text[idx]) : ' ';
      Put(24, col + k, Cell{ch, static_cast<Attr>(attr)});
    }
    return;
  }
  Inner in = InnerOf(w);
  // The last text flows row by row over the inner width; find the character there.
  std::vector<std::string> rows(1);
  for (char ch : w.last_text) {
    if (ch == '\n') {
      rows.emplace_back();
      continue;
    }
    if (static_cast<int>(rows.back().size()) == in.width()) rows.emplace_back();
    rows.back() += ch;
  }
  size_t r = static_cast<size_t>(row - 1);
  for (int k = 0; k < length; ++k) {
    size_t idx = static_cast<size_t>(col - 1 + k);
    uint8_t ch = r < rows.size() && idx < rows[r].size() ? static_cast<uint8_t>(rows[r][idx]) : ' ';
    Put(in.top + row - 1, in.left + col - 1 + k, Cell{ch, static_cast<Attr>(attr)});
  }
}

void Toolkit::REDFATR(int n, int which, int attr) {
  auto it = windows_.find(n == 0 ? 10 : n);
  if (it == windows_.end()) return;
  Attr a = static_cast<Attr>(attr);
  if (which == 1) it->second.text_attr = a;
  if (which == 2) it->second.frame_attr = a;
  if (which == 3) it->second.shadow_attr = a;
}

void Toolkit::FECHAJAN(int n) {
  auto saved = saved_.find(n);
  if (saved != saved_.end()) {
    Restore(saved->second);
    saved_.erase(saved);
  }
  auto it = windows_.find(n);
  if (it != windows_.end()) it->second.open = false;
}

void Toolkit::MOVEVER(int n, int direction) {
  auto it = windows_.find(n);
  if (it == windows_.end()) return;
  TextWindow& w = it->second;
  int d = direction == kMoveBack ? -1 : 1;
  // The rectangle stays on the screen: rows 0..24.
  if (w.top + d < 0 || w.bottom + d > kScreenRows - 1) return;
  bool was_open = saved_.count(n) > 0;
  FECHAJAN(n);
  w.top += d;
  w.bottom += d;
  if (was_open) {
    ABREJAN(n);
    std::string text = w.last_text;
    ESCRJAN(n, text);
  }
}

void Toolkit::MOVEHOR(int n, int direction) {
  auto it = windows_.find(n);
  if (it == windows_.end()) return;
  TextWindow& w = it->second;
  int d = direction == kMoveBack ? -1 : 1;
  // The rectangle stays on the screen: columns 0..79.
  if (w.left + d < 0 || w.right + d > kScreenCols - 1) return;
  bool was_open = saved_.count(n) > 0;
  FECHAJAN(n);
  w.left += d;
  w.right += d;
  if (was_open) {
    ABREJAN(n);
    std::string text = w.last_text;
    ESCRJAN(n, text);
  }
}

void Toolkit::ENCHETELA(uint8_t ch, int attr) {
  Fill(0, 0, kScreenRows - 1, kScreenCols - 1, ch, static_cast<Attr>(attr));
}

void Toolkit::AVISO(std::string_view text, int row, int col, std::optional<int> attr) {
  Attr a = attr ? static_cast<Attr>(*attr) : ColourOr(colours_.COR_CLI_HE, MakeAttr(0, 7));
  Write(row, col, text, a);
}

Key Toolkit::OMOUSE(int mode) {
  std::optional<Key> k = ReadKey(100);
  if (!k) return Key();
  if (mode == 1) {
    if (screen_change_rule_) return screen_change_rule_(*k);
    return *k;
  }
  return Key();
}

}  // namespace dodu::screen
