// The quotas of the balance to pay: how many (at most eight, each at least
// 50.00), the value of each (the balance divided and truncated to cents; the
// cents lost are not carried), the single-quota automatic-debit rule, and the
// fine and interest of a quota paid on a given date.
//
// Exit and final declarations with tax to pay have one quota: the law allows
// no instalments there, whatever number was stored or typed.
#ifndef DODU_TAX_QUOTA_H_
#define DODU_TAX_QUOTA_H_

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/decimal.h"
#include "core/variables.h"
#include "platform/status.h"
#include "tax/selic.h"

namespace dodu::tax {

using core::Date;
using core::Decimal;

inline constexpr int kMaxQuotas = 8;

// DDIADEBA: the last day on which the automatic debit of a single quota may be
// chosen without an earlier delivery (10/06 of the exercise year).
Date SingleQuotaDebitDeadline();

struct QuotaInput {
  Decimal balance;                 // I13_36
  int chosen = 0;                  // QTD_QUOTA as it stands (0: none chosen)
  std::string debit;               // DEBITAUT
  bool final_declaration = false;  // DECFINAL "S"
  bool exit_declaration = false;   // DECSAIDA "S"
  // The estate's partition date is filled and the partition is judicial
  // (DECJUDI "S"), or its deed date is filled and it is not (DECJUDI "N").
  bool estate_closed = false;
  Date today;
  Date delivery;  // DENTREGA (blank when not delivered)
  Date debit_deadline = SingleQuotaDebitDeadline();
};

struct QuotaOutcome {
  int count = 0;                     // QTD_QUOTA
  Decimal value;                     // I13_37
  std::string debit;                 // DEBITAUT
  std::vector<std::string> message;  // shown by the screen (UTF-8), empty when none
};

// FQTD_QUOTA: the quota rule. Nothing to pay: 0 quotas of 0 and the debit flag
// blank. Otherwise the largest count allowed is balance / 50 (1..8); a count
// of 0 or above it becomes that count (a single one blanks the debit flag);
// a closed estate asked for several quotas gets the message " ATENÇÃO! Não é
// permitido o" / "parcelamento em declaração final" and one quota, and so do
// exit and final declarations; one quota then runs the single-quota debit rule.
QuotaOutcome FqtdQuota(const QuotaInput& in);

// FPARCELA: the same without the closed-estate step (exit and final
// declarations still get one quota, silently) and without blanking the debit
// flag; `show` also applies the single-quota debit rule.
QuotaOutcome FParcela(const QuotaInput& in, bool show);

// VE_QUOT: whether the number of quotas may be typed: not in a final or exit
// declaration, nor with nothing to pay.
bool QuotaCountEditable(const QuotaInput& in);

struct DebitCheck {
  bool allowed = true;
  std::string debit;  // the flag as it must stand afterwards
  std::vector<std::string> message;
};
// VEJA_UMA_QUOTA: before the deadline, or with several quotas, anything goes;
// one quota with the flag "N" too; one quota after the deadline is allowed only
// when the declaration was delivered by the deadline, otherwise the flag
// becomes "N" with "Não é permitido débito automático com uma quota após " +
// the deadline; no quota is refused without a message.
DebitCheck VejaUmaQuota(int count, const std::string& debit, const Date& today,
                        const Date& delivery, const Date& deadline = SingleQuotaDebitDeadline());

// The quota rule over the declaration variables: reads `I13_36`, `QTD_QUOTA`,
// `DEBITAUT`, `DECFINAL`, `DECSAIDA`, `DECJUDI`, `DATAPARTI`, `DATALAVRA`,
// `DENTREGA`, writes `QTD_QUOTA`, `I13_37` and `DEBITAUT`; returns the message.
QuotaInput QuotaInputOf(const core::Variables& vars, const Date& today);
std::vector<std::string> ApplyQuotas(core::Variables& vars, const QuotaOutcome& q);

// The fine and interest of a quota of `value` due on `due` and paid on
// `payment`: the quota interest (from July, see selic.h) and the late fine
// counted from the day after `due`. Fails as QuotaInterest.
Result<Charges> QuotaCharges(const Decimal& value, const Date& due, const Date& payment,
                             std::span<const SelicRow> selic, const Date& today,
                             std::optional<Date> edited_start = std::nullopt);

}  // namespace dodu::tax

#endif  // DODU_TAX_QUOTA_H_
