#include "import/listing.h"

#include "core/codepage.h"
#include "import/conversion_run.h"
#include "import/store_fixture.h"
#include "import/testutil.h"
#include "store/table.h"

namespace dodu::import {
namespace {

using testing::End;
using testing::File;
using testing::Header;
using testing::Identification;
using testing::Rec;

TEST(Listing, FileNameFilters) {
  struct Case {
    ImportMode mode;
    const char* name;
    bool passes;
  } cases[] = {
      {ImportMode::kWhole, "qualquer.DEC", true},
      {ImportMode::kPrefilled, "22222222303-IRPF-PP-2019.DEC", true},
      {ImportMode::kPrefilled, "22222222303-IRPF-A-2020-2019.DEC", false},
      {ImportMode::kLeao, "22222222303-LEAO-2019-0000-EXPORTA-IRPF2020.DEC", true},
      {ImportMode::kLeao, "22222222303-LEAO-2019-0000-EXPORTA-IRPF2019.DEC", false},
      {ImportMode::kRuralBook, "22222222303-ARURAL-2019-0000-COPIA-SEG.DBK", true},
      {ImportMode::kRuralBook, "22222222303-ARURAL-2019-0000-EXPORTA-IRPF2020.DEC", true},
      {ImportMode::kRuralBook, "curto.DEC", false},
  };
  for (const Case& c : cases) EXPECT_EQ(PassesFilter(c.mode, c.name), c.passes) << c.name;
}

TEST(Listing, FirstPassTakesVersionExerciseAndKind) {
  const std::string name = "22222222303-IRPF-A-2020-2019-ORIGI.DEC";
  struct Case {
    const char* what;
    ImportMode mode;
    std::string name;
    std::string line;
    std::string origem, tipo;
  } cases[] = {
      {"ordinary", ImportMode::kWhole, name, "IRPF    20202019", "IRPF ORIGI20", "IRPF    2020"},
      {"final estate", ImportMode::kWhole, name, "IRPF    202020192421", "FinalORIGI20",
       "IRPF    2020"},
      {"departure", ImportMode::kWhole, name, "IRPF    201920182420", "SaidaORIGI19",
       "IRPF    2019"},
      {"other exercise", ImportMode::kWhole, name, "IRPF    20182017", "", ""},
      {"pre-filled", ImportMode::kPrefilled, "22222222303-IRPF-PP-2019.DEC",
       "IRPF-PP    xxxxxxxx2019", "PrePP19", "IRPF-PP    "},
      {"carne-leao 2019 is kept apart", ImportMode::kLeao, "22222222303-LEAO", "LEAO    xx2019",
       "LEAO19", "LEAO    2019"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ListingEntry e = FirstPass(c.mode, c.name, c.line);
    EXPECT_EQ(e.origem, c.origem);
    EXPECT_EQ(e.tipo, c.tipo);
  }
}

class ListingFolder : public testing::StoreFixture {
 protected:
  std::string Decl(std::string_view cpf, bool rectification, int exercise = 2020) {
    Rec id = Identification();
    id.Put(3, cpf).Put(389, rectification ? "S" : "N");
    Rec end = End();
    end.Put(3, cpf);
    return File({Header(exercise), id, end});
  }
  std::vector<std::string> Names(const std::vector<ListingEntry>& l) {
    std::vector<std::string> out;
    for (const ListingEntry& e : l) out.push_back(e.file_name + "|" + e.cpf + "|" + e.origem);
    return out;
  }
};

TEST_F(ListingFolder, RectificationReplacesTheRectifiedDeclaration) {
  // Whether the original is listed before or after its rectification, only the
  // rectification stays.
  WriteFile("/src/11111111111-IRPF-A-2020-2019-ORIGI.DEC", Decl("11111111111", false));
  WriteFile("/src/11111111111-IRPF-A-2020-2019-RETIF.DEC", Decl("11111111111", true));
  WriteFile("/src/22222222222-IRPF-A-2020-2019-ORIGI.DBK", Decl("22222222222", false));
  WriteFile("/src/00000000000-IRPF-A-2020-2019-RETIF.DEC", Decl("22222222222", true));
  WriteFile("/src/33333333333-IRPF-A-2020-2019-ORIGI.BAK",
            "IRPF    20202019\n17 not an identification\n");
  WriteFile("/src/vazio.DEC", "");
  WriteFile("/src/nota.TXT", Decl("44444444444", false));
  std::vector<std::string> progress;
  Result<std::vector<ListingEntry>> l = ListSourceFolder(
      env, "/src", ImportMode::kWhole, [&](const std::string& s) { progress.push_back(s); });
  ASSERT_TRUE(l.ok()) << l.status().ToString();
  EXPECT_EQ(Names(*l), (std::vector<std::string>{
                           "00000000000-IRPF-A-2020-2019-RETIF.DEC|22222222222|IRPF RETIF20",
                           "11111111111-IRPF-A-2020-2019-RETIF.DEC|11111111111|IRPF RETIF20"}));
  ASSERT_EQ(progress.size(), 6u);
  EXPECT_EQ(progress.back(), core::Cp850("Verificando 6 de 6 declarações!"));
}

TEST_F(ListingFolder, FolderWithoutTheAskedDeclarations) {
  Result<std::vector<ListingEntry>> none = ListSourceFolder(env, "/src", ImportMode::kWhole);
  EXPECT_EQ(none.status().message(),
            core::Cp850("O local escolhido não contém a informação pedida da Receita"));
  WriteFile("/src/a.DEC", Decl("11111111111", false, 2018));
  WriteFile("/src/b.DEC", Decl("11111111111", false, 2017));
  Result<std::vector<ListingEntry>> old = ListSourceFolder(env, "/src", ImportMode::kWhole);
  EXPECT_EQ(old.status().message(),
            core::Cp850("Na pasta existem 2 declarações, mas não da seleção pedida"));
}

TEST_F(ListingFolder, SelectionListKeepsEntriesAndMarks) {
  std::vector<ListingEntry> entries = {
      {"b.DEC", "IRPF ORIGI20", "IRPF    2020", "22222222222", "BETA", false},
      {"a.DEC", "IRPF ORIGI20", "IRPF    2020", "11111111111", "ALFA", true}};
  ASSERT_TRUE(WriteSelectionList(ctx, areas, entries).ok());
  ASSERT_TRUE(WriteSelectionList(ctx, areas, entries).ok());  // emptied first
  Result<std::vector<ListingEntry>> back = ReadSelectionList(ctx, areas);
  ASSERT_TRUE(back.ok()) << back.status().ToString();
  ASSERT_EQ(back->size(), 2u);
  EXPECT_EQ((*back)[0].name, "ALFA");  // name order
  EXPECT_FALSE((*back)[0].marked);     // written unmarked
  EXPECT_EQ((*back)[1].file_name, "b.DEC");
}

class ScriptedObserver : public RunObserver {
 public:
  bool Confirm(const std::vector<std::string>& lines) override {
    questions.push_back(lines[0]);
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected question " << lines[0];
      return false;
    }
    bool a = answers.front();
    answers.erase(answers.begin());
    return a;
  }
  void ShowCounters(const Counters& c, bool) override { last = c; }
  bool EscPending() override { return esc_after == ++polls; }
  void Refused(const ListingEntry& e, const Status&) override { refused.push_back(e.file_name); }
  void Converted(const ListingEntry& e, const ImportOutcome&) override {
    converted.push_back(e.file_name);
  }
  std::vector<bool> answers;
  std::vector<std::string> questions, refused, converted;
  Counters last;
  int polls = 0;
  int esc_after = -1;
};

TEST_F(ListingFolder, ConversionLoopCountsAndAsks) {
  WriteFile("/src/a.DEC", Decl(testing::kCpf, false));
  WriteFile("/src/b.DEC", "IRPF    20202019\n");  // damaged: refused
  WriteFile("/src/c.DEC", Decl(testing::kCpf, false));
  WriteFile("/src/d.DEC", Decl(testing::kCpf, false));
  std::vector<ListingEntry> entries = {
      {"a.DEC", "IRPF ORIGI20", "", testing::kCpf, "A", true},
      {"x.DEC", "IRPF ORIGI20", "", testing::kCpf, "X", false},
      {"c.DEC", "SaidaORIGI20", "", testing::kCpf, "C", true},
      {"b.DEC", "IRPF ORIGI20", "", testing::kCpf, "B", true},
      {"d.DEC", "IRPF ORIGI20", "", testing::kCpf, "D", true},
  };
  ScriptedObserver obs;
  obs.answers = {false, true};  // decline the departure declaration; then abandon
  obs.esc_after = 3;
  Counters c = ConvertMarked(ctx, areas, "/src", entries, ImportMode::kWhole, {}, obs);
  EXPECT_EQ(obs.converted, std::vector<std::string>{"a.DEC"});
  EXPECT_EQ(obs.refused, std::vector<std::string>{"b.DEC"});
  EXPECT_EQ(obs.questions,
            (std::vector<std::string>{"Essa foi uma declaracao Saida.",
                                      core::Cp850("Abandona a conversão dos dados? S/N")}));
  EXPECT_EQ(c, (Counters{4, 1, 1, 2, 1}));
}

}  // namespace
}  // namespace dodu::import

