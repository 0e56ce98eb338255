// A field of a table layout, as the catalogue declares it and the DBF header stores it.
#ifndef DODU_STORE_FIELD_H_
#define DODU_STORE_FIELD_H_

#include <string>
#include <vector>

namespace dodu::store {

enum class FieldType : char {
  kChar = 'C',
  kNumeric = 'N',
  kDate = 'D',
  kLogical = 'L',
  kMemo = 'M',
};

struct FieldSpec {
  std::string name;  // upper case, at most 10 characters
  FieldType type = FieldType::kChar;
  int length = 1;    // C up to 65535 (two descriptor bytes), N up to 20, D 8, L 1, M 10
  int decimals = 0;  // N only
  bool operator==(const FieldSpec&) const = default;
};

using Layout = std::vector<FieldSpec>;

}  // namespace dodu::store

#endif  // DODU_STORE_FIELD_H_
