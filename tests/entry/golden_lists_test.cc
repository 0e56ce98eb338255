// Golden screen dumps of the record browser: an empty list, and a three-row
// list with footings and a frozen column, shown from the left and panned.
#include <gtest/gtest.h>

#include "entry/edita.h"
#include "entry/record_browser.h"
#include "entry/testutil.h"

namespace dodu::entry::testing {
namespace {

using screen::Key;

class GoldenListTest : public EntryTest {
 protected:
  // Payments (work copy of table 06, area 26) with a frozen name column, more
  // columns than fit, a footing per column and the total of the paid column.
  Profile Payments() {
    Profile p;
    p.number = 4;
    p.area = 26;
    p.rect = {2, 0, 16, 59};
    p.frame = 0;
    p.columns = {
        {"substr(I6_1,1,20)", "I6_1", "@S20", core::Cp850("Nome do beneficiário"), "", false},
        {"I6_3", "I6_3", "99", "Cod", "", false},
        {"I6_6", "I6_6", "99", "Nr", "", false},
        {"I6_2", "I6_2", "@S18", " CPF/CNPJ/NIT", "", false},
        {"I6_4", "I6_4", "@Ez 99,999,999.99", "Total Pago", "", false},
        {"I6_5", "I6_5", "@Ez 99,999,999.99", core::Cp850("N.Dedutível"), "", false},
    };
    p.frozen = 1;
    p.footing_separator = true;
    p.footing.total_label = "Total.....";
    p.footing.total_field = "I6_4";
    return p;
  }

  void Pay(const std::string& name, int code, int64_t cents) {
    Add(payments, [&](store::Record& r) {
      ASSERT_TRUE(r.PutText("CPF", kCpf).ok());
      ASSERT_TRUE(r.PutText("I6_1", name).ok());
      ASSERT_TRUE(r.PutNumber("I6_3", core::Decimal::FromInt(code)).ok());
      ASSERT_TRUE(r.PutText("I6_2", "11222333000181").ok());
      ASSERT_TRUE(r.PutNumber("I6_4", core::Decimal::FromScaled(cents, 2)).ok());
    });
  }

  store::WorkArea& payments = WorkCopy(6);
};

TEST_F(GoldenListTest, EmptyList) {
  Profile p = Payments();
  p.footing = {};
  RecordBrowser b(ec, p, payments, p.rect);
  ENTRY_ASSERT_OK(b.Init());
  b.Draw();
  EXPECT_TRUE(b.appending());
  ExpectGolden("entry_empty_list", term.DumpUtf8());
}

TEST_F(GoldenListTest, ThreeRowsWithFootingAndFrozenColumn) {
  Pay(core::Cp850("Clínica São Lucas"), 10, 123456);
  Pay("Dr. Pedro Alves", 9, 50000);
  Pay("Escola Modelo", 1, 1234500);
  Profile p = Payments();
  p.footing.per_column = {"Coluna 01", "", "", "Coluna 04"};
  RecordBrowser b(ec, p, payments, p.rect);
  ENTRY_ASSERT_OK(b.Init());
  b.Draw();
  ExpectGolden("entry_three_rows", term.DumpUtf8());

  // Panned to the last column: the name stays at the left.
  ASSERT_TRUE(b.Handle(Key(screen::KeyType::kCtrlEnd)).ok());
  ASSERT_TRUE(b.Handle(Key(screen::KeyType::kDown)).ok());
  b.Draw();
  EXPECT_GT(b.left_column(), 1);
  EXPECT_EQ(b.column(), 5);
  ExpectGolden("entry_three_rows_panned", term.DumpUtf8());
}

}  // namespace
}  // namespace dodu::entry::testing
