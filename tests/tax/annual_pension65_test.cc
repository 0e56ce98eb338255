#include "tax/annual_pension65.h"

#include <gtest/gtest.h>

namespace dodu::tax {
namespace {

using namespace core::literals;

core::Date D(int y, int m, int d) { return *core::Date::FromYmd(y, m, d); }

TEST(AnnualPension65Test, AgeIsTheCalendarAgeOnTheLastDayOfTheYear) {
  // Fault: (31/12/2019 - birth) / 365.25 made a person born on 31/12/1954
  // 64.999 years old, under the limit on the day of the 65th birthday.
  struct Case {
    core::Date birth;
    int age;
  };
  const Case cases[] = {
      {D(1954, 12, 31), 65}, {D(1955, 1, 1), 64},  {D(1954, 1, 1), 65},
      {D(1953, 12, 31), 66}, {D(1952, 2, 29), 67}, {core::Date(), -1},
  };
  for (const Case& c : cases) EXPECT_EQ(AgeAtEndOfBaseYear(c.birth), c.age) << c.birth;
}

TEST(AnnualPension65Test, LimitOfTheYearOfThe65thBirthday) {
  struct Case {
    core::Date birth;
    Decimal limit;
  };
  const Case cases[] = {
      {D(1950, 3, 10), "24751.74"_dec},
      {D(1954, 1, 20), "24751.74"_dec},  // 13 x 1,903.98
      {D(1954, 6, 15), "15231.84"_dec},  // 8 x 1,903.98
      {D(1954, 12, 31), "3807.96"_dec},  // December and the thirteenth
  };
  for (const Case& c : cases) EXPECT_EQ(PensionExemptLimit(c.birth), c.limit) << c.birth;
}

TEST(AnnualPension65Test, CheckOfATypedValue) {
  struct Case {
    const char* name;
    PensionExemptInput in;
    PensionExemptOutcome outcome;
    bool ask_occupation;
    Decimal allowed, excess;
    std::vector<std::string> message;
  };
  auto titular = [](core::Date birth, Decimal value, Decimal others, Decimal taxable,
                    const char* occupation = "61") {
    PensionExemptInput in;
    in.birth = birth;
    in.value = value;
    in.other_lines = others;
    in.taxable = taxable;
    in.occupation = occupation;
    return in;
  };
  auto dependant = [](core::Date birth, int code, Decimal value) {
    PensionExemptInput in;
    in.dependant = true;
    in.birth = birth;
    in.relationship = code;
    in.cpf = "33333333414";
    in.value = value;
    return in;
  };
  const Case cases[] = {
      {"within",
       titular(D(1950, 3, 10), "20000.00"_dec, "0"_dec, "0"_dec),
       PensionExemptOutcome::kAllowed,
       false,
       "20000.00"_dec,
       "0"_dec,
       {}},
      {"other occupation",
       titular(D(1950, 3, 10), "100.00"_dec, "0"_dec, "0"_dec, "11"),
       PensionExemptOutcome::kAllowed,
       true,
       "100.00"_dec,
       "0"_dec,
       {}},
      {"under 65",
       titular(D(1955, 1, 1), "100.00"_dec, "0"_dec, "0"_dec),
       PensionExemptOutcome::kUnder65,
       false,
       "0"_dec,
       "0"_dec,
       {"O contribuinte tem menos de 65 anos", "e não pode usar desse benefício!"}},
      {"above with other lines",
       titular(D(1950, 3, 10), "20000.00"_dec, "10000.00"_dec, "5.00"_dec),
       PensionExemptOutcome::kExcess,
       false,
       "14751.74"_dec,
       "5248.26"_dec,
       {"O limite para esse ano é de R$ 24.751,74 e o excedente",
        "de R$ 5.248,26 deve ser somado ao rendimento tributável",
        "Deseja que o programa faça isso?"}},
      {"turned 65 in June",
       titular(D(1954, 6, 15), "20000.00"_dec, "0"_dec, "0"_dec),
       PensionExemptOutcome::kExcess,
       false,
       "15231.84"_dec,
       "4768.16"_dec,
       {"O limite para esse ano é de R$ 15.231,84 e o excedente",
        "de R$ 4.768,16 deve ser lançado no rendimento tributável",
        "Deseja que o programa faça isso?",
        "Obs. O limite é menor pois o contribuinte fez 65 anos no mês 6"}},
      {"dependant without birth date",
       dependant(core::Date(), 11, "100.00"_dec),
       PensionExemptOutcome::kNoBirthDate,
       false,
       "0"_dec,
       "0"_dec,
       {"Falta data do nascimento do dependente."}},
      {"dependant under 65",
       dependant(D(1960, 1, 1), 11, "100.00"_dec),
       PensionExemptOutcome::kUnder65,
       false,
       "0"_dec,
       "0"_dec,
       {"O dependente tem menos de 65 anos", "e não pode usar desse benefício!"}},
      {"dependant of code 31 above",
       dependant(D(1940, 1, 1), 31, "30000.00"_dec),
       PensionExemptOutcome::kDependantRefused,
       false,
       "0"_dec,
       "0"_dec,
       {"O dependente 33333333414 tem o rendimento maior que",
        "o limite R$ 22.847,76 permitido para ser dependente.",
        "Ele não pode ser dependente e deve ser retirado dessa declaração"}},
  };
  for (const Case& c : cases) {
    PensionExemptCheck r = CheckPensionExempt(c.in);
    EXPECT_EQ(r.outcome, c.outcome) << c.name;
    EXPECT_EQ(r.ask_occupation, c.ask_occupation) << c.name;
    EXPECT_EQ(r.allowed, c.allowed) << c.name;
    EXPECT_EQ(r.excess, c.excess) << c.name;
    EXPECT_EQ(r.message, c.message) << c.name;
  }
}

TEST(AnnualPension65Test, CumulativeIncomeInTheAdjustment) {
  struct Case {
    Decimal amount, company;
    RraPensionOutcome outcome;
    Decimal excess;
    const char* third_line;
  };
  const Case cases[] = {
      {"1903.98"_dec, "0"_dec, RraPensionOutcome::kKeep, "0"_dec, nullptr},
      {"0"_dec, "30000.00"_dec, RraPensionOutcome::kKeep, "0"_dec, nullptr},
      {"5000.00"_dec, "20000.00"_dec, RraPensionOutcome::kSwitchToExclusive, "0"_dec,
       "O programa vai trocar a opção Ajuste anual escolhida."},
      {"20000.00"_dec, "0"_dec, RraPensionOutcome::kAsk, "18096.02"_dec,
       "Pode-se porém repetir 10.5 x 1.903,98 como A.Anual."},
      {"30000.00"_dec, "0"_dec, RraPensionOutcome::kSwitchToExclusive, "0"_dec,
       "O programa vai trocar a opção Ajuste anual escolhida."},
      {"24751.74"_dec, "0"_dec, RraPensionOutcome::kAsk, "22847.76"_dec,
       "Pode-se porém repetir 13.0 x 1.903,98 como A.Anual."},
  };
  for (const Case& c : cases) {
    RraPensionCheck r = CheckRraPensionExempt(c.amount, c.company);
    EXPECT_EQ(r.outcome, c.outcome) << c.amount;
    EXPECT_EQ(r.excess, c.excess) << c.amount;
    if (c.third_line) {
      ASSERT_EQ(r.message.size() >= 3, true) << c.amount;
      EXPECT_EQ(r.message[2], c.third_line) << c.amount;
    } else {
      EXPECT_TRUE(r.message.empty()) << c.amount;
    }
  }
}

}  // namespace
}  // namespace dodu::tax
