// What the cash-balance screen (screen 10) shows besides the detail windows:
// its sixteen rows of receipts and expenses, and the answer to the conference
// flag typed at its foot. Texts are UTF-8.
#ifndef DODU_TAX_BALANCE_VIEW_H_
#define DODU_TAX_BALANCE_VIEW_H_

#include <optional>
#include <string>
#include <vector>

#include "core/decimal.h"
#include "tax/balance.h"

namespace dodu::tax {

// One row of the two columns "R E C E I T A S" and "D E S P E S A S". A value
// that is not shown (the result line, the spouse rows of a final estate
// declaration) is nullopt.
struct BalanceScreenRow {
  std::string receipt_label;
  std::optional<Decimal> receipt;
  std::string expense_label;
  std::optional<Decimal> expense;
};

// The rows 1..16 of the screen, top to bottom. Row 14's expense side is the
// result line (ResultLineOf) and is left empty here.
std::vector<BalanceScreenRow> BalanceScreenRows(const BalanceInputs& in, const CashBalance& b,
                                                bool final_estate);

// The conference flag: "S" runs the declaration check now, "N" nothing, "A"
// makes it run on every entry into the screen (with its notice); any other
// letter is refused with its message and the screen goes on.
struct ConferenceAnswer {
  enum Action { kCheckNow, kNothing, kAutomatic, kRefused } action = kNothing;
  std::vector<std::string> message;
};
ConferenceAnswer ConferenceFlag(char flag);

}  // namespace dodu::tax

#endif  // DODU_TAX_BALANCE_VIEW_H_
