// Writing through: a value goes into its record at once, under the record
// lock of the opener (REC_LOCK, 5 seconds of retries with its messages), and
// the lock is let go right after the write.
#ifndef DODU_ENTRY_RECORD_WRITE_H_
#define DODU_ENTRY_RECORD_WRITE_H_

#include <functional>
#include <string_view>

#include "entry/entry_context.h"
#include "platform/status.h"
#include "screen/edit_value.h"
#include "store/workarea.h"

namespace dodu::entry {

// Seconds the browser waits for a record lock.
inline constexpr int kBrowserLockSeconds = 5;

// Locks record `n` of the area (making it current), lets `change` alter it,
// writes it and unlocks. A refused lock: its status (REC_LOCK has shown the
// box) and nothing written. A record this station already holds locked stays
// locked.
Status ChangeRecord(EntryContext& ec, store::WorkArea& area, store::RecNo n,
                    const std::function<Status(store::Record&)>& change);

// One field of record `n`, the same way.
Status WriteField(EntryContext& ec, store::WorkArea& area, store::RecNo n, std::string_view field,
                  const screen::EditValue& value);

// True when `table` is one of this terminal's work copies: a file of the work
// folder named as the work copy of a declaration table under this terminal's
// number (TMP_ + table + terminal). Decided by the open file, whatever area it
// is in.
bool IsOwnWorkCopy(const store::OpenerContext& ctx, const store::Table& table);

}  // namespace dodu::entry

#endif  // DODU_ENTRY_RECORD_WRITE_H_
