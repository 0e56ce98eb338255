#include "core/picture.h"

#include <algorithm>

#include "core/codepage.h"

namespace dodu::core {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Letters of code page 850: ASCII and the accented Latin letters.
bool IsLetter(char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return true;
  auto b = static_cast<uint8_t>(c);
  if (b < 0x80) return false;
  char32_t u = Cp850ToUnicode(b);
  return (u >= 0xC0 && u <= 0xFF && u != 0xD7 && u != 0xF7) || u == 0x131 || u == 0x192;
}

bool IsTextTemplateChar(char c) {
  return std::string_view("9#ANX!LY").find(c) != std::string_view::npos;
}
bool IsDigitSlotChar(char c) { return c == '9' || c == '#' || c == '$' || c == '*'; }

}  // namespace

Picture Picture::Parse(std::string_view picture) {
  Picture p;
  p.text_ = std::string(picture);
  std::string_view rest = picture;
  if (!rest.empty() && rest[0] == '@') {
    size_t blank = rest.find(' ');
    std::string_view fn = rest.substr(1, blank == std::string_view::npos ? rest.npos : blank - 1);
    rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
    for (size_t i = 0; i < fn.size(); ++i) {
      switch (AsciiUpper(fn[i])) {
        case 'E': p.fn_.european = true; break;
        case 'Z': p.fn_.blank_zero = true; break;
        case 'L': p.fn_.leading_zeros = true; break;
        case 'B': p.fn_.left_justify = true; break;
        case 'R': p.fn_.raw_literals = true; break;
        case '!': p.fn_.upper = true; break;
        case 'K': p.fn_.clear_on_key = true; break;
        case 'D': p.fn_.date = true; break;
        case 'S': {
          int n = 0;
          while (i + 1 < fn.size() && IsDigit(fn[i + 1])) n = n * 10 + (fn[++i] - '0');
          p.fn_.scroll_width = n;
          break;
        }
        default: break;  // unknown letters do nothing, as in xBase
      }
    }
  }
  p.template_ = std::string(rest);
  return p;
}

std::string Picture::NumericTemplate(NumberShape shape) const {
  if (has_template()) return template_;
  int d = std::clamp(shape.decimals, 0, Decimal::kPlaces);
  if (d == 0) return std::string(std::max(shape.width, 1), '9');
  return std::string(std::max(shape.width - d - 1, 0), '9') + "." + std::string(d, '9');
}

std::vector<Slot> Picture::Slots(ValueKind kind, int text_length, NumberShape shape) const {
  std::vector<Slot> slots;
  auto add = [&](Slot::Kind k, char c) { slots.push_back(Slot{k, c}); };
  switch (kind) {
    case ValueKind::kNumber: {
      bool point_seen = false;
      for (char c : NumericTemplate(shape)) {
        if (IsDigitSlotChar(c)) {
          add(Slot::Kind::kInput, c);
        } else if (c == '.' && !point_seen) {
          point_seen = true;
          add(Slot::Kind::kDecimalPoint, fn_.european ? ',' : '.');
        } else if (c == ',') {
          add(Slot::Kind::kThousands, fn_.european ? '.' : ',');
        } else {
          add(Slot::Kind::kLiteral, c);
        }
      }
      break;
    }
    case ValueKind::kText:
      if (has_template()) {
        for (char c : template_) {
          add(IsTextTemplateChar(c) ? Slot::Kind::kInput : Slot::Kind::kLiteral, c);
        }
      } else {
        for (int i = 0; i < text_length; ++i) add(Slot::Kind::kInput, fn_.upper ? '!' : 'X');
      }
      break;
    case ValueKind::kDate:
      for (char c : std::string_view("99/99/9999")) {
        add(c == '9' ? Slot::Kind::kInput : Slot::Kind::kLiteral, c);
      }
      break;
    case ValueKind::kLogical:
      add(Slot::Kind::kInput, template_.find('Y') != std::string::npos ? 'Y' : 'L');
      break;
  }
  return slots;
}

bool Picture::Accepts(char template_char, char c, ValueKind kind) {
  const bool number = kind == ValueKind::kNumber;
  switch (template_char) {
    case '9':
    case '$':
    case '*':
      return IsDigit(c) || (number && (c == '-' || c == '+'));
    case '#':
      return IsDigit(c) || c == ' ' || c == '-' || c == '+';
    case 'A':
      return IsLetter(c);
    case 'N':
      return IsLetter(c) || IsDigit(c);
    case 'X':
    case '!':
      return static_cast<uint8_t>(c) >= 0x20 && c != 0x7F;
    case 'L':
      return std::string_view("TtFfYyNn").find(c) != std::string_view::npos;
    case 'Y':
      return std::string_view("YyNn").find(c) != std::string_view::npos;
    default:
      return false;
  }
}

char Picture::Apply(char template_char, char c) const {
  if (fn_.upper || template_char == '!' || template_char == 'Y' || template_char == 'L') {
    return AsciiUpper(c);
  }
  return c;
}

