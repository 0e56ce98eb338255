// The seam through which a form opens the lookup list of the field being
// edited. The screens above the toolkit implement FieldLookup (the entry
// library answers for every field that has a list); a form binds it to a key
// with LookupHotKey, so the toolkit never depends on who provides the lists.
#ifndef DODU_SCREEN_FIELD_LOOKUP_H_
#define DODU_SCREEN_FIELD_LOOKUP_H_

#include <string_view>

#include "platform/status.h"
#include "screen/form.h"
#include "screen/form_variables.h"
#include "screen/keys.h"

namespace dodu::screen {

class FieldLookup {
 public:
  virtual ~FieldLookup() = default;
  // Is there a list for the field of this name?
  virtual bool Has(std::string_view field) const = 0;
  // Opens the list of `field` and applies the line chosen: the field's value
  // (replaced through the ActiveField) and the related variables. True when a
  // line was chosen; false on Esc or without a list.
  virtual Result<bool> Open(VariableStore& vars, ActiveField& field) = 0;
};

// A form hot key (F1 unless told otherwise) that opens the active field's
// list; a field without one stays as it is. An error of the list shows no box
// here: the list has said what went wrong, and the form goes on.
HotKey LookupHotKey(FieldLookup& lookups, Key key = Key::F(1));

}  // namespace dodu::screen

#endif  // DODU_SCREEN_FIELD_LOOKUP_H_
