// One .DBF file at the byte level: its header, its records, and the record
// count the file really holds. No locks and no indexes here; Table adds them.
//
// Record count after a crash. An append writes the record, then the header's
// count, so the count in the header is the commit point:
// - a file longer than the count says holds an append that did not finish (or
//   one still running at another station): those bytes are not records;
// - a file shorter than the count says lost its last records (a copy cut short,
//   or the header reached the disk before the record did): only the records the
//   file holds exist.
// record_count() is therefore min(header count, whole records in the file);
// NeedsRepair() tells when the file differs from that, and Repair() — called
// only while no other station can append (exclusive open or header lock) —
// rewrites the header's count and cuts the file to the records plus the
// end-of-file mark.
#ifndef DODU_STORE_DBF_FILE_H_
#define DODU_STORE_DBF_FILE_H_

#include <memory>
#include <string>
#include <string_view>

#include "platform/env.h"
#include "platform/status.h"
#include "store/dbf_header.h"
#include "store/dbf_record.h"

namespace dodu::store {

class DbfFile {
 public:
  // Opens an existing table. kNotFound when missing, kCorrupt when its header is
  // not a valid table header, kIoError when the system refuses.
  static Result<std::unique_ptr<DbfFile>> Open(platform::Env& env, const std::string& path,
                                               bool writable);
  // Creates (or empties) `path` with this header and no records.
  // kInvalid when the layout cannot be stored.
  static Result<std::unique_ptr<DbfFile>> Create(platform::Env& env, const std::string& path,
                                                 DbfHeader header);

  const std::string& path() const { return path_; }
  const DbfHeader& header() const { return header_; }
  const RecordLayout& layout() const { return *layout_; }
  const std::shared_ptr<const RecordLayout>& shared_layout() const { return layout_; }
  uint32_t generation() const { return header_.generation; }
  // The records this table has (see above), as of the last Refresh.
  uint32_t record_count() const { return count_; }
  bool NeedsRepair() const { return needs_repair_; }

  // Re-reads the header's count and the file size. kCorrupt when the header
  // can no longer be read.
  Status Refresh();
  // Makes the file agree with record_count(). The caller excludes appends.
  Status Repair();

  // Record n (1..record_count()). kNotFound outside; kCorrupt when the bytes
  // are not a record (deletion flag neither blank nor "*").
  Result<std::string> ReadRecord(RecNo n);
  // Overwrites record n (1..record_count()); kInvalid for a wrong length.
  Status WriteRecord(RecNo n, std::string_view bytes);
  // Writes `bytes` as record record_count()+1 and the end-of-file mark after
  // it, without touching the header: the record exists once CommitCount runs.
  Status WriteNewRecord(std::string_view bytes);
  // Writes `records` (whole records, one after the other) after the last one,
  // then the end-of-file mark and the new count: a bulk append for rewrites.
  Status AppendBulk(std::string_view records, const platform::CivilTime& today);
  // Writes the header's record count (and the update date) and adopts it.
  Status CommitCount(uint32_t count, const platform::CivilTime& today);
  // Rewrites the whole 32-byte header from header() with this generation.
  Status SetGeneration(uint32_t generation);
  Status Sync();

 private:
  DbfFile(std::string path, std::unique_ptr<platform::File> file, DbfHeader header,
          RecordLayout layout)
      : path_(std::move(path)), file_(std::move(file)), header_(std::move(header)),
        layout_(std::make_shared<const RecordLayout>(std::move(layout))) {}
  uint64_t RecordOffset(uint32_t index0) const {
    return header_.header_length + static_cast<uint64_t>(index0) * header_.record_length;
  }
  Status WriteHeaderBlock();

  std::string path_;
  std::unique_ptr<platform::File> file_;
  DbfHeader header_;
  std::string raw_head_;  // the 32-byte header block as on disk
  std::shared_ptr<const RecordLayout> layout_;
  uint32_t count_ = 0;
  bool needs_repair_ = false;
};

}  // namespace dodu::store

#endif  // DODU_STORE_DBF_FILE_H_
