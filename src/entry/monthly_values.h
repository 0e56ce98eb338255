// The monthly values window: the twelve monthly amounts of one cell (an income
// line's Rendimentos, Previdência or Imposto Fonte, a payment's Total Pago, a
// carnê-leão detail value) in the grid `CALC_MENS` of thirteen rows (the months
// and "Totais") and three columns: the month, the value in reais and its
// dollar conversion — or, for a payment with code 50, the e-Social amount and
// its employer's share.
//
// Rules of the window (browse profile 7):
// - the dollar column is value ÷ the month's dollar rate (TAB_DOLAR), truncated
//   to two decimals; the e-Social variant's second column is value × 0.314286,
//   truncated to two decimals;
// - editing a value recomputes the month's second column; editing a dollar
//   amount (after Alt L unlocked the column, read-only otherwise) recomputes the
//   value as dollars × rate truncated to two decimals; in the e-Social variant a
//   second-column edit is refused with "Digite o valor na coluna E-Social";
// - Alt B puts the cell's total (the field the window was opened on) into the
//   month, or its dollar conversion on the dollar column;
// - the totals row is the sum of the months and is never edited;
// - in a final declaration the months after the last month of receipts start
//   at zero and are not edited, after the warning of the month limit.
// Every figure is a number in the grid: the caller takes the twelve values and
// the total back as numbers and writes them into its fields.
#ifndef DODU_ENTRY_MONTHLY_VALUES_H_
#define DODU_ENTRY_MONTHLY_VALUES_H_

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "core/decimal.h"
#include "entry/clip_text.h"
#include "entry/grid_browser.h"
#include "entry/grid_model.h"
#include "platform/status.h"
#include "screen/calculator.h"
#include "screen/form.h"
#include "screen/toolkit.h"

namespace dodu::entry {

enum class MonthlyVariant {
  kDollar,   // " Mês ", "  REAL  ", "  DOLAR  "
  kESocial,  // a payment with code 50: " Mês ", "  E-Social  ", " Patronal"
};

// The grid's columns.
inline constexpr int kMonthColumn = 0;
inline constexpr int kValueColumn = 1;
inline constexpr int kDollarColumn = 2;

// The employer's share of an e-Social amount.
core::Decimal ESocialRate();

// The second column of a month: value ÷ rate (a zero rate gives 0) or, for
// e-Social, value × 0.314286; truncated to two decimals.
core::Decimal SecondColumnOf(const core::Decimal& value, const core::Decimal& rate,
                             MonthlyVariant variant);
// The value of a dollar amount: dollars × rate, truncated to two decimals.
core::Decimal ValueOfDollars(const core::Decimal& dollars, const core::Decimal& rate);

struct MonthlyValuesInput {
  std::array<core::Decimal, 12> values{};  // the field's twelve monthly amounts
  std::array<core::Decimal, 12> rates{};   // TAB_DOLAR, the base year's dollar rates
  MonthlyVariant variant = MonthlyVariant::kDollar;
  // The last month with receipts or payments (a final declaration: the month of
  // the judicial decision or of the deed); 12 otherwise.
  int last_month = 12;
  core::Decimal field_total;  // Alt B: the total of the cell the window is for
};

// CALC_MENS filled from the input: the values (zero after the last month), the
// second column computed, the totals row summed.
GridModel MakeCalcMens(const MonthlyValuesInput& input);

struct MonthlyValuesResult {
  std::array<core::Decimal, 12> values{};  // the twelve monthly values
  core::Decimal total;                     // their sum (the totals row)
  screen::Key key;                         // the key the window was left with
};

struct MonthlyWindowOptions {
  ClipText* clip = nullptr;
  screen::Calculator* calculator = nullptr;
  std::function<void()> save_declaration;  // Alt W
};

// The window title.
inline constexpr std::string_view kMonthlyTitle =
    "Valores Mensais - Alt B busca valor - Alt L Libera a Coluna Dolar";

// Runs the window (the grid browser over CALC_MENS in a framed window titled
// kMonthlyTitle, the month column frozen) until it is left with an exit key;
// the screen under it is put back. With last_month before 12 the month-limit
// warning comes first. ScriptExhausted passes through on the virtual terminal.
Result<MonthlyValuesResult> RunMonthlyValues(screen::Toolkit& tk, const MonthlyValuesInput& input,
                                             const MonthlyWindowOptions& options = {});

// The grid options of profile 7 over `grid` (the rules above), for callers that
// place the grid themselves. `dollar_unlocked` is the Alt L state, kept by the
// caller.
GridOptions MonthlyGridOptions(const MonthlyValuesInput& input, bool& dollar_unlocked,
                               const MonthlyWindowOptions& options = {});

// CALC_UFIR: a form hot key (Alt U on the entry screens) that opens the window
// empty over a numeric field of display width 10 or more and, when the total is
// not zero, puts it into the field. A second Alt U while the window is open is
// ignored. `intercept` runs first: true means the field was handled there (the
// calculation screen's foreign tax field only shows its hint).
screen::HotKey MonthlyValuesHotKey(
    screen::Key key, std::function<std::array<core::Decimal, 12>()> rates,
    std::function<bool(screen::Toolkit&, screen::ActiveField&)> intercept = nullptr);

}  // namespace dodu::entry

#endif  // DODU_ENTRY_MONTHLY_VALUES_H_
