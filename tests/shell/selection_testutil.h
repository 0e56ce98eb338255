// Fixture of the taxpayer selection tests: a station on the virtual terminal
// over real folders in a temporary directory (installation, two data folders,
// work folder), the folder list of terminal 01 naming both data folders, and
// registers, work copies and warnings written by the store. The hooks record
// what the selection asked of the rest of the program.
#ifndef DODU_TESTS_SHELL_SELECTION_TESTUTIL_H_
#define DODU_TESTS_SHELL_SELECTION_TESTUTIL_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/codepage.h"
#include "core/ids.h"
#include "platform/env.h"
#include "platform/testutil.h"
#include "screen/toolkit_sink.h"
#include "screen/virtual_terminal.h"
#include "shell/selection.h"
#include "shell/station.h"
#include "store/folder_list.h"
#include "store/opener.h"
#include "store/table.h"

namespace dodu::shell::testing {

// A valid CPF from its 9-digit base.
inline std::string Cpf(const std::string& base9) { return base9 + *core::CpfDigits(base9); }

struct Taxpayer {
  Taxpayer(std::string c, std::string n, std::string u, std::string rural = "N", std::string b = "")
      : cpf(std::move(c)),
        name(std::move(n)),
        nusuat(std::move(u)),
        temrural(std::move(rural)),
        birth(std::move(b)) {}
  std::string cpf;
  std::string name;
  std::string nusuat;  // the terminal the declaration is open on
  std::string temrural;
  std::string birth;  // DTOS, "" for none
};

class SelectionFixture : public ::testing::Test {
 protected:
  SelectionFixture()
      : env(platform::NewPosixEnv()),
        sink(tk),
        ctx(*env, sink, wait),
        s(tk, ctx, areas, menu, ult_cpf) {
    inst = dir / "inst";
    data = dir / "data";
    data2 = dir / "data2";
    work = dir / "work";
    for (const std::string& f : {inst, data, data2, work}) EXPECT_TRUE(env->CreateDir(f).ok());
    ctx.terminal = "01";
    ctx.installation_folder = inst;
    ctx.data_folder = data;
    ctx.work_folder = work;
    tk.Start("DODU2020");
    // The folder list, held by the station as at start.
    EXPECT_TRUE(store::ABERTURA(ctx, areas, 50).ok());
    for (const std::string& f : {data, data2}) {
      EXPECT_TRUE(AppendFields(ctx, *areas.Get(50),
                               {CharField("SELEC", f == data ? "S" : "N"),
                                CharField("DIRETOR", store::FolderListName(ctx, f))})
                      .ok());
    }
    s.hooks.load = [this](const LoadRequest& r) {
      loads.push_back(r);
      return load_status;
    };
    s.hooks.run_declaration = [this] {
      ++declarations;
      return 1;
    };
    s.hooks.register_list =
        [this](const entry::RegisterListRequest& r) -> Result<std::optional<entry::RegisterPick>> {
      lists.push_back(r);
      if (picks.empty()) return std::optional<entry::RegisterPick>();
      entry::RegisterPick p = picks.front();
      picks.erase(picks.begin());
      return std::optional<entry::RegisterPick>(p);
    };
    s.not_available = [this](int code) { not_available.push_back(code); };
    // F9 takes a picture of the screen while something waits.
    tk.BindKey(screen::Key::F(9), [this] {
      snapshot.clear();
      for (int r = 0; r < 25; ++r) snapshot += core::Cp850ToUtf8(tk.RowText(r)) + "\n";
    });
  }
  ~SelectionFixture() override { areas.CloseAll(); }

  // Appends taxpayers to the register of `folder` (created when missing).
  void AddTaxpayers(const std::string& folder, const std::vector<Taxpayer>& people) {
    ASSERT_TRUE(store::MUDADIR(ctx, areas, folder, "").ok());
    for (const Taxpayer& t : people) {
      FieldValues f = {CharField("CPF", t.cpf), CharField("NOMECONTR", core::Cp850(t.name)),
                       CharField("NUSUAT", t.nusuat), CharField("TEMRURAL", t.temrural)};
      if (!t.birth.empty()) f.push_back(DateField("NASCIMENTO", *core::Date::FromDtos(t.birth)));
      ASSERT_TRUE(AppendFields(ctx, *areas.Get(9), f).ok());
    }
    areas.Close(9);
  }

  // This terminal's work copy of the register holding one record of `cpf`.
  void WriteRegisterCopy(const std::string& cpf, const std::string& name = "") {
    ASSERT_TRUE(store::OpenWorkCopy(ctx, areas, 9, true).ok());
    store::WorkArea& copy = *areas.Get(29);
    ASSERT_TRUE(copy.table().Zap().ok());
    ASSERT_TRUE(
        AppendFields(ctx, copy, {CharField("CPF", cpf), CharField("NOMECONTR", core::Cp850(name))})
            .ok());
    areas.Close(29);
  }

  // The status table of the installation (a reference table, installed).
  void WriteStatusTable(const std::vector<std::pair<int, std::string>>& rows) {
    const store::TableDef* def = store::FindTable(66);
    ASSERT_NE(def, nullptr);
    const std::string path =
        platform::JoinPath(inst, store::TableFileName(*def, ctx.names()) + ".DBF");
    Result<std::unique_ptr<store::Table>> t =
        store::Table::Create(*env, path, def->layout, store::Sharing::kExclusive);
    ASSERT_OK(t);
    for (const auto& [code, text] : rows) {
      store::Record r = (*t)->BlankRecord();
      ASSERT_OK(r.PutNumber("COD", core::Decimal::FromInt(code)));
      ASSERT_OK(r.PutText("DESCRICAO", text));
      ASSERT_OK((*t)->Append(r));
    }
  }

  // The first line of every box shown, in UTF-8.
  std::vector<std::string> BoxFirstLines() const {
    std::vector<std::string> out;
    for (const auto& b : term.boxes()) {
      out.push_back(b.lines.empty() ? "" : core::Cp850ToUtf8(b.lines[0]));
    }
    return out;
  }
  bool Shown(const std::string& utf8) const { return snapshot.find(utf8) != std::string::npos; }

  Result<bool> Run(int code, const std::string& keys) {
    term.Feed(keys);
    return DECLARA(s, code);
  }

  ::dodu::testing::TempDir dir;
  std::string inst, data, data2, work;
  std::unique_ptr<platform::Env> env;
  screen::ManualClock clock{{2020, 5, 29, 9, 0, 0}};
  screen::VirtualTerminal term{clock};
  screen::Toolkit tk{term};
  screen::ToolkitMessageSink sink;
  store::RecordingWaitObserver wait;
  store::OpenerContext ctx;
  store::WorkAreas areas;
  MainMenuState menu;
  std::string ult_cpf;
  SelectionContext s;

  std::vector<LoadRequest> loads;
  Status load_status;
  int declarations = 0;
  std::vector<entry::RegisterListRequest> lists;
  std::vector<entry::RegisterPick> picks;
  std::vector<int> not_available;
  std::string snapshot;
};

}  // namespace dodu::shell::testing

#endif  // DODU_TESTS_SHELL_SELECTION_TESTUTIL_H_
