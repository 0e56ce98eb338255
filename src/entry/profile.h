// Browse profiles as data: which table (work area) a list shows, which of its
// records (filter) in which order, the columns (`TABCAMPO`, `TABCPOIN`,
// `TABMASC`, `TABDESC`, `N_CAM`, `ULT_POS`), frozen columns, footings and the
// window, plus the rule hooks of the screens that use the profile (column
// validations, delete cascades, extra presets, keys of their own).
//
// Adding a profile is registering a builder for its number in a
// ProfileRegistry; EDITA builds the profile for the option asked and runs it.
#ifndef DODU_ENTRY_PROFILE_H_
#define DODU_ENTRY_PROFILE_H_

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "entry/entry_context.h"
#include "entry/profile_column.h"
#include "platform/status.h"
#include "screen/edit_value.h"
#include "screen/keys.h"
#include "store/dbf_record.h"

namespace dodu::entry {

class RecordBrowser;

// What the list shows under its rows.
struct Footing {
  // MATINDI: one text per column (empty for none), drawn under the column.
  std::vector<std::string> per_column;
  // A total: the label under the first column, the sum of `total_field` over
  // the rows shown under the column that edits that field.
  std::string total_label;
  std::string total_field;
  std::string total_mask = "@Ez 999,999,999.99";
  // A count: the label followed by the number of rows.
  std::string count_label;
  bool any() const { return !per_column.empty() || !total_field.empty() || !count_label.empty(); }
};

// How Ins inserts.
enum class InsertMode {
  kNone,
  kBefore,     // tables kept in record order: the rows from the current one shift down
  kAfterLine,  // line-numbered lists: a line number between the current and the next
};

// What a profile's own key handler did with a key.
enum class KeyOutcome {
  kNotMine,  // the browser acts on it as usual
  kHandled,  // done; the browser redraws
  kLeave,    // leave the browser with this key
};

struct ProfileHooks {
  // WHEN of a cell (0-based column): false refuses the edit (the hook tells why).
  std::function<bool(RecordBrowser&, int column)> pre_edit;
  // VALID of a cell: the typed value, which the hook may change; false keeps
  // the edit open.
  std::function<bool(RecordBrowser&, int column, screen::EditValue& value)> validate;
  // After a confirmed cell was written (totals, dependent fields).
  std::function<void(RecordBrowser&, int column)> after_write;
  // Delete, asked with the record lock held: false keeps the row. Null asks
  // "Confirma a Exclusão dessa linha?" (profiles 1 and 2 count the amounts).
  std::function<bool(RecordBrowser&, const store::Record& row)> confirm_delete;
  // The rows that belong to the one being deleted, removed after the
  // confirmation and before it. An error keeps the row.
  std::function<Status(RecordBrowser&, const store::Record& row)> cascade_delete;
  // After a row was deleted (renumbering, totals).
  std::function<void(RecordBrowser&)> after_delete;
  // Extra presets of a new record (ADIC_REG has done its table).
  std::function<Status(RecordBrowser&, store::Record& record, store::RecNo recno)> preset;
  // Insert-before: the current record after its contents moved down. Null
  // blanks every field but CPF.
  std::function<void(store::Record& emptied, const store::Record& was)> clear_for_insert;
  // Alt Down: the preset of each new row made from a clipboard line.
  std::function<Status(store::Record& record)> paste_row;
  // Keys of the profile itself, seen before the browser's table.
  std::function<KeyOutcome(RecordBrowser&, screen::Key key)> key;
  // F_TROCA of the profile when it writes elsewhere than the column's field.
  std::function<Status(RecordBrowser&, const screen::EditValue& value)> f_troca;
  // MOSTRA asks before browsing (the losses check of profile 13): false
  // returns without showing the list.
  std::function<bool(EntryContext&)> before_show;
};

struct BrowseRect {
  int top = 2, left = 0, bottom = 22, right = 79;
};

struct Profile {
  int number = 0;
  int option = 0;
  int area = 0;       // 0: the current area
  std::string title;  // of the browse window
  BrowseRect rect;
  int frame = 2;                                     // MOSTRA's frame (0, 1, 2, 6)
  std::function<bool(const store::Record&)> filter;  // null: every record
  int order = -1;                                    // the area's order to set; -1 keeps it
  std::vector<Column> columns;
  int n_cam = 0;           // N_CAM; 0: every column
  int ult_pos = 0;         // ULT_POS (1-based); 0: the last column
  int frozen = 0;          // columns kept at the left
  int dynamic_frozen = 0;  // frozen only while right of the third column
  int first_column = 0;    // where the cursor starts (0-based)
  Footing footing;
  bool footing_separator = false;
  bool redraw_all_after_edit = false;
  bool confirm_edits = false;  // an edit ends only with Enter or a movement key
  InsertMode insert = InsertMode::kNone;
  std::string line_field;         // kAfterLine: I7_0, I8_0, I8R_0, I9R_0
  std::string item_field;         // Alt R: I7_1, I8_1, ITEM
  std::string description_field;  // Alt Down / Alt J target
  int paste_piece_width = 0;      // Alt Down cuts longer lines into pieces (notes: 74)
  ProfileHooks hooks;

  int shown_columns() const { return n_cam > 0 ? n_cam : static_cast<int>(columns.size()); }
};

using ProfileBuilder = std::function<Result<Profile>(EntryContext& ec, int option)>;

class ProfileRegistry {
 public:
  void Register(int number, ProfileBuilder builder) { builders_[number] = std::move(builder); }
  bool Has(int number) const { return builders_.count(number) != 0; }
  // kNotFound for a number nobody registered; otherwise the builder's answer.
  Result<Profile> Build(EntryContext& ec, int number, int option) const;

 private:
  std::map<int, ProfileBuilder> builders_;
};

// The year-dependent headings of the assets (CANOAN, CANOBA) and debts
// (CDIVAN, CDIVBA) value columns: "Em 31/12/" + the year before the base year
// and "Em 31/12/" + the base year; in a final (estate) declaration
// " Data Partilha" and " Val. Transf. " (debts: the first unchanged and
// " Data Partilha"); in an exit declaration the second is "Dt.Não Resid.".
// Code page 850.
struct YearHeadings {
  std::string CANOAN, CANOBA, CDIVAN, CDIVBA;
};
YearHeadings BuildYearHeadings(int base_year, bool final_declaration, bool exit_declaration);

// The profiles of this library: 11 (warnings and notes), 40 and 57 (folder lists).
void RegisterEngineProfiles(ProfileRegistry& registry);

}  // namespace dodu::entry

#endif  // DODU_ENTRY_PROFILE_H_
