// The conversion loop over the marked entries of the selection list (LEIA_DISCO
// steps 9 and 10): each marked taxpayer is converted in name order, the
// counters are kept, a final-estate or departure declaration asks first, and a
// pending Esc between two taxpayers offers to stop.
//
// When a taxpayer the mode needs registered (modes 3 and 10) is not in the
// destination but `locate` finds it in another data folder, every write for
// that taxpayer goes to that folder; the destination is restored before the
// next taxpayer.
#ifndef DODU_IMPORT_CONVERSION_RUN_H_
#define DODU_IMPORT_CONVERSION_RUN_H_

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "import/import_file.h"
#include "import/listing.h"

namespace dodu::import {

// The counters window's numbers.
struct Counters {
  int to_convert = 0;     // " A converter": entries marked
  int converted = 0;      // " Convertidos"
  int existing = 0;       // " Já existente": refused or not written
  int not_converted = 0;  // " Não converter": not marked or declined
  int remaining = 0;      // " Faltam ......"
  bool operator==(const Counters&) const = default;
};

class RunObserver {
 public:
  virtual ~RunObserver() = default;
  // A yes/no question (cp850 lines); true for "S".
  virtual bool Confirm(const std::vector<std::string>& lines) = 0;
  // The counters; `first` when the window opens.
  virtual void ShowCounters(const Counters& c, bool first) = 0;
  // Consumes a pending key; true when it was Esc.
  virtual bool EscPending() = 0;
  // A taxpayer not converted, with the reason (its message is the operator's).
  virtual void Refused(const ListingEntry& entry, const Status& why) = 0;
  // A taxpayer converted, with the notes of its summary.
  virtual void Converted(const ListingEntry& entry, const ImportOutcome& outcome) = 0;
};

// The data folder of a taxpayer found elsewhere (BUSCA_OUTRO), or nullopt.
using LocateFn = std::function<std::optional<std::string>(const std::string& cpf)>;

// Runs the loop over `entries` (the selection list in name order) whose files
// are in `folder`. The answer is the final counters; kCancelled never (an
// abandoned loop answers its counters so far).
Counters ConvertMarked(store::OpenerContext& ctx, store::WorkAreas& areas,
                       const std::string& folder, const std::vector<ListingEntry>& entries,
                       ImportMode mode, const ConversionInputs& in, RunObserver& observer,
                       const LocateFn& locate = nullptr);

}  // namespace dodu::import

#endif  // DODU_IMPORT_CONVERSION_RUN_H_
