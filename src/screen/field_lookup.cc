#include "screen/field_lookup.h"

namespace dodu::screen {

HotKey LookupHotKey(FieldLookup& lookups, Key key) {
  HotKey h;
  h.key = key;
  h.run = [&lookups](Toolkit&, VariableStore& vars, ActiveField& field) {
    if (lookups.Has(field.name())) (void)lookups.Open(vars, field);
    return HotKeyAction::kContinue;
  };
  return h;
}

}  // namespace dodu::screen
