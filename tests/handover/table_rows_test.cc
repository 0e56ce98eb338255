#include "handover/table_rows.h"

#include <gtest/gtest.h>

#include "handover/testutil.h"
#include "handover/value_formats.h"
#include "platform/memory_env.h"
#include "store/catalogue.h"

namespace dodu::handover {
namespace {

// The dependants' work copy as the catalogue lays it out: the rows keep the
// stored types (numbers as numbers), skip deleted records and other CPFs.
TEST(TableRowsTest, ActiveRecordsOfTheTaxpayerInFileOrder) {
  platform::MemoryEnv env;
  ASSERT_OK(env.CreateDir("/w"));
  const store::TableDef* def = store::FindTable(3);
  ASSERT_NE(def, nullptr);
  auto table =
      store::Table::Create(env, "/w/TMP_0301.DBF", def->layout, store::Sharing::kExclusive);
  ASSERT_TRUE(table.ok()) << table.status().ToString();
  auto add = [&](const char* cpf, const char* name, int code, bool deleted) {
    store::Record r = (*table)->BlankRecord();
    ASSERT_OK(r.PutText("CPF", cpf));
    ASSERT_OK(r.PutText("NOMEDEPEN", name));
    ASSERT_OK(r.PutNumber("CODIDEPEN", core::Decimal::FromInt(code)));
    ASSERT_OK(r.PutDate("DATADEPEN", testing::Day(1991, 2, 3)));
    r.set_deleted(deleted);
    ASSERT_TRUE((*table)->Append(r).ok());
  };
  add("22222222303", "Ana", 11, false);
  add("22222222303", "Gone", 12, true);
  add("99999999999", "Other", 13, false);
  add("22222222303", "Artur", 99, false);
  auto rows = RowsOfTable(**table, "22222222303");
  ASSERT_TRUE(rows.ok()) << rows.status().ToString();
  ASSERT_EQ(rows->size(), 2u);
  EXPECT_EQ(std::string(Trim(RowText((*rows)[0], "NOMEDEPEN"))), "Ana");
  EXPECT_EQ(RowNum((*rows)[1], "CODIDEPEN"), core::Decimal::FromInt(99));
  EXPECT_EQ(RowDate((*rows)[0], "datadepen"), testing::Day(1991, 2, 3));
}

TEST(TableRowsTest, WorkAreasFillTheSchedulesTheyHold) {
  platform::MemoryEnv env;
  ASSERT_OK(env.CreateDir("/w"));
  auto table = store::Table::Create(env, "/w/TMP_0601.DBF", store::FindTable(6)->layout,
                                    store::Sharing::kExclusive);
  ASSERT_TRUE(table.ok());
  for (const char* name : {"First", "Second"}) {
    store::Record r = (*table)->BlankRecord();
    ASSERT_OK(r.PutText("I6_1", name));
    ASSERT_TRUE((*table)->Append(r).ok());
  }
  store::WorkAreas areas;
  store::WorkArea& area = areas.Place(26, "TMP_0601", std::move(*table), {});
  ASSERT_OK(area.GoTo(store::RecNo{2}));
  Snapshot snap;
  snap.rows[Schedule::kAssets].push_back(Row());  // stale: its area is closed
  ASSERT_OK(FillFromWorkAreas(areas, snap));
  ASSERT_EQ(snap.Of(Schedule::kPayments).size(), 2u);
  EXPECT_EQ(std::string(Trim(RowText(snap.Of(Schedule::kPayments)[1], "I6_1"))), "Second");
  EXPECT_TRUE(snap.Of(Schedule::kAssets).empty());
  EXPECT_EQ(area.recno().value, 2u);
}

}  // namespace
}  // namespace dodu::handover
