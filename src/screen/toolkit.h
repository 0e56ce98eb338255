// The screen toolkit: one object, made in main() over a Terminal and passed
// down, that owns the application area (25 x 80 cells), the colour settings,
// the numbered text windows, the stack of dialogs with their status bars, the
// pull-down menu bar, key bindings and the one-second timer. Screens draw and
// read keys only through it; nothing in it is global.
//
// Numbered windows (screen/text_windows.cc), dialogs (dialog.h), menus
// (menu.h), the status bar (status_bar.h), message boxes (message_box.h) and
// prompts (mens.h) all work on a Toolkit.
#ifndef DODU_SCREEN_TOOLKIT_H_
#define DODU_SCREEN_TOOLKIT_H_

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "screen/colour.h"
#include "screen/keys.h"
#include "screen/terminal.h"

namespace dodu::screen {

class LDialog;
class LMenu;
class LMenuItem;
class LStatusBar;

// The colour settings of the terminal (its record in table 56) and the
// composite colour texts built from them. Attribute numbers and colour texts,
// as the settings record keeps them.
struct ColourSettings {
  int COR_TEL1 = 30, COR_TEL2 = 31, COR_TEL3 = 63;
  int COR_MENS = 112, COR_PEGA = 15, COR_HELP = 112, COR_FERID = 28, COR_ESCOL = 79;
  int COR_ENCHE = 31;
  std::string COR_1_CLI = "GR+/B", COR_2_CLI = "W+/B", COR_INI = "W+/B";
  std::string COR_SAY = "N/W+", COR_GET = "W/N", COR_CLI_HE = "N/W", COR_ESC_CL = "W/R+";
  std::string COR_ENCH_C = "W+/B";
  std::string CORNORM, CORLIMP, CORSELE, CORMENU;
  std::string INVISIVEL = "W/W,W/W,N/N,N/N,W/W";
  std::string CORATEN = "R/W*";

  // Rebuilds CORNORM, CORLIMP, CORSELE and CORMENU from the single colours.
  void RebuildComposites();
  bool operator==(const ColourSettings&) const = default;
};

// A saved rectangle of the application area, for putting back byte for byte.
struct SavedRegion {
  int top = 0, left = 0, bottom = -1, right = -1;  // clipped to the screen; empty when bottom < top
  std::vector<Cell> cells;
};

// The record of one numbered window.
struct TextWindow {
  int number = 0;
  Attr text_attr = 0x1E, frame_attr = 0x1F, shadow_attr = 0x3F;
  int top = 0, left = 0, bottom = 0, right = 0;
  int type = 0;          // 0 none, 1 frame one cell outside, 2 frame on the rectangle, 7 shadow
  std::string last_text; // without colour codes
  bool open = false;
};

// REP(n): the first two characters of the window text code for "the next
// character n times" (n from 0 to 255).
inline std::string REP(int n) { return std::string{'\x04', static_cast<char>(n & 0xFF)}; }

// The shadow character (code page 850).
inline constexpr uint8_t kShadowChar = 0xB0;  // light shade, code 176

class Toolkit {
 public:
  explicit Toolkit(Terminal& terminal);
  ~Toolkit();
  Toolkit(const Toolkit&) = delete;
  Toolkit& operator=(const Toolkit&) = delete;

  Terminal& terminal() { return term_; }
  platform::Clock& clock() { return term_.clock(); }
  ColourSettings& colours() { return colours_; }

  // Start-up: the caption, colour "N/W", a cleared screen, the cursor off.
  void Start(std::string_view caption);

  // ---- the application area (rows 0..24, columns 0..79; outside is clipped) ----
  Cell At(int row, int col) const;
  void Put(int row, int col, Cell cell);
  // Writes cp850 text in one colour; returns the column after the last cell.
  int Write(int row, int col, std::string_view text, Attr attr);
  // Writes characters keeping the colours already on the screen.
  int WriteKeepColour(int row, int col, std::string_view text);
  void Fill(int top, int left, int bottom, int right, uint8_t ch, Attr attr);
  void Recolour(int row, int col, int length, Attr attr);
  // A single-line frame on the rectangle; a title is centred in the top line.
  void Frame(int top, int left, int bottom, int right, Attr attr, std::string_view title = {});
  SavedRegion Save(int top, int left, int bottom, int right) const;
  void Restore(const SavedRegion& region);
  void SetCursor(int row, int col);
  void ShowCursor(bool visible);
  void Flush();
  // Text of a row of the application area (cp850), for code that reads the screen back.
  std::string RowText(int row) const;

