// The index rebuild of data folders and the reindex of option 29.
#include "store/reindex.h"

#include <gtest/gtest.h>

#include "platform/fault_env.h"
#include "store/folder_list.h"
#include "store/rec_lock.h"
#include "store/maintenance_testutil.h"

namespace dodu::store {
namespace {

using testing::AppendTo;
using testing::ExpectIndexFresh;

class ReindexTest : public testing::OpenerFixture {
 protected:
  // Every declaration table of /data opened once (tables and indexes made),
  // then records appended to 02, 09 and 19, some deleted.
  void MakeFolder() {
    {
      WorkAreas a;
      for (int n = 1; n <= 21; ++n) OPENER_ASSERT_OK(ABERTURA(ctx, a, n));
    }
    AppendTo(env, "/data/IMP0220.DBF", {{"CPF", "22222222222"}});
    AppendTo(env, "/data/IMP0220.DBF", {{"CPF", "11111111111"}}, true);
    AppendTo(env, "/data/IMP0920.DBF", {{"CPF", "33333333333"}, {"NOMECONTR", "zeca"}});
    AppendTo(env, "/data/IMP0920.DBF", {{"CPF", "44444444444"}, {"NOMECONTR", "ANA"}}, true);
    AppendTo(env, "/data/IMP1920.DBF",
             {{"CPF", "55555555555"}, {"ATV_BRASIL", "S"}, {"DT_LC", "20190305"}});
    AppendTo(env, "/data/IMP1920.DBF",
             {{"CPF", "55555555555"}, {"ATV_BRASIL", "S"}, {"DT_LC", "20190101"}});
    AppendTo(env, "/data/IMP1920.DBF", {{"CPF", "66666666666"}}, true);
  }
  void ExpectAllFresh(platform::Env& e) {
    for (int n = 1; n <= 21; ++n) {
      const TableDef* def = FindTable(n);
      const std::string path = "/data/" + TableFileName(*def, ctx.names()) + ".DBF";
      for (const IndexFile& f : CatalogueIndexFiles(ctx, *def, path)) {
        ExpectIndexFresh(e, path, f.path, f.expression);
      }
    }
  }
  WorkAreas areas;
};

TEST_F(ReindexTest, RemovesDeletedRecordsAndLeavesFreshIndexes) {
  MakeFolder();
  Result<ReorgReport> r = REORG(ctx, areas, "/data", 3);
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  EXPECT_TRUE(r->rebuilt);
  EXPECT_TRUE(r->busy.empty());
  EXPECT_EQ(testing::RecordImages(env, "/data/IMP0220.DBF").size(), 1u);
  EXPECT_EQ(testing::RecordImages(env, "/data/IMP0920.DBF").size(), 1u);
  EXPECT_EQ(testing::RecordImages(env, "/data/IMP1920.DBF").size(), 2u);
  ExpectAllFresh(env);
}

TEST_F(ReindexTest, CashBookGetsTheCatalogueKey) {
  // Fault: the rebuild indexed table 19 on CPF while the opener's key is
  // CPF+ATV_BRASIL+DTOS(DT_LC), so the entries came out in the wrong order.
  MakeFolder();
  ASSERT_TRUE(REORG(ctx, areas, "/data", 3).ok());
  ExpectIndexFresh(env, "/data/IMP1920.DBF", "/data/IMP1920.CDX", "CPF+ATV_BRASIL+DTOS(DT_LC)");
}

TEST_F(ReindexTest, BusyTableIsSkippedNamedAndItsIndexKept) {
  // Fault: the rebuild deleted every index file first, then skipped a table
  // another station held, which was left without its indexes.
  MakeFolder();
  Result<std::unique_ptr<Table>> other = Table::Open(env, "/data/IMP0220.DBF", Sharing::kShared);
  ASSERT_TRUE(other.ok());
  const std::string cdx = *platform::ReadWholeFile(env, "/data/IMP0220.CDX");
  Result<ReorgReport> r = REORG(ctx, areas, "/data", 3);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r->busy, std::vector<std::string>{"IMP0220"});
  EXPECT_EQ(*platform::ReadWholeFile(env, "/data/IMP0220.CDX"), cdx);
  EXPECT_EQ(testing::RecordImages(env, "/data/IMP0220.DBF").size(), 2u);
  EXPECT_EQ(testing::RecordImages(env, "/data/IMP0920.DBF").size(), 1u);  // others go on
}

TEST_F(ReindexTest, FolderWithADeclarationOpenOnARunningStationIsRefused) {
  // Fault: the reindex ran under a station that had a declaration of the
  // folder open. A NUSUAT of a station that is not running does not count.
  MakeFolder();
  AppendTo(env, "/data/IMP0920.DBF", {{"CPF", "77777777777"}, {"NUSUAT", "02"}});
  Result<ReorgReport> r = REORG(ctx, areas, "/data", 3);
  ASSERT_TRUE(r.ok());
  EXPECT_TRUE(r->rebuilt);  // terminal 02 is not running

  AppendTo(env, "/data/IMP0220.DBF", {{"CPF", "1"}}, true);
  OpenerContext other(env, sink, wait);
  other.terminal = "02";
  other.installation_folder = "/inst";
  other.data_folder = "/data";
  WorkAreas other_areas;
  OPENER_ASSERT_OK(ABERTURA(other, other_areas, 50));  // terminal 02 runs
  ASSERT_TRUE(IsTerminalRunning(ctx, "02"));
  sink.boxes.clear();
  r = REORG(ctx, areas, "/data", 3);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r->blocked_by, std::optional<std::string>("02"));
  EXPECT_FALSE(r->rebuilt);
  EXPECT_EQ(sink.boxes.size(), 1u);
  EXPECT_EQ(testing::RecordImages(env, "/data/IMP0220.DBF").size(), 2u);
}

