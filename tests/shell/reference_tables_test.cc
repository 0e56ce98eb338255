// The reference tables built from the lists in the shared data folder, read in
// place (skipped when the folder is not there), and from small lists of the
// test's own for the failure paths.
#include "shell/reference_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "core/codepage.h"
#include "core/decimal.h"
#include "platform/env.h"
#include "platform/memory_env.h"
#include "platform/message_sink.h"
#include "platform/testutil.h"
#include "shell/csv.h"
#include "shell/reference_tables_rows.h"
#include "store/key_expr.h"
#include "store/opener.h"
#include "store/table.h"

namespace dodu::shell {
namespace {

const std::string kSharedData = std::string(DODU_SHARED_DIR) + "/data";

// A station's opener over an installation folder, for reading the tables the
// way the program does.
struct Station {
  explicit Station(platform::Env& env, const std::string& folder) : ctx(env, sink, wait) {
    ctx.installation_folder = folder;
    ctx.data_folder = folder;
    ctx.work_folder = folder;
  }
  platform::RecordingSink sink;
  store::RecordingWaitObserver wait;
  store::OpenerContext ctx;
  store::WorkAreas areas;

  store::WorkArea& Open(int number) {
    Status st = store::ABERTURA(ctx, areas, number);
    EXPECT_TRUE(st.ok()) << number << ": " << st.ToString();
    store::WorkArea* a = areas.Get(number);
    if (a == nullptr) ADD_FAILURE() << "table " << number << " not open";
    return *a;
  }
  // The record the active order finds for `key` (an empty record when none).
  store::Record Find(int number, std::string_view key, int order = 1) {
    store::WorkArea& a = Open(number);
    EXPECT_TRUE(a.SetOrder(order).ok());
    Result<bool> found = a.Seek(key);
    EXPECT_TRUE(found.ok() && *found) << number << " has no key \"" << key << "\"";
    if (!found.ok() || !*found) return {};
    Result<store::Record> r = a.Current();
    return r.ok() ? *r : store::Record();
  }
};

// Every record of an area in its active order.
std::vector<store::Record> All(store::WorkArea& a) {
  std::vector<store::Record> out;
  Status st = a.Top();
  while (st.ok() && !a.eof()) {
    Result<store::Record> r = a.Current();
    if (!r.ok()) break;
    out.push_back(*r);
    st = a.Skip();
  }
  EXPECT_TRUE(st.ok()) << st.ToString();
  return out;
}

std::string Text(const store::Record& r, std::string_view field) {
  if (r.bytes().empty()) return "<no record>";
  Result<std::string> t = r.GetTrimmed(field);
  return t.ok() ? *t : "<" + t.status().ToString() + ">";
}

core::Decimal Number(const store::Record& r, std::string_view field) {
  if (r.bytes().empty()) return core::Decimal();
  Result<core::Decimal> d = r.GetNumber(field);
  EXPECT_TRUE(d.ok()) << field;
  return d.ok() ? *d : core::Decimal();
}

class SharedListsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    env_ = platform::NewPosixEnv().release();
    if (!env_->IsDirectory(kSharedData)) return;
    dir_ = new dodu::testing::TempDir();
    report_ = new ReferenceReport(BuildReferenceTables(*env_, dir_->path(), kSharedData));
  }
  static void TearDownTestSuite() {
    delete report_;
    delete dir_;
    delete env_;
    report_ = nullptr;
    dir_ = nullptr;
    env_ = nullptr;
  }
  void SetUp() override {
    if (report_ == nullptr) GTEST_SKIP() << "no reference lists in " << kSharedData;
  }

  static platform::Env* env_;
  static dodu::testing::TempDir* dir_;
  static ReferenceReport* report_;
};

platform::Env* SharedListsTest::env_ = nullptr;
dodu::testing::TempDir* SharedListsTest::dir_ = nullptr;
ReferenceReport* SharedListsTest::report_ = nullptr;

