#include "tax/annual_table.h"

#include <gtest/gtest.h>

#include "annual_fixture.h"

namespace dodu::tax {
namespace {

using namespace core::literals;
using testing::DeclarationVariables;

core::Date D(int y, int m, int d) { return *core::Date::FromYmd(y, m, d); }

struct TaxCase {
  Decimal base, want;
};

TEST(AnnualTableTest, AnnualTableBandsAndTruncation) {
  const TaxCase cases[] = {
      {"0"_dec, "0"_dec},
      {"-10"_dec, "0"_dec},
      {"22847.76"_dec, "0"_dec},     // the exempt band's limit
      {"22847.77"_dec, "0.00"_dec},  // truncate(1,713.58275 - 1,713.58)
      {"33919.80"_dec, "830.40"_dec},
      {"38000.00"_dec, "1442.43"_dec},
      {"40000.00"_dec, "1742.43"_dec},
      {"60000.00"_dec, "6067.68"_dec},
      {"83245.66"_dec, "12460.23"_dec},  // 22,892.5565 - 10,432.32 cut
      {"100235.00"_dec, "17132.30"_dec},
  };
  for (const TaxCase& c : cases) EXPECT_EQ(AnnualTax(c.base), c.want) << c.base;
}

TEST(AnnualTableTest, MonthlyTableStartsAbove1903_99) {
  const TaxCase cases[] = {
      {"1903.98"_dec, "0"_dec},
      {"1903.99"_dec, "0"_dec},
      {"2000.00"_dec, "7.20"_dec},
      {"5000.00"_dec, "505.64"_dec},
  };
  for (const TaxCase& c : cases) EXPECT_EQ(MonthlyTax(c.base), c.want) << c.base;
}

struct PartYearCase {
  Decimal base;
  int months;
  Decimal want;
};

TEST(AnnualTableTest, PartYearTableMultipliesTheMonthlyBands) {
  const PartYearCase cases[] = {
      // A partition in June: limits and deductions of the monthly table x 6.
      {"30000.00"_dec, 6, "3033.84"_dec},   // 8,250.00 - 6 x 869.36
      {"11423.94"_dec, 6, "0"_dec},         // 6 x 1,903.99
      {"12000.00"_dec, 6, "43.20"_dec},     // 900.00 - 856.80
      {"60000.00"_dec, 12, "6067.68"_dec},  // twelve months: 10,432.32 as the annual table
      {"60000.00"_dec, 0, "6067.68"_dec},   // no month counts as the year
  };
  for (const PartYearCase& c : cases) {
    EXPECT_EQ(PartYearTax(c.base, c.months), c.want) << c.base << " " << c.months;
  }
}

TEST(AnnualTableTest, PartYearTableNeverNegative) {
  // Fault: just above n x 1,903.99 the cut product falls short of n x 142.80
  // and the table answered -0.01.
  EXPECT_EQ(PartYearTax("11423.95"_dec, 6), "0"_dec);
  EXPECT_EQ(PartYearTax("1903.995"_dec, 1), "0"_dec);
}

TEST(AnnualTableTest, RraMonthlyTaxKeepsSixPlaces) {
  const TaxCase cases[] = {
      {"1903.99"_dec, "0"_dec},
      {"3000"_dec, "95.202"_dec},             // 450.000000 - 354.798
      {"5000.123456"_dec, "505.673950"_dec},  // 1,375.033950 - 869.360
      {"2000.000001"_dec, "7.202"_dec},       // 150.000000 (rounded) - 142.798
  };
  for (const TaxCase& c : cases) EXPECT_EQ(RraMonthlyTax(c.base), c.want) << c.base;
}

struct MonthsCase {
  const char* name;
  const char* final_flag;
  const char* exit_flag;
  core::Date partition, deed, exit, start;
  bool part_year;
  int months;
  bool warns;
};

TEST(AnnualTableTest, PartYearMonthsOfFinalAndExitDeclarations) {
  const core::Date blank;
  const MonthsCase cases[] = {
      {"regular", " ", " ", blank, blank, blank, blank, false, 12, false},
      {"final, partition in June", "S", " ", D(2019, 6, 10), D(2019, 3, 1), blank, blank, true, 6,
       false},
      {"final, deed only", "S", " ", blank, D(2019, 3, 1), blank, blank, true, 3, false},
      {"final, no date", "S", " ", blank, blank, blank, blank, true, 12, true},
      {"exit in August", " ", "S", blank, blank, D(2019, 8, 20), blank, true, 8, false},
      {"exit, start in March", " ", "S", blank, blank, D(2019, 8, 20), D(2019, 3, 5), true, 6,
       false},
      {"exit, start the year before", " ", "S", blank, blank, D(2019, 8, 20), D(2018, 11, 5), true,
       8, false},
      {"exit, start after exit", " ", "S", blank, blank, D(2019, 2, 20), D(2019, 5, 5), true, 1,
       false},
      {"exit, no date", " ", "S", blank, blank, blank, blank, true, 12, true},
  };
  for (const MonthsCase& c : cases) {
    core::VariableMap v = DeclarationVariables();
    v.SetText("DECFINAL", c.final_flag);
    v.SetText("DECSAIDA", c.exit_flag);
    v.SetDate("DATAPARTI", c.partition);
    v.SetDate("DATALAVRA", c.deed);
    v.SetDate("DATASAIDA", c.exit);
    v.SetDate("DATADECIS", c.start);
    PartYearMonths m = PartYearMonthsOf(v);
    EXPECT_EQ(m.part_year, c.part_year) << c.name;
    EXPECT_EQ(m.months, c.months) << c.name;
    EXPECT_EQ(!m.warning.empty(), c.warns) << c.name;
    if (c.warns) {
      EXPECT_EQ(m.warning.back(), "O cálculo apresentado corresponde ao mês 12") << c.name;
    }
  }
}

}  // namespace
}  // namespace dodu::tax
