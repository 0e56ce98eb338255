// The work copies read as the calculation's rows and the recomputed fields
// written back, on real tables in memory.
#include "shell/calculation_screen_rows.h"

#include <gtest/gtest.h>

#include "platform/memory_env.h"
#include "platform/message_sink.h"
#include "store/catalogue.h"
#include "store/table.h"
#include "tax/annual_calc.h"

namespace dodu::shell {
namespace {

using namespace core::literals;

class CalculationRowsTest : public ::testing::Test {
 protected:
  CalculationRowsTest() {
    EXPECT_TRUE(env.CreateDir("/work").ok());
    for (int table : {2, 3, 6}) {
      const store::TableDef* def = store::FindWorkCopy(table);
      auto t = store::Table::Create(env, "/work/TMP_0" + std::to_string(table) + "01.DBF",
                                    def->layout, store::Sharing::kShared);
      EXPECT_TRUE(t.ok()) << t.status().ToString();
      areas.Place(table + 20, "T" + std::to_string(table), std::move(*t), {});
    }
    lookup = [this](int n) { return areas.Get(n + 20); };
  }

  // Appends a record to the work copy of `table` with the given fields.
  void Add(int table, const std::vector<std::pair<const char*, core::Value>>& fields,
           bool deleted = false) {
    store::Table& t = areas.Get(table + 20)->table();
    store::Record r = t.BlankRecord();
    for (const auto& [name, value] : fields) {
      Status s;
      if (auto* d = std::get_if<core::Decimal>(&value)) s = r.PutNumber(name, *d);
      if (auto* text = std::get_if<std::string>(&value)) s = r.PutText(name, *text);
      EXPECT_TRUE(s.ok()) << name << " " << s.ToString();
    }
    r.set_deleted(deleted);
    EXPECT_TRUE(t.Append(r).ok());
  }

