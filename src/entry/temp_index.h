// The temporary index Alt O orders a list by: built over the list's table on
// the key of the current column, in this terminal's work folder under a name
// that carries the terminal number ("TMPIND" + terminal + ".CDX", so two
// stations of one installation never share it), kept up to date while the
// profile runs (it is attached to the table like its own orders) and removed
// when the profile ends.
#ifndef DODU_ENTRY_TEMP_INDEX_H_
#define DODU_ENTRY_TEMP_INDEX_H_

#include <memory>
#include <string>
#include <vector>

#include "platform/status.h"
#include "store/opener_context.h"
#include "store/table.h"
#include "store/workarea_index.h"

namespace dodu::entry {

class TempIndex {
 public:
  // The file of this terminal's temporary index.
  static std::string PathFor(const store::OpenerContext& ctx);

  // Builds it (replacing a file left by an earlier run). kInvalid when the key
  // does not compile against the table; the file system's errors.
  static Result<std::unique_ptr<TempIndex>> Build(const store::OpenerContext& ctx,
                                                  store::Table& table,
                                                  const std::string& expression);

  // Detaches the index from its table and removes the file.
  ~TempIndex();
  TempIndex(const TempIndex&) = delete;
  TempIndex& operator=(const TempIndex&) = delete;

  const std::string& path() const { return path_; }
  const std::string& expression() const { return expression_; }
  // Every record number in key order (deleted ones included).
  Result<std::vector<store::RecNo>> Order();

 private:
  TempIndex(platform::Env& env, store::Table& table, std::string path, std::string expression,
            std::unique_ptr<store::OrderIndex> order)
      : env_(env),
        table_(table),
        path_(std::move(path)),
        expression_(std::move(expression)),
        order_(std::move(order)) {}

  platform::Env& env_;
  store::Table& table_;
  std::string path_;
  std::string expression_;
  std::unique_ptr<store::OrderIndex> order_;
};

}  // namespace dodu::entry

#endif  // DODU_ENTRY_TEMP_INDEX_H_