  // ---- keys ----
  // The wait-state read used by every screen: waits up to timeout_ms (negative:
  // without limit) while the one-second timer redraws the status bar; runs keys
  // bound with BindKey (and keeps waiting); the menu key or a click on the menu bar runs
  // the pull-down menu, and a choice made there comes back as Key::Menu(id) —
  // the last menu event, which a wait that is not the window's own event loop
  // treats as a request to unwind (see menu_request()). nullopt on timeout.
  std::optional<Key> ReadKey(int timeout_ms = -1);
  // ReadKey without a limit; never nullopt.
  Key WaitKey();
  // A key straight from the terminal without limit: the timer keeps running but
  // no binding, menu or resize handling (message boxes and the menu itself).
  Key RawKey();
  // Looks for a typed key without waiting (no bindings run).
  std::optional<Key> PollKey();
  void DropPendingKeys() { term_.DropPendingKeys(); }
  void Tone(int frequency_hz, int duration_ms) { term_.Tone(frequency_hz, duration_ms); }
  // The error beep.
  void Beep() { term_.Tone(800, 200); }

  // Key bindings (the `setKey` of a window): run while keys are read. Binding
  // returns what it replaced so a window can restore it on closing.
  using KeyAction = std::function<void()>;
  KeyAction BindKey(Key key, KeyAction action);
  void UnbindKey(Key key) { (void)BindKey(key, nullptr); }
  // Suspends every binding while alive (message boxes do this).
  class BindingsSuspended {
   public:
    explicit BindingsSuspended(Toolkit& tk) : tk_(tk) { ++tk_.bindings_suspended_; }
    ~BindingsSuspended() { --tk_.bindings_suspended_; }
   private:
    Toolkit& tk_;
  };

  // ---- menu events ----
  // The key that opens the pull-down menu from any wait: Ctrl F10 unless set
  // (F10 itself belongs to the declaration screens).
  void set_menu_key(Key key) { menu_key_ = key; }
  Key menu_key() const { return menu_key_; }
  // The identifier of a menu choice not yet dispatched (made inside a wait).
  std::optional<int> menu_request() const { return menu_request_; }
  // Runs the pending menu choice through the active window's menu; true when
  // there was one.
  bool RunMenuRequest();
  // Dispatches an identifier: 1000..1999 to the active window's menu; anything
  // else shows a diagnostic box. True when an action ran.
  bool MenuEvent(int id);

  // ---- dialogs (the native windows of the toolkit) ----
  // The main window (always there, never closed) and the active one.
  LDialog& main_window() { return *dialogs_.front(); }
  LDialog& active_window() { return *dialogs_.back(); }
  // LDLGSHOW: a child window over that rectangle of the main window's
  // coordinates, with a frame and the title; it becomes the active window.
  // nullptr (and the "Erro ao criar a janela" box) when the rectangle does not
  // fit the screen.
  LDialog* LDLGSHOW(int top, int left, int bottom, int right, std::string_view title);
  // LDLGCLOSE: closes the active window (refused for the main window).
  bool LDLGCLOSE();
  // LDLGEND: ends the input or event loop running in the active window.
  void LDLGEND();
  size_t dialog_count() const { return dialogs_.size(); }

  // ---- status bar ----
  // LSBDRAW: a new status bar for the active window, one part per text.
  // Parts whose text is a function are redrawn every second.
  using PartText = std::function<std::string()>;
  struct PartSpec {
    PartSpec(std::string t, int w = 0) : text(std::move(t)), width(w) {}  // NOLINT
    PartSpec(const char* t, int w = 0) : text(t), width(w) {}             // NOLINT
    PartSpec(PartText f, int w) : fn(std::move(f)), width(w) {}
    std::string text;
    PartText fn;
    int width = 0;
  };
  LStatusBar& LSBDRAW(const std::vector<PartSpec>& parts);
  // Part 1 of the active window's status bar (created when there is none).
  void SetStatusLine(std::string_view text);
  // Sends the active window's status bar to the terminal.
  void RefreshStatusBar();

