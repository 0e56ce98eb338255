// platform::MessageSink over the toolkit, for the code below the screen:
// Box is the message box (AVISOSN in the given style and title), Tone the
// terminal's tone, StatusText the status line (MENS kind 0).
#ifndef DODU_SCREEN_TOOLKIT_SINK_H_
#define DODU_SCREEN_TOOLKIT_SINK_H_

#include <string>
#include <vector>

#include "platform/message_sink.h"
#include "screen/toolkit.h"

namespace dodu::screen {

class ToolkitMessageSink : public platform::MessageSink {
 public:
  explicit ToolkitMessageSink(Toolkit& tk) : tk_(tk) {}
  void Box(int style, const std::vector<std::string>& lines, const std::string& title) override;
  void Tone(int frequency_hz, int duration_ms) override { tk_.Tone(frequency_hz, duration_ms); }
  void StatusText(const std::string& text) override { tk_.SetStatusLine(text); }

 private:
  Toolkit& tk_;
};

}  // namespace dodu::screen

#endif  // DODU_SCREEN_TOOLKIT_SINK_H_
