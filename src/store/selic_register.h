// The SELIC register (table 51, UFIRM): one monthly rate per "yyyymm", kept by
// hand through CAD_UFIR (main-menu option 28; the screen is the shell's). The
// DARF and quota interest read it. This is the data side: the checks of the
// month, the year and the rate, the month to propose, and the save.
#ifndef DODU_STORE_SELIC_REGISTER_H_
#define DODU_STORE_SELIC_REGISTER_H_

#include <optional>
#include <string>
#include <string_view>

#include "core/date.h"
#include "core/decimal.h"
#include "platform/status.h"
#include "store/opener_context.h"
#include "store/workarea.h"

namespace dodu::store {

// BUSMES: a month 1..12. BUSANO: a four-digit year 1900..2099.
bool BUSMES(int month);
bool BUSANO(int year);

// "yyyymm" of a valid month and year; nullopt otherwise.
std::optional<std::string> AnoMes(int year, int month);
// The year and month of an ANOMES text; nullopt unless it is six digits of a
// valid year-month (as BUSANO and BUSMES check).
std::optional<core::YearMonth> ParseAnoMes(std::string_view text);

// The rate typed by the operator ("0,87", "1.2", blanks around): a number of
// at most three whole digits and four decimals, not negative. kInvalid
// otherwise (the screen shows "Taxa inválida.").
Result<core::Decimal> ParseRate(std::string_view text);

// The month to propose, from the table in area `selic` (its ANOMES order
// active): the month after the last month with a non-zero rate, or the last
// month when that is the last record; the first month when no record has a
// rate. nullopt for an empty table.
Result<std::optional<core::YearMonth>> ProposedMonth(WorkArea& selic);

// The rate of a month; 1 when the month has no record.
Result<core::Decimal> RateOf(WorkArea& selic, const core::YearMonth& month);

// Saves the rate of `month`: its record is found or appended (5-second wait)
// and, under the 5-second lock, receives ANOMES, SIMB_MOED "R$  " and TJM.
// kInvalid for a rate that does not fit. A refused lock: the opener's box and
// its status.
Status SaveRate(OpenerContext& ctx, WorkArea& selic, const core::YearMonth& month,
                const core::Decimal& rate);

}  // namespace dodu::store

#endif  // DODU_STORE_SELIC_REGISTER_H_
