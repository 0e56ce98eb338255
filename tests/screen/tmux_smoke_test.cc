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
  }
  void TearDown() override {
    if (!socket_.empty()) Tmux("kill-server 2>/dev/null");
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
  // Polls the pane (a real terminal has no clock to fake) for up to five seconds.
  bool WaitFor(const std::string& text) {
    for (int i = 0; i < 100; ++i) {
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
};

TEST_F(TmuxSmokeTest, StartsShowsTheWindowAndLeavesWithEsc) {
  Start("", 80, 28);
  ASSERT_TRUE(WaitFor("iniciando")) << Capture();
  std::string screen = Capture();
  EXPECT_NE(screen.find("DODU2020 - Vesk"), std::string::npos);
  EXPECT_NE(screen.find("O programa está iniciando."), std::string::npos);
  Tmux("send-keys -t smoke Escape");
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

TEST_F(TmuxSmokeTest, On25RowsTheStatusBarTakesABlankRow24) {
  Start("", 80, 25);
  ASSERT_TRUE(WaitFor("iniciando")) << Capture();
  std::string screen = Capture();
  // No caption on 25 rows; the status bar shows on row 24 while the program leaves it blank.
  EXPECT_EQ(screen.find("DODU2020 - Vesk"), std::string::npos);
  size_t last_line = screen.rfind("Esc - sair");
  ASSERT_NE(last_line, std::string::npos);
  int line_no = 0;
  for (size_t i = 0; i < last_line; ++i) line_no += screen[i] == '\n';
  EXPECT_EQ(line_no, 24);
  Tmux("send-keys -t smoke Escape");
  EXPECT_TRUE(WaitFor("EXIT=0")) << Capture();
}

TEST_F(TmuxSmokeTest, RefusesATerminalBelow80x25) {
  Start("", 70, 20);
  EXPECT_TRUE(WaitFor("EXIT=1")) << Capture();
  EXPECT_NE(Capture().find("has 70 columns and 20 rows"), std::string::npos);
}

#endif  // DODU_BINARY

}  // namespace
