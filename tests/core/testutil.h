// Shared helpers of the core tests.
#ifndef DODU_TESTS_CORE_TESTUTIL_H_
#define DODU_TESTS_CORE_TESTUTIL_H_

#include <string>
#include <vector>

#include "core/codepage.h"
#include "platform/message_sink.h"

namespace dodu::core::testing {

// The lines of every box the sink was shown, each box joined with " / ", in
// UTF-8 so that failures print readably.
inline std::vector<std::string> BoxTexts(const platform::RecordingSink& sink) {
  std::vector<std::string> out;
  for (const auto& box : sink.boxes) {
    std::string joined;
    for (const auto& line : box.lines) {
      if (!joined.empty()) joined += " / ";
      joined += Cp850ToUtf8(line);
    }
    out.push_back(joined);
  }
  return out;
}

}  // namespace dodu::core::testing

#endif  // DODU_TESTS_CORE_TESTUTIL_H_
