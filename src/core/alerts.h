// The two ways the helpers of this library alert the operator: the error box
// (message box style 8, no title) and the error beep BEEP_ERRO. The message box
// of the screen plays BEEP_ERRO itself for the error style, so the validators only
// show the box.
#ifndef DODU_CORE_ALERTS_H_
#define DODU_CORE_ALERTS_H_

#include <string>
#include <vector>

#include "platform/message_sink.h"

namespace dodu::core {

inline constexpr int kErrorBoxStyle = static_cast<int>(platform::BoxStyle::kError);
// One clock tick of the old machine's timer, the unit of its tones.
inline constexpr int kClockTickMs = 55;

// Shows `lines` (cp850 text) in an error box without a title.
void ErrorBox(platform::MessageSink& sink, std::vector<std::string> lines);

// BEEP_ERRO(times): for each repetition two pairs of tones, 300 Hz and 499 Hz,
// one clock tick each (300, 499, 300, 499). `times` below 1 plays nothing.
void BeepErro(platform::MessageSink& sink, int times = 1);

}  // namespace dodu::core

#endif  // DODU_CORE_ALERTS_H_
