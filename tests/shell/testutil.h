// Fixtures shared by the shell tests: scripted operator answers, settings tables
// that record what is written, a clock standing still.
#ifndef DODU_TESTS_SHELL_TESTUTIL_H_
#define DODU_TESTS_SHELL_TESTUTIL_H_

#include <deque>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/codepage.h"
#include "platform/env.h"
#include "shell/dispatcher_ports.h"

namespace dodu::shell::testing {

// Answers in the order given; when the script runs out every question is left
// with Esc, so a test never waits.
class ScriptedPrompts : public Prompts {
 public:
  struct Asked {
    std::vector<std::string> lines;  // UTF-8 (converted back for the test)
    std::string title;
  };

  std::deque<std::optional<bool>> yes_no;
  std::deque<std::optional<int>> numbers;
  std::vector<Asked> asked;

  std::optional<bool> YesNo(const std::vector<std::string>& lines,
                            const std::string& title) override {
    Record(lines, title);
    if (yes_no.empty()) return std::nullopt;
    auto a = yes_no.front();
    yes_no.pop_front();
    return a;
  }
  std::optional<int> Number(const std::string& prompt, const std::string& title, int,
                            int) override {
    Record({prompt}, title);
    if (numbers.empty()) return std::nullopt;
    auto a = numbers.front();
    numbers.pop_front();
    return a;
  }

 private:
  void Record(const std::vector<std::string>& lines, const std::string& title) {
    Asked a;
    for (const auto& l : lines) a.lines.push_back(core::Cp850ToUtf8(l));
    a.title = core::Cp850ToUtf8(title);
    asked.push_back(a);
  }
};

class RecordingTables : public SettingsTables {
 public:
  Status open_status;
  int opened = 0, closed = 0;
  bool is_open = false;
  std::vector<FieldValues> config_writes, define_writes;
  std::set<int> status_codes = {1, 2, 7, 9};

  Status Open() override {
    ++opened;
    if (open_status.ok()) is_open = true;
    return open_status;
  }
  void Close() override {
    ++closed;
    is_open = false;
  }
  Status WriteConfig(const FieldValues& fields) override {
    config_writes.push_back(fields);
    return Status::Ok();
  }
  Status WriteDefine(const FieldValues& fields) override {
    define_writes.push_back(fields);
    return Status::Ok();
  }
  bool StatusCodeExists(int code) override { return status_codes.count(code) > 0; }
};

class StillClock : public platform::Clock {
 public:
  explicit StillClock(platform::CivilTime t) : t_(t) {}
  platform::CivilTime Now() const override { return t_; }
  void SleepFor(std::chrono::milliseconds) override {}
  int64_t MonotonicMillis() const override { return 0; }

 private:
  platform::CivilTime t_;
};

// The UTF-8 form of the lines of a box, for comparing with the texts.
inline std::vector<std::string> Utf8Lines(const std::vector<std::string>& cp850) {
  std::vector<std::string> out;
  for (const auto& l : cp850) out.push_back(core::Cp850ToUtf8(l));
  return out;
}

}  // namespace dodu::shell::testing

#endif  // DODU_TESTS_SHELL_TESTUTIL_H_
