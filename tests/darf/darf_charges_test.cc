#include <gtest/gtest.h>

#include "darf/darf.h"
#include "darf/darf_texts.h"
#include "darf/testutil.h"


namespace dodu::darf {
namespace {

using testing::D;
using testing::Dec;

struct ChargeCase {
  const char* what;
  Kind kind;
  int number;
  Decimal principal;  // typed (free DARF) or the declaration's quota
  Date due;           // free DARF only
  Date payment;
  Decimal fine_rate, fine, interest_rate, interest, total;
  const char* valid_word;
  Date valid_date;
};

TEST(CalcJuTest, FineAndInterestByPaymentDate) {
  const ChargeCase cases[] = {
      {"quota 1 on its due date", Kind::kQuota, 1, Dec("1000.00"), {}, D(2020, 6, 30), Dec("0"),
       Dec("0"), Dec("0"), Dec("0"), Dec("1000.00"), "dia", D(2020, 6, 30)},
      {"quota 2 before its due date carries July's 1 %", Kind::kQuota, 2, Dec("1000.00"), {},
       D(2020, 7, 15), Dec("0"), Dec("0"), Dec("1"), Dec("10.00"), Dec("1010.00"), "ate",
       D(2020, 7, 31)},
      {"quota 2 four days late", Kind::kQuota, 2, Dec("1000.00"), {}, D(2020, 8, 4), Dec("1.32"),
       Dec("13.20"), Dec("1.19"), Dec("11.90"), Dec("1025.10"), "dia", D(2020, 8, 4)},
      {"late within the due month: fine only", Kind::kFree, 1, Dec("500.00"), D(2020, 8, 10),
       D(2020, 8, 20), Dec("3.30"), Dec("16.50"), Dec("0"), Dec("0"), Dec("516.50"), "dia",
       D(2020, 8, 20)},
      {"late across months: fine and 1 %", Kind::kFree, 1, Dec("1000.00"), D(2020, 8, 31),
       D(2020, 10, 5), Dec("11.55"), Dec("115.50"), Dec("1.16"), Dec("11.60"), Dec("1127.10"),
       "dia", D(2020, 10, 5)},
      {"fine at the 20 % cap: valid to the month's last business day", Kind::kFree, 1,
       Dec("600.00"), D(2019, 12, 30), D(2020, 12, 1), Dec("20"), Dec("120.00"), Dec("3.56"),
       Dec("21.36"), Dec("741.36"), "ate", D(2020, 12, 30)},
      {"due date inside the payment month: valid only to the due date", Kind::kFree, 1,
       Dec("100.00"), D(2020, 9, 15), D(2020, 9, 1), Dec("0"), Dec("0"), Dec("0"), Dec("0"),
       Dec("100.00"), "ate", D(2020, 9, 15)},
  };
  const core::VariableMap vars = testing::DeclarationVars();
  const DarfSources src = testing::Sources(vars);
  const auto selic = testing::Selic2020();
  for (const ChargeCase& c : cases) {
    SCOPED_TRACE(c.what);
    Darf d = testing::HolderDarf(c.kind, c.payment);
    d.number = d.first = d.last = c.number;
    if (c.kind == Kind::kFree) {
      d.principal = c.principal;
      d.due = c.due;
    }
    ASSERT_TRUE(BusImpo(d, src, Mode::kSilent).found);
    ASSERT_OK(CalcJu(d, selic, testing::Today()));
    EXPECT_EQ(d.principal, c.principal);
    EXPECT_EQ(d.fine_rate, c.fine_rate);
    EXPECT_EQ(d.fine, c.fine);
    EXPECT_EQ(d.interest_rate, c.interest_rate);
    EXPECT_EQ(d.interest, c.interest);
    EXPECT_EQ(d.total, c.total);
    const ValidUntil v = ValidUntilOf(d);
    EXPECT_EQ(v.word, c.valid_word);
    EXPECT_EQ(v.date, c.valid_date);
  }
}

// Fault: fine and interest were kept unrounded and the total was their exact
// sum, so the printed fine (0,50), interest (1,51) and principal (150,50) added
// up to 152,51 while the slip's total showed 152,50.
TEST(CalcJuTest, TotalIsTheSumOfTheRoundedParts) {
  const core::VariableMap vars = testing::DeclarationVars();
  Darf d = testing::HolderDarf(Kind::kFree, D(2020, 9, 1));
  d.principal = Dec("150.50");
  d.due = D(2020, 8, 31);
  ASSERT_TRUE(BusImpo(d, testing::Sources(vars), Mode::kSilent).found);
  ASSERT_OK(CalcJu(d, testing::Selic2020(), testing::Today()));
  EXPECT_EQ(d.fine, Dec("0.50"));
  EXPECT_EQ(d.interest, Dec("1.51"));
  EXPECT_EQ(d.total, Dec("152.51"));
}

TEST(CalcJuTest, MissingSelicMonthFailsAndLeavesTheDarf) {
  const core::VariableMap vars = testing::DeclarationVars();
  Darf d = testing::HolderDarf(Kind::kFree, D(2021, 2, 10));
  d.principal = Dec("100.00");
  d.due = D(2020, 11, 30);
  ASSERT_TRUE(BusImpo(d, testing::Sources(vars), Mode::kSilent).found);
  const Status s = CalcJu(d, testing::Selic2020(), testing::Today());
  EXPECT_EQ(s.code(), StatusCode::kNotFound);
  EXPECT_TRUE(d.total.IsZero());
}

// Fault: the "VALOR INFERIOR R$ 10,00 - NAO PAGAR" lines were decided on the
// principal, so a 9,95 quota paid late (total 10,71) was marked not to be paid.
TEST(BelowMinimumTest, DecidedOnTheTotal) {
  struct Case {
    const char* what;
    Decimal quota;
    Date payment;
    bool below;
  } cases[] = {
      {"8,00 on time", Dec("8.00"), D(2020, 6, 30), true},
      {"9,95 with fine and interest", Dec("9.95"), D(2020, 7, 20), false},
      {"10,00 on time", Dec("10.00"), D(2020, 6, 30), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    core::VariableMap vars = testing::DeclarationVars();
    vars.SetNumber("I13_37", c.quota);
    const DarfSources src = testing::Sources(vars);
    Darf d = testing::HolderDarf(Kind::kQuota, c.payment);
    ASSERT_TRUE(BusImpo(d, src, Mode::kSilent).found);
    ASSERT_OK(CalcJu(d, testing::Selic2020(), testing::Today()));
    Preenche(d, src);
    EXPECT_EQ(BelowMinimum(d), c.below);
    EXPECT_EQ(d.lines[2].rfind("VALOR INFERIOR R$ 10,00 - NAO PAGAR", 0) == 0, c.below);
  }
}

TEST(LateFilingFineTest, MinimumCapAndMonths) {
  struct Case {
    Decimal tax_due;
    Date payment;
    bool found;
    Decimal fine, uncapped;
    int months;
  } cases[] = {
      {Dec("10000.00"), D(2020, 8, 20), true, Dec("200.00"), Dec("200.00"), 2},
      {Dec("1000.00"), D(2020, 8, 20), true, Dec("165.74"), Dec("20.00"), 2},
      {Dec("500.00"), D(2020, 7, 20), true, Dec("165.74"), Dec("5.00"), 1},
      {Dec("10000.00"), D(2020, 6, 25), false, Dec("0"), Dec("0"), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tax_due.ToString() + " paid " + c.payment.ToDmy());
    core::VariableMap vars = testing::DeclarationVars();
    vars.SetNumber("I13_23", c.tax_due);
    const DarfSources src = testing::Sources(vars);
    Darf d = testing::HolderDarf(Kind::kLateFilingFine, c.payment);
    EXPECT_EQ(BusImpo(d, src, Mode::kSilent).found, c.found);
    ASSERT_OK(CalcJu(d, testing::Selic2020(), testing::Today()));
    EXPECT_EQ(d.principal, c.fine);
    EXPECT_EQ(d.total, c.fine);
    EXPECT_TRUE(d.interest.IsZero() && d.fine.IsZero());
    EXPECT_EQ(d.uncapped_fine, c.uncapped);
    EXPECT_EQ(d.late_months, c.months);
    EXPECT_EQ(d.code, "5320");
    EXPECT_EQ(d.due, D(2020, 6, 30));
  }
}

}  // namespace
}  // namespace dodu::darf
