#include "shell/selection_session.h"

#include "entry/lookup.h"
#include "entry/lookup_list.h"
#include "shell/selection_windows.h"
#include "store/opener.h"

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
  s.hooks.status_list = [&s]() -> std::optional<int> {
    if (s.areas.Get(66) == nullptr && !store::ABERTURA(s.ctx, s.areas, 66).ok()) return {};
    if (s.areas.Get(66) == nullptr) return {};
    entry::EntryContext ec{s.tk, s.ctx, s.areas, s.entry_state};
    entry::LookupList list;
    list.area = 66;
    list.title = "Estatus";
    list.rect = {5, 20, 17, 45};
    list.columns = {{"COD", "", "99", "Cod", "", false, {}},
                    {"DESCRICAO", "", "", "Descricao", "", false, {}}};
    Result<std::optional<entry::LookupPick>> pick = entry::HBROWSE(ec, list);
    if (!pick.ok() || !*pick) return {};
    Result<core::Decimal> code = (*pick)->record.GetNumber("COD");
    if (!code.ok()) return {};
    return static_cast<int>(code->ToScaled(0));
  };
}

void UseDeclarationSession(SelectionContext& s, DeclarationSession& session) {
  s.hooks.load = [&session](const LoadRequest& request) { return session.Load(request); };
}

}  // namespace dodu::shell

namespace dodu::shell {

void UseDeclarationMenu(SelectionContext& s, Station& station, DeclarationSession& session,
                        const DeclarationRunOptions& options) {
  s.hooks.run_declaration = [&station, &session, options]() {
    Result<DeclarationResult> r = RunDeclaration(station, session, options);
    return (!r.ok() || r->selection_ends) ? 1 : 0;
  };
}

}  // namespace dodu::shell
