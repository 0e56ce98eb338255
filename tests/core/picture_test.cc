#include "core/picture.h"

#include <gtest/gtest.h>

namespace dodu::core {
namespace {

using namespace literals;

Decimal D(std::string_view s) { return Decimal::Parse(s).value(); }

TEST(PictureParse, FunctionsAndTemplate) {
  Picture p = Picture::Parse("@Ez 999,999.99");
  EXPECT_TRUE(p.functions().european);
  EXPECT_TRUE(p.functions().blank_zero);
  EXPECT_FALSE(p.functions().raw_literals);
  EXPECT_EQ(p.template_text(), "999,999.99");
  EXPECT_EQ(Picture::Parse("@s18").functions().scroll_width, 18);
  EXPECT_FALSE(Picture::Parse("@s18").has_template());
  EXPECT_TRUE(Picture::Parse("@KS").functions().clear_on_key);
  EXPECT_EQ(Picture::Parse("@KS").functions().scroll_width, 0);
  EXPECT_EQ(Picture::Parse("999.99").template_text(), "999.99");
  EXPECT_TRUE(Picture::Parse("@r 99999-999").functions().raw_literals);
  EXPECT_TRUE(Picture::Parse("@!").functions().upper);
}

TEST(PictureNumber, Formats) {
  struct Case {
    const char* picture;
    const char* value;
    const char* display;
  } cases[] = {
      {"@E 999,999,999.99", "1234567.89", "  1.234.567,89"},
      {"@Ez 999,999,999.99", "1234567.89", "  1.234.567,89"},
      {"@Ez 999,999,999.99", "0", "              "},
      {"@Ez 999,999,999.99", "0.004", "              "},  // zero once rounded
      {"@E 999,999,999.99", "0", "          0,00"},
      {"@E 999,999,999.99", "-1234.5", "     -1.234,50"},
      {"@E 999,999,999.99", "-123456.78", "   -123.456,78"},
      {"@E 999,999,999.99", "-0.5", "         -0,50"},
      {"@E 999,999,999.99", "999999999.99", "999.999.999,99"},
      {"@E 999,999,999.99", "1000000000", "***********,**"},
      {"@E 999,999,999.99", "-999999999.99", "***********,**"},  // no room for the sign
      {"@E 999,999,999.99", "-99999999.99", "-99.999.999,99"},
      {"@E 999,999,999.99", "12.345", "         12,35"},
      {"999,999.99", "1234.5", "  1,234.50"},
      {"999.99", "12345", "***.**"},
      {"@Z 99", "0", "  "},
      {"@z 99", "7", " 7"},
      {"@ 99", "7", " 7"},
      {"@z 999.999999", "1.5", "  1.500000"},
      {"@E 99.99%", "12.5", "12,50%"},
      {"@z 99999.99%", "3", "    3.00%"},
      {"@L 99999", "42", "00042"},
      {"@L 99999", "-42", "-0042"},
      {"@B 99999", "42", "42   "},
      {"$$$9.99", "5", "$$$5.00"},
      {"9999", "-12", " -12"},
      {"9999", "2.5", "   3"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Transform(D(c.value), c.picture), c.display) << c.picture << " " << c.value;
  }
}

TEST(PictureNumber, NoTemplateUsesTheFieldShape) {
  EXPECT_EQ(Transform(D("12.5"), "@Z", NumberShape{8, 2}), "   12.50");
  EXPECT_EQ(Transform(D("0"), "@Z", NumberShape{8, 2}), "        ");
  EXPECT_EQ(Transform(D("12.5"), "@E", NumberShape{6, 1}), "  12,5");
  EXPECT_EQ(Transform(D("3"), "", NumberShape{3, 0}), "  3");
}

TEST(PictureNumber, Unformat) {
  struct Case {
    const char* picture;
    const char* display;
    std::optional<Decimal> value;
  } cases[] = {
      {"@Ez 99,999,999.99", "1234,5", D("1234.50")},
      {"@Ez 99,999,999.99", "  1.234.567,89", D("1234567.89")},
      {"@Ez 99,999,999.99", "           ", Decimal()},
      {"@Ez 99,999,999.99", "-12,34", D("-12.34")},
      {"@Ez 99,999,999.99", "  -12,34", D("-12.34")},
      {"@Ez 99,999,999.99", "12,345", std::nullopt},         // more decimals than the mask
      {"@Ez 99,999,999.99", "123456789,00", std::nullopt},   // more digits than the mask
      {"@Ez 99,999,999.99", "-99999999,99", std::nullopt},   // no room for the sign
      {"@Ez 99,999,999.99", "0099,00", D("99")},
      {"@Ez 99,999,999.99", "12a", std::nullopt},
      {"@Ez 99,999,999.99", "1,2,3", std::nullopt},
      {"@Ez 99,999,999.99", "12-", std::nullopt},
      {"@Ez 99,999,999.99", "-", std::nullopt},
      {"999,999.99", "1,234.50", D("1234.5")},
      {"@E 99.99%", "12,50%", D("12.5")},
      {"@z 99", " 7", D("7")},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Picture::Parse(c.picture).UnformatNumber(c.display), c.value)
        << c.picture << " [" << c.display << "]";
  }
}

TEST(PictureNumber, FormatThenUnformatRoundTrips) {
  Picture p = Picture::Parse("@E 999,999,999.99");
  for (const char* v : {"0", "0.01", "-0.01", "1234567.89", "-99999999.99", "999999999.99"}) {
    EXPECT_EQ(p.UnformatNumber(p.FormatNumber(D(v))), D(v)) << v;
  }
}

TEST(PictureText, Formats) {
  struct Case {
    const char* picture;
    const char* value;
    const char* display;
  } cases[] = {
      {"@R 999.999.999-99", "11144477735", "111.444.777-35"},
      {"@r 999.999.999-99", "111444777", "111.444.777-  "},
      {"@R 99.999.999/9999-99", "11222333000181", "11.222.333/0001-81"},
      {"@R 999.99999.99-9", "12345678901", "123.45678.90-1"},
      {"@R (99)!9999-9999", "11a23456789", "(11)A2345-6789"},
      {"@!", "sao paulo", "SAO PAULO"},
      {"@s5", "abcdefgh", "abcde"},
      {"@s5", "ab", "ab   "},
      {"!!!", "abcd", "ABC"},
      {"XX-XX", "abcde", "ab-de"},  // without @R the literal takes the value's position
      {"", "as is", "as is"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Transform(std::string_view(c.value), c.picture), c.display) << c.picture;
  }
}

TEST(PictureText, UnformatDropsRawLiterals) {
  struct Case {
    const char* picture;
    const char* display;
    const char* value;
  } cases[] = {
      {"@R 999.999.999-99", "111.444.777-35", "11144477735"},
      {"@R 999.999.999-99", "11144477735", "11144477735"},  // typed without literals
      {"@R 99.999.999/9999-99", "11.222.333/0001-81", "11222333000181"},
      {"@R !!!!!-!", "abcde-f", "ABCDEF"},
      {"@!", "Joao", "JOAO"},
      {"XX-XX", "ab-de", "ab-de"},
      {"@s18", "111.444.777-35    ", "111.444.777-35    "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Picture::Parse(c.picture).UnformatText(c.display), c.value) << c.picture;
  }
}

TEST(PictureOther, DatesAndLogicals) {
  Date d = Date::FromYmd(2020, 6, 30).value();
  EXPECT_EQ(Transform(d, "@D"), "30/06/2020");
  EXPECT_EQ(Transform(Date(), ""), "  /  /    ");
  Picture p = Picture::Parse("@D");
  EXPECT_EQ(p.UnformatDate("30/06/2020"), d);
  EXPECT_EQ(p.UnformatDate("  /  /    "), Date());
  EXPECT_FALSE(p.UnformatDate("31/06/2020").has_value());
  EXPECT_EQ(Picture::Parse("Y").FormatLogical(true), "Y");
  EXPECT_EQ(Picture::Parse("").FormatLogical(false), "F");
  EXPECT_EQ(Picture::Parse("").UnformatLogical("s"), true);
  EXPECT_EQ(Picture::Parse("").UnformatLogical("N"), false);
  EXPECT_FALSE(Picture::Parse("").UnformatLogical("x").has_value());
}

TEST(PictureEditing, SlotsForTheEditBuffer) {
  Picture cpf = Picture::Parse("@R 999.999.999-99");
  auto slots = cpf.Slots(ValueKind::kText);
  ASSERT_EQ(slots.size(), 14u);
  EXPECT_EQ(cpf.DisplayWidth(ValueKind::kText), 14);
  EXPECT_TRUE(slots[0].editable());
  EXPECT_FALSE(slots[3].editable());
  EXPECT_EQ(slots[3].ch, '.');
  EXPECT_EQ(slots[11].ch, '-');

  Picture money = Picture::Parse("@Ez 99,999,999.99");
  auto ns = money.Slots(ValueKind::kNumber);
  ASSERT_EQ(ns.size(), 13u);
  EXPECT_EQ(ns[2].kind, Slot::Kind::kThousands);
  EXPECT_EQ(ns[2].ch, '.');
  EXPECT_EQ(ns[10].kind, Slot::Kind::kDecimalPoint);
  EXPECT_EQ(ns[10].ch, ',');
  auto layout = money.Numeric();
  EXPECT_EQ(layout.integer_slots, 8);
  EXPECT_EQ(layout.decimals, 2);
  EXPECT_EQ(layout.width, 13);
  EXPECT_EQ(layout.point, ',');

  Picture plain = Picture::Parse("@!");
  auto ts = plain.Slots(ValueKind::kText, 4);
  ASSERT_EQ(ts.size(), 4u);
  EXPECT_EQ(plain.Apply(ts[0].ch, 'a'), 'A');
  EXPECT_EQ(Picture::Parse("@s18").DisplayWidth(ValueKind::kText, 40), 18);
  EXPECT_EQ(Picture::Parse("").Slots(ValueKind::kDate).size(), 10u);
  EXPECT_EQ(Picture::Parse("").Numeric(NumberShape{12, 2}).integer_slots, 9);
}

TEST(PictureEditing, AcceptedCharacters) {
  struct Case {
    char tmpl;
    char c;
    ValueKind kind;
    bool ok;
  } cases[] = {
      {'9', '5', ValueKind::kText, true},     {'9', 'a', ValueKind::kText, false},
      {'9', '-', ValueKind::kText, false},    {'9', '-', ValueKind::kNumber, true},
      {'#', ' ', ValueKind::kText, true},     {'A', 'x', ValueKind::kText, true},
      {'A', '\x87', ValueKind::kText, true},  // ç
      {'A', '1', ValueKind::kText, false},    {'N', '1', ValueKind::kText, true},
      {'N', '-', ValueKind::kText, false},    {'X', '-', ValueKind::kText, true},
      {'X', '\n', ValueKind::kText, false},   {'!', 'q', ValueKind::kText, true},
      {'Y', 'n', ValueKind::kLogical, true},  {'Y', 't', ValueKind::kLogical, false},
      {'L', 't', ValueKind::kLogical, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Picture::Accepts(c.tmpl, c.c, c.kind), c.ok) << c.tmpl << " " << c.c;
  }
}

}  // namespace
}  // namespace dodu::core
