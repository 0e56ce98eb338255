// The model under the grid browser: a small two-dimensional table of typed
// cells (the monthly grids of an open declaration: the monthly values of a
// cell, the carnê-leão month table, the rural months, the variable-income
// statements). A cell holds its value — a number, a text or a date — and
// becomes text only when it is drawn. Every reader (load and save of a
// declaration, the carnê-leão and rural computations, the reports) takes the
// numbers from here; nothing is ever read back from a formatted cell, so a
// value wider than a display picture or with more decimals than it shows keeps
// its exact amount.
//
// Rows and columns are 0-based. A grid may name one totals row: the numeric
// columns marked `totalled` hold there the sum of every other row
// (RecomputeTotals, the old FX_RT), computed from the numbers.
#ifndef DODU_ENTRY_GRID_MODEL_H_
#define DODU_ENTRY_GRID_MODEL_H_

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/decimal.h"
#include "core/picture.h"
#include "platform/status.h"
#include "screen/edit_value.h"
#include "store/dbf_record.h"

namespace dodu::entry {

// The field shape of the money cells: N(12,2), the width of every amount field
// the grids are loaded from and stored into.
inline constexpr core::NumberShape kMoneyShape{12, 2};
// The display and edit picture of the money cells. It covers the whole N(12,2)
// field, so any amount a field can hold can be typed and shown.
inline constexpr std::string_view kMoneyPicture = "@Ez 999,999,999.99";

// One column of a grid.
struct GridColumn {
  std::string heading;  // cp850, shown above the column
  std::string picture;  // display and edit picture ("" for none)
  screen::EditKind kind = screen::EditKind::kNumber;
  int width = 0;                          // text columns: the text width; 0 takes the picture's
  core::NumberShape shape = kMoneyShape;  // numbers: the range a cell may hold
  bool editable = true;                   // false: shown only (labels, computed columns)
  bool totalled = true;                   // numbers: summed into the totals row
  // The column's display width (picture, or text width), at least the heading's.
  int DisplayWidth() const;
};

// A numeric money column with the standard picture.
GridColumn MoneyColumn(std::string heading, bool editable = true);
// A label column (text, not editable, not totalled) `width` characters wide.
GridColumn LabelColumn(std::string heading, int width);

class GridModel {
 public:
  // A grid of `rows` rows over `columns`, every cell empty (blank text of the
  // column's width, 0, the blank date). `totals_row` (0-based) when the grid
  // has one.
  GridModel(std::vector<GridColumn> columns, int rows,
            std::optional<int> totals_row = std::nullopt);

  int rows() const { return static_cast<int>(cells_.size()); }
  int cols() const { return static_cast<int>(columns_.size()); }
  const GridColumn& column(int c) const { return columns_.at(c); }
  GridColumn& column(int c) { return columns_.at(c); }
  const std::vector<GridColumn>& columns() const { return columns_; }
  std::optional<int> totals_row() const { return totals_row_; }
  bool is_totals_row(int r) const { return totals_row_ && *totals_row_ == r; }

  // The cell's value. Out-of-range indexes are a programming error (throws).
  const screen::EditValue& At(int r, int c) const { return cells_.at(r).at(c); }
  // Stores a value. Invalid when its kind is not the column's, or a number does
  // not fit the column's shape (it would not fit the field it is saved into);
  // the cell keeps its value then.
  Status Set(int r, int c, const screen::EditValue& value);
  // Whether column c could take the value (the check Set makes), without storing it.
  Status Admits(int c, const screen::EditValue& value) const;

  // Numbers: the cell's number (0 for a cell of another kind).
  core::Decimal Number(int r, int c) const;
  Status SetNumber(int r, int c, const core::Decimal& value) { return Set(r, c, value); }
  // Text cells: the text (as stored, blank padded); "" for other kinds.
  std::string Text(int r, int c) const;

  // The cell as drawn: the value through the column's picture. A number the
  // picture cannot show comes out as the picture's overflow stars; the cell
  // itself is unchanged.
  std::string Display(int r, int c) const;

  // The sum of rows [first, last] of a numeric column (the totals row skipped).
  core::Decimal Sum(int c, int first, int last) const;
  // FX_RT: every totalled numeric column's totals-row cell := the sum of all
  // other rows. No-op without a totals row.
  void RecomputeTotals();
  // The same for one column.
  void RecomputeTotal(int c);

  // Every cell of the column back to empty (the totals row too).
  void ClearColumn(int c);

 private:
  std::vector<GridColumn> columns_;
  std::vector<std::vector<screen::EditValue>> cells_;
  std::optional<int> totals_row_;
};

// SKIP_MATRIZ: the distance the current row `row` (0-based) really moves when
// asked to move by n in a grid of `rows` rows: clamped so that the row stays in
// 0..rows-1 (a skip above the first row gives the distance to it, one past the
// last row the distance to the last). 0 for an empty grid.
int SkipMatriz(int row, int n, int rows);

// ---- monthly grids -----------------------------------------------------------
// Thirteen rows: months 1..12 in rows 0..11 and the totals row 12. Column 0 is
// the month label.
inline constexpr int kMonthRows = 13;
inline constexpr int kTotalsRow = 12;

// "01-Jan" .. "12-Dez" (the two-digit month, "-" and the first three letters of
// the month's name), "Totais" for 13. Empty outside 1..13.
std::string MonthLabel(int month);

// A monthly grid: the label column headed `label_heading` (six characters
// wide) followed by `value_columns`, labels filled in, totals row 12.
GridModel MonthlyGrid(std::string label_heading, std::vector<GridColumn> value_columns);

// The twelve monthly numbers of column c (rows 0..11).
std::array<core::Decimal, 12> MonthValues(const GridModel& grid, int c);
// Stores twelve monthly numbers into column c and re-sums its total. Invalid
// (nothing stored) when one does not fit the column.
Status SetMonthValues(GridModel& grid, int c, const std::array<core::Decimal, 12>& values);

// ---- field families ------------------------------------------------------------
// The name of a record field for a month 1..12 (13 for the year row where the
// family has one): "I1_4" + mm, "I2_" + k + mm, "I3_" + mm + "OR".
using MonthFieldName = std::function<std::string(int month)>;
// prefix + two-digit month: MonthFieldFamily("I1_4")(3) == "I1_403".
MonthFieldName MonthFieldFamily(std::string prefix, std::string suffix = {});

// Loads column c from the record's monthly fields (months 1..12, and the year
// row from month 13 when `with_year_row`; otherwise the total is re-summed).
// NotFound/Invalid from the record when a field is missing or not numeric.
Status LoadMonthFields(GridModel& grid, int c, const store::Record& record,
                       const MonthFieldName& name, bool with_year_row = false);
// Stores column c into the record's monthly fields (month 13 from the totals
// row when `with_year_row`). The numbers go in as they are.
Status StoreMonthFields(const GridModel& grid, int c, store::Record& record,
                        const MonthFieldName& name, bool with_year_row = false);

}  // namespace dodu::entry

#endif  // DODU_ENTRY_GRID_MODEL_H_
