#include "shell/dispatcher.h"

#include <gtest/gtest.h>

#include "shell/testutil.h"

namespace dodu::shell {
namespace {

using testing::RecordingTables;
using testing::ScriptedPrompts;
using testing::StillClock;
using testing::Utf8Lines;

class DispatcherTest : public ::testing::Test {
 protected:
  DispatcherTest() : clock_({2020, 6, 15, 10, 30, 0}) {}

  Dispatcher& dispatcher() {
    if (!dispatcher_) {
      dispatcher_ = std::make_unique<Dispatcher>(state_, sink_, prompts_, &tables_, clock_);
    }
    return *dispatcher_;
  }
  // The boxes shown, as UTF-8 lines.
  std::vector<std::string> BoxLines(size_t i) const { return Utf8Lines(sink_.boxes.at(i).lines); }
  std::string BoxTitle(size_t i) const { return core::Cp850ToUtf8(sink_.boxes.at(i).title); }

  MainMenuState state_;
  platform::RecordingSink sink_;
  ScriptedPrompts prompts_;
  RecordingTables tables_;
  StillClock clock_;
  std::unique_ptr<Dispatcher> dispatcher_;
};

TEST_F(DispatcherTest, UnbuiltOptionSaysNotAvailableInCp850) {
  EXPECT_FALSE(dispatcher().MenuSelect(13));
  ASSERT_EQ(sink_.boxes.size(), 1u);
  EXPECT_EQ(sink_.boxes[0].style, 0);
  EXPECT_EQ(sink_.boxes[0].lines,
            std::vector<std::string>{"Op\x87\xC6o n\xC6o dispon\xA1vel nesta vers\xC6o"});
  EXPECT_EQ(BoxTitle(0), "Conferência");
  EXPECT_EQ(state_.opcao_1, 13);
}

TEST_F(DispatcherTest, RegisteredActionReplacesNotAvailable) {
  int runs = 0;
  dispatcher().registry().Register(13, [&](ActionContext& c) {
    ++runs;
    EXPECT_EQ(c.state.opcao_1, 13);
    EXPECT_EQ(c.sub1, 4);
    EXPECT_EQ(c.sub2, 2);
    return true;
  });
  EXPECT_TRUE(dispatcher().MenuSelect(13, 4, 2));
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(sink_.boxes.empty());
}

TEST_F(DispatcherTest, ActionOfASubChoiceWinsOverTheCodesAction) {
  std::vector<std::string> ran;
  dispatcher().registry().Register(39, [&](ActionContext& c) {
    ran.push_back("39/" + std::to_string(c.sub1));
    return true;
  });
  dispatcher().registry().Register(39, 2, [&](ActionContext&) {
    ran.push_back("39.2");
    return true;
  });
  dispatcher().MenuSelect(39, 1);
  dispatcher().MenuSelect(39, 2);
  dispatcher().MenuSelect(39, 5);
  EXPECT_EQ(ran, (std::vector<std::string>{"39/1", "39.2", "39/5"}));
}

TEST_F(DispatcherTest, PostcodeSwitchIsBuiltWhileFillingCitiesIsNot) {
  prompts_.yes_no = {true};
  EXPECT_TRUE(dispatcher().MenuSelect(40, 1));
  EXPECT_FALSE(state_.lbuscacep);
  ASSERT_EQ(prompts_.asked.size(), 1u);
  EXPECT_EQ(prompts_.asked[0].lines,
            (std::vector<std::string>{"A busca do CEP está ativada",
                                      "Deseja desativar nessa sessão a busca?"}));
  EXPECT_EQ(prompts_.asked[0].title, "desativar a busca pelo CEP");
  prompts_.yes_no = {true};
  dispatcher().MenuSelect(40, 1);
  EXPECT_TRUE(state_.lbuscacep);
  EXPECT_EQ(prompts_.asked[1].title, "ativar a busca pelo CEP");

  EXPECT_FALSE(dispatcher().MenuSelect(40, 2));
  ASSERT_EQ(sink_.boxes.size(), 1u);
  EXPECT_EQ(BoxLines(0), std::vector<std::string>{"Opção não disponível nesta versão"});
}

// Fault mended: the code was stored in OPCAO_1 before the open declaration was
// checked, so a main-menu click during a declaration changed the code its
// routines branch on. The action is ignored and OPCAO_1 keeps the code that
// opened the declaration.
TEST_F(DispatcherTest, ActionsAreIgnoredWhileADeclarationIsOpen) {
  int runs = 0;
  dispatcher().registry().Register(51, [&](ActionContext&) { return ++runs > 0; });
  dispatcher().registry().RegisterColourEditor([&](ActionContext&) { return ++runs > 0; });
  state_.opcao_1 = 12;
  state_.lestounadecl = true;
  EXPECT_FALSE(dispatcher().MenuSelect(51));
  EXPECT_FALSE(dispatcher().MenuSelect(13));  // not even the "not available" box
  EXPECT_FALSE(dispatcher().Perform({ActionKind::kColourEditor, 0, 3, 0, 1}));
  EXPECT_EQ(runs, 0);
  EXPECT_EQ(state_.opcao_1, 12);
  EXPECT_TRUE(sink_.boxes.empty());
}

TEST_F(DispatcherTest, UnknownCodesAreIgnored) {
  for (int code : {0, 1, 23, 24, 49, 55, 92, -5}) {
    EXPECT_FALSE(dispatcher().MenuSelect(code)) << code;
  }
  EXPECT_TRUE(sink_.boxes.empty());
  EXPECT_EQ(state_.opcao_1, 1);
}

TEST_F(DispatcherTest, OpeningADeclarationMarksItOpenWhileItRuns) {
  for (int code : {11, 12}) {
    bool seen = false;
    dispatcher().registry().Register(code, [&](ActionContext& c) {
      seen = c.state.lestounadecl;
      return true;
    });
    dispatcher().MenuSelect(code);
    EXPECT_TRUE(seen) << code;
    EXPECT_FALSE(state_.lestounadecl) << code;
  }
  bool seen13 = true;
  dispatcher().registry().Register(13, [&](ActionContext& c) {
    seen13 = c.state.lestounadecl;
    return true;
  });
  dispatcher().MenuSelect(13);
  EXPECT_FALSE(seen13);
}

TEST_F(DispatcherTest, SettingsTablesAreOpenAroundTheActions21To36) {
  for (int code : {21, 22, 25, 27, 28, 29, 30, 31, 32, 33, 34, 35}) {
    bool open_inside = false;
    dispatcher().registry().Register(code, [&](ActionContext&) {
      open_inside = tables_.is_open;
      return true;
    });
    int before = tables_.opened;
    dispatcher().MenuSelect(code, 1, 1);
    EXPECT_TRUE(open_inside) << code;
    EXPECT_EQ(tables_.opened, before + 1) << code;
    EXPECT_FALSE(tables_.is_open) << code;
  }
  for (int code : {20, 37, 51}) {
    dispatcher().registry().Register(code, [&](ActionContext&) { return true; });
    int before = tables_.opened;
    dispatcher().MenuSelect(code, 1);
    EXPECT_EQ(tables_.opened, before) << code;
  }
}

TEST_F(DispatcherTest, ActionIsNotRunWhenTheSettingsTablesDoNotOpen) {
  bool ran = false;
  dispatcher().registry().Register(25, [&](ActionContext&) { return ran = true; });
  tables_.open_status = Status::Locked("CONFIG.DBF");
  EXPECT_FALSE(dispatcher().MenuSelect(25));
  EXPECT_FALSE(ran);
  EXPECT_EQ(tables_.closed, 0);
}

TEST_F(DispatcherTest, HandOverGuard) {
  for (int code : {61, 62, 63}) {
    sink_.boxes.clear();
    int runs = 0;
    dispatcher().registry().Register(code, [&](ActionContext&) { return ++runs > 0; });

    state_.locirpf = "";
    EXPECT_FALSE(dispatcher().MenuSelect(code)) << code;
    EXPECT_EQ(runs, 0) << code;
    ASSERT_EQ(sink_.boxes.size(), 1u);
    EXPECT_EQ(sink_.boxes[0].style, 8);
    EXPECT_EQ(BoxLines(0), std::vector<std::string>{
                               "Preencha abaixo em Pasta do IRPF a pasta do programa da receita"});

    state_.locirpf = "C:\\ARQUIVOS DE PROGRAMAS RFB\\IRPF2020\\APLICACAO\\DADOS\\";
    EXPECT_TRUE(dispatcher().MenuSelect(code)) << code;
    EXPECT_EQ(runs, 1) << code;
    ASSERT_EQ(sink_.boxes.size(), 2u);
    EXPECT_EQ(sink_.boxes[1].style, 0);
    EXPECT_EQ(BoxLines(1), (std::vector<std::string>{
                               "Evite enviar declarações para a Receita com o IRPF sendo",
                               "usado. Ele aberto poderá causar problemas com os dados."}));
  }
}

TEST_F(DispatcherTest, TransferIsPrecededByTheStayAloneBox) {
  bool box_before = false;
  dispatcher().registry().Register(22, [&](ActionContext&) {
    box_before = sink_.boxes.size() == 1;
    return true;
  });
  dispatcher().MenuSelect(22);
  EXPECT_TRUE(box_before);
  EXPECT_EQ(BoxTitle(0), "Transferir declarações");
  EXPECT_EQ(BoxLines(0), (std::vector<std::string>{
                             "Para usar a transferência é preciso estar só. ",
                             "Se equipamento está na rede fique só em um terminal",
                             "saindo do programa nos demais."}));
}

TEST_F(DispatcherTest, BackupDateRecordedOnlyAfterACopyThatWorked) {
  state_.xdrive = "E";
  state_.rotaback = "E:\\";
  bool result = true;
  for (int code : {71, 72, 73, 74}) {
    dispatcher().registry().Register(code, [&](ActionContext&) { return result; });
  }
  struct Case {
    int code, sub1;
    bool result;
    bool recorded;
  } cases[] = {
      {71, 1, true, true},  {71, 2, true, false}, {73, 1, true, true},  {74, 1, true, true},
      {74, 2, true, false}, {72, 1, true, false}, {71, 1, false, false}, {73, 1, false, false},
  };
  for (const Case& c : cases) {
    state_.ultback = *core::Date::FromYmd(2020, 6, 1);
    tables_.config_writes.clear();
    result = c.result;
    dispatcher().MenuSelect(c.code, c.sub1, 2);
    SCOPED_TRACE(std::to_string(c.code) + " (" + std::to_string(c.sub1) + ")");
    EXPECT_EQ(state_.ultback == *core::Date::FromYmd(2020, 6, 15), c.recorded);
    ASSERT_EQ(tables_.config_writes.size(), c.recorded ? 1u : 0u);
    if (c.recorded) {
      const FieldValues& w = tables_.config_writes[0];
      EXPECT_EQ(DateOf(w, "ULTBACK"), *core::Date::FromYmd(2020, 6, 15));
      EXPECT_EQ(CharOf(w, "XDRIVE"), "E");
      EXPECT_EQ(CharOf(w, "ROTABACK"), "E:\\");
    }
  }
}

TEST_F(DispatcherTest, ScreenSettingsBoxes) {
  struct Case {
    int sub1;
    std::string opcirpf;
    int opcfim;
    std::optional<bool> answer;
    std::string title;
    std::vector<std::string> lines;
    std::string want_opcirpf;
    int want_opcfim;
  } cases[] = {
      {1, "J", 0, true, "Tela Atual com menu Novo",
       {"Sim - Mantém a Tela com  menu Novo", "Não - Muda a tela para  menu Antigo"}, "J", 0},
      {1, "J", 0, false, "Tela Atual com menu Novo",
       {"Sim - Mantém a Tela com  menu Novo", "Não - Muda a tela para  menu Antigo"}, "N", 0},
      {1, "N", 0, true, "Tela Atual com menu Antigo",
       {"Sim - Muda a tela para  menu Novo", "Não - Mantém a Tela com  menu Antigo"}, "J", 0},
      {1, "N", 0, std::nullopt, "Tela Atual com menu Antigo",
       {"Sim - Muda a tela para  menu Novo", "Não - Mantém a Tela com  menu Antigo"}, "N", 0},
      {2, "J", 1, false, "Configurado: Declaração ao terminar  vai para o menu inicial",
       {"Sim - Mantém  ao terminar vai para o menu inicial",
        "Não - Muda para  ao terminar fica na seleção"},
       "J", 0},
      {2, "J", 0, true, "Configurado: Declaração ao terminar  fica na seleção",
       {"Sim - Muda para  ao terminar vai para o menu inicial",
        "Não - Mantém  ao terminar fica na seleção"},
       "J", 1},
  };
  for (const Case& c : cases) {
    state_.opcirpf = c.opcirpf;
    state_.opcfim = c.opcfim;
    prompts_.asked.clear();
    prompts_.yes_no = {c.answer};
    tables_.config_writes.clear();
    dispatcher().MenuSelect(36, c.sub1);
    SCOPED_TRACE(c.title + (c.answer ? (*c.answer ? " yes" : " no") : " esc"));
    ASSERT_EQ(prompts_.asked.size(), 1u);
    EXPECT_EQ(prompts_.asked[0].title, c.title);
    EXPECT_EQ(prompts_.asked[0].lines, c.lines);
    EXPECT_EQ(state_.opcirpf, c.want_opcirpf);
    EXPECT_EQ(state_.opcfim, c.want_opcfim);
    // Stored at once, unless the box was left with Esc.
    ASSERT_EQ(tables_.config_writes.size(), c.answer ? 1u : 0u);
    if (c.answer && c.sub1 == 1) {
      EXPECT_EQ(CharOf(tables_.config_writes[0], "OPCIRPF"), c.want_opcirpf);
    }
    if (c.answer && c.sub1 == 2) {
      EXPECT_EQ(IntOf(tables_.config_writes[0], "OPCFIM"), c.want_opcfim);
    }
  }
}

TEST_F(DispatcherTest, LinesPerSheet) {
  struct Case {
    std::optional<int> typed;
    int want;
    bool message;
  } cases[] = {{55, 55, false}, {50, 50, false}, {66, 66, false}, {70, 60, true},
               {49, 60, true},  {0, 60, true},   {std::nullopt, 58, false}};
  for (const Case& c : cases) {
    state_.print.nrolinhas = 58;
    sink_.boxes.clear();
    prompts_.numbers = {c.typed};
    dispatcher().MenuSelect(54);
    SCOPED_TRACE(c.typed ? std::to_string(*c.typed) : "esc");
    EXPECT_EQ(state_.print.nrolinhas, c.want);
    ASSERT_EQ(sink_.boxes.size(), c.message ? 1u : 0u);
    if (c.message) {
      EXPECT_EQ(BoxLines(0),
                std::vector<std::string>{"Número esta fora dos limites. Assumido 60"});
    }
  }
  EXPECT_EQ(prompts_.asked.back().title, "Número entre 50 a 66");
}

TEST_F(DispatcherTest, AutomaticHandOverSettings) {
  // 64 (1): a status code that is not in the table is asked again.
  tables_.status_codes = {5};
  prompts_.numbers = {3, 5};
  dispatcher().MenuSelect(64, 1);
  EXPECT_EQ(state_.opttran, 2);
  EXPECT_EQ(state_.soeste, 5);
  EXPECT_EQ(prompts_.asked.size(), 2u);
  EXPECT_EQ(BoxLines(0), (std::vector<std::string>{
                             "A partir de agora somente as declarações com o Status  5",
                             "serão transferidas para o IRPF ao terminar a declaração"}));

  // 65 (2) keeps "by status" and repeats its message.
  dispatcher().MenuSelect(65, 2);
  EXPECT_EQ(state_.opttran, 2);
  EXPECT_EQ(BoxLines(1), BoxLines(0));

  dispatcher().MenuSelect(65, 1);
  EXPECT_EQ(state_.opttran, 1);
  EXPECT_EQ(BoxLines(2)[0], "A partir de agora todas as declarações independente do status");

  dispatcher().MenuSelect(65, 2);
  EXPECT_EQ(state_.opttran, 0);
  EXPECT_EQ(BoxLines(3), (std::vector<std::string>{
                             "A partir de agora nenhuma declaração será transferida",
                             " para o IRPF ao terminar a declaração"}));

  state_.opttran = 2;
  dispatcher().MenuSelect(64, 2);
  EXPECT_EQ(state_.opttran, 0);

  // 64 (1) left with Esc changes nothing.
  prompts_.numbers = {std::nullopt};
  dispatcher().MenuSelect(64, 1);
  EXPECT_EQ(state_.opttran, 0);
}

TEST_F(DispatcherTest, StatusAfterSending) {
  tables_.status_codes = {8};
  prompts_.yes_no = {true};
  prompts_.numbers = {8};
  dispatcher().MenuSelect(66);
  EXPECT_EQ(state_.env_stat, 1);
  EXPECT_EQ(state_.opc_tran, 8);
  EXPECT_EQ(prompts_.asked[0].lines,
            std::vector<std::string>{"Após o envio deseja que o Estatus passe para transmitidas?"});
  EXPECT_EQ(prompts_.asked[1].lines,
            std::vector<std::string>{"Informe o código do Estatus de declaração transmitidas? "});
  prompts_.yes_no = {false};
  dispatcher().MenuSelect(66);
  EXPECT_EQ(state_.env_stat, 0);
  EXPECT_EQ(state_.opc_tran, 8);
}

TEST_F(DispatcherTest, CompressorChoice) {
  state_.processa = "S";
  prompts_.yes_no = {true};
  dispatcher().MenuSelect(77);
  EXPECT_EQ(state_.processa, "N");
  EXPECT_EQ(prompts_.asked[0].lines,
            (std::vector<std::string>{"O programa para compactar esta configurado para ser ",
                                      "usado em processador de 32 bits. Troca para 64 bits?"}));
  ASSERT_EQ(tables_.define_writes.size(), 1u);
  EXPECT_EQ(CharOf(tables_.define_writes[0], "PROCESSA"), "N");
  EXPECT_EQ(CharOf(tables_.define_writes[0], "PROGCOMP"), "S");
  prompts_.yes_no = {false};
  dispatcher().MenuSelect(77);
  EXPECT_EQ(state_.processa, "N");
  EXPECT_EQ(prompts_.asked[1].lines[1], "usado em processador de 64 bits. Troca para 32 bits?");
}

TEST_F(DispatcherTest, SaveInterval) {
  struct Case {
    int sub1;
    int before;
    std::vector<std::optional<int>> typed;
    int want;
  } cases[] = {
      {1, 0, {20}, 20},       {1, 99, {0, 7}, 7},  {1, 10, {std::nullopt}, 10},
      {2, 15, {}, 0},         {3, 15, {}, 99},
  };
  for (const Case& c : cases) {
    state_.temp_sal = c.before;
    prompts_.numbers.assign(c.typed.begin(), c.typed.end());
    tables_.define_writes.clear();
    bool done = dispatcher().MenuSelect(26, c.sub1);
    SCOPED_TRACE(std::to_string(c.sub1) + " from " + std::to_string(c.before));
    EXPECT_EQ(state_.temp_sal, c.want);
    ASSERT_EQ(tables_.define_writes.size(), done ? 1u : 0u);
    if (done) {
      EXPECT_EQ(IntOf(tables_.define_writes[0], "TEMP_SAL"), c.want);
    }
  }
  // The menu shows the interval in two characters.
  state_.temp_sal = 7;
  EXPECT_EQ(ExpandCaption("&Automático a cada {TEMP_SAL} minutos", MenuVariablesOf(state_)),
            "&Automático a cada  7 minutos");
}

TEST_F(DispatcherTest, PrintSelectionThroughTheMenu) {
  dispatcher().MenuSelect(41, 5);
  dispatcher().MenuSelect(42, 3);
  EXPECT_EQ(state_.print.queimp, 5);
  EXPECT_EQ(state_.print.quemod, 3);
  EXPECT_EQ(state_.captions.item2, "2 Darf pré-impresso  ");
  ASSERT_EQ(tables_.config_writes.size(), 2u);
  EXPECT_EQ(IntOf(tables_.config_writes[1], "QUEMOD"), 3);

  // Choosing another kind normalises the sheet to that kind.
  dispatcher().MenuSelect(41, 12);
  EXPECT_EQ(state_.print.quemod, 2);
  EXPECT_EQ(IntOf(tables_.config_writes[2], "QUEMOD"), 2);

  prompts_.yes_no = {false};
  dispatcher().MenuSelect(46, 2);
  EXPECT_EQ(state_.print.mostel, "N");
  EXPECT_EQ(prompts_.asked[0].lines,
            std::vector<std::string>{"Mostre no video o texto a ser impresso antes de imprimir ?"});
  EXPECT_EQ(tables_.config_writes.size(), 4u);

  // Copies are not saved; 0 becomes 1.
  prompts_.numbers = {0};
  dispatcher().MenuSelect(47, 1);
  EXPECT_EQ(state_.print.nro_vias, 1);
  EXPECT_EQ(tables_.config_writes.size(), 4u);

  state_.print.nomeimp = "NAO DOS";
  dispatcher().MenuSelect(48, 1);
  ASSERT_EQ(sink_.boxes.size(), 1u);
  EXPECT_EQ(BoxTitle(0), "Seleçao para impressão");
  EXPECT_EQ(BoxLines(0)[0], "1 Cadastro           ");
  EXPECT_EQ(BoxLines(0)[4], "Impressora NAO DOS");
  EXPECT_EQ(BoxLines(0)[6], "6b - Mostra o texto antes  = N");

  // The printer choice belongs to the output pipeline: not here yet.
  dispatcher().MenuSelect(45, 1);
  EXPECT_EQ(BoxLines(1), std::vector<std::string>{"Opção não disponível nesta versão"});
}

// Every item of the menu can be chosen: each either runs a built-in action or says
// it is not available, and none leaves the settings tables open.
TEST_F(DispatcherTest, EveryMenuItemAnswers) {
  struct Collector : MenuBuilder {
    void SubMenu(int, const std::string&, bool) override {}
    void MenuItem(int id, const std::string&, bool) override { ids.push_back(id); }
    void Separator() override {}
    void EndMenu() override {}
    std::vector<int> ids;
  } collector;
  MenuCommands commands = BuildMenu(MainMenuTree(), MenuVariablesOf(state_), collector);
  state_.locirpf = "/srv/irpf/";
  int answered = 0;
  for (int id : collector.ids) {
    MenuCommand c = commands.Find(id);
    if (c.kind == ActionKind::kNone) continue;
    size_t boxes = sink_.boxes.size(), asked = prompts_.asked.size();
    dispatcher().Perform(c);
    EXPECT_FALSE(tables_.is_open) << DescribeCommand(c);
    bool told = sink_.boxes.size() > boxes || prompts_.asked.size() > asked;
    // These set a value and neither ask nor tell.
    bool quiet_builtin = (c.code >= 41 && c.code <= 44) || (c.code == 26 && c.sub1 != 1);
    EXPECT_TRUE(told || quiet_builtin) << DescribeCommand(c);
    ++answered;
  }
  EXPECT_GT(answered, 150);
}

TEST(HistoryYearsTest, YearsOfEachSubChoice) {
  EXPECT_EQ(HistoryYears(0), std::vector<std::string>{"2019"});
  EXPECT_EQ(HistoryYears(4), std::vector<std::string>{"2015"});
  EXPECT_EQ(HistoryYears(5), (std::vector<std::string>{"2019", "2018", "2017", "2016", "2015"}));
  EXPECT_TRUE(HistoryYears(6).empty());
  EXPECT_TRUE(HistoryYears(-1).empty());
}

}  // namespace
}  // namespace dodu::shell
