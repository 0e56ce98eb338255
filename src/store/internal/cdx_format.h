// The byte layout of a compact compound index file (.CDX) as this system writes
// it: one set of constants and the node codec for reader and writer.
// doc/formats/cdx.md tells the same in prose.
//
// File: [0, 1024) the file header (the tag directory's own tag header),
// [1024, 1536) the tag directory's root leaf (one entry: the tag name and the
// offset of its header), [1536, 2560) the tag header, then the tag's 512-byte
// nodes. All offsets in the file are byte offsets.
#ifndef DODU_STORE_INTERNAL_CDX_FORMAT_H_
#define DODU_STORE_INTERNAL_CDX_FORMAT_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace dodu::store::cdx {

inline constexpr size_t kPageSize = 512;
inline constexpr size_t kHeaderSize = 1024;  // a tag header: 512 bytes + the expression pool
inline constexpr uint32_t kNoPage = 0xFFFFFFFF;

inline constexpr uint32_t kDirectoryRoot = 1024;
inline constexpr uint32_t kTagHeader = 1536;
inline constexpr uint32_t kFirstNode = 2560;
inline constexpr int kTagNameLength = 10;  // the tag directory's key length

// Tag header (the file header has the same shape).
inline constexpr size_t kOffRoot = 0;        // uint32 LE: offset of the root node
inline constexpr size_t kOffFreeList = 4;    // uint32 LE: first free node or kNoPage
inline constexpr size_t kOffVersion = 8;     // uint32 LE: bumped on every change
inline constexpr size_t kOffKeyLength = 12;  // uint16 LE
inline constexpr size_t kOffOptions = 14;
inline constexpr size_t kOffSignature = 15;
inline constexpr size_t kOffDescending = 502;  // uint16 LE: 0 ascending
inline constexpr size_t kOffForPos = 504;      // uint16 LE: FOR expression offset in the pool
inline constexpr size_t kOffForLength = 506;   // uint16 LE: FOR expression length with its NUL
inline constexpr size_t kOffKeyPos = 508;      // uint16 LE: key expression offset in the pool
inline constexpr size_t kOffKeyExprLength = 510;  // uint16 LE: key expression length with its NUL
inline constexpr size_t kOffPool = 512;        // expressions, NUL terminated
inline constexpr size_t kPoolSize = 512;

inline constexpr uint8_t kOptUnique = 0x01;
inline constexpr uint8_t kOptFor = 0x08;
inline constexpr uint8_t kOptCompact = 0x20;
inline constexpr uint8_t kOptCompound = 0x40;
inline constexpr uint8_t kOptDirectory = 0x80;
inline constexpr uint8_t kDirectoryOptions = kOptDirectory | kOptCompound | kOptCompact;  // 0xE0
inline constexpr uint8_t kTagOptions = kOptCompound | kOptCompact;                        // 0x60
inline constexpr uint8_t kSignature = 0x01;

// This system's stamp, in bytes of the file header that the format leaves unused.
inline constexpr size_t kOffStampMagic = 0x20;   // "DODU"
inline constexpr size_t kOffGeneration = 0x24;   // uint32 LE: rewrite generation of the table
inline constexpr size_t kOffRecordCount = 0x28;  // uint32 LE: table records the index covers
inline constexpr size_t kOffChangeCounter = 0x2C;  // uint32 LE: bumped by every change
inline constexpr size_t kOffState = 0x30;        // 0 clean, 1 a change is being written
inline constexpr size_t kStampEnd = 0x31;
inline constexpr char kStampMagic[4] = {'D', 'O', 'D', 'U'};
inline constexpr uint8_t kStateClean = 0;
inline constexpr uint8_t kStateWriting = 1;

// Node header.
inline constexpr size_t kOffAttributes = 0;  // uint16 LE
inline constexpr size_t kOffKeyCount = 2;    // uint16 LE
inline constexpr size_t kOffLeft = 4;        // uint32 LE: left sibling or kNoPage
inline constexpr size_t kOffRight = 8;       // uint32 LE: right sibling or kNoPage
inline constexpr uint16_t kAttrRoot = 0x01;
inline constexpr uint16_t kAttrLeaf = 0x02;

// Interior node: from byte 12, entries of key (key length bytes), record number
// (uint32 BE), child offset (uint32 BE); the key is the greatest of the child.
inline constexpr size_t kInteriorStart = 12;
inline constexpr size_t kInteriorSpace = kPageSize - kInteriorStart;

// Leaf node: a 12-byte bit-packing header, entries (record number, duplicate
// count, trailing count, low bits first, little endian) from byte 24, key bytes
// from the end of the node backwards.
inline constexpr size_t kOffFreeSpace = 12;   // uint16 LE
inline constexpr size_t kOffRecnoMask = 14;   // uint32 LE
inline constexpr size_t kOffDupMask = 18;
inline constexpr size_t kOffTrailMask = 19;
inline constexpr size_t kOffRecnoBits = 20;
inline constexpr size_t kOffDupBits = 21;
inline constexpr size_t kOffTrailBits = 22;
inline constexpr size_t kOffEntryBytes = 23;
inline constexpr size_t kLeafStart = 24;
inline constexpr size_t kLeafSpace = kPageSize - kLeafStart;

struct Entry {
  std::string key;     // exactly the key length
  uint32_t recno = 0;  // table record number (tag directory: offset of the tag header)
  uint32_t child = 0;  // interior nodes only
};

struct Node {
  bool leaf = true;
  uint32_t left = kNoPage;
  uint32_t right = kNoPage;
  std::vector<Entry> entries;
};

// Little and big endian over strings; the caller checks the bounds.
uint16_t Le16(std::string_view b, size_t off);
uint32_t Le32(std::string_view b, size_t off);
uint32_t Be32(std::string_view b, size_t off);
void PutLe16(std::string& b, size_t off, uint16_t v);
void PutLe32(std::string& b, size_t off, uint32_t v);
void PutBe32(std::string& b, size_t off, uint32_t v);

// Key bytes a leaf stores for `key` after `prev` (empty for the first of a node).
size_t StoredKeyBytes(std::string_view prev, std::string_view key, char pad);
// Bytes of one leaf entry when the node's largest record number is max_recno.
size_t LeafEntryBytes(int key_length, uint32_t max_recno);
// Bytes a leaf needs for `entries` (header excluded); more than kLeafSpace
// means they do not fit one node.
size_t LeafBytes(const std::vector<Entry>& entries, int key_length, char pad);
// Entries one interior node holds.
size_t InteriorCapacity(int key_length);

// The 512 bytes of a node; nullopt when the entries do not fit.
std::optional<std::string> EncodeNode(const Node& node, bool root, int key_length, char pad);
// kCorrupt (naming `where`) when the bytes are not a valid node of that key length.
Result<Node> DecodeNode(std::string_view page, int key_length, char pad, const std::string& where);

}  // namespace dodu::store::cdx

#endif  // DODU_STORE_INTERNAL_CDX_FORMAT_H_
