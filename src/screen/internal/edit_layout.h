// How an edit buffer sees its picture: one slot per character of the field's
// text, each a literal or an editable position with the class of characters it
// accepts, plus the picture's functions that change editing. Built from the
// picture module (core/picture.h); the formatting and reading back of values go
// through it too, so the screen and the reports agree on every mask.
#ifndef DODU_SCREEN_INTERNAL_EDIT_LAYOUT_H_
#define DODU_SCREEN_INTERNAL_EDIT_LAYOUT_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/picture.h"
#include "platform/status.h"
#include "screen/edit_value.h"

namespace dodu::screen::internal {

struct EditLayout {
  EditKind kind = EditKind::kText;
  std::string picture;         // as given
  core::Picture pic;
  core::NumberShape shape;     // numbers without a template
  int width = 0;               // characters of the field's text
  int value_width = 0;         // text: the variable's width (the read back pads to it)
  int view_width = 0;          // characters on the screen ("@S<n>", else width)
  std::vector<bool> editable;  // per position of the text
  // Per position: the character shown for a literal (display form: "@E"
  // separators already swapped), the template character for an editable one.
  std::string literals;
  bool upper = false;          // "@!": everything typed is upper-cased
  bool blank_zero = false;     // "@Z": a zero shows blank when not being edited
  bool leading_zeros = false;  // "@L"
  bool clear_first = false;    // the first typed key clears the field (numbers, "@K")
  bool strip_literals = false; // "@R": the value leaves the literals out
  // Numbers: position of the decimal separator in the text (-1 none) and the
  // character that starts the decimals (',' with "@E").
  int decimal_pos = -1;
  int decimals = 0;
};

Result<EditLayout> BuildLayout(EditKind kind, std::string_view picture, int width);

// The byte to store when `byte` is typed at editable position `pos`, or nullopt
// when the template refuses it (case forcing of "!" and "@!" applied).
std::optional<uint8_t> AcceptAt(const EditLayout& layout, int pos, uint8_t byte);

// The field's text for a value, as editing starts (numbers formatted with their
// separators even when "@Z" would blank a zero, so the literals show). Invalid
// when the value does not fit.
Result<std::string> FormatForEdit(const EditLayout& layout, const EditValue& value);

// The text of a field that is not being edited ("@Z" blanks a zero).
Result<std::string> FormatForDisplay(const EditLayout& layout, const EditValue& value);

// The value typed. Invalid for a date that does not exist.
Result<EditValue> ReadBack(const EditLayout& layout, std::string_view text);

}  // namespace dodu::screen::internal

#endif  // DODU_SCREEN_INTERNAL_EDIT_LAYOUT_H_
