#include "store/replace_wait.h"

#include <chrono>

#include "store/internal/layout_builder.h"

namespace dodu::store {

std::string WaitingOtherTerminal() { return "Aguardando outro Terminal carregar dados..."; }

std::vector<std::string> TableInUseQuestion(int table_number, const std::string& year) {
  return {"Outro terminal esta usando o arquivo IMP" + internal::Mm(table_number) + year + ".DBF",
          "                Aguarde ?"};
}

ExclusiveWaitRule LoadWaitRule() {
  ExclusiveWaitRule r;
  r.waiting_text = WaitingOtherTerminal();
  r.esc_cancels = true;
  return r;
}

ExclusiveWaitRule SaveWaitRule(int table_number, const std::string& year, int ask_after_ms) {
  ExclusiveWaitRule r;
  r.waiting_text = WaitingOtherTerminal();
  r.ask_after_ms = ask_after_ms;
  r.question = TableInUseQuestion(table_number, year);
  return r;
}

int ExclusiveRetryPauseMs(int pid, int attempt) {
  const unsigned spread = kExclusiveRetryMaxMs - kExclusiveRetryMinMs + 1;
  const unsigned mix = static_cast<unsigned>(pid) * 7919u + static_cast<unsigned>(attempt) * 104729u;
  return kExclusiveRetryMinMs + static_cast<int>(mix % spread);
}

Status WaitForExclusive(OpenerContext& ctx, const ExclusiveWaitRule& rule,
                        const std::function<Status()>& attempt) {
  Status st = attempt();
  if (!st.IsLocked()) return st;
  platform::Clock& clock = ctx.env.clock();
  int64_t since = clock.MonotonicMillis();
  ctx.wait.StatusText(rule.waiting_text);
  for (int n = 1;; ++n) {
    if (ctx.wait.EscPressed() && rule.esc_cancels) {
      st = Status::Cancelled(st.message());
      break;
    }
    if (rule.ask_after_ms && clock.MonotonicMillis() - since >= *rule.ask_after_ms) {
      if (!ctx.Confirm(rule.question)) {
        st = Status::Cancelled(st.message());
        break;
      }
      since = clock.MonotonicMillis();
    }
    clock.SleepFor(std::chrono::milliseconds(ExclusiveRetryPauseMs(ctx.env.ProcessId(), n)));
    st = attempt();
    if (!st.IsLocked()) break;
  }
  ctx.wait.StatusText("");
  return st;
}

}  // namespace dodu::store
