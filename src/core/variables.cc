#include "core/variables.h"

#include <stdexcept>

namespace dodu::core {

ValueType TypeOf(const Value& v) { return static_cast<ValueType>(v.index()); }

const char* ValueTypeName(ValueType t) {
  switch (t) {
    case ValueType::kText: return "text";
    case ValueType::kNumber: return "number";
    case ValueType::kDate: return "date";
    case ValueType::kLogical: return "logical";
  }
  return "?";
}

Value EmptyValue(ValueType t) {
  switch (t) {
    case ValueType::kText: return std::string();
    case ValueType::kNumber: return Decimal();
    case ValueType::kDate: return Date();
    case ValueType::kLogical: return false;
  }
  return std::string();
}

void ThrowUnknownVariable(std::string_view name) {
  throw std::logic_error("no variable named " + std::string(name));
}

void ThrowWrongType(std::string_view name, ValueType is, ValueType asked) {
  throw std::logic_error("variable " + std::string(name) + " is " + ValueTypeName(is) +
                         ", used as " + ValueTypeName(asked));
}

std::string VariableKey(std::string_view name) {
  std::string k(name);
  for (char& c : k) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return k;
}

namespace {

template <typename T>
const T& Typed(const Variables& vars, std::string_view name, ValueType asked) {
  const Value& v = vars.Get(name);
  if (const T* p = std::get_if<T>(&v)) return *p;
  ThrowWrongType(name, TypeOf(v), asked);
}

}  // namespace

const std::string& Variables::Text(std::string_view name) const {
  return Typed<std::string>(*this, name, ValueType::kText);
}
const Decimal& Variables::Number(std::string_view name) const {
  return Typed<Decimal>(*this, name, ValueType::kNumber);
}
const Date& Variables::DateOf(std::string_view name) const {
  return Typed<Date>(*this, name, ValueType::kDate);
}
bool Variables::Logical(std::string_view name) const {
  return Typed<bool>(*this, name, ValueType::kLogical);
}

void VariableMap::Declare(std::string_view name, Value initial) {
  std::string key = VariableKey(name);
  auto it = values_.find(key);
  if (it == values_.end()) {
    values_.emplace(std::move(key), std::move(initial));
    return;
  }
  if (TypeOf(it->second) != TypeOf(initial)) ThrowWrongType(name, TypeOf(it->second), TypeOf(initial));
  it->second = std::move(initial);
}

bool VariableMap::Has(std::string_view name) const { return values_.count(VariableKey(name)) > 0; }

ValueType VariableMap::Type(std::string_view name) const { return TypeOf(Get(name)); }

const Value& VariableMap::Get(std::string_view name) const {
  auto it = values_.find(VariableKey(name));
  if (it == values_.end()) ThrowUnknownVariable(name);
  return it->second;
}

void VariableMap::Set(std::string_view name, Value value) {
  auto it = values_.find(VariableKey(name));
  if (it == values_.end()) ThrowUnknownVariable(name);
  if (TypeOf(it->second) != TypeOf(value)) ThrowWrongType(name, TypeOf(it->second), TypeOf(value));
  it->second = std::move(value);
}

}  // namespace dodu::core
