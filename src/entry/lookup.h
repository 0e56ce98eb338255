// Lookup lists of the register (table 09, area 9): the taxpayers of the
// current data folder in CPF, name or status order, with the status text, the
// flags and the figures of each declaration, and the footers counting the
// simplified, complete and rural declarations.
//
// The list is the register lookup of the selection (F1 name, F2 CPF, F3
// status, F8 rural only), of the print selection and of every CPF field that
// names a taxpayer. Inside it: a typed character soft-seeks (digits in CPF
// order, letters in name order), F1/F2/F3 switch to name/CPF/status order, F6
// and F11 run the details and warnings hooks on the line, Enter picks it and
// Esc leaves without a pick.
#ifndef DODU_ENTRY_LOOKUP_H_
#define DODU_ENTRY_LOOKUP_H_

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "entry/entry_context.h"
#include "platform/status.h"
#include "store/dbf_record.h"
#include "store/workarea.h"

namespace dodu::entry {

// The register's orders as its order list numbers them.
enum class RegisterOrder { kCpf = 1, kName = 2, kStatus = 3 };

// What the register list hands to the rest of the program. Unset hooks do
// nothing (F6/F11) or show the status code itself (status_text).
struct RegisterListHooks {
  // F6: the details window of the line's taxpayer.
  std::function<void(const store::Record& line)> details;
  // F11: the warnings list of the line's taxpayer.
  std::function<void(const store::Record& line)> warnings;
  // The 13-character status description of a code; null: read from the status
  // table (66) when it is open, blanks otherwise.
  std::function<std::string(const std::string& code)> status_text;
};

struct RegisterListRequest {
  RegisterOrder order = RegisterOrder::kName;
  // Where the highlight starts: a soft seek of this key in `order` (name order
  // seeks it in upper case). Empty: the first line.
  std::string key;
  // Only declarations with rural activity (TEMRURAL "S"), the selection's F8.
  bool rural_only = false;
  // The short list of the name search (rows 1-14: name of 50, CPF, status).
  bool short_list = false;
};

struct RegisterPick {
  std::string cpf;   // 11 digits, as stored
  std::string name;  // NOMECONTR without trailing blanks, code page 850
};

// Opens the register list over area 9 (which must hold the register) and runs
// it. Answers the picked line, or nullopt when the operator left with Esc or
// the register is empty. Afterwards the register is left in name order after
// a list opened in CPF order, in CPF order after one opened in name or status
// order, positioned on the picked record (or where it was); the rural filter
// lives only as long as the list. A list already open
// (a lookup inside a lookup) answers nullopt at once. kNotFound when area 9 is
// empty.
Result<std::optional<RegisterPick>> RegisterList(EntryContext& ec,
                                                 const RegisterListRequest& request,
                                                 const RegisterListHooks& hooks = {});

// VE_STAT mode 3 over the status table open in area 66: the 13-character
// description of a code, blanks for a code the table lacks or without the
// table. The table is read once, when this is called.
std::function<std::string(int code)> StatusDescriptions(store::WorkAreas& areas);

// The register list's footers over every non-deleted record of `area`:
// the count of declarations, the percentages of simplified and complete ones
// ("99.99", blank on an empty register), the rural count and the simplified and
// complete counts. One text per column of the list (code page 850).
struct RegisterCounts {
  int total = 0, simplified = 0, complete = 0, rural = 0;
};
Result<RegisterCounts> CountRegister(store::WorkArea& area);
std::vector<std::string> RegisterFooters(const RegisterCounts& counts, int columns);

}  // namespace dodu::entry

#endif  // DODU_ENTRY_LOOKUP_H_
