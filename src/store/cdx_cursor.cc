// Cursor moves over a CdxIndex: seeks descend from the root, skips step through
// the leaf chain while the file is unchanged and search again when it changed.
#include <cstring>

#include "store/cdx_index.h"
#include "store/internal/cdx_impl.h"

namespace dodu::store {

using cdx::Entry;

namespace {

// A character key counts as followed by blanks without end, so a seek key
// longer than the keys compares its excess against blanks.
int SeekCompare(std::string_view entry, std::string_view sought, char pad) {
  size_t n = std::min(entry.size(), sought.size());
  int c = std::memcmp(entry.data(), sought.data(), n);
  if (c != 0) return c;
  for (size_t i = n; i < sought.size(); ++i) {
    if (sought[i] != pad) return static_cast<unsigned char>(pad) < static_cast<unsigned char>(sought[i]) ? -1 : 1;
  }
  return 0;
}

}  // namespace

Result<bool> CdxIndex::Cursor::Seek(std::string_view key, bool soft) {
  DODU_ASSIGN_OR_RETURN(IndexLock lock, impl_->Lock(platform::LockType::kShared));
  const char pad = impl_->pad;
  DODU_ASSIGN_OR_RETURN(auto path,
                        impl_->Descend([&](const Entry& e) { return SeekCompare(e.key, key, pad) < 0; }, false));
  bof_ = false;
  found_ = false;
  if (!path.empty()) {
    const auto& step = path.back();
    if (step.idx < step.node->entries.size()) {
      found_ = SeekCompare(step.node->entries[step.idx].key, key, pad) == 0;
      if (found_ || soft) {
        leaf_ = step.off;
        pos_ = step.idx;
        key_ = step.node->entries[step.idx].key;
        recno_ = step.node->entries[step.idx].recno;
        counter_ = impl_->counter;
        eof_ = false;
        return found_;
      }
    }
  }
  eof_ = true;
  return found_;
}

Result<bool> CdxIndex::Cursor::SeekEntry(std::string_view key, uint32_t recno) {
  DODU_ASSIGN_OR_RETURN(IndexLock lock, impl_->Lock(platform::LockType::kShared));
  DODU_ASSIGN_OR_RETURN(auto path, impl_->Descend([&](const Entry& e) { return EntryLess(e, key, recno); }, false));
  bof_ = false;
  found_ = false;
  eof_ = true;
  if (path.empty() || path.back().idx >= path.back().node->entries.size()) return false;
  const auto& step = path.back();
  const Entry& e = step.node->entries[step.idx];
  found_ = e.key == key && e.recno == recno;
  leaf_ = step.off;
  pos_ = step.idx;
  key_ = e.key;
  recno_ = e.recno;
  counter_ = impl_->counter;
  eof_ = false;
  return found_;
}

Status CdxIndex::Cursor::Top() {
  DODU_ASSIGN_OR_RETURN(IndexLock lock, impl_->Lock(platform::LockType::kShared));
  DODU_ASSIGN_OR_RETURN(auto path, impl_->Edge(false));
  bof_ = path.empty();
  found_ = false;
  eof_ = path.empty();
  if (eof_) return Status::Ok();
  leaf_ = path.back().off;
  pos_ = 0;
  key_ = path.back().node->entries[0].key;
  recno_ = path.back().node->entries[0].recno;
  counter_ = impl_->counter;
  return Status::Ok();
}

Status CdxIndex::Cursor::Bottom() {
  DODU_ASSIGN_OR_RETURN(IndexLock lock, impl_->Lock(platform::LockType::kShared));
  DODU_ASSIGN_OR_RETURN(auto path, impl_->Edge(true));
  bof_ = path.empty();
  found_ = false;
  eof_ = path.empty();
  if (eof_) return Status::Ok();
  leaf_ = path.back().off;
  pos_ = path.back().idx;
  key_ = path.back().node->entries[pos_].key;
  recno_ = path.back().node->entries[pos_].recno;
  counter_ = impl_->counter;
  return Status::Ok();
}

Status CdxIndex::Cursor::Next() {
  if (eof_) return Status::Ok();
  DODU_ASSIGN_OR_RETURN(IndexLock lock, impl_->Lock(platform::LockType::kShared));
  bof_ = false;
  if (counter_ != impl_->counter) {
    // The index changed under the position: the first entry after it.
    std::string key = key_;
    uint32_t recno = recno_;
    DODU_ASSIGN_OR_RETURN(auto path, impl_->Descend(
                                         [&](const Entry& e) { return !(key < e.key || (key == e.key && recno < e.recno)); },
                                         false));
    if (path.empty() || path.back().idx >= path.back().node->entries.size()) {
      eof_ = true;
      return Status::Ok();
    }
    leaf_ = path.back().off;
    pos_ = path.back().idx;
    key_ = path.back().node->entries[pos_].key;
    recno_ = path.back().node->entries[pos_].recno;
    counter_ = impl_->counter;
    return Status::Ok();
  }
  DODU_ASSIGN_OR_RETURN(auto node, impl_->Read(leaf_));
  uint32_t off = leaf_;
  size_t pos = pos_ + 1;
  if (pos >= node->entries.size()) {
    if (node->right == cdx::kNoPage) {
      eof_ = true;
      return Status::Ok();
    }
    off = node->right;
    DODU_ASSIGN_OR_RETURN(node, impl_->Read(off));
    // Only the root may be empty.
    if (node->entries.empty() || !node->leaf) return Status::Corrupt(impl_->Where(off) + ": bad leaf chain");
    pos = 0;
  }
  leaf_ = off;
  pos_ = pos;
  key_ = node->entries[pos].key;
  recno_ = node->entries[pos].recno;
  return Status::Ok();
}

Status CdxIndex::Cursor::Prev() {
  if (eof_) return Bottom();
  DODU_ASSIGN_OR_RETURN(IndexLock lock, impl_->Lock(platform::LockType::kShared));
  if (counter_ != impl_->counter) {
    // Find the position again: the first entry not before it, then one back.
    std::string key = key_;
    uint32_t recno = recno_;
    DODU_ASSIGN_OR_RETURN(auto path, impl_->Descend([&](const Entry& e) { return EntryLess(e, key, recno); }, false));
    if (path.empty()) return Bottom();
    leaf_ = path.back().off;
    pos_ = path.back().idx;
    counter_ = impl_->counter;
    const auto& es = path.back().node->entries;
    if (pos_ < es.size() && es[pos_].key == key && es[pos_].recno == recno) {
      // still there: step back from it below
    } else if (pos_ >= es.size()) {
      return Bottom();
    }
    key_ = es[pos_].key;
    recno_ = es[pos_].recno;
  }
  DODU_ASSIGN_OR_RETURN(auto node, impl_->Read(leaf_));
  uint32_t off = leaf_;
  if (pos_ > 0 && pos_ <= node->entries.size()) {
    pos_ -= 1;
  } else {
    if (node->left == cdx::kNoPage) {
      bof_ = true;  // stays on the first entry
      return Status::Ok();
    }
    off = node->left;
    DODU_ASSIGN_OR_RETURN(node, impl_->Read(off));
    if (node->entries.empty() || !node->leaf) return Status::Corrupt(impl_->Where(off) + ": bad leaf chain");
    leaf_ = off;
    pos_ = node->entries.size() - 1;
  }
  bof_ = false;
  key_ = node->entries[pos_].key;
  recno_ = node->entries[pos_].recno;
  return Status::Ok();
}

}  // namespace dodu::store
