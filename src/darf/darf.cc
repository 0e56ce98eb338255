#include "darf/darf.h"

#include <algorithm>

#include "core/id_format.h"
#include "tax/calendar.h"

namespace dodu::darf {
namespace {

constexpr int kBaseYear = 2019;

Date Ymd(int y, int m, int d) { return *Date::FromYmd(y, m, d); }
Date EndOfBaseYear() { return Ymd(kBaseYear, 12, 31); }

Decimal NumberOr0(const core::Variables* v, const char* name) {
  return v && v->Has(name) ? v->Number(name) : Decimal();
}
std::string TextOr(const core::Variables* v, const char* name) {
  return v && v->Has(name) ? v->Text(name) : std::string();
}
Decimal PositivePart(const Decimal& d) { return d.IsNegative() ? Decimal() : d; }

// The period and the monthly due date of base-year month `m`.
void MonthlyDates(Darf& darf, int m) {
  darf.period = tax::MesAnter(m);
  darf.due = tax::UltimoDia(m, kBaseYear, 2);
}

Lookup Quota(Darf& darf, const DarfSources& src, Mode mode) {
  Lookup r;
  darf.code = "0211";
  darf.period = EndOfBaseYear();
  darf.quota_count = static_cast<int>(NumberOr0(src.vars, "QTD_QUOTA").ToScaled(0));
  if (darf.number >= 1 && darf.number <= 8) darf.due = src.quota_dates[darf.number - 1];
  if (darf.number < 1 || darf.number > darf.quota_count) {
    darf.principal = Decimal();
    if (mode == Mode::kInteractive) r.message = {"Essa quota não existe !!"};
    return r;
  }
  darf.principal = NumberOr0(src.vars, "I13_37");
  r.found = !darf.principal.IsZero();
  return r;
}

Lookup Carne(Darf& darf, const DarfSources& src, Mode mode) {
  Lookup r;
  darf.code = "0190";
  const tax::CarneRow* row = CarneRowOf(src, darf.dependant_cpf);
  if (row && mode == Mode::kInteractive && darf.last > darf.first && darf.number == darf.first) {
    for (int m = darf.first; m <= darf.last; ++m) {
      if (row->at(tax::kDue, m).Sign() > 0) {
        darf.first = darf.number = m;
        break;
      }
    }
  }
  const int m = darf.number;
  MonthlyDates(darf, m);
  Figures f;
  if (row) {
    f.income = row->at(tax::kFromIndividuals, m) + row->at(tax::kFromAbroad, m);
    f.cash_book = row->at(tax::kCashBook, m);
    f.deductions = row->at(tax::kDeductions, m);
    f.tax_paid = row->at(tax::kPaid, m);
    f.tax_due = row->at(tax::kDue, m);
  }
  f.balance = PositivePart(f.tax_due - f.tax_paid);
  darf.figures = f;
  darf.principal = f.balance;
  r.found = !darf.principal.IsZero();
  if (!r.found && mode == Mode::kInteractive) {
    r.message = {!f.tax_due.IsZero() && !f.tax_paid.IsZero() && darf.first == darf.last
                     ? "O Carnê Leão desse mês já está lançado como pago."
                     : "Não há carnê Leão a pagar nesse mês."};
  }
  return r;
}

Lookup Gain(Darf& darf, const DarfSources& src, Mode mode) {
  Lookup r;
  const GainRow* g = GainOf(src, darf.gain_number);
  const int m = darf.number;
  darf.code = "4600";
  if (!g) {
    darf.principal = Decimal();
    if (mode == Mode::kInteractive) r.message = {"Não existe ganho com esse número"};
    return r;
  }
  if (g->tipo_bem == 2 && !g->bem_brasil) darf.code = "8523";
  darf.period = g->data_ali;
  Figures f;
  if (g->ven_prazo) {
    f.base = g->val_tri[m - 1];
    f.tax_due = g->imp_dev[m - 1];
    f.tax_paid = g->imp_pag[m - 1];
  } else if (!g->data_ali.IsBlank() && g->data_ali.month() == m) {
    f.base = g->val_tribu;
    f.tax_due = g->val_imposv;
    f.tax_paid = g->imppago;
  }
  f.balance = PositivePart(f.tax_due - f.tax_paid);
  darf.figures = f;
  darf.principal = f.balance;
  darf.due = TextOr(src.vars, "DECFINAL") == "S" ? src.deadline
                                                : tax::UltimoDia(m, kBaseYear, 2);
  r.found = !darf.principal.IsZero();
  if (!r.found && mode == Mode::kInteractive) {
    if (darf.last > darf.first) {
      r.message = {"No mês inicial precisa ter imposto a pagar!"};
    } else {
      r.message = {f.tax_paid.Sign() > 0
                       ? "O Imposto desse Ganho de Capital já está lançado como pago."
                       : "Não há Ganho de Capital a pagar nesse mês."};
    }
  }
  return r;
}

Lookup VariableIncome(Darf& darf, const DarfSources& src, Mode mode) {
  Lookup r;
  darf.code = "6015";
  const int m = darf.number;
  MonthlyDates(darf, m);
  const bool funds = darf.kind == Kind::kInvestmentFund;
  const int base_row = funds ? 3 : 16, due_row = funds ? 5 : 27, paid_row = funds ? 6 : 28;
  const std::string trade = funds ? "3" : "1";
  Figures f;
  bool any = false;
  for (const GainRow& g : src.gains) {
    if (g.tipo_bem != 4) continue;
    any = true;
    const Decimal& v = g.rec_mes[m - 1];
    if (g.rvar_nro == base_row && (!funds || g.day_trade == trade)) f.base += v;
    if (g.rvar_nro == due_row && g.day_trade == trade) f.tax_due += v;
    if (g.rvar_nro == paid_row && g.day_trade == trade) f.tax_paid += v;
  }
  f.balance = PositivePart(f.tax_due - f.tax_paid);
  darf.figures = f;
  darf.principal = f.balance;
  if (!any) {
    if (mode == Mode::kInteractive) r.message = {"Esse contribuinte não tem Ganho em Renda Variável"};
    return r;
  }
  r.found = !darf.principal.IsZero();
  if (!r.found && mode == Mode::kInteractive && darf.first == darf.last) {
    r.message = {f.tax_paid.Sign() > 0
                     ? "O Ganho em Renda Variável desse mês já está lançado como pago."
                     : "Não há Ganho em Renda Variável a pagar nesse mês."};
  }
  return r;
}

Lookup LateFilingFine(Darf& darf, const DarfSources& src) {
  Lookup r;
  darf.code = "5320";
  darf.period = EndOfBaseYear();
  darf.due = src.quota_dates[0];
  const Decimal tax_due = NumberOr0(src.vars, "I13_23");
  const tax::LateFilingFine fine = tax::LateFilingFineOf(tax_due, darf.payment);
  darf.figures = Figures{};
  darf.figures.tax_due = tax_due;
  darf.late_months = fine.months;
  darf.uncapped_fine = fine.uncapped;
  darf.principal = fine.fine;
  r.found = !darf.principal.IsZero();
  return r;
}

Lookup Donation(Darf& darf, const DarfSources& src) {
  Lookup r;
  darf.code = darf.kind == Kind::kChildrenFund ? "3351" : "9090";
  darf.period = EndOfBaseYear();
  darf.due = src.deadline;
  const std::vector<PaymentRow> list = DonationsOf(src, darf.kind);
  darf.principal = Decimal();
  if (darf.number >= 1 && darf.number <= static_cast<int>(list.size())) {
    const PaymentRow& p = list[darf.number - 1];
    darf.principal = p.paid - p.refunded;
  }
  r.found = !darf.principal.IsZero();
  return r;
}

Lookup ForeignCash(Darf& darf, const DarfSources& src) {
  Lookup r;
  darf.code = "8960";
  darf.period = EndOfBaseYear();
  darf.due = src.deadline;
  Decimal sum;
  for (const GainRow& g : src.gains) {
    if (g.tipo_bem == 5) sum += PositivePart(g.val_imposv - g.imppago);
  }
  darf.principal = sum;
  r.found = !sum.IsZero();
  return r;
}

}  // namespace

Person CarnePersonOf(const DarfSources& src) {
  bool holder = false, dependant = false;
  for (const tax::CarneRow& row : src.carne) (row.IsTitular() ? holder : dependant) = true;
  if (holder && dependant) return Person::kAsk;
  return dependant ? Person::kDependant : Person::kHolder;
}

std::vector<std::string> HolderOrDependantQuestion() {
  return {"Responda com Sim para Darf do Titular", " Não para Darf do Dependente."};
}

const tax::CarneRow* CarneRowOf(const DarfSources& src, const std::string& cpf) {
  const std::string want = core::TiraPonto(cpf);
  for (const tax::CarneRow& row : src.carne) {
    if (want.empty() ? row.IsTitular() : core::TiraPonto(row.cpfdepen) == want) return &row;
  }
  return nullptr;
}

const GainRow* GainOf(const DarfSources& src, int number) {
  for (const GainRow& g : src.gains) {
    if (g.tipo_bem != 4 && g.bem_nro == number) return &g;
  }
  return nullptr;
}

Result<std::string> GainSellerCpf(const DarfSources& src, const GainRow& gain) {
  const std::string seller = core::TiraPonto(gain.cpf_alien);
  if (seller.empty() || seller == core::TiraPonto(src.holder_cpf)) return std::string();
  for (const std::string& dep : src.dependant_cpfs) {
    if (core::TiraPonto(dep) == seller) return seller;
  }
  return Status::Invalid("Ganho registrado com CPF não encontrado!");
}

Result<int> GainFirstMonth(const GainRow& gain) {
  if (gain.ven_prazo) {
    for (int m = 1; m <= 12; ++m) {
      if ((gain.imp_dev[m - 1] - gain.imp_pag[m - 1]).Sign() > 0) return m;
    }
  } else if (!gain.data_ali.IsBlank() && (gain.val_imposv - gain.imppago).Sign() > 0) {
    return gain.data_ali.month();
  }
  return Status::NotFound("Não há DARF a pagar nesse ganho");
}

std::vector<PaymentRow> DonationsOf(const DarfSources& src, Kind kind) {
  const int code = kind == Kind::kChildrenFund ? 39 : 49;
  std::vector<PaymentRow> out;
  for (const PaymentRow& p : src.payments) {
    if (p.code == code) out.push_back(p);
  }
  return out;
}

std::vector<std::string> DonationRefusal(const DarfSources& src, Kind kind, const Date& today) {
  const std::string fund = kind == Kind::kChildrenFund ? "ECA" : "Idoso";
  if (today > src.deadline) {
    return {"O pagamento do Darf de doação para o " + fund + " só é permitido",
            "até " + src.deadline.ToDmy() + ". Caso tenha entregue a declaração com",
            "essa doação e não tenha pago o Darf no prazo deve-se ",
            "retificar a declaração retirando-a. "};
  }
  if (DonationsOf(src, kind).empty()) return {"Não existe doação para o " + fund + " nesse CPF!"};
  return {};
}

Lookup BusImpo(Darf& darf, const DarfSources& src, Mode mode) {
  Lookup r;
  const bool monthly = darf.kind == Kind::kCarneLeao || darf.kind == Kind::kCapitalGain ||
                       darf.kind == Kind::kVariableIncome || darf.kind == Kind::kInvestmentFund;
  if (monthly && (darf.number < 1 || darf.number > 12 || darf.first < 1 || darf.last > 12)) {
    darf.principal = Decimal();
    return r;  // the screen accepts months 1 to 12 only
  }
  switch (darf.kind) {
    case Kind::kQuota: r = Quota(darf, src, mode); break;
    case Kind::kCarneLeao: r = Carne(darf, src, mode); break;
    case Kind::kCapitalGain: r = Gain(darf, src, mode); break;
    case Kind::kVariableIncome:
    case Kind::kInvestmentFund: r = VariableIncome(darf, src, mode); break;
    case Kind::kLateFilingFine: r = LateFilingFine(darf, src); break;
    case Kind::kChildrenFund:
    case Kind::kElderlyFund: r = Donation(darf, src); break;
    case Kind::kForeignCash: r = ForeignCash(darf, src); break;
    case Kind::kFree: r.found = !darf.principal.IsZero(); return r;
    case Kind::kChangeDates: return r;
  }
  if (!darf.due.IsBlank()) darf.first_business_day = tax::ProxDia(darf.due);
  darf.first_day_edited = false;
  return r;
}

Status CalcJu(Darf& darf, std::span<const tax::SelicRow> selic, const Date& today) {
  if (darf.kind == Kind::kLateFilingFine) {
    darf.fine_rate = darf.fine = darf.interest_rate = darf.interest = Decimal();
    darf.total = darf.principal;
    return Status::Ok();
  }
  const bool late = darf.due < darf.payment;
  tax::Interest interest;
  if (darf.kind == Kind::kQuota) {
    // Quotas carry the interest of the annual balance from July whatever their
    // own due date, on time or late.
    DODU_ASSIGN_OR_RETURN(interest, tax::QuotaInterest(selic, darf.payment, today));
  } else if (late) {
    DODU_ASSIGN_OR_RETURN(interest, tax::AchaJuro(selic, darf.due, darf.payment, today));
  }
  const Decimal fine_rate =
      late ? tax::LateFineRate(darf.due, darf.payment,
                               darf.first_day_edited ? std::optional<Date>(darf.first_business_day)
                                                     : std::nullopt)
           : Decimal();
  const tax::Charges c = tax::ChargesOf(darf.principal, fine_rate, interest);
  darf.fine_rate = c.fine_rate;
  darf.interest_rate = c.interest_rate;
  // Rounded parts and their sum: the slip's fields always add up.
  darf.fine = c.fine.RoundHalfAway(2);
  darf.interest = c.interest.RoundHalfAway(2);
  darf.total = darf.principal + darf.fine + darf.interest;
  darf.selic_age = c.age;
  return Status::Ok();
}

bool BelowMinimum(const Darf& darf) { return darf.total < Decimal::FromInt(10); }

ValidUntil ValidUntilOf(const Darf& darf) {
  const Date month_end = tax::UltimoDia(darf.payment.month(), darf.payment.year(), 1);
  if (darf.due > darf.payment) return {"ate", std::min(darf.due, month_end)};
  if (darf.fine_rate == Decimal::FromInt(20)) return {"ate", month_end};
  return {"dia", darf.payment};
}

namespace {

DateCheck WeekendCheck(Darf& darf) {
  DateCheck c;
  if (darf.payment.IsBlank()) return c;
  const int wd = darf.payment.Weekday();
  if (wd == 0 || wd == 6) {
    c.accepted = false;
    c.message = {wd == 0 ? "O dia lançado para pagamento é um Domingo"
                         : "O dia lançado para pagamento é um Sabado",
                 "será alterado para próximo dia útil!"};
    darf.payment = darf.payment.AddDays(wd == 0 ? 1 : 2);
  }
  return c;
}

}  // namespace

DateCheck ValiDataDue(Darf& darf, std::array<Date, 8>& quota_dates) {
  if (darf.kind == Kind::kQuota && darf.number >= 1 && darf.number <= 8 &&
      quota_dates[darf.number - 1] != darf.due) {
    quota_dates[darf.number - 1] = darf.due;
  }
  if (!darf.due.IsBlank()) {
    darf.first_business_day = tax::ProxDia(darf.due);
    darf.first_day_edited = false;
  }
  return WeekendCheck(darf);
}

DateCheck ValiDataPayment(Darf& darf) {
  if (darf.payment > darf.due && darf.payment < darf.first_business_day) {
    DateCheck c;
    c.accepted = false;
    c.message = {"O dia p/ pagamento deve ser maior ou igual a " +
                 darf.first_business_day.ToDmy()};
    return c;
  }
  return WeekendCheck(darf);
}

std::vector<std::string> FutureQuotasQuestion(int count) {
  const std::string n = std::to_string(count % 10);
  return {"Ao imprimir os " + n + " Darfes como serão as quotas futuras?",
          "Responder SIM se for pagar as " + n + " quotas no mesmo mês ",
          "Responder NAO se for imprimir apenas o valor das quotas.    "};
}

bool SkippedByAutomaticDebit(Kind kind, const std::string& debitaut) {
  return kind == Kind::kQuota && debitaut == "S";
}

}  // namespace dodu::darf
