// The grid browser (MBROWSE): a spreadsheet-like view of a GridModel inside a
// rectangle of the screen, with a heading line, a heading separator, "│"
// between the columns, frozen columns kept at the left, panning, and an
// optional footing separator. The cursor moves over the cells; a cell is edited
// in place (GETMTX) through the column's picture, the number goes into the
// model and the totals row is recomputed from the numbers.
//
// Keys:
//   Up, Down, PgUp, PgDn, Ctrl PgUp, Ctrl PgDn    rows (SKIP_MATRIZ clamps)
//   Left, Right, Home, End, Ctrl Home, Ctrl End   columns; Ctrl Left, Ctrl Right pan
//   Enter            edit the cell (or hand the cell back, `enter_returns_cell`)
//   a printable key  starts the edit with that key typed
//   Alt M / Alt C    copy the cell into the copy buffer / paste it back
//   Alt S            the calculator; its result goes into the cell
//   Alt K            the outside calculator "calc.exe"
//   Alt W            save the declaration (hook)
//   a click          moves the cursor to the clicked cell
//   the exit keys    leave; the key is reported to the caller (the screen loop
//                    changes screen by it, ULTTECLA / TECLAMUDA)
// A profile adds its own keys and rules through the hooks of GridOptions, which
// run before the defaults.
#ifndef DODU_ENTRY_GRID_BROWSER_H_
#define DODU_ENTRY_GRID_BROWSER_H_

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "entry/clip_text.h"
#include "entry/grid_cell_edit.h"
#include "entry/grid_model.h"
#include "platform/status.h"
#include "screen/calculator.h"
#include "screen/keys.h"
#include "screen/toolkit.h"

namespace dodu::entry {

class GridBrowser;

// What a profile's key hook did with a key.
enum class GridKeyAction {
  kNotMine,  // the browser handles it as usual
  kHandled,  // done; redraw and wait for the next key
  kLeave,    // leave the browser reporting this key
};

// What a profile says about a value typed into a cell.
enum class CellVerdict {
  kAccept,       // write it
  kReject,       // do not write it; the browser moves on as after any edit
  kKeepEditing,  // do not write it; the cell stays open
};

// The keys that leave a grid: Tab, Shift Tab, Esc, F1, Alt F1, F11, Alt F2,
// F12, Alt F3, Alt F7, and F2..F10 when `screen_keys` (profiles below 40).
std::vector<screen::Key> GridExitKeys(bool screen_keys = true);

struct GridOptions {
  int frozen = 0;  // columns kept at the left; the cursor never rests on them
  bool footing_separator = false;
  // A footing line under the rows (and a separator above it): the text under
  // each column, computed from the model at each redraw (ColumnTotalFooting).
  std::function<std::string(const GridModel&, int col)> footing;
  int ult_pos = -1;    // ULT_POS: Enter after an edit here wraps to the next row (-1: last column)
  int end_limit = -1;  // End and Ctrl End go no further right (-1: none)
  bool ctrl_end_ignored = false;
  int right_limit = -1;  // Right is ignored from this column on (-1: none)
  std::vector<screen::Key> exit_keys = GridExitKeys();
  // M_ENT_EXIT: Enter hands the cell back and the grid closes.
  bool enter_returns_cell = false;
  int start_row = 0;
  int start_col = -1;  // -1: the first column after the frozen ones

  // May the cell be edited? Null: the column is editable and the row is not
  // the totals row.
  std::function<bool(const GridModel&, int row, int col)> can_edit;
  // A typed (or pasted, or calculated) value before it is written.
  std::function<CellVerdict(GridBrowser&, int row, int col, const screen::EditValue&)> check;
  // After a value was written into the model. Null: FX_RT (RecomputeTotals).
  std::function<void(GridBrowser&, int row, int col)> after_edit;
  // Profile keys, before the defaults.
  std::function<GridKeyAction(GridBrowser&, const screen::Key&)> on_key;
  // Alt W: save the declaration now. Null: the key does nothing.
  std::function<void()> save_declaration;
  // LSAI: the program's exit request; the browser leaves (with Esc) when it holds.
  std::function<bool()> exit_requested;

  // The idle watch: after `idle_minutes` (TEMP_DES; 0 off) without a key
  // `on_idle` runs once, and `on_resume` at the next key.
  int idle_minutes = 0;
  std::function<void()> on_idle;
  std::function<void()> on_resume;

