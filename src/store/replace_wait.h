// The wait for the exclusive open of a shared declaration table, as loading and
// saving a declaration do it: try at once; while another station holds the
// table, show the waiting text and retry every 100 to 250 ms (spread by the
// process id, so that two waiting stations do not retry in step), sleeping on
// the Env's clock. Loading lets Esc cancel; saving cannot be cancelled by Esc
// but, after a while, asks the operator whether to keep waiting, and again
// after each further while.
#ifndef DODU_STORE_REPLACE_WAIT_H_
#define DODU_STORE_REPLACE_WAIT_H_

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/status.h"
#include "store/opener_context.h"

namespace dodu::store {

inline constexpr int kExclusiveRetryMinMs = 100;
inline constexpr int kExclusiveRetryMaxMs = 250;

struct ExclusiveWaitRule {
  std::string waiting_text;         // status bar while waiting (cp850)
  bool esc_cancels = false;         // Esc ends the wait with kCancelled
  std::optional<int> ask_after_ms;  // ask `question` after this long waiting (and again after as long)
  std::vector<std::string> question;  // the yes/no box; "Não" ends the wait with kCancelled
};

// "Aguardando outro Terminal carregar dados..."
std::string WaitingOtherTerminal();
// "Outro terminal esta usando o arquivo IMP" + nn + year + ".DBF" / "                Aguarde ?"
std::vector<std::string> TableInUseQuestion(int table_number, const std::string& year);

// The rule of the load (Esc cancels) and of the save (asks after `ask_after_ms`).
ExclusiveWaitRule LoadWaitRule();
ExclusiveWaitRule SaveWaitRule(int table_number, const std::string& year, int ask_after_ms = 30000);

// The pause before retry number `attempt` (1, 2, ...) of process `pid`: within
// [kExclusiveRetryMinMs, kExclusiveRetryMaxMs].
int ExclusiveRetryPauseMs(int pid, int attempt);

// Runs `attempt` (an exclusive open) under `rule`. OK when it succeeded; its own
// status when it failed otherwise than kLocked; kCancelled when Esc or the
// operator's "Não" ended the wait. The status text is cleared at the end.
Status WaitForExclusive(OpenerContext& ctx, const ExclusiveWaitRule& rule,
                        const std::function<Status()>& attempt);

}  // namespace dodu::store

#endif  // DODU_STORE_REPLACE_WAIT_H_
