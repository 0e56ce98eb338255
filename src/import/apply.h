// The apply step: a taxpayer's plan (conversion.h) written into the tables of
// the destination data folder (`ctx.data_folder`), all or nothing.
//
// Before anything is written every table the plan touches is had: the
// multi-record tables opened exclusively (waiting as a save waits, the operator
// may give up), the register record and the declaration record locked (5
// seconds). The taxpayer's records of each multi-record table are then replaced
// in place under the store's rollback journal (store/replace.h); should a later
// table fail, the tables already written get their old records back. The
// register record is written last.
//
// Refusals, with nothing written:
// - kLocked: a table or record could not be had, or the declaration is open at
//   another station (`NUSUAT` another terminal; the message says which);
// - kNotFound: the plan needs a registered taxpayer and there is none;
// - kInvalid: a number does not fit its field (a format error of the file).
// A text longer than its field is cut and named in `ApplyReport::notes`.
#ifndef DODU_IMPORT_APPLY_H_
#define DODU_IMPORT_APPLY_H_

#include <map>
#include <string>
#include <vector>

#include "import/conversion.h"
#include "platform/status.h"
#include "store/opener_context.h"
#include "store/replace.h"
#include "store/workarea.h"

namespace dodu::import {

// What the destination holds of taxpayer `cpf` (the register record), for the
// conversion. Opens the register shared in its area.
Result<Existing> ReadExisting(store::OpenerContext& ctx, store::WorkAreas& areas,
                              const std::string& cpf);

struct ApplyReport {
  std::map<int, store::ReplaceStats> tables;
  bool register_added = false;
  std::vector<std::string> notes;  // texts cut to their field (cp850)
};

// How long an exclusive open waits before asking whether to keep waiting.
inline constexpr int kImportAskAfterMs = 5000;

Result<ApplyReport> ApplyPlan(store::OpenerContext& ctx, store::WorkAreas& areas,
                              const TaxpayerPlan& plan);

// Puts the cells of `row` into `record` by field name. kInvalid names the field
// when the table has no such field, the value is of another type or a number
// does not fit; cut texts are added to `notes`.
Status FillRecord(store::Record& record, const Row& row, std::vector<std::string>& notes);

}  // namespace dodu::import

#endif  // DODU_IMPORT_APPLY_H_
