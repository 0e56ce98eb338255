// The upgrade of data folders written by earlier releases: a declaration table
// whose layout lacks the field that marks the current one is rewritten with the
// current layout, field by field by name, and its indexes are rebuilt.
//
// The rewrite holds the table's exclusive open from the first look to the last
// rename: the new table and every index file of the catalogue are built under
// temporary names of this station in the table's own folder, stamped with one
// new generation and synced, then renamed over the old files, the table first.
// A station killed at any moment leaves the old table with its old indexes, or
// the new table (whose old indexes then disagree with it by their stamp, and
// the opener rebuilds them). Success is reported only after the renames.
#ifndef DODU_STORE_UPGRADE_H_
#define DODU_STORE_UPGRADE_H_

#include <functional>
#include <string>
#include <vector>

#include "platform/status.h"
#include "store/dbf_record.h"
#include "store/field.h"
#include "store/opener_context.h"
#include "store/table.h"

namespace dodu::store {

// The field whose presence with its type marks table `table` as current.
struct UpgradeSignature {
  int table;
  const char* field;
  FieldType type;
};

// 01 I3_04EXTRC N, 04 NROBANCO C, 06 I6_8 N, 09 AAR_EXTER C, 11 COLUN N,
// 15 FONE_CONT C, 16 CPFPJ_CONT C, 19 NUM_DOC C; in this order.
const std::vector<UpgradeSignature>& UpgradeSignatures();
// The signature of `table`, nullptr for a table that never needs an upgrade.
const UpgradeSignature* FindUpgradeSignature(int table);

// True when `layout` carries the signature of `table` (or the table has none).
bool HasCurrentLayout(int table, const Layout& layout);

// Whether declaration table `number` of the data folder lacks its signature.
// Only the header is read (no lock: another station may hold the table). A
// missing table is created with the current layout (CRIA) and is current.
// false for a table without a signature.
Result<bool> TableNeedsUpgrade(OpenerContext& ctx, int number);

// VER_ATUAZ(n): TableNeedsUpgrade; when true the information box titled
// "ATUALIZAÇÃO NECESSÁRIA" has been shown. A table that cannot be read counts
// as not needing the upgrade (the opener reports it when it is used).
bool VER_ATUAZ(OpenerContext& ctx, int number);

// The register's rule for the rural fields, applied to every record of table
// 09 when it is upgraded: TEMRURAL "S" with ATV_BRASIL "S" gives AAR_EXTER
// "N"; TEMRURAL "S" with any other ATV_BRASIL gives ATV_BRASIL "S" and
// AAR_EXTER "S"; TEMRURAL not "S" blanks both.
Status ApplyRuralRule(Record& record);

// CORRIGE(nn): the upgrade of one table. false when it is current (nothing is
// written). When another station holds it: the error box "Não foi possível
// atualizar " + table path without extension, and kLocked. On success the
// information box path + " Atualizado" (after the renames) and true.
// Deleted records are not carried over; new fields are blank; vanished ones
// dropped; a value that does not fit its new field fails with kInvalid (nothing
// changed).
Result<bool> CORRIGE(OpenerContext& ctx, int number);

// CORRECAO(mode): mode 0 runs CORRIGE on every signed table of the data folder
// in order (01, 04, 06, 09, 11, 15, 16, 19) and answers how many were
// rewritten (NARQCORR); a table that fails is reported by CORRIGE and the
// others go on. Any other mode only turns the opener's message flag on (0).
int CORRECAO(OpenerContext& ctx, int mode);

// An index file of a table: native path with extension, key expression.
struct IndexFile {
  std::string path;
  std::string expression;
};

// What the rewrite does to each carried record (after the fields are copied).
using RecordFix = std::function<Status(Record&)>;

// The rewrite itself, for any table held exclusively: builds `path` anew with
// `layout` from the active records of `old` (fields copied by name when the
// types agree), runs `fix` (may be empty) on each, builds `indexes` under this
// station's temporary names, then renames. `old` must be the exclusive open of `path`; it stays
// open (its file is the replaced one) and should be closed by the caller.
// Answers the number of records written.
Result<uint32_t> RewriteWithLayout(platform::Env& env, Table& old, const Layout& layout,
                                   const RecordFix& fix, const std::vector<IndexFile>& indexes);

// The catalogue's index files of `def` beside `table_path` (".CDX" names as
// found on disk when they exist), in order-list order.
std::vector<IndexFile> CatalogueIndexFiles(OpenerContext& ctx, const TableDef& def,
                                           const std::string& table_path);

}  // namespace dodu::store

#endif  // DODU_STORE_UPGRADE_H_
