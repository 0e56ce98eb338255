// The maintenance screens on the virtual terminal: the folder prompts, the
// status screens and the SELIC register.
#include "shell/maintenance_screens.h"

#include <gtest/gtest.h>

#include "core/codepage.h"
#include "platform/memory_env.h"
#include "screen/toolkit_sink.h"
#include "screen/virtual_terminal.h"
#include "shell/testutil.h"
#include "store/folder_list.h"
#include "store/opener.h"
#include "store/rec_lock.h"
#include "store/selic_register.h"

namespace dodu::shell {
namespace {

using core::Cp850;

class MaintenanceScreenTest : public ::testing::Test {
 protected:
  MaintenanceScreenTest() : sink(tk), ctx(env, sink, wait), m{tk, ctx, areas, ""} {
    ctx.terminal = "01";
    ctx.installation_folder = "/inst";
    ctx.data_folder = "/data";
    ctx.work_folder = "/work";
    for (const char* f : {"/inst", "/data", "/work"}) EXPECT_TRUE(env.CreateDir(f).ok());
    tk.Start("DODU2020");
    // F9 takes a picture of the screen while a dialog waits.
    tk.BindKey(screen::Key::F(9), [this] {
      snapshot.clear();
      for (int r = 0; r < 25; ++r) snapshot += tk.RowText(r) + "\n";
    });
  }
  bool Shown(const std::string& text) const { return snapshot.find(text) != std::string::npos; }
  std::vector<std::string> BoxLines() {
    std::vector<std::string> out;
    for (const auto& b : term.boxes()) out.push_back(b.lines.empty() ? "" : b.lines[0]);
    return out;
  }
  // Runs the prompt with the keys; answers its result ("<kept>" for none).
  std::string Prompt(FolderKind kind, const std::string& current, const std::string& keys) {
    term.Feed(keys);
    Result<std::optional<std::string>> r = NOVA_ROTA(m, kind, current, 80);
    EXPECT_TRUE(r.ok()) << r.status().ToString();
    if (!r.ok()) return "<error>";
    if (!*r) return "<kept>";
    std::string v = **r;
    EXPECT_EQ(v.size(), 80u);
    while (!v.empty() && v.back() == ' ') v.pop_back();
    return v;
  }

