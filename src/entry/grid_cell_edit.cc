#include "entry/grid_cell_edit.h"

#include "screen/edit_buffer.h"

namespace dodu::entry {

namespace {

using screen::EditEffect;
using screen::Key;
using screen::KeyType;

bool ConfirmsEdit(const Key& key) {
  switch (key.type) {
    case KeyType::kEnter:
    case KeyType::kUp:
    case KeyType::kDown:
    case KeyType::kPgUp:
    case KeyType::kPgDn:
    case KeyType::kTab:
    case KeyType::kShiftTab:
      return true;
    default:
      return false;
  }
}

void Draw(screen::Toolkit& tk, const CellEditRequest& req, const screen::EditBuffer& buf) {
  const std::string text = buf.Visible();
  for (size_t i = 0; i < text.size(); ++i) {
    tk.Put(req.row, req.col + static_cast<int>(i),
           screen::Cell{static_cast<uint8_t>(text[i]), req.attr});
  }
  tk.SetCursor(req.row, req.col + buf.CursorColumn());
  tk.ShowCursor(true);
  tk.Flush();
}

}  // namespace

Result<CellEditResult> EditCellAt(screen::Toolkit& tk, const CellEditRequest& req) {
  DODU_ASSIGN_OR_RETURN(screen::EditBuffer buf,
                        screen::EditBuffer::Create(req.value, req.picture, req.width,
                                                   screen::EditOptions{req.confirm}));
  CellEditResult result;
  result.value = req.value;

  // Leaving with a value: VALID decides; a date that does not exist stays too.
  auto try_confirm = [&](const Key& key) -> bool {
    Result<screen::EditValue> typed = buf.Value();
    if (!typed.ok()) {
      tk.Beep();
      return false;
    }
    if (req.valid && !req.valid(*typed)) return false;
    result.confirmed = true;
    result.value = std::move(*typed);
    result.key = key;
    return true;
  };

  std::optional<Key> pending = req.first_key;
  Draw(tk, req, buf);
  while (true) {
    const Key key = pending ? *pending : tk.WaitKey();
    pending.reset();
    if (key.type == KeyType::kMenu) {
      // A menu choice unwinds the edit without taking it.
      result.key = key;
      break;
    }
    const EditEffect effect = buf.Handle(key);
    if (effect == EditEffect::kFilled) {
      Draw(tk, req, buf);
      if (try_confirm(key)) break;
      Draw(tk, req, buf);
      continue;
    }
    if (effect == EditEffect::kRefused) {
      // In confirm mode the bell marks the end of the field.
      if (req.confirm && key.is_char()) tk.Beep();
      Draw(tk, req, buf);
      continue;
    }
    if (effect != EditEffect::kNotMine) {
      Draw(tk, req, buf);
      continue;
    }
    if (key.type == KeyType::kEsc) {
      result.key = key;
      break;
    }
    if (ConfirmsEdit(key)) {
      if (try_confirm(key)) break;
      Draw(tk, req, buf);
    }
    // Any other key is not an editing key and does not end the edit.
  }
  tk.ShowCursor(false);
  tk.Flush();
  return result;
}

std::vector<Key> ExitKey(const Key& key, bool appending, bool at_last_position) {
  switch (key.type) {
    case KeyType::kPgDn:
      if (appending) return {};
      return {Key::Named(KeyType::kDown)};
    case KeyType::kPgUp:
      if (appending) return {};
      return {Key::Named(KeyType::kUp)};
    case KeyType::kEnter:
    case KeyType::kChar:
      if (at_last_position) return {Key::Named(KeyType::kCtrlHome), Key::Named(KeyType::kDown)};
      return {Key::Named(KeyType::kRight)};
    case KeyType::kUp:
    case KeyType::kDown:
      return {key};
    default:
      return {};
  }
}

}  // namespace dodu::entry
