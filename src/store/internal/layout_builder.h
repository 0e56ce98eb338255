// Helpers the catalogue's table groups use to write layouts compactly: fields of
// one type in a row, and the two-digit numbers of the generated runs.
#ifndef DODU_STORE_INTERNAL_LAYOUT_BUILDER_H_
#define DODU_STORE_INTERNAL_LAYOUT_BUILDER_H_

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "store/catalogue.h"
#include "store/field.h"

namespace dodu::store::internal {

// "01".."99": the "mm" of a generated field name.
inline std::string Mm(int n) {
  std::string s = std::to_string(n);
  return n < 10 ? "0" + s : s;
}

class LayoutBuilder {
 public:
  using Names = std::initializer_list<std::string>;

  LayoutBuilder& C(Names names, int length) { return Add(names, FieldType::kChar, length, 0); }
  LayoutBuilder& N(Names names, int width, int decimals = 0) {
    return Add(names, FieldType::kNumeric, width, decimals);
  }
  // Money: N(12,2).
  LayoutBuilder& Money(Names names) { return N(names, 12, 2); }
  LayoutBuilder& D(Names names) { return Add(names, FieldType::kDate, 8, 0); }
  LayoutBuilder& L(Names names) { return Add(names, FieldType::kLogical, 1, 0); }
  LayoutBuilder& M(Names names) { return Add(names, FieldType::kMemo, 10, 0); }

  // One field whose name is computed (the generated runs).
  LayoutBuilder& Field(std::string name, FieldType type, int length, int decimals = 0) {
    layout_.push_back({std::move(name), type, length, decimals});
    return *this;
  }
  LayoutBuilder& MoneyField(std::string name) {
    return Field(std::move(name), FieldType::kNumeric, 12, 2);
  }

  // The fields of `other` whose names run from `first` to `last` inclusive.
  LayoutBuilder& CopyRange(const Layout& other, const std::string& first, const std::string& last) {
    bool in = false;
    for (const FieldSpec& f : other) {
      if (f.name == first) in = true;
      if (in) layout_.push_back(f);
      if (f.name == last) break;
    }
    return *this;
  }

  Layout Build() { return std::move(layout_); }

 private:
  LayoutBuilder& Add(Names names, FieldType type, int length, int decimals) {
    for (const std::string& n : names) layout_.push_back({n, type, length, decimals});
    return *this;
  }
  Layout layout_;
};

// A key on the table's own index file, and one on a named file.
inline IndexDef Key(std::string expression) { return {"", std::move(expression)}; }
inline IndexDef Key(std::string file, std::string expression) {
  return {std::move(file), std::move(expression)};
}

// A declaration table of a data folder: "IMP" + number + year, opened as the
// caller asks.
inline TableDef Declaration(int number, Layout layout, std::vector<IndexDef> keys,
                            std::string work_copy_key = "cpf") {
  TableDef t;
  t.number = number;
  t.name = "IMP" + Mm(number);
  t.rule = NameRule::kYearly;
  t.folder = Folder::kData;
  t.mode = ShareMode::kCaller;
  t.layout = std::move(layout);
  t.keys = std::move(keys);
  t.work_copy_key = std::move(work_copy_key);
  return t;
}

// The groups of the catalogue, one function per source file.
std::vector<TableDef> DeclarationTablesFirst();   // 01..08
std::vector<TableDef> DeclarationTablesSecond();  // 09..21
std::vector<TableDef> InstallationTables();       // 42..94

// The layout of table 04 (table 20 repeats its property fields).
Layout AssetLayout();

}  // namespace dodu::store::internal

#endif  // DODU_STORE_INTERNAL_LAYOUT_BUILDER_H_
