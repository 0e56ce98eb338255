#include "core/codepage.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace dodu::core {
namespace {

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s += static_cast<char>(b);
  return s;
}

TEST(Cp850, EveryByteRoundTripsThroughUnicode) {
  std::set<char32_t> seen;
  for (int b = 0; b < 256; ++b) {
    char32_t cp = Cp850ToUnicode(static_cast<uint8_t>(b));
    EXPECT_TRUE(seen.insert(cp).second) << "two bytes map to U+" << std::hex << static_cast<uint32_t>(cp);
    EXPECT_EQ(UnicodeToCp850(cp), static_cast<uint8_t>(b)) << b;
    std::string one(1, static_cast<char>(b));
    EXPECT_EQ(Utf8ToCp850(Cp850ToUtf8(one)), one) << b;
  }
}

TEST(Cp850, KnownLetters) {
  struct Case {
    int byte;
    const char* utf8;
  } cases[] = {
      {0x80, "Ç"}, {0x87, "ç"}, {0x82, "é"}, {0x90, "É"}, {0xA0, "á"}, {0xB5, "Á"},
      {0xC6, "ã"}, {0xC7, "Ã"}, {0xE4, "õ"}, {0xE5, "Õ"}, {0x83, "â"}, {0xB6, "Â"},
      {0x88, "ê"}, {0xD2, "Ê"}, {0x93, "ô"}, {0xE2, "Ô"}, {0xA2, "ó"}, {0xE0, "Ó"},
      {0xA1, "í"}, {0xD6, "Í"}, {0xA3, "ú"}, {0xE9, "Ú"}, {0xF8, "°"}, {0xA6, "ª"},
      {0xA7, "º"}, {0xC4, "─"}, {0xCD, "═"}, {0xDB, "█"}, {0xFF, "\u00A0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Cp850ToUtf8(Bytes({c.byte})), c.utf8) << std::hex << c.byte;
    EXPECT_EQ(Utf8ToCp850(c.utf8), Bytes({c.byte})) << c.utf8;
  }
}

TEST(Cp850, ScreenGlyphsForControlBytes) {
  EXPECT_EQ(Cp850GlyphToUnicode(0x10), U'\u25BA');
  EXPECT_EQ(Cp850GlyphToUnicode(0x18), U'\u2191');
  EXPECT_EQ(Cp850GlyphToUnicode(0x7F), U'\u2302');
  EXPECT_EQ(Cp850GlyphToUnicode(0x00), U' ');
  for (int b = 0x20; b < 256; ++b) {
    if (b == 0x7F) continue;
    EXPECT_EQ(Cp850GlyphToUnicode(b), Cp850ToUnicode(b)) << b;
  }
}

TEST(Cp850, UnmappableAndMalformedBecomeReplacement) {
  EXPECT_EQ(Utf8ToCp850("a€b"), "a?b");
  EXPECT_EQ(Utf8ToCp850("x\xC3"), "x?");            // truncated sequence
  EXPECT_EQ(Utf8ToCp850("\xC0\xAF"), "??");         // overlong "/"
  EXPECT_EQ(Utf8ToCp850("\xED\xA0\x80"), "???");    // surrogate
  EXPECT_EQ(Utf8ToCp850("😀", '_'), "_");
  EXPECT_EQ(Cp850("ATENÇÃO!"), Bytes({'A', 'T', 'E', 'N', 0x80, 0xC7, 'O', '!'}));
}

TEST(Cp1252, ToUnicodeAndToCp850) {
  EXPECT_EQ(Cp1252ToUtf8(Bytes({0x80, 0xC7, 0xE3, 0x93, 0x81})), "€Çã“\u0081");
  EXPECT_EQ(Cp1252ToCp850(Bytes({'S', 0xC3, 'O', ' ', 0x80})), Bytes({'S', 0xC7, 'O', ' ', '?'}));
  for (int b = 0xA0; b < 256; ++b) EXPECT_EQ(Cp1252ToUnicode(static_cast<uint8_t>(b)), char32_t(b));
}

TEST(AjusCar, MapsExactlyItsTwentyFiveLetters) {
  // Windows byte -> DOS byte; the lossy ones (ã -> ä, Á -> A ...) included.
  const std::pair<int, int> table[] = {
      {0xE1, 0xA0}, {0xE9, 0x82}, {0xED, 0xA1}, {0xF3, 0xA2}, {0xFA, 0xA3},
      {0xC1, 'A'},  {0xC9, 0x90}, {0xCD, 'I'},  {0xD3, 'O'},  {0xDA, 'U'},
      {0xE0, 0x85}, {0xE3, 0x84}, {0xF5, 0x94}, {0xC3, 'A'},  {0xD5, 'O'},
      {0xE7, 0x87}, {0xC7, 0x80}, {0xE2, 0x83}, {0xEA, 0x88}, {0xF4, 0x93},
      {0xFB, 0x96}, {0xC2, 'A'},  {0xCA, 'E'},  {0xD4, 'O'},  {0xDB, 'U'},
  };
  std::set<int> mapped;
  for (auto [from, to] : table) {
    EXPECT_EQ(AjusCar(Bytes({from})), Bytes({to})) << std::hex << from;
    mapped.insert(from);
  }
  for (int b = 1; b < 256; ++b) {
    if (mapped.count(b) || b == ' ') continue;
    EXPECT_EQ(AjusCar(Bytes({'x', b, 'x'})), Bytes({'x', b, 'x'})) << std::hex << b;
  }
}

// The old routine returned only as many characters as the trimmed text had, so a
// text with leading blanks lost its tail ("  ÁGUA" came back as "  AG").
TEST(AjusCar, KeepsLeadingBlanksAndTrimsTheRight) {
  EXPECT_EQ(AjusCar(Bytes({' ', ' ', 0xC1, 'G', 'U', 'A'})), "  AGUA");
  EXPECT_EQ(AjusCar(Bytes({'S', 0xC3, 'O', ' ', 'J', 'O', 0xC3, 'O', ' ', ' '})), "SAO JOAO");
  EXPECT_EQ(AjusCar(Bytes({'a', 0xE7, 0xE3, 'o'})), Bytes({'a', 0x87, 0x84, 'o'}));
  EXPECT_EQ(AjusCar("   "), "");
  EXPECT_EQ(AjusCar(""), "");
}

}  // namespace
}  // namespace dodu::core
