#include "store/key_expr.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/codepage.h"
#include "platform/testutil.h"
#include "store/catalogue.h"

namespace dodu::store {
namespace {

FieldSpec C(const std::string& n, int len) { return {n, FieldType::kChar, len, 0}; }
FieldSpec N(const std::string& n, int len, int dec = 0) { return {n, FieldType::kNumeric, len, dec}; }
FieldSpec D(const std::string& n) { return {n, FieldType::kDate, 8, 0}; }

const Layout kLayout = {C("CPF", 11), N("I7_0", 4), N("VALOR", 12, 2), D("DT_LC"), C("NOMECONTR", 53),
                        N("BEM_NRO", 2), N("RVAR_NRO", 2), C("DAY_TRADE", 1), C("ATV_BRASIL", 1),
                        C("HORAG", 5), N("CODERR", 2), C("I7_2", 512)};

// A record image: deletion flag, then each field's text as given (padded).
std::string Image(const std::vector<std::string>& values) {
  std::string img = " ";
  for (size_t i = 0; i < kLayout.size(); ++i) {
    std::string v = i < values.size() ? values[i] : "";
    v.resize(static_cast<size_t>(kLayout[i].length), ' ');
    img += v;
  }
  return img;
}

struct EvalCase {
  const char* expr;
  std::vector<std::string> record;
  std::string key;  // character keys
};

class KeyExprEval : public ::testing::TestWithParam<EvalCase> {};

TEST_P(KeyExprEval, GivesTheKeyBytes) {
  const EvalCase& c = GetParam();
  auto e = KeyExpr::Compile(c.expr, kLayout);
  ASSERT_OK(e);
  EXPECT_EQ(e->type(), KeyType::kCharacter);
  EXPECT_EQ(e->length(), static_cast<int>(c.key.size()));
  EXPECT_EQ(e->EvaluateImage(Image(c.record)), c.key) << c.expr;
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, KeyExprEval,
    ::testing::Values(
        EvalCase{"CPF", {"12345678901"}, "12345678901"},
        EvalCase{"cpf", {"123"}, "123        "},
        EvalCase{"CPF+str(I7_0,4)", {"12345678901", "  30"}, "12345678901  30"},
        EvalCase{"CPF+STR(I7_0,4)", {"12345678901", ""}, "12345678901   0"},
        EvalCase{"str(I7_0)", {"", "  30"}, "        30"},
        EvalCase{"STR(VALOR,12,2)", {"", "", "   -12.5"}, "      -12.50"},
        EvalCase{"STR(VALOR,4)", {"", "", "  12345.67"}, "****"},
        EvalCase{"STR(VALOR,6)", {"", "", "     2.50"}, "     3"},
        EvalCase{"STR(VALOR,6)", {"", "", "    -2.50"}, "    -3"},
        EvalCase{"STRZERO(BEM_NRO,2)+STRZERO(RVAR_NRO,2)+DAY_TRADE",
                 {"", "", "", "", "", " 3", "12", "2"}, "03122"},
        EvalCase{"STRZERO(VALOR,5)", {"", "", "   -5"}, "-0005"},
        EvalCase{"CPF+ATV_BRASIL+DTOS(DT_LC)", {"1", "", "", "20190305", "", "", "", "", "S"},
                 "1          S20190305"},
        EvalCase{"CPF+ATV_BRASIL+DTOS(DT_LC)", {"1", "", "", "", "", "", "", "", "N"},
                 "1          N        "},
        EvalCase{"HORAG+DTOC(DT_LC)", {"", "", "", "20200630", "", "", "", "", "", "09:30"}, "09:3030/06/2020"},
        EvalCase{"HORAG+DTOC(DT_LC)", {}, "       /  /    "},
        EvalCase{"UPPER(NOMECONTR)", {"", "", "", "", "jos\x82 da silva"},
                 "JOS\x90 DA SILVA" + std::string(53 - 13, ' ')},
        EvalCase{"upper(SUBSTR(NOMECONTR,2,3))", {"", "", "", "", "abcdef"}, "BCD"},
        EvalCase{"LEFT(CPF,3)+RIGHT(CPF,2)", {"12345678901"}, "12301"},
        EvalCase{"cpf + ( ATV_BRASIL )", {"1", "", "", "", "", "", "", "", "S"}, "1          S"}));

TEST(KeyExpr, NumericAndDateKeysSortAsNumbers) {
  auto num = KeyExpr::Compile("VALOR", kLayout);
  ASSERT_OK(num);
  EXPECT_EQ(num->type(), KeyType::kNumeric);
  EXPECT_EQ(num->length(), 8);
  // Values in ascending order; their keys must be in ascending byte order.
  std::vector<std::string> values = {"-1000.00", "-2.50", "-0.01", "", "0.01", "2.50", "3", "1000.00"};
  std::string prev;
  for (size_t i = 0; i < values.size(); ++i) {
    std::string key = num->EvaluateImage(Image({"", "", values[i]}));
    if (i > 0) {
      EXPECT_LT(prev, key) << values[i - 1] << " vs " << values[i];
    }
    prev = key;
  }
  EXPECT_EQ(num->EvaluateImage(Image({"", "", "  -0.00"})), num->EvaluateImage(Image({})));
  EXPECT_DOUBLE_EQ(DecodeNumericKey(num->EvaluateImage(Image({"", "", "-12.5"}))), -12.5);
  EXPECT_EQ(*NumericKeyFromText(" 2.50"), num->EvaluateImage(Image({"", "", "2.5"})));
  EXPECT_EQ(NumericKeyFromInt(3), num->EvaluateImage(Image({"", "", "3.00"})));
  EXPECT_FALSE(NumericKeyFromText("12a").ok());
  EXPECT_FALSE(NumericKeyFromText(std::string(40, '9')).ok());

  auto date = KeyExpr::Compile("dt_lc", kLayout);
  ASSERT_OK(date);
  EXPECT_EQ(date->type(), KeyType::kDate);
  std::string blank = date->EvaluateImage(Image({}));
  std::string d1 = date->EvaluateImage(Image({"", "", "", "19991231"}));
  std::string d2 = date->EvaluateImage(Image({"", "", "", "20200101"}));
  EXPECT_LT(blank, d1);
  EXPECT_LT(d1, d2);
  EXPECT_DOUBLE_EQ(DecodeNumericKey(d2), 2458850);  // Julian day of 2020-01-01
  EXPECT_EQ(*DateKeyFromDtos("20200101"), d2);

  auto month = KeyExpr::Compile("MONTH(DT_LC)", kLayout);
  ASSERT_OK(month);
  EXPECT_EQ(month->type(), KeyType::kNumeric);
  EXPECT_EQ(month->EvaluateImage(Image({"", "", "", "20200630"})), NumericKeyFromInt(6));
}

TEST(KeyExpr, LongCharacterKeysAreCutToTheIndexLimit) {
  auto e = KeyExpr::Compile("I7_2", kLayout);
  ASSERT_OK(e);
  EXPECT_EQ(e->length(), kMaxKeyLength);
  std::vector<std::string> rec(kLayout.size());
  rec[11] = std::string(300, 'x');
  EXPECT_EQ(e->EvaluateImage(Image(rec)), std::string(kMaxKeyLength, 'x'));
}

TEST(KeyExpr, RefusesWhatItCannotEvaluate) {
  for (const char* bad : {"", "NOPE", "CPF+", "CPF+VALOR", "STR(CPF,4)", "DTOS(CPF)", "UPPER(VALOR)",
                          "STR(VALOR,0)", "STR(VALOR,4,4)", "SUBSTR(CPF,10,5)", "FOO(CPF)", "CPF)",
                          "(CPF", "STR(VALOR,x)", "LEFT(CPF,12)", "STR(VALOR,300)", "STR(VALOR,30,19)"}) {
    auto e = KeyExpr::Compile(bad, kLayout);
    ASSERT_FALSE(e.ok()) << bad;
    EXPECT_EQ(e.status().code(), StatusCode::kInvalid) << bad;
  }
}

TEST(KeyExpr, UpperCaseFollowsCodePage850) {
  // Every byte UpperCp850 changes must be a lower-case letter whose upper-case
  // Unicode letter is what the changed byte stands for; ASCII letters too.
  int changed = 0;
  for (int b = 0; b < 256; ++b) {
    std::string in(1, static_cast<char>(b));
    std::string out = UpperCp850(in);
    if (out == in) continue;
    ++changed;
    char32_t lower = core::Cp850ToUnicode(static_cast<uint8_t>(b));
    char32_t upper = core::Cp850ToUnicode(static_cast<uint8_t>(out[0]));
    bool ascii = lower >= U'a' && lower <= U'z' && upper == lower - 32;
    bool latin1 = lower >= 0xE0 && lower <= 0xFE && lower != 0xF7 && upper == lower - 0x20;
    EXPECT_TRUE(ascii || latin1) << "byte " << b;
  }
  EXPECT_EQ(changed, 26 + 30);
  EXPECT_EQ(UpperCp850(core::Cp850("joão ção")), core::Cp850("JOÃO ÇÃO"));
}

// Every key the catalogue gives, for every created layout and work copy, compiles.
TEST(KeyExpr, EveryCatalogueKeyCompiles) {
  int count = 0;
  auto check = [&](const TableDef& t, const std::string& key) {
    if (key.empty() || t.layout.empty()) return;
    auto e = KeyExpr::Compile(key, t.layout);
    EXPECT_TRUE(e.ok()) << "table " << t.number << " key " << key << ": " << e.status().ToString();
    ++count;
  };
  for (const TableDef& t : AllTables()) {
    for (const IndexDef& k : t.keys) check(t, k.expression);
    check(t, t.work_copy_key);
  }
  EXPECT_GT(count, 40);
}

}  // namespace
}  // namespace dodu::store
