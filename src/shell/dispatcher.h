// MENUSELECT: performs a main-menu option code.
//
// Every option code of the main menu is in OptionTable() with what the dispatcher
// does around its action: open the settings tables (codes 21 to 36), mark a
// declaration as open while it runs (11, 12), check the hand-over guard AVISOSRF
// first (61, 62, 63), show the information box that precedes the transfer (22).
// The actions themselves live in an ActionRegistry keyed by option code (and,
// where one code mixes finished and unfinished sub-choices, by code and first
// sub-choice). The dispatcher registers the short actions it performs itself;
// everything else says "Opção não disponível nesta versão" until the code that
// builds it registers its action. Registering replaces; the table stays as it is.
//
// The run state the original kept in globals (OPCAO_1, LESTOUNADECL, the print
// selection...) is the explicit MainMenuState the dispatcher is given.
#ifndef DODU_SHELL_DISPATCHER_H_
#define DODU_SHELL_DISPATCHER_H_

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/date.h"
#include "platform/env.h"
#include "platform/message_sink.h"
#include "shell/dispatcher_ports.h"
#include "shell/menu_tree.h"
#include "shell/print_selection.h"
#include "shell/settings_defaults.h"
#include "shell/settings_defaults_terminal.h"

namespace dodu::shell {

struct MainMenuState {
  int opcao_1 = 1;            // option code of the last main-menu action
  bool lestounadecl = false;  // a declaration is open: main-menu actions are ignored
  bool lbuscacep = true;      // internet postcode look-up, for this run only
  std::string locirpf;        // official program's folder with separator; "" = no hand-over
  std::string opcirpf = "J";  // declaration menu: "J" pull-down, "N" old in-screen bar
  int opcfim = 0;             // after closing a declaration: 1 main menu, 0 stay in selection
  int opttran = 0;            // automatic hand-over: 0 never, 1 always, 2 status SOESTE only
  int soeste = 9;
  int env_stat = 2;           // set a status after the hand-over (1) or not (0)
  int opc_tran = 7;           // that status
  int como_sal = 2, temp_sal = 15, temp_des = 4;
  std::string processa = "N";  // "S" 32-bit compressor, "N" 64-bit
  std::string progcomp = "S";
  std::string xdrive = "C";
  std::string rotaback;
  core::Date ultback;
  PrintSelection print;
  PrintCaptions captions;  // rebuilt by MontaItens after every change of the selection
};

// The run state at the start: the terminal's settings and the installation's
// defaults as read (the print captions already built).
MainMenuState MainMenuStateFrom(const TerminalSettings& terminal,
                                const InstallationSettings& installation);
// Copies what the menu may have changed back into the terminal's settings, before
// they are written on leaving (ExitFields).
void StoreBack(const MainMenuState& state, TerminalSettings& terminal);

// The values the menu captions show, from the state.
MenuVariables MenuVariablesOf(const MainMenuState& state);

// What an action is given. `dispatcher` lets an action run another option (the
// backup reminder runs 71 (1, 2)).
class Dispatcher;
struct ActionContext {
  MainMenuState& state;
  platform::MessageSink& sink;
  Prompts& prompts;
  SettingsTables* tables;  // may be null: nothing is stored
  Dispatcher& dispatcher;
  int code = 0;
  int sub1 = 0;
  int sub2 = 0;
};

// true when the action did what it was asked (the dispatcher's follow-up steps,
// such as recording the date of a backup, depend on it).
using Action = std::function<bool(ActionContext&)>;

class ActionRegistry {
 public:
  // The action of every sub-choice of `code` without an action of its own.
  void Register(int code, Action action);
  // The action of one first sub-choice; wins over the code's action.
  void Register(int code, int sub1, Action action);
  void RegisterColourEditor(Action action) { colour_editor_ = std::move(action); }

  // nullptr when nothing is registered (the option is not available).
  const Action* Find(int code, int sub1) const;
  const Action* colour_editor() const { return colour_editor_ ? &colour_editor_ : nullptr; }

 private:
  std::map<std::pair<int, int>, Action> by_sub_;
  std::map<int, Action> by_code_;
  Action colour_editor_;
};

struct OptionInfo {
  int code;
  const char* title;      // UTF-8, the title of its "not available" box
  bool settings_tables;   // tables 43 and 42 open around the action
  bool declaration_open;  // LESTOUNADECL true while it runs
  bool handover_guard;    // AVISOSRF first
  bool via_entrada;       // its action is ENTRADA: taxpayer selection, then DECLARA
};

// Every option code of the main menu, ascending.
const std::vector<OptionInfo>& OptionTable();
const OptionInfo* FindOption(int code);

// The years option 20 reads for a sub-choice: 0..4 one year "2019".."2015", 5 all
// five from 2019 down, 6 none (the history browser). Empty for anything else.
std::vector<std::string> HistoryYears(int sub1);

class Dispatcher {
 public:
  // All references must outlive the dispatcher. `tables` may be null.
  Dispatcher(MainMenuState& state, platform::MessageSink& sink, Prompts& prompts,
             SettingsTables* tables, const platform::Clock& clock);

  ActionRegistry& registry() { return registry_; }

  // MENUSELECT(code, sub1, sub2). Returns what the action returned; false also when
  // the code was ignored (a declaration is open, or the code is unknown) or is not
  // available. OPCAO_1 takes the code of every action that is not ignored.
  bool MenuSelect(int code, int sub1 = 0, int sub2 = 0);
  // A menu item's command: an option through MenuSelect, or the colour editor.
  bool Perform(const MenuCommand& command);

  // AVISOSRF: false (after the error box) when there is no official-program folder;
  // true after the warning not to hand over while that program is open.
  bool Avisosrf();

  // The "not available in this version" box.
  void NotAvailable(const std::string& title_utf8);

 private:
  void RegisterBuiltIns();
  bool Run(const OptionInfo& info, const Action& action, int sub1, int sub2);

  MainMenuState& state_;
  platform::MessageSink& sink_;
  Prompts& prompts_;
  SettingsTables* tables_;
  const platform::Clock& clock_;
  ActionRegistry registry_;
};

}  // namespace dodu::shell

#endif  // DODU_SHELL_DISPATCHER_H_
