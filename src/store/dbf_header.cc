#include "store/dbf_header.h"

#include <set>

#include "store/dbf_format.h"
#include "store/internal/dbf_bytes.h"

namespace dodu::store {
namespace {

using internal::GetLe16;
using internal::GetLe32;
using internal::GetU8;
using internal::PutLe16;
using internal::PutLe32;
using internal::PutU8;

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

Status CheckField(const FieldSpec& f) {
  auto bad = [&](const std::string& why) {
    return Status::Invalid("field " + f.name + ": " + why);
  };
  if (f.name.empty() || f.name.size() > dbf::kMaxNameLength) return bad("name of 1 to 10 characters");
  for (char c : f.name)
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_'))
      return bad("name of letters, digits and _");
  switch (f.type) {
    case FieldType::kChar:
      if (f.length < 1 || f.length > dbf::kMaxCharLength) return bad("text length out of range");
      if (f.decimals != 0) return bad("text field with decimals");
      break;
    case FieldType::kNumeric:
      if (f.length < 1 || f.length > dbf::kMaxNumericLength) return bad("numeric width 1..20");
      if (f.decimals < 0 || f.decimals > 8 || (f.decimals > 0 && f.decimals > f.length - 2))
        return bad("decimals do not fit the width");
      break;
    case FieldType::kDate:
      if (f.length != dbf::kDateLength || f.decimals != 0) return bad("a date takes 8 characters");
      break;
    case FieldType::kLogical:
      if (f.length != dbf::kLogicalLength || f.decimals != 0) return bad("a logical takes 1 character");
      break;
    case FieldType::kMemo:
      if (f.length != dbf::kMemoLength || f.decimals != 0) return bad("a memo takes 10 characters");
      break;
    default:
      return bad("unknown type");
  }
  return Status::Ok();
}

}  // namespace

bool DbfHeader::has_memo() const {
  for (const FieldSpec& f : fields)
    if (f.type == FieldType::kMemo) return true;
  return false;
}

Status ValidateLayout(const Layout& layout) {
  if (layout.empty()) return Status::Invalid("a table needs at least one field");
  if (layout.size() > dbf::kMaxFields) return Status::Invalid("too many fields");
  std::set<std::string> names;
  size_t record_length = 1;
  for (const FieldSpec& f : layout) {
    DODU_RETURN_IF_ERROR(CheckField(f));
    if (!names.insert(Upper(f.name)).second) return Status::Invalid("field " + f.name + " repeated");
    record_length += static_cast<size_t>(f.length);
  }
  if (record_length > dbf::kMaxRecordLength) return Status::Invalid("record longer than 65535 bytes");
  return Status::Ok();
}

Result<std::string> EncodeDbfHeader(DbfHeader& h) {
  DODU_RETURN_IF_ERROR(ValidateLayout(h.fields));
  size_t header_length = dbf::kHeaderSize + dbf::kDescriptorSize * h.fields.size() + 1;
  size_t record_length = 1;
  for (const FieldSpec& f : h.fields) record_length += static_cast<size_t>(f.length);
  h.header_length = static_cast<uint16_t>(header_length);
  h.record_length = static_cast<uint16_t>(record_length);

  std::string out(header_length, '\0');
  PutU8(out, dbf::kOffVersion, h.version);
  int year = h.update_year - 1900;
  PutU8(out, dbf::kOffUpdateYear, static_cast<uint8_t>(year < 0 ? 0 : (year > 255 ? 255 : year)));
  PutU8(out, dbf::kOffUpdateMonth, static_cast<uint8_t>(h.update_month));
  PutU8(out, dbf::kOffUpdateDay, static_cast<uint8_t>(h.update_day));
  PutLe32(out, dbf::kOffRecordCount, h.record_count);
  PutLe16(out, dbf::kOffHeaderLength, h.header_length);
  PutLe16(out, dbf::kOffRecordLength, h.record_length);
  PutLe32(out, dbf::kOffGeneration, h.generation);
  PutU8(out, dbf::kOffLanguageDriver, h.language_driver);

  size_t pos = dbf::kHeaderSize;
  uint32_t displacement = 1;
  for (const FieldSpec& f : h.fields) {
    std::string name = Upper(f.name);
    out.replace(pos + dbf::kDescName, name.size(), name);
    PutU8(out, pos + dbf::kDescType, static_cast<uint8_t>(f.type));
    PutLe32(out, pos + dbf::kDescDisplacement, displacement);
    if (f.type == FieldType::kChar) {
      // Text longer than 255: low byte in the length, high byte in the decimals.
      PutU8(out, pos + dbf::kDescLength, static_cast<uint8_t>(f.length & 0xFF));
      PutU8(out, pos + dbf::kDescDecimals, static_cast<uint8_t>(f.length >> 8));
    } else {
      PutU8(out, pos + dbf::kDescLength, static_cast<uint8_t>(f.length));
      PutU8(out, pos + dbf::kDescDecimals, static_cast<uint8_t>(f.decimals));
    }
    displacement += static_cast<uint32_t>(f.length);
    pos += dbf::kDescriptorSize;
  }
  PutU8(out, pos, dbf::kTerminator);
  return out;
}

Result<uint16_t> PeekDbfHeaderLength(std::string_view first32, const std::string& path) {
  auto len = GetLe16(first32, dbf::kOffHeaderLength);
  if (first32.size() < dbf::kHeaderSize || !len)
    return Status::Corrupt(path + ": file shorter than a table header");
  if (*len < dbf::kHeaderSize + dbf::kDescriptorSize + 1)
    return Status::Corrupt(path + ": header length " + std::to_string(*len) + " too small");
  return *len;
}

Result<DbfHeader> DecodeDbfHeader(std::string_view bytes, const std::string& path) {
  auto corrupt = [&](const std::string& why) { return Status::Corrupt(path + ": " + why); };
  DODU_ASSIGN_OR_RETURN(uint16_t header_length, PeekDbfHeaderLength(bytes, path));
  if (bytes.size() < header_length) return corrupt("header cut short");
  bytes = bytes.substr(0, header_length);

  DbfHeader h;
  h.version = *GetU8(bytes, dbf::kOffVersion);
  switch (h.version) {
    case dbf::kVersionPlain:
    case dbf::kVersionWithMemo:
    case dbf::kVersionDbase4Memo:
    case dbf::kVersionFoxProMemo:
    case dbf::kVersionVisualFoxPro:
      break;
    default:
      return corrupt("not a table (version byte " + std::to_string(h.version) + ")");
  }
  h.update_year = 1900 + *GetU8(bytes, dbf::kOffUpdateYear);
  h.update_month = *GetU8(bytes, dbf::kOffUpdateMonth);
  h.update_day = *GetU8(bytes, dbf::kOffUpdateDay);
  h.record_count = *GetLe32(bytes, dbf::kOffRecordCount);
  h.header_length = header_length;
  h.record_length = *GetLe16(bytes, dbf::kOffRecordLength);
  h.generation = *GetLe32(bytes, dbf::kOffGeneration);
  h.language_driver = *GetU8(bytes, dbf::kOffLanguageDriver);

  size_t pos = dbf::kHeaderSize;
  size_t record_length = 1;
  for (;;) {
    auto first = GetU8(bytes, pos);
    if (!first) return corrupt("field descriptors not terminated");
    if (*first == dbf::kTerminator) break;
    if (bytes.size() - pos < dbf::kDescriptorSize) return corrupt("field descriptor cut short");
    std::string_view raw_name = bytes.substr(pos + dbf::kDescName, dbf::kDescNameSize);
    size_t nul = raw_name.find('\0');
    FieldSpec f;
    f.name = Upper(raw_name.substr(0, nul == std::string_view::npos ? raw_name.size() : nul));
    uint8_t type = *GetU8(bytes, pos + dbf::kDescType);
    uint8_t len = *GetU8(bytes, pos + dbf::kDescLength);
    uint8_t dec = *GetU8(bytes, pos + dbf::kDescDecimals);
    switch (type) {
      case 'C': f.type = FieldType::kChar; f.length = len | (dec << 8); f.decimals = 0; break;
      case 'N': case 'F': f.type = FieldType::kNumeric; f.length = len; f.decimals = dec; break;
      case 'D': f.type = FieldType::kDate; f.length = len; break;
      case 'L': f.type = FieldType::kLogical; f.length = len; break;
      case 'M': f.type = FieldType::kMemo; f.length = len; break;
      default:
        return corrupt("field " + f.name + " of unknown type " + std::to_string(type));
    }
    if (f.type != FieldType::kChar && f.type != FieldType::kNumeric) f.decimals = 0;
    Status st = CheckField(f);
    if (!st.ok()) return corrupt(st.message());
    record_length += static_cast<size_t>(f.length);
    h.fields.push_back(std::move(f));
    pos += dbf::kDescriptorSize;
  }
  if (h.fields.empty()) return corrupt("no fields");
  if (record_length != h.record_length)
    return corrupt("record length " + std::to_string(h.record_length) +
                   " does not match its fields (" + std::to_string(record_length) + ")");
  return h;
}

}  // namespace dodu::store
