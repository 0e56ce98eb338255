#include "screen/virtual_terminal.h"

#include <stdexcept>

#include "screen/internal/cp850.h"

namespace dodu::screen {

ManualClock::ManualClock(platform::CivilTime start) : start_(start) {}

platform::CivilTime ManualClock::Now() const {
  // Whole seconds added to the start time; a test never crosses midnight.
  platform::CivilTime t = start_;
  int64_t secs = t.hour * 3600 + t.minute * 60 + t.second + millis_ / 1000;
  t.day += static_cast<int>(secs / 86400);
  secs %= 86400;
  t.hour = static_cast<int>(secs / 3600);
  t.minute = static_cast<int>(secs / 60 % 60);
  t.second = static_cast<int>(secs % 60);
  return t;
}

VirtualTerminal::VirtualTerminal()
    : own_clock_(std::make_unique<ManualClock>()), clock_(own_clock_.get()), rows_(28), cols_(80) {}

VirtualTerminal::VirtualTerminal(platform::Clock& clock, int rows, int cols)
    : clock_(&clock), rows_(rows), cols_(cols) {}

void VirtualTerminal::Feed(std::string_view script) {
  std::string text;
  auto flush_text = [&] {
    FeedBytes(internal::Utf8ToCp850(text));
    text.clear();
  };
  size_t i = 0;
  while (i < script.size()) {
    char c = script[i];
    if (c == '{' && i + 1 < script.size() && script[i + 1] == '{') {
      text += '{';
      i += 2;
      continue;
    }
    if (c != '{') {
      text += c;
      ++i;
      continue;
    }
    size_t close = script.find('}', i);
    if (close == std::string_view::npos) throw std::invalid_argument("key script: unclosed {");
    flush_text();
    std::string_view name = script.substr(i + 1, close - i - 1);
    i = close + 1;
    if (name.substr(0, 5) == "Wait " || name.substr(0, 5) == "wait ") {
      Entry e;
      e.is_wait = true;
      e.wait_ms = std::stoll(std::string(name.substr(5)));
      script_.push_back(e);
      continue;
    }
    std::optional<Key> key = ParseKey(name);
    if (!key) throw std::invalid_argument("key script: unknown key {" + std::string(name) + "}");
    FeedKey(*key);
  }
  flush_text();
}

void VirtualTerminal::FeedKey(Key key) {
  Entry e;
  e.key = key;
  script_.push_back(e);
}

void VirtualTerminal::FeedBytes(std::string_view cp850) {
  for (char c : cp850) FeedKey(Key::Char(static_cast<uint8_t>(c)));
}

size_t VirtualTerminal::keys_left() const {
  size_t n = 0;
  for (const Entry& e : script_) n += e.is_wait ? 0 : 1;
  return n;
}

std::string VirtualTerminal::Row(int row) const {
  std::string s;
  for (const Cell& c : cells_[row]) s += static_cast<char>(c.ch);
  return s;
}

std::string VirtualTerminal::RowUtf8(int row) const {
  std::string s = Row(row);
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return internal::Cp850ToUtf8(s);
}

std::string VirtualTerminal::Text(int row, int col, int len) const {
  return Row(row).substr(col, len);
}

std::vector<Attr> VirtualTerminal::Attrs(int row, int col, int len) const {
  std::vector<Attr> out;
  for (int c = col; c < col + len && c < kScreenCols; ++c) out.push_back(cells_[row][c].attr);
  return out;
}

std::string VirtualTerminal::DumpUtf8() const {
  std::string out;
  for (int r = 0; r < kScreenRows; ++r) {
    out += internal::Cp850ToUtf8(Row(r));
    out += '\n';
  }
  return out;
}

std::string VirtualTerminal::DumpAttrs() const {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (int r = 0; r < kScreenRows; ++r) {
    for (const Cell& c : cells_[r]) {
      out += kHex[c.attr >> 4];
      out += kHex[c.attr & 15];
    }
    out += '\n';
  }
  return out;
}

void VirtualTerminal::Put(int row, int col, Cell cell) {
  if (row < 0 || row >= kScreenRows || col < 0 || col >= kScreenCols) return;
  cells_[row][col] = cell;
}

void VirtualTerminal::SetCursor(int row, int col) {
  cursor_row_ = row;
  cursor_col_ = col;
}

std::optional<Key> VirtualTerminal::ReadKey(int timeout_ms) {
  while (true) {
    if (script_.empty()) {
      if (timeout_ms == 0) return std::nullopt;
      throw ScriptExhausted();
    }
    Entry& e = script_.front();
    if (!e.is_wait) {
      Key k = e.key;
      script_.pop_front();
      return k;
    }
    if (timeout_ms == 0) return std::nullopt;
    if (timeout_ms < 0 || e.wait_ms <= timeout_ms) {
      clock_->SleepFor(std::chrono::milliseconds(e.wait_ms));
      int64_t waited = e.wait_ms;
      script_.pop_front();
      if (timeout_ms < 0) continue;
      // The wait ended before the timeout: the rest of the timeout goes to the next entry.
      (void)waited;
      return std::nullopt;
    }
    clock_->SleepFor(std::chrono::milliseconds(timeout_ms));
    e.wait_ms -= timeout_ms;
    return std::nullopt;
  }
}

void VirtualTerminal::DropPendingKeys() {
  // Keys in the script are what the operator types next, not keys already
  // typed; nothing is pending in between.
}

void VirtualTerminal::Tone(int frequency_hz, int duration_ms) {
  tones_.push_back({frequency_hz, duration_ms});
}

void VirtualTerminal::SetClipboard(std::string_view text) {
  clipboard_ = std::string(text);
  clipboard_sets_.push_back(clipboard_);
}

Result<platform::SpawnResult> VirtualTerminal::Launch(const std::vector<std::string>& argv,
                                                      const platform::SpawnOptions& options) {
  launches_.push_back({argv, options.wait});
  platform::SpawnResult r;
  r.pid = 1000 + static_cast<int>(launches_.size());
  r.exit_status = launch_exit_;
  return r;
}

}  // namespace dodu::screen