Picture::NumericLayout Picture::Numeric(NumberShape shape) const {
  NumericLayout n;
  n.point = fn_.european ? ',' : '.';
  n.thousands = fn_.european ? '.' : ',';
  bool after_point = false;
  for (const Slot& s : Slots(ValueKind::kNumber, 0, shape)) {
    ++n.width;
    if (s.kind == Slot::Kind::kDecimalPoint) after_point = true;
    if (s.kind != Slot::Kind::kInput) continue;
    (after_point ? n.decimals : n.integer_slots)++;
  }
  return n;
}

int Picture::DisplayWidth(ValueKind kind, int text_length, NumberShape shape) const {
  switch (kind) {
    case ValueKind::kNumber:
      return static_cast<int>(NumericTemplate(shape).size());
    case ValueKind::kDate:
      return 10;
    case ValueKind::kLogical:
      return 1;
    case ValueKind::kText:
      if (has_template()) return static_cast<int>(template_.size());
      return fn_.scroll_width > 0 ? fn_.scroll_width : text_length;
  }
  return 0;
}

std::string Picture::FormatText(std::string_view value) const {
  if (!has_template()) {
    std::string out(value);
    if (fn_.scroll_width > 0) out.resize(fn_.scroll_width, ' ');
    if (fn_.upper) std::transform(out.begin(), out.end(), out.begin(), AsciiUpper);
    return out;
  }
  std::string out;
  out.reserve(template_.size());
  size_t next = 0;  // next value character under @R
  for (size_t i = 0; i < template_.size(); ++i) {
    char t = template_[i];
    if (!IsTextTemplateChar(t)) {
      out += t;
      if (!fn_.raw_literals) ++next;  // the literal takes the value's position
      continue;
    }
    char c = next < value.size() ? value[next] : ' ';
    ++next;
    out += Apply(t, c);
  }
  return out;
}

std::string Picture::FormatNumber(const Decimal& value, NumberShape shape) const {
  const std::vector<Slot> slots = Slots(ValueKind::kNumber, 0, shape);
  const NumericLayout layout = Numeric(shape);
  const int decimals = std::min(layout.decimals, static_cast<int>(Decimal::kPlaces));
  const Decimal rounded = value.RoundHalfAway(decimals);
  const std::string blanks(slots.size(), ' ');
  if (fn_.blank_zero && rounded.IsZero()) return blanks;

  std::string digits = rounded.Abs().ToFixed(decimals);  // "1234.56"
  std::string int_digits = digits.substr(0, digits.find('.'));
  std::string frac_digits =
      decimals > 0 ? digits.substr(digits.find('.') + 1) : std::string();
  frac_digits.resize(layout.decimals, '0');  // templates with more than 8 decimals
  if (int_digits == "0" && layout.integer_slots == 0) int_digits.clear();
  const bool negative = rounded.IsNegative();

  auto overflow = [&] {
    std::string out;
    for (const Slot& s : slots) out += s.kind == Slot::Kind::kDecimalPoint ? s.ch : '*';
    return out;
  };
  if (static_cast<int>(int_digits.size()) > layout.integer_slots) return overflow();

  std::string out(slots.size(), ' ');
  // Integer part: digits fill the slots before the point from the right.
  const size_t point_pos = [&] {
    for (size_t i = 0; i < slots.size(); ++i) {
      if (slots[i].kind == Slot::Kind::kDecimalPoint) return i;
    }
    return slots.size();
  }();
  std::vector<bool> is_digit(slots.size(), false);
  int k = static_cast<int>(int_digits.size());
  for (size_t i = point_pos; i-- > 0;) {
    const Slot& s = slots[i];
    if (s.kind == Slot::Kind::kInput) {
      if (k > 0) {
        out[i] = int_digits[--k];
        is_digit[i] = true;
      } else if (fn_.leading_zeros) {
        out[i] = '0';
      } else {
        out[i] = s.ch == '$' || s.ch == '*' ? s.ch : ' ';
      }
    } else if (s.kind == Slot::Kind::kLiteral) {
      out[i] = s.ch;
    }
  }
  // Separators show when a digit (a padding zero included) stands to their left.
  for (size_t i = 0; i < point_pos; ++i) {
    if (slots[i].kind != Slot::Kind::kThousands) continue;
    char left_fill = ' ';
    bool digit_left = false;
    for (size_t j = i; j-- > 0;) {
      if (slots[j].kind != Slot::Kind::kInput) continue;
      digit_left = is_digit[j] || fn_.leading_zeros;
      left_fill = out[j];
      break;
    }
    out[i] = digit_left ? slots[i].ch : left_fill;
  }
  // Decimals and the point.
  k = 0;
  for (size_t i = point_pos; i < slots.size(); ++i) {
    const Slot& s = slots[i];
    if (s.kind == Slot::Kind::kDecimalPoint) {
      out[i] = s.ch;
    } else if (s.kind == Slot::Kind::kInput) {
      out[i] = k < static_cast<int>(frac_digits.size()) ? frac_digits[k++] : '0';
    } else {
      out[i] = s.ch;
    }
  }
  if (negative) {
    // The sign goes right before the first significant digit, into a padding
    // position (a blank slot, a blank separator or, under @L, a padding zero).
    size_t first = point_pos;
    for (size_t i = 0; i < point_pos; ++i) {
      if (is_digit[i]) {
        first = i;
        break;
      }
    }
    size_t target = slots.size();
    if (fn_.leading_zeros) {
      for (size_t i = 0; i < first; ++i) {
        if (slots[i].kind == Slot::Kind::kInput) {
          target = i;
          break;
        }
      }
    } else if (first > 0) {
      size_t j = first - 1;
      if (slots[j].kind == Slot::Kind::kInput ||
          (slots[j].kind == Slot::Kind::kThousands && !is_digit[j])) {
        target = j;
      }
    }
    if (target == slots.size()) return overflow();
    out[target] = '-';
  }
  if (fn_.left_justify) {
    size_t lead = out.find_first_not_of(' ');
    if (lead != std::string::npos && lead > 0) out = out.substr(lead) + std::string(lead, ' ');
  }
  return out;
}

