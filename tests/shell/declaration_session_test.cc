// Loading and saving a declaration over a data folder with two taxpayers: what
// the work copies hold, what a save writes and leaves alone, the recovery, the
// waits for another station and the refused record lock.
#include "shell/declaration_session.h"

#include <gtest/gtest.h>

#include "core/codepage.h"
#include "platform/memory_env.h"
#include "shell/declaration_testutil.h"
#include "store/catalogue.h"

namespace dodu::shell {
namespace {

using core::Decimal;
using namespace testing;

Decimal Dec(const char* s) { return *Decimal::Parse(s); }

class DeclarationSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mem.fake_clock().Set({2020, 5, 10, 10, 0, 0});
    MakeFolders(mem, "");
    TwoTaxpayers(mem, "");
  }

  store::Record RegisterOf(const std::string& cpf) {
    auto recs = RecordsOf(mem, "/data", 9, cpf);
    EXPECT_EQ(recs.size(), 1u);
    auto t = store::Table::Open(mem, "/data/IMP0920.DBF", store::Sharing::kShared);
    return store::Record((*t)->shared_layout(),
                         recs.empty() ? (*t)->BlankRecord().bytes() : recs[0]);
  }

  std::vector<store::Record> WorkCopyRecords(int n) {
    std::vector<store::Record> out;
    store::Table& t = st.areas.Get(n + 20)->table();
    for (uint32_t i = 1; i <= t.record_count(); ++i) out.push_back(*t.Read(store::RecNo{i}));
    return out;
  }

  platform::MemoryEnv mem;
  SessionStation st{mem, ""};
};

TEST_F(DeclarationSessionTest, LoadCopiesOnlyTheTaxpayersLiveRecordsWithTheWorkCopyKeys) {
  auto s = st.Session();
  D_ASSERT_OK(s->Load({LoadKind::kExisting, kCpfA, "ANA", 11}));
  ASSERT_TRUE(s->is_open());

  std::vector<std::string> texts;
  for (const auto& r : WorkCopyRecords(4)) {
    EXPECT_EQ(*r.GetText("CPF"), kCpfA);
    EXPECT_FALSE(r.deleted());
    texts.push_back(*r.GetTrimmed("I7_2"));
  }
  EXPECT_EQ(texts, (std::vector<std::string>{"A CARRO", "A MOTO", "A CASA"}));
  EXPECT_EQ(WorkCopyRecords(12).size(), 1u);
  EXPECT_TRUE(WorkCopyRecords(2).empty());

  // Each copy is "TMP_" + nn + terminal with one index of its own key.
  const std::vector<std::pair<int, std::string>> keys = {
      {1, "cpf"},
      {4, "str(I7_0)"},
      {5, "str(I8_0)"},
      {7, "STRZERO(BEM_NRO,2)+STRZERO(RVAR_NRO,2)+DAY_TRADE"},
      {8, "BEM_NRO"},
      {10, "coddesp"},
      {11, "codERR"},
      {15, "cpf+ATV_BRASIL"},
      {16, "cpf+ATV_BRASIL"},
      {17, "I8R_0"},
      {18, "I9R_0"},
      {21, "cpf"}};
  for (const auto& [n, key] : keys) {
    SCOPED_TRACE(n);
    store::WorkArea* w = s->WorkCopy(n);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->table().path(), "/work01/" + WorkCopyName(n, "01") + ".DBF");
    ASSERT_EQ(w->order_count(), 1u);
    EXPECT_EQ(w->order(0).expr().text(), key);
  }
  EXPECT_EQ(s->WorkCopy(13), nullptr);

  const DeclarationVars& v = s->vars();
  EXPECT_EQ(core::VariableKey(v.Text("NOMECONTR")).substr(0, 3), "ANA");
  EXPECT_EQ(v.Number("I13_37"), Dec("77.5"));
  EXPECT_EQ(s->REC_MENSAL()[0][1], "   1.500,00");
  EXPECT_EQ(s->REC_MENSAL()[1][1], std::string(11, ' '));
  EXPECT_EQ(v.Text("NOMEAG").substr(0, 11), "OPERADOR 01");
  EXPECT_EQ(*RegisterOf(kCpfA).GetText("NUSUAT"), "01");
  EXPECT_EQ(*RegisterOf(kCpfB).GetText("NUSUAT"), "  ");
}

