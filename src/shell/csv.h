// A reader for the comma-separated lists the installation's reference tables
// are built from: UTF-8 text, one header row naming the columns, fields
// separated by commas and quoted with '"' only when needed (a quote inside a
// quoted field is written twice), lines ending in "\n" or "\r\n".
//
// The reader is strict so that a damaged or cut file is never taken for a
// shorter list: every row must have exactly the header's number of fields, a
// quoted field must be closed, nothing may follow a closing quote but a comma
// or the line end, and the text must be valid UTF-8. Empty lines are skipped; a
// last line without its line end is accepted. A leading byte-order mark is
// ignored. Everything here is pure except ReadCsvFile.
#ifndef DODU_SHELL_CSV_H_
#define DODU_SHELL_CSV_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/env.h"
#include "platform/status.h"

namespace dodu::shell {

struct CsvTable {
  std::vector<std::string> header;             // column names as written
  std::vector<std::vector<std::string>> rows;  // each exactly header.size() fields
  std::vector<int> lines;                      // the line each row starts on (1-based)

  // The position of column `name` (exact match), or nullopt.
  std::optional<size_t> Column(std::string_view name) const;
};

// Parses `text`. `source` names the file in error messages. kCorrupt (naming
// the source and the line) for: no header, an empty or repeated column name, a
// row with another number of fields, an unclosed quote, text after a closing
// quote, invalid UTF-8.
Result<CsvTable> ParseCsv(std::string_view text, std::string_view source);

// Reads and parses the file `path`. kNotFound when it does not exist; the
// errors of ParseCsv otherwise.
Result<CsvTable> ReadCsvFile(platform::Env& env, const std::string& path);

}  // namespace dodu::shell

#endif  // DODU_SHELL_CSV_H_
