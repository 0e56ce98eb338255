#include "store/dbt_file.h"

#include "store/dbf_format.h"
#include "store/internal/dbf_bytes.h"

namespace dodu::store {

using internal::AsBytes;

std::string MemoPathFor(const std::string& table_path) {
  size_t slash = table_path.find_last_of('/');
  size_t dot = table_path.find_last_of('.');
  bool has_ext = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  std::string base = has_ext ? table_path.substr(0, dot) : table_path;
  bool lower = has_ext && dot + 1 < table_path.size() && table_path[dot + 1] >= 'a' &&
               table_path[dot + 1] <= 'z';
  return base + (lower ? ".dbt" : ".DBT");
}

Result<std::unique_ptr<DbtFile>> DbtFile::Open(platform::Env& env, const std::string& path,
                                               bool writable) {
  DODU_ASSIGN_OR_RETURN(
      std::unique_ptr<platform::File> f,
      env.Open(path, writable ? platform::OpenMode::kReadWrite : platform::OpenMode::kRead));
  DODU_ASSIGN_OR_RETURN(uint64_t size, f->Size());
  if (size < dbf::kMemoBlockSize) return Status::Corrupt(path + ": memo file header cut short");
  return std::unique_ptr<DbtFile>(new DbtFile(std::move(f)));
}

Result<std::unique_ptr<DbtFile>> DbtFile::Create(platform::Env& env, const std::string& path) {
  DODU_ASSIGN_OR_RETURN(std::unique_ptr<platform::File> f,
                        env.Open(path, platform::OpenMode::kTruncate));
  std::string head(dbf::kMemoBlockSize, '\0');
  internal::PutLe32(head, dbf::kMemoOffNextFree, 1);
  internal::PutU8(head, dbf::kMemoOffVersion, dbf::kMemoVersionDbase3);
  DODU_RETURN_IF_ERROR(f->WriteAt(0, AsBytes(std::string_view(head))));
  return std::unique_ptr<DbtFile>(new DbtFile(std::move(f)));
}

Result<std::string> DbtFile::Read(uint32_t block) {
  DODU_ASSIGN_OR_RETURN(uint64_t size, file_->Size());
  uint64_t offset = static_cast<uint64_t>(block) * dbf::kMemoBlockSize;
  if (block == 0 || offset >= size)
    return Status::Corrupt(file_->path() + ": memo block " + std::to_string(block) +
                           " outside the file");
  std::string out;
  std::string buf(dbf::kMemoBlockSize, '\0');
  while (offset < size) {
    DODU_ASSIGN_OR_RETURN(size_t got, file_->ReadAt(offset, AsBytes(buf)));
    size_t end = std::string_view(buf.data(), got).find(static_cast<char>(dbf::kEndOfFile));
    if (end != std::string_view::npos) {
      out.append(buf.data(), end);
      return out;
    }
    out.append(buf.data(), got);
    if (out.size() > dbf::kMaxMemoSize)
      return Status::Corrupt(file_->path() + ": memo at block " + std::to_string(block) +
                             " has no end");
    offset += got;
    if (got == 0) break;
  }
  return Status::Corrupt(file_->path() + ": memo at block " + std::to_string(block) +
                         " cut short (no end mark)");
}

Result<uint32_t> DbtFile::Append(std::string_view text) {
  if (text.find(static_cast<char>(dbf::kEndOfFile)) != std::string_view::npos)
    return Status::Invalid(file_->path() + ": a memo cannot hold the byte 0x1A");
  std::string head(4, '\0');
  DODU_ASSIGN_OR_RETURN(size_t got, file_->ReadAt(dbf::kMemoOffNextFree, AsBytes(head)));
  if (got != 4) return Status::Corrupt(file_->path() + ": memo file header cut short");
  uint32_t next = *internal::GetLe32(head, 0);
  DODU_ASSIGN_OR_RETURN(uint64_t size, file_->Size());
  // Never trust a next-free pointer that lies inside data already written.
  uint64_t size_blocks = (size + dbf::kMemoBlockSize - 1) / dbf::kMemoBlockSize;
  if (next < size_blocks) next = static_cast<uint32_t>(size_blocks);
  if (next == 0) next = 1;
  std::string body(text);
  body.push_back(static_cast<char>(dbf::kEndOfFile));
  body.push_back(static_cast<char>(dbf::kEndOfFile));
  size_t blocks = (body.size() + dbf::kMemoBlockSize - 1) / dbf::kMemoBlockSize;
  body.resize(blocks * dbf::kMemoBlockSize, '\0');
  DODU_RETURN_IF_ERROR(
      file_->WriteAt(static_cast<uint64_t>(next) * dbf::kMemoBlockSize, AsBytes(std::string_view(body))));
  internal::PutLe32(head, 0, next + static_cast<uint32_t>(blocks));
  DODU_RETURN_IF_ERROR(file_->WriteAt(dbf::kMemoOffNextFree, AsBytes(std::string_view(head))));
  return next;
}

}  // namespace dodu::store
