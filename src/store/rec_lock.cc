// The locks of the opener with their waits and messages.
#include "store/rec_lock.h"

#include "store/opener_messages.h"
#include "store/rec_lock_wait.h"

namespace dodu::store {
namespace {

Status Report(OpenerContext& ctx, Status st) {
  if (!st.ok()) {
    ctx.sink.Box(static_cast<int>(platform::BoxStyle::kError), {msg::RecordUnavailable()}, "");
  }
  return st;
}

}  // namespace

Status REC_LOCK(OpenerContext& ctx, WorkArea& area, int seconds) {
  if (area.eof() || area.recno().value == 0) {
    return Status::NotFound(area.alias() + ": no current record to lock");
  }
  const RecNo n = area.recno();
  WaitRule rule{seconds * 1000, true, msg::WaitingRecord(area.alias())};
  return Report(ctx, WaitWhileLocked(ctx, rule, [&] { return area.table().LockRecord(n); }));
}

Status FIL_LOCK(OpenerContext& ctx, WorkArea& area, int seconds) {
  WaitRule rule{seconds == 0 ? std::nullopt : std::optional<int>(seconds * 1000), seconds != 0,
                msg::WaitingFile()};
  return Report(ctx, WaitWhileLocked(ctx, rule, [&] { return area.table().LockTable(); }));
}

Status ADD_REC(OpenerContext& ctx, WorkArea& area, int seconds) {
  WaitRule rule{seconds == 0 ? std::nullopt : std::optional<int>(seconds * 1000), seconds != 0,
                msg::WaitingAppend()};
  RecNo added{0};
  Status st = WaitWhileLocked(ctx, rule, [&]() -> Status {
    Result<RecNo> n = area.table().AppendBlank();
    if (!n.ok()) return n.status();
    added = *n;
    return Status::Ok();
  });
  if (st.ok()) return area.GoTo(added);
  return Report(ctx, st);
}

Status PREP_REG(OpenerContext& ctx, WorkArea& area, std::string_view key) {
  DODU_ASSIGN_OR_RETURN(bool found, area.Seek(key));
  return found ? REC_LOCK(ctx, area, 5) : ADD_REC(ctx, area, 5);
}

}  // namespace dodu::store
