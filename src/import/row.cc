#include "import/row.h"

namespace dodu::import {

Row& Row::Set(std::string_view name, Cell value) {
  for (auto& [n, v] : cells_) {
    if (n == name) {
      v = std::move(value);
      return *this;
    }
  }
  cells_.emplace_back(std::string(name), std::move(value));
  return *this;
}

const Cell* Row::Get(std::string_view name) const {
  for (const auto& [n, v] : cells_) {
    if (n == name) return &v;
  }
  return nullptr;
}

std::string Row::TextOf(std::string_view name) const {
  const Cell* c = Get(name);
  const auto* s = c ? std::get_if<std::string>(c) : nullptr;
  return s ? *s : std::string();
}

core::Decimal Row::NumberOf(std::string_view name) const {
  const Cell* c = Get(name);
  const auto* d = c ? std::get_if<core::Decimal>(c) : nullptr;
  return d ? *d : core::Decimal();
}

}  // namespace dodu::import
