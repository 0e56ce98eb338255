// The main menu tree (menu_tree.h) built into a window's pull-down menu bar
// (screen/menu.h). Choosing an item runs its command through the dispatcher;
// sub-menus and headings run nothing.
#ifndef DODU_SHELL_MENU_BAR_H_
#define DODU_SHELL_MENU_BAR_H_

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "screen/dialog.h"
#include "screen/menu.h"
#include "shell/dispatcher.h"
#include "shell/menu_tree.h"

namespace dodu::shell {

// A MenuBuilder over an LMenu being built. `choose` receives the tree's number
// of the item chosen.
class LMenuBuilder : public MenuBuilder {
 public:
  LMenuBuilder(screen::LMenu& menu, std::function<void(int id)> choose)
      : menu_(menu), choose_(std::move(choose)) {}
  void SubMenu(int id, const std::string& caption, bool enabled) override;
  void MenuItem(int id, const std::string& caption, bool enabled) override;
  void Separator() override { menu_.separator(); }
  void EndMenu() override { menu_.endMenu(); }

  // How many entries the LMenu numbered differently from the tree (none while
  // both count the same way; the item's action uses the tree's number anyway).
  int renumbered() const { return renumbered_; }

 private:
  void Check(int id);
  screen::LMenu& menu_;
  std::function<void(int)> choose_;
  int renumbered_ = 0;
};

// MENUCOMMAND(0): a new menu for `window` with the whole main menu, the
// captions filled from the dispatcher's state; shown at once. Returns the
// commands by item number.
MenuCommands InstallMainMenu(screen::LDialog& window, Dispatcher& dispatcher,
                             const MenuVariables& vars,
                             const std::vector<MenuNode>& tree = MainMenuTree());

}  // namespace dodu::shell

#endif  // DODU_SHELL_MENU_BAR_H_
