// The in-place replacement of one taxpayer's records: plans of fewer, equal and
// more records, other taxpayers untouched, indexes equal to a fresh build, and
// the crash tests (every failed write, sync, rename; every crash point; a
// killed process) with the rollback journal.
#include "store/replace.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/fault_env.h"
#include "platform/memory_env.h"
#include "platform/message_sink.h"
#include "platform/paths.h"
#include "store/journal.h"
#include "store/lock_file.h"
#include "store/opener.h"
#include "store/opener_context.h"

namespace dodu::store {
namespace {

using platform::FaultEnv;

#define R_ASSERT_OK(expr)                     \
  do {                                        \
    const ::dodu::Status st_ = (expr);        \
    ASSERT_TRUE(st_.ok()) << st_.ToString();  \
  } while (0)

const std::string kA = "11111111111";
const std::string kB = "22222222222";
const std::string kC = "33333333333";
const std::string kTable = "/data/IMP0420.DBF";

// The station state over any Env.
struct Station {
  explicit Station(platform::Env& env) : ctx(env, sink, wait) {
    ctx.terminal = "01";
    ctx.installation_folder = "/inst";
    ctx.data_folder = "/data";
    ctx.work_folder = "/work";
  }
  platform::RecordingSink sink;
  RecordingWaitObserver wait;
  OpenerContext ctx;
  WorkAreas areas;
  WorkArea& area() { return *areas.Get(4); }
};

Record Asset(Table& t, const std::string& cpf, int line, const std::string& text) {
  Record r = t.BlankRecord();
  EXPECT_TRUE(r.PutText("CPF", cpf).ok());
  EXPECT_TRUE(r.PutNumber("I7_0", core::Decimal::FromInt(line)).ok());
  EXPECT_TRUE(r.PutText("I7_2", text).ok());
  EXPECT_TRUE(r.PutNumber("I7_4", core::Decimal::FromScaled(line * 1234, 2)).ok());
  return r;
}

std::vector<Record> Version(Table& t, int count, const std::string& tag) {
  std::vector<Record> v;
  for (int i = 1; i <= count; ++i) v.push_back(Asset(t, kA, i * 10, tag + " line " + std::to_string(i)));
  return v;
}

// The assets table of a data folder: A's 4 records interleaved with B's 5 (two
// deleted) and C's 3, plus `others` further taxpayers of 3 records each.
void Populate(platform::Env& env, int others = 0) {
  Station s(env);
  ASSERT_TRUE(env.CreateDir("/data").ok() && env.CreateDir("/inst").ok() && env.CreateDir("/work").ok());
  R_ASSERT_OK(ABERTURA(s.ctx, s.areas, 4, true));
  Table& t = s.area().table();
  std::vector<Record> a = Version(t, 4, "old");
  int ai = 0;
  for (int i = 1; i <= 5; ++i) {
    if (ai < 4) {
      ASSERT_TRUE(t.Append(a[ai++]).ok());
    }
    auto b = t.Append(Asset(t, kB, i, "B " + std::to_string(i)));
    ASSERT_TRUE(b.ok());
    if (i == 2 || i == 4) R_ASSERT_OK(t.SetDeleted(*b, true));
    if (i <= 3) {
      ASSERT_TRUE(t.Append(Asset(t, kC, i, "C " + std::to_string(i))).ok());
    }
  }
  for (int o = 0; o < others; ++o) {
    char cpf[12];
    snprintf(cpf, sizeof cpf, "%011d", 40000000 + o);
    for (int i = 1; i <= 3; ++i) ASSERT_TRUE(t.Append(Asset(t, cpf, i, "other")).ok());
  }
}

struct Snapshot {
  std::vector<std::string> taxpayer;           // A's live records, in record order
  std::map<uint32_t, std::string> everyone_else;  // every other record, deleted ones too
};

Snapshot Take(Table& t) {
  Snapshot s;
  auto count = t.RefreshCount();
  EXPECT_TRUE(count.ok());
  for (uint32_t n = 1; count.ok() && n <= *count; ++n) {
    auto r = t.Read(RecNo{n});
    EXPECT_TRUE(r.ok());
    if (!r.ok()) continue;
    if (r->bytes().compare(1, 11, kA) == 0) {
      if (!r->deleted()) s.taxpayer.push_back(r->bytes());
    } else {
      s.everyone_else[n] = r->bytes();
    }
  }
  return s;
}

std::vector<std::string> Bytes(const std::vector<Record>& v) {
  std::vector<std::string> out;
  for (const Record& r : v) out.push_back(r.bytes());
  return out;
}

// Every order of the area holds exactly what a fresh build would, and its stamp
// agrees with the table.
void ExpectIndexesFresh(platform::Env& env, WorkArea& area) {
  auto stamp = area.table().Stamp();
  ASSERT_TRUE(stamp.ok());
  const std::string fresh_path = platform::ParentPath(area.table().path()) + "/FRESH.CDX";
  for (size_t i = 0; i < area.order_count(); ++i) {
    CdxIndex& idx = area.order(i).index();
    R_ASSERT_OK(idx.Refresh());
    EXPECT_FALSE(idx.stamp().interrupted);
    EXPECT_TRUE(IndexAgreesWithTable(*stamp, {idx.stamp().generation, idx.stamp().record_count}));
    auto fresh = BuildIndexFile(env, area.table().file(), fresh_path, idx.expr().text(), *stamp);
    ASSERT_TRUE(fresh.ok()) << fresh.status().ToString();
    auto want = fresh->ReadAll();
    auto have = idx.ReadAll();
    ASSERT_TRUE(want.ok() && have.ok());
    EXPECT_EQ(*have, *want);
    R_ASSERT_OK(idx.Check());
  }
  (void)env.Remove(fresh_path);
}

class ReplaceTest : public ::testing::Test {
 protected:
  void SetUp() override { Populate(env); }
  platform::MemoryEnv env;
};

TEST_F(ReplaceTest, FewerEqualAndMoreRecords) {
  struct Case {
    int count;
    ReplaceStats stats;
  } cases[] = {
      {2, {2, 0, 0, 2, false}},
      {4, {4, 0, 0, 0, false}},
      {7, {4, 0, 3, 0, false}},
      {0, {0, 0, 0, 4, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("new records: " + std::to_string(c.count));
    platform::MemoryEnv mem;
    Populate(mem);
    Station s(mem);
    R_ASSERT_OK(ABERTURA(s.ctx, s.areas, 4, true));
    Table& t = s.area().table();
    Snapshot before = Take(t);
    std::vector<Record> v = Version(t, c.count, "new");
    auto stats = ReplaceTaxpayerRecords(mem, s.area(), kA, v);
    ASSERT_TRUE(stats.ok()) << stats.status().ToString();
    EXPECT_EQ(*stats, c.stats);
    Snapshot after = Take(t);
    EXPECT_EQ(after.taxpayer, Bytes(v));
    EXPECT_EQ(after.everyone_else, before.everyone_else);
    EXPECT_FALSE(mem.Exists(JournalPathFor(kTable)));
    ExpectIndexesFresh(mem, s.area());
    // Reopened by the opener, nothing is stale: the indexes are kept as they are.
    s.areas.CloseAll();
    R_ASSERT_OK(ABERTURA(s.ctx, s.areas, 4, false));
    EXPECT_EQ(Take(s.area().table()).taxpayer, Bytes(v));
  }
}

TEST_F(ReplaceTest, SavingTheSameRecordsWritesNothing) {
  FaultEnv counting(env);
  Station s(counting);
  R_ASSERT_OK(ABERTURA(s.ctx, s.areas, 4, true));
  std::vector<Record> v = Version(s.area().table(), 4, "old");
  counting.ResetCounts();
  auto stats = ReplaceTaxpayerRecords(counting, s.area(), kA, v);
  ASSERT_TRUE(stats.ok());
  EXPECT_EQ(stats->unchanged, 4u);
  EXPECT_EQ(counting.count(FaultEnv::Op::kWrite), 0);
}

// The shrink-then-grow case reuses the taxpayer's own deleted slots instead of
// piling up deleted records, and never the slots of another taxpayer.
TEST_F(ReplaceTest, ReusesTheTaxpayersDeletedSlots) {
  Station s(env);
  R_ASSERT_OK(ABERTURA(s.ctx, s.areas, 4, true));
  Table& t = s.area().table();
  const uint32_t count = t.record_count();
  ASSERT_TRUE(ReplaceTaxpayerRecords(env, s.area(), kA, Version(t, 1, "short")).ok());
  auto grown = ReplaceTaxpayerRecords(env, s.area(), kA, Version(t, 5, "long"));
  ASSERT_TRUE(grown.ok());
  EXPECT_EQ(grown->rewritten, 4u);
  EXPECT_EQ(grown->appended, 1u);
  EXPECT_EQ(t.record_count(), count + 1);
}

TEST_F(ReplaceTest, RefusesWhatWouldHitAnotherTaxpayer) {
  Station s(env);
  R_ASSERT_OK(ABERTURA(s.ctx, s.areas, 4, true));
  Table& t = s.area().table();
  std::vector<Record> v = Version(t, 2, "new");
  v.push_back(Asset(t, kB, 99, "not A's"));
  Snapshot before = Take(t);
  auto st = ReplaceTaxpayerRecords(env, s.area(), kA, v);
  EXPECT_EQ(st.status().code(), StatusCode::kInvalid);
  EXPECT_EQ(Take(t).taxpayer, before.taxpayer);

  s.areas.CloseAll();
  R_ASSERT_OK(ABERTURA(s.ctx, s.areas, 4, false));
  auto shared = ReplaceTaxpayerRecords(env, s.area(), kA, Version(s.area().table(), 1, "x"));
  EXPECT_EQ(shared.status().code(), StatusCode::kInvalid);
}

// The cost of a save must not grow with the folder: the writes of one
// replacement are the same with 10 or with 400 other taxpayers in the table,
// and grow with the taxpayer's own records.
TEST(ReplaceCostTest, WritesFollowTheTaxpayerNotTheTable) {
  auto writes = [](int others, int records) {
    platform::MemoryEnv mem;
    Populate(mem, others);
    FaultEnv counting(mem);
    Station s(counting);
    EXPECT_TRUE(ABERTURA(s.ctx, s.areas, 4, true).ok());
    counting.ResetCounts();
    auto st = ReplaceTaxpayerRecords(counting, s.area(), kA, Version(s.area().table(), records, "new"));
    EXPECT_TRUE(st.ok()) << st.status().ToString();
    return counting.count(FaultEnv::Op::kWrite);
  };
  const int small = writes(10, 6), large = writes(400, 6);
  EXPECT_LE(large, small + 4) << "small folder " << small << ", large folder " << large;
  EXPECT_GT(writes(400, 60), large + 50);
}

// One run of the fault loop: the table after a failed (or crashed) replacement
// and a later exclusive open must hold A's old or new records, everyone else's
// exactly as before, and fresh indexes.
void CheckOldOrNew(platform::MemoryEnv& mem, const Snapshot& before, const std::vector<std::string>& wanted,
                   bool replaced_ok) {
  Station s(mem);
  R_ASSERT_OK(ABERTURA(s.ctx, s.areas, 4, true));
  auto recovered = RecoverReplacement(mem, s.area());
  ASSERT_TRUE(recovered.ok()) << recovered.status().ToString();
  Snapshot after = Take(s.area().table());
  if (replaced_ok) {
    EXPECT_EQ(after.taxpayer, wanted);
  } else {
    EXPECT_TRUE(after.taxpayer == before.taxpayer || after.taxpayer == wanted);
  }
  EXPECT_EQ(after.everyone_else, before.everyone_else);
  EXPECT_FALSE(mem.Exists(JournalPathFor(kTable)));
  ExpectIndexesFresh(mem, s.area());
  // A further save works and completes the replacement.
  auto again = ReplaceTaxpayerRecords(mem, s.area(), kA, [&] {
    std::vector<Record> v;
    for (const std::string& b : wanted) v.emplace_back(s.area().table().shared_layout(), b);
    return v;
  }());
  ASSERT_TRUE(again.ok()) << again.status().ToString();
  EXPECT_EQ(Take(s.area().table()).taxpayer, wanted);
  ExpectIndexesFresh(mem, s.area());
}

struct FaultCase {
  FaultEnv::Op op;
  int count;  // new records of A
};

class ReplaceFaultTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(ReplaceFaultTest, FailTheNthCallAtEveryN) {
  const FaultCase fc = GetParam();
  bool finished = false;
  for (int n = 1; n < 400 && !finished; ++n) {
    SCOPED_TRACE(std::string(platform::FaultOpName(fc.op)) + " #" + std::to_string(n));
    platform::MemoryEnv mem;
    Populate(mem);
    Snapshot before;
    std::vector<std::string> wanted;
    bool ok = false;
    {
      FaultEnv faulty(mem);
      Station s(faulty);
      R_ASSERT_OK(ABERTURA(s.ctx, s.areas, 4, true));
      before = Take(s.area().table());
      std::vector<Record> v = Version(s.area().table(), fc.count, "new");
      wanted = Bytes(v);
      faulty.FailNth(fc.op, n);
      auto st = ReplaceTaxpayerRecords(faulty, s.area(), kA, v);
      ok = st.ok();
      finished = faulty.failures() == 0;
      if (!ok) {
        // Reported failures leave the old records at once.
        EXPECT_EQ(Take(s.area().table()).taxpayer, before.taxpayer) << st.status().ToString();
      }
    }
    CheckOldOrNew(mem, before, wanted, ok);
  }
  EXPECT_TRUE(finished);
}

INSTANTIATE_TEST_SUITE_P(Ops, ReplaceFaultTest,
                         ::testing::Values(FaultCase{FaultEnv::Op::kWrite, 2},
                                           FaultCase{FaultEnv::Op::kWrite, 7},
                                           FaultCase{FaultEnv::Op::kSync, 7},
                                           FaultCase{FaultEnv::Op::kRename, 7},
                                           FaultCase{FaultEnv::Op::kRemove, 7},
                                           FaultCase{FaultEnv::Op::kOpen, 7},
                                           FaultCase{FaultEnv::Op::kTruncate, 7}));

// The machine stops after N writes (the last one torn), at every N: after the
// next exclusive open and rollback, A has exactly the old or the new records.
TEST(ReplaceCrashTest, CrashAfterEveryWrite) {
  bool finished = false;
  for (int n = 0; n < 400 && !finished; ++n) {
    for (size_t torn : {size_t{0}, size_t{5}}) {
      SCOPED_TRACE("crash after " + std::to_string(n) + " writes, torn " + std::to_string(torn));
      platform::MemoryEnv mem;
      Populate(mem);
      Snapshot before;
      std::vector<std::string> wanted;
      bool ok = false;
      {
        FaultEnv faulty(mem);
        Station s(faulty);
        R_ASSERT_OK(ABERTURA(s.ctx, s.areas, 4, true));
        before = Take(s.area().table());
        std::vector<Record> v = Version(s.area().table(), 6, "new");
        wanted = Bytes(v);
        faulty.CrashAfterWrites(n, torn);
        ok = ReplaceTaxpayerRecords(faulty, s.area(), kA, v).ok();
        finished = !faulty.crashed();
      }
      CheckOldOrNew(mem, before, wanted, ok);
    }
  }
  EXPECT_TRUE(finished);
}

// Fault: a table whose replacement was killed half-way was read as it lay
// (half old, half new records of the taxpayer) by every open until somebody
// called the recovery. Now the open itself rolls the journal back, exclusive or
// shared (when nobody else holds the table), before anything is read.
TEST(ReplaceCrashTest, OpenRollsBackAKilledReplacement) {
  for (Sharing mode : {Sharing::kExclusive, Sharing::kShared}) {
    SCOPED_TRACE(mode == Sharing::kExclusive ? "exclusive open" : "shared open");
    platform::MemoryEnv mem;
    Populate(mem);
    Snapshot before;
    {
      FaultEnv faulty(mem);
      Station s(faulty);
      R_ASSERT_OK(ABERTURA(s.ctx, s.areas, 4, true));
      before = Take(s.area().table());
      std::vector<Record> v = Version(s.area().table(), 6, "new");
      faulty.CrashAfterWrites(4, 0);  // the journal is down, the table half written
      EXPECT_FALSE(ReplaceTaxpayerRecords(faulty, s.area(), kA, v).ok());
      ASSERT_TRUE(faulty.crashed());
    }
    ASSERT_TRUE(mem.Exists(JournalPathFor(kTable)));
    auto t = Table::Open(mem, kTable, mode);
    ASSERT_TRUE(t.ok()) << t.status().ToString();
    EXPECT_FALSE(mem.Exists(JournalPathFor(kTable)));
    Snapshot after = Take(**t);
    EXPECT_EQ(after.taxpayer, before.taxpayer);
    EXPECT_EQ(after.everyone_else, before.everyone_else);
  }
}

// While another station holds the table, a shared open leaves the journal to
// the station holding it and does not fail.
TEST(ReplaceCrashTest, SharedOpenLeavesTheJournalWhileTheTableIsHeld) {
  platform::MemoryEnv mem;
  Populate(mem);
  auto holder = Table::Open(mem, kTable, Sharing::kShared);
  ASSERT_TRUE(holder.ok());
  Journal j;
  j.generation = (*holder)->file().generation();
  j.ranges.push_back({0, std::string(32, 'x')});
  R_ASSERT_OK(WriteJournal(mem, kTable, j));
  auto t = Table::Open(mem, kTable, Sharing::kShared);
  ASSERT_TRUE(t.ok()) << t.status().ToString();
  EXPECT_TRUE(mem.Exists(JournalPathFor(kTable)));
}

// A journal cut short while being written means the table was never touched.
TEST(ReplaceJournalTest, IncompleteJournalIsDiscarded) {
  platform::MemoryEnv mem;
  Populate(mem);
  Journal j;
  j.ranges.push_back({0, std::string(32, 'x')});
  R_ASSERT_OK(WriteJournal(mem, kTable, j));
  auto bytes = platform::ReadWholeFile(mem, JournalPathFor(kTable));
  ASSERT_TRUE(bytes.ok());
  for (size_t cut = 0; cut < bytes->size(); ++cut) {
    SCOPED_TRACE("journal cut at " + std::to_string(cut));
    R_ASSERT_OK(mem.PutFile(JournalPathFor(kTable), bytes->substr(0, cut)));
    auto back = RollBackInterruptedReplacement(mem, kTable);
    ASSERT_TRUE(back.ok());
    EXPECT_FALSE(*back);
    EXPECT_FALSE(mem.Exists(JournalPathFor(kTable)));
  }
}

// A journal left behind while the table was rewritten wholesale (packed) must
// not be applied: its offsets no longer point at the same records.
TEST(ReplaceJournalTest, JournalOfARewrittenTableIsSetAside) {
  platform::MemoryEnv mem;
  Populate(mem);
  Station s(mem);
  R_ASSERT_OK(ABERTURA(s.ctx, s.areas, 4, true));
  Journal j;
  j.generation = s.area().table().file().generation();
  {
    auto lock = LockFile::Open(mem, kTable);
    ASSERT_TRUE(lock.ok());
    auto word = (*lock)->ReadChangeWord();
    ASSERT_TRUE(word.ok());
    j.change_word = *word;
  }
  j.ranges.push_back({0, std::string(32, 'x')});
  R_ASSERT_OK(WriteJournal(mem, kTable, j));
  R_ASSERT_OK(s.area().table().Pack());
  Snapshot packed = Take(s.area().table());
  auto back = RecoverReplacement(mem, s.area());
  EXPECT_EQ(back.status().code(), StatusCode::kCorrupt);
  EXPECT_TRUE(mem.Exists(JournalPathFor(kTable) + ".BAD"));
  EXPECT_EQ(Take(s.area().table()).everyone_else, packed.everyone_else);
}

// A station killed (SIGKILL) in the middle of a replacement, on the real file
// system: the next exclusive open rolls it back to one whole version.
TEST(ReplaceKillTest, KilledMidwayLeavesOneWholeVersion) {
  std::unique_ptr<platform::Env> env = platform::NewPosixEnv();
  char tmpl[] = "/tmp/dodu_replace_XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  const std::string root = tmpl;
  auto station = [&](platform::Env& e) {
    auto st = std::make_unique<Station>(e);
    st->ctx.installation_folder = root + "/inst";
    st->ctx.data_folder = root + "/data";
    st->ctx.work_folder = root + "/work";
    return st;
  };
  for (const char* f : {"/inst", "/data", "/work"}) ASSERT_TRUE(env->CreateDir(root + f).ok());
  const std::string table = root + "/data/IMP0420.DBF";
  std::vector<std::string> v1, v2, others;
  {
    auto s = station(*env);
    R_ASSERT_OK(ABERTURA(s->ctx, s->areas, 4, true));
    Table& t = s->area().table();
    for (int i = 1; i <= 50; ++i) ASSERT_TRUE(t.Append(Asset(t, kB, i, "B")).ok());
    std::vector<Record> a = Version(t, 300, "one"), b = Version(t, 500, "two");
    ASSERT_TRUE(ReplaceTaxpayerRecords(*env, s->area(), kA, a).ok());
    v1 = Bytes(a);
    v2 = Bytes(b);
    for (auto& [n, bytes] : Take(t).everyone_else) others.push_back(bytes);
  }
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      std::unique_ptr<platform::Env> child_env = platform::NewPosixEnv();
      auto s = station(*child_env);
      if (!ABERTURA(s->ctx, s->areas, 4, true).ok()) _exit(2);
      for (int i = 0;; ++i) {
        std::vector<Record> v;
        for (const std::string& b : (i % 2 == 0 ? v2 : v1))
          v.emplace_back(s->area().table().shared_layout(), b);
        if (!ReplaceTaxpayerRecords(*child_env, s->area(), kA, v).ok()) _exit(3);
      }
    }
    // Kill it while a journal exists: in the middle of a replacement.
    for (int i = 0; i < 200000 && !env->Exists(JournalPathFor(table)); ++i) usleep(50);
    usleep(200 * round);
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "child ended by itself: " << status;

    auto s = station(*env);
    R_ASSERT_OK(ABERTURA(s->ctx, s->areas, 4, true));
    auto back = RecoverReplacement(*env, s->area());
    ASSERT_TRUE(back.ok()) << back.status().ToString();
    Snapshot after = Take(s->area().table());
    EXPECT_TRUE(after.taxpayer == v1 || after.taxpayer == v2) << after.taxpayer.size() << " records";
    std::vector<std::string> rest;
    for (auto& [n, bytes] : after.everyone_else) {
      if (bytes[0] != '*') rest.push_back(bytes);
    }
    EXPECT_EQ(rest, others);
    ExpectIndexesFresh(*env, s->area());
  }
  auto entries = env->ListDir(root + "/data");
  ASSERT_TRUE(entries.ok());
  for (const auto& e : *entries) (void)env->Remove(root + "/data/" + e.name);
  for (const char* f : {"/inst", "/data", "/work", ""}) (void)env->RemoveDir(root + f);
}

}  // namespace
}  // namespace dodu::store
