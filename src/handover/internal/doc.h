// The document being generated: the text built so far, the reads of the
// declaration variables, the working data the sections share, and the flush
// of the text to the work document at the end of the large sections.
#ifndef DODU_HANDOVER_INTERNAL_DOC_H_
#define DODU_HANDOVER_INTERNAL_DOC_H_

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/decimal.h"
#include "handover/snapshot.h"
#include "handover/value_formats.h"
#include "platform/status.h"

namespace dodu::handover::internal {

using core::Decimal;

// Totals of the income lines from companies of one holder (titular "J" or
// dependants "D").
struct CompanyTotals {
  Decimal income;          // I1_4, every line
  Decimal withheld;        // I1_5, lines without serious-illness pension
  Decimal social;          // I1_6
  Decimal thirteenth;      // I1_7
  Decimal thirteenth_tax;  // I1_39
  Decimal sick_withheld, sick_social, sick_thirteenth, sick_thirteenth_tax;
  std::string largest_payer;  // I1_3 of the line with the largest I1_4
  Decimal largest;
};

struct PaymentTotals {
  int counted = 0;
  Decimal funpresp, sponsor, alimony_deed;
  Decimal eca_gross, eca_net, idoso_gross, idoso_net;
  int eca_count = 0, idoso_count = 0, donation_count = 0;
  Decimal electoral;
};

class Doc {
 public:
  using Sink = std::function<Status(std::string_view)>;
  Doc(const Snapshot& in, core::Variables& vars, Dialog& dialog, Sink sink)
      : in(in), vars(vars), dialog(dialog), sink_(std::move(sink)) {}

  const Snapshot& in;
  core::Variables& vars;
  Dialog& dialog;

  // --- variables
  std::string Var(std::string_view name) const { return TextOf(FindVar(vars, name)); }
  std::string VarT(std::string_view name) const { return std::string(Trim(Var(name))); }
  Decimal Num(std::string_view name) const { return NumberOf(FindVar(vars, name)); }
  core::Date Day(std::string_view name) const { return DateOf(FindVar(vars, name)); }
  bool Is(std::string_view name, std::string_view letter) const { return VarT(name) == letter; }
  // Leaves a recomputed value in the variables (when the declaration has it).
  void SetNum(std::string_view name, const Decimal& v) {
    if (vars.Has(name) && vars.Type(name) == core::ValueType::kNumber) vars.SetNumber(name, v);
  }
  void SetText(std::string_view name, std::string v) {
    if (vars.Has(name) && vars.Type(name) == core::ValueType::kText)
      vars.SetText(name, std::move(v));
  }

  // --- text
  void Raw(std::string_view s) { out_ += s; }
  // ` name=` + an already quoted value.
  void Attr(std::string_view name, std::string_view quoted) {
    out_ += ' ';
    out_ += name;
    out_ += '=';
    out_ += quoted;
  }
  void Lit(std::string_view name, std::string_view literal) { Attr(name, Q(literal)); }
  void Amt(std::string_view name, const Decimal& v) { Attr(name, ConvNro(v, Closing::kNone)); }
  void NumF(std::string_view name, const Decimal& v, NumberFormat f) {
    Attr(name, ConvNro(v, Closing::kNone, f));
  }
  void Txt(std::string_view name, std::string_view cp850) {
    Attr(name, PoeAspas(cp850, Closing::kNone));
  }
  void Conv(std::string_view name, std::string_view cp850) {
    Attr(name, PoeAspas(cp850, Closing::kNone, TextMode::kConverted));
  }
  // A value already in its final (UTF-8 safe) form.
  static std::string Q(std::string_view v) { return "\"" + std::string(v) + "\""; }

  // Appends the text built so far to the work document.
  Status Flush() {
    if (out_.empty()) return Status::Ok();
    Status st = sink_(out_);
    out_.clear();
    return st;
  }
  const std::string& pending() const { return out_; }

  // --- working data
  std::vector<const Row*> matdep;  // dependants-table entries other than code 100
  int nqt_depend = 0;              // entries with a code below 97
  int ndep = 0;                    // entries written under alimentandos
  CompanyTotals titular, dependants;
  Decimal dependants_judicial;  // what the old code left as I1_20
  PaymentTotals pay;
  std::string ccpf;  // the taxpayer's CPF in format cpf
  std::vector<RegisterChange> changes;
  bool ask_debit = true;

 private:
  Sink sink_;
  std::string out_;
};

// Sections, in document order (each file writes a few).
std::string Identification(const Doc& d);  // IDENTIF, ending "/>"
Status WriteTaxpayerToIncome(Doc& d);      // contribuinte .. rendTributacaoExclusiva
void WriteRendPJ(Doc& d);
void WritePersonIncome(Doc& d);              // rendPFTitular, rendPFDependente
void WriteCumulativeIncome(Doc& d);          // rendAcm
void WriteExemptAndExclusive(Doc& d);        // rendIsentos, rendTributacaoExclusiva
void WriteTaxPaidAndHeirs(Doc& d);           // impostoPago, herdeiros
void WritePaymentsAndDonations(Doc& d);      // pagamentos, doacoes (totals first)
Status WriteAssetsAndDebts(Doc& d);          // bens, dividas
void WriteEstate(Doc& d);                    // espolio
void WriteSummary(Doc& d);                   // resumo
void WriteFundsComparisonDeparture(Doc& d);  // ECA, idoso, comparativo, eleitorais, saida
Status WriteVariableIncome(Doc& d);
Status WriteRural(Doc& d);
void WriteEmptyGains(Doc& d);

// Helpers shared by sections.
const char* MonthName(int m);    // "janeiro" .. "dezembro" (1..12)
std::string PaddedMonth(int m);  // padded with blanks to nine characters
std::string Mm(int m);           // "01" .. "12"
int IntOf(const Decimal& d);

}  // namespace dodu::handover::internal

#endif  // DODU_HANDOVER_INTERNAL_DOC_H_