namespace dodu::import {
namespace {

TEST_F(ListingFolder, TaxpayerOfAnotherFolderIsWrittenThereOnly) {
  // The writes for a taxpayer found in another data folder go to that folder,
  // and the destination is back for the next one.
  ASSERT_TRUE(env.CreateDir("/other").ok());
  WriteFile("/src/a.DEC", Decl(testing::kCpf, false));
  ctx.data_folder = "/other";
  ASSERT_TRUE(ImportFile(ctx, areas, "/src/a.DEC", ImportMode::kWhole, {}).ok());
  areas.CloseAll();
  ctx.data_folder = "/data";
  ASSERT_TRUE(ReadExisting(ctx, areas, testing::kCpf).ok());  // an empty register here
  areas.CloseAll();
  auto before = Snapshot();
  ScriptedObserver obs;
  std::vector<ListingEntry> entries = {{"a.DEC", "IRPF ORIGI20", "", testing::kCpf, "A", true}};
  Counters c =
      ConvertMarked(ctx, areas, "/src", entries, ImportMode::kReceipts, {}, obs,
                    [](const std::string&) { return std::optional<std::string>("/other"); });
  EXPECT_EQ(c.converted, 1);
  EXPECT_EQ(ctx.data_folder, "/data");
  areas.CloseAll();
  EXPECT_TRUE(Snapshot() == before);
  auto other = store::Table::Open(env, "/other/IMP0920.DBF", store::Sharing::kShared);
  ASSERT_TRUE(other.ok());
  EXPECT_EQ((*other)->Read({1})->GetTrimmed("RECIBOATU").value_or(""), "123456789091");
}

}  // namespace
}  // namespace dodu::import
