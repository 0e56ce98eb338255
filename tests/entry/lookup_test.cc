// Lookup lists: the register list (orders, seek by typing, footers, rural
// filter, start key, picks), the field -> list configuration, the choices
// that fill fields and work-copy lines, and the form's lookup key.
#include "entry/lookup.h"

#include <gtest/gtest.h>

#include <map>

#include "entry/lookup_fields.h"
#include "entry/lookup_list.h"
#include "entry/testutil.h"
#include "screen/field_lookup.h"
#include "screen/form.h"
#include "store/rec_lock.h"
#include "store/table.h"

namespace dodu::entry::testing {
namespace {

using core::Cp850;
using Row = std::map<std::string, std::string>;

class LookupTest : public EntryTest {
 protected:
  // The register (area 9) with one record per row.
  store::WorkArea& Register(const std::vector<Row>& rows) {
    EXPECT_TRUE(store::ABERTURA(ctx, areas, 9).ok());
    store::WorkArea& reg = *areas.Get(9);
    for (const Row& row : rows) Fill(reg, row);
    return reg;
  }

  void Fill(store::WorkArea& area, const Row& row) {
    Add(area, [&](store::Record& r) {
      for (const auto& [field, value] : row) {
        const store::FieldSlot* slot = r.layout().Find(field);
        ASSERT_NE(slot, nullptr) << field;
        if (slot->spec.type == store::FieldType::kNumeric) {
          ASSERT_TRUE(r.PutNumber(field, *core::Decimal::Parse(value)).ok()) << field;
        } else {
          ASSERT_TRUE(r.PutText(field, Cp850(value)).ok()) << field;
        }
      }
    });
  }

  // A reference table of the installation folder with `rows`, left closed
  // (the list opens it).
  void Reference(int number, const std::vector<Row>& rows) {
    const store::TableDef* def = store::FindTable(number);
    ASSERT_NE(def, nullptr);
    const std::string path = "/inst/" + store::TableFileName(*def, ctx.names()) + ".DBF";
    {
      auto t = store::Table::Create(env, path, def->layout, store::Sharing::kExclusive);
      ASSERT_TRUE(t.ok()) << t.status().ToString();
    }
    ASSERT_TRUE(store::ABERTURA(ctx, areas, number).ok());
    for (const Row& row : rows) Fill(*areas.Get(number), row);
    areas.Close(number);
  }

  std::vector<Row> ThreeTaxpayers() {
    return {
        {{"CPF", "22222222222"},
         {"NOMECONTR", "MARIA SOUZA"},
         {"USAPADRAO", "S"},
         {"TEMRURAL", "S"},
         {"ESTATUS", "2"}},
        {{"CPF", "11111111111"},
         {"NOMECONTR", "CARLOS LIMA"},
         {"USAPADRAO", "N"},
         {"ESTATUS", "1"}},
        {{"CPF", "33333333333"}, {"NOMECONTR", "ANA PAULA"}, {"USAPADRAO", "S"}, {"ESTATUS", "3"}}};
  }

  // Alt Q while a list is open keeps the screen as it is then in `shown`.
  LookupTest() {
    (void)tk.BindKey(screen::Key::Alt('Q'), [this] { shown = term.DumpUtf8(); });
  }

