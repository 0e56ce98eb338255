// The screen loop's moves: which screen and option code follow a screen ended
// by a key, for taxpayers with and without rural activity.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "screen/keys.h"
#include "shell/declaration_screen.h"

namespace dodu::shell {
namespace {

using screen::Key;
using screen::KeyType;

struct MoveCase {
  const char* name;
  ScreenPos from;
  const char* key;
  ScreenConditions cond;
  ScreenPos want;
};

void PrintTo(const MoveCase& c, std::ostream* os) { *os << c.name; }

constexpr ScreenConditions kPlain{};
constexpr ScreenConditions kRural{.rural = true};
constexpr ScreenConditions kAbroad{.rural = true, .rural_abroad = true};
constexpr ScreenConditions kNew{.new_taxpayer = true};
constexpr ScreenConditions kChanged{.key_changed = true};

Key K(const char* name) {
  auto k = screen::ParseKey(name);
  if (!k) throw std::invalid_argument(name);
  return *k;
}

class NextScreenTest : public ::testing::TestWithParam<MoveCase> {};

TEST_P(NextScreenTest, Moves) {
  const MoveCase& c = GetParam();
  const ScreenPos got = NextScreen(c.from, K(c.key), c.cond);
  EXPECT_EQ(got.tela, c.want.tela) << c.name;
  EXPECT_EQ(got.code, c.want.code) << c.name;
}

const MoveCase kMoves[] = {
    {"esc_to_menu", {5, 51}, "Esc", kPlain, {0, 51}},
    {"f1", {7, 71}, "F1", kPlain, {1, 11}},
    {"f4", {1, 11}, "F4", kPlain, {4, 41}},
    {"f9", {1, 11}, "F9", kPlain, {9, 91}},
    {"f10_balance", {1, 11}, "F10", kPlain, {10, 72}},
    {"f11_warnings", {1, 11}, "F11", kPlain, {11, 62}},
    {"f12_rural", {1, 11}, "F12", kRural, {12, 101}},
    {"f12_no_rural_calc", {1, 11}, "F12", kPlain, {7, 71}},
    {"alt_f2_no_rural_calc", {1, 11}, "Alt F2", kPlain, {7, 71}},
    {"alt_f3_from_income", {2, 21}, "Alt F3", kPlain, {5, 56}},
    {"alt_f3_refused_from_payments", {4, 43}, "Alt F3", kPlain, {5, 51}},
    {"alt_f7", {1, 11}, "Alt F7", kPlain, {4, 43}},
    // Shift Tab / PgUp
    {"back_1_to_11", {1, 11}, "Shift Tab", kPlain, {11, 62}},
    {"back_2_to_1", {2, 21}, "PgUp", kPlain, {1, 11}},
    {"back_exclusive_to_exempt", {3, 32}, "Shift Tab", kPlain, {3, 31}},
    {"back_exempt_to_2", {3, 31}, "Shift Tab", kPlain, {2, 21}},
    {"back_5_enters_payments", {5, 51}, "PgUp", kPlain, {4, 43}},
    {"back_4_to_3", {4, 41}, "PgUp", kPlain, {3, 31}},
    {"back_zoom_assets_to_4", {22, 54}, "PgUp", kPlain, {4, 43}},
    {"back_zoom_debts_to_assets", {22, 55}, "PgUp", kPlain, {22, 54}},
    {"back_only_debts_to_assets", {23, 53}, "PgUp", kPlain, {23, 52}},
    {"back_only_assets_to_4", {23, 52}, "PgUp", kPlain, {4, 43}},
    {"back_gains_to_calc", {8, 81}, "PgUp", kPlain, {7, 71}},
    {"back_balance_to_calc", {10, 72}, "PgUp", kPlain, {7, 71}},
    {"back_11_to_10", {11, 62}, "PgUp", kPlain, {10, 72}},
    {"back_12_to_11", {12, 101}, "PgUp", kRural, {11, 62}},
    {"back_14_to_13", {14, 103}, "PgUp", kRural, {13, 102}},
    {"back_14_abroad_skips_13", {14, 203}, "PgUp", kAbroad, {12, 201}},
    // Tab / PgDn
    {"new_identification_to_1", {6, 61}, "Tab", kNew, {1, 11}},
    {"identification_to_calc", {6, 61}, "Tab", kPlain, {7, 71}},
    {"fwd_1_to_2", {1, 11}, "Tab", kPlain, {2, 21}},
    {"fwd_2_to_exempt", {2, 21}, "PgDn", kPlain, {3, 31}},
    {"fwd_exempt_to_exclusive", {3, 31}, "Tab", kPlain, {3, 32}},
    {"fwd_exclusive_to_dependants", {3, 32}, "Tab", kPlain, {4, 41}},
    {"fwd_dependants_to_alimony", {4, 41}, "Tab", kPlain, {4, 42}},
    {"fwd_alimony_to_payments", {4, 42}, "Tab", kPlain, {4, 43}},
    {"fwd_payments_to_5", {4, 43}, "Tab", kPlain, {5, 51}},
    {"fwd_calc_to_balance", {7, 71}, "Tab", kPlain, {10, 72}},
    {"fwd_gains_to_calc", {8, 81}, "Tab", kPlain, {7, 71}},
    {"fwd_variable_to_calc", {9, 91}, "Tab", kPlain, {7, 71}},
    {"fwd_balance_to_11", {10, 72}, "Tab", kPlain, {11, 62}},
    {"fwd_11_to_1", {11, 62}, "Tab", kPlain, {1, 11}},
    {"fwd_11_rural_to_12", {11, 62}, "Tab", kRural, {12, 101}},
    {"fwd_12_to_13", {12, 101}, "Tab", kRural, {13, 102}},
    {"fwd_12_abroad_skips_13", {12, 201}, "Tab", kAbroad, {14, 203}},
    {"fwd_17_to_1", {17, 106}, "PgDn", kRural, {1, 11}},
    {"fwd_zoom_assets_to_debts", {22, 54}, "Tab", kPlain, {22, 55}},
    {"fwd_zoom_debts_to_6", {22, 55}, "Tab", kPlain, {6, 61}},
    {"fwd_only_assets_to_debts", {23, 52}, "Tab", kPlain, {23, 53}},
    {"fwd_only_debts_to_6", {23, 53}, "Tab", kPlain, {6, 61}},
    // Enter on the last field
    {"enter_new_identification", {6, 61}, "Enter", kNew, {1, 11}},
    {"enter_exempt_to_exclusive", {3, 31}, "Enter", kPlain, {3, 32}},
    {"enter_exclusive_to_4", {3, 32}, "Enter", kPlain, {4, 41}},
    {"enter_elsewhere_to_menu", {5, 51}, "Enter", kPlain, {0, 51}},
    // Any other ending
    {"other_advances", {2, 21}, "Ctrl Enter", kPlain, {3, 31}},
    {"other_calc_ends", {7, 71}, "Ctrl Enter", kPlain, {0, 71}},
    {"other_balance_ends", {10, 72}, "Ctrl Enter", kPlain, {0, 72}},
    {"other_11_without_rural_to_10", {11, 62}, "Ctrl Enter", kPlain, {10, 72}},
    {"other_17_wraps_to_12", {17, 106}, "Ctrl Enter", kRural, {12, 101}},
    {"other_new_identification", {6, 61}, "Ctrl Enter", kNew, {1, 11}},
    {"other_after_hot_key_stays", {9, 91}, "Menu 1003", kChanged, {9, 91}},
};

INSTANTIATE_TEST_SUITE_P(Table, NextScreenTest, ::testing::ValuesIn(kMoves),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScreenForKeyTest, OnlyScreenKeysMove) {
  EXPECT_EQ(ScreenForKey(Key::Alt('X'), kPlain), (ScreenPos{23, 52}));
  EXPECT_EQ(ScreenForKey(Key::Alt('Z'), kPlain), (ScreenPos{22, 54}));
  EXPECT_EQ(ScreenForKey(Key::AltF(1), kPlain), (ScreenPos{11, 62}));
  EXPECT_EQ(ScreenForKey(Key::Alt('W'), kPlain), std::nullopt);
  EXPECT_EQ(ScreenForKey(Key::Enter(), kPlain), std::nullopt);
  EXPECT_EQ(ScreenForKey(Key::ShiftF(3), kPlain), std::nullopt);
}

TEST(BringIntoRangeTest, NumbersAboveTheLast) {
  EXPECT_EQ(BringIntoRange({12, 101}, kPlain), std::nullopt);  // rural refused
  EXPECT_EQ(BringIntoRange({22, 54}, kPlain), (ScreenPos{22, 54}));
  EXPECT_EQ(BringIntoRange({23, 53}, kRural), (ScreenPos{23, 53}));
  EXPECT_EQ(BringIntoRange({18, 181}, kRural), (ScreenPos{12, 101}));
  EXPECT_EQ(BringIntoRange({19, 191}, kRural), std::nullopt);
  EXPECT_EQ(BringIntoRange({11, 62}, kPlain), (ScreenPos{11, 62}));
}

TEST(ZoomForTest, AssetsOrDebtsFromTheBrowserMode) {
  EXPECT_EQ(ZoomFor(kScreenZoom, 5), (ScreenPos{22, 54}));
  EXPECT_EQ(ZoomFor(kScreenZoom, 31), (ScreenPos{22, 55}));
  EXPECT_EQ(ZoomFor(kScreenAssetsOnly, 30), (ScreenPos{23, 52}));
  EXPECT_EQ(ZoomFor(kScreenAssetsOnly, 6), (ScreenPos{23, 53}));
  EXPECT_EQ(ZoomFor(kScreenZoom, 7), std::nullopt);
}

TEST(CodeOfScreenTest, CodesOfTheScreens) {
  EXPECT_EQ(CodeOfScreen(1), 11);
  EXPECT_EQ(CodeOfScreen(10), 72);
  EXPECT_EQ(CodeOfScreen(11), 62);
  EXPECT_EQ(CodeOfScreen(13), 102);
  EXPECT_EQ(CodeOfScreen(17, true), 206);
  EXPECT_EQ(TelaMax(true), 17);
  EXPECT_EQ(TelaMax(false), 11);
}

}  // namespace
}  // namespace dodu::shell
