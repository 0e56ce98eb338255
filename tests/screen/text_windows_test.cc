#include <gtest/gtest.h>

#include "screen/colour.h"
#include "screen/toolkit.h"
#include "testutil.h"

namespace dodu::screen {
namespace {

using testing::ScreenTest;

class TextWindowTest : public ScreenTest {};

// Fault mended: the screen saved under a window did not cover every cell its
// frame and shadow could touch, so closing left traces. Every type, at every
// corner of the screen, must restore the screen byte for byte.
TEST_F(TextWindowTest, OpenWriteCloseRestoresEveryCellAtTheEdges) {
  struct Case {
    int top, left, bottom, right, type;
  } cases[] = {
      {5, 10, 10, 40, 0},  {5, 10, 10, 40, 1}, {5, 10, 10, 40, 2}, {5, 10, 10, 40, 7},
      {0, 0, 3, 20, 1},    {0, 0, 3, 20, 7},   {21, 60, 24, 79, 1}, {21, 60, 24, 79, 7},
      {23, 77, 24, 79, 7}, {0, 70, 2, 79, 2},  {24, 0, 24, 79, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.top << "," << c.left << "," << c.bottom << "," << c.right
                                      << " type " << c.type);
    Scribble();
    std::string before = Snapshot();
    tk_.REDEFJAN(12, 0x1E, 0x1F, 0x08, c.top, c.left, c.bottom, c.right, c.type);
    tk_.ABREJAN(12);
    tk_.ESCRJAN(12, "Texto de teste que passa da largura da janela e continua na linha seguinte");
    EXPECT_NE(Snapshot(), before);
    tk_.FECHAJAN(12);
    EXPECT_EQ(Snapshot(), before);
  }
}

TEST_F(TextWindowTest, ShadowAndFrameAreDrawnWhereTheFootprintSays) {
  tk_.REDEFJAN(12, 0x1E, 0x1F, 0x08, 5, 10, 7, 20, 7);
  tk_.ABREJAN(12);
  tk_.ESCRJAN(12, "abc");
  EXPECT_EQ(term_.Text(5, 10, 5), "abc  ");
  EXPECT_EQ(term_.At(5, 21).ch, ' ');  // no shadow beside the first row
  EXPECT_EQ(term_.At(6, 21).ch, kShadowChar);
  EXPECT_EQ(term_.At(6, 22).ch, kShadowChar);
  EXPECT_EQ(term_.At(8, 12).ch, kShadowChar);
  EXPECT_EQ(term_.At(8, 22).ch, kShadowChar);
  EXPECT_EQ(term_.At(8, 22).attr, 0x08);
  Toolkit::Rect fp = Toolkit::Footprint(*tk_.window(12));
  EXPECT_EQ(fp.bottom, 8);
  EXPECT_EQ(fp.right, 22);

  tk_.REDEFJAN(13, 0x1E, 0x1F, 0x08, 12, 10, 13, 20, 1);
  tk_.ABREJAN(13);
  EXPECT_EQ(term_.At(11, 9).ch, 0xDA);
  EXPECT_EQ(term_.At(14, 21).ch, 0xD9);
  EXPECT_EQ(term_.At(11, 9).attr, 0x1F);
}

TEST_F(TextWindowTest, ReopeningANumberRestoresItsEarlierOpeningFirst) {
  Scribble();
  std::string before = Snapshot();
  tk_.REDEFJAN(12, 0x1E, 0x1F, 0x08, 2, 2, 4, 30, 1);
  tk_.ABREJAN(12);
  tk_.ESCRJAN(12, "primeira");
  tk_.REDEFJAN(12, 0x1E, 0x1F, 0x08, 10, 40, 12, 70, 7);
  tk_.ABREJAN(12);  // reused, not nested: the first rectangle comes back
  EXPECT_EQ(term_.Text(2, 2, 8), before.substr(2 * 81 + 2, 8));
  tk_.ESCRJAN(12, "segunda");
  tk_.FECHAJAN(12);
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(TextWindowTest, TextCodesColoursAndRepeat) {
  tk_.REDEFJAN(12, 0x1E, 0x4F, 0x08, 3, 3, 3, 30, 0);
  tk_.ABREJAN(12);
  tk_.ESCRJAN(12, "a\x02" "b\x03" "c\x01" "d" + REP(5) + "-" + "e");
  EXPECT_EQ(term_.Text(3, 3, 10), "abcd-----e");
  EXPECT_EQ(term_.At(3, 3).attr, 0x1E);
  EXPECT_EQ(term_.At(3, 4).attr, 0x4F);
  EXPECT_EQ(term_.At(3, 5).attr, 0x08);
  EXPECT_EQ(term_.At(3, 6).attr, 0x1E);
  EXPECT_EQ(tk_.window(12)->last_text, "abcd-----e");
}

TEST_F(TextWindowTest, WritingSetsTheClientColours) {
  tk_.colours().COR_1_CLI = "W/N";
  tk_.colours().COR_2_CLI = "N/N";
  tk_.colours().COR_INI = "N/N";
  tk_.REDEFJAN(12, 0x1E, 0x1F, 0x08, 3, 3, 3, 30, 0);
  tk_.ESCRJAN(12, "x");
  EXPECT_EQ(tk_.colours().COR_1_CLI, "GR+/B");
  EXPECT_EQ(tk_.colours().COR_2_CLI, "W+/B");
  EXPECT_EQ(tk_.colours().COR_INI, "W+/B");
}

TEST_F(TextWindowTest, WrapsAtTheInnerWidthOfAFramedWindow) {
  tk_.REDEFJAN(12, 0x1E, 0x1F, 0x08, 3, 3, 6, 9, 2);  // inner 5 wide, 2 high
  tk_.ABREJAN(12);
  tk_.ESCRJAN(12, "abcdefgh");
  EXPECT_EQ(term_.Text(4, 4, 5), "abcde");
  EXPECT_EQ(term_.Text(5, 4, 5), "fgh  ");
  tk_.ESCRATR(12, 2, 2, 0x70, 2);
  EXPECT_EQ(term_.Text(5, 5, 2), "gh");
  EXPECT_EQ(term_.At(5, 5).attr, 0x70);
  EXPECT_EQ(term_.At(5, 7).attr, 0x1E);
  tk_.ESCRLCOL(12, 1, 2, "XY");
  EXPECT_EQ(term_.Text(4, 4, 5), "aXYde");
  EXPECT_EQ(term_.At(4, 5).attr, 0x1E);
}

TEST_F(TextWindowTest, WindowZeroIsTheBottomLine) {
  tk_.ESCRJAN(0, "linha de baixo");
  EXPECT_EQ(term_.Text(24, 0, 14), "linha de baixo");
  tk_.ESCRLCOL(0, 99, 20, "\x02" "Z");
  EXPECT_EQ(term_.At(24, 20).ch, 'Z');
  tk_.AVISO("aviso");
  EXPECT_EQ(term_.Text(24, 0, 5), "aviso");
  EXPECT_EQ(term_.At(24, 0).attr, ColourOr(tk_.colours().COR_CLI_HE, 0));
}

// Fault mended: moves were allowed one row and one column past the screen.
TEST_F(TextWindowTest, MovesStayInsideTheScreen) {
  Scribble();
  std::string before = Snapshot();
  tk_.REDEFJAN(12, 0x1E, 0x1F, 0x08, 22, 70, 24, 79, 0);
  tk_.ABREJAN(12);
  tk_.ESCRJAN(12, "abc");
  tk_.MOVEVER(12, 2);    // down: already on row 24
  tk_.MOVEHOR(12, 2);    // right: already on column 79
  EXPECT_EQ(tk_.window(12)->bottom, 24);
  EXPECT_EQ(tk_.window(12)->right, 79);
  tk_.MOVEVER(12, 129);  // up
  tk_.MOVEHOR(12, 129);  // left
  EXPECT_EQ(tk_.window(12)->top, 21);
  EXPECT_EQ(tk_.window(12)->left, 69);
  EXPECT_EQ(term_.Text(21, 69, 3), "abc");
  tk_.FECHAJAN(12);
  EXPECT_EQ(Snapshot(), before);
  tk_.REDEFJAN(14, 0x1E, 0x1F, 0x08, 0, 0, 1, 5, 0);
  tk_.MOVEVER(14, 129);
  tk_.MOVEHOR(14, 129);
  EXPECT_EQ(tk_.window(14)->top, 0);
  EXPECT_EQ(tk_.window(14)->left, 0);
}

TEST_F(TextWindowTest, UndefinedWindowsDoNothing) {
  Scribble();
  std::string before = Snapshot();
  tk_.ABREJAN(77);
  tk_.ESCRJAN(77, "x");
  tk_.ESCRLCOL(77, 1, 1, "x");
  tk_.FECHAJAN(77);
  tk_.MOVEVER(77, 1);
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(TextWindowTest, FillAndRecolour) {
  tk_.ENCHETELA(' ', 0x1F);
  EXPECT_EQ(term_.At(0, 0).attr, 0x1F);
  EXPECT_EQ(term_.At(24, 79).attr, 0x1F);
  tk_.REDFATR(0, 1, 0x70);  // window 0 in REDFATR means window 10
  EXPECT_EQ(tk_.window(10)->text_attr, 0x70);
}

}  // namespace
}  // namespace dodu::screen
