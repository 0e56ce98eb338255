#include "darf/darf_print_run.h"

#include "darf/darf_run.h"
#include "darf/darf_texts.h"
#include "platform/paths.h"

namespace dodu::darf {

Result<std::unique_ptr<DarfPrintRun>> DarfPrintRun::Start(platform::Env& env,
                                                          print::PrinterSystem& printers,
                                                          print::DispatchPorts& ports,
                                                          RunSettings settings, int taxpayers) {
  std::unique_ptr<DarfPrintRun> run(
      new DarfPrintRun(env, printers, ports, std::move(settings), taxpayers));
  DODU_RETURN_IF_ERROR(run->Restart());
  return run;
}

Status DarfPrintRun::Restart() {
  if (out_) DODU_RETURN_IF_ERROR(out_->Close());
  out_.reset();
  DODU_ASSIGN_OR_RETURN(out_, print::PrintOutput::Create(
                                  env_, platform::JoinPath(settings_.folders.work, print::kJobFile)));
  return Status::Ok();
}

Status DarfPrintRun::Dispatch(const std::string& job) {
  DODU_RETURN_IF_ERROR(out_->Close());
  out_.reset();
  DODU_ASSIGN_OR_RETURN(print::Dispatched d,
                        print::DispatchPrintFile(env_, printers_, ports_, settings_.options,
                                                 settings_.folders, job, taxpayers_ == 1));
  if (d.result != print::DispatchResult::kNothing) ++jobs_;
  return Restart();
}

Result<int> DarfPrintRun::Taxpayer(const Darf& set, const DarfSources& src,
                                   std::span<const tax::SelicRow> selic, const Date& today) {
  const bool batch = taxpayers_ > 1;
  const std::string debit = src.vars && src.vars->Has("DEBITAUT") ? src.vars->Text("DEBITAUT") : "";
  if (batch && !PrintsInBatch(set.kind, debit)) return 0;
  SlipWriter writer(*out_, settings_.paper, settings_.options.copies, settings_.vertical_offset);
  DODU_ASSIGN_OR_RETURN(int written, PrintSet(writer, set, src, selic, today));
  DODU_RETURN_IF_ERROR(out_->Flush());
  if (!batch || DispatchesEachTaxpayer(settings_.options.destination)) {
    Darf named = set;  // the job is named after the period the lookup finds
    (void)BusImpo(named, src, Mode::kSilent);
    DODU_RETURN_IF_ERROR(Dispatch(FazONome(named, set.name)));
  }
  return written;
}

Status DarfPrintRun::Finish(const std::string& job) { return Dispatch(job); }

}  // namespace dodu::darf
