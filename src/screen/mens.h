// Messages, prompts and the in-window choice list.
//
// MENS(mode, ...): mode = frame * 10 + kind. The frame is the window type of
// the message window (0 none, 1 outside, 2 on the rectangle; 7 a shadowed
// window one column wider); for kind 9 it chooses the item title. Kinds:
//   0  the text into part 1 of the active window's status bar; returns at once
//   1  message window, error beep, waits for any key, closes
//   2  message window, waits for a key whose upper-case letter is in `letters`
//      and returns it; Esc returns " "
//   3  message window left open (the caller closes it with FECHAJAN(window))
//   4  prompt: the text and one input field for the variable `variable`; Esc
//      empties the variable (blank, 0, today, false) and says so (cancelled)
//   5  message window, waits for any key, closes
//   9  item window "Item n dos Bens e Direitos" (frame 1), "... das Dividas e
//      Onus" (2), "... dos Bens da Atividade Rural" (3), "... das Dividas da
//      Atividade Rural" (4); waits for any key
// Geometry: width = text length + 1 (with lines > 1 the text is cut into that
// many rows of equal width); row default 20; column "E" 2, "C" centred, a
// number that column, otherwise 70 - width. Kinds 1, 2, 4 and 5 put a dialog
// titled `title` (default "DODU2020 - Vesk") with its own status bar around
// the window. Pending keys are dropped before waiting.
#ifndef DODU_SCREEN_MENS_H_
#define DODU_SCREEN_MENS_H_

#include <functional>
#include <optional>
#include <string>

#include "screen/edit_value.h"
#include "screen/form.h"
#include "screen/form_variables.h"
#include "screen/toolkit.h"

namespace dodu::screen {

struct MensArgs {
  std::string text;              // cp850
  int row = 20;
  std::string column;            // "E", "C", a number, or "" for 70 - width
  int lines = 1;
  std::string letters;           // kind 2
  std::string variable;          // kind 4: the variable's name in `vars`
  VariableStore* vars = nullptr; // kind 4
  int length = 0;                // kind 4, numbers: the field width (0: the printed width)
  std::string picture = "@KS";   // kind 4
  // kind 4: VALID of the field; empty means always true.
  std::function<bool(VariableStore&, ActiveField&)> validation;
  int window = 10;
  std::string title;             // "" for "DODU2020 - Vesk"
  int item = 0;                  // kind 9: the item number
};

struct MensResult {
  std::string letter;             // kind 2: the letter, " " for Esc
  std::optional<EditValue> value; // kind 4: the variable's value on return
  bool cancelled = false;         // kind 4 left with Esc; kind 2 with Esc
  Key key;                        // kinds 1, 5, 9: the key that closed it
};

// The geometry MENS gives its window: top, left, bottom, right (inclusive).
Toolkit::Rect MensGeometry(int mode, const MensArgs& args, int extra_width = 0);

Result<MensResult> MENS(Toolkit& tk, int mode, const MensArgs& args);
// MENS kind 0 shorthand.
inline void MENS(Toolkit& tk, std::string_view status_text) { tk.SetStatusLine(status_text); }

// ESC_OPCAO(window, last item, column, width, row offset, close, with messages):
// a vertical choice over the rows of open window `window` (item i on inner row
// row_offset + i, from inner column `column`, `width` cells). The current item
// (tk.POSVER) is painted in COR_ESCOL, the others in COR_TEL1. Enter chooses;
// Esc gives 0; Home, End, Up, Down move without wrapping; Alt A runs the
// calculator hook; a letter found in tk.OPCOES chooses that item at once. With
// messages, tk.MENSMENU[item - 1] is shown in window 10 at row 1, centred. At
// the end window 10 is closed, and the choice window too when close_window.
int ESC_OPCAO(Toolkit& tk, int window, int last_item, int column, int width, int row_offset,
              bool close_window, bool with_messages,
              const std::function<void()>& calculator = nullptr);

}  // namespace dodu::screen

#endif  // DODU_SCREEN_MENS_H_
