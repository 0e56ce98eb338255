#include "print/print_stream.h"

#include <span>

namespace dodu::print {
namespace {

class StreamReader {
 public:
  explicit StreamReader(int lines_per_page) : lines_per_page_(lines_per_page) {
    pages_.emplace_back();
  }

  void Feed(char c) {
    switch (c) {
      case '\x0C':
        NewPage();
        return;
      case '\r':
        x_ = 0;
        run_ = nullptr;
        return;
      case '\n':
        if (++line_ >= lines_per_page_) NewPage();
        run_ = nullptr;
        return;
      case '\x12':
      case '\x0F':
        condensed_ = c == '\x0F';
        run_ = nullptr;
        return;
      default:
        break;
    }
    if (static_cast<unsigned char>(c) < 0x20) return;  // other controls print nothing
    if (c == ' ' && run_ == nullptr) {  // leading blanks only move
      Advance();
      return;
    }
    if (run_ == nullptr) {
      PrintedLine& l = CurrentLine();
      l.runs.push_back(PrintedRun{x_, condensed_, ""});
      run_ = &l.runs.back();
    }
    run_->text += c;
    Advance();
  }

  std::vector<PrintedPage> Finish() {
    while (!pages_.empty() && pages_.back().lines.empty()) pages_.pop_back();
    return std::move(pages_);
  }

 private:
  void Advance() { x_ += condensed_ ? kCondensedWidth : kNormalWidth; }
  void NewPage() {
    pages_.emplace_back();
    line_ = 0;
    run_ = nullptr;
  }
  PrintedLine& CurrentLine() {
    std::vector<PrintedLine>& lines = pages_.back().lines;
    if (lines.empty() || lines.back().line != line_) lines.push_back(PrintedLine{line_, {}});
    return lines.back();
  }

  const int lines_per_page_;
  std::vector<PrintedPage> pages_;
  int line_ = 0;
  int x_ = 0;
  bool condensed_ = false;
  PrintedRun* run_ = nullptr;
};

}  // namespace

std::vector<PrintedPage> ReadPrintStream(std::string_view bytes, int lines_per_page) {
  StreamReader reader(lines_per_page < 1 ? 1 : lines_per_page);
  for (char c : bytes) reader.Feed(c);
  return reader.Finish();
}

Status CleanPrintFile(platform::Env& env, const std::string& path) {
  if (!env.Exists(path)) return Status::NotFound(path + ": no print file");
  DODU_ASSIGN_OR_RETURN(std::unique_ptr<platform::File> file,
                        env.Open(path, platform::OpenMode::kReadWrite));
  DODU_ASSIGN_OR_RETURN(uint64_t size, file->Size());
  if (size == 0) return Status::NotFound(path + ": empty print file");
  if (size < 2) return Status::Ok();
  std::byte before_last{};
  DODU_ASSIGN_OR_RETURN(size_t got, file->ReadAt(size - 2, std::span(&before_last, 1)));
  if (got == 1 && before_last == std::byte{0x0C}) {
    const std::byte blank{' '};
    DODU_RETURN_IF_ERROR(file->WriteAt(size - 2, std::span(&blank, 1)));
  }
  return Status::Ok();
}

}  // namespace dodu::print
