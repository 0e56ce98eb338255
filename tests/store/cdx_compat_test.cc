// Our index files as a tool nobody here wrote reads them: index_dump of the
// Debian package libdbd-xbase-perl lists a tag's keys and record numbers in
// index order, walking the tag directory, the interior nodes and the leaves.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/env.h"
#include "platform/testutil.h"
#include "store/cdx_index.h"
#include "store/key_expr.h"

namespace dodu::store {
namespace {

const Layout kLayout = {{"CPF", FieldType::kChar, 11, 0},
                        {"NOMECONTR", FieldType::kChar, 53, 0},
                        {"BEM_NRO", FieldType::kNumeric, 2, 0},
                        {"VALOR", FieldType::kNumeric, 12, 2}};

struct CompatCase {
  const char* file;  // the tag is named after it
  const char* expr;
  const char* type;  // index_dump --type
};

class CdxCompat : public ::testing::TestWithParam<CompatCase> {
 protected:
  void SetUp() override {
    if (!env_->Exists("/usr/bin/index_dump")) GTEST_SKIP() << "index_dump (libdbd-xbase-perl) not installed";
  }
  // Runs index_dump and answers its output lines.
  std::vector<std::string> Dump(const std::vector<std::string>& args) {
    platform::SpawnOptions opt;
    opt.stdout_path = dir_ / "dump.txt";
    opt.stderr_path = dir_ / "dump.err";
    std::vector<std::string> argv{"index_dump"};
    argv.insert(argv.end(), args.begin(), args.end());
    auto r = env_->Spawn(argv, opt);
    EXPECT_TRUE(r.ok()) << r.status().ToString();
    if (!r.ok()) return {};
    auto err = platform::ReadWholeFile(*env_, dir_ / "dump.err");
    EXPECT_EQ(r->exit_status, 0) << (err.ok() ? *err : "");
    auto out = platform::ReadWholeFile(*env_, dir_ / "dump.txt");
    std::vector<std::string> lines;
    std::istringstream in(out.ok() ? *out : "");
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  std::unique_ptr<platform::Env> env_ = platform::NewPosixEnv();
  testing::TempDir dir_;
};

std::string Key(const KeyExpr& e, std::mt19937& rng) {
  if (std::string(e.text()) == "BEM_NRO") return NumericKeyFromInt(static_cast<int64_t>(rng() % 100));
  if (e.type() == KeyType::kNumeric) {
    int64_t cents = static_cast<int64_t>(rng() % 4000001) - 2000000;
    std::string text = std::to_string(cents / 100) + "." + std::to_string(std::abs(cents % 100) + 100).substr(1);
    if (cents < 0 && cents > -100) text = "-" + text;
    return *NumericKeyFromText(text);
  }
  std::string s;
  if (e.length() == 11) {
    for (int i = 0; i < 11; ++i) s.push_back(static_cast<char>('0' + rng() % 10));
  } else {
    static const char* kNames[] = {"MARIA DA SILVA", "JOSE SANTOS", "ANA", "JO\x8e" "O PEREIRA"};
    s = std::string(kNames[rng() % 4]) + " " + std::to_string(rng() % 100000);
  }
  s.resize(static_cast<size_t>(e.length()), ' ');
  return s;
}

// 3000+ keys, entered one by one so that the tree has gone through splits, and
// as a bulk build: index_dump lists both in our order.
TEST_P(CdxCompat, IndexDumpListsOurKeysInOrder) {
  const CompatCase& c = GetParam();
  auto e = KeyExpr::Compile(c.expr, kLayout);
  ASSERT_OK(e);
  std::mt19937 rng(3);
  std::vector<CdxEntry> entries;
  for (uint32_t r = 1; r <= 3200; ++r) entries.push_back({Key(*e, rng), r});
  for (bool bulk : {false, true}) {
    SCOPED_TRACE(bulk ? "bulk" : "incremental");
    std::string path = dir_ / c.file;
    auto idx = CdxIndex::Create(*env_, path, *e, bulk ? entries : std::vector<CdxEntry>{}, 1, 0);
    ASSERT_OK(idx);
    if (!bulk) {
      for (const auto& x : entries) ASSERT_OK(idx->Insert(x.key, x.recno));
      for (uint32_t r = 1; r <= 3200; r += 3) ASSERT_OK(idx->Remove(entries[r - 1].key, r));
    }
    auto ours = idx->ReadAll();
    ASSERT_OK(ours);
    ASSERT_GE(ours->size(), bulk ? 3200u : 2100u);

    std::string tag = idx->tag();
    EXPECT_EQ(Dump({std::string("--type=") + c.type, path}), std::vector<std::string>{tag});
    std::vector<std::string> lines = Dump({std::string("--type=") + c.type, path, tag});
    ASSERT_EQ(lines.size(), ours->size());
    for (size_t i = 0; i < lines.size(); ++i) {
      const CdxEntry& want = (*ours)[i];
      size_t sp = lines[i].rfind(' ');
      ASSERT_NE(sp, std::string::npos) << lines[i];
      EXPECT_EQ(lines[i].substr(sp + 1), std::to_string(want.recno)) << "line " << i;
      std::string key = lines[i].substr(0, sp);
      if (e->type() == KeyType::kCharacter) {
        std::string trimmed = want.key;
        while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
        ASSERT_EQ(key, trimmed) << "line " << i;
      } else {
        ASSERT_DOUBLE_EQ(std::strtod(key.c_str(), nullptr), DecodeNumericKey(want.key)) << "line " << i;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Keys, CdxCompat,
                         ::testing::Values(CompatCase{"IMP0920.CDX", "CPF", "char"},
                                           CompatCase{"IMP0920B.CDX", "UPPER(NOMECONTR)", "char"},
                                           CompatCase{"TMP_0801.CDX", "BEM_NRO", "num"},
                                           CompatCase{"VALORES.CDX", "VALOR", "num"}));

}  // namespace
}  // namespace dodu::store
