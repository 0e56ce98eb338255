#include "shell/station_services.h"

#include "entry/profile_import.h"
#include "screen/message_box.h"
#include "shell/calculation_screen.h"
#include "shell/calculation_screen_rows.h"
#include "shell/handover_station.h"
#include "shell/option_lists.h"
#include "shell/print_screens.h"
#include "shell/selection_session.h"

namespace dodu::shell {
namespace {

WorkCopyLookup WorkCopiesOf(DeclarationSession& s) {
  return [&s](int n) { return s.WorkCopy(n); };
}

// Screen 7: the calculation, on the open declaration's variables and work copies.
screen::Key CalculationScreen(ScreenContext& c) {
  CalculationScreenPorts ports = WorkCopyPorts(c.session.ctx(), WorkCopiesOf(c.session));
  Result<CalculationScreenResult> r = RunCalculationScreen(c.station.tk, c.session.vars(), ports);
  if (!r.ok()) {
    screen::AVISOSN(c.station.tk, std::vector<std::string>{r.status().ToString()}, 1);
    return screen::Key::Esc();
  }
  return r->end == CalculationScreenEnd::kEscaped ? screen::Key::Esc() : r->key;
}

}  // namespace

Status ComputationHooks::BALANCO(DeclarationSession& s) {
  return AnnualBalanco(s.vars(), s.ctx(), WorkCopiesOf(s));
}

Status ComputationHooks::CALC(DeclarationSession& s, int what, int arg) {
  // The carnê-leão passes (1 and 2) run on its own screen; the save's whole
  // calculation is the annual one.
  if (what != 7) return Status::Ok();
  return AnnualCalc(s.vars(), s.ctx(), WorkCopiesOf(s), what, arg);
}

core::Decimal ComputationHooks::LIMDOA(DeclarationSession& s, int fund) {
  return AnnualLimdoa(s.vars(), WorkCopiesOf(s), fund);
}

Status ComputationHooks::HandOver(DeclarationSession& s) {
  return HandOverOnSave(st_, s, handover_state_);
}

SessionSettings SessionSettingsOf(const Station& st) {
  SessionSettings s;
  s.operator_name = OperatorName(st.settings.nomeag, st.ctx.terminal);
  s.opttran = st.menu.opttran;
  s.soeste = st.menu.soeste;
  s.statrava = st.installation.statrava > 0 ? st.installation.statrava : -1;
  s.temp_sal = st.menu.temp_sal;
  return s;
}

StationServices::StationServices(Station& station)
    : st(station),
      hooks(station),
      selection(station.tk, station.ctx, station.areas, station.menu, station.settings.ult_cpf),
      session(station.ctx, station.areas, SessionSettingsOf(station), hooks, selection.frame),
      maintenance{station.tk, station.ctx, station.areas, ""},
      entry{station.tk, station.ctx, station.areas, entry_state},
      import{station.tk, station.ctx, station.areas, entry, profiles, nullptr},
      printers(print::NewCupsPrinters(station.env, station.ctx.work_folder)) {
  selection.base_year = kNanoAtual - 1;
  entry::RegisterImportProfiles(profiles);
  // A taxpayer of the import found in another folder of the list is written there.
  import.locate = [this](const std::string& cpf) -> std::optional<std::string> {
    const std::string before = st.ctx.data_folder;
    Result<bool> found = BUSCA_OUTRO(selection, cpf, 1, 0);
    std::optional<std::string> folder;
    if (found.ok() && *found) folder = st.ctx.data_folder;
    st.ctx.data_folder = before;
    return folder;
  };
  screens.RegisterScreen(7, CalculationScreen);
}

void RegisterStationServices(StationServices& s) {
  ActionRegistry& registry = s.st.dispatcher->registry();
  RegisterMaintenanceOptions(registry, s.maintenance);
  RegisterListOptions(registry, s.maintenance);
  RegisterImportOption(registry, s.import);
  RegisterPrintOptions(registry, s.st, *s.printers);

  UseRegisterList(s.selection);
  UseDeclarationSession(s.selection, s.session);
  UseHandOver(s.selection, s.st, s.session);
  DeclarationRunOptions run;
  run.screens = &s.screens;
  run.hooks = &s.hooks;
  UseDeclarationMenu(s.selection, s.st, s.session, run);
  RegisterSelectionOptions(registry, s.selection, *s.st.dispatcher);
}

}  // namespace dodu::shell
