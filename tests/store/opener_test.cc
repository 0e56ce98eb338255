// The opener: creating tables and indexes, repairing indexes, modes, messages.
#include "store/opener.h"

#include <gtest/gtest.h>

#include "core/codepage.h"
#include "platform/env.h"
#include "store/opener_messages.h"
#include "store/opener_testutil.h"
#include "store/rec_lock.h"

namespace dodu::store {
namespace {

class OpenerTest : public testing::OpenerFixture {
 protected:
  // Appends a record with `cpf` (and `name` in NOMECONTR when the table has it).
  void AddRecord(WorkArea& a, const std::string& cpf, const std::string& name = "") {
    OPENER_ASSERT_OK(ADD_REC(ctx, a, 5));
    Result<Record> r = a.Current();
    ASSERT_TRUE(r.ok()) << r.status().ToString();
    OPENER_ASSERT_OK(r->PutText("CPF", cpf));
    if (!name.empty()) OPENER_ASSERT_OK(r->PutText("NOMECONTR", name));
    OPENER_ASSERT_OK(a.WriteCurrent(*r));
    a.table().UnlockRecord(a.recno());
  }

  std::vector<CdxEntry> Entries(const std::string& path, int table) {
    Result<CdxIndex> idx = CdxIndex::Open(env, path, FindTable(table)->layout);
    EXPECT_TRUE(idx.ok()) << idx.status().ToString();
    if (!idx.ok()) return {};
    Result<std::vector<CdxEntry>> all = idx->ReadAll();
    return all.ok() ? *all : std::vector<CdxEntry>{};
  }

  std::string Bytes(const std::string& path) {
    Result<std::string> b = platform::ReadWholeFile(env, path);
    return b.ok() ? *b : "";
  }

  static std::string RawText(const Record& r, const char* field) {
    Result<std::string_view> v = r.Raw(field);
    return v.ok() ? std::string(*v) : "<" + v.status().ToString() + ">";
  }

