#include "entry/monthly_values.h"

#include <memory>

#include "core/codepage.h"
#include "screen/message_box.h"

namespace dodu::entry {

namespace {

using core::Decimal;
using screen::Key;

// Window geometry: wide enough for the title, the grid centred in it.
constexpr int kTop = 4, kLeft = 5, kBottom = 20, kRight = 74;
constexpr int kGridWidth = 39;  // 6 + 14 + 14 cells, three separators, the frame
constexpr int kGridLeft = kLeft + (kRight - kLeft + 1 - kGridWidth) / 2;

bool InLimit(const MonthlyValuesInput& in, int row) { return row < 12 && row < in.last_month; }

// The month's second column from its value.
void FillSecond(GridModel& grid, const MonthlyValuesInput& in, int row) {
  Decimal second = SecondColumnOf(grid.Number(row, kValueColumn), in.rates[row], in.variant);
  if (!grid.Set(row, kDollarColumn, second).ok()) (void)grid.Set(row, kDollarColumn, Decimal());
}

}  // namespace

Decimal ESocialRate() { return Decimal::FromScaled(314286, 6); }

Decimal SecondColumnOf(const Decimal& value, const Decimal& rate, MonthlyVariant variant) {
  if (variant == MonthlyVariant::kESocial)
    return value.Mul(ESocialRate(), 2, core::Rounding::kTruncate);
  return value.Div(rate, 2, core::Rounding::kTruncate);
}

Decimal ValueOfDollars(const Decimal& dollars, const Decimal& rate) {
  return dollars.Mul(rate, 2, core::Rounding::kTruncate);
}

GridModel MakeCalcMens(const MonthlyValuesInput& in) {
  const bool esocial = in.variant == MonthlyVariant::kESocial;
  GridColumn value = MoneyColumn(esocial ? "  E-Social  " : "  REAL  ");
  GridColumn second = MoneyColumn(esocial ? " Patronal" : "  DOLAR  ");
  second.totalled = true;
  GridModel grid = MonthlyGrid(core::Cp850(" Mês "), {value, second});
  for (int m = 0; m < 12; ++m) {
    const Decimal v = InLimit(in, m) ? in.values[m] : Decimal();
    // An amount wider than its field cannot come from a field; it starts at 0.
    if (!grid.Set(m, kValueColumn, v).ok()) (void)grid.Set(m, kValueColumn, Decimal());
    FillSecond(grid, in, m);
  }
  grid.RecomputeTotals();
  return grid;
}

GridOptions MonthlyGridOptions(const MonthlyValuesInput& input, bool& dollar_unlocked,
                               const MonthlyWindowOptions& options) {
  GridOptions o;
  o.frozen = 1;
  o.ult_pos = kValueColumn;  // Enter after a month's value goes to the next month
  o.clip = options.clip;
  o.calculator = options.calculator;
  o.save_declaration = options.save_declaration;
  const MonthlyValuesInput in = input;
  bool* unlocked = &dollar_unlocked;
  o.can_edit = [in, unlocked](const GridModel&, int row, int col) {
    if (!InLimit(in, row)) return false;
    if (col == kValueColumn) return true;
    return col == kDollarColumn && *unlocked;
  };
  o.check = [in](GridBrowser& b, int row, int col, const screen::EditValue& v) {
    if (col != kDollarColumn) return CellVerdict::kAccept;
    if (in.variant == MonthlyVariant::kESocial) {
      screen::AVISOSN(b.toolkit(), core::Cp850("Digite o valor na coluna E-Social"), 0);
      return CellVerdict::kReject;
    }
    // The value the dollars give must fit its field too.
    const Decimal value = ValueOfDollars(std::get<Decimal>(v), in.rates[row]);
    if (!b.grid().Admits(kValueColumn, value).ok()) {
      b.toolkit().Beep();
      return CellVerdict::kKeepEditing;
    }
    return CellVerdict::kAccept;
  };
  o.after_edit = [in](GridBrowser& b, int row, int col) {
    GridModel& g = b.grid();
    if (row < 12) {
      if (col == kValueColumn) {
        FillSecond(g, in, row);
      } else if (col == kDollarColumn) {
        const Decimal value = ValueOfDollars(g.Number(row, kDollarColumn), in.rates[row]);
        (void)g.Set(row, kValueColumn, value);  // the check made sure it fits
      }
    }
    g.RecomputeTotals();  // FX_RT
  };
  o.on_key = [in, unlocked](GridBrowser& b, const Key& key) {
    if (key == Key::Alt('L')) {
      *unlocked = true;
      return GridKeyAction::kHandled;
    }
    if (key == Key::Alt('B')) {
      const int row = b.row(), col = b.col();
      if (!InLimit(in, row)) return GridKeyAction::kHandled;
      if (col == kValueColumn) {
        b.WriteCell(row, col, in.field_total);
      } else if (col == kDollarColumn) {
        b.WriteCell(row, col, SecondColumnOf(in.field_total, in.rates[row], in.variant));
      }
      return GridKeyAction::kHandled;
    }
    return GridKeyAction::kNotMine;
  };
  return o;
}

Result<MonthlyValuesResult> RunMonthlyValues(screen::Toolkit& tk, const MonthlyValuesInput& input,
                                             const MonthlyWindowOptions& options) {
  if (input.last_month < 12) {
    screen::AVISOSN(tk,
                    {core::Cp850("Em declaração Final o limite de recebimento"),
                     core::Cp850("ou pagamentos é o mês ") + std::to_string(input.last_month)},
                    0);
  }
  GridModel grid = MakeCalcMens(input);
  bool unlocked = false;
  GridOptions go = MonthlyGridOptions(input, unlocked, options);

  const screen::SavedRegion under = tk.Save(kTop, kLeft, kBottom, kRight);
  const auto attr = static_cast<screen::Attr>(tk.colours().COR_TEL1);
  tk.Fill(kTop, kLeft, kBottom, kRight, ' ', attr);
  tk.Frame(kTop, kLeft, kBottom, kRight, attr, kMonthlyTitle);

  GridBrowser browser(tk, grid, kTop, kGridLeft, kBottom, kGridLeft + kGridWidth - 1,
                      std::move(go));
  Result<GridExit> exit = browser.Run();
  tk.Restore(under);
  tk.Flush();
  if (!exit.ok()) return exit.status();

  MonthlyValuesResult result;
  result.values = MonthValues(grid, kValueColumn);
  result.total = grid.Number(kTotalsRow, kValueColumn);
  result.key = exit->key;
  return result;
}

screen::HotKey MonthlyValuesHotKey(
    Key key, std::function<std::array<Decimal, 12>()> rates,
    std::function<bool(screen::Toolkit&, screen::ActiveField&)> intercept) {
  auto open = std::make_shared<bool>(false);
  screen::HotKey hot;
  hot.key = key;
  hot.run = [open, rates = std::move(rates), intercept = std::move(intercept)](
                screen::Toolkit& tk, screen::VariableStore&, screen::ActiveField& field) {
    if (*open) return screen::HotKeyAction::kContinue;
    if (intercept && intercept(tk, field)) return screen::HotKeyAction::kContinue;
    if (field.kind() != screen::EditKind::kNumber || field.width() < 10)
      return screen::HotKeyAction::kContinue;
    MonthlyValuesInput in;
    if (rates) in.rates = rates();
    *open = true;
    Result<MonthlyValuesResult> r = [&]() {
      try {
        return RunMonthlyValues(tk, in);
      } catch (...) {
        *open = false;
        throw;
      }
    }();
    *open = false;
    if (r.ok() && !r->total.IsZero()) (void)field.set_value(r->total);
    return screen::HotKeyAction::kContinue;
  };
  return hot;
}

}  // namespace dodu::entry
