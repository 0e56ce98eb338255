// Reading the declaration variables and the work-copy rows the way the
// calculation needs them: a name the caller's variables do not have reads as
// zero, blank text or the blank date (figures of other Parts not yet computed
// count as zero); writes go only to names that exist.
#ifndef DODU_TAX_INTERNAL_ANNUAL_VARS_H_
#define DODU_TAX_INTERNAL_ANNUAL_VARS_H_

#include <string>
#include <string_view>

#include "core/date.h"
#include "core/decimal.h"
#include "core/variables.h"

namespace dodu::tax::internal {

// The number `name`, 0 when absent. A text variable holding digits (a
// character field such as I1_36) is read as its number; other text is 0.
core::Decimal Num(const core::Variables& v, std::string_view name);
// The whole number `name` (codes, counts), 0 when absent.
int Int(const core::Variables& v, std::string_view name);
// The text `name` without the blanks around it, "" when absent or not text.
std::string Text(const core::Variables& v, std::string_view name);
// The date `name`, blank when absent.
core::Date DateOf(const core::Variables& v, std::string_view name);
// Text `name` equals "S".
bool Yes(const core::Variables& v, std::string_view name);

// Writes `value` when the variable exists (as a number, or as its text for a
// text variable); ignored otherwise.
void SetNum(core::Variables& v, std::string_view name, const core::Decimal& value);
void SetText(core::Variables& v, std::string_view name, const std::string& value);

// "I13_" + two digits.
std::string Line(int n);

}  // namespace dodu::tax::internal

#endif  // DODU_TAX_INTERNAL_ANNUAL_VARS_H_
