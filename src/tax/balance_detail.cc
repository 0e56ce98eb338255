#include "tax/balance_detail.h"

#include <string_view>

#include "core/text_helpers.h"
#include "tax/exercise.h"

namespace dodu::tax {
namespace {

using core::Rounding;

struct Item {
  const char* label;
  const char* field;
};

constexpr Item kTaxable[] = {
    {"Recebido de P.Jurídica pelo Titular ", "I13_01"},
    {"Recebido de P.Jurídica pelo Dependente", "I13_02"},
    {"Rec. P.Física pelo Titular ", "I13_03"},
    {"Recebido de P.Física pelo Dependente", "I13_04"},
    {"Recebido do Exterior pelo Titular ", "I13_49"},
    {"Recebido do Exterior pelo Dependente", "I13_50"},
    {"Acumulado do Titular ", "I13_05"},
    {"Acumulado do Dependente", "I13_06"},
    {"Resultado Tributável da Atividade Rural", "I13_07"},
};

// I3_01 .. I3_24 in field order.
constexpr const char* kExemptLabels[] = {
    "Bolsa de Estudo ",
    "Capital ou Prêmio de seguro pago",
    "Indenizações p/rescisão ou acidentes",
    "Valores isentos no ganho de capital",
    "Lucros e dividendos recebidos",
    "Parcela isenta aposentad. Maior 65 anos",
    "Pensão,aposentadoria por moléstia grave",
    "Rendimentos de caderneta de poupança",
    "Rendimentos de Sócio de ME ou EPP",
    "Transf. patrimonial, doações, heranças",
    "Parcela isenta da atividade rural",
    "IR de anos anteriores compensado",
    "75% de rend. recebido por servidor exter.",
    "Incorporação de reservas ao capital",
    "Bolsa de Estudo medico residente",
    "Beneficios indiretos voluntario FIFA",
    "Transf. patrimonial, dissolucao casamento",
    "Ganho liquido na bolsa até 20 mil",
    "Ganho liquido em ouro  até 20 mil",
    "Recuperacao de prejuizos em R.Variavel",
    "Rendimentos brutos ate 60% - carga",
    "Rendimentos brutos ate 40% - transporte",
    "Restituicao do IR de anos anteriores",
    "Outros isentos",
};

// I4_01 .. I4_12; I4_03 (variable income) is not listed.
constexpr const char* kExclusiveLabels[] = {
    "Décimo terceiro salário (do Titular) ",
    "Ganhos de capital na alienação de bens",
    nullptr,
    "Rendimentos de aplicações financeiras ",
    "Recebido acumulado pelo titular       ",
    "13ro Salário recebido pelos dependentes",
    "Recebido acumulado pelos dependentes  ",
    "Juros sobre capital próprio          ",
    "Participacao nos lucros              ",
    "Outros ",
    "Ganhos em Bens/aplic.moedas estrangeira",
    "Ganhos na alienação de moedas especie",
};

constexpr Item kTaxes[] = {
    {"Imposto retido do Titular", "I13_27"},       {"Imposto retido do Dependente", "I13_28"},
    {"Carnê Leão do Titular ", "I13_29"},          {"Carnê Leão do Dependente", "I13_30"},
    {"Imposto complementar ", "I13_31"},           {"Imposto Pago no Exterior", "I13_32"},
    {"Imposto Lei 11.033/2004", "I13_33"},         {"Imposto retido RRA     ", "I13_34"},
    {"Impostos Sobre Ganho de Capital", "I13_46"}, {"Impostos Sobre a Renda Variável", "I13_47"},
    {"Imp. Lei 11.033 Ret. na Fonte", "I13_48"},
};

// The other-payment groups of the expense window, by payment code.
struct Group {
  const char* label;
  int first, last, second;  // codes first..last, and `second` (0 for none)
};
constexpr Group kGroups[] = {
    {"Doações a Partidos/Candidatos Políticos", 98, 98, 0},
    {"Advogados, Engenheiros etc", 51, 69, 0},
    {"Aluguéis e Arrendamentos rurais", 70, 70, 76},
    {"Outros", 99, 99, 0},
    {"Doações em espécie ou Bens", 80, 81, 0},
    {"Pagamentos de corretagem ja computado", 72, 72, 0},  // negative
    {"Administrador de Imoveis ", 71, 71, 0},
    {"Valor usado para ajustes no caixa", 90, 90, 0},
};
constexpr int kBrokerageCode = 72;

std::string Mm(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

class Builder {
 public:
  Builder(const CashBalance& b, bool expenses) : b_(b) { w_.expense_window = expenses; }

  // Appends a non-zero item.
  void Add(std::string label, const Decimal& value) {
    if (value.IsZero()) return;
    Row(std::move(label), value);
    total_ += value;
  }
  // Appends a row whatever its value (totals, headings).
  void Row(std::string label, const Decimal& value) {
    DetailRow r;
    r.description = std::move(label);
    r.value = value;
    if (w_.expense_window) r.expense_share = ShareOf(value, b_.expenses);
    r.receipt_share = ShareOf(value, b_.receipts);
    w_.rows.push_back(std::move(r));
  }
  void Total(std::string label) { Row(std::move(label), total_); }
  DetailWindow Done() {
    w_.nothing = w_.rows.empty();
    return std::move(w_);
  }
  const Decimal& total() const { return total_; }
  bool empty() const { return w_.rows.empty(); }

 private:
  const CashBalance& b_;
  DetailWindow w_;
  Decimal total_;
};

Decimal GroupSum(const Group& g, std::span<const PaymentLine> payments) {
  Decimal sum;
  for (const PaymentLine& p : payments) {
    if ((p.code >= g.first && p.code <= g.last) || (g.second != 0 && p.code == g.second)) {
      sum += p.paid;
    }
  }
  return g.first == kBrokerageCode ? -sum : sum;
}

}  // namespace

Decimal ShareOf(const Decimal& value, const Decimal& base) {
  if (base.IsZero()) return Decimal();
  return (value * Decimal::FromInt(100)).Div(base, 2, Rounding::kHalfAwayFromZero);
}

DetailWindow TaxableDetail(const core::Variables& vars, const CashBalance& b) {
  Builder w(b, false);
  const Decimal total = vars.Number("I13_08");
  if (total <= Decimal()) return w.Done();
  for (const Item& i : kTaxable) w.Add(i.label, vars.Number(i.field));
  w.Row("Total dos Rendimentos Tributáveis", total);
  return w.Done();
}

DetailWindow ExemptDetail(const core::Variables& vars, const CashBalance& b) {
  Builder w(b, false);
  for (int n = 1; n <= 24; ++n) {
    const Decimal v = vars.Number("I3_" + Mm(n));
    if (v > Decimal()) w.Add(kExemptLabels[n - 1], v);
  }
  if (w.empty()) return w.Done();
  w.Row("Total dos rendimentos isentos", vars.Number("I13_44"));
  return w.Done();
}

DetailWindow ExclusiveDetail(const core::Variables& vars, const IncomeTotals& income,
                             const CashBalance& b) {
  Builder w(b, false);
  for (int n = 1; n <= 12; ++n) {
    if (kExclusiveLabels[n - 1] == nullptr) continue;
    Decimal v = vars.Number("I4_" + Mm(n));
    if (v <= Decimal()) continue;
    if (n == 5) v += income.line34_titular;
    if (n == 7) v += income.line34_dependants;
    w.Add(kExclusiveLabels[n - 1], v);
  }
  if (w.empty()) return w.Done();
  w.Total("Total do rendimento tributado na fonte");
  return w.Done();
}

DetailWindow VariableIncomeDetail(std::span<const std::array<Decimal, 12>> line14,
                                  const CashBalance& b) {
  DetailWindow w;
  w.expense_window = true;
  Decimal gains, losses;
  for (const auto& months : line14) {
    for (int m = 1; m <= 12; ++m) {
      const Decimal v = months[m - 1];
      if (v.IsZero()) continue;
      std::string name = core::TrazMes(m).value_or("");
      while (!name.empty() && name.back() == ' ') name.pop_back();
      DetailRow r;
      r.value = v;
      r.receipt_share = ShareOf(v.Abs(), b.receipts);
      if (v > Decimal()) {
        r.description = "Lucro no mês " + name;
        gains += v;
      } else {
        r.description = "Prejuízo no mês " + name;
        r.expense_share = ShareOf(v.Abs(), b.expenses);
        losses += v;
      }
      w.rows.push_back(std::move(r));
    }
  }
  if (w.rows.empty()) {
    w.nothing = true;
    return w;
  }
  w.rows.push_back(DetailRow{});
  w.rows.push_back({"Total Ganho na Renda Variável", gains, Decimal(), ShareOf(gains, b.receipts)});
  w.rows.push_back({"Total Prejuízo na Renda Variável", losses, ShareOf(losses.Abs(), b.expenses),
                    ShareOf(losses.Abs(), b.receipts)});
  return w;
}

DetailWindow SpouseDetail(const core::Variables& vars, const CashBalance& b) {
  Builder w(b, false);
  const std::string& model = vars.Text("CONJPAD");
  const char flag = model.empty() ? ' ' : model[0];
  if (flag != 'S' && flag != 'N') return w.Done();
  w.Add("+ Base de cálculo", vars.Number("I13_1C"));
  w.Add("+ Rendimentos Isentos e Não Tributados", vars.Number("I13_2C"));
  w.Add("+ Rendimentos Tributados na fonte", vars.Number("I13_3C"));
  if (flag == 'N') {
    w.Add("- Total dos impostos pagos", vars.Number("I13_4C"));
  } else {
    w.Add("- Impostos retido na Fonte Tit e Depen", vars.Number("I13_4C"));
    w.Add("- Carnê Leão - I.Complementar", vars.Number("I13_5C"));
  }
  const Decimal official = vars.Number("I9_2"), balance = vars.Number("I9_3");
  w.Row("Total rendimento oficial do conjuge", official);
  if (!balance.IsZero()) {
    w.Row("Outras rendas do cônjuge", Decimal());
    w.Row("Saldo no balanço do cônjuge", balance);
    w.Row("Diferença entre Rendimento e Saldo", balance - official);
  }
  return w.Done();
}

DetailWindow PatrimonyDetail(const AssetTotals& t, const CashBalance& b) {
  Builder w(b, true);
  const std::string base = std::to_string(kBaseYear), previous = std::to_string(kBaseYear - 1);
  w.Add(" Valor dos Bens declarado em " + base + " (+)", t.assets_current);
  w.Add(" Valor das Dívidas declarado em " + previous + " (-)", t.debts_previous);
  w.Add(" Valor dos Bens declarado em " + previous + " (+)", t.assets_previous);
  w.Add(" Valor das Dívidas declarado em " + base + " (=)", t.debts_current);
  w.Add(" Variação nos Bens ", t.assets_current - t.assets_previous);
  w.Add(" Variação nas Dívidas", -(t.debts_current - t.debts_previous));
  if (w.empty() && t.debts_paid.IsZero()) return w.Done();
  w.Row(" Variação Patrimonial total",
        t.assets_current + t.debts_previous - (t.assets_previous + t.debts_current) - t.debts_paid);
  return w.Done();
}

DetailWindow TaxesDetail(const core::Variables& vars, const CashBalance& b) {
  Builder w(b, true);
  for (const Item& i : kTaxes) w.Add(i.label, vars.Number(i.field));
  if (w.empty()) return w.Done();
  w.Total("Total dos Impostos pagos no Ano");
  return w.Done();
}

DetailWindow ExpensesDetail(const core::Variables& vars, const PaymentTotals& totals,
                            std::span<const PaymentLine> payments, const BalanceInputs& in,
                            const CashBalance& b) {
  Builder w(b, true);
  if (in.simplified && in.only_discount) {
    w.Add("Valor do abatimento Padrão", in.standard_discount);
  } else {
    w.Add("Contribuição previdenciária Oficial", vars.Number("I13_09"));
    w.Add("Contribuição previdenciária RAA", vars.Number("I13_10"));
    w.Add("Contribuição previdenciária Privada", totals.private_pension_total);
    w.Add("Livro Caixa", vars.Number("I13_18"));
    if (!in.simplified) w.Add("Abatimento com Dependentes", vars.Number("I13_12"));
    w.Add("Despesas com instrução", totals.education_total);
    w.Add("Despesas médicas e/ou hospitalares", vars.Number("I13_14") + totals.medical_reimbursed);
    w.Add("Pensão alimentícia judicial", vars.Number("I13_15"));
    w.Add("Pensão alimentícia Cartório", vars.Number("I13_16"));
    w.Add("Pensão alimentícia RAA", vars.Number("I13_17"));
    w.Add("Doações e incentivos a cultura", totals.incentives);
    w.Add("Doações e incentivos a criança", totals.children_fund);
  }
  for (const Group& g : kGroups) {
    const Decimal sum = GroupSum(g, payments);
    // Brokerage is shown only when it takes something off.
    if (g.first == kBrokerageCode && sum >= Decimal()) continue;
    w.Add(g.label, sum);
  }
  if (w.empty()) return w.Done();
  w.Total("Total das despesas declaradas");
  return w.Done();
}

ResultLine ResultLineOf(const CashBalance& b, const Decimal& alert_percent) {
  ResultLine r;
  r.index = b.indgas;
  r.saldo = b.saldo;
  if (b.saldo > Decimal()) {
    r.label = "   Saldo de ";
    r.alert = b.indgas < alert_percent;
  } else {
    r.label = "Déficit de  ";
    r.alert = true;
  }
  return r;
}

}  // namespace dodu::tax
