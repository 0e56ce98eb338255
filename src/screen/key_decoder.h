// Turns the raw bytes a terminal sends into Keys. Pure: the ncurses back end
// feeds it what it reads, tests feed it byte strings.
//
// Understood: printable ASCII and UTF-8 text (to code page 850, "?" when the
// character has none); CR Enter, LF and xterm's modifyOtherKeys / CSI-u forms of
// Ctrl Enter, ESC CR (Alt Enter, the alternative Ctrl Enter); Tab, ESC [ Z
// Shift Tab, DEL/BS Backspace; Ctrl A..Z; ESC + letter or digit Alt; the xterm,
// VT220 and Linux-console forms of arrows, Home/End/Ins/Del/PgUp/PgDn and F1..F12
// with the Shift (2), Alt (3) and Ctrl (5) modifiers; ESC prefixed to a
// sequence as Alt; SGR mouse reports (ESC [ < b ; x ; y M) for the left button.
#ifndef DODU_SCREEN_KEY_DECODER_H_
#define DODU_SCREEN_KEY_DECODER_H_

#include <cstddef>
#include <optional>
#include <string_view>

#include "screen/keys.h"

namespace dodu::screen {

struct Decoded {
  enum Kind {
    kKey,       // `key` decoded from the first `consumed` bytes
    kNeedMore,  // the bytes are the start of a sequence; wait a little for the rest
    kSkip,      // `consumed` bytes form nothing this system uses (mouse release, unknown sequence)
  };
  Kind kind = kNeedMore;
  Key key;
  size_t consumed = 0;
};

// Decodes the first key of `bytes`. With `final` true no more bytes are coming
// soon (the ESC delay ran out): a lone ESC is Esc and an unfinished sequence is
// skipped instead of waiting. A mouse click reports the terminal cell (0-based
// row and column of the whole terminal, not the application area).
Decoded DecodeKey(std::string_view bytes, bool final);

}  // namespace dodu::screen

#endif  // DODU_SCREEN_KEY_DECODER_H_
