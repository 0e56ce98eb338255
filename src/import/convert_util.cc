#include "import/internal/convert_util.h"

namespace dodu::import::internal {

void CopyText(Row& row, const ParsedRecord& rec, std::initializer_list<std::string_view> names) {
  for (std::string_view n : names) row.Set(n, rec.Text(n));
}

void CopyNumber(Row& row, const ParsedRecord& rec, std::initializer_list<std::string_view> names) {
  for (std::string_view n : names) row.Set(n, rec.Number(n));
}

}  // namespace dodu::import::internal
