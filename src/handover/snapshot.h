// The declaration as the writer of the official program's document sees it: the
// declaration variables (register, declaration record, monthly record) through
// core::Variables, the rows of the schedule tables as plain rows, the run's
// constants and clock, and the two reference lookups. Filling a snapshot is the
// caller's (the shell from the work copies, tests from fixtures); the writer
// never opens a table.
//
// Row and the variable readers are lenient on purpose: a field a row or the
// variables do not carry reads as empty ("", 0, the blank date), and a number
// kept as text (or a text kept as a number) is converted, so a row may come
// from any layout that names the fields the document needs.
#ifndef DODU_HANDOVER_SNAPSHOT_H_
#define DODU_HANDOVER_SNAPSHOT_H_

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/date.h"
#include "core/decimal.h"
#include "core/variables.h"
#include "platform/env.h"
#include "platform/status.h"
#include "store/dbf_record.h"

namespace dodu::handover {

// One record of a schedule table, by field name (any case).
class Row {
 public:
  Row() = default;
  Row& Set(std::string_view field, core::Value value);
  Row& Text(std::string_view field, std::string value) {
    return Set(field, core::Value(std::move(value)));
  }
  Row& Num(std::string_view field, const core::Decimal& value) {
    return Set(field, core::Value(value));
  }
  Row& Num(std::string_view field, const char* decimal_text);
  Row& Day(std::string_view field, const core::Date& value) {
    return Set(field, core::Value(value));
  }

  // Every field of a table record (all of them decoded). kCorrupt as the
  // record's typed getters.
  static Result<Row> FromRecord(const store::Record& record);

  const core::Value* Find(std::string_view field) const;

 private:
  std::map<std::string, core::Value, std::less<>> fields_;
};

// Lenient typed reads (see the file comment), shared by rows and variables.
std::string TextOf(const core::Value* v);  // as stored, not trimmed
core::Decimal NumberOf(const core::Value* v);
core::Date DateOf(const core::Value* v);
bool LogicalOf(const core::Value* v);

inline std::string RowText(const Row& r, std::string_view f) { return TextOf(r.Find(f)); }
// The text with the blanks at both ends removed (a copy: safe to keep).
std::string RowTrimmed(const Row& r, std::string_view f);
inline core::Decimal RowNum(const Row& r, std::string_view f) { return NumberOf(r.Find(f)); }
inline core::Date RowDate(const Row& r, std::string_view f) { return DateOf(r.Find(f)); }

const core::Value* FindVar(const core::Variables& vars, std::string_view name);

// The schedule tables the document reads, by catalogue number.
enum class Schedule : int {
  kIncome = 2,      // income lines
  kDependants = 3,  // dependants and alimony receivers
  kAssets = 4,
  kDebts = 5,
  kPayments = 6,
  kGains = 7,          // capital gains and variable-income statement rows
  kMonthly = 12,       // carnê-leão monthly lines
  kRuralResults = 15,  // one per country flag ATV_BRASIL
  kRuralProperties = 16,
  kRuralAssets = 17,
  kRuralDebts = 18,
  kHeirShares = 20,
};

struct Snapshot {
  std::string cpf;                            // the taxpayer, 11 digits
  std::string year_suffix = "20";             // CANOATUAL
  platform::CivilTime now;                    // dataHoraSalvamento and the other "now" values
  core::Date debit_deadline;                  // DDIADEBA, the last day of the first quota's debit
  core::Decimal dependant_monthly_deduction;  // first entry of NVALDEPEN
  core::Decimal simplified_discount_cap;      // NDESCPRAD

  // The schedule rows in table order.
  std::map<Schedule, std::vector<Row>> rows;

  // NOMPAIS of a country code ("" when unknown).
  std::function<std::string(std::string_view code)> country_name;
  // NROMUNI of a municipality by name and state (BUSCA_CIDADE); "" when unknown.
  std::function<std::string(std::string_view name, std::string_view uf)> municipality_code;

  const std::vector<Row>& Of(Schedule s) const;
};

// The operator's side of a hand-over: message boxes, the status line and the
// questions. Texts are code page 850.
class Dialog {
 public:
  virtual ~Dialog() = default;
  // A message box (style 0 information .. 8 error) with an optional title.
  virtual void TitledBox(int style, const std::vector<std::string>& lines,
                         const std::string& title) = 0;
  void Box(int style, const std::vector<std::string>& lines) { TitledBox(style, lines, ""); }
  virtual void StatusLine(const std::string& text) = 0;
  virtual void Beep() = 0;
  // Yes/no: true for "S".
  virtual bool Confirm(const std::vector<std::string>& lines) = 0;
  // A numbered choice box: the number chosen (1-based), 0 for Esc.
  virtual int Choose(const std::vector<std::string>& lines) = 0;
};

// A change the writer asks of the taxpayer's register record (table 09). The
// caller applies it under a record lock; a lock that cannot be had leaves the
// field as it was and the document stands.
struct RegisterChange {
  std::string field;  // DDDTEL, DEBITAUT, DENTREGA
  core::Value value;
};

}  // namespace dodu::handover

#endif  // DODU_HANDOVER_SNAPSHOT_H_
