// Little-endian integers over bounds-checked byte views, for the DBF, DBT and
// lock-file codecs. Reads outside the view answer nullopt; writes outside the
// buffer are programming errors and throw std::out_of_range.
#ifndef DODU_STORE_INTERNAL_DBF_BYTES_H_
#define DODU_STORE_INTERNAL_DBF_BYTES_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace dodu::store::internal {

inline std::optional<uint8_t> GetU8(std::string_view b, size_t off) {
  if (off >= b.size()) return std::nullopt;
  return static_cast<uint8_t>(b[off]);
}

inline std::optional<uint16_t> GetLe16(std::string_view b, size_t off) {
  if (off > b.size() || b.size() - off < 2) return std::nullopt;
  return static_cast<uint16_t>(static_cast<uint8_t>(b[off]) |
                               (static_cast<uint16_t>(static_cast<uint8_t>(b[off + 1])) << 8));
}

inline std::optional<uint32_t> GetLe32(std::string_view b, size_t off) {
  if (off > b.size() || b.size() - off < 4) return std::nullopt;
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(b[off + i]);
  return v;
}

inline void CheckRoom(const std::string& b, size_t off, size_t n) {
  if (off > b.size() || b.size() - off < n) throw std::out_of_range("byte write outside buffer");
}

inline void PutU8(std::string& b, size_t off, uint8_t v) {
  CheckRoom(b, off, 1);
  b[off] = static_cast<char>(v);
}

inline void PutLe16(std::string& b, size_t off, uint16_t v) {
  CheckRoom(b, off, 2);
  b[off] = static_cast<char>(v & 0xFF);
  b[off + 1] = static_cast<char>(v >> 8);
}

inline void PutLe32(std::string& b, size_t off, uint32_t v) {
  CheckRoom(b, off, 4);
  for (int i = 0; i < 4; ++i) b[off + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

inline std::span<std::byte> AsBytes(std::string& s) {
  return {reinterpret_cast<std::byte*>(s.data()), s.size()};
}
inline std::span<const std::byte> AsBytes(std::string_view s) {
  return {reinterpret_cast<const std::byte*>(s.data()), s.size()};
}

}  // namespace dodu::store::internal

#endif  // DODU_STORE_INTERNAL_DBF_BYTES_H_
