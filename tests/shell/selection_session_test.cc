// The selection over the real register list and the real declaration
// session: picks from the list on the virtual terminal, loads that mark the
// register, and the recovery of a declaration a station left open.
#include "shell/selection_session.h"

#include <gtest/gtest.h>

#include "shell/selection_testutil.h"
#include "shell/selection_windows.h"

namespace dodu::shell {
namespace {

using testing::Cpf;
using testing::SelectionFixture;

class SelectionSessionTest : public SelectionFixture {
 protected:
  SelectionSessionTest() {
    UseRegisterList(s);
    s.hooks.load = nullptr;
  }
  std::unique_ptr<DeclarationSession> NewSession() {
    return std::make_unique<DeclarationSession>(ctx, areas, SessionSettings(), hooks, s.frame);
  }
  std::string Nusuat(const std::string& cpf) {
    EXPECT_TRUE(store::MUDADIR(ctx, areas, data, cpf).ok());
    store::WorkArea& reg = *areas.Get(9);
    EXPECT_TRUE(reg.SetOrder(1).ok());
    Result<bool> found = reg.Seek(cpf);
    if (!found.ok() || !*found) return "<none>";
    return reg.Current()->GetText("NUSUAT").value_or("");
  }

  const std::string ana = Cpf("123456789");
  const std::string bia = Cpf("987654321");
  const std::string caio = Cpf("111444777");
  DeclarationHooks hooks;
};

TEST_F(SelectionSessionTest, PartialNameOpensTheListOnTheFirstNameNotSmaller) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", ""}, {bia, "SILVIA MATOS", ""}, {caio, "SILVA", ""}});
  std::vector<LoadRequest> seen;
  s.hooks.load = [&](const LoadRequest& r) {
    seen.push_back(r);
    return Status::Ok();
  };
  // The list opens on "SILVA" (the first name not smaller than "SIL"): Enter.
  Result<bool> r = Run(11, "{Enter}sil{Enter}{Enter}");
  ASSERT_OK(r);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].cpf, caio);
  // A Down first picks the next name.
  seen.clear();
  ult_cpf.clear();
  s.state = SelectionState();
  r = Run(11, "{Enter}sil{Enter}{Down}{Enter}");
  ASSERT_OK(r);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].cpf, bia);
}

TEST_F(SelectionSessionTest, LoadMarksTheRegisterAndACrashIsRecovered) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", ""}, {bia, "BIA LIMA", ""}});
  {
    std::unique_ptr<DeclarationSession> session = NewSession();
    UseDeclarationSession(s, *session);
    // F2: the list in CPF order, Enter picks its first line.
    Result<bool> r = Run(11, "{F2}{Enter}");
    ASSERT_OK(r);
    EXPECT_TRUE(*r);
    EXPECT_TRUE(session->is_open());
    EXPECT_EQ(session->cpf(), ana);
    // The station stops here without saving, as a killed one would.
  }
  areas.CloseAll();
  ASSERT_OK(store::ABERTURA(ctx, areas, 50));
  EXPECT_EQ(Nusuat(ana), "01");

  std::unique_ptr<DeclarationSession> next = NewSession();
  UseDeclarationSession(s, *next);
  s.state = SelectionState();
  Result<bool> r = Run(11, ana + "S");
  ASSERT_OK(r);
  ASSERT_EQ(BoxFirstLines().size(), 1u);
  EXPECT_EQ(BoxFirstLines()[0], kRecoverLine1);
  EXPECT_TRUE(next->is_open());
  EXPECT_EQ(next->cpf(), ana);
}

TEST_F(SelectionSessionTest, NewTaxpayerIsLoadedEmpty) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", ""}});
  std::unique_ptr<DeclarationSession> session = NewSession();
  UseDeclarationSession(s, *session);
  Result<bool> r = Run(11, caio + "S");
  ASSERT_OK(r);
  EXPECT_TRUE(session->is_open());
  EXPECT_TRUE(session->is_new());
  EXPECT_EQ(session->cpf(), caio);
}

TEST_F(SelectionSessionTest, UnknownStatusIsPickedFromTheStatusList) {
  WriteStatusTable({{1, "EM ANDAMENTO"}, {7, "TRANSMITIDA"}});
  // The list in code order: Down, Enter picks 7.
  term.Feed("{Down}{Enter}");
  Result<StatusAnswer> a = VE_STAT(s, 4, 1);
  ASSERT_OK(a);
  EXPECT_EQ(a->code, 7);
  EXPECT_EQ(a->description, "TRANSMITIDA  ");
}

// The whole option 11 on a station: the selection loads the taxpayer, the
// declaration runs and is left saving (Alt T), the selection asks for the
// next taxpayer (OPCFIM 0) and Esc ends it; the register is free again.
TEST_F(SelectionSessionTest, Option11OpensTheDeclarationAndComesBack) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", ""}});
  areas.CloseAll();  // the station holds the folder list from here on
  Station station(*env, tk);
  station.ctx.terminal = "01";
  station.ctx.installation_folder = inst;
  station.ctx.data_folder = data;
  station.ctx.work_folder = work;
  station.settings.terminal = "01";
  station.menu.opcfim = 0;
  ASSERT_OK(store::ABERTURA(station.ctx, station.areas, 50));
  SelectionContext sel(tk, station.ctx, station.areas, station.menu, station.settings.ult_cpf);
  DeclarationSession session(station.ctx, station.areas, SessionSettings(), hooks, sel.frame);
  UseRegisterList(sel);
  UseDeclarationSession(sel, session);
  UseDeclarationMenu(sel, station, session);
  term.Feed(ana + "{Alt T}{Esc}");
  Result<bool> r = DECLARA(sel, 11);
  ASSERT_OK(r);
  EXPECT_TRUE(*r);
  EXPECT_FALSE(session.is_open());
  EXPECT_EQ(station.settings.ult_cpf, ana);
  ASSERT_OK(store::MUDADIR(station.ctx, station.areas, data, ana).status());
  store::WorkArea& reg = *station.areas.Get(9);
  ASSERT_OK(reg.SetOrder(1));
  ASSERT_TRUE(*reg.Seek(ana));
  EXPECT_EQ(reg.Current()->GetText("NUSUAT").value_or("?"), "  ");
  station.areas.CloseAll();
}

}  // namespace
}  // namespace dodu::shell
