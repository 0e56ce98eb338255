// Fixtures shared by the tax tests: declaration variables declared as the
// catalogue types them, SELIC registers, dates.
#ifndef DODU_TESTS_TAX_TESTUTIL_H_
#define DODU_TESTS_TAX_TESTUTIL_H_

#include <initializer_list>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/decimal.h"
#include "core/variables.h"
#include "tax/selic.h"

namespace dodu::tax::testing {

inline core::Date D(int y, int m, int d) { return *core::Date::FromYmd(y, m, d); }
inline core::Decimal Dec(const char* text) { return *core::Decimal::Parse(text); }

// Numbers declared at 0.
inline void DeclareNumbers(core::VariableMap& vars, std::initializer_list<const char*> names) {
  for (const char* n : names) vars.Declare(n, core::Decimal());
}

// The variables the carnê-leão reads and writes, at their empty values:
// fill mode 1, SO_REC true, TIPO_PF blank.
inline core::VariableMap CarneVars() {
  core::VariableMap v;
  for (int k = 1; k <= 7; ++k) {
    for (int m = 1; m <= 13; ++m) {
      v.Declare("I2_" + std::to_string(k) + (m < 10 ? "0" : "") + std::to_string(m),
                core::Decimal());
    }
  }
  v.Declare("CAL_AUTO", core::Decimal::FromInt(1));
  v.Declare("SO_REC", true);
  v.Declare("TIPO_PF", std::string(" "));
  DeclareNumbers(
      v, {"TOTTRABT", "TOTALUGT", "TOTOUTRT", "TOTTRABD", "TOTALUGD", "TOTOUTRD", "CARNEINSS",
          "CARNEDEPEN", "I13_03", "I13_04", "I13_18", "I13_29", "I13_30", "I13_49", "I13_50"});
  return v;
}

// Monthly SELIC rates of 2019 and 2020, per cent.
inline std::vector<SelicRow> Selic2019To2020() {
  const char* const rates[] = {"0.54", "0.49", "0.47", "0.52", "0.54", "0.47", "0.57", "0.50",
                               "0.46", "0.48", "0.38", "0.37", "0.38", "0.29", "0.34", "0.28",
                               "0.24", "0.21", "0.19", "0.16", "0.16", "0.16", "0.15", "0.16"};
  std::vector<SelicRow> rows;
  for (int i = 0; i < 24; ++i) {
    rows.push_back({*core::YearMonth::Of(2019 + i / 12, i % 12 + 1), Dec(rates[i])});
  }
  return rows;
}

}  // namespace dodu::tax::testing

#endif  // DODU_TESTS_TAX_TESTUTIL_H_
