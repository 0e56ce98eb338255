// Exempt income and income taxed exclusively at source with their auxiliary
// tables, the tax paid and the heirs.
#include "handover/internal/doc.h"

namespace dodu::handover::internal {
namespace {

constexpr char kPrefix[] = "serpro.ppgd.irpf.";

// One item of an auxiliary table from an income line (ENCHEQUADRO); `kind`
// as the official classes group them.
void WriteItem(Doc& d, const Row& r, int kind, std::string_view detail) {
  const bool titular = Trim(RowText(r, "I1_1")) == "J";
  const std::string beneficiary = titular ? d.ccpf : FormatCpf(RowText(r, "I1_8"));
  const char* holder = titular ? "Titular" : "Dependente";
  d.Raw("<item");
  switch (kind) {
    case 1:
      d.Txt("cnpjEmpresa", RowText(r, "I1_3"));
      d.Lit("cpfBeneficiario", beneficiary);
      d.Conv("nomeFonte", RowText(r, "I1_2"));
      break;
    case 2:
      d.Lit("cpfBeneficiario", beneficiary);
      d.Txt("niDoadorEspolio", RowText(r, "I1_3"));
      d.Conv("nomeDoadorEspolio", RowText(r, "I1_2"));
      break;
    case 4:
      d.Lit("cpfBeneficiario", beneficiary);
      break;
    case 5:
      d.Txt("cnpjEmpresa", RowText(r, "I1_3"));
      d.Lit("cpfBeneficiario", beneficiary);
      d.Conv("descricaoRendimento", RowText(r, "I1_35"));
      d.Conv("nomeFonte", RowText(r, "I1_2"));
      break;
    case 6:
      d.Lit("cpfBeneficiario", beneficiary);
      d.Txt("niEmpresa", RowText(r, "I1_3"));
      d.Conv("nomeFonte", RowText(r, "I1_2"));
      d.Lit("tipoBeneficiario", holder);
      d.Amt("valor", RowNum(r, "I1_18"));
      d.Amt("valor13Salario", RowNum(r, "I1_7"));
      d.Amt("valorIRRF", RowNum(r, "I1_5"));
      d.Amt("valorIRRF13Salario", RowNum(r, "I1_39"));
      d.Amt("valorPrevidenciaOficial", RowNum(r, "I1_6"));
      d.Amt("valorTotal", RowNum(r, "I1_18") + RowNum(r, "I1_7"));
      d.Raw("/>");
      return;
  }
  d.Lit("tipoBeneficiario", holder);
  d.Amt("valor", RowNum(r, detail));
  d.Raw("/>");
}

void WriteItems(Doc& d, std::string_view detail, int kind) {
  for (const Row& r : d.in.Of(Schedule::kIncome)) {
    const std::string k = RowTrimmed(r, "I1_1");
    if ((k != "J" && k != "D") || !(RowNum(r, detail) > Decimal())) continue;
    WriteItem(d, r, kind, detail);
  }
}

struct Table {
  const char* element;
  const char* cls;
  const char* total;
  const char* detail;
  int kind;
};

void WriteTable(Doc& d, const Table& t) {
  Decimal total = d.Num(t.total);
  d.Raw("<");
  d.Raw(t.element);
  d.Lit("tipoItens", std::string(kPrefix) + t.cls);
  d.Amt("totais", total);
  d.Raw(">");
  if (total > Decimal()) WriteItems(d, t.detail, t.kind);
  if (std::string_view(t.element) == "parcIsentaAposentadoriaQuadroAuxiliar") d.Raw(" ");
  d.Raw("</");
  d.Raw(t.element);
  d.Raw(">");
}

void WriteSickPensionTable(Doc& d) {
  const Decimal thirteenth = d.titular.sick_thirteenth + d.dependants.sick_thirteenth;
  d.Raw("<pensaoQuadroAuxiliar");
  d.Lit("tipoItens", std::string(kPrefix) + "ItemQuadroPensaoMolestiaGrave");
  d.Amt("totais", d.Num("I3_07") + thirteenth);
  d.Amt("total13Salario", thirteenth);
  d.Amt("totalIRRF13SalarioDependentes", d.dependants.sick_thirteenth_tax);
  d.Amt("totalIRRF13SalarioTitular", d.titular.sick_thirteenth_tax);
  d.Amt("totalIRRFDependentes", d.dependants.sick_withheld);
  d.Amt("totalIRRFTitular", d.titular.sick_withheld);
  d.Amt("totalPrevidenciaOficialDependentes", d.dependants.sick_social);
  d.Amt("totalPrevidenciaOficialTitular", d.titular.sick_social);
  d.Amt("totalRendimento", d.Num("I3_07"));
  d.Raw(">");
  if (d.Num("I3_07") > Decimal()) WriteItems(d, "I1_18", 6);
  d.Raw("</pensaoQuadroAuxiliar>");
}

}  // namespace

void WriteExemptAndExclusive(Doc& d) {
  d.Raw("<rendIsentos");
  const char* plain[][2] = {{"bensPequenoValorInformado", "I3_04GCPV"},
                            {"bensPequenoValorTransportado", "I3_04GCPVC"},
                            {"bolsaEstudos", "I3_01"},
                            {"capitalApolices", "I3_02"},
                            {"ganhosCapitalOuro", "I3_19"},
                            {"ganhosLiquidosAcoes", "I3_18"},
                            {"impostoRendasAnterioresCompensadoJudicialmente", "I3_12"},
                            {"incorporacaoReservaCapital", "I3_14"},
                            {"indenizacoes", "I3_03"},
                            {"lucroAlienacao", "I3_04"},
                            {"lucroRecebido", "I3_05"},
                            {"meacaoDissolucao", "I3_17"},
                            {"medicosResidentes", "I3_15"},
                            {"moedaEstrangeiraEspecieInformado", "I3_04EXTR"},
                            {"outros", "I3_24"},
                            {"outrosBensImoveisInformado", "I3_04REDU"},
                            {"outrosBensImoveisTransportado", "I3_04REDUC"},
                            {"parcIsentaAposentadoria", "I3_06"},
                            {"parcIsentaAtivRural", "I3_11"},
                            {"pensao", "I3_07"},
                            {"poupanca", "I3_08"},
                            {"recuperacaoPrejuizosBolsaValores", "I3_20"},
                            {"rendAssalariadosMoedaEstrangeira", "I3_13"},
                            {"rendSocio", "I3_09"},
                            {"restituicaoImpostoRendaAnosAnteriores", "I3_23"}};
  for (auto& a : plain) d.Amt(a[0], d.Num(a[1]));
  d.Amt("somaBensPequenoValor", d.Num("I3_04GCPV") + d.Num("I3_04GCPVC"));
  d.Amt("somaOutrosBensImoveis", d.Num("I3_04REDU") + d.Num("I3_04REDUC"));
  d.Amt("somaUnicoImovel", d.Num("I3_04UNIC") + d.Num("I3_04UNICC"));
  d.Amt("total", d.Num("I13_44"));
  d.Amt("totalInformado", d.Num("I3_04GCPV"));
  d.Amt("totalTransportado", d.Num("I3_04"));
  d.Amt("transferencias", d.Num("I3_10"));
  d.Amt("transportadorCargas", d.Num("I3_21"));
  d.Amt("transportadorPassageiros", d.Num("I3_22"));
  d.Amt("unicoImovelInformado", d.Num("I3_04UNIC"));
  d.Amt("unicoImovelTransportado", d.Num("I3_04UNICC"));
  d.Lit("voluntariosCopa", "0,00");
  d.Raw(">");
  const Table exempt[] = {
      {"bolsaEstudosQuadroAuxiliar", "ItemQuadroTransporteDetalhado", "I3_01", "I1_29", 1},
      {"indenizacoesQuadroAuxiliar", "ItemQuadroRendimentosNI", "I3_03", "I1_30", 1},
      {"lucroRecebidoQuadroAuxiliar", "ItemQuadroTransporteDetalhado", "I3_05", "I1_15", 1},
      {"parcIsentaAposentadoriaQuadroAuxiliar", "ItemQuadroTransporteDetalhado", "I3_06", "I1_17",
       1},
      {nullptr, nullptr, nullptr, nullptr, 6},
      {"poupancaQuadroAuxiliar", "ItemQuadroTransporteDetalhado", "I3_08", "I1_37", 1},
      {"rendSocioQuadroAuxiliar", "ItemQuadroTransporteDetalhado", "I3_09", "I1_16", 1},
      {"transferenciasQuadroAuxiliar", "ItemQuadroTransferenciaPatrimonial", "I3_10", "I1_23", 2},
      {"impostoRendasAnterioresCompensadoJudicialmenteQuadroAuxiliar", "ItemQuadroRendimentosNI",
       "I3_12", "I1_31", 1},
      {"rendAssalariadoMoedaEstrangeiraQuadroAuxiliar", "ItemQuadroTransporteDetalhado", "I3_13",
       "I1_13", 1},
      {"incorporacaoReservaCapitalQuadroAuxiliar", "ItemQuadroTransporteDetalhado", "I3_14",
       "I1_14", 1},
      {"medicosResidentesQuadroAuxiliar", "ItemQuadroTransporteDetalhado", "I3_15", "I1_24", 1},
      {"voluntariosCopaQuadroAuxiliar", "ItemQuadroTransporteDetalhado", "I3_16", "I1_25", 1},
      {"meacaoDissolucaoQuadroAuxiliar", "ItemQuadroMeacaoDissolucao", "I3_17", "I1_26", 4},
      {"ganhosLiquidosAcoesQuadroAuxiliar", "ItemQuadroGanhosAcoesOuro", "I3_18", "I1_27", 4},
      {"ganhosCapitalOuroQuadroAuxiliar", "ItemQuadroGanhosAcoesOuro", "I3_19", "I1_28", 4},
      {"outrosQuadroAuxiliar", "ItemQuadroOutrosRendimentos", "I3_24", "I1_9", 5},
  };
  for (const Table& t : exempt) {
    if (t.element == nullptr) {
      WriteSickPensionTable(d);
    } else {
      WriteTable(d, t);
    }
  }
  d.Raw("</rendIsentos>");

  d.Raw("<rendTributacaoExclusiva");
  const char* exclusive[][2] = {{"decimoTerceiro", "I4_01"},
                                {"decimoTerceiroDependentes", "I4_06"},
                                {"ganhosCapital", "I4_02"},
                                {"ganhosCapitalEmEspecie", "I4_12"},
                                {"ganhosCapitalEstrangeira", "I4_11"},
                                {"ganhosRendaVariavel", "I4_03"},
                                {"jurosCapitalProprio", "I4_08"},
                                {"outros", "I4_10"},
                                {"participacaoLucrosResultados", "I4_09"},
                                {"rendAplicacoes", "I4_04"},
                                {"rraDependentes", "I4_07"},
                                {"rraTitular", "I4_05"},
                                {"total", "I13_45"}};
  for (auto& a : exclusive) d.Amt(a[0], d.Num(a[1]));
  d.Raw(">");
  const Table tables[] = {
      {"rendAplicacoesQuadroAuxiliar", "ItemQuadroTransporteDetalhado", "I4_04", "I1_38", 1},
      {"outrosQuadroAuxiliar", "ItemQuadroOutrosRendimentos", "I4_10", "I1_34", 5},
      {"jurosCapitalProprioQuadroAuxiliar", "ItemQuadroTransporteDetalhado", "I4_08", "I1_32", 1},
      {"participacaoLucrosResultadosQuadroAuxiliar", "ItemQuadroTransporteDetalhado", "I4_09",
       "I1_33", 1},
  };
  for (const Table& t : tables) WriteTable(d, t);
  d.Raw("</rendTributacaoExclusiva>");
}

void WriteTaxPaidAndHeirs(Doc& d) {
  d.Raw("<impostoPago");
  d.Amt("carneLeaoDependentes", d.Num("I13_30"));
  d.Amt("carneLeaoTitular", d.Num("I13_29"));
  d.Amt("impostoComplementar", d.Num("I13_31"));
  d.Amt("impostoDevidoComRendExterior", d.Num("I13_26"));
  d.Lit("impostoDevidoSemRendExterior", "0,00");
  d.Amt("impostoPagoExterior", d.Num("IR_EXTER"));
  d.Amt("impostoRetidoFonte", d.Num("I13_33"));
  d.Amt("impostoRetidoFonteDependentes", d.Num("I13_28"));
  d.Amt("impostoRetidoFonteTitular", d.Num("I13_27"));
  d.Amt("limiteImpPagoExterior", d.Num("I13_32"));
  d.Raw("/>");

  d.Raw("<herdeiros tipoItens=\"serpro.ppgd.irpf.herdeiros.Herdeiro\">");
  for (const Row& r : d.in.Of(Schedule::kDependants)) {
    if (Trim(RowText(r, "NOMEDEPEN")).empty() || IntOf(RowNum(r, "CODIDEPEN")) < 100) continue;
    d.Raw("<item");
    d.Txt("niHerdeiro", RowText(r, "CPFHERDE"));
    d.Conv("nome", RowText(r, "NOMEDEPEN"));
    d.Raw("/>");
  }
  d.Raw(" </herdeiros>");
}

}  // namespace dodu::handover::internal
