// The printer choice, the reprint and the viewer on a started station.
#include "shell/print_screens.h"

#include <gtest/gtest.h>

#include "core/codepage.h"
#include "platform/testutil.h"
#include "print/print_output.h"
#include "startup_testutil.h"

namespace dodu::shell {
namespace {

using core::Cp850;

class ListedPrinters final : public print::PrinterSystem {
 public:
  Result<print::PrinterList> List() override { return list; }
  Status Submit(const std::string& queue, const std::string&, bool, const std::string& job,
                int) override {
    sent.push_back(queue + ":" + job);
    return Status::Ok();
  }
  print::PrinterList list;
  std::vector<std::string> sent;
};

class PrintScreensTest : public testing::StartupFixture {
 protected:
  void SetUp() override { ASSERT_OK(Start()); }
  Station& st() { return station().station; }
  ListedPrinters printers;
};

TEST_F(PrintScreensTest, TheChosenPrinterIsStoredInTheTerminalsRecord) {
  printers.list = {{"Laser", "Matricial"}, "Laser"};
  // NAO DOS (the current one) is highlighted: one up is "Matricial".
  station().vt.Feed("{Up}{Enter}");
  ASSERT_OK(ChoosePrinter(st(), printers));
  EXPECT_EQ(st().menu.print.nomeimp, "Matricial");
  EXPECT_EQ(CharOf(ReadRecord("ListaIMP.DBF"), "NOMEIMP").substr(0, 9), "Matricial");
  EXPECT_EQ(RecordCount("ListaIMP.DBF"), 1u);
}

TEST_F(PrintScreensTest, NoPrinterInstalledIsSaidAndTheOthersAreOffered) {
  // The box first, then the list: the first entry is now "NAO DOS"; End is "Arquivo PDF".
  station().vt.Feed("{Enter}{Esc}{End}{Enter}");
  ASSERT_OK(ChoosePrinter(st(), printers));
  EXPECT_TRUE(station().ShowedBox("Não há impressora Instalada !!"));
  EXPECT_EQ(st().menu.print.nomeimp, "Arquivo PDF");  // Esc did not leave: a choice is required
}

TEST_F(PrintScreensTest, ReprintWithoutAJobSaysSoAndWithOneDispatchesIt) {
  RegisterPrintOptions(st().dispatcher->registry(), st(), printers);
  station().vt.Feed("{Enter}");
  st().dispatcher->MenuSelect(52);
  EXPECT_TRUE(station().ShowedBox("Gere antes o arquivo a ser impresso!"));

  ASSERT_OK(platform::WriteFileAtomic(env, st().ctx.work_folder + "/NAO-DOS.TXT", "texto"));
  st().menu.print.nomeimp = "Laser";
  st().menu.print.mosimp = "N";
  st().menu.print.mostel = "N";
  st().dispatcher->MenuSelect(52);
  EXPECT_EQ(printers.sent, std::vector<std::string>{"Laser:NAO-DOS"});
}

TEST_F(PrintScreensTest, TheViewerShowsPagesAndOverprintMerged) {
  ASSERT_OK(platform::WriteFileAtomic(
      env, "/inst/V.TXT", "RELATORIO\r\n\x0F" "condensado\x12\r\nSALDO\r      1.234,56\x0C\rSEGUNDA"));
  // The script runs out while the viewer waits: the screen is as it showed the file.
  EXPECT_THROW(ViewPrintFile(station().tk, env, "/inst/V.TXT"), screen::ScriptExhausted);
  const std::string shown = station().vt.DumpUtf8();
  EXPECT_NE(shown.find("RELATORIO"), std::string::npos) << shown;
  EXPECT_NE(shown.find("condensado"), std::string::npos) << shown;
  EXPECT_NE(shown.find("SALDO 1.234,56"), std::string::npos) << shown;
  EXPECT_NE(shown.find("SEGUNDA"), std::string::npos) << shown;
}

}  // namespace
}  // namespace dodu::shell