  screen::ManualClock clock;
  screen::VirtualTerminal term{clock};
  screen::Toolkit tk{term};
  screen::ToolkitMessageSink sink;
  platform::MemoryEnv env;
  store::RecordingWaitObserver wait;
  store::OpenerContext ctx;
  store::WorkAreas areas;
  MaintenanceContext m;
  std::string snapshot;
};

TEST(FolderRuleTest, Answers) {
  struct {
    FolderKind kind;
    bool esc;
    const char* answer;
    FolderRule::Verdict verdict;
    const char* value;
    bool warn;
  } cases[] = {
      {FolderKind::kWork, true, "X:\\A", FolderRule::kKeep, "", false},
      {FolderKind::kWork, false, "   ", FolderRule::kKeep, "", false},
      {FolderKind::kOfficial, false, "", FolderRule::kAccept, "", true},
      {FolderKind::kWork, false, " E: ", FolderRule::kAccept, "E:\\", false},
      {FolderKind::kOfficial, false, "D:\\", FolderRule::kAccept, "D:\\", false},
      {FolderKind::kWork, false, "C:\\TRAB", FolderRule::kCheck, "C:\\TRAB", false},
  };
  for (const auto& c : cases) {
    FolderRule r = ApplyFolderRule(c.kind, c.esc, c.answer);
    EXPECT_EQ(r.verdict, c.verdict) << c.answer;
    EXPECT_EQ(r.value, c.value) << c.answer;
    EXPECT_EQ(r.warn_empty, c.warn) << c.answer;
  }
}

TEST_F(MaintenanceScreenTest, FolderPromptShowsTheCurrentValueAndTakesADrive) {
  EXPECT_EQ(Prompt(FolderKind::kWork, "C:\\VELHA", "{Ctrl Y}E:{Enter}"), "E:\\");
  EXPECT_TRUE(term.boxes().empty());
}

TEST_F(MaintenanceScreenTest, FolderPromptEscAndEmptyAnswers) {
  EXPECT_EQ(Prompt(FolderKind::kWork, "C:\\VELHA", "X{Esc}"), "<kept>");
  EXPECT_EQ(Prompt(FolderKind::kWork, "C:\\VELHA", "{Ctrl Y}{Enter}"), "<kept>");
  EXPECT_EQ(Prompt(FolderKind::kOfficial, "C:\\IRPF", "{Ctrl Y}{Enter}{Enter}"), "");
  ASSERT_EQ(BoxLines().size(), 1u);
  EXPECT_EQ(BoxLines()[0],
            Cp850("Ao deixar em branco NÃO haverá transferência para o programa da receita!"));
}

TEST_F(MaintenanceScreenTest, AltPFillsTheOfficialDefault) {
  term.Feed("{Alt P}");
  // The status bar tells what Alt P does while the prompt waits.
  Result<std::optional<std::string>> r = Status::Invalid("not run");
  term.Feed("{Enter}");
  ctx.confirm = [](const std::vector<std::string>&) { return true; };
  r = NOVA_ROTA(m, FolderKind::kOfficial, "", 80);
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  ASSERT_TRUE(*r);
  std::string v = **r;
  while (!v.empty() && v.back() == ' ') v.pop_back();
  EXPECT_EQ(v, "C:\\ARQUIVOS DE PROGRAMAS RFB\\IRPF2020\\APLICACAO\\DADOS");
  EXPECT_TRUE(env.IsDirectory("/ARQUIVOS DE PROGRAMAS RFB/IRPF2020/APLICACAO/DADOS"));
}

TEST_F(MaintenanceScreenTest, FolderRefusedIsAskedAgain) {
  int asked = 0;
  ctx.confirm = [&](const std::vector<std::string>&) {
    ++asked;
    return false;
  };
  EXPECT_EQ(Prompt(FolderKind::kWork, "C:\\VELHA", "{Ctrl Y}C:\\NOVA{Enter}{Esc}"), "<kept>");
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(env.Exists("/NOVA"));
}

TEST_F(MaintenanceScreenTest, SelareaStoresTheFolders) {
  testing::RecordingTables tables;
  MainMenuState state;
  ASSERT_TRUE(env.CreateDir("/TRAB").ok());
  term.Feed("{Ctrl Y}C:\\TRAB{Enter}");
  ASSERT_TRUE(SELAREA(m, state, &tables, 1).ok());
  EXPECT_EQ(ctx.work_folder, "/TRAB");
  term.Feed("{Ctrl Y}E:{Enter}");
  ASSERT_TRUE(SELAREA(m, state, &tables, 2).ok());
  EXPECT_EQ(state.locirpf, "E:\\");
  ASSERT_EQ(tables.config_writes.size(), 2u);
  EXPECT_EQ(CharOf(tables.config_writes[1], "ROTAJAVA"), "E:\\");
}

TEST_F(MaintenanceScreenTest, ProtectedStatusGoesToTheDefaults) {
  testing::RecordingTables tables;
  term.Feed("{F9}7{Enter}");
  ASSERT_TRUE(MUDA_ESTATUS(m, &tables, 3).ok());
  ASSERT_EQ(tables.define_writes.size(), 1u);
  EXPECT_EQ(IntOf(tables.define_writes[0], "STATRAVA"), 7);
  EXPECT_TRUE(Shown(Cp850("Informe o status onde uma declaração passa ser inalteravel:"))) << snapshot;
}

TEST_F(MaintenanceScreenTest, StatusListAddsAndEditsLines) {
  ASSERT_TRUE(store::Table::Create(env, "/inst/STATUS.DBF", store::FindTable(66)->layout,
                                   store::Sharing::kShared)
                  .ok());
  // The empty list opens on its append row; Down past the last code opens it
  // again; the list keeps code order, so Ctrl PgUp goes to code 2, and Ctrl
  // Home then Right to its description.
  term.Feed(
      "5{Enter}PRONTA{Enter}{Down}2{Enter}NOVA{Enter}{Ctrl PgUp}{Ctrl Home}{Right}{Enter}INICIO{Enter}"
      "{Esc}");
  ASSERT_TRUE(MUDA_ESTATUS(m, nullptr, 2).ok());
  auto t = store::Table::Open(env, "/inst/STATUS.DBF", store::Sharing::kShared);
  ASSERT_TRUE(t.ok());
  ASSERT_EQ((*t)->record_count(), 2u);
  EXPECT_EQ(*(*t)->Read(store::RecNo{1})->GetTrimmed("DESCRICAO"), "PRONTA");
  EXPECT_EQ(*(*t)->Read(store::RecNo{2})->GetTrimmed("DESCRICAO"), "INICIO");
}

TEST_F(MaintenanceScreenTest, CpfChangeDialogTakesTheCpfsFromTheRegisterLists) {
  ASSERT_TRUE(store::ABERTURA(ctx, areas, 9).ok());
  store::WorkArea& reg = *areas.Get(9);
  for (const auto& [cpf, name] : {std::pair{"33333333333", "ANA"}, {"11111111111", "BRUNO"}}) {
    ASSERT_TRUE(store::ADD_REC(ctx, reg, 5).ok());
    store::Record r = *reg.Current();
    ASSERT_TRUE(r.PutText("CPF", cpf).ok());
    ASSERT_TRUE(r.PutText("NOMECONTR", name).ok());
    ASSERT_TRUE(reg.WriteCurrent(r).ok());
    reg.table().UnlockRecord(reg.recno());
  }
  // F1 by name (ANA first) into the old CPF, F2 by CPF (BRUNO first) into the new.
  term.Feed("{F1}{Enter}{Enter}{F2}{Enter}{F9}{Esc}");
  ASSERT_TRUE(MUDA_CPF(m).ok());
  EXPECT_TRUE(Shown("333.333.333-33")) << snapshot;
  EXPECT_TRUE(Shown("111.111.111-11")) << snapshot;
}

TEST_F(MaintenanceScreenTest, DeclarationStatusIsEditedInTheRegister) {
  {
    ASSERT_TRUE(store::ABERTURA(ctx, areas, 9).ok());
    store::WorkArea& reg = *areas.Get(9);
    ASSERT_TRUE(store::ADD_REC(ctx, reg, 5).ok());
    store::Record r = *reg.Current();
    ASSERT_TRUE(r.PutText("CPF", "00000000191").ok());
    ASSERT_TRUE(r.PutText("NOMECONTR", "ANA").ok());
    ASSERT_TRUE(reg.WriteCurrent(r).ok());
    reg.table().UnlockRecord(reg.recno());
  }
  term.Feed("{Enter}3{Enter}150{Enter}{Esc}");
  ASSERT_TRUE(MUDA_ESTATUS(m, nullptr, 1).ok());
  store::Record r = *areas.Get(9)->table().Read(store::RecNo{1});
  EXPECT_EQ(r.GetNumber("ESTATUS")->ToString(), "3");
  EXPECT_EQ(r.GetNumber("VALOREC")->ToString(), "150");
}

class SelicScreenTest : public MaintenanceScreenTest {
 protected:
  void Rows(const std::vector<std::pair<std::string, std::string>>& rows) {
    auto t = store::Table::Create(env, "/inst/UFIRM.DBF", store::FindTable(51)->layout,
                                  store::Sharing::kShared);
    ASSERT_TRUE(t.ok());
    for (const auto& [am, tjm] : rows) {
      store::Record r = (*t)->BlankRecord();
      ASSERT_TRUE(r.PutText("ANOMES", am).ok());
      ASSERT_TRUE(r.PutNumber("TJM", *core::Decimal::Parse(tjm)).ok());
      auto n = (*t)->Append(r);
      ASSERT_TRUE(n.ok());
      (*t)->UnlockRecord(*n);
    }
  }
  std::string RateOf(int year, int month) {
    store::WorkAreas a;
    EXPECT_TRUE(store::ABERTURA(ctx, a, 51).ok());
    Result<core::Decimal> r = store::RateOf(*a.Get(51), *core::YearMonth::Of(year, month));
    return r.ok() ? r->ToString() : "?";
  }
};

TEST_F(SelicScreenTest, ProposesTheFirstMonthWithoutARateAndSaves) {
  Rows({{"201910", "0.48"}, {"201911", "0"}});
  term.Feed("{F9}{Enter}{Enter}{Ctrl Y}0,38{Enter}{Enter}");
  ASSERT_TRUE(CAD_UFIR(m).ok());
  EXPECT_TRUE(Shown("Novembro")) << snapshot;
  EXPECT_EQ(RateOf(2019, 11), "0.38");
  ASSERT_EQ(term.boxes().size(), 1u);
  EXPECT_EQ(term.boxes()[0].lines[0], Cp850("Confirma a alteração?"));
}

TEST_F(SelicScreenTest, RefusesABadMonthAndARateThatIsNotANumber) {
  // Fault: the register stored month 13 and rates that were not numbers.
  Rows({{"201910", "0.48"}});
    // A filled field is left at once: "13" runs the month's check.
  term.Feed("13{Enter}{Home}{Ctrl Y}12{Enter}{Ctrl Y}abc{Enter}{Enter}{Home}{Ctrl Y}1,5{Enter}{Enter}");
  ASSERT_TRUE(CAD_UFIR(m).ok());
  std::vector<std::string> lines = BoxLines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], Cp850("Mês/ano inválido (aaaamm)."));
  EXPECT_EQ(lines[1], Cp850("Taxa inválida."));
  EXPECT_EQ(RateOf(2019, 12), "1.5");
}

