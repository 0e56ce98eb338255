#include "screen/message_box.h"

#include <gtest/gtest.h>

#include "testutil.h"

namespace dodu::screen {
namespace {

using testing::ScreenTest;

class MessageBoxTest : public ScreenTest {};

TEST_F(MessageBoxTest, EachStyleAnswersAsItsTableSays) {
  struct Case {
    int style;
    const char* script;
    const char* answer;
  } cases[] = {
      {0, "{Enter}", ""},          {0, "{Esc}", ""},            {1, "{Enter}", "N"},
      {1, "{Esc}", "N"},           {2, "{Enter}", "S"},         {2, "{Right}{Enter}", "N"},
      {2, "n", "N"},               {2, "s", "S"},               {2, "{Esc}", "N"},
      {3, "c", "I"},               {3, "{Esc}", "I"},           {3, "{Left}{Enter}", "I"},
      {3, "{Tab}{Enter}", "N"},    {4, "f", "F"},               {4, "{Right}{Right}{Enter}", "F"},
      {4, "{Esc}", "N"},           {4, "S", "S"},               {5, "2", "2"},
      {5, "{Esc}", "0"},           {5, "{Right}{Right}{Enter}", "3"}, {6, "{Esc}", "0"},
      {6, "r", "2"},               {6, "{Right}{Enter}", "2"},  {7, "6", "6"},
      {7, "{Left}{Enter}", "6"},   {7, "{Esc}", "0"},           {8, "{Enter}", ""},
      {8, "x{Enter}", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "style " << c.style << " keys " << c.script);
    Scribble();
    std::string before = Snapshot();
    term_.Feed(c.script);
    std::vector<std::string> choices = {"&Incluir", "&Remover", "&Sair"};
    EXPECT_EQ(AVISOSN(tk_, "Confirma?", c.style, choices), c.answer);
    EXPECT_TRUE(term_.script_empty());
    EXPECT_EQ(Snapshot(), before);  // the box leaves no trace
    ASSERT_FALSE(term_.boxes().empty());
    EXPECT_EQ(term_.boxes().back().style, c.style);
    EXPECT_EQ(term_.boxes().back().answer, c.answer);
  }
}

TEST_F(MessageBoxTest, TitleDefaultsAndLines) {
  term_.Feed("{Enter}{Enter}{Enter}");
  AVISOSN(tk_, "Falhou", 8);
  AVISOSN(tk_, "Pronto", 0);
  AVISOSN(tk_, std::vector<std::string>{"um\ndois", "tr\xEAs"}, 1, {}, "Titulo");
  ASSERT_EQ(term_.boxes().size(), 3u);
  EXPECT_EQ(term_.boxes()[0].title, "ERRO");
  EXPECT_EQ(term_.boxes()[1].title, "Aviso");
  EXPECT_EQ(term_.boxes()[2].title, "Titulo");
  EXPECT_EQ(term_.boxes()[2].lines, (std::vector<std::string>{"um", "dois", "tr\xEAs"}));
  EXPECT_EQ(term_.boxes()[0].buttons, std::vector<std::string>{"OK"});
}

TEST_F(MessageBoxTest, GeometryFollowsLinesButtonsAndTitle) {
  AlertGeometry g = AlertBoxGeometry({"abc"}, {"Sim", "N\xC6o", "Fim"}, "Aviso");
  // Buttons 3 x 10 + 2 blanks = 32 wide, + 3; one line + 3 rows.
  EXPECT_EQ(g.right - g.left + 1, 35);
  EXPECT_EQ(g.bottom - g.top + 1, 4);
  EXPECT_EQ(g.left, (80 - 35) / 2);
  std::vector<std::string> many(30, "linha");
  AlertGeometry tall = AlertBoxGeometry(many, {"OK"}, "");
  EXPECT_EQ(tall.bottom - tall.top + 1, 16 + 3);
  AlertGeometry wide = AlertBoxGeometry({std::string(200, 'x')}, {"OK"}, "");
  EXPECT_EQ(wide.right - wide.left + 1, 76);
}

TEST_F(MessageBoxTest, ClickOnAButtonAnswers) {
  AlertGeometry g = AlertBoxGeometry({"Gravar?"}, {"Sim", "N\xC6o", "Fim"}, "Aviso");
  int button_row = g.top + 2;
  // Second button: after the first (10 wide) and one blank.
  int inner_w = g.right - g.left - 1;
  int start = g.left + 1 + (inner_w - 32) / 2;
  term_.FeedKey(Key::Click(button_row, start + 11 + 3));
  EXPECT_EQ(AVISOSN(tk_, "Gravar?", 4), "N");
}

TEST_F(MessageBoxTest, BoundKeysAreSuspendedInsideTheBox) {
  int ran = 0;
  tk_.BindKey(Key::F(2), [&] { ++ran; });
  term_.Feed("{F2}{Enter}");
  AVISOSN(tk_, "x", 0);
  EXPECT_EQ(ran, 0);
}

TEST_F(MessageBoxTest, GoldenThreeLineBox) {
  tk_.ENCHETELA(' ', 0x1F);
  term_.Feed("{Right}");  // the box waits with the second button chosen, then the script runs out
  EXPECT_THROW(AVISOSN(tk_, std::vector<std::string>{"Declara\x87\xC6o gravada.",
                                                     "Deseja transmitir agora?", "Tecle S ou N"},
                       2),
               ScriptExhausted);
  testing::ExpectGolden("avisosn_three_lines", "screen.txt", term_.DumpUtf8());
  testing::ExpectGolden("avisosn_three_lines", "attributes.txt", term_.DumpAttrs());
}

}  // namespace
}  // namespace dodu::screen
