// The DARFs of a print run (report kind 5) and of one taxpayer: where the
// slips of each taxpayer go and when they are dispatched (FAZ_A_IMPRESSAO).
//
//   one taxpayer             each set is dispatched as its own job, named by
//                            FazONome, and the work file is emptied for the next
//   several, a PDF printer   the same for every taxpayer: one PDF per taxpayer
//   several, other printers  all slips stay in the one work file, dispatched
//                            once by Finish at the end of the run
//
// In a run over several taxpayers a declaration paid by automatic debit gets
// no quota slip (see PrintsInBatch); its other DARFs are printed.
#ifndef DODU_DARF_DARF_PRINT_RUN_H_
#define DODU_DARF_DARF_PRINT_RUN_H_

#include <memory>
#include <span>
#include <string>

#include "darf/darf.h"
#include "darf/darf_slip.h"
#include "platform/env.h"
#include "platform/status.h"
#include "print/dispatch.h"
#include "print/print_output.h"

namespace dodu::darf {

struct RunSettings {
  Paper paper = Paper::kBlankSheet;  // QUEMOD
  int vertical_offset = 0;           // pre-printed sheets, asked once per run
  print::PrintOptions options;       // destination and NRO_VIAS
  print::PrintFolders folders;       // the work folder holds the work file
};

class DarfPrintRun {
 public:
  // Starts the work file (PREP_IMP) for a run over `taxpayers` taxpayers.
  static Result<std::unique_ptr<DarfPrintRun>> Start(platform::Env& env,
                                                     print::PrinterSystem& printers,
                                                     print::DispatchPorts& ports,
                                                     RunSettings settings, int taxpayers);

  // The set of one taxpayer (`set` carries the first taxpayer's choices and this
  // taxpayer's name, CPF and phone), written and, when the rule above says so,
  // dispatched. Answers the slips written. Fails on a SELIC month missing or a
  // failed write or dispatch; the work file then holds what was written.
  Result<int> Taxpayer(const Darf& set, const DarfSources& src,
                       std::span<const tax::SelicRow> selic, const Date& today);

  // The end of the run: what the work file still holds goes out as one job
  // named `job`. Nothing is sent when it is empty.
  Status Finish(const std::string& job);

  int jobs() const { return jobs_; }

 private:
  DarfPrintRun(platform::Env& env, print::PrinterSystem& printers, print::DispatchPorts& ports,
               RunSettings settings, int taxpayers)
      : env_(env), printers_(printers), ports_(ports), settings_(std::move(settings)),
        taxpayers_(taxpayers) {}
  Status Restart();
  Status Dispatch(const std::string& job);

  platform::Env& env_;
  print::PrinterSystem& printers_;
  print::DispatchPorts& ports_;
  RunSettings settings_;
  int taxpayers_;
  int jobs_ = 0;
  std::unique_ptr<print::PrintOutput> out_;
};

}  // namespace dodu::darf

#endif  // DODU_DARF_DARF_PRINT_RUN_H_