TEST_F(SelicScreenTest, MonthWithoutARecordShowsOneAndCancelEnds) {
  Rows({{"201910", "0.48"}});
  term.Feed("012018{F9}{Esc}");
  EXPECT_TRUE(CAD_UFIR(m).IsCancelled());
  EXPECT_TRUE(Shown("Janeiro")) << snapshot;
  EXPECT_TRUE(Shown("  1.00")) << snapshot;
  EXPECT_EQ(RateOf(2018, 1), "1");  // nothing saved
}

}  // namespace
}  // namespace dodu::shell

namespace dodu::shell {
namespace {

TEST_F(MaintenanceScreenTest, Option19OnACurrentFolderRewritesNothing) {
  // The folder list names /data; its tables are current.
  ASSERT_TRUE(store::ABERTURA(ctx, areas, 50).ok());
  store::WorkArea& list = *areas.Get(50);
  ASSERT_TRUE(store::ADD_REC(ctx, list, 5).ok());
  store::Record rec = *list.Current();
  ASSERT_TRUE(rec.PutText("DIRETOR", store::FolderListName(ctx, "/data")).ok());
  ASSERT_TRUE(list.WriteCurrent(rec).ok());
  list.table().UnlockRecord(list.recno());
  for (int n = 1; n <= 21; ++n) ASSERT_TRUE(store::ABERTURA(ctx, areas, n).ok());
  for (int n = 1; n <= 21; ++n) areas.Close(n);
  ASSERT_TRUE(platform::WriteFileAtomic(env, "/work/TMP_0901.DBF", "x").ok());
  ASSERT_TRUE(platform::WriteFileAtomic(env, "/work/TMP_0902.DBF", "x").ok());
  const std::string reg = *platform::ReadWholeFile(env, "/data/IMP0920.DBF");

  platform::RecordingSink boxes;
  testing::ScriptedPrompts prompts;
  MainMenuState state;
  testing::StillClock still({2020, 6, 30, 9, 0, 0});
  Dispatcher d(state, boxes, prompts, nullptr, still);
  RegisterMaintenanceOptions(d.registry(), m);
  EXPECT_TRUE(d.MenuSelect(19));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].lines[0], Cp850("Todos Arquivos já estão atualizados"));
  EXPECT_EQ(boxes.boxes[0].title, "Atualizar a base de dados");
  EXPECT_EQ(*platform::ReadWholeFile(env, "/data/IMP0920.DBF"), reg);
  EXPECT_FALSE(env.Exists("/work/TMP_0901.DBF"));
  EXPECT_TRUE(env.Exists("/work/TMP_0902.DBF"));  // another terminal's
}

}  // namespace
}  // namespace dodu::shell
