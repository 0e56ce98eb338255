// The start-up of a station against an installation in memory, with the date
// and the operator's keys given by the test.
#include "shell/startup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/codepage.h"
#include "platform/memory_env.h"
#include "startup_testutil.h"

namespace dodu::shell {
namespace {

using testing::Dmy;
using testing::StartupFixture;

struct Expected {
  const char* field;
  const char* text;  // character fields as stored, trailing blanks dropped; numbers as whole
};

std::string Shown(const FieldValues& record, const char* field) {
  const FieldValue* f = FindField(record, field);
  if (f == nullptr) return "<missing>";
  if (const auto* s = std::get_if<std::string>(&f->value)) {
    std::string t = *s;
    while (!t.empty() && t.back() == ' ') t.pop_back();
    return t;
  }
  if (const auto* d = std::get_if<core::Decimal>(&f->value)) {
    return std::to_string(d->ToScaled(0, core::Rounding::kTruncate));
  }
  if (const auto* d = std::get_if<core::Date>(&f->value)) return d->ToDmy();
  return std::get<bool>(f->value) ? "T" : "F";
}

void ExpectFields(const FieldValues& record, const std::vector<Expected>& rows) {
  for (const Expected& e : rows) EXPECT_EQ(Shown(record, e.field), e.text) << e.field;
}

using StartupTest = StartupFixture;

TEST_F(StartupTest, FirstRunCreatesTheSettingsColourAndPrinterRecordsWithTheirDefaults) {
  ASSERT_TRUE(Start().ok());
  EXPECT_TRUE(station().Boxes().empty()) << station().Boxes()[0];  // ULTBACK is today: no reminder
  EXPECT_EQ(station().station.ctx.terminal, "01");
  EXPECT_EQ(station().station.ctx.data_folder, "/inst");
  EXPECT_EQ(station().station.ctx.work_folder, "/inst");

  ASSERT_EQ(RecordCount("CONFIG.DBF"), 1u);
  ExpectFields(ReadRecord("CONFIG.DBF"),
               {{"NRO_TERM", "01"},
                {"ROTAANTER", "/home/ana/KEVA2019"},
                {"ROTADOANO", "/inst"},
                {"ROTARECEI", "/home/ana/ProgramasRFB/IRPF2020/APLICACAO/DADOS"},
                {"ROTAREANT", "/home/ana/ProgramasRFB/IRPF2019/TRANSMITIDAS"},
                {"ROTAJAVA", "/home/ana/ProgramasRFB/IRPF2020/APLICACAO/DADOS"},
                {"DIRTRAB", "/inst"},
                {"DIRPROV", "/inst"},
                {"DIRINST", "/"},
                {"QUEIMP", "1"},
                {"QUEMOD", "1"},
                {"QUEPAG", "1"},
                {"QUECON", "1"},
                {"ENV_STAT", "2"},
                {"MARESQ", "0"},
                {"LINETI", "6"},
                {"INIFOL", "0"},
                {"NRO_LIN", "60"},
                {"OPC_TRAN", "7"},
                {"COMPAGA", "1"},
                {"IMPBEM", "1"},
                {"IMPBAL", "1"},
                {"MOSIMP", "S"},
                {"MOSTEL", "S"},
                {"MOSCPF", ""},
                {"ULT_TER", "0"},
                {"ULT_MOD", "1"},
                {"ULT_CPF", ""},
                {"XDRIVE", "C"},
                {"SOESTE", "9"},
                {"OPTTRAN", "0"},
                {"ULTBACK", "02/03/2020"},
                {"OPCIRPF", "J"},
                {"NOMEAG", ""},
                {"OPCFIM", "0"}});

  ASSERT_EQ(RecordCount("CORES.DBF"), 1u);
  ExpectFields(ReadRecord("CORES.DBF"), {{"NRO_TERM", "01"},
                                         {"COR_TEL1", "30"},
                                         {"COR_TEL2", "31"},
                                         {"COR_TEL3", "63"},
                                         {"COR_MENS", "112"},
                                         {"COR_PEGA", "15"},
                                         {"COR_HELP", "112"},
                                         {"COR_FERID", "28"},
                                         {"COR_ESCOL", "79"},
                                         {"COR_ENCHE", "31"},
                                         {"COR_1_CLI", "GR+/B"},
                                         {"COR_2_CLI", "W+/B"},
                                         {"COR_INI", "W+/B"},
                                         {"COR_SAY", "N/W+"},
                                         {"COR_GET", "W/N"},
                                         {"COR_CLI_HE", "N/W"},
                                         {"COR_ESC_CL", "W/R+"},
                                         {"COR_ENCH_C", "W+/B"}});

  ASSERT_EQ(RecordCount("ListaIMP.DBF"), 1u);
  ExpectFields(ReadRecord("ListaIMP.DBF"),
               {{"NRO_TERM", "01"}, {"NOMEIMP", "NAO DOS"}, {"SEQ0", "\x12"}, {"SEQ1", "\x0F"}});

  // The main screen's banner names the terminal and the operator.
  std::string banner;
  for (int r = 0; r < 25; ++r) banner += station().vt.RowUtf8(r) + "\n";
  EXPECT_NE(
      banner.find("Terminal 01 IR Versão Lib         USUARIO DO TERMINAL 01      de 22/07/21"),
      std::string::npos)
      << banner;
  // The data folder is this terminal's only, selected, folder.
  CloseStation();
  ASSERT_EQ(RecordCount("DIRET01.DBF"), 1u);
  ExpectFields(ReadRecord("DIRET01.DBF"), {{"SELEC", "S"}, {"DIRETOR", "C:\\INST"}});
  // The upgrade check created the declaration tables, the register among them.
  EXPECT_TRUE(env.Exists("/inst/IMP0920.DBF"));
  EXPECT_TRUE(env.Exists("/inst/IMP2120.DBF"));
}

TEST_F(StartupTest, ASecondRunKeepsTheRecordsItFinds) {
  ASSERT_TRUE(Start().ok());
  Rewrite("CONFIG.DBF", {CharField("NOMEAG", "ANA"), NumericField("QUEIMP", 5)});
  SetToday(2020, 3, 3);
  ASSERT_TRUE(Start().ok());
  EXPECT_EQ(RecordCount("CONFIG.DBF"), 1u);
  EXPECT_EQ(RecordCount("CORES.DBF"), 1u);
  EXPECT_EQ(RecordCount("ListaIMP.DBF"), 1u);
  EXPECT_EQ(station().station.settings.nomeag, "ANA");
  EXPECT_EQ(station().station.menu.print.queimp, 5);
  EXPECT_EQ(station().station.ndiasem, 1);
  CloseStation();
  EXPECT_EQ(RecordCount("DIRET01.DBF"), 1u);
}

TEST_F(StartupTest, DefineWithTheOldFirstDueDateIsRewrittenAndTheBankIsAlways341) {
  ASSERT_TRUE(Start().ok());
  Rewrite("DEFINE.DBF", {DateField("VCTO1", Dmy(30, 4, 2020)), DateField("VCTO8", Dmy(31, 1, 2020)),
                         NumericField("VAL_DOLAR", core::Decimal::FromScaled(31000, 4)),
                         CharField("BOL_BANCO", "237")});
  ASSERT_TRUE(Start().ok());
  ExpectFields(ReadRecord("DEFINE.DBF"), {{"VCTO1", "30/06/2020"},
                                          {"VCTO2", "31/07/2020"},
                                          {"VCTO3", "31/08/2020"},
                                          {"VCTO4", "30/09/2020"},
                                          {"VCTO5", "30/10/2020"},
                                          {"VCTO6", "30/11/2020"},
                                          {"VCTO7", "30/12/2020"},
                                          {"VCTO8", "29/01/2021"},
                                          {"BOL_BANCO", "237"}});
  FieldValues define = ReadRecord("DEFINE.DBF");
  EXPECT_EQ(DecimalOf(define, "VAL_DOLAR"), core::Decimal::FromScaled(40301, 4));
  const InstallationSettings& i = station().station.installation;
  ASSERT_EQ(i.adatvenc.size(), 8u);
  EXPECT_EQ(i.adatvenc[0], Dmy(30, 6, 2020));
  EXPECT_EQ(i.adatvenc[7], Dmy(29, 1, 2021));
  EXPECT_EQ(i.cvaldolar, "4.0301");
  EXPECT_EQ(i.bol_banco, 341);
}

TEST_F(StartupTest, DefineWithOtherDatesIsLeftAsItIs) {
  ASSERT_TRUE(Start().ok());
  Rewrite("DEFINE.DBF", {DateField("VCTO1", Dmy(15, 5, 2020))});
  ASSERT_TRUE(Start().ok());
  ExpectFields(ReadRecord("DEFINE.DBF"), {{"VCTO1", "15/05/2020"}, {"VCTO2", "31/07/2020"}});
}

TEST(BackupReminderTest, DueOnlyInTheFirstHalfOf2020AfterTheInterval) {
  struct Case {
    core::Date today;
    int days;
    bool due;
  } cases[] = {
      {Dmy(15, 6, 2020), 3, true},    {Dmy(15, 6, 2020), 2, true},    {Dmy(15, 6, 2020), 1, false},
      {Dmy(15, 5, 2020), 4, false},   {Dmy(15, 5, 2020), 5, true},    {Dmy(1, 7, 2020), 100, false},
      {Dmy(15, 6, 2021), 100, false}, {Dmy(15, 6, 2019), 100, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BackupReminder(c.today, c.days).has_value(), c.due)
        << c.today.ToDmy() << " " << c.days;
  }
  auto q = BackupReminder(Dmy(15, 5, 2020), 12);
  ASSERT_TRUE(q);
  EXPECT_EQ(*q, (std::vector<std::string>{" Atenção  12 dias sem fazer o Backup completo.",
                                          " Sim - Faça o Backup agora. ",
                                          " Não - Avise novamente em 5 dias. "}));
}

TEST_F(StartupTest, BackupReminderOf15June2020AnsweredNoStoresToday) {
  SetToday(2020, 6, 12);
  ASSERT_TRUE(Start().ok());
  SetToday(2020, 6, 15);
  ASSERT_TRUE(Start("N").ok());
  ASSERT_EQ(station().Boxes().size(), 1u);
  EXPECT_EQ(station().Boxes()[0],
            " Atenção   3 dias sem fazer o Backup completo. /  Sim - Faça o Backup agora.  / "
            " Não - Avise novamente em 2 dias. ");
  ExpectFields(ReadRecord("CONFIG.DBF"), {{"ULTBACK", "15/06/2020"}});
  // The next start the same day asks nothing.
  ASSERT_TRUE(Start().ok());
  EXPECT_TRUE(station().Boxes().empty());
}

TEST_F(StartupTest, BackupReminderAnsweredYesRunsTheCopyOption) {
  SetToday(2020, 6, 12);
  ASSERT_TRUE(Start().ok());
  SetToday(2020, 6, 15);
  ASSERT_TRUE(Start("S{Enter}{Enter}").ok());
  std::vector<std::string> boxes = station().Boxes();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[1].rfind("Deve ser informado a seguir a letra do PenDrive", 0), 0u);
  // Option 71 is not built yet: its box, and the date of the last backup stays.
  EXPECT_EQ(boxes[2], "Opção não disponível nesta versão");
  EXPECT_EQ(station().station.menu.opcao_1, 71);
  EXPECT_EQ(station().station.ctx.data_folder, "/inst");
  ExpectFields(ReadRecord("CONFIG.DBF"), {{"ULTBACK", "12/06/2020"}});
}

TEST_F(StartupTest, TerminalNumbers) {
  struct Case {
    std::optional<std::string> arg;
    std::optional<std::string> terminal_env;
    const char* terminal;  // nullptr: the start-up ends
  } cases[] = {
      // Refused ones first: no file may be named after them.
      {"123", std::nullopt, nullptr},
      {"7a", std::nullopt, nullptr},
      {"12", "x", nullptr},
      {"7", std::nullopt, "07"},
      {"12", "3", "03"},
      {std::nullopt, std::nullopt, "00"},  // local drive: no question
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arg.value_or("-") + " / " + c.terminal_env.value_or("-"));
    if (c.terminal_env)
      env.SetEnv("TERMINAL", *c.terminal_env);
    else
      env.UnsetEnv("TERMINAL");
    Status st = Start("{Enter}", c.arg);
    if (c.terminal == nullptr) {
      EXPECT_EQ(st.code(), StatusCode::kInvalid);
      ASSERT_EQ(station().vt.boxes().size(), 1u);
      EXPECT_EQ(station().vt.boxes()[0].style, 8);
      EXPECT_NE(station().Boxes()[0].find("terminal"), std::string::npos) << station().Boxes()[0];
      EXPECT_FALSE(env.Exists("/inst/CONFIG.DBF")) << "no file is named after a bad number";
    } else {
      ASSERT_TRUE(st.ok()) << st.ToString();
      EXPECT_EQ(station().station.ctx.terminal, c.terminal);
      EXPECT_TRUE(env.Exists(std::string("/inst/DIRET") + c.terminal + ".DBF"));
    }
  }
}

