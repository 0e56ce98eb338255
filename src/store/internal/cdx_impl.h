// The state behind a CdxIndex and its cursors: the open file, the stamp as last
// read, and the decoded nodes, valid while the file's change counter holds.
#ifndef DODU_STORE_INTERNAL_CDX_IMPL_H_
#define DODU_STORE_INTERNAL_CDX_IMPL_H_

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/env.h"
#include "store/cdx_index.h"
#include "store/internal/cdx_format.h"

namespace dodu::store {

// A byte-range lock on the index file itself, far past its end, held around
// every change (exclusive) and every read of the tree (shared): writers of two
// stations never interleave their nodes, and a reader never sees half a change.
// A rewrite replaces the file only under an exclusive open of the table, when
// nobody else can hold it.
inline constexpr uint64_t kChangeLockOffset = 0x7FFFFF00;

class IndexLock {
 public:
  explicit IndexLock(platform::File* f) : f_(f) {}
  IndexLock(IndexLock&& o) noexcept : f_(o.f_) { o.f_ = nullptr; }
  IndexLock& operator=(IndexLock&&) = delete;
  ~IndexLock() {
    if (f_) (void)f_->Unlock(kChangeLockOffset, 1);
  }

 private:
  platform::File* f_;
};

struct CdxIndex::Impl {
  // One node of a root-to-leaf path and the entry taken in it.
  struct Step {
    uint32_t off = 0;
    std::shared_ptr<const cdx::Node> node;
    size_t idx = 0;
  };
  // True while an entry lies before the position sought.
  using Before = std::function<bool(const cdx::Entry&)>;

  platform::Env* env = nullptr;
  std::string path;
  std::unique_ptr<platform::File> file;
  bool writable = true;
  KeyExpr expr;
  std::string tag;
  int key_length = 0;
  char pad = ' ';
  uint32_t tag_header = cdx::kTagHeader;

  CdxStamp stamp;
  uint32_t counter = 0;
  bool loaded = false;
  uint32_t root = 0;
  uint32_t free_head = cdx::kNoPage;
  uint64_t file_size = 0;
  bool root_changed = false, free_changed = false;
  std::unordered_map<uint32_t, std::shared_ptr<const cdx::Node>> cache;

  explicit Impl(KeyExpr e) : expr(std::move(e)) {}

  // Takes the index lock, waiting a few seconds at most (kLocked then), and
  // refreshes under it.
  Result<IndexLock> Lock(platform::LockType type);
  Status Refresh();
  Result<std::shared_ptr<const cdx::Node>> Read(uint32_t off);
  Status Write(uint32_t off, const cdx::Node& node);
  Result<uint32_t> Alloc();
  Status Free(uint32_t off);
  Status WriteStamp(uint8_t state);
  Status BeginChange();
  Status EndChange(uint32_t record_count);
  // Drops everything cached after a failed change.
  void Forget();

  // Root-to-leaf path to the first entry that is not Before. In an interior node
  // where every entry is Before, clamp = true takes the last child (an insert
  // past the end) and clamp = false ends the walk: the path is then empty.
  Result<std::vector<Step>> Descend(const Before& before, bool clamp);
  // The leftmost (or rightmost) leaf; an empty path when the index is empty.
  Result<std::vector<Step>> Edge(bool rightmost);

  Status Settle(std::vector<Step>& path, cdx::Node node, bool append);
  Status Shrink(std::vector<Step>& path, cdx::Node node);

  std::string Where(uint32_t off) const;
};

// Key order: bytes, then record number.
inline bool EntryLess(const cdx::Entry& a, std::string_view key, uint32_t recno) {
  int c = a.key.compare(key);
  return c < 0 || (c == 0 && a.recno < recno);
}

}  // namespace dodu::store

#endif  // DODU_STORE_INTERNAL_CDX_IMPL_H_
