// The small windows reached from the taxpayer selection: the details of a
// register record (F6, MOS_DETAL) with the age and birthday notice (DIZANOS),
// the warnings of a declaration (F11, MOS_PEND) and the status look-up
// (VE_STAT).
//
// Texts on the screen and in tables are code page 850.
#ifndef DODU_SHELL_SELECTION_WINDOWS_H_
#define DODU_SHELL_SELECTION_WINDOWS_H_

#include <functional>
#include <optional>
#include <string>

#include "core/date.h"
#include "platform/status.h"
#include "shell/selection.h"
#include "store/dbf_record.h"

namespace dodu::shell {

// What DIZANOS shows: the years (3 cells) and months (2 cells), blank for an
// empty birth date or one after 31/12 of the base year, and the birthday
// notice (22 cells, shown in the attention colour) or "".
struct AgeText {
  std::string years;
  std::string months;
  std::string notice;
};

// DIZANOS(birth): the age on 31/12 of `base_year` (years = base year - birth
// year, months = 12 - birth month) and, when the birth month is the month of
// `today`, the notice "Faz Aniversário Hoje  " (today), "Faz Aniversário
// Amanha" (tomorrow) or "Aniversário n" + the weekday of this year's birthday
// ("o Domingo" .. "o Sábado ") when it is 2 to 5 days away. A birthday on 29
// February falls on 28 February in a year that has none.
AgeText DIZANOS(const core::Date& birth, int base_year, const core::Date& today);

// The rows of the details window for a register record, 12 lines of at most
// 78 cells each (code page 850); `age` is DIZANOS's answer for its birth date.
std::vector<std::string> DetailLines(const store::Record& reg, const AgeText& age);

// MOS_DETAL (F6): the window "Detalhes" for the register record of `cpf` (in
// area 9; nothing happens when it is not there); any key closes it. The
// register is left on the record it was on.
Status MOS_DETAL(SelectionContext& s, const std::string& cpf);

// MOS_PEND (F11): the warnings of the register's current record. The
// terminal's warnings work file (area 31) is opened exclusively and emptied
// (failure: nothing happens); table 11 is opened (failure: the error box
// "Terminal com esse nro aberto em outro local"); the CPF's live warnings are
// copied into the work file and shown in the warnings list titled
// "Pendências do CPf " + punctuated CPF + " " + name; without any, the
// information box "Não existem pendências nesse CPF" / "ou a declaração ainda
// não foi processada". Both tables are closed afterwards.
Status MOS_PEND(SelectionContext& s);

// VE_STAT(code, mode): the status of `code` in table 66.
//   1, 5  not found: the status list is offered (hooks.status_list) and the
//         code picked is the answer's; mode 1 writes the description at row 2,
//         column 14. `found` is always true.
//   2     the description (or 13 blanks) is shown at row 2, column 14, after
//         selecting area 31.
//   3, 4  the description (or 13 blanks), with area 9 (3) or 29 (4) selected.
// A missing status table reads as an empty one.
struct StatusAnswer {
  bool found = false;
  int code = 0;
  std::string description;  // 13 cells
};
Result<StatusAnswer> VE_STAT(SelectionContext& s, int code, int mode);

// Texts (UTF-8).
inline constexpr char kDetailsTitle[] = "Detalhes";
inline constexpr char kWarningsBusy[] = "Terminal com esse nro aberto em outro local";
inline constexpr char kNoWarnings1[] = "Não existem pendências nesse CPF";
inline constexpr char kNoWarnings2[] = "ou a declaração ainda não foi processada";
inline constexpr char kWarningsTitle[] = "Pendências do CPf ";

}  // namespace dodu::shell

#endif  // DODU_SHELL_SELECTION_WINDOWS_H_