TEST_F(StartupTest, OnANetworkDriveTheOperatorIsAskedTheTerminalNumber) {
  env.SetNetwork("/", true);
  env.SetEnv("USUAR", "ANA");
  env.SetEnv("EQUIP", "4");
  ASSERT_TRUE(Start("{Enter}", std::nullopt).ok());
  EXPECT_EQ(station().station.ctx.terminal, "04");
}

TEST_F(StartupTest, AMissingInstallationFolderIsToldAndTheCurrentFolderUsed) {
  env.SetEnv("DIR2020", "/nao/existe");
  ASSERT_TRUE(env.CreateDir("/cwd").ok());
  auto& s = NewStation();
  StartupOptions o = Options();
  o.current_folder = "/cwd";
  ASSERT_TRUE(StartUp(s.station, o).ok());
  EXPECT_EQ(s.station.ctx.installation_folder, "/cwd");
  EXPECT_TRUE(env.Exists("/cwd/CONFIG.DBF"));
  EXPECT_EQ(core::Cp850ToUtf8(s.vt.status_part(0)),
            "<Dir> /nao/existenão encontrado. Assumindo o padrão!");
}

TEST_F(StartupTest, AMissingDataFolderIsAskedAbout) {
  ASSERT_TRUE(Start().ok());
  Rewrite("CONFIG.DBF", {CharField("ROTADOANO", "/sumiu")});
  // "Não" ends the program.
  Status st = Start("N");
  EXPECT_TRUE(st.IsCancelled()) << st.ToString();
  ASSERT_EQ(station().Boxes().size(), 1u);
  EXPECT_EQ(station().Boxes()[0],
            "A Pasta /sumiu não foi encontrada! / Sim - Assume: /inst / Não - Sai do programa!");
  ExpectFields(ReadRecord("CONFIG.DBF"), {{"ROTADOANO", "/sumiu"}});
  // "Sim" takes the installation folder and stores it.
  ASSERT_TRUE(Start("S").ok());
  EXPECT_EQ(station().station.ctx.data_folder, "/inst");
  ExpectFields(ReadRecord("CONFIG.DBF"), {{"ROTADOANO", "/inst"}});
}

