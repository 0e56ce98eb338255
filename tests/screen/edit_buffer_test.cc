#include "screen/edit_buffer.h"

#include <gtest/gtest.h>

#include <ostream>

#include "core/codepage.h"
#include "screen/edit_testutil.h"

namespace dodu::screen {
namespace {

using core::Date;
using core::Decimal;
using testing::Keys;

EditValue Num(const char* text) { return *Decimal::Parse(text); }
EditValue Txt(const char* text) { return std::string(text); }

struct KeyCase {
  const char* label;
  EditValue start;
  const char* picture;
  const char* keys;
  const char* text;  // Text() after the keys
  int cursor;        // Cursor() after the keys
  EditEffect last;   // effect of the last key
};

std::ostream& operator<<(std::ostream& os, const KeyCase& c) { return os << c.label; }

class EditKeyTable : public ::testing::TestWithParam<KeyCase> {};

TEST_P(EditKeyTable, KeyEffect) {
  const KeyCase& c = GetParam();
  auto buf = EditBuffer::Create(c.start, c.picture);
  ASSERT_TRUE(buf.ok()) << buf.status().ToString();
  EditEffect last = EditEffect::kNotMine;
  for (const Key& k : Keys(c.keys)) last = buf->Handle(k);
  EXPECT_EQ(buf->Text(), c.text);
  EXPECT_EQ(buf->Cursor(), c.cursor);
  EXPECT_EQ(EditEffectName(last), std::string(EditEffectName(c.last)));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, EditKeyTable,
    ::testing::Values(
        KeyCase{"overwrite", Txt("abcde"), "", "XY", "XYcde", 2, EditEffect::kChanged},
        KeyCase{"insert shifts right", Txt("abc  "), "", "{Ins}XY", "XYabc", 2,
                EditEffect::kChanged},
        KeyCase{"insert refused when full", Txt("abcde"), "", "{Ins}X", "abcde", 0,
                EditEffect::kRefused},
        KeyCase{"right then backspace", Txt("abcde"), "", "{Right}{Right}{Backspace}", "acde ",
                1, EditEffect::kChanged},
        KeyCase{"backspace at start refused", Txt("abc"), "", "{Backspace}", "abc", 0,
                EditEffect::kRefused},
        KeyCase{"del under cursor", Txt("abcde"), "", "{Right}{Del}", "acde ", 1,
                EditEffect::kChanged},
        KeyCase{"ctrl y clears to end", Txt("abcde"), "", "{Right}{Right}{Ctrl Y}", "ab   ", 2,
                EditEffect::kChanged},
        KeyCase{"end goes past last typed", Txt("ab   "), "", "{End}", "ab   ", 2,
                EditEffect::kMoved},
        KeyCase{"end on a full field stays on the last", Txt("abc"), "", "{End}", "abc", 2,
                EditEffect::kMoved},
        KeyCase{"home", Txt("abc"), "", "{End}{Home}", "abc", 0, EditEffect::kMoved},
        KeyCase{"left at start refused", Txt("abc"), "", "{Left}", "abc", 0,
                EditEffect::kRefused},
        KeyCase{"filling the last position", Txt("ab"), "", "xy", "xy", 1, EditEffect::kFilled},
        // Upper-casing is ASCII only, as everywhere in the system.
        KeyCase{"upper case function", Txt("   "), "@!", "aç1", "A\x87" "1", 2,
                EditEffect::kFilled},
        KeyCase{"upper case template", Txt("   "), "!XX", "abc", "Abc", 2, EditEffect::kFilled},
        KeyCase{"digits only", Txt("   "), "999", "a1", "1  ", 1, EditEffect::kChanged},
        KeyCase{"letters only", Txt("   "), "AAA", "1a", "a  ", 1, EditEffect::kChanged},
        KeyCase{"@K clears on the first key", Txt("abcde"), "@K", "x", "x    ", 1,
                EditEffect::kChanged},
        KeyCase{"@K not after a move", Txt("abcde"), "@K", "{Right}x", "axcde", 2,
                EditEffect::kChanged},
        KeyCase{"@R skips literals", Txt("           "), "@R 999.999.999-99", "1234", "123.4  .   -  ",
                5, EditEffect::kChanged},
        KeyCase{"@R left over a literal", Txt("12345678909"), "@R 999.999.999-99", "{Right}{Right}{Right}{Left}",
                "123.456.789-09", 2, EditEffect::kMoved},
        KeyCase{"@R delete stops at the literal", Txt("12345678909"), "@R 999.999.999-99",
                "{Right}{Right}{Right}{Right}{Del}", "123.46 .789-09", 5, EditEffect::kChanged},
        KeyCase{"number clears on first digit", Num("1234.5"), "@E 99,999,999.99", "7",
                "7 .   .   ,  ", 1, EditEffect::kChanged},
        KeyCase{"number decimal key right-justifies", Num("0"), "@E 99,999,999.99", "1234,",
                "     1.234,  ", 11, EditEffect::kChanged},
        KeyCase{"number decimal point works too", Num("0"), "@E 99,999,999.99", "12.5",
                "        12,5 ", 12, EditEffect::kChanged},
        KeyCase{"number without decimals refuses the point", Num("0"), "999", "1,", "1  ", 1,
                EditEffect::kRefused},
        KeyCase{"number refuses letters", Num("0"), "999", "a", "  0", 0, EditEffect::kRefused},
        KeyCase{"date skips the slashes", EditValue(Date()), "", "3006", "30/06/    ", 6,
                EditEffect::kChanged},
        KeyCase{"date refuses letters", EditValue(Date()), "", "x", "  /  /    ", 0,
                EditEffect::kRefused},
        KeyCase{"logical takes S for yes", EditValue(false), "Y", "s", "Y", 0, EditEffect::kFilled},
        KeyCase{"logical refuses other letters", EditValue(false), "L", "q", "F", 0,
                EditEffect::kRefused},
        KeyCase{"enter is the form's", Txt("ab"), "", "{Enter}", "ab", 0, EditEffect::kNotMine},
        KeyCase{"ctrl u undoes", Txt("ab"), "", "xy{Ctrl U}", "ab", 0, EditEffect::kChanged}),
    [](const ::testing::TestParamInfo<KeyCase>& info) {
      std::string name;
      for (const char* p = info.param.label; *p; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
      return name;
    });

struct ValueCase {
  EditValue start;
  const char* picture;
  const char* keys;
  EditValue expected;
};

TEST(EditBufferValue, TypedValuesReadBack) {
  const ValueCase cases[] = {
      {Num("0"), "@Ez 99,999,999.99", "1234,5", Num("1234.50")},
      {Num("0"), "@Ez 99,999,999.99", "1234", Num("1234")},
      {Num("0"), "@Ez 99,999,999.99", "", Num("0")},  // blank zero left untouched
      {Num("55"), "@Ez 99,999,999.99", "-12,3", Num("-12.30")},
      {Num("10"), "@Ez 99,999,999.99", "{Right}{Right}", Num("10")},
      {Num("0"), "9999.9999", "1.2345", Num("1.2345")},
      {Txt("           "), "@R 999.999.999-99", "12345678909", Txt("12345678909")},
      {Txt("              "), "@R 99.999.999/9999-99", "11222333000181",
       Txt("11222333000181")},
      {EditValue(Date()), "", "30062020", EditValue(*Date::FromYmd(2020, 6, 30))},
      {EditValue(Date()), "", "050319", EditValue(*Date::FromYmd(1919, 3, 5))},
      {EditValue(Date()), "", "", EditValue(Date())},
      {Txt("     "), "", "ab", Txt("ab   ")},
      {EditValue(false), "Y", "S", EditValue(true)},
  };
  for (const ValueCase& c : cases) {
    SCOPED_TRACE(std::string(c.picture) + " typed " + c.keys);
    auto buf = EditBuffer::Create(c.start, c.picture);
    ASSERT_TRUE(buf.ok()) << buf.status().ToString();
    for (const Key& k : Keys(c.keys)) buf->Handle(k);
    auto v = buf->Value();
    ASSERT_TRUE(v.ok()) << v.status().ToString();
    EXPECT_TRUE(*v == c.expected) << "text '" << buf->Text() << "'";
  }
}

TEST(EditBufferValue, ImpossibleDateIsInvalid) {
  auto buf = EditBuffer::Create(EditValue(Date()), "");
  ASSERT_TRUE(buf.ok());
  for (const Key& k : Keys("31022020")) buf->Handle(k);
  EXPECT_EQ(buf->Value().status().code(), StatusCode::kInvalid);
}

TEST(EditBufferValue, ConfirmModeRefusesPastTheEnd) {
  auto buf = EditBuffer::Create(Txt("ab"), "", 0, EditOptions{.confirm = true});
  ASSERT_TRUE(buf.ok());
  EXPECT_EQ(buf->Handle(Key::Char('x')), EditEffect::kChanged);
  EXPECT_EQ(buf->Handle(Key::Char('y')), EditEffect::kChanged);
  EXPECT_EQ(buf->Handle(Key::Char('z')), EditEffect::kRefused);
  EXPECT_EQ(buf->Text(), "xy");
  // Backspace takes back the last typed character in place.
  EXPECT_EQ(buf->Handle(Key::Named(KeyType::kBackspace)), EditEffect::kChanged);
  EXPECT_EQ(buf->Text(), "x ");
}

TEST(EditBufferView, ScrollsWithTheCursor) {
  auto buf = EditBuffer::Create(Txt("abcdefghij"), "@S4");
  ASSERT_TRUE(buf.ok());
  EXPECT_EQ(buf->VisibleWidth(), 4);
  EXPECT_EQ(buf->Visible(), "abcd");
  for (int i = 0; i < 5; ++i) buf->Handle(Key::Named(KeyType::kRight));
  EXPECT_EQ(buf->Visible(), "cdef");
  EXPECT_EQ(buf->CursorColumn(), 3);
  buf->Handle(Key::Named(KeyType::kHome));
  EXPECT_EQ(buf->Visible(), "abcd");
  EXPECT_EQ(buf->CursorColumn(), 0);
}

TEST(EditBufferView, DisplayOfInactiveFields) {
  EXPECT_EQ(*FieldDisplay(Num("0"), "@Ez 99,999,999.99"), "             ");
  EXPECT_EQ(*FieldDisplay(Num("1234.5"), "@Ez 99,999,999.99"), "     1.234,50");
  EXPECT_EQ(*FieldDisplay(Num("-5"), "@E 99,999.99"), "    -5,00");
  EXPECT_EQ(*FieldDisplay(Num("12345678.9"), "@E 99,999,999.99"), "12.345.678,90");
  EXPECT_EQ(*FieldDisplay(Num("7"), "@L 999"), "007");
  EXPECT_EQ(*FieldDisplay(Txt("12345678909"), "@R 999.999.999-99"), "123.456.789-09");
  EXPECT_EQ(*FieldDisplay(Txt("abcdefgh"), "@S3"), "abc");
  EXPECT_EQ(*FieldDisplay(EditValue(*Date::FromYmd(2020, 6, 30)), "@D"), "30/06/2020");
  EXPECT_EQ(FieldDisplay(Num("123456789"), "@E 99,999,999.99").status().code(),
            StatusCode::kInvalid);
}

TEST(EditBufferValue, SetValueReplacesTheText) {
  auto buf = EditBuffer::Create(Num("0"), "@E 99,999.99");
  ASSERT_TRUE(buf.ok());
  ASSERT_TRUE(buf->SetValue(Num("30")).ok());
  EXPECT_EQ(buf->Text(), "    30,00");
  EXPECT_TRUE(buf->changed());
  // The first key no longer clears: the value was handed in on purpose.
  buf->Handle(Key::Named(KeyType::kEnd));
  EXPECT_EQ(buf->SetValue(Num("1000000")).code(), StatusCode::kInvalid);
  EXPECT_EQ(buf->Text(), "    30,00");
}

}  // namespace
}  // namespace dodu::screen
