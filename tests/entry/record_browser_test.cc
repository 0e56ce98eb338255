// The record browser over real work copies in an in-memory Env, driven by key
// scripts on the virtual terminal.
#include "entry/record_browser.h"

#include <gtest/gtest.h>

#include "entry/edita.h"
#include "entry/record_write.h"
#include "entry/testutil.h"
#include "store/table.h"

namespace dodu::entry::testing {
namespace {

using screen::Key;

// The notes list (profile 11, option 2) over the work copy of table 11.
class NotesTest : public EntryTest {
 protected:
  store::WorkArea& notes = WorkCopy(11);

  store::RecNo Note(const std::string& text, int coderr = 0) {
    return Add(notes, [&](store::Record& r) {
      ASSERT_TRUE(r.PutText("CPF", kCpf).ok());
      ASSERT_TRUE(r.PutText("NOTAS", text).ok());
      ASSERT_TRUE(r.PutText("OBSERV", text).ok());
      ASSERT_TRUE(r.PutNumber("CODERR", core::Decimal::FromInt(coderr)).ok());
    });
  }
};

TEST_F(NotesTest, EmptyListOpensOnTheAppendRowAndEscLeavesItEmpty) {
  term.Feed("{Esc}");
  Result<Key> k = EDITA(ec, registry, 11, 2);
  ASSERT_TRUE(k.ok()) << k.status().ToString();
  EXPECT_EQ(*k, Key::Esc());
  EXPECT_TRUE(state.TECLAMUDA);
  EXPECT_TRUE(state.LAPPEND);
  EXPECT_EQ(*notes.table().RefreshCount(), 0u);
}

TEST_F(NotesTest, LeavingTheAppendRowWithoutAnEditCreatesNothing) {
  Note("primeira");
  term.Feed("{Down}{Down}{Enter}{Up}{Esc}");
  ASSERT_TRUE(EDITA(ec, registry, 11, 2).ok());
  EXPECT_EQ(*notes.table().RefreshCount(), 1u);
}

TEST_F(NotesTest, TypingOnTheAppendRowCreatesThePresetRecord) {
  term.Feed("nova nota{Enter}{Esc}");
  ASSERT_TRUE(EDITA(ec, registry, 11, 2).ok());
  ASSERT_EQ(*notes.table().RefreshCount(), 1u);
  EXPECT_EQ(Text(notes, 1, "NOTAS"), "nova nota");
  EXPECT_EQ(Text(notes, 1, "CPF"), kCpf);
  EXPECT_EQ(Number(notes, 1, "CODERR"), "0");
}

TEST_F(NotesTest, ConfirmedCellIsOnDiskForASecondOpenAtOnce) {
  Note("antes");
  store::WorkArea& a = notes;
  Profile p = *registry.Build(ec, 11, 2);
  RecordBrowser b(ec, p, a, p.rect);
  ENTRY_ASSERT_OK(b.Init());
  term.Feed("depois{Enter}");
  ASSERT_TRUE(b.Handle(term.ReadKey(0).value()).ok());
  // The first typed key opened the edit, which read the rest itself.
  auto second = store::Table::Open(env, a.table().path(), store::Sharing::kShared);
  ASSERT_TRUE(second.ok()) << second.status().ToString();
  Result<store::Record> r = (*second)->Read(store::RecNo{1});
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(*r->GetTrimmed("NOTAS"), "depois");
  EXPECT_FALSE(a.table().HoldsRecordLock(store::RecNo{1})) << "the lock is let go after the write";
}

TEST_F(NotesTest, CellHeldByAnotherStationIsNotWritten) {
  Note("antes");
  auto other = store::Table::Open(env, notes.table().path(), store::Sharing::kShared);
  ASSERT_TRUE(other.ok());
  ENTRY_ASSERT_OK((*other)->LockRecord(store::RecNo{1}));
  term.Feed("depois{Enter}{Esc}");
  ASSERT_TRUE(EDITA(ec, registry, 11, 2).ok());
  EXPECT_EQ(Text(notes, 1, "NOTAS"), "antes");
  ASSERT_FALSE(StoreBoxes().empty());
  EXPECT_EQ(StoreBoxes().back(), "ATENÇÃO! Registro não ficou disponível. Dado não será gravado.");
}

TEST_F(NotesTest, EnterOnTheLastColumnWrapsToTheFirstColumnOfTheNextRow) {
  Note("um");
  Profile p = *registry.Build(ec, 11, 2);
  RecordBrowser b(ec, p, notes, p.rect);
  ENTRY_ASSERT_OK(b.Init());
  b.SetCursor(0, 1);  // OK column: ULT_POS is the last one
  term.Feed("S");
  ASSERT_TRUE(b.Handle(Key::Enter()).ok());
  EXPECT_EQ(Text(notes, 1, "IMPRE"), "S");
  EXPECT_TRUE(b.appending()) << "past the last row the append row opens";
  EXPECT_EQ(b.column(), 0);
}

TEST_F(NotesTest, WarningsListShowsOnlyRowsWithText) {
  Note("aviso um", 5);
  Note("", 0);
  Note("aviso dois", 7);
  Profile p = *registry.Build(ec, 11, 0);
  RecordBrowser b(ec, p, notes, p.rect);
  ENTRY_ASSERT_OK(b.Init());
  EXPECT_EQ(b.rows().size(), 2u);
}

TEST_F(NotesTest, TypingInTheWarningsListLeavesForTheNotes) {
  Note("aviso", 5);
  term.Feed("x");
  Result<Key> k = EDITA(ec, registry, 11, 0);
  ASSERT_TRUE(k.ok());
  EXPECT_EQ(*k, Key::Char('x'));
  EXPECT_EQ(term.status_part(0), "Mudando para a tela de notas pessoais...");
  EXPECT_EQ(Text(notes, 1, "OBSERV"), "aviso");
}

TEST_F(NotesTest, CtrlEnterOnAWarningAsksForItsScreen) {
  store::RecNo n = Note("aviso", 5);
  store::Record r = Read(notes, n);
  ASSERT_TRUE(r.PutNumber("PAGINA", core::Decimal::FromInt(4)).ok());
  ASSERT_TRUE(r.PutNumber("OPCIR", core::Decimal::FromInt(41)).ok());
  ASSERT_TRUE(r.PutNumber("REGIS", core::Decimal::FromInt(3)).ok());
  ASSERT_TRUE(r.PutNumber("COLUN", core::Decimal::FromInt(2)).ok());
  ENTRY_ASSERT_OK(notes.table().LockRecord(n));
  ENTRY_ASSERT_OK(notes.table().Write(n, r));
  notes.table().UnlockRecord(n);
  term.Feed("{Ctrl Enter}");
  Result<Key> k = EDITA(ec, registry, 11, 0);
  ASSERT_TRUE(k.ok());
  EXPECT_EQ(*k, Key::CtrlEnter());
  ASSERT_TRUE(state.jump.has_value());
  EXPECT_EQ(state.jump->screen, 4);
  EXPECT_EQ(state.jump->option, 41);
  EXPECT_TRUE(state.LTEMERR);
  EXPECT_EQ(state.NPOSIATU, 3);
  EXPECT_EQ(state.NQCOL, 2);
}

TEST_F(NotesTest, InsertBeforeMovesEveryFieldOfTheLinesDown) {
  Note("um");
  store::RecNo two = Note("dois");
  Note("tres");
  {
    // A field no column shows travels with its line too.
    store::Record r = Read(notes, two);
    ASSERT_TRUE(r.PutNumber("REGIS", core::Decimal::FromInt(222)).ok());
    ASSERT_TRUE(r.PutText("IMPRE", "S").ok());
    ENTRY_ASSERT_OK(notes.table().LockRecord(two));
    ENTRY_ASSERT_OK(notes.table().Write(two, r));
    notes.table().UnlockRecord(two);
  }
  term.Feed("{Down}{Ins}S{Esc}");
  ASSERT_TRUE(EDITA(ec, registry, 11, 2).ok());
  EXPECT_EQ(Live(notes, "NOTAS"), (std::vector<std::string>{"um", "", "dois", "tres"}));
  EXPECT_EQ(Text(notes, 2, "CPF"), kCpf);
  EXPECT_EQ(Number(notes, 2, "REGIS"), "0");
  EXPECT_EQ(Text(notes, 2, "IMPRE"), "");
  EXPECT_EQ(Number(notes, 3, "REGIS"), "222");
  EXPECT_EQ(Text(notes, 3, "IMPRE"), "S");
  EXPECT_EQ(Text(notes, 3, "OBSERV"), "dois");
  EXPECT_EQ(Text(notes, 4, "OBSERV"), "tres");
}

TEST_F(NotesTest, DeleteAsksAndRemovesTheRow) {
  Note("um");
  Note("dois");
  term.Feed("{Del}S{Esc}");
  ASSERT_TRUE(EDITA(ec, registry, 11, 2).ok());
  EXPECT_EQ(Live(notes, "NOTAS"), (std::vector<std::string>{"dois"}));
  EXPECT_EQ(ScreenBoxes().back(), "Confirma a Exclusão dessa linha?");
}

TEST_F(NotesTest, DeleteRefusedByTheRecordLockStopsBeforeTheCascade) {
  // The row was deleted (and its linked rows with it) even when another
  // station held its record: now nothing goes and the lock message shows.
  Note("um");
  auto other = store::Table::Open(env, notes.table().path(), store::Sharing::kShared);
  ASSERT_TRUE(other.ok());
  ENTRY_ASSERT_OK((*other)->LockRecord(store::RecNo{1}));
  Profile p = *registry.Build(ec, 11, 2);
  int cascades = 0, asked = 0;
  p.hooks.confirm_delete = [&](RecordBrowser&, const store::Record&) { return ++asked, true; };
  p.hooks.cascade_delete = [&](RecordBrowser&, const store::Record&) {
    ++cascades;
    return Status::Ok();
  };
  term.Feed("{Del}{Esc}");
  ASSERT_TRUE(MOSTRA(ec, p, p.rect, 0, 31).ok());
  EXPECT_EQ(Live(notes, "NOTAS"), (std::vector<std::string>{"um"}));
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(cascades, 0);
  ASSERT_FALSE(StoreBoxes().empty());
  EXPECT_EQ(StoreBoxes().back(), "ATENÇÃO! Registro não ficou disponível. Dado não será gravado.");
}

TEST_F(NotesTest, DeleteRunsTheCascadeHookAfterTheConfirmation) {
  store::WorkArea& assets = WorkCopy(4);
  Note("dependente");
  Add(assets, [](store::Record& r) { ASSERT_TRUE(r.PutText("I7_2", "carro").ok()); });
  Add(assets, [](store::Record& r) { ASSERT_TRUE(r.PutText("I7_2", "casa").ok()); });
  Profile p = *registry.Build(ec, 11, 2);
  p.hooks.cascade_delete = [&](RecordBrowser& b, const store::Record&) -> Status {
    // Remove every asset, each under its own lock.
    for (uint32_t i = 1; i <= 2; ++i) {
      DODU_RETURN_IF_ERROR(ChangeRecord(b.ec(), assets, store::RecNo{i}, [](store::Record& r) {
        r.set_deleted(true);
        return Status::Ok();
      }));
    }
    return Status::Ok();
  };
  term.Feed("{Del}N{Del}S{Esc}");
  ASSERT_TRUE(MOSTRA(ec, p, p.rect, 0, 31).ok());
  EXPECT_TRUE(Live(notes, "NOTAS").empty());
  EXPECT_TRUE(Live(assets, "I7_2").empty());
}

TEST_F(NotesTest, DeletingTheLastRowStartsTheAppendRow) {
  Note("um");
  Profile p = *registry.Build(ec, 11, 2);
  RecordBrowser b(ec, p, notes, p.rect);
  ENTRY_ASSERT_OK(b.Init());
  term.Feed("S");
  ENTRY_ASSERT_OK(b.DeleteCurrent());
  EXPECT_TRUE(b.appending());
  EXPECT_TRUE(b.rows().empty());
}

TEST_F(NotesTest, AltDownPastesClipboardLinesInPiecesOf74) {
  std::string long_line(100, 'a');
  term.set_clipboard_text("curta\r\n" + long_line + "\r\n");
  term.Feed("{Alt Down}{Esc}");
  ASSERT_TRUE(EDITA(ec, registry, 11, 0).ok());
  std::vector<std::string> rows = Live(notes, "OBSERV");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], "curta");
  EXPECT_EQ(rows[1], std::string(74, 'a'));
  EXPECT_EQ(rows[2], std::string(26, 'a'));
  EXPECT_EQ(Number(notes, 1, "CODERR"), "99");
  EXPECT_EQ(Number(notes, 1, "PAGINA"), "0");
  EXPECT_EQ(Text(notes, 1, "CPF"), kCpf);
}

