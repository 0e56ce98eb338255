#include "core/alerts.h"

#include <utility>

namespace dodu::core {

void ErrorBox(platform::MessageSink& sink, std::vector<std::string> lines) {
  sink.Box(kErrorBoxStyle, std::move(lines), "");
}

void BeepErro(platform::MessageSink& sink, int times) {
  for (int i = 0; i < times; ++i) {
    for (int pair = 0; pair < 2; ++pair) {
      sink.Tone(300, kClockTickMs);
      sink.Tone(499, kClockTickMs);
    }
  }
}

}  // namespace dodu::core
