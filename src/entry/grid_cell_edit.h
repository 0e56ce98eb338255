// Editing one cell of a browse in place, and the answer the browse moves by
// afterwards (EXITKEY). The grid browser's GETMTX runs on these; the edit is
// the screen toolkit's edit buffer over the column's picture, drawn at the
// cell's position.
//
// Keys while a cell is edited: the editing keys go to the buffer; Enter, Up,
// Down, PgUp, PgDn, Tab and Shift Tab confirm; filling the last position
// confirms too (unless `confirm` is set: the field is then left only with a
// key, and the bell sounds at its end); Esc abandons. A confirmed value that the
// validation refuses keeps the cell open.
#ifndef DODU_ENTRY_GRID_CELL_EDIT_H_
#define DODU_ENTRY_GRID_CELL_EDIT_H_

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/status.h"
#include "screen/edit_value.h"
#include "screen/keys.h"
#include "screen/terminal.h"
#include "screen/toolkit.h"

namespace dodu::entry {

struct CellEditRequest {
  int row = 0;  // screen position of the cell
  int col = 0;
  screen::EditValue value;  // what the cell holds
  std::string picture;      // the column's picture
  int width = 0;            // text cells: the text width (0: the value's)
  // The printable key that started the edit, typed into the field first.
  std::optional<screen::Key> first_key;
  screen::Attr attr = 0x70;  // colour of the field while edited
  bool confirm = false;
  // VALID: false keeps the edit open. Null: always true.
  std::function<bool(const screen::EditValue&)> valid;
};

struct CellEditResult {
  bool confirmed = false;   // false: abandoned with Esc (or a pending menu choice)
  screen::EditValue value;  // the typed value when confirmed
  screen::Key key;          // the key that ended the edit (the typed character
                            // that filled the field)
};

// Runs the edit. Invalid when the picture does not suit the value;
// ScriptExhausted passes through on the virtual terminal.
Result<CellEditResult> EditCellAt(screen::Toolkit& tk, const CellEditRequest& request);

// EXITKEY: the movement a browse makes after a cell edit ended with `key`, as
// the keys to act on next (empty: none).
//   PgDn -> Down, PgUp -> Up (nothing while appending);
//   Enter or a typed character -> Right, or, on the column `ULT_POS`, the first
//   column of the next row (Ctrl Home, then Down);
//   Up, Down -> themselves; Esc and anything else -> nothing.
std::vector<screen::Key> ExitKey(const screen::Key& key, bool appending, bool at_last_position);

}  // namespace dodu::entry

#endif  // DODU_ENTRY_GRID_CELL_EDIT_H_