TEST_F(DeclarationSessionTest, FinalSaveReplacesOnlyTheTaxpayerAndWritesTheSummaries) {
  const auto b_assets = RecordsOf(mem, "/data", 4, kCpfB, true);
  const auto b_register = RecordsOf(mem, "/data", 9, kCpfB);
  auto s = st.Session();
  D_ASSERT_OK(s->Load({LoadKind::kExisting, kCpfA, "ANA", 11}));
  s->vars().SetText("ENDERECO", "RUA NOVA");
  s->vars().SetNumber("INDGAS", Dec("1234.5"));  // too wide for its field: clamped
  store::WorkArea* assets = s->WorkCopy(4);
  D_ASSERT_OK(assets->Top());
  store::Record first = *assets->Current();
  D_ASSERT_OK(first.PutText("I7_2", "A CARRO EDITADO"));
  D_ASSERT_OK(assets->WriteCurrent(first));
  mem.fake_clock().Set({2020, 5, 10, 10, 5, 0});

  SaveReport report = s->SaveAll(SaveMode::kFinal);
  ASSERT_TRUE(report.ok()) << report.status.ToString();
  EXPECT_TRUE(report.register_saved);
  EXPECT_EQ(report.saved, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 14, 20}));
  EXPECT_TRUE(report.not_saved.empty());
  EXPECT_FALSE(s->is_open());
  EXPECT_EQ(st.areas.Get(24), nullptr);

  // B untouched, its deleted asset included.
  EXPECT_EQ(RecordsOf(mem, "/data", 4, kCpfB, true), b_assets);
  EXPECT_EQ(RecordsOf(mem, "/data", 9, kCpfB), b_register);
  // A's assets numbered in the order of their numbers, ties in file order.
  std::vector<std::string> a_assets;
  for (const auto& b : RecordsOf(mem, "/data", 4, kCpfA))
    a_assets.push_back(b.substr(12, 4) + b.substr(19, 15));
  EXPECT_EQ(a_assets, (std::vector<std::string>{"  10A CARRO EDITADO", "  20A MOTO         ",
                                                "  30A CASA         "}));

  store::Record reg = RegisterOf(kCpfA);
  EXPECT_EQ(*reg.GetTrimmed("ENDERECO"), "RUA NOVA");
  EXPECT_EQ(*reg.GetText("NUSUAT"), "  ");
  EXPECT_EQ(*reg.GetNumber("NRCLEAO"), Dec("2"));
  EXPECT_EQ(*reg.GetNumber("DFCLEAO"), Dec("150"));
  EXPECT_EQ(*reg.GetNumber("NRGCAPIT"), Dec("-1"));  // an operation without tax due
  EXPECT_EQ(*reg.GetNumber("DFGCAPIT"), Dec("0"));
  EXPECT_EQ(*reg.GetNumber("NRRVARIV"), Dec("0"));
  EXPECT_EQ(*reg.GetNumber("DFQUOTA"), Dec("77.5"));
  EXPECT_EQ(*reg.GetNumber("INDGAS"), Dec("999"));
  EXPECT_EQ(*reg.GetNumber("I13_27"), Dec("110"));  // 27 + 28
  EXPECT_EQ(*reg.GetNumber("I13_35"), Dec("36"));   // 35 - 34
  EXPECT_EQ(*reg.GetNumber("TEM_USO"), Dec("300"));
  EXPECT_EQ(*reg.GetTrimmed("NOMEAG"), "OPERADOR 01");

  auto log = store::Table::Open(mem, "/inst/USOLOG.DBF", store::Sharing::kShared);
  ASSERT_TRUE(log.ok()) << log.status().ToString();
  ASSERT_EQ((*log)->record_count(), 1u);
  store::Record row = *(*log)->Read(store::RecNo{1});
  EXPECT_EQ(*row.GetText("CPF"), kCpfA);
  EXPECT_EQ(*row.GetTrimmed("NOMECONTR"), "ANA");
  EXPECT_EQ(*row.GetTrimmed("NOMEAG"), "OPERADOR 01");
  EXPECT_EQ(row.GetDate("DATAUSO")->Dtos(), "20200510");
  EXPECT_EQ(*row.GetText("INIUSO"), "10:00:00");
  EXPECT_EQ(*row.GetText("FIMUSO"), "10:05:00");
  EXPECT_EQ(*row.GetText("TEMUSO"), "00:05:00");
}

