// The carnê-leão's checks and texts that the screen shows: the type letters
// (CHECK_LETRA), the fill modes' names and explanations, and what toggling the
// carried value (MUDA_LEAO) puts on the screen. All texts are UTF-8; the screen
// converts them to the code page of the terminal.
#ifndef DODU_TAX_CARNE_TEXTS_H_
#define DODU_TAX_CARNE_TEXTS_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tax/carne.h"

namespace dodu::tax {

// The answer to a check: refused letters carry the refusal, accepted ones may
// carry a warning (shown, the letter stays).
struct LetterCheck {
  bool accepted = true;
  std::vector<std::string> message;
};

// CHECK_LETRA kind 1: the declaration's `TIPO_PF` ("T", "O" or "A"). "T" in the
// typed modes for a liberal professional (`CODAT` "11" and `CDPRO` 225, 226,
// 229, 241 or 255) is accepted with a warning.
LetterCheck CheckDeclarationType(char letter, FillMode mode, std::string_view codat,
                                 std::string_view cdpro);

// CHECK_LETRA kind 0: a line's `I1_41` (blank, "T", "O" or "A"), with the
// warnings about the payer's (`I1_3`) and the beneficiary's (`I1_40`) CPF.
LetterCheck CheckLineType(char letter, std::string_view payer_cpf,
                          std::string_view beneficiary_cpf);

// "1)INDIVIDUAL  ", "2)SÓ OS TOTAIS", "3)LIVRO CAIXA ", "4)CALC.INVERSO".
std::string FillModeText(FillMode mode);
// The lines of the box shown when the mode is chosen with Alt A.
std::vector<std::string> FillModeExplanation(FillMode mode);
// Alt A: 1 -> 2 -> 3 -> 4 -> 1.
FillMode NextFillMode(FillMode mode);

// Heading of the deduction column (kind 4).
std::string DeductionHeading(FillMode mode, bool titular_table, bool has_dependants);

// What MUDA_LEAO shows once `SO_REC` has become `so_rec`: the two headings of
// the paid and due columns, their text on the screen, the box and the status
// line.
struct CarriedTexts {
  std::string paid_heading, due_heading, on_screen;
  std::vector<std::string> box;  // titled "Modo de preenchimento"
  std::string status_line;
};
CarriedTexts CarriedValueTexts(bool so_rec);

// The footer's type totals in fill modes 2 and 4: `total` (`I13_03` for the
// titular, `I13_04` for the dependants) under the label of `letter` ("T"
// "Trabalho:", "A" "Aluguel:", "O" "Outros:") and 0 under the other two, in
// that order; nothing is drawn (nullopt) for any other letter.
struct TypeFooterValues {
  Decimal work, rent, other;
};
std::optional<TypeFooterValues> TypeFooter(char letter, const Decimal& total);

// The month label of grid row `row` (1..13): "03-Mar", "Totais".
std::string MonthLabel(int row);

}  // namespace dodu::tax

#endif  // DODU_TAX_CARNE_TEXTS_H_
