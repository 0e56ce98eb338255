// Where the rows of the application go on a terminal of a given size.
//
//   28 rows or more: caption (row 0), menu bar (row 1), the 25 x 80 application
//                    area (rows 2..26), status bar (row 27).
//   27 rows: caption (row 0; the menu bar takes its place while the menu is
//            active), application rows 1..25, status bar row 26.
//   26 rows: application rows 0..24, status bar row 25; the menu bar covers
//            application row 0 while the menu is active; no caption.
//   25 rows: application rows 0..24; the menu bar covers row 0 while active;
//            the status bar shares row 24 with window 0 by this rule: whatever
//            the application has on row 24 wins when any cell of it is not a
//            blank, otherwise the status bar shows there.
//   fewer than 25 rows or 80 columns: the program refuses to start.
// The application area is at column 0; wider terminals leave the rest blank.
#ifndef DODU_SCREEN_LAYOUT_H_
#define DODU_SCREEN_LAYOUT_H_

#include <string>

namespace dodu::screen {

struct Layout {
  bool fits = false;
  int caption_row = -1;  // -1: no caption
  int menu_row = -1;     // terminal row of the menu bar (-1 never)
  bool menu_only_while_active = false;
  int app_top = 0;       // terminal row of application row 0
  int status_row = -1;   // terminal row of the status bar
  bool status_shares_app_row = false;  // 25 rows: status on application row 24 by the rule
};

Layout ComputeLayout(int rows, int cols);

// The message shown when the terminal is too small (UTF-8, for stderr).
std::string TooSmallMessage(int rows, int cols);

}  // namespace dodu::screen

#endif  // DODU_SCREEN_LAYOUT_H_
