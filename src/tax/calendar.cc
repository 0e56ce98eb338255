#include "tax/calendar.h"

#include "tax/exercise.h"

namespace dodu::tax {
namespace {

constexpr int kSunday = 0;
constexpr int kSaturday = 6;

struct DayMonth {
  int day, month;
};
constexpr DayMonth kFixedHolidays[] = {{1, 1},   {21, 4}, {1, 5},   {7, 9},
                                       {12, 10}, {2, 11}, {15, 11}, {25, 12}};
// Days from Easter Sunday: Carnival Monday and Tuesday, Good Friday, Corpus
// Christi.
constexpr int kEasterOffsets[] = {-48, -47, -2, 60};

bool IsNewYearsEve(const Date& d) { return d.month() == 12 && d.day() == 31; }

}  // namespace

Date EasterSunday(int year) {
  // Anonymous Gregorian algorithm (Meeus/Jones/Butcher).
  int a = year % 19;
  int b = year / 100, c = year % 100;
  int d = b / 4, e = b % 4;
  int f = (b + 8) / 25;
  int g = (b - f + 1) / 3;
  int h = (19 * a + b - d - g + 15) % 30;
  int i = c / 4, k = c % 4;
  int l = (32 + 2 * e + 2 * i - h - k) % 7;
  int m = (a + 11 * h + 22 * l) / 451;
  int month = (h + l - 7 * m + 114) / 31;
  int day = (h + l - 7 * m + 114) % 31 + 1;
  return *Date::FromYmd(year, month, day);
}

bool IsNationalHoliday(const Date& d) {
  for (const DayMonth& h : kFixedHolidays) {
    if (d.day() == h.day && d.month() == h.month) return true;
  }
  // Every movable holiday falls between February and June.
  if (d.month() < 2 || d.month() > 6) return false;
  const Date easter = EasterSunday(d.year());
  for (int offset : kEasterOffsets) {
    if (d == easter.AddDays(offset)) return true;
  }
  return false;
}

bool IsBusinessDay(const Date& d) {
  const int wd = d.Weekday();
  return wd != kSunday && wd != kSaturday && !IsNationalHoliday(d) && !IsNewYearsEve(d);
}

Date UltimoDia(int month, int year, int offset) {
  int next = month + offset;  // the month whose first day follows the answer
  int y = year + (next - 1) / 12;
  int m = (next - 1) % 12 + 1;
  Date d = Date::FromYmd(y, m, 1)->AddDays(-1);
  // 31 December is no business day, so the walk back covers the December rule:
  // it steps back from 31 December only, never from an earlier December day.
  while (!IsBusinessDay(d)) d = d.AddDays(-1);
  return d;
}

Date MesAnter(int month) { return UltimoDia(month, kBaseYear, 1); }

Date ProxDia(const Date& date) {
  Date d = date.AddDays(1);
  while (!IsBusinessDay(d)) d = d.AddDays(1);
  return d;
}

Date DfPagto(const Date& today) { return UltimoDia(today.month(), today.year(), 1); }

}  // namespace dodu::tax
