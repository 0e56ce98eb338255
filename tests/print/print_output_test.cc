#include "print/print_output.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/memory_env.h"
#include "platform/testutil.h"
#include "print/print_stream.h"

namespace dodu::print {
namespace {

class PrintOutputTest : public ::testing::Test {
 protected:
  std::string Report(const std::function<void(PrintOutput&)>& report) {
    auto out = PrintOutput::Create(env_, "/w/NAO-DOS.TXT");
    EXPECT_TRUE(out.ok());
    report(**out);
    EXPECT_TRUE((*out)->Close().ok());
    return *platform::ReadWholeFile(env_, "/w/NAO-DOS.TXT");
  }
  void SetUp() override { ASSERT_OK(env_.CreateDir("/w")); }
  platform::MemoryEnv env_;
};

std::string Lines(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "\r\n";
  return s;
}

struct MoveCase {
  const char* what;
  std::function<void(PrintOutput&)> report;
  std::string bytes;
};

TEST_F(PrintOutputTest, MovesBecomeLinePrinterBytes) {
  const MoveCase cases[] = {
      {"same row, to the right", [](PrintOutput& p) { p.Say(0, 3, "AB"); p.Say(0, 7, "C"); },
       "   AB  C"},
      {"rows below", [](PrintOutput& p) { p.Say(0, 0, "A"); p.Say(2, 1, "B"); },
       "A\r\n\r\n B"},
      {"a row above starts a page",
       [](PrintOutput& p) { p.Say(40, 0, "X"); p.Say(0, 2, "Y"); },
       Lines(40) + "X\x0C\r  Y"},
      {"left on the same row overprints",
       [](PrintOutput& p) { p.Say(0, 10, "SALDO"); p.Say(0, 5, "-----"); },
       std::string(10, ' ') + "SALDO\r     -----"},
      {"pitch at the position takes no column",
       [](PrintOutput& p) { p.MoveTo(0, 2); p.Pitch(true); p.Write("c"); p.Pitch(false); p.Say(0, 4, "n"); },
       "  \x0F" "c\x12 n"},
      {"eject", [](PrintOutput& p) { p.Say(3, 0, "A"); p.Eject(); p.Say(1, 0, "B"); },
       "\r\n\r\n\r\nA\x0C\r\r\nB"},
      {"set position moves without output",
       [](PrintOutput& p) { p.SetPosition(5, 0); p.Say(6, 1, "Z"); }, "\r\n Z"},
  };
  for (const MoveCase& c : cases) EXPECT_EQ(Report(c.report), c.bytes) << c.what;
}

TEST_F(PrintOutputTest, CreateReplacesAnOldFile) {
  ASSERT_OK(platform::WriteFileAtomic(env_, "/w/NAO-DOS.TXT", "old job"));
  EXPECT_EQ(Report([](PrintOutput& p) { p.Say(0, 0, "new"); }), "new");
}

TEST_F(PrintOutputTest, ALongReportReachesTheFileWhole) {
  std::string want;
  const std::string text = Report([&](PrintOutput& p) {
    for (int page = 0; page < 200; ++page) {
      for (int row = 0; row < 60; ++row) p.Say(row, 0, "linha " + std::to_string(row));
      p.Eject();
    }
  });
  const std::vector<PrintedPage> pages = ReadPrintStream(text);
  ASSERT_EQ(pages.size(), 200u);
  EXPECT_EQ(pages[199].lines.size(), 60u);
  EXPECT_EQ(pages[199].lines[59].runs[0].text, "linha 59");
}

struct StreamCase {
  const char* what;
  std::string bytes;
  std::vector<std::vector<std::pair<int, PrintedRun>>> pages;  // per page: (line, run)
};

TEST(PrintStreamTest, ReadsPagesLinesPitchAndOverprint) {
  const int n = kNormalWidth, c = kCondensedWidth;
  const StreamCase cases[] = {
      {"two lines", "AB\r\n  C", {{{0, {0, false, "AB"}}, {1, {2 * n, false, "C"}}}}},
      {"form feed keeps the text before it on its page", "A\x0C\rB",
       {{{0, {0, false, "A"}}}, {{0, {0, false, "B"}}}}},
      {"pitch switched where it stands", "ab\x0F" "cd\x12" "e",
       {{{0, {0, false, "ab"}}, {0, {2 * n, true, "cd"}}, {0, {2 * n + 2 * c, false, "e"}}}}},
      {"a bare CR overprints", "SALDO\r  ---",
       {{{0, {0, false, "SALDO"}}, {0, {2 * n, false, "---"}}}}},
      {"a final page break prints no blank page", "A\x0C\r", {{{0, {0, false, "A"}}}}},
      {"a full page flows onto the next", "1\r\n2\r\n3\r\n4",
       {{{0, {0, false, "1"}}, {1, {0, false, "2"}}, {2, {0, false, "3"}}},
        {{0, {0, false, "4"}}}}},
  };
  for (const StreamCase& k : cases) {
    const std::vector<PrintedPage> got = ReadPrintStream(k.bytes, 3);
    ASSERT_EQ(got.size(), k.pages.size()) << k.what;
    for (size_t p = 0; p < got.size(); ++p) {
      std::vector<std::pair<int, PrintedRun>> flat;
      for (const PrintedLine& l : got[p].lines) {
        for (const PrintedRun& r : l.runs) flat.emplace_back(l.line, r);
      }
      EXPECT_EQ(flat, k.pages[p]) << k.what << " page " << p;
    }
  }
}

TEST(PrintStreamTest, CleanPrintFileDropsTheFinalPageBreak) {
  platform::MemoryEnv env;
  ASSERT_OK(env.CreateDir("/w"));
  EXPECT_EQ(CleanPrintFile(env, "/w/NAO-DOS.TXT").code(), StatusCode::kNotFound);
  ASSERT_OK(platform::WriteFileAtomic(env, "/w/NAO-DOS.TXT", ""));
  EXPECT_EQ(CleanPrintFile(env, "/w/NAO-DOS.TXT").code(), StatusCode::kNotFound);
  ASSERT_OK(platform::WriteFileAtomic(env, "/w/ONE.TXT", "x"));  // one byte: nothing to drop
  EXPECT_OK(CleanPrintFile(env, "/w/ONE.TXT"));
  EXPECT_EQ(*platform::ReadWholeFile(env, "/w/ONE.TXT"), "x");
  ASSERT_OK(platform::WriteFileAtomic(env, "/w/NAO-DOS.TXT", "A\x0C\r"));
  EXPECT_OK(CleanPrintFile(env, "/w/NAO-DOS.TXT"));
  EXPECT_EQ(*platform::ReadWholeFile(env, "/w/NAO-DOS.TXT"), "A \r");
}

}  // namespace
}  // namespace dodu::print
