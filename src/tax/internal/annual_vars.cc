#include "tax/internal/annual_vars.h"

#include <cstdio>

namespace dodu::tax::internal {
namespace {

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(' ');
  return s.substr(b, e - b + 1);
}

}  // namespace

core::Decimal Num(const core::Variables& v, std::string_view name) {
  if (!v.Has(name)) return core::Decimal();
  switch (v.Type(name)) {
    case core::ValueType::kNumber:
      return v.Number(name);
    case core::ValueType::kText: {
      auto d = core::Decimal::Parse(v.Text(name));
      return d ? *d : core::Decimal();
    }
    default:
      return core::Decimal();
  }
}

int Int(const core::Variables& v, std::string_view name) {
  return static_cast<int>(Num(v, name).ToScaled(0, core::Rounding::kTruncate));
}

std::string Text(const core::Variables& v, std::string_view name) {
  if (!v.Has(name) || v.Type(name) != core::ValueType::kText) return "";
  return Trim(v.Text(name));
}

core::Date DateOf(const core::Variables& v, std::string_view name) {
  if (!v.Has(name) || v.Type(name) != core::ValueType::kDate) return core::Date();
  return v.DateOf(name);
}

bool Yes(const core::Variables& v, std::string_view name) { return Text(v, name) == "S"; }

void SetNum(core::Variables& v, std::string_view name, const core::Decimal& value) {
  if (!v.Has(name)) return;
  if (v.Type(name) == core::ValueType::kText) {
    v.SetText(name, value.ToString());
  } else {
    v.SetNumber(name, value);
  }
}

void SetText(core::Variables& v, std::string_view name, const std::string& value) {
  if (v.Has(name)) v.SetText(name, value);
}

std::string Line(int n) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "I13_%02d", n);
  return buf;
}

}  // namespace dodu::tax::internal
