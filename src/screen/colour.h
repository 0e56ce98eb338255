// Colour texts both ways. An attribute number is background * 16 + foreground
// (0..15 each); its colour text is the foreground letters, "/", the background
// letters, with N B G BG R BR GR W for 0..7 and a "+" after the letters for 8..15
// (30 = "GR+/B"). Blinking is off, so a "*" (the blink mark of a colour text)
// makes the background bright, as a "+" after the background letters does.
#ifndef DODU_SCREEN_COLOUR_H_
#define DODU_SCREEN_COLOUR_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "screen/terminal.h"

namespace dodu::screen {

// The colour text of an attribute number (only its low 8 bits count).
std::string ACHACOR(int attr);

// The attribute number of a colour text: "GR+/B", "N/W*", "W*/B", "R/W*",
// "w+/r" (letters in any case, "RB"/"RG" accepted for "BR"/"GR", a missing
// background is black, "I" is inverse N/W). nullopt when it is not a colour text.
std::optional<Attr> ParseColour(std::string_view text);
// Same, falling back to `fallback` for anything that does not parse.
Attr ColourOr(std::string_view text, Attr fallback);

// A colour setting of up to five pairs separated by commas, as `CORNORM`:
// standard, enhanced (the field being edited), border, background, unselected
// (the other fields). Quotes around a pair are ignored; an empty or missing pair
// keeps the default of `standard` for unselected and black otherwise.
struct ColourSet {
  Attr standard = 0x07;
  Attr enhanced = 0x70;
  Attr border = 0x00;
  Attr background = 0x00;
  Attr unselected = 0x70;
  bool operator==(const ColourSet&) const = default;
};
std::optional<ColourSet> ParseColourSet(std::string_view text);
// The pairs of a comma-separated list, unquoted ("" for an empty pair).
std::vector<std::string> SplitColourList(std::string_view text);

}  // namespace dodu::screen

#endif  // DODU_SCREEN_COLOUR_H_
