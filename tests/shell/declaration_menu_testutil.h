// Fixtures of the declaration menu tests: a station on a virtual terminal over
// real files in a temporary folder (installation, data and work folders), a
// taxpayer put into the data folder's tables, the declaration loaded, and
// screens that record where the loop took them.
#ifndef DODU_TESTS_SHELL_DECLARATION_MENU_TESTUTIL_H_
#define DODU_TESTS_SHELL_DECLARATION_MENU_TESTUTIL_H_

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/codepage.h"
#include "core/decimal.h"
#include "platform/env.h"
#include "screen/toolkit.h"
#include "screen/virtual_terminal.h"
#include "shell/declaration_menu.h"
#include "shell/declaration_screen.h"
#include "shell/declaration_session.h"
#include "shell/station.h"
#include "store/opener.h"
#include "store/table.h"

namespace dodu::shell::testing {

#define DM_ASSERT_OK(expr)                   \
  do {                                       \
    const ::dodu::Status st_ = (expr);       \
    ASSERT_TRUE(st_.ok()) << st_.ToString(); \
  } while (0)

inline const std::string kCpf = "11111111111";
inline const std::string kOtherCpf = "22222222222";

using FieldList = std::vector<std::pair<std::string, std::string>>;  // name, value as text

// The hooks the menu reads: a donation limit set by the test.
class MenuHooks : public DeclarationHooks {
 public:
  core::Decimal limit;
  int checks = 0;
  core::Decimal LIMDOA(DeclarationSession&, int) override { return limit; }
  Status CheckDeclaration(DeclarationSession&) override {
    ++checks;
    return Status::Ok();
  }
};

class DeclarationMenuTest : public ::testing::Test {
 protected:
  DeclarationMenuTest()
      : env_(platform::NewPosixEnv()), vt_(clock_), tk_(vt_), station_(*env_, tk_) {
    char tmpl[] = "/tmp/dodu_declmenu_XXXXXX";
    root_ = mkdtemp(tmpl);
    for (const char* f : {"/inst", "/data", "/work01"}) {
      EXPECT_TRUE(env_->CreateDir(root_ + f).ok());
    }
    store::OpenerContext& ctx = station_.ctx;
    ctx.terminal = "01";
    ctx.installation_folder = root_ + "/inst";
    ctx.data_folder = root_ + "/data";
    ctx.work_folder = root_ + "/work01";
    station_.settings.terminal = "01";
    station_.settings.opcirpf = "J";
    station_.settings.opcfim = 0;
    station_.installation.temp_sal = 0;
    station_.installation.statrava = 0;
    station_.today = *core::Date::FromYmd(2020, 3, 2);
    tk_.Start("DODU2020");
  }
  ~DeclarationMenuTest() override {
    session_.reset();
    station_.areas.CloseAll();
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }

  // Appends to declaration table n of the data folder a record of `cpf`.
  void Put(int n, const std::string& cpf, const FieldList& fields) {
    DM_ASSERT_OK(store::ABERTURA(station_.ctx, station_.areas, n, true));
    store::WorkArea* a = station_.areas.Get(n);
    ASSERT_NE(a, nullptr);
    store::Record r = a->table().BlankRecord();
    DM_ASSERT_OK(r.PutText("CPF", cpf));
    for (const auto& [name, value] : fields) {
      const store::FieldSlot* f = r.layout().Find(name);
      ASSERT_NE(f, nullptr) << name;
      if (f->spec.type == store::FieldType::kNumeric) {
        DM_ASSERT_OK(r.PutNumber(name, *core::Decimal::Parse(value)));
      } else {
        DM_ASSERT_OK(r.PutText(name, value));
      }
    }
    ASSERT_TRUE(a->table().Append(r).ok());
    station_.areas.Close(n);
  }

  // A taxpayer in the register and table 01, with `reg` fields of the register.
  void AddTaxpayer(const FieldList& reg = {}, const FieldList& decl = {}) {
    FieldList r = {{"NOMECONTR", "ANA DOS SANTOS"}};
    r.insert(r.end(), reg.begin(), reg.end());
    Put(9, kCpf, r);
    Put(1, kCpf, decl);
  }

  // Loads the taxpayer (added first) for option 11.
  void Open(LoadKind kind = LoadKind::kExisting) {
    SessionSettings s;
    s.operator_name = "OPERADOR";
    s.statrava = station_.installation.statrava > 0 ? station_.installation.statrava : -1;
    s.temp_sal = station_.installation.temp_sal;
    session_ =
        std::make_unique<DeclarationSession>(station_.ctx, station_.areas, s, hooks_, display_);
    LoadRequest req;
    req.kind = kind;
    req.cpf = kCpf;
    req.name = "ANA DOS SANTOS";
    DM_ASSERT_OK(session_->Load(req));
  }

  Result<DeclarationResult> Run(const std::string& keys) {
    vt_.Feed(keys);
    DeclarationRunOptions o;
    o.screens = &screens_;
    o.hooks = &hooks_;
    return RunDeclaration(station_, *session_, o);
  }

  // Registers recording screens for `telas`: each notes its number and code
  // and returns the next key of the script.
  void RecordScreens(const std::vector<int>& telas) {
    for (int t : telas) {
      screens_.RegisterScreen(t, [this, t](ScreenContext& ctx) {
        shown_.push_back({t, ctx.state.pos.code});
        return tk_.WaitKey();
      });
    }
  }
  void RecordAllScreens() {
    RecordScreens({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 22, 23});
  }

  // The boxes shown, each as its lines joined by " / " (UTF-8).
  std::vector<std::string> Boxes() const {
    std::vector<std::string> out;
    for (const auto& b : vt_.boxes()) {
      std::string s;
      for (const std::string& l : b.lines) s += (s.empty() ? "" : " / ") + core::Cp850ToUtf8(l);
      out.push_back(s);
    }
    return out;
  }
  bool ShowedBox(const std::string& text) const {
    for (const std::string& b : Boxes()) {
      if (b.find(text) != std::string::npos) return true;
    }
    return false;
  }

  // Record of `cpf` in table n of the data folder (the first live one).
  std::optional<store::Record> SharedRecord(int n, const std::string& cpf) {
    const store::TableDef* def = store::FindTable(n);
    store::NameContext names;
    const std::string path = root_ + "/data/" + store::TableFileName(*def, names) + ".DBF";
    auto t = store::Table::Open(*env_, path, store::Sharing::kShared);
    if (!t.ok()) return std::nullopt;
    auto count = (*t)->RefreshCount();
    for (uint32_t i = 1; count.ok() && i <= *count; ++i) {
      auto r = (*t)->Read(store::RecNo{i});
      if (r.ok() && !r->deleted() && r->GetText("CPF").value_or("") == cpf) return *r;
    }
    return std::nullopt;
  }
  std::string SharedText(int n, const std::string& field, const std::string& cpf = kCpf) {
    auto r = SharedRecord(n, cpf);
    if (!r) return "<none>";
    return r->GetTrimmed(field).value_or("<bad>");
  }

  std::unique_ptr<platform::Env> env_;
  screen::ManualClock clock_;
  screen::VirtualTerminal vt_;
  screen::Toolkit tk_;
  Station station_;
  std::string root_;
  MenuHooks hooks_;
  SessionDisplay display_;
  ScreenRegistry screens_;
  std::unique_ptr<DeclarationSession> session_;
  std::vector<ScreenPos> shown_;
};

}  // namespace dodu::shell::testing

#endif  // DODU_TESTS_SHELL_DECLARATION_MENU_TESTUTIL_H_
