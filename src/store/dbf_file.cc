#include "store/dbf_file.h"

#include <algorithm>

#include "store/dbf_format.h"
#include "store/internal/dbf_bytes.h"

namespace dodu::store {

using internal::AsBytes;

namespace {

Result<std::string> ReadExactly(platform::File& f, uint64_t offset, size_t n) {
  std::string buf(n, '\0');
  DODU_ASSIGN_OR_RETURN(size_t got, f.ReadAt(offset, AsBytes(buf)));
  buf.resize(got);
  return buf;
}

}  // namespace

Result<std::unique_ptr<DbfFile>> DbfFile::Open(platform::Env& env, const std::string& path,
                                               bool writable) {
  DODU_ASSIGN_OR_RETURN(
      std::unique_ptr<platform::File> file,
      env.Open(path, writable ? platform::OpenMode::kReadWrite : platform::OpenMode::kRead));
  DODU_ASSIGN_OR_RETURN(std::string first, ReadExactly(*file, 0, dbf::kHeaderSize));
  DODU_ASSIGN_OR_RETURN(uint16_t header_length, PeekDbfHeaderLength(first, path));
  DODU_ASSIGN_OR_RETURN(std::string whole, ReadExactly(*file, 0, header_length));
  DODU_ASSIGN_OR_RETURN(DbfHeader header, DecodeDbfHeader(whole, path));
  auto layout = RecordLayout::Make(header.fields);
  if (!layout.ok()) return Status::Corrupt(path + ": " + layout.status().message());
  std::unique_ptr<DbfFile> dbf(
      new DbfFile(path, std::move(file), std::move(header), std::move(layout).value()));
  dbf->raw_head_ = first.substr(0, dbf::kHeaderSize);
  DODU_RETURN_IF_ERROR(dbf->Refresh());
  return dbf;
}

Result<std::unique_ptr<DbfFile>> DbfFile::Create(platform::Env& env, const std::string& path,
                                                 DbfHeader header) {
  header.record_count = 0;
  if (header.version == dbf::kVersionPlain || header.version == dbf::kVersionWithMemo)
    header.version = header.has_memo() ? dbf::kVersionWithMemo : dbf::kVersionPlain;
  DODU_ASSIGN_OR_RETURN(std::string bytes, EncodeDbfHeader(header));
  DODU_ASSIGN_OR_RETURN(RecordLayout layout, RecordLayout::Make(header.fields));
  DODU_ASSIGN_OR_RETURN(std::unique_ptr<platform::File> file,
                        env.Open(path, platform::OpenMode::kTruncate));
  bytes.push_back(static_cast<char>(dbf::kEndOfFile));
  DODU_RETURN_IF_ERROR(file->WriteAt(0, AsBytes(std::string_view(bytes))));
  std::unique_ptr<DbfFile> dbf(
      new DbfFile(path, std::move(file), std::move(header), std::move(layout)));
  dbf->raw_head_ = bytes.substr(0, dbf::kHeaderSize);
  DODU_RETURN_IF_ERROR(dbf->Refresh());
  return dbf;
}

Status DbfFile::Refresh() {
  std::string count_bytes(4, '\0');
  DODU_ASSIGN_OR_RETURN(size_t got, file_->ReadAt(dbf::kOffRecordCount, AsBytes(count_bytes)));
  if (got != 4) return Status::Corrupt(path_ + ": header cut short");
  DODU_ASSIGN_OR_RETURN(uint64_t size, file_->Size());
  if (size < header_.header_length) return Status::Corrupt(path_ + ": header cut short");
  header_.record_count = *internal::GetLe32(count_bytes, 0);
  uint64_t whole = (size - header_.header_length) / header_.record_length;
  count_ = static_cast<uint32_t>(std::min<uint64_t>(header_.record_count, whole));
  uint64_t expected = RecordOffset(count_);
  // The end-of-file mark is optional on reading; other tools leave it out.
  needs_repair_ = count_ != header_.record_count || (size != expected && size != expected + 1);
  return Status::Ok();
}

Status DbfFile::Repair() {
  DODU_RETURN_IF_ERROR(Refresh());
  if (!needs_repair_) return Status::Ok();
  uint64_t end = RecordOffset(count_);
  DODU_RETURN_IF_ERROR(file_->Truncate(end));
  std::string eof(1, static_cast<char>(dbf::kEndOfFile));
  DODU_RETURN_IF_ERROR(file_->WriteAt(end, AsBytes(std::string_view(eof))));
  header_.record_count = count_;
  DODU_RETURN_IF_ERROR(WriteHeaderBlock());
  return Refresh();
}

Result<std::string> DbfFile::ReadRecord(RecNo n) {
  if (n.value < 1 || n.value > count_)
    return Status::NotFound(path_ + ": no record " + std::to_string(n.value));
  DODU_ASSIGN_OR_RETURN(std::string rec,
                        ReadExactly(*file_, RecordOffset(n.value - 1), header_.record_length));
  if (rec.size() != header_.record_length)
    return Status::Corrupt(path_ + ": record " + std::to_string(n.value) + " cut short");
  if (rec[0] != dbf::kRecordActive && rec[0] != dbf::kRecordDeleted)
    return Status::Corrupt(path_ + ": record " + std::to_string(n.value) + " has no deletion flag");
  return rec;
}

Status DbfFile::WriteRecord(RecNo n, std::string_view bytes) {
  if (bytes.size() != header_.record_length)
    return Status::Invalid(path_ + ": record of wrong length");
  if (n.value < 1 || n.value > count_)
    return Status::NotFound(path_ + ": no record " + std::to_string(n.value));
  return file_->WriteAt(RecordOffset(n.value - 1), AsBytes(bytes));
}

Status DbfFile::WriteNewRecord(std::string_view bytes) {
  if (bytes.size() != header_.record_length)
    return Status::Invalid(path_ + ": record of wrong length");
  std::string buf(bytes);
  buf.push_back(static_cast<char>(dbf::kEndOfFile));
  return file_->WriteAt(RecordOffset(count_), AsBytes(std::string_view(buf)));
}

Status DbfFile::AppendBulk(std::string_view records, const platform::CivilTime& today) {
  if (records.size() % header_.record_length != 0)
    return Status::Invalid(path_ + ": records of wrong length");
  if (records.empty()) return Status::Ok();
  std::string buf(records);
  buf.push_back(static_cast<char>(dbf::kEndOfFile));
  DODU_RETURN_IF_ERROR(file_->WriteAt(RecordOffset(count_), AsBytes(std::string_view(buf))));
  return CommitCount(count_ + static_cast<uint32_t>(records.size() / header_.record_length), today);
}

Status DbfFile::CommitCount(uint32_t count, const platform::CivilTime& today) {
  header_.record_count = count;
  header_.update_year = today.year;
  header_.update_month = today.month;
  header_.update_day = today.day;
  DODU_RETURN_IF_ERROR(WriteHeaderBlock());
  return Refresh();
}

Status DbfFile::SetGeneration(uint32_t generation) {
  header_.generation = generation;
  return WriteHeaderBlock();
}

Status DbfFile::WriteHeaderBlock() {
  // Only the fields this system keeps are patched: every other byte of a header
  // written by another tool stays as it was.
  int year = std::clamp(header_.update_year - 1900, 0, 255);
  internal::PutU8(raw_head_, dbf::kOffUpdateYear, static_cast<uint8_t>(year));
  internal::PutU8(raw_head_, dbf::kOffUpdateMonth, static_cast<uint8_t>(header_.update_month));
  internal::PutU8(raw_head_, dbf::kOffUpdateDay, static_cast<uint8_t>(header_.update_day));
  internal::PutLe32(raw_head_, dbf::kOffRecordCount, header_.record_count);
  internal::PutLe32(raw_head_, dbf::kOffGeneration, header_.generation);
  return file_->WriteAt(0, AsBytes(std::string_view(raw_head_)));
}

Status DbfFile::Sync() { return file_->Sync(); }

}  // namespace dodu::store
