#include "screen/toolkit_sink.h"

#include "screen/message_box.h"

namespace dodu::screen {

void ToolkitMessageSink::Box(int style, const std::vector<std::string>& lines, const std::string& title) {
  AVISOSN(tk_, lines, style, {}, title);
}

}  // namespace dodu::screen
