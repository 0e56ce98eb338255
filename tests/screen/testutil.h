// Shared fixtures of the screen tests: a toolkit over a virtual terminal with
// its own manual clock, and the golden-file comparison.
#ifndef DODU_TESTS_SCREEN_TESTUTIL_H_
#define DODU_TESTS_SCREEN_TESTUTIL_H_

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>

#include "screen/toolkit.h"
#include "screen/virtual_terminal.h"

namespace dodu::screen {
// Keys print by name in test failures.
inline void PrintTo(const Key& k, std::ostream* os) { *os << k.Name(); }
}  // namespace dodu::screen

namespace dodu::screen::testing {

class ScreenTest : public ::testing::Test {
 protected:
  ManualClock clock_;
  VirtualTerminal term_{clock_};
  Toolkit tk_{term_};

  // A screen full of distinct cells, so any cell a window forgets to restore shows.
  void Scribble() {
    for (int r = 0; r < kScreenRows; ++r) {
      for (int c = 0; c < kScreenCols; ++c) {
        tk_.Put(r, c, Cell{static_cast<uint8_t>('!' + (r * 7 + c) % 90), static_cast<Attr>((r * 3 + c) & 0x7F)});
      }
    }
  }
  std::string Snapshot() const { return term_.DumpUtf8() + term_.DumpAttrs(); }
};

// Compares `actual` with tests/golden/<case>/<file>; with DODU_UPDATE_GOLDEN=1
// in the environment it rewrites the expected file instead (for a reviewed diff).
inline void ExpectGolden(const std::string& golden_case, const std::string& file, const std::string& actual) {
  std::string path = std::string(DODU_SOURCE_DIR) + "/tests/golden/" + golden_case + "/" + file;
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

}  // namespace dodu::screen::testing

#endif  // DODU_TESTS_SCREEN_TESTUTIL_H_
