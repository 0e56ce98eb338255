// The selection's hooks bound to the parts that already exist: the register
// lists of the lookup library and the declaration session's load. What is
// still to come (the declaration menu, the portal, the ledger...) is bound by
// whoever builds it, on the same SelectionContext.
#ifndef DODU_SHELL_SELECTION_SESSION_H_
#define DODU_SHELL_SELECTION_SESSION_H_

#include "shell/declaration_menu.h"
#include "shell/declaration_session.h"
#include "shell/selection.h"
#include "shell/station.h"

namespace dodu::shell {

// F1, F2, F3, F8 and the name search open the register list (entry/lookup.h)
// over area 9; inside it F6 shows the line's details and F11 its warnings.
// VE_STAT's status list is the status table (66) in a lookup list, its line
// picked with Enter.
void UseRegisterList(SelectionContext& s);

// The selection loads through `session` (which must outlive `s`); the session
// shows its progress in the selection frame when it was made with it as its
// display.
void UseDeclarationSession(SelectionContext& s, DeclarationSession& session);

// Option 11 runs the open declaration (RunDeclaration on `station` and
// `session`, which must outlive `s`); OPCFIM is 1 when the declaration says the
// selection ends, or when it could not be run. `options` is copied.
void UseDeclarationMenu(SelectionContext& s, Station& station, DeclarationSession& session,
                        const DeclarationRunOptions& options = {});

}  // namespace dodu::shell

#endif  // DODU_SHELL_SELECTION_SESSION_H_
