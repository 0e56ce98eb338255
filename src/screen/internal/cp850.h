// Code page 850 <-> UTF-8 at the terminal's edge. The screen converts text in
// exactly these two functions, so the back ends never see a code page.
#ifndef DODU_SCREEN_INTERNAL_CP850_H_
#define DODU_SCREEN_INTERNAL_CP850_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace dodu::screen::internal {

// The Unicode code point of a code page 850 byte (control bytes map to themselves).
char32_t Cp850ToCodePoint(uint8_t byte);
// The code page 850 byte of a code point; '?' when it has none.
uint8_t CodePointToCp850(char32_t cp);

std::string Cp850ToUtf8(std::string_view cp850);
// Malformed UTF-8 and unmappable characters become '?'.
std::string Utf8ToCp850(std::string_view utf8);
// Appends one code point as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);

}  // namespace dodu::screen::internal

#endif  // DODU_SCREEN_INTERNAL_CP850_H_
