#include "tax/balance_view.h"

namespace dodu::tax {
namespace {

std::optional<Decimal> Shown(const Decimal& v) { return v; }

}  // namespace

std::vector<BalanceScreenRow> BalanceScreenRows(const BalanceInputs& in, const CashBalance& b,
                                                bool final_estate) {
  const Decimal twelve = Decimal::FromInt(12);
  const auto monthly = [&](const Decimal& v) {
    return v.Div(twelve, 2, core::Rounding::kHalfAwayFromZero);
  };
  const Decimal deferred_in = in.deferred_counted ? in.deferred_gain : Decimal();
  const Decimal deferred_out = in.deferred_counted ? Decimal() : in.deferred_gain;
  std::vector<BalanceScreenRow> rows = {
      {"Rend. tributável - AltF1", Shown(in.taxable), "Impostos no ano    AltF8",
       Shown(in.tax_paid + in.gains_tax + in.variable_tax + in.law_11033_tax)},
      {"Rendimento isento  AltF2", Shown(in.exempt), "Imposto de anos anteri.",
       Shown(in.earlier_taxes)},
      {"Rend.tribu. fonte  AltF3", Shown(in.exclusive - in.exclusive_gains + in.rra_tax),
       "Despesas lançadas  AltF9", Shown(b.declared_expenses)},
      {"Renda Variável     AltF4", Shown(in.variable_gains - in.variable_recovered),
       "Perda R.Variável   AltF4", Shown(in.variable_losses)},
      {final_estate ? "" : "Renda do Cônjuge   AltF5",
       final_estate ? std::nullopt : Shown(in.spouse_income), "Custo p/manter os bens ",
       Shown(in.asset_upkeep)},
      {final_estate ? "" : "Outras do Cônjuge  AltF5",
       final_estate ? std::nullopt : Shown(in.spouse_balance - in.spouse_income),
       "Perdas na venda de Bens", Shown(in.small_sales_losses)},
      {"Empréstimos        AltF7", Shown(in.borrowing), "Prejuízo na Ativ. Rural",
       Shown(in.rural_losses)},
      {"Empréstimos Ativ.Rural ", Shown(in.rural_loans), "Amortiz. Dívidas Rurais",
       Shown(in.rural_amortisation)},
      {"Entradas G.Capital AltF6", Shown(in.gain_entries), "Custo Bem Baixado  AltF6",
       Shown(in.cost_earlier)},
      {"Abat.Isento/Trib.  AltF6", Shown(-in.exempt_not_counted), "Custo no ano Bem   AltF6",
       Shown(in.cost_this_year)},
      {"Redução Patrimonio AltF7", Shown(in.decrease), "Aumento Patrimonio AltF7",
       Shown(in.increase)},
      {"Exigibilidade suspensa ", Shown(in.suspended),
       final_estate ? "Despesas do Espólio    " : "Despesas+Cartao Credito",
       Shown(in.personal_spending)},
      {"Outras receitas        ", Shown(in.other_receipts), "Total das DESPESAS.....",
       Shown(b.expenses)},
      {"Ganho Cap. Diferido    ", Shown(deferred_in), "", std::nullopt},
      {"Total das RECEITAS.....", Shown(b.receipts), " Renda média mensal    ",
       Shown(monthly(b.receipts))},
      {"Valor a receber futuro ", Shown(deferred_out), " Saldo mensal médio    ",
       Shown(monthly(b.saldo))},
  };
  return rows;
}

ConferenceAnswer ConferenceFlag(char flag) {
  switch (flag) {
    case 'S':
      return {ConferenceAnswer::kCheckNow, {}};
    case 'N':
      return {ConferenceAnswer::kNothing, {}};
    case 'A':
      return {ConferenceAnswer::kAutomatic,
              {"A declaração passa ser conferida automaticamente ao passar nessa tela"}};
    default:
      return {ConferenceAnswer::kRefused,
              {"Informe com 'S'(Sim) ou 'N'(Não) ou 'A'(Automático)",
               "para verificar pendências e conferir a declaração."}};
  }
}

}  // namespace dodu::tax
