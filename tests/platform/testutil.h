// Shared test helpers for every subsystem: status assertions and a temporary
// folder on the real disk.
#ifndef DODU_TESTS_PLATFORM_TESTUTIL_H_
#define DODU_TESTS_PLATFORM_TESTUTIL_H_

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/status.h"

#define ASSERT_OK(expr)                                              \
  do {                                                               \
    const auto& dodu_s_ = (expr);                                    \
    ASSERT_TRUE(dodu_s_.ok()) << ::dodu::testing::Describe(dodu_s_); \
  } while (0)
#define EXPECT_OK(expr)                                              \
  do {                                                               \
    const auto& dodu_s_ = (expr);                                    \
    EXPECT_TRUE(dodu_s_.ok()) << ::dodu::testing::Describe(dodu_s_); \
  } while (0)

namespace dodu::testing {

inline std::string Describe(const Status& s) { return s.ToString(); }
template <typename T>
std::string Describe(const Result<T>& r) {
  return r.status().ToString();
}

// A fresh folder under /tmp, removed with everything in it at the end.
class TempDir {
 public:
  TempDir() {
    char tmpl[] = "/tmp/dodu_test_XXXXXX";
    if (mkdtemp(tmpl) == nullptr) ADD_FAILURE() << "mkdtemp failed";
    path_ = tmpl;
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

}  // namespace dodu::testing

#endif  // DODU_TESTS_PLATFORM_TESTUTIL_H_
