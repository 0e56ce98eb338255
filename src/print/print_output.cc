#include "print/print_output.h"

#include <span>

namespace dodu::print {

Result<std::unique_ptr<PrintOutput>> PrintOutput::Create(platform::Env& env,
                                                         const std::string& path) {
  DODU_ASSIGN_OR_RETURN(std::unique_ptr<platform::File> file,
                        env.Open(path, platform::OpenMode::kTruncate));
  return std::unique_ptr<PrintOutput>(new PrintOutput(std::move(file), path));
}

PrintOutput::~PrintOutput() { (void)Close(); }

void PrintOutput::MoveTo(int row, int col) {
  if (row != row_) {
    if (row < row_) {
      pending_ += "\x0C\r";
      row_ = 0;
    } else {
      pending_ += "\r\n";
      ++row_;
    }
    while (row_ < row) {
      pending_ += "\r\n";
      ++row_;
    }
    col_ = 0;
  } else if (col < col_) {
    pending_ += '\r';
    col_ = 0;
  }
  if (col > col_) {
    pending_.append(static_cast<size_t>(col - col_), ' ');
    col_ = col;
  }
  // A page's worth of bytes goes to the file at each page break.
  if (pending_.size() > 64 * 1024) (void)Flush();
}

void PrintOutput::Write(std::string_view text) {
  pending_ += text;
  col_ += static_cast<int>(text.size());
}

void PrintOutput::Say(int row, int col, std::string_view text) {
  MoveTo(row, col);
  Write(text);
}

void PrintOutput::Eject() {
  pending_ += "\x0C\r";
  row_ = 0;
  col_ = 0;
  (void)Flush();
}

void PrintOutput::Pitch(bool condensed) { pending_ += condensed ? kCondensedPitch : kNormalPitch; }

Status PrintOutput::Flush() {
  if (!failure_.ok()) return failure_;
  if (file_ == nullptr || pending_.empty()) return Status::Ok();
  Status st = file_->WriteAt(written_, std::as_bytes(std::span(pending_.data(), pending_.size())));
  if (!st.ok()) {
    failure_ = st;
    return st;
  }
  written_ += pending_.size();
  pending_.clear();
  return Status::Ok();
}

Status PrintOutput::Close() {
  Status st = Flush();
  if (file_ != nullptr) {
    if (st.ok()) st = file_->Sync();
    file_.reset();
  }
  if (!st.ok() && failure_.ok()) failure_ = st;
  return st;
}

}  // namespace dodu::print
