#include "handover/municipality_lookup.h"

#include <cctype>

#include "handover/value_formats.h"
#include "platform/paths.h"
#include "store/table.h"

namespace dodu::handover {
namespace {

std::string Key(std::string_view name, std::string_view uf) {
  std::string k = std::string(Trim(name)) + "|" + std::string(Trim(uf));
  for (char& c : k) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return k;
}

std::string Lookup(platform::Env& env, const std::string& path, const std::string& key) {
  auto resolved = platform::ResolveExisting(env, path);
  if (!resolved.ok()) return "";
  store::TableOptions options;
  options.read_only = true;
  auto table = store::Table::Open(env, *resolved, store::Sharing::kShared, options);
  if (!table.ok()) return "";
  for (uint32_t n = 1; n <= (*table)->record_count(); ++n) {
    auto record = (*table)->Read(store::RecNo{n});
    if (!record.ok() || record->deleted()) continue;
    auto name = record->GetText("NOMEMUNI");
    auto uf = record->GetText("UNIFED");
    if (!name.ok() || !uf.ok() || Key(*name, *uf) != key) continue;
    auto code = record->GetText("NROMUNI");
    return code.ok() ? std::string(Trim(*code)) : "";
  }
  return "";
}

}  // namespace

std::string FindMunicipalityCode(platform::Env& env, const std::string& folder,
                                 std::string_view name, std::string_view uf) {
  const std::string key = Key(name, uf);
  const std::string base = folder.empty() || folder.back() == '/' ? folder : folder + "/";
  for (const char* file : {"TABMUNI.DBF", "TAB_MUNI.DBF"}) {
    std::string code = Lookup(env, base + file, key);
    if (!code.empty()) return code;
  }
  return "";
}

}  // namespace dodu::handover
