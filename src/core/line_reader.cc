#include "core/line_reader.h"

#include <array>
#include <cstddef>
#include <span>

namespace dodu::core {

Result<std::string> LineReader::Next() {
  std::string line;
  std::array<std::byte, 4096> buf;
  uint64_t at = offset_;
  while (true) {
    DODU_ASSIGN_OR_RETURN(size_t n, file_.ReadAt(at, std::span<std::byte>(buf)));
    if (n == 0) break;  // end of file
    for (size_t i = 0; i < n; ++i) {
      char c = static_cast<char>(buf[i]);
      line += c;
      if (c == '\n' || c == '\0') {
        offset_ = at + i + 1;
        return line;
      }
    }
    at += n;
  }
  offset_ = at;
  return line;
}

}  // namespace dodu::core
