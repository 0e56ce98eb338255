// The real program in a real terminal (tmux): the demonstration installed and
// started, the menu opened with the menu key and walked to a short action,
// Alt T and "S" leave, and the settings record holds what leaving wrote.
// Skipped where tmux or the built program is missing.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/env.h"
#include "shell/demo_install.h"
#include "shell/settings_defaults.h"
#include "shell/station.h"
#include "store/table.h"
#include "tmux_session.h"

namespace dodu::shell {
namespace {

// The program beside this test binary's build folder: <build>/src/shell/dodu2020.
std::string ProgramPath() {
  char self[4096];
  ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return "";
  std::string path(self, static_cast<size_t>(n));
  for (int up = 0; up < 3; ++up) path = path.substr(0, path.rfind('/'));  // <build>
  return path + "/src/shell/dodu2020";
}

class TmuxEndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing::HaveTmux()) GTEST_SKIP() << "tmux not installed";
    program_ = ProgramPath();
    if (access(program_.c_str(), X_OK) != 0) GTEST_SKIP() << program_ << " not built";
    char tmpl[] = "/tmp/dodu_e2e_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    folder_ = tmpl;
  }
  void TearDown() override {
    if (!folder_.empty()) std::system(("rm -rf '" + folder_ + "'").c_str());
  }
  std::string Capture() const { return tmux_.Capture(); }
  bool WaitFor(const std::string& text) const { return tmux_.WaitFor(text, 10); }
  void Keys(const std::string& keys) { tmux_.Keys(keys); }
  // The program on a demonstration installed into `demo`, in an 80 x 28 window.
  bool StartDemo(const std::string& demo) {
    return tmux_.Start("'env -u DIR2020 -u TERMINAL HOME=" + folder_ +
                           " DODU_REFDATA=" DODU_SHARED_DIR "/data " + program_ + " --demo " +
                           demo + " 2>/dev/null; echo EXIT=$?; sleep 30'",
                       80, 28);
  }

  testing::TmuxSession tmux_{"dodu_e2e"};
  std::string program_, folder_;
};

TEST_F(TmuxEndToEndTest, DemoReachesTheMenuRunsAShortActionAndLeavesWritingTheSettings) {
  const std::string demo = folder_ + "/demo";
  ASSERT_TRUE(StartDemo(demo));
  // The menu bar is filled when the main loop starts; keys typed before may be dropped.
  ASSERT_TRUE(WaitFor("Declaração  Opções  Selecão")) << Capture();
  EXPECT_NE(Capture().find("Terminal 00 IR Versão"), std::string::npos) << Capture();

  // Ctrl F10, two to the right ("Selecão"), open it, its last item "Mostra a Selecao".
  Keys("C-F10");
  Keys("Right Right Down End Enter");
  ASSERT_TRUE(WaitFor("Seleçao para impressão")) << Capture();
  EXPECT_NE(Capture().find("DArevu modo Receita"), std::string::npos) << Capture();
  Keys("Enter");

  Keys("M-t");
  ASSERT_TRUE(WaitFor("Confirma saída do programa?")) << Capture();
  Keys("S");
  ASSERT_TRUE(WaitFor("EXIT=0")) << Capture();

  // Leaving wrote the settings back: the operator name a new record leaves blank.
  std::unique_ptr<platform::Env> env = platform::NewPosixEnv();
  auto table = store::Table::Open(*env, demo + "/CONFIG.DBF", store::Sharing::kShared);
  ASSERT_TRUE(table.ok()) << table.status().ToString();
  ASSERT_EQ((*table)->record_count(), 1u);
  auto record = (*table)->Read(store::RecNo{1});
  ASSERT_TRUE(record.ok());
  FieldValues config = RecordFields(*record);
  EXPECT_EQ(CharOf(config, "NRO_TERM"), "00");
  EXPECT_EQ(CharOf(config, "NOMEAG"), "USUARIO DO TERMINAL 00");
  EXPECT_EQ(CharOf(config, "ROTADOANO"), demo);
  EXPECT_EQ(CharOf(config, "ROTAJAVA"), folder_ + "/ProgramasRFB/IRPF2020/APLICACAO/DADOS");
}

TEST_F(TmuxEndToEndTest, DemoTaxpayerIsOpenedCalculatedAndClosedAgain) {
  const std::string demo = folder_ + "/demo";
  ASSERT_TRUE(StartDemo(demo));
  ASSERT_TRUE(WaitFor("Declaração  Opções  Selecão")) << Capture();

  // Alt I: the selection; the demo taxpayer's CPF opens the declaration.
  Keys("M-i");
  ASSERT_TRUE(WaitFor("F1=Nome F2=CPF")) << Capture();
  Keys(std::string(kDemoTaxpayerCpf) + " Enter");
  ASSERT_TRUE(WaitFor("Alt T sai")) << Capture();
  // While it is open the register names this terminal.
  std::unique_ptr<platform::Env> env = platform::NewPosixEnv();
  auto nusuat = [&] {
    auto table = store::Table::Open(*env, demo + "/IMP0920.DBF", store::Sharing::kShared);
    if (!table.ok() || (*table)->record_count() < 1) return std::string("<none>");
    auto record = (*table)->Read(store::RecNo{1});
    return record.ok() ? CharOf(RecordFields(*record), "NUSUAT") : std::string("<unread>");
  };
  EXPECT_EQ(nusuat(), "00");

  // F7: the calculation screen; Esc back to the menu, Alt T leaves saving.
  Keys("F7");
  ASSERT_TRUE(WaitFor("TOTAL IMPOSTO DEVIDO")) << Capture();
  Keys("Escape");
  // A lone Esc is told from Alt by the pause after it.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  Keys("M-t");
  ASSERT_TRUE(WaitFor("384.917.562-64")) << Capture();  // back in the selection
  EXPECT_EQ(nusuat(), "");

  Keys("Escape");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  Keys("M-t");
  ASSERT_TRUE(WaitFor("Confirma saída do programa?")) << Capture();
  Keys("S");
  ASSERT_TRUE(WaitFor("EXIT=0")) << Capture();
}

}  // namespace
}  // namespace dodu::shell
