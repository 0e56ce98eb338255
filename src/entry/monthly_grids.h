// The monthly grids of an open declaration, as GridModels of numbers, with
// their loading from and saving to the record fields they live in:
//
//   REC_MENSAL  the carnê-leão month table of one person (table 12): the month
//               label and the seven kinds I2_1mm .. I2_7mm, rows 1..12 and the
//               year row 13 (I2_k13 stores the totals);
//   REND_RURAL  the rural activity in Brazil (table 15): receipts I3_mmOR and
//               expenses I3_mmOD, twelve months, no year row.
//
// Loading and saving move the numbers; no amount ever passes through display
// text, so an amount of any width the field holds keeps its last cent. The
// carnê-leão and rural computations take the month figures with MonthValues
// (grid_model.h) and hand back numbers the same way.
#ifndef DODU_ENTRY_MONTHLY_GRIDS_H_
#define DODU_ENTRY_MONTHLY_GRIDS_H_

#include <string>

#include "entry/grid_model.h"
#include "platform/status.h"
#include "store/dbf_record.h"

namespace dodu::entry {

// REC_MENSAL columns: 0 the month, 1..7 the kinds k (column k).
inline constexpr int kLeaoKinds = 7;
inline constexpr int kLeaoDueColumn = 6;        // "L. Devido", computed
inline constexpr int kLeaoCorrectedColumn = 7;  // "Corrigido", computed

// The carnê-leão grid with the headings "Pes.Física", "Exterior", "Livro Caixa",
// `deduction_heading` ("Dep+Pre+Pen", "Depen+Previ", "Previdencia" or
// "Previdência", by the fill mode and the person), "Leão Pago", "L. Devido",
// "Corrigido" (cp850). Columns 6 and 7 are computed, never typed; the year row
// is never typed either.
GridModel MakeRecMensal(const std::string& deduction_heading);
// The grid from / into the person's table 12 row (kinds 1..7, months 1..12; the
// year row 13 is stored from the totals and summed again on loading).
Status LoadRecMensal(GridModel& grid, const store::Record& row);
Status StoreRecMensal(const GridModel& grid, store::Record& row);
// Rows 0..12 of columns 1..7 back to zero (a declaration opened anew).
void ClearRecMensal(GridModel& grid);

// REND_RURAL columns: 0 receipts, 1 expenses; rows 0..11 the months.
inline constexpr int kRuralReceipts = 0;
inline constexpr int kRuralExpenses = 1;
GridModel MakeRendRural();
Status LoadRendRural(GridModel& grid, const store::Record& rural);
Status StoreRendRural(const GridModel& grid, store::Record& rural);

}  // namespace dodu::entry

#endif  // DODU_ENTRY_MONTHLY_GRIDS_H_
