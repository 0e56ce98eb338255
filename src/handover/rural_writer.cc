// Rural activity in Brazil and abroad (atividadeRural), read from the rural
// tables as stored, and its empty skeleton.
#include "handover/internal/doc.h"

namespace dodu::handover::internal {
namespace {

constexpr char kZero[] = "\"0,00\"";

bool OfFlag(const Row& r, std::string_view flag) { return Trim(RowText(r, "ATV_BRASIL")) == flag; }

const Row* ResultsOf(const Doc& d, std::string_view flag) {
  for (const Row& r : d.in.Of(Schedule::kRuralResults)) {
    const std::string cpf = RowTrimmed(r, "CPF");
    if (OfFlag(r, flag) && (cpf.empty() || cpf == Trim(d.in.cpf))) return &r;
  }
  return nullptr;
}

const char* kSpecies[][2] = {
    {"bovinos", "B"}, {"suinos", "S"}, {"caprinos", "C"}, {"asininos", "A"}, {"outros", "V1"}};

void WriteHerd(Doc& d, const Row* results) {
  d.Raw("<movimentacaoRebanho>");
  for (auto& s : kSpecies) {
    auto f = [&](const char* stem) {
      return results ? RowNum(*results, std::string(stem) + s[1]) : Decimal();
    };
    d.Raw("<");
    d.Raw(s[0]);
    d.Amt("aquisicoesAno", f("I7_2"));
    d.Amt("consumo", f("I7_4"));
    d.Amt("estoqueFinal", f("I7_1") + f("I7_2") + f("I7_3") - f("I7_4") - f("I7_5"));
    d.Amt("estoqueInicial", f("I7_1"));
    d.Amt("nascidosAno", f("I7_3"));
    d.Amt("vendas", f("I7_5"));
    d.Raw("/>");
  }
  d.Raw("</movimentacaoRebanho>");
}

// AARVAZIO for one flag.
void WriteEmptyActivity(Doc& d, bool brazil) {
  if (brazil) {
    d.Raw(
        "<identificacaoImovel tipoItens=\"serpro.ppgd.irpf.atividaderural.brasil.ImovelARBrasil\" "
        "ultimoIndiceGerado=\"\"/>");
    d.Raw("<receitasDespesas totalDespesas=\"0,00\" totalReceita=\"0,00\">");
    for (int mm = 1; mm <= 12; ++mm) {
      d.Raw("<");
      d.Raw(MonthName(mm));
      d.Raw(" despesaCusteioInvestimento=\"0,00\" receitaBrutaMensal=\"0,00\"/>");
    }
    d.Raw("</receitasDespesas><apuracaoResultado");
    for (const char* a : {"compensacaoPrejuizoExerciciosAnteriores", "despesaCusteio",
                          "limiteVintePorCentoReceitaBruta"}) {
      d.Attr(a, kZero);
    }
    d.Lit("opcaoFormaApuracao", "");
    for (const char* a : {"prejuizoCompensar", "prejuizoExercicioAnterior", "receitaBrutaTotal",
                          "receitaRecebidaContaVenda", "resultadoI", "resultadoNaoTributavel",
                          "resultadoTributavel", "valorAdiantamento"}) {
      d.Attr(a, kZero);
    }
  } else {
    d.Raw(
        "<identificacaoImovel tipoItens=\"serpro.ppgd.irpf.atividaderural.ImovelAR\" "
        "ultimoIndiceGerado=\"\"/>");
    d.Raw(
        "<receitasDespesas tipoItens=\"serpro.ppgd.irpf.atividaderural.exterior.ReceitaDespesa\" "
        "totais=\"0,00\"/>");
    d.Raw("<apuracaoResultado");
    d.Attr("compensacaoPrejuizoExerciciosAnteriores", kZero);
    d.Attr("limiteVintePorCentoReceitaBruta", kZero);
    d.Lit("opcaoFormaApuracao", "");
    for (const char* a : {"prejuizoCompensar", "prejuizoExercicioAnterior",
                          "receitaRecebidaContaVenda", "resultadoI_EmDolar", "resultadoI_EmReais",
                          "resultadoNaoTributavel", "resultadoTributavel", "valorAdiantamento"}) {
      d.Attr(a, kZero);
    }
  }
  d.Raw("/>");
  WriteHerd(d, nullptr);
  d.Raw("<dividas tipoItens=\"serpro.ppgd.irpf.atividaderural.DividaAR\"/>");
}

Decimal Positive(const Decimal& v) { return v > Decimal() ? v : Decimal(); }

// DADO_ATIV for one flag.
Status WriteActivity(Doc& d, bool brazil) {
  const std::string_view flag = brazil ? "S" : "N";
  const Row* results = ResultsOf(d, flag);
  if (results == nullptr) {
    WriteEmptyActivity(d, brazil);
    return Status::Ok();
  }
  const Row& res = *results;
  d.Raw("<identificacaoImovel");
  d.Lit("tipoItens", brazil ? "serpro.ppgd.irpf.atividaderural.brasil.ImovelARBrasil"
                            : "serpro.ppgd.irpf.atividaderural.ImovelAR");
  d.Lit("ultimoIndiceGerado", "0");
  d.Raw(">");
  int index = 0;
  for (const Row& p : d.in.Of(Schedule::kRuralProperties)) {
    if (!OfFlag(p, flag) || Trim(RowText(p, "I2R_01")).empty()) continue;
    ++index;
    d.Raw("<item");
    d.NumF("area", RowNum(p, "I2R_02"), NumberFormat::kTenth);
    d.NumF("codigo", RowNum(p, "I2R_07"), NumberFormat::kWhole);
    d.NumF("condicaoExploracao", RowNum(p, "I2R_05"), NumberFormat::kWhole);
    d.NumF("indice", Decimal::FromInt(index), NumberFormat::kWhole);
    d.Conv("localizacao", RowText(p, "I2R_06"));
    if (brazil) d.Txt("nirf", RowText(p, "I2R_03"));
    d.Conv("nome", RowText(p, "I2R_01"));
    d.Amt("participacao", RowNum(p, "I2R_04"));
    d.Raw("/>");
    DODU_RETURN_IF_ERROR(d.Flush());
  }
  d.Raw("</identificacaoImovel>");

  auto r = [&](const char* field) { return RowNum(res, field); };
  if (brazil) {
    d.Raw("<receitasDespesas");
    d.Amt("totalDespesas", r("I4R_02"));
    d.Amt("totalReceita", r("I4R_01"));
    d.Raw(">");
    for (int mm = 1; mm <= 12; ++mm) {
      d.Raw("<" + PaddedMonth(mm));
      d.Amt("despesaCusteioInvestimento", RowNum(res, "I3_" + Mm(mm) + "OD"));
      d.Amt("receitaBrutaMensal", RowNum(res, "I3_" + Mm(mm) + "OR"));
      d.Raw("/>");
    }
    d.Raw("</receitasDespesas><apuracaoResultado");
    d.Amt("compensacaoPrejuizoExerciciosAnteriores", r("I4R_05"));
    d.Amt("despesaCusteio", r("I4R_02"));
    d.Amt("limiteVintePorCentoReceitaBruta", r("I4R_06"));
    d.Lit("opcaoFormaApuracao", Trim(RowText(res, "OPT_20")) == "S" ? "1" : "2");
    d.Amt("prejuizoCompensar", r("I5_08"));
    d.Amt("prejuizoExercicioAnterior", r("I4R_04"));
    d.Amt("receitaBrutaTotal", r("I4R_01"));
    d.Amt("receitaRecebidaContaVenda", r("I5_09"));
    d.Amt("resultadoI", r("I4R_03"));
    d.Amt("resultadoNaoTributavel", r("I6_10"));
    d.Amt("resultadoTributavel", Positive(r("I4R_07")));
    d.Amt("valorAdiantamento", r("I5_10"));
    d.Raw("/>");
  } else {
    std::vector<const Row*> foreign;
    Decimal receipts;
    for (const Row& p : d.in.Of(Schedule::kRuralProperties)) {
      if (!OfFlag(p, "N")) continue;
      foreign.push_back(&p);
      receipts += RowNum(p, "RECEXT");
    }
    d.Raw("<receitasDespesas");
    d.Lit("tipoItens", "serpro.ppgd.irpf.atividaderural.exterior.ReceitaDespesa");
    // The total of the foreign receipts (the old writer took the first
    // record's alone).
    d.Amt("totais", receipts);
    d.Raw(">");
    for (const Row* p : foreign) {
      std::string country(Trim(RowText(*p, "CODPAIS")));
      d.Raw("<item");
      d.Conv("descricaoPais", d.in.country_name ? d.in.country_name(country) : "");
      d.Amt("despesaCusteio", RowNum(*p, "DESEXT"));
      d.Txt("pais", country);
      d.Amt("receitaBruta", RowNum(*p, "RECEXT"));
      d.Amt("resultadoIMoedaOriginal", RowNum(*p, "RECEXT") - RowNum(*p, "DESEXT"));
      d.Amt("resultadoI_EmDolar", RowNum(*p, "RESUS"));
      d.Raw("/>");
    }
    d.Raw("</receitasDespesas><apuracaoResultado");
    d.Amt("compensacaoPrejuizoExerciciosAnteriores", r("I4R_05"));
    d.Amt("limiteVintePorCentoReceitaBruta", r("I4R_06"));
    d.Lit("opcaoFormaApuracao", Trim(RowText(res, "OPT_20E")) == "S" ? "1" : "2");
    d.Amt("prejuizoCompensar", r("I5_08"));
    d.Amt("prejuizoExercicioAnterior", r("I4R_04"));
    d.Amt("receitaRecebidaContaVenda", r("I5_09"));
    d.Amt("resultadoI_EmDolar", r("I4R_02"));
    d.Amt("resultadoI_EmReais", r("I4R_03"));
    d.Amt("resultadoNaoTributavel", r("I6_10"));
    d.Amt("resultadoTributavel", Positive(r("I4R_07")));
    d.Amt("valorAdiantamento", r("I5_10"));
    d.Raw("/>");
  }
  WriteHerd(d, results);
  DODU_RETURN_IF_ERROR(d.Flush());
  d.Raw("<dividas tipoItens=\"serpro.ppgd.irpf.atividaderural.DividaAR\">");
  for (const Row& debt : d.in.Of(Schedule::kRuralDebts)) {
    if (!OfFlag(debt, flag) || Trim(RowText(debt, "I9R_1")).empty()) continue;
    d.Raw("<item");
    d.Amt("contraidasAteExercicioAnterior", RowNum(debt, "I9R_2"));
    d.Amt("contraidasAteExercicioAtual", RowNum(debt, "I9R_3"));
    d.Conv("discriminacao", RowText(debt, "I9R_1"));
    d.Raw("/>");
  }
  d.Raw("</dividas>");
  return Status::Ok();
}

}  // namespace

Status WriteRural(Doc& d) {
  if (!d.Is("TEMRURAL", "S")) {
    d.Raw("<atividadeRural><brasil>");
    WriteEmptyActivity(d, true);
    d.Raw("</brasil><exterior>");
    WriteEmptyActivity(d, false);
    d.Raw(
        "</exterior><bens tipoItens=\"serpro.ppgd.irpf.atividaderural.BemAR\" "
        "ultimoIndiceGerado=\"0\"></bens>"
        "</atividadeRural>");
    return d.Flush();
  }
  d.Raw("<atividadeRural><brasil>");
  DODU_RETURN_IF_ERROR(WriteActivity(d, true));
  d.Raw("</brasil><exterior>");
  DODU_RETURN_IF_ERROR(WriteActivity(d, false));
  d.Raw("</exterior>");

  const auto& assets = d.in.Of(Schedule::kRuralAssets);
  d.Raw("<bens");
  d.Lit("tipoItens", "serpro.ppgd.irpf.atividaderural.BemAR");
  d.NumF("ultimoIndiceGerado", assets.empty() ? Decimal() : RowNum(assets.back(), "ITEM"),
         NumberFormat::kInt);
  d.Raw(">");
  for (const char* flag : {"S", "N"}) {
    const bool brazil = std::string_view(flag) == "S";
    for (const Row& a : assets) {
      if (!OfFlag(a, flag) || Trim(RowText(a, "I8R_1")).empty()) continue;
      const int code = IntOf(RowNum(a, "CODIGO"));
      d.Raw("<item");
      d.Lit("codigo", code == 0 ? "99" : Mm(code));
      d.Conv("discriminacao", RowText(a, "I8R_1"));
      d.NumF("indice", RowNum(a, "ITEM"), NumberFormat::kWhole);
      if (brazil) {
        d.Lit("nomePais", "105 - Brasil");
        d.Lit("pais", "105");
      } else {
        std::string country(Trim(RowText(a, "I8R_3")));
        d.Conv("nomePais",
               RowText(a, "I8R_3") + " - " + (d.in.country_name ? d.in.country_name(country) : ""));
        d.Txt("pais", RowText(a, "I8R_3"));
      }
      d.Amt("valor", RowNum(a, "I8R_2"));
      d.Raw("/>");
    }
  }
  d.Raw("</bens></atividadeRural>");
  return d.Flush();
}

}  // namespace dodu::handover::internal
