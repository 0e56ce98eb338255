// The catalogue: layouts of the created tables, index keys, names and modes.
#include "store/catalogue.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

namespace dodu::store {
namespace {

struct LayoutSize {
  int number;
  int fields;
  int record_length;  // deletion flag included
};

// Counted from the layout lists (generated runs expanded by hand), not from the code.
constexpr LayoutSize kSizes[] = {
    {1, 159, 1937}, {2, 81, 985},  {3, 9, 107},   {4, 40, 1010}, {5, 9, 582},   {6, 20, 288},
    {7, 209, 2601}, {8, 23, 216},  {9, 111, 1245}, {10, 5, 77},  {11, 9, 175},  {12, 93, 1115},
    {13, 11, 176},  {14, 3, 64},   {15, 72, 783}, {16, 31, 455}, {17, 9, 551},  {18, 9, 580},
    {19, 12, 122},  {20, 35, 1031}, {21, 8, 72},  {42, 37, 797}, {43, 33, 336}, {44, 8, 122},
    {50, 2, 82},    {52, 2, 516},  {53, 3, 71},   {54, 4, 66},   {56, 18, 110}, {57, 5, 127},
    {63, 29, 494},  {67, 6, 75},   {68, 4, 71},   {70, 6, 157},  {72, 5, 97},   {73, 7, 119},
    {74, 2, 69},    {77, 6, 71},   {78, 30, 975}, {80, 18, 220},
};

TEST(CatalogueTest, CreatedLayoutsHaveTheirFieldCountsAndRecordLengths) {
  for (const LayoutSize& s : kSizes) {
    SCOPED_TRACE("table " + std::to_string(s.number));
    const TableDef* t = FindTable(s.number);
    ASSERT_NE(t, nullptr);
    EXPECT_TRUE(t->created);
    EXPECT_EQ(static_cast<int>(t->layout.size()), s.fields);
    EXPECT_EQ(RecordLength(t->layout), s.record_length);
  }
  // Every created table is in the list above.
  int created = 0;
  for (const TableDef& t : AllTables()) created += t.created ? 1 : 0;
  EXPECT_EQ(created, static_cast<int>(std::size(kSizes)));
}

TEST(CatalogueTest, FieldNamesAreUniqueUpperCaseAndShort) {
  for (const TableDef& t : AllTables()) {
    SCOPED_TRACE("table " + std::to_string(t.number));
    std::set<std::string> seen;
    for (const FieldSpec& f : t.layout) {
      EXPECT_TRUE(seen.insert(f.name).second) << "duplicate " << f.name;
      EXPECT_LE(f.name.size(), 10u) << f.name;
      for (char c : f.name) {
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(c)) ||
                    std::isdigit(static_cast<unsigned char>(c)) || c == '_')
            << f.name;
      }
    }
  }
}

TEST(CatalogueTest, GeneratedRunsFollowTheirRules) {
  const Layout& l12 = FindTable(12)->layout;
  EXPECT_EQ(l12[2].name, "I2_101");
  EXPECT_EQ(l12[3].name, "I2_201");
  EXPECT_EQ(l12[9].name, "I2_102");
  EXPECT_EQ(l12.back().name, "I2_713");
  EXPECT_NE(FindField(l12, "I2_713"), nullptr);
  EXPECT_EQ(FindField(l12, "I2_714"), nullptr);
  EXPECT_EQ(FindField(l12, "I2_813"), nullptr);

  const Layout& l01 = FindTable(1)->layout;
  EXPECT_EQ(l01[1].name, "I3_01");
  EXPECT_EQ(l01[2].name, "I4_01");
  EXPECT_EQ(l01[24].name, "I4_12");
  EXPECT_EQ(l01[25].name, "I3_13");
  EXPECT_EQ(l01[36].name, "I3_24");
  EXPECT_NE(FindField(l01, "I13_51"), nullptr);
  EXPECT_EQ(FindField(l01, "I4_13"), nullptr);

  const Layout& l02 = FindTable(2)->layout;
  const FieldSpec* new1 = FindField(l02, "NEW1");
  ASSERT_NE(new1, nullptr);
  EXPECT_EQ(new1[1].name, "I1_401");
  EXPECT_EQ(new1[2].name, "I1_501");
  EXPECT_EQ(new1[3].name, "I1_601");
  EXPECT_EQ(l02.back().name, "I1_612");

  const Layout& l07 = FindTable(7)->layout;
  const FieldSpec* mov = FindField(l07, "MOV_ACAO");
  ASSERT_NE(mov, nullptr);
  EXPECT_EQ(mov[1].name, "REC_MES01");
  EXPECT_EQ(mov[8], (FieldSpec{"VAL_USA01", FieldType::kNumeric, 10, 4}));
  EXPECT_EQ(l07.back().name, "VAL_A3112");

  const Layout& l15 = FindTable(15)->layout;
  EXPECT_EQ(l15[2].name, "I3_01OR");
  EXPECT_EQ(l15[3].name, "I3_01OD");
  EXPECT_EQ(*FindField(l15, "I7_5V1"), (FieldSpec{"I7_5V1", FieldType::kNumeric, 6, 0}));
  EXPECT_EQ(FindField(l15, "I7_V1")->type, FieldType::kChar);

  const Layout& l43 = FindTable(43)->layout;
  EXPECT_EQ(l43[0], (FieldSpec{"VCTO1", FieldType::kDate, 8, 0}));
  EXPECT_EQ(l43[7].name, "VCTO8");

  const Layout& l06 = FindTable(6)->layout;
  EXPECT_EQ(l06.back(), (FieldSpec{"I6_412", FieldType::kNumeric, 14, 2}));
}

