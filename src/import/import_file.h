// Converting one official file into the destination data folder (FAZCONV): the
// file is read whole and validated, the taxpayer's state read, the conversion
// made (asking its questions) and the plan applied, all or nothing.
//
// The reference lists the conversion reads come from the installation's
// tables 46 (asset codes), 55 (banks), 58 (occupations) and 59 (activities);
// a missing reference table gives blank descriptions.
#ifndef DODU_IMPORT_IMPORT_FILE_H_
#define DODU_IMPORT_IMPORT_FILE_H_

#include <string>
#include <vector>

#include "import/apply.h"
#include "import/conversion.h"
#include "platform/status.h"
#include "store/opener_context.h"
#include "store/workarea.h"

namespace dodu::import {

struct ImportOutcome {
  std::string cpf;
  std::string name;
  ApplyReport report;
  std::vector<std::string> notes;  // the conversion's and the apply's, for the summary (cp850)
};

// CRIA_BASE: every declaration table of the destination (01 to 21) opened and
// closed once, which creates a missing table and its indexes.
Status CRIA_BASE(store::OpenerContext& ctx, store::WorkAreas& areas);

// The lookups of ConversionInputs over the reference tables, opened in their
// areas; `confirm` is left for the caller. The tables stay open in `areas`.
ConversionInputs ReferenceLookups(store::OpenerContext& ctx, store::WorkAreas& areas);

// Imports `path` in `mode`. Failures, with nothing written:
// - kCorrupt: the file is damaged (the message names file, line and record);
// - kInvalid: not importable in this mode or for this taxpayer (a previous
//   year's file of a registered taxpayer, another layout, a value that does not
//   fit, a mode whose records are read but not imported yet);
// - kNotFound, kLocked: as ApplyPlan; kIoError: the file cannot be read.
// Mode 3 also reads the receipt complement beside the file (its name with the
// last three characters replaced by "REC") when there is one.
Result<ImportOutcome> ImportFile(store::OpenerContext& ctx, store::WorkAreas& areas,
                                 const std::string& path, ImportMode mode,
                                 const ConversionInputs& in);

}  // namespace dodu::import

#endif  // DODU_IMPORT_IMPORT_FILE_H_
