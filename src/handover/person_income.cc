// Income from persons and from abroad month by month (rendPFTitular,
// rendPFDependente with their contasAno) and income received cumulatively
// (rendAcm).
#include <array>
#include <string>

#include "handover/internal/doc.h"

namespace dodu::handover::internal {
namespace {

constexpr char kAllDependants[] = "99999999999";

// Rows 1..12 the months, 13 the year; M columns 3..9, P columns 1..3.
struct Months {
  std::array<std::array<Decimal, 10>, 14> m{};
  std::array<std::array<Decimal, 4>, 14> p{};
  void AddM(int month, int col, const Decimal& v) {
    m[month][col] += v;
    m[13][col] += v;
  }
  void AddP(int month, int col, const Decimal& v) {
    p[month][col] += v;
    p[13][col] += v;
  }
};

int PersonColumn(std::string_view kind) {
  if (kind == "T") return 1;
  if (kind == "A") return 2;
  if (kind == "O") return 3;
  return 0;
}

bool HolderLine(const Row& r, std::string_view flag, std::string_view key) {
  if (Trim(RowText(r, "I1_11")) != flag) return false;
  return key == kAllDependants || Trim(RowText(r, "I1_8")) == Trim(key);
}

bool MonthlyLineOf(const Row& r, std::string_view key) {
  const std::string cpf = RowTrimmed(r, "CPFDEPEN");
  return key == kAllDependants ? !cpf.empty() : cpf == Trim(key);
}

// BUSRENDPF: fills the tables for one holder; true when anything was found.
bool CollectPersonIncome(const Doc& d, std::string_view flag, std::string_view key, Months& t) {
  const int mode = IntOf(d.Num("CAL_AUTO"));
  const std::string default_kind = d.VarT("TIPO_PF");
  if (mode == 1 || mode == 3) {
    for (const Row& r : d.in.Of(Schedule::kIncome)) {
      if (!HolderLine(r, flag, key)) continue;
      std::string kind(Trim(RowText(r, "I1_1")));
      int mcol = kind == "P" ? 6 : kind == "E" ? 3 : kind == "L" ? 4 : 0;
      int pcol = 0;
      if (kind == "F") {
        std::string split(Trim(RowText(r, "I1_41")));
        if (!split.empty()) {
          pcol = PersonColumn(split);
        } else if (!Trim(RowText(r, "I1_3")).empty()) {
          pcol = 1;
        } else {
          pcol = PersonColumn(default_kind);
        }
      }
      if (mcol == 0 && pcol == 0) continue;
      auto add = [&](int month, const Decimal& v) {
        if (mcol) t.AddM(month, mcol, v);
        if (pcol) t.AddP(month, pcol, v);
      };
      if (mode == 1 || kind == "P" || kind == "E") {
        for (int mm = 1; mm <= 12; ++mm) add(mm, RowNum(r, "I1_4" + Mm(mm)));
      } else {
        core::Date date = RowDate(r, "DT_LC");
        if (!date.IsBlank()) add(date.month(), RowNum(r, "I1_4"));
      }
    }
  }
  const Decimal per_month = Decimal::FromInt(d.nqt_depend) * d.in.dependant_monthly_deduction;
  const bool named = key != kAllDependants;
  const bool receipts_only = LogicalOf(FindVar(d.vars, "SO_REC"));
  for (const Row& r : d.in.Of(Schedule::kMonthly)) {
    if (!MonthlyLineOf(r, key)) continue;
    for (int mm = 1; mm <= 12; ++mm) {
      if (mode == 2 || mode == 4) {
        int pcol = PersonColumn(default_kind);
        if (pcol) t.AddP(mm, pcol, RowNum(r, "I2_1" + Mm(mm)));
        t.AddM(mm, 3, RowNum(r, "I2_2" + Mm(mm)));
        t.AddM(mm, 4, RowNum(r, "I2_3" + Mm(mm)));
        Decimal deductions = RowNum(r, "I2_4" + Mm(mm));
        if (deductions == per_month) {
          t.AddM(mm, 5, deductions);
        } else if (deductions > per_month) {
          t.AddM(mm, 5, per_month);
          t.AddM(mm, 6, deductions - per_month);
        } else {
          t.AddM(mm, 6, deductions);
        }
      }
      Decimal paid = RowNum(r, "I2_5" + Mm(mm));
      Decimal carne = RowNum(r, "I2_6" + Mm(mm));
      t.AddM(mm, 9, carne);
      t.AddM(mm, 8, receipts_only || paid > carne ? paid : carne);
    }
    if (named) {
      // The dependants' deduction of a named holder is the monthly amount
      // per dependant, whatever the lines held.
      t.m[13][5] = Decimal();
      for (int mm = 1; mm <= 12; ++mm) {
        t.m[mm][5] = per_month;
        t.m[13][5] += per_month;
      }
    }
  }
  for (int col = 3; col <= 9; ++col) {
    if (t.m[13][col] > Decimal()) return true;
  }
  for (int col = 1; col <= 3; ++col) {
    if (t.p[13][col] > Decimal()) return true;
  }
  return false;
}

void AddAlimonyPaid(const Doc& d, Months& t) {
  for (const Row& r : d.in.Of(Schedule::kPayments)) {
    int code = IntOf(RowNum(r, "I6_3"));
    if (code < 30 || code > 34) continue;
    for (int mm = 1; mm <= 12; ++mm) t.AddM(mm, 7, RowNum(r, "I6_4" + Mm(mm)));
  }
}

const char* kCapitalMonths[] = {"Janeiro",  "Fevereiro", "Marco",    "Abril",
                                "Maio",     "Junho",     "Julho",    "Agosto",
                                "Setembro", "Outubro",   "Novembro", "Dezembro"};

// contasAno: the payments received from persons, month by month.
void WriteAccounts(Doc& d, std::string_view flag, std::string_view key, std::string_view holder_cpf,
                   const Months& t) {
  const int mode = IntOf(d.Num("CAL_AUTO"));
  d.Raw("<contasAno>");
  for (int mm = 1; mm <= 12; ++mm) {
    d.Raw("<");
    d.Raw(MonthName(mm));
    d.NumF("nomeMes", Decimal::FromInt(mm), NumberFormat::kWhole);
    d.Lit("tipoItens", "serpro.ppgd.irpf.rendpf.Conta");
    d.Amt("totalRendTrabNaoAssPF", t.p[mm][1]);
    d.Raw(">");
    auto item = [&](std::string_view beneficiary, std::string_view payer,
                    bool titular_is_beneficiary, const Decimal& value) {
      d.Raw("<item");
      d.Lit("cpfBeneficiarioServico", FormatCpf(beneficiary));
      d.Lit("cpfContribuinte", FormatCpf(holder_cpf));
      d.Lit("cpfTitularPagamento", FormatCpf(payer));
      d.Lit("dataMesAno", Mm(mm) + "20" + d.in.year_suffix);
      d.Lit("indBeneficiarioNaoPossuiCPF", "0");
      d.Lit("indTitularEhBeneficiario", titular_is_beneficiary ? "1" : "0");
      d.Lit("nomeMes", kCapitalMonths[mm - 1]);
      d.Amt("valor", value);
      d.Raw("/>");
    };
    if (t.p[mm][1] > Decimal()) {
      if (mode == 2 || mode == 4) {
        item("", "", true, t.p[mm][1]);
      } else {
        for (const Row& r : d.in.Of(Schedule::kIncome)) {
          if (!HolderLine(r, flag, key) || Trim(RowText(r, "I1_1")) != "F") continue;
          std::string split(Trim(RowText(r, "I1_41")));
          if (split == "A" || split == "O") continue;
          Decimal value;
          if (mode == 1) {
            value = RowNum(r, "I1_4" + Mm(mm));
          } else {
            core::Date date = RowDate(r, "DT_LC");
            if (date.IsBlank() || date.month() != mm || Trim(RowText(r, "TIPOCR")) == "D") continue;
            value = RowNum(r, "I1_4");
          }
          if (value.IsZero()) continue;
          std::string served(Trim(RowText(r, "I1_40")));
          std::string payer(Trim(RowText(r, "I1_3")));
          item(served.empty() ? payer : served, payer, served.empty() && !payer.empty(), value);
        }
      }
    }
    d.Raw("</");
    d.Raw(MonthName(mm));
    d.Raw(">");
  }
  d.Raw("</contasAno>");
}

// The attributes 2..11 of the totals (titular and dependants share them).
void WriteTotals(Doc& d, const Months& t, bool titular) {
  d.Amt("totalAlugueis", t.p[13][2]);
  d.Amt("totalDarfPago", t.m[13][8]);
  d.Amt("totalDependentes", titular ? t.m[13][5] : Decimal());
  d.Amt("totalExterior", t.m[13][3]);
  d.Lit("totalImpostoPagoExteriorCompensar", "0,00");
  d.Amt("totalLivroCaixa", t.m[13][4]);
  if (titular) d.Amt("totalNumDependentes", Decimal::FromInt(d.ndep));
  d.Amt("totalOutros", t.p[13][3]);
  d.Amt("totalPensao", titular ? t.m[13][7] : Decimal());
  d.Amt("totalPessoaFisica", t.p[13][1]);
  d.Amt("totalPrevidencia", t.m[13][6]);
}

void WriteMonths(Doc& d, const Months& t, bool titular) {
  for (int mm = 1; mm <= 12; ++mm) {
    d.Raw("<");
    d.Raw(MonthName(mm));
    d.Amt("alugueis", t.p[mm][2]);
    d.Amt("carneLeao", t.m[mm][9]);
    d.Amt("darfPago", t.m[mm][8]);
    Decimal persons = t.p[mm][1] + t.p[mm][2] + t.p[mm][3];
    d.Amt("dependentes", titular && persons > t.m[mm][5] ? t.m[mm][5] : Decimal());
    d.Amt("exterior", t.m[mm][3]);
    d.Lit("impostoPagoCompensarExterior", "0,00");
    d.Amt("livroCaixa", t.m[mm][4]);
    d.NumF("mes", Decimal::FromInt(mm - 1), NumberFormat::kWhole);
    if (titular) d.Amt("numDependentes", Decimal::FromInt(d.ndep));
    d.Amt("outros", t.p[mm][3]);
    d.Amt("pensao", titular ? t.m[mm][7] : Decimal());
    d.Amt("pessoaFisica", t.p[mm][1]);
    d.Amt("previdencia", t.m[mm][6]);
    d.Raw("/>");
  }
}

}  // namespace

void WritePersonIncome(Doc& d) {
  Months tit;
  CollectPersonIncome(d, "S", "", tit);
  AddAlimonyPaid(d, tit);
  d.Raw("<rendPFTitular");
  d.Txt("NITPISPASEP", d.Var("NIT_TIT"));
  WriteTotals(d, tit, true);
  d.Raw(">");
  WriteMonths(d, tit, true);
  if (tit.p[13][1] > Decimal()) WriteAccounts(d, "S", "", d.in.cpf, tit);
  d.Raw("</rendPFTitular>");

  Months all;
  if (d.matdep.empty() || !CollectPersonIncome(d, "N", kAllDependants, all)) {
    d.Raw("<rendPFDependente tipoItens=\"serpro.ppgd.irpf.rendpf.ItemRendPFDependente\"");
    for (const char* name : {"totalAlugueis", "totalDarfPago", "totalDependentes", "totalExterior",
                             "totalImpostoPagoExteriorCompensar", "totalLivroCaixa", "totalOutros",
                             "totalPensao", "totalPessoaFisica", "totalPrevidencia"}) {
      d.Lit(name, "0,00");
    }
    d.Raw("/>");
    return;
  }
  d.Raw("<rendPFDependente tipoItens=\"serpro.ppgd.irpf.rendpf.ItemRendPFDependente\"");
  WriteTotals(d, all, false);
  d.Raw(">");
  for (const Row* dep : d.matdep) {
    std::string cpf = RowText(*dep, "CPFDEPEN");
    Months one;
    if (!CollectPersonIncome(d, "N", cpf, one)) continue;
    d.Raw("<item");
    d.Lit("cpf", FormatCpf(cpf));
    d.Lit("fooValoresPreenchidos", "0,00");
    d.Raw("><rendimentos");
    d.Txt("NITPISPASEP", RowText(*dep, "NITDEPEN"));
    WriteTotals(d, one, false);
    d.Raw(">");
    WriteMonths(d, one, false);
    if (one.p[13][1] > Decimal()) WriteAccounts(d, "N", cpf, cpf, one);
    d.Raw("</rendimentos></item>");
  }
  d.Raw("</rendPFDependente>");
}

void WriteCumulativeIncome(Doc& d) {
  d.Raw("<rendAcm totalRendRecebAcumuladamente=\"0,00\">");
  for (int holder = 0; holder < 2; ++holder) {
    const bool tit = holder == 0;
    std::vector<const Row*> lines;
    for (const Row& r : d.in.Of(Schedule::kIncome)) {
      if (Trim(RowText(r, "I1_1")) != "A") continue;
      bool dependant_line = Trim(RowText(r, "I1_11")) == "N";
      if (dependant_line != !tit) continue;
      lines.push_back(&r);
    }
    // [0] both options, [1] adjustment, [2] exclusive.
    Decimal social[3], due_rra, withheld[3], alimony[3], received[3], exempt;
    for (const Row* r : lines) {
      int opt = Trim(RowText(*r, "TIPOCR")) == "S" ? 1 : 2;
      for (int k : {0, opt}) {
        social[k] += RowNum(*r, "I1_6");
        withheld[k] += RowNum(*r, "I1_5");
        alimony[k] += RowNum(*r, "I1_12");
        received[k] += RowNum(*r, "I1_25");
      }
      if (opt == 2) due_rra += RowNum(*r, "I1_20");
      exempt += RowNum(*r, "I1_17");
    }
    const char* element = tit ? "colecaoRendAcmTitular" : "colecaoRendAcmDependente";
    d.Raw("<");
    d.Raw(element);
    d.Lit("tipoItens", "serpro.ppgd.irpf.rendacm.RendAcmTitular");
    d.Amt("totaisContribuicaoPrevOficial", social[0]);
    d.Amt("totaisContribuicaoPrevOficialAjuste", social[1]);
    d.Amt("totaisContribuicaoPrevOficialExclusiva", social[2]);
    d.Amt("totaisImpostoDevidoRRA", due_rra);
    d.Amt("totaisImpostoRetidoFonte", withheld[0]);
    d.Amt("totaisImpostoRetidoFonteAjuste", withheld[1]);
    d.Amt("totaisImpostoRetidoFonteExclusiva", withheld[2]);
    d.Amt("totaisPensaoAlimenticia", alimony[0]);
    d.Amt("totaisPensaoAlimenticiaAjuste", alimony[1]);
    d.Amt("totaisPensaoAlimenticiaExclusiva", alimony[2]);
    d.Amt("totaisRendRecebidos", received[0]);
    d.Amt("totaisRendRecebidosAjuste", received[1]);
    d.Amt("totaisRendRecebidosExclusiva", received[2]);
    d.Raw(">");
    if (received[0] + exempt > Decimal()) {
      for (const Row* r : lines) {
        d.Raw("<item");
        d.Amt("contribuicaoPrevOficial", RowNum(*r, "I1_6"));
        if (!tit) d.Lit("cpfDependente", FormatCpf(RowText(*r, "I1_8")));
        d.Amt("impostoDevidoRRA", RowNum(*r, "I1_20"));
        d.Amt("impostoRetidoFonte", RowNum(*r, "I1_5"));
        d.Attr("mesRecebimento",
               PoeAspas(RowText(*r, "I1_36"), Closing::kNone, TextMode::kTwoDigits));
        d.Txt("niFontePagadora", RowText(*r, "I1_3"));
        d.Conv("nomeFontePagadora", RowText(*r, "I1_2"));
        d.NumF("numMeses", RowNum(*r, "I1_21"), NumberFormat::kTenth);
        d.Lit("opcaoTributacao", Trim(RowText(*r, "TIPOCR")) == "S" ? "A" : "E");
        d.Amt("parcIsenta65Anos", RowNum(*r, "I1_17"));
        d.Amt("pensaoAlimenticia", RowNum(*r, "I1_12"));
        d.Amt("rendRecebidos", RowNum(*r, "I1_4") + RowNum(*r, "I1_17"));
        d.Amt("rendRecebidosInformado", RowNum(*r, "I1_4"));
        d.Raw(">");
        d.Raw("<pensaoAlimenticiaQuadroAuxiliar");
        d.Lit("tipoItens", "serpro.ppgd.irpf.rendpf.ItemQuadroPensaoAlimenticia");
        d.Amt("totais", RowNum(*r, "I1_12"));
        d.Raw(">");
        if (RowNum(*r, "I1_12") > Decimal()) {
          std::string receiver;
          const std::string wanted = RowTrimmed(*r, "I1_22");
          for (const Row& dep : d.in.Of(Schedule::kDependants)) {
            if (Trim(RowText(dep, "CPFDEPEN")) == wanted) {
              receiver = RowText(dep, "NOMEDEPEN");
              break;
            }
          }
          d.Raw("<item");
          d.Conv("alimentando", receiver);
          d.Amt("valor", RowNum(*r, "I1_12"));
          d.Raw("/>");
        }
        d.Raw("</pensaoAlimenticiaQuadroAuxiliar></item>");
      }
    }
    d.Raw("</");
    d.Raw(element);
    d.Raw(">");
  }
  d.Raw("</rendAcm>");
}

}  // namespace dodu::handover::internal
