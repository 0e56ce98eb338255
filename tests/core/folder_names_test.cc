#include "core/folder_names.h"

#include <gtest/gtest.h>

#include "core/testutil.h"
#include "platform/memory_env.h"

namespace dodu::core {
namespace {

using testing::BoxTexts;

TEST(FolderNames, Text) {
  EXPECT_EQ(BarDir("C:\\KEVA2019"), "C:\\KEVA2019\\");
  EXPECT_EQ(BarDir("C:\\KEVA2019\\"), "C:\\KEVA2019\\");
  EXPECT_EQ(BarFora("C:\\KEVA2019\\"), "C:\\KEVA2019");
  EXPECT_EQ(BarFora("C:\\KEVA2019"), "C:\\KEVA2019");
  EXPECT_EQ(BarFora("C:\\X\\\\"), "C:\\X\\");  // only one
  EXPECT_EQ(TiraDir("C:\\KEVA2019\\IMP0920.DBF"), "IMP0920.DBF");
  EXPECT_EQ(TiraDir("IMP0920.DBF"), "IMP0920.DBF");
  EXPECT_EQ(TiraDir("C:\\KEVA2019\\"), "");
}

class FolderCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(env_.CreateDir("/srv/c/KEVA2019").ok());
    ASSERT_TRUE(env_.CreateDir("/srv/c/Declarações").ok());
    ASSERT_TRUE(paths_.SetDrive('C', "/srv/c").ok());
  }
  platform::MemoryEnv env_;
  platform::PathMap paths_;
  platform::RecordingSink sink_;
};

TEST_F(FolderCheckTest, VerDir) {
  EXPECT_TRUE(VerDir(env_, paths_, "C:\\KEVA2019\\"));
  EXPECT_TRUE(VerDir(env_, paths_, "c:\\keva2019"));  // upper-case lists still resolve
  EXPECT_TRUE(VerDir(env_, paths_, "C:\\"));
  EXPECT_TRUE(VerDir(env_, paths_, Cp850("C:\\DECLARAÇÕES\\")));  // cp850 name, UTF-8 on disk
  EXPECT_TRUE(VerDir(env_, paths_, "/srv/c/KEVA2019"));
  EXPECT_FALSE(VerDir(env_, paths_, "C:\\KEVA2018\\"));
  EXPECT_FALSE(VerDir(env_, paths_, "Q:\\KEVA2019\\"));  // unmapped drive
  EXPECT_FALSE(VerDir(env_, paths_, ""));
}

TEST_F(FolderCheckTest, ConferDirReportsOnTheStatusBar) {
  EXPECT_TRUE(ConferDir(env_, paths_, sink_, "C:\\KEVA2019\\"));
  EXPECT_TRUE(sink_.status.empty());
  EXPECT_FALSE(ConferDir(env_, paths_, sink_, "C:\\NADA\\"));
  ASSERT_EQ(sink_.status.size(), 1u);
  EXPECT_EQ(Cp850ToUtf8(sink_.status[0]), "<Dir> C:\\NADA\\não encontrado. Assumindo o padrão!");
}

TEST(Espcif, WarnsButAlwaysAccepts) {
  struct Case {
    const char* value;
    std::vector<std::string> boxes;
  } cases[] = {
      {"C:\\KEVA2019\\", {}},
      {"/srv/c/KEVA2019", {}},
      {"", {"Informe a pasta solicitada!"}},
      {"   ", {"Informe a pasta solicitada!"}},
      {"KEVA2019", {"Especifique o drive com ':' após a letra"}},
  };
  for (const auto& c : cases) {
    platform::RecordingSink sink;
    EXPECT_TRUE(Espcif(sink, c.value)) << c.value;
    EXPECT_EQ(BoxTexts(sink), c.boxes) << c.value;
  }
}

}  // namespace
}  // namespace dodu::core
