// Variables: the small name -> typed value interface through which the
// computations read and write the state of an open declaration (the register,
// the declaration record, the monthly record...) without knowing where that
// state lives. The shell's variable store implements it over the table layouts;
// tests of the computations use a VariableMap.
//
// Every variable has one type for its whole life: text, number (Decimal), date
// or logical. Asking for a name that does not exist, or reading or writing a
// variable as another type, is a programming error: std::logic_error naming the
// variable, never a Status (the names are fixed in the code, not typed by the
// operator, and a test that runs the code path finds them).
#ifndef DODU_CORE_VARIABLES_H_
#define DODU_CORE_VARIABLES_H_

#include <map>
#include <string>
#include <string_view>
#include <variant>

#include "core/date.h"
#include "core/decimal.h"

namespace dodu::core {

enum class ValueType { kText, kNumber, kDate, kLogical };

// The alternatives in ValueType order.
using Value = std::variant<std::string, Decimal, Date, bool>;

ValueType TypeOf(const Value& v);
const char* ValueTypeName(ValueType t);
// The value a variable of type `t` starts with: "", 0, the blank date, false.
Value EmptyValue(ValueType t);

class Variables {
 public:
  virtual ~Variables() = default;

  // Names compare case-insensitively ("cpf" is "CPF").
  virtual bool Has(std::string_view name) const = 0;
  // The type of `name`. Throws std::logic_error when there is no such variable.
  virtual ValueType Type(std::string_view name) const = 0;
  // The value of `name`. Throws std::logic_error when there is no such variable.
  virtual const Value& Get(std::string_view name) const = 0;
  // Replaces the value of `name`. Throws std::logic_error when there is no such
  // variable or `value` is of another type.
  virtual void Set(std::string_view name, Value value) = 0;

  // Typed access; a variable of another type throws std::logic_error.
  const std::string& Text(std::string_view name) const;
  const Decimal& Number(std::string_view name) const;
  const Date& DateOf(std::string_view name) const;
  bool Logical(std::string_view name) const;
  void SetText(std::string_view name, std::string v) { Set(name, Value(std::move(v))); }
  void SetNumber(std::string_view name, const Decimal& v) { Set(name, Value(v)); }
  void SetDate(std::string_view name, const Date& v) { Set(name, Value(v)); }
  void SetLogical(std::string_view name, bool v) { Set(name, Value(v)); }
};

// Throws the logic_error of an unknown name / a wrong type (for implementations).
[[noreturn]] void ThrowUnknownVariable(std::string_view name);
[[noreturn]] void ThrowWrongType(std::string_view name, ValueType is, ValueType asked);

// Upper-case form of a variable name (ASCII), the key implementations keep.
std::string VariableKey(std::string_view name);

// Variables declared one by one, for tests and for computations that keep a few
// values of their own. Declaring a name twice keeps the first declaration's type
// and takes the new value only when the types agree (logic_error otherwise).
class VariableMap final : public Variables {
 public:
  void Declare(std::string_view name, Value initial);

  bool Has(std::string_view name) const override;
  ValueType Type(std::string_view name) const override;
  const Value& Get(std::string_view name) const override;
  void Set(std::string_view name, Value value) override;

  size_t size() const { return values_.size(); }

 private:
  std::map<std::string, Value, std::less<>> values_;
};

}  // namespace dodu::core

#endif  // DODU_CORE_VARIABLES_H_
