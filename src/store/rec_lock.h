// Record, file and append locks with the timed wait and the operator's
// messages, over the table of a work area. Every write of a shared table goes
// through one of these (or an exclusive open).
//
// All answer OK when the lock (or the new record) was had. Otherwise the error
// box "ATENÇÃO! Registro não ficou disponível. Dado não será gravado." has been
// shown and the status is kLocked (time ran out), kCancelled (Esc) or the
// table's own error; the caller skips its write.
#ifndef DODU_STORE_REC_LOCK_H_
#define DODU_STORE_REC_LOCK_H_

#include <string_view>

#include "platform/status.h"
#include "store/opener_context.h"
#include "store/workarea.h"

namespace dodu::store {

// REC_LOCK(seconds): locks the area's current record, retrying every half
// second for `seconds` (0: fails at once) while the status bar shows
// "Aguardando registro ficar disponivel no arquivo " + alias; Esc stops it.
// kNotFound (no box) when the area has no current record.
Status REC_LOCK(OpenerContext& ctx, WorkArea& area, int seconds = 2);

// FIL_LOCK(seconds): locks the whole table. 0 waits without limit and Esc does
// not stop it; a positive number waits that long and Esc stops it.
Status FIL_LOCK(OpenerContext& ctx, WorkArea& area, int seconds = 2);

// ADD_REC(seconds): appends a blank record, which is left locked and current.
// 0 waits without limit; Esc stops a limited wait.
Status ADD_REC(OpenerContext& ctx, WorkArea& area, int seconds);

// PREP_REG(key): seeks `key` in the active order; found: REC_LOCK(5), else
// ADD_REC(5). The record is left locked and current for the caller to fill.
Status PREP_REG(OpenerContext& ctx, WorkArea& area, std::string_view key);

}  // namespace dodu::store

#endif  // DODU_STORE_REC_LOCK_H_
