#include "screen/menu.h"

#include <gtest/gtest.h>

#include "screen/dialog.h"
#include "screen/status_bar.h"
#include "testutil.h"

namespace dodu::screen {
namespace {

using testing::ScreenTest;

class MenuTest : public ScreenTest {
 protected:
  // Three top-level items, the second with two sub-items.
  LMenu& Build() {
    LMenu& m = tk_.main_window().newMenu();
    m.menuItem("&Arquivo", [&] { ran.push_back("arquivo"); })
        .subMenu("&Declara\x87\xC6o")
        .menuItem("&Abrir", [&] { ran.push_back("abrir"); })
        .separator()
        .menuItem("&Gravar", [&] { ran.push_back("gravar"); })
        .endMenu()
        .menuItem("&Sair", [&] { ran.push_back("sair"); })
        .create();
    return m;
  }
  std::vector<std::string> ran;
};

TEST_F(MenuTest, IdentifiersFollowTheBuildingOrder) {
  LMenu& m = Build();
  ASSERT_EQ(m.aItem().size(), 3u);
  EXPECT_EQ(m.aItem()[0].nSequence, 1001);
  EXPECT_EQ(m.aItem()[1].nSequence, 1002);
  EXPECT_EQ(m.aItem()[1].items[0].nSequence, 1003);
  EXPECT_EQ(m.aItem()[1].items[1].nSequence, 1004);
  EXPECT_EQ(m.aItem()[2].nSequence, 1005);
  EXPECT_TRUE(m.event(1004));
  EXPECT_FALSE(m.event(1002));  // a sub-menu has no action
  EXPECT_FALSE(m.event(1999));
  EXPECT_EQ(ran, std::vector<std::string>{"gravar"});
  EXPECT_EQ(term_.menu_bar().captions.size(), 3u);
}

TEST_F(MenuTest, WalkedWithTheKeyboardRunsTheAction) {
  Build();
  // Ctrl F10 (the menu key) opens the bar, Right to the second item, Enter drops it down, Down
  // past the separator to "Gravar", Enter chooses; then Esc leaves the event loop.
  term_.Feed("{Ctrl F10}{Right}{Enter}{Down}{Enter}{Esc}");
  tk_.main_window().activate();
  EXPECT_EQ(ran, std::vector<std::string>{"gravar"});
  EXPECT_FALSE(term_.menu_bar().active);
}

TEST_F(MenuTest, AcceleratorLettersAndClicks) {
  Build();
  std::vector<int> cols = MenuBarColumns(term_.menu_bar());
  // A click on the second caption opens it; a click on its first item runs it.
  term_.FeedKey(Key::Click(Key::kMenuBarRow, cols[1] + 1));
  term_.FeedKey(Key::Click(1, cols[1] + 2));
  term_.Feed("{Ctrl F10}d" "g");  // accelerators: D opens the sub-menu, G chooses Gravar
  term_.Feed("{Ctrl F10}s{Esc}");
  tk_.main_window().activate();
  EXPECT_EQ(ran, (std::vector<std::string>{"abrir", "gravar", "sair"}));
}

TEST_F(MenuTest, MenuClosesWithoutTraceOnEsc) {
  Build();
  Scribble();
  std::string before = Snapshot();
  term_.Feed("{Ctrl F10}{Right}{Enter}{Esc}{Esc}{Esc}");
  tk_.main_window().activate();
  EXPECT_TRUE(ran.empty());
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(MenuTest, AChoiceInsideAWaitBecomesARequest) {
  Build();
  // A screen reading keys gets the menu event instead of running the action in
  // the middle of its work; the event loop runs it once the screen unwound.
  term_.Feed("{Ctrl F10}{End}{Enter}");
  // {End} is not a bar key; Enter opens "Arquivo" which is a plain item.
  std::optional<Key> k = tk_.ReadKey();
  ASSERT_TRUE(k.has_value());
  EXPECT_EQ(k->type, KeyType::kMenu);
  EXPECT_EQ(k->code, 1001);
  EXPECT_TRUE(ran.empty());
  ASSERT_EQ(tk_.menu_request(), std::optional<int>(1001));
  EXPECT_TRUE(tk_.RunMenuRequest());
  EXPECT_EQ(ran, std::vector<std::string>{"arquivo"});
  EXPECT_FALSE(tk_.menu_request().has_value());
}

TEST_F(MenuTest, UnknownEventShowsADiagnostic) {
  Build();
  term_.Feed("{Enter}");
  EXPECT_FALSE(tk_.MenuEvent(2500));
  ASSERT_EQ(term_.boxes().size(), 1u);
}

TEST_F(MenuTest, DisabledItemBeepsAndStaysOpen) {
  LMenu& m = tk_.main_window().newMenu();
  m.subMenu("&Op").menuItem("&Um", [&] { ran.push_back("um"); }, false)
      .menuItem("&Dois", [&] { ran.push_back("dois"); }).endMenu().create();
  term_.Feed("{Ctrl F10}{Enter}{Enter}{Down}{Enter}{Esc}");
  tk_.main_window().activate();
  EXPECT_EQ(ran, std::vector<std::string>{"dois"});
  EXPECT_EQ(term_.tones().size(), 1u);
}

class StatusBarTest : public ScreenTest {};

TEST_F(StatusBarTest, AClockPartChangesAfterOneSecond) {
  tk_.LSBDRAW({Toolkit::PartSpec("Pronto", 20), Toolkit::PartSpec([&] {
                 platform::CivilTime t = clock_.Now();
                 char buf[16];
                 std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour, t.minute, t.second);
                 return std::string(buf);
               }, 8)});
  EXPECT_EQ(term_.status_part(0), "Pronto");
  EXPECT_EQ(term_.status_part(1), "09:00:00");
  term_.Feed("{Wait 1000}x");
  EXPECT_EQ(tk_.WaitKey(), Key::Char('x'));
  EXPECT_EQ(term_.status_part(1), "09:00:01");
  EXPECT_EQ(term_.status_text().substr(0, 30), "Pronto               09:00:01 ");
}

TEST_F(StatusBarTest, StatusLineBelongsToTheActiveWindow) {
  tk_.SetStatusLine("principal");
  EXPECT_EQ(term_.status_part(0), "principal");
  LDialog* d = tk_.LDLGSHOW(5, 5, 10, 40, "Janela");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(term_.status_part(0), "");
  tk_.SetStatusLine("filha");
  EXPECT_EQ(term_.status_part(0), "filha");
  EXPECT_TRUE(tk_.LDLGCLOSE());
  EXPECT_EQ(term_.status_part(0), "principal");
}

class DialogTest : public ScreenTest {};

TEST_F(DialogTest, ShowAndCloseRestoreTheScreen) {
  Scribble();
  std::string before = Snapshot();
  LDialog* d = tk_.LDLGSHOW(0, 0, 24, 79, "Tela cheia");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(&tk_.active_window(), d);
  LDialog* e = tk_.LDLGSHOW(10, 20, 12, 60, "Outra");
  ASSERT_NE(e, nullptr);
  EXPECT_TRUE(e->close());
  EXPECT_TRUE(d->close());
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(tk_.dialog_count(), 1u);
}

TEST_F(DialogTest, CloseRefusals) {
  LDialog* d = tk_.LDLGSHOW(5, 5, 10, 40, "Primeira");
  LDialog* e = tk_.LDLGSHOW(6, 6, 9, 30, "Segunda");
  ASSERT_TRUE(d && e);
  term_.Feed("{Enter}{Enter}{Enter}");
  EXPECT_FALSE(d->close());                // not the active one
  EXPECT_FALSE(tk_.main_window().close()); // the main window
  bool inside = e->readmodal([&] { return e->close(); });
  EXPECT_FALSE(inside);                    // still reading input
  EXPECT_EQ(term_.boxes().size(), 3u);
  EXPECT_TRUE(e->close());
  EXPECT_EQ(tk_.dialog_count(), 2u);
}

TEST_F(DialogTest, ARectangleOffTheScreenIsNotCreated) {
  term_.Feed("{Enter}");
  EXPECT_EQ(tk_.LDLGSHOW(20, 10, 26, 40, "Grande"), nullptr);
  ASSERT_EQ(term_.boxes().size(), 1u);
  EXPECT_EQ(term_.boxes()[0].lines[0], "Erro ao criar a janela");
  EXPECT_EQ(term_.boxes()[0].lines[1], "Grande");
  EXPECT_EQ(tk_.dialog_count(), 1u);
}

TEST_F(DialogTest, KeysBoundInAWindowComeBackOnClose) {
  std::vector<std::string> ran;
  tk_.BindKey(Key::F(5), [&] { ran.push_back("antes"); });
  LDialog* d = tk_.LDLGSHOW(5, 5, 10, 40, "Janela");
  d->setKey(Key::F(5), [&] { ran.push_back("janela"); });
  d->setKey(Key::F(6), [&] { d->end(); });
  term_.Feed("{F5}{F6}");
  EXPECT_EQ(d->activate(), 1);
  EXPECT_TRUE(d->close());
  term_.Feed("{F5}{F6}");
  EXPECT_EQ(tk_.WaitKey(), Key::F(6));  // no longer bound
  EXPECT_EQ(ran, (std::vector<std::string>{"janela", "antes"}));
}

TEST_F(DialogTest, ActivateEndsOnEscOnlyWhenAllowed) {
  LDialog* d = tk_.LDLGSHOW(5, 5, 10, 40, "Janela");
  d->lExitEsc = false;
  d->setKey(Key::F(9), [&] { tk_.LDLGEND(); });
  term_.Feed("{Esc}{Wait 3000}{F9}");
  EXPECT_EQ(d->activate(), 1);
  d->lExitEsc = true;
  term_.Feed("{Esc}");
  EXPECT_EQ(d->activate(), 3);
}

}  // namespace
}  // namespace dodu::screen
