// Variables a form edits, addressed by name. The entry screens bind the shared
// variables of the open declaration or the fields of the current record; the
// prompts bind a single variable. Names are compared as given (the system's
// names are upper case).
#ifndef DODU_SCREEN_FORM_VARIABLES_H_
#define DODU_SCREEN_FORM_VARIABLES_H_

#include <map>
#include <string>
#include <string_view>

#include "platform/status.h"
#include "screen/edit_value.h"

namespace dodu::screen {

class VariableStore {
 public:
  virtual ~VariableStore() = default;
  // The value of `name`; NotFound when there is no such variable.
  virtual Result<EditValue> Get(std::string_view name) const = 0;
  // Stores `value` under `name`. Invalid when the variable exists with another
  // kind; a store over a record may also answer Locked or IoError.
  virtual Status Set(std::string_view name, const EditValue& value) = 0;
};

// Variables kept in memory: the prompts' own variables, and tests.
class MapVariableStore : public VariableStore {
 public:
  MapVariableStore() = default;
  // Creates or replaces a variable (of any kind).
  void Define(std::string name, EditValue value) { vars_[std::move(name)] = std::move(value); }

  Result<EditValue> Get(std::string_view name) const override;
  // Only defined variables can be set, and only with their own kind.
  Status Set(std::string_view name, const EditValue& value) override;

 private:
  std::map<std::string, EditValue, std::less<>> vars_;
};

}  // namespace dodu::screen

#endif  // DODU_SCREEN_FORM_VARIABLES_H_
