// FDE_LEAO: the recomputation of the carnê-leão of the person on screen. It
// stores the month grid (the declaration variables `I2_kmm`) into the person's
// row, rebuilds the grid from the income lines in fill modes 1 and 3, computes
// each month's due and the corrected amounts, and sets the declaration figures
// the other computations read: the type totals `TOTTRABT` .. `TOTOUTRD`,
// `CARNEINSS` / `CARNEDEPEN`, and the summary lines `I13_03`, `I13_04`,
// `I13_18`, `I13_29`, `I13_30`, `I13_49`, `I13_50`.
//
// The caller hands in the work copies as plain rows: the rows of table 12, the
// income lines of table 02 (all persons, in table order) and the payments of
// table 06; it writes back the rows and the line updates the result lists.
#ifndef DODU_TAX_CARNE_RECOMPUTE_H_
#define DODU_TAX_CARNE_RECOMPUTE_H_

#include <array>
#include <span>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/decimal.h"
#include "core/variables.h"
#include "platform/status.h"
#include "tax/carne.h"
#include "tax/selic.h"

namespace dodu::tax {

// An income line of table 02 as the carnê-leão reads it.
struct CarneLine {
  char kind = ' ';                    // I1_1: 'F' individuals, 'E' abroad, 'L' cash book,
                                      //       'P' social security, 'I' tax paid; others skipped
  bool titular = true;                // I1_11 "S"
  std::string dependant_cpf;          // I1_8, for a dependant's line
  Decimal value;                      // I1_4
  std::array<Decimal, 12> monthly{};  // I1_401 .. I1_412
  std::string payer_cpf;              // I1_3
  std::string beneficiary_cpf;        // I1_40
  char type = ' ';                    // I1_41: 'T' work, 'A' rent, 'O' other, ' ' blank
  Date date;                          // DT_LC (fill mode 3)
};

// A payment of table 06: its code `I6_3` and monthly values `I6_401` .. `I6_412`
// (codes 30 to 34 are alimony).
struct CarnePayment {
  int code = 0;
  std::array<Decimal, 12> monthly{};
};

enum class CarnePass {
  kSilent,  // FDE_LEAO(0): the grid is rebuilt as for the screen, so that lines and
            // payments changed elsewhere reach it (nothing is drawn here)
  kScreen,  // FDE_LEAO(1)
  kTotals,  // FDE_LEAO(2): only the year row of the grid is rebuilt from the lines
};

struct CarneSetting {
  int dependants = 0;  // dependants of the declaration (codes below 98)
  Date payment;        // DF_PAGTO; blank: no correction
  Date today;
  std::span<const SelicRow> selic;
  bool inverse_cursor = false;  // mode 4: the grid's cursor on the cash book or right of it
};

// The new monthly values of line `index` (mode 3 writes a dated line's value
// into its month and clears the other months).
struct LineUpdate {
  size_t index = 0;
  std::array<Decimal, 12> monthly{};
};

struct CarneOutcome {
  std::vector<LineUpdate> line_updates;
  Decimal pensaom;             // PENSAOM: the year's alimony (titular, modes 1 and 3)
  Decimal dependants_applied;  // the dependants' deduction applied in the year
  SelicAge age = SelicAge::kCurrent;
  // The correction (kind 7) could not be computed: a SELIC month is missing.
  // Kind 7 is then left at 0 and every other figure is still correct.
  Status correction;
};

// Runs the recomputation for rows[current] (the person on screen; its
// `cpfdepen` says whose). `vars` must hold the declaration variables named
// above plus `CAL_AUTO`, `SO_REC`, `TIPO_PF` and the grid `I2_kmm`; a missing
// one is a programming error (std::logic_error). current < rows.size().
CarneOutcome FdeLeao(core::Variables& vars, std::vector<CarneRow>& rows, size_t current,
                     std::span<const CarneLine> lines, std::span<const CarnePayment> payments,
                     const CarneSetting& setting, CarnePass pass);

// Whether a cell of the grid may be typed: fill modes 2 and 4, months 1..12,
// kinds 1..5 (the year row and the computed columns never).
bool CarneCellEditable(FillMode mode, int month, int kind);

// A cell typed in fill modes 2 and 4 (the deduction column after ConfCarne):
// the value stands, its column's year total is re-summed; in mode 4 a value
// typed in the cash book or further right back-computes the month's income
// first; then the month's due and the corrected amounts of the year. The
// correction's failure (a missing SELIC month) is returned with kind 7 left at
// 0, everything else done. Requires CarneCellEditable.
Status CarneCellTyped(CarneRow& row, FillMode mode, int month, int kind, const Decimal& value,
                      const CarneSetting& setting);

// CALC_LEAOTOTAL over the variables: `I13_29` and `I13_30` from `rows` by
// `SO_REC`.
void CalcLeaoTotal(core::Variables& vars, std::span<const CarneRow> rows);

}  // namespace dodu::tax

#endif  // DODU_TAX_CARNE_RECOMPUTE_H_
