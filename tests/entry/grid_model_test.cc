// The grid model: typed cells, totals from the numbers, SKIP_MATRIZ, the month
// labels and the field families the monthly grids are loaded from and saved to.
#include "entry/grid_model.h"

#include <gtest/gtest.h>

#include <memory>

#include "store/catalogue.h"

namespace dodu::entry {
namespace {

using core::Decimal;
using core::literals::operator""_dec;

GridModel OneColumn(std::string picture = std::string(kMoneyPicture)) {
  GridColumn c = MoneyColumn("Valor");
  c.picture = std::move(picture);
  return MonthlyGrid(" Mes ", {c});
}

TEST(SkipMatrizTest, ClampsToTheGrid) {
  struct Case {
    int row, n, rows, moved;
  } cases[] = {
      {0, 1, 13, 1}, {0, -1, 13, 0},  {3, -5, 13, -3},    {10, 5, 13, 2}, {12, 1, 13, 0},
      {5, 0, 13, 0}, {0, 13, 13, 12}, {12, -20, 13, -12}, {0, 1, 0, 0},   {0, 3, 1, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SkipMatriz(c.row, c.n, c.rows), c.moved)
        << "row " << c.row << " skip " << c.n << " of " << c.rows;
  }
}

TEST(MonthLabelTest, MonthsAndTotals) {
  EXPECT_EQ(MonthLabel(1), "01-Jan");
  EXPECT_EQ(MonthLabel(3), "03-Mar");
  EXPECT_EQ(MonthLabel(12), "12-Dez");
  EXPECT_EQ(MonthLabel(13), "Totais");
  EXPECT_EQ(MonthLabel(0), "");
  GridModel g = OneColumn();
  EXPECT_EQ(g.Text(0, 0), "01-Jan");
  EXPECT_EQ(g.Text(kTotalsRow, 0), "Totais");
}

// Fault: the monthly grids kept each amount as text formatted "@Ez 9999,999.99"
// and read it back from that text, so an amount of ten million or more (which
// the picture shows as stars) came back as garbage and every total built on it
// was wrong. The cell holds the number; the picture only draws it.
TEST(GridModelTest, AmountsBeyondThePictureKeepTheirValue) {
  GridModel g = OneColumn("@Ez 9999,999.99");
  ASSERT_TRUE(g.SetNumber(0, 1, "12345678.90"_dec).ok());
  ASSERT_TRUE(g.SetNumber(1, 1, "0.10"_dec).ok());
  g.RecomputeTotals();
  EXPECT_EQ(g.Display(0, 1).find_first_not_of("* ,"), std::string::npos) << g.Display(0, 1);
  EXPECT_EQ(g.Number(0, 1), "12345678.90"_dec);
  EXPECT_EQ(g.Number(kTotalsRow, 1), "12345679.00"_dec);

  // The standard money picture covers the whole N(12,2) field.
  GridModel wide = OneColumn();
  ASSERT_TRUE(wide.SetNumber(0, 1, "12345678.90"_dec).ok());
  EXPECT_EQ(wide.Display(0, 1), " 12.345.678,90");
  ASSERT_TRUE(wide.SetNumber(1, 1, "999999999.99"_dec).ok());
  EXPECT_EQ(wide.Display(1, 1), "999.999.999,99");
  EXPECT_EQ(wide.Display(2, 1), std::string(14, ' '));  // zero is blank
}

TEST(GridModelTest, RefusesWhatItsFieldCannotHold) {
  GridModel g = OneColumn();
  ASSERT_TRUE(g.SetNumber(0, 1, "5.00"_dec).ok());
  struct Case {
    const char* what;
    screen::EditValue value;
  } cases[] = {
      {"wider than N(12,2)", "1000000000.00"_dec},
      {"a third decimal", "1.005"_dec},
      {"text in a number column", std::string("5,00")},
  };
  for (const Case& c : cases) {
    Status s = g.Set(0, 1, c.value);
    EXPECT_EQ(s.code(), StatusCode::kInvalid) << c.what;
    EXPECT_EQ(g.Number(0, 1), "5.00"_dec) << c.what;
  }
  EXPECT_EQ(g.Set(0, 0, "5.00"_dec).code(), StatusCode::kInvalid);  // a number in the label column
}

TEST(GridModelTest, TotalsOnlyForTotalledNumberColumns) {
  GridColumn rate = MoneyColumn("Taxa");
  rate.totalled = false;
  GridModel g = MonthlyGrid("Mes", {MoneyColumn("A"), rate});
  for (int m = 0; m < 12; ++m) {
    ASSERT_TRUE(g.SetNumber(m, 1, Decimal::FromScaled(100 * (m + 1), 2)).ok());
    ASSERT_TRUE(g.SetNumber(m, 2, "4.0307"_dec.Truncate(2)).ok());
  }
  ASSERT_TRUE(g.SetNumber(kTotalsRow, 1, "1.00"_dec).ok());  // stale; recomputed below
  g.RecomputeTotals();
  EXPECT_EQ(g.Number(kTotalsRow, 1), "78.00"_dec);
  EXPECT_EQ(g.Number(kTotalsRow, 2), Decimal());
  EXPECT_EQ(g.Text(kTotalsRow, 0), "Totais");
  EXPECT_EQ(g.Sum(1, 0, 2), "6.00"_dec);

  std::array<Decimal, 12> months{};
  months[4] = "250.50"_dec;
  ASSERT_TRUE(SetMonthValues(g, 1, months).ok());
  EXPECT_EQ(MonthValues(g, 1), months);
  EXPECT_EQ(g.Number(kTotalsRow, 1), "250.50"_dec);
  months[0] = "1000000000.00"_dec;  // all or nothing
  EXPECT_FALSE(SetMonthValues(g, 1, months).ok());
  EXPECT_EQ(g.Number(0, 1), Decimal());
}

store::Record BlankOf(int table) {
  const store::TableDef* def = store::FindTable(table);
  EXPECT_NE(def, nullptr);
  auto layout =
      std::make_shared<const store::RecordLayout>(*store::RecordLayout::Make(def->layout));
  return store::Record::Blank(layout);
}

TEST(MonthFieldsTest, FamilyNames) {
  EXPECT_EQ(MonthFieldFamily("I1_4")(3), "I1_403");
  EXPECT_EQ(MonthFieldFamily("I2_7")(13), "I2_713");
  EXPECT_EQ(MonthFieldFamily("I3_", "OR")(12), "I3_12OR");
}

// Loading and saving a declaration go through the numbers: a grid stored into
// its fields and loaded again is the same to the cent, wide amounts included.
TEST(MonthFieldsTest, StoreAndLoadRoundTripTheNumbers) {
  store::Record income = BlankOf(2);
  GridModel g = OneColumn();
  ASSERT_TRUE(g.SetNumber(0, 1, "12345678.90"_dec).ok());
  ASSERT_TRUE(g.SetNumber(11, 1, "0.01"_dec).ok());
  g.RecomputeTotals();
  ASSERT_TRUE(StoreMonthFields(g, 1, income, MonthFieldFamily("I1_4")).ok());
  EXPECT_EQ(*income.GetNumber("I1_401"), "12345678.90"_dec);
  EXPECT_EQ(*income.GetNumber("I1_412"), "0.01"_dec);

  GridModel back = OneColumn();
  ASSERT_TRUE(LoadMonthFields(back, 1, income, MonthFieldFamily("I1_4")).ok());
  EXPECT_EQ(MonthValues(back, 1), MonthValues(g, 1));
  EXPECT_EQ(back.Number(kTotalsRow, 1), "12345678.91"_dec);

  // The carnê-leão table keeps a year row (I2_k13): stored from the totals, and
  // on loading the total is summed again from the months.
  store::Record leao = BlankOf(12);
  ASSERT_TRUE(StoreMonthFields(g, 1, leao, MonthFieldFamily("I2_1"), true).ok());
  EXPECT_EQ(*leao.GetNumber("I2_113"), "12345678.91"_dec);
  ASSERT_TRUE(leao.PutNumber("I2_113", "1.00"_dec).ok());
  GridModel again = OneColumn();
  ASSERT_TRUE(LoadMonthFields(again, 1, leao, MonthFieldFamily("I2_1"), true).ok());
  EXPECT_EQ(again.Number(kTotalsRow, 1), "12345678.91"_dec);

  EXPECT_FALSE(LoadMonthFields(again, 1, leao, MonthFieldFamily("NO_SUCH")).ok());
}

}  // namespace
}  // namespace dodu::entry
