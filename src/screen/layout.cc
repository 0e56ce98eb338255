#include "screen/layout.h"

namespace dodu::screen {

Layout ComputeLayout(int rows, int cols) {
  Layout l;
  if (rows < 25 || cols < 80) return l;
  l.fits = true;
  if (rows >= 28) {
    l.caption_row = 0;
    l.menu_row = 1;
    l.app_top = 2;
    l.status_row = 27;
  } else if (rows == 27) {
    l.caption_row = 0;
    l.menu_row = 0;
    l.menu_only_while_active = true;
    l.app_top = 1;
    l.status_row = 26;
  } else if (rows == 26) {
    l.menu_row = 0;
    l.menu_only_while_active = true;
    l.app_top = 0;
    l.status_row = 25;
  } else {
    l.menu_row = 0;
    l.menu_only_while_active = true;
    l.app_top = 0;
    l.status_row = 24;
    l.status_shares_app_row = true;
  }
  return l;
}

std::string TooSmallMessage(int rows, int cols) {
  return "dodu2020: the terminal has " + std::to_string(cols) + " columns and " +
         std::to_string(rows) +
         " rows; it needs at least 80 columns and 25 rows (28 rows show the caption, menu "
         "and status bars apart). Enlarge the window and start again.";
}

}  // namespace dodu::screen
