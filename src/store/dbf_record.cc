#include "store/dbf_record.h"

#include "store/dbf_format.h"
#include "store/dbf_header.h"

namespace dodu::store {
namespace {

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

std::string_view TrimBlanks(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\0')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\0')) --e;
  return s.substr(b, e - b);
}

}  // namespace

Result<RecordLayout> RecordLayout::Make(const Layout& fields) {
  DODU_RETURN_IF_ERROR(ValidateLayout(fields));
  RecordLayout l;
  l.fields_ = fields;
  size_t offset = 1;
  for (const FieldSpec& f : fields) {
    l.slots_.push_back({f, offset});
    offset += static_cast<size_t>(f.length);
  }
  l.record_length_ = offset;
  return l;
}

std::optional<size_t> RecordLayout::IndexOf(std::string_view name) const {
  for (size_t i = 0; i < slots_.size(); ++i)
    if (SameName(slots_[i].spec.name, name)) return i;
  return std::nullopt;
}

const FieldSlot* RecordLayout::Find(std::string_view name) const {
  auto i = IndexOf(name);
  return i ? &slots_[*i] : nullptr;
}

std::string RecordLayout::BlankRecord() const { return std::string(record_length_, ' '); }

Result<core::Decimal> DecodeNumber(std::string_view bytes, const FieldSpec& spec) {
  std::string_view t = TrimBlanks(bytes);
  if (t.empty()) return core::Decimal();
  auto d = core::Decimal::Parse(t);
  if (!d) return Status::Corrupt("field " + spec.name + ": \"" + std::string(t) + "\" is not a number");
  return *d;
}

Result<std::string> EncodeNumber(const core::Decimal& value, const FieldSpec& spec) {
  auto text = value.ToField(spec.length, spec.decimals);
  if (!text)
    return Status::Invalid("field " + spec.name + ": " + value.ToString() + " does not fit N(" +
                           std::to_string(spec.length) + "," + std::to_string(spec.decimals) + ")");
  return *text;
}

Result<core::Date> DecodeDate(std::string_view bytes, const FieldSpec& spec) {
  if (TrimBlanks(bytes).empty()) return core::Date();
  auto d = core::Date::FromDtos(bytes);
  if (!d) return Status::Corrupt("field " + spec.name + ": \"" + std::string(bytes) + "\" is not a date");
  return *d;
}

std::string EncodeDate(const core::Date& d) { return d.Dtos(); }

bool DecodeLogical(std::string_view bytes) {
  if (bytes.empty()) return false;
  char c = bytes[0];
  return c == 'T' || c == 't' || c == 'Y' || c == 'y';
}

Result<std::optional<uint32_t>> DecodeMemoBlock(std::string_view bytes, const FieldSpec& spec) {
  std::string_view t = TrimBlanks(bytes);
  if (t.empty()) return std::optional<uint32_t>();
  uint64_t v = 0;
  for (char c : t) {
    if (c < '0' || c > '9' || v > UINT32_MAX / 10)
      return Status::Corrupt("memo field " + spec.name + ": bad block number");
    v = v * 10 + static_cast<uint64_t>(c - '0');
  }
  if (v > UINT32_MAX) return Status::Corrupt("memo field " + spec.name + ": bad block number");
  if (v == 0) return std::optional<uint32_t>();
  return std::optional<uint32_t>(static_cast<uint32_t>(v));
}

std::string EncodeMemoBlock(std::optional<uint32_t> block) {
  std::string out(dbf::kMemoLength, ' ');
  if (!block) return out;
  std::string digits = std::to_string(*block);
  out.replace(out.size() - digits.size(), digits.size(), digits);
  return out;
}

Result<const FieldSlot*> Record::Slot(std::string_view field, std::optional<FieldType> type) const {
  const FieldSlot* s = layout_->Find(field);
  if (!s) return Status::NotFound("no field " + std::string(field));
  if (type && s->spec.type != *type)
    return Status::Invalid("field " + s->spec.name + " is of type " +
                           std::string(1, static_cast<char>(s->spec.type)));
  return s;
}

Result<std::string_view> Record::Raw(std::string_view field) const {
  DODU_ASSIGN_OR_RETURN(const FieldSlot* s, Slot(field, std::nullopt));
  return std::string_view(bytes_).substr(s->offset, static_cast<size_t>(s->spec.length));
}

Result<std::string> Record::GetText(std::string_view field) const {
  DODU_ASSIGN_OR_RETURN(const FieldSlot* s, Slot(field, FieldType::kChar));
  return bytes_.substr(s->offset, static_cast<size_t>(s->spec.length));
}

Result<std::string> Record::GetTrimmed(std::string_view field) const {
  DODU_ASSIGN_OR_RETURN(std::string t, GetText(field));
  size_t e = t.find_last_not_of(' ');
  t.resize(e == std::string::npos ? 0 : e + 1);
  return t;
}

Result<core::Decimal> Record::GetNumber(std::string_view field) const {
  DODU_ASSIGN_OR_RETURN(const FieldSlot* s, Slot(field, FieldType::kNumeric));
  return DecodeNumber(std::string_view(bytes_).substr(s->offset, s->spec.length), s->spec);
}

Result<core::Date> Record::GetDate(std::string_view field) const {
  DODU_ASSIGN_OR_RETURN(const FieldSlot* s, Slot(field, FieldType::kDate));
  return DecodeDate(std::string_view(bytes_).substr(s->offset, s->spec.length), s->spec);
}

Result<bool> Record::GetLogical(std::string_view field) const {
  DODU_ASSIGN_OR_RETURN(const FieldSlot* s, Slot(field, FieldType::kLogical));
  return DecodeLogical(std::string_view(bytes_).substr(s->offset, s->spec.length));
}

Status Record::PutRaw(std::string_view field, std::string_view bytes) {
  DODU_ASSIGN_OR_RETURN(const FieldSlot* s, Slot(field, std::nullopt));
  if (bytes.size() != static_cast<size_t>(s->spec.length))
    return Status::Invalid("field " + s->spec.name + ": " + std::to_string(bytes.size()) +
                           " bytes for a field of " + std::to_string(s->spec.length));
  bytes_.replace(s->offset, bytes.size(), bytes);
  return Status::Ok();
}

Status Record::PutText(std::string_view field, std::string_view text) {
  DODU_ASSIGN_OR_RETURN(const FieldSlot* s, Slot(field, FieldType::kChar));
  std::string padded(text.substr(0, static_cast<size_t>(s->spec.length)));
  padded.resize(static_cast<size_t>(s->spec.length), ' ');
  bytes_.replace(s->offset, padded.size(), padded);
  return Status::Ok();
}

Status Record::PutNumber(std::string_view field, const core::Decimal& value) {
  DODU_ASSIGN_OR_RETURN(const FieldSlot* s, Slot(field, FieldType::kNumeric));
  DODU_ASSIGN_OR_RETURN(std::string text, EncodeNumber(value, s->spec));
  bytes_.replace(s->offset, text.size(), text);
  return Status::Ok();
}

Status Record::PutDate(std::string_view field, const core::Date& value) {
  DODU_ASSIGN_OR_RETURN(const FieldSlot* s, Slot(field, FieldType::kDate));
  bytes_.replace(s->offset, dbf::kDateLength, EncodeDate(value));
  return Status::Ok();
}

Status Record::PutLogical(std::string_view field, bool value) {
  DODU_ASSIGN_OR_RETURN(const FieldSlot* s, Slot(field, FieldType::kLogical));
  bytes_[s->offset] = value ? 'T' : 'F';
  return Status::Ok();
}

}  // namespace dodu::store
