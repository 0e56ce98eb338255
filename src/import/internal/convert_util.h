// Small helpers shared by the conversion files.
#ifndef DODU_IMPORT_INTERNAL_CONVERT_UTIL_H_
#define DODU_IMPORT_INTERNAL_CONVERT_UTIL_H_

#include <string>
#include <string_view>

#include "core/decimal.h"
#include "import/parsed_record.h"
#include "import/row.h"

namespace dodu::import::internal {

inline bool IsBlank(std::string_view s) {
  return s.find_first_not_of(' ') == std::string_view::npos;
}

inline core::Decimal Cents(int64_t c) { return core::Decimal::FromScaled(c, 2); }

inline core::Decimal Int(int64_t v) { return core::Decimal::FromInt(v); }

// Copies fields of the same name from a record into a row.
void CopyText(Row& row, const ParsedRecord& rec, std::initializer_list<std::string_view> names);
void CopyNumber(Row& row, const ParsedRecord& rec, std::initializer_list<std::string_view> names);

}  // namespace dodu::import::internal

#endif  // DODU_IMPORT_INTERNAL_CONVERT_UTIL_H_
