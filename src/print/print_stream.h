// Reading a print work file back as pages of lines, the way a line printer
// would print it. Each line is a stream: a form feed starts a new page where it
// stands (the text before it stays on the page it was written on), a pitch
// character switches the pitch at its position, a bare carriage return goes back
// to the margin so that what follows overprints, a line feed goes down one line.
// A page also ends when its lines are used up.
//
// Horizontal positions are in units in which a normal-pitch character is 135
// wide and a condensed one 80: the 80 columns of a normal line and the 135 of a
// condensed one take the same 10,800 units.
#ifndef DODU_PRINT_PRINT_STREAM_H_
#define DODU_PRINT_PRINT_STREAM_H_

#include <string>
#include <string_view>
#include <vector>

#include "platform/env.h"
#include "platform/status.h"

namespace dodu::print {

inline constexpr int kNormalWidth = 135;
inline constexpr int kCondensedWidth = 80;
inline constexpr int kLineUnits = 80 * kNormalWidth;

// Characters printed side by side at one pitch.
struct PrintedRun {
  int x = 0;  // units from the margin
  bool condensed = false;
  std::string text;  // code page 850
  bool operator==(const PrintedRun&) const = default;
};

struct PrintedLine {
  int line = 0;  // from the top of the page, 0 first
  std::vector<PrintedRun> runs;
};

struct PrintedPage {
  std::vector<PrintedLine> lines;  // only lines with text, top first
};

// The pages of `bytes`. A trailing page without text is dropped, so a file that
// ends with a page break prints no blank page. `lines_per_page` >= 1.
std::vector<PrintedPage> ReadPrintStream(std::string_view bytes, int lines_per_page = 66);

// READSTREAM: prepares the work file for printing. kNotFound when it is missing
// or empty ("Nada para imprimir!!" is the caller's); when the byte before the last
// one is a form feed it becomes a blank (the final page break is dropped).
Status CleanPrintFile(platform::Env& env, const std::string& path);

}  // namespace dodu::print

#endif  // DODU_PRINT_PRINT_STREAM_H_
