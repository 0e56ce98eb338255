// The copy buffer `CLIPTEX`: a value the program keeps between cell edits,
// either text or a number. Alt M fills it with one cell, Alt Up adds cells to
// it, Alt End empties it into the terminal's clipboard, Alt C and Alt J take
// from it; Alt Down pastes the clipboard itself, one row per line.
#ifndef DODU_ENTRY_CLIP_TEXT_H_
#define DODU_ENTRY_CLIP_TEXT_H_

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/decimal.h"
#include "screen/edit_value.h"

namespace dodu::entry {

// Notes and warnings lines pasted with Alt Down are cut into pieces of this width.
inline constexpr size_t kNotePieceWidth = 74;

class ClipText {
 public:
  bool empty() const { return std::holds_alternative<std::monostate>(value_); }
  bool is_number() const { return std::holds_alternative<core::Decimal>(value_); }
  bool is_text() const { return std::holds_alternative<std::string>(value_); }
  const std::string& text() const { return std::get<std::string>(value_); }
  core::Decimal number() const { return std::get<core::Decimal>(value_); }

  // Alt M: the buffer becomes the cell's value (text trimmed on the right).
  void Copy(const screen::EditValue& value);
  // Alt Up on a description: its trimmed text and CR LF are added as a line
  // (a number in the buffer turns into its line first).
  void AddLine(std::string_view description);
  // Alt Up on a value: added to a numeric buffer; a text buffer gets the value
  // as text of width 12 with 2 decimals and CR LF.
  void AddValue(const core::Decimal& value);
  // Alt End: the text for the clipboard (a number as plain text); the buffer empties.
  std::string Take();
  void Clear() { value_ = std::monostate{}; }

  // The value Alt C pastes into a field of `kind`, or monostate when the buffer
  // does not hold that type (text of a text field cut to `width`).
  std::variant<std::monostate, screen::EditValue> PasteFor(screen::EditKind kind, int width) const;

 private:
  std::variant<std::monostate, std::string, core::Decimal> value_;
};

// The clipboard text split into lines at CR LF (a bare LF or CR too); empty
// lines at the end are dropped.
std::vector<std::string> ClipboardLines(std::string_view text);
// A notes or warnings line cut into pieces of kNotePieceWidth characters.
std::vector<std::string> NotePieces(std::string_view line);

}  // namespace dodu::entry

#endif  // DODU_ENTRY_CLIP_TEXT_H_
