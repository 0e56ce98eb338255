// One index order of an open table: a CdxIndex with its compiled key, attached
// to the Table as its IndexHook so every append, change, delete and recall and
// every rewrite keeps the index file right.
#ifndef DODU_STORE_WORKAREA_INDEX_H_
#define DODU_STORE_WORKAREA_INDEX_H_

#include <string>

#include "platform/env.h"
#include "platform/status.h"
#include "store/cdx_index.h"
#include "store/key_expr.h"
#include "store/table.h"
#include "store/table_hook.h"

namespace dodu::store {

// Builds the index file `path` over every record of `table` (deleted ones
// included: navigation hides them), stamped with `stamp`, synced. The tag is
// named after the file's stem. kInvalid when the expression does not compile
// against the table's layout.
Result<CdxIndex> BuildIndexFile(platform::Env& env, DbfFile& table, const std::string& path,
                                const std::string& expression, const TableStamp& stamp);

class OrderIndex final : public IndexHook {
 public:
  OrderIndex(platform::Env& env, std::string path, CdxIndex index)
      : env_(env), path_(std::move(path)), index_(std::move(index)) {}

  const std::string& path() const { return path_; }
  CdxIndex& index() { return index_; }
  const KeyExpr& expr() const { return index_.expr(); }

  Status OnAppend(RecNo recno, std::string_view record) override;
  Status OnChange(RecNo recno, std::string_view before, std::string_view after) override;
  Result<ReplacementFile> BuildForRewrite(DbfFile& table, const TableStamp& stamp) override;
  Status OnReplaced(DbfFile& table) override;

 private:
  platform::Env& env_;
  std::string path_;
  CdxIndex index_;
};

}  // namespace dodu::store

#endif  // DODU_STORE_WORKAREA_INDEX_H_
