// How code below the screen reports to the operator: message boxes, tones and the
// status-bar line. The screen toolkit implements it over the real screen; tests use
// RecordingSink. Texts are code page 850 bytes, as everywhere inside the system.
#ifndef DODU_PLATFORM_MESSAGE_SINK_H_
#define DODU_PLATFORM_MESSAGE_SINK_H_

#include <string>
#include <vector>

namespace dodu::platform {

// Message box styles 0 (information) .. 8 (error), as the message box numbers them.
enum class BoxStyle : int {
  kInfo = 0,
  kError = 8,
};

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // Shows a box and waits for the operator to acknowledge it.
  virtual void Box(int style, const std::vector<std::string>& lines, const std::string& title) = 0;
  // One tone; the terminal may only be able to beep.
  virtual void Tone(int frequency_hz, int duration_ms) = 0;
  // Replaces the status-bar message ("" clears it).
  virtual void StatusText(const std::string& text) = 0;
};

// Keeps everything it is told, for tests and for batch runs.
class RecordingSink : public MessageSink {
 public:
  struct BoxRecord {
    int style;
    std::vector<std::string> lines;
    std::string title;
  };
  struct ToneRecord {
    int frequency_hz;
    int duration_ms;
    bool operator==(const ToneRecord&) const = default;
  };

  void Box(int style, const std::vector<std::string>& lines, const std::string& title) override {
    boxes.push_back({style, lines, title});
  }
  void Tone(int frequency_hz, int duration_ms) override {
    tones.push_back({frequency_hz, duration_ms});
  }
  void StatusText(const std::string& text) override { status.push_back(text); }

  std::vector<BoxRecord> boxes;
  std::vector<ToneRecord> tones;
  std::vector<std::string> status;
};

}  // namespace dodu::platform

#endif  // DODU_PLATFORM_MESSAGE_SINK_H_
