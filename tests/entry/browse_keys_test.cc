// The key table's thresholds by profile number.
#include "entry/browse_keys.h"

#include <gtest/gtest.h>

namespace dodu::entry {
namespace {

using screen::Key;
using screen::KeyType;

TEST(BrowseKeysTest, ThresholdsSwitchKeysOnAndOff) {
  struct Case {
    int profile;
    Key key;
    bool rural;
    BrowseAction expected;
  };
  const Case cases[] = {
      {39, Key::F(4), false, BrowseAction::kLeave},
      {40, Key::F(4), false, BrowseAction::kIgnore},
      {39, Key::F(11), false, BrowseAction::kLeave},
      {45, Key::F(11), false, BrowseAction::kIgnore},
      {11, Key::F(1), false, BrowseAction::kLeave},
      {40, Key::F(1), false, BrowseAction::kIgnore},
      {45, Key::F(3), false, BrowseAction::kIgnore},
      {41, Key::F(2), false, BrowseAction::kLeave},
      {53, Key::F(2), false, BrowseAction::kSelectOrder},
      {51, Key::F(3), false, BrowseAction::kSelectOrder},
      {53, Key::F(3), false, BrowseAction::kIgnore},
      {5, Key::F(12), false, BrowseAction::kIgnore},
      {5, Key::F(12), true, BrowseAction::kLeave},
      {5, Key::AltF(2), true, BrowseAction::kLeave},
      {39, Key::AltF(7), false, BrowseAction::kLeave},
      {40, Key::AltF(3), false, BrowseAction::kIgnore},
      {50, Key(KeyType::kDel), false, BrowseAction::kDelete},
      {51, Key(KeyType::kDel), false, BrowseAction::kIgnore},
      {59, Key(KeyType::kDel), false, BrowseAction::kDelete},
      {45, Key(KeyType::kIns), false, BrowseAction::kInsert},
      {46, Key(KeyType::kIns), false, BrowseAction::kIgnore},
      {11, Key(KeyType::kTab), false, BrowseAction::kLeave},
      {11, Key::Char('a'), false, BrowseAction::kTypeEdit},
      {11, Key::DoubleClick(3, 3), false, BrowseAction::kEdit},
      {11, Key::Alt('O'), false, BrowseAction::kOrder},
      {11, Key(KeyType::kAltDown), false, BrowseAction::kPasteClipboard},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClassifyKey(c.profile, c.key, {c.rural}), c.expected)
        << "profile " << c.profile << " key " << c.key.Name();
  }
}

TEST(BrowseKeysTest, AppendRowBelowFiftyAndIn59) {
  EXPECT_TRUE(AppendRowAllowed(49));
  EXPECT_FALSE(AppendRowAllowed(50));
  EXPECT_FALSE(AppendRowAllowed(58));
  EXPECT_TRUE(AppendRowAllowed(59));
}

}  // namespace
}  // namespace dodu::entry
