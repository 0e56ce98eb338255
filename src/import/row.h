// A row to be written into a table: field names of the destination table with
// their values, in the order they were set. Rows are what the conversion hands
// the apply step; they know no table.
#ifndef DODU_IMPORT_ROW_H_
#define DODU_IMPORT_ROW_H_

#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "core/date.h"
#include "core/decimal.h"

namespace dodu::import {

using Cell = std::variant<std::string, core::Decimal, core::Date, bool>;

class Row {
 public:
  // Sets `name` (replacing an earlier value of it).
  Row& Set(std::string_view name, Cell value);
  const Cell* Get(std::string_view name) const;
  // The value as text / number; "" / 0 when unset or of another type.
  std::string TextOf(std::string_view name) const;
  core::Decimal NumberOf(std::string_view name) const;
  const std::vector<std::pair<std::string, Cell>>& cells() const { return cells_; }
  bool empty() const { return cells_.empty(); }

 private:
  std::vector<std::pair<std::string, Cell>> cells_;
};

}  // namespace dodu::import

#endif  // DODU_IMPORT_ROW_H_
