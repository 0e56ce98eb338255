// The catalogue of every table of the system: its number (which is also the
// work area it is opened in), the rule that names its file, the folder it lives
// in, how it is opened (shared, exclusive or as the caller asks), its field
// layout in file order and its index keys in order-list order.
//
// This is the one source of truth the opener, the upgrade, the transfers and the
// test fixtures read. The layouts of tables the system creates are complete; for
// the reference tables installed with the program (`created` false) the layout
// names the fields the system reads, with the widths the installed files use, so
// fixtures can build small copies of them; `CRIA` never creates them.
//
// Numbers: 1..21 the declaration tables of a data folder, 22..41 the work copies
// of an open declaration (table n is worked on as n + 20; table 13 has none),
// 42..94 the installation tables. 71 and the gaps are not tables.
#ifndef DODU_STORE_CATALOGUE_H_
#define DODU_STORE_CATALOGUE_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/field.h"

namespace dodu::store {

// Where a table's file lives.
enum class Folder {
  kData,          // the current data folder (LOCARQ)
  kInstallation,  // the installation folder (ARQDEF)
  kWork,          // the terminal's work folder (LOCTRAB)
};

// How the opener opens a table.
enum class ShareMode {
  kShared,
  kExclusive,
  kCaller,  // shared unless the caller asks for exclusive
};

// How a table's file name is built from its `name`.
enum class NameRule {
  kYearly,       // name + two-digit exercise year: "IMP09" -> "IMP0920"
  kFixed,        // name as is: "CONFIG"
  kPerTerminal,  // name + terminal number: "DIRET" -> "DIRET01"
  kWorkCopy,     // "TMP_" + two-digit table number + terminal number: "TMP_0901"
};

// One index key. Each key has its own compound index file whose single order
// is named after the file.
struct IndexDef {
  // The index file's base name: empty for the table's own file name; "+X" for
  // the table's file name followed by X ("IMP0920B"); otherwise a fixed name.
  std::string file;
  // The key expression exactly as the index file stores it (case kept: `cpf`).
  std::string expression;
};

struct TableDef {
  int number = 0;
  std::string name;  // see NameRule; for kWorkCopy unused
  NameRule rule = NameRule::kFixed;
  Folder folder = Folder::kInstallation;
  ShareMode mode = ShareMode::kShared;
  bool created = true;    // false: a reference table, never created
  bool has_memo = false;  // a .DBT beside the .DBF
  Layout layout;
  std::vector<IndexDef> keys;  // in order-list order; the first is active
  // Declaration tables 1..21 only: the key of the work copy (its index file has
  // the work copy's name). Empty for table 13, which has no work copy.
  std::string work_copy_key;
};

// What file names depend on besides the catalogue.
struct NameContext {
  std::string year = "20";      // CANOATUAL
  std::string terminal = "00";  // NUSU, two digits
  int declaration_option = 0;   // OPCIR_1: 44 chooses ECACIDAD for table 75
};

// The table of catalogue number `number`, or nullptr when the number is not a
// table. Numbers 22..41 give the work copy of number - 20 (layout of that table,
// its work-copy key; nullptr for 33, as table 13 has no work copy).
const TableDef* FindTable(int number);

// The work copy of declaration table `table_number` (1..21): the layout of that
// table, its work-copy key, number table_number + 20 (the work area it is opened
// in; for table 1 that is area 21, which table 21 then leaves free by opening in
// area 41). nullptr for 13, which has no work copy, and outside 1..21.
const TableDef* FindWorkCopy(int table_number);

// The table whose file base name (as named under `ctx`) is `file_name`, compared
// case-insensitively and without any folder or ".DBF" extension: "IMP0920",
// "tmp_1203", "DIRET01", "ECACIDAD". nullptr when no table has that name.
const TableDef* FindTableByFileName(std::string_view file_name, const NameContext& ctx);

// Every catalogue table 1..21 and 42..94 in number order (work copies not included).
const std::vector<TableDef>& AllTables();

// The file base name of `table` under `ctx`, without folder or extension:
// "IMP0920", "TMP_0901", "DIRET01", "ECACIDAD"/"IDOCIDAD" for 75.
std::string TableFileName(const TableDef& table, const NameContext& ctx);

// The base names of the table's index files in order-list order.
std::vector<std::string> IndexFileNames(const TableDef& table, const NameContext& ctx);

// The index file base name `key.file` stands for, given the table's base name.
std::string IndexFileName(const IndexDef& key, const std::string& table_file_name);

// The field named `name` (case-insensitive) in `layout`, or nullptr.
const FieldSpec* FindField(const Layout& layout, std::string_view name);

// Bytes of one record: the deletion flag plus every field's length.
int RecordLength(const Layout& layout);

}  // namespace dodu::store

#endif  // DODU_STORE_CATALOGUE_H_
