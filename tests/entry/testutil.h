// Fixture of the entry tests: an in-memory Env, an opener context for
// terminal 01 with its folders, the toolkit over a virtual terminal, the
// shared entry state, and helpers to open work copies and fill them.
#ifndef DODU_TESTS_ENTRY_TESTUTIL_H_
#define DODU_TESTS_ENTRY_TESTUTIL_H_

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "core/codepage.h"
#include "entry/entry_context.h"
#include "entry/profile.h"
#include "platform/memory_env.h"
#include "platform/message_sink.h"
#include "screen/toolkit.h"
#include "screen/virtual_terminal.h"
#include "store/opener.h"
#include "store/opener_context.h"
#include "store/workarea.h"

namespace dodu::entry::testing {

#define ENTRY_ASSERT_OK(expr)                \
  do {                                       \
    const ::dodu::Status st_ = (expr);       \
    ASSERT_TRUE(st_.ok()) << st_.ToString(); \
  } while (0)

inline constexpr char kCpf[] = "12345678909";

class EntryTest : public ::testing::Test {
 protected:
  EntryTest() : ctx(env, sink, wait), ec{tk, ctx, areas, state} {
    ctx.terminal = "01";
    ctx.installation_folder = "/inst";
    ctx.data_folder = "/data";
    ctx.work_folder = "/work";
    for (const char* f : {"/inst", "/data", "/work"}) EXPECT_TRUE(env.CreateDir(f).ok());
    state.cpf = kCpf;
    state.declaration_open = true;
    RegisterEngineProfiles(registry);
  }

  // The work copy of declaration table `n` (area n + 20).
  store::WorkArea& WorkCopy(int n) {
    Status st = store::OpenWorkCopy(ctx, areas, n, false);
    EXPECT_TRUE(st.ok()) << st.ToString();
    return *areas.Get(n + 20);
  }

  // Appends a record filled by `fill` (unlocked afterwards).
  store::RecNo Add(store::WorkArea& area, const std::function<void(store::Record&)>& fill) {
    store::Record r = area.table().BlankRecord();
    fill(r);
    Result<store::RecNo> n = area.table().Append(r);
    EXPECT_TRUE(n.ok()) << n.status().ToString();
    area.table().UnlockRecord(*n);
    return *n;
  }

  store::Record Read(store::WorkArea& area, store::RecNo n) {
    Result<store::Record> r = area.table().Read(n);
    EXPECT_TRUE(r.ok()) << r.status().ToString();
    return *r;
  }
  std::string Text(store::WorkArea& area, uint32_t n, const char* field) {
    Result<std::string> t = Read(area, store::RecNo{n}).GetTrimmed(field);
    return t.ok() ? *t : "<" + t.status().ToString() + ">";
  }
  std::string Number(store::WorkArea& area, uint32_t n, const char* field) {
    Result<core::Decimal> d = Read(area, store::RecNo{n}).GetNumber(field);
    return d.ok() ? d->ToString() : "<" + d.status().ToString() + ">";
  }
  // Texts of the records shown in record order, deleted ones left out.
  std::vector<std::string> Live(store::WorkArea& area, const char* field) {
    std::vector<std::string> out;
    Result<uint32_t> count = area.table().RefreshCount();
    for (uint32_t i = 1; count.ok() && i <= *count; ++i) {
      store::Record r = Read(area, store::RecNo{i});
      if (r.deleted()) continue;
      Result<std::string> t = r.GetTrimmed(field);
      out.push_back(t.ok() ? *t : "?");
    }
    return out;
  }

  // The box texts the store showed (lines joined by " / ").
  std::vector<std::string> StoreBoxes() const {
    std::vector<std::string> out;
    for (const auto& b : sink.boxes) {
      std::string s;
      for (const std::string& l : b.lines) s += (s.empty() ? "" : " / ") + core::Cp850ToUtf8(l);
      out.push_back(s);
    }
    return out;
  }
  // The box texts the screen showed.
  std::vector<std::string> ScreenBoxes() const {
    std::vector<std::string> out;
    for (const auto& b : term.boxes()) {
      std::string s;
      for (const std::string& l : b.lines) s += (s.empty() ? "" : " / ") + core::Cp850ToUtf8(l);
      out.push_back(s);
    }
    return out;
  }

  platform::MemoryEnv env;
  platform::RecordingSink sink;
  store::RecordingWaitObserver wait;
  store::OpenerContext ctx;
  store::WorkAreas areas;
  screen::ManualClock clock;
  screen::VirtualTerminal term{clock};
  screen::Toolkit tk{term};
  EntryState state;
  EntryContext ec;
  ProfileRegistry registry;
};

// Compares `actual` with tests/golden/<case>/expected.txt; DODU_UPDATE_GOLDEN=1
// rewrites the file instead (for a reviewed diff).
inline void ExpectGolden(const std::string& golden_case, const std::string& actual) {
  const std::string dir = std::string(DODU_SOURCE_DIR) + "/tests/golden/" + golden_case;
  const std::string path = dir + "/expected.txt";
  const char* update = std::getenv("DODU_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    std::ofstream(path, std::ios::binary) << actual;
    return;
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in.good()) << "missing golden file " << path << " (run with DODU_UPDATE_GOLDEN=1)";
  std::stringstream ss;
  ss << in.rdbuf();
  EXPECT_EQ(ss.str(), actual) << "golden file " << path << " differs";
}

}  // namespace dodu::entry::testing

#endif  // DODU_TESTS_ENTRY_TESTUTIL_H_
