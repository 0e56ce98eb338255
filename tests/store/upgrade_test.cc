// The upgrade check and the upgrade of tables left by earlier releases.
#include "store/upgrade.h"

#include <gtest/gtest.h>

#include "core/codepage.h"
#include "platform/fault_env.h"
#include "platform/testutil.h"
#include "store/lock_file.h"
#include "store/maintenance_messages.h"
#include "store/maintenance_testutil.h"

namespace dodu::store {
namespace {

using testing::AppendTo;
using testing::ExpectIndexFresh;
using testing::Fields;
using testing::RecordImages;

// The register as an earlier release wrote it: without AAR_EXTER and the
// fields that came after NUSUAT.
Layout OldRegisterLayout() {
  Layout old;
  for (const FieldSpec& f : FindTable(9)->layout) {
    if (f.name == "AAR_EXTER" || f.name == "NOMEAG" || f.name == "DFRVARIV") continue;
    old.push_back(f);
  }
  return old;
}

struct RuralCase {
  const char* temrural;
  const char* atv_brasil;
  const char* want_brasil;
  const char* want_exter;
};
const RuralCase kRural[] = {
    {"S", "S", "S", "N"},  // activity in Brazil only
    {"S", "N", "S", "S"},  // abroad: now also flagged abroad, kept in Brazil
    {"S", "", "S", "S"},
    {"N", "S", "", ""},    // no rural activity: both blank
    {"", "N", "", ""},
};

class UpgradeTest : public testing::OpenerFixture {
 protected:
  std::string Reg() { return "/data/IMP0920.DBF"; }
  void MakeOldRegister() {
    Result<std::unique_ptr<Table>> t =
        Table::Create(env, Reg(), OldRegisterLayout(), Sharing::kExclusive);
    ASSERT_TRUE(t.ok()) << t.status().ToString();
  }
  // With `indexed`, the old register also gets its index files first.
  void FillOldRegister(bool indexed = false) {
    MakeOldRegister();
    if (indexed) {
      WorkAreas areas;
      OPENER_ASSERT_OK(ABERTURA(ctx, areas, 9));
    }
    int i = 0;
    for (const RuralCase& c : kRural) {
      char cpf[12];
      snprintf(cpf, sizeof cpf, "%011d", 500 - i);
      AppendTo(env, Reg(),
               {{"CPF", cpf}, {"NOMECONTR", "NOME " + std::to_string(i)}, {"TEMRURAL", c.temrural},
                {"ATV_BRASIL", c.atv_brasil}, {"ESTATUS", std::to_string(i % 3)},
                {"IMPPGRE", "-1234.56"}, {"NASCIMENTO", "19700131"}});
      ++i;
    }
    AppendTo(env, Reg(), {{"CPF", "99999999999"}, {"NOMECONTR", "APAGADO"}}, true);
  }
  int Count(const std::string& text) {
    int n = 0;
    for (const auto& b : sink.boxes) {
      for (const auto& l : b.lines) n += l.find(text) != std::string::npos;
    }
    return n;
  }
};

TEST_F(UpgradeTest, CheckSeesTheSignatureByNameAndType) {
  MakeOldRegister();
  EXPECT_TRUE(VER_ATUAZ(ctx, 9));
  ASSERT_EQ(sink.boxes.size(), 1u);
  EXPECT_EQ(sink.boxes[0].title, core::Cp850("ATUALIZAÇÃO NECESSÁRIA"));
  EXPECT_EQ(sink.boxes[0].lines[0].substr(0, 7), "ATEN\x80\xC7" "0");
  // Unsigned tables never need it; a missing signed one is created current.
  EXPECT_FALSE(VER_ATUAZ(ctx, 2));
  EXPECT_FALSE(VER_ATUAZ(ctx, 4));
  EXPECT_TRUE(env.Exists("/data/IMP0420.DBF"));
  // The field present with another type is not the signature.
  Layout wrong = FindTable(11)->layout;
  for (FieldSpec& f : wrong) {
    if (f.name == "COLUN") f = {"COLUN", FieldType::kChar, 2, 0};
  }
  ASSERT_TRUE(Table::Create(env, "/data/IMP1120.DBF", wrong, Sharing::kShared).ok());
  EXPECT_TRUE(VER_ATUAZ(ctx, 11));
}

TEST_F(UpgradeTest, OldRegisterGetsTheNewLayoutTheRuralRuleAndFreshIndexes) {
  FillOldRegister(/*indexed=*/true);
  const std::vector<std::string> before = RecordImages(env, Reg());
  ASSERT_EQ(before.size(), 6u);

  Result<bool> done = CORRIGE(ctx, 9);
  ASSERT_TRUE(done.ok()) << done.status().ToString();
  EXPECT_TRUE(*done);
  EXPECT_EQ(Count("/data/IMP0920 Atualizado"), 1);

  Result<std::unique_ptr<Table>> t = Table::Open(env, Reg(), Sharing::kShared);
  ASSERT_TRUE(t.ok());
  EXPECT_EQ((*t)->layout().fields(), FindTable(9)->layout);
  ASSERT_EQ((*t)->record_count(), 5u);  // the deleted record is not carried over
  for (uint32_t i = 0; i < 5; ++i) {
    Record r = *(*t)->Read(RecNo{i + 1});
    SCOPED_TRACE(i);
    EXPECT_EQ(*r.GetTrimmed("ATV_BRASIL"), kRural[i].want_brasil);
    EXPECT_EQ(*r.GetTrimmed("AAR_EXTER"), kRural[i].want_exter);
    EXPECT_EQ(*r.GetTrimmed("NOMECONTR"), "NOME " + std::to_string(i));
    EXPECT_EQ(r.GetNumber("IMPPGRE")->ToString(), "-1234.56");
    EXPECT_EQ(r.GetDate("NASCIMENTO")->Dtos(), "19700131");
    EXPECT_EQ(*r.GetTrimmed("NOMEAG"), "");
  }
  t->reset();
  ExpectIndexFresh(env, Reg(), "/data/IMP0920.CDX", "CPF");
  ExpectIndexFresh(env, Reg(), "/data/IMP0920B.CDX", "UPPER(NOMECONTR)");
  ExpectIndexFresh(env, Reg(), "/data/IMP0920C.CDX", "ESTATUS");
  // Nothing of the rewrite is left behind.
  Result<std::vector<platform::DirEntry>> files = env.ListDir("/data");
  for (const auto& e : *files) EXPECT_EQ(e.name.find("tmp~"), std::string::npos) << e.name;
  EXPECT_FALSE(VER_ATUAZ(ctx, 9));
}

TEST_F(UpgradeTest, CurrentFolderIsNotRewritten) {
  WorkAreas areas;
  for (const UpgradeSignature& s : UpgradeSignatures()) {
    OPENER_ASSERT_OK(ABERTURA(ctx, areas, s.table));
    areas.Close(s.table);
  }
  AppendTo(env, Reg(), {{"CPF", "12345678909"}}, true);
  std::map<std::string, std::string> bytes;
  const auto listing = env.ListDir("/data");
  for (const auto& e : *listing) {
    Result<std::string> b = platform::ReadWholeFile(env, "/data/" + e.name);
    ASSERT_TRUE(b.ok()) << e.name;
    bytes[e.name] = *b;
  }
  EXPECT_EQ(CORRECAO(ctx, 0), 0);
  for (const auto& [name, content] : bytes) {
    Result<std::string> b = platform::ReadWholeFile(env, "/data/" + name);
    ASSERT_TRUE(b.ok()) << name;
    EXPECT_EQ(*b, content) << name;
  }
  EXPECT_TRUE(sink.boxes.empty());
}

TEST_F(UpgradeTest, OtherModesOnlyTurnTheMessagesOn) {
  MakeOldRegister();
  EXPECT_EQ(CORRECAO(ctx, 1), 0);
  EXPECT_TRUE(ctx.show_messages);
  EXPECT_TRUE(VER_ATUAZ(ctx, 9));
}

TEST_F(UpgradeTest, BusyTableIsReportedAndLeftAsItWas) {
  // Fault: the upgrade gave up its exclusive open before copying back, so a
  // station could open the old table meanwhile; it now holds the exclusive open
  // throughout, and a table held by another station is named and untouched.
  FillOldRegister();
  const std::string before = *platform::ReadWholeFile(env, Reg());
  Result<std::unique_ptr<Table>> other = Table::Open(env, Reg(), Sharing::kShared);
  ASSERT_TRUE(other.ok());
  Result<bool> r = CORRIGE(ctx, 9);
  EXPECT_TRUE(r.status().IsLocked()) << r.status().ToString();
  EXPECT_EQ(Count(core::Cp850("Não foi possível atualizar /data/IMP0920")), 1);
  EXPECT_EQ(Count("Atualizado"), 0);
  EXPECT_EQ(*platform::ReadWholeFile(env, Reg()), before);
}

TEST_F(UpgradeTest, RewriteUsesThisStationsTemporaryNamesInTheTablesFolder) {
  // Fault: every station built the new table under one shared name (ACERTO) in
  // the default folder; two stations upgrading two folders overwrote each
  // other's copy. The temporary files now carry this station's id and lie
  // beside the table.
  FillOldRegister();
  platform::FaultEnv faulty(env);
  OpenerContext fctx(faulty, sink, wait);
  fctx.data_folder = "/data";
  fctx.installation_folder = "/inst";
  faulty.FailNth(platform::FaultEnv::Op::kRename, 1);
  Result<bool> r = CORRIGE(fctx, 9);
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(Count("Atualizado"), 0);  // Fault: "Atualizado" was shown before the rewrite.
  EXPECT_TRUE(VER_ATUAZ(ctx, 9));     // still the old table
  const auto data = env.ListDir("/data");
  for (const auto& e : *data) EXPECT_EQ(e.name.find("tmp~"), std::string::npos);
  const auto inst = env.ListDir("/inst");
  for (const auto& e : *inst) EXPECT_EQ(e.name.find("ACERTO"), std::string::npos);
}

TEST_F(UpgradeTest, KilledAtAnyWriteLeavesTheOldTableOrTheNewOne) {
  // Fault: the old table was overwritten in place by a copy, so a crash midway
  // left half a table. Now the old table or the complete new one survives.
  for (int writes = 0; writes < 200; ++writes) {
    platform::MemoryEnv mem;
    ASSERT_TRUE(mem.CreateDir("/data").ok());
    ASSERT_TRUE(mem.CreateDir("/inst").ok());
    {
      Result<std::unique_ptr<Table>> t =
          Table::Create(mem, "/data/IMP0920.DBF", OldRegisterLayout(), Sharing::kExclusive);
      ASSERT_TRUE(t.ok());
    }
    for (int i = 0; i < 4; ++i) {
      AppendTo(mem, "/data/IMP0920.DBF",
               {{"CPF", std::to_string(10000000000LL + i)}, {"TEMRURAL", "S"}}, i == 2);
    }
    platform::FaultEnv faulty(mem);
    OpenerContext fctx(faulty, sink, wait);
    fctx.data_folder = "/data";
    faulty.CrashAfterWrites(writes, 3);
    Result<bool> r = CORRIGE(fctx, 9);
    const bool crashed = faulty.crashed();
    SCOPED_TRACE(writes);
    Result<std::unique_ptr<Table>> t = Table::Open(mem, "/data/IMP0920.DBF", Sharing::kExclusive);
    ASSERT_TRUE(t.ok()) << t.status().ToString();
    const bool is_new = HasCurrentLayout(9, (*t)->layout().fields());
    EXPECT_EQ((*t)->record_count(), is_new ? 3u : 4u);
    if (is_new) {
      EXPECT_EQ(*(*t)->Read(RecNo{1})->GetTrimmed("AAR_EXTER"), "S");
    }
    t->reset();
    if (!crashed) {
      EXPECT_TRUE(r.ok() && *r);
      break;
    }
    // The opener then rebuilds whatever index does not belong to the table.
    OpenerContext check(mem, sink, wait);
    check.data_folder = "/data";
    WorkAreas areas;
    OPENER_ASSERT_OK(ABERTURA(check, areas, 9));
    areas.CloseAll();
    ExpectIndexFresh(mem, "/data/IMP0920.DBF", "/data/IMP0920.CDX", "CPF");
  }
}

// An old register written by another xBase tool (python-dbf), upgraded.
TEST(UpgradeOracleTest, RegisterWrittenByPythonDbfIsUpgraded) {
  constexpr const char* kPython = "/usr/bin/python3";
  std::unique_ptr<platform::Env> env = platform::NewPosixEnv();
  dodu::testing::TempDir dir;
  if (!env->Exists(kPython)) GTEST_SKIP() << "no python3";
  platform::SpawnOptions probe;
  probe.stdout_path = dir / "probe.out";
  probe.stderr_path = dir / "probe.err";
  auto p = env->Spawn({kPython, "-c", "import dbf"}, probe);
  if (!p.ok() || p->exit_status != 0) GTEST_SKIP() << "python module dbf missing";

  std::string spec;
  for (const FieldSpec& f : OldRegisterLayout()) {
    if (!spec.empty()) spec += "; ";
    spec += f.name + " ";
    switch (f.type) {
      case FieldType::kChar: spec += "C(" + std::to_string(f.length) + ")"; break;
      case FieldType::kNumeric:
        spec += "N(" + std::to_string(f.length) + "," + std::to_string(f.decimals) + ")";
        break;
      case FieldType::kDate: spec += "D"; break;
      default: spec += "L"; break;
    }
  }
  const std::string script = R"PY(
import sys, dbf
t = dbf.Table(sys.argv[1], sys.argv[2], dbf_type='db3', codepage='cp850')
t.open(dbf.READ_WRITE)
rows = [('00000000191', 'JOÃO RURAL', 'S', 'N'), ('00000000272', 'MARIA', 'S', 'S'),
        ('00000000353', 'SEM RURAL', 'N', 'S'), ('00000000434', 'APAGADO', 'S', 'N')]
for cpf, nome, rural, brasil in rows:
    t.append({'cpf': cpf, 'nomecontr': nome, 'temrural': rural, 'atv_brasil': brasil, 'estatus': 3})
dbf.delete(t[3])
t.close()
)PY";
  const std::string reg = dir / "IMP0920.DBF";
  platform::SpawnOptions o;
  o.stdout_path = dir / "py.out";
  o.stderr_path = dir / "py.err";
  auto r = env->Spawn({kPython, "-c", script, reg, spec}, o);
  ASSERT_TRUE(r.ok() && r->exit_status == 0) << *platform::ReadWholeFile(*env, dir / "py.err");