TEST_F(SharedListsTest, EveryTableHasTheRowsOfItsList) {
  // Row counts of the lists' documentation; banks: the 233 operating by
  // 30/04/2020 and the one without a start date; countries: the 249 with a
  // central-bank code; municipalities: 5570 and the 27 state records.
  const struct {
    int number;
    const char* file;
    uint32_t rows;
  } expected[] = {
      {45, "HELPTXT", 0},  {46, "CODBENS", 50},   {47, "CODEPEN", 10},   {48, "CODDIVI", 6},
      {49, "DESPESA", 43}, {51, "UFIRM", 341},    {52, "AUXBENS", 0},    {53, "AUXPAG", 0},
      {55, "BANCOS", 234}, {58, "OCUPACAO", 134}, {59, "CODNATUR", 23},  {60, "TABPAIS", 249},
      {61, "TABEMBA", 0},  {64, "TABMUNI", 5597}, {69, "CODABENS", 0},   {75, "ECACIDAD", 0},
      {75, "IDOCIDAD", 0}, {94, "TAB_MUNI", 5597},
  };
  EXPECT_TRUE(report_->complete());
  EXPECT_TRUE(report_->missing_files.empty());
  for (const auto& e : expected) {
    const ReferenceTableResult* r = report_->Find(e.number, e.file);
    ASSERT_NE(r, nullptr) << e.file;
    EXPECT_EQ(r->outcome, ReferenceOutcome::kBuilt) << e.file << ": " << r->status.ToString();
    EXPECT_EQ(r->rows, e.rows) << e.file;
    auto t = store::Table::Open(*env_, dir_->path() + "/" + e.file + ".DBF", store::Sharing::kShared);
    ASSERT_TRUE(t.ok()) << e.file << ": " << t.status().ToString();
    EXPECT_EQ((*t)->record_count(), e.rows) << e.file;
  }
  EXPECT_FALSE(env_->Exists(dir_->path() + "/_REFNOVA")) << "staging folder left behind";
  EXPECT_TRUE(env_->Exists(dir_->path() + "/HELPTXT.DBT"));
}

TEST_F(SharedListsTest, TextIsCodePage850CutToTheField) {
  Station s(*env_, dir_->path());
  // Municipalities: seek by code through a temporary order is the callers'
  // business; read in file order and find São Paulo.
  const std::vector<store::Record> muni = All(s.Open(64));
  ASSERT_EQ(muni.size(), 5597u);
  bool seen = false;
  for (const store::Record& r : muni) {
    if (Text(r, "NROMUNI") != "7107") continue;
    EXPECT_EQ(Text(r, "NOMEMUNI"), core::Cp850("SÃO PAULO"));
    EXPECT_EQ(Text(r, "NOMEMUNI"), "S\xC7O PAULO");  // Ã is 0xC7 in code page 850
    EXPECT_EQ(Text(r, "UNIFED"), "SP");
    EXPECT_EQ(Text(r, "CODCID"), "3550308");
    seen = true;
  }
  EXPECT_TRUE(seen);
  // The state records close the list; the second list has the names without accents.
  EXPECT_EQ(Text(muni.back(), "UNIFED"), "");
  EXPECT_EQ(Text(muni.back(), "NOMEMUNI").substr(2, 3), " - ");
  for (const store::Record& r : All(s.Open(94))) {
    if (Text(r, "NROMUNI") == "2813") {
      EXPECT_EQ(Text(r, "NOMEMUNI"), "OLHO D'AGUA DAS FLORES");
    }
    if (Text(r, "CODCID") == "35") {
      EXPECT_EQ(Text(r, "NOMEMUNI"), "SP - SAO PAULO");
    }
  }
  // Banks: the name cut to its 60 characters, the CNPJ punctuated.
  store::Record itau = s.Find(55, "341");
  EXPECT_EQ(Text(itau, "NOMEBAN"), core::Cp850("ITAÚ UNIBANCO S.A."));
  EXPECT_EQ(Text(itau, "CNPJBAN"), "60.701.190/0001-04");
  store::Record bb = s.Find(55, "BANCO DO BRASIL", 2);
  EXPECT_EQ(Text(bb, "NUMBAN"), "001");
  EXPECT_EQ(Text(s.Find(55, "00.000.000/0001-91", 3), "NUMBAN"), "001");
  store::Record pan = s.Find(55, "555");
  std::string cut = core::Cp850(
      "PAN FINANCEIRA S.A. - SOCIEDADE DE CRÉDITO, FINANCIAMENTO E INVESTIMENTOS").substr(0, 60);
  EXPECT_EQ(Text(pan, "NOMEBAN"), cut.substr(0, cut.find_last_not_of(' ') + 1));
  // Started after April 2020: left out.
  store::WorkArea& banks = s.Open(55);
  EXPECT_FALSE(*banks.Seek("023"));
}

