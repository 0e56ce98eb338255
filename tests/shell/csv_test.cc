#include "shell/csv.h"

#include <gtest/gtest.h>

#include "platform/env.h"
#include "platform/memory_env.h"

namespace dodu::shell {
namespace {

using Rows = std::vector<std::vector<std::string>>;

struct GoodCase {
  const char* name;
  std::string text;
  std::vector<std::string> header;
  Rows rows;
};

TEST(CsvTest, ParsesTheShapesTheListsUse) {
  const GoodCase cases[] = {
      {"plain", "a,b\n1,2\n3,4\n", {"a", "b"}, {{"1", "2"}, {"3", "4"}}},
      {"no final line end", "a,b\n1,2", {"a", "b"}, {{"1", "2"}}},
      {"crlf", "a,b\r\n1,2\r\n", {"a", "b"}, {{"1", "2"}}},
      {"leading zeros kept", "codigo,d\n001,x\n", {"codigo", "d"}, {{"001", "x"}}},
      {"quoted comma", "a,b\n\"x, y\",2\n", {"a", "b"}, {{"x, y", "2"}}},
      {"doubled quote", "a,b\n\"d'\"\"a\"\"\",2\n", {"a", "b"}, {{"d'\"a\"", "2"}}},
      {"quoted line end", "a,b\n\"l1\nl2\",2\n", {"a", "b"}, {{"l1\nl2", "2"}}},
      {"empty fields", "a,b,c\n,,\n", {"a", "b", "c"}, {{"", "", ""}}},
      {"empty quoted field", "a\n\"\"\n", {"a"}, {{""}}},
      {"empty lines skipped", "a,b\n\n1,2\n\n", {"a", "b"}, {{"1", "2"}}},
      {"utf-8 kept", "nome\nSÃO PAULO\n", {"nome"}, {{"SÃO PAULO"}}},
      {"byte-order mark", "\xEF\xBB\xBF" "a\n1\n", {"a"}, {{"1"}}},
      {"header only", "a,b\n", {"a", "b"}, {}},
  };
  for (const GoodCase& c : cases) {
    Result<CsvTable> t = ParseCsv(c.text, "t.csv");
    ASSERT_TRUE(t.ok()) << c.name << ": " << t.status().ToString();
    EXPECT_EQ(t->header, c.header) << c.name;
    EXPECT_EQ(t->rows, c.rows) << c.name;
  }
}

TEST(CsvTest, RefusesDamagedTextNamingTheLine) {
  const struct {
    const char* name;
    std::string text;
    const char* line;
  } cases[] = {
      {"empty", "", "line 1"},
      {"only empty lines", "\n\n", "line 1"},
      {"short row", "a,b\n1,2\n3\n", "line 3"},
      {"long row", "a,b\n1,2,3\n", "line 2"},
      {"unclosed quote", "a,b\n1,\"x\n", "line 2"},
      {"text after quote", "a,b\n\"x\"y,2\n", "line 2"},
      {"quote inside field", "a,b\nx\"y,2\n", "line 2"},
      {"empty column name", "a,,c\n", "line 1"},
      {"repeated column", "a,a\n", "line 1"},
      {"cut UTF-8", "nome\nS\xC3", "line 2"},
      {"latin-1 byte", "nome\nS\xC3O\n", "line 2"},
  };
  for (const auto& c : cases) {
    Result<CsvTable> t = ParseCsv(c.text, "t.csv");
    ASSERT_FALSE(t.ok()) << c.name;
    EXPECT_TRUE(t.status().IsCorrupt()) << c.name;
    EXPECT_NE(t.status().message().find(std::string("t.csv: ") + c.line), std::string::npos)
        << c.name << ": " << t.status().message();
  }
}

TEST(CsvTest, ColumnFindsByExactName) {
  Result<CsvTable> t = ParseCsv("tom,ibge,nome\n", "t.csv");
  ASSERT_TRUE(t.ok());
  EXPECT_EQ(t->Column("nome"), 2u);
  EXPECT_EQ(t->Column("Nome"), std::nullopt);
}

// Every prefix of a list either fails as damaged or parses into rows that are
// the list's own first rows (the last one possibly cut: a prefix that ends on
// a field boundary is indistinguishable from a shorter row; one cut inside the
// header gives a shorter header and no rows).
TEST(CsvTest, EveryPrefixFailsCleanlyOrParsesTheFirstRows) {
  const std::string text =
      "codigo,descricao,ficha\n"
      "01,Instrução no Brasil,pagamentos\n"
      "21,\"Hospitais, clínicas e laboratórios no Brasil\",pagamentos\n"
      "40,\"Estatuto \"\"ECA\"\"\",doacoes\r\n"
      "99,Outros,pagamentos\n";
  Result<CsvTable> whole = ParseCsv(text, "p.csv");
  ASSERT_TRUE(whole.ok());
  ASSERT_EQ(whole->rows.size(), 4u);
  for (size_t n = 0; n <= text.size(); ++n) {
    Result<CsvTable> t = ParseCsv(std::string_view(text).substr(0, n), "p.csv");
    if (!t.ok()) {
      EXPECT_TRUE(t.status().IsCorrupt()) << n << ": " << t.status().ToString();
      continue;
    }
    if (t->header != whole->header) {  // cut inside the header row
      EXPECT_TRUE(t->rows.empty()) << n;
      continue;
    }
    ASSERT_LE(t->rows.size(), whole->rows.size()) << n;
    for (size_t i = 0; i + 1 < t->rows.size(); ++i) EXPECT_EQ(t->rows[i], whole->rows[i]) << n;
  }
}

TEST(CsvTest, ReadsAFileAndSaysWhenItIsMissing) {
  platform::MemoryEnv env;
  ASSERT_TRUE(platform::WriteFileAtomic(env, "/l.csv", "a\n1\n").ok());
  Result<CsvTable> t = ReadCsvFile(env, "/l.csv");
  ASSERT_TRUE(t.ok()) << t.status().ToString();
  EXPECT_EQ(t->rows, (Rows{{"1"}}));
  EXPECT_TRUE(ReadCsvFile(env, "/none.csv").status().IsNotFound());
}

}  // namespace
}  // namespace dodu::shell
