// The checks of a payment row's paid and not-deductible columns on the
// payments list (FDOAPAG, FCONFNDEDU): what the column keeps, the I6_5 an
// education payment gets, and the message to show. The list writes the row;
// after either column the payment totals are recomputed (CALC 4). Messages
// are UTF-8.
#ifndef DODU_TAX_ANNUAL_PAYMENT_CHECKS_H_
#define DODU_TAX_ANNUAL_PAYMENT_CHECKS_H_

#include <optional>
#include <string>
#include <vector>

#include "core/decimal.h"

namespace dodu::tax {

using core::Decimal;

struct PaidColumnCheck {
  // Codes 1..6: the new not-deductible part (the part above the education
  // limit); nullopt for the other codes.
  std::optional<Decimal> not_deductible;
  // A reminder (codes 36 and 38 while line 09 is zero, code 37); empty when
  // there is none.
  std::vector<std::string> message;
  bool recompute_line22 = false;  // codes 39..46
};

// FDOAPAG: `paid` typed in the paid column of a payment of `code`; `line09`
// the official social security of the declaration.
PaidColumnCheck CheckPaidColumn(int code, const Decimal& paid, const Decimal& line09);

struct NotDeductibleCheck {
  Decimal value;                     // what the column keeps
  bool refused = false;              // the field stays in edit (codes 8..28 above the paid)
  std::vector<std::string> message;  // empty when none
};

// FCONFNDEDU: `value` typed in the not-deductible column of a payment of
// `code` paid `paid`.
NotDeductibleCheck CheckNotDeductibleColumn(int code, const Decimal& paid, const Decimal& value);

}  // namespace dodu::tax

#endif  // DODU_TAX_ANNUAL_PAYMENT_CHECKS_H_
