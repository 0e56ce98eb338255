#include "shell/reference_tables.h"

#include <map>
#include <memory>

#include "core/codepage.h"
#include "core/date.h"
#include "core/decimal.h"
#include "platform/paths.h"
#include "shell/csv.h"
#include "shell/reference_tables_rows.h"
#include "store/table.h"
#include "store/workarea_index.h"

namespace dodu::shell {
namespace {

// The staging folder new tables are built in, inside the installation folder.
constexpr char kStagingFolder[] = "_REFNOVA";

bool Exists(platform::Env& env, const std::string& path) {
  return platform::ResolveExisting(env, path).ok();
}

// Removes `path` when it is there.
Status RemoveIfThere(platform::Env& env, const std::string& path) {
  if (!env.Exists(path)) return Status::Ok();
  return env.Remove(path);
}

Status PutValue(store::Table& table, store::Record& record, const store::FieldSpec& spec,
                const std::string& value, uint32_t row) {
  auto bad = [&](std::string_view why) {
    return Status::Invalid(platform::BaseName(table.path()) + ": record " + std::to_string(row) +
                           ": " + spec.name + " \"" + value + "\" " + std::string(why));
  };
  if (value.empty()) return Status::Ok();
  switch (spec.type) {
    case store::FieldType::kChar:
      return record.PutText(spec.name, core::Utf8ToCp850(value));
    case store::FieldType::kNumeric: {
      std::optional<core::Decimal> d = core::Decimal::Parse(value);
      if (!d) return bad("is not a number");
      Status st = record.PutNumber(spec.name, *d);
      return st.ok() ? st : bad("does not fit the field");
    }
    case store::FieldType::kDate: {
      std::optional<core::Date> d = core::Date::FromDtos(value);
      if (!d) return bad("is not a date");
      return record.PutDate(spec.name, *d);
    }
    case store::FieldType::kLogical:
      return record.PutLogical(spec.name, value == "S" || value == "T");
    case store::FieldType::kMemo:
      return table.PutMemo(record, spec.name, core::Utf8ToCp850(value));
  }
  return bad("has a field type the builder does not know");
}

// Builds the table and its indexes under `stage` (native paths without
// extension). Answers the record count.
Result<uint32_t> BuildStaged(platform::Env& env, const store::TableDef& def,
                             const std::string& stage_table,
                             const std::vector<std::string>& stage_indexes,
                             const std::vector<ReferenceRow>& rows) {
  DODU_ASSIGN_OR_RETURN(
      std::unique_ptr<store::Table> table,
      store::Table::Create(env, stage_table + ".DBF", def.layout, store::Sharing::kExclusive));
  uint32_t n = 0;
  for (const ReferenceRow& row : rows) {
    ++n;
    store::Record record = table->BlankRecord();
    for (const auto& [name, value] : row.fields) {
      const store::FieldSpec* spec = store::FindField(def.layout, name);
      if (spec == nullptr) continue;  // a field this layout does not have
      DODU_RETURN_IF_ERROR(PutValue(*table, record, *spec, value, n));
    }
    DODU_ASSIGN_OR_RETURN(store::RecNo recno, table->Append(record));
    (void)recno;
  }
  DODU_RETURN_IF_ERROR(table->file().Sync());
  DODU_ASSIGN_OR_RETURN(store::TableStamp stamp, table->Stamp());
  for (size_t i = 0; i < def.keys.size(); ++i) {
    DODU_ASSIGN_OR_RETURN(store::CdxIndex index,
                          store::BuildIndexFile(env, table->file(), stage_indexes[i] + ".CDX",
                                                def.keys[i].expression, stamp));
    (void)index;
  }
  return n;
}

}  // namespace

bool ReferenceReport::complete() const {
  for (const auto& t : tables) {
    if (t.outcome != ReferenceOutcome::kBuilt && t.outcome != ReferenceOutcome::kKept) return false;
  }
  return true;
}

const ReferenceTableResult* ReferenceReport::Find(int number, std::string_view file) const {
  for (const auto& t : tables) {
    if (t.number == number && (file.empty() || platform::EqualsIgnoreCase(t.file, file))) return &t;
  }
  return nullptr;
}

Result<std::string> ReferenceDataFolder(platform::Env& env, std::string_view argument) {
  std::string folder(argument);
  if (folder.empty()) {
    std::optional<std::string> from_env = env.GetEnv(kReferenceDataVariable);
    if (!from_env || from_env->empty()) {
      return Status::NotFound(std::string("no folder of reference lists given and ") +
                              kReferenceDataVariable + " not set");
    }
    folder = *from_env;
  }
  if (!env.IsDirectory(folder)) {
    return Status::NotFound("folder of reference lists " + folder + " does not exist");
  }
  return folder;
}

Result<uint32_t> WriteReferenceTable(platform::Env& env, const std::string& folder,
                                     const store::TableDef& def, const std::string& file_name,
                                     const std::vector<ReferenceRow>& rows) {
  const std::string final_table = platform::JoinPath(folder, file_name);
  if (Exists(env, final_table + ".DBF")) {
    return Status::Invalid(final_table + ".DBF already exists");
  }
  const std::string staging = platform::JoinPath(folder, kStagingFolder);
  if (!env.IsDirectory(staging)) DODU_RETURN_IF_ERROR(env.CreateDir(staging));

  std::vector<std::string> index_names;
  for (const store::IndexDef& key : def.keys) {
    index_names.push_back(store::IndexFileName(key, file_name));
  }
  const std::string stage_table = platform::JoinPath(staging, file_name);
  std::vector<std::string> stage_indexes;
  for (const auto& name : index_names) stage_indexes.push_back(platform::JoinPath(staging, name));

  // The files a build of this table leaves in the staging folder, in the order
  // they are moved into place: indexes, memo, the table last.
  std::vector<std::string> moved;
  for (const auto& name : index_names) moved.push_back(name + ".CDX");
  if (def.has_memo) moved.push_back(file_name + ".DBT");
  moved.push_back(file_name + ".DBF");

  auto clean = [&]() {
    for (const auto& f : moved) (void)RemoveIfThere(env, platform::JoinPath(staging, f));
    (void)RemoveIfThere(env, stage_table + ".DBF.LCK");
    (void)env.RemoveDir(staging);  // only when no other build uses it
  };
  clean();  // what a build stopped earlier left behind
  if (!env.IsDirectory(staging)) DODU_RETURN_IF_ERROR(env.CreateDir(staging));

  Result<uint32_t> count = BuildStaged(env, def, stage_table, stage_indexes, rows);
  if (!count.ok()) {
    clean();
    return count.status();
  }
  for (const auto& f : moved) {
    Status st = env.Rename(platform::JoinPath(staging, f), platform::JoinPath(folder, f));
    if (!st.ok()) {
      // Index or memo files moved already are harmless without their table;
      // remove them so a later build starts clean.
      for (const auto& g : moved) {
        if (g == f) break;
        (void)RemoveIfThere(env, platform::JoinPath(folder, g));
      }
      clean();
      return st;
    }
  }
  clean();
  return count;
}

ReferenceReport BuildReferenceTables(platform::Env& env, const std::string& installation_folder,
                                     const std::string& csv_folder) {
  ReferenceReport report;
  // Each list is read once; a failed read is kept as its status.
  std::map<std::string, Result<CsvTable>> lists;
  auto list = [&](const std::string& name) -> const Result<CsvTable>& {
    auto it = lists.find(name);
    if (it == lists.end()) {
      Result<CsvTable> read =
          csv_folder.empty() ? Result<CsvTable>(Status::NotFound(name))
                             : ReadCsvFile(env, platform::JoinPath(csv_folder, name));
      it = lists.emplace(name, std::move(read)).first;
      if (it->second.status().IsNotFound()) report.missing_files.push_back(name);
    }
    return it->second;
  };

  for (const reference::TablePlan& plan : reference::TablePlans()) {
    const store::TableDef* def = store::FindTable(plan.number);
    if (def == nullptr || def->layout.empty()) continue;
    ReferenceTableResult result;
    result.number = plan.number;
    result.file = plan.file.empty() ? store::TableFileName(*def, store::NameContext{}) : plan.file;
    for (size_t i = 0; i < plan.lists.size(); ++i) {
      result.source += (i ? ", " : "") + plan.lists[i];
    }
    if (Exists(env, platform::JoinPath(installation_folder, result.file + ".DBF"))) {
      result.outcome = ReferenceOutcome::kKept;
      report.tables.push_back(std::move(result));
      continue;
    }
    std::vector<reference::NamedList> named;
    for (const std::string& name : plan.lists) {
      const Result<CsvTable>& read = list(name);
      if (!read.ok()) {
        result.outcome =
            read.status().IsNotFound() ? ReferenceOutcome::kMissing : ReferenceOutcome::kFailed;
        result.status = read.status().IsNotFound() ? Status::NotFound(name) : read.status();
        break;
      }
      named.push_back({name, &read.value()});
    }
    if (result.status.ok()) {
      Result<std::vector<ReferenceRow>> rows = plan.rows(named);
      Result<uint32_t> written =
          rows.ok() ? WriteReferenceTable(env, installation_folder, *def, result.file, *rows)
                    : Result<uint32_t>(rows.status());
      if (written.ok()) {
        result.rows = *written;
      } else {
        result.outcome = ReferenceOutcome::kFailed;
        result.status = written.status();
      }
    }
    report.tables.push_back(std::move(result));
  }
  return report;
}

std::vector<std::string> ReferenceReportLines(const ReferenceReport& report) {
  std::vector<std::string> lines;
  for (const auto& t : report.tables) {
    if (t.outcome == ReferenceOutcome::kMissing) {
      lines.push_back(core::Cp850("Tabela " + t.file + " não criada: falta " + t.status.message()));
    } else if (t.outcome == ReferenceOutcome::kFailed) {
      lines.push_back(core::Cp850("Tabela " + t.file + " não criada: ") +
                      core::Utf8ToCp850(t.status.message()));
    }
  }
  return lines;
}

}  // namespace dodu::shell
