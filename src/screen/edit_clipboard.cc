#include "screen/edit_clipboard.h"

#include <algorithm>
#include <cctype>

#include "core/codepage.h"
#include "core/picture.h"

namespace dodu::screen {

namespace {

bool IsControl(uint8_t b) { return b < 0x20 || b == 0x7F; }

// The first line, without control characters and surrounding blanks.
std::string Clean(std::string_view text, bool trim_left) {
  size_t eol = text.find_first_of("\r\n");
  if (eol != std::string_view::npos) text = text.substr(0, eol);
  std::string out;
  for (char c : text)
    if (!IsControl(static_cast<uint8_t>(c))) out += c;
  while (!out.empty() && out.back() == ' ') out.pop_back();
  if (trim_left) {
    size_t b = out.find_first_not_of(' ');
    out.erase(0, b == std::string::npos ? out.size() : b);
  }
  return out;
}

std::optional<core::Decimal> ReadNumber(const std::string& text) {
  std::string digits;
  bool negative = false;
  for (char c : text) {
    if ((c >= '0' && c <= '9') || c == ',' || c == '.') digits += c;
    if (c == '-') negative = true;
  }
  if (digits.find_first_of("0123456789") == std::string::npos) return std::nullopt;
  std::string plain;
  size_t comma = digits.rfind(',');
  size_t dots = std::count(digits.begin(), digits.end(), '.');
  if (comma != std::string::npos) {
    // Brazilian form: "." between thousands, "," before the decimals.
    for (size_t i = 0; i < digits.size(); ++i) {
      if (digits[i] == '.' || (digits[i] == ',' && i != comma)) continue;
      plain += digits[i] == ',' ? '.' : digits[i];
    }
  } else if (dots > 1) {
    for (char c : digits)
      if (c != '.') plain += c;
  } else {
    plain = digits;
  }
  std::optional<core::Decimal> d = core::Decimal::Parse(plain);
  if (d && negative) d = -*d;
  return d;
}

}  // namespace

std::string ClipboardFromUtf8(std::string_view utf8) { return core::Utf8ToCp850(utf8, '?'); }

std::optional<EditValue> PasteValue(std::string_view cp850, EditKind kind,
                                    std::string_view picture, int width) {
  switch (kind) {
    case EditKind::kText: {
      std::string t = Clean(cp850, false);
      if (t.empty()) return std::nullopt;
      core::Picture pic = core::Picture::Parse(picture);
      if (pic.functions().raw_literals && pic.has_template() &&
          t.size() == pic.template_text().size()) {
        t = pic.UnformatText(t);
      }
      if (width > 0) t.resize(width, ' ');
      return EditValue(t);
    }
    case EditKind::kNumber: {
      std::optional<core::Decimal> d = ReadNumber(Clean(cp850, true));
      if (!d) return std::nullopt;
      return EditValue(*d);
    }
    case EditKind::kDate: {
      std::string t = Clean(cp850, true);
      if (t.empty()) return std::nullopt;
      std::optional<core::Date> d = core::Date::ParseDmy(t);
      if (!d || d->IsBlank()) return std::nullopt;
      return EditValue(*d);
    }
    case EditKind::kLogical: {
      std::string t = Clean(cp850, true);
      if (t.empty()) return std::nullopt;
      char c = static_cast<char>(std::toupper(static_cast<unsigned char>(t[0])));
      if (c == 'S' || c == 'T' || c == 'Y') return EditValue(true);
      if (c == 'N' || c == 'F') return EditValue(false);
      return std::nullopt;
    }
  }
  return std::nullopt;
}

std::string CopyText(const EditValue& value) {
  switch (KindOf(value)) {
    case EditKind::kText: {
      std::string t = std::get<std::string>(value);
      while (!t.empty() && t.back() == ' ') t.pop_back();
      return t;
    }
    case EditKind::kNumber: {
      std::string t = std::get<core::Decimal>(value).ToString();
      for (char& c : t)
        if (c == '.') c = ',';
      return t;
    }
    case EditKind::kDate:
      return std::get<core::Date>(value).ToDmy();
    case EditKind::kLogical:
      return std::get<bool>(value) ? "S" : "N";
  }
  return "";
}

}  // namespace dodu::screen
