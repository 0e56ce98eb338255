// Option 17: the import of the official programs' declaration files. A list of
// the kinds of import, the folder dialog (PEGAOSDIR), the listing of the
// source folder into the selection list (table 70), the marking (browse
// profile 56), the conversion loop with its counters window and the summary.
// The work itself is the import library's (import/listing.h,
// conversion_run.h); these run it over the screen toolkit.
//
// Texts are code page 850 on the screen and in tables.
#ifndef DODU_SHELL_IMPORT_SCREEN_H_
#define DODU_SHELL_IMPORT_SCREEN_H_

#include <optional>
#include <string>
#include <vector>

#include "entry/entry_context.h"
#include "entry/profile.h"
#include "import/conversion_run.h"
#include "import/folder_settings.h"
#include "platform/status.h"
#include "screen/toolkit.h"
#include "shell/dispatcher.h"
#include "store/opener_context.h"
#include "store/workarea.h"

namespace dodu::shell {

// What the import screens work with. All references outlive the screens.
struct ImportScreenContext {
  screen::Toolkit& tk;
  store::OpenerContext& ctx;
  store::WorkAreas& areas;
  entry::EntryContext& ec;
  const entry::ProfileRegistry& profiles;  // with profile 56 (entry/profile_import.h)
  import::LocateFn locate;                 // BUSCA_OUTRO by CPF; null: the destination only
};

// One import of the official programs' files: its menu code and mode.
struct OfficialImport {
  int menu_code;
  import::ImportMode mode;
  const char* caption;  // UTF-8
};
// "Receita 2019 ou 2020" (3, mode 1) ... "Livro Caixa Rural 2019" (11, mode 11).
const std::vector<OfficialImport>& OfficialImports();

// PEGAOSDIR for the official files: origin and destination (80 characters, 73
// shown) from the settings' defaults. Enter on the last field checks them: an
// origin that does not exist gives "Drive e/ou Pasta de Origem inexistente !!"
// and "Continua procurando?" ("N" ends with nullopt); the destination is
// ensured with CRI_NDIR. Accepted folders are stored in the settings and the
// destination becomes the data folder. Esc: nullopt.
Result<std::optional<import::ImportFolders>> PEGAOSDIR(ImportScreenContext& s, int menu_code);

// LEIA_DISCO: the dialog, the listing into table 70, the marking and the
// conversion of every marked taxpayer, then the summary of what was not
// converted or was cut. Errors of the listing are shown in their boxes.
Status LEIA_DISCO(ImportScreenContext& s, const OfficialImport& which);

// Registers option 17: the list of OfficialImports(); the chosen one runs
// LEIA_DISCO; every table is closed at the end. `s` must outlive the registry.
void RegisterImportOption(ActionRegistry& registry, ImportScreenContext& s);

}  // namespace dodu::shell

#endif  // DODU_SHELL_IMPORT_SCREEN_H_
