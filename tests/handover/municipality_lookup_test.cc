#include "handover/municipality_lookup.h"

#include <gtest/gtest.h>

#include <array>

#include "handover/testutil.h"
#include "platform/memory_env.h"
#include "store/catalogue.h"
#include "store/table.h"

namespace dodu::handover {
namespace {

void Fill(platform::MemoryEnv& env, const std::string& path,
          std::initializer_list<std::array<const char*, 3>> rows) {
  auto table =
      store::Table::Create(env, path, store::FindTable(64)->layout, store::Sharing::kExclusive);
  ASSERT_TRUE(table.ok()) << table.status().ToString();
  for (const auto& r : rows) {
    store::Record rec = (*table)->BlankRecord();
    ASSERT_OK(rec.PutText("NOMEMUNI", r[0]));
    ASSERT_OK(rec.PutText("UNIFED", r[1]));
    ASSERT_OK(rec.PutText("NROMUNI", r[2]));
    ASSERT_TRUE((*table)->Append(rec).ok());
  }
}

TEST(MunicipalityLookupTest, FirstTableThenTheSecond) {
  platform::MemoryEnv env;
  ASSERT_OK(env.CreateDir("/inst"));
  Fill(env, "/inst/TABMUNI.DBF", {{"SAO PAULO", "SP", "7107"}, {"CAMPINAS", "SP", "6291"}});
  Fill(env, "/inst/TAB_MUNI.DBF", {{"CAMPINAS", "SP", "9999"}, {"NOVA CIDADE", "MT", "1234"}});
  struct Case {
    const char* name;
    const char* uf;
    const char* code;
  } cases[] = {{"Sao Paulo", "SP", "7107"},
               {" campinas ", "sp", "6291"},
               {"Nova Cidade", "MT", "1234"},
               {"Sao Paulo", "RJ", ""},
               {"", "", ""}};
  for (const auto& c : cases) {
    EXPECT_EQ(FindMunicipalityCode(env, "/inst", c.name, c.uf), c.code) << c.name << "/" << c.uf;
  }
  EXPECT_EQ(FindMunicipalityCode(env, "/nowhere", "Sao Paulo", "SP"), "");
}

}  // namespace
}  // namespace dodu::handover
