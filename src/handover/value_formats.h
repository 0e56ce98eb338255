// The value formats of the official program's XML documents: how a number, a
// text, a date or a CPF/CNPJ becomes the text of an attribute. Pure functions
// over code page 850 text; the results are UTF-8 ready to be written between
// double quotes (see "Output text" below).
//
// Numbers (`CONVNRO` and its format codes):
//   amount (code 0)  "1.234,50": rounded to 2 decimals, "." between thousands,
//                    "," before the decimals, "-" in front when negative, 0 is "0,00"
//   whole  (code 1)  "1.235": rounded to a whole number, thousands separated, 0 is "0"
//   tenth  (code 2)  "1.000,5": one decimal, thousands separated, 0 is "0"
//   int    (code 3)  "1235": the whole number in plain digits, 0 is "0"
//   plain2 (code 4)  "12,5": two decimals, ",00" dropped, "," for the point
//   rate   (code 5)  "0,150000": six decimals, no separators, 0 is ""
//   rate3  (code 6)  as rate (the wider field of the three-digit rates)
//   amount0 (code 7) amount, but 0 is ""
//   fixed4 (code 8)  "012,5000": three whole digits with leading zeros, four decimals
// No value is ever clamped or shown as asterisks: a number wider than its usual
// field is written in full.
//
// Texts (`POEASPAS` modes):
//   text  (0)  leading and trailing blanks removed
//   text* (1)  `CONVCAR` first, then trimmed; an empty value gives ""
//   2dig  (2)  a value that reads as a number below 10 becomes two digits ("07"),
//              anything else is trimmed
//
// Output text. The documents are UTF-8 XML: every value that does not pass
// through `CONVCAR` has its bytes above 0x7F converted from code page 850 to
// UTF-8, its control bytes dropped and "&", "<" and '"' escaped (XmlSafe).
// `CONVCAR` itself transliterates every byte above 0x7F, so text* values are
// plain ASCII.
#ifndef DODU_HANDOVER_VALUE_FORMATS_H_
#define DODU_HANDOVER_VALUE_FORMATS_H_

#include <string>
#include <string_view>

#include "core/date.h"
#include "core/decimal.h"
#include "platform/env.h"

namespace dodu::handover {

enum class NumberFormat : int {
  kAmount = 0,
  kWhole = 1,
  kTenth = 2,
  kInt = 3,
  kPlain2 = 4,
  kRate = 5,
  kRate3 = 6,
  kAmountOrEmpty = 7,
  kFixed4 = 8,
};

enum class TextMode : int {
  kText = 0,
  kConverted = 1,  // text*
  kTwoDigits = 2,  // 2dig
};

// What follows the closing quote: nothing, ">" (children follow) or "/>".
enum class Closing : int { kNone = 0, kOpen = 1, kEnd = 2 };

// The bare value (no quotes).
std::string FormatNumber(const core::Decimal& value, NumberFormat format);
std::string FormatText(std::string_view cp850, TextMode mode);

// CONVNRO / POEASPAS: the value in double quotes followed by the closing.
// With `dots_when_empty` an empty text value is written as "...".
std::string ConvNro(const core::Decimal& value, Closing closing,
                    NumberFormat format = NumberFormat::kAmount);
std::string PoeAspas(std::string_view cp850, Closing closing, TextMode mode = TextMode::kText,
                     bool dots_when_empty = false);

// CONVCAR: the character substitution of names and descriptions. An empty value
// becomes a single blank. The result holds no byte above 0x7F and none of
// < > & " ' #.
std::string ConvCar(std::string_view cp850);

// SEMPONTO: every ".", ",", "/", "\", ")" and "(" becomes a blank.
std::string SemPonto(std::string_view text);

// Bytes of code page 850 as they may stand inside an attribute value of a UTF-8
// document (see Output text above).
std::string XmlSafe(std::string_view cp850);

// "dd/mm/yyyy"; the blank date is "  /  /    ".
std::string FormatDate(const core::Date& d);
// The date trimmed: the blank date is "/  /".
std::string FormatTrimmedDate(const core::Date& d);
// "dd/mm/yyyy hh:mm:ss".
std::string FormatNow(const platform::CivilTime& t);
// An 11-character CPF field masked "999.999.999-99" and trimmed; blank gives ".   .   -".
std::string FormatCpf(std::string_view field);
// A 14-character CNPJ field masked "99.999.999/9999-99" (not trimmed).
std::string FormatCnpj(std::string_view field);
// A CEP field masked "99999-999" and trimmed.
std::string FormatCep(std::string_view field);

// Blanks removed at both ends.
std::string_view Trim(std::string_view s);

}  // namespace dodu::handover

#endif  // DODU_HANDOVER_VALUE_FORMATS_H_
