#include "shell/menu_bar.h"

namespace dodu::shell {

void LMenuBuilder::Check(int id) {
  const screen::LMenuItem* item = menu_.oItem();
  if (item == nullptr || item->nSequence != id) ++renumbered_;
}

void LMenuBuilder::SubMenu(int id, const std::string& caption, bool enabled) {
  menu_.subMenu(caption);
  Check(id);
  if (!enabled) {
    if (screen::LMenuItem* item = menu_.oItem()) item->disable();
  }
}

void LMenuBuilder::MenuItem(int id, const std::string& caption, bool enabled) {
  menu_.menuItem(
      caption, [choose = choose_, id] { choose(id); }, enabled);
  Check(id);
}

MenuCommands InstallMainMenu(screen::LDialog& window, Dispatcher& dispatcher,
                             const MenuVariables& vars, const std::vector<MenuNode>& tree) {
  // The actions look their command up when chosen, after the walk has numbered them.
  auto commands = std::make_shared<MenuCommands>();
  screen::LMenu& menu = window.newMenu();
  LMenuBuilder builder(menu,
                       [commands, &dispatcher](int id) { dispatcher.Perform(commands->Find(id)); });
  *commands = BuildMenu(tree, vars, builder);
  menu.create();
  return *commands;
}

}  // namespace dodu::shell
