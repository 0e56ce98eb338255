// Options 15 and 39 of the main menu: the terminal's folder list in the record
// browser (15, followed by the upgrade check of the declaration tables) and the
// auxiliary lists of banks (table 77), paying sources (74) and payees (53):
// browsing and editing them (39 (1), (5), (7)), removing repeated CNPJs
// (39 (2) banks, (6) paying sources) and copying CNPJs between the banks and
// the paying sources (39 (3), (4)).
//
// A blank or all-zero CNPJ is never a repetition and is never copied: lines
// typed without a CNPJ are all kept. Removing repetitions keeps the first line
// of each CNPJ in record order and leaves every field of the kept lines as it
// was.
#ifndef DODU_SHELL_OPTION_LISTS_H_
#define DODU_SHELL_OPTION_LISTS_H_

#include <string_view>

#include "entry/profile.h"
#include "platform/status.h"
#include "shell/dispatcher.h"
#include "shell/maintenance_screens.h"
#include "store/opener_context.h"
#include "store/workarea.h"

namespace dodu::shell {

// True for a CNPJ that names nobody: no digit, or only zeros.
bool BlankCnpj(std::string_view cnpj);

// 39 (2) and (6): opens the list exclusively, deletes the later lines of
// each CNPJ, packs, closes. Answers how many lines went. kLocked when another
// station has the list open (nothing changed).
Result<int> RemoveRepeatedBankCnpjs(store::OpenerContext& ctx, store::WorkAreas& areas);
Result<int> RemoveRepeatedPayerCnpjs(store::OpenerContext& ctx, store::WorkAreas& areas);

// 39 (3): every paying source whose CGCCPF has 14 digits once punctuation is
// removed becomes a bank line (CNPJ as written, the first 30 characters of the
// name) unless the banks have that CNPJ. 39 (4): every bank whose CNPJ,
// punctuated, is an 18-character CNPJ becomes a paying source (CGCCPF, NOME)
// unless the paying sources have it. Answer: lines added.
Result<int> CopyPayerCnpjsToBanks(store::OpenerContext& ctx, store::WorkAreas& areas);
Result<int> CopyBankCnpjsToPayers(store::OpenerContext& ctx, store::WorkAreas& areas);

// Profile 59 (options 1, 5, 7): the banks, paying sources and payees lists,
// edited in place, with their append row and Del.
void RegisterAuxiliaryProfiles(entry::ProfileRegistry& registry);

// Registers options 15 and 39 with the dispatcher. `m` must outlive the
// registry.
void RegisterListOptions(ActionRegistry& registry, MaintenanceContext& m);

}  // namespace dodu::shell

#endif  // DODU_SHELL_OPTION_LISTS_H_
