// Check digits of the Brazilian identifiers and the field validations built on
// them: CPF, CAEPF, CNPJ, NIT, NIRF, RENAVAM and the generic modulo-11 digit.
//
// Each validation shows its own error box through the MessageSink (error style,
// texts in cp850) and answers true or false; they serve as field validations, so
// false keeps the cursor in the field. Nothing is written anywhere except where a
// function says so (the taxpayer-name hook of the CPF check, the field rewritten
// by CpfCgc1, the value returned by VeRenavam).
//
// Values are ASCII text as the fields hold them: digits, blanks and, where said,
// punctuation. A value is empty when it has nothing but blanks.
#ifndef DODU_CORE_IDS_H_
#define DODU_CORE_IDS_H_

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/message_sink.h"

namespace dodu::core {

// ---- Pure check digits (nullopt when the base is not all digits of the right count)
// CPF: the two digits of a 9-digit base.
std::optional<std::string> CpfDigits(std::string_view base9);
// CAEPF: the two digits of a 12-digit base.
std::optional<std::string> CaepfDigits(std::string_view base12);
// CNPJ: the two digits of a 12-digit base.
std::optional<std::string> CnpjDigits(std::string_view base12);
// NIT: the check digit of a 10-digit base.
std::optional<char> NitDigit(std::string_view base10);
// RENAVAM: the check digit of a 10-digit base.
std::optional<char> RenavamDigit(std::string_view base10);

// MODULO_11(digits, substitute): n = length of the trimmed text; the i-th digit
// (i = 1..n) is weighted n + 2 - i; dv = 11 - (sum mod 11), replaced by
// `substitute` when above 9. One character; empty for empty (blank) input. A
// character that is not a digit counts as 0.
std::string Modulo11(std::string_view digits, char substitute);

// ---- Field validations
enum class CpfMode {
  kCpf = 0,        // a CPF field
  kSelection = 1,  // the CPF typed in the taxpayer selection
  kCaepf = 2,      // a CAEPF (14 characters)
};

// Called by the selection mode with the new value of the taxpayer name NOMECONTR
// (53 blanks) when the CPF is left empty; the selection frame shows it.
using TaxpayerNameHook = std::function<void(const std::string& name)>;

// VAL_CPF(value, required, row, col, mode). CPF: 11 characters, base 1-9, typed
// digits 10-11; CAEPF: 14 characters, base 1-12, digits 13-14.
// - Empty: true when not required. Required: the selection mode calls `on_clear_name`
//   with 53 blanks and answers true; the other modes answer false silently.
// - A base with fewer digits than it needs (blanks or other characters in it):
//   "ATENÇÃO! CPF está incompleto." (selection mode: false without a box) or
//   "ATENÇÃO! CAEPF está incompleto.".
// - Wrong digits: "ATENÇÃO! CPF " + punctuated number + " está incorreto. " /
//   "O dígito para esse número é:" + the right digits (CAEPF alike).
bool ValCpf(platform::MessageSink& sink, std::string_view value, bool required,
            CpfMode mode = CpfMode::kCpf, const TaxpayerNameHook& on_clear_name = nullptr);

// VAL_CGC(value, required, row, col): a 14-character CNPJ of digits. Empty: false
// (silently) when required, else true. A base of fewer than 12 digits: "ATENÇÃO!
// CNPJ está incompleto."; wrong digits: "ATENÇÃO! CNPJ " + punctuated + " está
// incorreto. " / "O dígito para esse número é:" + digits.
bool ValCgc(platform::MessageSink& sink, std::string_view value, bool required);

// CPFCGC(value, required, row, col): a CPF or a CNPJ, punctuated or not.
// Empty: false (silently) when required, else true. The trimmed value is
// punctuated (PoePonto mode 0); a NIT written as 11 digits grouped 3.5.2-1
// ("123.45678.90-1") is accepted without a check; a 4th character "." or blank
// makes it a CPF, a 3rd character "." a CNPJ; anything else, and text without
// any digit, shows the box about the number of digits. The digits are then
// checked as ValCpf / ValCgc would.
bool CpfCgc(platform::MessageSink& sink, std::string_view value, bool required);

// The field CPFCGC1 works on: read its value, write it back.
struct FieldAccessor {
  std::function<std::string()> get;
  std::function<void(const std::string&)> set;
};
// CPFCGC1(field name, required, row, col): the empty rules of CpfCgc on the
// field's value; otherwise the field is rewritten with PoePonto(trimmed value)
// and CpfCgc runs on that.
bool CpfCgc1(platform::MessageSink& sink, const FieldAccessor& field, bool required);

// VAL_NIT(value, mode): empty is true. The digits (punctuation allowed) must be
// 11: "ATENÇÃO! O NIT do empregado está errado." (employee mode 1) or "ATENÇÃO! O
// NIT está incompleto... ". A wrong digit: "ATENÇÃO! NIT está incorreto. " (mode 1
// adds the two lines about typing a CPF).
bool ValNit(platform::MessageSink& sink, std::string_view value, int mode = 0);

// VENIRF(value, mode): empty is true. The 8th character must equal
// MODULO_11(first 7, '0') and the first 7 must be digits; otherwise "NIRF
// inválido". (The old mode 0, "the argument names a variable", is the caller's
// business: pass the value.)
bool VeNirf(platform::MessageSink& sink, std::string_view value);

// VERENAVAM(variable): empty is valid and left as it is. Otherwise the value must
// be digits only (blanks around allowed), at most 11 of them; it is written back
// as 11 digits with leading zeros and its last digit must be the check digit of
// the first ten; otherwise "Renavam inválido". Text with anything but digits is
// refused and returned unchanged.
struct RenavamCheck {
  bool valid = false;
  std::string value;  // what the variable holds afterwards
};
RenavamCheck VeRenavam(platform::MessageSink& sink, std::string_view value);

}  // namespace dodu::core

#endif  // DODU_CORE_IDS_H_
