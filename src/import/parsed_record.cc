#include "import/parsed_record.h"

#include <stdexcept>

#include "core/codepage.h"
#include "core/id_format.h"

namespace dodu::import {
namespace {

std::string_view Slice(std::string_view line, int start, int length) {
  size_t from = static_cast<size_t>(start - 1);
  if (from >= line.size()) return {};
  return line.substr(from, static_cast<size_t>(length));
}

std::string TrimRight(std::string_view s) {
  size_t e = s.size();
  while (e > 0 && s[e - 1] == ' ') --e;
  return std::string(s.substr(0, e));
}

bool AllOf(std::string_view s, char c) {
  for (char x : s) {
    if (x != c) return false;
  }
  return true;
}

bool AllDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

int64_t DigitsValue(std::string_view s) {
  int64_t v = 0;
  for (char c : s) v = v * 10 + (c - '0');
  return v;
}

std::optional<core::Date> ReadDate(std::string_view s, bool ymd) {
  if (AllOf(s, ' ') || AllOf(s, '0')) return core::Date();
  if (s.size() != 8 || !AllDigits(s)) return std::nullopt;
  int a = static_cast<int>(DigitsValue(s.substr(0, 2)));
  int b = static_cast<int>(DigitsValue(s.substr(2, 2)));
  int y = static_cast<int>(DigitsValue(s.substr(4, 4)));
  if (ymd) {
    y = static_cast<int>(DigitsValue(s.substr(0, 4)));
    b = static_cast<int>(DigitsValue(s.substr(4, 2)));
    a = static_cast<int>(DigitsValue(s.substr(6, 2)));
  }
  return core::Date::FromYmd(y, b, a);
}

FieldValue DefaultOf(const FieldLayout& f) {
  switch (f.kind) {
    case FieldKind::kNumber:
      return f.previous == PreviousRule::kOneCent ? core::Decimal::FromScaled(1, 2)
                                                  : core::Decimal();
    case FieldKind::kMonth:
      return core::Decimal();
    case FieldKind::kDate:
    case FieldKind::kDateOrBlank:
    case FieldKind::kDateYmd:
      return core::Date();
    default:
      return std::string();
  }
}

Status Bad(const FieldLayout& f, std::string_view what) {
  return Status::Corrupt(std::string("campo ") + std::string(f.name) + " " + std::string(what));
}

Result<FieldValue> ReadField(const FieldLayout& f, std::string_view line) {
  std::string_view raw = Slice(line, f.start, f.length);
  switch (f.kind) {
    case FieldKind::kText:
    case FieldKind::kFlag:
      return FieldValue(TrimRight(raw));
    case FieldKind::kConverted:
      return FieldValue(core::AjusCar(raw));
    case FieldKind::kPunctuated:
      return FieldValue(TrimRight(core::ContaPonto(raw)));
    case FieldKind::kNumber:
      // A number left blank by the official program counts as zero.
      if (AllOf(raw, ' ')) return FieldValue(core::Decimal());
      if (!AllDigits(raw)) return Bad(f, "não numérico");
      // No field of the tables holds more than ten whole digits; anything
      // larger is a damaged file, not a number to compute with.
      if (raw.size() > 18 || DigitsValue(raw) / core::Pow10(f.decimals) >= core::Pow10(10)) {
        return Bad(f, "fora do limite");
      }
      return FieldValue(core::Decimal::FromScaled(DigitsValue(raw), f.decimals));
    case FieldKind::kMonth: {
      if (!AllDigits(raw) || raw.size() != 2) return Bad(f, "não é um mês");
      int64_t m = DigitsValue(raw);
      if (m < 1 || m > 12) return Bad(f, "não é um mês");
      return FieldValue(core::Decimal::FromInt(m));
    }
    case FieldKind::kDate:
    case FieldKind::kDateYmd: {
      auto d = ReadDate(raw, f.kind == FieldKind::kDateYmd);
      if (!d) return Bad(f, "não é uma data");
      return FieldValue(*d);
    }
    case FieldKind::kDateOrBlank: {
      auto d = ReadDate(raw, false);
      return FieldValue(d ? *d : core::Date());
    }
  }
  return Bad(f, "de tipo desconhecido");
}

}  // namespace

const FieldValue& ParsedRecord::Value(std::string_view name) const {
  if (layout_ != nullptr) {
    for (size_t i = 0; i < layout_->fields.size(); ++i) {
      if (layout_->fields[i].name == name) return values_[i];
    }
  }
  throw std::logic_error("record " + std::string(type()) + " has no field " + std::string(name));
}

const std::string& ParsedRecord::Text(std::string_view name) const {
  const auto* v = std::get_if<std::string>(&Value(name));
  if (v == nullptr) throw std::logic_error("field " + std::string(name) + " is not text");
  return *v;
}

core::Decimal ParsedRecord::Number(std::string_view name) const {
  const auto* v = std::get_if<core::Decimal>(&Value(name));
  if (v == nullptr) throw std::logic_error("field " + std::string(name) + " is not a number");
  return *v;
}

int ParsedRecord::Int(std::string_view name) const {
  return static_cast<int>(Number(name).ToScaled(0, core::Rounding::kTruncate));
}

core::Date ParsedRecord::DateOf(std::string_view name) const {
  const auto* v = std::get_if<core::Date>(&Value(name));
  if (v == nullptr) throw std::logic_error("field " + std::string(name) + " is not a date");
  return *v;
}

Result<ParsedRecord> ParseRecord(const RecordLayout& layout, std::string_view line, int line_no,
                                 Exercise exercise) {
  if (static_cast<int>(line.size()) < layout.min_length) {
    return Status::Corrupt("registro curto (" + std::to_string(line.size()) + " de " +
                           std::to_string(layout.min_length) + " caracteres)");
  }
  std::vector<FieldValue> values;
  values.reserve(layout.fields.size());
  for (const FieldLayout& f : layout.fields) {
    if (exercise == Exercise::kPrevious && f.previous != PreviousRule::kRead) {
      values.push_back(DefaultOf(f));
      continue;
    }
    Result<FieldValue> v = ReadField(f, line);
    if (!v.ok()) return v.status();
    values.push_back(std::move(v).value());
  }
  return ParsedRecord(&layout, line_no, std::move(values));
}

}  // namespace dodu::import
