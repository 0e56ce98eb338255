// Table on the in-memory Env: records, locks required for writes, index hooks,
// crash recovery of the record count, rewrites, memos, copies between tables.
#include "store/table.h"

#include <gtest/gtest.h>

#include "dbf_testutil.h"
#include "platform/fault_env.h"
#include "platform/memory_env.h"
#include "store/dbf_format.h"
#include "store/table_copy.h"

namespace dodu::store {
namespace {

using testing::C;
using testing::Dec;
using testing::M;
using testing::N;

// Records every call, and on a rewrite writes "<generation> <count>" to its file.
class RecordingHook : public IndexHook {
 public:
  RecordingHook(platform::Env& env, std::string path) : env_(env), path_(std::move(path)) {}
  Status OnAppend(RecNo n, std::string_view rec) override {
    calls.push_back("append " + std::to_string(n.value) + " " + std::string(rec.substr(1, 3)));
    return fail_next ? Status::IoError("index full") : Status::Ok();
  }
  Status OnChange(RecNo n, std::string_view before, std::string_view after) override {
    calls.push_back("change " + std::to_string(n.value) + " " + std::string(before.substr(0, 4)) +
                    ">" + std::string(after.substr(0, 4)));
    return Status::Ok();
  }
  Result<ReplacementFile> BuildForRewrite(DbfFile& table, const TableStamp& stamp) override {
    calls.push_back("build " + std::to_string(stamp.generation) + " " +
                    std::to_string(stamp.record_count) + " " + std::to_string(table.record_count()));
    std::string temp = path_ + ".NEW";
    DODU_RETURN_IF_ERROR(platform::WriteFileAtomic(
        env_, temp, std::to_string(stamp.generation) + " " + std::to_string(stamp.record_count)));
    return ReplacementFile{temp, path_};
  }
  Status OnReplaced(DbfFile& table) override {
    calls.push_back("replaced " + std::to_string(table.generation()));
    return Status::Ok();
  }
  std::vector<std::string> calls;
  bool fail_next = false;

