#include "screen/terminal.h"

#include <algorithm>

namespace dodu::screen {
namespace {

// Caption length as shown: the "&" accelerator marks take no cell.
int ShownLength(const std::string& caption) {
  return static_cast<int>(std::count_if(caption.begin(), caption.end(), [](char c) { return c != '&'; }));
}

}  // namespace

std::vector<int> MenuBarColumns(const MenuBarView& view) {
  std::vector<int> cols;
  int col = 1;
  for (const std::string& c : view.captions) {
    cols.push_back(col);
    col += ShownLength(c) + 2;
  }
  return cols;
}

int MenuBarHit(const MenuBarView& view, int col) {
  std::vector<int> cols = MenuBarColumns(view);
  for (size_t i = 0; i < cols.size(); ++i) {
    // The blank before a caption belongs to it, so a click is never lost between two.
    if (col >= cols[i] - 1 && col < cols[i] + ShownLength(view.captions[i]) + 1) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

std::string StatusBarText(const std::vector<StatusPartView>& parts, int cols) {
  std::string out;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) out += ' ';
    bool last = i + 1 == parts.size();
    int width = parts[i].width > 0 ? parts[i].width : static_cast<int>(parts[i].text.size());
    std::string t = parts[i].text;
    if (!last) {
      t.resize(width, ' ');
    }
    out += t;
  }
  out.resize(cols, ' ');
  return out;
}

}  // namespace dodu::screen