TEST_F(SharedListsTest, CodesKeepLeadingZerosAndIndexesSeekThem) {
  Station s(*env_, dir_->path());
  EXPECT_EQ(Text(s.Find(58, "000"), "OCUPACAO"),
            core::Cp850("Outras ocupações não especificadas anteriormente"));
  EXPECT_EQ(Text(s.Find(58, "010"), "OCUPACAO"), core::Cp850("Militar da Aeronáutica"));
  EXPECT_EQ(Text(s.Find(58, core::Cp850("PROFESSOR DO ENSINO FUNDAMENTAL"), 2), "CDPRO"), "291");
  EXPECT_EQ(Text(s.Find(59, "01"), "DESCRAT").size(), 58u);  // longer in the list: cut
  EXPECT_EQ(Text(s.Find(60, "105"), "NOMPAIS"), "Brasil");
  EXPECT_EQ(Text(s.Find(60, "023"), "NOMPAIS"), "Alemanha");
  // Numeric codes: the index holds numbers.
  EXPECT_EQ(Text(s.Find(46, store::NumericKeyFromInt(21)), "DESCBENS"),
            core::Cp850("Veículo automotor terrestre: caminhão, automóvel, moto, etc."));
  EXPECT_EQ(Text(s.Find(47, store::NumericKeyFromInt(11)), "DESCRICAO").substr(0, 13),
            "Companheiro(a");
  EXPECT_EQ(Text(s.Find(48, store::NumericKeyFromInt(16)), "DESCDIV"),
            core::Cp850("Outras dívidas e ônus reais"));
  EXPECT_EQ(Text(s.Find(49, store::NumericKeyFromInt(1)), "DESCDOA"),
            core::Cp850("Instrução no Brasil"));
  EXPECT_EQ(Text(s.Find(49, store::NumericKeyFromInt(44)), "DESCDOA").substr(0, 18),
            "Estatuto do Idoso:");
  // The opener found every index current: none was rebuilt.
  for (const std::string& text : s.sink.status) {
    EXPECT_EQ(text.find("ndice"), std::string::npos) << text;
  }
}

TEST_F(SharedListsTest, SelicRatesAreExact) {
  Station s(*env_, dir_->path());
  const struct {
    const char* month;
    const char* rate;
  } cases[] = {{"199501", "3.37"}, {"201901", "0.54"}, {"202002", "0.29"}};
  for (const auto& c : cases) {
    store::Record r = s.Find(51, c.month);
    EXPECT_EQ(Number(r, "TJM"), *core::Decimal::Parse(c.rate)) << c.month;
    EXPECT_EQ(Text(r, "SIMB_MOED"), "R$");
  }
}

TEST_F(SharedListsTest, SystemListsAreFilled) {
  Station s(*env_, dir_->path());
  // Every warning code the declaration check records has its text and severity.
  const int used[] = {1,  2,  6,  8,  10, 11, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24,
                      25, 26, 27, 28, 31, 32, 34, 35, 40, 41, 45, 46, 47, 48, 49, 50, 51,
                      52, 53, 54, 55, 56, 57, 58, 60, 61, 62, 63, 64, 65, 66, 67, 68, 69,
                      70, 71, 72, 73, 74, 75, 77, 78, 79, 80, 81, 82, 83, 84, 85, 86, 87,
                      91, 92, 93, 99};
  for (int code : used) {
    store::Record r = s.Find(54, store::NumericKeyFromInt(code));
    const core::Decimal grau = Number(r, "GRAU");
    EXPECT_TRUE(grau >= core::Decimal::FromInt(1) && grau <= core::Decimal::FromInt(3)) << code;
    if (code != 99) {
      EXPECT_FALSE(Text(r, "DESCRI").empty()) << code;
    }
  }
  EXPECT_EQ(Text(s.Find(54, store::NumericKeyFromInt(83)), "DESCRI"), "Falta informar");
  EXPECT_EQ(Text(s.Find(66, store::NumericKeyFromInt(1)), "DESCRICAO"),
            core::Cp850("EM DIGITAÇÃO"));
  EXPECT_EQ(Text(s.Find(65, "RUA"), "NOMELOGRA"), "RUA");
  EXPECT_EQ(Text(s.Find(62, "5041"), "NMDESCRICA").substr(0, 15), "Ganho de capita");
}