TEST_F(ReindexTest, FolderWithoutIndexFilesIsLeftForTheOpener) {
  ASSERT_TRUE(Table::Create(env, "/data/IMP0220.DBF", FindTable(2)->layout, Sharing::kShared).ok());
  AppendTo(env, "/data/IMP0220.DBF", {{"CPF", "1"}}, true);
  Result<ReorgReport> r = REORG(ctx, areas, "/data", 3);
  ASSERT_TRUE(r.ok());
  EXPECT_FALSE(r->rebuilt);
  EXPECT_EQ(testing::RecordImages(env, "/data/IMP0220.DBF").size(), 1u);
}

TEST_F(ReindexTest, KilledMidwayTheFolderStaysConsistent) {
  // Fault: the index files were deleted before the tables were packed, so a
  // power cut in between left tables without indexes or with half-built ones.
  MakeFolder();
  platform::MemoryEnv& base = env;
  for (int writes = 0; writes < 400; writes += 7) {
    SCOPED_TRACE(writes);
    platform::MemoryEnv copy;
    for (const char* f : {"/data", "/inst", "/work"}) ASSERT_TRUE(copy.CreateDir(f).ok());
    const auto listing = base.ListDir("/data");
    for (const auto& e : *listing) {
      ASSERT_TRUE(platform::WriteFileAtomic(copy, "/data/" + e.name,
                                            *platform::ReadWholeFile(base, "/data/" + e.name))
                      .ok());
    }
    platform::FaultEnv faulty(copy);
    OpenerContext fctx(faulty, sink, wait);
    fctx.terminal = "01";
    fctx.installation_folder = "/inst";
    fctx.data_folder = "/data";
    WorkAreas fareas;
    faulty.CrashAfterWrites(writes, 5);
    Result<ReorgReport> r = REORG(fctx, fareas, "/data", 3);
    const bool crashed = faulty.crashed();
    // Every table keeps all its active records, and once opened has indexes
    // that agree with it.
    OpenerContext check(copy, sink, wait);
    check.installation_folder = "/inst";
    check.data_folder = "/data";
    WorkAreas ca;
    for (int n = 1; n <= 21; ++n) OPENER_ASSERT_OK(ABERTURA(check, ca, n));
    ca.CloseAll();
    EXPECT_EQ(testing::RecordImages(copy, "/data/IMP1920.DBF").size() >= 2u, true);
    ExpectAllFresh(copy);
    if (!crashed) {
      EXPECT_TRUE(r.ok());
      break;
    }
  }
}

TEST_F(ReindexTest, OnlyThisTerminalsWorkCopiesAreDeleted) {
  // Fault: the reindex deleted "tmp_*.*", the work copies of every terminal,
  // destroying the open declarations and crash recovery of other stations.
  for (const char* f : {"/work/TMP_0901.DBF", "/work/tmp_0201.cdx", "/work/TMP_0902.DBF",
                        "/work/TMP_1203.DBF", "/work/TMP_09011.DBF", "/work/OTHER.DBF"}) {
    ASSERT_TRUE(platform::WriteFileAtomic(env, f, "x").ok());
  }
  std::vector<std::string> own = OwnWorkCopyFiles(ctx);
  EXPECT_EQ(own, (std::vector<std::string>{"/work/TMP_0901.DBF", "/work/tmp_0201.cdx"}));

  ctx.confirm = [](const std::vector<std::string>&) { return true; };
  OPENER_ASSERT_OK(ABERTURA(ctx, areas, 50));
  WorkArea& list = *areas.Get(50);
  OPENER_ASSERT_OK(ADD_REC(ctx, list, 5));
  Record rec = *list.Current();
  OPENER_ASSERT_OK(rec.PutText("DIRETOR", FolderListName(ctx, "/data")));
  OPENER_ASSERT_OK(list.WriteCurrent(rec));
  list.table().UnlockRecord(list.recno());
  MakeFolder();
  Result<ReindexReport> r = REINDEXA(ctx, areas, "");
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  EXPECT_TRUE(r->asked);
  EXPECT_FALSE(env.Exists("/work/TMP_0901.DBF"));
  EXPECT_TRUE(env.Exists("/work/TMP_0902.DBF"));
  EXPECT_TRUE(env.Exists("/work/TMP_1203.DBF"));
  EXPECT_EQ(testing::RecordImages(env, "/data/IMP0920.DBF").size(), 1u);
  EXPECT_FALSE(ctx.show_messages);
  EXPECT_NE(areas.Get(50), nullptr);
  EXPECT_NE(areas.Get(9), nullptr);
}

TEST_F(ReindexTest, AnsweringNoChangesNothing) {
  MakeFolder();
  OPENER_ASSERT_OK(ABERTURA(ctx, areas, 50));
  ASSERT_TRUE(platform::WriteFileAtomic(env, "/work/TMP_0901.DBF", "x").ok());
  std::vector<std::string> asked;
  ctx.confirm = [&](const std::vector<std::string>& lines) {
    asked = lines;
    return false;
  };
  Result<ReindexReport> r = REINDEXA(ctx, areas, "");
  ASSERT_TRUE(r.ok());
  EXPECT_FALSE(r->asked);
  ASSERT_EQ(asked.size(), 7u);
  EXPECT_TRUE(env.Exists("/work/TMP_0901.DBF"));
  EXPECT_EQ(testing::RecordImages(env, "/data/IMP0920.DBF").size(), 2u);
}

}  // namespace
}  // namespace dodu::store
