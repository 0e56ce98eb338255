// The SELIC register's checks, proposal and save.
#include "store/selic_register.h"

#include <cctype>
#include <cstdio>

#include "store/rec_lock.h"

namespace dodu::store {
namespace {

Result<core::Decimal> Rate(WorkArea& a) {
  DODU_ASSIGN_OR_RETURN(Record r, a.Current());
  return r.GetNumber("TJM");
}

}  // namespace

bool BUSMES(int month) { return month >= 1 && month <= 12; }
bool BUSANO(int year) { return year >= 1900 && year <= 2099; }

std::optional<std::string> AnoMes(int year, int month) {
  if (!BUSANO(year) || !BUSMES(month)) return std::nullopt;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d%02d", year, month);
  return std::string(buf);
}

std::optional<core::YearMonth> ParseAnoMes(std::string_view text) {
  if (text.size() != 6) return std::nullopt;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
  }
  const int year = std::stoi(std::string(text.substr(0, 4)));
  const int month = std::stoi(std::string(text.substr(4, 2)));
  if (!BUSANO(year) || !BUSMES(month)) return std::nullopt;
  return core::YearMonth::Of(year, month);
}

Result<core::Decimal> ParseRate(std::string_view text) {
  std::string t(text);
  while (!t.empty() && t.front() == ' ') t.erase(t.begin());
  while (!t.empty() && t.back() == ' ') t.pop_back();
  for (char& c : t) {
    if (c == ',') c = '.';
  }
  const auto invalid = [&] { return Status::Invalid("rate '" + std::string(text) + "'"); };
  if (t.empty()) return invalid();
  size_t dot = t.find('.');
  const std::string whole = t.substr(0, dot);
  const std::string frac = dot == std::string::npos ? "" : t.substr(dot + 1);
  if (whole.size() > 3 || frac.size() > 4 || (whole.empty() && frac.empty())) return invalid();
  for (char c : whole + frac) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return invalid();
  }
  std::optional<core::Decimal> d = core::Decimal::Parse(t);
  if (!d) return invalid();
  return *d;
}

Result<std::optional<core::YearMonth>> ProposedMonth(WorkArea& selic) {
  DODU_RETURN_IF_ERROR(selic.Bottom());
  if (selic.eof()) return std::optional<core::YearMonth>();
  // Back over the months without a rate; the first record ends the walk even
  // when no month has one.
  for (;;) {
    DODU_ASSIGN_OR_RETURN(core::Decimal tjm, Rate(selic));
    if (!tjm.IsZero()) break;
    DODU_RETURN_IF_ERROR(selic.Skip(-1));
    if (selic.bof()) {
      DODU_RETURN_IF_ERROR(selic.Top());
      DODU_ASSIGN_OR_RETURN(Record first, selic.Current());
      DODU_ASSIGN_OR_RETURN(std::string am, first.GetTrimmed("ANOMES"));
      return ParseAnoMes(am);
    }
  }
  DODU_RETURN_IF_ERROR(selic.Skip(1));
  if (selic.eof()) DODU_RETURN_IF_ERROR(selic.Bottom());
  DODU_ASSIGN_OR_RETURN(Record r, selic.Current());
  DODU_ASSIGN_OR_RETURN(std::string am, r.GetTrimmed("ANOMES"));
  return ParseAnoMes(am);
}

Result<core::Decimal> RateOf(WorkArea& selic, const core::YearMonth& month) {
  std::optional<std::string> key = AnoMes(month.year(), month.month());
  if (!key) return Status::Invalid("month " + month.ToString());
  DODU_ASSIGN_OR_RETURN(bool found, selic.Seek(*key));
  if (!found) return core::Decimal::FromInt(1);
  return Rate(selic);
}

Status SaveRate(OpenerContext& ctx, WorkArea& selic, const core::YearMonth& month,
                const core::Decimal& rate) {
  std::optional<std::string> key = AnoMes(month.year(), month.month());
  if (!key) return Status::Invalid("month " + month.ToString());
  if (rate < core::Decimal::FromInt(0)) return Status::Invalid("negative rate");
  DODU_RETURN_IF_ERROR(PREP_REG(ctx, selic, *key));
  const RecNo n = selic.recno();
  Status st = [&]() -> Status {
    DODU_ASSIGN_OR_RETURN(Record r, selic.Current());
    DODU_RETURN_IF_ERROR(r.PutText("ANOMES", *key));
    DODU_RETURN_IF_ERROR(r.PutText("SIMB_MOED", "R$  "));
    DODU_RETURN_IF_ERROR(r.PutNumber("TJM", rate));
    return selic.WriteCurrent(r);
  }();
  selic.table().UnlockRecord(n);
  return st;
}

}  // namespace dodu::store
