// The selection frame: the window (number 3) under the main screen in which
// the taxpayer is chosen. Inner rows 16..21, columns 4..75 (72 wide), framed
// one cell outside:
//
//   row 1  the headings "C P F" and "Nome"
//   row 2  the CPF field (column 2, 16 cells) and the name field (column 19,
//          53 cells)
//   row 3  a separator
//   row 4  "Pasta atual...." and the current data folder (cut to 53)
//   row 5  the progress bar (MOSTRADOR)
//   row 6  progress texts ("Criando os dados.", "Reprocessando...",
//          "Salvando Dados..")
//
// Option 11 shows its key line under the frame, at row 23. The frame is also
// what loading and saving show their progress on (SessionDisplay).
//
// Texts are code page 850.
#ifndef DODU_SHELL_SELECTION_FRAME_H_
#define DODU_SHELL_SELECTION_FRAME_H_

#include <string>

#include "screen/toolkit.h"
#include "shell/declaration_session.h"

namespace dodu::shell {

inline constexpr int kSelectionWindow = 3;
inline constexpr int kFrameTop = 16;
inline constexpr int kFrameLeft = 4;
inline constexpr int kFrameBottom = 21;
inline constexpr int kFrameRight = 75;
inline constexpr int kCpfRow = kFrameTop + 1;
inline constexpr int kCpfCol = kFrameLeft + 1;
inline constexpr int kNameCol = kFrameLeft + 18;
inline constexpr int kKeyLineRow = 23;
// The longest progress bar.
inline constexpr size_t kBarWidth = 53;
// The character the bar is made of (a shade, code page 850).
inline constexpr char kBarChar = '\xB1';

// The key line of option 11 (ASCII).
inline constexpr char kKeyLine11[] =
    "F1=Nome F2=CPF F3=Stat F4=Rec F5=Corr F6=Det F7=Pasta F8=AAR F11=Pen";

class SelectionFrame : public SessionDisplay {
 public:
  explicit SelectionFrame(screen::Toolkit& tk) : tk_(tk) {}

  // Opens the window (drawing headings, separator and folder line) unless it
  // is open; `key_line` true shows option 11's key line under it.
  void Open(const std::string& folder, bool key_line);
  // Closes the window and the key line, putting back what was under them.
  void Close();
  bool is_open() const { return open_; }

  // MOSTR_PAG: CPF (punctuated), name and the folder line.
  void Show(const std::string& cpf, const std::string& name, const std::string& folder);
  void ShowFolder(const std::string& folder);
  void ShowKeyLine();
  // One of the free rows (5 or 6) of the frame, blanked first.
  void FreeLine(int row, const std::string& text);

  // MOSTRADOR(count, mode): appends `count` marks to `bar` (at most kBarWidth
  // in all) and shows it in the frame (mode 1) or in the message window.
  void MOSTRADOR(std::string& bar, int count, int mode);

  // SessionDisplay.
  void FrameText(const std::string& text) override { FreeLine(6, text); }
  void ProgressReset() override;
  void ProgressAdd(int marks) override { MOSTRADOR(bar_, marks, 1); }
  void StatusText(const std::string& text) override { tk_.SetStatusLine(text); }
  void ErrorBox(const std::vector<std::string>& lines) override;

 private:
  screen::Attr Normal() const;
  screen::Toolkit& tk_;
  bool open_ = false;
  bool key_line_ = false;
  screen::SavedRegion under_key_line_;
  std::string bar_;
};

}  // namespace dodu::shell

#endif  // DODU_SHELL_SELECTION_FRAME_H_
