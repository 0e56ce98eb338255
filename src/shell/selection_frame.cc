#include "shell/selection_frame.h"

#include <algorithm>

#include "core/picture.h"
#include "screen/message_box.h"

namespace dodu::shell {
namespace {

constexpr int kInnerWidth = kFrameRight - kFrameLeft + 1;
constexpr int kMessageWindow = 10;

std::string Cut(const std::string& s, size_t n) { return s.size() > n ? s.substr(0, n) : s; }

}  // namespace

screen::Attr SelectionFrame::Normal() const {
  return static_cast<screen::Attr>(tk_.colours().COR_TEL1);
}

void SelectionFrame::Open(const std::string& folder, bool key_line) {
  if (!open_) {
    const screen::ColourSettings& cs = tk_.colours();
    tk_.REDEFJAN(kSelectionWindow, cs.COR_TEL1, cs.COR_TEL2, cs.COR_TEL3, kFrameTop, kFrameLeft,
                 kFrameBottom, kFrameRight, 1);
    tk_.ABREJAN(kSelectionWindow);
    tk_.Fill(kFrameTop, kFrameLeft, kFrameBottom, kFrameRight, ' ', Normal());
    tk_.Write(kFrameTop, kCpfCol + 4, "C P F", Normal());
    tk_.Write(kFrameTop, kNameCol + 24, "Nome", Normal());
    tk_.Fill(kFrameTop + 2, kFrameLeft, kFrameTop + 2, kFrameRight, '\xC4', Normal());
    open_ = true;
  }
  ShowFolder(folder);
  if (key_line && !key_line_) {
    under_key_line_ = tk_.Save(kKeyLineRow, 0, kKeyLineRow, 79);
    key_line_ = true;
  }
  if (key_line_) ShowKeyLine();
}

void SelectionFrame::Close() {
  if (key_line_) {
    tk_.Restore(under_key_line_);
    key_line_ = false;
  }
  if (open_) {
    tk_.FECHAJAN(kMessageWindow);
    tk_.FECHAJAN(kSelectionWindow);
    open_ = false;
  }
}

void SelectionFrame::Show(const std::string& cpf, const std::string& name,
                          const std::string& folder) {
  if (!open_) Open(folder, false);
  std::string shown = core::Transform(cpf, "@R 999.999.999-99");
  shown.resize(16, ' ');
  tk_.Write(kCpfRow, kCpfCol, shown, Normal());
  std::string n = Cut(name, 53);
  n.resize(53, ' ');
  tk_.Write(kCpfRow, kNameCol, n, Normal());
  ShowFolder(folder);
}

void SelectionFrame::ShowFolder(const std::string& folder) {
  std::string line = "Pasta atual...." + Cut(folder, 53);
  line.resize(kInnerWidth - 2, ' ');
  tk_.Write(kFrameTop + 3, kFrameLeft + 1, line, Normal());
}

void SelectionFrame::ShowKeyLine() {
  std::string line = kKeyLine11;
  const int col = std::max(0, (80 - static_cast<int>(line.size())) / 2);
  tk_.Fill(kKeyLineRow, 0, kKeyLineRow, 79, ' ', static_cast<screen::Attr>(tk_.colours().COR_MENS));
  tk_.Write(kKeyLineRow, col, line, static_cast<screen::Attr>(tk_.colours().COR_MENS));
}

void SelectionFrame::FreeLine(int row, const std::string& text) {
  if (!open_) return;
  const int r = kFrameTop + row - 1;
  tk_.Fill(r, kFrameLeft, r, kFrameRight, ' ', Normal());
  tk_.Write(r, kFrameLeft + 1, Cut(text, kInnerWidth - 2), Normal());
}

void SelectionFrame::MOSTRADOR(std::string& bar, int count, int mode) {
  if (count > 0) bar.append(static_cast<size_t>(count), kBarChar);
  if (bar.size() > kBarWidth) bar.resize(kBarWidth);
  if (mode == 1) {
    FreeLine(5, bar);
    return;
  }
  const screen::TextWindow* w = tk_.window(kMessageWindow);
  if (w == nullptr || !w->open || w->top != 20) {
    const screen::ColourSettings& cs = tk_.colours();
    tk_.REDEFJAN(kMessageWindow, cs.COR_MENS, cs.COR_MENS, cs.COR_TEL3, 20, 13, 20,
                 13 + static_cast<int>(kBarWidth) - 1, 1);
    tk_.ABREJAN(kMessageWindow);
  }
  std::string shown = bar;
  shown.resize(kBarWidth, ' ');
  tk_.Write(20, 13, shown, static_cast<screen::Attr>(tk_.colours().COR_MENS));
}

void SelectionFrame::ProgressReset() {
  bar_.clear();
  FreeLine(5, "");
}

void SelectionFrame::ErrorBox(const std::vector<std::string>& lines) {
  (void)screen::AVISOSN(tk_, lines, 8);
}

}  // namespace dodu::shell
