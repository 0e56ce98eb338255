// The toolkit's native windows: the main window (LWindowMain, always at the
// bottom of the stack) and the child dialogs LDLGSHOW opens over it. The last
// one opened is the active one: it gets the keys, its status bar and menu are
// the ones shown, and closing it gives the focus back to the one before.
#ifndef DODU_SCREEN_DIALOG_H_
#define DODU_SCREEN_DIALOG_H_

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "screen/keys.h"
#include "screen/toolkit.h"

namespace dodu::screen {

class LMenu;
class LStatusBar;

// Settings every window starts from (class-wide in the toolkit's terms).
struct DialogDefaults {
  std::string csColorWin = "N/W";
  std::string csColorGet = "N/W*";
  std::string csColorGetActive = "W*/B";
  int nsValidRead = 0;
};

class LDialog {
 public:
  LDialog(Toolkit& tk, int top, int left, int bottom, int right, std::string title, bool main);
  ~LDialog();

  std::string ClassType = "WINDOW";
  std::string cTitle;
  int nTop, nLeft, nBottom, nRight;
  bool lExitEsc = true;
  bool lGetUpperCase = false;
  bool lBoxClose = false;
  std::string cColor;
  int nExit = 0;  // set by end() / cancel(): 1 ended, 2 cancelled, 3 Esc

  bool is_main() const { return main_; }
  bool closed() const { return closed_; }
  // True while readmodal runs (close() is refused meanwhile).
  bool reading() const { return reading_; }

  // Keys bound while the window is open; the earlier binding comes back on close().
  void setKey(Key key, Toolkit::KeyAction action);

  // activate(): waits for keys in one-second steps, running bound keys and menu
  // events, until end()/cancel() sets the exit state or Esc when lExitEsc.
  // Returns nExit.
  int activate();
  void end() { nExit = 1; }
  void cancel() { nExit = 2; }

  // readmodal(run): the form runner's hook. Marks the window as reading input
  // (close() is refused meanwhile) and runs `run`, which reads the fields with
  // the colours csColorGet / csColorGetActive and the rules of lGetUpperCase,
  // nsValidRead and lExitEsc; returns what it returns.
  template <typename Fn>
  auto readmodal(Fn&& run) -> decltype(run()) {
    struct Guard {
      bool& flag;
      ~Guard() { flag = false; }
    } guard{reading_};
    reading_ = true;
    return run();
  }
  DialogDefaults& defaults() { return defaults_; }

  // close(): refused with a diagnostic box when the window is already closed,
  // is the main window, is not the active one, or is reading input. Otherwise
  // restores the screen under it, the colour, the cursor and the key bindings,
  // drops pending keys and gives the focus back. True when it closed.
  bool close();

  LMenu* menu() { return menu_.get(); }
  // LMenu():new(window): a new, empty menu owned by this window (replacing any
  // earlier one); LMenu::create() then shows it.
  LMenu& newMenu();
  LStatusBar* status_bar() { return status_bar_.get(); }
  void set_status_bar(std::unique_ptr<LStatusBar> bar);

 private:
  friend class Toolkit;
  friend class LMenu;
  Toolkit& tk_;
  bool main_;
  bool closed_ = false;
  bool reading_ = false;
  DialogDefaults defaults_;
  SavedRegion under_;
  bool cursor_was_visible_ = false;
  std::vector<std::pair<Key, Toolkit::KeyAction>> replaced_keys_;
  std::unique_ptr<LMenu> menu_;
  std::unique_ptr<LStatusBar> status_bar_;
};

// A child dialog (LDLGSHOW) closed when the scope ends.
class ScopedDialog {
 public:
  ScopedDialog(Toolkit& tk, int top, int left, int bottom, int right, std::string_view title)
      : d_(tk.LDLGSHOW(top, left, bottom, right, title)) {}
  ~ScopedDialog() {
    if (d_ != nullptr) d_->close();
  }
  ScopedDialog(const ScopedDialog&) = delete;
  ScopedDialog& operator=(const ScopedDialog&) = delete;
  LDialog* get() const { return d_; }

 private:
  LDialog* d_;
};

}  // namespace dodu::screen

#endif  // DODU_SCREEN_DIALOG_H_
