// The exemption of pensions of persons aged 65 or more on an income line
// (LIMIT3) and on a cumulative-income line: who may use it, its limit in the
// year and the part of a typed value that stays exempt. The entry screen asks
// the questions; this file decides and words them (UTF-8; the screen converts
// to code page 850).
#ifndef DODU_TAX_ANNUAL_PENSION65_H_
#define DODU_TAX_ANNUAL_PENSION65_H_

#include <string>
#include <vector>

#include "core/date.h"
#include "core/decimal.h"

namespace dodu::tax {

using core::Decimal;

// The calendar age on 31 December of the base year: born 31/12/1954 is 65.
// -1 for a blank date.
int AgeAtEndOfBaseYear(const core::Date& birth);

// The exemption limit of a person aged 65 or more: 24,751.74, or, for one who
// turned 65 during the base year, 1,903.98 x (14 - month of birth) (December
// and the thirteenth salary count). `birth` must be a real date.
Decimal PensionExemptLimit(const core::Date& birth);
// True when the person turned 65 during the base year.
bool Turned65InBaseYear(const core::Date& birth);

struct PensionExemptInput {
  bool dependant = false;  // a dependant's line
  core::Date birth;        // NASCIMENTO or the dependant's DATADEPEN
  int relationship = 0;    // the dependant's CODIDEPEN
  std::string cpf;         // the dependant's CPF (for the message)
  std::string occupation;  // the titular's CODAT
  Decimal value;           // typed in the 65+ column
  Decimal other_lines;     // the same person's 65+ amounts on other lines
  Decimal taxable;         // I1_4 of the line
};

enum class PensionExemptOutcome {
  kAllowed,           // within the limit: the value stays
  kNoBirthDate,       // a dependant without birth date: refused, value kept in edit
  kUnder65,           // refused, value 0
  kDependantRefused,  // a dependant of code 31 above the dependant's income limit, value 0
  kExcess,            // above the limit: ask whether to add the excess to I1_4
};

struct PensionExemptCheck {
  PensionExemptOutcome outcome = PensionExemptOutcome::kAllowed;
  // The titular's occupation is not "61": ask `occupation_question` first; no
  // sets the value to 0.
  bool ask_occupation = false;
  std::vector<std::string> occupation_question;
  Decimal limit;
  Decimal allowed;                   // what the column keeps: the value, or limit - other lines
  Decimal excess;                    // what goes beyond the limit (kExcess)
  std::vector<std::string> message;  // the refusal or the question
};

PensionExemptCheck CheckPensionExempt(const PensionExemptInput& in);

// The 65+ amount (I1_17) of a cumulative-income line taxed in the adjustment.
enum class RraPensionOutcome {
  kKeep,               // within the month's exemption
  kSwitchToExclusive,  // with the company lines' amounts above the year's limit: TIPOCR := "N"
  kAsk,                // above 1,903.98: yes moves the excess into I1_4 and keeps 1,903.98, no
                       // switches the line to "N"
};
struct RraPensionCheck {
  RraPensionOutcome outcome = RraPensionOutcome::kKeep;
  Decimal kept;                      // the exemption the line keeps when the answer is yes
  Decimal excess;                    // what moves into I1_4 then
  std::vector<std::string> message;  // the notice or the question
};
// `amount`: the line's I1_17; `company_lines`: the 65+ amounts of the company
// lines ("J") of the same holder flag I1_11.
RraPensionCheck CheckRraPensionExempt(const Decimal& amount, const Decimal& company_lines);

}  // namespace dodu::tax

#endif  // DODU_TAX_ANNUAL_PENSION65_H_
