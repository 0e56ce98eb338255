// The folder-list profiles, the frozen columns of the income profiles, the
// description pop-up and the lazy redraw.
#include <gtest/gtest.h>

#include "entry/edita.h"
#include "entry/record_browser.h"
#include "entry/testutil.h"

namespace dodu::entry::testing {
namespace {

using screen::Key;
using screen::KeyType;

class FolderListTest : public EntryTest {
 protected:
  store::WorkArea& List() {
    Status st = store::ABERTURA(ctx, areas, 50);
    EXPECT_TRUE(st.ok()) << st.ToString();
    return *areas.Get(50);
  }
};

TEST_F(FolderListTest, Profile40EditsTheFolderListWithoutTheFinalSeparator) {
  store::WorkArea& list = List();
  term.Feed("{F1}c:\\dodu2020\\clientes\\{Enter}{Esc}");
  Result<Key> k = EDITA(ec, registry, 40);
  ASSERT_TRUE(k.ok()) << k.status().ToString();
  EXPECT_EQ(*k, Key::Esc()) << "F1 does not leave the folder list";
  ASSERT_EQ(*list.table().RefreshCount(), 1u);
  EXPECT_EQ(Text(list, 1, "DIRETOR"), "C:\\DODU2020\\CLIENTES");
}

TEST_F(FolderListTest, Profile57RunsOnTheListTheCallerOpened) {
  store::WorkArea& list = List();
  Add(list, [](store::Record& r) { ASSERT_TRUE(r.PutText("DIRETOR", "C:\\KEVA2019").ok()); });
  areas.Select(50);
  Profile p = *registry.Build(ec, 57, 0);
  RecordBrowser b(ec, p, list, p.rect);
  ENTRY_ASSERT_OK(b.Init());
  b.Draw();
  ASSERT_EQ(b.rows().size(), 2u) << "the opener seeds the list with the installation folder";
  EXPECT_NE(term.RowUtf8(p.rect.top + 1).find("Nome dos diretórios"), std::string::npos);
  EXPECT_NE(term.RowUtf8(p.rect.top + 4).find("C:\\KEVA2019"), std::string::npos);
}

class IncomeColumnsTest : public EntryTest {
 protected:
  IncomeColumnsTest() {
    profile.number = 1;
    profile.area = 22;
    profile.rect = {2, 0, 12, 49};
    profile.dynamic_frozen = 1;
    profile.columns = {
        {"substr(I1_2,1,20)", "I1_2", "@S20", "Fonte pagadora", "", true},
        {"I1_4", "I1_4", "@Ez 99,999,999.99", "Rendimentos", "", false},
        {"I1_6", "I1_6", "@Ez 99,999,999.99", "Previdencia", "", false},
        {"I1_5", "I1_5", "@Ez 99,999,999.99", "Imposto Fonte", "", false},
        {"I1_7", "I1_7", "@Ez 99,999,999.99", "13ro salario", "", false},
    };
    Add(income, [](store::Record& r) { ASSERT_TRUE(r.PutText("I1_2", "ACME LTDA").ok()); });
  }
  store::WorkArea& income = WorkCopy(2);
  Profile profile;
};

TEST_F(IncomeColumnsTest, PayerFreezesOnlyRightOfTheThirdColumn) {
  RecordBrowser b(ec, profile, income, profile.rect);
  ENTRY_ASSERT_OK(b.Init());
  EXPECT_EQ(b.frozen_now(), 0);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(b.Handle(Key(KeyType::kRight)).ok());
  EXPECT_EQ(b.column(), 3);
  EXPECT_EQ(b.frozen_now(), 1);
  b.Draw();
  EXPECT_EQ(term.RowUtf8(profile.rect.top + 3).substr(1, 9), "ACME LTDA");
  ASSERT_TRUE(b.Handle(Key(KeyType::kLeft)).ok());
  EXPECT_EQ(b.frozen_now(), 0);
}

TEST_F(IncomeColumnsTest, DescriptionEditedWithEnterShowsThePopup) {
  std::string seen;
  profile.hooks.validate = [&](RecordBrowser&, int, screen::EditValue&) {
    for (int r = 0; r < screen::kScreenRows; ++r) seen += term.RowUtf8(r) + "\n";
    return true;
  };
  RecordBrowser b(ec, profile, income, profile.rect);
  ENTRY_ASSERT_OK(b.Init());
  term.Feed("{End} E FILHOS DO BRASIL S A{Enter}");
  ASSERT_TRUE(b.DOGET(Key::Enter()).ok());
  EXPECT_NE(seen.find("ACME LTDA E FILHOS DO BRASIL S A"), std::string::npos)
      << "the whole text is in the pop-up while the cell scrolls";
  EXPECT_EQ(Text(income, 1, "I1_2"), "ACME LTDA E FILHOS DO BRASIL S A");
  for (int r = 0; r < screen::kScreenRows; ++r) {
    if (r == profile.rect.top + 3) continue;  // the cell itself, redrawn by the loop
    EXPECT_EQ(term.RowUtf8(r).find("BRASIL S A"), std::string::npos) << "the pop-up is gone";
  }
}

TEST_F(IncomeColumnsTest, TypedKeyCutsTheRedrawShortAndIsHandledNext) {
  for (int i = 0; i < 5; ++i) {
    Add(income, [](store::Record& r) { ASSERT_TRUE(r.PutText("I1_2", "OUTRA").ok()); });
  }
  RecordBrowser b(ec, profile, income, profile.rect);
  ENTRY_ASSERT_OK(b.Init());
  term.Feed("{Down}{Esc}");
  b.Draw(true);
  EXPECT_EQ(term.RowUtf8(profile.rect.top + 3).substr(1, 9), "ACME LTDA")
      << "the current row first";
  EXPECT_EQ(term.RowUtf8(profile.rect.top + 5).find("OUTRA"), std::string::npos)
      << "the rest waits";
  Result<Key> k = b.Run();
  ASSERT_TRUE(k.ok());
  EXPECT_EQ(*k, Key::Esc());
  EXPECT_EQ(b.current_index(), 1) << "the key that cut the redraw was handled";
}

}  // namespace
}  // namespace dodu::entry::testing

