// Kind 10 of the DARF menu, "Altera data Darf": the eight quota due dates and
// the dollar rate of the installation (table 43, DEFINE), edited in the window
// "Data vencimento do DARF" and kept for all later runs and all terminals.
#ifndef DODU_SHELL_DARF_SCREEN_DATES_H_
#define DODU_SHELL_DARF_SCREEN_DATES_H_

#include <array>
#include <string>

#include "core/date.h"
#include "core/decimal.h"
#include "platform/status.h"
#include "shell/dispatcher_ports.h"
#include "shell/settings_defaults.h"

namespace dodu::shell {

inline constexpr char kDarfDatesTitle[] = "Data vencimento do DARF";
inline constexpr char kDollarLabel[] = "Valor US$";
inline constexpr char kDollarPicture[] = "@z 99.9999";

struct DarfDates {
  std::array<core::Date, 8> due{};  // quota 1..8 (VCTO1..VCTO8)
  core::Decimal dollar;             // VAL_DOLAR
  bool operator==(const DarfDates&) const = default;
};

// The label of quota `n` (1..8): "1a quota" ... "8a quota".
std::string QuotaDateLabel(int n);

// The dates and rate as the run holds them (ADATVENC, NVALDOLAR).
DarfDates DarfDatesOf(const InstallationSettings& installation);

// VCTO1..VCTO8 and VAL_DOLAR.
FieldValues DarfDateFields(const DarfDates& dates);

// Leaving the window: the dates replace ADATVENC and the rate NVALDOLAR and
// CVALDOLAR in `installation` whatever happens next, then they are written to
// the record of table 43 under a record lock with 5 seconds of retries. A
// refused lock answers kLocked (the lock routine has told the operator): the
// new values then hold for the rest of this run only.
Status SaveDarfDates(SettingsTables& tables, InstallationSettings& installation,
                     const DarfDates& dates);

}  // namespace dodu::shell

#endif  // DODU_SHELL_DARF_SCREEN_DATES_H_
