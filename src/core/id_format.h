// Punctuation of CPF, CNPJ and NIT numbers, and its removal. Pure text functions
// over ASCII digits; nothing is validated here (see core/ids.h).
//   CPF  "nnn.nnn.nnn-nn"      (in an 18-character field: followed by four blanks)
//   CNPJ "nn.nnn.nnn/nnnn-nn"
//   NIT  "nnn.nnnnn.nn-n"      (followed by four blanks)
#ifndef DODU_CORE_ID_FORMAT_H_
#define DODU_CORE_ID_FORMAT_H_

#include <optional>
#include <string>
#include <string_view>

namespace dodu::core {

inline constexpr char kCpfPicture[] = "@R 999.999.999-99";
inline constexpr char kCnpjPicture[] = "@R 99.999.999/9999-99";
inline constexpr char kNitPicture[] = "@R 999.99999.99-9";
inline constexpr char kCaepfPicture[] = "@R 999.999.999.999-99";

// True for a value CONTAPONTO leaves alone as already punctuated: its 3rd
// character is ".", or its 4th is "." or a blank.
bool LooksPunctuated(std::string_view value);

// CONTAPONTO(value): an already punctuated value is returned unchanged; otherwise
// a value of 14 significant (trimmed) characters becomes the CNPJ form, one of 11
// the CPF form followed by four blanks; any other value is returned unchanged.
std::string ContaPonto(std::string_view value);

// POEPONTO(value, mode). Mode 0 is ContaPonto. Mode 1 decides by the payment code
// (`I6_3` of the payments record being edited, passed by the caller):
//   1, 21, 26, 36, 37, 38, 40, 41, 42, 43, 98            -> CNPJ form
//   9..15, 30, 31, 33, 34, 66, 76, 80, 81, 94             -> CPF form + 4 blanks
//   50                                                     -> NIT form + 4 blanks
//   any other code                                         -> ContaPonto
// An already punctuated value is returned unchanged in both modes. The value is
// trimmed before it is punctuated.
std::string PoePonto(std::string_view value, int mode = 0, int payment_code = 0);

// TIRA_PONTO(value): the digits of the value, in order.
std::string TiraPonto(std::string_view value);

}  // namespace dodu::core

#endif  // DODU_CORE_ID_FORMAT_H_
