// Payments and donations (pagamentos, doacoes) with the totals the summary
// reads again.
#include <cstdio>

#include "core/codepage.h"
#include "handover/internal/doc.h"

namespace dodu::handover::internal {
namespace {

std::string TwoPlaces(int n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%2d", n);
  return buf;
}

bool Named(const Row& r) { return !Trim(RowText(r, "I6_1")).empty(); }
int CodeOf(const Row& r) { return IntOf(RowNum(r, "I6_3")); }

void SumPayments(Doc& d) {
  PaymentTotals& p = d.pay;
  p = PaymentTotals();
  const bool complete = d.Is("USAPADRAO", "N");
  Decimal education, medical, alimony, pension, incentive;
  for (const Row& r : d.in.Of(Schedule::kPayments)) {
    const int code = CodeOf(r);
    const Decimal paid = RowNum(r, "I6_4");
    const Decimal back = RowNum(r, "I6_5");
    if (code == 98) p.electoral += paid;
    if (!Named(r) || code == 90 || code == 98) continue;
    ++p.counted;
    if (code == 1 || code == 2) education += paid;
    if (code >= 8 && code <= 26) medical += paid - back;
    if (code == 30 || code == 31) alimony += paid;
    if (code == 33 || code == 34) p.alimony_deed += paid;
    if (code == 36 || code == 38) pension += paid;
    if (code == 37) {
      p.sponsor += back;
      p.funpresp += paid;
      if (paid > back) pension += paid - back;
    }
    if (!complete) continue;
    if (code == 39) {
      p.eca_gross += paid;
      p.eca_net += paid - back;
      ++p.eca_count;
    }
    if (code == 49) {
      p.idoso_gross += paid;
      p.idoso_net += paid - back;
      ++p.idoso_count;
    }
    if (code >= 40 && code <= 46) {
      incentive += paid;
      ++p.donation_count;
    }
  }
  d.SetNum("I13_13T", education);
  d.SetNum("I13_14", medical);
  d.SetNum("I13_15", alimony);
  d.SetNum("I13_11T", pension);
  d.SetNum("I13_22T", incentive);
}

int OfficialCode(int code) {
  static const int kOfficial[] = {60, 61, 62, 66, 70, 76, 99};  // internal 91..97
  return code >= 91 && code <= 97 ? kOfficial[code - 91] : code;
}

// A line the payments list writes as an item.
bool Listed(const Row& r) {
  const int code = CodeOf(r);
  if (!Named(r) || code == 0 || code == 90 || code == 98 || RowNum(r, "I6_4").IsZero())
    return false;
  return !((code >= 39 && code <= 49) || code == 80 || code == 81 || code == 89);
}

bool Donation(const Row& r) {
  const int code = CodeOf(r);
  return (code >= 40 && code <= 48) || code == 80 || code == 81 || code == 89;
}

}  // namespace

void WritePaymentsAndDonations(Doc& d) {
  SumPayments(d);
  d.Raw("<pagamentos");
  d.Lit("tipoItens", "serpro.ppgd.irpf.pagamentos.Pagamento");
  d.Lit("totalContribEmpregadoDomestico", "0,00");
  d.Amt("totalContribuicaoFAPI", d.Num("I13_11T"));
  d.Amt("totalContribuicaoFunpresp", d.pay.funpresp);
  d.Amt("totalDeducoesInstrucao", d.Num("I13_13T"));
  d.Amt("totalDespesasMedicas", d.Num("I13_14"));
  d.Amt("totalPensao", d.Num("I13_15"));
  d.Amt("totalPensaoCartoral", d.pay.alimony_deed);
  // The highest index written: the count of named lines (less one) also
  // counted the lines left out for a missing code or value.
  int listed = 0;
  for (const Row& r : d.in.Of(Schedule::kPayments)) listed += Listed(r) ? 1 : 0;
  d.NumF("ultimoIndiceGerado", Decimal::FromInt(listed), NumberFormat::kInt);
  d.Raw(">");
  int number = 0, index = 0;
  for (const Row& r : d.in.Of(Schedule::kPayments)) {
    ++number;
    const int code = CodeOf(r);
    if (!Named(r)) {
      d.dialog.Box(
          8, {core::Cp850("ATENÇÃO! Falta nome do beneficiado nos Pagamentos Efetuados! Item ") +
              TwoPlaces(number)});
      continue;
    }
    if (code == 90 || code == 98) continue;
    if (code == 0) {
      d.dialog.Box(8, {core::Cp850("ATENÇÃO! Código em branco (0) nos Pagamentos Efetuados!Item ") +
                       TwoPlaces(number)});
      continue;
    }
    if (RowNum(r, "I6_4").IsZero()) {
      d.dialog.Box(8, {core::Cp850("ATENÇÃO! Falta valor nos Pagamentos Efetuados!Item ") +
                       TwoPlaces(number)});
      continue;
    }
    if (!Listed(r)) continue;
    ++index;
    const int official = OfficialCode(code);
    const int who = IntOf(RowNum(r, "I6_6"));
    const Row* entry = nullptr;
    if (code >= 1 && code <= 34) {
      for (const Row* dep : d.matdep) {
        if (IntOf(RowNum(*dep, "NRODEPEN")) == who) {
          entry = dep;
          break;
        }
      }
    }
    std::string kind = "T";
    if (who != 0) {
      int entry_code = entry ? IntOf(RowNum(*entry, "CODIDEPEN")) : 0;
      kind = entry_code == 98 || entry_code == 99 ? "A" : "D";
    }
    const std::string entry_cpf = entry ? RowText(*entry, "CPFDEPEN") : "";
    d.Raw("<item");
    d.Lit("codigo", Mm(official));
    d.Amt("contribuicaoEntePatrocinador", code == 37 ? d.pay.sponsor : Decimal());
    d.Lit("cpfAlimentando", kind == "A" && !(code >= 30 && code <= 34) ? FormatCpf(entry_cpf) : "");
    d.Lit("cpfDependente", kind == "D" ? FormatCpf(entry_cpf) : "");
    d.Conv("dependenteOuAlimentando", entry ? RowText(*entry, "NOMEDEPEN") : "");
    d.NumF("indice", Decimal::FromInt(index), NumberFormat::kInt);
    d.Txt("niBeneficiario", RowText(r, "I6_2"));
    d.Lit("nitEmpregadoDomestico", "");
    d.Conv("nomeBeneficiario", SemPonto(RowText(r, "I6_1")));
    d.Amt("parcelaNaoDedutivel", official < 30 ? RowNum(r, "I6_5") : Decimal());
    d.Lit("tipo", kind);
    d.Amt("valorPago", RowNum(r, "I6_4"));
    d.Raw("/>");
  }
  d.Raw("</pagamentos>");

  d.Raw("<doacoes");
  d.Lit("tipoItens", "serpro.ppgd.irpf.doacoes.Doacao");
  d.Amt("totalDeducaoIncentivo", d.Num("I13_22T"));
  // The highest index written (the old count left out the codes 47, 48, 80,
  // 81 and 89 it lists, and every donation of the simplified model).
  int donations = 0;
  for (const Row& r : d.in.Of(Schedule::kPayments)) donations += Donation(r) ? 1 : 0;
  d.NumF("ultimoIndiceGerado", Decimal::FromInt(donations), NumberFormat::kInt);
  d.Raw(">");
  int running = 0;
  for (const Row& r : d.in.Of(Schedule::kPayments)) {
    const int code = CodeOf(r);
    if (!Donation(r)) continue;
    ++running;
    d.Raw("<item");
    d.NumF("codigo", Decimal::FromInt(code == 89 ? 99 : code), NumberFormat::kInt);
    d.NumF("indice", Decimal::FromInt(running), NumberFormat::kInt);
    d.Conv("niBeneficiario", RowText(r, "I6_2"));
    d.Conv("nomeBeneficiario", SemPonto(RowText(r, "I6_1")));
    d.Lit("parcelaNaoDedutivel", "0,00");
    d.Amt("valorPago", RowNum(r, "I6_4"));
    d.Raw("/>");
  }
  d.Raw("</doacoes>");
}

}  // namespace dodu::handover::internal