  platform::MemoryEnv env;
  platform::RecordingSink sink;
  store::RecordingWaitObserver wait;
  store::OpenerContext ctx{env, sink, wait};
  store::WorkAreas areas;
  WorkCopyLookup lookup;
};

TEST_F(CalculationRowsTest, ReadComputeAndWriteBack) {
  Add(2, {{"I1_1", std::string("J")}, {"I1_11", std::string("S")}, {"I1_4", "100000.00"_dec}});
  Add(2, {{"I1_1", std::string("J")}, {"I1_4", "55555.00"_dec}}, /*deleted=*/true);
  Add(2, {{"I1_1", std::string("A")},
          {"I1_11", std::string("S")},
          {"TIPOCR", std::string("N")},
          {"I1_4", "30000.00"_dec},
          {"I1_21", "10"_dec},
          {"I1_36", std::string("05")}});
  Add(3, {{"CODIDEPEN", "11"_dec}});
  Add(6, {{"I6_3", "41"_dec}, {"I6_4", "5000.00"_dec}});

  Result<CalculationRows> rows = CalculationRows::Read(lookup);
  ASSERT_TRUE(rows.ok()) << rows.status().ToString();
  ASSERT_EQ(rows->view().income.size(), 2u);  // the deleted line is left out
  ASSERT_EQ(rows->view().people.size(), 1u);
  ASSERT_EQ(rows->view().payments.size(), 1u);
  EXPECT_EQ(rows->view().income[0]->Text("I1_1"), "J");

  core::VariableMap vars;
  char name[8];
  for (int n = 1; n <= 51; ++n) {
    std::snprintf(name, sizeof name, "I13_%02d", n);
    vars.Declare(name, core::Decimal());
  }
  vars.Declare("USAPADRAO", std::string("N"));
  tax::AnnualOutcome out = tax::AnnualCalculation(vars, rows->view()).Balanco();
  ASSERT_FALSE(out.changes.empty());
  ASSERT_TRUE(rows->Write(ctx, lookup, out.changes).ok());

  Result<CalculationRows> again = CalculationRows::Read(lookup);
  ASSERT_TRUE(again.ok());
  const core::Variables& rra = *again->view().income[1];
  EXPECT_EQ(rra.Number("I1_20"), "952.02"_dec);
  EXPECT_EQ(rra.Number("I1_25"), "30000.00"_dec);
  EXPECT_EQ(again->view().people[0]->Number("NRODEPEN"), "1"_dec);
  // 6 % of the tax on 97,724.92 is 1,047.70: the rest is not deductible.
  EXPECT_EQ(again->view().payments[0]->Number("I6_5"), "5000.00"_dec - vars.Number("I13_22"));
  EXPECT_FALSE(areas.Get(22)->table().HoldsRecordLock(store::RecNo{3}));
  // Nothing left to change.
  EXPECT_TRUE(tax::AnnualCalculation(vars, again->view()).Balanco().changes.empty());
}

TEST_F(CalculationRowsTest, ChangeOfAnUnknownRowIsRefused) {
  Result<CalculationRows> rows = CalculationRows::Read(lookup);
  ASSERT_TRUE(rows.ok());
  Status s =
      rows->Write(ctx, lookup, {{tax::RowTable::kPayments, 0, "I6_5", core::Value("1"_dec)}});
  EXPECT_EQ(s.code(), StatusCode::kInvalid);
}

TEST_F(CalculationRowsTest, ScreenPortsReadAndWriteTheWorkCopies) {
  Add(2, {{"I1_1", std::string("J")}, {"I1_11", std::string("S")}, {"I1_4", "60000.00"_dec}});
  Add(3, {{"CODIDEPEN", "11"_dec}, {"NRODEPEN", "5"_dec}});
  CalculationScreenPorts ports = WorkCopyPorts(ctx, lookup);
  Result<tax::DeclarationRows> rows = ports.rows();
  ASSERT_TRUE(rows.ok());
  ASSERT_EQ(rows->people.size(), 1u);
  ASSERT_TRUE(
      ports.write_changes({{tax::RowTable::kPeople, 0, "NRODEPEN", core::Value("1"_dec)}}).ok());
  rows = ports.rows();
  ASSERT_TRUE(rows.ok());
  EXPECT_EQ(rows->people[0]->Number("NRODEPEN"), "1"_dec);
}

TEST_F(CalculationRowsTest, BalancoCalcAndLimdoaOverTheWorkCopies) {
  Add(2, {{"I1_1", std::string("J")}, {"I1_11", std::string("S")}, {"I1_4", "100000.00"_dec}});
  Add(6, {{"I6_3", "41"_dec}, {"I6_4", "5000.00"_dec}});
  core::VariableMap vars;
  char name[8];
  for (int n = 1; n <= 51; ++n) {
    std::snprintf(name, sizeof name, "I13_%02d", n);
    vars.Declare(name, core::Decimal());
  }
  vars.Declare("USAPADRAO", std::string("N"));
  ASSERT_TRUE(AnnualBalanco(vars, ctx, lookup).ok());
  EXPECT_EQ(vars.Number("I13_21"), "17067.68"_dec);
  EXPECT_EQ(vars.Number("I13_22"), "1024.06"_dec);  // 6 % of the tax
  ASSERT_TRUE(AnnualCalc(vars, ctx, lookup, tax::kCalcWhole, 0).ok());
  EXPECT_EQ(vars.Number("I13_36"), "16043.62"_dec);
  Result<CalculationRows> rows = CalculationRows::Read(lookup);
  ASSERT_TRUE(rows.ok());
  EXPECT_EQ(rows->view().payments[0]->Number("I6_5"), "3975.94"_dec);
  // The year's donations used the whole 6 %: nothing left for the funds.
  EXPECT_EQ(AnnualLimdoa(vars, lookup, 1), "0"_dec);
  EXPECT_EQ(AnnualLimdoa(vars, lookup, 2), "0"_dec);
}

}  // namespace
}  // namespace dodu::shell
