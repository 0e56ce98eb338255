// The byte layout of the table files this system writes and reads: the .DBF
// (dBASE III+ with the FoxPro/Clipper extensions) and the dBASE III .DBT memo
// file. One set of constants for reader and writer; doc/formats/dbf.md tells the
// same in prose.
#ifndef DODU_STORE_DBF_FORMAT_H_
#define DODU_STORE_DBF_FORMAT_H_

#include <cstddef>
#include <cstdint>

namespace dodu::store::dbf {

// Version byte (offset 0).
inline constexpr uint8_t kVersionPlain = 0x03;     // dBASE III+, no memo
inline constexpr uint8_t kVersionWithMemo = 0x83;  // dBASE III+ with a .DBT
// Other versions read (written by other tools): dBASE IV with memo, FoxPro with
// memo, Visual FoxPro.
inline constexpr uint8_t kVersionDbase4Memo = 0x8B;
inline constexpr uint8_t kVersionFoxProMemo = 0xF5;
inline constexpr uint8_t kVersionVisualFoxPro = 0x30;

// File header: 32 bytes.
inline constexpr size_t kHeaderSize = 32;
inline constexpr size_t kOffVersion = 0;
inline constexpr size_t kOffUpdateYear = 1;   // years since 1900
inline constexpr size_t kOffUpdateMonth = 2;
inline constexpr size_t kOffUpdateDay = 3;
inline constexpr size_t kOffRecordCount = 4;   // uint32 LE
inline constexpr size_t kOffHeaderLength = 8;  // uint16 LE: header + descriptors + terminator
inline constexpr size_t kOffRecordLength = 10; // uint16 LE: deletion flag + fields
// Bytes 16..27 are reserved "for multi-user processing" by dBASE III+ and left
// zero by the tools we share files with. This system keeps there:
inline constexpr size_t kOffGeneration = 16;   // uint32 LE: the rewrite generation
inline constexpr size_t kOffTableFlags = 28;   // FoxPro: 0x01 structural CDX; we write 0
inline constexpr size_t kOffLanguageDriver = 29;
inline constexpr uint8_t kLanguageCp850 = 0x02;

// Field descriptor: 32 bytes each, after the header, ended by kTerminator.
inline constexpr size_t kDescriptorSize = 32;
inline constexpr size_t kDescName = 0;         // 11 bytes, NUL padded
inline constexpr size_t kDescNameSize = 11;
inline constexpr size_t kMaxNameLength = 10;
inline constexpr size_t kDescType = 11;
inline constexpr size_t kDescDisplacement = 12;  // uint32 LE, FoxPro: offset in record
inline constexpr size_t kDescLength = 16;
inline constexpr size_t kDescDecimals = 17;    // C fields: high byte of the length
inline constexpr uint8_t kTerminator = 0x0D;

// The header length is a uint16: 32 + 32 n + 1 <= 65535.
inline constexpr size_t kMaxFields = 2046;
inline constexpr size_t kMaxRecordLength = 65535;
inline constexpr int kMaxCharLength = 65535 - 1;
inline constexpr int kMaxNumericLength = 20;
inline constexpr int kDateLength = 8;
inline constexpr int kLogicalLength = 1;
inline constexpr int kMemoLength = 10;

// Records: one flag byte, then the fields in descriptor order, no separators.
inline constexpr char kRecordActive = ' ';
inline constexpr char kRecordDeleted = '*';
inline constexpr uint8_t kEndOfFile = 0x1A;

// .DBT (dBASE III): 512-byte blocks; block 0 is the header whose first four
// bytes (uint32 LE) are the next free block. A memo starts at a block boundary
// and ends with two kEndOfFile bytes.
inline constexpr size_t kMemoBlockSize = 512;
inline constexpr size_t kMemoOffNextFree = 0;
inline constexpr size_t kMemoOffVersion = 16;
inline constexpr uint8_t kMemoVersionDbase3 = 0x03;
// A memo longer than this is taken for a damaged file.
inline constexpr size_t kMaxMemoSize = 4 * 1024 * 1024;

}  // namespace dodu::store::dbf

#endif  // DODU_STORE_DBF_FORMAT_H_
