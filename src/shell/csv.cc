#include "shell/csv.h"

#include <set>

#include "core/codepage.h"

namespace dodu::shell {
namespace {

Status Fault(std::string_view source, int line, std::string_view what) {
  return Status::Corrupt(std::string(source) + ": line " + std::to_string(line) + ": " +
                         std::string(what));
}

// The first line (1-based) holding a byte that does not start or continue a
// valid UTF-8 sequence, or 0 when the text is valid.
int FirstBadUtf8Line(std::string_view text) {
  int line = 1;
  size_t pos = 0;
  while (pos < text.size()) {
    if (text[pos] == '\n') ++line;
    if (!core::DecodeUtf8(text, pos)) return line;
  }
  return 0;
}

class Parser {
 public:
  Parser(std::string_view text, std::string_view source) : text_(text), source_(source) {}

  Result<CsvTable> Run() {
    while (pos_ < text_.size()) {
      const int row_line = line_;
      std::vector<std::string> row;
      bool any_quoted = false;
      for (;;) {
        bool quoted = false;
        DODU_ASSIGN_OR_RETURN(std::string field, Field(quoted));
        any_quoted = any_quoted || quoted;
        row.push_back(std::move(field));
        if (pos_ < text_.size() && text_[pos_] == ',') {
          ++pos_;
          continue;  // a comma at the very end leaves one more, empty field
        }
        break;
      }
      EndOfLine();
      if (row.size() == 1 && row[0].empty() && !any_quoted) continue;  // an empty line
      DODU_RETURN_IF_ERROR(Take(std::move(row), row_line));
    }
    if (table_.header.empty()) return Fault(source_, 1, "no header row");
    return std::move(table_);
  }

 private:
  bool AtLineEnd() const {
    if (pos_ >= text_.size() || text_[pos_] == '\n') return true;
    return text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n';
  }

  void EndOfLine() {
    if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '\n') {
      ++pos_;
      ++line_;
    }
  }

  // One field, leaving the position on the comma or line end after it.
  Result<std::string> Field(bool& quoted) {
    std::string field;
    if (pos_ < text_.size() && text_[pos_] == '"') {
      quoted = true;
      const int opened = line_;
      ++pos_;
      for (;;) {
        if (pos_ >= text_.size()) return Fault(source_, opened, "quoted field not closed");
        char c = text_[pos_++];
        if (c == '"') {
          if (pos_ < text_.size() && text_[pos_] == '"') {
            field += '"';
            ++pos_;
            continue;
          }
          break;
        }
        if (c == '\n') ++line_;
        field += c;
      }
      if (!AtLineEnd() && text_[pos_] != ',') {
        return Fault(source_, line_, "text after a closing quote");
      }
      return field;
    }
    while (!AtLineEnd() && text_[pos_] != ',') {
      if (text_[pos_] == '"') return Fault(source_, line_, "quote inside an unquoted field");
      field += text_[pos_++];
    }
    return field;
  }

  Status Take(std::vector<std::string> row, int row_line) {
    if (table_.header.empty()) {
      std::set<std::string> seen;
      for (const std::string& name : row) {
        if (name.empty()) return Fault(source_, row_line, "empty column name");
        if (!seen.insert(name).second) return Fault(source_, row_line, "column " + name + " twice");
      }
      table_.header = std::move(row);
      return Status::Ok();
    }
    if (row.size() != table_.header.size()) {
      return Fault(source_, row_line,
                   std::to_string(row.size()) + " fields, the header has " +
                       std::to_string(table_.header.size()));
    }
    table_.rows.push_back(std::move(row));
    table_.lines.push_back(row_line);
    return Status::Ok();
  }

  std::string_view text_;
  std::string_view source_;
  size_t pos_ = 0;
  int line_ = 1;
  CsvTable table_;
};

}  // namespace

std::optional<size_t> CsvTable::Column(std::string_view name) const {
  for (size_t i = 0; i < header.size(); ++i) {
    if (header[i] == name) return i;
  }
  return std::nullopt;
}

Result<CsvTable> ParseCsv(std::string_view text, std::string_view source) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  if (int bad = FirstBadUtf8Line(text); bad != 0) return Fault(source, bad, "not UTF-8 text");
  return Parser(text, source).Run();
}

Result<CsvTable> ReadCsvFile(platform::Env& env, const std::string& path) {
  DODU_ASSIGN_OR_RETURN(std::string text, platform::ReadWholeFile(env, path));
  return ParseCsv(text, path);
}

}  // namespace dodu::shell