  ClipText* clip = nullptr;                  // Alt M / Alt C; null: off
  screen::Calculator* calculator = nullptr;  // Alt S; null: off

  // Colours; unset: COR_TEL1 for the cells, COR_ESCOL for the current one (the
  // record browser's).
  std::optional<screen::Attr> normal_attr;
  std::optional<screen::Attr> current_attr;
};

// How the browser was left.
struct GridExit {
  screen::Key key;  // the key that left
  int row = 0;      // the cell the cursor was on
  int col = 0;
  // enter_returns_cell: the value of the chosen cell.
  std::optional<screen::EditValue> chosen;
};

// A footing of totals: `label` under the first column, and under every
// totalled number column the sum of its rows (the totals row left out),
// through the column's picture.
std::function<std::string(const GridModel&, int col)> ColumnTotalFooting(std::string label);

class GridBrowser {
 public:
  // The rectangle [top..bottom] x [left..right] (inclusive) is the frame's, as
  // for the record browser: the browse is drawn one cell inside it (the
  // heading line, the separator, the rows, and the footing separator on the
  // last inner line when asked for). The frame itself is the caller's (MOSBROW).
  GridBrowser(screen::Toolkit& tk, GridModel& grid, int top, int left, int bottom, int right,
              GridOptions options = {});

  // MBROWSE: draws and runs until the user leaves. Errors only from a picture
  // that does not suit its column (Invalid). ScriptExhausted passes through.
  Result<GridExit> Run();

  // GETMTX: edits the current cell (with `first_key` typed first) and returns
  // the keys to act on next (EXITKEY). Nothing when the cell may not be edited.
  Result<std::vector<screen::Key>> EditCurrent(std::optional<screen::Key> first_key = std::nullopt);

  // Acts on one key as Run does; a key that leaves answers the exit.
  Result<std::optional<GridExit>> HandleKey(const screen::Key& key);

  // Writes a value into a cell as a confirmed edit does: the profile's check,
  // the model, the after-edit rule (the totals). False when it was not written.
  bool WriteCell(int row, int col, const screen::EditValue& value);

  void Draw();
  GridModel& grid() { return grid_; }
  const GridModel& grid() const { return grid_; }
  screen::Toolkit& toolkit() { return tk_; }
  const GridOptions& options() const { return options_; }
  int row() const { return row_; }  // NLIN, 0-based
  int col() const { return col_; }  // PONTEIRO, 0-based
  void SetPosition(int row, int col);
  bool CanEdit(int row, int col) const;
  // Screen position of a cell, nullopt when it is not shown.
  std::optional<std::pair<int, int>> CellPosition(int row, int col) const;

 private:
  int DataRows() const;
  int FirstMovable() const;
  void EnsureVisible();
  int VisibleColumnsFrom(int left_col) const;
  bool MoveColumn(int delta);
  void Pan(int delta);
  screen::Attr NormalAttr() const;
  screen::Attr CurrentAttr() const;
  bool IsExitKey(const screen::Key& key) const;
  std::optional<std::pair<int, int>> CellAt(int screen_row, int screen_col) const;
  // The next key: one an edit answered, else a wait with the idle and exit watch
  // (nullopt: the exit request was raised).
  std::optional<screen::Key> NextKey();

  screen::Toolkit& tk_;
  GridModel& grid_;
  int top_, left_, bottom_, right_;
  GridOptions options_;
  int row_ = 0;
  int col_ = 0;
  int top_row_ = 0;                  // first data row shown
  int left_col_ = 0;                 // first scrolling column shown
  std::deque<screen::Key> pending_;  // keys an edit answered, acted on before waiting
  bool idle_stopped_ = false;
};

// MOSBROW(grid, top, left, bottom, right, frame): the grid browser in a
// window. Frame 0 browses inside what is on the screen; 1, 2 and 6 draw a frame
// with `title` on the rectangle first. With frame 1 or 6 the screen under the
// window is put back at the end; with 2 the window stays drawn.
Result<GridExit> MOSBROW(screen::Toolkit& tk, GridModel& grid, int top, int left, int bottom,
                         int right, int frame, GridOptions options = {},
                         std::string_view title = {});

}  // namespace dodu::entry

#endif  // DODU_ENTRY_GRID_BROWSER_H_
