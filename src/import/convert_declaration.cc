// The conversion of whole declarations (modes 1 and 5), of receipts (3), of
// income from individuals (8) and of the carnê-leão file (10).
#include <algorithm>
#include <stdexcept>

#include "core/codepage.h"
#include "core/picture.h"
#include "core/text_helpers.h"
#include "import/conversion.h"
#include "import/internal/convert_parts.h"
#include "import/internal/convert_util.h"

namespace dodu::import {
namespace {

using core::Decimal;
using internal::Int;
using internal::IsBlank;

// VAL() of a text: the run of digits it starts with, after blanks.
std::string LeadingDigits(std::string_view s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return "";
  std::string out;
  for (size_t i = b; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) out += s[i];
  out.erase(0, std::min(out.find_first_not_of('0'), out.size()));
  return out.empty() ? "0" : out;
}

std::string RightAligned(const std::string& s, size_t width) {
  return s.size() >= width ? s : std::string(width - s.size(), ' ') + s;
}

std::string Flag(bool yes) { return yes ? "S" : "N"; }

// The refusal of a mode that writes only into a registered taxpayer.
std::string NotLocated(const std::string& name, const std::string& what) {
  std::string n = name;
  while (!n.empty() && n.back() == ' ') n.pop_back();
  return core::Cp850("O contribuinte " + n + " não foi localizado em nenhum das pastas logo " +
                     "não será possível gravar " + what);
}

// Record 16 into the register fields.
void Identification(const DeclarationFile& file, ImportMode mode, const Existing& existing,
                    const ConversionInputs& in, TaxpayerPlan& plan) {
  const ParsedRecord& id = file.identification;
  const bool current = file.exercise == Exercise::kCurrent;
  Row& reg = plan.register_fields;
  reg.Set("CPF", file.cpf()).Set("NOMECONTR", id.Text("NOMECONTR"));
  reg.Set("RETIFICA", current ? id.Text("RETIFICA") : std::string("N"));
  internal::CopyText(
      reg, id,
      {"TIPOEND", "ENDERECO", "CODMUNI", "NUMERO",   "COMPLEM", "BAIRRO",  "CEP",     "MUNICIPIO",
       "UF",      "CODPAIS",  "CODEMB",  "CPFCONJU", "EMAIL",   "NIT_TIT", "CONTACO", "TITULO",
       "REGPROF", "CDPRO",    "CODAT",   "DDDFAX",   "TELCELU", "AGENCIA", "BANCO",   "DEBITAUT"});
  const bool abroad = id.Text("UF") == "EX";
  reg.Set("EBRASIL", Flag(!abroad)).Set("EXTERIOR", Flag(abroad));
  reg.Set("NASCIMENTO", id.DateOf("NASCIMENTO"));
  reg.Set("OCUPACAO", in.occupation ? in.occupation(id.Text("CDPRO")) : std::string());
  reg.Set("DESCRAT", in.activity ? in.activity(id.Text("CODAT")) : std::string());
  reg.Set("NOVOEND", current ? id.Text("NOVOEND") : std::string("N"));
  reg.Set("E_INVALIDO", current ? id.Text("E_INVALIDO") : std::string("N"));
  reg.Set("PROCBRASIL", id.Text("PROCBRASIL"));
  reg.Set("USAPADRAO", Flag(id.Text("COMPLETA") != "S"));
  reg.Set("QTD_QUOTA", id.Number("QTD_QUOTA"));
  reg.Set("TEMRURAL", std::string("N")).Set("IMPRE", std::string()).Set("ORDEM", Int(0));
  if (!IsBlank(id.Text("DDDTEL")))
    reg.Set("DDDTEL", RightAligned(LeadingDigits(id.Text("DDDTEL")), 4));
  if (!IsBlank(id.Text("TELEFO"))) {
    std::string phone = LeadingDigits(id.Text("TELEFO"));
    if (phone.size() > 9) {
      plan.notes.push_back(core::Cp850("Telefone " + phone + " cortado nos últimos nove dígitos"));
      phone = phone.substr(phone.size() - 9);
    }
    reg.Set("TELEFO", RightAligned(phone, 9));
  }
  const DeclarationHeader& h = file.header;
  if (current) {
    // The identification's own number replaces the header's.
    const std::string& own = id.Text("NRORECIBO");
    reg.Set("NRORECIBO", IsBlank(own) ? h.rectified_receipt : own);
    reg.Set("RECIBOATU", h.receipt);
    reg.Set("RECIBOANT",
            mode == ImportMode::kPrefilled ? id.Text("RECIBOANT") : h.previous_receipt);
  } else {
    reg.Set("ESTATUS", Int(1)).Set("TEM_USO", Int(0)).Set("TAM_USO", Int(0));
    reg.Set("I9_2", Decimal()).Set("I9_3", Decimal());
    reg.Set("I9_4", std::string("N")).Set("I9_5", std::string("N"));
    reg.Set("RECIBOANT", h.receipt);
  }
  if (existing.estatus == 0) reg.Set("ESTATUS", Int(1));
}

// Records 17, 19, 23, 30, 38, 39 and 87 into the declaration record.
void DeclarationRecord(const DeclarationFile& file, TaxpayerPlan& plan) {
  Row& d = plan.declaration_fields;
  const bool current = file.exercise == Exercise::kCurrent;
  if (file.header.kind == "ESPL")
    d.Set("DECFINAL", std::string("S")).Set("DECSAIDA", std::string("N"));
  if (file.header.kind == "SAID")
    d.Set("DECFINAL", std::string("N")).Set("DECSAIDA", std::string("S"));
  for (const ParsedRecord& rec : file.records) {
    const std::string_view t = rec.type();
    if (t == "17" && current) {
      internal::CopyNumber(d, rec, {"I13_31", "I13_33"});
    } else if (t == "19" && current) {
      plan.register_fields.Set("CGCPAGADOR", rec.Text("CGCPAGADOR"));
      internal::CopyNumber(d, rec, {"I13_32", "I13_31", "I13_33"});
    } else if (t == "23" && current) {
      // Every record of the run is stored, the last one included.
      static constexpr std::pair<const char*, const char*> kCodes[] = {
          {"03", "I3_02"},     {"05", "I3_04GCPV"}, {"06", "I3_04UNIC"}, {"07", "I3_04REDU"},
          {"08", "I3_04EXTR"}, {"23", "I3_21"},     {"24", "I3_22"},     {"25", "I3_23"}};
      for (auto [code, field] : kCodes) {
        if (rec.Text("CODE") == code) d.Set(field, rec.Number("AMOUNT"));
      }
    } else if (t == "30" || t == "39") {
      internal::CopyText(d, rec, {"CPFINVENT", "NOMINVENT", "ENDINVENT"});
      d.Set("DECFINAL", std::string("N")).Set("DECSAIDA", Flag(t == "39"));
      if (t == "39")
        d.Set("DATASAIDA", rec.DateOf("DATASAIDA")).Set("DATADECIS", rec.DateOf("DATADECIS"));
    } else if (t == "38") {
      d.Set("ANOOBITO", rec.Number("ANOOBITO"));
      internal::CopyText(d, rec,
                         {"CPFINVENT", "NOMINVENT", "ENDINVENT", "NROPROCES", "VARACIVIL",
                          "COMARCA", "CNPJCARTO", "NOMECARTO", "MUNICARTO", "UFPROCES"});
      d.Set("DECJUDI", Flag(rec.Text("DECJUDI") == "J"));
      d.Set("DATAPARTI", rec.DateOf("DATAPARTI")).Set("DATADECIS", rec.DateOf("DATADECIS"));
      d.Set("DATALAVRA", rec.DateOf("DATALAVRA"));
      internal::CopyNumber(d, rec, {"LIVRCARTO", "FOLHCARTO"});
      const bool second_death = rec.Text("MORTE2") == "1";
      d.Set("MORTE2", Flag(second_death));
      d.Set("INVCONJ", Flag(second_death && rec.Text("INVCONJ") == "1"));
      if (second_death) {
        // The spouse's CPF is the identification's: positions 447-456 of this
        // record are filler and 457 is the heir-half flag.
        d.Set("NOMCOMPA", rec.Text("NOMCOMPA"));
        d.Set("CPFCOMPA", file.identification.Text("CPFCONJU"));
      }
      d.Set("MEEIRO", Flag(rec.Text("MEEIRO") == "1"));
      d.Set("DECFINAL", std::string("S")).Set("DECSAIDA", std::string("N"));
    } else if (t == "87" && current) {
      static constexpr std::pair<int, const char*> kTypes[] = {
          {5, "I3_04GCPV"}, {6, "I3_04UNIC"}, {7, "I3_04REDU"}};
      for (auto [type, field] : kTypes) {
        if (rec.Int("TYPE") != type) continue;
        d.Set(field, rec.Number("INFORMED")).Set(std::string(field) + "C", rec.Number("CARRIED"));
      }
    }
  }
}

// Records that later versions import: read and validated, reported here.
void NotImported(const DeclarationFile& file, TaxpayerPlan& plan) {
  struct Group {
    int from, to;
    const char* what;
  };
  static constexpr Group kGroups[] = {
      {40, 44, "renda variável"}, {50, 56, "atividade rural"}, {60, 75, "ganho de capital"}};
  for (const Group& g : kGroups) {
    int count = 0;
    for (const ParsedRecord& r : file.records) {
      const int t = (r.type()[0] - '0') * 10 + (r.type()[1] - '0');
      if (t >= g.from && t <= g.to) ++count;
    }
    if (count > 0) {
      plan.notes.push_back(core::Cp850(std::to_string(count) + " registro(s) de " + g.what +
                                       " lidos e não importados"));
    }
  }
}

}  // namespace

static Result<TaxpayerPlan> ConvertDeclarationUnchecked(const DeclarationFile& file,
                                                        ImportMode mode, const Existing& existing,
                                                        const ConversionInputs& in) {
  if (file.exercise == Exercise::kPrevious && existing.registered) {
    return Status::Invalid(
        core::Cp850("O contribuinte já existe: a declaração do ano anterior "
                    "só inicia um contribuinte novo"));
  }
  TaxpayerPlan plan;
  plan.cpf = file.cpf();
  plan.name = file.identification.Text("NOMECONTR");
  Identification(file, mode, existing, in, plan);
  plan.declaration_new_fields.Set("INDALERTA", Int(10)).Set("SO_REC", true);
  DeclarationRecord(file, plan);

  std::vector<Row>& income = plan.replace[kIncomeTable];
  internal::ConvertIncome(file, mode, income);
  internal::ConvertPeople(file, in, plan.replace[kPeopleTable], plan.replace[kPaymentTable],
                          plan.replace[kShareTable], plan.notes);
  std::vector<Row>& assets = plan.replace[kAssetTable];
  internal::ConvertAssets(file, in, assets);
  internal::ConvertDebts(file, plan.replace[kDebtTable]);
  UpkeepEstimate upkeep = EstimateUpkeep(plan.cpf, assets, in.upkeep_description);
  plan.replace[kUpkeepTable] = std::move(upkeep.rows);
  plan.declaration_fields.Set("DESPNAO", upkeep.monthly * Int(12));
  MarkAssets(assets);
  NotImported(file, plan);
  return plan;
}

static Result<TaxpayerPlan> ConvertReceiptsUnchecked(const DeclarationFile& file,
                                                     const ReceiptFile* receipt,
                                                     const Existing& existing) {
  (void)existing;
  TaxpayerPlan plan;
  plan.cpf = file.cpf();
  plan.name = file.identification.Text("NOMECONTR");
  plan.register_must_exist = true;
  plan.missing_message = NotLocated(plan.name, "o número do recibo");
  Row& reg = plan.register_fields;
  const DeclarationHeader& h = file.header;
  if (file.exercise == Exercise::kPrevious) {
    reg.Set("RECIBOANT", h.receipt);
    return plan;
  }
  reg.Set("RECIBOATU", h.receipt).Set("RECIBOANT", h.previous_receipt);
  reg.Set("NRORECIBO", h.rectified_receipt);
  if (receipt == nullptr) return plan;
  std::vector<Row>& notes = plan.append[kNoteTable];
  auto note = [&](const std::string& text) {
    Row r;
    r.Set("CPF", plan.cpf).Set("OBSERV", text).Set("CODERR", Int(0));
    notes.push_back(std::move(r));
  };
  for (const ParsedRecord& r : receipt->records) {
    if (r.type() == "RC") {
      reg.Set("DENTREGA", r.DateOf("DENTREGA"));
    } else if (r.type() == "NC" && r.Int("COUNT") > 0) {
      std::string fine = core::Transform(r.Number("FINE"), "@Ez 999,999,999.99");
      fine.erase(0, std::min(fine.find_first_not_of(' '), fine.size()));
      while (!fine.empty() && fine.back() == ' ') fine.pop_back();
      const int months = r.Int("MONTHS");
      note("Existe multa de R$ " + fine + " datado de " + r.DateOf("DATE").ToDmy() + " com " +
           (months < 10 ? "0" : "") + std::to_string(months) + " meses de atraso");
    } else if (r.type() == "VC") {
      const int n = r.Int("NRETIF");
      reg.Set("RETIFICA", std::string(n > 0 ? "S" : "")).Set("NRETIF", Int(n));
      const std::string& pending = r.Text("PENDING");
      for (int i = 1; i <= 5; ++i) {
        if (pending.size() >= static_cast<size_t>(i) && pending[i - 1] == '1') {
          note("Existe pendencia na declaracao de " + RightAligned(std::to_string(2020 - i), 10));
        }
      }
      if (r.Text("DEBT") == "1") {
        note("Existe Debito pendente na Receita Federal em " + r.DateOf("DATE").ToDmy());
      }
      if (r.Text("REFUND") == "1") {
        note("Existe Saldo de Restituicao na Receita nao resgatado em " + r.DateOf("DATE").ToDmy());
      }
    }
  }
  for (const std::string& m : receipt->messages) {
    for (size_t at = 0; at < m.size(); at += 75) note(m.substr(at, 75));
  }
  return plan;
}

static Result<TaxpayerPlan> ConvertIndividualsUnchecked(const DeclarationFile& file,
                                                        const Existing& existing) {
  (void)existing;
  if (file.exercise == Exercise::kPrevious) {
    return Status::Invalid(core::Cp850("Essa opção é valida só para o ANO 2020"));
  }
  TaxpayerPlan plan;
  plan.cpf = file.cpf();
  plan.name = file.identification.Text("NOMECONTR");
  plan.register_must_exist = true;
  plan.missing_message = NotLocated(plan.name, "os rendimentos");
  std::vector<Row>& lines = plan.append[kIncomeTable];
  std::vector<const ParsedRecord*> monthly = file.OfType("22");
  bool any = !monthly.empty();
  if (!monthly.empty()) internal::ConvertMonthly(plan.cpf, monthly, lines);
  for (const ParsedRecord* r : file.OfType("49")) {
    lines.push_back(internal::CashBookWork(plan.cpf, *r));
    any = true;
  }
  if (!any) {
    return Status::NotFound(core::Cp850("Esse contribuinte não tem Rendimento de Pessoa Física"));
  }
  plan.declaration_fields.Set("CAL_AUTO", Int(1)).Set("SO_REC", true);
  plan.declaration_only_if_present = true;
  return plan;
}

static Result<TaxpayerPlan> ConvertLeaoUnchecked(const LeaoFile& file, const Existing& existing) {
  (void)existing;
  TaxpayerPlan plan;
  plan.cpf = file.first.Text("CPF");
  plan.name = file.first.Text("NOMECONTR");
  plan.register_must_exist = true;
  plan.missing_message = NotLocated(plan.name, "o livro caixa");
  plan.register_fields.Set("CDPRO", file.first.Text("CDPRO"))
      .Set("REGPROF", file.first.Text("REGPROF"))
      .Set("CODAT", std::string("11"));
  plan.declaration_fields.Set("CAL_AUTO", Int(1)).Set("SO_REC", true);
  plan.declaration_only_if_present = true;
  std::vector<Row>& lines = plan.append[kIncomeTable];
  // The n-th month record is month n. Each amount goes to the column of its
  // kind, so that income abroad gets its yearly line and the cash-book
  // expenses their lines per month, as from the declaration file.
  internal::MonthlyGrid grid;
  static constexpr const char* kFields[6] = {"RENT", "OTHER", "BOOK", "ABROAD", "INSS", "PAID"};
  for (size_t m = 0; m < file.months.size(); ++m) {
    for (int c = 0; c < 6; ++c)
      grid.Add(c, static_cast<int>(m) + 1, file.months[m].Number(kFields[c]));
  }
  static const internal::GridColumn kColumns[6] = {
      {"Rendimento de Alugueis", "F", true, "C", "A"},
      {"Outros Rendimentos", "F", true, "C", "O"},
      {"Despesas livro caixa", "L", true, "D", ""},
      {"Rendimentos do Exterior", "E", false, "", ""},
      {"INSS", "P", false, "", ""},
      {"Receita Federal", "I", false, "", ""},
  };
  if (grid.any) internal::WriteGrid(plan.cpf, grid, kColumns, true, lines);
  for (const ParsedRecord& w : file.works) {
    const int month = w.Int("MONTH");
    const int day = w.layout().Find("DAY") ? w.Int("DAY") : 1;
    const std::string mm = (month < 10 ? "I1_40" : "I1_4") + std::to_string(month);
    Row r;
    r.Set("CPF", plan.cpf).Set("I1_1", std::string("F"));
    r.Set("I1_2", "Trabalho em " + core::TrazMes(month).value_or(""));
    r.Set("I1_3", w.Text("I1_3"));
    r.Set("I1_40", w.Text("I1_40") == w.Text("I1_3") ? std::string() : w.Text("I1_40"));
    r.Set("I1_4", w.Number("AMOUNT")).Set(mm, w.Number("AMOUNT"));
    r.Set("DT_LC", *core::Date::FromYmd(2019, month, day));
    r.Set("I1_11", std::string("S")).Set("I1_41", std::string("T")).Set("TIPOCR", std::string("C"));
    lines.push_back(std::move(r));
  }
  return plan;
}

namespace {

// Sums of many amounts of a damaged or absurd file can leave the range of the
// numbers: that file is refused like any other value out of its field.
template <typename F>
Result<TaxpayerPlan> Guarded(F&& f) {
  try {
    return f();
  } catch (const std::overflow_error&) {
    return Status::Invalid(core::Cp850("Valores do arquivo fora do limite. Nada foi gravado."));
  }
}

}  // namespace

Result<TaxpayerPlan> ConvertDeclaration(const DeclarationFile& file, ImportMode mode,
                                        const Existing& existing, const ConversionInputs& in) {
  return Guarded([&] { return ConvertDeclarationUnchecked(file, mode, existing, in); });
}

Result<TaxpayerPlan> ConvertReceipts(const DeclarationFile& file, const ReceiptFile* receipt,
                                     const Existing& existing) {
  return Guarded([&] { return ConvertReceiptsUnchecked(file, receipt, existing); });
}

Result<TaxpayerPlan> ConvertIndividuals(const DeclarationFile& file, const Existing& existing) {
  return Guarded([&] { return ConvertIndividualsUnchecked(file, existing); });
}

Result<TaxpayerPlan> ConvertLeao(const LeaoFile& file, const Existing& existing) {
  return Guarded([&] { return ConvertLeaoUnchecked(file, existing); });
}

}  // namespace dodu::import
