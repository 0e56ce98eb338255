// Fixtures of the import tests: official files written field by field at their
// positions. The builder knows positions only as the tests give them (never the
// reader's layout table) and fills every position it is not told about with a
// sentinel, so that a field read one place off shows.
#ifndef DODU_TESTS_IMPORT_TESTUTIL_H_
#define DODU_TESTS_IMPORT_TESTUTIL_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#define ASSERT_OK(expr)                      \
  do {                                       \
    const ::dodu::Status st_ = (expr);       \
    ASSERT_TRUE(st_.ok()) << st_.ToString(); \
  } while (0)

namespace dodu::import::testing {

inline constexpr char kSentinel = '#';
inline constexpr char kCpf[] = "22222222303";  // digits are right (222.222.223-03)

// One record line of `length` characters.
class Rec {
 public:
  Rec(std::string_view type, int length, std::string_view cpf = kCpf, char fill = kSentinel)
      : text_(static_cast<size_t>(length), fill) {
    Put(1, type);
    if (!cpf.empty()) Put(3, cpf);
  }
  // Text at 1-based `start`; it must fit the line.
  Rec& Put(int start, std::string_view value) {
    EXPECT_LE(start - 1 + value.size(), text_.size()) << "fixture writes past its line";
    text_.replace(static_cast<size_t>(start - 1), value.size(), value);
    return *this;
  }
  // A number right-aligned with leading zeros in `width` digits.
  Rec& Num(int start, int width, int64_t value) {
    std::string digits = std::to_string(value);
    EXPECT_LE(digits.size(), static_cast<size_t>(width));
    return Put(start, std::string(static_cast<size_t>(width) - digits.size(), '0') + digits);
  }
  // An amount in cents: 13 digits.
  Rec& Cents(int start, int64_t cents) { return Num(start, 13, cents); }
  // A text padded with blanks to `width`.
  Rec& Text(int start, int width, std::string_view value) {
    std::string padded(value);
    padded.resize(static_cast<size_t>(width), ' ');
    return Put(start, padded);
  }
  const std::string& str() const { return text_; }

 private:
  std::string text_;
};

// The header line of a declaration of `exercise`.
inline Rec Header(int exercise, std::string_view kind = "IRPF    ") {
  Rec h("IR", 993, "", ' ');
  h.Put(1, kind).Put(9, std::to_string(exercise)).Put(13, std::to_string(exercise - 1));
  h.Put(17, "3000").Put(21, "0").Put(22, kCpf);
  h.Text(40, 53, "FULANO DE TAL");
  h.Num(124, 10, 0).Num(165, 10, 1234567890).Num(204, 10, 0);
  return h;
}

// Record 16 with a name and blanks where the reader expects digits or dates.
inline Rec Identification() {
  Rec r("16", 518);
  r.Text(14, 53, "FULANO DE TAL").Text(74, 15, "RUA").Text(89, 37, "DAS FLORES");
  r.Text(129, 6, "10").Text(135, 21, "").Text(156, 19, "CENTRO").Text(175, 8, "01001000");
  r.Text(184, 4, "7107").Text(188, 30, "SAO PAULO").Text(228, 2, "SP");
  r.Put(361, "01021970").Put(387, "1").Put(388, "N");
  return r;
}

inline Rec End() { return Rec("T9", 449); }

// Lines joined with line feeds.
inline std::string File(const std::vector<Rec>& recs) {
  std::string out;
  for (const Rec& r : recs) out += r.str() + "\n";
  return out;
}

inline std::string SharedDir() { return DODU_SHARED_DIR; }

}  // namespace dodu::import::testing

#endif  // DODU_TESTS_IMPORT_TESTUTIL_H_
