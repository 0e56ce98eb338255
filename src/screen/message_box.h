// The message boxes: MSGALERT (the alert box with a row of buttons) and AVISOSN,
// the one message box of the system, whose style decides the buttons and the
// answer:
//
//   style  box                          buttons                 answer (Esc)
//   0      message box, information     OK                      "" ("")
//   1      message box, no icon         OK                      "N" ("N")
//   2      message box, question        Sim, Não                "S" / "N" ("N")
//   3      message box, question        Sim, Não, Cancelar      "S" / "N" / "I" ("I")
//   4      alert box, COR_ENCH_C        Sim, Não, Fim           "S" / "N" / "F" ("N")
//   5      alert box                    1, 2, 3                 "1".."3" ("0")
//   6      alert box                    the given choices       "1".."n" ("0")
//   7      alert box                    1 .. 6                  "1".."6" ("0")
//   8      message box, error           OK                      "" ("")
//
// A button is chosen with Left/Right (or Tab) and Enter, by its accelerator
// letter (the letter after "&", else its first character), or by a click.
// The title defaults to "ERRO" for style 8 and "Aviso" otherwise. Every box is
// recorded on the terminal (Terminal::RecordBox). Texts are code page 850.
#ifndef DODU_SCREEN_MESSAGE_BOX_H_
#define DODU_SCREEN_MESSAGE_BOX_H_

#include <string>
#include <string_view>
#include <vector>

#include "screen/toolkit.h"

namespace dodu::screen {

// The box geometry: height = min(lines, 16) + 3; width = the largest of the
// button row, the longest line and the title, + 3, at most 76; centred.
struct AlertGeometry {
  int top, left, bottom, right;
};
AlertGeometry AlertBoxGeometry(const std::vector<std::string>& lines,
                               const std::vector<std::string>& buttons, std::string_view title);

// Shows the alert box; returns the 1-based number of the button pressed, 0 for
// Esc (when exit_on_esc; otherwise Esc is ignored). Key bindings are suspended
// meanwhile. The screen under the box is restored.
int MSGALERT(Toolkit& tk, const std::vector<std::string>& lines,
             const std::vector<std::string>& buttons, Attr colour, std::string_view title,
             bool exit_on_esc = true);

// AVISOSN(lines, style, choices, title): `lines` may hold line breaks ("\n" or
// CR LF), each becoming a line. Returns the answer text of the table above.
std::string AVISOSN(Toolkit& tk, const std::vector<std::string>& lines, int style = 0,
                    const std::vector<std::string>& choices = {}, std::string_view title = {});
std::string AVISOSN(Toolkit& tk, std::string_view text, int style = 0,
                    const std::vector<std::string>& choices = {}, std::string_view title = {});

// A diagnostic box of the toolkit itself (refused close, unknown menu event).
void ToolkitDiagnostic(Toolkit& tk, const std::vector<std::string>& lines);

}  // namespace dodu::screen

#endif  // DODU_SCREEN_MESSAGE_BOX_H_
