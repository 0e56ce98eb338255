#include "core/date.h"

#include <cassert>
#include <cstdio>
#include <ostream>
#include <stdexcept>

namespace dodu::core {
namespace {

// Days since 1970-01-01 of a civil date, and back (H. Hinnant's algorithms).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t yy = static_cast<int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yy + (m <= 2));
}

bool AllBlank(std::string_view s) {
  for (char c : s) {
    if (c != ' ') return false;
  }
  return true;
}

// Digits only, exactly s.size() of them.
std::optional<int> ReadDigits(std::string_view s) {
  if (s.empty()) return std::nullopt;
  int v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return v;
}

}  // namespace

bool Date::IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int Date::DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

std::optional<Date> Date::FromYmd(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12) return std::nullopt;
  if (day < 1 || day > DaysInMonth(year, month)) return std::nullopt;
  return Date(year, month, day);
}

Date Date::FromDays(int64_t days) {
  int y, m, d;
  CivilFromDays(days, y, m, d);
  if (y < 1 || y > 9999) throw std::out_of_range("Date out of range");
  return Date(y, m, d);
}

std::optional<Date> Date::FromDtos(std::string_view text) {
  if (AllBlank(text)) return Date();
  if (text.size() != 8) return std::nullopt;
  auto y = ReadDigits(text.substr(0, 4));
  auto m = ReadDigits(text.substr(4, 2));
  auto d = ReadDigits(text.substr(6, 2));
  if (!y || !m || !d) return std::nullopt;
  return FromYmd(*y, *m, *d);
}

std::optional<Date> Date::ParseDmy(std::string_view text) {
  if (text.size() != 10 && text.size() != 8) {
    if (AllBlank(text)) return Date();
    return std::nullopt;
  }
  if (text[2] != '/' || text[5] != '/') return std::nullopt;
  std::string_view dd = text.substr(0, 2), mm = text.substr(3, 2), yy = text.substr(6);
  if (AllBlank(dd) && AllBlank(mm) && AllBlank(yy)) return Date();
  auto d = ReadDigits(dd);
  auto m = ReadDigits(mm);
  auto y = ReadDigits(yy);
  if (!d || !m || !y) return std::nullopt;
  int year = yy.size() == 2 ? 1900 + *y : *y;
  return FromYmd(year, *m, *d);
}

int64_t Date::Days() const {
  assert(!IsBlank());
  return DaysFromCivil(year_, static_cast<unsigned>(month_), static_cast<unsigned>(day_));
}

int Date::Weekday() const {
  int64_t days = Days();  // 1970-01-01 was a Thursday (4)
  int w = static_cast<int>((days + 4) % 7);
  return w < 0 ? w + 7 : w;
}

Date Date::AddDays(int64_t n) const {
  if (IsBlank()) return *this;
  return FromDays(Days() + n);
}

std::string Date::Dtos() const {
  if (IsBlank()) return std::string(8, ' ');
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d", year_, month_, day_);
  return buf;
}

std::string Date::ToDmy() const {
  if (IsBlank()) return "  /  /    ";
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", day_, month_, year_);
  return buf;
}

std::string Date::ToDmy2() const {
  if (IsBlank()) return "  /  /  ";
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%02d", day_, month_, year_ % 100);
  return buf;
}

std::ostream& operator<<(std::ostream& os, const Date& d) {
  return os << (d.IsBlank() ? std::string("(blank date)") : d.ToDmy());
}

std::optional<YearMonth> YearMonth::Of(int year, int month) {
  if (year < 1 || year > 9999 || month < 1 || month > 12) return std::nullopt;
  return YearMonth(year, month);
}

YearMonth YearMonth::Of(const Date& d) {
  assert(!d.IsBlank());
  return YearMonth(d.year(), d.month());
}

YearMonth YearMonth::AddMonths(int n) const {
  int total = year_ * 12 + (month_ - 1) + n;
  int y = total / 12, m = total % 12;
  if (m < 0) {
    m += 12;
    --y;
  }
  if (y < 1 || y > 9999) throw std::out_of_range("YearMonth out of range");
  return YearMonth(y, m + 1);
}

Date YearMonth::FirstDay() const { return *Date::FromYmd(year_, month_, 1); }
Date YearMonth::LastDay() const { return *Date::FromYmd(year_, month_, Days()); }

std::string YearMonth::ToString() const {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02d", year_, month_);
  return buf;
}

}  // namespace dodu::core
