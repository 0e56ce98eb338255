// Assets (bens) with the heirs' shares, debts (dividas) and the estate
// (espolio).
#include "core/codepage.h"
#include "core/id_format.h"
#include "handover/internal/doc.h"

namespace dodu::handover::internal {
namespace {

// The item number of a list: that of the last record that has one.
Decimal LastNumber(const std::vector<Row>& rows, std::string_view field) {
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
    Decimal n = RowNum(*it, field);
    if (!n.IsZero()) return n;
  }
  return {};
}

std::string RegistryOf(const Row& r, int code, bool abroad) {
  switch (code) {
    case 1:
    case 2:
    case 3:
    case 11:
    case 12:
    case 13:
    case 15:
    case 18:
    case 19:
      return RowText(r, "REG_IPTU");
    case 14: {
      std::string nirf = RowText(r, "REG_NIRF");
      return Trim(nirf) == "00000000" ? std::string(8, ' ') : nirf;
    }
    case 21:
      return RowText(r, abroad ? "REG_AVI" : "RENAVAM");
    case 22:
      return RowText(r, "REG_AVI");
    case 23:
      return RowText(r, "REG_BAR");
    default:
      return "";
  }
}

void WriteAsset(Doc& d, const Row& r) {
  const bool abroad = Trim(RowText(r, "I7_7")) == "S";
  const std::string bank(Trim(RowText(r, "NROBANCO")));
  const std::string account = RowText(r, "CONTABAN");
  std::string operation, number;
  if (bank == "104") {
    operation = account.substr(0, 3);
    number = account.size() > 5 ? account.substr(5, 8) : "";
    if (Trim(operation).empty()) {
      d.dialog.Box(0, {core::Cp850("A conta da caixa deve ser preenchida "),
                       core::Cp850("com todos os dígitos de modo que os  "),
                       core::Cp850("três primeiros digitos seja a operação")});
    }
  } else {
    number = account;
  }
  const std::string dependant = RowTrimmed(r, "CPFDEP");
  const bool own = dependant.empty() || dependant == Trim(d.in.cpf);
  const std::string registered(Trim(RowText(r, "REGISTRO")));
  const std::string unit(Trim(RowText(r, "UNIDADE")));
  const int code = IntOf(RowNum(r, "I7_5"));

  d.Raw("<item");
  d.Txt("agencia", RowText(r, "AGENCBAN"));
  d.Amt("areaTotal", RowNum(r, "AREAIMO"));
  d.Conv("bairro", RowText(r, "BAIRIMO"));
  d.Conv("banco", RowText(r, "NROBANCO"));
  d.Lit("cep", FormatCep(RowText(r, "CEPIMO")));
  d.Attr("cidade",
         abroad ? PoeAspas(RowText(r, "MUNICIMO"), Closing::kNone, TextMode::kConverted) : "\"\"");
  d.Lit("codigo", Mm(code));
  d.Conv("complemento", RowText(r, "COMPIMO"));
  d.Txt("conta", number);
  d.Lit("cpfBeneficiario",
        dependant == Trim(d.in.cpf) && !dependant.empty() ? "" : FormatCpf(dependant));
  d.Lit("dataAquisicao", FormatDate(RowDate(r, "DATA_IMO")));
  d.Conv("discriminacao", RowText(r, "I7_2"));
  d.Txt("dvConta", RowText(r, "DVBAN"));
  d.NumF("indice", RowNum(r, "I7_1"), NumberFormat::kInt);
  d.Conv("logradouro", RowText(r, "ENDEIMO"));
  d.Conv("matricula", RowText(r, "MATRICU"));
  d.Conv("municipio", RowText(r, "CODMIMO"));
  d.Txt("niEmpresa", core::ContaPonto(RowText(r, "CPF_CNPJ")));
  d.Attr("nomeCartorio",
         registered == "S" ? PoeAspas(RowText(r, "CARTORIO"), Closing::kNone, TextMode::kConverted)
                           : "\"\"");
  d.Attr("nomeMunicipio",
         abroad ? "\"\"" : PoeAspas(RowText(r, "MUNICIMO"), Closing::kNone, TextMode::kConverted));
  if (abroad) {
    std::string country(Trim(RowText(r, "I7_8")));
    std::string name = d.in.country_name ? d.in.country_name(country) : "";
    d.Conv("nomePais", RowText(r, "I7_8") + " - " + name);
  } else {
    d.Lit("nomePais", "105 - Brasil");
  }
  d.Conv("numero", RowText(r, "NUMIMO"));
  d.Attr("operacao", abroad ? "\"\"" : PoeAspas(operation, Closing::kNone));
  d.Attr("pais", abroad ? PoeAspas(RowText(r, "I7_8"), Closing::kNone) : "\"105\"");
  d.Lit("registrado", registered == "N" ? "0" : registered == "S" ? "1" : "2");
  d.Conv("registroBem", RegistryOf(r, code, abroad));
  d.Lit("tipo", own ? "T" : "D");
  d.Txt("uf", RowText(r, "UFIMO"));
  d.Lit("unidade", unit == "S" ? "0" : unit == "N" ? "1" : "2");
  d.Amt("valorExercicioAnterior", RowNum(r, "I7_3"));
  d.Amt("valorExercicioAtual", RowNum(r, "I7_4"));
  d.Raw(">");

  d.Raw(
      "<participacoesInventario "
      "tipoItens=\"serpro.ppgd.irpf.bens.ItemPercentualParticipacaoInventario\"");
  if (d.Is("DECFINAL", "S")) {
    const Decimal ref = RowNum(r, "I7_6");
    Decimal total;
    for (const Row& h : d.in.Of(Schedule::kHeirShares)) {
      if (RowNum(h, "REFEREN") == ref) total += RowNum(h, "PERCENT");
    }
    d.NumF("totalPercentual", total, NumberFormat::kWhole);
    d.Raw(">");
    if (total > Decimal()) {
      for (const Row& h : d.in.Of(Schedule::kHeirShares)) {
        if (RowNum(h, "REFEREN") != ref) continue;
        d.Raw("<item");
        d.Txt("ni", RowText(h, "CPFHERDE"));
        d.Conv("nome", RowText(h, "NOMEDEPEN"));
        d.Amt("percentual", RowNum(h, "PERCENT"));
        d.Raw("/>");
      }
    }
    d.Raw("</participacoesInventario>");
  } else {
    d.Raw(" totalPercentual=\"0,00\"/>");
  }
  d.Raw("</item>");
}

}  // namespace