std::string Picture::FormatDate(const Date& value) const { return value.ToDmy(); }

std::string Picture::FormatLogical(bool value) const {
  if (template_.find('Y') != std::string::npos) return value ? "Y" : "N";
  return value ? "T" : "F";
}

std::string Picture::UnformatText(std::string_view display) const {
  std::string out;
  if (!has_template()) {
    out = std::string(display);
    if (fn_.upper) std::transform(out.begin(), out.end(), out.begin(), AsciiUpper);
    return out;
  }
  const std::vector<Slot> slots = Slots(ValueKind::kText);
  size_t inputs = std::count_if(slots.begin(), slots.end(), [](const Slot& s) { return s.editable(); });
  if (fn_.raw_literals && display.size() == inputs && inputs != slots.size()) {
    // Already without its literals (the digits as typed or stored).
    size_t n = 0;
    for (const Slot& s : slots) {
      if (s.editable()) out += Apply(s.ch, display[n++]);
    }
    return out;
  }
  for (size_t i = 0; i < slots.size() && i < display.size(); ++i) {
    if (slots[i].editable()) {
      out += Apply(slots[i].ch, display[i]);
    } else if (!fn_.raw_literals) {
      out += display[i];
    }
  }
  return out;
}

std::optional<Decimal> Picture::UnformatNumber(std::string_view display, NumberShape shape) const {
  const NumericLayout layout = Numeric(shape);
  const std::string tmpl = NumericTemplate(shape);
  std::string text;
  bool negative = false, sign_seen = false, point_seen = false;
  int int_digits = 0, frac_digits = 0;
  bool leading = true;  // leading zeros of the integer part do not count
  for (char c : display) {
    if (IsDigit(c)) {
      if (point_seen) {
        ++frac_digits;
      } else if (!(leading && c == '0')) {
        leading = false;
        ++int_digits;
      }
      text += c;
    } else if (c == layout.point) {
      if (point_seen) return std::nullopt;
      point_seen = true;
      text += '.';
    } else if (c == '-' || c == '+') {
      if (sign_seen || !text.empty()) return std::nullopt;
      sign_seen = true;
      negative = c == '-';
    } else if (c == ' ' || c == layout.thousands || c == '$' || c == '*') {
      continue;
    } else if (tmpl.find(c) != std::string::npos && !IsDigitSlotChar(c)) {
      continue;  // a literal of the template ("%")
    } else {
      return std::nullopt;
    }
  }
  if (text.empty() || text == ".") {
    if (sign_seen || point_seen) return std::nullopt;
    return Decimal();
  }
  if (frac_digits > layout.decimals) return std::nullopt;
  if (int_digits + (negative ? 1 : 0) > layout.integer_slots) return std::nullopt;
  auto v = Decimal::Parse(text);
  if (!v) return std::nullopt;
  return negative ? -*v : *v;
}

std::optional<Date> Picture::UnformatDate(std::string_view display) const {
  return Date::ParseDmy(display);
}

std::optional<bool> Picture::UnformatLogical(std::string_view display) const {
  size_t b = display.find_first_not_of(' ');
  if (b == std::string_view::npos || display.find_first_not_of(' ', b + 1) != std::string_view::npos) {
    return std::nullopt;
  }
  switch (AsciiUpper(display[b])) {
    case 'T': case 'Y': case 'S': return true;
    case 'F': case 'N': return false;
    default: return std::nullopt;
  }
}

std::string Transform(const Decimal& value, std::string_view picture, NumberShape shape) {
  return Picture::Parse(picture).FormatNumber(value, shape);
}
std::string Transform(std::string_view value, std::string_view picture) {
  return Picture::Parse(picture).FormatText(value);
}
std::string Transform(const Date& value, std::string_view picture) {
  return Picture::Parse(picture).FormatDate(value);
}

}  // namespace dodu::core
