// The work copies of the open declaration as the rows the annual calculation
// reads (income lines, people, assets, debts, payments: tables 02 to 06 in the
// work areas 22 to 26), and the write-back of the row fields it recomputes.
// The calculation screen, the load's BALANCO and the save's CALC read through
// here.
#ifndef DODU_SHELL_CALCULATION_SCREEN_ROWS_H_
#define DODU_SHELL_CALCULATION_SCREEN_ROWS_H_

#include <array>
#include <deque>
#include <functional>
#include <vector>

#include "core/variables.h"
#include "platform/status.h"
#include "shell/calculation_screen.h"
#include "store/dbf_record.h"
#include "store/opener_context.h"
#include "store/workarea.h"
#include "tax/annual_rows.h"

namespace dodu::shell {

// The work copy of declaration table n; nullptr when it is not open (the
// table then has no rows). DeclarationSession::WorkCopy fits.
using WorkCopyLookup = std::function<store::WorkArea*(int table_number)>;

class CalculationRows {
 public:
  CalculationRows() = default;
  CalculationRows(CalculationRows&&) = default;
  CalculationRows& operator=(CalculationRows&&) = default;
  CalculationRows(const CalculationRows&) = delete;
  CalculationRows& operator=(const CalculationRows&) = delete;

  // Reads every live record of the work copies in record order (the
  // calculation's "table order"), each field under its own name and type
  // (memo fields left out). Errors of the store pass through.
  static Result<CalculationRows> Read(const WorkCopyLookup& work_copy);

  const tax::DeclarationRows& view() const { return view_; }

  // Writes each change into the record it came from, under the record lock
  // (REC_LOCK, 5 seconds), released after the write. kLocked when a record
  // stays locked (the changes before it are written); kInvalid for a change
  // of a row this reading does not have.
  Status Write(store::OpenerContext& ctx, const WorkCopyLookup& work_copy,
               const std::vector<tax::RowChange>& changes) const;

 private:
  std::deque<core::VariableMap> rows_;  // stable addresses for view_
  // The record number of each row, by RowTable (income, people, payments).
  std::array<std::vector<store::RecNo>, 3> recnos_;
  tax::DeclarationRows view_;
};

// The calculation screen's ports over the work copies: every recomputation
// reads them again and its changes are written into the records that reading
// found. `hooks` are passed on.
CalculationScreenPorts WorkCopyPorts(store::OpenerContext& ctx, WorkCopyLookup work_copy,
                                     tax::CalcHooks hooks = {});

// The calls of loading and saving (DeclarationHooks::BALANCO, CALC, LIMDOA)
// over the work copies: the rows read, the calculation run on `vars`, its
// changes written back. Their messages are not shown (the calculation screen
// shows them on entry). With a session: AnnualBalanco(session.vars(),
// session.ctx(), [&](int n) { return session.WorkCopy(n); }).
Status AnnualBalanco(core::Variables& vars, store::OpenerContext& ctx,
                     const WorkCopyLookup& work_copy, const tax::CalcHooks& hooks = {});
Status AnnualCalc(core::Variables& vars, store::OpenerContext& ctx, const WorkCopyLookup& work_copy,
                  int screen, int mode, const tax::CalcHooks& hooks = {});
// LIMDOA(fund): what a direct donation to fund 1 (children) or 2 (elderly) may
// still be, from line 21 and the payments. 0 when the payments cannot be read.
core::Decimal AnnualLimdoa(const core::Variables& vars, const WorkCopyLookup& work_copy, int fund);

}  // namespace dodu::shell

#endif  // DODU_SHELL_CALCULATION_SCREEN_ROWS_H_
