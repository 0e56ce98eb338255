// The change of a taxpayer's CPF across the declaration tables of the current
// data folder (MUDA_CPF, main-menu option 30, data side).
//
// All or none: tables 01 to 08 and 10 to 21 are opened exclusively first (with
// their catalogue indexes, which follow every change) and the register record
// of the old CPF is locked; the register itself stays shared, as every running
// station keeps it open. When any of them is busy, or the declaration is open
// on a running station, nothing is changed. Then every record of the old CPF
// (deleted ones too, so a recall cannot bring the old CPF back) gets the new
// one, table by table, and the register record last.
#ifndef DODU_STORE_CPF_CHANGE_H_
#define DODU_STORE_CPF_CHANGE_H_

#include <string>

#include "platform/status.h"
#include "store/opener_context.h"
#include "store/workarea.h"

namespace dodu::store {

enum class CpfChangeOutcome {
  kChanged,       // "Pronto. CPF Trocado!" shown
  kInvalidNew,    // the new CPF fails its check digits (the check's box shown)
  kNewExists,     // "CPF novo já  existente. Não é possível a troca"
  kOldNotFound,   // "CPF original não encontrado. Confira o número digitado"
  kOpenElsewhere, // the declaration is open on a running station
  kBusy,          // a declaration table is held by another station (named)
};

struct CpfChangeResult {
  CpfChangeOutcome outcome = CpfChangeOutcome::kChanged;
  std::string busy_table;  // kBusy: the base name of the table
  int records = 0;         // kChanged: records changed, the register's included
};

// Changes `old_cpf` to `new_cpf` (11 digits each) in the data folder. The
// register is opened in area 9 (shared) when it is not; areas 1..21 but 9 are
// closed. Every outcome has told the operator in a box. Errors of the disk
// come back as the Status (after the tables changed so far stay changed).
Result<CpfChangeResult> ChangeCpf(OpenerContext& ctx, WorkAreas& areas, const std::string& old_cpf,
                                  const std::string& new_cpf);

}  // namespace dodu::store

#endif  // DODU_STORE_CPF_CHANGE_H_
