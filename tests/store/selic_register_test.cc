// The SELIC register: checks, the month proposed, the rate shown, the save.
#include "store/selic_register.h"

#include <gtest/gtest.h>

#include "store/maintenance_testutil.h"

namespace dodu::store {
namespace {

using testing::AppendTo;

class SelicTest : public testing::OpenerFixture {
 protected:
  // The register with these (ANOMES, TJM) rows, opened in area 51.
  WorkArea& Open(const std::vector<std::pair<std::string, std::string>>& rows) {
    EXPECT_TRUE(Table::Create(env, "/inst/UFIRM.DBF", FindTable(51)->layout, Sharing::kShared).ok());
    for (const auto& [am, tjm] : rows) AppendTo(env, "/inst/UFIRM.DBF", {{"ANOMES", am}, {"TJM", tjm}});
    EXPECT_TRUE(ABERTURA(ctx, areas, 51).ok());
    return *areas.Get(51);
  }
  std::string Proposed(WorkArea& a) {
    Result<std::optional<core::YearMonth>> m = ProposedMonth(a);
    EXPECT_TRUE(m.ok()) << m.status().ToString();
    return m.ok() && *m ? (*m)->ToString() : "none";
  }
  WorkAreas areas;
};

TEST(SelicChecksTest, MonthsAndRates) {
  // Fault: the register took any month and any rate text, storing months such
  // as "201913" and rates that were not numbers.
  struct {
    int year, month;
    bool ok;
  } months[] = {{2019, 1, true}, {2019, 12, true}, {2019, 13, false}, {2019, 0, false},
                {19, 5, false},  {2100, 1, false}};
  for (const auto& m : months) EXPECT_EQ(AnoMes(m.year, m.month).has_value(), m.ok) << m.month;
  EXPECT_EQ(AnoMes(2019, 3), std::optional<std::string>("201903"));
  for (const char* bad : {"201913", "20190", "2019a1", "000012"}) EXPECT_FALSE(ParseAnoMes(bad)) << bad;
  EXPECT_TRUE(ParseAnoMes("202001"));

  struct {
    const char* text;
    const char* want;  // nullptr: refused
  } rates[] = {{"0,87", "0.87"}, {" 1.2 ", "1.2"}, {"12", "12"}, {"999.99", "999.99"},
               {"", nullptr},    {"abc", nullptr}, {"1,2,3", nullptr}, {"-1", nullptr},
               {"1000", nullptr}, {"1.23456", nullptr}, {".", nullptr}};
  for (const auto& r : rates) {
    Result<core::Decimal> d = ParseRate(r.text);
    EXPECT_EQ(d.ok(), r.want != nullptr) << r.text;
    if (d.ok() && r.want) {
      EXPECT_EQ(*d, *core::Decimal::Parse(r.want)) << r.text;
    }
  }
}

TEST_F(SelicTest, ProposesTheFirstMonthWithoutARate) {
  WorkArea& a = Open({{"201910", "0.48"}, {"201911", "0.38"}, {"201912", "0"}, {"202001", "0"}});
  EXPECT_EQ(Proposed(a), "2019-12");
  EXPECT_EQ(RateOf(a, *core::YearMonth::Of(2019, 11))->ToString(), "0.38");
  EXPECT_EQ(RateOf(a, *core::YearMonth::Of(2018, 1))->ToString(), "1");  // no record
}

TEST_F(SelicTest, LastMonthWithARateAtTheEnd) {
  WorkArea& a = Open({{"201910", "0.48"}, {"201911", "0.38"}});
  EXPECT_EQ(Proposed(a), "2019-11");
}

TEST_F(SelicTest, NoRateAnywhereEndsTheSearch) {
  // Fault: with every rate zero the search moved back for ever.
  WorkArea& a = Open({{"201901", "0"}, {"201902", "0"}});
  EXPECT_EQ(Proposed(a), "2019-01");
  areas.CloseAll();
  ASSERT_TRUE(env.Remove("/inst/UFIRM.DBF").ok());
  (void)env.Remove("/inst/UFIRM.CDX");
  WorkArea& empty = Open({});
  EXPECT_EQ(Proposed(empty), "none");
}

TEST_F(SelicTest, SaveUpdatesOrAppends) {
  WorkArea& a = Open({{"201910", "0.48"}});
  OPENER_ASSERT_OK(SaveRate(ctx, a, *core::YearMonth::Of(2019, 10), *core::Decimal::Parse("0.5")));
  OPENER_ASSERT_OK(SaveRate(ctx, a, *core::YearMonth::Of(2019, 11), *core::Decimal::Parse("0.38")));
  std::vector<std::string> imgs = testing::RecordImages(env, "/inst/UFIRM.DBF");
  ASSERT_EQ(imgs.size(), 2u);
  EXPECT_EQ(imgs[0], " 201910  0.5000R$  ");
  EXPECT_EQ(imgs[1], " 201911  0.3800R$  ");
  EXPECT_EQ(Proposed(a), "2019-11");
}

}  // namespace
}  // namespace dodu::store
