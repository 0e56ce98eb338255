// Keeping an index order in step with its table.
#include "store/workarea_index.h"

#include <cctype>
#include <vector>

#include "platform/paths.h"

namespace dodu::store {
namespace {

// "…/IMP0920B.CDX" -> "IMP0920B".
std::string TagFor(const std::string& path) {
  std::string base = platform::BaseName(path);
  if (size_t dot = base.find('.'); dot != std::string::npos) base.resize(dot);
  for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (base.size() > 10) base.resize(10);
  return base;
}

}  // namespace

Result<CdxIndex> BuildIndexFile(platform::Env& env, DbfFile& table, const std::string& path,
                                const std::string& expression, const TableStamp& stamp) {
  DODU_ASSIGN_OR_RETURN(KeyExpr expr, KeyExpr::Compile(expression, table.layout().fields()));
  std::vector<CdxEntry> entries;
  entries.reserve(table.record_count());
  for (uint32_t n = 1; n <= table.record_count(); ++n) {
    DODU_ASSIGN_OR_RETURN(std::string image, table.ReadRecord(RecNo{n}));
    entries.push_back({expr.EvaluateImage(image), n});
  }
  DODU_ASSIGN_OR_RETURN(CdxIndex index, CdxIndex::Create(env, path, expr, std::move(entries),
                                                         stamp.generation, stamp.record_count,
                                                         TagFor(path)));
  DODU_RETURN_IF_ERROR(index.Sync());
  return index;
}

Status OrderIndex::OnAppend(RecNo recno, std::string_view record) {
  return index_.Insert(index_.expr().EvaluateImage(record), recno.value);
}

Status OrderIndex::OnChange(RecNo recno, std::string_view before, std::string_view after) {
  return index_.Update(index_.expr().EvaluateImage(before), index_.expr().EvaluateImage(after),
                       recno.value);
}

Result<ReplacementFile> OrderIndex::BuildForRewrite(DbfFile& table, const TableStamp& stamp) {
  ReplacementFile f{Table::TempPathFor(path_), path_};
  // The tag is named from the stem, which the temporary suffix does not change.
  Result<CdxIndex> built = BuildIndexFile(env_, table, f.temp_path, index_.expr().text(), stamp);
  if (!built.ok()) return built.status();
  return f;
}

Status OrderIndex::OnReplaced(DbfFile& table) {
  DODU_ASSIGN_OR_RETURN(CdxIndex reopened, CdxIndex::Open(env_, path_, table.layout().fields()));
  index_ = std::move(reopened);
  return Status::Ok();
}

}  // namespace dodu::store
