// Random declarations: the summary's lines keep their identities, and the
// hint of the other model shows exactly when that model's tax is lower.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "annual_fixture.h"
#include "tax/annual_calc.h"
#include "tax/exercise.h"

namespace dodu::tax {
namespace {

using namespace core::literals;
using testing::DeclarationVariables;
using testing::Field2;
using testing::Rows;

class RandomDeclaration {
 public:
  explicit RandomDeclaration(uint32_t seed) : gen_(seed) {}

  Decimal Cents(int64_t max_reais) {
    return Decimal::FromScaled(std::uniform_int_distribution<int64_t>(0, max_reais * 100)(gen_), 2);
  }
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(gen_); }
  Decimal Maybe(int64_t max_reais) { return Pick(3) == 0 ? Cents(max_reais) : Decimal(); }

  void Fill(core::VariableMap& v, Rows& rows) {
    const char* models[] = {"N", "S", " "};
    v.SetText("USAPADRAO", models[Pick(3)]);
    v.SetNumber("I13_03", Maybe(40000));
    v.SetNumber("I13_49", Maybe(30000));
    v.SetNumber("I13_50", Maybe(5000));
    v.SetNumber("I13_18", Maybe(3000));
    v.SetNumber("I13_29", Maybe(2000));
    v.SetNumber("I13_31", Maybe(500));
    v.SetNumber("I13_33", Maybe(100));
    v.SetNumber("IR_EXTER", Maybe(8000));
    v.SetNumber("CARNEINSS", Maybe(1000));
    for (int n = Pick(4); n > 0; --n) {
      rows.Income({{"I1_1", "J"},
                   {"I1_11", "S"},
                   {"I1_4", Cents(150000)},
                   {"I1_5", Cents(25000)},
                   {"I1_6", Cents(8000)},
                   {"I1_7", Maybe(9000)},
                   {"I1_18", Maybe(1000)},
                   {"I1_39", Maybe(500)},
                   {"I1_15", Maybe(3000)}});
    }
    for (int n = Pick(2); n > 0; --n) {
      rows.Income({{"I1_1", "D"},
                   {"I1_11", "N"},
                   {"I1_4", Cents(40000)},
                   {"I1_5", Cents(3000)},
                   {"I1_6", Cents(3000)}});
    }
    if (Pick(3) == 0) {
      rows.Income({{"I1_1", "A"},
                   {"I1_11", Pick(2) ? "S" : "N"},
                   {"TIPOCR", Pick(2) ? "S" : "N"},
                   {"I1_4", Cents(60000)},
                   {"I1_5", Cents(2000)},
                   {"I1_6", Maybe(2000)},
                   {"I1_12", Maybe(1000)},
                   {"I1_17", Maybe(2000)},
                   {"I1_21", Pick(13)},
                   {"I1_36", "03"}});
    }
    int people = Pick(4);
    for (int n = 0; n < people; ++n) rows.Dependant(Pick(3) == 0 ? 99 : 11);
    const int codes[] = {1, 2, 10, 26, 30, 33, 36, 37, 38, 39, 40, 41, 44, 45, 46, 49, 51, 72, 95};
    for (int n = Pick(8); n > 0; --n) {
      int code = codes[Pick(static_cast<int>(std::size(codes)))];
      Decimal paid = Cents(code >= 39 && code <= 49 ? 3000 : 12000);
      Decimal nd = (code == 37 || (code >= 8 && code <= 26)) ? Maybe(6000) : Decimal();
      if (code != 37) nd = std::min(nd, paid);
      rows.Pay(code, paid, nd, Pick(people + 2));
    }
  }

