#include "import/apply.h"

#include <fstream>
#include <sstream>

#include "core/codepage.h"
#include "import/import_file.h"
#include "import/store_fixture.h"
#include "import/testutil.h"
#include "store/catalogue.h"
#include "store/table.h"

namespace dodu::import {
namespace {

using core::Decimal;
using testing::End;
using testing::File;
using testing::Header;
using testing::Identification;
using testing::kCpf;
using testing::Rec;

Decimal Cents(int64_t c) { return Decimal::FromScaled(c, 2); }

Rec Body(std::string_view type, int length) { return Rec(type, length, kCpf, ' '); }

Rec Asset(int code, int64_t before, int64_t after, std::string_view text) {
  Rec r = Body("27", 1110);
  r.Num(14, 2, code).Put(16, "0").Put(17, "105").Text(20, 512, text).Cents(532, before);
  r.Cents(545, after);
  return r;
}

std::string Declaration(int exercise, const std::vector<Rec>& body) {
  std::vector<Rec> recs = {Header(exercise), Identification()};
  recs.insert(recs.end(), body.begin(), body.end());
  recs.push_back(End());
  return File(recs);
}

class ApplyTest : public testing::StoreFixture {
 protected:
  Result<ImportOutcome> Import(const std::string& bytes, ImportMode mode = ImportMode::kWhole,
                               ConversionInputs in = {}) {
    WriteFile("/src/X.DEC", bytes);
    Result<ImportOutcome> out = ImportFile(ctx, areas, "/src/X.DEC", mode, in);
    areas.CloseAll();
    return out;
  }

  // The taxpayer's live records of declaration table `number`, in record order.
  std::vector<store::Record> Records(int number, const std::string& cpf = kCpf) {
    std::vector<store::Record> out;
    const std::string path =
        "/data/" + store::TableFileName(*store::FindTable(number), ctx.names()) + ".DBF";
    auto t = store::Table::Open(env, path, store::Sharing::kShared);
    if (!t.ok()) return out;
    for (uint32_t n = 1; n <= (*t)->record_count(); ++n) {
      auto r = (*t)->Read({n});
      if (!r.ok() || r->deleted()) continue;
      if (r->GetTrimmed("CPF").value_or("") == cpf) out.push_back(*r);
    }
    return out;
  }

