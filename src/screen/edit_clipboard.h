// Clipboard paste and copy for input fields, as pure conversions. The form
// runner calls them on Ctrl V and Ctrl C with the Terminal's clipboard (code
// page 850 text: the back end converts at its edge, unmappable characters
// becoming "?"; ClipboardFromUtf8 is that conversion for back ends and tests).
//
// Paste, by the field's kind:
// - text: the first line only; control characters dropped; cut to the field's
//   width and padded to it. Under "@R" a text laid out like the display
//   ("123.456.789-09") loses its literals first;
// - numbers by value: "1.234,56", "1234,56", "1234.56", "R$ 1.234" all read;
// - dates dd/mm/yyyy (or dd/mm/yy, epoch 1900);
// - logicals: S, T, Y yes; N, F no.
// A text that gives nothing (empty, not a number, not a date) changes nothing.
#ifndef DODU_SCREEN_EDIT_CLIPBOARD_H_
#define DODU_SCREEN_EDIT_CLIPBOARD_H_

#include <optional>
#include <string>
#include <string_view>

#include "screen/edit_value.h"

namespace dodu::screen {

// UTF-8 clipboard text to code page 850, "?" for what cp850 cannot hold.
std::string ClipboardFromUtf8(std::string_view utf8);

// The value a paste of `cp850` gives a field of that kind, picture and width
// (text fields); nullopt when it gives nothing.
std::optional<EditValue> PasteValue(std::string_view cp850, EditKind kind,
                                    std::string_view picture, int width);

// The value as the text Ctrl C stores: text without trailing blanks, numbers
// with "," before the decimals and no separators ("1234,5"), dates dd/mm/yyyy,
// logicals "S"/"N".
std::string CopyText(const EditValue& value);

}  // namespace dodu::screen

#endif  // DODU_SCREEN_EDIT_CLIPBOARD_H_
