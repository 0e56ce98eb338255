// The main menu of the system as data, and the walk that builds it in any menu
// toolkit.
//
// The tree (MainMenuTree) is a constant: every caption with its "&" accelerator
// mark, the option code and sub-choices an item runs, the separators, the
// headings of the print-selection menus and the enabled flags. A few captions
// carry a value of the terminal; they hold a placeholder that BuildMenu fills:
//
//   {TEMP_SAL}  the automatic-save interval, right-aligned in 2 characters
//   {XDRIVE}    the drive letter of the compressed backups
//   {NOMEIMP}   the terminal's printer name
//   {ITEM_6A} {ITEM_6B} {ITEM_6C} {ITEM_7}   print-selection captions (MONTA_ITENS)
//
// Captions in the tree are UTF-8 (as written in source). BuildMenu hands them to
// the MenuBuilder in code page 850, like every text inside the system.
//
// Entries are numbered in the order they are added, from 1001 upward, sub-menus
// and headings (items without an action) included, as the screen's menu bar
// numbers them; MenuCommands maps the number the toolkit reports back to the
// command to run.
#ifndef DODU_SHELL_MENU_TREE_H_
#define DODU_SHELL_MENU_TREE_H_

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace dodu::shell {

enum class ActionKind {
  kNone,          // headings: shown, never run
  kOption,        // a main-menu option code, run by MENUSELECT
  kColourEditor,  // the colour editor, sub1 = colour group 1..7
};

struct MenuCommand {
  ActionKind kind = ActionKind::kNone;
  int code = 0;  // option code (kOption)
  int sub1 = 0;  // sub-choices (0 is a valid one: "Buscar ano 2019" is 20 (0))
  int sub2 = 0;
  int subs = 0;  // how many sub-choices the item passes, 0..2
  bool operator==(const MenuCommand&) const = default;
};

enum class MenuNodeKind { kItem, kSubMenu, kSeparator, kHeading };

struct MenuNode {
  MenuNodeKind kind = MenuNodeKind::kItem;
  std::string caption;  // UTF-8, may hold a placeholder (see above)
  MenuCommand command;  // kItem only
  bool enabled = true;
  std::vector<MenuNode> children;  // kSubMenu only
};

// The menu bar of the main window, in order: "&Declaração", "&Opções", "&Selecão",
// "&Impressão", "&Envia p/ Receita", "&Cópia de Segurança", and the item "&Fim".
const std::vector<MenuNode>& MainMenuTree();

// Values shown in captions. The print-selection captions come from
// PrintCaptions (print_selection.h); the defaults here are its fixed texts.
struct MenuVariables {
  int temp_sal = 15;
  std::string xdrive = "C";
  std::string nomeimp;  // UTF-8
  std::string item_6a = "6a - Mostra as Impressoras ";
  std::string item_6b = "6b - Mostra o texto antes  ";
  std::string item_6c = "6c - Copia o texto impresso";
  std::string item_7 = "7  - Número de Vias ";
};

// The caption with its placeholders replaced (UTF-8 in, UTF-8 out).
std::string ExpandCaption(std::string_view caption, const MenuVariables& vars);

// What a menu toolkit implements to receive a menu. Calls come in tree order:
// SubMenu opens a pull-down (on the bar when none is open), EndMenu closes the
// innermost open one. MenuItem outside any SubMenu is an item of the bar itself.
// Separator follows the entry it comes after (never the first of a pull-down).
// Captions are code page 850.
class MenuBuilder {
 public:
  virtual ~MenuBuilder() = default;
  virtual void SubMenu(int id, const std::string& caption, bool enabled) = 0;
  virtual void MenuItem(int id, const std::string& caption, bool enabled) = 0;
  virtual void Separator() = 0;
  virtual void EndMenu() = 0;
};

// The commands of a built menu, by item number.
class MenuCommands {
 public:
  static constexpr int kFirstId = 1001;
  // The command of item `id`; a kNone command for sub-menus, headings and unknown numbers.
  MenuCommand Find(int id) const;
  size_t size() const { return by_id_.size(); }
  void Add(int id, const MenuCommand& command) { by_id_[id] = command; }

 private:
  std::map<int, MenuCommand> by_id_;
};

// Walks `tree` into `builder` and returns the item numbers it gave out.
MenuCommands BuildMenu(const std::vector<MenuNode>& tree, const MenuVariables& vars,
                       MenuBuilder& builder);

// The hot keys of the main window outside a declaration: Alt I opens a
// declaration, Alt T leaves the program (with confirmation).
inline constexpr int kAltIOption = 11;
inline constexpr int kAltTOption = 91;

// MENUCOMMAND(1): nothing is added; the bar stays empty.
inline MenuCommands BuildEmptyMenu() { return MenuCommands(); }

// "11", "16 (1, 2)", "colour editor 3", "-" for a heading: how a command is written
// in listings and test output.
std::string DescribeCommand(const MenuCommand& command);

// A readable listing of a built tree (UTF-8, one node per line, two blanks of
// indent per level): the form kept as the expected file of the menu test.
std::string MenuListing(const std::vector<MenuNode>& tree, const MenuVariables& vars);

}  // namespace dodu::shell

#endif  // DODU_SHELL_MENU_TREE_H_
