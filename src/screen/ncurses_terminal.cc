// The one file that includes the terminal library.
#include "screen/ncurses_terminal.h"

#include <curses.h>
#include <langinfo.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "screen/internal/cp850.h"
#include "screen/key_decoder.h"
#include "screen/layout.h"

namespace dodu::screen {
namespace {

constexpr int kEscDelayMs = 25;
constexpr int kDoubleClickMs = 400;

// Attribute colour numbers (PC order: blue 1, red 4) to curses colour numbers.
constexpr short kCursesColour[8] = {COLOR_BLACK, COLOR_BLUE,    COLOR_GREEN, COLOR_CYAN,
                                    COLOR_RED,   COLOR_MAGENTA, COLOR_YELLOW, COLOR_WHITE};

// Glyphs for the code page 850 control bytes some screens draw (arrows, marks).
char32_t ControlGlyph(uint8_t b) {
  switch (b) {
    case 0x10: return U'\u25BA';
    case 0x11: return U'\u25C4';
    case 0x18: return U'\u2191';
    case 0x19: return U'\u2193';
    case 0x1A: return U'\u2192';
    case 0x1B: return U'\u2190';
    case 0x1E: return U'\u25B2';
    case 0x1F: return U'\u25BC';
    case 0x07: return U'\u2022';
    default: return U' ';
  }
}

// Written straight to the terminal: modes ncurses does not manage with keypad off.
void WriteRaw(const char* s) {
  ssize_t n = ::write(STDOUT_FILENO, s, std::strlen(s));
  (void)n;
}

const char kModesOn[] = "\x1b[?1000h\x1b[?1006h\x1b[>4;1m";
const char kModesOff[] = "\x1b[>4;0m\x1b[?1006l\x1b[?1000l";

volatile sig_atomic_t g_active = 0;

void GiveBack() {
  if (!g_active) return;
  g_active = 0;
  WriteRaw(kModesOff);
  endwin();
}

void OnFatalSignal(int sig) {
  GiveBack();
  signal(sig, SIG_DFL);
  raise(sig);
}

std::string Base64(std::string_view in) {
  static const char k[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  size_t i = 0;
  while (i + 2 < in.size()) {
    uint32_t v = (uint8_t(in[i]) << 16) | (uint8_t(in[i + 1]) << 8) | uint8_t(in[i + 2]);
    out += k[v >> 18];
    out += k[(v >> 12) & 63];
    out += k[(v >> 6) & 63];
    out += k[v & 63];
    i += 3;
  }
  if (i + 1 == in.size()) {
    uint32_t v = uint8_t(in[i]) << 16;
    out += k[v >> 18];
    out += k[(v >> 12) & 63];
    out += "==";
  } else if (i + 2 == in.size()) {
    uint32_t v = (uint8_t(in[i]) << 16) | (uint8_t(in[i + 1]) << 8);
    out += k[v >> 18];
    out += k[(v >> 12) & 63];
    out += k[(v >> 6) & 63];
    out += '=';
  }
  return out;
}

}  // namespace

struct NcursesTerminal::Impl {
  platform::Env* env = nullptr;
  std::array<std::array<Cell, kScreenCols>, kScreenRows> cells{};
  std::string caption;
  MenuBarView menu;
  std::vector<StatusPartView> status;
  int cursor_row = 0, cursor_col = 0;
  bool cursor_visible = false;
  bool full_colours = false;  // 16 x 16 pairs available
  bool palette_changed = false;
  std::array<std::array<short, 3>, 3> saved_palette{};
  std::string pending;        // bytes read, not yet decoded
  std::string last_raw;
  std::string clipboard;
  Key last_click;
  int64_t last_click_ms = -1000000;
  bool too_small = false;

  int Pair(Attr a) const {
    if (full_colours) return a + 1;
    return ((a >> 4) & 7) * 8 + (a & 7) + 1;
  }

