// The texts of a DARF: the five free lines and the reference number
// (PREENCHE), the check digits of a fund's reference, the amount display of the
// slip and the name of a set's print job (FAZONOME). Pure text over cp850.
#ifndef DODU_DARF_DARF_TEXTS_H_
#define DODU_DARF_DARF_TEXTS_H_

#include <string>
#include <string_view>

#include "darf/darf.h"

namespace dodu::darf {

inline constexpr char kAmountPicture[] = "@Ez 99,999,999.99";

// An amount as the slip and the lines show it (13 characters, blank when zero).
std::string Amount(const Decimal& value);

// The two check digits of a fund's reference: d1 over the 14 CNPJ digits, d2
// over them followed by d1; weights from length + 1 down to 2, and 1 when
// 11 - (sum mod 11) gives 10 or 11.
std::string ReferenceDigits(std::string_view cnpj_digits);

// PREENCHE: code-independent texts of `darf.number`: the reference and the five
// lines (each 35 characters). Reads the figures and amounts the lookup and the
// fine computation left in `darf`; donations read their row from `src`.
void Preenche(Darf& darf, const DarfSources& src);

// FAZONOME: "Darf " + kind text + " - " + period text + " - " + the first word
// (with its blank) and the last word of the person's name. `person` is the name
// on the slip (holder, dependant or typed).
std::string FazONome(const Darf& darf, std::string_view person);

}  // namespace dodu::darf

#endif  // DODU_DARF_DARF_TEXTS_H_
