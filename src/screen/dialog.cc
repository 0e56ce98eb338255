#include "screen/dialog.h"

#include "screen/menu.h"
#include "screen/status_bar.h"

namespace dodu::screen {

LDialog::LDialog(Toolkit& tk, int top, int left, int bottom, int right, std::string title, bool main)
    : cTitle(std::move(title)), nTop(top), nLeft(left), nBottom(bottom), nRight(right), tk_(tk), main_(main) {}

LDialog::~LDialog() = default;

void LDialog::setKey(Key key, Toolkit::KeyAction action) {
  Toolkit::KeyAction old = tk_.BindKey(key, std::move(action));
  // Only the first replacement is remembered: that is the binding from before the window.
  for (const auto& [k, a] : replaced_keys_) {
    if (k == key) return;
  }
  replaced_keys_.emplace_back(key, std::move(old));
}

int LDialog::activate() {
  nExit = 0;
  while (nExit == 0 && !closed_) {
    std::optional<Key> key = tk_.ReadKey(1000);
    while (tk_.menu_request()) tk_.RunMenuRequest();
    if (!key) continue;
    if (key->type == KeyType::kEsc && lExitEsc) nExit = 3;
  }
  return nExit;
}

bool LDialog::close() { return tk_.close_dialog(*this); }

void LDialog::set_status_bar(std::unique_ptr<LStatusBar> bar) { status_bar_ = std::move(bar); }

}  // namespace dodu::screen
