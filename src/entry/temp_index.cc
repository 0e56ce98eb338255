#include "entry/temp_index.h"

#include "platform/paths.h"

namespace dodu::entry {

std::string TempIndex::PathFor(const store::OpenerContext& ctx) {
  return platform::JoinPath(ctx.work_folder, "TMPIND" + ctx.terminal + ".CDX");
}

Result<std::unique_ptr<TempIndex>> TempIndex::Build(const store::OpenerContext& ctx,
                                                    store::Table& table,
                                                    const std::string& expression) {
  const std::string path = PathFor(ctx);
  if (ctx.env.Exists(path)) DODU_RETURN_IF_ERROR(ctx.env.Remove(path));
  DODU_ASSIGN_OR_RETURN(store::TableStamp stamp, table.Stamp());
  DODU_ASSIGN_OR_RETURN(store::CdxIndex index,
                        store::BuildIndexFile(ctx.env, table.file(), path, expression, stamp));
  auto order = std::make_unique<store::OrderIndex>(ctx.env, path, std::move(index));
  table.AttachIndex(*order);
  return std::unique_ptr<TempIndex>(
      new TempIndex(ctx.env, table, path, expression, std::move(order)));
}

TempIndex::~TempIndex() {
  table_.DetachIndex(*order_);
  order_.reset();
  (void)env_.Remove(path_);
}

Result<std::vector<store::RecNo>> TempIndex::Order() {
  DODU_ASSIGN_OR_RETURN(std::vector<store::CdxEntry> entries, order_->index().ReadAll());
  std::vector<store::RecNo> out;
  out.reserve(entries.size());
  for (const store::CdxEntry& e : entries) out.push_back(store::RecNo{e.recno});
  return out;
}

}  // namespace dodu::entry