TEST_F(SharedListsTest, ABuildAgainKeepsWhatIsThere) {
  // The office changed a list: a second build must not replace it.
  {
    auto t = store::Table::Open(*env_, dir_->path() + "/STATUS.DBF", store::Sharing::kExclusive);
    ASSERT_TRUE(t.ok());
    store::Record r = (*t)->BlankRecord();
    ASSERT_TRUE(r.PutNumber("COD", core::Decimal::FromInt(42)).ok());
    ASSERT_TRUE((*t)->Append(r).ok());
  }
  ReferenceReport again = BuildReferenceTables(*env_, dir_->path(), kSharedData);
  EXPECT_TRUE(again.complete());
  for (const auto& t : again.tables) {
    EXPECT_EQ(t.outcome, ReferenceOutcome::kKept) << t.file;
  }
  auto t = store::Table::Open(*env_, dir_->path() + "/STATUS.DBF", store::Sharing::kShared);
  ASSERT_TRUE(t.ok());
  EXPECT_EQ((*t)->record_count(), report_->Find(66)->rows + 1);
}

TEST_F(SharedListsTest, DbfreadReadsTheSameRows) {
  const std::string python = "/usr/bin/python3";
  if (!env_->Exists(python)) GTEST_SKIP() << "no " << python;
  platform::SpawnOptions o;
  o.stdout_path = dir_->path() + "/py.out";
  o.stderr_path = dir_->path() + "/py.err";
  auto probe = env_->Spawn({python, "-c", "import dbfread"}, o);
  if (!probe.ok() || probe->exit_status != 0) GTEST_SKIP() << "python module dbfread missing";
  const std::string script =
      "import sys, dbfread\n"
      "t = dbfread.DBF(sys.argv[1], encoding='cp850', char_decode_errors='strict')\n"
      "out = ''.join('%s|%s|%s|%s\\n' % (r['NROMUNI'], r['NOMEMUNI'], r['UNIFED'], r['CODCID'])"
      " for r in t)\n"
      "sys.stdout.buffer.write(out.encode('utf-8'))\n";
  auto run = env_->Spawn({python, "-c", script, dir_->path() + "/TABMUNI.DBF"}, o);
  ASSERT_TRUE(run.ok() && run->exit_status == 0) << *platform::ReadWholeFile(*env_, o.stderr_path);
  Result<std::string> got = platform::ReadWholeFile(*env_, o.stdout_path);
  ASSERT_TRUE(got.ok());

  Result<CsvTable> muni = ReadCsvFile(*env_, kSharedData + "/municipios.csv");
  Result<CsvTable> ufs = ReadCsvFile(*env_, kSharedData + "/ufs.csv");
  ASSERT_TRUE(muni.ok() && ufs.ok());
  std::string want;
  for (const auto& r : muni->rows) {
    want += r[0] + "|" + reference::UpperText(r[2]) + "|" + r[3] + "|" + r[1] + "\n";
  }
  for (const auto& r : ufs->rows) {
    want += "|" + r[1] + " - " + reference::UpperText(r[2]) + "||" + r[0] + "\n";
  }
  EXPECT_EQ(*got, want);
}

class OwnListsTest : public ::testing::Test {
 protected:
  OwnListsTest() : env(platform::NewPosixEnv()) {}
  void Write(const std::string& name, const std::string& text) {
    ASSERT_TRUE(platform::WriteFileAtomic(*env, lists / name, text).ok());
  }
  std::unique_ptr<platform::Env> env;
  dodu::testing::TempDir install;
  dodu::testing::TempDir lists;
};

