#include "entry/edita.h"

#include "entry/record_browser.h"

namespace dodu::entry {

Status CommitAll(store::WorkAreas& areas) {
  Status first;
  for (int n : areas.OpenNumbers()) {
    store::WorkArea* a = areas.Get(n);
    if (a == nullptr) continue;
    if (a->table().read_only()) continue;
    Status st = a->table().file().Sync();
    if (first.ok() && !st.ok()) first = st;
  }
  return first;
}

Result<screen::Key> MOSTRA(EntryContext& ec, Profile& profile, BrowseRect rect, int frame,
                           int area) {
  const int number = area != 0 ? area : (profile.area != 0 ? profile.area : ec.areas.current());
  store::WorkArea* wa = ec.areas.Get(number);
  if (wa == nullptr) return Status::NotFound("work area " + std::to_string(number) + " is empty");
  ec.areas.Select(number);
  if (profile.hooks.before_show && !profile.hooks.before_show(ec)) return screen::Key();
  screen::Toolkit& tk = ec.tk;
  const screen::ColourSettings& cs = tk.colours();
  const int window = frame == 6 ? kLookupWindow : kBrowseWindow;
  if (frame != 0) {
    tk.REDEFJAN(window, cs.COR_TEL1, cs.COR_TEL2, cs.COR_TEL3, rect.top, rect.left, rect.bottom,
                rect.right, 2);
    tk.ABREJAN(window);
    if (!profile.title.empty())
      tk.Frame(rect.top, rect.left, rect.bottom, rect.right, static_cast<screen::Attr>(cs.COR_TEL2),
               profile.title);
  }
  RecordBrowser browser(ec, profile, *wa, rect);
  Status st = browser.Init();
  Result<screen::Key> key = screen::Key();
  if (st.ok()) {
    key = browser.Run();
  } else if (st.code() != StatusCode::kInvalid) {
    key = st;
  }
  if (frame == 1 || frame == 6) tk.FECHAJAN(window);
  Status committed = CommitAll(ec.areas);
  if (key.ok() && !committed.ok()) return committed;
  return key;
}

Result<screen::Key> EDITA(EntryContext& ec, const ProfileRegistry& registry, int number,
                          int option) {
  DODU_ASSIGN_OR_RETURN(Profile profile, registry.Build(ec, number, option));
  const int area = profile.area != 0 ? profile.area : ec.areas.current();
  store::WorkArea* wa = ec.areas.Get(area);
  if (wa == nullptr) return Status::NotFound("work area " + std::to_string(area) + " is empty");
  wa->hide_deleted = true;
  ec.state.LASTECLA = screen::Key();
  ec.state.OPC = number;
  const screen::Key alt_u = screen::Key::Alt('U');
  ec.tk.UnbindKey(alt_u);
  Result<screen::Key> key = MOSTRA(ec, profile, profile.rect, profile.frame, area);
  if (ec.state.hot_keys.monthly_values) ec.tk.BindKey(alt_u, ec.state.hot_keys.monthly_values);
  return key;
}

}  // namespace dodu::entry
