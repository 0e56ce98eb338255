#include "entry/grid_browser.h"

#include <algorithm>
#include <deque>

namespace dodu::entry {

namespace {

using screen::Attr;
using screen::Cell;
using screen::Key;
using screen::KeyType;

constexpr uint8_t kVertical = 0xB3;    // │
constexpr uint8_t kHorizontal = 0xC4;  // ─
constexpr uint8_t kCross = 0xC5;       // ┼
constexpr uint8_t kUpTee = 0xC1;       // ┴

}  // namespace

std::vector<Key> GridExitKeys(bool screen_keys) {
  std::vector<Key> keys = {Key::Named(KeyType::kTab),
                           Key::Named(KeyType::kShiftTab),
                           Key::Esc(),
                           Key::F(1),
                           Key::AltF(1),
                           Key::F(11),
                           Key::AltF(2),
                           Key::F(12),
                           Key::AltF(3),
                           Key::AltF(7)};
  if (screen_keys)
    for (int n = 2; n <= 10; ++n) keys.push_back(Key::F(n));
  return keys;
}

std::function<std::string(const GridModel&, int col)> ColumnTotalFooting(std::string label) {
  return [label = std::move(label)](const GridModel& g, int c) -> std::string {
    if (c == 0) return label;
    const GridColumn& col = g.column(c);
    if (col.kind != screen::EditKind::kNumber || !col.totalled) return std::string();
    std::string text =
        core::Picture::Parse(col.picture).FormatNumber(g.Sum(c, 0, g.rows() - 1), col.shape);
    const size_t w = static_cast<size_t>(col.DisplayWidth());
    if (text.size() < w) text.insert(0, w - text.size(), ' ');
    return text;
  };
}

GridBrowser::GridBrowser(screen::Toolkit& tk, GridModel& grid, int top, int left, int bottom,
                         int right, GridOptions options)
    : tk_(tk),
      grid_(grid),
      top_(top + 1),
      left_(left + 1),
      bottom_(bottom - 1),
      right_(right - 1),
      options_(std::move(options)) {
  left_col_ = FirstMovable();
  SetPosition(options_.start_row, options_.start_col < 0 ? FirstMovable() : options_.start_col);
}

// ------------------------------------------------------------------ geometry

// Lines under the rows: the footing separator, and the footing itself.
static int FootLines(const GridOptions& o) {
  if (o.footing) return 2;
  return o.footing_separator ? 1 : 0;
}

int GridBrowser::DataRows() const {
  return std::max(1, bottom_ - top_ + 1 - 2 - FootLines(options_));
}

int GridBrowser::FirstMovable() const {
  return std::clamp(options_.frozen, 0, std::max(grid_.cols() - 1, 0));
}

void GridBrowser::SetPosition(int row, int col) {
  row_ = std::clamp(row, 0, std::max(grid_.rows() - 1, 0));
  col_ = std::clamp(col, FirstMovable(), std::max(grid_.cols() - 1, 0));
  EnsureVisible();
}

// The columns shown, in screen order, with their first screen column.
namespace {
struct Placed {
  int col;
  int x;
  int width;
};
}  // namespace

static std::vector<Placed> Layout(const GridModel& grid, int frozen, int left_col, int left,
                                  int right) {
  // Each column is followed by its separator, as in the record browser.
  std::vector<Placed> out;
  int x = left;
  auto place = [&](int c) -> bool {
    const int w = grid.column(c).DisplayWidth();
    if (x + w - 1 > right) return false;
    out.push_back(Placed{c, x, w});
    x += w + 1;
    return true;
  };
  for (int c = 0; c < std::min(frozen, grid.cols()); ++c)
    if (!place(c)) return out;
  for (int c = left_col; c < grid.cols(); ++c)
    if (!place(c)) break;
  return out;
}

int GridBrowser::VisibleColumnsFrom(int left_col) const {
  int n = 0;
  for (const Placed& p : Layout(grid_, options_.frozen, left_col, left_, right_))
    if (p.col >= options_.frozen) ++n;
  return n;
}

void GridBrowser::EnsureVisible() {
  if (row_ < top_row_) top_row_ = row_;
  if (row_ >= top_row_ + DataRows()) top_row_ = row_ - DataRows() + 1;
  if (col_ < options_.frozen) return;
  if (col_ < left_col_) left_col_ = col_;
  while (left_col_ < col_ && left_col_ + VisibleColumnsFrom(left_col_) <= col_) ++left_col_;
}

std::optional<std::pair<int, int>> GridBrowser::CellPosition(int row, int col) const {
  if (row < top_row_ || row >= top_row_ + DataRows()) return std::nullopt;
  for (const Placed& p : Layout(grid_, options_.frozen, left_col_, left_, right_))
    if (p.col == col) return std::make_pair(top_ + 2 + (row - top_row_), p.x);
  return std::nullopt;
}

std::optional<std::pair<int, int>> GridBrowser::CellAt(int screen_row, int screen_col) const {
  const int r = top_row_ + (screen_row - top_ - 2);
  if (screen_row < top_ + 2 || screen_row >= top_ + 2 + DataRows() || r >= grid_.rows())
    return std::nullopt;
  for (const Placed& p : Layout(grid_, options_.frozen, left_col_, left_, right_))
    if (screen_col >= p.x && screen_col < p.x + p.width) return std::make_pair(r, p.col);
  return std::nullopt;
}

Attr GridBrowser::NormalAttr() const {
  if (options_.normal_attr) return *options_.normal_attr;
  return static_cast<Attr>(tk_.colours().COR_TEL1);
}

Attr GridBrowser::CurrentAttr() const {
  if (options_.current_attr) return *options_.current_attr;
  return static_cast<Attr>(tk_.colours().COR_ESCOL);
}

// ------------------------------------------------------------------ drawing

void GridBrowser::Draw() {
  const Attr normal = NormalAttr();
  const Attr current = CurrentAttr();
  tk_.Fill(top_, left_, bottom_, right_, ' ', normal);
  const std::vector<Placed> placed = Layout(grid_, options_.frozen, left_col_, left_, right_);
  const int sep_row = top_ + 1;
  for (int x = left_; x <= right_; ++x) tk_.Put(sep_row, x, Cell{kHorizontal, normal});
  const int foot_sep = bottom_ - (options_.footing ? 1 : 0);
  if (FootLines(options_) > 0)
    for (int x = left_; x <= right_; ++x) tk_.Put(foot_sep, x, Cell{kHorizontal, normal});
  for (const Placed& p : placed) {
    std::string heading = grid_.column(p.col).heading;
    heading.resize(p.width, ' ');
    tk_.Write(top_, p.x, heading, normal);
    const int x = p.x + p.width;
    if (x <= right_) {
      tk_.Put(top_, x, Cell{kVertical, normal});
      tk_.Put(sep_row, x, Cell{kCross, normal});
      for (int r = 0; r < DataRows(); ++r) tk_.Put(top_ + 2 + r, x, Cell{kVertical, normal});
      if (FootLines(options_) > 0)
        tk_.Put(foot_sep, x, Cell{options_.footing ? kCross : kUpTee, normal});
      if (options_.footing) tk_.Put(bottom_, x, Cell{kVertical, normal});
    }
    if (options_.footing) {
      std::string foot = options_.footing(grid_, p.col);
      if (static_cast<int>(foot.size()) > p.width) foot = foot.substr(foot.size() - p.width);
      foot.resize(p.width, ' ');
      tk_.Write(bottom_, p.x, foot, normal);
    }
    for (int r = 0; r < DataRows(); ++r) {
      const int gr = top_row_ + r;
      if (gr >= grid_.rows()) break;
      const bool here = gr == row_ && p.col == col_;
      tk_.Write(top_ + 2 + r, p.x, grid_.Display(gr, p.col), here ? current : normal);
    }
  }
  tk_.Flush();
}

// ------------------------------------------------------------------ moving

bool GridBrowser::MoveColumn(int delta) {
  const int target = std::clamp(col_ + delta, FirstMovable(), grid_.cols() - 1);
  if (target == col_) return false;
  col_ = target;
  EnsureVisible();
  return true;
}

void GridBrowser::Pan(int delta) {
  const int last_left = grid_.cols() - 1;
  left_col_ = std::clamp(left_col_ + delta, FirstMovable(), std::max(last_left, FirstMovable()));
  // The cursor follows the view when the pan pushed its column out.
  const int shown = VisibleColumnsFrom(left_col_);
  if (col_ >= options_.frozen) {
    if (col_ < left_col_) col_ = left_col_;
    if (col_ >= left_col_ + shown) col_ = left_col_ + std::max(shown, 1) - 1;
  }
}

bool GridBrowser::CanEdit(int row, int col) const {
  if (options_.can_edit) return options_.can_edit(grid_, row, col);
  return grid_.column(col).editable && !grid_.is_totals_row(row);
}

bool GridBrowser::IsExitKey(const Key& key) const {
  return std::find(options_.exit_keys.begin(), options_.exit_keys.end(), key) !=
         options_.exit_keys.end();
}

// ------------------------------------------------------------------ editing

bool GridBrowser::WriteCell(int row, int col, const screen::EditValue& value) {
  if (!grid_.Admits(col, value).ok()) {
    tk_.Beep();
    return false;
  }
  if (options_.check && options_.check(*this, row, col, value) != CellVerdict::kAccept)
    return false;
  if (!grid_.Set(row, col, value).ok()) return false;
  if (options_.after_edit)
    options_.after_edit(*this, row, col);
  else
    grid_.RecomputeTotals();
  return true;
}

Result<std::vector<Key>> GridBrowser::EditCurrent(std::optional<Key> first_key) {
  if (!CanEdit(row_, col_)) return std::vector<Key>{};
  EnsureVisible();
  Draw();
  const auto pos = CellPosition(row_, col_);
  if (!pos) return std::vector<Key>{};
  const GridColumn& column = grid_.column(col_);
  const int row = row_, col = col_;

  CellVerdict verdict = CellVerdict::kAccept;
  CellEditRequest req;
  req.row = pos->first;
  req.col = pos->second;
  req.value = grid_.At(row, col);
  req.picture = column.picture;
  req.width = column.kind == screen::EditKind::kText ? column.width : 0;
  req.first_key = first_key;
  req.attr = CurrentAttr();
  req.valid = [&](const screen::EditValue& v) {
    if (!grid_.Admits(col, v).ok()) {
      tk_.Beep();
      return false;
    }
    verdict = options_.check ? options_.check(*this, row, col, v) : CellVerdict::kAccept;
    return verdict != CellVerdict::kKeepEditing;
  };
  DODU_ASSIGN_OR_RETURN(CellEditResult result, EditCellAt(tk_, req));
  if (result.confirmed && verdict == CellVerdict::kAccept) {
    if (grid_.Set(row, col, result.value).ok()) {
      if (options_.after_edit)
        options_.after_edit(*this, row, col);
      else
        grid_.RecomputeTotals();
    }
  }
  Draw();
  if (result.key.type == KeyType::kMenu) return std::vector<Key>{result.key};
  const int ult = options_.ult_pos < 0 ? grid_.cols() - 1 : options_.ult_pos;
  return ExitKey(result.key, /*appending=*/false, col == ult);
}

// ------------------------------------------------------------------ keys

Result<std::optional<GridExit>> GridBrowser::HandleKey(const Key& key) {
  auto leave = [&](const Key& k) { return std::optional<GridExit>(GridExit{k, row_, col_, {}}); };

  if (options_.on_key) {
    switch (options_.on_key(*this, key)) {
      case GridKeyAction::kHandled:
        return std::optional<GridExit>();
      case GridKeyAction::kLeave:
        return leave(key);
      case GridKeyAction::kNotMine:
        break;
    }
  }
  if (key.type == KeyType::kMenu || IsExitKey(key)) return leave(key);

  const int last_col = grid_.cols() - 1;
  const int end_col = options_.end_limit < 0 ? last_col : std::min(options_.end_limit, last_col);
  switch (key.type) {
    case KeyType::kUp:
      row_ += SkipMatriz(row_, -1, grid_.rows());
      break;
    case KeyType::kDown:
      row_ += SkipMatriz(row_, 1, grid_.rows());
      break;
    case KeyType::kPgUp:
      row_ += SkipMatriz(row_, -DataRows(), grid_.rows());
      break;
    case KeyType::kPgDn:
      row_ += SkipMatriz(row_, DataRows(), grid_.rows());
      break;
    case KeyType::kCtrlPgUp:
      row_ = 0;
      break;
    case KeyType::kCtrlPgDn:
      row_ = std::max(grid_.rows() - 1, 0);
      break;
    case KeyType::kLeft:
      MoveColumn(-1);
      break;
    case KeyType::kRight:
      if (options_.right_limit >= 0 && col_ >= options_.right_limit) break;
      MoveColumn(1);
      break;
    case KeyType::kHome:
      col_ = std::max(left_col_, FirstMovable());
      break;
    case KeyType::kEnd: {
      int last_shown = col_;
      for (const Placed& p : Layout(grid_, options_.frozen, left_col_, left_, right_))
        last_shown = std::max(last_shown, p.col);
      if (col_ < end_col) col_ = std::min(last_shown, end_col);
      break;
    }
    case KeyType::kCtrlHome:
      col_ = FirstMovable();
      break;
    case KeyType::kCtrlEnd:
      if (options_.ctrl_end_ignored) break;
      if (col_ < end_col) col_ = end_col;
      break;
    case KeyType::kCtrlLeft:
      Pan(-1);
      break;
    case KeyType::kCtrlRight:
      Pan(1);
      break;
    case KeyType::kEnter:
      if (options_.enter_returns_cell) {
        GridExit exit{key, row_, col_, grid_.At(row_, col_)};
        return std::optional<GridExit>(exit);
      } else {
        DODU_ASSIGN_OR_RETURN(std::vector<Key> next, EditCurrent());
        for (const Key& k : next) pending_.push_back(k);
      }
      break;
    case KeyType::kChar: {
      if (key.code < 32) break;
      DODU_ASSIGN_OR_RETURN(std::vector<Key> next, EditCurrent(key));
      for (const Key& k : next) pending_.push_back(k);
      break;
    }
    case KeyType::kClick:
    case KeyType::kDoubleClick:
      if (auto cell = CellAt(key.row, key.col)) {
        SetPosition(cell->first, std::max(cell->second, FirstMovable()));
        if (key.type == KeyType::kDoubleClick) {
          DODU_ASSIGN_OR_RETURN(std::vector<Key> next, EditCurrent());
          for (const Key& k : next) pending_.push_back(k);
        }
      }
      break;
    case KeyType::kAlt:
      switch (key.code) {
        case 'M':
          if (options_.clip) options_.clip->Copy(grid_.At(row_, col_));
          break;
        case 'C':
          if (options_.clip && CanEdit(row_, col_)) {
            const GridColumn& c = grid_.column(col_);
            auto v = options_.clip->PasteFor(c.kind, c.width);
            if (auto* value = std::get_if<screen::EditValue>(&v)) WriteCell(row_, col_, *value);
          }
          break;
        case 'S':
          if (options_.calculator && CanEdit(row_, col_)) {
            const GridColumn& c = grid_.column(col_);
            screen::CalculatorTarget target{c.kind, c.picture, c.width, grid_.Text(row_, col_)};
            std::optional<core::Decimal> r = options_.calculator->Run(tk_, 5, 27, &target);
            if (r) {
              if (c.kind == screen::EditKind::kNumber) {
                WriteCell(row_, col_, r->RoundHalfAway(c.shape.decimals));
              } else if (c.kind == screen::EditKind::kText) {
                WriteCell(row_, col_, screen::AppendCalculatorResult(*r, target));
              }
            }
          }
          break;
        case 'K': {
          platform::SpawnOptions spawn;
          spawn.wait = false;
          (void)tk_.terminal().Launch({"calc.exe"}, spawn);
          break;
        }
        case 'W':
          if (options_.save_declaration) options_.save_declaration();
          break;
        default:
          break;
      }
      break;
    default:
      break;
  }
  if (row_ > grid_.rows() - 1) row_ = std::max(grid_.rows() - 1, 0);
  EnsureVisible();
  return std::optional<GridExit>();
}

std::optional<Key> GridBrowser::NextKey() {
  if (!pending_.empty()) {
    Key k = pending_.front();
    pending_.pop_front();
    return k;
  }
  const bool watch_exit = static_cast<bool>(options_.exit_requested);
  const int64_t idle_ms =
      options_.idle_minutes > 0 && options_.on_idle ? int64_t{options_.idle_minutes} * 60000 : 0;
  const int64_t since = tk_.clock().MonotonicMillis();
  while (true) {
    if (watch_exit && options_.exit_requested()) return std::nullopt;
    int64_t timeout = watch_exit ? 1000 : -1;
    if (idle_ms > 0 && !idle_stopped_) {
      const int64_t left = since + idle_ms - tk_.clock().MonotonicMillis();
      if (left <= 0) {
        idle_stopped_ = true;
        options_.on_idle();
        continue;
      }
      timeout = timeout < 0 ? left : std::min(timeout, left);
    }
    std::optional<Key> key =
        timeout < 0 ? std::optional<Key>(tk_.WaitKey()) : tk_.ReadKey(static_cast<int>(timeout));
    if (!key) continue;
    if (idle_stopped_) {
      idle_stopped_ = false;
      if (options_.on_resume) options_.on_resume();
    }
    return key;
  }
}

Result<GridExit> GridBrowser::Run() {
  pending_.clear();
  EnsureVisible();
  while (true) {
    Draw();
    std::optional<Key> key = NextKey();
    if (!key) return GridExit{Key::Esc(), row_, col_, {}};  // the exit request
    DODU_ASSIGN_OR_RETURN(std::optional<GridExit> exit, HandleKey(*key));
    if (exit) {
      Draw();
      return *exit;
    }
  }
}

Result<GridExit> MOSBROW(screen::Toolkit& tk, GridModel& grid, int top, int left, int bottom,
                         int right, int frame, GridOptions options, std::string_view title) {
  std::optional<screen::SavedRegion> under;
  if (frame != 0) {
    if (frame != 2) under = tk.Save(top, left, bottom, right);
    const auto attr = static_cast<Attr>(tk.colours().COR_TEL1);
    tk.Fill(top, left, bottom, right, ' ', attr);
    tk.Frame(top, left, bottom, right, attr, title);
  }
  GridBrowser browser(tk, grid, top, left, bottom, right, std::move(options));
  Result<GridExit> exit = browser.Run();
  if (under) tk.Restore(*under);
  tk.Flush();
  return exit;
}

}  // namespace dodu::entry
