#include "tax/quota.h"

#include <algorithm>

#include "tax/exercise.h"

namespace dodu::tax {
namespace {

constexpr Decimal kMinimumQuota = "50"_dec;
constexpr int kDebitDeadlineMonth = 6;
constexpr int kDebitDeadlineDay = 10;
const char* const kBlankFlag = " ";

bool IsYes(const std::string& flag) { return !flag.empty() && flag[0] == 'S'; }
bool IsNo(const std::string& flag) { return !flag.empty() && flag[0] == 'N'; }

QuotaOutcome QuotaRule(const QuotaInput& in, bool restrict_estate, bool blank_single_debit,
                       bool debit_rule) {
  QuotaOutcome q;
  q.debit = in.debit;
  if (in.balance <= Decimal()) {
    q.debit = kBlankFlag;
    return q;
  }
  const int64_t by_minimum =
      in.balance.Div(kMinimumQuota, 0, core::Rounding::kTruncate).ToScaled(0);
  const int n = static_cast<int>(std::clamp<int64_t>(by_minimum, 1, kMaxQuotas));
  if (in.chosen <= 0 || in.chosen > n) {
    q.count = n;
    if (n == 1 && blank_single_debit) q.debit = kBlankFlag;
  } else {
    q.count = in.chosen;
  }
  const bool one_only = in.exit_declaration || in.final_declaration;
  if (restrict_estate && (in.estate_closed || one_only)) {
    if (q.count > 1) {
      q.message = {" ATENÇÃO! Não é permitido o", "parcelamento em declaração final"};
      q.count = 1;
    }
    debit_rule = true;
  } else if (one_only) {
    q.count = 1;
  }
  if (debit_rule && q.count == 1) {
    DebitCheck d = VejaUmaQuota(q.count, q.debit, in.today, in.delivery, in.debit_deadline);
    q.debit = d.debit;
    q.message.insert(q.message.end(), d.message.begin(), d.message.end());
  }
  q.value =
      in.balance.Div(Decimal::FromInt(q.count), 4, core::Rounding::kHalfAwayFromZero).Despreza(2);
  return q;
}

}  // namespace

Date SingleQuotaDebitDeadline() {
  return *Date::FromYmd(kExerciseYear, kDebitDeadlineMonth, kDebitDeadlineDay);
}

QuotaOutcome FqtdQuota(const QuotaInput& in) { return QuotaRule(in, true, true, false); }

QuotaOutcome FParcela(const QuotaInput& in, bool show) { return QuotaRule(in, false, false, show); }

bool QuotaCountEditable(const QuotaInput& in) {
  return !in.final_declaration && !in.exit_declaration && in.balance > Decimal();
}

DebitCheck VejaUmaQuota(int count, const std::string& debit, const Date& today,
                        const Date& delivery, const Date& deadline) {
  DebitCheck d;
  d.debit = debit;
  if (today <= deadline || count > 1) return d;
  if (count == 1 && IsNo(debit)) return d;
  if (count == 1) {
    if (!delivery.IsBlank() && delivery <= deadline) return d;
    d.allowed = false;
    d.debit = "N";
    d.message = {"Não é permitido débito automático com uma quota após " + deadline.ToDmy()};
    return d;
  }
  d.allowed = false;
  return d;
}

QuotaInput QuotaInputOf(const core::Variables& vars, const Date& today) {
  QuotaInput in;
  in.balance = vars.Number("I13_36");
  in.chosen = static_cast<int>(vars.Number("QTD_QUOTA").ToScaled(0));
  in.debit = vars.Text("DEBITAUT");
  in.final_declaration = IsYes(vars.Text("DECFINAL"));
  in.exit_declaration = IsYes(vars.Text("DECSAIDA"));
  const std::string& judicial = vars.Text("DECJUDI");
  in.estate_closed = (!vars.DateOf("DATAPARTI").IsBlank() && IsYes(judicial)) ||
                     (!vars.DateOf("DATALAVRA").IsBlank() && IsNo(judicial));
  in.today = today;
  in.delivery = vars.DateOf("DENTREGA");
  return in;
}

std::vector<std::string> ApplyQuotas(core::Variables& vars, const QuotaOutcome& q) {
  vars.SetNumber("QTD_QUOTA", Decimal::FromInt(q.count));
  vars.SetNumber("I13_37", q.value);
  vars.SetText("DEBITAUT", q.debit);
  return q.message;
}

Result<Charges> QuotaCharges(const Decimal& value, const Date& due, const Date& payment,
                             std::span<const SelicRow> selic, const Date& today,
                             std::optional<Date> edited_start) {
  DODU_ASSIGN_OR_RETURN(Interest interest, QuotaInterest(selic, payment, today));
  return ChargesOf(value, LateFineRate(due, payment, edited_start), interest);
}

}  // namespace dodu::tax
