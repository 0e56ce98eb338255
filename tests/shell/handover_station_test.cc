#include "shell/handover_station.h"

#include <gtest/gtest.h>

#include "declaration_menu_testutil.h"
#include "platform/paths.h"
#include "store/catalogue.h"
#include "store/table.h"

namespace dodu::shell {
namespace {

using testing::DeclarationMenuTest;
using testing::kCpf;

class HandOverStationTest : public DeclarationMenuTest {
 protected:
  void SetUp() override {
    official_ = root_ + "/IRPF2020/APLICACAO/dados";
    ASSERT_TRUE(env_->CreateDir(root_ + "/IRPF2020").ok());
    ASSERT_TRUE(env_->CreateDir(root_ + "/IRPF2020/APLICACAO").ok());
    ASSERT_TRUE(env_->CreateDir(official_).ok());
    station_.menu.locirpf = official_ + "/";
    station_.menu.env_stat = 0;
    station_.dirinst = root_ + "/inst";  // no seal tool there
  }

  bool Exists(const std::string& path) { return env_->Exists(path); }

  std::string official_;
};

TEST_F(HandOverStationTest, SettingsComeFromTheStation) {
  station_.menu.env_stat = 1;
  station_.menu.opc_tran = 4;
  handover::HandoverSettings h = StationHandoverSettings(station_, 62);
  EXPECT_EQ(h.official_folder, official_);
  EXPECT_EQ(h.work_folder, root_ + "/work01");
  EXPECT_EQ(h.terminal, "01");
  EXPECT_EQ(h.option_code, 62);
  EXPECT_TRUE(h.set_status);
  EXPECT_EQ(h.transmitted_status, 4);
  EXPECT_EQ(h.seal.start_folder, root_ + "/inst");
  EXPECT_EQ(h.seal.official_folder, official_);

  station_.menu.locirpf = "";
  EXPECT_EQ(StationHandoverSettings(station_, 61).official_folder, "");
}

// A loaded taxpayer handed over through the selection's hook: the work document
// is written in full, the seal step fails (no seal tool in the start folder),
// the operator is told, and the register's delivery date stays blank.
TEST_F(HandOverStationTest, SelectionHookWritesTheDocumentAndTellsTheSealFailure) {
  AddTaxpayer({{"ESTATUS", "1"}});
  session_ = std::make_unique<DeclarationSession>(station_.ctx, station_.areas, SessionSettings{},
                                                  hooks_, display_);
  LoadRequest req;
  req.cpf = kCpf;
  req.name = "ANA DOS SANTOS";
  req.menu_option = 61;
  DM_ASSERT_OK(session_->Load(req));

  SelectionContext sel(station_.tk, station_.ctx, station_.areas, station_.menu,
                       station_.settings.ult_cpf);
  UseHandOver(sel, station_, *session_);
  ASSERT_TRUE(sel.hooks.handover);
  std::string keys;
  for (int i = 0; i < 40; ++i) keys += "{Enter}";
  vt_.Feed(keys);
  sel.hooks.handover();

  const std::string work_document = root_ + "/work01/Decla01.xml";
  ASSERT_TRUE(Exists(work_document));
  Result<std::string> text = platform::ReadWholeFile(*env_, work_document);
  ASSERT_TRUE(text.ok());
  EXPECT_NE(text->find("cpf=\"111.111.111-11\""), std::string::npos);
  EXPECT_NE(text->find("</classe>"), std::string::npos);
  EXPECT_FALSE(Exists(official_ + "/" + kCpf + "/" + kCpf + "-0000000000.conf"));
  EXPECT_TRUE(ShowedBox("NÃO foi transferida") || ShowedBox("não foram transferidos"))
      << ::testing::PrintToString(Boxes());
  EXPECT_FALSE(ShowedBox("A declaração foi transferida"));
  EXPECT_TRUE(SharedRecord(9, kCpf)->GetDate("DENTREGA")->IsBlank());
}

// The snapshot's lookups read the installation folder's country and
// municipality tables; codes compare without their blanks.
TEST_F(HandOverStationTest, SnapshotLooksUpTheInstallationTables) {
  auto fill = [&](int number, const std::string& file, const testing::FieldList& fields) {
    auto table = store::Table::Create(*env_, root_ + "/inst/" + file,
                                      store::FindTable(number)->layout, store::Sharing::kExclusive);
    ASSERT_TRUE(table.ok()) << table.status().ToString();
    store::Record rec = (*table)->BlankRecord();
    for (const auto& [name, value] : fields) DM_ASSERT_OK(rec.PutText(name, value));
    ASSERT_TRUE((*table)->Append(rec).ok());
  };
  fill(60, "TABPAIS.DBF", {{"CODPAIS", "105"}, {"NOMPAIS", "BRASIL"}});
  fill(64, "TABMUNI.DBF", {{"NOMEMUNI", "CAMPINAS"}, {"UNIFED", "SP"}, {"NROMUNI", "6291"}});
  AddTaxpayer();
  Open();

  Result<handover::Snapshot> snap = StationSnapshot(station_, *session_);
  ASSERT_TRUE(snap.ok()) << snap.status().ToString();
  EXPECT_EQ(snap->cpf, kCpf);
  EXPECT_EQ(snap->debit_deadline, *core::Date::FromYmd(2020, 6, 10));
  EXPECT_EQ(snap->country_name(" 105 "), "BRASIL");
  EXPECT_EQ(snap->country_name("249"), "");
  EXPECT_EQ(snap->country_name(""), "");
  EXPECT_EQ(snap->municipality_code("Campinas", "SP"), "6291");
  EXPECT_EQ(snap->municipality_code("Campinas", "MG"), "");
}

// The final save's hand-over without an official folder: nothing is written
// and the save hears it was not handed over.
TEST_F(HandOverStationTest, SaveHookWithoutOfficialFolderHandsNothingOver) {
  AddTaxpayer();
  Open();
  station_.menu.locirpf = "";
  handover::WriteOptions run_state;
  EXPECT_TRUE(HandOverOnSave(station_, *session_, run_state).IsCancelled());
  EXPECT_FALSE(Exists(root_ + "/work01/Decla01.xml"));
}

// The register writer: the change lands in the taxpayer's record under its lock;
// a register area left open by the caller (the walk of option 63) is put back
// on its record, one opened for the write is closed again.
TEST_F(HandOverStationTest, RegisterWriterWritesTheTaxpayersRecord) {
  Put(9, testing::kOtherCpf, {{"NOMECONTR", "BRUNO"}});
  AddTaxpayer();
  const std::vector<handover::RegisterChange> changes = {
      {"DDDTEL", core::Value(std::string("  "))},
      {"DENTREGA", core::Value(*core::Date::FromYmd(2020, 4, 3))}};

  StationRegisterWriter closed(station_.ctx, station_.areas, kCpf);
  DM_ASSERT_OK(closed.Apply(changes));
  EXPECT_EQ(station_.areas.Get(9), nullptr);
  auto r = SharedRecord(9, kCpf);
  ASSERT_TRUE(r);
  EXPECT_EQ(*r->GetDate("DENTREGA"), *core::Date::FromYmd(2020, 4, 3));

  DM_ASSERT_OK(store::ABERTURA(station_.ctx, station_.areas, 9));
  store::WorkArea* reg = station_.areas.Get(9);
  ASSERT_NE(reg, nullptr);
  DM_ASSERT_OK(reg->GoTo(store::RecNo{1}));
  StationRegisterWriter walked(station_.ctx, station_.areas, kCpf);
  DM_ASSERT_OK(walked.Apply({{"DENTREGA", core::Value(*core::Date::FromYmd(2020, 4, 5))}}));
  ASSERT_EQ(station_.areas.Get(9), reg);
  EXPECT_EQ(reg->recno(), store::RecNo{1});
  EXPECT_EQ(*SharedRecord(9, kCpf)->GetDate("DENTREGA"), *core::Date::FromYmd(2020, 4, 5));

  StationRegisterWriter missing(station_.ctx, station_.areas, "99999999999");
  EXPECT_TRUE(missing.Apply(changes).IsNotFound());
  EXPECT_EQ(reg->recno(), store::RecNo{1});
}

}  // namespace
}  // namespace dodu::shell