  void InitColours() {
    start_color();
    full_colours = COLORS >= 16 && COLOR_PAIRS >= 257;
    if (can_change_color() && COLORS >= 8) {
      // Red 255,0,0; white 239,235,222; blue 57,109,165 (curses scale 0..1000).
      const short which[3] = {COLOR_RED, COLOR_WHITE, COLOR_BLUE};
      const short rgb[3][3] = {{1000, 0, 0}, {937, 922, 871}, {224, 427, 647}};
      for (int i = 0; i < 3; ++i) {
        color_content(which[i], &saved_palette[i][0], &saved_palette[i][1], &saved_palette[i][2]);
        init_color(which[i], rgb[i][0], rgb[i][1], rgb[i][2]);
      }
      palette_changed = true;
    }
    if (full_colours) {
      for (int a = 0; a < 256; ++a) {
        short fg = static_cast<short>(kCursesColour[a & 7] + ((a & 8) ? 8 : 0));
        short bg = static_cast<short>(kCursesColour[(a >> 4) & 7] + ((a & 0x80) ? 8 : 0));
        init_pair(static_cast<short>(a + 1), fg, bg);
      }
    } else {
      for (int bg = 0; bg < 8; ++bg) {
        for (int fg = 0; fg < 8; ++fg) {
          init_pair(static_cast<short>(bg * 8 + fg + 1), kCursesColour[fg], kCursesColour[bg]);
        }
      }
    }
  }

  void RestorePalette() {
    if (!palette_changed) return;
    const short which[3] = {COLOR_RED, COLOR_WHITE, COLOR_BLUE};
    for (int i = 0; i < 3; ++i) init_color(which[i], saved_palette[i][0], saved_palette[i][1], saved_palette[i][2]);
    palette_changed = false;
  }

  void Draw(int prow, int pcol, uint8_t byte, Attr a) {
    char32_t cp = byte < 0x20 ? ControlGlyph(byte) : internal::Cp850ToCodePoint(byte);
    wchar_t w[2] = {static_cast<wchar_t>(cp), 0};
    cchar_t cc;
    attr_t extra = (!full_colours && (a & 8)) ? A_BOLD : A_NORMAL;
    setcchar(&cc, w, extra, static_cast<short>(Pair(a)), nullptr);
    mvadd_wch(prow, pcol, &cc);
  }

  void DrawText(int prow, const std::string& text, Attr a) {
    for (int c = 0; c < kScreenCols; ++c) {
      Draw(prow, c, c < static_cast<int>(text.size()) ? static_cast<uint8_t>(text[c]) : ' ', a);
    }
  }

  void DrawMenuBar(int prow) {
    std::vector<int> cols = MenuBarColumns(menu);
    DrawText(prow, "", 0x70);
    for (size_t i = 0; i < menu.captions.size(); ++i) {
      bool hi = static_cast<int>(i) == menu.highlighted;
      Attr base = hi ? 0x1F : 0x70;
      int c = cols[i];
      bool accel = false;
      if (hi) Draw(prow, c - 1, ' ', base);
      for (char ch : menu.captions[i]) {
        if (ch == '&') {
          accel = true;
          continue;
        }
        Draw(prow, c++, static_cast<uint8_t>(ch), accel ? (hi ? 0x1E : 0x74) : base);
        accel = false;
      }
      if (hi) Draw(prow, c, ' ', base);
    }
  }

