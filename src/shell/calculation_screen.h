// The calculation screen (screen 7 of a declaration): the whole calculation
// recomputed on entry and after every edited value, drawn in the complete
// layout (USAPADRAO "N" or blank) or the simplified one ("S"), with the few
// values the operator types there: the model switch, line 31, the foreign tax
// IR_EXTER (only with foreign income), line 33, the number of quotas and the
// simulator. The computation is tax::AnnualCalculation; the screen only shows
// it and asks.
//
// Texts on the screen and in the message boxes are code page 850.
#ifndef DODU_SHELL_CALCULATION_SCREEN_H_
#define DODU_SHELL_CALCULATION_SCREEN_H_

#include <functional>
#include <string>
#include <vector>

#include "core/variables.h"
#include "platform/status.h"
#include "screen/form.h"
#include "screen/keys.h"
#include "screen/toolkit.h"
#include "tax/annual_calc.h"
#include "tax/annual_rows.h"

namespace dodu::shell {

struct CalculationScreenPorts {
  // The work-copy rows as they are now; asked again before every
  // recomputation. A failure is returned by the screen.
  std::function<Result<tax::DeclarationRows>()> rows;
  // Writes the row fields the calculation changed (I1_20, I1_25, I6_5,
  // NRODEPEN) into the work copies under the record lock. A failure is shown
  // and ends the screen with it.
  std::function<Status(const std::vector<tax::RowChange>&)> write_changes;
  // The carnê-leão, quotas and cash-balance steps of the whole calculation.
  tax::CalcHooks hooks;
};

enum class CalculationScreenEnd {
  kExitKey,  // a screen key (F1..F12, Tab ...): `key` says which
  kEscaped,  // Esc
  kMenu,     // a menu choice is pending
};

struct CalculationScreenResult {
  CalculationScreenEnd end = CalculationScreenEnd::kEscaped;
  screen::Key key;
};

// Runs the screen until a screen key or Esc. A final or exit declaration is
// made complete on entry. Errors: a failed row write, ScriptExhausted on the
// virtual terminal.
Result<CalculationScreenResult> RunCalculationScreen(screen::Toolkit& tk, core::Variables& vars,
                                                     CalculationScreenPorts& ports);

// Draws the layout of the current model from the variables (the summary as
// last computed) over the whole window.
void DrawCalculationScreen(screen::Toolkit& tk, const core::Variables& vars);

}  // namespace dodu::shell

#endif  // DODU_SHELL_CALCULATION_SCREEN_H_
