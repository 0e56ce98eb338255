// The colour editor (MODCOR): the operator picks the colour of one item of the
// screen on a palette, sees it applied at once, and the terminal's colour
// record (table 56) is written on leaving through a ColourSaver, so this
// library does not depend on the store (the shell passes one over the table).
//
// Items: 1 text (COR_TEL1 / COR_1_CLI), 2 frames (COR_TEL2 / COR_2_CLI),
// 3 highlighted item (COR_ESCOL / COR_ESC_CL, and COR_FERID = the chosen
// background with foreground 12), 4 input (COR_PEGA / COR_GET), 5 messages
// (COR_MENS / COR_SAY, also colour 1 of window 10), 6 help and notices
// (COR_HELP / COR_CLI_HE), 7 general background (COR_ENCHE / COR_ENCH_C; the
// screen is refilled at once).
// The "Ajuste de cores" dialog (not for item 7) shows 8 rows (backgrounds 0-7)
// by 16 columns (foregrounds 0-15), each cell a block in its own colour and a
// "*" on the current one, beside a sample of the items in their colours.
// Arrow keys move without wrapping and apply the colour; Enter or Esc ends.
#ifndef DODU_SCREEN_COLOUR_EDITOR_H_
#define DODU_SCREEN_COLOUR_EDITOR_H_

#include <functional>

#include "platform/status.h"
#include "screen/toolkit.h"

namespace dodu::screen {

// Writes the terminal's colour record. Its Status comes back from MODCOR.
using ColourSaver = std::function<Status(const ColourSettings&)>;

// The attribute number item `item` (1..7) has now.
int ItemColour(const ColourSettings& c, int item);
// Gives item `item` the attribute `attr` (both the number and the colour text).
void SetItemColour(ColourSettings& c, int item, int attr);

// Runs the editor for one item. On leaving: window 10's colours refreshed, the
// composite colour texts rebuilt and `save` called. kInvalid for an item out
// of 1..7 (nothing shown).
Status MODCOR(Toolkit& tk, int item, const ColourSaver& save);

}  // namespace dodu::screen

#endif  // DODU_SCREEN_COLOUR_EDITOR_H_
