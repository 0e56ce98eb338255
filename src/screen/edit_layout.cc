#include "screen/internal/edit_layout.h"

#include <cctype>
#include <cstdlib>

#include "screen/keys.h"

namespace dodu::screen::internal {

namespace {

// A picture split into its functions and its template.
struct PictureParts {
  bool e = false;  // "@E": "," before the decimals, "." between thousands
  bool z = false;  // "@Z" / "@z": blank when zero
  bool r = false;  // "@R": template literals are not part of the value
  bool upper = false;  // "@!"
  bool k = false;      // "@K"
  bool l = false;      // "@L": leading zeros
  int s = 0;           // "@S<n>"
  std::string tmpl;
};

// TODO(picture): reads the picture through core/picture.h once it lands; until
// then this is the one place that splits a picture for the edit buffer.
PictureParts ReadPicture(std::string_view picture) {
  PictureParts p;
  size_t i = 0;
  if (!picture.empty() && picture[0] == '@') {
    i = 1;
    while (i < picture.size() && picture[i] != ' ') {
      char c = picture[i];
      switch (std::toupper(static_cast<unsigned char>(c))) {
        case 'E': p.e = true; break;
        case 'Z': p.z = true; break;
        case 'R': p.r = true; break;
        case '!': p.upper = true; break;
        case 'K': p.k = true; break;
        case 'L': p.l = true; break;
        case 'S': {
          size_t j = i + 1;
          int n = 0;
          while (j < picture.size() && std::isdigit(static_cast<unsigned char>(picture[j]))) {
            n = n * 10 + (picture[j] - '0');
            ++j;
          }
          p.s = n;
          i = j - 1;
          break;
        }
        default: break;  // "@D", "@B"...: nothing for editing
      }
      ++i;
    }
    if (i < picture.size()) ++i;  // the blank before the template
  }
  p.tmpl = std::string(picture.substr(i));
  return p;
}

bool IsTemplateChar(char c) {
  switch (c) {
    case '9': case '#': case 'A': case 'N': case 'X': case '!': case 'L': case 'Y':
      return true;
    default:
      return false;
  }
}

bool IsLetter(uint8_t b) { return std::isalpha(b) || b >= 0x80; }

uint8_t Upper(uint8_t b) { return Key::Char(b).upper_byte(); }

}  // namespace

Result<EditLayout> BuildLayout(EditKind kind, std::string_view picture, int width) {
  PictureParts p = ReadPicture(picture);
  EditLayout l;
  l.kind = kind;
  l.picture = std::string(picture);
  l.strip_literals = p.r;
  switch (kind) {
    case EditKind::kText: {
      std::string t = p.tmpl;
      if (t.empty()) t = std::string(width, p.upper ? '!' : 'X');
      if (!p.r && width > 0 && static_cast<int>(t.size()) > width) t.resize(width);
      for (char c : t) {
        l.editable.push_back(IsTemplateChar(c) || !p.r);
        // Without "@R" a character that is not a template one still takes anything.
        l.literals += (IsTemplateChar(c) || p.r) ? c : 'X';
      }
      l.clear_first = p.k;
      l.upper = p.upper;
      l.value_width = width;
      l.width = static_cast<int>(t.size());
      break;
    }
    case EditKind::kNumber: {
      std::string t = p.tmpl;
      if (t.empty()) t = "9999999999.99";
      int dot = -1;
      for (size_t i = 0; i < t.size(); ++i) {
        char c = t[i];
        bool digit = c == '9' || c == '#';
        if (c == '.' && dot < 0) dot = static_cast<int>(i);
        l.editable.push_back(digit);
        char shown = c;
        if (p.e && c == ',') shown = '.';
        if (p.e && c == '.' && static_cast<int>(i) == dot) shown = ',';
        if (digit) shown = '9';
        l.literals += shown;
      }
      l.decimal_pos = dot;
      l.decimals = 0;
      if (dot >= 0)
        for (size_t i = dot + 1; i < t.size(); ++i) l.decimals += l.editable[i] ? 1 : 0;
      if (l.decimals > 8) return Status::Invalid("picture " + l.picture + ": too many decimals");
      l.clear_first = true;
      l.width = static_cast<int>(t.size());
      l.blank_zero = p.z;
      l.leading_zeros = p.l;
      break;
    }
    case EditKind::kDate:
      l.literals = "99/99/9999";
      l.editable = {true, true, false, true, true, false, true, true, true, true};
      l.width = 10;
      break;
    case EditKind::kLogical: {
      char c = p.tmpl.empty() ? 'L' : p.tmpl[0];
      l.literals = std::string(1, c == 'Y' ? 'Y' : 'L');
      l.editable = {true};
      l.width = 1;
      break;
    }
  }
  if (l.width == 0 && kind != EditKind::kText) return Status::Invalid("empty picture");
  l.view_width = (p.s > 0 && p.s < l.width) ? p.s : l.width;
  return l;
}

std::optional<uint8_t> AcceptAt(const EditLayout& l, int pos, uint8_t b) {
  if (pos < 0 || pos >= l.width || !l.editable[pos] || b < 0x20 || b == 0x7F) return std::nullopt;
  char t = l.literals[pos];
  switch (l.kind) {
    case EditKind::kNumber:
      if (std::isdigit(b) || b == ' ') return b;
      if (b == '-' && (l.decimal_pos < 0 || pos < l.decimal_pos)) return b;
      return std::nullopt;
    case EditKind::kDate:
      if (std::isdigit(b) || b == ' ') return b;
      return std::nullopt;
    case EditKind::kLogical:
    case EditKind::kText:
      break;
  }
  uint8_t u = Upper(b);
  bool upper_all = l.upper;
  switch (t) {
    case '9':
      if (std::isdigit(b)) return b;
      return std::nullopt;
    case '#':
      if (std::isdigit(b) || b == ' ' || b == '+' || b == '-') return b;
      return std::nullopt;
    case 'A':
      if (!IsLetter(b)) return std::nullopt;
      break;
    case 'N':
      if (!IsLetter(b) && !std::isdigit(b)) return std::nullopt;
      break;
    case '!':
      return u;
    case 'L':
    case 'Y':
      if (u == 'T' || u == 'Y' || u == 'S') return static_cast<uint8_t>(t == 'Y' ? 'S' : 'T');
      if (u == 'F' || u == 'N') return static_cast<uint8_t>(t == 'Y' ? 'N' : 'F');
      return std::nullopt;
    default:
      break;
  }
  return upper_all ? u : b;
}

namespace {

// The number in the template: digits right-aligned into the integer positions
// (separators only between digits), the decimals after the point. `blank_zero`
// blanks the digits of a zero.
Result<std::string> FormatNumber(const EditLayout& l, const core::Decimal& v, bool blank_zero) {
  std::string out = l.literals;
  core::Decimal r = v.RoundHalfAway(l.decimals);
  std::string fixed = r.Abs().ToFixed(l.decimals);
  size_t dot = fixed.find('.');
  std::string whole = fixed.substr(0, dot);
  std::string frac = dot == std::string::npos ? "" : fixed.substr(dot + 1);
  int int_end = l.decimal_pos >= 0 ? l.decimal_pos : l.width;
  bool zero = r.IsZero();
  if (zero && blank_zero) {
    for (int i = 0; i < l.width; ++i) out[i] = ' ';
    return out;
  }
  bool lead_zeros = l.leading_zeros;
  int k = static_cast<int>(whole.size()) - 1;
  bool sign_done = !r.IsNegative();
  for (int i = int_end - 1; i >= 0; --i) {
    if (!l.editable[i]) {
      // A separator shows only with digits on both sides.
      out[i] = (k >= 0 || lead_zeros) ? out[i] : ' ';
      continue;
    }
    if (k >= 0) {
      out[i] = whole[k--];
    } else if (!sign_done) {
      out[i] = '-';
      sign_done = true;
    } else {
      out[i] = lead_zeros ? '0' : ' ';
    }
  }
  // A separator just left of the first digit is blanked above only when no
  // digit followed it; clean one left of a sign or a blank.
  for (int i = 0; i < int_end; ++i) {
    if (l.editable[i]) {
      if (out[i] != ' ') break;
    } else if (!lead_zeros) {
      out[i] = ' ';
    }
  }
  if (k >= 0 || !sign_done) return Status::Invalid("value " + v.ToString() + " does not fit " + l.picture);
  int f = 0;
  for (int i = int_end + 1; i < l.width; ++i) {
    if (!l.editable[i]) continue;
    out[i] = f < static_cast<int>(frac.size()) ? frac[f] : '0';
    ++f;
  }
  return out;
}

}  // namespace

Result<std::string> FormatForEdit(const EditLayout& l, const EditValue& value) {
  if (KindOf(value) != l.kind) return Status::Invalid("value of another kind for " + l.picture);
  switch (l.kind) {
    case EditKind::kText: {
      const std::string& s = std::get<std::string>(value);
      std::string out(l.width, ' ');
      if (l.strip_literals) {
        size_t k = 0;
        for (int i = 0; i < l.width; ++i) {
          if (!l.editable[i]) {
            out[i] = l.literals[i];
          } else if (k < s.size()) {
            out[i] = s[k++];
          }
        }
      } else {
        for (int i = 0; i < l.width && i < static_cast<int>(s.size()); ++i) out[i] = s[i];
      }
      return out;
    }
    case EditKind::kNumber:
      return FormatNumber(l, std::get<core::Decimal>(value), false);
    case EditKind::kDate:
      return std::get<core::Date>(value).ToDmy();
    case EditKind::kLogical: {
      bool b = std::get<bool>(value);
      if (l.literals[0] == 'Y') return std::string(b ? "S" : "N");
      return std::string(b ? "T" : "F");
    }
  }
  return Status::Invalid("unknown kind");
}

Result<std::string> FormatForDisplay(const EditLayout& l, const EditValue& value) {
  if (l.kind == EditKind::kNumber && KindOf(value) == EditKind::kNumber) {
    return FormatNumber(l, std::get<core::Decimal>(value), l.blank_zero);
  }
  return FormatForEdit(l, value);
}

Result<EditValue> ReadBack(const EditLayout& l, std::string_view text) {
  switch (l.kind) {
    case EditKind::kText: {
      std::string out;
      for (int i = 0; i < l.width && i < static_cast<int>(text.size()); ++i)
        if (l.editable[i] || !l.strip_literals) out += text[i];
      if (static_cast<int>(out.size()) < l.value_width) out.resize(l.value_width, ' ');
      return EditValue(out);
    }
    case EditKind::kNumber: {
      std::string whole, frac;
      bool negative = false;
      int int_end = l.decimal_pos >= 0 ? l.decimal_pos : l.width;
      for (int i = 0; i < l.width && i < static_cast<int>(text.size()); ++i) {
        if (!l.editable[i]) continue;
        char c = text[i];
        if (c == '-') negative = true;
        if (i < int_end) {
          if (std::isdigit(static_cast<unsigned char>(c))) whole += c;
        } else {
          frac += std::isdigit(static_cast<unsigned char>(c)) ? c : '0';
        }
      }
      std::string t = whole.empty() ? "0" : whole;
      if (!frac.empty()) t += "." + frac;
      std::optional<core::Decimal> d = core::Decimal::Parse(t);
      if (!d) return Status::Invalid("number too large for " + l.picture);
      return EditValue(negative ? -*d : *d);
    }
    case EditKind::kDate: {
      std::string t(text);
      // A two-digit year ("05/03/19") is read with the system's epoch.
      if (t.size() == 10 && t[8] == ' ' && t[9] == ' ' && t[6] != ' ') t.resize(8);
      std::optional<core::Date> d = core::Date::ParseDmy(t);
      if (!d) return Status::Invalid("date " + std::string(text) + " does not exist");
      return EditValue(*d);
    }
    case EditKind::kLogical:
      return EditValue(!text.empty() && (text[0] == 'T' || text[0] == 'S'));
  }
  return Status::Invalid("unknown kind");
}

}  // namespace dodu::screen::internal
