// The real terminal, over ncursesw (the only file that includes the terminal
// library is ncurses_terminal.cc). UTF-8 locale; code page 850 is converted at
// this edge; colours are the 16 attribute colours with blinking off (a bright
// background where the terminal has 16 colours), the palette's red, white and
// blue set where the terminal lets colours be changed; raw mode, so Ctrl C and
// Ctrl V are keys; keys decoded from the raw bytes by DecodeKey (short ESC
// delay); SGR mouse reports; xterm's modifyOtherKeys asked for, so Ctrl Enter
// can be told from Enter where the terminal supports it. The rows are laid out
// by ComputeLayout (screen/layout.h).
//
// The terminal is given back (ncurses ended, mouse and key modes reset, the
// palette restored) by the destructor, and also on SIGTERM, SIGHUP and SIGQUIT.
#ifndef DODU_SCREEN_NCURSES_TERMINAL_H_
#define DODU_SCREEN_NCURSES_TERMINAL_H_

#include <memory>
#include <string>

#include "platform/env.h"
#include "screen/terminal.h"

namespace dodu::screen {

class NcursesTerminal : public Terminal {
 public:
  // Takes over the terminal on standard input/output. kInvalid (with the
  // message for the operator, terminal already given back) when it is smaller
  // than 80 x 25 or is not a terminal.
  static Result<std::unique_ptr<NcursesTerminal>> Open(platform::Env& env);
  ~NcursesTerminal() override;

  // The raw bytes of the last key read, shown by the key probe ("1b 5b 41").
  std::string last_raw_bytes() const;

  int rows() const override;
  int cols() const override;
  void Put(int row, int col, Cell cell) override;
  void SetCursor(int row, int col) override;
  void ShowCursor(bool visible) override;
  void SetCaption(std::string_view text) override;
  void SetMenuBar(const MenuBarView& view) override;
  void SetStatusBar(const std::vector<StatusPartView>& parts) override;
  void Flush() override;
  std::optional<Key> ReadKey(int timeout_ms) override;
  void DropPendingKeys() override;
  void Tone(int frequency_hz, int duration_ms) override;
  std::string GetClipboard() override;
  void SetClipboard(std::string_view text) override;
  Result<platform::SpawnResult> Launch(const std::vector<std::string>& argv,
                                       const platform::SpawnOptions& options) override;
  platform::Clock& clock() override;

 private:
  struct Impl;
  explicit NcursesTerminal(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace dodu::screen

#endif  // DODU_SCREEN_NCURSES_TERMINAL_H_
