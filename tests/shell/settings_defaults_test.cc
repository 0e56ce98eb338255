#include "shell/settings_defaults.h"

#include <gtest/gtest.h>

#include "shell/dispatcher.h"
#include "shell/settings_defaults_terminal.h"

namespace dodu::shell {
namespace {

core::Date Ymd(int y, int m, int d) { return *core::Date::FromYmd(y, m, d); }
core::Decimal Dec(const char* text) { return *core::Decimal::Parse(text); }

// How a value is written in the expectations below: text as it is, numbers in
// their shortest form, dates as DTOS, logicals T/F.
std::string Show(const FieldValue& f) {
  if (auto* s = std::get_if<std::string>(&f.value)) return "C:" + *s;
  if (auto* d = std::get_if<core::Decimal>(&f.value)) return "N:" + d->ToString();
  if (auto* t = std::get_if<core::Date>(&f.value)) return "D:" + t->Dtos();
  return std::string("L:") + (std::get<bool>(f.value) ? "T" : "F");
}

void ExpectRecord(const FieldValues& got,
                  const std::vector<std::pair<std::string, std::string>>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(got[i].name, want[i].first) << "field " << i;
    EXPECT_EQ(Show(got[i]), want[i].second) << want[i].first;
  }
}

TEST(SettingsDefaultsTest, NewSettingsRecordOfATerminal) {
  ConfigInput in;
  in.terminal = "07";
  in.rotadef = "/srv/dodu";
  in.dirdef = "/srv/dodu";
  in.today = Ymd(2020, 6, 15);
  in.outside = NativeOutsideFolders("/home/ana", "/opt/dodu2020");
  ExpectRecord(ConfigDefaults(in),
               {
                   {"NRO_TERM", "C:07"},
                   {"ROTAANTER", "C:/home/ana/KEVA2019"},
                   {"ROTADOANO", "C:/srv/dodu"},
                   {"ROTAREANT", "C:/home/ana/ProgramasRFB/IRPF2019/TRANSMITIDAS"},
                   {"ROTARECEI", "C:/home/ana/ProgramasRFB/IRPF2020/APLICACAO/DADOS"},
                   {"ROTAJAVA", "C:/home/ana/ProgramasRFB/IRPF2020/APLICACAO/DADOS"},
                   {"DIRTRAB", "C:/srv/dodu"},
                   {"DIRPROV", "C:/srv/dodu"},
                   {"DIRINST", "C:/opt/dodu2020"},
                   {"QUEIMP", "N:1"},
                   {"QUEMOD", "N:1"},
                   {"QUEPAG", "N:1"},
                   {"QUECON", "N:1"},
                   {"ENV_STAT", "N:2"},
                   {"MARESQ", "N:0"},
                   {"INIFOL", "N:0"},
                   {"LINETI", "N:6"},
                   {"NRO_LIN", "N:60"},
                   {"OPC_TRAN", "N:7"},
                   {"COMPAGA", "N:1"},
                   {"IMPBEM", "C:1"},
                   {"IMPBAL", "C:1"},
                   {"MOSIMP", "C:S"},
                   {"MOSTEL", "C:S"},
                   {"MOSCPF", "C:"},
                   {"ULT_TER", "N:0"},
                   {"ULT_MOD", "N:1"},
                   {"ULT_CPF", "C:"},
                   {"XDRIVE", "C:C"},
                   {"SOESTE", "N:9"},
                   {"OPTTRAN", "N:0"},
                   {"ULTBACK", "D:20200615"},
                   {"OPCIRPF", "C:J"},
                   {"NOMEAG", "C:"},
                   {"OPCFIM", "N:0"},
               });
}

TEST(SettingsDefaultsTest, OutsideFoldersInBothStyles) {
  EXPECT_EQ(WindowsOutsideFolders(),
            (OutsideFolders{"C:\\KEVA2019",
                            "C:\\ARQUIVOS DE PROGRAMAS RFB\\IRPF2020\\APLICACAO\\DADOS",
                            "C:\\ARQUIVOS DE PROGRAMAS RFB\\IRPF2019\\TRANSMITIDAS",
                            "C:\\DODU2020"}));
  // A closing separator of the base is not doubled; "/" as base stays absolute.
  EXPECT_EQ(NativeOutsideFolders("/home/ana/", "/p").rotaanter, "/home/ana/KEVA2019");
  EXPECT_EQ(NativeOutsideFolders("/", "/p").rotarecei, "/ProgramasRFB/IRPF2020/APLICACAO/DADOS");
  // The transmitted folder is derived from the part before "APLICACAO", in both styles.
  for (const OutsideFolders& f :
       {WindowsOutsideFolders(), NativeOutsideFolders("/home/ana", "/opt/dodu2020")}) {
    ASSERT_TRUE(OfficialProgramRoot(f.rotarecei).has_value()) << f.rotarecei;
  }
}

TEST(SettingsDefaultsTest, OfficialProgramRoot) {
  struct Case {
    const char* folder;
    std::optional<std::string> root;
  } cases[] = {
      {"C:\\ARQUIVOS DE PROGRAMAS RFB\\IRPF2020\\APLICACAO\\DADOS",
       "C:\\ARQUIVOS DE PROGRAMAS RFB\\IRPF2020\\"},
      {"C:\\Arquivos de Programas RFB\\IRPF2020\\aplicacao\\dados",
       "C:\\Arquivos de Programas RFB\\IRPF2020\\"},
      {"/home/ana/ProgramasRFB/IRPF2020/Aplicacao/dados", "/home/ana/ProgramasRFB/IRPF2020/"},
      {"APLICACAO", ""},
      // Only a whole component counts.
      {"/x/APLICACAO2/dados", std::nullopt},
      {"/x/MINHAAPLICACAO/dados", std::nullopt},
      {"/x/dados", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(OfficialProgramRoot(c.folder), c.root) << c.folder;
}

TEST(SettingsDefaultsTest, FolderSeparatorsAndLocIrpf) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"C:\\DODU2020", "C:\\DODU2020\\"}, {"C:\\DODU2020\\", "C:\\DODU2020\\"},
      {"/srv/dodu", "/srv/dodu/"},       {"/srv/dodu/", "/srv/dodu/"},
      {"/srv/dodu    ", "/srv/dodu/"},   {"", ""},
      {"     ", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WithFolderSeparator(c.in), c.out) << "[" << c.in << "]";
    EXPECT_EQ(LocIrpf(c.in), c.out) << "[" << c.in << "]";
  }
}

