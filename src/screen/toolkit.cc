#include "screen/toolkit.h"

#include <algorithm>

#include "screen/dialog.h"
#include "screen/menu.h"
#include "screen/message_box.h"
#include "screen/status_bar.h"

namespace dodu::screen {
namespace {

constexpr int kTickMs = 1000;

bool InScreen(int row, int col) {
  return row >= 0 && row < kScreenRows && col >= 0 && col < kScreenCols;
}

// Frame characters, code page 850.
constexpr uint8_t kTopLeft = 0xDA, kTopRight = 0xBF, kBottomLeft = 0xC0, kBottomRight = 0xD9;
constexpr uint8_t kHoriz = 0xC4, kVert = 0xB3;

}  // namespace

void ColourSettings::RebuildComposites() {
  const std::string tail = ",\"N/N\",\"N/N\",";
  CORNORM = COR_SAY + "," + COR_GET + tail + COR_SAY;
  CORLIMP = COR_1_CLI + "," + COR_GET + tail + COR_SAY;
  CORSELE = COR_CLI_HE + "," + COR_GET + tail + COR_SAY;
  CORMENU = COR_1_CLI + "," + COR_ESC_CL + "," + COR_ENCH_C + "," + COR_ENCH_C + "," + COR_2_CLI +
            "," + COR_2_CLI;
}

Toolkit::Toolkit(Terminal& terminal) : term_(terminal) {
  colours_.RebuildComposites();
  for (auto& row : cells_) row.fill(Cell{' ', MakeAttr(0, 7)});
  dialogs_.push_back(std::make_unique<LDialog>(*this, 0, 0, kScreenRows - 1, kScreenCols - 1, "", true));
  // Window 0 is the bottom line; window 10 the default message window.
  REDEFJAN(0, ColourOr(colours_.COR_ENCH_C, 0x1F), colours_.COR_TEL1, colours_.COR_TEL2, 24, 0, 24, 79, 0);
  REDEFJAN(10, colours_.COR_TEL2, colours_.COR_TEL1, colours_.COR_TEL2, 20, 10, 20, 70, 7);
  next_tick_ms_ = clock().MonotonicMillis() + kTickMs;
}

Toolkit::~Toolkit() = default;

void Toolkit::Start(std::string_view caption) {
  main_window().cTitle = std::string(caption);
  term_.SetCaption(caption);
  Fill(0, 0, kScreenRows - 1, kScreenCols - 1, ' ', MakeAttr(0, 7));
  ShowCursor(false);
  RefreshMenuBar();
  RefreshStatusBar();
  Flush();
}

// ---------------------------------------------------------------- cells

Cell Toolkit::At(int row, int col) const {
  if (!InScreen(row, col)) return Cell{};
  return cells_[row][col];
}

void Toolkit::Put(int row, int col, Cell cell) {
  if (!InScreen(row, col)) return;
  cells_[row][col] = cell;
  term_.Put(row, col, cell);
}

int Toolkit::Write(int row, int col, std::string_view text, Attr attr) {
  for (char c : text) Put(row, col++, Cell{static_cast<uint8_t>(c), attr});
  return col;
}

int Toolkit::WriteKeepColour(int row, int col, std::string_view text) {
  for (char c : text) {
    Put(row, col, Cell{static_cast<uint8_t>(c), At(row, col).attr});
    ++col;
  }
  return col;
}

void Toolkit::Fill(int top, int left, int bottom, int right, uint8_t ch, Attr attr) {
  for (int r = top; r <= bottom; ++r) {
    for (int c = left; c <= right; ++c) Put(r, c, Cell{ch, attr});
  }
}

void Toolkit::Recolour(int row, int col, int length, Attr attr) {
  for (int c = col; c < col + length; ++c) Put(row, c, Cell{At(row, c).ch, attr});
}

void Toolkit::Frame(int top, int left, int bottom, int right, Attr attr, std::string_view title) {
  for (int c = left + 1; c < right; ++c) {
    Put(top, c, Cell{kHoriz, attr});
    Put(bottom, c, Cell{kHoriz, attr});
  }
  for (int r = top + 1; r < bottom; ++r) {
    Put(r, left, Cell{kVert, attr});
    Put(r, right, Cell{kVert, attr});
  }
  Put(top, left, Cell{kTopLeft, attr});
  Put(top, right, Cell{kTopRight, attr});
  Put(bottom, left, Cell{kBottomLeft, attr});
  Put(bottom, right, Cell{kBottomRight, attr});
  if (!title.empty()) {
    int inner = right - left - 1;
    std::string t = " " + std::string(title) + " ";
    if (static_cast<int>(t.size()) > inner) t.resize(std::max(inner, 0));
    Write(top, left + 1 + (inner - static_cast<int>(t.size())) / 2, t, attr);
  }
}

SavedRegion Toolkit::Save(int top, int left, int bottom, int right) const {
  SavedRegion s;
  s.top = std::max(top, 0);
  s.left = std::max(left, 0);
  s.bottom = std::min(bottom, kScreenRows - 1);
  s.right = std::min(right, kScreenCols - 1);
  for (int r = s.top; r <= s.bottom; ++r) {
    for (int c = s.left; c <= s.right; ++c) s.cells.push_back(cells_[r][c]);
  }
  return s;
}

void Toolkit::Restore(const SavedRegion& s) {
  size_t i = 0;
  for (int r = s.top; r <= s.bottom; ++r) {
    for (int c = s.left; c <= s.right; ++c) Put(r, c, s.cells[i++]);
  }
}

void Toolkit::SetCursor(int row, int col) { term_.SetCursor(row, col); }
void Toolkit::ShowCursor(bool visible) { term_.ShowCursor(visible); }
void Toolkit::Flush() { term_.Flush(); }

std::string Toolkit::RowText(int row) const {
  std::string s;
  if (row < 0 || row >= kScreenRows) return s;
  for (const Cell& c : cells_[row]) s += static_cast<char>(c.ch);
  return s;
}

// ---------------------------------------------------------------- keys

void Toolkit::TimerTick() {
  int64_t now = clock().MonotonicMillis();
  while (next_tick_ms_ <= now) next_tick_ms_ += kTickMs;
  // Only the active window's bar is on the screen (see RefreshStatusBar).
  LStatusBar* bar = active_window().status_bar();
  if (bar != nullptr && bar->has_dynamic_parts()) term_.SetStatusBar(bar->view());
}

std::optional<Key> Toolkit::ReadKey(int timeout_ms) {
  if (timeout_ms == 0) return PollKey();
  int64_t start = clock().MonotonicMillis();
  while (true) {
    int64_t now = clock().MonotonicMillis();
    if (now >= next_tick_ms_) TimerTick();
    int64_t wait = next_tick_ms_ - now;
    if (timeout_ms > 0) {
      int64_t left = start + timeout_ms - now;
      if (left <= 0) return std::nullopt;
      wait = std::min(wait, left);
    }
    Flush();
    std::optional<Key> key = term_.ReadKey(static_cast<int>(std::max<int64_t>(wait, 1)));
    if (!key) continue;
    if (std::optional<Key> out = DispatchSpecial(*key)) return out;
    // A bound key or the menu ran: a timed wait returns so its caller can look
    // at what changed (an event loop ended by the bound key).
    if (timeout_ms > 0) return std::nullopt;
  }
}

Key Toolkit::WaitKey() { return *ReadKey(-1); }

std::optional<Key> Toolkit::PollKey() {
  Flush();
  return term_.ReadKey(0);
}

std::optional<Key> Toolkit::DispatchSpecial(Key key) {
  switch (key.type) {
    case KeyType::kResize:
      // The back end repaints from what it was given; nothing is lost here.
      return std::nullopt;
    case KeyType::kMenu:
      menu_request_ = key.code;
      return key;
    default:
      break;
  }
  bool opens_menu = key == menu_key_ || (key.type == KeyType::kClick && key.row == Key::kMenuBarRow);
  if (opens_menu && !in_menu_) {
    int id = RunMenuBar(key);
    if (id > 0) {
      menu_request_ = id;
      return Key::Menu(id);
    }
    return std::nullopt;
  }
  if (bindings_suspended_ == 0) {
    for (auto& [k, action] : bindings_) {
      if (k == key && action) {
        KeyAction copy = action;  // the action may rebind its own key
        copy();
        return std::nullopt;
      }
    }
  }
  return key;
}

Toolkit::KeyAction Toolkit::BindKey(Key key, KeyAction action) {
  for (auto it = bindings_.begin(); it != bindings_.end(); ++it) {
    if (it->first == key) {
      KeyAction old = std::move(it->second);
      if (action) it->second = std::move(action);
      else bindings_.erase(it);
      return old;
    }
  }
  if (action) bindings_.emplace_back(key, std::move(action));
  return nullptr;
}

// ---------------------------------------------------------------- menu events

bool Toolkit::RunMenuRequest() {
  if (!menu_request_) return false;
  int id = *menu_request_;
  menu_request_.reset();
  MenuEvent(id);
  return true;
}

bool Toolkit::MenuEvent(int id) {
  if (id >= 1000 && id <= 1999) {
    for (auto it = dialogs_.rbegin(); it != dialogs_.rend(); ++it) {
      if (LMenu* m = (*it)->menu()) return m->event(id);
    }
  }
  ToolkitDiagnostic(*this, {"Evento de menu desconhecido: " + std::to_string(id)});
  return false;
}

void Toolkit::AttachMenu(LDialog& window, std::unique_ptr<LMenu> menu) {
  window.menu_ = std::move(menu);
  RefreshMenuBar();
}

// ---------------------------------------------------------------- dialogs

LDialog* Toolkit::LDLGSHOW(int top, int left, int bottom, int right, std::string_view title) {
  if (top < 0 || left < 0 || bottom >= kScreenRows || right >= kScreenCols || top > bottom ||
      left > right) {
    ToolkitDiagnostic(*this, {"Erro ao criar a janela", std::string(title),
                              std::to_string(top) + ", " + std::to_string(left) + ", " +
                                  std::to_string(bottom) + ", " + std::to_string(right)});
    return nullptr;
  }
  auto d = std::make_unique<LDialog>(*this, top, left, bottom, right, std::string(title), false);
  d->under_ = Save(top - 1, left - 1, bottom + 1, right + 1);
  Attr attr = ColourOr(d->defaults().csColorWin, MakeAttr(0, 7));
  d->cColor = d->defaults().csColorWin;
  Fill(top, left, bottom, right, ' ', attr);
  Frame(top - 1, left - 1, bottom + 1, right + 1, attr, title);
  dialogs_.push_back(std::move(d));
  RefreshStatusBar();
  return dialogs_.back().get();
}

bool Toolkit::LDLGCLOSE() { return active_window().close(); }

void Toolkit::LDLGEND() { active_window().end(); }

bool Toolkit::close_dialog(LDialog& d) {
  if (d.closed_ || d.main_ || &d != dialogs_.back().get() || d.reading_) {
    std::string why = d.closed_ ? "já fechada" : d.main_ ? "principal" : d.reading_ ? "lendo dados" : "não ativa";
    ToolkitDiagnostic(*this, {"A janela não pode ser fechada (" + why + ")", d.cTitle});
    return false;
  }
  d.closed_ = true;
  Restore(d.under_);
  for (auto& [key, action] : d.replaced_keys_) BindKey(key, std::move(action));
  ShowCursor(d.cursor_was_visible_);
  DropPendingKeys();
  std::unique_ptr<LDialog> gone = std::move(dialogs_.back());
  dialogs_.pop_back();
  RefreshStatusBar();
  RefreshMenuBar();
  return true;
}

// ---------------------------------------------------------------- status bar

LStatusBar& Toolkit::LSBDRAW(const std::vector<PartSpec>& parts) {
  auto bar = std::make_unique<LStatusBar>();
  for (const PartSpec& p : parts) {
    if (p.fn) bar->partAdd(p.fn, p.width);
    else bar->partAdd(p.text, {}, p.width);
  }
  LStatusBar& ref = *bar;
  active_window().set_status_bar(std::move(bar));
  RefreshStatusBar();
  return ref;
}

void Toolkit::SetStatusLine(std::string_view text) {
  LDialog& w = active_window();
  if (w.status_bar() == nullptr) w.set_status_bar(std::make_unique<LStatusBar>());
  LStatusBar& bar = *w.status_bar();
  if (bar.aPart.empty()) bar.partAdd(std::string());
  bar.aPart[0].setText(std::string(text));
  RefreshStatusBar();
}

void Toolkit::RefreshStatusBar() {
  LStatusBar* bar = active_window().status_bar();
  term_.SetStatusBar(bar != nullptr ? bar->view() : std::vector<StatusPartView>{});
}

// ---------------------------------------------------------------- clipboard

std::string Toolkit::ClipboardForField(int width) {
  std::string out;
  for (char c : term_.GetClipboard()) {
    uint8_t b = static_cast<uint8_t>(c);
    if (b < 0x20 || b == 0x7F) continue;  // line breaks, tabs and other controls
    if (static_cast<int>(out.size()) >= width) break;
    out += c;
  }
  return out;
}

}  // namespace dodu::screen
