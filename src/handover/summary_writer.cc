// The summary (resumo) with the bank data and the automatic-debit choice, the
// funds of the child-and-adolescent and elderly statutes, the comparison of
// the models, the electoral donations and the departure.
#include <cstdio>

#include "core/codepage.h"
#include "core/id_format.h"
#include "core/ids.h"
#include "handover/internal/doc.h"

namespace dodu::handover::internal {
namespace {

struct BankData {
  std::string bank, agency, agency_digit, account, account_digit, operation;
  void Clear() { *this = BankData(); }
};

BankData ReadBank(const Doc& d) {
  BankData b;
  b.bank = d.Var("BANCO");
  std::string agency = d.Var("AGENCIA");
  std::string_view five =
      Trim(std::string_view(agency).substr(0, std::min<size_t>(5, agency.size())));
  if (!five.empty()) {
    auto n = core::Decimal::Parse(five);
    char buf[24];
    std::snprintf(buf, sizeof buf, "%04lld", static_cast<long long>(n ? n->ToScaled(0) : 0));
    b.agency = buf;
  }
  if (agency.size() >= 6) b.agency_digit = agency.substr(5, 1);
  std::string account = SemPonto(d.Var("CONTACO"));
  if (Trim(b.bank) == "104") {
    b.operation = account.substr(0, std::min<size_t>(3, account.size()));
    if (account.size() > 3) b.account = account.substr(3, 8);
    if (account.size() > 11) b.account_digit = account.substr(11, 1);
  } else {
    std::string t(Trim(account));
    if (!t.empty()) {
      b.account_digit = t.substr(t.size() - 1);
      b.account = t.substr(0, t.size() - 1);
    }
  }
  return b;
}

struct Debit {
  std::string indicator = "N";
  std::string first_quota;
};

// The automatic debit of the quotas; may ask the operator once.
Debit DecideDebit(Doc& d, BankData& bank) {
  Debit out;
  const int quotas = IntOf(d.Num("QTD_QUOTA"));
  const core::Date today = *core::Date::FromYmd(d.in.now.year, d.in.now.month, d.in.now.day);
  const bool late = !d.in.debit_deadline.IsBlank() && today > d.in.debit_deadline;
  if (d.VarT("DEBITAUT").empty() && quotas > 0 && !(quotas == 1 && late) && d.ask_debit) {
    // Asked once per hand-over: the old loop showed the box again and again
    // while the answer was 2.
    int answer =
        d.dialog.Choose({"Nao esta marcado a opcao para o debito automatico", " 1) Marque agora.",
                         " 2) Nao marque.  ", " 3) Nao pergunte mais nessa sessao "});
    if (answer == 3) d.ask_debit = false;
    if (answer == 1) {
      if (!Trim(bank.bank).empty() || !Trim(d.Var("AGENCIA")).empty()) {
        d.SetText("DEBITAUT", "S");
        d.changes.push_back({"DEBITAUT", core::Value(std::string("S"))});
      } else {
        d.dialog.Box(
            0, {core::Cp850("Para o débito automático é necessário o número do Banco/Agência")});
      }
    }
  }
  const std::string choice = d.VarT("DEBITAUT");
  if (choice == "N" || choice.empty()) {
    out.first_quota = "";
    if (quotas > 0) bank.Clear();
  } else if (choice == "S") {
    if (!late && quotas > 0) {
      out.indicator = "autorizado";
      out.first_quota = "1";
    } else if (late && quotas == 1) {
      d.dialog.Box(8, {core::Cp850("Não é possível o débito automático da quota única"),
                       core::Cp850("O dia limite foi ") + FormatDate(d.in.debit_deadline),
                       core::Cp850("Essa quota deverá paga na Agência Bancaria")});
      bank.Clear();
    } else if (late && quotas >= 2) {
      std::string last = quotas == 2 ? core::Cp850("A segunda quota estará  no débito automático.")
                                     : core::Cp850("As demais ") + std::to_string(quotas - 1) +
                                           core::Cp850(" quotas estarão no débito automático.");
      d.dialog.Box(0, {core::Cp850("Não será possível o débito automático da primeira quota"),
                       core::Cp850("A primeira quota deverá paga na Agência Bancaria"), last});
      out.indicator = "autorizado";
      out.first_quota = "0";
    }
  }
  return out;
}

void WriteFund(Doc& d, bool elderly) {
  const int code = elderly ? 49 : 39;
  const int count = elderly ? d.pay.idoso_count : d.pay.eca_count;
  if (elderly) {
    d.Raw("<colecaoEstatutoIdoso tipoItens=\"serpro.ppgd.irpf.doacaodeclaracao.EstatutoIdoso\"");
    d.Amt("totalDeducaoIncentivoBruto", d.pay.idoso_gross);
    d.Amt("totalDeducaoIncentivoLiquido", d.pay.idoso_net);
  } else {
    d.Raw(
        "<colecaoEstatutoCriancaAdolescente "
        "tipoItens=\"serpro.ppgd.irpf.doacaodeclaracao.EstatutoCriancaAdolescente\"");
    d.Amt("totalDeducaoIncentivoBruto", d.pay.eca_gross);
    d.Amt("totalDeducaoIncentivoLiquido", d.pay.eca_net);
  }
  d.Raw(">");
  if (count > 0) {
    for (const Row& r : d.in.Of(Schedule::kPayments)) {
      if (IntOf(RowNum(r, "I6_3")) != code) continue;
      const Decimal net = RowNum(r, "I6_4") - RowNum(r, "I6_5");
      if (!(net > Decimal())) continue;
      const std::string name(Trim(RowText(r, "I6_1")));
      std::string kind = "M", uf, city, city_code;
      const size_t dash = name.find(" - ");
      if (name.find("Nacional") != std::string::npos) {
        kind = "N";
      } else {
        if (dash != std::string::npos) {
          uf = name.substr(dash + 3, 2);
        } else if (name.size() >= 4) {
          uf = name.substr(2, 2);
        }
        if (name.find("Estadual") != std::string::npos) {
          kind = "E";
        } else {
          const size_t from = elderly ? 6 : 4;
          if (dash != std::string::npos && dash > from) city = name.substr(from, dash - from);
          city_code = RowText(r, "I6_2");
        }
      }
      const std::string digits = core::TiraPonto(RowText(r, "I6_2"));
      const std::string dv1 = core::Modulo11(digits, '0');
      const std::string dv2 = core::Modulo11(digits + dv1, '0');
      d.Raw("<item");
      d.Txt("cnpjFundo", RowText(r, "I6_2"));
      d.Lit("dvNumeroReferencia", dv1 + dv2);
      d.Conv("municipio", city_code);
      d.Conv("nomeMunicipio", city);
      d.Lit("tipoFundo", kind);
      d.Txt("uf", uf);
      d.Amt("valor", net);
      d.Raw("/>");
    }
  }
  d.Raw(elderly ? "</colecaoEstatutoIdoso>" : "</colecaoEstatutoCriancaAdolescente>");
}

}  // namespace

void WriteSummary(Doc& d) {
  d.Raw("<resumo><outrasInformacoes");
  d.Amt("bensDireitosExercicioAnterior", d.Num("I13_39"));
  d.Amt("bensDireitosExercicioAtual", d.Num("I13_40"));
  d.Amt("depositosJudiciais", d.dependants_judicial);
  d.Amt("dividasOnusReaisExercicioAnterior", d.Num("I13_41"));
  d.Amt("dividasOnusReaisExercicioAtual", d.Num("I13_42"));
  d.Amt("impostoDevidoGCAP", d.Num("I13_46"));
  d.Lit("impostoDevidoGCME", "0,00");
  d.Amt("impostoDevidoRendaVariavel", d.Num("I13_47"));
  d.Amt("impostoDiferidoGCAP", d.Num("I13_46"));
  d.Amt("impostoPagoGCAP", d.Num("I13_46"));
  d.Lit("impostoPagoME", "0,00");
  d.Amt("impostoPagoSobreRendaVariavel", d.Num("I13_47"));
  d.Amt("informacoesConjuge", d.Num("I13_43"));
  d.Amt("rendIsentosNaoTributaveis", d.Num("I13_44"));
  d.Amt("rendIsentosTributacaoExclusiva", d.Num("I13_45"));
  d.Amt("rendTributaveisExigibilidadeSuspensa", d.Num("I13_44"));
  d.Amt("totalDoacoesCampanhasEleitorais", d.pay.electoral);
  d.Amt("totalImpostoRetidoNaFonte", d.Num("I13_27") + d.Num("I13_28"));
  d.Raw("/>");

  Decimal discount = (d.Num("I13_08") * *Decimal::Parse("0.2")).Despreza(2);
  if (discount > d.in.simplified_discount_cap) discount = d.in.simplified_discount_cap;
  d.SetNum("DESPADRAO", discount);

  BankData bank = ReadBank(d);
  Debit debit = DecideDebit(d, bank);
  d.changes.push_back(
      {"DENTREGA", core::Value(*core::Date::FromYmd(d.in.now.year, d.in.now.month, d.in.now.day))});

  auto n = [&](const char* v) { return d.Num(v); };
  d.Raw("<calculoImposto");
  d.Txt("agencia", bank.agency);
  d.Lit("aliquotaEfetiva", "0,00");
  d.Txt("banco", bank.bank);
  d.Amt("baseCalculo", n("I13_20"));
  d.Amt("carneLeaoDependentes", n("I13_30"));
  d.Amt("carneLeaoTitular", n("I13_29"));
  d.Txt("contaCredito", bank.account);
  d.Amt("deducaoIncentivo", n("I13_22"));
  d.Amt("descontoSimplificado", discount);
  d.Txt("dvAgencia", bank.agency_digit);
  d.Txt("dvContaCredito", bank.account_digit);
  d.Amt("imposto", n("I13_21"));
  d.Amt("impostoComplementar", n("I13_31"));
  d.Amt("impostoDevido", n("I13_23"));
  d.Amt("impostoDevidoI", n("I13_23") - n("I13_24"));
  d.Amt("impostoDevidoII", n("I13_23") - n("I13_24"));
  d.Amt("impostoDevidoRRA", n("I13_25"));
  d.Lit("impostoEspecie", "0,00");
  d.Amt("impostoPagoExterior", n("I13_32"));
  d.Amt("impostoRestituir", n("I13_38"));
  d.Amt("impostoRetidoFonteDependentes", n("I13_28"));
  d.Amt("impostoRetidoFonteLei11033", n("I13_33"));
  d.Amt("impostoRetidoFonteTitular", n("I13_27"));
  d.Amt("impostoRetidoRRA", n("I13_34"));
  d.Txt("operacao", bank.operation);
  d.Amt("rendAcmDependentes", n("I13_06"));
  d.Amt("rendAcmTitular", n("I13_05"));
  d.Amt("rendPFEXTRecebidoDependentes", n("I13_04") + n("I13_50"));
  d.Amt("rendPFEXTRecebidoTitular", n("I13_03") + n("I13_49"));
  d.Amt("rendPJRecebidoDependentes", n("I13_02"));
  d.Amt("rendPJRecebidoTitular", n("I13_01"));
  d.Amt("resultadoTributavelAR", n("I13_07"));
  // The balance of tax to pay, as the attribute says (the old writer put the
  // number of quotas here).
  d.Amt("saldoImpostoPagar", n("I13_36"));
  d.Amt("totalContribEmpregadoDomestico", n("I13_24"));
  d.Amt("totalImpostoPago", n("I13_35"));
  d.Amt("totalResultadosTributaveis", n("I13_08"));
  d.Raw("><parcelamento");
  d.Txt("debitoAutomatico", debit.indicator);
  d.Txt("indicadorPrimeiraQuota", debit.first_quota);
  d.NumF("numQuotas", n("QTD_QUOTA"), NumberFormat::kWhole);
  d.Amt("valorQuota", n("I13_37"));
  d.Raw("/><identificadorDec");
  d.Raw(Identification(d));
  d.Raw("</calculoImposto><rendimentosTributaveisDeducoes");
  d.Amt("dependentes", n("I13_12"));
  d.Amt("despesasInstrucao", n("I13_13"));
  d.Amt("despesasMedicas", n("I13_14"));
  d.Amt("livroCaixa", n("I13_18"));
  d.Amt("pensaoAlimenticia", n("I13_15"));
  d.Amt("pensaoAlimenticiaRRA", n("I13_17"));
  d.Amt("pensaoCartoral", n("I13_16"));
  d.Amt("previdenciaFAPI", n("I13_11"));
  d.Amt("previdenciaOficial", n("I13_09"));
  d.Amt("previdenciaOficialRRA", n("I13_10"));
  d.Amt("rendRecebidoAcmDependentes", n("I13_06"));
  d.Amt("rendRecebidoAcmTitular", n("I13_05"));
  d.Amt("rendRecebidoPFEXTDependentes", n("I13_04") + n("I13_50"));
  d.Amt("rendRecebidoPFEXTTitular", n("I13_03") + n("I13_49"));
  d.Amt("rendRecebidoPJDependentes", n("I13_02"));
  d.Amt("rendRecebidoPJTitular", n("I13_01"));
  d.Amt("rendTributavelAR", n("I13_07"));
  d.Amt("totalDeducoes", n("I13_19"));
  d.Amt("totalRendimentos", n("I13_08"));
  d.Raw("/> <identificadorDeclaracao");
  d.Raw(Identification(d));
  d.Raw("</resumo>");
}

void WriteFundsComparisonDeparture(Doc& d) {
  WriteFund(d, false);
  WriteFund(d, true);
  auto n = [&](const char* v) { return d.Num(v); };
  d.Raw("<comparativo");
  d.Amt("baseCalcCompleta", n("I13_20"));
  d.Amt("baseCalcSimplificada", n("I13_08") - n("DESPADRAO"));
  d.Amt("impRestituirCompleta", n("I13_38"));
  d.Amt("impRestituirSimplificada", n("I13_31"));
  d.Amt("saldoPagarCompleta", n("I13_36"));
  d.Amt("saldoPagarSimplificada", n("I13_31"));
  d.Amt("totalRendTribCompleta", n("I13_08"));
  d.Amt("totalRendTribSimplificada", n("I13_08"));
  d.Raw("/>");

  d.Raw("<doacoesEleitorais");
  d.Lit("tipoItens", "serpro.ppgd.irpf.eleicoes.DoacaoEleitoral");
  d.Amt("totalDoacoes", d.pay.electoral);
  d.Raw(">");
  for (const Row& r : d.in.Of(Schedule::kPayments)) {
    if (IntOf(RowNum(r, "I6_3")) != 98) continue;
    d.Raw("<item");
    d.Txt("cnpj", RowText(r, "I6_2"));
    d.Conv("nome", SemPonto(RowText(r, "I6_1")));
    d.Amt("valor", RowNum(r, "I6_4"));
    d.Raw("/>");
  }
  d.Raw("</doacoesEleitorais>");

  d.Raw("<saida");
  d.Txt("cpfProcurador", d.Var("CPFINVENT"));
  d.Lit("dtCondicaoNaoResidente", FormatDate(d.Day("DATASAIDA")));
  d.Lit("dtCondicaoResidente", FormatDate(d.Day("DATADECIS")));
  d.Conv("endProcurador", d.Var("ENDINVENT").substr(0, 70));
  d.Conv("nomeProcurador", d.Var("NOMINVENT"));
  d.Raw("/>");
}

}  // namespace dodu::handover::internal
