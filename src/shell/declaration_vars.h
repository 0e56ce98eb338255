// The declaration variables: while a declaration is open, one variable for
// every field of the taxpayer's register record (table 09), of the
// declaration record (table 01), of the monthly record (table 12) and of the
// rural activity record (table 15), under the field's own name and with the
// field's type. The variables are generated from the catalogue's layouts when
// the store is built, so a field added to a layout is loaded and saved without
// anybody listing it here. The computations see them through core::Variables.
//
// Values: text as stored (blank padded to the field's width), numbers as
// Decimal, dates (blank allowed), logicals. A name that several tables share
// (CPF, QTD_QUOTA, I13_20 ...) is one variable.
#ifndef DODU_SHELL_DECLARATION_VARS_H_
#define DODU_SHELL_DECLARATION_VARS_H_

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/variables.h"
#include "platform/status.h"
#include "store/dbf_record.h"
#include "store/field.h"

namespace dodu::shell {

enum class DeclarationSource {
  kRegister,     // table 09, the taxpayer's register record
  kDeclaration,  // table 01, the declaration record
  kMonthly,      // table 12, the first record of its work copy
  kRural,        // table 15, the record of the current rural activity
};

// The catalogue number of the source's table.
int SourceTable(DeclarationSource source);

// "I2_" + kind + two-digit month: the field of table 12 for kind 1..7 and
// month 1..13 (13 is the totals row).
std::string MonthlyFieldName(int kind, int month);

class DeclarationVars final : public core::Variables {
 public:
  // Builds every variable from the catalogue, each at its start value (see
  // Clear). A name two layouts give different types is a catalogue error:
  // std::logic_error.
  DeclarationVars();

  bool Has(std::string_view name) const override;
  core::ValueType Type(std::string_view name) const override;
  const core::Value& Get(std::string_view name) const override;
  // Text is kept as given; whether it fits its field is checked on Store.
  void Set(std::string_view name, core::Value value) override;

  // The field a variable was generated from (the first table's, for a shared
  // name). std::logic_error for an unknown name.
  const store::FieldSpec& Field(std::string_view name) const;
  // Every variable name, upper case, sorted.
  std::vector<std::string> Names() const;
  // The field names of a source's layout, in file order.
  const std::vector<std::string>& SourceFields(DeclarationSource source) const;

  // Every variable back to its empty value: text of blanks as wide as its
  // field, 0, the blank date, false.
  void Clear();

  // Copies every field of `record` into the variable of the same name, except
  // `CPF` and `NOMEAG` (the open taxpayer and this station's operator keep
  // their values) and, for the rural record, its `ATV_BRASIL` (the activity
  // the record belongs to, not the register's flag of the same name). All or
  // nothing: kCorrupt (the field's bytes are no value) or kInvalid (a field the
  // declaration has no variable for: a layout other than the catalogue's)
  // leave every variable as it was.
  Status Load(DeclarationSource source, const store::Record& record);

  // Writes every field of `record` from the variable of the same name. Values
  // that do not fit their field (a number too wide, a text too long) are not
  // cut: kInvalid names every such field and `record` is left unchanged.
  // kInvalid as well for a field without a variable.
  Status Store(DeclarationSource source, store::Record& record) const;

  // The rural record as the rural screens save it: `CPF` from its variable,
  // `ATV_BRASIL` = `activity` ("S" Brazil, "N" abroad); the monthly revenue and
  // expense `I3_01OR` .. `I3_12OD` only for "S"; then `I4R_01` .. `I4R_07`,
  // `I5_08`, `I5_09`, `I5_10`, `I6_10`, `OPT_20`, `OPT_20E`, the herd fields
  // `I7_kA` .. `I7_kV1` (k = 1..5), `I7_V1`, `SO_TOTAL` and `TIPO_LANCA` from
  // their variables. Other fields (the LCDPR accountant) are left as the
  // record has them. Errors as Store.
  Status StoreRural(store::Record& record, std::string_view activity) const;

 private:
  struct Variable {
    store::FieldSpec field;
    core::Value value;
  };
  const Variable& Find(std::string_view name) const;
  Status StoreFields(store::Record& record, const std::vector<std::string>& fields) const;

  std::map<std::string, Variable, std::less<>> vars_;
  std::map<DeclarationSource, std::vector<std::string>> source_fields_;
};

// VE_LIM_NEG: brings the register's `INDGAS` and `SALDO` into the range of
// their fields before they are stored: `INDGAS` above 999.99 becomes 999 and
// below -99.99 becomes -99.99; `SALDO` below -99,999,999.99 becomes
// -99,999,999.99. Other values are left alone.
void VE_LIM_NEG(core::Variables& vars);

}  // namespace dodu::shell

#endif  // DODU_SHELL_DECLARATION_VARS_H_
