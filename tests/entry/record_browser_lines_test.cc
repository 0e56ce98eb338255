// Line-numbered lists (the assets work copy, ordered by its line number): the
// order follows a changed key, insert-after and renumbering, Alt O.
#include <gtest/gtest.h>

#include "entry/edita.h"
#include "entry/record_browser.h"
#include "entry/temp_index.h"
#include "entry/testutil.h"

namespace dodu::entry::testing {
namespace {

using screen::Key;

class AssetLinesTest : public EntryTest {
 protected:
  AssetLinesTest() {
    profile.number = 5;
    profile.area = 24;
    profile.rect = {2, 0, 20, 79};
    profile.columns = {
        {"I7_1", "I7_1", "999", "Item", "I7_1", false},
        {"substr(I7_2,1,30)", "I7_2", "@S30", "Descrição", "UPPER(I7_2)", true},
        {"I7_4", "I7_4", "@Ez 99,999,999.99", "Valor", "str(I7_4,12,2)", false},
        {"I7_0", "I7_0", "9999", "Linha", "", false},
    };
    profile.insert = InsertMode::kAfterLine;
    profile.line_field = "I7_0";
    profile.item_field = "I7_1";
    profile.description_field = "I7_2";
  }

  store::RecNo Asset(int line, int item, const std::string& text, int value = 0) {
    return Add(assets, [&](store::Record& r) {
      ASSERT_TRUE(r.PutText("CPF", kCpf).ok());
      ASSERT_TRUE(r.PutNumber("I7_0", core::Decimal::FromInt(line)).ok());
      ASSERT_TRUE(r.PutNumber("I7_1", core::Decimal::FromInt(item)).ok());
      ASSERT_TRUE(r.PutText("I7_2", text).ok());
      ASSERT_TRUE(r.PutNumber("I7_4", core::Decimal::FromInt(value)).ok());
    });
  }

  // The descriptions in the browser's order.
  std::vector<std::string> Shown(RecordBrowser& b) {
    std::vector<std::string> out;
    for (store::RecNo n : b.rows()) {
      Result<std::string> t = Read(assets, n).GetTrimmed("I7_2");
      out.push_back(t.ok() ? *t : "?");
    }
    return out;
  }
  std::vector<std::string> Lines(RecordBrowser& b) {
    std::vector<std::string> out;
    for (store::RecNo n : b.rows()) out.push_back(Number(assets, n.value, "I7_0"));
    return out;
  }