  void Render() {
    int rows = LINES, cols = COLS;
    Layout l = ComputeLayout(rows, cols);
    too_small = !l.fits;
    erase();
    if (too_small) {
      std::string msg = "Terminal pequeno demais: 80 x 25 no m\xA1nimo";
      for (int c = 0; c < static_cast<int>(msg.size()) && c < cols; ++c) Draw(0, c, static_cast<uint8_t>(msg[c]), 0x4F);
      curs_set(0);
      refresh();
      return;
    }
    for (int r = 0; r < kScreenRows; ++r) {
      for (int c = 0; c < kScreenCols; ++c) Draw(l.app_top + r, c, cells[r][c].ch, cells[r][c].attr);
    }
    if (l.caption_row >= 0) DrawText(l.caption_row, caption, 0x1F);
    if (l.menu_row >= 0 && (!l.menu_only_while_active || menu.active) && !menu.captions.empty()) {
      DrawMenuBar(l.menu_row);
    }
    if (l.status_row >= 0) {
      bool app_has_row = false;
      if (l.status_shares_app_row) {
        for (const Cell& c : cells[kScreenRows - 1]) app_has_row |= c.ch != ' ';
      }
      if (!app_has_row) DrawText(l.status_row, StatusBarText(status), 0x70);
    }
    if (cursor_visible) {
      curs_set(1);
      move(l.app_top + cursor_row, cursor_col);
    } else {
      curs_set(0);
    }
    refresh();
  }

  // One byte from the terminal within timeout_ms; -1 none, -2 resized.
  int ReadByte(int timeout_ms) {
    timeout(timeout_ms < 0 ? -1 : timeout_ms);
    int c = getch();
    if (c == KEY_RESIZE) return -2;
    if (c == ERR || c < 0 || c > 255) return -1;
    return c;
  }

  std::optional<Key> MapClick(Key k, platform::Clock& clock) {
    Layout l = ComputeLayout(LINES, COLS);
    int prow = k.row;
    Key out = k;
    if (l.menu_row >= 0 && prow == l.menu_row && (!l.menu_only_while_active || menu.active)) {
      out.row = Key::kMenuBarRow;
    } else if (prow == l.status_row && !l.status_shares_app_row) {
      out.row = Key::kStatusBarRow;
    } else {
      out.row = prow - l.app_top;
      if (out.row < 0 || out.row >= kScreenRows || out.col >= kScreenCols) return std::nullopt;
    }
    int64_t now = clock.MonotonicMillis();
    if (last_click.row == out.row && last_click.col == out.col && now - last_click_ms < kDoubleClickMs) {
      out.type = KeyType::kDoubleClick;
      last_click_ms = -1000000;
    } else {
      last_click = out;
      last_click_ms = now;
    }
    return out;
  }
};

NcursesTerminal::NcursesTerminal(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

Result<std::unique_ptr<NcursesTerminal>> NcursesTerminal::Open(platform::Env& env) {
  if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) {
    return Status::Invalid("dodu2020: standard input and output must be a terminal");
  }
  // UTF-8 at the terminal whatever the environment's locale says.
  std::setlocale(LC_ALL, "");
  if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0) {
    if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr) std::setlocale(LC_CTYPE, "en_US.UTF-8");
  }
  set_escdelay(kEscDelayMs);
  if (initscr() == nullptr) return Status::Invalid("dodu2020: the terminal could not be started");
  g_active = 1;
  Layout l = ComputeLayout(LINES, COLS);
  if (!l.fits) {
    int r = LINES, c = COLS;
    GiveBack();
    return Status::Invalid(TooSmallMessage(r, c));
  }
  raw();
  noecho();
  nonl();
  keypad(stdscr, FALSE);  // keys are decoded from the raw bytes
  meta(stdscr, TRUE);
  intrflush(stdscr, FALSE);
  signal(SIGTERM, OnFatalSignal);
  signal(SIGHUP, OnFatalSignal);
  signal(SIGQUIT, OnFatalSignal);
  auto impl = std::make_unique<Impl>();
  impl->env = &env;
  if (has_colors()) impl->InitColours();
  WriteRaw(kModesOn);
  impl->Render();
  return std::unique_ptr<NcursesTerminal>(new NcursesTerminal(std::move(impl)));
}

NcursesTerminal::~NcursesTerminal() {
  impl_->RestorePalette();
  GiveBack();
}

