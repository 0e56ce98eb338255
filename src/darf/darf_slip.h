// The printed DARF: one slip in the three paper modes, written through the
// print work file's positioned output.
//
//   kBlankSheet   the whole slip drawn with its borders, copies one below the
//                 other on the page of the slip (each slip starts a page)
//   kContinuous   values only, on continuous DARF forms of 24 rows each
//   kPreprinted   values only, on pre-printed DARF sheets, moved down by the
//                 vertical offset asked once per run (each slip starts a page)
//
// A slip with a zero principal is not written. The copies are
// max(2, NRO_VIAS) on sheets and NRO_VIAS (at least one) on continuous forms.
#ifndef DODU_DARF_DARF_SLIP_H_
#define DODU_DARF_DARF_SLIP_H_

#include <string>

#include "darf/darf.h"
#include "print/print_output.h"

namespace dodu::darf {

// QUEMOD.
enum class Paper : int { kBlankSheet = 1, kContinuous = 2, kPreprinted = 3 };

// "Informe deslocamento vertical: ", asked when pre-printed sheets are used.
inline constexpr char kVerticalOffsetPrompt[] = "Informe deslocamento vertical: ";

// The number of copies of each slip.
int CopiesOf(Paper paper, int nro_vias);

// Writes slips one after the other into `out`. The writer starts from the
// position the output has (FAZ_DARF resets it to row 0 before the first set).
class SlipWriter {
 public:
  SlipWriter(print::PrintOutput& out, Paper paper, int nro_vias, int vertical_offset = 0)
      : out_(out), paper_(paper), copies_(CopiesOf(paper, nro_vias)),
        offset_(vertical_offset) {}

  // IMPRDARF for every copy of `darf` (texts filled, fine and interest computed).
  // Returns false when nothing was written (zero principal).
  bool Write(const Darf& darf);

 private:
  int BlankSheetCopy(const Darf& darf, int top);
  void ContinuousCopy(const Darf& darf, int s);
  void PreprintedCopy(const Darf& darf, int r);
  void StartPage();

  print::PrintOutput& out_;
  Paper paper_;
  int copies_;
  int offset_;
};

// Field 03 as printed: a CPF "999.999.999-99" or a CNPJ "99.999.999/9999-99".
std::string SlipCpfCnpj(const std::string& digits);

}  // namespace dodu::darf

#endif  // DODU_DARF_DARF_SLIP_H_
