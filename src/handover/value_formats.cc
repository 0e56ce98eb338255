#include "handover/value_formats.h"

#include <array>
#include <cstdint>
#include <cstdio>

#include "core/codepage.h"

namespace dodu::handover {
namespace {

using core::Decimal;
using core::Rounding;

// Digits of a non-negative integer with "." between groups of thousands.
std::string GroupThousands(const std::string& digits) {
  std::string out;
  size_t n = digits.size();
  for (size_t i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) out += '.';
    out += digits[i];
  }
  return out;
}

// The value rounded to `places` as sign, whole digits and decimal digits.
struct Split {
  bool negative = false;
  std::string whole;
  std::string frac;
};

Split SplitAt(const Decimal& value, int places) {
  // ToFixed rounds half away from zero and drops the sign of a rounded zero.
  std::string fixed = value.ToFixed(places);
  Split s;
  if (!fixed.empty() && fixed[0] == '-') {
    s.negative = true;
    fixed.erase(0, 1);
  }
  size_t point = fixed.find('.');
  s.whole = fixed.substr(0, point);
  if (point != std::string::npos) s.frac = fixed.substr(point + 1);
  return s;
}

std::string Grouped(const Decimal& value, int places) {
  Split s = SplitAt(value, places);
  std::string out = s.negative ? "-" : "";
  out += GroupThousands(s.whole);
  if (places > 0) out += "," + s.frac;
  return out;
}

std::string Plain(const Decimal& value, int places) {
  Split s = SplitAt(value, places);
  std::string out = s.negative ? "-" : "";
  out += s.whole;
  if (places > 0) out += "," + s.frac;
  return out;
}

const char* ClosingText(Closing c) {
  switch (c) {
    case Closing::kOpen:
      return ">";
    case Closing::kEnd:
      return "/>";
    case Closing::kNone:
      break;
  }
  return "";
}

// The substitution table of CONVCAR, by source byte; nullptr leaves the byte.
struct Substitution {
  const char* replacement;
  std::initializer_list<uint8_t> bytes;
};

const std::array<const char*, 256>& ConvCarTable() {
  static const std::array<const char*, 256> table = [] {
    std::array<const char*, 256> t{};
    const Substitution rows[] = {
        {"a", {0xA0, 0x85, 0xC6, 0x83, 0x84, 0xE3, 0xE2, 0xE1, 0x86}},
        {"A", {0xB7, 0xB5, 0xC7, 0xB6, 0x8E, 0xA6, 0xC1, 0xC3, 0x8F}},
        {"e", {0x82, 0x8A, 0x88, 0x89, 0xE9, 0xEA, 0xDA, 0x26}},
        {"E", {0x90, 0xD2, 0xD3, 0x7F, 0xC9}},
        {"i", {0xA1, 0x8D, 0x8C, 0x8B, 0xED, 0xFA}},
        {"I", {0xD6, 0xDE, 0xD7, 0xD8, 0xCD}},
        {"o", {0xA2, 0x95, 0xE4, 0x93, 0x94, 0xA7, 0xF3, 0xF4, 0xF5, 0x9B}},
        {"O", {0xD4, 0xD5, 0xE0, 0xE5, 0x99, 0x9D}},
        {"u", {0xA3, 0x97, 0x96, 0x81, 0xF9}},
        {"U", {0xEB, 0x9A}},
        {"c", {0x87, 0xE7}},
        {"C", {0x80}},
        {"2", {0xFD}},
        {"3", {0xFC}},
        {"L", {0x9C}},
        {"x", {0x9E}},
        {"f", {0x9F}},
        {"e ", {0xDB}},
        {"-", {0x3C, 0x3E, 0x5F}},
        {" ", {0x22, 0x27, 0x23, 0xAB, 0xAC, 0xA4, 0xA5, 0xA8, 0xA9, 0xAA, 0xAD, 0xAE, 0xAF, 0xB0,
               0xB1, 0xB2, 0xB3, 0xB4, 0xB8, 0xB9, 0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF, 0xC0, 0xC2,
               0xC4, 0xC5, 0xC8, 0xCA, 0xCB, 0xCC, 0xCE, 0xCF, 0xD0, 0xD1, 0xD9, 0xDC, 0xDD, 0xDF,
               0xE6, 0xE8, 0xEC, 0xEE, 0xEF, 0xF0, 0xF1, 0xF2, 0xF6, 0xF7, 0xF8, 0xFB, 0xFE, 0xFF}},
        // The six letters the old table left alone (å Å æ Æ ÿ ø) would reach the
        // document as single bytes that are no UTF-8; they are transliterated too.
        {"ae", {0x91}},
        {"AE", {0x92}},
        {"y", {0x98}},
    };
    for (const Substitution& row : rows) {
      for (uint8_t b : row.bytes) t[b] = row.replacement;
    }
    return t;
  }();
  return table;
}

}  // namespace

std::string_view Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] == ' ') ++b;
  while (e > b && s[e - 1] == ' ') --e;
  return s.substr(b, e - b);
}