std::string NcursesTerminal::last_raw_bytes() const {
  std::string s;
  char buf[4];
  for (char c : impl_->last_raw) {
    std::snprintf(buf, sizeof buf, "%02x", static_cast<unsigned char>(c));
    if (!s.empty()) s += ' ';
    s += buf;
  }
  return s;
}

int NcursesTerminal::rows() const { return LINES; }
int NcursesTerminal::cols() const { return COLS; }

void NcursesTerminal::Put(int row, int col, Cell cell) {
  if (row < 0 || row >= kScreenRows || col < 0 || col >= kScreenCols) return;
  impl_->cells[row][col] = cell;
}

void NcursesTerminal::SetCursor(int row, int col) {
  impl_->cursor_row = row;
  impl_->cursor_col = col;
}

void NcursesTerminal::ShowCursor(bool visible) { impl_->cursor_visible = visible; }
void NcursesTerminal::SetCaption(std::string_view text) { impl_->caption = std::string(text); }
void NcursesTerminal::SetMenuBar(const MenuBarView& view) { impl_->menu = view; }
void NcursesTerminal::SetStatusBar(const std::vector<StatusPartView>& parts) { impl_->status = parts; }
void NcursesTerminal::Flush() { impl_->Render(); }

std::optional<Key> NcursesTerminal::ReadKey(int timeout_ms) {
  platform::Clock& clk = clock();
  int64_t deadline = timeout_ms < 0 ? -1 : clk.MonotonicMillis() + timeout_ms;
  while (true) {
    if (!impl_->pending.empty()) {
      Decoded d = DecodeKey(impl_->pending, false);
      if (d.kind == Decoded::kNeedMore) {
        int b = impl_->ReadByte(kEscDelayMs);
        if (b >= 0) {
          impl_->pending += static_cast<char>(b);
          continue;
        }
        d = DecodeKey(impl_->pending, true);
      }
      impl_->last_raw = impl_->pending.substr(0, d.consumed);
      impl_->pending.erase(0, d.consumed);
      if (d.kind == Decoded::kKey) {
        if (d.key.is_mouse()) {
          if (std::optional<Key> k = impl_->MapClick(d.key, clk)) return k;
          continue;
        }
        return d.key;
      }
      continue;
    }
    int wait = -1;
    if (deadline >= 0) {
      int64_t left = deadline - clk.MonotonicMillis();
      if (left < 0) left = 0;
      wait = static_cast<int>(left);
    }
    int b = impl_->ReadByte(wait);
    if (b == -2) {
      impl_->Render();
      return Key::Resize();
    }
    if (b < 0) {
      if (deadline >= 0 && clk.MonotonicMillis() >= deadline) return std::nullopt;
      if (timeout_ms == 0) return std::nullopt;
      continue;
    }
    impl_->pending += static_cast<char>(b);
  }
}

void NcursesTerminal::DropPendingKeys() {
  impl_->pending.clear();
  flushinp();
}

void NcursesTerminal::Tone(int, int) { beep(); }

std::string NcursesTerminal::GetClipboard() { return impl_->clipboard; }

void NcursesTerminal::SetClipboard(std::string_view text) {
  impl_->clipboard = std::string(text);
  // OSC 52: terminals that allow it put the text on the desktop's clipboard too.
  std::string seq = "\x1b]52;c;" + Base64(internal::Cp850ToUtf8(text)) + "\x07";
  WriteRaw(seq.c_str());
}

Result<platform::SpawnResult> NcursesTerminal::Launch(const std::vector<std::string>& argv,
                                                      const platform::SpawnOptions& options) {
  def_prog_mode();
  WriteRaw(kModesOff);
  endwin();
  Result<platform::SpawnResult> r = impl_->env->Spawn(argv, options);
  reset_prog_mode();
  WriteRaw(kModesOn);
  clearok(stdscr, TRUE);
  impl_->Render();
  return r;
}

platform::Clock& NcursesTerminal::clock() { return impl_->env->clock(); }

}  // namespace dodu::screen
