// The fuzz target over the seed corpus and deterministic mutations of it, in
// every build: a changed byte, a cut file or a doubled line must be read or
// refused, never crash, hang or leak (the sanitizer build checks the last).
#include <filesystem>
#include <fstream>
#include <sstream>

#include "import/fuzz_target.h"
#include "import/testutil.h"

namespace dodu::import {
namespace {

std::vector<std::string> Seeds() {
  std::vector<std::string> out;
  std::vector<std::filesystem::path> files;
  for (const char* dir :
       {DODU_SOURCE_DIR "/tests/import/fuzz/seeds", DODU_SHARED_DIR "/reference"}) {
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dir, ec)) {
      const std::string ext = e.path().extension().string();
      if (ext == ".dec" || ext == ".DEC" || ext == ".txt" || ext == ".rec")
        files.push_back(e.path());
    }
  }
  for (const auto& p : files) {
    if (p.filename().string().find("Leiaute") != std::string::npos) continue;
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    out.push_back(ss.str());
  }
  return out;
}

TEST(FuzzReplay, MutatedSeedsAreReadOrRefused) {
  const std::vector<std::string> seeds = Seeds();
  ASSERT_GE(seeds.size(), 4u);
  for (const std::string& seed : seeds) {
    testing::FuzzOneInput(seed);
    for (size_t at = 0; at < seed.size(); at += 37) {
      for (char c : {'9', 'A', '\n', '\0'}) {
        std::string m = seed;
        m[at] = c;
        testing::FuzzOneInput(m);
      }
      testing::FuzzOneInput(seed.substr(0, at));
    }
    // A doubled line and lines in reverse order.
    std::vector<std::string> lines;
    std::stringstream ss(seed);
    for (std::string l; std::getline(ss, l);) lines.push_back(l);
    for (size_t i = 0; i < lines.size(); i += 3) {
      std::string doubled;
      for (size_t j = 0; j < lines.size(); ++j)
        doubled += lines[j] + "\n" + (i == j ? lines[j] + "\n" : "");
      testing::FuzzOneInput(doubled);
    }
    std::string reversed;
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) reversed += *it + "\n";
    testing::FuzzOneInput(reversed);
  }
}

}  // namespace
}  // namespace dodu::import
