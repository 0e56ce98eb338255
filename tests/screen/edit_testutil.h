// Key scripts for the pure editing tests: "12{Left}3" is '1', '2', Left, '3'.
#ifndef DODU_TESTS_SCREEN_EDIT_TESTUTIL_H_
#define DODU_TESTS_SCREEN_EDIT_TESTUTIL_H_

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/codepage.h"
#include "screen/keys.h"

namespace dodu::screen::testing {

inline std::vector<Key> Keys(std::string_view script) {
  std::vector<Key> keys;
  std::string bytes = core::Utf8ToCp850(script);
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '{') {
      size_t end = bytes.find('}', i);
      std::optional<Key> k = ParseKey(std::string_view(bytes).substr(i + 1, end - i - 1));
      if (!k) throw std::invalid_argument("bad key in script: " + std::string(script));
      keys.push_back(*k);
      i = end;
    } else {
      keys.push_back(Key::Char(static_cast<uint8_t>(bytes[i])));
    }
  }
  return keys;
}

}  // namespace dodu::screen::testing

#endif  // DODU_TESTS_SCREEN_EDIT_TESTUTIL_H_
