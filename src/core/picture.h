// Display pictures ("@Ez 999,999,999.99", "@R 999.999.999-99", "@S40", "@!"...):
// parsing, formatting a value for display and reading an edited display text
// back into a value. Pure functions over cp850 text; no screen here. The screen
// toolkit's edit buffer works over the same Picture through the slot API below.
//
// A picture is "@" + function letters, then a blank and a template; either part
// may be missing ("@Z", "@s18", "999.99"). Function letters (case-insensitive):
//   E  numbers: "," and "." of the template are shown swapped (1.234,56)
//   Z  a zero number (after rounding) shows as blanks
//   L  numbers: leading zeros instead of leading blanks
//   B  numbers: left-justified
//   R  text: template literals are inserted for display and not stored
//   !  text: every letter forced to upper case
//   S<n> text: shown in n columns, scrolling (without n: no effect)
//   K  editing: the first key typed clears the field
//   D  a date, dd/mm/yyyy (dates need no picture)
// Unknown function letters are ignored. Template characters:
//   9  a digit (numbers: a digit position)       #  digit, blank, "+" or "-"
//   A  a letter                                  N  letter or digit
//   X  any character                             !  any character, upper-cased
//   L  logical T/F/Y/N                           Y  Y or N
//   $  * numbers: digit positions whose leading blanks show as "$" / "*"
//   .  numbers: the decimal point (the first one) ,  numbers: thousands separator
// Any other template character is a literal. For text without "@R" a literal
// replaces the value's character at its position (and is part of the value).
//
// Numbers that do not fit show "*" in every position except the decimal point,
// as xBase does. Negative numbers put "-" right before the first digit; the sign
// needs a free digit position. Upper-casing is ASCII only, like UPPER() of the
// index keys.
#ifndef DODU_CORE_PICTURE_H_
#define DODU_CORE_PICTURE_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/date.h"
#include "core/decimal.h"

namespace dodu::core {

// Width and decimals of a number without a template (its field's N(w, d)).
struct NumberShape {
  int width = 10;
  int decimals = 2;
};

enum class ValueKind { kText, kNumber, kDate, kLogical };

// One position of a resolved template.
struct Slot {
  enum class Kind {
    kInput,         // takes a character typed by the operator
    kLiteral,       // fixed text, not editable
    kDecimalPoint,  // numbers: where the decimals start; shown as ',' under @E
    kThousands,     // numbers: group separator; shown as '.' under @E
  };
  Kind kind = Kind::kInput;
  // kInput: the template character ('9', '#', 'A', 'N', 'X', '!', 'L', 'Y', '$', '*').
  // Otherwise the character as displayed.
  char ch = 'X';
  bool editable() const { return kind == Kind::kInput; }
};

class Picture {
 public:
  struct Functions {
    bool european = false;    // E
    bool blank_zero = false;  // Z
    bool leading_zeros = false;  // L
    bool left_justify = false;   // B
    bool raw_literals = false;   // R: literals displayed, not stored
    bool upper = false;          // !
    bool clear_on_key = false;   // K
    bool date = false;           // D
    int scroll_width = 0;        // S<n>; 0 when absent
  };

  Picture() = default;
  // Never fails: anything that is not a known function letter or template
  // character is a literal or ignored, as xBase does.
  static Picture Parse(std::string_view picture);

  const std::string& text() const { return text_; }
  const Functions& functions() const { return fn_; }
  // The template as written (after "@..." and its blank); may be empty.
  const std::string& template_text() const { return template_; }
  bool has_template() const { return !template_.empty(); }

  // ---- Editing support --------------------------------------------------
  // The positions the edit buffer works with, for a value of the given kind.
  // A missing template is supplied: text -> `text_length` times 'X' (or '!'
  // under @!), numbers -> digits and point from `shape`, dates -> "99/99/9999",
  // logicals -> "L". Under @E the separators' displayed characters are swapped.
  std::vector<Slot> Slots(ValueKind kind, int text_length = 0, NumberShape shape = {}) const;

  // Whether `c` (a cp850 byte) may be typed into an input slot of this template
  // character, for a value of the given kind. Numbers also take '-' and '+' in
  // digit slots (the buffer decides where the sign lands).
  static bool Accepts(char template_char, char c, ValueKind kind);
  // The character stored when `c` is typed into the slot: upper-cased for '!',
  // 'Y' and 'L' slots and everywhere under @!; otherwise `c`.
  char Apply(char template_char, char c) const;

  // Numbers: digit slots before / after the decimal point of the resolved
  // template, and the characters shown for the point and the separator.
  struct NumericLayout {
    int width = 0;           // display positions
    int integer_slots = 0;   // digit slots before the point (the sign takes one)
    int decimals = 0;        // digit slots after the point
    char point = '.';        // ',' under @E
    char thousands = ',';    // '.' under @E
  };
  NumericLayout Numeric(NumberShape shape = {}) const;

  // Display width: the template's length; else text: @S<n> or the text's length;
  // numbers: shape.width; dates 10; logicals 1.
  int DisplayWidth(ValueKind kind, int text_length = 0, NumberShape shape = {}) const;

  // ---- Formatting -----------------------------------------------------------
  // Text (cp850). With a template: one template position per display position
  // (see the literals rule above); the value is cut or blank-padded to fit. With
  // @S<n> and no template, the first n characters.
  std::string FormatText(std::string_view value) const;
  // "  1.234.567,89" for 1234567.89 in "@E 999,999,999.99"; rounded half away
  // from zero to the template's decimals.
  std::string FormatNumber(const Decimal& value, NumberShape shape = {}) const;
  // dd/mm/yyyy; the blank date as "  /  /    ".
  std::string FormatDate(const Date& value) const;
  // "T"/"F"; with a "Y" template "Y"/"N".
  std::string FormatLogical(bool value) const;

  // ---- Reading an edited display back ---------------------------------------
  // Text: under @R the characters at input positions (the literals dropped, so
  // "123.456.789-09" in "@R 999.999.999-99" gives "12345678909"); otherwise the
  // text itself. Case forcing is applied. Characters past the template are dropped.
  std::string UnformatText(std::string_view display) const;
  // Numbers: blanks, thousands separators, "$"/"*" fill and literals are dropped,
  // the decimal character (',' under @E) read as the point; blank text is 0.
  // "1234,5" in "@Ez 99,999,999.99" -> 1234.50. nullopt when the text is not a
  // number or does not fit the template (more decimals or integer digits than it
  // has positions).
  std::optional<Decimal> UnformatNumber(std::string_view display, NumberShape shape = {}) const;
  // dd/mm/yyyy or dd/mm/yy (epoch 1900); blank -> the blank date.
  std::optional<Date> UnformatDate(std::string_view display) const;
  // T, Y, S -> true; F, N -> false (either case); nullopt otherwise.
  std::optional<bool> UnformatLogical(std::string_view display) const;

 private:
  std::string NumericTemplate(NumberShape shape) const;

  std::string text_;
  std::string template_;
  Functions fn_;
};

// Convenience: Picture::Parse(picture).Format...(value).
std::string Transform(const Decimal& value, std::string_view picture, NumberShape shape = {});
std::string Transform(std::string_view value, std::string_view picture);
std::string Transform(const Date& value, std::string_view picture);

}  // namespace dodu::core

#endif  // DODU_CORE_PICTURE_H_
