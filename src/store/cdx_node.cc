// The node codec of the compact index: interior nodes with whole keys, leaves
// with the duplicate/trailing compression and per-node bit widths.
#include <algorithm>
#include <bit>
#include <cstring>

#include "store/internal/cdx_format.h"

namespace dodu::store::cdx {

uint16_t Le16(std::string_view b, size_t off) {
  return static_cast<uint16_t>(static_cast<uint8_t>(b[off]) | (static_cast<uint8_t>(b[off + 1]) << 8));
}

uint32_t Le32(std::string_view b, size_t off) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(b[off + static_cast<size_t>(i)]);
  return v;
}

uint32_t Be32(std::string_view b, size_t off) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<uint8_t>(b[off + i]);
  return v;
}

void PutLe16(std::string& b, size_t off, uint16_t v) {
  b[off] = static_cast<char>(v & 0xFF);
  b[off + 1] = static_cast<char>(v >> 8);
}

void PutLe32(std::string& b, size_t off, uint32_t v) {
  for (size_t i = 0; i < 4; ++i) b[off + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

void PutBe32(std::string& b, size_t off, uint32_t v) {
  for (size_t i = 0; i < 4; ++i) b[off + i] = static_cast<char>((v >> (24 - 8 * i)) & 0xFF);
}

namespace {

struct Bits {
  int recno = 0, dup = 0, trail = 0, bytes = 0;
};

// Duplicate and trailing counts need the bits of the key length; the record
// number takes what is left of whole bytes, and at least what its largest value needs.
Bits LeafBits(int key_length, uint32_t max_recno) {
  Bits b;
  b.dup = b.trail = std::bit_width(static_cast<unsigned>(key_length));
  int need = std::max(1, static_cast<int>(std::bit_width(max_recno)));
  b.bytes = (need + b.dup + b.trail + 7) / 8;
  b.recno = b.bytes * 8 - b.dup - b.trail;
  if (b.recno > 32) b.recno = 32;
  return b;
}

size_t Trail(std::string_view key, char pad) {
  size_t n = 0;
  while (n < key.size() && key[key.size() - 1 - n] == pad) ++n;
  return n;
}

size_t Dup(std::string_view prev, std::string_view key, size_t limit) {
  size_t n = 0;
  while (n < limit && prev[n] == key[n]) ++n;
  return n;
}

}  // namespace

size_t StoredKeyBytes(std::string_view prev, std::string_view key, char pad) {
  size_t trail = Trail(key, pad);
  size_t dup = prev.empty() ? 0 : Dup(prev, key, key.size() - trail);
  return key.size() - trail - dup;
}

size_t LeafEntryBytes(int key_length, uint32_t max_recno) {
  return static_cast<size_t>(LeafBits(key_length, max_recno).bytes);
}

size_t LeafBytes(const std::vector<Entry>& entries, int key_length, char pad) {
  uint32_t max_recno = 0;
  size_t stored = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    max_recno = std::max(max_recno, entries[i].recno);
    size_t trail = Trail(entries[i].key, pad);
    size_t dup = i == 0 ? 0 : Dup(entries[i - 1].key, entries[i].key, entries[i].key.size() - trail);
    stored += entries[i].key.size() - trail - dup;
  }
  return entries.size() * static_cast<size_t>(LeafBits(key_length, max_recno).bytes) + stored;
}

size_t InteriorCapacity(int key_length) { return kInteriorSpace / (static_cast<size_t>(key_length) + 8); }

std::optional<std::string> EncodeNode(const Node& node, bool root, int key_length, char pad) {
  std::string page(kPageSize, '\0');
  const size_t klen = static_cast<size_t>(key_length);
  PutLe16(page, kOffAttributes, static_cast<uint16_t>((root ? kAttrRoot : 0) | (node.leaf ? kAttrLeaf : 0)));
  PutLe16(page, kOffKeyCount, static_cast<uint16_t>(node.entries.size()));
  PutLe32(page, kOffLeft, node.left);
  PutLe32(page, kOffRight, node.right);
  if (!node.leaf) {
    if (node.entries.size() > InteriorCapacity(key_length)) return std::nullopt;
    size_t off = kInteriorStart;
    for (const Entry& e : node.entries) {
      std::memcpy(page.data() + off, e.key.data(), klen);
      PutBe32(page, off + klen, e.recno);
      PutBe32(page, off + klen + 4, e.child);
      off += klen + 8;
    }
    return page;
  }
  size_t used = LeafBytes(node.entries, key_length, pad);
  if (used > kLeafSpace) return std::nullopt;
  uint32_t max_recno = 0;
  for (const Entry& e : node.entries) max_recno = std::max(max_recno, e.recno);
  Bits bits = LeafBits(key_length, max_recno);
  PutLe16(page, kOffFreeSpace, static_cast<uint16_t>(kLeafSpace - used));
  PutLe32(page, kOffRecnoMask, bits.recno >= 32 ? 0xFFFFFFFFu : (1u << bits.recno) - 1);
  page[kOffDupMask] = static_cast<char>((1u << bits.dup) - 1);
  page[kOffTrailMask] = static_cast<char>((1u << bits.trail) - 1);
  page[kOffRecnoBits] = static_cast<char>(bits.recno);
  page[kOffDupBits] = static_cast<char>(bits.dup);
  page[kOffTrailBits] = static_cast<char>(bits.trail);
  page[kOffEntryBytes] = static_cast<char>(bits.bytes);
  size_t key_pos = kPageSize;
  for (size_t i = 0; i < node.entries.size(); ++i) {
    const Entry& e = node.entries[i];
    size_t trail = Trail(e.key, pad);
    size_t dup = i == 0 ? 0 : Dup(node.entries[i - 1].key, e.key, klen - trail);
    uint64_t packed = static_cast<uint64_t>(e.recno) | (static_cast<uint64_t>(dup) << bits.recno) |
                      (static_cast<uint64_t>(trail) << (bits.recno + bits.dup));
    size_t off = kLeafStart + i * static_cast<size_t>(bits.bytes);
    for (int j = 0; j < bits.bytes; ++j) page[off + static_cast<size_t>(j)] = static_cast<char>((packed >> (8 * j)) & 0xFF);
    size_t stored = klen - trail - dup;
    key_pos -= stored;
    std::memcpy(page.data() + key_pos, e.key.data() + dup, stored);
  }
  return page;
}

Result<Node> DecodeNode(std::string_view page, int key_length, char pad, const std::string& where) {
  auto corrupt = [&](const std::string& what) { return Status::Corrupt(where + ": " + what); };
  if (page.size() != kPageSize) return corrupt("short index node");
  const size_t klen = static_cast<size_t>(key_length);
  uint16_t attr = Le16(page, kOffAttributes);
  if (attr > (kAttrRoot | kAttrLeaf)) return corrupt("bad node attributes");
  Node node;
  node.leaf = (attr & kAttrLeaf) != 0;
  node.left = Le32(page, kOffLeft);
  node.right = Le32(page, kOffRight);
  size_t count = Le16(page, kOffKeyCount);
  if (!node.leaf) {
    if (count > InteriorCapacity(key_length)) return corrupt("too many keys in an interior node");
    size_t off = kInteriorStart;
    for (size_t i = 0; i < count; ++i) {
      Entry e;
      e.key.assign(page.substr(off, klen));
      e.recno = Be32(page, off + klen);
      e.child = Be32(page, off + klen + 4);
      node.entries.push_back(std::move(e));
      off += klen + 8;
    }
    return node;
  }
  Bits bits;
  bits.recno = static_cast<uint8_t>(page[kOffRecnoBits]);
  bits.dup = static_cast<uint8_t>(page[kOffDupBits]);
  bits.trail = static_cast<uint8_t>(page[kOffTrailBits]);
  bits.bytes = static_cast<uint8_t>(page[kOffEntryBytes]);
  if (bits.bytes < 1 || bits.bytes > 8 || bits.recno > 32 || bits.dup > 16 || bits.trail > 16 ||
      bits.recno + bits.dup + bits.trail > bits.bytes * 8) {
    return corrupt("bad leaf bit widths");
  }
  if (count * static_cast<size_t>(bits.bytes) > kLeafSpace) return corrupt("too many keys in a leaf");
  size_t entries_end = kLeafStart + count * static_cast<size_t>(bits.bytes);
  size_t key_pos = kPageSize;
  std::string prev;
  for (size_t i = 0; i < count; ++i) {
    uint64_t packed = 0;
    size_t off = kLeafStart + i * static_cast<size_t>(bits.bytes);
    for (int j = bits.bytes - 1; j >= 0; --j) packed = (packed << 8) | static_cast<uint8_t>(page[off + static_cast<size_t>(j)]);
    Entry e;
    e.recno = static_cast<uint32_t>(packed & ((uint64_t{1} << bits.recno) - 1));
    size_t dup = (packed >> bits.recno) & ((uint64_t{1} << bits.dup) - 1);
    size_t trail = (packed >> (bits.recno + bits.dup)) & ((uint64_t{1} << bits.trail) - 1);
    if (dup + trail > klen || (i == 0 && dup > 0)) return corrupt("bad key compression");
    size_t stored = klen - dup - trail;
    if (key_pos < entries_end + stored) return corrupt("leaf keys overlap their entries");
    key_pos -= stored;
    e.key = prev.substr(0, dup);
    e.key.append(page.substr(key_pos, stored));
    e.key.append(trail, pad);
    prev = e.key;
    node.entries.push_back(std::move(e));
  }
  return node;
}

}  // namespace dodu::store::cdx
