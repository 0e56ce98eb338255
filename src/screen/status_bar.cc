#include "screen/status_bar.h"

namespace dodu::screen {

LSBPart& LStatusBar::partAdd(std::string text, std::string tooltip, int width) {
  LSBPart p;
  p.text = std::move(text);
  p.cToolTip = std::move(tooltip);
  p.nWidth = width;
  p.nIndex = static_cast<int>(aPart.size()) + 1;
  aPart.push_back(std::move(p));
  return aPart.back();
}

LSBPart& LStatusBar::partAdd(std::function<std::string()> fn, int width) {
  LSBPart& p = partAdd(std::string(), {}, width);
  p.fn = std::move(fn);
  return p;
}

bool LStatusBar::has_dynamic_parts() const {
  for (const LSBPart& p : aPart) {
    if (p.dynamic()) return true;
  }
  return false;
}

std::vector<StatusPartView> LStatusBar::view() const {
  std::vector<StatusPartView> v;
  for (const LSBPart& p : aPart) v.push_back({p.cText(), p.nWidth});
  return v;
}

}  // namespace dodu::screen
