// The maintenance screens of the main menu: the folder prompts (options 21 and
// 67), status maintenance (27), the SELIC register (28), the reindex (29), the
// upgrade of the folder list's folders (19) and the CPF change (30). The data
// work is the store's (store/upgrade.h, reindex.h, cpf_change.h,
// selic_register.h); these run the dialogs over the screen toolkit.
//
// Texts are code page 850 on the screen and in tables.
#ifndef DODU_SHELL_MAINTENANCE_SCREENS_H_
#define DODU_SHELL_MAINTENANCE_SCREENS_H_

#include <optional>
#include <string>

#include "entry/profile.h"
#include "platform/status.h"
#include "screen/toolkit.h"
#include "shell/dispatcher.h"
#include "store/opener_context.h"
#include "store/workarea.h"

namespace dodu::shell {

// What the maintenance screens work with. All references outlive the screens.
struct MaintenanceContext {
  screen::Toolkit& tk;
  store::OpenerContext& ctx;
  store::WorkAreas& areas;
  std::string cpf;  // the taxpayer chosen last (CPF), for MUDADIR
};

// Which folder a prompt asks.
enum class FolderKind {
  kWork = 1,      // "Pasta de Trabalho dos arquivos auxiliares", label " DODU2020"
  kOfficial = 2,  // "Local do programa da Receita", label " IRPF"
};

// DIRPADRAO(): the official program's folder Alt P puts into the prompt:
// "C:\ARQUIVOS DE PROGRAMAS RFB\IRPF20" + year + "\APLICACAO\DADOS".
std::string DIRPADRAO(const std::string& year);

// The rule applied to each confirmed answer of the folder prompt.
struct FolderRule {
  enum Verdict {
    kKeep,    // the current value stays; end
    kAccept,  // `value` is the result; end
    kCheck,   // `value` must exist or be created with consent; else ask again
  } verdict = kKeep;
  std::string value;  // trimmed
  bool warn_empty = false;  // the box about no hand-over is shown first
};
// Esc keeps; an empty answer keeps the work folder and accepts an empty
// official folder (after the warning); two characters ("D:") become the
// drive's root "D:\"; at most three characters are accepted; anything else is
// checked.
FolderRule ApplyFolderRule(FolderKind kind, bool escaped, const std::string& answer);

// NOVA_ROTA(variable, label, width): the folder prompt. Answers the new value
// padded to `width`, or nullopt when the current value stays. ScriptExhausted
// of the virtual terminal passes through.
Result<std::optional<std::string>> NOVA_ROTA(MaintenanceContext& m, FolderKind kind,
                                             const std::string& current, int width);

// SELAREA(which): the prompt for the work folder (1) or the official program's
// folder (2), then the terminal's settings record: DIRTRAB, or ROTAJAVA with
// the folder and its final backslash (empty when blank). The work folder also
// becomes ctx.work_folder; the official one the state's `locirpf`.
Status SELAREA(MaintenanceContext& m, MainMenuState& state, SettingsTables* tables, int which);

// MUDA_ESTATUS(mode): 1 the status of each declaration (the register in
// browse profile 52, cells written in place under a 5-second lock), 2 the
// status list (table 66 opened exclusively, profile 29 in the window "Estatus"
// at rows 5..17, columns 2..22: Enter edits a cell, the append row adds a
// code), 3 the protected status (STATRAVA of table 43).
Status MUDA_ESTATUS(MaintenanceContext& m, SettingsTables* tables, int mode);

// The browse profiles of the status screens: 29 the status codes (table 66),
// 52 the status, fee, time of use, receipts and portal access of each
// taxpayer of the register.
void RegisterStatusProfiles(entry::ProfileRegistry& registry);

// CAD_UFIR(): the SELIC register screen (table 51): month, year and rate,
// "Confirma a alteração?" Sim saves, Não returns to the fields, Cancelar ends.
Status CAD_UFIR(MaintenanceContext& m);

// MUDA_CPF(): the CPF change dialog, repeated until Esc; then the data
// folder's indexes are rebuilt (REORG mode 3).
Status MUDA_CPF(MaintenanceContext& m);

// Registers options 19 (upgrade of every folder of the list), 21, 27, 28, 29,
// 30 and 67 with the dispatcher. `m` must outlive the registry.
void RegisterMaintenanceOptions(ActionRegistry& registry, MaintenanceContext& m);

}  // namespace dodu::shell

#endif  // DODU_SHELL_MAINTENANCE_SCREENS_H_
