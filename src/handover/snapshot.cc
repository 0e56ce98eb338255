#include "handover/snapshot.h"

#include "core/variables.h"

namespace dodu::handover {

Row& Row::Set(std::string_view field, core::Value value) {
  fields_[core::VariableKey(field)] = std::move(value);
  return *this;
}

Row& Row::Num(std::string_view field, const char* decimal_text) {
  auto d = core::Decimal::Parse(decimal_text);
  return Num(field, d ? *d : core::Decimal());
}

const core::Value* Row::Find(std::string_view field) const {
  auto it = fields_.find(core::VariableKey(field));
  return it == fields_.end() ? nullptr : &it->second;
}

Result<Row> Row::FromRecord(const store::Record& record) {
  Row row;
  for (const auto& slot : record.layout().slots()) {
    const std::string& name = slot.spec.name;
    switch (slot.spec.type) {
      case store::FieldType::kNumeric: {
        DODU_ASSIGN_OR_RETURN(core::Decimal d, record.GetNumber(name));
        row.Set(name, d);
        break;
      }
      case store::FieldType::kDate: {
        DODU_ASSIGN_OR_RETURN(core::Date d, record.GetDate(name));
        row.Set(name, d);
        break;
      }
      case store::FieldType::kLogical: {
        DODU_ASSIGN_OR_RETURN(bool b, record.GetLogical(name));
        row.Set(name, b);
        break;
      }
      case store::FieldType::kChar: {
        DODU_ASSIGN_OR_RETURN(std::string t, record.GetText(name));
        row.Set(name, std::move(t));
        break;
      }
      default:
        break;  // memo blocks are no value of the document
    }
  }
  return row;
}

std::string TextOf(const core::Value* v) {
  if (v == nullptr) return "";
  if (auto* s = std::get_if<std::string>(v)) return *s;
  if (auto* d = std::get_if<core::Decimal>(v)) return d->ToString();
  if (auto* dt = std::get_if<core::Date>(v)) return dt->IsBlank() ? "" : dt->Dtos();
  return std::get<bool>(*v) ? "T" : "F";
}

core::Decimal NumberOf(const core::Value* v) {
  if (v == nullptr) return {};
  if (auto* d = std::get_if<core::Decimal>(v)) return *d;
  if (auto* s = std::get_if<std::string>(v)) {
    auto d = core::Decimal::Parse(*s);
    return d ? *d : core::Decimal();
  }
  return {};
}

core::Date DateOf(const core::Value* v) {
  if (v == nullptr) return {};
  if (auto* dt = std::get_if<core::Date>(v)) return *dt;
  if (auto* s = std::get_if<std::string>(v)) {
    auto d = core::Date::FromDtos(*s);
    return d ? *d : core::Date();
  }
  return {};
}

bool LogicalOf(const core::Value* v) {
  if (v == nullptr) return false;
  if (auto* b = std::get_if<bool>(v)) return *b;
  return false;
}

std::string RowTrimmed(const Row& r, std::string_view f) {
  std::string s = RowText(r, f);
  size_t b = s.find_first_not_of(' '), e = s.find_last_not_of(' ');
  return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

const core::Value* FindVar(const core::Variables& vars, std::string_view name) {
  return vars.Has(name) ? &vars.Get(name) : nullptr;
}

const std::vector<Row>& Snapshot::Of(Schedule s) const {
  static const std::vector<Row> kNone;
  auto it = rows.find(s);
  return it == rows.end() ? kNone : it->second;
}

}  // namespace dodu::handover