TEST_F(StartupTest, AMissingWorkFolderIsReplacedByTheDataFolderForTheRun) {
  ASSERT_TRUE(env.CreateDir("/dados").ok());
  ASSERT_TRUE(Start().ok());
  Rewrite("CONFIG.DBF", {CharField("ROTADOANO", "/dados"), CharField("DIRTRAB", "/sumiu")});
  ASSERT_TRUE(Start().ok());
  EXPECT_TRUE(station().Boxes().empty());
  EXPECT_EQ(station().station.ctx.data_folder, "/dados");
  EXPECT_EQ(station().station.ctx.work_folder, "/dados");
  ExpectFields(ReadRecord("CONFIG.DBF"), {{"DIRTRAB", "/sumiu"}});
  // The new data folder joined the folder list as the selected one.
  CloseStation();
  ASSERT_EQ(RecordCount("DIRET01.DBF"), 2u);
  ExpectFields(ReadRecord("DIRET01.DBF", 2), {{"SELEC", "S"}, {"DIRETOR", "C:\\DADOS"}});
}

TEST_F(StartupTest, ASecondStationWithTheSameNumberIsToldItIsInUse) {
  ASSERT_TRUE(Start().ok());
  // The first station keeps running (its folder list held); another one starts.
  testing::TestStation other(env, env.fake_clock());
  other.vt.Feed("{Enter}{Enter}{Enter}");
  Status st = StartUp(other.station, Options("01"));
  EXPECT_TRUE(st.IsLocked()) << st.ToString();
  EXPECT_TRUE(other.ShowedBox("O programa DODU2020 no terminal 01 está em uso"))
      << ::testing::PrintToString(other.Boxes());
  // Another number starts beside it.
  testing::TestStation third(env, env.fake_clock());
  EXPECT_TRUE(StartUp(third.station, Options("02")).ok());
}

}  // namespace
}  // namespace dodu::shell
