// The index rebuild of data folders (REORG) and the reindex of every folder of
// the terminal's list (REINDEXA, main-menu option 29).
//
// Every table is rebuilt through the store's rewrite (Table::Pack) while this
// station holds it exclusively: the packed table and each index file of the
// catalogue are built beside the old ones, stamped, synced and renamed in, so a
// station killed midway leaves every table with indexes that either belong to
// it or disagree with it by their stamp (and are rebuilt on the next open).
// Index files are never deleted first: a table another station holds open is
// skipped, its files untouched, and named in the report. The keys are the
// catalogue's (one key table serves the opener and the rebuild).
//
// A data folder is refused while one of its declarations is open on a running
// station (its NUSUAT names a terminal whose folder list is held); a NUSUAT
// left behind by a station that stopped does not count.
#ifndef DODU_STORE_REINDEX_H_
#define DODU_STORE_REINDEX_H_

#include <optional>
#include <string>
#include <vector>

#include "platform/status.h"
#include "store/opener_context.h"
#include "store/upgrade.h"
#include "store/workarea.h"

namespace dodu::store {

// The installation tables packed by REORG mode 4 when the data folder is the
// installation folder, in order (base names; ".DBF" is added).
const std::vector<std::string>& InstallationPackList();

// The running terminal (not this one) on which a declaration of `folder` is
// open, from the NUSUAT fields of its register; nullopt when none. The register
// is read without locks; a missing register: nullopt.
Result<std::optional<std::string>> OpenDeclarationTerminal(OpenerContext& ctx,
                                                           const std::string& folder);

// Packs the table `path` and rebuilds `indexes` for it, holding it exclusively.
// kLocked when another station (or another open of this one) holds it: nothing
// is touched.
Status RebuildTable(platform::Env& env, const std::string& path,
                    const std::vector<IndexFile>& indexes);

struct ReorgReport {
  bool rebuilt = false;               // the folder had index files and was rebuilt
  std::optional<std::string> blocked_by;  // refused: declaration open on this terminal
  std::vector<std::string> busy;      // tables skipped, held by another station (base names)
  std::optional<std::string> failed;  // the table whose failure ended the rebuild
};

// REORG(folder, mode): rebuilds the declaration tables 01..21 of `folder`
// (native). A folder without any index file is left alone (its indexes are
// built when its tables are next opened). The caller's own opens of the
// folder's tables must be closed (areas 1..21 are closed here). A table that
// fails for another reason than being busy ends the rebuild (the register's
// failure is passed over). Mode 4 then packs the installation tables of
// InstallationPackList when `folder` is the installation folder; one that
// cannot be had exclusively ends the packing (and is named busy).
// The refusal box (FolderInUse) is shown here.
Result<ReorgReport> REORG(OpenerContext& ctx, WorkAreas& areas, const std::string& folder,
                          int mode);

// The work copies of this terminal in the work folder ("TMP_" + two digits +
// terminal number, any extension, any case), which REINDEXA deletes; other
// terminals' work copies are theirs.
std::vector<std::string> OwnWorkCopyFiles(OpenerContext& ctx);

struct ReindexReport {
  bool asked = false;       // false: the operator answered "Não"
  std::vector<std::string> busy;     // "folder: table" skipped
  std::vector<std::string> refused;  // folders with a declaration open elsewhere
};

// REINDEXA(): asks the question of option 29 (ctx.Confirm); "Não" ends. Turns
// the message flag on, closes every area but the folder list (50), deletes this
// terminal's work copies, rebuilds the installation folder's indexed tables
// (skipping busy ones; the folder list through its own open), runs REORG(folder,
// 4) for each existing folder of the list (area 50 must be open), restores the
// data folder, turns the flag off, reopens the start-up set (ABERTURA 0) and
// switches the register back (MUDADIR with `cpf`). Skipped tables and refused
// folders are named in a closing information box.
Result<ReindexReport> REINDEXA(OpenerContext& ctx, WorkAreas& areas, const std::string& cpf);

}  // namespace dodu::store

#endif  // DODU_STORE_REINDEX_H_
