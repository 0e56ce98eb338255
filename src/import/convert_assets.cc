// Assets (table 04) and debts (table 05) of a declaration, the upkeep estimate
// (table 10) and the marks-only pass of the asset check.
#include "core/id_format.h"
#include "import/internal/convert_parts.h"
#include "import/internal/convert_util.h"

namespace dodu::import::internal {
namespace {

using core::Decimal;

// Codes whose end-of-year value a previous-exercise file does not carry: the
// value is to be typed again.
bool RetypedValue(int code) { return (code >= 41 && code <= 50) || (code >= 61 && code <= 79); }

bool In(int code, std::initializer_list<std::pair<int, int>> ranges) {
  for (auto [lo, hi] : ranges) {
    if (code >= lo && code <= hi) return true;
  }
  return false;
}

}  // namespace

void ConvertAssets(const DeclarationFile& file, const ConversionInputs& in, std::vector<Row>& out) {
  const std::string& cpf = file.cpf();
  const bool current = file.exercise == Exercise::kCurrent;
  int item = 0;
  bool previous_empty = false;
  for (const ParsedRecord* rec : file.OfType("27")) {
    Decimal before = rec->Number("I7_3");
    Decimal after = rec->Number("I7_4");
    const int code = rec->Int("I7_5");
    if (!current) {
      if (after.IsZero()) continue;  // disposed of in the base year
      before = after;
      if (RetypedValue(code)) after = Cents(1);
    }
    Row r;
    r.Set("CPF", cpf).Set("I7_0", Int(static_cast<int64_t>(out.size()) * 10 + 1));
    // A record after one with both values zero continues its description.
    if (!out.empty() && previous_empty) {
      r.Set("I7_1", Int(0)).Set("I7_5", Int(0));
    } else {
      r.Set("I7_1", Int(++item)).Set("I7_5", Int(code));
    }
    previous_empty = before.IsZero() && after.IsZero();
    r.Set("I7_2", rec->Text("I7_2")).Set("I7_3", before).Set("I7_4", after).Set("I7_9", before);
    r.Set("I7_7", std::string(rec->Text("I7_7") == "0" ? "" : "S"));
    r.Set("I7_8", rec->Text("I7_8") == "000" ? std::string() : rec->Text("I7_8"));
    CopyText(r, *rec,
             {"ENDEIMO", "NUMIMO", "COMPIMO", "BAIRIMO", "CEPIMO", "UFIMO", "MUNICIMO", "MATRICU",
              "LIVRORG", "CARTORIO", "REG_NIRF", "RENAVAM", "REG_AVI", "REG_BAR", "AGENCBAN",
              "CONTABAN", "DVBAN", "REG_IPTU", "NROBANCO"});
    r.Set("REGISTRO", std::string(rec->Text("REGISTRO") == "1" ? "S" : "N"));
    r.Set("UNIDADE", std::string(rec->Text("UNIDADE") == "0" ? "S" : "N"));
    r.Set("AREAIMO", rec->Number("AREAIMO")).Set("I7_6", rec->Number("I7_6"));
    r.Set("DATA_IMO", rec->DateOf("DATA_IMO"));
    r.Set("CPFDEP", rec->Text("CPFDEP_KIND") == "D" ? rec->Text("CPFDEP") : std::string());
    std::string id = rec->Text("CPF_CNPJ");
    if (!IsBlank(id)) id = core::ContaPonto(id);
    while (!id.empty() && id.back() == ' ') id.pop_back();
    r.Set("CPF_CNPJ", id);
    if (current) {
      std::optional<std::string> bank;
      if (!IsBlank(id) && in.bank_by_cnpj) bank = in.bank_by_cnpj(id);
      if (!bank && !IsBlank(rec->Text("NROBANCO")) && in.bank_by_number) {
        bank = in.bank_by_number(rec->Text("NROBANCO"));
      }
      if (bank) r.Set("REG_AVI", *bank);
    }
    out.push_back(std::move(r));
  }
}

void ConvertDebts(const DeclarationFile& file, std::vector<Row>& out) {
  const bool current = file.exercise == Exercise::kCurrent;
  for (const ParsedRecord* rec : file.OfType("28")) {
    Decimal before = rec->Number("I8_3");
    Decimal after = rec->Number("I8_4");
    Decimal paid = rec->Number("I8_7");
    if (!current) {
      if (after.IsZero()) continue;
      before = after;
      paid = Decimal();
    }
    const int64_t n = static_cast<int64_t>(out.size());
    Row r;
    r.Set("CPF", file.cpf()).Set("I8_0", Int(n * 10 + 1)).Set("I8_1", Int(n + 1));
    r.Set("I8_2", rec->Text("I8_2")).Set("I8_5", rec->Number("I8_5"));
    r.Set("I8_3", before).Set("I8_4", after).Set("I8_6", before).Set("I8_7", paid);
    out.push_back(std::move(r));
  }
}

}  // namespace dodu::import::internal

