// A compact compound index file (.CDX) holding one tag, as other xBase tools
// read it: the B-tree of one key expression over a table, kept up to date by the
// table engine on every append and key change, and walked in key order by cursors.
//
// Order: keys compare as bytes (code page 850 text, or the sortable 8-byte form
// of numbers and dates, see key_expr.h); equal keys are ordered by record number.
// Deleted records keep their keys; hiding them is the table's navigation filter.
//
// Sharing. A CdxIndex reads its file through platform::File and keeps decoded
// nodes only while the file's change counter stays the same: every operation
// starts by re-reading the small stamp at the top of the file (Refresh), so a
// change written by another station is seen at the next seek or skip. Writers
// must be serialised by the caller (the table's lock covering index updates), and
// the caller calls nothing on the index between taking that lock and writing
// except through these methods, which refresh first. Readers that run without
// a lock may meet a change half-written by another station; they get kCorrupt
// and may retry.
//
// Crash safety. Each change marks the stamp "being written" before it touches a
// node and clears the mark when done, so an index cut short by a killed process
// reports stamp().interrupted and must be rebuilt. The stamp also carries the
// table's rewrite generation and record count, for the opener to tell an index
// that does not belong to its table.
#ifndef DODU_STORE_CDX_INDEX_H_
#define DODU_STORE_CDX_INDEX_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/env.h"
#include "platform/status.h"
#include "store/field.h"
#include "store/key_expr.h"

namespace dodu::store {

struct CdxEntry {
  std::string key;     // exactly the expression's key length
  uint32_t recno = 0;  // 1-based table record number
  bool operator==(const CdxEntry&) const = default;
};

struct CdxStamp {
  uint32_t generation = 0;    // the table's rewrite generation
  uint32_t record_count = 0;  // records of the table the index covers
  bool present = true;        // false: a file written by another tool, without a stamp
  bool interrupted = false;   // a change was cut short; the index must be rebuilt
};

class CdxIndex {
 public:
  class Cursor;

  // Builds the index file at `path` (replaced when it exists) from `entries` in
  // any order, stamped with `generation` and `record_count`. The tag is named
  // `tag` (upper case, at most 10 characters), by default after the file name:
  // pass the final name's stem when building under a temporary name.
  // kInvalid: an entry whose key is not expr.length() bytes, or the same
  // (key, record) twice. kIoError from the file system. The file is not synced;
  // call Sync() before renaming it over another.
  static Result<CdxIndex> Create(platform::Env& env, const std::string& path, const KeyExpr& expr,
                                 std::vector<CdxEntry> entries, uint32_t generation,
                                 uint32_t record_count, std::string tag = "");

  // Opens an existing index of a table with this layout; the key expression is
  // read from the file and compiled against `layout`. kNotFound: no file.
  // kCorrupt: not a valid index file, an expression that does not compile, or a
  // key length that disagrees with it (the opener rebuilds on kCorrupt).
  // kInvalid: a filtered, unique or descending tag (never written here).
  static Result<CdxIndex> Open(platform::Env& env, const std::string& path, const Layout& layout,
                               bool writable = true);

  CdxIndex(CdxIndex&&) noexcept;
  CdxIndex& operator=(CdxIndex&&) noexcept;
  ~CdxIndex();

  const KeyExpr& expr() const;
  const std::string& tag() const;
  const std::string& path() const;
  int key_length() const;

  // Re-reads the stamp; drops cached nodes when the file changed since.
  Status Refresh();
  // The stamp as last read (Refresh to be current).
  const CdxStamp& stamp() const;
  // Writes generation and record count into the stamp.
  Status SetStamp(uint32_t generation, uint32_t record_count);

  // Adds (key, recno). A record number beyond the stamped record count raises
  // the count to it (an append). kInvalid: wrong key length, or the pair is
  // already there. kCorrupt / kIoError: the file; the stamp then stays marked
  // interrupted.
  Status Insert(std::string_view key, uint32_t recno);
  // Removes (key, recno); kNotFound when absent.
  Status Remove(std::string_view key, uint32_t recno);
  // A record's key changed: Remove(old) + Insert(new); nothing when equal.
  Status Update(std::string_view old_key, std::string_view new_key, uint32_t recno);

  // Every entry in index order (for checks and tests).
  Result<std::vector<CdxEntry>> ReadAll();
  // Walks the whole tree: order, sibling links, parent keys, node bounds.
  // kCorrupt names the first fault found.
  Status Check();
  Status Sync();

  // A cursor over this index. It must not outlive the index (moving the index
  // is fine).
  Cursor NewCursor();

  struct Impl;

 private:
  explicit CdxIndex(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

// A position in index order. After a failed seek without soft mode, or a Next
// past the last key, eof() is true and there is no current entry. Prev before the
// first key sets bof() and stays on the first. Every move refreshes the index
// first; a position whose leaf changed meanwhile is found again by its
// (key, recno), or the nearest one in the direction of the move.
class CdxIndex::Cursor {
 public:
  // Positions on the first key that starts with `key`: character seek keys may be
  // shorter than the key length (a partial match) and count as blank-padded
  // when longer; numeric and date seek keys are the 8-byte form. Answers found.
  // Not found: soft = false leaves eof(); soft = true positions on the first key
  // greater than `key` (eof() when there is none).
  Result<bool> Seek(std::string_view key, bool soft = false);
  // Positions on exactly (key, recno); not found: as a soft seek would.
  Result<bool> SeekEntry(std::string_view key, uint32_t recno);
  Status Top();
  Status Bottom();
  Status Next();
  Status Prev();

  bool eof() const { return eof_; }
  bool bof() const { return bof_; }
  bool found() const { return found_; }
  bool valid() const { return !eof_; }
  // The current entry; only when valid().
  const std::string& key() const { return key_; }
  uint32_t recno() const { return recno_; }

 private:
  friend class CdxIndex;
  explicit Cursor(Impl* impl) : impl_(impl) {}

  Impl* impl_;
  bool eof_ = true, bof_ = false, found_ = false;
  std::string key_;
  uint32_t recno_ = 0;
  uint32_t leaf_ = 0;
  size_t pos_ = 0;
  uint32_t counter_ = 0;
};

}  // namespace dodu::store

#endif  // DODU_STORE_CDX_INDEX_H_
