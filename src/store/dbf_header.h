// The DBF file header and field descriptors as values, with the encoder the
// writer uses and the decoder every open goes through. The decoder checks what
// the rest of the engine relies on (lengths that add up, known field types) and
// answers kCorrupt naming the file otherwise; it never reads outside the bytes
// it is given.
#ifndef DODU_STORE_DBF_HEADER_H_
#define DODU_STORE_DBF_HEADER_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/status.h"
#include "store/field.h"

namespace dodu::store {

struct DbfHeader {
  uint8_t version = 0x03;
  int update_year = 2000;  // last update, 1900..2155
  int update_month = 1;
  int update_day = 1;
  uint32_t record_count = 0;
  uint16_t header_length = 0;  // filled by EncodeDbfHeader
  uint16_t record_length = 0;  // filled by EncodeDbfHeader
  uint32_t generation = 0;     // 0: never rewritten by this system
  uint8_t language_driver = 0x02;
  Layout fields;

  bool has_memo() const;
};

// The header bytes (32-byte header, descriptors, terminator) for `h`; sets
// h.header_length and h.record_length. kInvalid when the layout cannot be
// stored (empty, a name longer than 10 characters or repeated, a length out of
// range for its type, too many fields, a record longer than 65535 bytes).
Result<std::string> EncodeDbfHeader(DbfHeader& h);

// Checks a layout without encoding it; same errors as EncodeDbfHeader.
Status ValidateLayout(const Layout& layout);

// The first 32 bytes decide how many bytes the whole header takes.
// kCorrupt when fewer than 32 bytes are given or the length is impossible.
Result<uint16_t> PeekDbfHeaderLength(std::string_view first32, const std::string& path);

// Decodes a whole header (header_length bytes). kCorrupt names `path`.
Result<DbfHeader> DecodeDbfHeader(std::string_view bytes, const std::string& path);

}  // namespace dodu::store

#endif  // DODU_STORE_DBF_HEADER_H_
