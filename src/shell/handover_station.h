// The hand-over of the open declaration from a running station: the operator's
// side over the screen toolkit, the register writes under the record lock, the
// snapshot of the open work copies with the station's clock and reference
// tables, and the hooks the selection (options 61-63) and the final save call.
#ifndef DODU_SHELL_HANDOVER_STATION_H_
#define DODU_SHELL_HANDOVER_STATION_H_

#include <string>
#include <vector>

#include "handover/handover.h"
#include "screen/toolkit.h"
#include "shell/declaration_session.h"
#include "shell/selection.h"
#include "shell/station.h"
#include "store/opener_context.h"
#include "store/workarea.h"

namespace dodu::shell {

// The hand-over's boxes as AVISOSN boxes (the style as given; questions in
// style 2, the numbered choice in style 7), the status line and the beep.
class ToolkitHandOverDialog : public handover::Dialog {
 public:
  explicit ToolkitHandOverDialog(screen::Toolkit& tk) : tk_(tk) {}
  void TitledBox(int style, const std::vector<std::string>& lines,
                 const std::string& title) override;
  void StatusLine(const std::string& text) override;
  void Beep() override;
  bool Confirm(const std::vector<std::string>& lines) override;
  int Choose(const std::vector<std::string>& lines) override;

 private:
  screen::Toolkit& tk_;
};

// The taxpayer's register record (table 09, area 9) written field by field
// under REC_LOCK(5). When area 9 is open (option 63 walks it) it is used and
// put back on the record it was on; otherwise the register is opened shared
// for the write and closed again. kNotFound when the taxpayer has no record.
class StationRegisterWriter : public handover::RegisterWriter {
 public:
  StationRegisterWriter(store::OpenerContext& ctx, store::WorkAreas& areas, std::string cpf)
      : ctx_(ctx), areas_(areas), cpf_(std::move(cpf)) {}
  Status Apply(const std::vector<handover::RegisterChange>& changes) override;

 private:
  store::OpenerContext& ctx_;
  store::WorkAreas& areas_;
  std::string cpf_;
};

// The snapshot of the open declaration: the CPF, the station's clock, the
// debit deadline and the exercise's constants, the country and municipality
// lookups over the installation folder, and the rows of the work copies.
Result<handover::Snapshot> StationSnapshot(Station& st, DeclarationSession& session);

// The hand-over settings of the station: the official folder from ROTAJAVA
// (native; "" when blank or not convertible), the work folder, the terminal,
// ENV_STAT/OPC_TRAN and the seal run from the program's start folder.
handover::HandoverSettings StationHandoverSettings(const Station& st, int option_code);

// Hands the open declaration over and tells the operator the outcome (the
// hand-over's own boxes tell its failures; a success says so). `session_state`
// keeps the automatic-debit question's answer across one run. The report's
// status: OK when transferred.
handover::HandoverReport HandOverOpenDeclaration(Station& st, DeclarationSession& session,
                                                 int option_code,
                                                 handover::WriteOptions& session_state);

// Options 61-63: the selection's hand-over hook, run after each load; the
// declaration is left as the selection's load made it (the selection closes
// the work copies).
void UseHandOver(SelectionContext& s, Station& st, DeclarationSession& session);

// The final save's hand-over (the session's DeclarationHooks::HandOver): the
// AVISOSRF guard through the dispatcher, then the hand-over. OK when it
// transferred; kCancelled when the guard refused (no official folder); the
// hand-over's status otherwise. `run_state` lives as long as the station's run.
Status HandOverOnSave(Station& st, DeclarationSession& session, handover::WriteOptions& run_state);

}  // namespace dodu::shell

#endif  // DODU_SHELL_HANDOVER_STATION_H_
