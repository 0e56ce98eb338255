// One hand-over of the open declaration to the official program (`PREPARA`):
// the checks and questions, the work document, its copy and seal into the
// official folder, the declaration index, and the register changes that
// follow. This is what the shell calls from options 61-63 and when a
// declaration is closed with hand-over on.
//
// Order, so that a failure leaves nothing half done:
//   1. the questions (negative cash balance, already delivered);
//   2. the work document "Decla" + terminal + ".xml" in the work folder,
//      every write checked;
//   3. the copy into the taxpayer's folder and the seal (see PlaceDocument);
//   4. the index, only once the document is sealed;
//   5. only after all of that: the delivery date and, with the setting, the
//      status of transmitted declarations, through the RegisterWriter.
// Corrections the writer makes to the register (a wrong area code cleared,
// the automatic-debit choice) are stored whatever the outcome.
#ifndef DODU_HANDOVER_HANDOVER_H_
#define DODU_HANDOVER_HANDOVER_H_

#include <string>
#include <vector>

#include "core/variables.h"
#include "handover/document_writer.h"
#include "handover/seal.h"
#include "handover/snapshot.h"
#include "platform/env.h"
#include "platform/status.h"

namespace dodu::handover {

struct HandoverSettings {
  std::string official_folder;  // native path of LOCIRPF; empty disables the hand-over
  std::string work_folder;      // native path of LOCTRAB
  std::string terminal;         // two digits, "03"
  int option_code = 0;          // 62 and 63 hand over many declarations in a row
  bool set_status = false;      // ENV_STAT == 1
  int transmitted_status = 0;   // OPC_TRAN
  SealConfig seal;
};

// Stores changes of the taxpayer's register record (table 09) under a record
// lock (five tries). A lock that cannot be had is reported (kLocked) and the
// field keeps its value; the hand-over stands.
class RegisterWriter {
 public:
  virtual ~RegisterWriter() = default;
  virtual Status Apply(const std::vector<RegisterChange>& changes) = 0;
};

struct HandoverReport {
  bool transferred = false;
  int gain_statements = 0;
  int seal_exit_status = 0;
  Status status;  // why it did not transfer (kCancelled when the operator stopped it)
};

// `session` carries the automatic-debit question's "do not ask again" across
// the hand-overs of one run.
HandoverReport HandOver(platform::Env& env, Dialog& dialog, const Snapshot& in,
                        core::Variables& vars, const HandoverSettings& settings,
                        RegisterWriter& register_writer, WriteOptions& session);

// The work document's name.
std::string WorkDocumentPath(const HandoverSettings& settings);

}  // namespace dodu::handover

#endif  // DODU_HANDOVER_HANDOVER_H_
