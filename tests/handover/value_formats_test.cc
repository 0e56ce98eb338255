#include "handover/value_formats.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/codepage.h"

namespace dodu::handover {
namespace {

using core::Decimal;

Decimal D(const char* text) { return *Decimal::Parse(text); }

struct NumberCase {
  const char* value;
  NumberFormat format;
  const char* expected;
};

TEST(ValueFormatsTest, Numbers) {
  const NumberCase cases[] = {
      {"0", NumberFormat::kAmount, "0,00"},
      {"1234.5", NumberFormat::kAmount, "1.234,50"},
      {"-1234.5", NumberFormat::kAmount, "-1.234,50"},
      {"0.005", NumberFormat::kAmount, "0,01"},
      {"-0.004", NumberFormat::kAmount, "0,00"},
      {"999999999.99", NumberFormat::kAmount, "999.999.999,99"},
      // Never clamped nor turned into asterisks.
      {"1234567890.12", NumberFormat::kAmount, "1.234.567.890,12"},
      {"0", NumberFormat::kWhole, "0"},
      {"1234.5", NumberFormat::kWhole, "1.235"},
      {"100", NumberFormat::kWhole, "100"},
      {"0", NumberFormat::kTenth, "0"},
      {"12.5", NumberFormat::kTenth, "12,5"},
      {"3", NumberFormat::kTenth, "3,0"},
      {"1000.5", NumberFormat::kTenth, "1.000,5"},
      {"0", NumberFormat::kInt, "0"},
      {"1234.5", NumberFormat::kInt, "1235"},
      {"12.5", NumberFormat::kPlain2, "12,50"},
      {"12", NumberFormat::kPlain2, "12"},
      {"0", NumberFormat::kRate, ""},
      {"0.15", NumberFormat::kRate, "0,150000"},
      {"12.3456789", NumberFormat::kRate, "12,345679"},
      {"123.5", NumberFormat::kRate3, "123,500000"},
      {"0", NumberFormat::kAmountOrEmpty, ""},
      {"1234.5", NumberFormat::kAmountOrEmpty, "1.234,50"},
      {"12.5", NumberFormat::kFixed4, "012,5000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatNumber(D(c.value), c.format), c.expected)
        << c.value << " format " << static_cast<int>(c.format);
  }
}

TEST(ValueFormatsTest, QuotesAndClosings) {
  EXPECT_EQ(ConvNro(D("1234.5"), Closing::kNone), "\"1.234,50\"");
  EXPECT_EQ(ConvNro(D("3"), Closing::kOpen, NumberFormat::kInt), "\"3\">");
  EXPECT_EQ(ConvNro(D("0"), Closing::kEnd, NumberFormat::kRate), "\"\"/>");
  EXPECT_EQ(PoeAspas("  ab  ", Closing::kEnd), "\"ab\"/>");
  EXPECT_EQ(PoeAspas("   ", Closing::kNone, TextMode::kText, true), "\"...\"");
}

struct TextCase {
  std::string value;
  TextMode mode;
  std::string expected;
};

TEST(ValueFormatsTest, Texts) {
  const TextCase cases[] = {
      {"  Rua A  ", TextMode::kText, "Rua A"},
      {"", TextMode::kText, ""},
      {"", TextMode::kConverted, ""},
      {"   ", TextMode::kConverted, ""},
      // Cedilla and tilde (cp850 87, C6), an apostrophe and an ampersand.
      {"Jo\xC6o d'Avila & Con\x87\x84o", TextMode::kConverted, "Joao d Avila e Concao"},
      {"<b>#1_", TextMode::kConverted, "-b- 1-"},
      {"\xDB", TextMode::kConverted, "e"},
      {"7", TextMode::kTwoDigits, "07"},
      {" 3 ", TextMode::kTwoDigits, "03"},
      {"", TextMode::kTwoDigits, "00"},
      {"12", TextMode::kTwoDigits, "12"},
      {" 10 ", TextMode::kTwoDigits, "10"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatText(c.value, c.mode), c.expected) << c.value;
  }
}

TEST(ValueFormatsTest, SemPontoBlanksPunctuation) {
  EXPECT_EQ(SemPonto("Dr. A, B/C\\D (E)"), "Dr  A  B C D  E ");
}

// Fault: the substitution left six cp850 letters (86 8F 91 92 98 9B) as they
// were, single bytes above 0x7F in a document that declares UTF-8, which an XML
// reader refuses.
TEST(ValueFormatsTest, ConvertedTextIsAlwaysAscii) {
  EXPECT_EQ(ConvCar("\x86\x8F\x91\x92\x98\x9B"), "aAaeAEyo");
  for (int b = 0x80; b <= 0xFF; ++b) {
    std::string out = FormatText(std::string(1, static_cast<char>(b)), TextMode::kConverted);
    for (char c : out) {
      EXPECT_LT(static_cast<uint8_t>(c), 0x80) << "byte " << std::hex << b;
    }
  }
}

// Fault: values outside the substitution (addresses, e-mail, codes) were
// written byte for byte: a cp850 letter broke the UTF-8, a "&" or "<" broke
// the XML.
TEST(ValueFormatsTest, PlainTextIsXmlSafeUtf8) {
  EXPECT_EQ(FormatText("S\x84o & <x> \"q\"\x01", TextMode::kText),
            "S\xC3\xA4o &amp; &lt;x> &quot;q&quot;");
  EXPECT_EQ(FormatText("Jos\x82", TextMode::kText), core::Cp850ToUtf8("Jos\x82"));
}

TEST(ValueFormatsTest, DatesAndNumbersOfPersons) {
  EXPECT_EQ(FormatDate(core::Date()), "  /  /    ");
  EXPECT_EQ(FormatTrimmedDate(core::Date()), "/  /");
  EXPECT_EQ(FormatDate(*core::Date::FromYmd(2020, 3, 5)), "05/03/2020");
  EXPECT_EQ(FormatTrimmedDate(*core::Date::FromYmd(2020, 3, 5)), "05/03/2020");
  EXPECT_EQ(FormatNow({2020, 4, 7, 22, 4, 9}), "07/04/2020 22:04:09");
  EXPECT_EQ(FormatCpf("12345678909"), "123.456.789-09");
  EXPECT_EQ(FormatCpf("           "), ".   .   -");
  EXPECT_EQ(FormatCpf(""), ".   .   -");
  EXPECT_EQ(FormatCnpj("99111111000132"), "99.111.111/0001-32");
  EXPECT_EQ(FormatCnpj(""), "  .   .   /    -  ");
  EXPECT_EQ(FormatCep("01024900"), "01024-900");
  // Fault: a blank CEP went out as a lone "-".
  EXPECT_EQ(FormatCep("        "), "");
}

}  // namespace
}  // namespace dodu::handover
