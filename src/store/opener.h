// The table opener: every subsystem opens a catalogue table through ABERTURA (by
// number) or ABREARQ (a file and its keys), which create a missing table from
// its catalogue layout, build missing or stale index files and put the table
// with its order list in its work area.
//
// Results: OK is the "true" of the routines. Failures carry the Status that
// says why (kLocked: held by another station in a conflicting mode; kNotFound;
// kCorrupt; kIoError); the operator's box, where the routine shows one, has
// been shown already.
//
// Index files are checked on every open, not only for presence: an index whose
// stamp (generation, record count) disagrees with its table, that is marked as
// cut short, or that cannot be read is rebuilt. Building an index needs the
// table exclusively (other stations would not keep a new index up to date), so
// the opener reopens it exclusively for the build and then in the asked mode.
// A missing first index makes the opener pack the table; every index of the
// table is then rebuilt, as the others no longer match the packed table.
#ifndef DODU_STORE_OPENER_H_
#define DODU_STORE_OPENER_H_

#include <optional>
#include <string>
#include <vector>

#include "platform/status.h"
#include "store/catalogue.h"
#include "store/opener_context.h"
#include "store/workarea.h"

namespace dodu::store {

// The message-window text CRIA shows for catalogue number `number` ("" when it
// shows none): "Criando IMP0920.DBF"; 10 and 21 "Criando IMP10.DBF" and
// "Criando IMP21.DBF"; 50 "Criando DIRETOR.DBF".
std::string CreatingMessage(int number, const std::string& year);

// CRIA(number, file): creates the table `path` (native, with extension) with the
// layout of catalogue number `number` (22..41: of number - 20), showing the
// message window meanwhile. For 43 the defaults record is appended. kNotFound
// when the number has no layout (reference tables): nothing is created.
// A file that another station created meanwhile counts as created.
Status CRIA(OpenerContext& ctx, int number, const std::string& path);
// The same for a catalogue entry (work copies included).
Status CRIA(OpenerContext& ctx, const TableDef& table, const std::string& path);

// One index of an open request: `file` is the index file's path without
// extension (or a bare name, taken from the table's folder).
struct IndexRequest {
  std::string file;
  std::string expression;
};

struct OpenRequest {
  int area = 0;
  int number = 0;        // catalogue number whose layout CRIA uses; 0: never create
  const TableDef* table = nullptr;  // instead of `number` (work copies: FindWorkCopy)
  std::string file;      // table: native path or bare name, ".DBF" added when absent
  bool exclusive = false;
  std::vector<IndexRequest> keys;  // up to three; a second without file: file + "B"
};

// ABREARQ: opens `req.file` in `req.area` (closing what was there) with its
// order list, the first order active. A missing table with a layout is created;
// without one (a reference table) the answer is OK with the area left empty.
// The table not available in the mode asked: the error box name + ".DBF não
// está disponível " and kLocked (or the open's error).
Status ABREARQ(OpenerContext& ctx, WorkAreas& areas, const OpenRequest& req);

// NETUSE(file, exclusive): opens `file` in the selected area without indexes.
// Already open there under its alias: OK. Missing: the information box
// "Arquivo " + file + " não existe!" and kNotFound. A conflicting open
// elsewhere: kLocked at once, no message.
Status NETUSE(OpenerContext& ctx, WorkAreas& areas, const std::string& file, bool exclusive);

// ABERTURA(number, exclusive): opens catalogue table `number` in its area.
//   0      the start-up set: closes all, opens the folder list exclusively
//          (failure: its status), tidies it (CleanFolderList), then opens 45 (when
//          HELPTXT.DBF and .DBT both exist), 46..49, 51..54, 58 and 66 shared;
//          a failure of 46..58 is returned, of 45 and 66 ignored.
//   1..21  the declaration table of the data folder, shared unless `exclusive`.
//   22..40 the work copies of tables 2..20 in the work folder (as asked).
//   41     table 21 in area 41 with its two keys; `file` names the table
//          (default: table 21 of the data folder).
//   42..94 the installation tables, in their catalogue mode; 75 by the
//          declaration option; 50 seeded with the installation folder when empty.
// A missing reference table opens nothing and answers OK.
Status ABERTURA(OpenerContext& ctx, WorkAreas& areas, int number, bool exclusive = false,
                const std::string& file = "");

// The work copy of declaration table `table_number` (1..21, not 13) in area
// table_number + 20, created when missing, opened as asked.
Status OpenWorkCopy(OpenerContext& ctx, WorkAreas& areas, int table_number, bool exclusive);

// SAI_ABRE(number): closes the message window and turns the hiding of deleted
// records on in the area. RET_FECHAJAN(result): closes the message window and
// hands `result` back.
void SAI_ABRE(OpenerContext& ctx, WorkAreas& areas, int number);
Status RET_FECHAJAN(OpenerContext& ctx, Status result);

// FECHA_PROV: closes areas 21..41 (the work copies). FECHA_TODO: closes areas 1
// to 21 except 9, and 21..41.
void FECHA_PROV(WorkAreas& areas);
void FECHA_TODO(WorkAreas& areas);

}  // namespace dodu::store

#endif  // DODU_STORE_OPENER_H_
