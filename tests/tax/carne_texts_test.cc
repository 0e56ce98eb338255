#include "tax/carne_texts.h"

#include <gtest/gtest.h>

namespace dodu::tax {
namespace {

TEST(CarneTextsTest, DeclarationTypeLetter) {
  struct Case {
    char letter;
    FillMode mode;
    const char* codat;
    const char* cdpro;
    bool accepted;
    size_t message_lines;
  };
  const Case cases[] = {
      {'T', FillMode::kTotalsOnly, "11", "225", true, 3},  // liberal professional: warned
      {'T', FillMode::kInverse, "11", "255", true, 3},
      {'T', FillMode::kIndividual, "11", "225", true, 0},  // modes 1 and 3 have the CPFs
      {'T', FillMode::kTotalsOnly, "12", "225", true, 0},
      {'T', FillMode::kTotalsOnly, "11", "230", true, 0},
      {'A', FillMode::kTotalsOnly, "11", "225", true, 0},
      {'O', FillMode::kTotalsOnly, "", "", true, 0},
      {'X', FillMode::kTotalsOnly, "", "", false, 4},
      {' ', FillMode::kTotalsOnly, "", "", false, 4},
  };
  for (const Case& c : cases) {
    LetterCheck r = CheckDeclarationType(c.letter, c.mode, c.codat, c.cdpro);
    EXPECT_EQ(r.accepted, c.accepted) << c.letter << " " << c.cdpro;
    EXPECT_EQ(r.message.size(), c.message_lines) << c.letter << " " << c.cdpro;
  }
  EXPECT_EQ(CheckDeclarationType('T', FillMode::kTotalsOnly, "11", "229").message[1],
            "Com ocupação código 229 como é esse contribuinte.");
  EXPECT_EQ(CheckDeclarationType('x', FillMode::kTotalsOnly, "", "").message[0],
            "O caracter x digitado está errado");
}

TEST(CarneTextsTest, LineTypeLetter) {
  struct Case {
    char letter;
    const char* payer;
    const char* beneficiary;
    bool accepted;
    std::vector<std::string> message;
  };
  const Case cases[] = {
      {' ', "", "", true, {}},
      {'T', "11144477735", "", true, {}},
      {'T', "", "", true, {"Para Trabalho Autônomo é necessário ter o CPF do pagador"}},
      {'O', "", "", true, {}},
      {'O', "", "11144477735", true, {"Para outros não é conveniente ter o CPF do Beneficiário"}},
      {'A', "11144477735", "", true, {"Para aluguel não é conveniente ter o CPF do pagador"}},
      {'A',
       "11144477735",
       "11144477735",
       true,
       {"Para aluguel não é conveniente ter o CPF do pagador",
        "e nem preenchido o CPF do Beneficiário"}},
      {'Z',
       "",
       "",
       false,
       {"O caracter Z digitado está errado", "Preencha com a letra T para Trabalho autonomo",
        "Preencha com a letra A para rendimento de Aluguel",
        "Preencha com a letra O para Outros rendimentos"}},
  };
  for (const Case& c : cases) {
    LetterCheck r = CheckLineType(c.letter, c.payer, c.beneficiary);
    EXPECT_EQ(r.accepted, c.accepted) << c.letter;
    EXPECT_EQ(r.message, c.message) << c.letter << " payer '" << c.payer << "'";
  }
}

TEST(CarneTextsTest, ModesCycleAndCarriedTexts) {
  FillMode m = FillMode::kTotalsOnly;
  for (int i = 0; i < 4; ++i) m = NextFillMode(m);
  EXPECT_EQ(m, FillMode::kTotalsOnly) << "four presses of Alt A return to the start";
  EXPECT_EQ(FillModeText(FillMode::kInverse), "4)CALC.INVERSO");
  EXPECT_EQ(FillModeExplanation(FillMode::kTotalsOnly).size(), 5u);
  EXPECT_EQ(DeductionHeading(FillMode::kTotalsOnly, true, false), "Previdencia");
  EXPECT_EQ(DeductionHeading(FillMode::kInverse, true, true), "Depen+Previ");
  EXPECT_EQ(DeductionHeading(FillMode::kCashBookLedger, true, true), "Dep+Pre+Pen");
  EXPECT_EQ(DeductionHeading(FillMode::kIndividual, false, true), "Previdência");
  EXPECT_EQ(CarriedValueTexts(false).on_screen, "Leao Pago   L. DEVIDO *");
  EXPECT_EQ(CarriedValueTexts(true).due_heading, "L. devido  ");
  EXPECT_EQ(TypeFooter('A', Decimal::FromInt(900))->rent, Decimal::FromInt(900));
  EXPECT_EQ(TypeFooter('A', Decimal::FromInt(900))->work, Decimal());
  EXPECT_EQ(TypeFooter('O', Decimal::FromInt(5))->other, Decimal::FromInt(5));
  EXPECT_FALSE(TypeFooter('X', Decimal::FromInt(900)).has_value());
  EXPECT_EQ(MonthLabel(3), "03-Mar");
  EXPECT_EQ(MonthLabel(13), "Totais");
}

}  // namespace
}  // namespace dodu::tax
