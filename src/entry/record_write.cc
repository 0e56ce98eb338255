#include "entry/record_write.h"

#include "entry/profile_column.h"
#include "platform/paths.h"
#include "store/catalogue.h"
#include "store/rec_lock.h"

namespace dodu::entry {

Status ChangeRecord(EntryContext& ec, store::WorkArea& area, store::RecNo n,
                    const std::function<Status(store::Record&)>& change) {
  const bool held = area.table().HoldsRecordLock(n);
  DODU_RETURN_IF_ERROR(area.GoTo(n));
  if (!held) DODU_RETURN_IF_ERROR(store::REC_LOCK(ec.store, area, kBrowserLockSeconds));
  Status st = [&]() -> Status {
    DODU_ASSIGN_OR_RETURN(store::Record rec, area.Current());
    DODU_RETURN_IF_ERROR(change(rec));
    return area.WriteCurrent(rec);
  }();
  if (!held) area.table().UnlockRecord(n);
  return st;
}

Status WriteField(EntryContext& ec, store::WorkArea& area, store::RecNo n, std::string_view field,
                  const screen::EditValue& value) {
  return ChangeRecord(ec, area, n,
                      [&](store::Record& rec) { return PutFieldValue(rec, field, value); });
}

bool IsOwnWorkCopy(const store::OpenerContext& ctx, const store::Table& table) {
  const std::string& path = table.path();
  if (!platform::SameFolder(platform::ParentPath(path), ctx.work_folder)) return false;
  std::string base = platform::BaseName(path);
  size_t dot = base.rfind('.');
  if (dot != std::string::npos) base.resize(dot);
  const store::NameContext names = ctx.names();
  for (int n = 1; n <= 21; ++n) {
    const store::TableDef* def = store::FindWorkCopy(n);
    if (def == nullptr) continue;
    if (platform::EqualsIgnoreCase(base, store::TableFileName(*def, names))) return true;
  }
  return false;
}

}  // namespace dodu::entry