// Every field of tables 09, 01 and 12 survives a load, a save and a reload,
// except those the save computes by rule.
TEST_F(DeclarationSessionTest, LoadSaveReloadKeepsEveryFieldButTheComputedOnes) {
  const std::vector<std::string> computed = {
      "NUSUAT",   "NOMEAG",   "TEM_USO", "TAM_USO", "NRCLEAO", "DFCLEAO", "NRGCAPIT", "DFGCAPIT",
      "NRRVARIV", "DFRVARIV", "NRQUOTA", "DFQUOTA", "INDGAS",  "I13_27",  "I13_35"};
  std::map<int, std::vector<std::string>> before;
  for (int n : {9, 1, 12}) before[n] = RecordsOf(mem, "/data", n, kCpfA);
  for (int round = 0; round < 2; ++round) {
    auto s = st.Session();
    D_ASSERT_OK(s->Load({LoadKind::kExisting, kCpfA, "ANA", 11}));
    ASSERT_TRUE(s->SaveAll(SaveMode::kFinal).ok());
  }
  for (int n : {9, 1, 12}) {
    auto after = RecordsOf(mem, "/data", n, kCpfA);
    ASSERT_EQ(after.size(), before[n].size()) << n;
    auto t =
        store::Table::Open(mem, "/data/" + store::TableFileName(*store::FindTable(n), {}) + ".DBF",
                           store::Sharing::kShared);
    for (size_t i = 0; i < after.size(); ++i) {
      store::Record a((*t)->shared_layout(), after[i]), b((*t)->shared_layout(), before[n][i]);
      for (const store::FieldSlot& f : a.layout().slots()) {
        if (n == 9 && std::find(computed.begin(), computed.end(), f.spec.name) != computed.end())
          continue;
        EXPECT_EQ(*a.Raw(f.spec.name), *b.Raw(f.spec.name))
            << "table " << n << " field " << f.spec.name;
      }
    }
  }
}

TEST_F(DeclarationSessionTest, NewTaxpayerStartsBlankAndLeavingWritesNothing) {
  const auto register_before = AllRecords(mem, "/data", 9);
  auto s = st.Session();
  D_ASSERT_OK(s->Load({LoadKind::kNew, kCpfNew, "", 11}));
  const DeclarationVars& v = s->vars();
  EXPECT_EQ(v.Number("ESTATUS"), Dec("2"));
  EXPECT_EQ(v.Text("I9_6"), "S");
  EXPECT_EQ(v.Text("EBRASIL"), "S");
  EXPECT_EQ(v.Number("CAL_AUTO"), Dec("1"));
  EXPECT_EQ(v.Number("INDALERTA"), Dec("10"));
  EXPECT_TRUE(v.Logical("SO_REC"));
  EXPECT_EQ(v.Text("NOMECONTR"), std::string(53, ' '));
  EXPECT_EQ(v.Text("CPF"), kCpfNew);
  EXPECT_TRUE(WorkCopyRecords(4).empty());
  EXPECT_EQ(st.display.frames.back(), "Criando os dados.");
  D_ASSERT_OK(s->Discard());
  EXPECT_EQ(AllRecords(mem, "/data", 9), register_before);

  auto again = st.Session();
  D_ASSERT_OK(again->Load({LoadKind::kNew, kCpfNew, "", 11}));
  again->vars().SetText("NOMECONTR", "CARLA");
  ASSERT_TRUE(again->SaveAll(SaveMode::kFinal).ok());
  EXPECT_EQ(*RegisterOf(kCpfNew).GetTrimmed("NOMECONTR"), "CARLA");
  EXPECT_EQ(RecordsOf(mem, "/data", 1, kCpfNew).size(), 1u);
}

TEST_F(DeclarationSessionTest, DiscardClearsOnlyThisTerminalsMark) {
  auto s = st.Session();
  D_ASSERT_OK(s->Load({LoadKind::kExisting, kCpfA, "ANA", 11}));
  D_ASSERT_OK(s->Discard());
  EXPECT_EQ(*RegisterOf(kCpfA).GetText("NUSUAT"), "  ");
  EXPECT_FALSE(s->is_open());
}

