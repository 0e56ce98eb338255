// The half-second retry loop of the locks.
#include "store/rec_lock_wait.h"

#include <chrono>

namespace dodu::store {

Status WaitWhileLocked(OpenerContext& ctx, const WaitRule& rule,
                       const std::function<Status()>& attempt) {
  Status st = attempt();
  if (!st.IsLocked()) return st;
  if (rule.limit_ms && *rule.limit_ms <= 0) return st;

  platform::Clock& clock = ctx.env.clock();
  const int64_t start = clock.MonotonicMillis();
  ctx.wait.StatusText(rule.waiting_text);
  while (true) {
    if (rule.limit_ms && clock.MonotonicMillis() - start >= *rule.limit_ms) break;
    const bool esc = ctx.wait.EscPressed();
    if (esc && rule.esc_stops) {
      st = Status::Cancelled(st.message());
      break;
    }
    clock.SleepFor(std::chrono::milliseconds(kRetryIntervalMs));
    st = attempt();
    if (!st.IsLocked()) break;
  }
  ctx.wait.StatusText("");
  return st;
}

}  // namespace dodu::store
