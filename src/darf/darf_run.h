// The printing of a set of DARFs (FAZ_DARF) and the choices of a print run
// over several taxpayers (FAZ_A_IMPRESSAO): which taxpayers get no slip, when
// a set goes out as its own job, and the notice shown when all slips of the run
// land on one sheet.
#ifndef DODU_DARF_DARF_RUN_H_
#define DODU_DARF_DARF_RUN_H_

#include <span>
#include <string>
#include <vector>

#include "darf/darf.h"
#include "darf/darf_slip.h"

namespace dodu::darf {

// FAZ_DARF: the slips of quotas or months `set.first` .. `set.last` of the
// taxpayer in `src`, each looked up silently, charged on `set.payment`, filled
// and written with its copies; nothing due skips that slip. `set` carries the
// choices of the screen (kind, range, payment date, CDARFUTU, gain number,
// holder or dependant, the typed fields of a free DARF). Answers the number of
// slips written. A SELIC month missing for a late payment fails with the tax
// library's kNotFound and nothing more is written.
Result<int> PrintSet(SlipWriter& writer, const Darf& set, const DarfSources& src,
                     std::span<const tax::SelicRow> selic, const Date& today);

// In a run over several taxpayers, whether this taxpayer's set is written at all:
// quota DARFs are left out for a declaration paid by automatic debit
// (`DEBITAUT` "S"); every other kind is printed.
bool PrintsInBatch(Kind kind, const std::string& debitaut);

// Whether each taxpayer's set is dispatched as its own job (a PDF destination)
// instead of staying in the run's one output file: "PDF" in its name, in any
// case.
bool DispatchesEachTaxpayer(const std::string& printer);

// The three lines shown when, in a run over several taxpayers, quota DARFs go
// to "NAO DOS" or "Sem Impressora" (all slips end up on one sheet). Empty when
// no notice is due. UTF-8.
std::vector<std::string> SharedSheetNotice(const std::string& printer, int taxpayers, Kind kind);

}  // namespace dodu::darf

#endif  // DODU_DARF_DARF_RUN_H_
