// ADIC_REG: appends a record to the list's table (the waiting append, up to
// 5 seconds) and presets its fields by profile:
//
//   below 28 and 34..39   CPF := the open taxpayer; 34..39 also ATV_BRASIL
//   1, 2, 16, 17, 20, 24  I1_1 := the income kind, I1_11 := titular "S"/"N",
//                         I1_8 := the dependant's CPF for kind "D" (and for
//                         16, 17, 20, 24 when I1_11 is "N")
//   3                     CODIDEPEN := 100 (heirs) / 99 (alimony)
//   5, 8, 22              I7_0 := record number x 10 when 0
//   6, 9, 23              I8_0 := record number x 10 when 0
//   10                    BEM_NRO := the asset being edited
//   14, 19                RVAR_NRO, DAY_TRADE := the item being edited
//   18                    I1_1, I1_11, TIPOCR, and I1_8 when I1_11 is "N"
//   27                    REFEREN := the asset line
//   35 / 36               I8R_0 / I9R_0 := record number x 10 when 0
//   38                    TIPOCR := "C" or "D"
//   48, 49                DATAG, NOMEAG; 48 HORAG := hh mm now, 49 AVISAG := true
//
// The new record is written, left locked and current; the caller writes the
// first cell into it and lets go of the lock. A preset field the table lacks is
// skipped (lists of other subsystems share the numbers' rules only in part).
#ifndef DODU_ENTRY_ADIC_REG_H_
#define DODU_ENTRY_ADIC_REG_H_

#include "entry/entry_context.h"
#include "platform/status.h"
#include "store/dbf_record.h"
#include "store/workarea.h"

namespace dodu::entry {

// The presets above applied to `record` (record number `recno`) of profile `profile`.
void ApplyPresets(const EntryContext& ec, int profile, store::RecNo recno, store::Record& record);

// Appends and presets. Errors: the append's (the box has been shown: the record
// was not available), or the write's.
Result<store::RecNo> ADIC_REG(EntryContext& ec, store::WorkArea& area, int profile);

}  // namespace dodu::entry

#endif  // DODU_ENTRY_ADIC_REG_H_
