// Where the calculation screen shows each line and each input field, for the
// complete and the simplified layouts.
#ifndef DODU_SHELL_INTERNAL_CALCULATION_LAYOUT_H_
#define DODU_SHELL_INTERNAL_CALCULATION_LAYOUT_H_

namespace dodu::shell::internal {

inline constexpr const char* kMoneyPicture = "@E 999,999,999.99";
inline constexpr int kMoneyWidth = 14;

// Complete layout: two columns of headings and values.
inline constexpr int kLeftHeading = 1, kLeftValue = 23;
inline constexpr int kRightHeading = 41, kRightValue = 63;
// Rows of the complete layout's editable lines.
inline constexpr int kRowLine31 = 15, kRowLine33 = 17, kRowQuotas = 21;
inline constexpr int kRowFooter = 24;
// Footer fields of the complete layout: the simulator question, the switch,
// the foreign tax.
inline constexpr int kColSimulate = 11, kColSwitch = 32, kColForeign = 52;

// Simplified layout: one column of 23 lines from row 2, values at 46; the
// simulation and switch boxes on the right.
inline constexpr int kSimpleFirstRow = 2, kSimpleHeading = 1, kSimpleValue = 46;
inline constexpr int kBoxLeft = 62;
inline constexpr int kRowDesired = 6, kRowIncome = 9, kRowSwitch = 14;

}  // namespace dodu::shell::internal

#endif  // DODU_SHELL_INTERNAL_CALCULATION_LAYOUT_H_
