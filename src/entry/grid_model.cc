#include "entry/grid_model.h"

#include <algorithm>
#include <stdexcept>

#include "core/text_helpers.h"

namespace dodu::entry {

namespace {

screen::EditValue EmptyCell(const GridColumn& col) {
  return screen::EmptyValue(col.kind, col.kind == screen::EditKind::kText ? col.width : 0);
}

std::string TwoDigits(int n) {
  std::string s = std::to_string(n);
  return s.size() < 2 ? "0" + s : s;
}

}  // namespace

int GridColumn::DisplayWidth() const {
  core::Picture pic = core::Picture::Parse(picture);
  int w = 0;
  switch (kind) {
    case screen::EditKind::kText:
      w = pic.DisplayWidth(core::ValueKind::kText, width);
      break;
    case screen::EditKind::kNumber:
      w = pic.DisplayWidth(core::ValueKind::kNumber, 0, shape);
      break;
    case screen::EditKind::kDate:
      w = 10;
      break;
    case screen::EditKind::kLogical:
      w = 1;
      break;
  }
  if (kind == screen::EditKind::kText && width > 0 && pic.functions().scroll_width == 0 &&
      !pic.has_template())
    w = width;
  return std::max(w, static_cast<int>(heading.size()));
}

GridColumn MoneyColumn(std::string heading, bool editable) {
  GridColumn c;
  c.heading = std::move(heading);
  c.picture = std::string(kMoneyPicture);
  c.kind = screen::EditKind::kNumber;
  c.editable = editable;
  return c;
}

GridColumn LabelColumn(std::string heading, int width) {
  GridColumn c;
  c.heading = std::move(heading);
  c.kind = screen::EditKind::kText;
  c.width = width;
  c.editable = false;
  c.totalled = false;
  return c;
}

GridModel::GridModel(std::vector<GridColumn> columns, int rows, std::optional<int> totals_row)
    : columns_(std::move(columns)), totals_row_(totals_row) {
  if (rows < 0) throw std::invalid_argument("grid with a negative row count");
  if (totals_row_ && (*totals_row_ < 0 || *totals_row_ >= rows))
    throw std::invalid_argument("grid totals row outside the grid");
  cells_.resize(rows);
  for (auto& row : cells_) {
    row.reserve(columns_.size());
    for (const GridColumn& col : columns_) row.push_back(EmptyCell(col));
  }
}

Status GridModel::Admits(int c, const screen::EditValue& value) const {
  const GridColumn& col = columns_.at(c);
  if (screen::KindOf(value) != col.kind) {
    return Status::Invalid("grid column " + std::to_string(c + 1) +
                           ": value of another kind than the column");
  }
  if (col.kind == screen::EditKind::kNumber) {
    const core::Decimal& d = std::get<core::Decimal>(value);
    // A cell holds what its field can store, exactly: no silent rounding.
    if (d.RoundHalfAway(col.shape.decimals) != d ||
        !d.FitsField(col.shape.width, col.shape.decimals)) {
      return Status::Invalid("grid column " + std::to_string(c + 1) + ": " + d.ToString() +
                             " does not fit N(" + std::to_string(col.shape.width) + "," +
                             std::to_string(col.shape.decimals) + ")");
    }
  }
  return Status::Ok();
}

Status GridModel::Set(int r, int c, const screen::EditValue& value) {
  auto& cell = cells_.at(r).at(c);
  DODU_RETURN_IF_ERROR(Admits(c, value));
  cell = value;
  return Status::Ok();
}

core::Decimal GridModel::Number(int r, int c) const {
  const auto& cell = At(r, c);
  if (const auto* d = std::get_if<core::Decimal>(&cell)) return *d;
  return core::Decimal();
}

std::string GridModel::Text(int r, int c) const {
  const auto& cell = At(r, c);
  if (const auto* s = std::get_if<std::string>(&cell)) return *s;
  return std::string();
}

std::string GridModel::Display(int r, int c) const {
  const GridColumn& col = columns_.at(c);
  const auto& cell = At(r, c);
  core::Picture pic = core::Picture::Parse(col.picture);
  std::string text;
  switch (col.kind) {
    case screen::EditKind::kText: {
      const std::string& s = std::get<std::string>(cell);
      text = col.picture.empty() ? s : pic.FormatText(s);
      break;
    }
    case screen::EditKind::kNumber:
      text = pic.FormatNumber(std::get<core::Decimal>(cell), col.shape);
      break;
    case screen::EditKind::kDate:
      text = pic.FormatDate(std::get<core::Date>(cell));
      break;
    case screen::EditKind::kLogical:
      text = pic.FormatLogical(std::get<bool>(cell));
      break;
  }
  const size_t w = static_cast<size_t>(col.DisplayWidth());
  if (text.size() < w) {
    // Numbers stand at the right under their heading, texts at the left.
    if (col.kind == screen::EditKind::kNumber)
      text.insert(0, w - text.size(), ' ');
    else
      text.append(w - text.size(), ' ');
  }
  if (text.size() > w) text.resize(w);
  return text;
}

core::Decimal GridModel::Sum(int c, int first, int last) const {
  core::Decimal total;
  first = std::max(first, 0);
  last = std::min(last, rows() - 1);
  for (int r = first; r <= last; ++r) {
    if (is_totals_row(r)) continue;
    total += Number(r, c);
  }
  return total;
}

void GridModel::RecomputeTotal(int c) {
  if (!totals_row_) return;
  const GridColumn& col = columns_.at(c);
  if (col.kind != screen::EditKind::kNumber || !col.totalled) return;
  // Twelve N(12,2) amounts stay far inside the Decimal range; the total is
  // stored as it is, even where it is wider than one field (the year row of
  // a grid is a sum, and its field is as wide as its months').
  cells_[*totals_row_][c] = Sum(c, 0, rows() - 1);
}

void GridModel::RecomputeTotals() {
  for (int c = 0; c < cols(); ++c) RecomputeTotal(c);
}

void GridModel::ClearColumn(int c) {
  const GridColumn& col = columns_.at(c);
  for (auto& row : cells_) row.at(c) = EmptyCell(col);
}

int SkipMatriz(int row, int n, int rows) {
  if (rows <= 0) return 0;
  const int target = std::clamp(row + n, 0, rows - 1);
  return target - row;
}

std::string MonthLabel(int month) {
  if (month == 13) return "Totais";
  std::optional<std::string> name = core::TrazMes(month);
  if (!name) return std::string();
  return TwoDigits(month) + "-" + name->substr(0, 3);
}

GridModel MonthlyGrid(std::string label_heading, std::vector<GridColumn> value_columns) {
  std::vector<GridColumn> columns;
  columns.push_back(LabelColumn(std::move(label_heading), 6));
  for (auto& c : value_columns) columns.push_back(std::move(c));
  GridModel grid(std::move(columns), kMonthRows, kTotalsRow);
  for (int m = 1; m <= kMonthRows; ++m) {
    Status s = grid.Set(m - 1, 0, MonthLabel(m));
    (void)s;  // a six-character label always fits its column
  }
  return grid;
}

std::array<core::Decimal, 12> MonthValues(const GridModel& grid, int c) {
  std::array<core::Decimal, 12> out{};
  for (int m = 0; m < 12; ++m) out[m] = grid.Number(m, c);
  return out;
}

Status SetMonthValues(GridModel& grid, int c, const std::array<core::Decimal, 12>& values) {
  GridModel probe = grid;  // all or nothing
  for (int m = 0; m < 12; ++m) DODU_RETURN_IF_ERROR(probe.Set(m, c, values[m]));
  probe.RecomputeTotal(c);
  grid = std::move(probe);
  return Status::Ok();
}

MonthFieldName MonthFieldFamily(std::string prefix, std::string suffix) {
  return [prefix = std::move(prefix), suffix = std::move(suffix)](int month) {
    return prefix + TwoDigits(month) + suffix;
  };
}

Status LoadMonthFields(GridModel& grid, int c, const store::Record& record,
                       const MonthFieldName& name, bool with_year_row) {
  const int months = with_year_row ? 13 : 12;
  GridModel probe = grid;
  for (int m = 1; m <= months && m <= probe.rows(); ++m) {
    DODU_ASSIGN_OR_RETURN(core::Decimal v, record.GetNumber(name(m)));
    if (m == 13 && probe.is_totals_row(12)) {
      // The stored year row is the sum the months had when it was saved.
      continue;
    }
    DODU_RETURN_IF_ERROR(probe.Set(m - 1, c, v));
  }
  probe.RecomputeTotal(c);
  grid = std::move(probe);
  return Status::Ok();
}

Status StoreMonthFields(const GridModel& grid, int c, store::Record& record,
                        const MonthFieldName& name, bool with_year_row) {
  const int months = with_year_row ? 13 : 12;
  for (int m = 1; m <= months && m <= grid.rows(); ++m) {
    DODU_RETURN_IF_ERROR(record.PutNumber(name(m), grid.Number(m - 1, c)));
  }
  return Status::Ok();
}

}  // namespace dodu::entry
