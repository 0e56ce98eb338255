// The terminal's list of data folders (table 50, "DIRET" + terminal number in
// the installation folder) and the routines that switch the current data folder.
//
// The list is held open exclusively by its terminal for the whole run, which is
// how a station knows whether terminal NN is running: its list is then locked.
// `DIRETOR` holds the folder in the system's own form, upper case, without the
// final backslash ("C:\DODU2020\CLIENTES"); PathMap turns it into the native path.
#ifndef DODU_STORE_FOLDER_LIST_H_
#define DODU_STORE_FOLDER_LIST_H_

#include <string>

#include <optional>

#include "platform/status.h"
#include "store/opener_context.h"
#include "store/workarea.h"

namespace dodu::store {

// Labels CRI_NDIR callers pass.
inline constexpr char kLabelData[] = " DODU2020";
inline constexpr char kLabelOfficial[] = " IRPF";

// CRI_NDIR(folder, label): OK when `folder` (system or native form) exists as a
// folder. Otherwise asks "Pasta nova para " + label + "?" / "Cria a nova
// pasta?": "no" (or no screen) gives kCancelled; "yes" creates it with every
// missing parent; when that fails, the error box "Problemas ao criar a pasta " +
// folder and kIoError. kNotFound for a folder name that maps to no drive.
Status CRI_NDIR(OpenerContext& ctx, const std::string& folder, const std::string& label);

// Is terminal `terminal` (two digits) running? True when its folder list is
// held exclusively by a station (another process, or another open of this one).
// False when the list is free or does not exist.
bool IsTerminalRunning(OpenerContext& ctx, const std::string& terminal);

// The `DIRETOR` text of a native folder: its system form, upper case, cp850.
std::string FolderListName(const OpenerContext& ctx, const std::string& native_folder);
// The native folder of a `DIRETOR` value (trailing blanks ignored). kNotFound
// for a drive that is not mapped here.
Result<std::string> FolderFromList(const OpenerContext& ctx, const std::string& diretor);

// The clean-up of the start-up set and of option 19: every entry whose folder
// is not there is offered for removal ("A Pasta " + folder + " não foi
// encontrada!" / "Retira a pasta da lista?") and removed (under a 5-second
// record lock) only when the operator says yes. A folder that cannot be seen
// may only be unreachable for a moment (a network share that is down), so
// without a screen nothing is removed. Leaves the list on its first record.
Status CleanFolderList(OpenerContext& ctx, WorkArea& list);

// MUDADIR(folder): makes `folder` (native) the folder of the register in area
// 9: ensures it exists (CRI_NDIR with " DODU2020"; refusal: kCancelled), opens
// its table 09 shared with its three keys, creating it when missing (failure:
// the error box "Não foi possivel abrir arquivo" / file name). Seeks `cpf`:
// found, the answer is the record's NOMECONTR; not found, the register is on
// its first record and the answer is nullopt. The active order becomes the
// name order (2).
Result<std::optional<std::string>> MUDADIR(OpenerContext& ctx, WorkAreas& areas,
                                           const std::string& folder, const std::string& cpf);

// TROCASIM(mode): in the folder list (area 50) the record under the cursor
// becomes the only one with SELEC "S" (the others are set to "N", each under a
// 5-second lock, skipped when refused). Mode 1 also makes it the current data
// folder: its record is locked (5 s; refused: the lock's status), an empty list
// gets a record, an empty DIRETOR receives the installation folder, any other
// is ensured with CRI_NDIR (refusal: kCancelled); ctx.data_folder becomes it.
// In both modes the register is then switched (MUDADIR, with `cpf`) and the
// data folder is stored as ROTADOANO in this terminal's settings record when
// table 42 is open (5-second lock; refused: not stored).
Status TROCASIM(OpenerContext& ctx, WorkAreas& areas, int mode, const std::string& cpf);

}  // namespace dodu::store

#endif  // DODU_STORE_FOLDER_LIST_H_
