#include "tax/selic.h"

#include <algorithm>

#include "core/text_helpers.h"
#include "tax/exercise.h"

namespace dodu::tax {
namespace {

constexpr Decimal kFinePerDay = "0.33"_dec;  // per cent
constexpr Decimal kFineCap = "20"_dec;       // per cent
constexpr Decimal kLateMonthRate = "1"_dec;  // the 1 % of the payment month
constexpr int kStaleAfterDays = 30;
// The first month of quota interest: the deadline's month is interest-free.
constexpr int kQuotaInterestFromMonth = 7;
constexpr int kDeadlineMonth = 6;
constexpr int kDeadlineDay = 30;

constexpr Decimal kLateFilingPerMonth = "1"_dec;      // per cent of the tax due
constexpr Decimal kLateFilingMinimum = "165.74"_dec;  // reais
constexpr Decimal kLateFilingCap = "20"_dec;          // per cent of the tax due

std::string Trimmed(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

Date Deadline() { return *Date::FromYmd(kExerciseYear, kDeadlineMonth, kDeadlineDay); }

}  // namespace

std::vector<std::string> SelicAgeMessage(SelicAge age) {
  switch (age) {
    case SelicAge::kCurrent:
      return {};
    case SelicAge::kStaleYear:
      return {"Atenção! O cadastro da Selic está desatualizado."};
    case SelicAge::kStaleMonth:
      return {"Atenção! O cadastro da Selic está desatualizado.",
              "Atualize, senão o valor do Juros estará errado!"};
  }
  return {};
}

SelicAge AgeOf(std::span<const SelicRow> rows, const Date& today) {
  if (rows.empty()) return SelicAge::kStaleYear;
  YearMonth newest = rows.front().month;
  for (const SelicRow& r : rows) newest = std::max(newest, r.month);
  const YearMonth ref = YearMonth::Of(today.AddDays(-kStaleAfterDays));
  if (newest.year() < ref.year()) return SelicAge::kStaleYear;
  if (newest < ref) return SelicAge::kStaleMonth;
  return SelicAge::kCurrent;
}

Result<Decimal> SumSelic(std::span<const SelicRow> rows, YearMonth first, YearMonth last) {
  Decimal sum;
  for (YearMonth m = first; m <= last; m = m.AddMonths(1)) {
    auto it =
        std::find_if(rows.begin(), rows.end(), [&](const SelicRow& r) { return r.month == m; });
    if (it == rows.end()) {
      return Status::NotFound("Taxa Selic de " + Trimmed(core::TrazMes(m.month()).value_or("")) +
                              "/" + std::to_string(m.year()) + " não cadastrada");
    }
    sum += it->rate;
  }
  return sum;
}

Result<Interest> AchaJuro(std::span<const SelicRow> rows, const Date& due, const Date& payment,
                          const Date& today) {
  const YearMonth due_month = YearMonth::Of(due), pay_month = YearMonth::Of(payment);
  if (payment <= due || pay_month <= due_month) return Interest{};
  DODU_ASSIGN_OR_RETURN(Decimal sum,
                        SumSelic(rows, due_month.AddMonths(1), pay_month.AddMonths(-1)));
  return Interest{kLateMonthRate + sum, AgeOf(rows, today)};
}

Result<Interest> QuotaInterest(std::span<const SelicRow> rows, const Date& payment,
                               const Date& today) {
  if (payment <= Deadline()) return Interest{};
  const YearMonth from = *YearMonth::Of(kExerciseYear, kQuotaInterestFromMonth);
  DODU_ASSIGN_OR_RETURN(Decimal sum, SumSelic(rows, from, YearMonth::Of(payment).AddMonths(-1)));
  return Interest{kLateMonthRate + sum, AgeOf(rows, today)};
}

Decimal LateFineRate(const Date& due, const Date& payment, std::optional<Date> edited_start) {
  Date start = due.AddDays(1);
  if (edited_start && !edited_start->IsBlank() && *edited_start > start) start = *edited_start;
  const int64_t days = payment.DaysSince(start) + 1;
  if (days <= 0) return Decimal();
  return std::min(kFineCap, kFinePerDay * Decimal::FromInt(days));
}

int LateFilingMonths(const Date& payment) {
  if (payment <= Deadline()) return 0;
  return (payment.year() - kExerciseYear) * 12 + payment.month() - kDeadlineMonth;
}

LateFilingFine LateFilingFineOf(const Decimal& tax_due, const Date& payment) {
  LateFilingFine f;
  f.months = LateFilingMonths(payment);
  if (f.months <= 0) return f;
  f.uncapped = (tax_due * kLateFilingPerMonth * Decimal::FromInt(f.months))
                   .Div(Decimal::FromInt(100), 8, core::Rounding::kHalfAwayFromZero);
  const Decimal cap =
      (tax_due * kLateFilingCap).Div(Decimal::FromInt(100), 8, core::Rounding::kHalfAwayFromZero);
  f.fine = f.uncapped < kLateFilingMinimum ? kLateFilingMinimum : std::min(f.uncapped, cap);
  return f;
}

Charges ChargesOf(const Decimal& principal, const Decimal& fine_rate, const Interest& interest) {
  Charges c;
  const Decimal hundred = Decimal::FromInt(100);
  c.fine_rate = fine_rate;
  c.interest_rate = interest.rate;
  c.age = interest.age;
  c.fine = (principal * fine_rate).Div(hundred, 8, core::Rounding::kHalfAwayFromZero);
  c.interest = (principal * interest.rate).Div(hundred, 8, core::Rounding::kHalfAwayFromZero);
  c.total = principal + c.fine + c.interest;
  return c;
}

}  // namespace dodu::tax
