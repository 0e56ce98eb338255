#include "screen/internal/edit_layout.h"

#include <cctype>

namespace dodu::screen::internal {

namespace {

core::ValueKind CoreKind(EditKind k) {
  switch (k) {
    case EditKind::kText: return core::ValueKind::kText;
    case EditKind::kNumber: return core::ValueKind::kNumber;
    case EditKind::kDate: return core::ValueKind::kDate;
    case EditKind::kLogical: return core::ValueKind::kLogical;
  }
  return core::ValueKind::kText;
}

bool IsDigit(uint8_t b) { return b >= '0' && b <= '9'; }

}  // namespace

Result<EditLayout> BuildLayout(EditKind kind, std::string_view picture, int width) {
  EditLayout l;
  l.kind = kind;
  l.picture = std::string(picture);
  l.pic = core::Picture::Parse(picture);
  const core::Picture::Functions& fn = l.pic.functions();
  // A date is always dd/mm/yyyy, whatever template a caller wrote for it.
  if (kind == EditKind::kDate) l.pic = core::Picture::Parse("@D");
  std::vector<core::Slot> slots = l.pic.Slots(CoreKind(kind), width, l.shape);
  l.width = static_cast<int>(slots.size());
  if (l.width == 0) return Status::Invalid("picture \"" + l.picture + "\" has no positions");
  for (int i = 0; i < l.width; ++i) {
    const core::Slot& s = slots[i];
    l.editable.push_back(s.editable());
    l.literals += s.ch;
    if (s.kind == core::Slot::Kind::kDecimalPoint && l.decimal_pos < 0) l.decimal_pos = i;
  }
  if (kind == EditKind::kNumber) {
    for (int i = l.decimal_pos + 1; l.decimal_pos >= 0 && i < l.width; ++i) l.decimals += l.editable[i];
    if (l.decimals > core::Decimal::kPlaces) {
      return Status::Invalid("picture \"" + l.picture + "\": too many decimals");
    }
  }
  l.value_width = kind == EditKind::kText ? width : 0;
  l.strip_literals = fn.raw_literals;
  l.upper = fn.upper;
  l.blank_zero = fn.blank_zero;
  l.leading_zeros = fn.leading_zeros;
  l.clear_first = fn.clear_on_key || kind == EditKind::kNumber;
  l.view_width = (fn.scroll_width > 0 && fn.scroll_width < l.width) ? fn.scroll_width : l.width;
  return l;
}

std::optional<uint8_t> AcceptAt(const EditLayout& l, int pos, uint8_t b) {
  if (pos < 0 || pos >= l.width || !l.editable[pos] || b < 0x20 || b == 0x7F) return std::nullopt;
  char t = l.literals[pos];
  char c = static_cast<char>(b);
  switch (l.kind) {
    case EditKind::kNumber:
      // A blank takes a digit back; the sign belongs to the integer part.
      if (IsDigit(b) || b == ' ') return b;
      if (b == '-' && (l.decimal_pos < 0 || pos < l.decimal_pos)) return b;
      return std::nullopt;
    case EditKind::kDate:
      if (IsDigit(b) || b == ' ') return b;
      return std::nullopt;
    case EditKind::kLogical: {
      // "S" (sim) answers yes as well.
      char u = static_cast<char>(std::toupper(b));
      bool yes = u == 'T' || u == 'Y' || u == 'S';
      bool no = u == 'F' || u == 'N';
      if (!yes && !no) return std::nullopt;
      return static_cast<uint8_t>(l.pic.FormatLogical(yes)[0]);
    }
    case EditKind::kText:
      break;
  }
  if (!core::Picture::Accepts(t, c, core::ValueKind::kText)) return std::nullopt;
  return static_cast<uint8_t>(l.pic.Apply(t, c));
}

namespace {

// A number that does not fit comes out of the picture module as asterisks.
bool Overflowed(const EditLayout& l, const std::string& text) {
  for (int i = 0; i < l.width && i < static_cast<int>(text.size()); ++i) {
    if (l.editable[i] && text[i] == '*' && l.literals[i] != '*') return true;
  }
  return false;
}

Result<std::string> Number(const EditLayout& l, const core::Decimal& v, bool editing) {
  if (editing && l.blank_zero && v.RoundHalfAway(l.decimals).IsZero()) {
    // Being edited, a blank zero still shows where the decimals start.
    std::string out(l.width, ' ');
    if (l.decimal_pos >= 0) out[l.decimal_pos] = l.literals[l.decimal_pos];
    return out;
  }
  std::string out = l.pic.FormatNumber(v, l.shape);
  if (Overflowed(l, out)) {
    return Status::Invalid("value " + v.ToString() + " does not fit \"" + l.picture + "\"");
  }
  return out;
}

Result<std::string> Format(const EditLayout& l, const EditValue& value, bool editing) {
  if (KindOf(value) != l.kind) return Status::Invalid("value of another kind for \"" + l.picture + "\"");
  switch (l.kind) {
    case EditKind::kText: {
      const std::string& s = std::get<std::string>(value);
      if (l.strip_literals) {
        // The stored value has no literals: place it over the input positions.
        std::string out = l.literals;
        size_t k = 0;
        for (int i = 0; i < l.width; ++i) {
          if (l.editable[i]) out[i] = k < s.size() ? s[k++] : ' ';
        }
        return out;
      }
      std::string out = l.pic.has_template() ? l.pic.FormatText(s) : s;
      out.resize(l.width, ' ');
      return out;
    }
    case EditKind::kNumber:
      return Number(l, std::get<core::Decimal>(value), editing);
    case EditKind::kDate:
      return l.pic.FormatDate(std::get<core::Date>(value));
    case EditKind::kLogical:
      return l.pic.FormatLogical(std::get<bool>(value));
  }
  return Status::Invalid("unknown kind");
}

}  // namespace

Result<std::string> FormatForEdit(const EditLayout& l, const EditValue& value) {
  return Format(l, value, true);
}

Result<std::string> FormatForDisplay(const EditLayout& l, const EditValue& value) {
  return Format(l, value, false);
}

Result<EditValue> ReadBack(const EditLayout& l, std::string_view text) {
  switch (l.kind) {
    case EditKind::kText: {
      std::string out = l.pic.UnformatText(text);
      if (static_cast<int>(out.size()) < l.value_width) out.resize(l.value_width, ' ');
      return EditValue(out);
    }
    case EditKind::kNumber: {
      // The sign may sit anywhere in the integer part while typing; the picture
      // module reads the digits.
      std::string t(text);
      if (t.find_first_of("0123456789") == std::string::npos) return EditValue(core::Decimal());
      bool negative = false;
      for (char& c : t) {
        if (c == '-') {
          negative = true;
          c = ' ';
        }
      }
      std::optional<core::Decimal> d = l.pic.UnformatNumber(t, l.shape);
      if (!d) return Status::Invalid("\"" + t + "\" is not a number for \"" + l.picture + "\"");
      return EditValue(negative ? -*d : *d);
    }
    case EditKind::kDate: {
      std::string t(text);
      // A two-digit year ("05/03/19") is read with the system's epoch.
      if (t.size() == 10 && t[8] == ' ' && t[9] == ' ' && t[6] != ' ') t.resize(8);
      std::optional<core::Date> d = l.pic.UnformatDate(t);
      if (!d) return Status::Invalid("date " + std::string(text) + " does not exist");
      return EditValue(*d);
    }
    case EditKind::kLogical: {
      std::optional<bool> b = l.pic.UnformatLogical(text);
      return EditValue(b.value_or(false));
    }
  }
  return Status::Invalid("unknown kind");
}

}  // namespace dodu::screen::internal