TEST_F(DeclarationSessionTest, PartialSaveKeepsTheDeclarationOpenAndMarked) {
  auto s = st.Session();
  D_ASSERT_OK(s->Load({LoadKind::kExisting, kCpfA, "ANA", 11}));
  st.areas.Select(24);
  D_ASSERT_OK(s->WorkCopy(4)->GoTo(store::RecNo{2}));
  mem.fake_clock().Set({2020, 5, 10, 10, 1, 0});
  std::optional<SaveReport> r = s->SAL_DEC();
  ASSERT_TRUE(r && r->ok());
  EXPECT_TRUE(s->is_open());
  EXPECT_EQ(*RegisterOf(kCpfA).GetText("NUSUAT"), "01");
  EXPECT_EQ(*RegisterOf(kCpfA).GetNumber("TEM_USO"), Dec("60"));
  EXPECT_EQ(st.areas.current(), 24);
  EXPECT_EQ(s->WorkCopy(4)->recno().value, 2u);
  EXPECT_EQ(s->SEM_SALV(), "10:01:00");
  EXPECT_EQ(st.display.windows, (std::vector<bool>{true, false}));
  // The next period starts at the save.
  mem.fake_clock().Set({2020, 5, 10, 10, 2, 0});
  ASSERT_TRUE(s->SaveAll(SaveMode::kFinal).ok());
  EXPECT_EQ(*RegisterOf(kCpfA).GetNumber("TEM_USO"), Dec("120"));
}

TEST_F(DeclarationSessionTest, ProtectedStatusAndTempSal98SaveNothing) {
  SessionSettings protect;
  protect.statrava = 1;
  auto s = st.Session(protect);
  D_ASSERT_OK(s->Load({LoadKind::kExisting, kCpfA, "ANA", 11}));
  const auto before = AllRecords(mem, "/data", 9);
  EXPECT_FALSE(s->SAL_DEC().has_value());
  ASSERT_EQ(st.display.errors.size(), 1u);
  EXPECT_EQ(core::Cp850ToUtf8(st.display.errors[0][0]),
            "Declaração com Status de proteção contra alteração.");
  EXPECT_EQ(AllRecords(mem, "/data", 9), before);
  D_ASSERT_OK(s->Discard());

  SessionSettings temp;
  temp.temp_sal = 98;
  auto t = st.Session(temp);
  D_ASSERT_OK(t->Load({LoadKind::kExisting, kCpfA, "ANA", 11}));
  const auto marked = AllRecords(mem, "/data", 9);
  EXPECT_FALSE(t->SAL_DEC().has_value());
  EXPECT_EQ(AllRecords(mem, "/data", 9), marked);
}

TEST_F(DeclarationSessionTest, RecoveryReusesTheWorkCopiesOfAnInterruptedDeclaration) {
  const auto shared_assets = AllRecords(mem, "/data", 4);
  {
    auto s = st.Session();
    D_ASSERT_OK(s->Load({LoadKind::kExisting, kCpfA, "ANA", 11}));
    store::WorkArea* assets = s->WorkCopy(4);
    D_ASSERT_OK(assets->Top());
    store::Record r = *assets->Current();
    D_ASSERT_OK(r.PutText("I7_2", "EDITADO ANTES DA QUEDA"));
    D_ASSERT_OK(assets->WriteCurrent(r));
    s->vars().SetText("ENDERECO", "RUA DA QUEDA");
    s->SetScreen(7);
    ASSERT_TRUE(s->VETAMHO().ok());  // the calculation screen refreshes TMP_09
    st.areas.CloseAll();             // the station dies here
  }
  const std::string nusuat = *RegisterOf(kCpfA).GetText("NUSUAT");
  EXPECT_FALSE(RecoveryNeedsWarning(nusuat, "01"));
  EXPECT_TRUE(RecoveryFilesExist(st.ctx, kCpfA));
  EXPECT_FALSE(RecoveryFilesExist(st.ctx, kCpfB));

  auto s = st.Session();
  D_ASSERT_OK(s->Load({LoadKind::kRecovery, kCpfA, "ANA", 11}));
  EXPECT_EQ(*WorkCopyRecords(4)[0].GetTrimmed("I7_2"), "EDITADO ANTES DA QUEDA");
  EXPECT_EQ(core::VariableKey(s->vars().Text("ENDERECO")).substr(0, 12), "RUA DA QUEDA");
  EXPECT_EQ(AllRecords(mem, "/data", 4), shared_assets);  // the shared tables are not read
  D_ASSERT_OK(s->Discard());

  // Work copies of another taxpayer are no recovery of B.
  auto b = st.Session();
  EXPECT_EQ(b->Load({LoadKind::kRecovery, kCpfB, "BRUNO", 11}).code(), StatusCode::kNotFound);
  EXPECT_FALSE(b->is_open());
}