TEST(SettingsDefaultsTest, OperatorName) {
  EXPECT_EQ(OperatorName("", "07"), "USUARIO DO TERMINAL 07");
  EXPECT_EQ(OperatorName("                      ", "12"), "USUARIO DO TERMINAL 12");
  EXPECT_EQ(OperatorName("MARIA   ", "07"), "MARIA");
}

TEST(SettingsDefaultsTest, NewInstallationDefaultsRecord) {
  ExpectRecord(DefineDefaults(), {
                                     {"VCTO1", "D:20200630"},
                                     {"VCTO2", "D:20200731"},
                                     {"VCTO3", "D:20200831"},
                                     {"VCTO4", "D:20200930"},
                                     {"VCTO5", "D:20201030"},
                                     {"VCTO6", "D:20201130"},
                                     {"VCTO7", "D:20201230"},
                                     {"VCTO8", "D:20210129"},
                                     {"VAL_SEG", "N:4"},
                                     {"VAL_BYTE", "N:3"},
                                     {"VAL_MIN", "N:120"},
                                     {"COMO_SAL", "N:2"},
                                     {"TEMP_SAL", "N:15"},
                                     {"TEMP_DES", "N:4"},
                                     {"VAL_CPMF", "N:0"},
                                     {"VAL_DOLAR", "N:4.0301"},
                                     {"PROCESSA", "C:N"},
                                     {"PROGCOMP", "C:S"},
                                 });
}

TEST(SettingsDefaultsTest, DueDateRefreshOnlyForTheOldFirstDueDate) {
  struct Case {
    core::Date vcto1;
    bool refresh;
  } cases[] = {
      {Ymd(2020, 4, 30), true},  {Ymd(2020, 6, 30), false}, {Ymd(2019, 4, 30), false},
      {Ymd(2020, 5, 29), false}, {core::Date(), false},
  };
  for (const Case& c : cases) {
    FieldValues r = DefineDefaults();
    ApplyFields(r, {DateField("VCTO1", c.vcto1)});
    EXPECT_EQ(NeedsDueDateRefresh(r), c.refresh) << c.vcto1.Dtos();
  }
}

