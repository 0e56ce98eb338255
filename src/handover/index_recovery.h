// RECUP_INDICE (option 68): rebuilds the official program's declaration index
// from the taxpayer folders of its data folder. Each folder named by an
// 11-digit CPF is read for its declaration document (CPF + "-0000000000.xml",
// as the hand-over writes it, else CPF + ".xml"); the copy of the
// identification at the document's end becomes the index item. A document
// without that copy is repaired from the taxpayer's register record, which
// also gives the identification its values (the taxpayer's own, not the open
// declaration's). The new index is written through a temporary file under the
// index's lock file and sealed.
#ifndef DODU_HANDOVER_INDEX_RECOVERY_H_
#define DODU_HANDOVER_INDEX_RECOVERY_H_

#include <memory>
#include <optional>
#include <string>

#include "core/variables.h"
#include "handover/seal.h"
#include "handover/snapshot.h"
#include "platform/env.h"
#include "platform/status.h"

namespace dodu::handover {

// The taxpayers' register records of this data folder and of the others
// (table 09), by CPF: the variables of the record (NOMECONTR, RETIFICA,
// NOVOEND, NRORECIBO, RECIBOANT, USAPADRAO ...), nullptr when none has it.
class RegisterLookup {
 public:
  virtual ~RegisterLookup() = default;
  virtual std::unique_ptr<core::Variables> Find(const std::string& cpf) = 0;
};

struct RecoveryCounts {
  int folders = 0;  // taxpayer folders seen
  int restored = 0;
  int not_registered = 0;  // restored, but no register record has the CPF
  int empty_folders = 0;   // no declaration document
  int unrepairable = 0;    // no identification copy and no register record
};

struct RecoveryRequest {
  std::string official_folder;  // native
  std::string year_suffix = "20";
  SealConfig seal;
};

// kCancelled when the operator answers no; kNotFound when the folder holds
// nothing to recover; kIoError/kLocked as the index update. The summary box
// is shown on success.
Result<RecoveryCounts> RecoverIndex(platform::Env& env, Dialog& dialog, RegisterLookup& registers,
                                    const RecoveryRequest& request);

// The summary lines of the recovery box (numbers without leading blanks).
std::vector<std::string> RecoverySummary(const RecoveryCounts& c, std::string_view year_suffix);

}  // namespace dodu::handover

#endif  // DODU_HANDOVER_INDEX_RECOVERY_H_
