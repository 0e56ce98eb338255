// The main loop on the virtual terminal: the menu bar built from the menu tree,
// menu choices through the dispatcher, leaving with Alt T / "Fim" and the
// "repeat for ever" after a declined exit.
#include "shell/main_loop.h"

#include <gtest/gtest.h>

#include <string>

#include "core/codepage.h"
#include "shell/menu_bar.h"
#include "shell/menu_tree.h"
#include "startup_testutil.h"
#include "store/catalogue.h"
#include "store/table.h"

namespace dodu::shell {
namespace {

using testing::StartupFixture;

class MainLoopTest : public StartupFixture {
 protected:
  // Starts a station and runs its main loop over `keys`.
  void Run(const std::string& keys) {
    ASSERT_TRUE(Start().ok());
    RegisterStationActions(station().station);
    station().vt.Feed(keys);
    MainLoop(station().station);
  }

  // The menu number of the first item running `code` (sub-choice `sub1`).
  static int ItemOf(int code, int sub1 = 0) {
    struct Null : MenuBuilder {
      void SubMenu(int, const std::string&, bool) override {}
      void MenuItem(int, const std::string&, bool) override {}
      void Separator() override {}
      void EndMenu() override {}
    } null;
    MenuCommands commands = BuildMenu(MainMenuTree(), MenuVariables(), null);
    for (int id = MenuCommands::kFirstId; id < MenuCommands::kFirstId + 1000; ++id) {
      MenuCommand c = commands.Find(id);
      if (c.kind == ActionKind::kOption && c.code == code && c.sub1 == sub1) return id;
    }
    return 0;
  }
  static std::string MenuKey(int id) { return "{Menu " + std::to_string(id) + "}"; }
};

TEST_F(MainLoopTest, TheMenuBarCarriesTheWholeTreeWithTheTreesNumbers) {
  ASSERT_TRUE(Start().ok());
  screen::LDialog& main = station().tk.main_window();
  auto commands = std::make_shared<MenuCommands>();
  screen::LMenu& menu = main.newMenu();
  int chosen = 0;
  LMenuBuilder builder(menu, [&](int id) { chosen = id; });
  *commands = BuildMenu(MainMenuTree(), MenuVariablesOf(station().station.menu), builder);
  menu.create();
  EXPECT_EQ(builder.renumbered(), 0);
  EXPECT_EQ(station().vt.menu_bar().captions,
            (std::vector<std::string>{core::Cp850("&Declaração"), core::Cp850("&Opções"),
                                      core::Cp850("&Selecão"), core::Cp850("&Impressão"),
                                      core::Cp850("&Envia p/ Receita"),
                                      core::Cp850("&Cópia de Segurança"), "&Fim"}));
  const int fim = ItemOf(91);
  ASSERT_NE(fim, 0);
  EXPECT_TRUE(menu.event(fim));
  EXPECT_EQ(chosen, fim);
}

TEST_F(MainLoopTest, AltTAndYesLeaveAndWriteTheSettingsBack) {
  ASSERT_TRUE(Start().ok());
  RegisterStationActions(station().station);
  Station& st = station().station;
  st.menu.opttran = 1;
  st.menu.xdrive = "E";
  st.settings.ult_cpf = "38491756264";
  station().vt.Feed("{Alt T}S");
  MainLoop(st);
  EXPECT_TRUE(st.leaving);
  EXPECT_TRUE(station().ShowedBox("Confirma saída do programa?"));
  EXPECT_EQ(core::Cp850ToUtf8(station().vt.boxes().back().title), "Saida do Programa");
  EXPECT_TRUE(st.areas.OpenNumbers().empty());
  FieldValues config = ReadRecord("CONFIG.DBF");
  EXPECT_EQ(IntOf(config, "OPTTRAN"), 1);
  EXPECT_EQ(CharOf(config, "XDRIVE"), "E");
  EXPECT_EQ(CharOf(config, "ULT_CPF"), "38491756264");
  EXPECT_EQ(CharOf(config, "NOMEAG"), "USUARIO DO TERMINAL 01");
  // The folder list is let go: another station with this number may start.
  testing::TestStation next(env, env.fake_clock());
  EXPECT_TRUE(StartUp(next.station, Options("01")).ok());
}

TEST_F(MainLoopTest, LeavingStoresTheDataFolderInUse) {
  ASSERT_TRUE(env.CreateDir("/dados").ok());
  ASSERT_TRUE(Start().ok());
  RegisterStationActions(station().station);
  // As the folder routines leave it after switching folders.
  station().station.ctx.data_folder = "/dados";
  station().vt.Feed("{Alt T}S");
  MainLoop(station().station);
  EXPECT_EQ(CharOf(ReadRecord("CONFIG.DBF"), "ROTADOANO"), "/dados");
}

TEST_F(MainLoopTest, TodaysAlarmsOfTheOperatorFireInTheirMinute) {
  ASSERT_TRUE(Start().ok());
  CloseStation();
  {
    const store::TableDef* def = store::FindTable(72);
    auto t = store::Table::Create(env, "/inst/AGENDA.DBF", def->layout, store::Sharing::kExclusive);
    ASSERT_TRUE(t.ok()) << t.status().ToString();
    struct Row {
      const char* who;
      const char* hour;
      int day;
      bool on;
    } rows[] = {{"USUARIO DO TERMINAL 01", "0930", 2, true},    // shown at 09:30
                {"USUARIO DO TERMINAL 01", "0830", 2, true},    // already past
                {"USUARIO DO TERMINAL 01", "0945", 3, true},    // tomorrow
                {"OUTRA PESSOA", "0930", 2, true},              // not this operator
                {"USUARIO DO TERMINAL 01", "0931", 2, false}};  // no alarm asked
    for (const Row& r : rows) {
      store::Record rec = (*t)->BlankRecord();
      ASSERT_TRUE(PutFields(rec, {CharField("NOMEAG", r.who), CharField("HORAG", r.hour),
                                  CharField("ANOTAG", std::string("Ligar ") + r.hour),
                                  DateField("DATAG", testing::Dmy(r.day, 3, 2020)),
                                  LogicalField("AVISAG", r.on)})
                      .ok());
      ASSERT_TRUE((*t)->Append(rec).ok());
    }
  }
  ASSERT_TRUE(Start().ok());
  ASSERT_EQ(station().station.aagen.size(), 1u);
  RegisterStationActions(station().station);
  env.fake_clock().Set({2020, 3, 2, 9, 30, 0});
  // The alarms are looked at after the key waited for once the event loop is left again.
  station().vt.Feed("{Esc}N{Esc}x{Enter}{Alt T}S");
  MainLoop(station().station);
  EXPECT_TRUE(station().ShowedBox("ATENÇÃO - 09:30 Ligar 0930"))
      << ::testing::PrintToString(station().Boxes());
  EXPECT_TRUE(station().station.aagen.empty());
}

TEST_F(MainLoopTest, FimFromTheMenuLeavesAfterTheQuestion) {
  Run(MenuKey(ItemOf(91)) + "S");
  EXPECT_TRUE(station().station.leaving);
  EXPECT_EQ(station().station.menu.opcao_1, 91);
}

TEST_F(MainLoopTest, TerminarLeavesWithoutAQuestion) {
  Run(MenuKey(ItemOf(18)));
  EXPECT_TRUE(station().station.leaving);
  EXPECT_TRUE(station().Boxes().empty());
}

TEST_F(MainLoopTest, LeavingAfterAnImportRebuildsTheDataFoldersIndexes) {
  ASSERT_TRUE(Start().ok());
  Station& st = station().station;
  // The start-up opened the register with its index; a damaged index is rebuilt.
  st.areas.CloseAll();
  const std::string cdx = st.ctx.data_folder + "/IMP0920.CDX";
  ASSERT_TRUE(env.Exists(cdx));
  const std::string good = *platform::ReadWholeFile(env, cdx);
  ASSERT_TRUE(platform::WriteFileAtomic(env, cdx, std::string(good.size(), 'x')).ok());
  st.menu.opcao_1 = 17;
  ASSERT_TRUE(ROTSAIDA(st, 18));
  // Rebuilt: the same index again (its header carries a rebuild counter).
  const std::string after = *platform::ReadWholeFile(env, cdx);
  EXPECT_TRUE(after.size() == good.size() && after.substr(0, 32) == good.substr(0, 32) &&
              after.substr(64) == good.substr(64));
}

TEST_F(MainLoopTest, AShortActionRunsFromTheMenuAndTheLoopGoesOn) {
  // "Mostra a Selecao" shows the print selection; then Alt T leaves.
  Run(MenuKey(ItemOf(48, 1)) + "{Enter}{Alt T}S");
  ASSERT_GE(station().vt.boxes().size(), 2u);
  EXPECT_EQ(core::Cp850ToUtf8(station().vt.boxes()[0].title), "Seleçao para impressão");
  EXPECT_TRUE(station().station.leaving);
}

TEST_F(MainLoopTest, AnOptionNotBuiltYetSaysSo) {
  Run("{Alt I}{Enter}{Alt T}S");
  EXPECT_EQ(station().Boxes()[0], "Opção não disponível nesta versão");
  EXPECT_EQ(station().station.menu.opcao_1, 91);
}

TEST_F(MainLoopTest, DecliningTheExitRepeatsForEver) {
  // Esc leaves the event loop: the question, "Não". The loop runs again; Esc
  // leaves it and one more key is waited for (Esc again asks), "Não" again;
  // then Alt T in the event loop, and "Sim".
  Run("{Esc}N{Esc}{Esc}N{Alt T}S");
  EXPECT_TRUE(station().station.leaving);
  int asked = 0;
  for (const std::string& b : station().Boxes()) asked += b == "Confirma saída do programa?";
  EXPECT_EQ(asked, 3);
}

TEST_F(MainLoopTest, TheKeyAfterASecondEventLoopCanBeAltT) {
  Run("{Esc}N{Esc}{Alt T}S");
  EXPECT_TRUE(station().station.leaving);
}

}  // namespace
}  // namespace dodu::shell

namespace dodu::shell {
namespace {

TEST_F(MainLoopTest, TheMenuKeyOpensTheBarAndAWalkReachesAnItem) {
  // Ctrl F10, right to "Selecão", open it, its last item "Mostra a Selecao".
  Run("{Ctrl F10}{Right}{Right}{Down}{End}{Enter}{Enter}{Alt T}S");
  ASSERT_FALSE(station().vt.boxes().empty());
  EXPECT_EQ(core::Cp850ToUtf8(station().vt.boxes()[0].title), "Seleçao para impressão");
  EXPECT_TRUE(station().station.leaving);
}

}  // namespace
}  // namespace dodu::shell
