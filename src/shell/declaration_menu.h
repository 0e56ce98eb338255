// The open declaration's window: entered after the selection has loaded a
// taxpayer for main-menu option 11, it runs the declaration menu (the window's
// pull-down menu when the terminal's `OPCIRPF` is "J", else the in-screen menu
// bar), the screen loop over the registered screens, the declaration's hot
// keys (Alt W partial save, Alt T leave saving, Alt U the currency converter,
// Alt K / code 120 the calculator, the F-keys moving between screens), the
// timed automatic save, and the leaving with its save or discard.
//
// Texts shown are code page 850.
#ifndef DODU_SHELL_DECLARATION_MENU_H_
#define DODU_SHELL_DECLARATION_MENU_H_

#include <string>
#include <vector>

#include "platform/status.h"
#include "shell/declaration_screen.h"
#include "shell/declaration_session.h"
#include "shell/station.h"

namespace dodu::shell {

struct DeclarationRunOptions {
  // The screens and menu actions; nullptr or a number not registered: the
  // placeholder window.
  const ScreenRegistry* screens = nullptr;
  // LIMDOA (codes 44 and 46) and the declaration check of code 62; nullptr:
  // the defaults of DeclarationHooks (no donation limit, no check). Normally
  // the hooks the session was made with.
  DeclarationHooks* hooks = nullptr;
  // The outside calculator of code 120 and Alt K (argv), started only when a
  // graphical display exists (`DISPLAY` or `WAYLAND_DISPLAY` set); empty or no
  // display: the toolkit's calculator.
  std::vector<std::string> calculator_program;
};

enum class DeclarationEnd {
  kSaved,      // the final save ran and closed the declaration
  kDiscarded,  // left without saving: `NUSUAT` cleared, the work copies closed
};

struct DeclarationResult {
  DeclarationEnd end = DeclarationEnd::kSaved;
  // The selection ends (back to the main menu): `OPCFIM` is 1, or the
  // declaration was left without saving. Otherwise the selection goes on with
  // the next taxpayer. The caller then does what ending the selection asks
  // (the register's `ORDEM` 0 for the last CPF, Alt I and Alt T bound again).
  bool selection_ends = false;
};

// DECLARA's declaration part. `session` must be open (Load succeeded). Runs
// until the declaration is left and closed. A final save that does not
// complete (the operator gave up waiting for a table, a record lock refused)
// has its message shown and the declaration stays open: the loop goes on and
// the next leaving saves again, so nothing is lost. The declaration's key
// bindings are removed on return whatever happened.
//
// Errors: kInvalid when the session is not open; the status of a discard that
// could not clear the register's mark (the work copies are closed anyway).
Result<DeclarationResult> RunDeclaration(Station& station, DeclarationSession& session,
                                         const DeclarationRunOptions& options = {});

}  // namespace dodu::shell

#endif  // DODU_SHELL_DECLARATION_MENU_H_
