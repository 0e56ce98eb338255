// The in-memory terminal screens are tested on. It keeps the 25 x 80 cells, the
// caption, menu bar, status bar and cursor for reading back, feeds keys from a
// script, and records every message box, tone, clipboard use and outside
// program. When a read that would wait finds the script used up it throws
// ScriptExhausted, so a test never hangs. Time passes only on its clock
// (a ManualClock unless the test passes another), through "{Wait ms}" entries of
// the script.
//
// Key script syntax (Feed): plain text is typed character by character (UTF-8
// in the source is converted to code page 850; an unmappable character is a
// programming error), "{Name}" is a key by its symbolic name ("{F2}",
// "{Alt W}", "{Ctrl Enter}", "{Click 3,10}", "{Menu 1003}"), "{Wait 1000}"
// lets 1000 ms of clock time pass without a key, "{{" types "{".
#ifndef DODU_SCREEN_VIRTUAL_TERMINAL_H_
#define DODU_SCREEN_VIRTUAL_TERMINAL_H_

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "screen/terminal.h"

namespace dodu::screen {

// Thrown by a waiting read when the key script is used up.
class ScriptExhausted : public std::runtime_error {
 public:
  ScriptExhausted() : std::runtime_error("key script used up while waiting for a key") {}
};

// A clock that moves only when told (SleepFor advances it).
class ManualClock : public platform::Clock {
 public:
  explicit ManualClock(platform::CivilTime start = {2020, 6, 30, 9, 0, 0});
  platform::CivilTime Now() const override;
  void SleepFor(std::chrono::milliseconds d) override { Advance(d.count()); }
  int64_t MonotonicMillis() const override { return millis_; }
  void Advance(int64_t ms) { millis_ += ms; }

 private:
  platform::CivilTime start_;
  int64_t millis_ = 0;
};

class VirtualTerminal : public Terminal {
 public:
  // rows x cols is the physical size it reports (default 28 x 80).
  VirtualTerminal();
  explicit VirtualTerminal(platform::Clock& clock, int rows = 28, int cols = 80);

  // --- script ---
  // Appends to the key script (syntax above). Throws std::invalid_argument on an
  // unknown key name.
  void Feed(std::string_view script);
  void FeedKey(Key key);
  // Bytes typed as they are (code page 850), no braces interpreted.
  void FeedBytes(std::string_view cp850);
  bool script_empty() const { return script_.empty(); }
  size_t keys_left() const;

  // --- reading back ---
  Cell At(int row, int col) const { return cells_[row][col]; }
  // Row text (cp850 bytes, 80 characters).
  std::string Row(int row) const;
  // Row text converted to UTF-8, right-trimmed; handy in assertions.
  std::string RowUtf8(int row) const;
  // A rectangle of attributes/characters: columns [col, col+len).
  std::string Text(int row, int col, int len) const;
  std::vector<Attr> Attrs(int row, int col, int len) const;
  // The whole application area, rows separated by '\n', as UTF-8 (for golden
  // files), and a second block of attribute numbers in hexadecimal.
  std::string DumpUtf8() const;
  std::string DumpAttrs() const;
  int cursor_row() const { return cursor_row_; }
  int cursor_col() const { return cursor_col_; }
  bool cursor_visible() const { return cursor_visible_; }
  const std::string& caption() const { return caption_; }
  const MenuBarView& menu_bar() const { return menu_; }
  const std::vector<StatusPartView>& status_parts() const { return status_; }
  std::string status_text() const { return StatusBarText(status_); }
  // Text of status part i (0-based), "" when absent.
  std::string status_part(size_t i) const { return i < status_.size() ? status_[i].text : ""; }
  int flushes() const { return flushes_; }

  struct ToneRecord {
    int frequency_hz;
    int duration_ms;
    bool operator==(const ToneRecord&) const = default;
  };
  struct LaunchRecord {
    std::vector<std::string> argv;
    bool wait;
  };
  const std::vector<BoxRecord>& boxes() const { return boxes_; }
  const std::vector<ToneRecord>& tones() const { return tones_; }
  const std::vector<LaunchRecord>& launches() const { return launches_; }
  // Every text stored into the clipboard, in order.
  const std::vector<std::string>& clipboard_sets() const { return clipboard_sets_; }
  void set_clipboard_text(std::string cp850) { clipboard_ = std::move(cp850); }
  // The exit status the next launches report.
  void set_launch_exit_status(int status) { launch_exit_ = status; }
  platform::Clock& clock() override { return *clock_; }

  // --- Terminal ---
  int rows() const override { return rows_; }
  int cols() const override { return cols_; }
  void Put(int row, int col, Cell cell) override;
  void SetCursor(int row, int col) override;
  void ShowCursor(bool visible) override { cursor_visible_ = visible; }
  void SetCaption(std::string_view text) override { caption_ = std::string(text); }
  void SetMenuBar(const MenuBarView& view) override { menu_ = view; }
  void SetStatusBar(const std::vector<StatusPartView>& parts) override { status_ = parts; }
  void Flush() override { ++flushes_; }
  std::optional<Key> ReadKey(int timeout_ms) override;
  void DropPendingKeys() override;
  void Tone(int frequency_hz, int duration_ms) override;
  std::string GetClipboard() override { return clipboard_; }
  void SetClipboard(std::string_view text) override;
  Result<platform::SpawnResult> Launch(const std::vector<std::string>& argv,
                                       const platform::SpawnOptions& options) override;
  void RecordBox(const BoxRecord& box) override { boxes_.push_back(box); }

 private:
  struct Entry {
    bool is_wait = false;
    Key key;
    int64_t wait_ms = 0;
  };

  std::unique_ptr<ManualClock> own_clock_;
  platform::Clock* clock_;
  int rows_, cols_;
  std::array<std::array<Cell, kScreenCols>, kScreenRows> cells_{};
  std::deque<Entry> script_;
  int cursor_row_ = 0, cursor_col_ = 0;
  bool cursor_visible_ = false;
  std::string caption_;
  MenuBarView menu_;
  std::vector<StatusPartView> status_;
  int flushes_ = 0;
  std::vector<BoxRecord> boxes_;
  std::vector<ToneRecord> tones_;
  std::vector<LaunchRecord> launches_;
  std::string clipboard_;
  std::vector<std::string> clipboard_sets_;
  int launch_exit_ = 0;
};

}  // namespace dodu::screen

#endif  // DODU_SCREEN_VIRTUAL_TERMINAL_H_
