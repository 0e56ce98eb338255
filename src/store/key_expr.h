// Index key expressions, as the index files store them ("CPF+str(I7_0,4)",
// "UPPER(NOMECONTR)", "BEM_NRO"), compiled against a table layout and evaluated
// over the raw bytes of a record. Nothing here knows a particular table.
//
// The language:
//   expr   := term { "+" term }           character terms only are joined
//   term   := FIELD | FUNC "(" args ")"
//   FUNC   := STR(n [, w [, d]])          n rounded half away from zero to d (0)
//                                          decimals, right aligned in w (10)
//                                          characters; "*" x w when it does not fit
//           | STRZERO(n [, w [, d]])      the same with leading zeros ("-05")
//           | DTOS(d)                     "yyyymmdd"; a blank date gives 8 blanks
//           | DTOC(d)                     "dd/mm/yyyy"; blank: "  /  /    "
//           | UPPER(c)                    code page 850 upper case (accented too)
//           | SUBSTR(c, start [, len]) | LEFT(c, n) | RIGHT(c, n)
//           | MONTH(d) | YEAR(d) | DAY(d) numeric; 0 for a blank date
// Field and function names are case-insensitive; w, d, start, len and n are
// integer literals. The key type is character, or numeric / date when the
// whole expression is one numeric or date value (a plain field, MONTH(...)).
//
// Key bytes:
// - character: the text, exactly length() bytes. Expressions longer than
//   kMaxKeyLength bytes (a C(512) field) are cut to that length; such keys order
//   and seek on their first kMaxKeyLength bytes.
// - numeric and date: the 8-byte sortable form of the IEEE-754 double (big
//   endian, sign bit set for non-negative values, all bits inverted for negative
//   ones), so that byte order is numeric order. Dates are their Julian day number
//   (0 for the blank date). Turning a field's decimal text into that double is an
//   encoding of the file format, not arithmetic: nothing computes with it.
#ifndef DODU_STORE_KEY_EXPR_H_
#define DODU_STORE_KEY_EXPR_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"
#include "store/field.h"

namespace dodu::store {

enum class KeyType { kCharacter, kNumeric, kDate };

// The longest key an index holds (the compact index format limit).
inline constexpr int kMaxKeyLength = 240;
// Numeric and date keys.
inline constexpr int kNumericKeyLength = 8;

// Raw field bytes of one record, by the field's position in the layout the
// expression was compiled against. The view must stay valid during Evaluate.
class RecordAccessor {
 public:
  virtual ~RecordAccessor() = default;
  virtual std::string_view FieldBytes(size_t field_index) const = 0;
};

class KeyExpr {
 public:
  // Compiles `text` against `layout`. kInvalid (naming the expression) on a
  // syntax error, an unknown field or function, a wrong argument, or joining
  // values that are not character.
  static Result<KeyExpr> Compile(std::string_view text, const Layout& layout);

  KeyExpr(const KeyExpr&);
  KeyExpr& operator=(const KeyExpr&);
  KeyExpr(KeyExpr&&) noexcept;
  KeyExpr& operator=(KeyExpr&&) noexcept;
  ~KeyExpr();

  // The expression as given (what the index file stores).
  const std::string& text() const { return text_; }
  KeyType type() const { return type_; }
  // Bytes of every key: 8 for numeric and date keys.
  int length() const { return length_; }

  // The key of a record. Field bytes shorter than their layout length count as
  // blank-padded, longer ones are cut.
  std::string Evaluate(const RecordAccessor& record) const;
  // The key of a DBF record image: deletion flag byte, then the fields in layout
  // order. An image shorter than the layout reads as blanks.
  std::string EvaluateImage(std::string_view image) const;

 public:
  struct Node;  // the compiled expression; defined in key_expr.cc

 private:
  KeyExpr() = default;

  std::string text_;
  KeyType type_ = KeyType::kCharacter;
  int length_ = 0;
  std::vector<size_t> image_offsets_;  // field i starts at image_offsets_[i]
  std::vector<int> field_lengths_;
  std::unique_ptr<Node> root_;
};

// Code page 850 upper case: a-z and the accented lower-case letters that have an
// upper-case form in the code page. What UPPER() does; seek values for UPPER()
// keys go through it too.
std::string UpperCp850(std::string_view text);

// The 8-byte key of a number given as decimal text ("-12.50", "  7", blank = 0).
// kInvalid when the text is not a number.
Result<std::string> NumericKeyFromText(std::string_view text);
std::string NumericKeyFromInt(int64_t value);
// The 8-byte key of a date given as "yyyymmdd" (blanks: the blank date).
// kInvalid when not a real date.
Result<std::string> DateKeyFromDtos(std::string_view dtos);
// The double a numeric or date key holds, for listings and tests.
double DecodeNumericKey(std::string_view key);

}  // namespace dodu::store

#endif  // DODU_STORE_KEY_EXPR_H_