std::string FormatNumber(const Decimal& value, NumberFormat format) {
  switch (format) {
    case NumberFormat::kAmount:
      return Grouped(value, 2);
    case NumberFormat::kAmountOrEmpty:
      return value.RoundHalfAway(2).IsZero() ? "" : Grouped(value, 2);
    case NumberFormat::kWhole:
      return Grouped(value, 0);
    case NumberFormat::kTenth:
      // The old conversion also turned a ".0" of the thousands into ",0"
      // (1000.5 gave "1,000,5"); the thousands stay separated by ".".
      if (value.RoundHalfAway(1).IsZero()) return "0";
      return Grouped(value, 1);
    case NumberFormat::kInt:
      return Plain(value, 0);
    case NumberFormat::kPlain2: {
      std::string s = Plain(value, 2);
      if (s.size() >= 3 && s.compare(s.size() - 3, 3, ",00") == 0) s.erase(s.size() - 3);
      return s;
    }
    case NumberFormat::kRate:
    case NumberFormat::kRate3:
      if (value.RoundHalfAway(6).IsZero()) return "";
      return Plain(value, 6);
    case NumberFormat::kFixed4: {
      Split s = SplitAt(value, 4);
      std::string whole = s.whole;
      while (whole.size() < 3) whole.insert(0, "0");
      return (s.negative ? "-" : "") + whole + "," + s.frac;
    }
  }
  return "";
}

std::string ConvCar(std::string_view cp850) {
  if (cp850.empty()) return " ";
  const auto& table = ConvCarTable();
  std::string out;
  out.reserve(cp850.size());
  for (char c : cp850) {
    const char* r = table[static_cast<uint8_t>(c)];
    if (r != nullptr) {
      out += r;
    } else {
      out += c;
    }
  }
  return out;
}

std::string SemPonto(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c == '.' || c == ',' || c == '/' || c == '\\' || c == ')' || c == '(') c = ' ';
  }
  return out;
}

std::string XmlSafe(std::string_view cp850) {
  std::string out;
  out.reserve(cp850.size());
  for (char c : cp850) {
    auto b = static_cast<uint8_t>(c);
    if (b < 0x20 || b == 0x7F) continue;
    if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '"') {
      out += "&quot;";
    } else if (b < 0x80) {
      out += c;
    } else {
      core::AppendUtf8(out, core::Cp850ToUnicode(b));
    }
  }
  return out;
}

std::string FormatText(std::string_view cp850, TextMode mode) {
  switch (mode) {
    case TextMode::kText:
      return XmlSafe(Trim(cp850));
    case TextMode::kConverted:
      return XmlSafe(Trim(ConvCar(cp850)));
    case TextMode::kTwoDigits: {
      std::string_view t = Trim(cp850);
      // VAL(): the leading digits of the text; no digits read as 0.
      int value = 0;
      size_t i = 0;
      while (i < t.size() && t[i] >= '0' && t[i] <= '9' && value < 10) {
        value = value * 10 + (t[i] - '0');
        ++i;
      }
      bool more_digits = i < t.size() && t[i] >= '0' && t[i] <= '9';
      if (!more_digits && value < 10 && (t.empty() || t[0] != '-')) {
        char buf[3] = {static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10), 0};
        return buf;
      }
      return XmlSafe(t);
    }
  }
  return "";
}

std::string ConvNro(const Decimal& value, Closing closing, NumberFormat format) {
  return "\"" + FormatNumber(value, format) + "\"" + ClosingText(closing);
}

std::string PoeAspas(std::string_view cp850, Closing closing, TextMode mode, bool dots_when_empty) {
  std::string v = FormatText(cp850, mode);
  if (v.empty() && dots_when_empty) v = "...";
  return "\"" + v + "\"" + ClosingText(closing);
}

std::string FormatDate(const core::Date& d) { return d.ToDmy(); }

std::string FormatTrimmedDate(const core::Date& d) { return std::string(Trim(d.ToDmy())); }

std::string FormatNow(const platform::CivilTime& t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%04d %02d:%02d:%02d", t.day, t.month, t.year, t.hour,
                t.minute, t.second);
  return buf;
}

namespace {
// An "@R" mask over a field: every '9' of the mask takes the next character of
// the field (blank padded), every other mask character is inserted.
std::string Mask(std::string_view field, std::string_view mask) {
  std::string out;
  size_t next = 0;
  for (char m : mask) {
    if (m == '9') {
      out += next < field.size() ? field[next] : ' ';
      ++next;
    } else {
      out += m;
    }
  }
  return out;
}
}  // namespace

std::string FormatCpf(std::string_view field) {
  return XmlSafe(Trim(Mask(field, "999.999.999-99")));
}

std::string FormatCnpj(std::string_view field) {
  return XmlSafe(Mask(field, "99.999.999/9999-99"));
}

std::string FormatCep(std::string_view field) {
  // A blank CEP is "" (the mask alone would leave a lone "-").
  if (Trim(field).empty()) return "";
  return XmlSafe(Trim(Mask(Trim(field), "99999-999")));
}

}  // namespace dodu::handover
