#include "shell/startup_args.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/memory_env.h"

namespace dodu::shell {
namespace {

using Opt = std::optional<std::string>;

TEST(StartupArgsTest, InstallFolderVariableName) {
  EXPECT_EQ(InstallFolderVariable("20"), "DIR2020");
}

// Fault mended: the terminal number was taken as given and padded, so "7a", "123"
// or "-1" named per-terminal files and settings records after it. Only one or two
// digits are accepted; anything else stops the start-up with a message.
TEST(StartupArgsTest, TerminalNumberFromCommandLineAndTerminalVariable) {
  struct Case {
    Opt command_line;
    Opt terminal_env;
    Opt want;          // the terminal, or nullopt when none was given
    bool invalid = false;
  } cases[] = {
      {"7", std::nullopt, "07"},
      {"07", std::nullopt, "07"},
      {"12", std::nullopt, "12"},
      {"0", std::nullopt, "00"},
      {" 5 ", std::nullopt, "05"},
      {"3", "9", "09"},              // TERMINAL wins
      {"3", "", "03"},               // set but empty: the command line counts
      {"3", "   ", "03"},
      {std::nullopt, "44", "44"},
      {std::nullopt, std::nullopt, std::nullopt},
      {"", std::nullopt, std::nullopt},
      {"123", std::nullopt, std::nullopt, true},
      {"7a", std::nullopt, std::nullopt, true},
      {"-1", std::nullopt, std::nullopt, true},
      {"+1", std::nullopt, std::nullopt, true},
      {"1 2", std::nullopt, std::nullopt, true},
      {"12", "x", std::nullopt, true},  // a bad TERMINAL is not passed over
      {"\xd9\xa3", std::nullopt, std::nullopt, true},  // a digit of another script
  };
  for (const Case& c : cases) {
    auto r = TerminalFromArgs(c.command_line, c.terminal_env);
    std::string label = "cmd=" + c.command_line.value_or("<none>") +
                        " TERMINAL=" + c.terminal_env.value_or("<none>");
    if (c.invalid) {
      ASSERT_FALSE(r.ok()) << label;
      EXPECT_EQ(r.status().code(), StatusCode::kInvalid) << label;
      EXPECT_NE(r.status().message().find("um ou dois dígitos"), std::string::npos) << label;
    } else {
      ASSERT_TRUE(r.ok()) << label << ": " << r.status().ToString();
      EXPECT_EQ(*r, c.want) << label;
    }
  }
}

TEST(StartupArgsTest, MessageNamesTheValueAndWhereItCameFrom) {
  auto r = TerminalFromArgs("1", "abc");
  ASSERT_FALSE(r.ok());
  EXPECT_NE(r.status().message().find("\"abc\""), std::string::npos);
  EXPECT_NE(r.status().message().find("TERMINAL"), std::string::npos);
}

TEST(StartupArgsTest, AnswerOfTheTerminalQuestion) {
  struct Case {
    const char* answer;
    const char* want;
  } cases[] = {{"", "00"}, {"  ", "00"}, {"4", "04"}, {"31", "31"}, {"x", "00"}, {"100", "00"}};
  for (const Case& c : cases) EXPECT_EQ(TerminalFromAnswer(c.answer), c.want) << c.answer;
}

TEST(StartupArgsTest, TerminalQuestionWindow) {
  TerminalQuestion ask = MakeTerminalQuestion("ANA", std::nullopt);
  EXPECT_EQ(ask.title, "Terminal");
  EXPECT_EQ(ask.operator_name, "ANA");
  EXPECT_EQ(ask.prompt, " Informe o nro. do terminal.");
  EXPECT_EQ(ask.proposal, "");
  TerminalQuestion confirm = MakeTerminalQuestion(std::nullopt, "3");
  EXPECT_EQ(confirm.prompt, " Confirme o nro. do terminal.");
  EXPECT_EQ(confirm.proposal, "03");
  // A proposal that is no terminal number is not offered.
  EXPECT_EQ(MakeTerminalQuestion("ANA", "xyz").prompt, " Informe o nro. do terminal.");
}

TEST(StartupArgsTest, InstallationFolder) {
  std::set<std::string> existing = {"/srv/dodu", "C:\\DODU2020"};
  auto exists = [&](const std::string& f) { return existing.count(f) > 0; };
  struct Case {
    Opt variable;
    const char* rotadef;
    const char* arqdef;
    Opt message;
  } cases[] = {
      {"/srv/dodu", "/srv/dodu", "/srv/dodu/", std::nullopt},
      {"C:\\DODU2020", "C:\\DODU2020", "C:\\DODU2020\\", std::nullopt},
      {std::nullopt, "/home/op", "/home/op/", std::nullopt},
      {"", "/home/op", "/home/op/", std::nullopt},
      {"/srv/nada", "/home/op", "/home/op/",
       "<Dir> /srv/nadanão encontrado. Assumindo o padrão!"},
  };
  for (const Case& c : cases) {
    InstallFolder f = ResolveInstallFolder(c.variable, exists, "/home/op");
    std::string label = c.variable.value_or("<unset>");
    EXPECT_EQ(f.rotadef, c.rotadef) << label;
    EXPECT_EQ(f.arqdef, c.arqdef) << label;
    EXPECT_EQ(f.dirdef, c.variable.value_or("")) << label;
    EXPECT_EQ(f.status_message, c.message) << label;
  }
}

TEST(StartupArgsTest, InstallationFolderFromTheEnvironmentThroughTheDriveMap) {
  platform::MemoryEnv env;
  ASSERT_TRUE(env.CreateDir("/srv/d/Dodu2020").ok());
  ASSERT_TRUE(env.CreateDir("/srv/d/arquivo").ok());
  ASSERT_TRUE(env.Open("/srv/d/arquivo/x.txt", platform::OpenMode::kCreate).ok());
  platform::PathMap drives;
  ASSERT_TRUE(drives.SetDrive('D', "/srv/d").ok());
  struct Case {
    Opt variable;
    const char* rotadef;
    bool message;
  } cases[] = {
      {"D:\\DODU2020", "D:\\DODU2020", false},  // case-insensitive, as on the office's drive
      {"/srv/d/Dodu2020", "/srv/d/Dodu2020", false},
      {"E:\\DODU2020", "/cwd", true},             // unmapped drive
      {"D:\\arquivo\\x.txt", "/cwd", true},       // a file is no folder
      {std::nullopt, "/cwd", false},
  };
  for (const Case& c : cases) {
    if (c.variable) {
      env.SetEnv("DIR2020", *c.variable);
    } else {
      env.UnsetEnv("DIR2020");
    }
    InstallFolder f = ResolveInstallFolder(env, drives, "/cwd");
    EXPECT_EQ(f.rotadef, c.rotadef) << c.variable.value_or("<unset>");
    EXPECT_EQ(f.status_message.has_value(), c.message) << c.variable.value_or("<unset>");
  }
}

}  // namespace
}  // namespace dodu::shell
