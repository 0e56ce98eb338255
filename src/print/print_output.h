// Positioned output into a print work file. A report moves to a row and a
// column and writes text there; the file receives the moves as the bytes a
// line printer understands:
//
//   - a row below the current one: line ends (CR LF) until it is reached;
//   - a row above the current one: a page break (FF CR), then line ends;
//   - a column left of the current one on the same row: a bare CR (what follows
//     overprints the line);
//   - blanks up to the column.
//
// Text is code page 850 and goes out as it is; the pitch characters 0x12
// (normal) and 0x0F (condensed) may stand anywhere. Bytes are kept in memory and
// appended to the file at each page break and at Flush/Close, so a report of a
// thousand pages never holds more than a page.
#ifndef DODU_PRINT_PRINT_OUTPUT_H_
#define DODU_PRINT_PRINT_OUTPUT_H_

#include <memory>
#include <string>
#include <string_view>

#include "platform/env.h"
#include "platform/status.h"

namespace dodu::print {

inline constexpr char kNormalPitch = '\x12';     // STRING0
inline constexpr char kCondensedPitch = '\x0F';  // STRING1
inline constexpr char kFormFeed = '\x0C';

// The work files of a terminal's print jobs, in its work folder.
inline constexpr char kJobFile[] = "NAO-DOS.TXT";       // the whole run
inline constexpr char kTaxpayerFile[] = "PROV-DOS.TXT"; // one taxpayer, when copies are kept

class PrintOutput {
 public:
  // PREP_IMP: creates `path` empty (replacing an old one); the position is row
  // 0, column 0.
  static Result<std::unique_ptr<PrintOutput>> Create(platform::Env& env, const std::string& path);
  ~PrintOutput();
  PrintOutput(const PrintOutput&) = delete;
  PrintOutput& operator=(const PrintOutput&) = delete;

  // Moves to (row, col) as the header says, then writes `text` (cp850).
  void Say(int row, int col, std::string_view text);
  // Moves only.
  void MoveTo(int row, int col);
  // Writes at the current position.
  void Write(std::string_view text);
  // FF CR; row and column back to 0.
  void Eject();
  // MUDAIMP: the pitch character of `condensed` at the current position (it
  // takes no column).
  void Pitch(bool condensed);
  // Sets the position without output (SETPRC).
  void SetPosition(int row, int col) { row_ = row; col_ = col; }

  int row() const { return row_; }
  int col() const { return col_; }
  const std::string& path() const { return path_; }

  // Appends what is buffered to the file. The first failure is kept and
  // returned again by every later Flush and by Close.
  Status Flush();
  // Flushes and closes the file; nothing may be written afterwards.
  Status Close();

 private:
  PrintOutput(std::unique_ptr<platform::File> file, std::string path)
      : file_(std::move(file)), path_(std::move(path)) {}

  std::unique_ptr<platform::File> file_;
  std::string path_;
  std::string pending_;
  uint64_t written_ = 0;
  Status failure_;
  int row_ = 0, col_ = 0;
};

}  // namespace dodu::print

#endif  // DODU_PRINT_PRINT_OUTPUT_H_
