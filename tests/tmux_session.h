// A real terminal for end-to-end tests: a tmux server of the test's own (its own
// socket), one session in it, keys sent with send-keys and the screen read back
// with capture-pane. A real terminal has no clock to fake, so waits poll.
#ifndef DODU_TESTS_TMUX_SESSION_H_
#define DODU_TESTS_TMUX_SESSION_H_

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace dodu::testing {

inline bool HaveTmux() { return std::system("command -v tmux >/dev/null 2>&1") == 0; }

class TmuxSession {
 public:
  // `prefix` names the socket (with this process id) and the session.
  explicit TmuxSession(const std::string& prefix)
      : socket_(prefix + "_" + std::to_string(getpid())), name_(prefix) {}
  ~TmuxSession() { Tmux("kill-server 2>/dev/null"); }
  TmuxSession(const TmuxSession&) = delete;
  TmuxSession& operator=(const TmuxSession&) = delete;

  // Starts `shell_command` (one shell word, quoted by the caller) in a
  // `cols` x `rows` window. True when tmux started it.
  bool Start(const std::string& shell_command, int cols, int rows) {
    return Tmux("new-session -d -s " + name_ + " -x " + std::to_string(cols) + " -y " +
                std::to_string(rows) + " " + shell_command) == 0;
  }
  // tmux key names, separated by blanks ("C-F10 Right Enter", "M-t", "S").
  void Keys(const std::string& keys) { Tmux("send-keys -t " + name_ + " " + keys); }

  std::string Capture() const {
    std::string out;
    FILE* p = popen(("tmux -L " + socket_ + " capture-pane -p -t " + name_ + " 2>/dev/null").c_str(),
                    "r");
    if (p == nullptr) return out;
    char buf[512];
    while (fgets(buf, sizeof buf, p) != nullptr) out += buf;
    pclose(p);
    return out;
  }
  // Polls the screen every 50 ms until `text` shows, for at most `seconds`.
  bool WaitFor(const std::string& text, int seconds = 20) const {
    for (int i = 0; i < seconds * 20; ++i) {
      if (Capture().find(text) != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

 private:
  int Tmux(const std::string& args) const {
    return std::system(("tmux -L " + socket_ + " -f /dev/null " + args).c_str());
  }

  std::string socket_, name_;
};

}  // namespace dodu::testing

#endif  // DODU_TESTS_TMUX_SESSION_H_