Status WriteAssetsAndDebts(Doc& d) {
  const auto& assets = d.in.Of(Schedule::kAssets);
  const Decimal last = LastNumber(assets, "I7_1");
  d.Raw("<bens");
  d.Lit("tipoItens", "serpro.ppgd.irpf.bens.Bem");
  d.Amt("totalExercicioAnterior", d.Num("I13_39"));
  d.Amt("totalExercicioAtual", d.Num("I13_40"));
  d.NumF("totalItens", last, NumberFormat::kInt);
  d.NumF("ultimoIndiceGerado", last, NumberFormat::kInt);
  d.Raw(">");
  for (const Row& r : assets) {
    if (Trim(RowText(r, "I7_2")).empty()) continue;
    WriteAsset(d, r);
    DODU_RETURN_IF_ERROR(d.Flush());
  }
  d.Raw("</bens>");
  DODU_RETURN_IF_ERROR(d.Flush());

  const auto& debts = d.in.Of(Schedule::kDebts);
  Decimal before, now, paid;
  for (const Row& r : debts) {
    before += RowNum(r, "I8_3");
    now += RowNum(r, "I8_4");
    paid += RowNum(r, "I8_7");
  }
  d.SetNum("I13_41", before);
  d.SetNum("I13_42", now);
  d.SetNum("I13_51", paid);
  d.Raw("<dividas");
  d.Lit("tipoItens", "serpro.ppgd.irpf.dividas.Divida");
  d.Amt("totalExercicioAnterior", before);
  d.Amt("totalExercicioAtual", now);
  d.Amt("totalPgtoAnual", paid);
  d.NumF("ultimoIndiceGerado", LastNumber(debts, "I8_1"), NumberFormat::kInt);
  d.Raw(">");
  for (const Row& r : debts) {
    if (Trim(RowText(r, "I8_2")).empty()) continue;
    d.Raw("<item");
    d.Lit("codigo", Mm(IntOf(RowNum(r, "I8_5"))));
    d.Conv("discriminacao", RowText(r, "I8_2"));
    d.Amt("valorExercicioAnterior", RowNum(r, "I8_3"));
    d.Amt("valorExercicioAtual", RowNum(r, "I8_4"));
    d.Amt("valorPgtoAnual", RowNum(r, "I8_7"));
    d.Raw("/>");
    DODU_RETURN_IF_ERROR(d.Flush());
  }
  d.Raw("</dividas>");
  return Status::Ok();
}