TEST_F(DeclarationSessionTest, LoadAsksWhileAnotherStationHoldsATable) {
  auto other = store::Table::Open(mem, "/data/IMP0420.DBF", store::Sharing::kShared);
  ASSERT_TRUE(other.ok());
  std::vector<std::vector<std::string>> asked;
  st.ctx.confirm = [&](const std::vector<std::string>& lines) {
    asked.push_back(lines);
    return asked.size() > 1;  // "Não" first, "Sim" the second time
  };
  auto s = st.Session();
  EXPECT_EQ(s->Load({LoadKind::kExisting, kCpfA, "ANA", 11}).code(), StatusCode::kCancelled);
  EXPECT_FALSE(s->is_open());
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], (std::vector<std::string>{"Outro terminal esta usando o arquivo IMP0420.DBF",
                                                "                Aguarde ?"}));
  EXPECT_EQ(*RegisterOf(kCpfA).GetText("NUSUAT"), "  ");

  // "Sim": the load retries with the waiting text until the other lets go.
  st.wait.on_poll = [&](int poll) {
    if (poll == 3) other->reset();
    return false;
  };
  D_ASSERT_OK(s->Load({LoadKind::kExisting, kCpfA, "ANA", 11}));
  EXPECT_EQ(st.wait.texts.front(), "Aguardando outro Terminal carregar dados...");
  EXPECT_GE(mem.fake_clock().slept_ms(), 3 * 100);

  // Esc gives the wait up.
  D_ASSERT_OK(s->Discard());
  auto again = store::Table::Open(mem, "/data/IMP0420.DBF", store::Sharing::kShared);
  st.wait.on_poll = [](int) { return true; };
  EXPECT_EQ(s->Load({LoadKind::kExisting, kCpfA, "ANA", 11}).code(), StatusCode::kCancelled);
}

TEST_F(DeclarationSessionTest, SaveGivenUpKeepsTheDeclarationOpenAndTheNextSaveCompletesIt) {
  auto s = st.Session();
  D_ASSERT_OK(s->Load({LoadKind::kExisting, kCpfA, "ANA", 11}));
  store::WorkArea* assets = s->WorkCopy(4);
  D_ASSERT_OK(assets->Top());
  store::Record r = *assets->Current();
  D_ASSERT_OK(r.PutText("I7_2", "NOVO"));
  D_ASSERT_OK(assets->WriteCurrent(r));
  auto other = store::Table::Open(mem, "/data/IMP0520.DBF", store::Sharing::kShared);
  ASSERT_TRUE(other.ok());
  std::vector<std::vector<std::string>> asked;
  st.ctx.confirm = [&](const std::vector<std::string>& lines) {
    asked.push_back(lines);
    return false;
  };
  SaveReport report = s->SaveAll(SaveMode::kFinal);
  EXPECT_EQ(report.status.code(), StatusCode::kCancelled);
  EXPECT_EQ(report.saved, (std::vector<int>{1, 2, 3, 4}));
  ASSERT_FALSE(report.not_saved.empty());
  EXPECT_EQ(report.not_saved.front(), 5);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0][0], "Outro terminal esta usando o arquivo IMP0520.DBF");
  EXPECT_GE(mem.fake_clock().slept_ms(), 30000);
  EXPECT_TRUE(s->is_open());
  EXPECT_EQ(*RegisterOf(kCpfA).GetText("NUSUAT"), "01");  // still recoverable

  other->reset();
  report = s->SaveAll(SaveMode::kFinal);
  ASSERT_TRUE(report.ok()) << report.status.ToString();
  EXPECT_EQ(*RegisterOf(kCpfA).GetText("NUSUAT"), "  ");
  EXPECT_EQ(RecordsOf(mem, "/data", 4, kCpfA).size(), 3u);
}

