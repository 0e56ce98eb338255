#include "core/line_reader.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/fault_env.h"
#include "platform/memory_env.h"

namespace dodu::core {
namespace {

std::unique_ptr<platform::File> FileWith(platform::Env& env, std::string_view bytes) {
  auto f = env.Open("/lines.txt", platform::OpenMode::kTruncate);
  EXPECT_TRUE(f.ok());
  EXPECT_TRUE((*f)->WriteAt(0, std::as_bytes(std::span(bytes.data(), bytes.size()))).ok());
  return std::move(f).value();
}

TEST(LineReader, StopsAtLineFeedNulOrEnd) {
  platform::MemoryEnv env;
  const std::string data = std::string("IRPF 2020\r\nsecond\0third\n\nlast", 29);
  auto file = FileWith(env, data);
  LineReader reader(*file);
  std::vector<std::string> lines;
  while (true) {
    auto line = reader.Next();
    ASSERT_TRUE(line.ok());
    if (line->empty()) break;
    lines.push_back(*line);
  }
  EXPECT_EQ(lines, (std::vector<std::string>{"IRPF 2020\r\n", std::string("second\0", 7),
                                             "third\n", "\n", "last"}));
  EXPECT_EQ(reader.offset(), data.size());
  EXPECT_EQ(reader.Next().value(), "");  // stays at the end
}

TEST(LineReader, LongLinesAndOffsets) {
  platform::MemoryEnv env;
  std::string long_line(10000, 'x');
  auto file = FileWith(env, long_line + "\nok\n");
  LineReader reader(*file);
  EXPECT_EQ(reader.Next().value(), long_line + "\n");
  EXPECT_EQ(reader.offset(), 10001u);
  EXPECT_EQ(reader.Next().value(), "ok\n");
  reader.Seek(10001);
  EXPECT_EQ(reader.Next().value(), "ok\n");
  auto empty = FileWith(env, "");
  EXPECT_EQ(LineReader(*empty).Next().value(), "");
}

TEST(LineReader, ReadErrorLeavesTheOffset) {
  platform::MemoryEnv mem;
  FileWith(mem, "one\ntwo\n");
  platform::FaultEnv env(mem);
  auto file = env.Open("/lines.txt", platform::OpenMode::kRead);
  ASSERT_TRUE(file.ok());
  LineReader reader(**file);
  EXPECT_EQ(reader.Next().value(), "one\n");
  env.FailNth(platform::FaultEnv::Op::kRead, 1);
  auto failed = reader.Next();
  EXPECT_FALSE(failed.ok());
  EXPECT_EQ(reader.offset(), 4u);
  EXPECT_EQ(reader.Next().value(), "two\n");
}

}  // namespace
}  // namespace dodu::core