 private:
  std::mt19937 gen_;
};

Decimal Sum(const core::Variables& v, std::initializer_list<int> lines) {
  Decimal total;
  for (int n : lines) total += v.Number(Field2("I13_", n));
  return total;
}

Decimal Range(const core::Variables& v, const char* prefix, int first, int last) {
  Decimal total;
  for (int n = first; n <= last; ++n) total += v.Number(Field2(prefix, n));
  return total;
}

core::VariableMap ComputeAs(const core::VariableMap& start, const Rows& rows, const char* model,
                            AnnualOutcome& out) {
  core::VariableMap v = start;
  if (model) v.SetText("USAPADRAO", model);
  AnnualCalculation calc(v, rows.view());
  calc.Balanco();
  out = calc.Calc(kCalcWhole, 1);
  return v;
}

TEST(AnnualPropertyTest, SummaryIdentitiesAndTheHint) {
  for (uint32_t seed = 1; seed <= 250; ++seed) {
    RandomDeclaration gen(seed);
    core::VariableMap start = DeclarationVariables();
    Rows rows;
    gen.Fill(start, rows);
    AnnualOutcome out;
    core::VariableMap v = ComputeAs(start, rows, nullptr, out);
    const bool complete = v.Text("USAPADRAO") == "N";
    auto L = [&](int n) { return v.Number(Field2("I13_", n)); };
    SCOPED_TRACE("seed " + std::to_string(seed) + " model " + v.Text("USAPADRAO"));

    EXPECT_EQ(L(8), Sum(v, {1, 2, 3, 4, 5, 6, 7, 49, 50}));
    EXPECT_EQ(L(19), Sum(v, {9, 10, 11, 12, 13, 14, 15, 16, 17, 18}));
    EXPECT_LE(L(11), out.figures.private_pension_total);
    EXPECT_LE(L(11), (L(8) * kPrivatePensionRate).Despreza(2));
    EXPECT_EQ(v.Number("DESPADRAO"), std::min((L(8) * "0.2"_dec).Despreza(2), kSimplifiedLimit));
    const Decimal deduction = complete ? L(19) : v.Number("DESPADRAO");
    EXPECT_EQ(L(20), std::max(L(8) - deduction, Decimal()));
    EXPECT_EQ(L(21), AnnualTax(L(20)));
    if (complete) {
      EXPECT_LE(L(22), L(21));
      EXPECT_LE(L(22), (L(21) * "0.08"_dec).RoundHalfAway(2));
      EXPECT_EQ(L(23), L(21) - L(22));
      EXPECT_EQ(L(26), std::max(L(23) + L(25) - L(24), Decimal()));
    } else {
      EXPECT_EQ(L(22), Decimal());
      EXPECT_EQ(L(23), L(21));
      EXPECT_EQ(L(26), L(23) + L(25));
    }
    EXPECT_EQ(L(24), Decimal());
    EXPECT_GE(L(32), Decimal());
    EXPECT_LE(L(32), v.Number("IR_EXTER"));
    EXPECT_EQ(L(35), Sum(v, {27, 28, 29, 30, 31, 32, 33, 34}));
    EXPECT_EQ(L(36) - L(38), L(26) - L(35));
    EXPECT_TRUE(L(36).IsZero() || L(38).IsZero());
    EXPECT_GE(L(36), Decimal());
    EXPECT_GE(L(38), Decimal());
    EXPECT_EQ(v.Number("IMPPGRE"), L(26) - L(35));
    EXPECT_EQ(L(44), Range(v, "I3_", 1, 24));
    EXPECT_EQ(L(45), Range(v, "I4_", 1, 12));

    // The other model, computed on its own.
    AnnualOutcome other_out;
    core::VariableMap other = ComputeAs(start, rows, complete ? "S" : "N", other_out);
    const Decimal complete_tax = complete ? L(23) : other.Number("I13_23");
    const Decimal simplified_tax = complete ? other.Number("I13_21") : L(21);
    EXPECT_EQ(out.figures.complete_tax, complete_tax);
    EXPECT_EQ(out.figures.simplified_tax, simplified_tax);
    if (complete) {
      EXPECT_EQ(out.hint.kind == HintKind::kSimplifiedBetter, simplified_tax < complete_tax);
    } else {
      EXPECT_EQ(out.hint.kind == HintKind::kCompleteBetter, complete_tax < simplified_tax);
    }
    EXPECT_EQ(v.Text("USAPADRAO"), start.Text("USAPADRAO"));
  }
}

}  // namespace
}  // namespace dodu::tax
