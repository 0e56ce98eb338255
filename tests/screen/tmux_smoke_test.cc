// Runs the real program in a real terminal (tmux), sends keys and reads the
// screen back with capture-pane. Skipped where tmux is missing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

#ifdef DODU_BINARY

class TmuxSmokeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("command -v tmux >/dev/null 2>&1") != 0) GTEST_SKIP() << "tmux not installed";
    if (access(DODU_BINARY, X_OK) != 0) GTEST_SKIP() << DODU_BINARY << " not built";
    socket_ = "dodu_smoke_" + std::to_string(getpid());
    char tmpl[] = "/tmp/dodu_smoke_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    demo_ = tmpl;
  }
  void TearDown() override {
    if (!socket_.empty()) Tmux("kill-server 2>/dev/null");
    if (!demo_.empty()) std::system(("rm -rf '" + demo_ + "'").c_str());
  }
  int Tmux(const std::string& args) {
    return std::system(("tmux -L " + socket_ + " -f /dev/null " + args).c_str());
  }
  std::string Capture() {
    std::string out;
    FILE* p = popen(("tmux -L " + socket_ + " capture-pane -p -t smoke 2>/dev/null").c_str(), "r");
    if (p == nullptr) return out;
    char buf[512];
    while (fgets(buf, sizeof buf, p) != nullptr) out += buf;
    pclose(p);
    return out;
  }
  // Polls the pane (a real terminal has no clock to fake) for up to twenty seconds:
  // the first start of a demo installation builds its tables.
  bool WaitFor(const std::string& text) {
    for (int i = 0; i < 400; ++i) {
      if (Capture().find(text) != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
  void Start(const std::string& args, int cols, int rows) {
    std::string cmd = std::string("'") + DODU_BINARY + " " + args + "; echo EXIT=$?; sleep 30'";
    ASSERT_EQ(Tmux("new-session -d -s smoke -x " + std::to_string(cols) + " -y " + std::to_string(rows) +
                   " " + cmd),
              0);
  }
  std::string socket_;
  std::string demo_;  // a demo installation of its own: the test never writes the build folder
};

TEST_F(TmuxSmokeTest, StartsOnADemoInstallationAndLeavesWithAltT) {
  Start("--demo " + demo_, 80, 28);
  ASSERT_TRUE(WaitFor("Imposto de Renda")) << Capture();
  std::string screen = Capture();
  EXPECT_NE(screen.find("DODU2020 - Vesk"), std::string::npos);  // the caption row
  Tmux("send-keys -t smoke M-t");
  ASSERT_TRUE(WaitFor("Confirma saída do programa?")) << Capture();
  Tmux("send-keys -t smoke S");
  EXPECT_TRUE(WaitFor("EXIT=0")) << Capture();
}

TEST_F(TmuxSmokeTest, KeyProbeNamesTheKeys) {
  Start("--key-probe", 80, 25);
  ASSERT_TRUE(WaitFor("Teclas recebidas")) << Capture();
  Tmux("send-keys -t smoke F2 M-w C-PgDn BTab");
  EXPECT_TRUE(WaitFor("Shift Tab")) << Capture();
  std::string screen = Capture();
  EXPECT_NE(screen.find("F2 "), std::string::npos);
  EXPECT_NE(screen.find("Alt W"), std::string::npos);
  EXPECT_NE(screen.find("Ctrl PgDn"), std::string::npos);
  Tmux("send-keys -t smoke Escape Escape");
  EXPECT_TRUE(WaitFor("EXIT=0")) << Capture();
}

TEST_F(TmuxSmokeTest, On25RowsThereIsNoCaptionRow) {
  Start("--demo " + demo_, 80, 25);
  ASSERT_TRUE(WaitFor("Imposto de Renda")) << Capture();
  EXPECT_EQ(Capture().find("DODU2020 - Vesk"), std::string::npos);
  Tmux("send-keys -t smoke M-t");
  ASSERT_TRUE(WaitFor("Confirma saída do programa?")) << Capture();
  Tmux("send-keys -t smoke S");
  EXPECT_TRUE(WaitFor("EXIT=0")) << Capture();
}

TEST_F(TmuxSmokeTest, RefusesATerminalBelow80x25) {
  Start("", 70, 20);
  EXPECT_TRUE(WaitFor("EXIT=1")) << Capture();
  EXPECT_NE(Capture().find("has 70 columns and 20 rows"), std::string::npos);
}

#endif  // DODU_BINARY

}  // namespace
