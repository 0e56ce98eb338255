// What a running station offers beyond the start-up's short actions: the
// taxpayer selection and the open declaration (with the computations it
// calls on load and save), the maintenance and list options, the import of
// the official files and printing. One StationServices lives from the end of
// the start-up to leaving; RegisterStationServices puts its options into the
// dispatcher.
#ifndef DODU_SHELL_STATION_SERVICES_H_
#define DODU_SHELL_STATION_SERVICES_H_

#include <memory>

#include "entry/entry_context.h"
#include "entry/profile.h"
#include "handover/handover.h"
#include "print/printers.h"
#include "shell/declaration_menu.h"
#include "shell/declaration_screen.h"
#include "shell/declaration_session.h"
#include "shell/import_screen.h"
#include "shell/maintenance_screens.h"
#include "shell/selection.h"
#include "shell/station.h"

namespace dodu::shell {

// The calls loading and saving make into the computations: the annual
// calculation (BALANCO, CALC 7, LIMDOA) over the open work copies, and the
// hand-over after a final save when the station's settings ask for it.
class ComputationHooks : public DeclarationHooks {
 public:
  explicit ComputationHooks(Station& st) : st_(st) {}
  Status BALANCO(DeclarationSession& s) override;
  Status CALC(DeclarationSession& s, int what, int arg) override;
  core::Decimal LIMDOA(DeclarationSession& s, int fund) override;
  Status HandOver(DeclarationSession& s) override;

 private:
  Station& st_;
  handover::WriteOptions handover_state_;  // one automatic-debit answer a run
};

// The session's settings from the station's (NOMEAG, OPTTRAN, SOESTE,
// STATRAVA, TEMP_SAL).
SessionSettings SessionSettingsOf(const Station& st);

struct StationServices {
  // `st` has been started; it must outlive the services.
  explicit StationServices(Station& st);
  StationServices(const StationServices&) = delete;
  StationServices& operator=(const StationServices&) = delete;

  Station& st;
  ComputationHooks hooks;
  SelectionContext selection;
  DeclarationSession session;
  ScreenRegistry screens;  // the declaration's screens built so far
  MaintenanceContext maintenance;
  entry::EntryState entry_state;
  entry::EntryContext entry;
  entry::ProfileRegistry profiles;
  ImportScreenContext import;
  std::unique_ptr<print::PrinterSystem> printers;
};

// Registers every option the services perform with the station's dispatcher.
void RegisterStationServices(StationServices& services);

}  // namespace dodu::shell

#endif  // DODU_SHELL_STATION_SERVICES_H_