 private:
  platform::Env& env_;
  std::string path_;
};

class TableTest : public ::testing::Test {
 protected:
  std::unique_ptr<Table> Make(Layout layout = {C("CPF", 3), N("V", 5, 2)},
                              Sharing s = Sharing::kShared) {
    auto t = Table::Create(env, "/T.DBF", layout, s);
    EXPECT_TRUE(t.ok()) << t.status().ToString();
    return t.ok() ? std::move(t).value() : nullptr;
  }
  RecNo Add(Table& t, const std::string& cpf, const char* v = "1") {
    Record r = t.BlankRecord();
    EXPECT_TRUE(r.PutText("CPF", cpf).ok());
    EXPECT_TRUE(r.PutNumber("V", Dec(v)).ok());
    auto n = t.Append(r);
    EXPECT_TRUE(n.ok()) << n.status().ToString();
    t.UnlockRecord(*n);
    return *n;
  }
  std::vector<std::string> Cpfs(Table& t) {
    std::vector<std::string> out;
    for (const std::string& r : testing::AllRecords(t)) out.push_back((r[0] == '*' ? "*" : "") + r.substr(1, 3));
    return out;
  }
  platform::MemoryEnv env;
};

TEST_F(TableTest, AppendReadWriteDeleteRecall) {
  auto t = Make();
  EXPECT_EQ(Add(*t, "AAA").value, 1u);
  EXPECT_EQ(Add(*t, "BBB").value, 2u);
  EXPECT_EQ(t->record_count(), 2u);

  auto r = t->Read(RecNo{2});
  ASSERT_OK(r);
  ASSERT_OK(r->PutNumber("V", Dec("12.5")));
  // Writing a shared table needs the record's lock.
  EXPECT_EQ(t->Write(RecNo{2}, *r).code(), StatusCode::kInvalid);
  ASSERT_OK(t->LockRecord(RecNo{2}));
  ASSERT_OK(t->Write(RecNo{2}, *r));
  ASSERT_OK(t->SetDeleted(RecNo{2}, true));
  t->UnlockRecord(RecNo{2});
  EXPECT_EQ(t->SetDeleted(RecNo{2}, false).code(), StatusCode::kInvalid);
  EXPECT_EQ(Cpfs(*t), (std::vector<std::string>{"AAA", "*BBB"}));
  EXPECT_EQ(*t->Read(RecNo{2})->GetNumber("V"), Dec("12.5"));
  EXPECT_TRUE(t->Read(RecNo{3}).status().IsNotFound());

  ASSERT_OK(t->LockTable());
  ASSERT_OK(t->SetDeleted(RecNo{2}, false));
  t->UnlockTable();
  EXPECT_EQ(Cpfs(*t), (std::vector<std::string>{"AAA", "BBB"}));

  // What is on disk: the header count, the records, one end-of-file mark.
  auto bytes = platform::ReadWholeFile(env, "/T.DBF");
  ASSERT_OK(bytes);
  EXPECT_EQ(bytes->size(), 32 + 2 * 32 + 1 + 2 * 9 + 1);
  EXPECT_EQ(bytes->back(), '\x1A');
  EXPECT_EQ((*bytes)[4], 2);
}

TEST_F(TableTest, CreateRefusesAnExistingTable) {
  auto t = Make();
  EXPECT_EQ(Table::Create(env, "/T.DBF", {C("X", 1)}, Sharing::kShared).status().code(),
            StatusCode::kInvalid);
  EXPECT_TRUE(Table::Open(env, "/NONE.DBF", Sharing::kShared).status().IsNotFound());
  EXPECT_FALSE(env.Exists("/NONE.DBF.LCK"));
}

// Fault: a station killed while creating a table left a file shorter than a
// header at the table's name; every later open called it corrupt and nothing
// created it again. Now the table appears whole or not at all, and a later
// create succeeds.
TEST(TableCreateCrashTest, KilledCreateLeavesNoTableOrAWholeOne) {
  for (int writes = 0; writes < 12; ++writes) {
    for (size_t torn : {size_t{0}, size_t{3}}) {
      SCOPED_TRACE("crash after " + std::to_string(writes) + " writes, torn " + std::to_string(torn));
      platform::MemoryEnv mem;
      {
        platform::FaultEnv faulty(mem);
        faulty.CrashAfterWrites(writes, torn);
        (void)Table::Create(faulty, "/T.DBF", {C("CPF", 11)}, Sharing::kExclusive);
      }
      if (mem.Exists("/T.DBF")) {
        EXPECT_TRUE(Table::Open(mem, "/T.DBF", Sharing::kShared).ok());
      } else {
        EXPECT_TRUE(Table::Create(mem, "/T.DBF", {C("CPF", 11)}, Sharing::kShared).ok());
      }
    }
  }
}

TEST_F(TableTest, HooksSeeEveryWrite) {
  auto t = Make();
  RecordingHook hook(env, "/T.CDX");
  t->AttachIndex(hook);
  Add(*t, "AAA");
  ASSERT_OK(t->LockRecord(RecNo{1}));
  Record r = *t->Read(RecNo{1});
  ASSERT_OK(r.PutText("CPF", "ZZZ"));
  ASSERT_OK(t->Write(RecNo{1}, r));
  ASSERT_OK(t->SetDeleted(RecNo{1}, true));
  t->UnlockAll();
  EXPECT_EQ(hook.calls, (std::vector<std::string>{"append 1 AAA", "change 1  AAA> ZZZ",
                                                   "change 1  ZZZ>*ZZZ"}));
  // A failing index fails the append, and the record is not part of the table.
  hook.fail_next = true;
  Record n = t->BlankRecord();
  EXPECT_EQ(t->Append(n).status().code(), StatusCode::kIoError);
  EXPECT_EQ(*t->RefreshCount(), 1u);
  EXPECT_FALSE(t->HoldsRecordLock(RecNo{2}));
  t->DetachIndex(hook);
}

// Fault mended: after a crash the file may hold more bytes than the header
// counts (an append that never finished) or fewer (records lost); trusting the
// header reads past the end of the file, trusting the size adopts a record that
// was never committed. Readers use what both agree on; an exclusive open and
// the next append put the file right.
TEST_F(TableTest, RecordCountAfterACrash) {
  {
    auto t = Make();
    Add(*t, "AAA");
    Add(*t, "BBB");
  }
  std::string good = *platform::ReadWholeFile(env, "/T.DBF");
  size_t header = 32 + 64 + 1, reclen = 9;
  ASSERT_EQ(good.size(), header + 2 * reclen + 1);

  // Longer: a third record written, the header never updated.
  std::string longer = good.substr(0, good.size() - 1) + " CCC 1.00\x1A";
  ASSERT_OK(platform::WriteFileAtomic(env, "/T.DBF", longer));
  {
    auto shared = Table::Open(env, "/T.DBF", Sharing::kShared);
    ASSERT_OK(shared);
    EXPECT_EQ(Cpfs(**shared), (std::vector<std::string>{"AAA", "BBB"}));
    // The next append takes the place of the unfinished one.
    EXPECT_EQ(Add(**shared, "DDD").value, 3u);
    EXPECT_EQ(Cpfs(**shared), (std::vector<std::string>{"AAA", "BBB", "DDD"}));
  }
  ASSERT_OK(platform::WriteFileAtomic(env, "/T.DBF", longer));
  {
    auto excl = Table::Open(env, "/T.DBF", Sharing::kExclusive);
    ASSERT_OK(excl);
    EXPECT_EQ((*excl)->record_count(), 2u);
  }
  EXPECT_EQ(*platform::ReadWholeFile(env, "/T.DBF"), good);

  // Shorter: the header counts three records, the file holds two and a half.
  std::string shorter = good.substr(0, header + 2 * reclen + 4);
  shorter[4] = 3;
  ASSERT_OK(platform::WriteFileAtomic(env, "/T.DBF", shorter));
  {
    auto shared = Table::Open(env, "/T.DBF", Sharing::kShared);
    ASSERT_OK(shared);
    EXPECT_EQ((*shared)->record_count(), 2u);
    EXPECT_TRUE((*shared)->Read(RecNo{3}).status().IsNotFound());
  }
  {
    auto excl = Table::Open(env, "/T.DBF", Sharing::kExclusive);
    ASSERT_OK(excl);
    EXPECT_EQ((*excl)->record_count(), 2u);
  }
  std::string repaired = *platform::ReadWholeFile(env, "/T.DBF");
  EXPECT_EQ(repaired.size(), good.size());
  EXPECT_EQ(repaired.substr(4, 4), good.substr(4, 4));
}

TEST_F(TableTest, PackAndZapRewriteUnderNewGeneration) {
  auto t = Make({C("CPF", 3), N("V", 5, 2)}, Sharing::kExclusive);
  RecordingHook hook(env, "/T.CDX");
  for (const char* c : {"AAA", "BBB", "CCC", "DDD"}) Add(*t, c);
  ASSERT_OK(t->SetDeleted(RecNo{2}, true));
  ASSERT_OK(t->SetDeleted(RecNo{4}, true));
  t->AttachIndex(hook);
  hook.calls.clear();
  uint32_t gen = t->file().generation();

  ASSERT_OK(t->Pack());
  EXPECT_EQ(Cpfs(*t), (std::vector<std::string>{"AAA", "CCC"}));
  EXPECT_EQ(t->file().generation(), gen + 1);
  EXPECT_EQ(*t->Stamp(), (TableStamp{gen + 1, 2}));
  EXPECT_EQ(*platform::ReadWholeFile(env, "/T.CDX"), std::to_string(gen + 1) + " 2");
  EXPECT_EQ(hook.calls, (std::vector<std::string>{"build " + std::to_string(gen + 1) + " 2 2",
                                                   "replaced " + std::to_string(gen + 1)}));
  EXPECT_FALSE(env.Exists("/T.DBF.NEW"));
  EXPECT_FALSE(env.Exists("/T.CDX.NEW"));

  ASSERT_OK(t->Zap());
  EXPECT_EQ(t->record_count(), 0u);
  EXPECT_EQ(t->file().generation(), gen + 2);
  EXPECT_EQ(Add(*t, "EEE").value, 1u);
  t->DetachIndex(hook);
}

TEST_F(TableTest, RewriteNeedsTheTableToItself) {
  auto t = Make();
  Add(*t, "AAA");
  EXPECT_EQ(t->Pack().code(), StatusCode::kInvalid);
  ASSERT_OK(t->LockTable());
  ASSERT_OK(t->Pack());
  t->UnlockTable();
  auto ro = Table::Open(env, "/T.DBF", Sharing::kShared, {.read_only = true});
  ASSERT_OK(ro);
  ASSERT_OK((*ro)->LockTable());
  EXPECT_EQ((*ro)->Pack().code(), StatusCode::kInvalid);
  EXPECT_EQ((*ro)->AppendBlank().status().code(), StatusCode::kInvalid);
}

TEST_F(TableTest, MemosSurviveAPack) {
  auto t = Make({C("NOME", 10), M("TEXTO")}, Sharing::kExclusive);
  EXPECT_TRUE(env.Exists("/T.DBT"));
  EXPECT_EQ(static_cast<uint8_t>((*platform::ReadWholeFile(env, "/T.DBF"))[0]), 0x83);
  std::string long_text(1500, 'a');
  long_text += "\r\nAjuda: CONCEI\x80\xC6O";
  for (int i = 0; i < 3; ++i) {
    Record r = t->BlankRecord();
    ASSERT_OK(r.PutText("NOME", "N" + std::to_string(i)));
    ASSERT_OK(t->PutMemo(r, "texto", i == 1 ? std::string_view("curto") : std::string_view(long_text)));
    ASSERT_OK(t->Append(r));
  }
  Record empty = t->BlankRecord();
  ASSERT_OK(t->Append(empty));
  ASSERT_OK(t->SetDeleted(RecNo{1}, true));
  ASSERT_OK(t->Pack());
  ASSERT_EQ(t->record_count(), 3u);
  EXPECT_EQ(*t->ReadMemo(*t->Read(RecNo{1}), "TEXTO"), "curto");
  EXPECT_EQ(*t->ReadMemo(*t->Read(RecNo{2}), "TEXTO"), long_text);
  EXPECT_EQ(*t->ReadMemo(*t->Read(RecNo{3}), "TEXTO"), "");
  EXPECT_EQ(t->ReadMemo(*t->Read(RecNo{3}), "NOME").status().code(), StatusCode::kInvalid);
}

TEST_F(TableTest, DamagedMemoFileIsCorruptNotACrash) {
  {
    auto t = Make({C("NOME", 10), M("TEXTO")}, Sharing::kExclusive);
    Record r = t->BlankRecord();
    ASSERT_OK(t->PutMemo(r, "TEXTO", std::string(2000, 'q')));
    ASSERT_OK(t->Append(r));
    ASSERT_OK(r.PutRaw("TEXTO", "      9999"));
    ASSERT_OK(t->Append(r));
  }
  std::string dbt = *platform::ReadWholeFile(env, "/T.DBT");
  ASSERT_EQ(dbt.size(), 5u * 512);
  struct Case {
    const char* what;
    size_t keep;  // bytes of the memo file kept
    StatusCode first, second;
  };
  const Case cases[] = {
      {"whole file", dbt.size(), StatusCode::kOk, StatusCode::kCorrupt},
      {"memo cut before its end mark", 3 * 512, StatusCode::kCorrupt, StatusCode::kCorrupt},
      {"memo block gone", 512, StatusCode::kCorrupt, StatusCode::kCorrupt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_OK(platform::WriteFileAtomic(env, "/T.DBT", std::string_view(dbt).substr(0, c.keep)));
    auto t = Table::Open(env, "/T.DBF", Sharing::kShared);
    ASSERT_OK(t);
    EXPECT_EQ((*t)->ReadMemo(*(*t)->Read(RecNo{1}), "TEXTO").status().code(), c.first);
    EXPECT_EQ((*t)->ReadMemo(*(*t)->Read(RecNo{2}), "TEXTO").status().code(), c.second);
  }
  ASSERT_OK(platform::WriteFileAtomic(env, "/T.DBT", "short"));
  EXPECT_EQ(Table::Open(env, "/T.DBF", Sharing::kShared).status().code(), StatusCode::kCorrupt);
  ASSERT_OK(env.Remove("/T.DBT"));
  EXPECT_TRUE(Table::Open(env, "/T.DBF", Sharing::kShared).status().IsNotFound());
}

TEST_F(TableTest, HeaderBytesOfOtherToolsSurviveOurWrites) {
  { auto t = Make(); }
  std::string bytes = *platform::ReadWholeFile(env, "/T.DBF");
  bytes[dbf::kOffTableFlags] = 0x01;  // as FoxPro marks a structural index
  bytes[12] = 0x55;
  ASSERT_OK(platform::WriteFileAtomic(env, "/T.DBF", bytes));
  {
    auto t = Table::Open(env, "/T.DBF", Sharing::kShared);
    ASSERT_OK(t);
    Add(**t, "AAA");
  }
  std::string after = *platform::ReadWholeFile(env, "/T.DBF");
  EXPECT_EQ(after[dbf::kOffTableFlags], 0x01);
  EXPECT_EQ(after[12], 0x55);
  EXPECT_EQ(after[4], 1);
}

TEST_F(TableTest, CopyToNewTableKeepsLayoutAndSelection) {
  auto t = Make();
  for (const char* c : {"AAA", "BBB", "CCC"}) Add(*t, c);
  auto n = CopyToNewTable(env, *t, "/COPY.DBF", [](RecNo n, const Record&) -> Result<bool> {
    return n.value != 2;
  });
  ASSERT_OK(n);
  EXPECT_EQ(*n, 2u);
  auto copy = Table::Open(env, "/COPY.DBF", Sharing::kShared);
  ASSERT_OK(copy);
  EXPECT_EQ((*copy)->layout().fields(), t->layout().fields());
  EXPECT_EQ(Cpfs(**copy), (std::vector<std::string>{"AAA", "CCC"}));
  // The destination open elsewhere is not replaced under its feet.
  EXPECT_EQ(CopyToNewTable(env, *t, "/COPY.DBF", [](RecNo, const Record&) -> Result<bool> {
              return true;
            }).status().code(),
            StatusCode::kLocked);
}

TEST_F(TableTest, AppendFromMatchesFieldsByName) {
  auto src = Make({C("cpf", 5), N("V", 8, 3), C("ONLY", 2), N("QTD", 3)});
  Record r = src->BlankRecord();
  ASSERT_OK(r.PutText("CPF", "ABCDE"));
  ASSERT_OK(r.PutNumber("V", Dec("12.345")));
  ASSERT_OK(r.PutNumber("QTD", Dec("7")));
  ASSERT_OK(src->Append(r));
  src->UnlockAll();

  auto dest = Table::Create(env, "/D.DBF", {C("CPF", 3), N("V", 6, 2), C("QTD", 3)}, Sharing::kShared);
  ASSERT_OK(dest);
  auto all = [](RecNo, const Record&) -> Result<bool> { return true; };
  ASSERT_EQ(*AppendFromTable(**dest, *src, all), 1u);
  Record got = *(*dest)->Read(RecNo{1});
  EXPECT_EQ(*got.GetText("CPF"), "ABC");
  EXPECT_EQ(*got.Raw("V"), " 12.35");
  EXPECT_EQ(*got.GetText("QTD"), "   ");  // numeric into text: types differ, left blank
  EXPECT_FALSE((*dest)->HoldsRecordLock(RecNo{1}));

  // A number too wide for the destination stops the append and says where.
  ASSERT_OK(src->LockRecord(RecNo{1}));
  ASSERT_OK(r.PutNumber("V", Dec("1234.5")));
  ASSERT_OK(src->Write(RecNo{1}, r));
  src->UnlockAll();
  auto refused = AppendFromTable(**dest, *src, all);
  EXPECT_EQ(refused.status().code(), StatusCode::kInvalid);
  EXPECT_NE(refused.status().message().find("record 1"), std::string::npos);
  EXPECT_EQ(*(*dest)->RefreshCount(), 1u);
}

}  // namespace
}  // namespace dodu::store
