// A window's status bar: parts in a row, each a text or a function whose value
// is taken at each refresh (the toolkit's one-second timer refreshes them).
// Part 1 is the status line MENS kind 0 writes.
#ifndef DODU_SCREEN_STATUS_BAR_H_
#define DODU_SCREEN_STATUS_BAR_H_

#include <functional>
#include <string>
#include <vector>

#include "screen/terminal.h"

namespace dodu::screen {

class LSBPart {
 public:
  std::function<std::string()> fn;  // empty: a plain text
  std::string text;
  std::string cToolTip;
  int nWidth = 0;  // 0: the text's length
  int nIndex = 0;  // 1-based
  void setText(std::string t) {
    text = std::move(t);
    fn = nullptr;
  }
  // The text shown now.
  std::string cText() const { return fn ? fn() : text; }
  bool dynamic() const { return static_cast<bool>(fn); }
};

class LStatusBar {
 public:
  std::string ClassType = "STATUSBAR";
  std::vector<LSBPart> aPart;

  LSBPart& partAdd(std::string text, std::string tooltip = {}, int width = 0);
  LSBPart& partAdd(std::function<std::string()> fn, int width);
  bool has_dynamic_parts() const;
  std::vector<StatusPartView> view() const;
  void reset() { aPart.clear(); }
};

}  // namespace dodu::screen

#endif  // DODU_SCREEN_STATUS_BAR_H_
