// The presets of new records by profile, and F_TROCA's CPF stamp.
#include "entry/adic_reg.h"

#include <gtest/gtest.h>

#include "entry/record_browser.h"
#include "entry/record_write.h"
#include "entry/testutil.h"
#include "store/catalogue.h"

namespace dodu::entry::testing {
namespace {

store::Record BlankOf(const store::Layout& layout) {
  auto l = std::make_shared<const store::RecordLayout>(*store::RecordLayout::Make(layout));
  return store::Record::Blank(l);
}

store::Record BlankOfTable(int n) { return BlankOf(store::FindTable(n)->layout); }

std::string T(const store::Record& r, const char* f) {
  Result<std::string> t = r.GetTrimmed(f);
  return t.ok() ? *t : "<none>";
}
std::string N(const store::Record& r, const char* f) {
  Result<core::Decimal> d = r.GetNumber(f);
  return d.ok() ? d->ToString() : "<none>";
}

class PresetTest : public EntryTest {};

TEST_F(PresetTest, EveryPresetOfTheTable) {
  state.presets.income_kind = "D";
  state.presets.titular = "N";
  state.presets.dependant_cpf = "98765432100";
  state.presets.rural_activity = "N";
  state.presets.asset_number = 4;
  state.presets.variable_item = 6;
  state.presets.day_trade = "S";
  state.presets.credit_debit = "D";
  state.presets.asset_line = 30;
  struct Case {
    int profile;
    int table;
    const char* field;
    std::string expected;
    bool number;
  };
  const Case cases[] = {
      {1, 2, "CPF", kCpf, false},
      {1, 2, "I1_1", "D", false},
      {1, 2, "I1_11", "N", false},
      {2, 2, "I1_8", "98765432100", false},
      {17, 2, "I1_8", "98765432100", false},
      {18, 2, "TIPOCR", "D", false},
      {5, 4, "I7_0", "70", true},
      {22, 4, "I7_0", "70", true},
      {6, 5, "I8_0", "70", true},
      {9, 5, "I8_0", "70", true},
      {35, 17, "I8R_0", "70", true},
      {36, 18, "I9R_0", "70", true},
      {35, 17, "ATV_BRASIL", "N", false},
      {35, 17, "CPF", kCpf, false},
      {10, 8, "BEM_NRO", "4", true},
      {27, 20, "REFEREN", "30", true},
      {38, 19, "TIPOCR", "D", false},
      {40, 50, "DIRETOR", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("profile " + std::to_string(c.profile) + " " + c.field);
    const store::TableDef* def = store::FindTable(c.table);
    ASSERT_NE(def, nullptr);
    if (store::FindField(def->layout, c.field) == nullptr) {
      ADD_FAILURE() << "table " << c.table << " has no " << c.field;
      continue;
    }
    store::Record r = BlankOfTable(c.table);
    ApplyPresets(ec, c.profile, store::RecNo{7}, r);
    EXPECT_EQ(c.number ? N(r, c.field) : T(r, c.field), c.expected);
  }
}

TEST_F(PresetTest, DependantsListsTakeTheirCodes) {
  const std::pair<DependantList, std::string> cases[] = {{DependantList::kDependants, "0"},
                                                         {DependantList::kAlimony, "99"},
                                                         {DependantList::kHeirs, "100"}};
  for (const auto& [list, code] : cases) {
    state.presets.dependant_list = list;
    store::Record r = BlankOfTable(3);
    ApplyPresets(ec, 3, store::RecNo{1}, r);
    EXPECT_EQ(N(r, "CODIDEPEN"), code);
  }
}

TEST_F(PresetTest, TitularLineHasNoDependantCpf) {
  state.presets.income_kind = "J";
  state.presets.titular = "S";
  state.presets.dependant_cpf = "98765432100";
  for (int p : {1, 16, 20, 24}) {
    store::Record r = BlankOfTable(2);
    ApplyPresets(ec, p, store::RecNo{1}, r);
    EXPECT_EQ(T(r, "I1_8"), "") << "profile " << p;
  }
}

TEST_F(PresetTest, LineNumberIsKeptWhenAlreadySet) {
  store::Record r = BlankOfTable(4);
  ASSERT_TRUE(r.PutNumber("I7_0", core::Decimal::FromInt(31)).ok());
  ApplyPresets(ec, 5, store::RecNo{9}, r);
  EXPECT_EQ(N(r, "I7_0"), "31");
}

TEST_F(PresetTest, AgendaPresets) {
  store::Record r = BlankOf({{"DATAG", store::FieldType::kDate, 8, 0},
                             {"NOMEAG", store::FieldType::kChar, 22, 0},
                             {"HORAG", store::FieldType::kChar, 5, 0},
                             {"AVISAG", store::FieldType::kLogical, 1, 0}});
  state.presets.agenda_day = *core::Date::FromYmd(2020, 5, 4);
  state.presets.agenda_owner = "ANA";
  store::Record r48 = r, r49 = r;
  ApplyPresets(ec, 48, store::RecNo{1}, r48);
  ApplyPresets(ec, 49, store::RecNo{1}, r49);
  EXPECT_EQ(r48.GetDate("DATAG")->Dtos(), "20200504");
  EXPECT_EQ(T(r48, "NOMEAG"), "ANA");
  EXPECT_EQ(T(r48, "HORAG"), "09 00");  // the terminal's clock
  EXPECT_FALSE(*r48.GetLogical("AVISAG"));
  EXPECT_TRUE(*r49.GetLogical("AVISAG"));
  EXPECT_EQ(T(r49, "HORAG"), "");
}

TEST_F(PresetTest, AdicRegAppendsLockedAndPreset) {
  store::WorkArea& notes = WorkCopy(11);
  Result<store::RecNo> n = ADIC_REG(ec, notes, 11);
  ASSERT_TRUE(n.ok()) << n.status().ToString();
  EXPECT_TRUE(notes.table().HoldsRecordLock(*n));
  EXPECT_EQ(Text(notes, n->value, "CPF"), kCpf);
}

// F_TROCA stamped CPF whenever the area number was below 40: that hit the
// shared tables of areas 1-20 and missed the work copies of areas 40 and 41.
// The stamp now follows the open table: only this terminal's work copies.
class FTrocaTest : public EntryTest {
 protected:
  // Writes "novo" with F_TROCA into I1_2 of the table of area `area` and
  // answers the CPF the record ends with.
  std::string Run(int area) {
    store::WorkArea& a = *areas.Get(area);
    Add(a, [](store::Record& r) { ASSERT_TRUE(r.PutText("CPF", "00000000000").ok()); });
    Profile p;
    p.number = 1;
    p.columns = {{"I1_2", "I1_2", "@S30", "Fonte", "", false}};
    RecordBrowser b(ec, p, a, p.rect);
    EXPECT_TRUE(b.Init().ok());
    Status st = b.F_TROCA(screen::EditValue(std::string("novo")));
    EXPECT_TRUE(st.ok()) << st.ToString();
    EXPECT_EQ(Text(a, 1, "I1_2"), "novo");
    return Text(a, 1, "CPF");
  }
};

TEST_F(FTrocaTest, WorkCopyInItsOwnArea) {
  WorkCopy(2);
  EXPECT_EQ(Run(22), kCpf);
}

TEST_F(FTrocaTest, SharedDeclarationTableIsNotStamped) {
  ENTRY_ASSERT_OK(store::ABERTURA(ctx, areas, 2));
  EXPECT_EQ(Run(2), "00000000000");
}

TEST_F(FTrocaTest, IsOwnWorkCopyDecidesByTheFileNotTheArea) {
  // Area 41 holds shared table 21 while a declaration loads, area 21 holds it
  // while one saves; the work copy of table 21 is in area 41 otherwise.
  ENTRY_ASSERT_OK(store::ABERTURA(ctx, areas, 41));
  EXPECT_FALSE(IsOwnWorkCopy(ctx, areas.Get(41)->table()));
  ENTRY_ASSERT_OK(store::ABERTURA(ctx, areas, 21));
  EXPECT_FALSE(IsOwnWorkCopy(ctx, areas.Get(21)->table()));
  ENTRY_ASSERT_OK(store::OpenWorkCopy(ctx, areas, 21, false));
  EXPECT_TRUE(IsOwnWorkCopy(ctx, areas.Get(41)->table()));
  ENTRY_ASSERT_OK(store::OpenWorkCopy(ctx, areas, 20, false));
  EXPECT_TRUE(IsOwnWorkCopy(ctx, areas.Get(40)->table()));
}

TEST_F(FTrocaTest, AnotherTerminalsWorkCopyIsNotOurs) {
  WorkCopy(2);
  store::OpenerContext other(env, sink, wait);
  other.work_folder = "/work";
  other.terminal = "02";
  EXPECT_FALSE(IsOwnWorkCopy(other, areas.Get(22)->table()));
}

}  // namespace
}  // namespace dodu::entry::testing
