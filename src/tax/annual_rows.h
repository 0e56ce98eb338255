// The work-copy rows the annual calculation reads, and the row fields it
// recomputes. Each row is a core::Variables under the field names of its table
// (income lines of table 02, people of table 03, assets of table 04, debts of
// table 05, payments of table 06); a field the row lacks reads as zero or
// blank. The rows are only read: what the calculation would change in them is
// returned as RowChange values, which the caller writes into the work copy
// under the record lock.
#ifndef DODU_TAX_ANNUAL_ROWS_H_
#define DODU_TAX_ANNUAL_ROWS_H_

#include <cstddef>
#include <string>
#include <vector>

#include "core/variables.h"

namespace dodu::tax {

// Views, not owners: the rows outlive the call that reads them.
struct DeclarationRows {
  std::vector<const core::Variables*> income;    // table 02 (I1_...)
  std::vector<const core::Variables*> people;    // table 03: dependants, alimony, heirs
  std::vector<const core::Variables*> assets;    // table 04 (I7_...)
  std::vector<const core::Variables*> debts;     // table 05 (I8_...)
  std::vector<const core::Variables*> payments;  // table 06 (I6_...)
};

enum class RowTable { kIncome, kPeople, kPayments };

// One field of one row (its position in the matching DeclarationRows vector)
// to be written.
struct RowChange {
  RowTable table;
  size_t row;
  std::string field;
  core::Value value;
  friend bool operator==(const RowChange&, const RowChange&) = default;
};

// People codes (CODIDEPEN): below 98 a dependant, 98 and 99 alimony
// recipients, 100 an heir.
inline constexpr int kFirstAlimonyCode = 98;
inline constexpr int kHeirCode = 100;

// Payment codes (I6_3) the calculation groups.
namespace payment {
inline constexpr int kEducation = 1, kEducationAbroad = 2;
inline constexpr int kEducationLast = 6;  // 1..6 get their I6_5 from the education limit
inline constexpr int kMedicalFirst = 8, kMedicalLast = 26;
inline constexpr int kCourtAlimony = 30, kCourtAlimonyAbroad = 31;
inline constexpr int kDeedAlimony = 33, kDeedAlimonyAbroad = 34;
inline constexpr int kPrivatePension = 36, kFunpresp = 37, kPrivatePensionFapi = 38;
inline constexpr int kChildrenFundDirect = 39, kElderlyFundDirect = 49;
inline constexpr int kIncentiveFirst = 40, kIncentiveLast = 44;
inline constexpr int kProgrammeA = 45, kProgrammeB = 46;
inline constexpr int kBrokers = 72;  // subtracted from the declared expenses
inline constexpr int kIgnoredFirst = 91, kIgnoredLast = 97;
}  // namespace payment

}  // namespace dodu::tax

#endif  // DODU_TAX_ANNUAL_ROWS_H_
