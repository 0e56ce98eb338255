#include "tax/annual_incentives.h"

#include <algorithm>

#include "tax/exercise.h"
#include "tax/internal/annual_vars.h"

namespace dodu::tax {
namespace {

using internal::Int;
using internal::Num;

bool IsIncentive(int code) {
  return code >= payment::kIncentiveFirst && code <= payment::kIncentiveLast;
}
bool IsDirect(int code) {
  return code == payment::kChildrenFundDirect || code == payment::kElderlyFundDirect;
}
bool IsProgramme(int code) { return code == payment::kProgrammeA || code == payment::kProgrammeB; }

// Consumes `remaining` with one donation; answers its not-deductible part.
Decimal Consume(const Decimal& paid, Decimal& remaining) {
  if (paid <= remaining) {
    remaining -= paid;
    return Decimal();
  }
  Decimal not_deductible = paid - std::max(remaining, Decimal());
  remaining = Decimal();
  return not_deductible;
}

}  // namespace

IncentiveLimits IncentiveLimitsOf(const Decimal& line21) {
  Decimal tax = std::max(line21, Decimal());
  return {(tax * kIncentiveRate).Despreza(2), (tax * kDirectDonationFundRate).Despreza(2),
          (tax * kProgrammeDonationRate).Despreza(2)};
}

IncentiveResult IncentiveDeductions(const std::vector<const core::Variables*>& payments,
                                    const Decimal& line21, bool complete,
                                    const Decimal& previous_line22) {
  IncentiveResult out;
  std::vector<std::optional<Decimal>> not_deductible(payments.size());
  if (!complete) {
    for (size_t i = 0; i < payments.size(); ++i) {
      int code = Int(*payments[i], "I6_3");
      if (IsIncentive(code) || IsDirect(code) || IsProgramme(code)) {
        not_deductible[i] = Num(*payments[i], "I6_4");
      }
    }
    if (previous_line22.Sign() != 0) out.message = {"Abatimentos somente na declaração completa!"};
  } else {
    const IncentiveLimits limits = IncentiveLimitsOf(line21);
    Decimal overall = limits.overall;
    for (int pass = 0; pass < 2; ++pass) {
      for (size_t i = 0; i < payments.size(); ++i) {
        int code = Int(*payments[i], "I6_3");
        if (pass == 0 ? IsIncentive(code) : IsDirect(code)) {
          not_deductible[i] = Consume(Num(*payments[i], "I6_4"), overall);
        }
      }
    }
    for (int code : {payment::kProgrammeA, payment::kProgrammeB}) {
      Decimal own = limits.per_programme;
      for (size_t i = 0; i < payments.size(); ++i) {
        if (Int(*payments[i], "I6_3") == code) {
          not_deductible[i] = Consume(Num(*payments[i], "I6_4"), own);
        }
      }
    }
  }
  for (size_t i = 0; i < payments.size(); ++i) {
    if (!not_deductible[i]) continue;
    out.line22 += Num(*payments[i], "I6_4") - *not_deductible[i];
    if (Num(*payments[i], "I6_5") != *not_deductible[i]) {
      out.changes.push_back({RowTable::kPayments, i, "I6_5", core::Value(*not_deductible[i])});
    }
  }
  out.line22 = std::clamp(out.line22, Decimal(), std::max(line21, Decimal()));
  return out;
}

Decimal DirectDonationAvailable(const std::vector<const core::Variables*>& payments,
                                const Decimal& line21, DirectFund fund) {
  const IncentiveLimits limits = IncentiveLimitsOf(line21);
  const int own_code =
      fund == DirectFund::kChildren ? payment::kChildrenFundDirect : payment::kElderlyFundDirect;
  Decimal used, own;
  for (const core::Variables* p : payments) {
    int code = Int(*p, "I6_3");
    if (!IsIncentive(code) && !IsDirect(code)) continue;
    Decimal deducted = Num(*p, "I6_4") - Num(*p, "I6_5");
    used += deducted;
    if (code == own_code) own += deducted;
  }
  Decimal overall_left = std::max(limits.overall - used, Decimal());
  Decimal fund_left = std::max(limits.per_fund - own, Decimal());
  return std::min(fund_left, overall_left);
}

std::optional<std::string> CheckDirectDonation(const Decimal& value, const Decimal& available) {
  if (value <= available) return std::nullopt;
  if (available.Sign() <= 0) return "Não há valor disponível para a doação direta na declaração";
  return "Valor acima do limite da doação! Confira.";
}

}  // namespace dodu::tax
