// Runs the real program in a real terminal (tmux), sends keys and reads the
// screen back with capture-pane. Skipped where tmux is missing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "tmux_session.h"

namespace {

#ifdef DODU_BINARY

class TmuxSmokeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!dodu::testing::HaveTmux()) GTEST_SKIP() << "tmux not installed";
    if (access(DODU_BINARY, X_OK) != 0) GTEST_SKIP() << DODU_BINARY << " not built";
    char tmpl[] = "/tmp/dodu_smoke_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    demo_ = tmpl;
  }
  void TearDown() override {
    if (!demo_.empty()) std::system(("rm -rf '" + demo_ + "'").c_str());
  }
  std::string Capture() const { return tmux_.Capture(); }
  bool WaitFor(const std::string& text) const { return tmux_.WaitFor(text); }
  void Keys(const std::string& keys) { tmux_.Keys(keys); }
  void Start(const std::string& args, int cols, int rows) {
    std::string cmd = std::string("'") + DODU_BINARY + " " + args + "; echo EXIT=$?; sleep 30'";
    ASSERT_TRUE(tmux_.Start(cmd, cols, rows));
  }
  dodu::testing::TmuxSession tmux_{"dodu_smoke"};
  std::string demo_;  // a demo installation of its own: the test never writes the build folder
};

TEST_F(TmuxSmokeTest, StartsOnADemoInstallationAndLeavesWithAltT) {
  Start("--demo " + demo_, 80, 28);
  ASSERT_TRUE(WaitFor("Imposto de Renda")) << Capture();
  std::string screen = Capture();
  EXPECT_NE(screen.find("DODU2020 - Vesk"), std::string::npos);  // the caption row
  Keys("M-t");
  ASSERT_TRUE(WaitFor("Confirma saída do programa?")) << Capture();
  Keys("S");
  EXPECT_TRUE(WaitFor("EXIT=0")) << Capture();
}

TEST_F(TmuxSmokeTest, KeyProbeNamesTheKeys) {
  Start("--key-probe", 80, 25);
  ASSERT_TRUE(WaitFor("Teclas recebidas")) << Capture();
  Keys("F2 M-w C-PgDn BTab");
  EXPECT_TRUE(WaitFor("Shift Tab")) << Capture();
  std::string screen = Capture();
  EXPECT_NE(screen.find("F2 "), std::string::npos);
  EXPECT_NE(screen.find("Alt W"), std::string::npos);
  EXPECT_NE(screen.find("Ctrl PgDn"), std::string::npos);
  Keys("Escape Escape");
  EXPECT_TRUE(WaitFor("EXIT=0")) << Capture();
}

TEST_F(TmuxSmokeTest, On25RowsThereIsNoCaptionRow) {
  Start("--demo " + demo_, 80, 25);
  ASSERT_TRUE(WaitFor("Imposto de Renda")) << Capture();
  EXPECT_EQ(Capture().find("DODU2020 - Vesk"), std::string::npos);
  Keys("M-t");
  ASSERT_TRUE(WaitFor("Confirma saída do programa?")) << Capture();
  Keys("S");
  EXPECT_TRUE(WaitFor("EXIT=0")) << Capture();
}

TEST_F(TmuxSmokeTest, RefusesATerminalBelow80x25) {
  Start("", 70, 20);
  EXPECT_TRUE(WaitFor("EXIT=1")) << Capture();
  EXPECT_NE(Capture().find("has 70 columns and 20 rows"), std::string::npos);
}

#endif  // DODU_BINARY

}  // namespace
