// Code pages at the edges of the system. Text inside the system (tables, screens,
// messages given to a MessageSink, the official program's files) is code page 850
// bytes; the terminal, PDF output and file names speak UTF-8; imported Windows
// files are code page 1252.
//
// - Cp850 <-> Unicode: the full IBM table (bytes 0x00-0x7F are ASCII, controls
//   included); every byte maps to one code point and back.
// - Cp1252 -> Unicode: the Windows table; the five unassigned bytes (0x81, 0x8D,
//   0x8F, 0x90, 0x9D) map to the C1 controls of the same number, as Windows does.
// - Anything -> cp850 replaces what code page 850 cannot hold with a replacement
//   byte ('?' unless told otherwise); malformed UTF-8 counts as unmappable, one
//   replacement per bad byte.
// - AjusCar is the lossy letter mapping the imports store; it is not a code-page
//   conversion and must not be "improved" (other modules match its output).
#ifndef DODU_CORE_CODEPAGE_H_
#define DODU_CORE_CODEPAGE_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dodu::core {

char32_t Cp850ToUnicode(uint8_t byte);
// nullopt when code page 850 has no byte for the code point.
std::optional<uint8_t> UnicodeToCp850(char32_t cp);
char32_t Cp1252ToUnicode(uint8_t byte);
// For the screen only: like Cp850ToUnicode, but the control bytes 0x01-0x1F and
// 0x7F give the glyphs the text screen shows for them (0x10 '►', 0x18 '↑', 0x7F
// '⌂' ...) and 0x00 a blank. Not invertible (0x14 and 0xF4 both show '¶').
char32_t Cp850GlyphToUnicode(uint8_t byte);

std::string Cp850ToUtf8(std::string_view cp850);
std::string Utf8ToCp850(std::string_view utf8, char replacement = '?');
std::string Cp1252ToUtf8(std::string_view cp1252);
// Full conversion of a Windows text; letters without a cp850 byte become `replacement`.
std::string Cp1252ToCp850(std::string_view cp1252, char replacement = '?');

// Cp850 bytes of a UTF-8 literal, for the system's own messages written in source as
// UTF-8: Cp850("ATENÇÃO! CPF está incompleto.").
inline std::string Cp850(std::string_view utf8) { return Utf8ToCp850(utf8); }

// AJUS_CAR(text, 1): Windows (1252) letters to the DOS (850) letters of the tables,
// byte by byte, by exactly this table; every other byte is left as it is:
//   á->A0 é->82 í->A1 ó->A2 ú->A3 Á->'A' É->90 Í->'I' Ó->'O' Ú->'U' à->85 ã->84(ä)
//   õ->94(ö) Ã->'A' Õ->'O' ç->87 Ç->80 â->83 ê->88 ô->93 û->96 Â->'A' Ê->'E' Ô->'O' Û->'U'
// Leading blanks are kept and trailing blanks removed ("  ÁGUA " -> "  AGUA").
std::string AjusCar(std::string_view cp1252);

// UTF-8 primitives used by the conversions above.
void AppendUtf8(std::string& out, char32_t cp);
// Decodes one code point at text[pos], advancing pos; nullopt (pos advanced by one)
// on a malformed, overlong or surrogate sequence.
std::optional<char32_t> DecodeUtf8(std::string_view text, size_t& pos);

}  // namespace dodu::core

#endif  // DODU_CORE_CODEPAGE_H_
