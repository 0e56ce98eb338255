// What each reference table is built from: the public lists (CSV) it reads and
// how their rows become records, or the system's own list. Used by the builder
// in reference_tables.cc; kept apart so the data and its conversions can be
// read (and tested) without the table writing.
#ifndef DODU_SHELL_REFERENCE_TABLES_ROWS_H_
#define DODU_SHELL_REFERENCE_TABLES_ROWS_H_

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"
#include "shell/csv.h"
#include "shell/reference_tables.h"

namespace dodu::shell::reference {

// A list handed to a conversion, with its file name for messages.
struct NamedList {
  std::string name;
  const CsvTable* table = nullptr;
};

using RowsFn = std::function<Result<std::vector<ReferenceRow>>(const std::vector<NamedList>&)>;

struct TablePlan {
  int number = 0;
  std::string file;                // base name ("" : the catalogue's name)
  std::vector<std::string> lists;  // CSV files it needs, all of them; none: own list
  RowsFn rows;                     // receives the lists in the order above
};

// Every reference table the builder makes, in catalogue order.
const std::vector<TablePlan>& TablePlans();

// The banks' marks: numbers accepted for the automatic debit of quotas (the
// office's starting list; every bank of the table takes refund deposits).
const std::vector<std::string>& AutomaticDebitBanks();

// The kind of complementary details of an asset code (0 none, 2 vehicle,
// 3 aircraft, 4 boat, 5 bank account, 6 company, 7 person or company; property
// codes 1..19 have their own window and get 1).
int AssetDetailKind(int code);

// Text helpers, UTF-8 in and out.
std::string UpperText(std::string_view utf8);      // Latin-1 letters too: "ã" -> "Ã"
std::string WithoutAccents(std::string_view utf8);  // "SÃO PAULO" -> "SAO PAULO"
// "00000000000191" -> "00.000.000/0001-91"; other texts unchanged.
std::string PunctuatedCnpj(std::string_view digits);

// The system's own lists (reference_tables_lists.cc).
std::vector<ReferenceRow> WarningRows();     // 54
std::vector<ReferenceRow> StatusRows();      // 66
std::vector<ReferenceRow> StreetTypeRows();  // 65
std::vector<ReferenceRow> AccountRows();     // 62

}  // namespace dodu::shell::reference

#endif  // DODU_SHELL_REFERENCE_TABLES_ROWS_H_