TEST(SettingsDefaultsTest, RefreshedOldRecordReadsAsTheNewCalendar) {
  // An old record: first-calendar due dates, another dollar rate, another bank.
  FieldValues r = {DateField("VCTO1", Ymd(2020, 4, 30)), DateField("VCTO2", Ymd(2020, 5, 29)),
                   NumericField("VAL_DOLAR", Dec("3.9")), CharField("BOL_BANCO", "001 "),
                   NumericField("TEMP_SAL", 10), CharField("SER_SMTP", "smtp.x.com.br   "),
                   CharField("VER_ATUAL", "N")};
  ASSERT_TRUE(NeedsDueDateRefresh(r));
  ApplyFields(r, DueDateRefresh());
  EXPECT_FALSE(NeedsDueDateRefresh(r));
  InstallationSettings s = ReadInstallationSettings(r);
  ASSERT_EQ(s.adatvenc.size(), 8u);
  EXPECT_EQ(s.adatvenc[0], Ymd(2020, 6, 30));
  EXPECT_EQ(s.adatvenc[1], Ymd(2020, 7, 31));
  EXPECT_EQ(s.adatvenc[7], Ymd(2021, 1, 29));
  EXPECT_EQ(s.nvaldolar, Dec("4.0301"));
  EXPECT_EQ(s.cvaldolar, "4.0301");
  EXPECT_EQ(s.bol_banco, 341);  // whatever the record holds
  EXPECT_EQ(s.temp_sal, 10);
  EXPECT_EQ(s.ser_smtp, "smtp.x.com.br");
  EXPECT_EQ(s.ver_atual, "N");
}

TEST(SettingsDefaultsTest, DollarRateText) {
  struct Case {
    const char* rate;
    const char* text;
  } cases[] = {{"4.0301", "4.0301"}, {"0", "0.0000"}, {"5.12345", "5.1235"}, {"12.5", "******"}};
  for (const Case& c : cases) {
    FieldValues r = DefineDefaults();
    ApplyFields(r, {NumericField("VAL_DOLAR", Dec(c.rate))});
    EXPECT_EQ(ReadInstallationSettings(r).cvaldolar, c.text) << c.rate;
  }
}

TEST(SettingsDefaultsTest, PrinterRecord) {
  ExpectRecord(PrinterDefaults("03", "HP LaserJet"), {
                                                         {"NRO_TERM", "C:03"},
                                                         {"NOMEIMP", "C:NAO DOS"},
                                                         {"IPADRAO", "C:HP LaserJet"},
                                                         {"SEQ0", "C:\x12"},  // "<018>"
                                                         {"SEQ1", "C:\x0F"},  // "<015>"
                                                     });
}

TEST(SettingsDefaultsTest, ColourRecordAndComposites) {
  FieldValues colours = ColourDefaults("07");
  ExpectRecord(colours, {
                            {"NRO_TERM", "C:07"},    {"COR_TEL1", "N:30"},
                            {"COR_TEL2", "N:31"},    {"COR_TEL3", "N:63"},
                            {"COR_MENS", "N:112"},   {"COR_PEGA", "N:15"},
                            {"COR_HELP", "N:112"},   {"COR_FERID", "N:28"},
                            {"COR_ESCOL", "N:79"},   {"COR_ENCHE", "N:31"},
                            {"COR_1_CLI", "C:GR+/B"}, {"COR_2_CLI", "C:W+/B"},
                            {"COR_INI", "C:W+/B"},   {"COR_SAY", "C:N/W+"},
                            {"COR_GET", "C:W/N"},    {"COR_CLI_HE", "C:N/W"},
                            {"COR_ESC_CL", "C:W/R+"}, {"COR_ENCH_C", "C:W+/B"},
                        });
  CompositeColours c = BuildCompositeColours(colours);
  EXPECT_EQ(c.cornorm, "N/W+,W/N,\"N/N\",\"N/N\",N/W+");
  EXPECT_EQ(c.corlimp, "GR+/B,W/N,\"N/N\",\"N/N\",N/W+");
  EXPECT_EQ(c.corsele, "N/W,W/N,\"N/N\",\"N/N\",N/W+");
  EXPECT_EQ(c.invisivel, "W/W,W/W,N/N,N/N,W/W");
  EXPECT_EQ(c.cormenu, "GR+/B,W/R+,W+/B,W+/B,W+/B,W+/B");
  EXPECT_EQ(c.coraten, "R/W*");
  // A record read from the table pads its texts; a missing field keeps the default.
  FieldValues read = {CharField("COR_SAY", "W/B       ")};
  EXPECT_EQ(BuildCompositeColours(read).cornorm, "W/B,W/N,\"N/N\",\"N/N\",W/B");
}

