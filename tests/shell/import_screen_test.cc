// The import of the official files on the virtual terminal: the folder
// dialog, the marking of the selection list and the conversion.
#include "shell/import_screen.h"

#include <gtest/gtest.h>

#include "core/codepage.h"
#include "entry/profile_import.h"
#include "import/testutil.h"
#include "platform/memory_env.h"
#include "screen/toolkit_sink.h"
#include "screen/virtual_terminal.h"
#include "store/table.h"

namespace dodu::shell {
namespace {

using core::Cp850;

class ImportScreenTest : public ::testing::Test {
 protected:
  ImportScreenTest()
      : sink(tk), ctx(env, sink, wait), ec{tk, ctx, areas, state}, s{tk, ctx,      areas,
                                                                     ec, profiles, nullptr} {
    ctx.terminal = "01";
    ctx.installation_folder = "/inst";
    ctx.data_folder = "/data";
    ctx.work_folder = "/work";
    for (const char* f : {"/inst", "/data", "/work", "/src"}) EXPECT_TRUE(env.CreateDir(f).ok());
    entry::RegisterImportProfiles(profiles);
    tk.Start("DODU2020");
    const std::string file = import::testing::File(
        {import::testing::Header(2020), import::testing::Identification(), import::testing::End()});
    EXPECT_TRUE(
        platform::WriteFileAtomic(env, "/src/22222222303-IRPF-A-2020-2019-ORIGI.DEC", file).ok());
  }

  std::vector<std::string> BoxLines() {
    std::vector<std::string> out;
    for (const auto& b : term.boxes()) out.push_back(b.lines.empty() ? "" : b.lines[0]);
    return out;
  }

  bool Registered() {
    auto t = store::Table::Open(env, "/data/IMP0920.DBF", store::Sharing::kShared);
    return t.ok() && (*t)->record_count() == 1;
  }

  screen::ManualClock clock;
  screen::VirtualTerminal term{clock};
  screen::Toolkit tk{term};
  screen::ToolkitMessageSink sink;
  platform::MemoryEnv env;
  store::RecordingWaitObserver wait;
  store::OpenerContext ctx;
  store::WorkAreas areas;
  entry::EntryState state;
  entry::EntryContext ec;
  entry::ProfileRegistry profiles;
  ImportScreenContext s;
};

TEST_F(ImportScreenTest, MarkedTaxpayerIsConverted) {
  // Origin typed, destination kept; "S" in the mark column (a one-letter cell
  // is left as it fills); Esc leaves the list. The fixture's sentinel texts are
  // longer than some fields: the summary names them.
  term.Feed("{Ctrl Y}/src{Enter}{Enter}S{Esc}{Enter}");
  ASSERT_TRUE(LEIA_DISCO(s, OfficialImports()[0]).ok());
  EXPECT_TRUE(Registered());
  EXPECT_EQ(BoxLines(), std::vector<std::string>{Cp850("Observações da importação:")});
}

TEST_F(ImportScreenTest, NothingMarkedConvertsNothing) {
  term.Feed("{Ctrl Y}/src{Enter}{Enter}{Esc}{Enter}");
  ASSERT_TRUE(LEIA_DISCO(s, OfficialImports()[0]).ok());
  EXPECT_EQ(BoxLines(),
            std::vector<std::string>{Cp850("Nenhum contribuinte foi marcado para a conversão.")});
  EXPECT_FALSE(Registered());
}

TEST_F(ImportScreenTest, MissingOriginAsksToGoOn) {
  term.Feed("{Ctrl Y}/nada{Enter}{Enter}{Enter}{Right}{Enter}");
  ASSERT_TRUE(LEIA_DISCO(s, OfficialImports()[0]).ok());
  EXPECT_EQ(BoxLines(), (std::vector<std::string>{"Drive e/ou Pasta de Origem inexistente !!",
                                                  "Continua procurando?"}));
}

}  // namespace
}  // namespace dodu::shell
