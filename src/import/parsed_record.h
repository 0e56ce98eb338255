// One record of an official file read through its layout: every field of the
// layout as a typed value (text, number or date), with the line it came from.
#ifndef DODU_IMPORT_PARSED_RECORD_H_
#define DODU_IMPORT_PARSED_RECORD_H_

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/date.h"
#include "core/decimal.h"
#include "import/record_layout.h"
#include "platform/status.h"

namespace dodu::import {

enum class Exercise {
  kPrevious,  // 2019: starts a taxpayer with what continues into the new year
  kCurrent,   // 2020: the declaration with all its values
};

using FieldValue = std::variant<std::string, core::Decimal, core::Date>;

class ParsedRecord {
 public:
  ParsedRecord() = default;
  ParsedRecord(const RecordLayout* layout, int line, std::vector<FieldValue> values)
      : layout_(layout), line_(line), values_(std::move(values)) {}

  const RecordLayout& layout() const { return *layout_; }
  std::string_view type() const { return layout_->type; }
  int line() const { return line_; }  // 1-based line of the file

  // The value of field `name` of the layout. Asking for a field the layout does
  // not have, or with the wrong type, is a programming error (std::logic_error).
  const std::string& Text(std::string_view name) const;
  core::Decimal Number(std::string_view name) const;
  int Int(std::string_view name) const;  // a number without decimals
  core::Date DateOf(std::string_view name) const;

 private:
  const FieldValue& Value(std::string_view name) const;
  const RecordLayout* layout_ = nullptr;
  int line_ = 0;
  std::vector<FieldValue> values_;
};

// Reads `line` (without its terminator) through `layout`. A field that is not
// what its kind says (a number with other characters, a date that is no date, a
// month outside 01..12) and a line shorter than the layout's min_length give
// kCorrupt with a short Portuguese detail naming the field. Fields a previous
// exercise does not read are given their default without being looked at.
Result<ParsedRecord> ParseRecord(const RecordLayout& layout, std::string_view line, int line_no,
                                 Exercise exercise);

}  // namespace dodu::import

#endif  // DODU_IMPORT_PARSED_RECORD_H_
