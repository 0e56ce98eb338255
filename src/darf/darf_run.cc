#include "darf/darf_run.h"

#include <cctype>

#include "darf/darf_texts.h"
#include "print/printers.h"

namespace dodu::darf {

Result<int> PrintSet(SlipWriter& writer, const Darf& set, const DarfSources& src,
                     std::span<const tax::SelicRow> selic, const Date& today) {
  int written = 0;
  for (int number = set.first; number <= set.last; ++number) {
    Darf darf = set;
    darf.number = number;
    if (!BusImpo(darf, src, Mode::kSilent).found) continue;
    // The first business day typed on the screen belongs to the slip shown there.
    if (set.first_day_edited && number == set.number) {
      darf.first_business_day = set.first_business_day;
      darf.first_day_edited = true;
    }
    DODU_RETURN_IF_ERROR(CalcJu(darf, selic, today));
    Preenche(darf, src);
    if (writer.Write(darf)) ++written;
  }
  return written;
}

bool PrintsInBatch(Kind kind, const std::string& debitaut) {
  return !SkippedByAutomaticDebit(kind, debitaut);
}

bool DispatchesEachTaxpayer(const std::string& printer) {
  // Queues are often named in lower case ("cups-pdf"): the name counts in any case.
  std::string upper = printer;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return print::IsPdfDestination(upper);
}

std::vector<std::string> SharedSheetNotice(const std::string& printer, int taxpayers, Kind kind) {
  if (taxpayers < 2 || kind != Kind::kQuota) return {};
  if (printer != print::kNaoDos && printer != print::kSemImpressora) return {};
  return {"Usando a impressora \"" + printer + "\" todos Darfs serão ",
          "impressos juntos em uma única folha. Para imprimir ",
          "os Darfs individuais troque para uma impressora PDF."};
}

}  // namespace dodu::darf
