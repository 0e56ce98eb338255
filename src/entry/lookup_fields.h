// GERAL: the lookup list chosen by the field being edited. Each field that
// has a list names the table it shows (a reference table, the register or a
// work copy of the open declaration), its order, window, columns and footers,
// and what choosing a line does: the field's value, related variables, or a
// line of a work copy written under its lock (a new one when the browser is
// on its append row).
//
// Fields are the names of the entry screens' variables, or of a browser's
// column when a line is edited (`LookupTarget::line`), or a key the calling
// screen puts in place of a field ("ListaBanco", "AUXPAG", "AUXFON",
// "CODIGOA"). A field without a list opens nothing.
#ifndef DODU_ENTRY_LOOKUP_FIELDS_H_
#define DODU_ENTRY_LOOKUP_FIELDS_H_

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "entry/entry_context.h"
#include "entry/lookup.h"
#include "entry/lookup_list.h"
#include "entry/record_browser.h"
#include "platform/status.h"
#include "screen/field_lookup.h"
#include "screen/form_variables.h"

namespace dodu::entry {

// What a list is opened for.
struct LookupTarget {
  std::string field;                      // the field being edited (upper case), or a key
  screen::VariableStore* vars = nullptr;  // the screen's variables (related fields)
  screen::ActiveField* active = nullptr;  // the field in the form: its value is replaced
  RecordBrowser* line = nullptr;          // the browser whose current line is edited
  int mode = 0;                           // 1: the short register list of the name search
  bool editing_state = false;             // the state field UF is edited (municipalities)
  bool identification_screen = false;     // municipalities: seek by typing (and assets)
  int gains_kind = 0;                     // TIPO_BEM being edited (1..5)
  std::string gains_in_brazil;            // movable goods: "S" in Brazil, "N" abroad
  LookupList* prepared = nullptr;         // a list the caller set up itself (I3_04, I4_02)
};

// The lists whose choice belongs to other parts of the program. Unset: the
// line only fills the field (CPFEMAIL, CPFSAC, CDCONTA) or nothing happens
// (TIPO_BEM, Ctrl G, Ctrl V).
struct LookupHooks {
  // TIPO_BEM: opens the gain (nullopt: a new one) in the capital-gains screen.
  std::function<void(LookupTarget&, std::optional<store::RecNo> gain)> open_gain;
  // Ctrl G / Ctrl V in the gains list: delete the gain under the cursor, start a new one.
  std::function<void(LookupTarget&, store::RecNo gain)> delete_gain;
  std::function<void(LookupTarget&)> new_gain;
  // CPFEMAIL: the e-mail address of the chosen taxpayer.
  std::function<void(LookupTarget&, const store::Record& line)> email;
  // CPFSAC: the billing fields (run after CPFSAC, NOMESAC, VALORDOC were set).
  std::function<void(LookupTarget&, const store::Record& line)> billing;
  // CDCONTA: the ledger account chosen.
  std::function<void(LookupTarget&, const store::Record& line)> ledger_account;
  // CPF / NOMECONTR: the selection frame shows the chosen CPF and name.
  std::function<void(const RegisterPick&)> selected;
  RegisterListHooks register_list;
};

// The list a field opens, as data (tests and the screens that prepare the
// table themselves read it).
struct LookupConfig {
  int table = 0;   // catalogue number of the table shown
  int area = 0;    // the work area it is in
  int order = -1;  // the order set before showing; -1 keeps the area's
  BrowseRect rect = kLookupRect;
  std::vector<Column> columns;
  std::function<bool(const store::Record&)> filter;  // the lines shown (null: every one)
  bool seek_by_typing = false;
  bool register_list = false;  // the register list (orders, footers, F6/F11)
  bool opened_here = false;    // opened for the list when closed, and closed after it
  bool close_after = false;    // closed after the list even when the caller opened it
  bool gains = false;          // the capital-gains list
};

// The configuration for `target` (its field, mode, the state being edited,
// the gains kind); nullopt when the field has no list.
std::optional<LookupConfig> FindLookup(const LookupTarget& target);

class FieldLookups : public screen::FieldLookup {
 public:
  FieldLookups(EntryContext& ec, LookupHooks hooks = {}) : ec_(ec), hooks_(std::move(hooks)) {}

  // GERAL: opens the list for the target and applies the line chosen. True
  // when a line was chosen. Nothing happens (false) for a field without a
  // list, while another list is open, or when the list's table cannot be
  // opened (the opener has said why). A work-copy line that cannot be locked
  // in 5 seconds: the lock's message, nothing written, false.
  Result<bool> GERAL(LookupTarget& target);

  // GERAL2: the list for the table and key the caller selected and set;
  // answers the chosen code (0 when none). `code_field` is the field whose
  // value is answered.
  Result<int> GERAL2(LookupList& list, std::string_view code_field);

  // The seam of the forms.
  bool Has(std::string_view field) const override;
  Result<bool> Open(screen::VariableStore& vars, screen::ActiveField& field) override;

  LookupHooks& hooks() { return hooks_; }

 private:
  Result<bool> Apply(LookupTarget& target, const LookupConfig& config, const LookupPick& pick);
  EntryContext& ec_;
  LookupHooks hooks_;
};

// Writes `values` into the line the browser is on (a new line, made as the
// browser makes them, on its append row) under the record lock, and reads its
// rows again. The lock refused: its status, nothing written.
Status WriteBrowserLine(EntryContext& ec, RecordBrowser& browser,
                        const std::vector<std::pair<std::string, screen::EditValue>>& values);

// Appends a line to the work area (CPF of the open taxpayer) with `values`.
Result<store::RecNo> AppendLine(
    EntryContext& ec, store::WorkArea& area,
    const std::vector<std::pair<std::string, screen::EditValue>>& values);

}  // namespace dodu::entry

#endif  // DODU_ENTRY_LOOKUP_FIELDS_H_
