// Lookup over the catalogue groups and the file-name rules.
#include "store/catalogue.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "store/internal/layout_builder.h"

namespace dodu::store {
namespace {

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

struct Catalogue {
  std::vector<TableDef> tables;          // 1..21, 42..94 in number order
  std::map<int, TableDef> work_copies;  // by the number of the table copied
};

const Catalogue& TheCatalogue() {
  static const Catalogue catalogue = [] {
    Catalogue built;
    Catalogue* c = &built;
    for (auto group : {internal::DeclarationTablesFirst, internal::DeclarationTablesSecond,
                       internal::InstallationTables}) {
      for (TableDef& t : group()) c->tables.push_back(std::move(t));
    }
    std::sort(c->tables.begin(), c->tables.end(),
              [](const TableDef& a, const TableDef& b) { return a.number < b.number; });
    for (const TableDef& t : c->tables) {
      if (t.number > 21 || t.work_copy_key.empty()) continue;
      TableDef w;
      w.number = t.number + 20;
      w.rule = NameRule::kWorkCopy;
      w.folder = Folder::kWork;
      w.mode = ShareMode::kCaller;
      w.layout = t.layout;
      w.keys = {{"", t.work_copy_key}};
      c->work_copies.emplace(t.number, std::move(w));
    }
    return built;
  }();
  return catalogue;
}

}  // namespace

const std::vector<TableDef>& AllTables() { return TheCatalogue().tables; }

const TableDef* FindWorkCopy(int table_number) {
  const Catalogue& c = TheCatalogue();
  auto it = c.work_copies.find(table_number);
  return it == c.work_copies.end() ? nullptr : &it->second;
}

const TableDef* FindTable(int number) {
  if (number >= 22 && number <= 41) return FindWorkCopy(number - 20);
  const Catalogue& c = TheCatalogue();
  for (const TableDef& t : c.tables) {
    if (t.number == number) return &t;
  }
  return nullptr;
}

std::string TableFileName(const TableDef& table, const NameContext& ctx) {
  switch (table.rule) {
    case NameRule::kYearly:
      return table.name + ctx.year;
    case NameRule::kPerTerminal:
      return table.name + ctx.terminal;
    case NameRule::kWorkCopy:
      return "TMP_" + internal::Mm(table.number - 20) + ctx.terminal;  // number = table + 20
    case NameRule::kFixed:
      break;
  }
  if (table.number == 75 && ctx.declaration_option == 44) return "ECACIDAD";
  return table.name;
}

const TableDef* FindTableByFileName(std::string_view file_name, const NameContext& ctx) {
  std::string wanted = Upper(file_name);
  if (auto slash = wanted.find_last_of("/\\"); slash != std::string::npos) {
    wanted.erase(0, slash + 1);
  }
  if (wanted.size() > 4 && wanted.compare(wanted.size() - 4, 4, ".DBF") == 0) {
    wanted.resize(wanted.size() - 4);
  }
  if (const TableDef* w = FindWorkCopy(1); Upper(TableFileName(*w, ctx)) == wanted) return w;
  for (int number = 1; number <= 94; ++number) {
    const TableDef* t = FindTable(number);
    if (t == nullptr) continue;
    if (Upper(TableFileName(*t, ctx)) == wanted) return t;
    if (number == 75) {
      NameContext other = ctx;
      other.declaration_option = ctx.declaration_option == 44 ? 0 : 44;
      if (Upper(TableFileName(*t, other)) == wanted) return t;
    }
  }
  return nullptr;
}

std::string IndexFileName(const IndexDef& key, const std::string& table_file_name) {
  if (key.file.empty()) return table_file_name;
  if (key.file[0] == '+') return table_file_name + key.file.substr(1);
  return key.file;
}

std::vector<std::string> IndexFileNames(const TableDef& table, const NameContext& ctx) {
  const std::string base = TableFileName(table, ctx);
  std::vector<std::string> names;
  for (const IndexDef& k : table.keys) names.push_back(IndexFileName(k, base));
  return names;
}

const FieldSpec* FindField(const Layout& layout, std::string_view name) {
  const std::string wanted = Upper(name);
  for (const FieldSpec& f : layout) {
    if (f.name == wanted) return &f;
  }
  return nullptr;
}

int RecordLength(const Layout& layout) {
  int n = 1;
  for (const FieldSpec& f : layout) n += f.length;
  return n;
}

}  // namespace dodu::store
