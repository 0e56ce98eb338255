#include "import/conversion_run.h"

#include "core/codepage.h"
#include "platform/paths.h"

namespace dodu::import {
namespace {

// Restores the station's data folder when a taxpayer written elsewhere is done.
class FolderSwitch {
 public:
  FolderSwitch(store::OpenerContext& ctx, store::WorkAreas& areas)
      : ctx_(ctx), areas_(areas), saved_(ctx.data_folder) {}
  void To(const std::string& folder) {
    for (int n = 1; n <= 21; ++n) areas_.Close(n);
    ctx_.data_folder = folder;
  }
  ~FolderSwitch() {
    if (ctx_.data_folder == saved_) return;
    for (int n = 1; n <= 21; ++n) areas_.Close(n);
    ctx_.data_folder = saved_;
  }

 private:
  store::OpenerContext& ctx_;
  store::WorkAreas& areas_;
  std::string saved_;
};

bool NeedsRegistered(ImportMode mode) {
  return mode == ImportMode::kReceipts || mode == ImportMode::kLeao ||
         mode == ImportMode::kRuralBook;
}

}  // namespace

Counters ConvertMarked(store::OpenerContext& ctx, store::WorkAreas& areas,
                       const std::string& folder, const std::vector<ListingEntry>& entries,
                       ImportMode mode, const ConversionInputs& in, RunObserver& observer,
                       const LocateFn& locate) {
  Counters c;
  for (const ListingEntry& e : entries) c.to_convert += e.marked ? 1 : 0;
  c.remaining = c.to_convert;
  observer.ShowCounters(c, true);
  ConversionInputs inputs = in;
  if (!inputs.confirm)
    inputs.confirm = [&](const std::vector<std::string>& l) { return observer.Confirm(l); };
  for (const ListingEntry& e : entries) {
    if (!e.marked) {
      ++c.not_converted;
      continue;
    }
    const std::string kind = e.origem.substr(0, 5);
    if ((kind == "Saida" || kind == "Final") &&
        !observer.Confirm({"Essa foi uma declaracao " + kind + ".",
                           "Deseja converte-la para uma retificacao?"})) {
      ++c.not_converted;
    } else {
      FolderSwitch folder_switch(ctx, areas);
      if (NeedsRegistered(mode) && locate) {
        Result<Existing> here = ReadExisting(ctx, areas, e.cpf);
        if (here.ok() && !here->registered) {
          if (std::optional<std::string> other = locate(e.cpf)) folder_switch.To(*other);
        }
      }
      Result<ImportOutcome> r =
          ImportFile(ctx, areas, platform::JoinPath(folder, e.file_name), mode, inputs);
      if (r.ok()) {
        ++c.converted;
        observer.Converted(e, *r);
      } else {
        ++c.existing;
        observer.Refused(e, r.status());
      }
    }
    --c.remaining;
    observer.ShowCounters(c, false);
    if (c.remaining > 0 && observer.EscPending() &&
        observer.Confirm({core::Cp850("Abandona a conversão dos dados? S/N")})) {
      break;
    }
  }
  return c;
}

}  // namespace dodu::import
