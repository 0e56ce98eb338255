#include "darf/darf_texts.h"

#include "core/codepage.h"
#include "core/id_format.h"
#include "core/ids.h"
#include "core/picture.h"
#include "core/text_helpers.h"

namespace dodu::darf {
namespace {

constexpr int kLine = 35;
constexpr char kYear[] = "/2019";

std::string Fit(std::string s, size_t width = kLine) {
  s.resize(width, ' ');
  return s;
}

std::string MonthName(int month, size_t chars) {
  return core::TrazMes(month).value_or(std::string(9, ' ')).substr(0, chars);
}

std::string TwoDigits(int n) {
  std::string s = std::to_string(n % 100);
  return s.size() < 2 ? "0" + s : s;
}

// Letters of code page 850 without their accents, for the city of a fund.
std::string WithoutAccents(std::string_view cp850) {
  static const std::u32string_view kFrom = U"ÁÀÂÃÄáàâãäÉÈÊËéèêëÍÌÎÏíìîïÓÒÔÕÖóòôõöÚÙÛÜúùûüÇçÑñ";
  static const std::string_view kTo = "AAAAAaaaaaEEEEeeeeIIIIiiiiOOOOOoooooUUUUuuuuCcNn";
  std::string out;
  for (char ch : cp850) {
    const char32_t cp = core::Cp850ToUnicode(static_cast<uint8_t>(ch));
    const size_t at = kFrom.find(cp);
    out += at != std::u32string_view::npos ? kTo[at] : (cp < 0x80 ? ch : ' ');
  }
  return out;
}

void FundLines(Darf& darf, const PaymentRow& p) {
  const bool children = darf.kind == Kind::kChildrenFund;
  darf.lines[0] = Fit(children ? "Doacao Fundo Direito da Crianca" : "Doacao Fundos Conselho do Idoso");
  const std::string& name = p.name;
  if (name.find("Nacional") != std::string::npos) {
    darf.lines[1] = Fit("Fundo Nacional");
  } else if (name.find("Estadual") != std::string::npos) {
    darf.lines[1] = Fit("Fundo Estadual - " + (name.size() > 11 ? name.substr(11, 2) : ""));
  } else {
    darf.lines[1] = Fit("Fundo Municipal");
    const size_t start = children ? 3 : 6;
    const size_t dash = name.find(" - ");
    const size_t count = dash == std::string::npos ? std::string::npos : dash + 1 + 3;
    darf.lines[2] = Fit(start < name.size() ? WithoutAccents(name.substr(start, count)) : "");
  }
  darf.lines[4] = Fit("Declaracao Ajuste Anual");
  const std::string cnpj = Fit(core::TiraPonto(p.cnpj), 14);
  darf.reference = cnpj + ReferenceDigits(cnpj);
}

}  // namespace

std::string Amount(const Decimal& value) { return core::Transform(value, kAmountPicture); }

std::string ReferenceDigits(std::string_view cnpj_digits) {
  std::string d1 = core::Modulo11(cnpj_digits, '1');
  std::string d2 = core::Modulo11(std::string(cnpj_digits) + d1, '1');
  return d1 + d2;
}

void Preenche(Darf& darf, const DarfSources& src) {
  if (darf.kind == Kind::kFree) return;
  for (int i = 0; i < 4; ++i) darf.lines[i] = std::string(kLine, ' ');
  darf.lines[4] = std::string(kLine, ' ');
  darf.reference = std::string(16, ' ');
  const Figures& f = darf.figures;
  const bool paid = !f.tax_paid.IsZero();
  const int m = darf.number;
  switch (darf.kind) {
    case Kind::kQuota:
      darf.lines[1] = Fit("Imposto devido..... R$" + Amount(darf.principal));
      if (BelowMinimum(darf)) {
        darf.lines[2] = Fit("VALOR INFERIOR R$ 10,00 - NAO PAGAR");
        darf.lines[3] = Fit("SOME C/OUTROS DARFS DO MESMO CODIGO");
      }
      darf.lines[4] = Fit("Pagto. da quota " + std::to_string(m) + " de " +
                          std::to_string(darf.quota_count) + " do IRPF/20" + "19");
      break;
    case Kind::kCarneLeao:
      if (!paid) {
        darf.lines[0] = Fit("Rendimentos....... R$ " + Amount(f.income));
        darf.lines[1] = Fit("Livro Caixa....... R$ " + Amount(f.cash_book));
        darf.lines[2] = Fit("Deducoes.......... R$ " + Amount(f.deductions));
        darf.lines[3] = Fit("Imposto........... R$ " + Amount(darf.principal));
        darf.lines[4] = Fit("Carne Leao do mes de " + MonthName(m, 9) + kYear);
      } else {
        darf.lines[1] = Fit("Valor Devido...... R$ " + Amount(f.tax_due));
        darf.lines[2] = Fit("V. Recolhido...... R$ " + Amount(f.tax_paid));
        darf.lines[3] = Fit("Diferenca......... R$ " + Amount(darf.principal));
        darf.lines[4] = Fit("Diferenca no C.Leao de " + MonthName(m, 7) + kYear);
      }
      break;
    case Kind::kCapitalGain: {
      const GainRow* g = GainOf(src, darf.gain_number);
      const int tipo = g ? g->tipo_bem : 0;
      darf.lines[0] = Fit(tipo == 1   ? "Ganho em Imovel"
                          : tipo == 2 ? (g->bem_brasil ? "Ganho em Movel no Brasil"
                                                       : "Ganho em Movel no Exterior")
                          : tipo == 3 ? "Ganho em Participacao Societaria"
                                      : "");
      if (!paid) {
        darf.lines[1] = Fit("Base de calculo.....R$" + Amount(f.base));
        darf.lines[2] = Fit("Imposto.............R$" + Amount(darf.principal));
        darf.lines[4] = Fit("GCAP nro " + TwoDigits(darf.gain_number) + " em " + MonthName(m, 9) + kYear);
      } else {
        darf.lines[0] = Fit("Base de calculo.....R$" + Amount(f.base));
        darf.lines[1] = Fit("Imposto.............R$" + Amount(f.tax_due));
        darf.lines[2] = Fit("V. Recolhido........R$" + Amount(f.tax_paid));
        darf.lines[3] = Fit("Diferenca ..........R$" + Amount(darf.principal));
        darf.lines[4] = Fit("Pago menor G. Capital " + MonthName(m, 8) + kYear);
      }
      break;
    }
    case Kind::kVariableIncome:
    case Kind::kInvestmentFund: {
      const bool funds = darf.kind == Kind::kInvestmentFund;
      if (!paid) {
        darf.lines[1] = Fit("Base de calculo.....R$" + Amount(f.base));
        darf.lines[2] = Fit("Imposto.............R$" + Amount(darf.principal));
        darf.lines[4] = Fit(std::string(funds ? "Ganho em Fundo Inves." : "Ganho em R. variavel ") +
                            MonthName(m, 9) + kYear);
      } else {
        // The base and the amount already paid are printed with their labels,
        // as on the capital-gain slip.
        darf.lines[0] = Fit("Base de calculo.....R$" + Amount(f.base));
        darf.lines[1] = Fit("Imposto.............R$" + Amount(f.tax_due));
        darf.lines[2] = Fit("V. Recolhido........R$" + Amount(f.tax_paid));
        darf.lines[3] = Fit("Diferenca ..........R$" + Amount(darf.principal));
        darf.lines[4] = Fit(std::string(funds ? "Pago menor Fundo Inves" : "Pago menor R.Variavel ") +
                            MonthName(m, 8) + kYear);
      }
      break;
    }
    case Kind::kLateFilingFine: {
      const Decimal cap = f.tax_due.Mul(*Decimal::Parse("0.20"), 2, core::Rounding::kHalfAwayFromZero);
      darf.lines[0] = Fit("Multa maxima pelo atraso " + core::Transform(cap, "@EZ 999,999.99"));
      darf.lines[1] = Fit("Multa minima pelo atraso     165,74");
      darf.lines[2] = Fit(TwoDigits(darf.late_months) + " mes" + (darf.late_months == 1 ? "  " : "es") +
                          " de atraso  = " + Amount(darf.uncapped_fine));
      darf.lines[3] = Fit("Valor da multa........" + Amount(darf.principal));
      darf.lines[4] = Fit("Multa pelo atraso na entrega       ");
      break;
    }
    case Kind::kChildrenFund:
    case Kind::kElderlyFund: {
      const std::vector<PaymentRow> list = DonationsOf(src, darf.kind);
      if (m >= 1 && m <= static_cast<int>(list.size())) FundLines(darf, list[m - 1]);
      break;
    }
    case Kind::kForeignCash:
      darf.lines[0] = Fit("Ganho capital moeda especie");
      darf.lines[4] = Fit("Declaracao Ajuste Anual");
      break;
    case Kind::kFree:
    case Kind::kChangeDates:
      break;
  }
}

std::string FazONome(const Darf& darf, std::string_view person) {
  const std::string period =
      darf.period.IsBlank() ? "" : TwoDigits(darf.period.month()) + "-" + std::to_string(darf.period.year());
  const bool range = darf.last > darf.first;
  std::string kind, when = period;
  const auto months = [&](const char* word) {
    kind = word;
    if (range) when = "do mes " + TwoDigits(darf.first) + " ate " + TwoDigits(darf.last);
  };
  switch (darf.kind) {
    case Kind::kQuota:
      kind = range ? "Quotas " + std::to_string(darf.first) + " ate " + std::to_string(darf.last)
                   : "Quota " + std::to_string(darf.number);
      when = "do IRPF2020";
      break;
    case Kind::kCarneLeao: months("CLeao"); break;
    case Kind::kCapitalGain: months("GCap"); break;
    case Kind::kVariableIncome: months("RVar"); break;
    case Kind::kInvestmentFund: months("FInves"); break;
    case Kind::kLateFilingFine: kind = "Multa"; break;
    case Kind::kChildrenFund: kind = "ECA"; break;
    case Kind::kForeignCash: kind = "Moeda"; break;
    case Kind::kFree: kind = darf.code; break;
    case Kind::kElderlyFund: kind = "Idoso"; break;
    case Kind::kChangeDates: break;
  }
  std::string name(person);
  while (!name.empty() && name.back() == ' ') name.pop_back();
  while (!name.empty() && name.front() == ' ') name.erase(0, 1);
  std::string words;
  const size_t first_blank = name.find(' ');
  if (first_blank == std::string::npos) {
    words = name;
  } else {
    words = name.substr(0, first_blank + 1) + name.substr(name.rfind(' ') + 1);
  }
  return "Darf " + kind + " - " + when + " - " + words;
}

}  // namespace dodu::darf
