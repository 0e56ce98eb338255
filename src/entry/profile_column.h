// A column of a browse profile compiled against the table it shows: the
// display expression (`TABCAMPO`) evaluated for a record and formatted with the
// column's mask (`TABMASC`), and the accessor on the edited field (`TABCPOIN`).
//
// A display expression is a field name, shown through the mask by the field's
// type (numbers with their decimals, dates dd/mm/yyyy, logicals T/F), or a
// character expression of the index-key language (`substr(I1_2,1,34)`,
// `str(I7_0,4)`, `dtoc(DT_LC)`, `upper(NOME)`, fields joined with "+"), whose
// text goes through the mask.
#ifndef DODU_ENTRY_PROFILE_COLUMN_H_
#define DODU_ENTRY_PROFILE_COLUMN_H_

#include <functional>
#include <optional>
#include <string>

#include "platform/status.h"
#include "screen/edit_value.h"
#include "store/dbf_record.h"
#include "store/key_expr.h"

namespace dodu::entry {

struct Column {
  std::string expression;  // TABCAMPO
  std::string field;       // TABCPOIN: the field an edit writes; "" shows only
  std::string mask;        // TABMASC
  std::string heading;     // TABDESC
  // The key Alt O orders by on this column ("" cannot order), e.g. "UPPER(I6_1)".
  std::string order_key;
  // Editing with Enter shows the whole text in a pop-up (long descriptions).
  bool popup = false;
  // A column computed by the screen (the status text of the lookup lists):
  // shows what this answers for the record instead of `expression`, only
  // shows, and is as wide as its answer for a blank record (or the heading).
  std::function<std::string(const store::Record&)> text = {};
};

class CompiledColumn {
 public:
  // kInvalid when the expression or the edited field is not in the layout.
  static Result<CompiledColumn> Compile(const Column& column,
                                        std::shared_ptr<const store::RecordLayout> layout);

  const Column& column() const { return column_; }
  // Cells on the screen: the widest of the formatted value and the heading.
  int width() const { return width_; }
  bool editable() const { return edit_slot_ != nullptr; }
  const store::FieldSpec* edit_spec() const { return edit_slot_ ? &edit_slot_->spec : nullptr; }

  // The cell text, exactly width() characters.
  std::string Display(const store::Record& record) const;
  // The edited field's value, and writing one into a record.
  Result<screen::EditValue> Get(const store::Record& record) const;
  Status Set(store::Record& record, const screen::EditValue& value) const;

 private:
  Column column_;
  std::shared_ptr<const store::RecordLayout> layout_;
  const store::FieldSlot* display_slot_ = nullptr;  // a plain field
  std::optional<store::KeyExpr> expr_;              // otherwise
  const store::FieldSlot* edit_slot_ = nullptr;
  int width_ = 0;
};

// A field's value as the edit buffer takes it, and back (C, N, D, L fields).
Result<screen::EditValue> FieldValue(const store::Record& record, std::string_view field);
Status PutFieldValue(store::Record& record, std::string_view field, const screen::EditValue& v);
// The field's value shown through `mask` (no mask: the field's own width).
std::string FormatField(const store::Record& record, const store::FieldSpec& spec,
                        std::string_view mask);

}  // namespace dodu::entry

#endif  // DODU_ENTRY_PROFILE_COLUMN_H_
