#include "screen/edit_clipboard.h"

#include <gtest/gtest.h>

#include "core/codepage.h"

namespace dodu::screen {
namespace {

using core::Date;
using core::Decimal;

struct PasteCase {
  const char* label;
  std::string clip;  // cp850, as the terminal hands it over
  EditKind kind;
  const char* picture;
  int width;
  std::optional<EditValue> expected;
};

// Fault: pasted text went into the field as it came: control characters and
// all, longer than the field, in whatever code page the clipboard held.
TEST(EditClipboard, PasteIsConvertedToTheFieldsType) {
  const PasteCase cases[] = {
      {"text padded", "abc", EditKind::kText, "", 6, EditValue(std::string("abc   "))},
      {"text cut to the width", "abcdefghij", EditKind::kText, "", 4,
       EditValue(std::string("abcd"))},
      {"controls dropped", "a\tb\x01" "c", EditKind::kText, "", 5,
       EditValue(std::string("abc  "))},
      {"first line only", "linha 1\r\nlinha 2", EditKind::kText, "", 10,
       EditValue(std::string("linha 1   "))},
      {"cpf with punctuation", "123.456.789-09", EditKind::kText, "@R 999.999.999-99", 11,
       EditValue(std::string("12345678909"))},
      {"cpf digits", "12345678909", EditKind::kText, "@R 999.999.999-99", 11,
       EditValue(std::string("12345678909"))},
      {"empty changes nothing", "", EditKind::kText, "", 5, std::nullopt},
      {"only controls change nothing", "\r\n", EditKind::kText, "", 5, std::nullopt},
      {"number brazilian", "1.234,56", EditKind::kNumber, "", 0,
       EditValue(*Decimal::Parse("1234.56"))},
      {"number with point", "1234.56", EditKind::kNumber, "", 0,
       EditValue(*Decimal::Parse("1234.56"))},
      {"number with currency", "R$ 1.234.567", EditKind::kNumber, "", 0,
       EditValue(*Decimal::Parse("1234567"))},
      {"negative number", "-12,5", EditKind::kNumber, "", 0,
       EditValue(*Decimal::Parse("-12.5"))},
      {"not a number", "abc", EditKind::kNumber, "", 0, std::nullopt},
      {"date", " 30/06/2020 ", EditKind::kDate, "", 0,
       EditValue(*Date::FromYmd(2020, 6, 30))},
      {"two-digit year", "05/03/19", EditKind::kDate, "", 0,
       EditValue(*Date::FromYmd(1919, 3, 5))},
      {"not a date", "31/02/2020", EditKind::kDate, "", 0, std::nullopt},
      {"logical", "Sim", EditKind::kLogical, "", 0, EditValue(true)},
  };
  for (const PasteCase& c : cases) {
    SCOPED_TRACE(c.label);
    std::optional<EditValue> v = PasteValue(c.clip, c.kind, c.picture, c.width);
    ASSERT_EQ(v.has_value(), c.expected.has_value());
    if (v) {
      EXPECT_TRUE(*v == *c.expected);
    }
  }
}

TEST(EditClipboard, Utf8ClipboardBecomesCp850WithQuestionMarks) {
  EXPECT_EQ(ClipboardFromUtf8("São €5"), core::Cp850("São ?5"));
  std::optional<EditValue> v = PasteValue(ClipboardFromUtf8("Ação ✓"), EditKind::kText, "", 8);
  ASSERT_TRUE(v.has_value());
  EXPECT_TRUE(*v == EditValue(core::Cp850("Ação ?  ")));
}

TEST(EditClipboard, CopyText) {
  EXPECT_EQ(CopyText(std::string("abc  ")), "abc");
  EXPECT_EQ(CopyText(*Decimal::Parse("1234.50")), "1234,5");
  EXPECT_EQ(CopyText(*Date::FromYmd(2020, 6, 30)), "30/06/2020");
  EXPECT_EQ(CopyText(true), "S");
}

}  // namespace
}  // namespace dodu::screen