namespace dodu::import {

using internal::Int;
using internal::IsBlank;

UpkeepEstimate EstimateUpkeep(const std::string& cpf, const std::vector<Row>& assets,
                              const std::function<std::string(int code)>& upkeep_description) {
  UpkeepEstimate est;
  for (size_t i = 0; i < assets.size();) {
    const Row& start = assets[i];
    const core::Decimal item = start.NumberOf("I7_1");
    if (item.IsZero()) {  // continues an item already estimated
      ++i;
      continue;
    }
    std::string description = start.TextOf("I7_2").substr(0, 25);
    size_t at = i;
    int code = static_cast<int>(start.NumberOf("I7_5").ToScaled(0));
    if (code == 0) {
      // The code of an item may come on one of its continuation records. The
      // record of another item ends the search and starts its own estimate.
      size_t j = i + 1;
      for (; j < assets.size(); ++j) {
        const core::Decimal n = assets[j].NumberOf("I7_1");
        if (!(n == item || n.IsZero())) break;
        code = static_cast<int>(assets[j].NumberOf("I7_5").ToScaled(0));
        if (code != 0) break;
      }
      if (code == 0) {
        i = j;
        continue;
      }
      at = j;
    }
    i = at + 1;
    const core::Decimal value = assets[at].NumberOf("I7_4");
    if (code == 14 || value.IsZero()) continue;
    const core::Decimal monthly =
        value.Div(core::Decimal::FromInt(120), 2, core::Rounding::kHalfAwayFromZero);
    const std::string what = upkeep_description ? upkeep_description(code) : "";
    if (IsBlank(what) || monthly.IsZero()) continue;
    Row r;
    r.Set("CPF", cpf).Set("CODDESP", Int(code)).Set("DESCRITEM", description);
    r.Set("DESCDESP", what).Set("VALODESP", monthly);
    est.rows.push_back(std::move(r));
    est.monthly += monthly;
  }
  return est;
}

void MarkAssets(std::vector<Row>& assets) {
  for (Row& a : assets) {
    if (a.NumberOf("I7_1").IsZero()) continue;  // continues the item above
    const std::string country = a.TextOf("I7_8");
    if (!IsBlank(country) && country != "105" && IsBlank(a.TextOf("I7_7"))) {
      a.Set("I7_7", std::string("S"));
    }
    const bool abroad = a.TextOf("I7_7") == "S";
    const int code = static_cast<int>(a.NumberOf("I7_5").ToScaled(0));
    auto has = [&](std::initializer_list<const char*> fields) {
      for (const char* f : fields) {
        const Cell* c = a.Get(f);
        if (c == nullptr) return false;
        if (const auto* s = std::get_if<std::string>(c); s && IsBlank(*s)) return false;
        if (const auto* d = std::get_if<core::Decimal>(c); d && d->IsZero()) return false;
        if (const auto* t = std::get_if<core::Date>(c); t && t->IsBlank()) return false;
      }
      return true;
    };
    std::optional<std::string> mark;
    if (code >= 1 && code <= 19) {
      const bool address = has({"ENDEIMO", "NUMIMO", "BAIRIMO", "MUNICIMO", "AREAIMO", "UNIDADE"});
      bool complete;
      if (abroad) {
        complete = address && has({"LIVRORG", "DATA_IMO"});
      } else if (code == 17) {
        complete = address;
      } else if (code == 14) {
        complete = address && has({"REG_NIRF", "DATA_IMO"});
      } else if (code == 16) {
        complete = address && has({"DATA_IMO"});
      } else {
        complete = address && has({"DATA_IMO", "REG_IPTU"});
      }
      mark = complete ? "S" : "P";
    } else if (code == 21 || code == 22 || code == 23) {
      mark = has({code == 21 ? "RENAVAM" : (code == 22 ? "REG_AVI" : "REG_BAR")}) ? "S" : "N";
    } else if (internal::In(code, {{24, 29}, {46, 49}, {62, 68}, {80, 94}, {99, 99}})) {
      mark = "S";
    } else if (internal::In(
                   code, {{31, 32}, {39, 39}, {45, 45}, {51, 54}, {59, 59}, {69, 79}, {95, 97}})) {
      if (!abroad) mark = has({"CPF_CNPJ"}) ? "S" : "N";
    } else if (code == 41 || code == 61) {
      mark = has({"AGENCBAN", "CONTABAN", "DVBAN", "CPF_CNPJ", "NROBANCO"}) ? "S" : "P";
    }
    if (mark) a.Set("JA_FEZ", *mark);
  }
}

}  // namespace dodu::import
