#include "screen/form_variables.h"

namespace dodu::screen {

Result<EditValue> MapVariableStore::Get(std::string_view name) const {
  auto it = vars_.find(name);
  if (it == vars_.end()) return Status::NotFound("variable " + std::string(name));
  return it->second;
}

Status MapVariableStore::Set(std::string_view name, const EditValue& value) {
  auto it = vars_.find(name);
  if (it == vars_.end()) return Status::NotFound("variable " + std::string(name));
  if (it->second.index() != value.index()) {
    return Status::Invalid("variable " + std::string(name) + ": value of another kind");
  }
  it->second = value;
  return Status::Ok();
}

}  // namespace dodu::screen
