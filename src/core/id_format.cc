#include "core/id_format.h"

#include <algorithm>

#include "core/picture.h"

namespace dodu::core {
namespace {

std::string_view Trim(std::string_view s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  size_t e = s.find_last_not_of(' ');
  return s.substr(b, e - b + 1);
}

std::string Masked(std::string_view digits, const char* picture) {
  return Transform(digits, picture);
}

bool IsOneOf(int code, std::initializer_list<int> codes) {
  return std::find(codes.begin(), codes.end(), code) != codes.end();
}

}  // namespace

bool LooksPunctuated(std::string_view value) {
  return (value.size() >= 3 && value[2] == '.') ||
         (value.size() >= 4 && (value[3] == '.' || value[3] == ' '));
}

std::string ContaPonto(std::string_view value) {
  if (LooksPunctuated(value)) return std::string(value);
  std::string_view t = Trim(value);
  if (t.size() == 14) return Masked(t, kCnpjPicture);
  if (t.size() == 11) return Masked(t, kCpfPicture) + "    ";
  return std::string(value);
}

std::string PoePonto(std::string_view value, int mode, int payment_code) {
  std::string_view t = Trim(value);
  if (mode != 1) return ContaPonto(t);
  if (LooksPunctuated(t)) return std::string(t);
  if (IsOneOf(payment_code, {1, 21, 26, 36, 37, 38, 40, 41, 42, 43, 98})) {
    return Masked(t, kCnpjPicture);
  }
  if (IsOneOf(payment_code, {9, 10, 11, 12, 13, 14, 15, 30, 31, 33, 34, 66, 76, 80, 81, 94})) {
    return Masked(t, kCpfPicture) + "    ";
  }
  if (payment_code == 50) return Masked(t, kNitPicture) + "    ";
  return ContaPonto(t);
}

std::string TiraPonto(std::string_view value) {
  std::string out;
  for (char c : Trim(value)) {
    if (c >= '0' && c <= '9') out += c;
  }
  return out;
}

}  // namespace dodu::core
