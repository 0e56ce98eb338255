// Small builders for the annual calculation's tests: a declaration's variables
// with every name the calculation reads and writes, and work-copy rows holding
// only the fields a case sets.
#ifndef DODU_TESTS_TAX_ANNUAL_FIXTURE_H_
#define DODU_TESTS_TAX_ANNUAL_FIXTURE_H_

#include <cstdio>
#include <deque>
#include <initializer_list>
#include <string>
#include <utility>

#include "core/variables.h"
#include "tax/annual_rows.h"

namespace dodu::tax::testing {

using core::Decimal;
using namespace core::literals;

inline std::string Field2(const char* prefix, int n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%s%02d", prefix, n);
  return buf;
}

// The declaration variables: every summary line and figure at zero, the model
// simplified ("S") unless a case changes it.
inline core::VariableMap DeclarationVariables() {
  core::VariableMap v;
  for (int n = 1; n <= 51; ++n) v.Declare(Field2("I13_", n), Decimal());
  for (int n = 1; n <= 24; ++n) v.Declare(Field2("I3_", n), Decimal());
  for (int n = 1; n <= 12; ++n) v.Declare(Field2("I4_", n), Decimal());
  for (const char* name :
       {"DESPADRAO", "DESPDECLA", "EXGSUSP", "IMPPGRE", "IR_EXTER", "CARNEINSS", "CARNEDEPEN",
        "I9_2",      "I13_1C",    "I13_2C",  "I13_3C",  "I13_4C",   "I13_5C",    "I13_11T",
        "I13_13T",   "I13_14D",   "I13_22C", "I13_22T", "I13_22P",  "I13_34A",   "I13_34B",
        "NFUNPRESP", "DESPSIMP",  "NCOMPL",  "NSIMPL",  "DESCON",   "LIMMAX"}) {
    v.Declare(name, Decimal());
  }
  v.Declare("USAPADRAO", std::string("S"));
  v.Declare("DECFINAL", std::string(" "));
  v.Declare("DECSAIDA", std::string(" "));
  v.Declare("CGCPAGADOR", std::string(18, ' '));
  for (const char* name : {"DATAPARTI", "DATALAVRA", "DATASAIDA", "DATADECIS", "NASCIMENTO"}) {
    v.Declare(name, core::Date());
  }
  return v;
}

// A field of a row: a number, a text or a date.
struct Cell {
  Cell(const char* n, const char* text) : name(n), value(std::string(text)) {}
  Cell(const char* n, Decimal d) : name(n), value(d) {}
  Cell(const char* n, int i) : name(n), value(Decimal::FromInt(i)) {}
  Cell(const char* n, core::Date d) : name(n), value(d) {}
  const char* name;
  core::Value value;
};

// Rows that stay where they are while the test holds pointers to them.
class Rows {
 public:
  Rows() = default;
  Rows(const Rows&) = delete;
  Rows& operator=(const Rows&) = delete;

  Rows& Income(std::initializer_list<Cell> cells) { return Add(rows_.income, cells); }
  Rows& Person(std::initializer_list<Cell> cells) { return Add(rows_.people, cells); }
  Rows& Payment(std::initializer_list<Cell> cells) { return Add(rows_.payments, cells); }
  Rows& Asset(std::initializer_list<Cell> cells) { return Add(rows_.assets, cells); }
  Rows& Debt(std::initializer_list<Cell> cells) { return Add(rows_.debts, cells); }
  // A payment of `code` for person `who` (0 the titular).
  Rows& Pay(int code, Decimal paid, Decimal not_deductible = Decimal(), int who = 0) {
    return Payment({{"I6_3", code}, {"I6_4", paid}, {"I6_5", not_deductible}, {"I6_6", who}});
  }
  Rows& Dependant(int code = 11) { return Person({{"CODIDEPEN", code}}); }
  const DeclarationRows& view() const { return rows_; }

 private:
  Rows& Add(std::vector<const core::Variables*>& to, std::initializer_list<Cell> cells) {
    core::VariableMap& row = store_.emplace_back();
    for (const Cell& c : cells) row.Declare(c.name, c.value);
    to.push_back(&row);
    return *this;
  }
  std::deque<core::VariableMap> store_;
  DeclarationRows rows_;
};

}  // namespace dodu::tax::testing

#endif  // DODU_TESTS_TAX_ANNUAL_FIXTURE_H_