void WriteEstate(Doc& d) {
  const bool administrator = !d.VarT("CPFINVENT").empty();
  const bool final_decl = d.Is("DECFINAL", "S");
  const char form = administrator ? (final_decl ? 'A' : 'B') : 'C';
  const bool a = form == 'A';
  auto conv = [](std::string_view v) { return PoeAspas(v, Closing::kNone, TextMode::kConverted); };
  auto text = [](std::string_view v) { return PoeAspas(v, Closing::kNone); };
  d.Raw("<espolio");
  d.Attr("anoObito", a ? ConvNro(d.Num("ANOOBITO"), Closing::kNone, NumberFormat::kInt) : "\"\"");
  d.Attr("comarca", a ? conv(d.Var("COMARCA")) : "\"\"");
  if (a) {
    d.Lit("ConjugeMeeiro", d.Is("MEEIRO", "S") ? "1" : "0");
  } else {
    d.Lit("conjugeMeeiro", form == 'B' ? "0" : "");
  }
  d.Attr("cpfInventariante", form == 'C' ? "\"\"" : text(d.Var("CPFINVENT")));
  d.Attr("dtDecisaoJud", a ? Doc::Q(FormatDate(d.Day("DATAPARTI"))) : "\"\"");
  d.Attr("dtTransito", a ? Doc::Q(FormatDate(d.Day("DATADECIS"))) : "\"\"");
  d.Attr("endInventariante", form == 'C' ? "\"\"" : conv(d.Var("ENDINVENT").substr(0, 70)));
  d.Attr("idVaraCivil", a ? conv(d.Var("VARACIVIL")) : "\"\"");
  const bool both_died = d.Is("MORTE2", "S");
  d.Lit(form == 'C' ? "inventarioConjunto" : "InventarioConjunto",
        a && both_died && d.Is("INVCONJ", "S") ? "1" : "0");
  d.Lit("morteAmbosConjuges", a && both_died ? "2" : "0");
  d.Attr("nomeConjugeCompanheiro", a ? conv(d.Var("NOMCOMPA")) : "\"\"");
  d.Attr("nomeInventariante", form == 'C' ? "\"\"" : conv(d.Var("NOMINVENT")));
  d.Attr("numProcessoJudicial", a ? text(d.Var("NROPROCES")) : "\"\"");
  d.Lit("tipoJudicial", a ? (d.Is("DECJUDI", "S") ? "1" : "0") : form == 'B' ? "1" : "");
  d.Attr("uf", form == 'C' ? "\"\"" : text(d.Var("UFPROCES")));
  d.Raw("><escrituracaoPublica");
  d.Attr("cnpjCartorio", a ? Doc::Q(FormatCnpj(d.Var("CNPJCARTO"))) : "\"\"");
  d.Attr("dataLavratura", a ? Doc::Q(FormatDate(d.Day("DATALAVRA"))) : "\"\"");
  d.Attr("folhas", a ? ConvNro(d.Num("FOLHCARTO"), Closing::kNone, NumberFormat::kInt) : "\"\"");
  d.Attr("livro", a ? ConvNro(d.Num("LIVRCARTO"), Closing::kNone, NumberFormat::kInt) : "\"\"");
  d.Attr("municipio", a ? conv(d.Var("MUNICARTO")) : "\"\"");
  d.Attr("nome", a ? conv(d.Var("NOMECARTO").substr(0, 60)) : "\"\"");
  d.Attr("uf", a ? text(d.Var("UFPROCES")) : "\"\"");
  d.Raw("/></espolio>");
}

}  // namespace dodu::handover::internal