// Fault: a register record whose lock was refused was written all the same.
// Now the lock is retried and then the save is abandoned with a message,
// nothing written and the declaration open.
TEST_F(DeclarationSessionTest, RefusedRegisterLockAbandonsTheSave) {
  auto s = st.Session();
  D_ASSERT_OK(s->Load({LoadKind::kExisting, kCpfA, "ANA", 11}));
  s->vars().SetText("ENDERECO", "NAO DEVE IR");
  const auto register_before = AllRecords(mem, "/data", 9);
  auto other = store::Table::Open(mem, "/data/IMP0920.DBF", store::Sharing::kShared);
  ASSERT_TRUE(other.ok());
  D_ASSERT_OK((*other)->LockRecord(store::RecNo{1}));  // A's register record

  SaveReport report = s->SaveAll(SaveMode::kPartial);
  EXPECT_EQ(report.status.code(), StatusCode::kLocked);
  EXPECT_FALSE(report.register_saved);
  EXPECT_TRUE(report.saved.empty());
  EXPECT_TRUE(s->is_open());
  EXPECT_EQ(AllRecords(mem, "/data", 9), register_before);
  ASSERT_FALSE(st.display.errors.empty());
  EXPECT_EQ(core::Cp850ToUtf8(st.display.errors.back()[1]),
            "A declaração não foi salva e continua aberta.");
  EXPECT_EQ(st.sink.boxes.size(), 1u);  // the lock's own box once, not per attempt

  (*other)->UnlockRecord(store::RecNo{1});
  EXPECT_TRUE(s->SaveAll(SaveMode::kPartial).ok());
}

// With rural activity in Brazil and abroad, saved while the abroad figures are
// on screen: the abroad record takes the variables, the Brazil record keeps
// what it had; the rural tables are saved too.
TEST_F(DeclarationSessionTest, RuralActivitiesAreSavedIntoTheirOwnRecords) {
  Put(st, 9, kCpfNew, {{"NOMECONTR", "RURAL"}, {"TEMRURAL", "S"}});
  Put(st, 1, kCpfNew, {});
  Put(st, 15, kCpfNew, {{"ATV_BRASIL", "S"}, {"I4R_01", "100"}, {"I3_01OR", "500"}});
  Put(st, 15, kCpfNew, {{"ATV_BRASIL", "N"}, {"I4R_01", "7"}});
  auto s = st.Session();
  D_ASSERT_OK(s->Load({LoadKind::kExisting, kCpfNew, "RURAL", 11}));
  EXPECT_EQ(s->CATVATUAL(), "S");
  EXPECT_EQ(s->vars().Number("I4R_01"), Dec("100"));
  EXPECT_EQ(s->REND_RURAL()[0][0], "        500,00");
  EXPECT_EQ(s->REND_RURAL()[1][0], std::string(14, ' '));

  D_ASSERT_OK(s->SALVE35("S"));
  D_ASSERT_OK(s->PRENCHEAAR("N"));
  EXPECT_EQ(s->vars().Number("I4R_01"), Dec("7"));
  s->vars().SetNumber("I4R_01", Dec("9"));
  SaveReport r = s->SaveAll(SaveMode::kFinal);
  ASSERT_TRUE(r.ok()) << r.status.ToString();
  EXPECT_EQ(r.saved.back(), 21);

  auto t = store::Table::Open(mem, "/data/IMP1520.DBF", store::Sharing::kShared);
  std::map<std::string, std::pair<Decimal, Decimal>> by_activity;
  for (const auto& b : RecordsOf(mem, "/data", 15, kCpfNew)) {
    store::Record rec((*t)->shared_layout(), b);
    by_activity[*rec.GetText("ATV_BRASIL")] = {*rec.GetNumber("I4R_01"), *rec.GetNumber("I3_01OR")};
  }
  ASSERT_EQ(by_activity.size(), 2u);
  EXPECT_EQ(by_activity["S"], std::make_pair(Dec("100"), Dec("500")));
  EXPECT_EQ(by_activity["N"].first, Dec("9"));
}