  std::string Text(const store::Record& r, const char* f) { return r.GetTrimmed(f).value_or("?"); }
  Decimal Num(const store::Record& r, const char* f) { return r.GetNumber(f).value_or(Decimal()); }
};

TEST_F(ApplyTest, CreatesEveryDestinationTable) {
  ASSERT_TRUE(CRIA_BASE(ctx, areas).ok());
  for (int n = 1; n <= 21; ++n) {
    SCOPED_TRACE(n);
    const std::string name = store::TableFileName(*store::FindTable(n), ctx.names());
    EXPECT_TRUE(env.Exists("/data/" + name + ".DBF"));
  }
  EXPECT_TRUE(areas.OpenNumbers().empty());
}

TEST_F(ApplyTest, CurrentFileReusesAssetRecordsInOrder) {
  auto assets = [](int n) {
    std::vector<Rec> out;
    for (int i = 1; i <= n; ++i)
      out.push_back(Asset(11, 100 * i, 100 * i, "BEM " + std::to_string(i)));
    return out;
  };
  ASSERT_TRUE(Import(Declaration(2020, assets(5))).ok());
  ASSERT_EQ(Records(4).size(), 5u);
  Result<ImportOutcome> three = Import(Declaration(2020, assets(3)));
  ASSERT_TRUE(three.ok()) << three.status().ToString();
  EXPECT_EQ(three->report.tables[kAssetTable].deleted, 2u);
  EXPECT_EQ(three->report.tables[kAssetTable].appended, 0u);
  std::vector<store::Record> now = Records(4);
  ASSERT_EQ(now.size(), 3u);
  EXPECT_EQ(Text(now[2], "I7_2"), "BEM 3");
  // Over a taxpayer with one asset: that one is overwritten, two are added.
  ASSERT_TRUE(Import(Declaration(2020, assets(1))).ok());
  Result<ImportOutcome> again = Import(Declaration(2020, assets(3)));
  ASSERT_TRUE(again.ok());
  EXPECT_EQ(again->report.tables[kAssetTable].deleted, 0u);
  EXPECT_EQ(Records(4).size(), 3u);
}

TEST_F(ApplyTest, PreviousExerciseFileOfARegisteredTaxpayerChangesNothing) {
  ASSERT_TRUE(Import(Declaration(2020, {Asset(11, 1, 2, "A")})).ok());
  auto before = Snapshot();
  Result<ImportOutcome> prev = Import(Declaration(2019, {Asset(11, 1, 2, "B")}));
  EXPECT_EQ(prev.status().code(), StatusCode::kInvalid);
  EXPECT_TRUE(Snapshot() == before);
}

TEST_F(ApplyTest, UpkeepRowsAreReplacedOnReimport) {
  // Each import of a whole declaration added its upkeep rows again.
  ConversionInputs in;
  in.upkeep_description = [](int) { return std::string("IPTU"); };
  const std::string file = Declaration(2020, {Asset(11, 0, 1200000, "CASA")});
  ASSERT_TRUE(Import(file, ImportMode::kWhole, in).ok());
  ASSERT_TRUE(Import(file, ImportMode::kWhole, in).ok());
  std::vector<store::Record> upkeep = Records(kUpkeepTable);
  ASSERT_EQ(upkeep.size(), 1u);
  EXPECT_EQ(Num(upkeep[0], "VALODESP"), Cents(10000));
  std::vector<store::Record> decl = Records(kDeclarationTable);
  ASSERT_EQ(decl.size(), 1u);
  EXPECT_EQ(Num(decl[0], "DESPNAO"), Cents(120000));
  EXPECT_EQ(Num(decl[0], "INDALERTA"), Decimal::FromInt(10));
  EXPECT_EQ(Records(kRegisterTable).size(), 1u);
}

TEST_F(ApplyTest, TableHeldByAnotherStationWritesNothing) {
  // A taxpayer is converted only when every table it touches can be had first.
  ASSERT_TRUE(Import(Declaration(2020, {Asset(11, 1, 2, "A")})).ok());
  auto before = Snapshot();
  const std::string path =
      "/data/" + store::TableFileName(*store::FindTable(6), ctx.names()) + ".DBF";
  auto other = store::Table::Open(env, path, store::Sharing::kShared);
  ASSERT_TRUE(other.ok()) << other.status().ToString();
  Result<ImportOutcome> r = Import(Declaration(2020, {Asset(11, 5, 6, "B"), Asset(12, 7, 8, "C")}));
  EXPECT_TRUE(r.status().IsLocked()) << r.status().ToString();
  other->reset();
  EXPECT_TRUE(Snapshot() == before);
}

TEST_F(ApplyTest, DeclarationOpenAtAnotherStationIsRefused) {
  ASSERT_TRUE(Import(Declaration(2020, {})).ok());
  {
    const std::string path =
        "/data/" + store::TableFileName(*store::FindTable(9), ctx.names()) + ".DBF";
    auto reg = store::Table::Open(env, path, store::Sharing::kExclusive);
    ASSERT_TRUE(reg.ok());
    auto rec = (*reg)->Read({1});
    ASSERT_TRUE(rec.ok());
    ASSERT_TRUE(rec->PutText("NUSUAT", "07").ok());
    ASSERT_TRUE((*reg)->Write({1}, *rec).ok());
  }
  auto before = Snapshot();
  Result<ImportOutcome> r = Import(Declaration(2020, {Asset(11, 5, 6, "B")}));
  EXPECT_TRUE(r.status().IsLocked());
  EXPECT_NE(r.status().message().find("terminal 07"), std::string::npos);
  EXPECT_TRUE(Snapshot() == before);
}

TEST_F(ApplyTest, NumberThatDoesNotFitWritesNothing) {
  // A dependant's number of five digits does not fit the table's two.
  Rec dep = Body("25", 121);
  dep.Num(14, 5, 12345).Num(19, 2, 21).Text(21, 41, "FILHO");
  auto before = Snapshot();
  Result<ImportOutcome> r = Import(Declaration(2020, {dep, Asset(11, 1, 2, "A")}));
  EXPECT_EQ(r.status().code(), StatusCode::kInvalid) << r.status().ToString();
  EXPECT_NE(r.status().message().find("NRODEPEN"), std::string::npos);
  EXPECT_TRUE(Records(kAssetTable).empty());
  EXPECT_TRUE(Records(kRegisterTable).empty());
}

TEST_F(ApplyTest, EveryTruncatedPrefixLeavesTheFolderAsItWas) {
  ASSERT_TRUE(Import(Declaration(2020, {Asset(11, 1, 2, "A")})).ok());
  const std::string whole = Declaration(2020, {Asset(11, 5, 6, "B"), Asset(12, 0, 0, "C")});
  auto before = Snapshot();
  for (size_t n = 0; n + 1 < whole.size(); n += 7) {
    Result<ImportOutcome> r = Import(whole.substr(0, n));
    ASSERT_FALSE(r.ok()) << "prefix " << n;
    ASSERT_TRUE(Snapshot() == before) << "prefix " << n;
  }
}

TEST_F(ApplyTest, ReceiptsNeedARegisteredTaxpayer) {
  Result<ImportOutcome> r = Import(Declaration(2020, {}), ImportMode::kReceipts);
  EXPECT_TRUE(r.status().IsNotFound());
  EXPECT_NE(r.status().message().find(core::Cp850("não será possível gravar o número do recibo")),
            std::string::npos);
  ASSERT_TRUE(Import(Declaration(2020, {})).ok());
  WriteFile("/src/X.REC",
            "HC\r\nRC              30042020\r\nMC" + std::string(80, 'A') + "0123456789\r\nTC\r\n");
  Result<ImportOutcome> ok = Import(Declaration(2020, {}), ImportMode::kReceipts);
  ASSERT_TRUE(ok.ok()) << ok.status().ToString();
  std::vector<store::Record> reg = Records(kRegisterTable);
  ASSERT_EQ(reg.size(), 1u);
  EXPECT_EQ(reg[0].GetDate("DENTREGA").value_or(core::Date()), *core::Date::FromYmd(2020, 4, 30));
  std::vector<store::Record> notes = Records(kNoteTable);
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(Text(notes[0], "OBSERV"), std::string(75, 'A'));
  EXPECT_EQ(Text(notes[1], "OBSERV"), std::string(5, 'A'));
}

TEST_F(ApplyTest, IndividualsTwiceAppearTwice) {
  Rec w = Body("49", 61);
  w.Put(25, "03").Put(27, "11111111111").Put(38, "11111111111").Cents(49, 77);
  const std::string file = Declaration(2020, {w});
  ASSERT_TRUE(Import(file).ok());
  ASSERT_EQ(Records(kIncomeTable).size(), 1u);
  ASSERT_TRUE(Import(file, ImportMode::kIndividuals).ok());
  ASSERT_TRUE(Import(file, ImportMode::kIndividuals).ok());
  EXPECT_EQ(Records(kIncomeTable).size(), 3u);
}

TEST_F(ApplyTest, OfficialProgramsFileImports) {
  std::ifstream in(testing::SharedDir() + "/reference/22222222303-IRPF-A-2020-2019-ORIGI.DEC",
                   std::ios::binary);
  if (!in) GTEST_SKIP() << "reference files absent";
  std::stringstream ss;
  ss << in.rdbuf();
  Result<ImportOutcome> r = Import(ss.str());
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  const std::string cpf = "22222222303";
  std::vector<store::Record> reg = Records(kRegisterTable, cpf);
  ASSERT_EQ(reg.size(), 1u);
  EXPECT_EQ(Text(reg[0], "NOMECONTR"), "OLZEFU BYAISNO ASRIM");
  EXPECT_EQ(Text(reg[0], "MUNICIPIO"), "SAO PAULO");
  EXPECT_EQ(Text(reg[0], "CPFCONJU"), "33333333414");
  EXPECT_EQ(Text(reg[0], "USAPADRAO"), "S");  // simplified model
  EXPECT_EQ(Text(reg[0], "TELEFO"), "911111111");
  std::vector<store::Record> people = Records(kPeopleTable, cpf);
  ASSERT_EQ(people.size(), 2u);
  EXPECT_EQ(Text(people[0], "NOMEDEPEN"), "ANA FURIREZU");
  EXPECT_EQ(Text(people[1], "NOMEDEPEN"), "ARTUR SYONAY");
  EXPECT_EQ(Num(people[1], "CODIDEPEN"), Decimal::FromInt(99));
  std::vector<store::Record> pay = Records(kPaymentTable, cpf);
  ASSERT_EQ(pay.size(), 2u);
  EXPECT_EQ(Num(pay[0], "I6_4"), Cents(467890));
  EXPECT_EQ(Records(kAssetTable, cpf).size(), 2u);
  EXPECT_EQ(Records(kDebtTable, cpf).size(), 2u);
  Decimal exempt, exclusive;
  for (const store::Record& l : Records(kIncomeTable, cpf)) {
    for (const char* f : {"I1_15", "I1_9"}) exempt += Num(l, f);
    for (const char* f : {"I1_7", "I1_32", "I1_33", "I1_34"}) exclusive += Num(l, f);
  }
  // The official document beside the file: rendIsentos total 343,66,
  // rendTributacaoExclusiva total 8.641,43.
  EXPECT_EQ(exempt, Cents(34366));
  EXPECT_EQ(exclusive, Cents(864143));
}

}  // namespace
}  // namespace dodu::import
