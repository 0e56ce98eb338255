#include "tax/annual_pension65.h"

#include <algorithm>

#include "core/picture.h"
#include "tax/exercise.h"

namespace dodu::tax {
namespace {

std::string Money(const Decimal& d) {
  std::string s = core::Transform(d, "@E 999,999,999.99");
  return s.substr(std::min(s.find_first_not_of(' '), s.size()));
}

}  // namespace

int AgeAtEndOfBaseYear(const core::Date& birth) {
  if (birth.IsBlank()) return -1;
  // On 31 December every birthday of the year has passed.
  return kBaseYear - birth.year();
}

bool Turned65InBaseYear(const core::Date& birth) {
  return !birth.IsBlank() && AgeAtEndOfBaseYear(birth) == kPensionExemptAge;
}

Decimal PensionExemptLimit(const core::Date& birth) {
  if (!Turned65InBaseYear(birth)) return kPensionExemptYear;
  return kPensionExemptMonth * Decimal::FromInt(kPensionExemptMonths + 1 - birth.month());
}

PensionExemptCheck CheckPensionExempt(const PensionExemptInput& in) {
  PensionExemptCheck c;
  const std::string person = in.dependant ? "dependente" : "contribuinte";
  if (in.dependant && in.birth.IsBlank()) {
    c.outcome = PensionExemptOutcome::kNoBirthDate;
    c.message = {"Falta data do nascimento do dependente."};
    return c;
  }
  if (AgeAtEndOfBaseYear(in.birth) < kPensionExemptAge) {
    c.outcome = PensionExemptOutcome::kUnder65;
    c.message = {"O " + person + " tem menos de 65 anos", "e não pode usar desse benefício!"};
    return c;
  }
  if (!in.dependant && in.occupation != "61") {
    c.ask_occupation = true;
    c.occupation_question = {"ATENÇÃO! Esse campo só pode ser usado por",
                             " aposentados, reformados ou pensionistas.",
                             "A situação é essa mesmo com o código errado? "};
  }
  c.limit = PensionExemptLimit(in.birth);
  c.allowed = in.value;
  const Decimal total = in.value + in.other_lines;
  if (total <= c.limit) return c;
  if (in.dependant && in.relationship == kDependantIncomeLimitCode) {
    c.limit = std::min(c.limit, kDependantIncomeLimit);
    c.outcome = PensionExemptOutcome::kDependantRefused;
    c.allowed = Decimal();
    c.message = {"O dependente " + in.cpf + " tem o rendimento maior que",
                 "o limite R$ " + Money(c.limit) + " permitido para ser dependente.",
                 "Ele não pode ser dependente e deve ser retirado dessa declaração"};
    return c;
  }
  c.outcome = PensionExemptOutcome::kExcess;
  c.excess = total - c.limit;
  c.allowed = std::max(c.limit - in.other_lines, Decimal());
  c.message = {"O limite para esse ano é de R$ " + Money(c.limit) + " e o excedente",
               "de R$ " + Money(c.excess) + " deve ser " +
                   (in.taxable.Sign() > 0 ? "somado ao" : "lançado no") + " rendimento tributável",
               "Deseja que o programa faça isso?"};
  if (Turned65InBaseYear(in.birth)) {
    c.message.push_back("Obs. O limite é menor pois o " + person + " fez 65 anos no mês " +
                        std::to_string(in.birth.month()));
  }
  return c;
}

RraPensionCheck CheckRraPensionExempt(const Decimal& amount, const Decimal& company_lines) {
  RraPensionCheck c;
  if (amount.Sign() <= 0) return c;
  if (amount + company_lines > kPensionExemptYear) {
    c.outcome = RraPensionOutcome::kSwitchToExclusive;
    c.message = {"Já existe nos Ren. P.Jurídica Isento ¨65 anos lançado!",
                 "O valor só pode ser lançado na opção rendimento isento.",
                 "O programa vai trocar a opção Ajuste anual escolhida."};
    return c;
  }
  if (amount <= kPensionExemptMonth) return c;
  c.outcome = RraPensionOutcome::kAsk;
  c.kept = kPensionExemptMonth;
  c.excess = amount - kPensionExemptMonth;
  Decimal times = std::min(amount.Div(kPensionExemptMonth, 1, core::Rounding::kHalfAwayFromZero),
                           Decimal::FromInt(kPensionExemptMonths));
  c.message = {"O limite isento 65 anos de R$ " + Money(kPensionExemptMonth) + " foi ultrapassado.",
               "Mantendo a opção pelo Ajuste Anual o valor " + Money(c.excess) +
                   " será somada ao tributado.",
               "Pode-se porém repetir " + times.ToFixed(1) + " x " + Money(kPensionExemptMonth) +
                   " como A.Anual.",
               "Mantém a opção Ajuste Anual ?"};
  return c;
}

}  // namespace dodu::tax
