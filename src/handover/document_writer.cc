// The frame of the document (GERAR), the identification set and the first
// sections: taxpayer, dependants, alimony receivers and income from companies.
#include "handover/document_writer.h"

#include <cctype>

#include "core/codepage.h"
#include "handover/internal/doc.h"
#include "handover/value_formats.h"

namespace dodu::handover {
namespace internal {
namespace {

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

const char* kMonthNames[] = {"janeiro", "fevereiro", "marco",    "abril",   "maio",     "junho",
                             "julho",   "agosto",    "setembro", "outubro", "novembro", "dezembro"};

}  // namespace

const char* MonthName(int m) { return kMonthNames[m - 1]; }

std::string PaddedMonth(int m) {
  std::string s = MonthName(m);
  s.resize(9, ' ');
  return s;
}

std::string Mm(int m) {
  std::string s = std::to_string(m);
  return s.size() < 2 ? "0" + s : s;
}

int IntOf(const Decimal& d) { return static_cast<int>(d.ToScaled(0)); }

std::string Identification(const Doc& d) {
  auto a = [](std::string& s, std::string_view name, std::string_view quoted) {
    s += ' ';
    s += name;
    s += '=';
    s += quoted;
  };
  std::string s;
  a(s, "cpf", Doc::Q(d.ccpf));
  a(s, "dataUltimoAcesso", Doc::Q(FormatNow(d.in.now)));
  a(s, "declaracaoRetificadora", Doc::Q(d.Is("RETIFICA", "S") ? "1" : "0"));
  a(s, "enderecoDiferente", Doc::Q(d.Is("NOVOEND", "S") ? "1" : "0"));
  a(s, "exercicio", Doc::Q("20" + d.in.year_suffix));
  const char* flags[][2] = {{"inNovaDeclaracao", "0"},
                            {"inUtilizouAPP", "0"},
                            {"inUtilizouAssistidaFontePagadora", "0"},
                            {"inUtilizouAssistidaPlanoSaude", "0"},
                            {"inUtilizouOnLine", "0"},
                            {"inUtilizouPGD", "1"},
                            {"inUtilizouRascunho", "0"},
                            {"inUtilizouSalvarRecuperarOnLine", "0"}};
  for (auto& f : flags) a(s, f[0], Doc::Q(f[1]));
  a(s, "nome", PoeAspas(d.Var("NOMECONTR"), Closing::kNone, TextMode::kConverted));
  a(s, "numReciboDecRetif", PoeAspas(d.Var("NRORECIBO"), Closing::kNone));
  a(s, "numReciboTransmitido", Doc::Q("0000000000"));
  a(s, "numeroReciboDecAnterior", PoeAspas(d.Var("RECIBOANT"), Closing::kNone));
  a(s, "prepreenchida", Doc::Q("0"));
  const char* result = "IAR";
  if (d.Num("I13_38").IsZero()) result = d.Num("I13_36").IsZero() ? "SSI" : "IAP";
  a(s, "resultadoDeclaracao", Doc::Q(result));
  a(s, "tipoDeclaracao", Doc::Q(d.Is("USAPADRAO", "S") ? "1" : "0"));
  const char* aes = d.Is("DECFINAL", "S") ? "E" : (d.Is("DECSAIDA", "S") ? "S" : "A");
  a(s, "tipoDeclaracaoAES", Doc::Q(aes));
  a(s, "tpIniciada", Doc::Q("1"));
  a(s, "transmitida", Doc::Q("0"));
  a(s, "versaoBeta", Doc::Q("N"));
  s += "/>";
  return s;
}

namespace {

void WriteTaxpayer(Doc& d) {
  const bool abroad = d.Is("EXTERIOR", "S");
  const bool novreg = LogicalOf(FindVar(d.vars, "NOVREG"));
  auto both = [&](std::string_view here, std::string_view ext, std::string quoted) {
    d.Attr(here, abroad ? "\"\"" : quoted);
    d.Attr(ext, abroad ? quoted : "\"\"");
  };
  auto conv = [](std::string_view v) { return PoeAspas(v, Closing::kNone, TextMode::kConverted); };
  auto text = [](std::string_view v) { return PoeAspas(v, Closing::kNone); };

  // Area code: only 10..99 is a Brazilian area code (100 was let through).
  std::string ddd;
  if (!abroad) {
    std::string raw = d.VarT("DDDTEL");
    auto n = core::Decimal::Parse(raw);
    int value = n ? IntOf(*n) : 0;
    if (!raw.empty() && value != 0) {
      if (value < 10 || value > 99 || !n) {
        d.changes.push_back({"DDDTEL", core::Value(std::string())});
        d.SetText("DDDTEL", "");
        d.dialog.Box(8, {core::Cp850("Confira o número do DDD")});
      } else {
        ddd = std::to_string(value);
      }
    }
  }
  std::string deficient = d.VarT("E_INVALIDO");
  if (deficient.empty()) {
    deficient = "N";
    d.SetText("E_INVALIDO", "N");
  }

  d.Raw("<contribuinte");
  std::string bairro = d.Var("BAIRRO").substr(0, 19);
  both("bairro", "bairroExt", conv(bairro));
  d.Attr("celular", novreg ? text(d.Var("TELCELU")) : "\"\"");
  d.Attr("cep", abroad ? "\"\"" : Doc::Q(FormatCep(d.Var("CEP"))));
  d.Attr("cepExt", abroad ? text(d.Var("CEP")) : "\"\"");
  d.Conv("cidade", d.Var("MUNICIPIO"));
  d.Attr("codigoExterior", abroad ? text(d.Var("CODEMB")) : "\"\"");
  both("complemento", "complementoExt", conv(d.Var("COMPLEM")));
  d.Lit("conjuge", d.VarT("CPFCONJU").empty() ? "0" : "1");
  d.Lit("cpfConjuge", FormatCpf(d.Var("CPFCONJU")));
  d.Attr("cpfProcurador", abroad ? Doc::Q(FormatCpf(d.Var("PROCBRASIL"))) : "\"\"");
  d.Lit("dataNascimento", FormatTrimmedDate(d.Day("NASCIMENTO")));
  d.Attr("ddd", abroad ? "\"\"" : Doc::Q(ddd));
  if (!abroad) d.Attr("dddCelular", novreg ? Doc::Q(ddd) : "\"\"");
  d.Attr("ddi", abroad ? text(d.Var("DDDTEL")) : "\"\"");
  d.Txt("deficiente", deficient);
  d.Attr("email", novreg ? text(d.Var("EMAIL")) : "\"\"");
  d.Lit("exterior", d.Is("EBRASIL", "N") ? "1" : "0");
  both("logradouro", "logradouroExt", conv(d.Var("ENDERECO")));
  std::string muni;
  if (!abroad && d.in.municipality_code) {
    muni = d.in.municipality_code(Upper(std::string(Trim(d.Var("MUNICIPIO")))), d.VarT("UF"));
  }
  d.Attr("municipio", abroad ? "\"\"" : text(muni));
  d.Conv("naturezaOcupacao", d.Var("CODAT"));
  d.Attr("nomePais", abroad ? text(d.Var("CODPAIS")) : "\"\"");
  both("numero", "numeroExt", conv(d.Var("NUMERO")));
  d.Conv("ocupacaoPrincipal", d.Var("CDPRO"));
  d.Attr("pais", abroad ? text(d.Var("CODPAIS")) : "\"105\"");
  d.Conv("registroProfissional", d.Var("REGPROF"));
  both("telefone", "telefoneExt", text(d.Var("TELEFO")));
  d.Attr("tipoLogradouro",
         abroad ? "\"\"" : Doc::Q(Upper(FormatText(d.Var("TIPOEND"), TextMode::kConverted))));
  d.Txt("tituloEleitor", d.Var("TITULO"));
  d.Attr("uf", abroad ? "\"\"" : text(d.Var("UF")));
  d.Raw("/>");
}

void WriteDependants(Doc& d) {
  d.Raw("<dependentes tipoItens=\"serpro.ppgd.irpf.dependentes.Dependente\">");
  for (const Row& r : d.in.Of(Schedule::kDependants)) {
    int code = IntOf(RowNum(r, "CODIDEPEN"));
    if (Trim(RowText(r, "NOMEDEPEN")).empty() || code > 97) continue;
    d.Raw("<item");
    d.NumF("codigo", RowNum(r, "CODIDEPEN"), NumberFormat::kWhole);
    d.Lit("cpfDependente", FormatCpf(RowText(r, "CPFDEPEN")));
    d.Lit("dataNascimento", FormatDate(RowDate(r, "DATADEPEN")));
    d.Lit("indSaidaPaisMesmaData", Trim(RowText(r, "SAIUJUNT")) == "S" ? "1" : "");
    d.Conv("nome", RowText(r, "NOMEDEPEN"));
    d.Raw("/>");
  }
  d.Raw("</dependentes>");

  d.Raw("<alimentandos tipoItens=\"serpro.ppgd.irpf.alimentandos.Alimentando\">");
  d.ndep = 0;
  for (const Row& r : d.in.Of(Schedule::kDependants)) {
    int code = IntOf(RowNum(r, "CODIDEPEN"));
    if (Trim(RowText(r, "NOMEDEPEN")).empty() || code < 97 || code > 99) continue;
    d.Raw("<item");
    d.Lit("cpf", FormatCpf(RowText(r, "CPFDEPEN")));
    d.Lit("dtNascimento", FormatDate(RowDate(r, "DATADEPEN")));
    d.Conv("nome", RowText(r, "NOMEDEPEN"));
    d.Lit("residente", code == 98 ? "1" : "0");
    d.Raw("/>");
    ++d.ndep;
  }
  d.Raw("</alimentandos>");
}

// The pass over the income lines from companies (titular "J", dependants "D").
void SumCompanyIncome(Doc& d) {
  Decimal i4_01, i4_06;
  for (const Row& r : d.in.Of(Schedule::kIncome)) {
    std::string kind(Trim(RowText(r, "I1_1")));
    if (kind != "J" && kind != "D") continue;
    CompanyTotals& t = kind == "J" ? d.titular : d.dependants;
    Decimal income = RowNum(r, "I1_4");
    t.income += income;
    if (RowNum(r, "I1_18") > Decimal()) {
      t.sick_withheld += RowNum(r, "I1_5");
      t.sick_social += RowNum(r, "I1_6");
      t.sick_thirteenth += RowNum(r, "I1_7");
      t.sick_thirteenth_tax += RowNum(r, "I1_39");
    } else {
      t.withheld += RowNum(r, "I1_5");
      t.social += RowNum(r, "I1_6");
      t.thirteenth += RowNum(r, "I1_7");
      t.thirteenth_tax += RowNum(r, "I1_39");
      (kind == "J" ? i4_01 : i4_06) += RowNum(r, "I1_7");
    }
    if (income > Decimal() && income > t.largest) {
      t.largest = income;
      t.largest_payer = RowText(r, "I1_3");
    }
  }
  d.SetNum("I4_01", i4_01);
  d.SetNum("I4_06", i4_06);
}

}  // namespace

void WriteRendPJ(Doc& d) {
  d.Raw("<rendPJ");
  d.Amt("totalRendRecebPessoaJuridica", d.titular.income + d.dependants.income);
  d.Raw(">");
  for (int holder = 0; holder < 2; ++holder) {
    const bool tit = holder == 0;
    const CompanyTotals& t = tit ? d.titular : d.dependants;
    const char* element = tit ? "colecaoRendPJTitular" : "colecaoRendPJDependente";
    d.Raw("<");
    d.Raw(element);
    d.Txt("niMaiorFontePagadora", t.largest_payer);
    d.Lit("tipoItens", "serpro.ppgd.irpf.rendpj.RendPJTitular");
    d.Amt("totaisContribuicaoPrevOficial", t.social);
    d.Amt("totaisDecimoTerceiro", d.Num(tit ? "I4_01" : "I4_06"));
    d.Amt("totaisIRRFDecimoTerceiro", t.thirteenth_tax);
    d.Amt("totaisImpostoRetidoFonte", t.withheld);
    d.Amt("totaisRendRecebidoPJ", t.income);
    d.Raw(">");
    for (const Row& r : d.in.Of(Schedule::kIncome)) {
      if (Trim(RowText(r, "I1_1")) != (tit ? "J" : "D")) continue;
      if (RowNum(r, "I1_18") > Decimal()) continue;
      if (Trim(RowText(r, "I1_2")).empty() && Trim(RowText(r, "I1_3")).empty()) continue;
      if (RowNum(r, "I1_4").IsZero() && RowNum(r, "I1_5").IsZero() && RowNum(r, "I1_6").IsZero() &&
          RowNum(r, "I1_7").IsZero()) {
        continue;
      }
      d.Raw("<item");
      d.Amt("IRRFDecimoTerceiro", RowNum(r, "I1_39"));
      d.Txt("NIFontePagadora", RowText(r, "I1_3"));
      d.Amt("contribuicaoPrevOficial", RowNum(r, "I1_6"));
      if (tit) {
        d.Lit("dataComunicacaoSaida", FormatTrimmedDate(RowDate(r, "DT_LC")));
      } else {
        d.Lit("cpfDependente", FormatCpf(RowText(r, "I1_8")));
      }
      d.Amt("decimoTerceiro", RowNum(r, "I1_7"));
      d.Amt("impostoRetidoFonte", RowNum(r, "I1_5"));
      d.Conv("nomeFontePagadora", RowText(r, "I1_2"));
      d.Amt("rendRecebidoPJ", RowNum(r, "I1_4"));
      d.Raw("/>");
    }
    d.Raw("</");
    d.Raw(element);
    d.Raw(">");
  }
  d.Raw("</rendPJ>");

  d.Raw("<rendPJComExigibilidade>");
  for (int holder = 0; holder < 2; ++holder) {
    const bool tit = holder == 0;
    const char* kind = tit ? "J" : "D";
    const char* element =
        tit ? "colecaoRendPJComExigibilidadeTitular" : "colecaoRendPJComExigibilidadeDependente";
    Decimal deposits, suspended;
    for (const Row& r : d.in.Of(Schedule::kIncome)) {
      if (Trim(RowText(r, "I1_1")) != kind) continue;
      deposits += RowNum(r, "I1_20");
      suspended += RowNum(r, "I1_19");
    }
    if (!tit) d.dependants_judicial = deposits;
    d.Raw("<");
    d.Raw(element);
    d.Lit("tipoItens", "serpro.ppgd.irpf.rendpjexigibilidade.RendPJComExigibilidadeTitular");
    d.Amt("totaisDepositoJudicial", deposits);
    d.Amt("totaisRendPJExigSuspensa", suspended);
    d.Raw(">");
    if (deposits > Decimal() || suspended > Decimal()) {
      for (const Row& r : d.in.Of(Schedule::kIncome)) {
        if (Trim(RowText(r, "I1_1")) != kind) continue;
        if (!(RowNum(r, "I1_19") > Decimal()) && !(RowNum(r, "I1_20") > Decimal())) continue;
        d.Raw("<item");
        d.Txt("NIFontePagadora", RowText(r, "I1_3"));
        if (!tit) d.Lit("cpfDependente", FormatCpf(RowText(r, "I1_8")));
        d.Amt("depositoJudicial", RowNum(r, "I1_20"));
        d.Conv("nomeFontePagadora", RowText(r, "I1_2"));
        d.Amt("rendExigSuspensa", RowNum(r, "I1_19"));
        d.Raw("/>");
      }
    }
    d.Raw("</");
    d.Raw(element);
    d.Raw(">");
  }
  d.Raw("</rendPJComExigibilidade>");
}

Status WriteTaxpayerToIncome(Doc& d) {
  d.matdep.clear();
  d.nqt_depend = 0;
  for (const Row& r : d.in.Of(Schedule::kDependants)) {
    int code = IntOf(RowNum(r, "CODIDEPEN"));
    if (code != 100) d.matdep.push_back(&r);
    if (code < 97) ++d.nqt_depend;
  }
  SumCompanyIncome(d);
  WriteTaxpayer(d);
  WriteDependants(d);
  WriteRendPJ(d);
  WritePersonIncome(d);
  WriteCumulativeIncome(d);
  WriteExemptAndExclusive(d);
  return d.Flush();
}

}  // namespace internal

std::string IdentificationSet(const Snapshot& in, const core::Variables& vars) {
  // The identification reads the variables only: nothing is asked or set.
  struct Silent final : Dialog {
    void TitledBox(int, const std::vector<std::string>&, const std::string&) override {}
    void StatusLine(const std::string&) override {}
    void Beep() override {}
    bool Confirm(const std::vector<std::string>&) override { return false; }
    int Choose(const std::vector<std::string>&) override { return 0; }
  } silent;
  internal::Doc d(in, const_cast<core::Variables&>(vars), silent,
                  [](std::string_view) { return Status::Ok(); });
  d.ccpf = FormatCpf(in.cpf);
  return internal::Identification(d);
}

Result<WriteOutcome> WriteDeclaration(const Snapshot& in, core::Variables& vars, Dialog& dialog,
                                      const std::function<Status(std::string_view)>& sink,
                                      const WriteOptions& options) {
  using internal::Doc;
  Doc d(in, vars, dialog, sink);
  d.ask_debit = options.ask_debit;
  d.ccpf = FormatCpf(in.cpf);
  d.Raw("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
  d.Raw("<classe");
  d.Lit("xmlns", kDeclarationNamespace);
  d.Lit("classeJava", "serpro.ppgd.irpf.DeclaracaoIRPF");
  d.Lit("dataHoraSalvamento", FormatNow(in.now));
  d.Raw(">");
  DODU_RETURN_IF_ERROR(internal::WriteTaxpayerToIncome(d));
  internal::WriteTaxPaidAndHeirs(d);
  internal::WritePaymentsAndDonations(d);
  DODU_RETURN_IF_ERROR(d.Flush());
  DODU_RETURN_IF_ERROR(internal::WriteAssetsAndDebts(d));
  internal::WriteEstate(d);
  internal::WriteSummary(d);
  internal::WriteFundsComparisonDeparture(d);
  DODU_RETURN_IF_ERROR(internal::WriteVariableIncome(d));
  DODU_RETURN_IF_ERROR(internal::WriteRural(d));
  internal::WriteEmptyGains(d);
  DODU_RETURN_IF_ERROR(d.Flush());
  d.Raw("<copiaIdentificador");
  d.Raw(internal::Identification(d));
  d.Raw("</classe>");
  DODU_RETURN_IF_ERROR(d.Flush());
  WriteOutcome out;
  out.register_changes = std::move(d.changes);
  out.ask_debit_again = d.ask_debit;
  return out;
}

Result<std::string> DeclarationText(const Snapshot& in, core::Variables& vars, Dialog& dialog,
                                    const WriteOptions& options) {
  std::string text;
  auto r = WriteDeclaration(
      in, vars, dialog,
      [&](std::string_view piece) {
        text += piece;
        return Status::Ok();
      },
      options);
  if (!r.ok()) return r.status();
  return text;
}

}  // namespace dodu::handover
