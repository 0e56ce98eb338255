#include "store/cdx_index.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <set>

#include "store/internal/cdx_impl.h"

namespace dodu::store {

using cdx::Entry;
using cdx::Node;

namespace {

constexpr int kMaxDepth = 32;

std::span<std::byte> Bytes(std::string& s) { return {reinterpret_cast<std::byte*>(s.data()), s.size()}; }
std::span<const std::byte> Bytes(std::string_view s) {
  return {reinterpret_cast<const std::byte*>(s.data()), s.size()};
}

Result<std::string> ReadExact(platform::File& file, uint64_t off, size_t n, const std::string& what) {
  std::string buf(n, '\0');
  DODU_ASSIGN_OR_RETURN(size_t got, file.ReadAt(off, Bytes(buf)));
  if (got != n) return Status::Corrupt(file.path() + ": " + what + " cut short");
  return buf;
}

std::string TagFromPath(const std::string& path) {
  size_t slash = path.find_last_of('/');
  std::string stem = slash == std::string::npos ? path : path.substr(slash + 1);
  size_t dot = stem.find_last_of('.');
  if (dot != std::string::npos) stem.resize(dot);
  return stem;
}

std::string NormaliseTag(std::string tag) {
  for (char& c : tag) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (tag.size() > static_cast<size_t>(cdx::kTagNameLength)) tag.resize(static_cast<size_t>(cdx::kTagNameLength));
  return tag;
}

void WriteTagHeader(std::string& h, uint32_t root, int key_length, uint8_t options, std::string_view key_expr) {
  cdx::PutLe32(h, cdx::kOffRoot, root);
  cdx::PutLe32(h, cdx::kOffFreeList, cdx::kNoPage);
  cdx::PutLe32(h, cdx::kOffVersion, 0);
  cdx::PutLe16(h, cdx::kOffKeyLength, static_cast<uint16_t>(key_length));
  h[cdx::kOffOptions] = static_cast<char>(options);
  h[cdx::kOffSignature] = static_cast<char>(cdx::kSignature);
  uint16_t klen = static_cast<uint16_t>(key_expr.size() + 1);
  cdx::PutLe16(h, cdx::kOffDescending, 0);
  cdx::PutLe16(h, cdx::kOffForPos, klen);
  cdx::PutLe16(h, cdx::kOffForLength, 1);
  cdx::PutLe16(h, cdx::kOffKeyPos, 0);
  cdx::PutLe16(h, cdx::kOffKeyExprLength, klen);
  std::memcpy(h.data() + cdx::kOffPool, key_expr.data(), key_expr.size());
}

// The stamp fields, written at `base` = where the magic goes.
void PutStamp(std::string& b, size_t base, uint32_t generation, uint32_t records, uint32_t counter, uint8_t state) {
  std::memcpy(b.data() + base, cdx::kStampMagic, 4);
  cdx::PutLe32(b, base + cdx::kOffGeneration - cdx::kOffStampMagic, generation);
  cdx::PutLe32(b, base + cdx::kOffRecordCount - cdx::kOffStampMagic, records);
  cdx::PutLe32(b, base + cdx::kOffChangeCounter - cdx::kOffStampMagic, counter);
  b[base + cdx::kOffState - cdx::kOffStampMagic] = static_cast<char>(state);
}

// Leaves packed full, in key order.
std::vector<std::vector<Entry>> PackLeaves(std::vector<Entry>& sorted, int key_length, char pad) {
  std::vector<std::vector<Entry>> leaves;
  std::vector<Entry> cur;
  size_t stored = 0;
  uint32_t max_recno = 0;
  for (Entry& e : sorted) {
    size_t add = cdx::StoredKeyBytes(cur.empty() ? std::string_view() : std::string_view(cur.back().key), e.key, pad);
    uint32_t mr = std::max(max_recno, e.recno);
    if (!cur.empty() && (cur.size() + 1) * cdx::LeafEntryBytes(key_length, mr) + stored + add > cdx::kLeafSpace) {
      leaves.push_back(std::move(cur));
      cur.clear();
      add = cdx::StoredKeyBytes({}, e.key, pad);
      mr = e.recno;
      stored = 0;
    }
    stored += add;
    max_recno = mr;
    cur.push_back(std::move(e));
  }
  if (!cur.empty()) leaves.push_back(std::move(cur));
  return leaves;
}

// A node that no longer fits, cut into nodes that do. An append at the right
// edge leaves the full node as it is and starts a new one; otherwise the cut
// is as even as the sizes allow.
std::vector<std::vector<Entry>> SplitEntries(const std::vector<Entry>& all, bool leaf, int key_length, char pad,
                                             bool append) {
  auto fits = [&](auto first, auto last) {
    std::vector<Entry> part(first, last);
    return leaf ? cdx::LeafBytes(part, key_length, pad) <= cdx::kLeafSpace
                : part.size() <= cdx::InteriorCapacity(key_length);
  };
  const size_t n = all.size();
  if (fits(all.begin(), all.end())) return {all};
  if (append && n >= 2 && fits(all.begin(), all.end() - 1)) {
    return {std::vector<Entry>(all.begin(), all.end() - 1), std::vector<Entry>(all.end() - 1, all.end())};
  }
  for (size_t d = 0; d < n; ++d) {
    for (size_t j : {n / 2 - std::min(d, n / 2), n / 2 + d}) {
      if (j == 0 || j >= n) continue;
      if (fits(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(j)) &&
          fits(all.begin() + static_cast<std::ptrdiff_t>(j), all.end())) {
        return {std::vector<Entry>(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(j)),
                std::vector<Entry>(all.begin() + static_cast<std::ptrdiff_t>(j), all.end())};
      }
    }
  }
  // Long keys: no cut in two fits, pack greedily (one entry always fits a node).
  std::vector<std::vector<Entry>> parts;
  std::vector<Entry> cur;
  for (const Entry& e : all) {
    cur.push_back(e);
    if (cur.size() > 1 && !fits(cur.begin(), cur.end())) {
      cur.pop_back();
      parts.push_back(std::move(cur));
      cur = {e};
    }
  }
  parts.push_back(std::move(cur));
  return parts;
}

}  // namespace

// ---------------------------------------------------------------------------
// Impl: file access and the cache.

std::string CdxIndex::Impl::Where(uint32_t off) const { return path + " (node at " + std::to_string(off) + ")"; }

Status CdxIndex::Impl::Refresh() {
  DODU_ASSIGN_OR_RETURN(std::string h, ReadExact(*file, 0, cdx::kStampEnd, "index header"));
  CdxStamp s;
  s.present = std::memcmp(h.data() + cdx::kOffStampMagic, cdx::kStampMagic, 4) == 0;
  uint32_t c = 0;
  if (s.present) {
    s.generation = cdx::Le32(h, cdx::kOffGeneration);
    s.record_count = cdx::Le32(h, cdx::kOffRecordCount);
    c = cdx::Le32(h, cdx::kOffChangeCounter);
    s.interrupted = static_cast<uint8_t>(h[cdx::kOffState]) != cdx::kStateClean;
  }
  stamp = s;
  free_head = cdx::Le32(h, cdx::kOffFreeList);
  if (loaded && c == counter) return Status::Ok();
  cache.clear();
  DODU_ASSIGN_OR_RETURN(std::string t, ReadExact(*file, tag_header, 16, "tag header"));
  if (cdx::Le16(t, cdx::kOffKeyLength) != key_length) return Status::Corrupt(path + ": key length changed");
  root = cdx::Le32(t, cdx::kOffRoot);
  DODU_ASSIGN_OR_RETURN(file_size, file->Size());
  counter = c;
  loaded = true;
  return Status::Ok();
}

Result<IndexLock> CdxIndex::Impl::Lock(platform::LockType type) {
  // Changes last microseconds; a lock held for seconds is a station stuck inside one.
  constexpr int64_t kWaitMillis = 5000;
  platform::Clock& clock = env->clock();
  const int64_t deadline = clock.MonotonicMillis() + kWaitMillis;
  for (;;) {
    Status st = file->TryLock(kChangeLockOffset, 1, type);
    if (st.ok()) break;
    if (!st.IsLocked()) return st;
    if (clock.MonotonicMillis() >= deadline) return Status::Locked(path + ": index held by another station");
    clock.SleepFor(std::chrono::milliseconds(1));
  }
  IndexLock lock(file.get());
  DODU_RETURN_IF_ERROR(Refresh());
  return lock;
}

void CdxIndex::Impl::Forget() {
  cache.clear();
  loaded = false;
}

Result<std::shared_ptr<const Node>> CdxIndex::Impl::Read(uint32_t off) {
  auto it = cache.find(off);
  if (it != cache.end()) return it->second;
  if (off % cdx::kPageSize != 0 || off < cdx::kFirstNode || off + cdx::kPageSize > file_size) {
    return Status::Corrupt(Where(off) + ": node outside the file");
  }
  DODU_ASSIGN_OR_RETURN(std::string page, ReadExact(*file, off, cdx::kPageSize, "index node"));
  DODU_ASSIGN_OR_RETURN(Node node, cdx::DecodeNode(page, key_length, pad, Where(off)));
  if (cache.size() > 8192) cache.clear();
  auto p = std::make_shared<const Node>(std::move(node));
  cache[off] = p;
  return p;
}

Status CdxIndex::Impl::Write(uint32_t off, const Node& node) {
  auto page = cdx::EncodeNode(node, off == root, key_length, pad);
  if (!page) return Status::Invalid(Where(off) + ": node overflow");
  DODU_RETURN_IF_ERROR(file->WriteAt(off, Bytes(std::string_view(*page))));
  cache[off] = std::make_shared<const Node>(node);
  return Status::Ok();
}

Result<uint32_t> CdxIndex::Impl::Alloc() {
  if (free_head == cdx::kNoPage) {
    uint32_t off = static_cast<uint32_t>(file_size);
    file_size += cdx::kPageSize;
    return off;
  }
  uint32_t off = free_head;
  if (off % cdx::kPageSize != 0 || off < cdx::kFirstNode || off + cdx::kPageSize > file_size) {
    return Status::Corrupt(Where(off) + ": free list outside the file");
  }
  DODU_ASSIGN_OR_RETURN(std::string page, ReadExact(*file, off, cdx::kPageSize, "free node"));
  free_head = cdx::Le32(page, cdx::kOffLeft);
  free_changed = true;
  cache.erase(off);
  return off;
}

Status CdxIndex::Impl::Free(uint32_t off) {
  std::string page(cdx::kPageSize, '\0');
  cdx::PutLe32(page, cdx::kOffLeft, free_head);
  cdx::PutLe32(page, cdx::kOffRight, cdx::kNoPage);
  DODU_RETURN_IF_ERROR(file->WriteAt(off, Bytes(std::string_view(page))));
  cache.erase(off);
  free_head = off;
  free_changed = true;
  return Status::Ok();
}

Status CdxIndex::Impl::WriteStamp(uint8_t state) {
  std::string b(cdx::kStampEnd - cdx::kOffStampMagic, '\0');
  PutStamp(b, 0, stamp.generation, stamp.record_count, counter, state);
  DODU_RETURN_IF_ERROR(file->WriteAt(cdx::kOffStampMagic, Bytes(std::string_view(b))));
  stamp.present = true;
  stamp.interrupted = state != cdx::kStateClean;
  return Status::Ok();
}

Status CdxIndex::Impl::BeginChange() {
  if (!writable) return Status::Invalid(path + ": index opened read only");
  root_changed = free_changed = false;
  ++counter;
  return WriteStamp(cdx::kStateWriting);
}

Status CdxIndex::Impl::EndChange(uint32_t record_count) {
  if (root_changed) {
    std::string b(4, '\0');
    cdx::PutLe32(b, 0, root);
    DODU_RETURN_IF_ERROR(file->WriteAt(tag_header + cdx::kOffRoot, Bytes(std::string_view(b))));
  }
  if (free_changed) {
    std::string b(4, '\0');
    cdx::PutLe32(b, 0, free_head);
    DODU_RETURN_IF_ERROR(file->WriteAt(cdx::kOffFreeList, Bytes(std::string_view(b))));
  }
  // Readers of the format that cache nodes watch the tag's version number.
  std::string v(4, '\0');
  cdx::PutLe32(v, 0, counter);
  DODU_RETURN_IF_ERROR(file->WriteAt(tag_header + cdx::kOffVersion, Bytes(std::string_view(v))));
  stamp.record_count = record_count;
  return WriteStamp(cdx::kStateClean);
}

// ---------------------------------------------------------------------------
// Impl: walking and changing the tree.

Result<std::vector<CdxIndex::Impl::Step>> CdxIndex::Impl::Descend(const Before& before, bool clamp) {
  std::vector<Step> path;
  uint32_t off = root;
  for (int depth = 0;; ++depth) {
    if (depth >= kMaxDepth) return Status::Corrupt(Where(off) + ": tree too deep (a cycle?)");
    DODU_ASSIGN_OR_RETURN(auto node, Read(off));
    const auto& es = node->entries;
    size_t idx = static_cast<size_t>(
        std::partition_point(es.begin(), es.end(), [&](const Entry& e) { return before(e); }) - es.begin());
    if (node->leaf) {
      path.push_back({off, node, idx});
      return path;
    }
    if (es.empty()) return Status::Corrupt(Where(off) + ": empty interior node");
    if (idx == es.size()) {
      if (!clamp) return std::vector<Step>();
      idx = es.size() - 1;
    }
    path.push_back({off, node, idx});
    off = es[idx].child;
  }
}

Result<std::vector<CdxIndex::Impl::Step>> CdxIndex::Impl::Edge(bool rightmost) {
  std::vector<Step> path;
  uint32_t off = root;
  for (int depth = 0;; ++depth) {
    if (depth >= kMaxDepth) return Status::Corrupt(Where(off) + ": tree too deep (a cycle?)");
    DODU_ASSIGN_OR_RETURN(auto node, Read(off));
    if (node->entries.empty()) {
      if (node->leaf) return std::vector<Step>();
      return Status::Corrupt(Where(off) + ": empty interior node");
    }
    size_t idx = rightmost ? node->entries.size() - 1 : 0;
    path.push_back({off, node, idx});
    if (node->leaf) return path;
    off = node->entries[idx].child;
  }
}

Status CdxIndex::Impl::Settle(std::vector<Step>& path, Node node, bool append) {
  size_t level = path.size() - 1;
  uint32_t off = path[level].off;
  for (;;) {
    auto groups = SplitEntries(node.entries, node.leaf, key_length, pad, append && node.right == cdx::kNoPage);
    std::vector<uint32_t> offs{off};
    for (size_t i = 1; i < groups.size(); ++i) {
      DODU_ASSIGN_OR_RETURN(uint32_t o, Alloc());
      offs.push_back(o);
    }
    const bool is_root = off == root;
    uint32_t new_root = 0;
    if (is_root && groups.size() > 1) {
      DODU_ASSIGN_OR_RETURN(new_root, Alloc());
      root = new_root;
      root_changed = true;
    }
    const uint32_t old_right = node.right;
    for (size_t i = 0; i < groups.size(); ++i) {
      Node piece;
      piece.leaf = node.leaf;
      piece.left = i == 0 ? node.left : offs[i - 1];
      piece.right = i + 1 < groups.size() ? offs[i + 1] : old_right;
      piece.entries = groups[i];
      DODU_RETURN_IF_ERROR(Write(offs[i], piece));
    }
    if (groups.size() > 1 && old_right != cdx::kNoPage) {
      DODU_ASSIGN_OR_RETURN(auto nb, Read(old_right));
      Node n = *nb;
      n.left = offs.back();
      DODU_RETURN_IF_ERROR(Write(old_right, n));
    }
    if (is_root) {
      if (groups.size() == 1) return Status::Ok();
      Node r;
      r.leaf = false;
      for (size_t i = 0; i < groups.size(); ++i) {
        r.entries.push_back({groups[i].back().key, groups[i].back().recno, offs[i]});
      }
      node = std::move(r);
      off = new_root;
      append = false;
      continue;
    }
    --level;
    Node parent = *path[level].node;
    size_t idx = path[level].idx;
    append = append && idx + 1 == parent.entries.size();
    bool changed = groups.size() > 1;
    Entry& pe = parent.entries[idx];
    const Entry& last = groups[0].back();
    if (pe.key != last.key || pe.recno != last.recno) {
      pe.key = last.key;
      pe.recno = last.recno;
      changed = true;
    }
    for (size_t i = 1; i < groups.size(); ++i) {
      parent.entries.insert(parent.entries.begin() + static_cast<std::ptrdiff_t>(idx + i),
                            Entry{groups[i].back().key, groups[i].back().recno, offs[i]});
    }
    if (!changed) return Status::Ok();
    node = std::move(parent);
    off = path[level].off;
  }
}

Status CdxIndex::Impl::Shrink(std::vector<Step>& path, Node node) {
  size_t level = path.size() - 1;
  uint32_t off = path[level].off;
  for (;;) {
    if (off == root) {
      // A root with one child hands the root over to it.
      while (!node.leaf && node.entries.size() == 1) {
        uint32_t child = node.entries[0].child;
        DODU_RETURN_IF_ERROR(Free(off));
        root = child;
        root_changed = true;
        off = child;
        DODU_ASSIGN_OR_RETURN(auto c, Read(child));
        node = *c;
        node.left = node.right = cdx::kNoPage;
      }
      if (!node.leaf && node.entries.empty()) node.leaf = true;
      return Write(off, node);
    }
    Node parent = *path[level - 1].node;
    size_t idx = path[level - 1].idx;
    if (node.entries.empty()) {
      if (node.left != cdx::kNoPage) {
        DODU_ASSIGN_OR_RETURN(auto l, Read(node.left));
        Node n = *l;
        n.right = node.right;
        DODU_RETURN_IF_ERROR(Write(node.left, n));
      }
      if (node.right != cdx::kNoPage) {
        DODU_ASSIGN_OR_RETURN(auto r, Read(node.right));
        Node n = *r;
        n.left = node.left;
        DODU_RETURN_IF_ERROR(Write(node.right, n));
      }
      DODU_RETURN_IF_ERROR(Free(off));
      parent.entries.erase(parent.entries.begin() + static_cast<std::ptrdiff_t>(idx));
    } else {
      DODU_RETURN_IF_ERROR(Write(off, node));
      const Entry& last = node.entries.back();
      Entry& pe = parent.entries[idx];
      if (pe.key == last.key && pe.recno == last.recno) return Status::Ok();
      pe.key = last.key;
      pe.recno = last.recno;
    }
    --level;
    off = path[level].off;
    node = std::move(parent);
  }
}

// ---------------------------------------------------------------------------
// CdxIndex.

CdxIndex::CdxIndex(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
CdxIndex::CdxIndex(CdxIndex&&) noexcept = default;
CdxIndex& CdxIndex::operator=(CdxIndex&&) noexcept = default;
CdxIndex::~CdxIndex() = default;

const KeyExpr& CdxIndex::expr() const { return impl_->expr; }
const std::string& CdxIndex::tag() const { return impl_->tag; }
const std::string& CdxIndex::path() const { return impl_->path; }
int CdxIndex::key_length() const { return impl_->key_length; }
const CdxStamp& CdxIndex::stamp() const { return impl_->stamp; }
Status CdxIndex::Refresh() {
  DODU_ASSIGN_OR_RETURN(IndexLock lock, impl_->Lock(platform::LockType::kShared));
  return Status::Ok();
}
Status CdxIndex::Sync() { return impl_->file->Sync(); }
CdxIndex::Cursor CdxIndex::NewCursor() { return Cursor(impl_.get()); }

Result<CdxIndex> CdxIndex::Create(platform::Env& env, const std::string& path, const KeyExpr& expr,
                                  std::vector<CdxEntry> entries, uint32_t generation, uint32_t record_count,
                                  std::string tag) {
  const int klen = expr.length();
  const char pad = expr.type() == KeyType::kCharacter ? ' ' : '\0';
  tag = NormaliseTag(tag.empty() ? TagFromPath(path) : tag);
  if (tag.empty()) return Status::Invalid(path + ": no tag name");
  if (expr.text().size() + 2 > cdx::kPoolSize) return Status::Invalid(path + ": key expression too long");
  std::vector<Entry> sorted;
  sorted.reserve(entries.size());
  for (CdxEntry& e : entries) {
    if (e.key.size() != static_cast<size_t>(klen)) {
      return Status::Invalid(path + ": key of record " + std::to_string(e.recno) + " is not " +
                             std::to_string(klen) + " bytes");
    }
    sorted.push_back({std::move(e.key), e.recno, 0});
  }
  std::sort(sorted.begin(), sorted.end(), [](const Entry& a, const Entry& b) { return EntryLess(a, b.key, b.recno); });
  for (size_t i = 1; i < sorted.size(); ++i) {
    if (sorted[i].key == sorted[i - 1].key && sorted[i].recno == sorted[i - 1].recno) {
      return Status::Invalid(path + ": record " + std::to_string(sorted[i].recno) + " given twice");
    }
  }

  // Nodes level by level, leaves first, at consecutive offsets.
  std::vector<std::vector<Node>> levels;
  {
    std::vector<Node> leaves;
    for (auto& group : PackLeaves(sorted, klen, pad)) {
      Node n;
      n.entries = std::move(group);
      leaves.push_back(std::move(n));
    }
    if (leaves.empty()) leaves.emplace_back();
    levels.push_back(std::move(leaves));
  }
  uint32_t next_off = cdx::kFirstNode;
  std::vector<std::vector<uint32_t>> offsets;
  for (;;) {
    std::vector<Node>& lv = levels.back();
    std::vector<uint32_t> offs;
    for (size_t i = 0; i < lv.size(); ++i) {
      offs.push_back(next_off);
      next_off += cdx::kPageSize;
    }
    for (size_t i = 0; i < lv.size(); ++i) {
      lv[i].left = i == 0 ? cdx::kNoPage : offs[i - 1];
      lv[i].right = i + 1 < lv.size() ? offs[i + 1] : cdx::kNoPage;
    }
    offsets.push_back(offs);
    if (lv.size() == 1) break;
    std::vector<Node> up;
    const size_t cap = cdx::InteriorCapacity(klen);
    for (size_t i = 0; i < lv.size(); ++i) {
      if (i % cap == 0) {
        up.emplace_back();
        up.back().leaf = false;
      }
      const Entry& last = lv[i].entries.back();
      up.back().entries.push_back({last.key, last.recno, offs[i]});
    }
    levels.push_back(std::move(up));
  }
  const uint32_t root = offsets.back()[0];

  std::string buf(next_off, '\0');
  {
    std::string h(cdx::kHeaderSize, '\0');
    WriteTagHeader(h, cdx::kDirectoryRoot, cdx::kTagNameLength, cdx::kDirectoryOptions, "");
    PutStamp(h, cdx::kOffStampMagic, generation, record_count, 1, cdx::kStateClean);
    std::memcpy(buf.data(), h.data(), h.size());
    Node dir;
    std::string name = tag;
    name.resize(static_cast<size_t>(cdx::kTagNameLength), ' ');
    dir.entries.push_back({name, cdx::kTagHeader, 0});
    auto page = cdx::EncodeNode(dir, true, cdx::kTagNameLength, ' ');
    std::memcpy(buf.data() + cdx::kDirectoryRoot, page->data(), page->size());
    std::string t(cdx::kHeaderSize, '\0');
    WriteTagHeader(t, root, klen, cdx::kTagOptions, expr.text());
    std::memcpy(buf.data() + cdx::kTagHeader, t.data(), t.size());
  }
  for (size_t l = 0; l < levels.size(); ++l) {
    for (size_t i = 0; i < levels[l].size(); ++i) {
      auto page = cdx::EncodeNode(levels[l][i], offsets[l][i] == root, klen, pad);
      if (!page) return Status::Invalid(path + ": node overflow while building");
      std::memcpy(buf.data() + offsets[l][i], page->data(), page->size());
    }
  }

  DODU_ASSIGN_OR_RETURN(auto file, env.Open(path, platform::OpenMode::kTruncate));
  DODU_RETURN_IF_ERROR(file->WriteAt(0, Bytes(std::string_view(buf))));
  auto impl = std::make_unique<Impl>(expr);
  impl->env = &env;
  impl->path = path;
  impl->file = std::move(file);
  impl->tag = tag;
  impl->key_length = klen;
  impl->pad = pad;
  DODU_RETURN_IF_ERROR(impl->Refresh());
  return CdxIndex(std::move(impl));
}

Result<CdxIndex> CdxIndex::Open(platform::Env& env, const std::string& path, const Layout& layout, bool writable) {
  if (!env.Exists(path)) return Status::NotFound(path + ": index file not found");
  DODU_ASSIGN_OR_RETURN(auto file,
                        env.Open(path, writable ? platform::OpenMode::kReadWrite : platform::OpenMode::kRead));
  auto corrupt = [&](const std::string& what) { return Status::Corrupt(path + ": " + what); };
  DODU_ASSIGN_OR_RETURN(uint64_t size, file->Size());
  DODU_ASSIGN_OR_RETURN(std::string h, ReadExact(*file, 0, cdx::kHeaderSize, "index header"));
  if (!(static_cast<uint8_t>(h[cdx::kOffOptions]) & cdx::kOptCompound) ||
      cdx::Le16(h, cdx::kOffKeyLength) != cdx::kTagNameLength) {
    return corrupt("not a compound index file");
  }
  // The tag directory: the first tag of its leftmost leaf.
  uint32_t off = cdx::Le32(h, cdx::kOffRoot);
  Entry first;
  for (int depth = 0;; ++depth) {
    if (depth >= kMaxDepth || off % cdx::kPageSize != 0 || off < cdx::kHeaderSize || off + cdx::kPageSize > size) {
      return corrupt("bad tag directory");
    }
    DODU_ASSIGN_OR_RETURN(std::string page, ReadExact(*file, off, cdx::kPageSize, "tag directory"));
    DODU_ASSIGN_OR_RETURN(Node n, cdx::DecodeNode(page, cdx::kTagNameLength, ' ', path + " (tag directory)"));
    if (n.entries.empty()) return corrupt("no tag in the index file");
    if (n.leaf) {
      first = n.entries[0];
      break;
    }
    off = n.entries[0].child;
  }
  const uint32_t tag_header = first.recno;
  if (tag_header % cdx::kPageSize != 0 || tag_header < cdx::kHeaderSize || tag_header + cdx::kHeaderSize > size) {
    return corrupt("tag header outside the file");
  }
  DODU_ASSIGN_OR_RETURN(std::string t, ReadExact(*file, tag_header, cdx::kHeaderSize, "tag header"));
  int klen = cdx::Le16(t, cdx::kOffKeyLength);
  uint8_t options = static_cast<uint8_t>(t[cdx::kOffOptions]);
  if (klen < 1 || klen > kMaxKeyLength) return corrupt("bad key length");
  if ((options & (cdx::kOptFor | cdx::kOptUnique)) || cdx::Le16(t, cdx::kOffDescending) != 0) {
    return Status::Invalid(path + ": filtered, unique or descending index orders are not supported");
  }
  std::string_view pool(t.data() + cdx::kOffPool, cdx::kPoolSize);
  size_t key_pos = cdx::Le16(t, cdx::kOffKeyPos);
  if (key_pos >= pool.size()) return corrupt("bad key expression");
  std::string_view text = pool.substr(key_pos);
  size_t nul = text.find('\0');
  if (nul == std::string_view::npos || nul == 0) return corrupt("bad key expression");
  text = text.substr(0, nul);
  auto expr = KeyExpr::Compile(text, layout);
  if (!expr.ok()) return corrupt("key expression does not fit the table: " + expr.status().message());
  if (expr->length() != klen) return corrupt("key length disagrees with the expression " + std::string(text));

  std::string name = first.key;
  while (!name.empty() && (name.back() == ' ' || name.back() == '\0')) name.pop_back();
  auto impl = std::make_unique<Impl>(std::move(expr).value());
  impl->env = &env;
  impl->path = path;
  impl->file = std::move(file);
  impl->writable = writable;
  impl->tag = name;
  impl->key_length = klen;
  impl->pad = impl->expr.type() == KeyType::kCharacter ? ' ' : '\0';
  impl->tag_header = tag_header;
  {
    // Under the lock: a change another station is writing right now ends first.
    DODU_ASSIGN_OR_RETURN(IndexLock lock, impl->Lock(platform::LockType::kShared));
  }
  return CdxIndex(std::move(impl));
}

Status CdxIndex::SetStamp(uint32_t generation, uint32_t record_count) {
  DODU_ASSIGN_OR_RETURN(IndexLock lock, impl_->Lock(platform::LockType::kExclusive));
  DODU_RETURN_IF_ERROR(impl_->BeginChange());
  impl_->stamp.generation = generation;
  Status st = impl_->EndChange(record_count);
  if (!st.ok()) impl_->Forget();
  return st;
}

Status CdxIndex::Insert(std::string_view key, uint32_t recno) {
  Impl& m = *impl_;
  if (key.size() != static_cast<size_t>(m.key_length)) {
    return Status::Invalid(m.path + ": key of record " + std::to_string(recno) + " has the wrong length");
  }
  DODU_ASSIGN_OR_RETURN(IndexLock lock, m.Lock(platform::LockType::kExclusive));
  DODU_ASSIGN_OR_RETURN(auto path, m.Descend([&](const Entry& e) { return EntryLess(e, key, recno); }, true));
  Node leaf = *path.back().node;
  size_t idx = path.back().idx;
  if (idx < leaf.entries.size() && leaf.entries[idx].key == key && leaf.entries[idx].recno == recno) {
    return Status::Invalid(m.path + ": record " + std::to_string(recno) + " is already in the index");
  }
  leaf.entries.insert(leaf.entries.begin() + static_cast<std::ptrdiff_t>(idx), Entry{std::string(key), recno, 0});
  const bool append = idx + 1 == leaf.entries.size();
  // The index lock keeps the file as read: the path stays good.
  Status st = m.BeginChange();
  if (st.ok()) st = m.Settle(path, std::move(leaf), append);
  if (st.ok()) st = m.EndChange(std::max(m.stamp.record_count, recno));
  if (!st.ok()) m.Forget();
  return st;
}

Status CdxIndex::Remove(std::string_view key, uint32_t recno) {
  Impl& m = *impl_;
  auto absent = [&] { return Status::NotFound(m.path + ": record " + std::to_string(recno) + " not in the index"); };
  if (key.size() != static_cast<size_t>(m.key_length)) return absent();
  DODU_ASSIGN_OR_RETURN(IndexLock lock, m.Lock(platform::LockType::kExclusive));
  DODU_ASSIGN_OR_RETURN(auto path, m.Descend([&](const Entry& e) { return EntryLess(e, key, recno); }, false));
  if (path.empty()) return absent();
  Node leaf = *path.back().node;
  size_t idx = path.back().idx;
  if (idx >= leaf.entries.size() || leaf.entries[idx].key != key || leaf.entries[idx].recno != recno) {
    return absent();
  }
  leaf.entries.erase(leaf.entries.begin() + static_cast<std::ptrdiff_t>(idx));
  Status st = m.BeginChange();
  if (st.ok()) st = m.Shrink(path, std::move(leaf));
  if (st.ok()) st = m.EndChange(m.stamp.record_count);
  if (!st.ok()) m.Forget();
  return st;
}

Status CdxIndex::Update(std::string_view old_key, std::string_view new_key, uint32_t recno) {
  if (old_key == new_key) return Status::Ok();
  DODU_RETURN_IF_ERROR(Remove(old_key, recno));
  return Insert(new_key, recno);
}

Result<std::vector<CdxEntry>> CdxIndex::ReadAll() {
  DODU_ASSIGN_OR_RETURN(IndexLock lock, impl_->Lock(platform::LockType::kShared));
  std::vector<CdxEntry> out;
  std::set<uint32_t> seen;
  std::function<Status(uint32_t, int)> walk = [&](uint32_t off, int depth) -> Status {
    if (depth >= kMaxDepth || !seen.insert(off).second) return Status::Corrupt(impl_->Where(off) + ": node reached twice");
    DODU_ASSIGN_OR_RETURN(auto node, impl_->Read(off));
    for (const Entry& e : node->entries) {
      if (node->leaf) {
        out.push_back({e.key, e.recno});
      } else {
        DODU_RETURN_IF_ERROR(walk(e.child, depth + 1));
      }
    }
    return Status::Ok();
  };
  DODU_RETURN_IF_ERROR(walk(impl_->root, 0));
  return out;
}

Status CdxIndex::Check() {
  Impl& m = *impl_;
  DODU_ASSIGN_OR_RETURN(IndexLock lock, m.Lock(platform::LockType::kShared));
  std::set<uint32_t> seen;
  std::vector<std::vector<std::pair<uint32_t, std::shared_ptr<const Node>>>> levels;
  int leaf_depth = -1;
  const Entry* prev = nullptr;
  std::function<Status(uint32_t, int, const Entry*)> walk = [&](uint32_t off, int depth, const Entry* max) -> Status {
    auto bad = [&](const std::string& what) { return Status::Corrupt(m.Where(off) + ": " + what); };
    if (depth >= kMaxDepth || !seen.insert(off).second) return bad("node reached twice");
    DODU_ASSIGN_OR_RETURN(auto node, m.Read(off));
    if (levels.size() <= static_cast<size_t>(depth)) levels.resize(static_cast<size_t>(depth) + 1);
    levels[static_cast<size_t>(depth)].push_back({off, node});
    if (node->entries.empty() && off != m.root) return bad("empty node");
    if (node->leaf) {
      if (leaf_depth < 0) leaf_depth = depth;
      if (leaf_depth != depth) return bad("leaves at different depths");
    }
    for (const Entry& e : node->entries) {
      if (node->leaf) {
        if (prev && !EntryLess(*prev, e.key, e.recno)) return bad("keys out of order");
        prev = &e;
      } else {
        DODU_RETURN_IF_ERROR(walk(e.child, depth + 1, &e));
      }
    }
    if (max && !node->entries.empty()) {
      const Entry& last = node->entries.back();
      if (last.key != max->key || last.recno != max->recno) return bad("parent key is not the node's last key");
    }
    return Status::Ok();
  };
  DODU_RETURN_IF_ERROR(walk(m.root, 0, nullptr));
  for (const auto& lv : levels) {
    for (size_t i = 0; i < lv.size(); ++i) {
      uint32_t want_left = i == 0 ? cdx::kNoPage : lv[i - 1].first;
      uint32_t want_right = i + 1 < lv.size() ? lv[i + 1].first : cdx::kNoPage;
      if (lv[i].second->left != want_left || lv[i].second->right != want_right) {
        return Status::Corrupt(m.Where(lv[i].first) + ": sibling links broken");
      }
    }
  }
  return Status::Ok();
}

}  // namespace dodu::store