  std::string shown;
};

// ---- the register list ----

TEST_F(LookupTest, RegisterListShowsNameOrderWithFootersAndPicksTheLine) {
  Register(ThreeTaxpayers());
  std::string details;
  RegisterListHooks hooks;
  hooks.details = [&](const store::Record& r) { details = *r.GetTrimmed("CPF"); };
  term.Feed("{Wait 10}{Alt Q}{F6}{Down}{Enter}");
  auto pick = RegisterList(ec, {RegisterOrder::kName, "", false, false}, hooks);
  ASSERT_TRUE(pick.ok()) << pick.status().ToString();
  ASSERT_TRUE(pick->has_value());
  EXPECT_EQ((*pick)->cpf, "11111111111");
  EXPECT_EQ((*pick)->name, "CARLOS LIMA");
  EXPECT_EQ(details, "33333333333") << "F6 shows the details of the line under the cursor";
  EXPECT_NE(shown.find("F1- Ordena pelo nome Nro F2 - Ordena pelo Número"), std::string::npos);
  // Name order: ANA, CARLOS, MARIA.
  EXPECT_LT(shown.find("ANA PAULA"), shown.find("CARLOS LIMA"));
  EXPECT_LT(shown.find("CARLOS LIMA"), shown.find("MARIA SOUZA"));
  EXPECT_NE(shown.find("111.111.111-11"), std::string::npos);
  EXPECT_NE(shown.find("   3 Declaraçöes"), std::string::npos) << shown;
  EXPECT_NE(shown.find("66.67% Simples"), std::string::npos) << shown;
  EXPECT_NE(shown.find("33.33% Compl"), std::string::npos) << shown;
  // Left in CPF order after a list in name order, on the pick.
  EXPECT_EQ(areas.Get(9)->active_order(), 1);
  EXPECT_EQ(Text(*areas.Get(9), areas.Get(9)->recno().value, "CPF"), "11111111111");
}

TEST_F(LookupTest, TypingSeeksLettersByNameAndDigitsByCpf) {
  struct Case {
    const char* keys;
    RegisterOrder order;
    const char* cpf;
  };
  const Case cases[] = {
      {"M{Enter}", RegisterOrder::kCpf, "22222222222"},
      {"c{Enter}", RegisterOrder::kCpf, "11111111111"},
      {"3{Enter}", RegisterOrder::kName, "33333333333"},
      {"2{Enter}", RegisterOrder::kName, "22222222222"},
      // Past the last key: the last line.
      {"Z{Enter}", RegisterOrder::kCpf, "22222222222"},
      {"9{Enter}", RegisterOrder::kName, "33333333333"},
      // F2 then F1 back to names, Ctrl PgDn to the last.
      {"{F2}{F1}{Ctrl PgDn}{Enter}", RegisterOrder::kCpf, "22222222222"},
      {"{F3}{Ctrl PgDn}{Enter}", RegisterOrder::kName, "33333333333"},
  };
  Register(ThreeTaxpayers());
  for (const Case& c : cases) {
    term.Feed(c.keys);
    auto pick = RegisterList(ec, {c.order, "", false, false});
    ASSERT_TRUE(pick.ok()) << c.keys << ": " << pick.status().ToString();
    ASSERT_TRUE(pick->has_value()) << c.keys;
    EXPECT_EQ((*pick)->cpf, c.cpf) << c.keys;
  }
}

TEST_F(LookupTest, RegisterListStartsAtTheKeyKeepsTheRuralFilterAndEscPicksNothing) {
  Register(ThreeTaxpayers());
  term.Feed("{Enter}");
  auto at_key = RegisterList(ec, {RegisterOrder::kName, "car", false, false});
  ASSERT_TRUE(at_key.ok() && at_key->has_value());
  EXPECT_EQ((*at_key)->name, "CARLOS LIMA");

  term.Feed("{Enter}");
  auto by_status = RegisterList(ec, {RegisterOrder::kStatus, "3", false, false});
  ASSERT_TRUE(by_status.ok() && by_status->has_value());
  EXPECT_EQ((*by_status)->name, "ANA PAULA");

  // Rural only: a key before the only rural taxpayer still lands on her.
  term.Feed("{Wait 10}{Alt Q}{Enter}");
  auto rural = RegisterList(ec, {RegisterOrder::kCpf, "0", true, false});
  ASSERT_TRUE(rural.ok() && rural->has_value());
  EXPECT_EQ((*rural)->name, "MARIA SOUZA");
  EXPECT_EQ(shown.find("CARLOS"), std::string::npos);
  EXPECT_EQ(areas.Get(9)->active_order(), 2) << "name order after the CPF list";

  term.Feed("{Down}{Esc}");
  auto none = RegisterList(ec, {RegisterOrder::kName, "", false, false});
  ASSERT_TRUE(none.ok());
  EXPECT_FALSE(none->has_value());
}

TEST_F(LookupTest, ShortListAndEmptyRegister) {
  Register({});
  term.Feed("{Wait 10}{Alt Q}{Enter}");
  auto pick = RegisterList(ec, {RegisterOrder::kName, "", false, false});
  ASSERT_TRUE(pick.ok()) << pick.status().ToString();
  EXPECT_FALSE(pick->has_value());
  // The percentages stay blank rather than dividing by nothing.
  EXPECT_NE(shown.find("   0 Declaraçöes"), std::string::npos) << shown;
  EXPECT_NE(shown.find("     % Simples"), std::string::npos) << shown;

  Fill(*areas.Get(9), {{"CPF", "44444444444"}, {"NOMECONTR", "JOSE"}});
  term.Feed("{Wait 10}{Alt Q}{Enter}");
  auto short_pick = RegisterList(ec, {RegisterOrder::kName, "", false, true});
  ASSERT_TRUE(short_pick.ok() && short_pick->has_value());
  EXPECT_EQ((*short_pick)->cpf, "44444444444");
  EXPECT_NE(shown.find("444.444.444-44"), std::string::npos);
  EXPECT_EQ(shown.find("Declaraçöes"), std::string::npos) << "the short list has no footers";
}

TEST_F(LookupTest, StatusTextComesFromTheStatusTable) {
  Reference(66, {{{"COD", "2"}, {"DESCRICAO", "ENTREGUE"}}});
  ASSERT_TRUE(store::ABERTURA(ctx, areas, 66).ok());
  Register(ThreeTaxpayers());
  term.Feed("{Wait 10}{Alt Q}{Esc}");
  ASSERT_TRUE(RegisterList(ec, {RegisterOrder::kName, "", false, false}).ok());
  const size_t maria = shown.find("MARIA SOUZA");
  ASSERT_NE(maria, std::string::npos);
  EXPECT_NE(shown.substr(maria, 80).find("ENTREGUE"), std::string::npos) << shown;
}

TEST_F(LookupTest, ListNeverOpensInsideAnother) {
  Register(ThreeTaxpayers());
  RegisterListHooks h;
  Result<std::optional<RegisterPick>> inner = Status::Invalid("not run");
  h.warnings = [&](const store::Record&) {
    inner = RegisterList(ec, {RegisterOrder::kName, "", false, false});
  };
  term.Feed("{F11}{Esc}");
  ASSERT_TRUE(RegisterList(ec, {RegisterOrder::kName, "", false, false}, h).ok());
  ASSERT_TRUE(inner.ok());
  EXPECT_FALSE(inner->has_value());
  EXPECT_FALSE(LookupListOpen()) << "the guard is cleared on Esc";
}

TEST(RegisterFootersTest, CountsAndPercentages) {
  struct Case {
    RegisterCounts counts;
    std::vector<std::string> want;
  };
  const Case cases[] = {
      {{0, 0, 0, 0},
       {"   0 Declara\x87\x94"
        "es",
        "     % Simples", "     % Compl", "  0", "  0", "simp.   0 comp."}},
      {{3, 2, 1, 1},
       {"   3 Declara\x87\x94"
        "es",
        "66.67% Simples", "33.33% Compl", "  1", "  2", "simp.   1 comp."}},
      {{8, 1, 7, 0},
       {"   8 Declara\x87\x94"
        "es",
        "12.50% Simples", "87.50% Compl", "  0", "  1", "simp.   7 comp."}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> got = RegisterFooters(c.counts, 17);
    ASSERT_EQ(got.size(), 17u);
    got.resize(6);
    EXPECT_EQ(got, c.want) << c.counts.total;
  }
}

// ---- the field -> list configuration ----

class LookupConfigTest : public LookupTest {
 protected:
  LookupConfigTest() {
    line_profile.number = 1;
    line_profile.columns = {{"I1_2", "I1_2", "", "Fonte", "", false}};
  }
  store::WorkArea& income = WorkCopy(2);
  Profile line_profile;
  RecordBrowser line{ec, line_profile, income, {2, 0, 22, 79}};
};

TEST_F(LookupConfigTest, EveryFieldOpensItsList) {
  struct Case {
    const char* field;
    bool on_line;
    int table;
    int area;
    const char* first_heading;  // "" for the register list's own columns
  };
  const Case cases[] = {
      {"CPF", false, 9, 9, ""},
      {"NOMECONTR", false, 9, 9, ""},
      {"CPF1", false, 9, 9, ""},
      {"CPF2", false, 9, 9, ""},
      {"DIRCONJU", false, 9, 9, ""},
      {"CPFEMAIL", false, 9, 9, ""},
      {"CPFSAC", false, 9, 9, "Nome do Contribuinte"},
      {"CGCPAGADOR", false, 2, 22, " Firma pagadora "},
      {"CDPRO", false, 58, 58, "Cód"},
      {"OCUPACAO", false, 58, 58, "Cód"},
      {"CODAT", false, 59, 59, "Cód"},
      {"DESCRAT", false, 59, 59, "Cód"},
      {"I1_8", true, 3, 23, "Nome Dependente "},
      {"CPFDEPEN", false, 3, 23, "Nome Dependente "},
      {"CPFALIEN", false, 3, 23, "Nome Dependente "},
      {"CPFDEP", false, 3, 23, "Nome Dependente "},
      {"NROBEN2", false, 3, 23, "Nome Dependente "},
      {"I1_2", true, 55, 55, "Nro."},
      {"I1_3", true, 55, 55, "Nro."},
      {"BANCO", false, 55, 55, "Nro."},
      {"NROBANCO", false, 55, 55, "Nro."},
      {"NRO_BANCO", true, 55, 55, "Nro."},
      {"NOM_BANCO", true, 55, 55, "Nro."},
      {"ListaBanco", false, 77, 77, "Banco / Empresa"},
      {"CODIDEPEN", true, 47, 47, "Cod."},
      {"I7_5", true, 46, 46, "Cod."},
      {"nDesIni", false, 46, 46, "Cod."},
      {"nDesFim", false, 46, 46, "Cod."},
      {"I8_5", true, 48, 48, "Cod."},
      {"I6_3", true, 49, 49, "Cod."},
      {"CODIGO", true, 49, 49, "Cod."},
      {"CODIGOA", false, 69, 69, "Cod."},
      {"AUXPAG", false, 53, 53, "Descrição"},
      {"AUXFON", false, 74, 74, "Fonte Pagadora"},
      {"ORIGEM", false, 50, 50, "Nome dos diretórios"},
      {"DESTINO", false, 50, 50, "Nome dos diretórios"},
      {"I7_8", true, 60, 60, "Cod."},
      {"CODPAIS", false, 60, 60, "Cod."},
      {"CODEXTE", false, 60, 60, "Cod."},
      {"I8R_3", true, 60, 60, "Cod."},
      {"CODEMB", false, 61, 61, "Cod."},
      {"ESTATUS", false, 66, 66, "Cod."},
      {"OPC_TRAN", false, 66, 66, "Cod."},
      {"TIPOEND", false, 65, 65, "Tipo Endereço"},
      {"RUAIMO", false, 65, 65, "Tipo Endereço"},
      {"MUNICIPIO", false, 64, 64, "Nome dos municípios"},
      {"MUNICIMO", true, 64, 64, "Nome dos municípios"},
      {"CID_SOCIE", false, 64, 64, "Nome dos municípios"},
      {"DISTR_IMR", false, 64, 64, "Nome dos municípios"},
      {"CIDDOA", false, 75, 75, "Nome dos municípios"},
      {"CDCONTA", false, 62, 62, "Código"},
  };
  for (const Case& c : cases) {
    LookupTarget t;
    t.field = c.field;
    if (c.on_line) t.line = &line;
    std::optional<LookupConfig> cfg = FindLookup(t);
    ASSERT_TRUE(cfg.has_value()) << c.field;
    EXPECT_EQ(cfg->table, c.table) << c.field;
    EXPECT_EQ(cfg->area, c.area) << c.field;
    EXPECT_EQ(cfg->register_list, std::string(c.first_heading).empty()) << c.field;
    if (!cfg->register_list) {
      ASSERT_FALSE(cfg->columns.empty()) << c.field;
      EXPECT_EQ(cfg->columns[0].heading, Cp850(c.first_heading)) << c.field;
    }
  }
}

TEST_F(LookupConfigTest, ListsThatDependOnTheScreen) {
  LookupTarget t;
  // Fields without a list, and line columns edited as globals.
  for (const char* f : {"NOSUCH", "I1_8", "I7_5", "I6_3", "CODIDEPEN", "TIPO_BEM", "I3_04"}) {
    t.field = f;
    EXPECT_FALSE(FindLookup(t).has_value()) << f;
  }
  // The asset list of profile 30 keeps its CODIGO without a list.
  line_profile.number = 30;
  t.field = "CODIGO";
  t.line = &line;
  EXPECT_FALSE(FindLookup(t).has_value());
  t.line = nullptr;

  t.field = "MUNICIPIO";
  t.editing_state = true;
  EXPECT_EQ(FindLookup(t)->columns[0].heading, "Nome dos Estados");

  // Gains: the kind's columns, kind 4 as kind 1, movable goods where they are.
  t = {};
  t.field = "TIPO_BEM";
  struct Gains {
    int kind;
    const char* third;
    size_t columns;
  };
  for (const Gains& g : {Gains{1, "Descrição do Bem", 6}, Gains{4, "Descrição do Bem", 6},
                         Gains{3, "Nome da Sociedade", 6}, Gains{5, "Tributado", 4}}) {
    t.gains_kind = g.kind;
    std::optional<LookupConfig> cfg = FindLookup(t);
    ASSERT_TRUE(cfg && cfg->gains) << g.kind;
    EXPECT_EQ(cfg->area, 27);
    ASSERT_EQ(cfg->columns.size(), g.columns) << g.kind;
    EXPECT_EQ(cfg->columns[2].heading, Cp850(g.third)) << g.kind;
  }
  store::Record gain = WorkCopy(7).table().BlankRecord();
  ASSERT_TRUE(gain.PutNumber("TIPO_BEM", core::Decimal::FromInt(2)).ok());
  ASSERT_TRUE(gain.PutText("BEMBRASIL", "N").ok());
  t.gains_kind = 2;
  t.gains_in_brazil = "S";
  EXPECT_FALSE(FindLookup(t)->filter(gain));
  t.gains_in_brazil = "N";
  EXPECT_TRUE(FindLookup(t)->filter(gain));
  t.gains_kind = 1;
  EXPECT_FALSE(FindLookup(t)->filter(gain));
}

// ---- choosing ----

TEST_F(LookupTest, ChoosingFillsTheFieldAndItsRelatedVariables) {
  Reference(58, {{{"CDPRO", "212"}, {"OCUPACAO", "Engenheiro"}}});
  Reference(64, {{{"NOMEMUNI", "SP - São Paulo"}, {"NROMUNI", "0001"}},
                 {{"NOMEMUNI", "Campinas"}, {"NROMUNI", "6291"}}});
  Reference(66, {{{"COD", "4"}, {"DESCRICAO", "PRONTA"}}});
  Register(ThreeTaxpayers());
  WorkCopy(3);
  Fill(*areas.Get(23), {{"CPF", kCpf}, {"NOMEDEPEN", "FILHO"}, {"CPFDEPEN", "55555555555"}});

  struct Case {
    const char* field;
    const char* keys;
    bool editing_state;
    std::vector<std::pair<const char*, std::string>> want;
  };
  const Case cases[] = {
      {"CDPRO", "{Enter}", false, {{"CDPRO", "212"}, {"OCUPACAO", "Engenheiro"}}},
      {"MUNICIPIO", "{Down}{Enter}", false, {{"MUNICIPIO", "Campinas"}, {"CODMUNI", "6291"}}},
      // A state's line while UF is edited: only its two letters.
      {"MUNICIPIO", "{Enter}", true, {{"UF", "SP"}, {"MUNICIPIO", ""}}},
      {"ESTATUS", "{Enter}", false, {{"ESTATUS", "4"}}},
      // The register as it is: in CPF order, as it was opened.
      {"CPF2", "{Ctrl PgUp}{Enter}", false, {{"CPF2", "11111111111"}}},
      // Then in name order, as the CPF list leaves it.
      {"DIRCONJU", "{Ctrl PgUp}{Enter}", false, {{"CPFCONJU", "33333333333"}, {"DIRCONJU", "X"}}},
      {"CPFDEPEN", "{Enter}", false, {{"CPFDEPEN", "55555555555"}}},
      // Esc in the dependants' list leaves the field as it was.
      {"CPFDEPEN", "{Esc}", false, {{"CPFDEPEN", "00000000000"}}},
  };
  for (const Case& c : cases) {
    screen::MapVariableStore vars;
    for (const char* v :
         {"CDPRO", "OCUPACAO", "MUNICIPIO", "CODMUNI", "UF", "CPF2", "CPFCONJU", "CPFDEPEN"}) {
      vars.Define(v, std::string());
    }
    vars.Define("DIRCONJU", std::string("X"));
    vars.Define("CPFDEPEN", std::string("00000000000"));
    vars.Define("ESTATUS", core::Decimal());
    FieldLookups lookups(ec);
    LookupTarget t;
    t.field = c.field;
    t.vars = &vars;
    t.editing_state = c.editing_state;
    term.Feed(c.keys);
    Result<bool> chosen = lookups.GERAL(t);
    ASSERT_TRUE(chosen.ok()) << c.field << ": " << chosen.status().ToString();
    for (const auto& [name, value] : c.want) {
      Result<screen::EditValue> got = vars.Get(name);
      ASSERT_TRUE(got.ok()) << name;
      if (auto* d = std::get_if<core::Decimal>(&*got)) {
        EXPECT_EQ(d->ToString(), value) << c.field << " " << name;
      } else {
        EXPECT_EQ(core::Cp850ToUtf8(std::get<std::string>(*got)), value) << c.field << " " << name;
      }
    }
  }
  EXPECT_EQ(areas.Get(58), nullptr) << "the occupations are closed after the list";
}

TEST_F(LookupTest, AMissingTableShowsNoList) {
  FieldLookups lookups(ec);
  screen::MapVariableStore vars;
  vars.Define("CODEMB", std::string());
  LookupTarget t;
  t.field = "CODEMB";
  t.vars = &vars;
  Result<bool> chosen = lookups.GERAL(t);
  ASSERT_TRUE(chosen.ok()) << chosen.status().ToString();
  EXPECT_FALSE(*chosen);
  EXPECT_TRUE(term.script_empty());
}

// The income list of the titular (profile 1) with a dependant's CPF or a payer
// chosen into its line.
class LookupLineTest : public LookupTest {
 protected:
  LookupLineTest() {
    state.presets.income_kind = "D";
    state.presets.titular = "N";
    state.presets.dependant_cpf = "55555555555";
    WorkCopy(3);
    Fill(*areas.Get(23), {{"CPF", kCpf}, {"NOMEDEPEN", "FILHO"}, {"CPFDEPEN", "55555555555"}});
    profile.number = 1;
    profile.columns = {{"I1_2", "I1_2", "", "Fonte", "", false},
                       {"I1_8", "I1_8", "", "Dependente", "", false}};
  }
  store::WorkArea& income = WorkCopy(2);
  Profile profile;
};

TEST_F(LookupLineTest, DependantChosenOnTheAppendRowMakesANewLine) {
  RecordBrowser b(ec, profile, income, {2, 0, 22, 79});
  ENTRY_ASSERT_OK(b.Init());
  ASSERT_TRUE(b.appending());
  FieldLookups lookups(ec);
  LookupTarget t;
  t.field = "I1_8";
  t.line = &b;
  areas.Select(1);
  term.Feed("{Enter}");
  Result<bool> chosen = lookups.GERAL(t);
  ASSERT_TRUE(chosen.ok()) << chosen.status().ToString();
  EXPECT_TRUE(*chosen);
  ASSERT_EQ(*income.table().RefreshCount(), 1u);
  EXPECT_EQ(Text(income, 1, "CPF"), kCpf);
  EXPECT_EQ(Text(income, 1, "I1_8"), "55555555555");
  EXPECT_EQ(Text(income, 1, "I1_1"), "D");
  EXPECT_EQ(Text(income, 1, "I1_11"), "N");
  EXPECT_FALSE(income.table().HoldsRecordLock(store::RecNo{1}));
  EXPECT_EQ(areas.current(), 1) << "the area selected before comes back";
}

TEST_F(LookupLineTest, ALineHeldByAnotherStationIsNotWritten) {
  Fill(income, {{"CPF", kCpf}, {"I1_2", "EMPRESA"}});
  auto other = store::Table::Open(env, income.table().path(), store::Sharing::kShared);
  ASSERT_TRUE(other.ok());
  ENTRY_ASSERT_OK((*other)->LockRecord(store::RecNo{1}));
  RecordBrowser b(ec, profile, income, {2, 0, 22, 79});
  ENTRY_ASSERT_OK(b.Init());
  FieldLookups lookups(ec);
  LookupTarget t;
  t.field = "I1_8";
  t.line = &b;
  term.Feed("{Enter}");
  Result<bool> chosen = lookups.GERAL(t);
  EXPECT_FALSE(chosen.ok() && *chosen);
  EXPECT_EQ(Text(income, 1, "I1_8"), "");
  EXPECT_EQ(*income.table().RefreshCount(), 1u) << "no new line";
}

TEST_F(LookupLineTest, BankChosenIntoALineKeepsWhoOwnsIt) {
  Reference(55, {{{"NUMBAN", "341"}, {"NOMEBAN", "BANCO DOIS"}, {"CNPJBAN", "22.222.222/0001-22"}},
                 {{"NUMBAN", "001"}, {"NOMEBAN", "BANCO UM"}, {"CNPJBAN", "11.111.111/0001-11"}}});
  Fill(income, {{"CPF", kCpf}, {"I1_1", "J"}, {"I1_11", "S"}});
  RecordBrowser b(ec, profile, income, {2, 0, 22, 79});
  ENTRY_ASSERT_OK(b.Init());
  FieldLookups lookups(ec);
  LookupTarget t;
  t.field = "I1_3";  // by name: BANCO DOIS first
  t.line = &b;
  term.Feed("{Enter}");
  Result<bool> chosen = lookups.GERAL(t);
  ASSERT_TRUE(chosen.ok()) << chosen.status().ToString();
  EXPECT_EQ(Text(income, 1, "I1_2"), "BANCO DOIS");
  EXPECT_EQ(Text(income, 1, "I1_3"), "22.222.222/0001-22");
  EXPECT_EQ(Text(income, 1, "I1_11"), "S");
  EXPECT_EQ(Text(income, 1, "I1_8"), "");
  EXPECT_EQ(*income.table().RefreshCount(), 1u);
}

TEST_F(LookupLineTest, AuxiliaryPayerAddsAnIncomeLine) {
  Reference(74, {{{"NOME", "PADARIA"}, {"CGCCPF", "12.345.678/0001-95"}}});
  FieldLookups lookups(ec);
  screen::MapVariableStore vars;
  vars.Define("CPFDEPEN", std::string("66666666666"));
  LookupTarget t;
  t.field = "AUXFON";
  t.vars = &vars;
  term.Feed("{Enter}");
  Result<bool> chosen = lookups.GERAL(t);
  ASSERT_TRUE(chosen.ok()) << chosen.status().ToString();
  ASSERT_EQ(*income.table().RefreshCount(), 1u);
  EXPECT_EQ(Text(income, 1, "I1_2"), "PADARIA");
  EXPECT_EQ(Text(income, 1, "I1_3"), "12.345.678/0001-95");
  EXPECT_EQ(Text(income, 1, "I1_8"), "66666666666") << "the dependant's line";
  EXPECT_EQ(areas.Get(74), nullptr) << "opened for the list, closed after it";
}

TEST_F(LookupLineTest, CapitalGainsListHandsTheGainToItsScreen) {
  store::WorkArea& gains = WorkCopy(7);
  Fill(gains, {{"CPF", kCpf}, {"TIPO_BEM", "3"}, {"NOME_SOCIE", "ACME"}});
  Fill(gains, {{"CPF", kCpf}, {"TIPO_BEM", "1"}, {"ESPC_BEM", "CASA"}});
  std::vector<std::optional<store::RecNo>> opened;
  LookupHooks hooks;
  hooks.open_gain = [&](LookupTarget&, std::optional<store::RecNo> g) { opened.push_back(g); };
  FieldLookups lookups(ec, hooks);
  LookupTarget t;
  t.field = "TIPO_BEM";
  t.gains_kind = 1;
  term.Feed("{Enter}");
  ASSERT_TRUE(lookups.GERAL(t).ok());
  t.gains_kind = 5;  // none of that kind: Enter starts a new gain
  term.Feed("{Enter}");
  ASSERT_TRUE(lookups.GERAL(t).ok());
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[0], store::RecNo{2});
  EXPECT_EQ(opened[1], std::nullopt);
}

// ---- the form's lookup key ----

TEST_F(LookupTest, FormFieldOpensItsListWithF1) {
  Reference(66, {{{"COD", "1"}, {"DESCRICAO", "INICIADA"}}, {{"COD", "7"}, {"DESCRICAO", "PAGA"}}});
  FieldLookups lookups(ec);
  EXPECT_TRUE(lookups.Has("ESTATUS"));
  EXPECT_FALSE(lookups.Has("NOSUCH"));
  screen::MapVariableStore vars;
  vars.Define("ESTATUS", core::Decimal());
  screen::FormOptions options;
  options.hot_keys.push_back(screen::LookupHotKey(lookups));
  screen::Form form(tk, vars, {{5, 10, "ESTATUS", "99", 0, nullptr, nullptr}}, options);
  term.Feed("{F1}{Down}{Enter}{Enter}");
  Result<screen::FormResult> r = form.Read();
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  EXPECT_EQ(r->end, screen::FormEnd::kSaved);
  EXPECT_EQ(std::get<core::Decimal>(*vars.Get("ESTATUS")).ToString(), "7");
}

}  // namespace
}  // namespace dodu::entry::testing
