// The value an input field edits: text (code page 850 bytes), a number, a date
// or a logical. The form runner reads and writes variables as EditValues through
// a VariableStore (screen/form_variables.h); the edit buffer turns one into the
// text on the screen and back.
#ifndef DODU_SCREEN_EDIT_VALUE_H_
#define DODU_SCREEN_EDIT_VALUE_H_

#include <string>
#include <variant>

#include "core/date.h"
#include "core/decimal.h"

namespace dodu::screen {

using EditValue = std::variant<std::string, core::Decimal, core::Date, bool>;

enum class EditKind { kText, kNumber, kDate, kLogical };

inline EditKind KindOf(const EditValue& v) { return static_cast<EditKind>(v.index()); }

// The empty value of a kind: blank text of `width`, 0, the blank date, false.
inline EditValue EmptyValue(EditKind kind, int width = 0) {
  switch (kind) {
    case EditKind::kText: return std::string(width > 0 ? width : 0, ' ');
    case EditKind::kNumber: return core::Decimal();
    case EditKind::kDate: return core::Date();
    case EditKind::kLogical: return false;
  }
  return std::string();
}

}  // namespace dodu::screen

#endif  // DODU_SCREEN_EDIT_VALUE_H_