TEST_F(DeclarationSessionTest, AMissingRuralActivityStartsBlank) {
  Put(st, 9, kCpfNew, {{"TEMRURAL", "S"}});
  Put(st, 15, kCpfNew, {{"ATV_BRASIL", "S"}, {"I5_08", "3"}});
  auto s = st.Session();
  D_ASSERT_OK(s->Load({LoadKind::kExisting, kCpfNew, "", 11}));
  EXPECT_EQ(s->vars().Number("I5_08"), Dec("3"));
  D_ASSERT_OK(s->PRENCHEAAR("N"));
  EXPECT_EQ(s->vars().Number("I5_08"), Dec("0"));
  EXPECT_EQ(s->vars().Text("OPT_20"), "N");
  EXPECT_EQ(s->vars().Text("CPF"), kCpfNew);
  EXPECT_EQ(WorkCopyRecords(15).size(), 2u);
}

// The hand-over of every declaration (option 63) loads from the register as
// the caller walks it and leaves it open on the same record, unmarked.
TEST_F(DeclarationSessionTest, HandOverOfEveryDeclarationKeepsTheRegisterOpen) {
  D_ASSERT_OK(store::ABERTURA(st.ctx, st.areas, 9));
  store::WorkArea* reg = st.areas.Get(9);
  ASSERT_TRUE(*reg->Seek(kCpfB));
  const store::RecNo at = reg->recno();
  auto s = st.Session();
  D_ASSERT_OK(s->Load({LoadKind::kExisting, kCpfB, "BRUNO", 63}));
  ASSERT_EQ(st.areas.Get(9), reg);
  EXPECT_EQ(reg->recno(), at);
  EXPECT_EQ(WorkCopyRecords(9).size(), 1u);
  EXPECT_EQ(*RegisterOf(kCpfB).GetText("NUSUAT"), "  ");
  D_ASSERT_OK(s->Discard());
  EXPECT_EQ(st.areas.Get(9), reg);
}

// ---- the rules ------------------------------------------------------------------

TEST(DeclarationRulesTest, RenumberLines) {
  struct Case {
    std::vector<int> in;
    std::vector<int> out;
  };
  const std::vector<Case> cases = {
      {{5, 5, 12}, {10, 20, 30}},
      {{12, 5, 5}, {30, 10, 20}},
      {{}, {}},
      {{0}, {10}},
  };
  for (const auto& c : cases) {
    auto r = RenumberLines(c.in);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(*r, c.out);
  }
  // Fault: beyond 999 lines the numbers x 10 no longer fit four digits and
  // lines 1000.. kept their rank, colliding with none but overflowing debts'
  // N(4) and mixing steps. Now 999 lines are 10..9990 and more are 1..n.
  std::vector<int> many(999, 7);
  EXPECT_EQ(RenumberLines(many)->back(), 9990);
  many.push_back(7);
  auto thousand = RenumberLines(many);
  EXPECT_EQ(thousand->front(), 1);
  EXPECT_EQ(thousand->back(), 1000);
  EXPECT_EQ(RenumberLines(std::vector<int>(9999, 1))->back(), 9999);
  EXPECT_EQ(RenumberLines(std::vector<int>(10000, 1)).status().code(), StatusCode::kInvalid);
}

TEST(DeclarationRulesTest, ElapsedSeconds) {
  struct Case {
    int64_t start, end, seconds;
  };
  // Fault: across midnight the period counted 86399 seconds a day, one short:
  // 23:59:00 -> 00:01:00 is 120 seconds.
  for (const Case& c :
       std::vector<Case>{{86340, 60, 120}, {100, 250, 150}, {500, 500, 0}, {86399, 0, 1}}) {
    EXPECT_EQ(ElapsedSeconds(c.start, c.end), c.seconds) << c.start << " -> " << c.end;
  }
}

TEST(DeclarationRulesTest, RecoveryNeedsWarning) {
  struct Case {
    const char* nusuat;
    const char* terminal;
    bool warn;
  };
  for (const Case& c :
       std::vector<Case>{{"01", "01", false}, {"  ", "01", true}, {"02", "01", true}}) {
    EXPECT_EQ(RecoveryNeedsWarning(c.nusuat, c.terminal), c.warn) << "'" << c.nusuat << "'";
  }
  EXPECT_EQ(WorkCopyName(4, "07"), "TMP_0407");
}

}  // namespace
}  // namespace dodu::shell
