// Two processes with one terminal number on a real installation folder: the
// second stops at start with "... está em uso" while the first runs, and
// starts once the first has gone.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/codepage.h"
#include "platform/env.h"
#include "screen/toolkit.h"
#include "screen/virtual_terminal.h"
#include "shell/startup.h"
#include "shell/station.h"

namespace dodu::shell {
namespace {

class StartupForkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/dodu_fork_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    folder_ = tmpl;
    for (const char* name : {"DIR2020", "TERMINAL", "DODU_DRIVES"}) {
      if (const char* v = std::getenv(name)) saved_.push_back({name, v});
      unsetenv(name);
    }
    setenv("DIR2020", folder_.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("DIR2020");
    for (const auto& [name, value] : saved_) setenv(name.c_str(), value.c_str(), 1);
    if (!folder_.empty()) std::system(("rm -rf '" + folder_ + "'").c_str());
  }
  StartupOptions Options() const {
    StartupOptions o;
    o.terminal_arg = "01";
    o.current_folder = folder_;
    o.home_folder = folder_;
    return o;
  }

  // In a child process: starts terminal 01 with Enter keys for the boxes. The
  // exit status: 0 started, 10 ended with the in-use box, 20 anything else.
  int StartInChild() {
    pid_t pid = fork();
    if (pid == 0) {
      int code = 20;
      try {
        std::unique_ptr<platform::Env> env = platform::NewPosixEnv();
        screen::VirtualTerminal vt;
        screen::Toolkit tk(vt);
        Station st(*env, tk);
        vt.Feed("{Enter}{Enter}{Enter}");
        Status s = StartUp(st, Options());
        bool told = false;
        for (const auto& b : vt.boxes()) {
          for (const auto& l : b.lines) {
            told |= core::Cp850ToUtf8(l) == "O programa DODU2020 no terminal 01 está em uso";
          }
        }
        if (s.ok())
          code = 0;
        else if (s.IsLocked() && told)
          code = 10;
      } catch (...) {
        code = 21;
      }
      _exit(code);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
  }

  std::string folder_;
  std::vector<std::pair<std::string, std::string>> saved_;
};

TEST_F(StartupForkTest, ASecondProcessWithTheSameTerminalNumberIsToldItIsInUse) {
  std::unique_ptr<platform::Env> env = platform::NewPosixEnv();
  {
    screen::VirtualTerminal vt;
    screen::Toolkit tk(vt);
    Station running(*env, tk);
    ASSERT_TRUE(StartUp(running, Options()).ok());
    EXPECT_EQ(StartInChild(), 10);
  }
  // The first station is gone: its folder list is free again.
  EXPECT_EQ(StartInChild(), 0);
}

}  // namespace
}  // namespace dodu::shell
