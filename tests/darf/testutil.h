// Fixtures of the DARF tests: a declaration with three quotas, a SELIC register
// for 2020, fixed dates, and the golden print files under tests/darf/golden.
#ifndef DODU_TESTS_DARF_TESTUTIL_H_
#define DODU_TESTS_DARF_TESTUTIL_H_

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/decimal.h"
#include "core/variables.h"
#include "darf/darf.h"
#include "golden_bytes.h"
#include "platform/testutil.h"
#include "tax/selic.h"

namespace dodu::darf::testing {

inline Date D(int y, int m, int d) { return *Date::FromYmd(y, m, d); }
inline Decimal Dec(const char* text) { return *Decimal::Parse(text); }

// The day the tests run on: the register below is current.
inline Date Today() { return D(2020, 12, 10); }

// January to November 2020.
inline std::vector<tax::SelicRow> Selic2020() {
  const char* rates[] = {"0.38", "0.29", "0.34", "0.28", "0.24", "0.21",
                         "0.19", "0.16", "0.16", "0.16", "0.15"};
  std::vector<tax::SelicRow> rows;
  for (int m = 1; m <= 11; ++m) rows.push_back({*core::YearMonth::Of(2020, m), Dec(rates[m - 1])});
  return rows;
}

// The declaration's values the lookups read.
inline core::VariableMap DeclarationVars() {
  core::VariableMap v;
  v.Declare("I13_37", Dec("1000.00"));
  v.Declare("QTD_QUOTA", Decimal::FromInt(3));
  v.Declare("I13_23", Dec("10000.00"));
  v.Declare("DECFINAL", std::string("N"));
  v.Declare("DEBITAUT", std::string("N"));
  return v;
}

inline DarfSources Sources(const core::Variables& vars) {
  DarfSources s;
  s.vars = &vars;
  s.quota_dates = {D(2020, 6, 30), D(2020, 7, 31), D(2020, 8, 31), D(2020, 9, 30),
                   D(2020, 10, 30), D(2020, 11, 30), D(2020, 12, 30), D(2021, 1, 29)};
  s.deadline = D(2020, 6, 30);
  s.holder_cpf = "12345678909";
  return s;
}

// A DARF of the holder as PREP_DARF starts it.
inline Darf HolderDarf(Kind kind, const Date& payment) {
  Darf d;
  d.kind = kind;
  d.cpf_cnpj = "12345678909";
  d.name = "MARIA DA SILVA SOUZA";
  d.phone = "987654321";
  d.payment = payment;
  return d;
}

// Compares `actual` with tests/darf/golden/<name> (DODU_UPDATE_GOLDEN=1 rewrites it).
inline void ExpectGolden(const std::string& name, const std::string& actual) {
  ::dodu::testing::ExpectGoldenBytes("darf", name, actual);
}

}  // namespace dodu::darf::testing

#endif  // DODU_TESTS_DARF_TESTUTIL_H_
