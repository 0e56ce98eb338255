// The carnê-leão's plain rows read from and written to work-copy rows given as
// core::Variables under their tables' field names (the same views the annual
// calculation takes): the month tables of table 12, the income lines of table
// 02, the payments of table 06 and the assets of table 04. A field a row lacks
// reads as zero, blank or the blank date.
#ifndef DODU_TAX_CARNE_ROWS_H_
#define DODU_TAX_CARNE_ROWS_H_

#include <vector>

#include "core/variables.h"
#include "tax/balance.h"
#include "tax/balance_detail.h"
#include "tax/carne.h"
#include "tax/carne_recompute.h"

namespace dodu::tax {

// Table 12: `CPFDEPEN` and `I2_kmm`.
CarneRow CarneRowOf(const core::Variables& row);
// Writes `I2_kmm` (and `CPFDEPEN`) of `r` into `row`.
void StoreCarneRow(const CarneRow& r, core::Variables& row);

// Table 02: `I1_1`, `I1_11`, `I1_8`, `I1_4`, `I1_401` .. `I1_412`, `I1_3`,
// `I1_40`, `I1_41`, `DT_LC`.
CarneLine CarneLineOf(const core::Variables& row);
// Writes the line's new `I1_401` .. `I1_412`.
void StoreLineUpdate(const LineUpdate& u, core::Variables& row);

// Table 06: `I6_3` and `I6_401` .. `I6_412` for the alimony; `I6_3`, `I6_4`
// for the expense window.
CarnePayment CarnePaymentOf(const core::Variables& row);
PaymentLine PaymentLineOf(const core::Variables& row);

// Table 04: `I7_1`, `I7_2`, `I7_5`, `I7_4`.
AssetLine AssetLineOf(const core::Variables& row);

// The whole list of each, in table order.
std::vector<CarneRow> CarneRowsOf(const std::vector<const core::Variables*>& rows);
std::vector<CarneLine> CarneLinesOf(const std::vector<const core::Variables*>& rows);
std::vector<CarnePayment> CarnePaymentsOf(const std::vector<const core::Variables*>& rows);

}  // namespace dodu::tax

#endif  // DODU_TAX_CARNE_ROWS_H_