TEST(SettingsDefaultsTest, NewRecordReadBackGivesTheStartValues) {
  ConfigInput in;
  in.terminal = "07";
  in.rotadef = "/srv/dodu";
  in.today = Ymd(2020, 6, 15);
  in.outside = NativeOutsideFolders("/home/ana", "/opt/dodu2020");
  TerminalSettings t = ReadTerminalSettings(ConfigDefaults(in), "07");
  EXPECT_EQ(t.rotadoano, "/srv/dodu");
  EXPECT_EQ(t.locirpf, "/home/ana/ProgramasRFB/IRPF2020/APLICACAO/DADOS/");
  EXPECT_EQ(t.nomeag, "USUARIO DO TERMINAL 07");
  EXPECT_EQ(t.ultback, Ymd(2020, 6, 15));
  EXPECT_EQ(t.print, PrintSelection());
  EXPECT_EQ(t.opcirpf, "J");
  EXPECT_EQ(t.env_stat, 2);
  EXPECT_EQ(t.opc_tran, 7);
  EXPECT_EQ(t.soeste, 9);
}

TEST(SettingsDefaultsTest, StoredValuesReadAndWrittenBackOnLeaving) {
  FieldValues r = {CharField("ROTADOANO", "/srv/dados                    "),
                   CharField("ROTAJAVA", "                    "),
                   CharField("NOMEAG", "ANA                   "),
                   NumericField("QUEIMP", 14), NumericField("QUEMOD", 7),
                   NumericField("OPTTRAN", 2), CharField("XDRIVE", "E"),
                   DateField("ULTBACK", Ymd(2020, 6, 12))};
  TerminalSettings t = ReadTerminalSettings(r, "03");
  EXPECT_EQ(t.rotadoano, "/srv/dados");
  EXPECT_EQ(t.locirpf, "");  // a blank folder disables the hand-over
  EXPECT_EQ(t.nomeag, "ANA");
  EXPECT_EQ(t.print.queimp, 14);
  EXPECT_EQ(t.print.quemod, 4);  // kept inside the four label sheets

  MainMenuState state = MainMenuStateFrom(t, ReadInstallationSettings(DefineDefaults()));
  EXPECT_EQ(state.temp_sal, 15);
  EXPECT_EQ(state.captions.item2, "2 Pimaco 8296   ");
  state.opcirpf = "N";
  state.opttran = 1;
  StoreBack(state, t);
  FieldValues out = ExitFields(t);
  std::vector<std::string> names;
  for (const FieldValue& f : out) names.push_back(f.name);
  EXPECT_EQ(names, (std::vector<std::string>{"NOMEAG", "ROTADOANO", "ROTARECEI", "ROTAJAVA",
                                             "ULT_CPF", "DIRTRAB", "OPTTRAN", "SOESTE",
                                             "ULTBACK", "OPCIRPF", "ENV_STAT", "MARESQ",
                                             "INIFOL", "LINETI", "NRO_LIN", "OPC_TRAN",
                                             "XDRIVE"}));
  EXPECT_EQ(CharOf(out, "OPCIRPF"), "N");
  EXPECT_EQ(IntOf(out, "OPTTRAN"), 1);
  EXPECT_EQ(CharOf(out, "XDRIVE"), "E");
  EXPECT_EQ(DateOf(out, "ULTBACK"), Ymd(2020, 6, 12));
  EXPECT_EQ(CharOf(out, "NOMEAG"), "ANA");
}

}  // namespace
}  // namespace dodu::shell
