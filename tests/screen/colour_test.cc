#include "screen/colour.h"

#include <gtest/gtest.h>

namespace dodu::screen {
namespace {

TEST(Colour, AttributeToTextAndBack) {
  struct Case {
    int attr;
    const char* text;
  } cases[] = {{30, "GR+/B"}, {79, "W+/R"}, {28, "R+/B"},  {31, "W+/B"}, {0, "N/N"},
               {112, "N/W"},  {7, "W/N"},   {63, "W+/BG"}, {0xC7, "W/R+"}, {0xFF, "W+/W+"},
               {0x5D, "BR+/BR"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ACHACOR(c.attr), c.text);
    ASSERT_TRUE(ParseColour(c.text).has_value());
    EXPECT_EQ(*ParseColour(c.text), c.attr);
  }
}

TEST(Colour, StarMakesTheBackgroundBright) {
  struct Case {
    const char* text;
    int attr;
  } cases[] = {{"N/W*", 0xF0}, {"W*/B", 0x97}, {"R/W*", 0xF4}, {"w+/b", 0x1F},
               {"RG/B", 0x16}, {"GR", 0x06},   {"I", 0x70},    {" N/W+ ", 0xF0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ASSERT_TRUE(ParseColour(c.text).has_value());
    EXPECT_EQ(*ParseColour(c.text), c.attr);
  }
  EXPECT_FALSE(ParseColour("Q/B").has_value());
  EXPECT_FALSE(ParseColour("").has_value());
  EXPECT_FALSE(ParseColour("W/B/R").has_value());
}

TEST(Colour, FivePairSettings) {
  // CORNORM as the start-up builds it from the default colours.
  std::optional<ColourSet> set = ParseColourSet("N/W+,W/N,\"N/N\",\"N/N\",N/W+");
  ASSERT_TRUE(set.has_value());
  EXPECT_EQ(set->standard, 0xF0);
  EXPECT_EQ(set->enhanced, 0x07);
  EXPECT_EQ(set->border, 0x00);
  EXPECT_EQ(set->unselected, 0xF0);
  std::optional<ColourSet> two = ParseColourSet("GR+/B,W/R");
  ASSERT_TRUE(two.has_value());
  EXPECT_EQ(two->unselected, two->standard);
  EXPECT_FALSE(ParseColourSet("GR+/B,ZZ").has_value());
}

}  // namespace
}  // namespace dodu::screen
