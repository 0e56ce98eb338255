// Variable income: the monthly stock-market and investment-fund statements of
// the taxpayer and of each dependant (rendaVariavel, fundosInvestimentos).
#include <array>

#include "handover/internal/doc.h"

namespace dodu::handover::internal {
namespace {

constexpr char kFiveTotals[] =
    " totalBaseCalculo=\"0,00\" totalIRFonteDayTrade=\"0,00\" totalImpostoAPagar=\"0,00\""
    " totalImpostoPago=\"0,00\" totalImpostoRetidoFonteLei11033=\"0,00\"";

const char* kShortMonths[] = {"jan", "fev", "mar", "abr", "mai", "jun",
                              "jul", "ago", "set", "out", "nov", "dez"};

bool IsVariableIncome(const Row& r) { return IntOf(RowNum(r, "TIPO_BEM")) == 4; }

std::vector<const Row*> RowsOf(const Doc& d, std::string_view holder_cpf) {
  std::vector<const Row*> rows;
  for (const Row& r : d.in.Of(Schedule::kGains)) {
    if (IsVariableIncome(r) && Trim(RowText(r, "CPF_DEPE")) == Trim(holder_cpf)) rows.push_back(&r);
  }
  return rows;
}

// MES_A_MES_RV: the stock-market month of one holder.
void WriteStockMonths(Doc& d, const std::vector<const Row*>& rows) {
  for (int mm = 1; mm <= 12; ++mm) {
    std::array<std::array<Decimal, 3>, 29> v{};
    for (const Row* r : rows) {
      const std::string col = RowTrimmed(*r, "DAY_TRADE");
      int line = IntOf(RowNum(*r, "RVAR_NRO"));
      if ((col != "1" && col != "2") || line < 1 || line > 28) continue;
      v[line][col == "1" ? 1 : 2] = RowNum(*r, "REC_MES" + Mm(mm));
    }
    const std::string name = PaddedMonth(mm);
    d.Raw("<" + name);
    d.Amt("impostoApagar", v[27][1]);
    d.Amt("impostoPago", v[28][1]);
    d.Amt("impostoRetidoFonteLei11033", v[24][1]);
    d.Amt("impostoRetidoFonteLei11033MesesAnteriores", v[25][1]);
    d.Amt("impostoRetidoFonteLei11033MesesCompensar", v[26][1]);
    d.Amt("irFonteDayTradeAcompensar", v[23][2]);
    d.Amt("irFonteDayTradeMesAtual", v[21][2]);
    d.Amt("irFonteDayTradeMesesAnteriores", v[22][2]);
    d.Amt("totalImpostoDevido", v[20][1]);
    d.Raw(">");
    for (int c = 1; c <= 2; ++c) {
      d.Raw(c == 1 ? "<operacoesComuns aliquotaDoImposto=\"15%\""
                   : "<operacoesDayTrade aliquotaDoImposto=\"20%\"");
      d.Amt("baseCalculoImposto", v[16][c]);
      d.Amt("impostoDevido", c == 1 ? v[18][1] : v[19][2]);
      d.Amt("mercadoFuturoDolar", v[8][c]);
      d.Amt("mercadoFuturoIndices", v[9][c]);
      d.Amt("mercadoFuturoJuros", v[10][c]);
      d.Amt("mercadoFuturoOutros", v[11][c]);
      d.Amt("mercadoOpcoesAcoes", v[4][c]);
      d.Amt("mercadoOpcoesForaDeBolsa", v[6][c]);
      d.Amt("mercadoOpcoesOuro", v[5][c]);
      d.Amt("mercadoOpcoesOutros", v[7][c]);
      d.Amt("mercadoTermoAcoes", v[12][c]);
      d.Amt("mercadoTermoOutros", v[13][c]);
      d.Amt("mercadoVistaAcoes", v[1][c]);
      d.Amt("mercadoVistaForaBolsa", v[3][c]);
      d.Amt("mercadoVistaOuro", v[2][c]);
      d.Amt("prejuizoCompensar", -v[17][c]);
      d.Amt("resultadoLiquidoMes", v[14][c]);
      d.Amt("resultadoNegativoMesAnterior", -v[15][c]);
      d.Raw("/>");
    }
    d.Raw("</" + name + ">");
  }
}

// MES_A_MES_FI: the investment-fund months of one holder.
void WriteFundMonths(Doc& d, const std::vector<const Row*>& rows) {
  for (int mm = 1; mm <= 12; ++mm) {
    std::array<Decimal, 11> v{};
    for (const Row* r : rows) {
      int line = IntOf(RowNum(*r, "RVAR_NRO"));
      if (Trim(RowText(*r, "DAY_TRADE")) != "3" || line < 1 || line > 10) continue;
      Decimal value = RowNum(*r, "REC_MES" + Mm(mm));
      v[line] = line == 2 ? value.Abs() : value;
    }
    d.Raw("<");
    d.Raw(kShortMonths[mm - 1]);
    d.Lit("aliquotaImposto", "20,00");
    d.Amt("baseCalcImposto", v[3]);
    d.Amt("impostoAPagar", v[9]);
    d.Amt("impostoDevido", v[5]);
    d.Amt("impostoPago", v[10]);
    d.Amt("impostoRetidoCompensar", v[8]);
    d.Amt("impostoRetidoFonte", v[7]);
    d.Amt("impostoRetidoMesesAnteriores", v[6]);
    d.Amt("prejuizoCompensar", v[4]);
    d.Amt("resultLiquidoMes", v[1]);
    d.Amt("resultNegativoAnterior", v[2]);
    d.Raw("/>");
  }
}

}  // namespace

Status WriteVariableIncome(Doc& d) {
  const auto own = RowsOf(d, "");
  d.Raw("<rendaVariavel");
  d.Raw(kFiveTotals);
  d.Raw(">");
  WriteStockMonths(d, own);
  d.Raw("</rendaVariavel>");
  DODU_RETURN_IF_ERROR(d.Flush());

  std::vector<std::string> cpfs;
  for (const Row& r : d.in.Of(Schedule::kDependants)) {
    std::string cpf(Trim(RowText(r, "CPFDEPEN")));
    if (IntOf(RowNum(r, "CODIDEPEN")) < 98 && !cpf.empty()) cpfs.push_back(cpf);
  }
  bool dependant_stock = false, dependant_funds = false;
  for (const Row& r : d.in.Of(Schedule::kGains)) {
    if (!IsVariableIncome(r) || Trim(RowText(r, "CPF_DEPE")).empty()) continue;
    (Trim(RowText(r, "DAY_TRADE")) == "3" ? dependant_funds : dependant_stock) = true;
  }

  d.Raw(
      "<rendaVariavelDependente "
      "tipoItens=\"serpro.ppgd.irpf.rendavariavel.ItemRendaVariavelDependente\"");
  d.Raw(kFiveTotals);
  d.Raw(">");
  if (dependant_stock && !cpfs.empty()) {
    for (const std::string& cpf : cpfs) {
      const auto rows = RowsOf(d, cpf);
      if (rows.empty()) continue;
      d.Raw("<item");
      d.Lit("cpf", FormatCpf(cpf));
      d.Raw("><rendaVariavel");
      d.Raw(kFiveTotals);
      d.Raw(">");
      WriteStockMonths(d, rows);
      d.Raw("</rendaVariavel></item>");
    }
  }
  d.Raw("</rendaVariavelDependente>");

  d.Raw(
      "<fundosInvestimentos totalBaseCalcImposto=\"0,00\" totalImpostoDevido=\"0,00\" "
      "totalImpostoPago=\"0,00\""
      " totalImpostoRetidoFonteLei11033=\"0,00\">");
  WriteFundMonths(d, own);
  d.Raw("</fundosInvestimentos>");

  d.Raw(
      "<fundosInvestimentosDependente "
      "tipoItens=\"serpro.ppgd.irpf.rendavariavel.ItemFundosInvestimentosDependente\""
      " totalBaseCalculo=\"0,00\" totalImpostoDevido=\"0,00\" totalImpostoPago=\"0,00\""
      " totalImpostoRetidoFonteLei11033=\"0,00\">");
  if (dependant_funds && !cpfs.empty()) {
    for (const std::string& cpf : cpfs) {
      const auto rows = RowsOf(d, cpf);
      bool funds = false;
      for (const Row* r : rows) funds = funds || Trim(RowText(*r, "DAY_TRADE")) == "3";
      if (!funds) continue;
      d.Raw("<item");
      d.Lit("cpf", FormatCpf(cpf));
      d.Raw(
          "><fundosInvestimentos  totalBaseCalcImposto=\"0,00\" totalImpostoDevido=\"0,00\" "
          "totalImpostoPago=\"0,00\">");
      WriteFundMonths(d, rows);
      d.Raw("</fundosInvestimentos></item>");
    }
  }
  d.Raw("</fundosInvestimentosDependente>");
  return d.Flush();
}

}  // namespace dodu::handover::internal
