// LELINHA: reading a text file line by line from an offset, for the imports of
// the official declaration files and the other text files.
//
// A line ends at a line feed, a NUL byte or the end of the file; the terminator
// (LF or NUL) is part of the returned line, as the old reader returned it (a CR
// before the LF is kept as well: the callers cut at fixed positions). At the end
// of the file the line is empty.
#ifndef DODU_CORE_LINE_READER_H_
#define DODU_CORE_LINE_READER_H_

#include <cstdint>
#include <string>

#include "platform/env.h"
#include "platform/status.h"

namespace dodu::core {

class LineReader {
 public:
  // Reads `file` from `offset`; the file must outlive the reader.
  explicit LineReader(platform::File& file, uint64_t offset = 0) : file_(file), offset_(offset) {}

  // LELINHA(handle): the next line with its terminator, "" at the end of the file.
  // The I/O error of the file otherwise (the offset is then left where it was).
  Result<std::string> Next();

  // Where the next line starts.
  uint64_t offset() const { return offset_; }
  void Seek(uint64_t offset) { offset_ = offset; }

 private:
  platform::File& file_;
  uint64_t offset_;
};

}  // namespace dodu::core

#endif  // DODU_CORE_LINE_READER_H_
