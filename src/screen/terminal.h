// The only seam between the screen toolkit and a real terminal. Everything the
// system shows goes through a Terminal: the 25 x 80 application area (cells of a
// code page 850 byte and an attribute number background * 16 + foreground), the
// caption, the pull-down menu bar row, the status bar row, the cursor, keys,
// tones, the clipboard and outside programs.
//
// Coordinates given to a Terminal are application coordinates: rows 0..24 and
// columns 0..79. Where the caption, menu and status rows go on the physical
// screen is the back end's business (screen/layout.h states the rule).
//
// Two back ends: the ncurses one (screen/ncurses_terminal.h) and the in-memory
// VirtualTerminal (screen/virtual_terminal.h) that tests drive with key scripts.
#ifndef DODU_SCREEN_TERMINAL_H_
#define DODU_SCREEN_TERMINAL_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/env.h"
#include "platform/status.h"
#include "screen/keys.h"

namespace dodu::screen {

inline constexpr int kScreenRows = 25;
inline constexpr int kScreenCols = 80;

// Attribute number: background * 16 + foreground, each 0..15.
using Attr = uint8_t;
inline constexpr Attr MakeAttr(int fg, int bg) { return static_cast<Attr>((bg & 15) * 16 + (fg & 15)); }

struct Cell {
  uint8_t ch = ' ';  // code page 850
  Attr attr = 0x07;
  bool operator==(const Cell&) const = default;
};

// The menu bar as the back end shows it: the top-level captions ("&" before the
// accelerator letter), which one is highlighted, and whether the menu is active
// (on a terminal of fewer than 28 rows the menu row is shown only while active).
struct MenuBarView {
  std::vector<std::string> captions;  // cp850
  int highlighted = -1;               // index into captions, -1 none
  bool active = false;
  bool operator==(const MenuBarView&) const = default;
};

// Terminal columns where each caption of the bar starts (one space before each
// caption, two between them). Shared by drawing and by mouse hit tests.
std::vector<int> MenuBarColumns(const MenuBarView& view);
// The index of the caption under terminal column col, or -1.
int MenuBarHit(const MenuBarView& view, int col);

// One part of the status bar. width 0 means the text's own length.
struct StatusPartView {
  std::string text;  // cp850
  int width = 0;
  bool operator==(const StatusPartView&) const = default;
};

// The status bar row as one 80-column text: parts separated by a space, each
// padded or cut to its width, the last one taking what is left.
std::string StatusBarText(const std::vector<StatusPartView>& parts, int cols = kScreenCols);

// What a message box showed and what it answered, for the record a test reads.
struct BoxRecord {
  int style = 0;
  std::string title;               // cp850
  std::vector<std::string> lines;  // cp850
  std::vector<std::string> buttons;
  std::string answer;              // the result text the caller got ("S", "N", "2", "")
  bool operator==(const BoxRecord&) const = default;
};

class Terminal {
 public:
  virtual ~Terminal() = default;

  // Physical size in rows and columns (for the refusal below 80 x 25).
  virtual int rows() const = 0;
  virtual int cols() const = 0;

  // Application area. Out-of-range cells are ignored.
  virtual void Put(int row, int col, Cell cell) = 0;
  virtual void SetCursor(int row, int col) = 0;
  virtual void ShowCursor(bool visible) = 0;

  virtual void SetCaption(std::string_view text) = 0;
  virtual void SetMenuBar(const MenuBarView& view) = 0;
  virtual void SetStatusBar(const std::vector<StatusPartView>& parts) = 0;

  // Makes everything put so far visible.
  virtual void Flush() = 0;

  // Waits up to timeout_ms (negative: without limit; 0: only looks) for a key.
  // nullopt when none arrived in time. The virtual terminal throws
  // ScriptExhausted when a waiting read finds its key script used up.
  virtual std::optional<Key> ReadKey(int timeout_ms) = 0;
  // Drops keys already typed but not read.
  virtual void DropPendingKeys() = 0;

  // A tone; a real terminal can only beep.
  virtual void Tone(int frequency_hz, int duration_ms) = 0;

  // Clipboard text in code page 850 (the back end converts at its edge).
  virtual std::string GetClipboard() = 0;
  virtual void SetClipboard(std::string_view text) = 0;

  // Runs an outside program with the terminal handed over to it (the screen is
  // restored afterwards). The virtual terminal records the call and succeeds.
  virtual Result<platform::SpawnResult> Launch(const std::vector<std::string>& argv,
                                               const platform::SpawnOptions& options) = 0;

  // Notes a message box the toolkit showed (drawn through Put like anything
  // else). Only the virtual terminal keeps it.
  virtual void RecordBox(const BoxRecord& box) { (void)box; }

  // The clock the toolkit's timers and waits run on.
  virtual platform::Clock& clock() = 0;
};

}  // namespace dodu::screen

#endif  // DODU_SCREEN_TERMINAL_H_
