#include "shell/demo_install.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/codepage.h"
#include "core/ids.h"
#include "platform/env.h"
#include "platform/testutil.h"
#include "store/catalogue.h"
#include "store/table.h"

namespace dodu::shell {
namespace {

const std::string kSharedData = std::string(DODU_SHARED_DIR) + "/data";

class DemoInstallTest : public ::testing::Test {
 protected:
  DemoInstallTest() : env(platform::NewPosixEnv()), folder(dir / "demo") {}

  uint32_t Records(const std::string& file) {
    auto t = store::Table::Open(*env, folder + "/" + file, store::Sharing::kShared);
    EXPECT_TRUE(t.ok()) << file << ": " << t.status().ToString();
    return t.ok() ? (*t)->record_count() : 0;
  }

  std::unique_ptr<platform::Env> env;
  dodu::testing::TempDir dir;
  std::string folder;
};

TEST_F(DemoInstallTest, InstallsOnceAndAgainChangesNothing) {
  if (!env->IsDirectory(kSharedData)) GTEST_SKIP() << "no reference lists in " << kSharedData;
  Result<DemoInstallation> first = InstallDemo(*env, folder, kSharedData);
  ASSERT_TRUE(first.ok()) << first.status().ToString();
  EXPECT_TRUE(first->taxpayer_added);
  EXPECT_TRUE(first->reference.complete());
  EXPECT_EQ(first->data_folder, folder);

  // The declaration tables of the data folder, with every index file.
  store::NameContext names;
  for (int n = 1; n <= 21; ++n) {
    const store::TableDef* def = store::FindTable(n);
    ASSERT_NE(def, nullptr);
    const std::string base = store::TableFileName(*def, names);
    EXPECT_TRUE(env->Exists(folder + "/" + base + ".DBF")) << base;
    for (const std::string& index : store::IndexFileNames(*def, names)) {
      EXPECT_TRUE(env->Exists(folder + "/" + index + ".CDX")) << index;
    }
  }
  EXPECT_TRUE(env->Exists(folder + "/IMP0920C.CDX"));

  // The taxpayer: a CPF whose check digits are right, the register's fields.
  const std::string cpf = kDemoTaxpayerCpf;
  EXPECT_EQ(core::CpfDigits(cpf.substr(0, 9)), cpf.substr(9));
  ASSERT_EQ(Records("IMP0920.DBF"), 1u);
  {
    auto reg = store::Table::Open(*env, folder + "/IMP0920.DBF", store::Sharing::kShared);
    ASSERT_TRUE(reg.ok());
    store::Record r = *(*reg)->Read({1});
    EXPECT_EQ(*r.GetTrimmed("CPF"), cpf);
    EXPECT_EQ(*r.GetTrimmed("NOMECONTR"), core::Cp850(kDemoTaxpayerName));
    EXPECT_EQ(*r.GetTrimmed("MUNICIPIO"), core::Cp850("SÃO PAULO"));
    EXPECT_EQ(*r.GetTrimmed("CODMUNI"), "7107");
    EXPECT_EQ(*r.GetTrimmed("NUSUAT"), "");
    EXPECT_EQ(r.GetDate("NASCIMENTO")->Dtos(), "19750314");
  }
  const uint32_t banks = Records("BANCOS.DBF");

  Result<DemoInstallation> second = InstallDemo(*env, folder, kSharedData);
  ASSERT_TRUE(second.ok()) << second.status().ToString();
  EXPECT_FALSE(second->taxpayer_added);
  for (const auto& t : second->reference.tables) {
    EXPECT_EQ(t.outcome, ReferenceOutcome::kKept) << t.file;
  }
  EXPECT_EQ(Records("IMP0920.DBF"), 1u);
  EXPECT_EQ(Records("BANCOS.DBF"), banks);
}

TEST_F(DemoInstallTest, WithoutListsTheRestIsStillInstalled) {
  Result<DemoInstallation> demo = InstallDemo(*env, folder, dir / "no-lists-here");
  ASSERT_TRUE(demo.ok()) << demo.status().ToString();
  EXPECT_FALSE(demo->reference.complete());
  EXPECT_TRUE(demo->taxpayer_added);
  EXPECT_EQ(Records("IMP0920.DBF"), 1u);
  EXPECT_FALSE(env->Exists(folder + "/BANCOS.DBF"));
  EXPECT_TRUE(env->Exists(folder + "/LisErro.DBF"));
  const std::vector<std::string> lines = DemoReportLines(*demo);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines.front().rfind("Tabela ", 0), 0u) << lines.front();
  EXPECT_NE(lines.back().find(kDemoTaxpayerCpf), std::string::npos);
}

TEST_F(DemoInstallTest, AFolderWhoseParentIsMissingIsRefused) {
  Result<DemoInstallation> demo = InstallDemo(*env, dir / "a/b/demo", kSharedData);
  ASSERT_FALSE(demo.ok());
  EXPECT_TRUE(demo.status().IsNotFound()) << demo.status().ToString();
  EXPECT_FALSE(env->Exists(dir / "a"));
}

}  // namespace
}  // namespace dodu::shell
