// The declaration's monthly grids (carnê-leão, rural) loaded from and saved
// into their records as numbers.
#include "entry/monthly_grids.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/codepage.h"
#include "store/catalogue.h"

namespace dodu::entry {
namespace {

using core::Decimal;
using core::literals::operator""_dec;

store::Record BlankOf(int table) {
  const store::TableDef* def = store::FindTable(table);
  EXPECT_NE(def, nullptr);
  auto layout =
      std::make_shared<const store::RecordLayout>(*store::RecordLayout::Make(def->layout));
  return store::Record::Blank(layout);
}

// Fault: the carnê-leão grid was loaded as "@Ez 9999,999.99" text and every
// recomputation stored it back from that text, so an income of ten million or
// more in a month was lost from table 12 on the first recomputation. Stored
// and loaded as numbers, every kind keeps every cent.
TEST(RecMensalTest, RowRoundTripKeepsEveryAmount) {
  GridModel grid = MakeRecMensal("Dep+Pre+Pen");
  ASSERT_TRUE(grid.SetNumber(0, 1, "12345678.90"_dec).ok());  // January, income from individuals
  ASSERT_TRUE(grid.SetNumber(5, 2, "1500.25"_dec).ok());      // June, abroad
  ASSERT_TRUE(grid.SetNumber(11, 5, "0.01"_dec).ok());        // December, tax paid
  ASSERT_TRUE(grid.SetNumber(0, 6, "3393396.60"_dec).ok());   // a due, computed
  grid.RecomputeTotals();

  store::Record row = BlankOf(12);
  ASSERT_TRUE(StoreRecMensal(grid, row).ok());
  EXPECT_EQ(*row.GetNumber("I2_101"), "12345678.90"_dec);
  EXPECT_EQ(*row.GetNumber("I2_206"), "1500.25"_dec);
  EXPECT_EQ(*row.GetNumber("I2_512"), "0.01"_dec);
  EXPECT_EQ(*row.GetNumber("I2_113"), "12345678.90"_dec);  // the year row
  EXPECT_EQ(*row.GetNumber("I2_613"), "3393396.60"_dec);

  GridModel back = MakeRecMensal("Dep+Pre+Pen");
  ASSERT_TRUE(LoadRecMensal(back, row).ok());
  for (int r = 0; r < kMonthRows; ++r)
    for (int c = 1; c <= kLeaoKinds; ++c)
      EXPECT_EQ(back.Number(r, c), grid.Number(r, c)) << "row " << r << " kind " << c;

  ClearRecMensal(back);
  EXPECT_EQ(back.Number(0, 1), Decimal());
  EXPECT_EQ(back.Text(0, 0), "01-Jan");
}

TEST(RecMensalTest, HeadingsAndTheComputedColumns) {
  GridModel grid = MakeRecMensal(core::Cp850("Previdência"));
  EXPECT_EQ(grid.column(1).heading, core::Cp850("Pes.Física"));
  EXPECT_EQ(grid.column(4).heading, core::Cp850("Previdência"));
  EXPECT_EQ(grid.column(5).heading, core::Cp850("Leão Pago"));
  EXPECT_TRUE(grid.column(5).editable);
  EXPECT_FALSE(grid.column(kLeaoDueColumn).editable);
  EXPECT_FALSE(grid.column(kLeaoCorrectedColumn).editable);
}

TEST(RendRuralTest, RoundTripWithoutAYearRow) {
  GridModel grid = MakeRendRural();
  EXPECT_EQ(grid.rows(), 12);
  EXPECT_FALSE(grid.totals_row().has_value());
  ASSERT_TRUE(grid.SetNumber(2, kRuralReceipts, "987654321.09"_dec).ok());
  ASSERT_TRUE(grid.SetNumber(11, kRuralExpenses, "45000.00"_dec).ok());
  store::Record rural = BlankOf(15);
  ASSERT_TRUE(StoreRendRural(grid, rural).ok());
  EXPECT_EQ(*rural.GetNumber("I3_03OR"), "987654321.09"_dec);
  EXPECT_EQ(*rural.GetNumber("I3_12OD"), "45000.00"_dec);
  GridModel back = MakeRendRural();
  ASSERT_TRUE(LoadRendRural(back, rural).ok());
  EXPECT_EQ(MonthValues(back, kRuralReceipts), MonthValues(grid, kRuralReceipts));
  EXPECT_EQ(MonthValues(back, kRuralExpenses), MonthValues(grid, kRuralExpenses));

  // A record without the fields changes nothing in the grid.
  store::Record other = BlankOf(12);
  EXPECT_FALSE(LoadRendRural(back, other).ok());
  EXPECT_EQ(back.Number(2, kRuralReceipts), "987654321.09"_dec);
}

}  // namespace
}  // namespace dodu::entry
