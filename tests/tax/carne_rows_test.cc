#include "tax/carne_rows.h"

#include <gtest/gtest.h>

#include "tax/testutil.h"

namespace dodu::tax {
namespace {

using testing::D;
using testing::Dec;

TEST(CarneRowsTest, ReadsTheWorkCopyFields) {
  core::VariableMap line;
  line.Declare("I1_1", std::string("F"));
  line.Declare("I1_11", std::string("N"));
  line.Declare("I1_8", std::string("12345678909"));
  line.Declare("I1_4", Dec("1500"));
  line.Declare("I1_403", Dec("1500"));
  line.Declare("I1_3", std::string("   "));
  line.Declare("I1_41", std::string("A"));
  line.Declare("DT_LC", D(2019, 3, 15));
  CarneLine l = CarneLineOf(line);
  EXPECT_EQ(l.kind, 'F');
  EXPECT_FALSE(l.titular);
  EXPECT_EQ(l.dependant_cpf, "12345678909");
  EXPECT_EQ(l.monthly[2], Dec("1500"));
  EXPECT_EQ(l.monthly[0], Dec("0")) << "absent months read as 0";
  EXPECT_EQ(l.payer_cpf, "");
  EXPECT_EQ(l.type, 'A');
  EXPECT_EQ(l.date, D(2019, 3, 15));

  LineUpdate u{0, {}};
  u.monthly[2] = Dec("900");
  StoreLineUpdate(u, line);
  EXPECT_EQ(line.Number("I1_403"), Dec("900"));

  core::VariableMap pay;
  pay.Declare("I6_3", Dec("31"));
  pay.Declare("I6_4", Dec("1200"));
  pay.Declare("I6_412", Dec("100"));
  EXPECT_EQ(CarnePaymentOf(pay).code, 31);
  EXPECT_EQ(CarnePaymentOf(pay).monthly[11], Dec("100"));
  EXPECT_EQ(PaymentLineOf(pay).paid, Dec("1200"));

  core::VariableMap asset;
  asset.Declare("I7_1", Dec("2"));
  asset.Declare("I7_2", std::string("Casa  "));
  asset.Declare("I7_5", Dec("11"));
  asset.Declare("I7_4", Dec("120000"));
  AssetLine a = AssetLineOf(asset);
  EXPECT_EQ(a.item, 2);
  EXPECT_EQ(a.description, "Casa");
  EXPECT_EQ(a.code, 11);
}

TEST(CarneRowsTest, MonthTableRoundTrip) {
  core::VariableMap row = testing::CarneVars();
  row.Declare("CPFDEPEN", std::string("           "));
  row.SetNumber("I2_312", Dec("44.5"));
  std::vector<const core::Variables*> rows = {&row};
  std::vector<CarneRow> read = CarneRowsOf(rows);
  ASSERT_EQ(read.size(), 1u);
  EXPECT_TRUE(read[0].IsTitular());
  EXPECT_EQ(read[0].at(kCashBook, 12), Dec("44.5"));
  read[0].at(kCorrected, kYearRow) = Dec("7");
  StoreCarneRow(read[0], row);
  EXPECT_EQ(row.Number("I2_713"), Dec("7"));
}

}  // namespace
}  // namespace dodu::tax
