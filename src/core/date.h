// Date and YearMonth: civil dates of the proleptic Gregorian calendar, as the
// tables store them, with the blank date of the tables ("        " in a DBF D
// field) as a proper value.
//
// Text forms: DTOS "yyyymmdd" (index keys, DBF fields), "dd/mm/yyyy" (screens,
// reports), "dd/mm/yy" read with epoch 1900 (yy -> 19yy). A blank date sorts
// before every real date and writes as blanks in every form.
#ifndef DODU_CORE_DATE_H_
#define DODU_CORE_DATE_H_

#include <compare>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace dodu::core {

class Date {
 public:
  // The blank date.
  constexpr Date() = default;

  // nullopt unless 1 <= month <= 12, 1 <= day <= days of that month, 1 <= year <= 9999.
  static std::optional<Date> FromYmd(int year, int month, int day);
  // Days since 1970-01-01 (negative before). The result must lie in years 1..9999.
  static Date FromDays(int64_t days);

  // DTOS text "yyyymmdd"; 8 blanks (or empty text) is the blank date. nullopt when
  // malformed or not a real date.
  static std::optional<Date> FromDtos(std::string_view text);
  // "dd/mm/yyyy" or "dd/mm/yy" (epoch 1900: "05/03/19" is 1919); "  /  /    ",
  // "  /  /  " and blank text are the blank date. nullopt otherwise.
  static std::optional<Date> ParseDmy(std::string_view text);

  constexpr bool IsBlank() const { return year_ == 0; }
  constexpr int year() const { return year_; }
  constexpr int month() const { return month_; }
  constexpr int day() const { return day_; }

  // Days since 1970-01-01. Must not be called on the blank date.
  int64_t Days() const;
  // 0 Sunday .. 6 Saturday (xBase DOW() minus one). Not for the blank date.
  int Weekday() const;
  // The date n days later (earlier when n < 0). The blank date stays blank.
  Date AddDays(int64_t n) const;
  // this - other in days. Both must be real dates.
  int64_t DaysSince(const Date& other) const { return Days() - other.Days(); }

  std::string Dtos() const;      // "20200630"; blank: 8 blanks
  std::string ToDmy() const;     // "30/06/2020"; blank: "  /  /    "
  std::string ToDmy2() const;    // "30/06/20"; blank: "  /  /  "

  friend constexpr bool operator==(const Date&, const Date&) = default;
  friend constexpr std::strong_ordering operator<=>(const Date&, const Date&) = default;

  static bool IsLeapYear(int year);
  static int DaysInMonth(int year, int month);

 private:
  constexpr Date(int y, int m, int d) : year_(y), month_(m), day_(d) {}
  int year_ = 0, month_ = 0, day_ = 0;  // members in this order: ordering by value works
};

std::ostream& operator<<(std::ostream& os, const Date& d);

// A month of a year (the base-year months of the carnê-leão, SELIC periods).
class YearMonth {
 public:
  // nullopt unless 1 <= month <= 12 and 1 <= year <= 9999.
  static std::optional<YearMonth> Of(int year, int month);
  static YearMonth Of(const Date& d);  // d must be a real date

  constexpr int year() const { return year_; }
  constexpr int month() const { return month_; }
  YearMonth AddMonths(int n) const;
  // this - other in months.
  int MonthsSince(const YearMonth& other) const {
    return (year_ - other.year_) * 12 + (month_ - other.month_);
  }
  Date FirstDay() const;
  Date LastDay() const;
  int Days() const { return Date::DaysInMonth(year_, month_); }
  std::string ToString() const;  // "2019-03"

  friend constexpr bool operator==(const YearMonth&, const YearMonth&) = default;
  friend constexpr std::strong_ordering operator<=>(const YearMonth&, const YearMonth&) = default;

 private:
  constexpr YearMonth(int y, int m) : year_(y), month_(m) {}
  int year_ = 2000, month_ = 1;
};

}  // namespace dodu::core

#endif  // DODU_CORE_DATE_H_
