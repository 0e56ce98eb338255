// Fixtures of the start-up and main-loop tests: a station over an in-memory
// Env whose clock is the terminal's, an installation folder named by DIR2020,
// and reading back the records the start-up wrote.
#ifndef DODU_TESTS_SHELL_STARTUP_TESTUTIL_H_
#define DODU_TESTS_SHELL_STARTUP_TESTUTIL_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/codepage.h"
#include "platform/memory_env.h"
#include "screen/toolkit.h"
#include "screen/virtual_terminal.h"
#include "shell/settings_defaults.h"
#include "shell/startup.h"
#include "shell/station.h"
#include "store/table.h"

namespace dodu::shell::testing {

// One station on its own virtual terminal.
struct TestStation {
  TestStation(platform::Env& env, platform::Clock& clock) : vt(clock), tk(vt), station(env, tk) {}
  screen::VirtualTerminal vt;
  screen::Toolkit tk;
  Station station;

  // Every box the terminal showed, lines joined by " / ", UTF-8.
  std::vector<std::string> Boxes() const {
    std::vector<std::string> out;
    for (const auto& b : vt.boxes()) {
      std::string s;
      for (const std::string& l : b.lines) s += (s.empty() ? "" : " / ") + core::Cp850ToUtf8(l);
      out.push_back(s);
    }
    return out;
  }
  bool ShowedBox(const std::string& text) const {
    for (const std::string& b : Boxes()) {
      if (b.find(text) != std::string::npos) return true;
    }
    return false;
  }
};

class StartupFixture : public ::testing::Test {
 protected:
  static constexpr char kInst[] = "/inst";

  StartupFixture() {
    EXPECT_TRUE(env.CreateDir(kInst).ok());
    EXPECT_TRUE(env.CreateDir("/home/ana").ok());
    env.SetEnv("DIR2020", kInst);
    SetToday(2020, 3, 2);
  }

  void SetToday(int y, int m, int d) { env.fake_clock().Set({y, m, d, 9, 0, 0}); }

  StartupOptions Options(std::optional<std::string> terminal = "01") const {
    StartupOptions o;
    o.terminal_arg = std::move(terminal);
    o.current_folder = "/";
    o.home_folder = "/home/ana";
    return o;
  }

  // A new station (the previous one, if any, is gone first: its folder list is let go).
  TestStation& NewStation() {
    station_.reset();
    station_ = std::make_unique<TestStation>(env, env.fake_clock());
    return *station_;
  }

  // Runs the start-up of a new station with `keys` in its script.
  Status Start(const std::string& keys = "", std::optional<std::string> terminal = "01") {
    TestStation& s = NewStation();
    s.vt.Feed(keys);
    return StartUp(s.station, Options(std::move(terminal)));
  }

  TestStation& station() { return *station_; }
  // Ends the running station (its folder list, held exclusively, is let go).
  void CloseStation() { station_.reset(); }

  // Record `n` of a table of the installation folder, read with the store.
  FieldValues ReadRecord(const std::string& file, uint32_t n = 1) {
    auto table = store::Table::Open(env, std::string(kInst) + "/" + file, store::Sharing::kShared);
    EXPECT_TRUE(table.ok()) << file << ": " << table.status().ToString();
    if (!table.ok()) return {};
    auto r = (*table)->Read(store::RecNo{n});
    EXPECT_TRUE(r.ok()) << file << " #" << n << ": " << r.status().ToString();
    return r.ok() ? RecordFields(*r) : FieldValues{};
  }
  uint32_t RecordCount(const std::string& file) {
    auto table = store::Table::Open(env, std::string(kInst) + "/" + file, store::Sharing::kShared);
    return table.ok() ? (*table)->record_count() : 0;
  }
  // Changes fields of record 1 of a table, as an earlier run or the office left them.
  void Rewrite(const std::string& file, const FieldValues& fields) {
    auto table =
        store::Table::Open(env, std::string(kInst) + "/" + file, store::Sharing::kExclusive);
    ASSERT_TRUE(table.ok()) << table.status().ToString();
    auto r = (*table)->Read(store::RecNo{1});
    ASSERT_TRUE(r.ok());
    ASSERT_TRUE(PutFields(*r, fields).ok());
    ASSERT_TRUE((*table)->Write(store::RecNo{1}, *r).ok());
  }

  platform::MemoryEnv env;

 private:
  std::unique_ptr<TestStation> station_;
};

inline core::Date Dmy(int d, int m, int y) { return *core::Date::FromYmd(y, m, d); }

}  // namespace dodu::shell::testing

#endif  // DODU_TESTS_SHELL_STARTUP_TESTUTIL_H_
