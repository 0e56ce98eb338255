// The screen's edge conversions, over the system's code-page module.
#include "screen/internal/cp850.h"

#include "core/codepage.h"

namespace dodu::screen::internal {

char32_t Cp850ToCodePoint(uint8_t byte) { return core::Cp850ToUnicode(byte); }

uint8_t CodePointToCp850(char32_t cp) { return core::UnicodeToCp850(cp).value_or('?'); }

std::string Cp850ToUtf8(std::string_view cp850) { return core::Cp850ToUtf8(cp850); }

std::string Utf8ToCp850(std::string_view utf8) { return core::Utf8ToCp850(utf8, '?'); }

void AppendUtf8(std::string& out, char32_t cp) { core::AppendUtf8(out, cp); }

}  // namespace dodu::screen::internal
