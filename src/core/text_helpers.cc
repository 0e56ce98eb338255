#include "core/text_helpers.h"

namespace dodu::core {

std::optional<Decimal> CarToVal(std::string_view text) {
  std::string s;
  bool comma_seen = false;
  for (char c : text) {
    if (c == '.') continue;
    if (c == ',' && !comma_seen) {
      comma_seen = true;
      c = '.';
    }
    s += c;
  }
  // VAL(): the longest prefix that reads as a number.
  size_t i = s.find_first_not_of(' ');
  if (i == std::string::npos) return Decimal();
  std::string number;
  if (s[i] == '-' || s[i] == '+') number += s[i++];
  bool digits = false, point = false;
  for (; i < s.size(); ++i) {
    char c = s[i];
    if (c >= '0' && c <= '9') {
      digits = true;
      number += c;
    } else if (c == '.' && !point) {
      point = true;
      number += c;
    } else {
      break;
    }
  }
  if (!digits) return Decimal();
  // Round what lies beyond the eighth decimal instead of refusing it.
  size_t dot = number.find('.');
  bool round_up = false;
  if (dot != std::string::npos && number.size() - dot - 1 > Decimal::kPlaces) {
    round_up = number[dot + 1 + Decimal::kPlaces] >= '5';
    number.resize(dot + 1 + Decimal::kPlaces);
  }
  std::optional<Decimal> v = Decimal::Parse(number);
  if (!v) return std::nullopt;
  if (round_up) {
    Decimal ulp = Decimal::FromUnits(v->IsNegative() || number[0] == '-' ? -1 : 1);
    return v->CheckedAdd(ulp);
  }
  return v;
}

std::optional<std::string> TrazMes(int month) {
  static constexpr const char* kNames[] = {
      "Janeiro  ", "Fevereiro", "Marco    ", "Abril    ", "Maio     ", "Junho    ",
      "Julho    ", "Agosto   ", "Setembro ", "Outubro  ", "Novembro ", "Dezembro "};
  if (month < 1 || month > 12) return std::nullopt;
  return std::string(kNames[month - 1]);
}

std::string DiaSemana(const Date& date) {
  static constexpr const char* kNames[] = {"Domingo",      "Segunda feira", "Terca feira",
                                           "Quarta feira", "Quinta feira",  "Sexta feira",
                                           "Sabado"};
  if (date.IsBlank()) return "";
  return kNames[date.Weekday()];
}

}  // namespace dodu::core
