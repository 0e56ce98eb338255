// The folders of the official-file import kept in the terminal's settings
// record (table 42, CONFIG): the defaults the folder dialog starts from and
// what it stores when it closes (PEGAOSDIR, official files).
//
// Folder names are as the settings table keeps them (system form, with a final
// backslash where the operator gave one); ctx.paths turns them into native
// paths.
#ifndef DODU_IMPORT_FOLDER_SETTINGS_H_
#define DODU_IMPORT_FOLDER_SETTINGS_H_

#include <string>

#include "platform/status.h"
#include "store/opener_context.h"
#include "store/workarea.h"

namespace dodu::import {

// The official program's folder of saved declarations, when the settings name none.
inline constexpr char kOfficialSavedFolder[] = "C:\\arquivos de programas RFB\\IRPF2019\\gravadas";

struct ImportFolders {
  std::string origin;
  std::string destination;
  std::string installation;
};

// The dialog's starting values for import menu code `menu_code`: destination
// the current data folder (in system form); origin DIRPROV (or the official
// folder when it is empty) for the menu codes 4, 6, 7 and 8, ROTAREANT for the
// others; the installation field DIRINST with a final backslash. A terminal
// without a settings record gets the defaults of a blank one.
Result<ImportFolders> ReadImportFolders(store::OpenerContext& ctx, store::WorkAreas& areas,
                                        int menu_code);

// Stores what the dialog closed with, under a 5-second record lock: DIRPROV :=
// origin for the menu codes 4 and 6, ROTAREANT := origin otherwise; ROTADOANO
// := destination; DIRINST := installation. The record is added when the
// terminal has none.
Status StoreImportFolders(store::OpenerContext& ctx, store::WorkAreas& areas, int menu_code,
                          const ImportFolders& folders);

// BAR_DIR: the name with a final backslash.
std::string WithFinalBackslash(std::string name);

}  // namespace dodu::import

#endif  // DODU_IMPORT_FOLDER_SETTINGS_H_
