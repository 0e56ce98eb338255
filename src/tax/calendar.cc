#include "tax/calendar.h"

#include "tax/exercise.h"

namespace dodu::tax {
namespace {

constexpr int kSunday = 0;
constexpr int kSaturday = 6;

// Moves a weekend day back to the Friday before.
Date BackOffWeekend(const Date& d) {
  if (d.Weekday() == kSunday) return d.AddDays(-2);
  if (d.Weekday() == kSaturday) return d.AddDays(-1);
  return d;
}

// Moves a weekend day on to the Monday after.
Date OnOffWeekend(const Date& d) {
  if (d.Weekday() == kSunday) return d.AddDays(1);
  if (d.Weekday() == kSaturday) return d.AddDays(2);
  return d;
}

}  // namespace

Date UltimoDia(int month, int year, int offset) {
  int next = month + offset;  // the month whose first day follows the answer
  int y = year + (next - 1) / 12;
  int m = (next - 1) % 12 + 1;
  Date d = BackOffWeekend(Date::FromYmd(y, m, 1)->AddDays(-1));
  if (d.month() == 12) d = BackOffWeekend(d.AddDays(-1));
  return d;
}

Date MesAnter(int month) { return UltimoDia(month, kBaseYear, 1); }

Date ProxDia(const Date& date) {
  Date d = OnOffWeekend(date.AddDays(1));
  if (d.month() == 12 && d.day() == 31) {
    d = OnOffWeekend(*Date::FromYmd(d.year() + 1, 1, 2));
  } else if (d.month() == 5 && d.day() == 1) {
    d = OnOffWeekend(d.AddDays(1));
  }
  return d;
}

Date DfPagto(const Date& today) { return UltimoDia(today.month(), today.year(), 1); }

}  // namespace dodu::tax