  WorkAreas areas;
};

TEST_F(OpenerTest, NewDataFolderGetsTheRegisterAndItsThreeIndexFiles) {
  OPENER_ASSERT_OK(ABERTURA(ctx, areas, 9));
  for (const char* f : {"/data/IMP0920.DBF", "/data/IMP0920.CDX", "/data/IMP0920B.CDX",
                        "/data/IMP0920C.CDX"}) {
    EXPECT_TRUE(env.Exists(f)) << f;
  }
  WorkArea* reg = areas.Get(9);
  ASSERT_NE(reg, nullptr);
  EXPECT_EQ(reg->alias(), "IMP0920");
  EXPECT_EQ(reg->order_count(), 3u);
  EXPECT_EQ(reg->active_order(), 1);
  EXPECT_EQ(reg->table().layout().fields(), FindTable(9)->layout);
  EXPECT_EQ(sink.status, (std::vector<std::string>{"Criando IMP0920.DBF", ""}));
}

TEST_F(OpenerTest, CreatingMessages) {
  const std::pair<int, std::string> cases[] = {
      {1, "Criando IMP0120.DBF"},  {9, "Criando IMP0920.DBF"},  {10, "Criando IMP10.DBF"},
      {21, "Criando IMP21.DBF"},   {50, "Criando DIRETOR.DBF"}, {42, ""},
      {32, ""},
  };
  for (const auto& [number, text] : cases) {
    EXPECT_EQ(CreatingMessage(number, "20"), text) << number;
  }
}

TEST_F(OpenerTest, WorkCopyOfTable12HasItsLayoutAndACpfIndex) {
  ctx.terminal = "03";
  OPENER_ASSERT_OK(OpenWorkCopy(ctx, areas, 12, false));
  WorkArea* w = areas.Get(32);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->alias(), "TMP_1203");
  EXPECT_EQ(w->table().layout().fields().size(), 93u);
  EXPECT_TRUE(env.Exists("/work/TMP_1203.DBF"));
  EXPECT_TRUE(env.Exists("/work/TMP_1203.CDX"));
  EXPECT_EQ(w->order(0).expr().text(), "cpf");
  // Table 1's copy lives in area 21 with table 1's layout, not table 21's.
  OPENER_ASSERT_OK(OpenWorkCopy(ctx, areas, 1, false));
  EXPECT_EQ(areas.Get(21)->table().layout().fields().size(), 159u);
}

TEST_F(OpenerTest, DefineIsCreatedWithOneDefaultsRecordOnlyOnce) {
  OPENER_ASSERT_OK(ABERTURA(ctx, areas, 43));
  areas.CloseAll();
  OPENER_ASSERT_OK(ABERTURA(ctx, areas, 43));
  WorkArea* def = areas.Get(43);
  ASSERT_NE(def, nullptr);
  EXPECT_EQ(def->table().record_count(), 1u);
  OPENER_ASSERT_OK(def->Top());
  Result<Record> r = def->Current();
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(RawText(*r, "VCTO1"), "20200630");
  EXPECT_EQ(RawText(*r, "VCTO8"), "20210129");
  EXPECT_EQ(RawText(*r, "VAL_DOLAR"), "  4.0301");
  EXPECT_EQ(RawText(*r, "VAL_SEG"), " 4.00");
  EXPECT_EQ(RawText(*r, "TEMP_SAL"), "15");
  EXPECT_EQ(*r->GetText("PROCESSA"), "N");
  EXPECT_EQ(*r->GetText("PROGCOMP"), "S");
  EXPECT_EQ(*r->GetTrimmed("BOL_NOME"), "");
}

TEST_F(OpenerTest, MissingFirstIndexPacksAndRebuildsEveryIndex) {
  OPENER_ASSERT_OK(ABERTURA(ctx, areas, 9));
  WorkArea* reg = areas.Get(9);
  AddRecord(*reg, "11111111111", "ANA");
  AddRecord(*reg, "22222222222", "BRUNO");
  AddRecord(*reg, "33333333333", "CARLA");
  OPENER_ASSERT_OK(reg->GoTo(RecNo{2}));
  OPENER_ASSERT_OK(REC_LOCK(ctx, *reg, 0));
  OPENER_ASSERT_OK(reg->table().SetDeleted(RecNo{2}, true));
  reg->table().UnlockAll();
  areas.CloseAll();

  OPENER_ASSERT_OK(env.Remove("/data/IMP0920.CDX"));
  OPENER_ASSERT_OK(ABERTURA(ctx, areas, 9));
  reg = areas.Get(9);
  ASSERT_NE(reg, nullptr);
  EXPECT_EQ(reg->table().sharing(), Sharing::kShared);  // reopened in the asked mode
  EXPECT_EQ(reg->table().record_count(), 2u);            // the deleted record is gone
  EXPECT_EQ(Entries("/data/IMP0920.CDX", 9).size(), 2u);
  // The name index was there, but described the unpacked table: rebuilt too.
  std::vector<CdxEntry> names = Entries("/data/IMP0920B.CDX", 9);
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[1].recno, 2u);  // CARLA moved to record 2
  Result<bool> found = reg->Seek("33333333333");
  ASSERT_TRUE(found.ok());
  EXPECT_TRUE(*found);
  EXPECT_EQ(reg->recno().value, 2u);
}

TEST_F(OpenerTest, MissingSecondIndexIsRebuiltAloneWithoutPack) {
  OPENER_ASSERT_OK(ABERTURA(ctx, areas, 9));
  WorkArea* reg = areas.Get(9);
  AddRecord(*reg, "11111111111", "ANA");
  AddRecord(*reg, "22222222222", "BRUNO");
  OPENER_ASSERT_OK(reg->GoTo(RecNo{1}));
  OPENER_ASSERT_OK(REC_LOCK(ctx, *reg, 0));
  OPENER_ASSERT_OK(reg->table().SetDeleted(RecNo{1}, true));
  reg->table().UnlockAll();
  areas.CloseAll();
  const std::string first = Bytes("/data/IMP0920.CDX");
  const std::string third = Bytes("/data/IMP0920C.CDX");

  OPENER_ASSERT_OK(env.Remove("/data/IMP0920B.CDX"));
  OPENER_ASSERT_OK(ABERTURA(ctx, areas, 9));
  reg = areas.Get(9);
  EXPECT_EQ(reg->table().record_count(), 2u);  // no pack
  EXPECT_EQ(Entries("/data/IMP0920B.CDX", 9).size(), 2u);
  EXPECT_EQ(Bytes("/data/IMP0920.CDX"), first);
  EXPECT_EQ(Bytes("/data/IMP0920C.CDX"), third);
}

