// Golden files compared byte for byte: a work file, a document. The expected
// file lives under tests/<folder>/golden/; DODU_UPDATE_GOLDEN=1 rewrites it for
// a reviewed diff. A difference is reported at its first byte, with context.
#ifndef DODU_TESTS_GOLDEN_BYTES_H_
#define DODU_TESTS_GOLDEN_BYTES_H_

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace dodu::testing {

inline void ExpectGoldenBytes(const std::string& folder, const std::string& name,
                              const std::string& actual) {
  const std::string path = std::string(DODU_SOURCE_DIR) + "/tests/" + folder + "/golden/" + name;
  if (const char* u = std::getenv("DODU_UPDATE_GOLDEN"); u && std::string(u) == "1") {
    std::ofstream(path, std::ios::binary) << actual;
    return;
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in.good()) << "missing " << path << " (DODU_UPDATE_GOLDEN=1 writes it)";
  std::stringstream ss;
  ss << in.rdbuf();
  const std::string expected = ss.str();
  if (expected == actual) return;
  size_t i = 0;
  while (i < expected.size() && i < actual.size() && expected[i] == actual[i]) ++i;
  const size_t from = i > 80 ? i - 80 : 0;
  ADD_FAILURE() << name << " differs at byte " << i << "\nexpected: ..."
                << expected.substr(from, 200) << "\nactual:   ..." << actual.substr(from, 200);
}

}  // namespace dodu::testing

#endif  // DODU_TESTS_GOLDEN_BYTES_H_
