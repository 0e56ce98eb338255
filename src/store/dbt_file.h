// The dBASE III memo file (.DBT) beside a table with memo fields: 512-byte
// blocks, block 0 the header (next free block in its first four bytes), each
// memo starting at a block and ending with two end-of-file bytes.
//
// Memos are only ever appended: writing a memo takes new blocks and the record
// points at them; old blocks stay as they are. So a rewrite of the table (pack)
// keeps this file and the block numbers in the records it copies stay valid.
// Allocation is not locked here: the Table allocates under its header lock.
#ifndef DODU_STORE_DBT_FILE_H_
#define DODU_STORE_DBT_FILE_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/env.h"
#include "platform/status.h"

namespace dodu::store {

// "X.DBF" -> "X.DBT" (the extension's case follows the table's).
std::string MemoPathFor(const std::string& table_path);

class DbtFile {
 public:
  // kNotFound when missing; kCorrupt when shorter than its header block.
  static Result<std::unique_ptr<DbtFile>> Open(platform::Env& env, const std::string& path,
                                               bool writable);
  // Creates (or empties) a memo file with no memos.
  static Result<std::unique_ptr<DbtFile>> Create(platform::Env& env, const std::string& path);

  // The memo starting at `block`: its bytes up to the end mark (a single end
  // byte also ends it, as some tools write them). kCorrupt when the block lies
  // outside the file, or the file ends (or 4 MiB pass) before an end mark.
  Result<std::string> Read(uint32_t block);
  // Appends a memo and answers its first block. kInvalid when the text holds
  // the end byte 0x1A.
  Result<uint32_t> Append(std::string_view text);
  Status Sync() { return file_->Sync(); }

 private:
  explicit DbtFile(std::unique_ptr<platform::File> f) : file_(std::move(f)) {}
  std::unique_ptr<platform::File> file_;
};

}  // namespace dodu::store

#endif  // DODU_STORE_DBT_FILE_H_
