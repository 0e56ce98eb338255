#include "screen/key_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dodu::screen {
namespace {

// Decodes a whole byte string as the back end does (final once the bytes run out).
std::vector<Key> DecodeAll(std::string_view bytes) {
  std::vector<Key> keys;
  while (!bytes.empty()) {
    Decoded d = DecodeKey(bytes, false);
    if (d.kind == Decoded::kNeedMore) d = DecodeKey(bytes, true);
    if (d.kind == Decoded::kKey) keys.push_back(d.key);
    bytes.remove_prefix(d.consumed);
  }
  return keys;
}

std::string Names(const std::vector<Key>& keys) {
  std::string s;
  for (const Key& k : keys) s += (s.empty() ? "" : " | ") + k.Name();
  return s;
}

TEST(KeyDecoder, RawBytesTable) {
  struct Case {
    std::string bytes;
    const char* keys;
  } cases[] = {
      {"a", "a"},
      {"\r", "Enter"},
      {"\n", "Ctrl Enter"},
      {"\x1b\r", "Ctrl Enter"},             // Alt Enter, the alternative
      {"\x1b[27;5;13~", "Ctrl Enter"},      // xterm modifyOtherKeys
      {"\x1b[13;5u", "Ctrl Enter"},         // CSI u
      {"\t", "Tab"},
      {"\x1b[Z", "Shift Tab"},
      {"\x7f", "Backspace"},
      {"\x08", "Backspace"},
      {"\x19", "Ctrl Y"},
      {"\x03", "Ctrl C"},
      {"\x16", "Ctrl V"},
      {"\x1b", "Esc"},
      {"\x1bw", "Alt W"},
      {"\x1b" "5", "Alt 5"},
      {"\x1b[A", "Up"},
      {"\x1bOB", "Down"},
      {"\x1b[1;5D", "Ctrl Left"},
      {"\x1b[1;5C", "Ctrl Right"},
      {"\x1b[1;3A", "Alt Up"},
      {"\x1b[1;3B", "Alt Down"},
      {"\x1b\x1b[A", "Alt Up"},
      {"\x1b[1;3F", "Alt End"},
      {"\x1b[H", "Home"},
      {"\x1b[1~", "Home"},
      {"\x1b[4~", "End"},
      {"\x1b[1;5H", "Ctrl Home"},
      {"\x1b[1;5F", "Ctrl End"},
      {"\x1b[2~", "Ins"},
      {"\x1b[3~", "Del"},
      {"\x1b[5~", "PgUp"},
      {"\x1b[6~", "PgDn"},
      {"\x1b[5;5~", "Ctrl PgUp"},
      {"\x1b[6;5~", "Ctrl PgDn"},
      {"\x1bOP", "F1"},
      {"\x1b[[A", "F1"},
      {"\x1b[11~", "F1"},
      {"\x1b[1;2Q", "Shift F2"},
      {"\x1b[1;3S", "Alt F4"},
      {"\x1b[15~", "F5"},
      {"\x1b[21~", "F10"},
      {"\x1b[24;5~", "Ctrl F12"},
      {"\x1b[23;2~", "Shift F11"},
      {"\x1b[<0;11;4M", "Click 3,10"},
      {"\x1b[<0;11;4m", ""},                // release: nothing
      {"\x1b[<64;1;1M", ""},                // wheel: nothing
      {"\xc3\xa7", "Char 0x87"},            // ç in UTF-8 -> code page 850
      {"\xe2\x82\xac", "?"},                // the euro sign has no cp850 byte
      {"ab\x1b[Bc", "a | b | Down | c"},
      {"\x1b[99~x", "x"},                   // unknown sequence skipped
      {"\x1b\x1b", "Esc | Esc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.bytes));
    EXPECT_EQ(Names(DecodeAll(c.bytes)), c.keys);
  }
}

TEST(KeyDecoder, WaitsForTheRestOfASequence) {
  EXPECT_EQ(DecodeKey("\x1b", false).kind, Decoded::kNeedMore);
  EXPECT_EQ(DecodeKey("\x1b[", false).kind, Decoded::kNeedMore);
  EXPECT_EQ(DecodeKey("\x1b[1;5", false).kind, Decoded::kNeedMore);
  EXPECT_EQ(DecodeKey("\xc3", false).kind, Decoded::kNeedMore);
  Decoded esc = DecodeKey("\x1b", true);
  EXPECT_EQ(esc.kind, Decoded::kKey);
  EXPECT_EQ(esc.key, Key::Esc());
}

}  // namespace
}  // namespace dodu::screen
