// The constants of exercise 2020 (base year 2019): the progressive tables, the
// deduction limits and the dollar rates of the base year. They stand here once;
// the declaration menu, the calculation, the carnê-leão and the currency
// converter all read them from here. A later exercise changes this file only.
#ifndef DODU_TAX_EXERCISE_H_
#define DODU_TAX_EXERCISE_H_

#include <array>

#include "core/decimal.h"

namespace dodu::tax {

using core::Decimal;
using namespace core::literals;

inline constexpr int kExerciseYear = 2020;  // NANOATUAL
inline constexpr int kBaseYear = 2019;

// Annual progressive table: the upper limits of the first four bands
// (NBASEAN1..4) and the amount deducted in bands 2 to 5 (NDEDUAN1..4). The rates
// are 0, 7.5, 15, 22.5 and 27.5 %.
inline constexpr std::array<Decimal, 4> kAnnualBandLimit = {"22847.76"_dec, "33919.80"_dec,
                                                            "45012.60"_dec, "55976.16"_dec};
inline constexpr std::array<Decimal, 4> kAnnualBandDeduction = {"1713.58"_dec, "4257.57"_dec,
                                                                "7633.51"_dec, "10432.32"_dec};
// The rate of each band, in percent (band 1 exempt).
inline constexpr std::array<Decimal, 5> kBandRate = {"0"_dec, "7.5"_dec, "15"_dec, "22.5"_dec,
                                                     "27.5"_dec};

// Monthly table (NBASEME1..4, NDEDUME1..4). The tables of the base year were
// the same all year: one value per band stands for the pair.
inline constexpr std::array<Decimal, 4> kMonthlyBandLimit = {"1903.99"_dec, "2826.66"_dec,
                                                             "3751.06"_dec, "4664.68"_dec};
inline constexpr std::array<Decimal, 4> kMonthlyBandDeduction = {"142.80"_dec, "354.80"_dec,
                                                                 "636.13"_dec, "869.36"_dec};
// Amounts deducted per month for accumulated income, with three places
// (NDEDURRA1..4).
inline constexpr std::array<Decimal, 4> kRraBandDeduction = {"142.798"_dec, "354.798"_dec,
                                                             "636.126"_dec, "869.360"_dec};

inline constexpr Decimal kDependantPerYear = "2275.08"_dec;    // NVALDEPANO
inline constexpr Decimal kDependantPerMonth = "189.59"_dec;    // NVALDEPEN
inline constexpr Decimal kEducationLimit = "3561.50"_dec;      // NVALESCOL, per person
inline constexpr Decimal kPensionExemptMonth = "1903.98"_dec;  // NVALAPOSE, aged 65 or more
inline constexpr Decimal kPensionExemptYear = "24751.74"_dec;  // NVALAPOSA
inline constexpr Decimal kSimplifiedLimit = "16754.34"_dec;    // NDESCPRAD
inline constexpr Decimal kDomesticInssLimit = "1200.32"_dec;   // NMAXINSS

// Rates of the annual calculation, as fractions.
inline constexpr Decimal kSimplifiedRate = "0.20"_dec;          // the simplified discount
inline constexpr Decimal kPrivatePensionRate = "0.12"_dec;      // private pension, of the income
inline constexpr Decimal kIncentiveRate = "0.06"_dec;           // incentive donations, of the tax
inline constexpr Decimal kDirectDonationFundRate = "0.03"_dec;  // each fund, in the declaration
inline constexpr Decimal kProgrammeDonationRate = "0.01"_dec;   // codes 45 and 46, each

// Pensions of persons aged 65 or more: the age, on the last day of the base
// year, and the months of the exemption (twelve and the thirteenth salary).
inline constexpr int kPensionExemptAge = 65;
inline constexpr int kPensionExemptMonths = 13;
// The most a dependant of relationship code 31 may receive and stay one.
inline constexpr Decimal kDependantIncomeLimit = "22847.76"_dec;
inline constexpr int kDependantIncomeLimitCode = 31;

// Dollar rate of each month of the base year (TAB_DOLAR), January first.
inline constexpr std::array<Decimal, 12> kDollarRate = {
    "3.6519"_dec, "3.7385"_dec, "3.8967"_dec, "3.9453"_dec, "3.9407"_dec, "3.8322"_dec,
    "3.7649"_dec, "4.1385"_dec, "4.1644"_dec, "4.0041"_dec, "4.2240"_dec, "4.0307"_dec};

}  // namespace dodu::tax

#endif  // DODU_TAX_EXERCISE_H_
