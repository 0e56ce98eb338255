#include "screen/layout.h"

#include <gtest/gtest.h>

#include "screen/terminal.h"

namespace dodu::screen {
namespace {

TEST(Layout, RowsByTerminalSize) {
  struct Case {
    int rows, cols;
    bool fits;
    int caption, menu, app_top, status;
    bool menu_only_active, shares;
  } cases[] = {
      {28, 80, true, 0, 1, 2, 27, false, false},  {40, 120, true, 0, 1, 2, 27, false, false},
      {27, 80, true, 0, 0, 1, 26, true, false},   {26, 80, true, -1, 0, 0, 25, true, false},
      {25, 80, true, -1, 0, 0, 24, true, true},   {24, 80, false, -1, -1, 0, -1, false, false},
      {30, 79, false, -1, -1, 0, -1, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.rows << "x" << c.cols);
    Layout l = ComputeLayout(c.rows, c.cols);
    EXPECT_EQ(l.fits, c.fits);
    EXPECT_EQ(l.caption_row, c.caption);
    EXPECT_EQ(l.menu_row, c.menu);
    EXPECT_EQ(l.app_top, c.app_top);
    EXPECT_EQ(l.status_row, c.status);
    EXPECT_EQ(l.menu_only_while_active, c.menu_only_active);
    EXPECT_EQ(l.status_shares_app_row, c.shares);
  }
  EXPECT_NE(TooSmallMessage(20, 70).find("80 columns and 25 rows"), std::string::npos);
}

TEST(Layout, MenuBarColumnsAndHits) {
  MenuBarView v;
  v.captions = {"&Arquivo", "&Editar", "A&juda"};
  EXPECT_EQ(MenuBarColumns(v), (std::vector<int>{1, 10, 18}));
  EXPECT_EQ(MenuBarHit(v, 0), 0);
  EXPECT_EQ(MenuBarHit(v, 7), 0);
  EXPECT_EQ(MenuBarHit(v, 10), 1);
  EXPECT_EQ(MenuBarHit(v, 22), 2);
  EXPECT_EQ(MenuBarHit(v, 40), -1);
}

TEST(Layout, StatusBarText) {
  std::string s = StatusBarText({{"Pronto", 10}, {"12:00", 0}});
  EXPECT_EQ(s.size(), 80u);
  EXPECT_EQ(s.substr(0, 17), "Pronto     12:00 ");
}

}  // namespace
}  // namespace dodu::screen
