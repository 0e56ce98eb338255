#include "shell/selection_session.h"

#include "entry/lookup.h"
#include "shell/selection_windows.h"

namespace dodu::shell {

void UseRegisterList(SelectionContext& s) {
  s.hooks.register_list =
      [&s](
          const entry::RegisterListRequest& request) -> Result<std::optional<entry::RegisterPick>> {
    entry::EntryContext ec{s.tk, s.ctx, s.areas, s.entry_state};
    entry::RegisterListHooks hooks;
    hooks.details = [&s](const store::Record& line) {
      (void)MOS_DETAL(s, line.GetText("CPF").value_or(""));
    };
    // The list is over area 9 with the line current: the warnings of that line.
    hooks.warnings = [&s](const store::Record&) { (void)MOS_PEND(s); };
    return entry::RegisterList(ec, request, hooks);
  };
}

void UseDeclarationSession(SelectionContext& s, DeclarationSession& session) {
  s.hooks.load = [&session](const LoadRequest& request) { return session.Load(request); };
}

}  // namespace dodu::shell
