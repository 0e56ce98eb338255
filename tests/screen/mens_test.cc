#include "screen/mens.h"

#include <gtest/gtest.h>

#include "screen/dialog.h"
#include "testutil.h"

namespace dodu::screen {
namespace {

using testing::ScreenTest;

class MensTest : public ScreenTest {};

TEST_F(MensTest, KindZeroWritesTheStatusLine) {
  MensArgs a;
  a.text = "Gravando...";
  ASSERT_TRUE(MENS(tk_, 0, a).ok());
  EXPECT_EQ(term_.status_part(0), "Gravando...");
  MENS(tk_, "");
  EXPECT_EQ(term_.status_part(0), "");
}

TEST_F(MensTest, GeometryByColumnRule) {
  MensArgs a;
  a.text = "Aguarde";  // width 8
  struct Case {
    std::string column;
    int left;
  } cases[] = {{"E", 2}, {"C", 36}, {"15", 15}, {"", 62}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.column);
    a.column = c.column;
    Toolkit::Rect r = MensGeometry(3, a);
    EXPECT_EQ(r.left, c.left);
    EXPECT_EQ(r.right - r.left + 1, 8);
    EXPECT_EQ(r.top, 20);
  }
  a.column = "";
  EXPECT_EQ(MensGeometry(73, a).right - MensGeometry(73, a).left + 1, 9);  // frame 7: one wider
  a.text = "abcdefghij";
  a.lines = 2;
  Toolkit::Rect two = MensGeometry(3, a);
  EXPECT_EQ(two.bottom - two.top + 1, 2);
  EXPECT_EQ(two.right - two.left + 1, 6);
}

TEST_F(MensTest, MessageKindsWaitAndRestore) {
  Scribble();
  std::string before = Snapshot();
  MensArgs a;
  a.text = "Arquivo gravado";
  term_.Feed("x");
  ASSERT_TRUE(MENS(tk_, 71, a).ok());
  EXPECT_EQ(term_.tones().size(), 1u);  // kind 1 beeps
  term_.Feed("q");
  ASSERT_TRUE(MENS(tk_, 75, a).ok());
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(tk_.dialog_count(), 1u);
}

TEST_F(MensTest, KindTwoAnswersALetterOrBlankOnEsc) {
  MensArgs a;
  a.text = "Confirma (S/N)?";
  a.letters = "SN";
  term_.Feed("xs");
  Result<MensResult> r = MENS(tk_, 72, a);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r->letter, "S");
  term_.Feed("{Esc}");
  r = MENS(tk_, 72, a);
  EXPECT_EQ(r->letter, " ");
}

TEST_F(MensTest, KindThreeStaysOpenUntilClosed) {
  Scribble();
  std::string before = Snapshot();
  MensArgs a;
  a.text = "Processando";
  a.column = "C";
  ASSERT_TRUE(MENS(tk_, 73, a).ok());
  Toolkit::Rect r = MensGeometry(73, a);
  EXPECT_EQ(term_.Text(r.top, r.left, 11), "Processando");
  tk_.FECHAJAN(10);
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(MensTest, ItemWindowTitle) {
  MensArgs a;
  a.item = 7;
  term_.Feed("{Enter}");
  ASSERT_TRUE(MENS(tk_, 19, a).ok());
  // The title was on the screen while it waited; check it through a second run that runs out.
  EXPECT_THROW(MENS(tk_, 29, a), ScriptExhausted);
  bool found = false;
  for (int r = 0; r < 25; ++r) found |= term_.RowUtf8(r).find("Item 7 das Dividas e Onus") != std::string::npos;
  EXPECT_TRUE(found);
}

class MensPromptTest : public ScreenTest {
 protected:
  MapVariableStore vars_;
};

TEST_F(MensPromptTest, TypedValueIsStored) {
  vars_.Define("CNOME", std::string(10, ' '));
  MensArgs a;
  a.text = "Nome:";
  a.variable = "CNOME";
  a.vars = &vars_;
  a.picture = "@!";
  term_.Feed("maria{Enter}");
  Result<MensResult> r = MENS(tk_, 74, a);
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  EXPECT_FALSE(r->cancelled);
  EXPECT_EQ(std::get<std::string>(*vars_.Get("CNOME")), "MARIA     ");
  EXPECT_EQ(tk_.dialog_count(), 1u);
}

// Fault mended: a date prompt left with Esc set the variable to today's date and
// the caller could not tell that from a typed answer.
TEST_F(MensPromptTest, EscOnADateGivesTodayAndSaysCancelled) {
  vars_.Define("DDATA", *core::Date::FromYmd(2019, 12, 31));
  MensArgs a;
  a.text = "Data:";
  a.variable = "DDATA";
  a.vars = &vars_;
  a.picture = "";
  term_.Feed("{Esc}");
  Result<MensResult> r = MENS(tk_, 74, a);
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  EXPECT_TRUE(r->cancelled);
  EXPECT_EQ(std::get<core::Date>(*vars_.Get("DDATA")), *core::Date::FromYmd(2020, 6, 30));
}

TEST_F(MensPromptTest, UnknownVariableIsAnError) {
  MensArgs a;
  a.text = "X:";
  a.variable = "NADA";
  a.vars = &vars_;
  EXPECT_TRUE(MENS(tk_, 74, a).status().IsNotFound());
}

class ChoiceTest : public ScreenTest {
 protected:
  void SetUp() override {
    tk_.REDEFJAN(3, 0x1E, 0x1F, 0x08, 5, 10, 9, 40, 0);
    tk_.ABREJAN(3);
    tk_.ESCRJAN(3, std::string("  Incluir                      ") + "  Alterar                      " +
                       "  Excluir                      ");
    tk_.OPCOES = "IAE";
  }
};

TEST_F(ChoiceTest, KeysMoveWithoutWrappingAndChoose) {
  struct Case {
    const char* keys;
    int answer;
  } cases[] = {{"{Enter}", 1},        {"{Down}{Enter}", 2},   {"{Down}{Down}{Down}{Enter}", 3},
               {"{Up}{Enter}", 1},     {"{End}{Enter}", 3},    {"{End}{Home}{Enter}", 1},
               {"{Esc}", 0},           {"e", 3},               {"a", 2},
               {"z{Enter}", 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    tk_.POSVER = 1;
    term_.Feed(c.keys);
    EXPECT_EQ(ESC_OPCAO(tk_, 3, 3, 1, 10, 0, false, false), c.answer);
  }
}

TEST_F(ChoiceTest, CurrentItemIsHighlightedAndMessagesShown) {
  tk_.POSVER = 2;
  tk_.MENSMENU = {"Inclui um item", "Altera o item", "Exclui o item"};
  term_.Feed("{Wait 10}");
  EXPECT_THROW(ESC_OPCAO(tk_, 3, 3, 1, 10, 0, true, true), ScriptExhausted);
  EXPECT_EQ(term_.At(6, 10).attr, tk_.colours().COR_ESCOL);
  EXPECT_EQ(term_.At(5, 10).attr, tk_.colours().COR_TEL1);
  EXPECT_NE(term_.RowUtf8(1).find("Altera o item"), std::string::npos);
}

TEST_F(ChoiceTest, AltARunsTheCalculator) {
  int calls = 0;
  term_.Feed("{Alt A}{Enter}");
  EXPECT_EQ(ESC_OPCAO(tk_, 3, 3, 1, 10, 0, false, false, [&] { ++calls; }), 1);
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace dodu::screen