namespace dodu::entry::testing {
namespace {

TEST(YearHeadingsTest, NormalFinalAndExitDeclarations) {
  YearHeadings n = BuildYearHeadings(2019, false, false);
  EXPECT_EQ(n.CANOAN, "Em 31/12/2018");
  EXPECT_EQ(n.CANOBA, "Em 31/12/2019");
  EXPECT_EQ(n.CDIVBA, "Em 31/12/2019");
  YearHeadings f = BuildYearHeadings(2019, true, false);
  EXPECT_EQ(f.CANOAN, " Data Partilha");
  EXPECT_EQ(f.CANOBA, " Val. Transf. ");
  EXPECT_EQ(f.CDIVAN, "Em 31/12/2018");
  EXPECT_EQ(f.CDIVBA, " Data Partilha");
  YearHeadings e = BuildYearHeadings(2019, false, true);
  EXPECT_EQ(core::Cp850ToUtf8(e.CANOBA), "Dt.Não Resid.");
  EXPECT_EQ(e.CANOAN, "Em 31/12/2018");
}

TEST_F(FolderListTest, ProfileRefusedBeforeShowingIsNotBrowsed) {
  List();
  Profile p = *registry.Build(ec, 40, 0);
  p.hooks.before_show = [](EntryContext&) { return false; };
  Result<screen::Key> k = MOSTRA(ec, p, p.rect, 0, 50);
  ASSERT_TRUE(k.ok());
  EXPECT_EQ(*k, screen::Key());
}

}  // namespace
}  // namespace dodu::entry::testing
