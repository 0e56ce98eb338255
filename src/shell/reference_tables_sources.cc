// The public lists and how their rows become the records of the reference
// tables. Conversions keep the list's text (UTF-8) and leave the code page and
// the field widths to the writer.
#include <algorithm>
#include <initializer_list>
#include <optional>

#include "core/codepage.h"
#include "core/decimal.h"
#include "shell/reference_tables_rows.h"

namespace dodu::shell::reference {
namespace {

// The banks operating when the exercise's declarations were made.
constexpr char kBanksOperatingBy[] = "2020-04-30";

// Column positions of `names` in a list; kCorrupt naming the first one missing.
Result<std::vector<size_t>> Columns(const NamedList& list, std::initializer_list<const char*> names) {
  std::vector<size_t> at;
  for (const char* name : names) {
    std::optional<size_t> c = list.table->Column(name);
    if (!c) return Status::Corrupt(list.name + ": no column " + name);
    at.push_back(*c);
  }
  return at;
}

// A list of codes and descriptions into (code field, description field).
RowsFn CodeList(const char* code_field, const char* text_field) {
  return [=](const std::vector<NamedList>& lists) -> Result<std::vector<ReferenceRow>> {
    DODU_ASSIGN_OR_RETURN(std::vector<size_t> c, Columns(lists[0], {"codigo", "descricao"}));
    std::vector<ReferenceRow> rows;
    for (const auto& r : lists[0].table->rows) {
      rows.push_back(ReferenceRow().Set(code_field, r[c[0]]).Set(text_field, r[c[1]]));
    }
    return rows;
  };
}

Result<std::vector<ReferenceRow>> AssetRows(const std::vector<NamedList>& lists) {
  DODU_ASSIGN_OR_RETURN(std::vector<size_t> c, Columns(lists[0], {"codigo", "descricao"}));
  std::vector<ReferenceRow> rows;
  for (const auto& r : lists[0].table->rows) {
    std::optional<core::Decimal> code = core::Decimal::Parse(r[c[0]]);
    if (!code) return Status::Corrupt(lists[0].name + ": code " + r[c[0]] + " is not a number");
    const int kind = AssetDetailKind(static_cast<int>(code->units() / core::Decimal::kScale));
    rows.push_back(ReferenceRow()
                       .Set("CODBEM", r[c[0]])
                       .Set("DESCBENS", r[c[1]])
                       .Set("TIPO", std::to_string(kind)));
  }
  return rows;
}

Result<std::vector<ReferenceRow>> SelicRows(const std::vector<NamedList>& lists) {
  DODU_ASSIGN_OR_RETURN(std::vector<size_t> c, Columns(lists[0], {"anomes", "taxa"}));
  std::vector<ReferenceRow> rows;
  for (const auto& r : lists[0].table->rows) {
    rows.push_back(
        ReferenceRow().Set("ANOMES", r[c[0]]).Set("TJM", r[c[1]]).Set("SIMB_MOED", "R$"));
  }
  return rows;
}

Result<std::vector<ReferenceRow>> BankRows(const std::vector<NamedList>& lists) {
  DODU_ASSIGN_OR_RETURN(std::vector<size_t> c,
                        Columns(lists[0], {"numero", "nome", "cnpj", "inicio_operacao"}));
  const std::vector<std::string>& debit = AutomaticDebitBanks();
  std::vector<ReferenceRow> rows;
  for (const auto& r : lists[0].table->rows) {
    const std::string& started = r[c[3]];
    if (!started.empty() && started > kBanksOperatingBy) continue;
    const bool debits = std::find(debit.begin(), debit.end(), r[c[0]]) != debit.end();
    rows.push_back(ReferenceRow()
                       .Set("NUMBAN", r[c[0]])
                       .Set("NOMEBAN", r[c[1]])
                       .Set("CNPJBAN", PunctuatedCnpj(r[c[2]]))
                       .Set("DEBAUTO", debits ? "S" : "N")
                       .Set("DEPOSITO", "S"));
  }
  return rows;
}

Result<std::vector<ReferenceRow>> CountryRows(const std::vector<NamedList>& lists) {
  DODU_ASSIGN_OR_RETURN(std::vector<size_t> c, Columns(lists[0], {"codigo", "nome", "codigo_bacen"}));
  std::vector<ReferenceRow> rows;
  for (const auto& r : lists[0].table->rows) {
    if (r[c[2]].empty()) continue;  // historical countries and sub-territories
    rows.push_back(ReferenceRow().Set("CODPAIS", r[c[0]]).Set("NOMPAIS", r[c[1]]));
  }
  return rows;
}

// Municipalities, then one record per state ("SP - SÃO PAULO", blank state
// field) that the state lookup picks its two letters from. `plain`: names
// without accents.
RowsFn MunicipalityRows(bool plain) {
  return [plain](const std::vector<NamedList>& lists) -> Result<std::vector<ReferenceRow>> {
    DODU_ASSIGN_OR_RETURN(std::vector<size_t> m, Columns(lists[0], {"tom", "ibge", "nome", "uf"}));
    DODU_ASSIGN_OR_RETURN(std::vector<size_t> s, Columns(lists[1], {"ibge", "uf", "nome"}));
    auto name = [plain](std::string_view text) {
      std::string upper = UpperText(text);
      return plain ? WithoutAccents(upper) : upper;
    };
    std::vector<ReferenceRow> rows;
    for (const auto& r : lists[0].table->rows) {
      rows.push_back(ReferenceRow()
                         .Set("NOMEMUNI", name(r[m[2]]))
                         .Set("UNIFED", r[m[3]])
                         .Set("NROMUNI", r[m[0]])
                         .Set("CODCID", r[m[1]]));
    }
    for (const auto& r : lists[1].table->rows) {
      rows.push_back(ReferenceRow()
                         .Set("NOMEMUNI", r[s[1]] + " - " + name(r[s[2]]))
                         .Set("UNIFED", "")
                         .Set("NROMUNI", "")
                         .Set("CODCID", r[s[0]]));
    }
    return rows;
  };
}

RowsFn Own(std::vector<ReferenceRow> (*list)()) {
  return [list](const std::vector<NamedList>&) -> Result<std::vector<ReferenceRow>> {
    return list();
  };
}

Result<std::vector<ReferenceRow>> Empty(const std::vector<NamedList>&) {
  return std::vector<ReferenceRow>{};
}

}  // namespace

int AssetDetailKind(int code) {
  if (code >= 1 && code <= 19) return 1;
  switch (code) {
    case 21: return 2;
    case 22: return 3;
    case 23: return 4;
    case 41:
    case 61: return 5;
    case 31:
    case 32:
    case 39: return 6;
    case 45:
    case 59:
    case 95:
    case 96:
    case 97: return 7;
    default: break;
  }
  if ((code >= 51 && code <= 54) || (code >= 69 && code <= 79)) return 7;
  return 0;
}

const std::vector<TablePlan>& TablePlans() {
  static const std::vector<TablePlan> plans = {
      {45, "", {}, Empty},
      {46, "", {"bens.csv"}, AssetRows},
      {47, "", {"dependentes.csv"}, CodeList("CODDEP", "DESCRICAO")},
      {48, "", {"dividas.csv"}, CodeList("CODDIV", "DESCDIV")},
      {49, "", {"pagamentos.csv"}, CodeList("CODDES", "DESCDOA")},
      {51, "", {"selic.csv"}, SelicRows},
      {52, "", {}, Empty},
      {53, "", {}, Empty},
      {54, "", {}, Own(WarningRows)},
      {55, "", {"bancos.csv"}, BankRows},
      {58, "", {"ocupacoes.csv"}, CodeList("CDPRO", "OCUPACAO")},
      {59, "", {"natureza_ocupacao.csv"}, CodeList("CODAT", "DESCRAT")},
      {60, "", {"paises.csv"}, CountryRows},
      {61, "", {}, Empty},
      {62, "", {}, Own(AccountRows)},
      {64, "", {"municipios.csv", "ufs.csv"}, MunicipalityRows(false)},
      {65, "", {}, Own(StreetTypeRows)},
      {66, "", {}, Own(StatusRows)},
      {69, "", {}, Empty},
      {75, "ECACIDAD", {}, Empty},
      {75, "IDOCIDAD", {}, Empty},
      {94, "", {"municipios.csv", "ufs.csv"}, MunicipalityRows(true)},
  };
  return plans;
}

const std::vector<std::string>& AutomaticDebitBanks() {
  static const std::vector<std::string> banks = {"001", "003", "004", "021", "033", "037",
                                                 "041", "070", "077", "104", "237", "341",
                                                 "389", "422", "748", "756"};
  return banks;
}

std::string UpperText(std::string_view utf8) {
  std::string out;
  size_t pos = 0;
  while (pos < utf8.size()) {
    std::optional<char32_t> cp = core::DecodeUtf8(utf8, pos);
    char32_t c = cp.value_or(U'?');
    if ((c >= U'a' && c <= U'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) c -= 0x20;
    core::AppendUtf8(out, c);
  }
  return out;
}

std::string WithoutAccents(std::string_view utf8) {
  // Base letters of U+00C0..U+00FF ('\0': keep the character).
  static constexpr char kBase[] =
      "AAAAAAACEEEEIIII"  // C0..CF (C6 Æ kept as A)
      "DNOOOOO\0OUUUUYTs"  // D0..DF
      "aaaaaaaceeeeiiii"  // E0..EF
      "dnooooo\0ouuuuyty";  // F0..FF
  std::string out;
  size_t pos = 0;
  while (pos < utf8.size()) {
    std::optional<char32_t> cp = core::DecodeUtf8(utf8, pos);
    char32_t c = cp.value_or(U'?');
    if (c >= 0xC0 && c <= 0xFF && kBase[c - 0xC0] != '\0') {
      out += kBase[c - 0xC0];
    } else {
      core::AppendUtf8(out, c);
    }
  }
  return out;
}

std::string PunctuatedCnpj(std::string_view d) {
  if (d.size() != 14 || d.find_first_not_of("0123456789") != std::string_view::npos) {
    return std::string(d);
  }
  std::string s(d);
  return s.substr(0, 2) + "." + s.substr(2, 3) + "." + s.substr(5, 3) + "/" + s.substr(8, 4) +
         "-" + s.substr(12, 2);
}

}  // namespace dodu::shell::reference