  // ---- menu bar ----
  // Attaches a built menu to a window (LMenu::create does this).
  void AttachMenu(LDialog& window, std::unique_ptr<LMenu> menu);
  // Runs the pull-down menu from the keyboard (the menu key) or a click on the bar;
  // returns the identifier chosen, 0 when left with Esc.
  int RunMenuBar(std::optional<Key> opening_key = std::nullopt);
  // The menu bar of the active window as the terminal shows it.
  void RefreshMenuBar(int highlighted = -1, bool active = false);

  // ---- numbered text windows ----
  void REDEFJAN(int n, int text_attr, int frame_attr, int shadow_attr, int top, int left, int bottom,
                int right, int type);
  void DEFINEJAN(int n, int text_attr, int frame_attr, int shadow_attr, int top, int left,
                 int bottom, int right, int type) {
    REDEFJAN(n, text_attr, frame_attr, shadow_attr, top, left, bottom, right, type);
  }
  void ABREJAN(int n);
  void ESCRJAN(int n, std::string_view text);
  void ESCRLCOL(int n, int row, int col, std::string_view text);
  void ESCRATR(int n, int row, int col, int attr, int length);
  void REDFATR(int n, int which, int attr);
  void FECHAJAN(int n);
  void MOVEVER(int n, int direction);
  void MOVEHOR(int n, int direction);
  void ENCHETELA(uint8_t ch, int attr);
  void AVISO(std::string_view text, int row = 24, int col = 0, std::optional<int> attr = std::nullopt);
  // Waits a tenth of a second for a key; in mode 1 the key goes through the
  // screen-change rule (set_screen_change_rule) and is returned; otherwise 0.
  Key OMOUSE(int mode);
  void set_screen_change_rule(std::function<Key(Key)> rule) { screen_change_rule_ = std::move(rule); }
  // The record of window n, nullptr when it was never defined.
  const TextWindow* window(int n) const;
  // Every cell window n can touch (its rectangle, frame and shadow), clipped.
  struct Rect {
    int top, left, bottom, right;
  };
  static Rect Footprint(const TextWindow& w);

  // ---- clipboard ----
  // Pasting: the clipboard text made fit for a field of `width` characters
  // (code page 850, control characters dropped, cut to the width).
  std::string ClipboardForField(int width);
  void CopyToClipboard(std::string_view cp850) { term_.SetClipboard(cp850); }

  // ---- choice lists (ESC_OPCAO) state ----
  int POSVER = 1;               // current item of the choice list
  std::string OPCOES;           // accelerator letters, one per item
  std::vector<std::string> MENSMENU;  // message per item

 private:
  friend class LDialog;
  friend class LMenu;
  struct DropResult {
    int id = 0;         // chosen item
    int move = 0;       // -1 / +1: Left / Right to the neighbouring top-level item
    int bar_click = -1; // a click on that top-level caption
    bool leave = false; // leave the whole menu
  };
  DropResult RunDropdown(std::vector<LMenuItem>& items, int top, int left, bool nested);
  LMenu* current_menu();
  void TimerTick();
  std::optional<Key> DispatchSpecial(Key key);
  bool close_dialog(LDialog& d);

  Terminal& term_;
  ColourSettings colours_;
  std::array<std::array<Cell, kScreenCols>, kScreenRows> cells_{};
  std::vector<std::unique_ptr<LDialog>> dialogs_;
  std::map<int, TextWindow> windows_;
  std::map<int, SavedRegion> saved_;
  std::vector<std::pair<Key, KeyAction>> bindings_;
  int bindings_suspended_ = 0;
  std::optional<int> menu_request_;
  int64_t next_tick_ms_ = 0;
  std::function<Key(Key)> screen_change_rule_;
  bool in_menu_ = false;
  Key menu_key_ = Key::CtrlF(10);
};

}  // namespace dodu::screen

#endif  // DODU_SCREEN_TOOLKIT_H_
