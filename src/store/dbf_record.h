// A record of a table and the layout that says where each field lies in it.
//
// RecordLayout maps field names (case-insensitive: `cpf`, `codERR`) to their
// place in the record. Record is one record's bytes with typed access by field
// name. Everything here is pure: reading and writing the file is the Table's.
//
// Values on file:
// - C: code page 850 bytes, blank padded on the right. PutText pads, and cuts a
//   text longer than the field (as the xBase REPLACE does).
// - N: the number right-aligned in the field's width, "." as decimal point,
//   whatever the locale; blanks read as 0. PutNumber rounds half away from zero
//   to the field's decimals and refuses (kInvalid, record unchanged) a value
//   whose text does not fit.
// - D: "yyyymmdd"; blanks are the blank date.
// - L: "T"/"F" written; T, t, Y, y read as true, anything else as false.
// - M: the memo's first block number, right-aligned; blanks for no memo.
#ifndef DODU_STORE_DBF_RECORD_H_
#define DODU_STORE_DBF_RECORD_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/date.h"
#include "core/decimal.h"
#include "platform/status.h"
#include "store/field.h"

namespace dodu::store {

// A record number, 1-based as xBase counts them.
struct RecNo {
  uint32_t value = 0;
  friend constexpr auto operator<=>(const RecNo&, const RecNo&) = default;
};

struct FieldSlot {
  FieldSpec spec;
  size_t offset = 0;  // from the start of the record (the deletion flag is byte 0)
};

class RecordLayout {
 public:
  RecordLayout() = default;
  // kInvalid as ValidateLayout (dbf_header.h).
  static Result<RecordLayout> Make(const Layout& fields);

  const Layout& fields() const { return fields_; }
  const std::vector<FieldSlot>& slots() const { return slots_; }
  size_t record_length() const { return record_length_; }
  // The slot of a field by name, any case; nullopt when the table has no such field.
  std::optional<size_t> IndexOf(std::string_view name) const;
  const FieldSlot* Find(std::string_view name) const;
  // An active record with every field blank.
  std::string BlankRecord() const;

 private:
  Layout fields_;
  std::vector<FieldSlot> slots_;
  size_t record_length_ = 1;
};

// Field value codecs over a field's own bytes (exactly spec.length of them).
Result<core::Decimal> DecodeNumber(std::string_view bytes, const FieldSpec& spec);
Result<std::string> EncodeNumber(const core::Decimal& value, const FieldSpec& spec);
Result<core::Date> DecodeDate(std::string_view bytes, const FieldSpec& spec);
std::string EncodeDate(const core::Date& d);
bool DecodeLogical(std::string_view bytes);
// The first block of a memo, nullopt when blank. kCorrupt when not a number.
Result<std::optional<uint32_t>> DecodeMemoBlock(std::string_view bytes, const FieldSpec& spec);
std::string EncodeMemoBlock(std::optional<uint32_t> block);

class Record {
 public:
  Record() = default;
  // `bytes` must be layout->record_length() long.
  Record(std::shared_ptr<const RecordLayout> layout, std::string bytes)
      : layout_(std::move(layout)), bytes_(std::move(bytes)) {}
  static Record Blank(std::shared_ptr<const RecordLayout> layout) {
    std::string b = layout->BlankRecord();
    return Record(std::move(layout), std::move(b));
  }

  const std::string& bytes() const { return bytes_; }
  const RecordLayout& layout() const { return *layout_; }
  const std::shared_ptr<const RecordLayout>& shared_layout() const { return layout_; }
  bool deleted() const { return !bytes_.empty() && bytes_[0] == '*'; }
  void set_deleted(bool d) { bytes_[0] = d ? '*' : ' '; }

  // kNotFound names the field when the table has none of that name; the typed
  // getters answer kInvalid when the field is of another type and kCorrupt when
  // its bytes are not a value of its type.
  Result<std::string_view> Raw(std::string_view field) const;
  Result<std::string> GetText(std::string_view field) const;  // blank padded, as stored
  Result<std::string> GetTrimmed(std::string_view field) const;  // trailing blanks removed
  Result<core::Decimal> GetNumber(std::string_view field) const;
  Result<core::Date> GetDate(std::string_view field) const;
  Result<bool> GetLogical(std::string_view field) const;

  // Puts never change the record when they fail.
  Status PutRaw(std::string_view field, std::string_view bytes);  // exactly the field's length
  Status PutText(std::string_view field, std::string_view text);
  Status PutNumber(std::string_view field, const core::Decimal& value);
  Status PutDate(std::string_view field, const core::Date& value);
  Status PutLogical(std::string_view field, bool value);

 private:
  Result<const FieldSlot*> Slot(std::string_view field, std::optional<FieldType> type) const;

  std::shared_ptr<const RecordLayout> layout_;
  std::string bytes_;
};

}  // namespace dodu::store

#endif  // DODU_STORE_DBF_RECORD_H_
