#include "shell/declaration_vars.h"

#include <stdexcept>

#include "core/decimal.h"
#include "store/catalogue.h"

namespace dodu::shell {
namespace {

using core::Value;
using core::ValueType;
using store::FieldSpec;
using store::FieldType;

constexpr DeclarationSource kSources[] = {DeclarationSource::kRegister, DeclarationSource::kDeclaration,
                                          DeclarationSource::kMonthly, DeclarationSource::kRural};

ValueType TypeFor(const FieldSpec& f) {
  switch (f.type) {
    case FieldType::kChar: return ValueType::kText;
    case FieldType::kNumeric: return ValueType::kNumber;
    case FieldType::kDate: return ValueType::kDate;
    case FieldType::kLogical: return ValueType::kLogical;
    case FieldType::kMemo: break;
  }
  throw std::logic_error("declaration field " + f.name + " is a memo");
}

Value StartValue(const FieldSpec& f) {
  if (f.type == FieldType::kChar) return std::string(f.length, ' ');
  return core::EmptyValue(TypeFor(f));
}

std::string Mm(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

bool KeptOnLoad(DeclarationSource source, const std::string& name) {
  if (name == "CPF" || name == "NOMEAG") return true;
  return source == DeclarationSource::kRural && name == "ATV_BRASIL";
}

// The fields of the rural record its screens write.
std::vector<std::string> RuralSavedFields(bool brazil) {
  std::vector<std::string> f{"CPF"};
  if (brazil) {
    for (int mm = 1; mm <= 12; ++mm) {
      f.push_back("I3_" + Mm(mm) + "OR");
      f.push_back("I3_" + Mm(mm) + "OD");
    }
  }
  for (int mm = 1; mm <= 7; ++mm) f.push_back("I4R_" + Mm(mm));
  for (const char* n : {"I5_08", "I5_09", "I5_10", "I6_10", "OPT_20", "OPT_20E"}) f.push_back(n);
  for (const char* s : {"A", "B", "C", "S", "V1"}) {
    for (int k = 1; k <= 5; ++k) f.push_back("I7_" + std::to_string(k) + s);
  }
  for (const char* n : {"I7_V1", "SO_TOTAL", "TIPO_LANCA"}) f.push_back(n);
  return f;
}

}  // namespace

int SourceTable(DeclarationSource source) {
  switch (source) {
    case DeclarationSource::kRegister: return 9;
    case DeclarationSource::kDeclaration: return 1;
    case DeclarationSource::kMonthly: return 12;
    case DeclarationSource::kRural: return 15;
  }
  return 0;
}

std::string MonthlyFieldName(int kind, int month) { return "I2_" + std::to_string(kind) + Mm(month); }

DeclarationVars::DeclarationVars() {
  for (DeclarationSource source : kSources) {
    const store::TableDef* def = store::FindTable(SourceTable(source));
    if (def == nullptr) throw std::logic_error("no catalogue table " + std::to_string(SourceTable(source)));
    std::vector<std::string>& names = source_fields_[source];
    for (const FieldSpec& f : def->layout) {
      std::string key = core::VariableKey(f.name);
      names.push_back(key);
      auto it = vars_.find(key);
      if (it == vars_.end()) {
        vars_.emplace(key, Variable{f, StartValue(f)});
      } else if (TypeFor(it->second.field) != TypeFor(f)) {
        throw std::logic_error("declaration field " + f.name + " has two types in the catalogue");
      }
    }
  }
}

const DeclarationVars::Variable& DeclarationVars::Find(std::string_view name) const {
  auto it = vars_.find(core::VariableKey(name));
  if (it == vars_.end()) core::ThrowUnknownVariable(name);
  return it->second;
}

bool DeclarationVars::Has(std::string_view name) const { return vars_.count(core::VariableKey(name)) > 0; }

ValueType DeclarationVars::Type(std::string_view name) const { return core::TypeOf(Find(name).value); }

const Value& DeclarationVars::Get(std::string_view name) const { return Find(name).value; }

void DeclarationVars::Set(std::string_view name, Value value) {
  auto it = vars_.find(core::VariableKey(name));
  if (it == vars_.end()) core::ThrowUnknownVariable(name);
  Variable& v = it->second;
  if (core::TypeOf(v.value) != core::TypeOf(value))
    core::ThrowWrongType(name, core::TypeOf(v.value), core::TypeOf(value));
  v.value = std::move(value);
}

const FieldSpec& DeclarationVars::Field(std::string_view name) const { return Find(name).field; }

std::vector<std::string> DeclarationVars::Names() const {
  std::vector<std::string> out;
  for (const auto& [k, v] : vars_) out.push_back(k);
  return out;
}

const std::vector<std::string>& DeclarationVars::SourceFields(DeclarationSource source) const {
  return source_fields_.at(source);
}

void DeclarationVars::Clear() {
  for (auto& [k, v] : vars_) v.value = StartValue(v.field);
}

Status DeclarationVars::Load(DeclarationSource source, const store::Record& record) {
  std::vector<std::pair<Variable*, Value>> loaded;
  for (const FieldSpec& f : record.layout().fields()) {
    const std::string key = core::VariableKey(f.name);
    auto it = vars_.find(key);
    if (it == vars_.end())
      return Status::Invalid("table " + std::to_string(SourceTable(source)) + ": field " + f.name +
                             " has no declaration variable");
    if (KeptOnLoad(source, key)) continue;
    if (TypeFor(f) != core::TypeOf(it->second.value))
      return Status::Invalid("field " + f.name + " is not of its variable's type");
    Value v;
    switch (f.type) {
      case FieldType::kChar: {
        DODU_ASSIGN_OR_RETURN(std::string s, record.GetText(f.name));
        v = std::move(s);
        break;
      }
      case FieldType::kNumeric: {
        DODU_ASSIGN_OR_RETURN(core::Decimal d, record.GetNumber(f.name));
        v = d;
        break;
      }
      case FieldType::kDate: {
        DODU_ASSIGN_OR_RETURN(core::Date d, record.GetDate(f.name));
        v = d;
        break;
      }
      case FieldType::kLogical: {
        DODU_ASSIGN_OR_RETURN(bool b, record.GetLogical(f.name));
        v = b;
        break;
      }
      case FieldType::kMemo:
        return Status::Invalid("field " + f.name + " is a memo");
    }
    loaded.emplace_back(&it->second, std::move(v));
  }
  for (auto& [var, v] : loaded) var->value = std::move(v);
  return Status::Ok();
}

Status DeclarationVars::StoreFields(store::Record& record, const std::vector<std::string>& fields) const {
  store::Record out = record;
  std::string too_wide;
  for (const std::string& name : fields) {
    const store::FieldSlot* slot = out.layout().Find(name);
    if (slot == nullptr) return Status::Invalid("the record has no field " + name);
    auto it = vars_.find(core::VariableKey(name));
    if (it == vars_.end()) return Status::Invalid("field " + name + " has no declaration variable");
    const FieldSpec& f = slot->spec;
    const Value& v = it->second.value;
    if (TypeFor(f) != core::TypeOf(v)) return Status::Invalid("field " + f.name + " is not of its variable's type");
    Status st;
    switch (f.type) {
      case FieldType::kChar: {
        std::string_view text = std::get<std::string>(v);
        while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
        st = text.size() > static_cast<size_t>(f.length) ? Status::Invalid(f.name) : out.PutText(f.name, text);
        break;
      }
      case FieldType::kNumeric: st = out.PutNumber(f.name, std::get<core::Decimal>(v)); break;
      case FieldType::kDate: st = out.PutDate(f.name, std::get<core::Date>(v)); break;
      case FieldType::kLogical: st = out.PutLogical(f.name, std::get<bool>(v)); break;
      case FieldType::kMemo: st = Status::Invalid(f.name); break;
    }
    if (st.code() == StatusCode::kInvalid) {
      too_wide += (too_wide.empty() ? "" : ", ") + f.name;
    } else if (!st.ok()) {
      return st;
    }
  }
  if (!too_wide.empty()) return Status::Invalid("values do not fit their fields: " + too_wide);
  record = std::move(out);
  return Status::Ok();
}

Status DeclarationVars::Store(DeclarationSource, store::Record& record) const {
  std::vector<std::string> fields;
  for (const FieldSpec& f : record.layout().fields()) fields.push_back(f.name);
  return StoreFields(record, fields);
}

Status DeclarationVars::StoreRural(store::Record& record, std::string_view activity) const {
  const bool brazil = activity == "S";
  DODU_RETURN_IF_ERROR(StoreFields(record, RuralSavedFields(brazil)));
  return record.PutText("ATV_BRASIL", activity);
}

void VE_LIM_NEG(core::Variables& vars) {
  using core::Decimal;
  const Decimal indgas = vars.Number("INDGAS");
  if (indgas > Decimal::FromScaled(99999, 2)) vars.SetNumber("INDGAS", Decimal::FromInt(999));
  if (indgas < Decimal::FromScaled(-9999, 2)) vars.SetNumber("INDGAS", Decimal::FromScaled(-9999, 2));
  const Decimal floor = Decimal::FromScaled(-9999999999, 2);
  if (vars.Number("SALDO") < floor) vars.SetNumber("SALDO", floor);
}

}  // namespace dodu::shell