TEST_F(OpenerTest, IndexThatMissedAnAppendIsRebuilt) {
  OPENER_ASSERT_OK(ABERTURA(ctx, areas, 4));
  AddRecord(*areas.Get(4), "11111111111");
  areas.CloseAll();
  {
    // A write that reached the table but not its index (another tool, a crash).
    Result<std::unique_ptr<Table>> t = Table::Open(env, "/data/IMP0420.DBF", Sharing::kExclusive);
    ASSERT_TRUE(t.ok());
    Record r = (*t)->BlankRecord();
    OPENER_ASSERT_OK(r.PutText("CPF", "99999999999"));
    ASSERT_TRUE((*t)->Append(r).ok());
  }
  OPENER_ASSERT_OK(ABERTURA(ctx, areas, 4));
  EXPECT_EQ(Entries("/data/IMP0420.CDX", 4).size(), 2u);
  Result<bool> found = areas.Get(4)->Seek("99999999999");
  ASSERT_TRUE(found.ok());
  EXPECT_TRUE(*found);
}

TEST_F(OpenerTest, TableHeldExclusivelyElsewhereIsNotAvailable) {
  WorkAreas other;
  OPENER_ASSERT_OK(ABERTURA(ctx, other, 9, /*exclusive=*/true));
  Status st = ABERTURA(ctx, areas, 9);
  EXPECT_TRUE(st.IsLocked()) << st.ToString();
  ASSERT_EQ(BoxTexts().size(), 1u);
  EXPECT_EQ(BoxTexts()[0], "IMP0920.DBF n\xC6o est\xA0 dispon\xA1vel ");  // cp850, trailing blank
  EXPECT_EQ(areas.Get(9), nullptr);
}

TEST_F(OpenerTest, NetuseOfAMissingFile) {
  Status st = NETUSE(ctx, areas, "/data/NADA", false);
  EXPECT_TRUE(st.IsNotFound());
  ASSERT_EQ(sink.boxes.size(), 1u);
  EXPECT_EQ(sink.boxes[0].style, 0);
  EXPECT_EQ(sink.boxes[0].lines[0], core::Cp850("Arquivo /data/NADA.DBF não existe!"));
}

TEST_F(OpenerTest, BareNamesAreFoundInDataThenInstallationAndCreatedInData) {
  // A table only in the installation folder is found there.
  OPENER_ASSERT_OK(CRIA(ctx, 53, "/inst/AUXPAG.DBF"));
  areas.Select(53);
  OPENER_ASSERT_OK(NETUSE(ctx, areas, "auxpag", false));
  EXPECT_EQ(areas.Get(53)->table().path(), "/inst/AUXPAG.DBF");
  // A missing one is created in the data folder.
  OPENER_ASSERT_OK(ABREARQ(ctx, areas, {74, 74, nullptr, "AUXFON", false, {{"", "NOME"}}}));
  EXPECT_TRUE(env.Exists("/data/AUXFON.DBF"));
  EXPECT_TRUE(env.Exists("/data/AUXFON.CDX"));
}

TEST_F(OpenerTest, ReferenceTablesAreNeverCreated) {
  OPENER_ASSERT_OK(ABERTURA(ctx, areas, 46));
  EXPECT_EQ(areas.Get(46), nullptr);
  EXPECT_FALSE(env.Exists("/inst/CODBENS.DBF"));
  EXPECT_TRUE(CRIA(ctx, 46, "/inst/CODBENS.DBF").IsNotFound());
  // The help table opens only when its memo file is there too.
  OPENER_ASSERT_OK(env.PutFile("/inst/HELPTXT.DBF", "not a table"));
  OPENER_ASSERT_OK(ABERTURA(ctx, areas, 45));
  EXPECT_EQ(areas.Get(45), nullptr);
}

TEST_F(OpenerTest, InstalledReferenceTablesOpenByTheirRules) {
  // Fixtures of installed lists, built from the fields the catalogue reads.
  for (const char* name : {"/inst/IDOCIDAD.DBF", "/inst/ECACIDAD.DBF"}) {
    ASSERT_TRUE(Table::Create(env, name, FindTable(75)->layout, Sharing::kExclusive).ok());
  }
  OPENER_ASSERT_OK(ABERTURA(ctx, areas, 75));
  EXPECT_EQ(areas.Get(75)->table().path(), "/inst/IDOCIDAD.DBF");
  ctx.declaration_option = 44;
  OPENER_ASSERT_OK(ABERTURA(ctx, areas, 75));
  EXPECT_EQ(areas.Get(75)->table().path(), "/inst/ECACIDAD.DBF");
  EXPECT_TRUE(env.Exists("/inst/ECACIDAD.CDX"));

  ASSERT_TRUE(Table::Create(env, "/inst/HELPTXT.DBF", FindTable(45)->layout, Sharing::kExclusive).ok());
  ASSERT_TRUE(env.Exists("/inst/HELPTXT.DBT"));
  OPENER_ASSERT_OK(ABERTURA(ctx, areas, 45));
  ASSERT_NE(areas.Get(45), nullptr);
  EXPECT_EQ(areas.Get(45)->order(0).expr().text(), "UPPER(NOME)");
}

