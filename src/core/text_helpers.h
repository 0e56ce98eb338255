// Small text conversions shared by the screens, reports and imports: typed
// amounts, month and weekday names.
#ifndef DODU_CORE_TEXT_HELPERS_H_
#define DODU_CORE_TEXT_HELPERS_H_

#include <optional>
#include <string>
#include <string_view>

#include "core/date.h"
#include "core/decimal.h"

namespace dodu::core {

// CAR_TO_VAL(text): an amount typed with "." between thousands and "," before the
// decimals. Every "." is removed, the first "," becomes the decimal point, and
// the text is read as xBase VAL() reads: leading blanks, an optional sign,
// digits, the point and decimals, stopping at the first other character; no
// digits at all is 0 (so empty text is 0). "1.234.567,89" -> 1234567.89,
// "12,5,0" -> 12.5. Decimals past the eighth are rounded half away from zero.
// nullopt only when the number is beyond the range of Decimal.
std::optional<Decimal> CarToVal(std::string_view text);

// TRAZ_MES(month): "Janeiro  ", "Fevereiro", "Marco    " ... "Dezembro ", always 9
// characters. A month outside 1..12 gives nullopt: the caller keeps its previous
// QMES, as the old routine left it (qmes = TrazMes(m).value_or(qmes)).
std::optional<std::string> TrazMes(int month);

// DIA_SEMANA(date): "Domingo", "Segunda feira", "Terca feira", "Quarta feira",
// "Quinta feira", "Sexta feira", "Sabado". The blank date gives "".
std::string DiaSemana(const Date& date);

}  // namespace dodu::core

#endif  // DODU_CORE_TEXT_HELPERS_H_