TEST_F(NotesTest, CopyBufferCollectsLinesAndGoesToTheClipboard) {
  Note("primeira  ");
  Note("segunda");
  term.Feed("{Alt Up}{Down}{Alt Up}{Alt End}{Esc}");
  ASSERT_TRUE(EDITA(ec, registry, 11, 0).ok());
  ASSERT_FALSE(term.clipboard_sets().empty());
  EXPECT_EQ(term.clipboard_sets().back(), "primeira\r\nsegunda\r\n");
  EXPECT_TRUE(state.CLIPTEX.empty());
}

TEST_F(NotesTest, AltMAndAltCCopyACellIntoTheAppendRow) {
  Note("copiar");
  term.Feed("{Alt M}{Down}{Alt C}{Esc}");
  ASSERT_TRUE(EDITA(ec, registry, 11, 2).ok());
  EXPECT_EQ(Live(notes, "NOTAS"), (std::vector<std::string>{"copiar", "copiar"}));
}

TEST_F(NotesTest, HotKeysReachTheirHooks) {
  Note("um");
  int saves = 0, clocks = 0, ends = 0;
  state.hot_keys.save_declaration = [&] { ++saves; };
  state.hot_keys.toggle_use_clock = [&] { ++clocks; };
  state.hot_keys.end_declaration = [&] { ++ends; };
  term.Feed("{Alt W}{Alt H}{Alt K}{Alt T}");
  Result<Key> k = EDITA(ec, registry, 11, 2);
  ASSERT_TRUE(k.ok());
  EXPECT_EQ(*k, Key::Alt('T'));
  EXPECT_EQ(saves, 1);
  EXPECT_EQ(clocks, 1);
  EXPECT_EQ(ends, 1);
  ASSERT_EQ(term.launches().size(), 1u);
  EXPECT_EQ(term.launches()[0].argv, std::vector<std::string>{"calc.exe"});
}

}  // namespace
}  // namespace dodu::entry::testing