TEST_F(OpenerTest, AliasIsUsedOnceThenCleared) {
  ctx.alias = "ORIGEM";
  OPENER_ASSERT_OK(ABERTURA(ctx, areas, 9));
  EXPECT_EQ(areas.Get(9)->alias(), "ORIGEM");
  EXPECT_TRUE(ctx.alias.empty());
  EXPECT_EQ(areas.FindAlias("origem"), areas.Get(9));
}

TEST_F(OpenerTest, FechaTodoKeepsTheRegisterAndTheInstallationTables) {
  for (int n : {1, 9, 21, 42}) OPENER_ASSERT_OK(ABERTURA(ctx, areas, n));
  OPENER_ASSERT_OK(OpenWorkCopy(ctx, areas, 2, false));
  FECHA_TODO(areas);
  EXPECT_EQ(areas.OpenNumbers(), (std::vector<int>{9, 42}));
}

TEST_F(OpenerTest, RecLockZeroFailsAtOnceOnARecordAnotherHolds) {
  OPENER_ASSERT_OK(ABERTURA(ctx, areas, 9));
  AddRecord(*areas.Get(9), "11111111111");
  WorkAreas other;
  OPENER_ASSERT_OK(ABERTURA(ctx, other, 9));
  OPENER_ASSERT_OK(other.Get(9)->Top());
  OPENER_ASSERT_OK(REC_LOCK(ctx, *other.Get(9), 0));

  WorkArea& mine = *areas.Get(9);
  OPENER_ASSERT_OK(mine.Top());
  Status st = REC_LOCK(ctx, mine, 0);
  EXPECT_TRUE(st.IsLocked());
  EXPECT_EQ(env.fake_clock().slept_ms(), 0);
  ASSERT_EQ(sink.boxes.size(), 1u);
  EXPECT_EQ(sink.boxes[0].style, 8);
  EXPECT_EQ(sink.boxes[0].lines[0],
            core::Cp850("ATENÇÃO! Registro não ficou disponível. Dado não será gravado."));

  // With time to wait, the status bar names the alias; Esc gives up.
  wait.on_poll = [](int poll) { return poll == 2; };
  EXPECT_TRUE(REC_LOCK(ctx, mine, 5).IsCancelled());
  EXPECT_EQ(wait.texts[0], "Aguardando registro ficar disponivel no arquivo IMP0920");
}

TEST_F(OpenerTest, FilLockZeroWaitsUntilTheHolderLetsGo) {
  OPENER_ASSERT_OK(ABERTURA(ctx, areas, 9));
  AddRecord(*areas.Get(9), "11111111111");
  WorkAreas other;
  OPENER_ASSERT_OK(ABERTURA(ctx, other, 9));
  WorkArea& holder = *other.Get(9);
  OPENER_ASSERT_OK(holder.Top());
  OPENER_ASSERT_OK(REC_LOCK(ctx, holder, 0));

  // Esc is pressed at every poll; the holder lets go at the sixth.
  wait.on_poll = [&](int poll) {
    if (poll == 6) holder.table().UnlockAll();
    return true;
  };
  OPENER_ASSERT_OK(FIL_LOCK(ctx, *areas.Get(9), 0));
  EXPECT_TRUE(areas.Get(9)->table().HoldsTableLock());
  EXPECT_EQ(env.fake_clock().slept_ms(), 3000);
  EXPECT_EQ(wait.texts, (std::vector<std::string>{"Aguardando arquivo ficar disponivel", ""}));
  EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(OpenerTest, PrepRegLocksAFoundRecordOrAppendsOne) {
  OPENER_ASSERT_OK(ABERTURA(ctx, areas, 9));
  WorkArea& reg = *areas.Get(9);
  OPENER_ASSERT_OK(PREP_REG(ctx, reg, "12345678901"));
  EXPECT_EQ(reg.table().record_count(), 1u);
  EXPECT_TRUE(reg.table().HoldsRecordLock(RecNo{1}));
  Result<Record> r = reg.Current();
  OPENER_ASSERT_OK(r->PutText("CPF", "12345678901"));
  OPENER_ASSERT_OK(reg.WriteCurrent(*r));
  reg.table().UnlockAll();

  OPENER_ASSERT_OK(PREP_REG(ctx, reg, "12345678901"));
  EXPECT_EQ(reg.table().record_count(), 1u);
  EXPECT_TRUE(reg.table().HoldsRecordLock(RecNo{1}));
}

}  // namespace
}  // namespace dodu::store
