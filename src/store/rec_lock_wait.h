// The timed wait every lock and append of the opener goes through: try at once;
// when refused because another station holds the lock, show a status-bar text
// and try again every half second until it is granted, the time is up or the
// operator presses Esc. Waiting sleeps on the Env's clock; it never spins.
#ifndef DODU_STORE_REC_LOCK_WAIT_H_
#define DODU_STORE_REC_LOCK_WAIT_H_

#include <functional>
#include <optional>
#include <string>

#include "platform/status.h"
#include "store/opener_context.h"

namespace dodu::store {

inline constexpr int kRetryIntervalMs = 500;

struct WaitRule {
  // Total wait after the first refusal; nullopt waits without limit, 0 fails at once.
  std::optional<int> limit_ms;
  bool esc_stops = true;       // Esc ends the wait (it is polled in every case)
  std::string waiting_text;    // status bar while waiting (cp850)
};

// Runs `attempt` under `rule`. Returns OK when it succeeded, its own status when
// it failed for another reason than kLocked (not retried), kLocked when the time
// ran out and kCancelled when Esc stopped the wait. The status bar shows the
// waiting text from the first refusal and is cleared when the wait ends.
Status WaitWhileLocked(OpenerContext& ctx, const WaitRule& rule,
                       const std::function<Status()>& attempt);

}  // namespace dodu::store

#endif  // DODU_STORE_REC_LOCK_WAIT_H_