  platform::RecordingSink sink;
  RecordingWaitObserver wait;
  OpenerContext ctx(*env, sink, wait);
  ctx.data_folder = dir.path();
  ctx.installation_folder = dir.path();
  EXPECT_TRUE(VER_ATUAZ(ctx, 9));
  EXPECT_EQ(CORRECAO(ctx, 0), 1);  // the other signed tables are created current

  Result<std::unique_ptr<Table>> t = Table::Open(*env, reg, Sharing::kShared);
  ASSERT_TRUE(t.ok()) << t.status().ToString();
  EXPECT_EQ((*t)->layout().fields(), FindTable(9)->layout);
  ASSERT_EQ((*t)->record_count(), 3u);
  const char* want[3][3] = {{"JO\xC7O RURAL", "S", "S"}, {"MARIA", "S", "N"}, {"SEM RURAL", "", ""}};
  for (uint32_t i = 0; i < 3; ++i) {
    Record rec = *(*t)->Read(RecNo{i + 1});
    EXPECT_EQ(*rec.GetTrimmed("NOMECONTR"), want[i][0]);
    EXPECT_EQ(*rec.GetTrimmed("ATV_BRASIL"), want[i][1]) << i;
    EXPECT_EQ(*rec.GetTrimmed("AAR_EXTER"), want[i][2]) << i;
    EXPECT_EQ(rec.GetNumber("ESTATUS")->ToString(), "3");
  }
  t->reset();
  ExpectIndexFresh(*env, reg, dir / "IMP0920.CDX", "CPF");
  ExpectIndexFresh(*env, reg, dir / "IMP0920B.CDX", "UPPER(NOMECONTR)");
  ExpectIndexFresh(*env, reg, dir / "IMP0920C.CDX", "ESTATUS");
  // Option 19 again: nothing left to do.
  EXPECT_EQ(CORRECAO(ctx, 0), 0);
}

}  // namespace
}  // namespace dodu::store