TEST_F(OwnListsTest, AMissingOrDamagedListLeavesOnlyItsTableOut) {
  Write("bens.csv", "codigo,descricao\n21,Veículo\n");
  Write("selic.csv", "anomes,taxa\n201901,0.54\n201902,0.4");  // no final line end
  // Cut short in the middle of its first row.
  Write("bancos.csv", "numero,nome,cnpj,ispb,inicio_operacao\n001,Banco do Brasil S.A.,0000");
  ReferenceReport report = BuildReferenceTables(*env, install.path(), lists.path());
  EXPECT_FALSE(report.complete());
  EXPECT_EQ(report.Find(46)->outcome, ReferenceOutcome::kBuilt);
  EXPECT_EQ(report.Find(46)->rows, 1u);
  EXPECT_EQ(report.Find(51)->outcome, ReferenceOutcome::kBuilt);
  const ReferenceTableResult* banks = report.Find(55);
  EXPECT_EQ(banks->outcome, ReferenceOutcome::kFailed);
  EXPECT_TRUE(banks->status.IsCorrupt()) << banks->status.ToString();
  EXPECT_FALSE(env->Exists(install / "BANCOS.DBF"));
  const ReferenceTableResult* countries = report.Find(60);
  EXPECT_EQ(countries->outcome, ReferenceOutcome::kMissing);
  EXPECT_FALSE(env->Exists(install / "TABPAIS.DBF"));
  // Both municipality tables need the two lists; each missing list is named once.
  EXPECT_EQ(report.Find(64)->outcome, ReferenceOutcome::kMissing);
  EXPECT_EQ(report.missing_files,
            (std::vector<std::string>{"dependentes.csv", "dividas.csv", "pagamentos.csv",
                                      "ocupacoes.csv", "natureza_ocupacao.csv", "paises.csv",
                                      "municipios.csv"}));
  // The system's own lists do not depend on the folder.
  EXPECT_EQ(report.Find(54)->outcome, ReferenceOutcome::kBuilt);
  EXPECT_EQ(report.Find(66)->outcome, ReferenceOutcome::kBuilt);
  const std::vector<std::string> lines = ReferenceReportLines(report);
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      core::Cp850("Tabela TABPAIS não criada: falta paises.csv")),
            lines.end());
  EXPECT_FALSE(env->Exists(install / "_REFNOVA"));

  // With the list in place, the next build adds the missing table and keeps the rest.
  Write("paises.csv", "codigo,nome,iso3,codigo_bacen,nome_bacen\n105,Brasil,BRA,1058,BRASIL\n");
  ReferenceReport next = BuildReferenceTables(*env, install.path(), lists.path());
  EXPECT_EQ(next.Find(60)->outcome, ReferenceOutcome::kBuilt);
  EXPECT_EQ(next.Find(46)->outcome, ReferenceOutcome::kKept);
}

TEST_F(OwnListsTest, NoFolderBuildsOnlyTheSystemsLists) {
  ReferenceReport report = BuildReferenceTables(*env, install.path(), "");
  EXPECT_EQ(report.Find(46)->outcome, ReferenceOutcome::kMissing);
  EXPECT_EQ(report.Find(54)->outcome, ReferenceOutcome::kBuilt);
  EXPECT_EQ(report.Find(62)->outcome, ReferenceOutcome::kBuilt);
  EXPECT_EQ(report.Find(65)->outcome, ReferenceOutcome::kBuilt);
}

