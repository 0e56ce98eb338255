// The pull-down menu bar. Built in order — subMenu(caption) ... menuItem(caption,
// action) ... separator() ... endMenu() — then create() attaches it to its
// window. Every item, sub-menus included, gets the identifier 1001, 1002, ... in
// the order added; event(id) runs the action of the item with that identifier,
// searching the sub-menus. A "&" in a caption marks its accelerator letter.
#ifndef DODU_SCREEN_MENU_H_
#define DODU_SCREEN_MENU_H_

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace dodu::screen {

class LDialog;
class LMenu;

class LMenuItem {
 public:
  using Action = std::function<void()>;
  int nSequence = 0;        // identifier
  std::string cPrompt;      // cp850, "&" before the accelerator letter
  Action bAction;           // empty for a sub-menu
  std::vector<LMenuItem> items;  // sub-items when this is a sub-menu
  bool lSeparator = false;  // a separator follows it
  bool submenu = false;

  void enable() { enabled_ = true; }
  void disable() { enabled_ = false; }
  bool lEnable() const { return enabled_; }
  bool lSubMenu() const { return submenu; }
  // The accelerator letter (upper case), 0 when none.
  char accelerator() const;
  // The caption without "&".
  std::string shown() const;
  // Runs the action (nothing for a sub-menu or a disabled item); true when it ran.
  bool action();

 private:
  bool enabled_ = true;
};

class LMenu {
 public:
  explicit LMenu(LDialog& window) : oParent(&window) {}
  std::string ClassType = "MENU";
  LDialog* oParent;
  int nCount = 1000;

  LMenu& subMenu(std::string caption);
  LMenu& menuItem(std::string caption, LMenuItem::Action action, bool enabled = true);
  LMenu& separator();
  LMenu& endMenu();
  // Shows the built menu on its window's menu bar.
  LMenu& create();

  // Runs the action of the item with that identifier; false when none (or disabled).
  bool event(int id);
  const std::vector<LMenuItem>& aItem() const { return items_; }
  std::vector<LMenuItem>& aItem() { return items_; }
  LMenuItem* find(int id);
  // The last item added, nullptr before the first.
  LMenuItem* oItem() { return find(last_id_); }

 private:
  std::vector<LMenuItem>& current();
  std::vector<LMenuItem> items_;
  std::vector<size_t> path_;  // open sub-menus while building
  int last_id_ = 0;
};

}  // namespace dodu::screen

#endif  // DODU_SCREEN_MENU_H_