// The field names an index expression refers to: identifiers not followed by "(".
std::vector<std::string> ReferencedFields(const std::string& expr) {
  std::vector<std::string> out;
  size_t i = 0;
  while (i < expr.size()) {
    unsigned char c = static_cast<unsigned char>(expr[i]);
    if (std::isalpha(c) || c == '_') {
      size_t j = i;
      while (j < expr.size() &&
             (std::isalnum(static_cast<unsigned char>(expr[j])) || expr[j] == '_')) {
        ++j;
      }
      if (j >= expr.size() || expr[j] != '(') out.push_back(expr.substr(i, j - i));
      i = j;
    } else {
      ++i;
    }
  }
  return out;
}

TEST(CatalogueTest, EveryKeyExpressionNamesFieldsOfItsTable) {
  for (int number = 1; number <= 94; ++number) {
    const TableDef* t = FindTable(number);
    if (t == nullptr) continue;
    SCOPED_TRACE("table " + std::to_string(number));
    EXPECT_LE(t->keys.size(), 3u);
    for (const IndexDef& k : t->keys) {
      std::vector<std::string> fields = ReferencedFields(k.expression);
      EXPECT_FALSE(fields.empty()) << k.expression;
      for (const std::string& f : fields) {
        EXPECT_NE(FindField(t->layout, f), nullptr) << f << " in " << k.expression;
      }
    }
  }
}

TEST(CatalogueTest, FileAndIndexNames) {
  NameContext ctx;
  ctx.terminal = "03";
  struct Case {
    int number;
    std::string file;
    std::vector<std::string> indexes;
  };
  const Case cases[] = {
      {9, "IMP0920", {"IMP0920", "IMP0920B", "IMP0920C"}},
      {20, "IMP2020", {"IMP2020", "IMP2020B"}},
      {32, "TMP_1203", {"TMP_1203"}},
      {29, "TMP_0903", {"TMP_0903"}},
      {50, "DIRET03", {"DIRET03"}},
      {68, "DETALH03", {}},
      {58, "OCUPACAO", {"OCUPACAO", "OCUPACAB"}},
      {55, "BANCOS", {"BANCOS", "BANCOSB", "BANCOSC"}},
      {75, "IDOCIDAD", {"IDOCIDAD"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("table " + std::to_string(c.number));
    const TableDef* t = FindTable(c.number);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(TableFileName(*t, ctx), c.file);
    EXPECT_EQ(IndexFileNames(*t, ctx), c.indexes);
    EXPECT_EQ(FindTableByFileName(c.file, ctx), t);
  }
  ctx.declaration_option = 44;
  EXPECT_EQ(TableFileName(*FindTable(75), ctx), "ECACIDAD");
  EXPECT_EQ(FindTableByFileName("c:/x/idocidad.dbf", ctx), FindTable(75));
  EXPECT_EQ(FindTableByFileName("IMP0919", ctx), nullptr);
}

TEST(CatalogueTest, WorkCopies) {
  const TableDef* w12 = FindTable(32);
  ASSERT_NE(w12, nullptr);
  EXPECT_EQ(w12->layout, FindTable(12)->layout);
  EXPECT_EQ(w12->folder, Folder::kWork);
  ASSERT_EQ(w12->keys.size(), 1u);
  EXPECT_EQ(w12->keys[0].expression, "cpf");
  EXPECT_EQ(FindTable(24)->keys[0].expression, "str(I7_0)");
  EXPECT_EQ(FindTable(27)->keys[0].expression, "STRZERO(BEM_NRO,2)+STRZERO(RVAR_NRO,2)+DAY_TRADE");
  EXPECT_EQ(FindTable(33), nullptr);  // table 13 has no work copy
  EXPECT_EQ(FindWorkCopy(13), nullptr);
  // Area 21 is both table 21 and, while a declaration is loaded, table 1's copy.
  EXPECT_EQ(FindTable(21)->folder, Folder::kData);
  const TableDef* w1 = FindWorkCopy(1);
  ASSERT_NE(w1, nullptr);
  EXPECT_EQ(w1->number, 21);
  EXPECT_EQ(TableFileName(*w1, NameContext{"20", "07", 0}), "TMP_0107");
  EXPECT_EQ(FindTableByFileName("TMP_0107", NameContext{"20", "07", 0}), w1);
  EXPECT_EQ(FindTable(71), nullptr);
  EXPECT_EQ(FindTable(0), nullptr);
}

TEST(CatalogueTest, OpenModesAndFolders) {
  const std::set<int> exclusive = {44, 50, 68, 70, 78, 80};
  const std::set<int> caller = {63, 66, 67, 74, 77};
  for (const TableDef& t : AllTables()) {
    SCOPED_TRACE("table " + std::to_string(t.number));
    if (t.number <= 21) {
      EXPECT_EQ(t.folder, Folder::kData);
      EXPECT_EQ(t.mode, ShareMode::kCaller);
      EXPECT_EQ(t.layout[0].name, "CPF");
      continue;
    }
    EXPECT_EQ(t.folder, Folder::kInstallation);
    ShareMode want = exclusive.count(t.number)  ? ShareMode::kExclusive
                     : caller.count(t.number) ? ShareMode::kCaller
                                              : ShareMode::kShared;
    EXPECT_EQ(t.mode, want);
  }
  EXPECT_TRUE(FindTable(45)->has_memo);
  EXPECT_FALSE(FindTable(46)->created);
}

}  // namespace
}  // namespace dodu::store