  store::WorkArea& assets = WorkCopy(4);
  Profile profile;
};

TEST_F(AssetLinesTest, ChangedLineNumberMovesTheRowAndTheHighlightFollows) {
  Asset(10, 1, "casa");
  Asset(20, 2, "carro");
  Asset(30, 3, "terreno");
  RecordBrowser b(ec, profile, assets, profile.rect);
  ENTRY_ASSERT_OK(b.Init());
  b.SetCursor(0, 3);
  term.Feed("35{Enter}");
  Result<std::vector<Key>> next = b.DOGET(Key::Enter());
  ASSERT_TRUE(next.ok()) << next.status().ToString();
  EXPECT_TRUE(next->empty()) << "after a key change the browser stays on the record";
  EXPECT_EQ(Shown(b), (std::vector<std::string>{"carro", "terreno", "casa"}));
  ASSERT_TRUE(b.current_recno().has_value());
  EXPECT_EQ(b.current_recno()->value, 1u);
  EXPECT_EQ(b.current_index(), 2);
}

TEST_F(AssetLinesTest, AppendRowPresetsTheLineFromTheRecordNumber) {
  Asset(10, 1, "casa");
  term.Feed("{Down}{Right}barco{Enter}{Esc}");
  ASSERT_TRUE(MOSTRA(ec, profile, profile.rect, 0, 24).ok());
  EXPECT_EQ(Text(assets, 2, "I7_2"), "barco");
  EXPECT_EQ(Number(assets, 2, "I7_0"), "20");
  EXPECT_EQ(Text(assets, 2, "CPF"), kCpf);
}

TEST_F(AssetLinesTest, InsertAfterLine30GivesLine31AndRenumbersTheRest) {
  for (int i = 1; i <= 5; ++i) Asset(i * 10, i, "bem " + std::to_string(i));
  RecordBrowser b(ec, profile, assets, profile.rect);
  ENTRY_ASSERT_OK(b.Init());
  b.SetCursor(2, 1);
  term.Feed("S");
  ENTRY_ASSERT_OK(b.InsertCurrent());
  EXPECT_EQ(Lines(b), (std::vector<std::string>{"10", "20", "30", "31", "41", "51"}));
  EXPECT_EQ(b.current_index(), 3) << "the highlight is on the new row";
  EXPECT_EQ(ScreenBoxes().back(), "Insere uma linha após esse Item?");
}

TEST_F(AssetLinesTest, AltLInsertsSeveralLinesAfterTheCurrentOne) {
  Asset(10, 1, "a");
  Asset(20, 2, "b");
  term.Feed("{Alt L}3{Esc}");  // the one-digit field is left when filled
  ASSERT_TRUE(MOSTRA(ec, profile, profile.rect, 0, 24).ok());
  std::vector<std::string> lines;
  for (const std::string& l : std::vector<std::string>{"1", "2", "3", "4", "5"}) {
    lines.push_back(Number(assets, static_cast<uint32_t>(std::stoi(l)), "I7_0"));
  }
  EXPECT_EQ(lines, (std::vector<std::string>{"10", "20", "11", "12", "13"}));
}

TEST_F(AssetLinesTest, RenumberingItemsAndLines) {
  Asset(10, 1, "a");
  Asset(20, 7, "b");
  Asset(30, 0, "c");
  Asset(40, 9, "d");
  RecordBrowser b(ec, profile, assets, profile.rect);
  ENTRY_ASSERT_OK(b.Init());
  b.SetCursor(0, 0);
  term.Feed("S");
  ENTRY_ASSERT_OK(b.Renumber());
  std::vector<std::string> items;
  for (store::RecNo n : b.rows()) items.push_back(Number(assets, n.value, "I7_1"));
  EXPECT_EQ(items, (std::vector<std::string>{"1", "2", "0", "3"}));

  b.SetCursor(2, 0);
  term.Feed("{Enter}");
  ENTRY_ASSERT_OK(b.Renumber());
  EXPECT_EQ(ScreenBoxes().back(),
            "Só é possível reorganizar a partir de um item diferente de Zero");

  b.SetCursor(1, 1);
  term.Feed("{Enter}");
  ENTRY_ASSERT_OK(b.Renumber());
  EXPECT_EQ(ScreenBoxes().back(), "Posicione o cursor sobre a coluna Item ou Linha");
}

TEST_F(AssetLinesTest, AltOOrdersByAColumnThroughATemporaryIndexRemovedAtTheEnd) {
  Asset(10, 1, "Zebra");
  Asset(20, 2, "abelha");
  Asset(30, 3, "Mula");
  const std::string path = TempIndex::PathFor(ctx);
  EXPECT_EQ(path, "/work/TMPIND01.CDX");
  {
    RecordBrowser b(ec, profile, assets, profile.rect);
    ENTRY_ASSERT_OK(b.Init());
    b.SetCursor(0, 1);
    ENTRY_ASSERT_OK(b.OrderByCurrentColumn());
    EXPECT_TRUE(env.Exists(path));
    EXPECT_EQ(Shown(b), (std::vector<std::string>{"abelha", "Mula", "Zebra"}));
    // The temporary order stays right while the list is edited.
    b.SetCursor(0, 1);
    term.Feed("{Ctrl Y}zz{Enter}");
    ASSERT_TRUE(b.DOGET(Key::Enter()).ok());
    EXPECT_EQ(Shown(b), (std::vector<std::string>{"Mula", "Zebra", "zz"}));
  }
  EXPECT_FALSE(env.Exists(path)) << "the index goes with the profile";
}

TEST_F(AssetLinesTest, TemporaryIndexNamesOfTwoTerminalsDiffer) {
  store::OpenerContext other(env, sink, wait);
  other.work_folder = "/work";
  other.terminal = "02";
  EXPECT_NE(TempIndex::PathFor(ctx), TempIndex::PathFor(other));
}

TEST_F(AssetLinesTest, AltOOnAColumnWithoutOrderDoesNothing) {
  Asset(10, 1, "a");
  RecordBrowser b(ec, profile, assets, profile.rect);
  ENTRY_ASSERT_OK(b.Init());
  b.SetCursor(0, 3);
  ENTRY_ASSERT_OK(b.OrderByCurrentColumn());
  EXPECT_EQ(b.temp_index(), nullptr);
  EXPECT_FALSE(env.Exists(TempIndex::PathFor(ctx)));
}

TEST_F(AssetLinesTest, EditaRemovesTheTemporaryIndexWhenTheProfileEnds) {
  Asset(10, 1, "a");
  Asset(20, 2, "b");
  registry.Register(5, [this](EntryContext&, int) -> Result<Profile> { return profile; });
  term.Feed("{Right}{Alt O}{Esc}");
  ASSERT_TRUE(EDITA(ec, registry, 5).ok());
  EXPECT_FALSE(env.Exists(TempIndex::PathFor(ctx)));
}

TEST_F(AssetLinesTest, AltUpAddsValuesAndAltJAppendsTheBufferToADescription) {
  Asset(10, 1, "casa", 100);
  Asset(20, 2, "carro", 50);
  term.Feed("{Right}{Right}{Alt Up}{Down}{Alt Up}{Esc}");
  ASSERT_TRUE(MOSTRA(ec, profile, profile.rect, 0, 24).ok());
  ASSERT_TRUE(state.CLIPTEX.is_number());
  EXPECT_EQ(state.CLIPTEX.number(), core::Decimal::FromInt(150));

  state.CLIPTEX.Clear();
  state.CLIPTEX.AddLine("quitado");
  term.Feed("{Right}{Alt J}S{Esc}");
  ASSERT_TRUE(MOSTRA(ec, profile, profile.rect, 0, 24).ok());
  EXPECT_EQ(Text(assets, 1, "I7_2"), "casa quitado");
}

TEST_F(AssetLinesTest, CalculatorResultReplacesANumberAndIsAppendedToText) {
  Asset(10, 1, "casa", 100);
  state.hot_keys.calculator = [] {
    return std::optional<core::Decimal>(core::Decimal::FromScaled(123456, 2));
  };
  term.Feed("{Right}{Right}{Alt S}{Left}{Alt S}{Esc}");
  ASSERT_TRUE(MOSTRA(ec, profile, profile.rect, 0, 24).ok());
  EXPECT_EQ(Number(assets, 1, "I7_4"), "1234.56");
  EXPECT_EQ(Text(assets, 1, "I7_2"), "casa       1.234,56");  // "@EZ 9999,999,999.99"
}

TEST_F(AssetLinesTest, MouseClickMovesTheHighlightAndADoubleClickEdits) {
  Asset(10, 1, "um");
  Asset(20, 2, "dois");
  RecordBrowser b(ec, profile, assets, profile.rect);
  ENTRY_ASSERT_OK(b.Init());
  b.Draw();
  // Rows start three lines below the frame's top.
  const int row = profile.rect.top + 3 + 1;
  const int col = profile.rect.left + 1 + b.compiled(0).width() + 1;
  ASSERT_TRUE(b.Handle(Key::Click(row, col)).ok());
  EXPECT_EQ(b.current_index(), 1);
  EXPECT_EQ(b.column(), 1);
  term.Feed("{Ctrl Y}tres{Enter}");
  ASSERT_TRUE(b.Handle(Key::DoubleClick(profile.rect.top + 3, col)).ok());
  EXPECT_EQ(Text(assets, 1, "I7_2"), "tres");
}

TEST_F(AssetLinesTest, ProfileWithFewerColumnsThanNCamIsNotShown) {
  profile.n_cam = 9;
  term.Feed("");
  Result<Key> k = MOSTRA(ec, profile, profile.rect, 0, 24);
  ASSERT_TRUE(k.ok());
  EXPECT_EQ(*k, Key());
  EXPECT_EQ(term.flushes(), 0);
}

}  // namespace
}  // namespace dodu::entry::testing