TEST_F(OwnListsTest, FieldsTheLayoutGainsAreFilled) {
  // The asset kinds and the banks' marks go to fields of the project's own
  // (TIPO, DEBAUTO, DEPOSITO), which the catalogue layouts carry.
  const store::TableDef& assets = *store::FindTable(46);
  const store::TableDef& banks = *store::FindTable(55);

  Result<CsvTable> bens = ParseCsv("codigo,descricao\n12,Casa\n21,Veículo\n41,Poupança\n99,Outros\n", "b");
  Result<CsvTable> bancos = ParseCsv(
      "numero,nome,cnpj,ispb,inicio_operacao\n341,Itaú,60701190000104,1,2002-04-22\n"
      "999,Outro,11111111000111,2,2010-01-01\n",
      "c");
  ASSERT_TRUE(bens.ok() && bancos.ok());
  const reference::TablePlan* asset_plan = nullptr;
  const reference::TablePlan* bank_plan = nullptr;
  for (const auto& p : reference::TablePlans()) {
    if (p.number == 46) asset_plan = &p;
    if (p.number == 55) bank_plan = &p;
  }
  auto asset_rows = asset_plan->rows({{"bens.csv", &*bens}});
  auto bank_rows = bank_plan->rows({{"bancos.csv", &*bancos}});
  ASSERT_TRUE(asset_rows.ok() && bank_rows.ok());
  ASSERT_TRUE(WriteReferenceTable(*env, install.path(), assets, "CODBENS", *asset_rows).ok());
  ASSERT_TRUE(WriteReferenceTable(*env, install.path(), banks, "BANCOS", *bank_rows).ok());

  auto a = store::Table::Open(*env, install / "CODBENS.DBF", store::Sharing::kShared);
  ASSERT_TRUE(a.ok());
  const int kinds[] = {1, 2, 5, 0};
  for (uint32_t i = 0; i < 4; ++i) {
    EXPECT_EQ(Number(*(*a)->Read({i + 1}), "TIPO"), core::Decimal::FromInt(kinds[i])) << i;
  }
  auto b = store::Table::Open(*env, install / "BANCOS.DBF", store::Sharing::kShared);
  ASSERT_TRUE(b.ok());
  EXPECT_EQ(Text(*(*b)->Read({1}), "DEBAUTO"), "S");
  EXPECT_EQ(Text(*(*b)->Read({2}), "DEBAUTO"), "N");
  EXPECT_EQ(Text(*(*b)->Read({2}), "DEPOSITO"), "S");
}

TEST_F(OwnListsTest, AValueThatDoesNotFitLeavesNothing) {
  std::vector<ReferenceRow> rows = {ReferenceRow().Set("CODBEM", "21"),
                                    ReferenceRow().Set("CODBEM", "12345")};
  Result<uint32_t> n = WriteReferenceTable(*env, install.path(), *store::FindTable(46), "CODBENS", rows);
  ASSERT_FALSE(n.ok());
  EXPECT_EQ(n.status().code(), StatusCode::kInvalid);
  EXPECT_NE(n.status().message().find("record 2: CODBEM"), std::string::npos) << n.status().message();
  EXPECT_FALSE(env->Exists(install / "CODBENS.DBF"));
  EXPECT_FALSE(env->Exists(install / "CODBENS.CDX"));
  EXPECT_FALSE(env->Exists(install / "_REFNOVA"));
  // And an existing table is refused, not overwritten.
  ASSERT_TRUE(WriteReferenceTable(*env, install.path(), *store::FindTable(46), "CODBENS", {}).ok());
  EXPECT_EQ(WriteReferenceTable(*env, install.path(), *store::FindTable(46), "CODBENS", {})
                .status()
                .code(),
            StatusCode::kInvalid);
}

TEST(ReferenceDataFolderTest, ArgumentThenVariable) {
  platform::MemoryEnv env;
  ASSERT_TRUE(env.CreateDir("/lists").ok());
  EXPECT_EQ(*ReferenceDataFolder(env, "/lists"), "/lists");
  EXPECT_TRUE(ReferenceDataFolder(env, "/none").status().IsNotFound());
  EXPECT_TRUE(ReferenceDataFolder(env, "").status().IsNotFound());
  env.SetEnv(kReferenceDataVariable, "/lists");
  EXPECT_EQ(*ReferenceDataFolder(env, ""), "/lists");
}

TEST(ReferenceTextTest, UpperAccentsAndCnpj) {
  EXPECT_EQ(reference::UpperText("São Paulo d'Oeste"), "SÃO PAULO D'OESTE");
  EXPECT_EQ(reference::WithoutAccents("SÃO JOÃO DO PAUÍ, AÇAILÂNDIA, ÑÜ"), "SAO JOAO DO PAUI, ACAILANDIA, NU");
  EXPECT_EQ(reference::PunctuatedCnpj("00000000000191"), "00.000.000/0001-91");
  EXPECT_EQ(reference::PunctuatedCnpj(""), "");
}

}  // namespace
}  // namespace dodu::shell
