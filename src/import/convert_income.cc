// Income lines (table 02) of a declaration: companies, cumulative income, the
// monthly grid of income from individuals, cash-book work income and the
// exempt and exclusive income of records 80 to 89.
#include <optional>

#include "core/text_helpers.h"
#include "import/internal/convert_parts.h"
#include "import/internal/convert_util.h"

namespace dodu::import::internal {
namespace {

using core::Decimal;

const GridColumn kMonthlyColumns[6] = {
    {"Rendimento de Alugueis", "F", true, "C", "A"},
    {"Outros Rendimentos", "F", true, "C", "O"},
    {"Despesas livro caixa", "L", true, "D", ""},
    {"Rendimentos do Exterior", "E", false, "", ""},
    {"INSS", "P", false, "", ""},
    {"Receita Federal", "I", false, "", ""},
};

std::string MonthName(int month) { return core::TrazMes(month).value_or(""); }

core::Date FirstOfMonth(int month) { return *core::Date::FromYmd(2019, month, 1); }

std::string MonthField(int month) {
  return "I1_4" + std::string(month < 10 ? "0" : "") + std::to_string(month);
}

Row NewLine(const std::string& cpf, std::string_view kind) {
  Row r;
  r.Set("CPF", cpf).Set("I1_1", std::string(kind));
  return r;
}

// Record 84 types and the field their amount goes to.
std::optional<std::string_view> ExemptField(int type) {
  switch (type) {
    case 1:
      return "I1_29";
    case 2:
      return "I1_24";
    case 4:
      return "I1_30";
    case 9:
      return "I1_15";
    case 10:
      return "I1_17";
    case 12:
      return "I1_37";
    case 13:
      return "I1_16";
    case 14:
      return "I1_23";
    case 16:
      return "I1_31";
    case 17:
      return "I1_13";
    case 18:
      return "I1_14";
    default:
      return std::nullopt;
  }
}

std::optional<std::string_view> ExclusiveField(int type) {
  switch (type) {
    case 6:
      return "I1_38";
    case 10:
      return "I1_32";
    case 11:
      return "I1_33";
    default:
      return std::nullopt;
  }
}

// The holder / dependant part of records 83 to 89.
void SetOwner(Row& r, const ParsedRecord& rec) {
  const bool holder = rec.Text("HOLDER") == "T";
  r.Set("I1_1", std::string(holder ? "J" : "D"));
  if (!holder) r.Set("I1_8", rec.Text("I1_8"));
}

// The by-payer line of records 84, 85 and 88: the line of the same payer and
// kind, or a new one. A line whose field already holds a value is not
// overwritten: the value gets a line of its own.
Row& ByPayer(std::vector<Row>& lines, const std::string& cpf, const ParsedRecord& rec,
             std::optional<std::string_view> field, bool needs_empty_i1_38) {
  const std::string kind = rec.Text("HOLDER") == "T" ? "J" : "D";
  Row* found = nullptr;
  for (Row& l : lines) {
    if (l.TextOf("I1_3") != rec.Text("I1_3") || l.TextOf("I1_1") != kind) continue;
    if (needs_empty_i1_38 && !l.NumberOf("I1_38").IsZero()) continue;
    if (field && !l.NumberOf(*field).IsZero()) continue;
    found = &l;
    break;
  }
  if (found == nullptr) {
    lines.push_back(NewLine(cpf, kind));
    found = &lines.back();
  }
  SetOwner(*found, rec);
  found->Set("I1_2", rec.Text("I1_2")).Set("I1_3", rec.Text("I1_3"));
  return *found;
}

}  // namespace

void MonthlyGrid::Add(int column, int month, Decimal v) {
  value[column][month - 1] += v;
  any = true;
}

void WriteGrid(const std::string& cpf, const MonthlyGrid& grid, const GridColumn (&columns)[6],
               bool holder_order, std::vector<Row>& out) {
  static constexpr int kHolderOrder[6] = {3, 4, 5, 0, 1, 2};
  static constexpr int kPlainOrder[6] = {0, 1, 2, 3, 4, 5};
  const bool holder = IsBlank(grid.dependant_cpf);
  for (int idx : holder_order ? kHolderOrder : kPlainOrder) {
    const GridColumn& col = columns[idx];
    auto base = [&]() {
      Row r = NewLine(cpf, col.kind);
      r.Set("I1_11", std::string(holder ? "S" : "N"));
      if (!holder) r.Set("I1_8", grid.dependant_cpf);
      return r;
    };
    if (col.per_month) {
      for (int m = 1; m <= 12; ++m) {
        const Decimal v = grid.value[idx][m - 1];
        if (v <= Decimal()) continue;
        Row r = base();
        r.Set("I1_2", std::string(col.description) + " em " + MonthName(m));
        r.Set("I1_4", v).Set(MonthField(m), v).Set("DT_LC", FirstOfMonth(m));
        r.Set("TIPOCR", std::string(col.tipocr));
        if (*col.i1_41) r.Set("I1_41", std::string(col.i1_41));
        out.push_back(std::move(r));
      }
    } else {
      Decimal total;
      bool positive = false;
      Row r = base();
      r.Set("I1_2", std::string(col.description));
      for (int m = 1; m <= 12; ++m) {
        const Decimal v = grid.value[idx][m - 1];
        total += v;
        if (v > Decimal()) {
          positive = true;
          r.Set(MonthField(m), v);
        }
      }
      if (!positive) continue;
      r.Set("I1_4", total);
      out.push_back(std::move(r));
    }
  }
}

void ConvertMonthly(const std::string& cpf, const std::vector<const ParsedRecord*>& records,
                    std::vector<Row>& out) {
  MonthlyGrid holder;
  std::vector<Row> dependants;
  std::optional<MonthlyGrid> dep;
  auto flush = [&]() {
    if (dep && dep->any) WriteGrid(cpf, *dep, kMonthlyColumns, false, dependants);
    dep.reset();
  };
  static constexpr const char* kFields[6] = {"RENT", "OTHER", "BOOK", "ABROAD", "INSS", "PAID"};
  for (const ParsedRecord* r : records) {
    const int month = r->Int("MONTH");
    MonthlyGrid* grid = &holder;
    if (r->Text("DEPENDENT") == "S") {
      // A dependant's grid is written when the dependant changes, at December
      // and at the end of the run: a grid without its December is not lost.
      if (dep && dep->dependant_cpf != r->Text("I1_8")) flush();
      if (!dep) {
        dep.emplace();
        dep->dependant_cpf = r->Text("I1_8");
      }
      grid = &*dep;
    }
    for (int c = 0; c < 6; ++c) grid->Add(c, month, r->Number(kFields[c]));
    if (grid != &holder && month == 12) flush();
  }
  flush();
  for (Row& r : dependants) out.push_back(std::move(r));
  if (holder.any) WriteGrid(cpf, holder, kMonthlyColumns, true, out);
}

Row CashBookWork(const std::string& cpf, const ParsedRecord& rec) {
  const int month = rec.Int("MONTH");
  Row r = NewLine(cpf, "F");
  const std::string dep = rec.Text("I1_8");
  r.Set("I1_2", "Trabalho em " + MonthName(month)).Set("I1_3", rec.Text("I1_3"));
  r.Set("I1_4", rec.Number("AMOUNT")).Set(MonthField(month), rec.Number("AMOUNT"));
  r.Set("DT_LC", FirstOfMonth(month)).Set("TIPOCR", std::string("C")).Set("I1_8", dep);
  r.Set("I1_11", std::string(IsBlank(dep) ? "S" : "N"));
  r.Set("I1_40", rec.Text("I1_40") == rec.Text("I1_3") ? std::string() : rec.Text("I1_40"));
  r.Set("I1_41", std::string("T"));
  return r;
}

void ConvertIncome(const DeclarationFile& file, ImportMode mode, std::vector<Row>& out) {
  const std::string& cpf = file.cpf();
  const bool current = file.exercise == Exercise::kCurrent;
  std::vector<const ParsedRecord*> monthly;
  for (const ParsedRecord& rec : file.records) {
    const std::string_view t = rec.type();
    if (t == "21" || t == "32") {
      Row r = NewLine(cpf, t == "21" ? "J" : "D");
      if (t == "32") r.Set("I1_8", rec.Text("I1_8"));
      r.Set("I1_3", rec.Text("I1_3")).Set("I1_2", rec.Text("I1_2")).Set("I1_4", rec.Number("I1_4"));
      if (current) {
        CopyNumber(r, rec, {"I1_6", "I1_7", "I1_5", "I1_39"});
        r.Set("DT_LC", rec.DateOf("DT_LC"));
        if (t == "21" && mode == ImportMode::kPrefilled) r.Set("I1_39", Decimal());
      }
      out.push_back(std::move(r));
    } else if (t == "22") {
      if (current) monthly.push_back(&rec);
    } else if ((t == "45" || t == "47") && current) {
      Row r = NewLine(cpf, "A");
      r.Set("I1_11", std::string(t == "45" ? "S" : "N"));
      if (t == "47") r.Set("I1_8", rec.Text("I1_8"));
      CopyText(r, rec, {"I1_3", "I1_2"});
      CopyNumber(r, rec, {"I1_4", "I1_6", "I1_12", "I1_5", "I1_21", "I1_20", "I1_17"});
      const int month = rec.Int("I1_36");
      r.Set("I1_36", month == 0 ? std::string() : (month < 10 ? "0" : "") + std::to_string(month));
      r.Set("TIPOCR", std::string(rec.Text("TIPOCR") == "0" ? "S" : "N"));
      out.push_back(std::move(r));
    } else if (t == "49" && current) {
      out.push_back(CashBookWork(cpf, rec));
    } else if ((t == "80" || t == "81") && current) {
      Row r = NewLine(cpf, t == "80" ? "J" : "D");
      if (t == "81") r.Set("I1_8", rec.Text("I1_8"));
      CopyText(r, rec, {"I1_3", "I1_2"});
      CopyNumber(r, rec, {"I1_19", "I1_20"});
      out.push_back(std::move(r));
    } else if (t == "83" && current) {
      Row r = NewLine(cpf, "J");
      SetOwner(r, rec);
      const int type = rec.Int("TYPE");
      static constexpr struct {
        int type;
        const char* field;
        const char* text;
      } kTypes[] = {{19, "I1_26", "Meacao do divorcio"},
                    {20, "I1_27", "Ganho na Bolsa menos 20 mil no mes"},
                    {21, "I1_28", "Ganho no ouro menos 20 mil no mes"}};
      for (const auto& k : kTypes) {
        if (k.type == type) r.Set(k.field, rec.Number("AMOUNT")).Set("I1_2", std::string(k.text));
      }
      out.push_back(std::move(r));
    } else if (t == "84") {
      const int type = rec.Int("TYPE");
      if (!current && (type == 4 || type == 14 || type == 16)) continue;
      const auto field = ExemptField(type);
      Row& line = ByPayer(out, cpf, rec, field, false);
      if (field) line.Set(*field, rec.Number("AMOUNT"));
    } else if (t == "85") {
      Row& line = ByPayer(out, cpf, rec, "I1_18", false);
      line.Set("I1_18", rec.Number("I1_18"));
      if (current) CopyNumber(line, rec, {"I1_7", "I1_5", "I1_39", "I1_6"});
    } else if ((t == "86" || t == "89") && current) {
      Row r = NewLine(cpf, "J");
      SetOwner(r, rec);
      CopyText(r, rec, {"I1_3", "I1_2", "I1_35"});
      const char* field = t == "86" ? "I1_9" : "I1_34";
      r.Set(field, rec.Number(field));
      out.push_back(std::move(r));
    } else if (t == "88") {
      const int type = rec.Int("TYPE");
      const auto field = ExclusiveField(type);
      Row& line = ByPayer(out, cpf, rec, field, type == 6);
      if (field) line.Set(*field, rec.Number("AMOUNT"));
    }
  }
  if (!monthly.empty()) ConvertMonthly(cpf, monthly, out);
}

}  // namespace dodu::import::internal
