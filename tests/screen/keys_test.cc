#include "screen/keys.h"

#include <gtest/gtest.h>

namespace dodu::screen {
namespace {

TEST(KeyNames, PrintAndParseAreInverse) {
  const Key keys[] = {Key::F(2),          Key::Alt('W'),       Key::CtrlEnter(),
                      Key::Named(KeyType::kShiftTab), Key::ShiftF(3), Key::CtrlF(12),
                      Key::AltF(4),       Key::Ctrl('Y'),      Key::Named(KeyType::kCtrlPgDn),
                      Key::Named(KeyType::kAltEnd), Key::Menu(1003), Key::Click(3, 10),
                      Key::Click(Key::kMenuBarRow, 5), Key::DoubleClick(0, 79), Key::Char(' '),
                      Key::Char(0x87),    Key::Char('a'),      Key::Alt('7'),
                      Key::Resize(),      Key::Named(KeyType::kBackspace)};
  for (const Key& k : keys) {
    SCOPED_TRACE(k.Name());
    std::optional<Key> back = ParseKey(k.Name());
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, k);
  }
}

TEST(KeyNames, AliasesAndCase) {
  struct Case {
    const char* text;
    Key key;
  } cases[] = {
      {"alt w", Key::Alt('W')},          {"Ctrl+Enter", Key::CtrlEnter()},
      {"escape", Key::Esc()},            {"PageDown", Key::Named(KeyType::kPgDn)},
      {"shift  f10", Key::ShiftF(10)},   {"ctrl v", Key::Ctrl('V')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ASSERT_TRUE(ParseKey(c.text).has_value());
    EXPECT_EQ(*ParseKey(c.text), c.key);
  }
  EXPECT_FALSE(ParseKey("F13").has_value());
  EXPECT_FALSE(ParseKey("Alt").has_value());
  EXPECT_FALSE(ParseKey("Hyper X").has_value());
}

TEST(KeyNames, UpperByteFoldsPortugueseLetters) {
  EXPECT_EQ(Key::Char('s').upper_byte(), 'S');
  EXPECT_EQ(Key::Char(0x87).upper_byte(), 0x80);  // ç -> Ç
  EXPECT_EQ(Key::Char(0xC6).upper_byte(), 0xC7);  // ã -> Ã
  EXPECT_EQ(Key::F(1).upper_byte(), 0);
}

}  // namespace
}  // namespace dodu::screen
