// Fixtures of the declaration load and save tests: a station over any Env, a
// data folder with two taxpayers, snapshots of a taxpayer's records per table.
#ifndef DODU_TESTS_SHELL_DECLARATION_TESTUTIL_H_
#define DODU_TESTS_SHELL_DECLARATION_TESTUTIL_H_

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/decimal.h"
#include "platform/env.h"
#include "platform/message_sink.h"
#include "shell/declaration_session.h"
#include "store/opener.h"
#include "store/opener_context.h"
#include "store/table.h"
#include "store/workarea.h"

namespace dodu::shell::testing {

#define D_ASSERT_OK(expr)                    \
  do {                                       \
    const ::dodu::Status st_ = (expr);       \
    ASSERT_TRUE(st_.ok()) << st_.ToString(); \
  } while (0)

inline const std::string kCpfA = "11111111111";
inline const std::string kCpfB = "22222222222";
inline const std::string kCpfNew = "33333333333";

class RecordingDisplay : public SessionDisplay {
 public:
  void FrameText(const std::string& t) override { frames.push_back(t); }
  void StatusText(const std::string& t) override { status.push_back(t); }
  void ErrorBox(const std::vector<std::string>& lines) override { errors.push_back(lines); }
  void SavingWindow(bool open) override { windows.push_back(open); }
  std::vector<std::string> frames, status;
  std::vector<std::vector<std::string>> errors;
  std::vector<bool> windows;
};

// One station of the office: terminal `terminal`, folders under `root`.
struct SessionStation {
  SessionStation(platform::Env& env, const std::string& root, const std::string& terminal = "01")
      : ctx(env, sink, wait) {
    ctx.terminal = terminal;
    ctx.installation_folder = root + "/inst";
    ctx.data_folder = root + "/data";
    ctx.work_folder = root + "/work" + terminal;
  }
  std::unique_ptr<DeclarationSession> Session(SessionSettings settings = {}) {
    if (settings.operator_name.empty()) settings.operator_name = "OPERADOR " + ctx.terminal;
    return std::make_unique<DeclarationSession>(ctx, areas, settings, hooks, display);
  }
  platform::RecordingSink sink;
  store::RecordingWaitObserver wait;
  store::OpenerContext ctx;
  store::WorkAreas areas;
  DeclarationHooks hooks;
  RecordingDisplay display;
};

inline void MakeFolders(platform::Env& env, const std::string& root,
                        const std::vector<std::string>& terminals = {"01"}) {
  if (!root.empty()) (void)env.CreateDir(root);
  for (const char* f : {"/inst", "/data"}) ASSERT_TRUE(env.CreateDir(root + f).ok());
  for (const auto& t : terminals) ASSERT_TRUE(env.CreateDir(root + "/work" + t).ok());
}

using Fields = std::vector<std::pair<std::string, std::string>>;  // name, value as text

// Appends to declaration table n of the data folder a record of `cpf` with
// `fields` (numbers given as decimal text); `deleted` marks it deleted.
inline void Put(SessionStation& s, int n, const std::string& cpf, const Fields& fields,
                bool deleted = false) {
  D_ASSERT_OK(store::ABERTURA(s.ctx, s.areas, n, true));
  store::WorkArea* a = s.areas.Get(n);
  ASSERT_NE(a, nullptr);
  // As the program writes them: numbers 0 and logicals false, not blank.
  store::Record r = a->table().BlankRecord();
  for (const store::FieldSlot& f : r.layout().slots()) {
    if (f.spec.type == store::FieldType::kNumeric)
      D_ASSERT_OK(r.PutNumber(f.spec.name, core::Decimal()));
    if (f.spec.type == store::FieldType::kLogical) D_ASSERT_OK(r.PutLogical(f.spec.name, false));
  }
  D_ASSERT_OK(r.PutText("CPF", cpf));
  for (const auto& [name, value] : fields) {
    const store::FieldSlot* f = r.layout().Find(name);
    ASSERT_NE(f, nullptr) << name;
    if (f->spec.type == store::FieldType::kNumeric) {
      D_ASSERT_OK(r.PutNumber(name, *core::Decimal::Parse(value)));
    } else {
      D_ASSERT_OK(r.PutText(name, value));
    }
  }
  auto n_rec = a->table().Append(r);
  ASSERT_TRUE(n_rec.ok());
  if (deleted) D_ASSERT_OK(a->table().SetDeleted(*n_rec, true));
  s.areas.Close(n);
}

// Two taxpayers: A with three assets (numbered 5, 5, 12) and a deleted one,
// monthly figures, a capital gain without tax; B with its own records and a
// deleted asset.
inline void TwoTaxpayers(platform::Env& env, const std::string& root) {
  SessionStation s(env, root);
  Put(s, 9, kCpfA, {{"NOMECONTR", "ANA"}, {"ESTATUS", "1"}, {"INDGAS", "12.5"}, {"I13_28", "10"}});
  Put(s, 9, kCpfB, {{"NOMECONTR", "BRUNO"}, {"ESTATUS", "3"}});
  Put(s, 1, kCpfA,
      {{"I13_27", "100"}, {"I13_28", "10"}, {"I13_34", "4"}, {"I13_35", "40"}, {"I13_37", "77.5"}});
  Put(s, 1, kCpfB, {{"I13_27", "9"}});
  Put(s, 4, kCpfB, {{"I7_0", "10"}, {"I7_2", "B CASA"}});
  Put(s, 4, kCpfA, {{"I7_0", "5"}, {"I7_2", "A CARRO"}});
  Put(s, 4, kCpfB, {{"I7_0", "20"}, {"I7_2", "B APAGADO"}}, true);
  Put(s, 4, kCpfA, {{"I7_0", "3"}, {"I7_2", "A APAGADO"}}, true);
  Put(s, 4, kCpfA, {{"I7_0", "5"}, {"I7_2", "A MOTO"}});
  Put(s, 4, kCpfA, {{"I7_0", "12"}, {"I7_2", "A CASA"}});
  Put(s, 5, kCpfA, {{"I8_0", "1"}, {"I8_2", "A DIVIDA"}});
  Put(s, 12, kCpfA, {{"I2_101", "1500"}, {"I2_701", "100"}, {"I2_702", "50"}});
  Put(s, 12, kCpfB, {{"I2_101", "7"}});
  Put(s, 7, kCpfA, {{"TIPO_BEM", "1"}, {"VAL_ALI", "100"}, {"CUS_ATUAL", "200"}});
}

// Every record of table n of the data folder, deleted ones too, in record order.
inline std::vector<std::string> AllRecords(platform::Env& env, const std::string& data_folder,
                                           int n) {
  std::vector<std::string> out;
  const store::TableDef* def = store::FindTable(n);
  store::NameContext names;
  const std::string path = data_folder + "/" + store::TableFileName(*def, names) + ".DBF";
  if (!env.Exists(path)) return out;
  auto t = store::Table::Open(env, path, store::Sharing::kShared);
  EXPECT_TRUE(t.ok()) << t.status().ToString();
  if (!t.ok()) return out;
  auto count = (*t)->RefreshCount();
  for (uint32_t i = 1; count.ok() && i <= *count; ++i) {
    auto r = (*t)->Read(store::RecNo{i});
    if (r.ok()) out.push_back(r->bytes());
  }
  return out;
}

// The records of `cpf` (live ones only unless `deleted_too`) of table n.
inline std::vector<std::string> RecordsOf(platform::Env& env, const std::string& data_folder, int n,
                                          const std::string& cpf, bool deleted_too = false) {
  std::vector<std::string> out;
  for (const std::string& b : AllRecords(env, data_folder, n)) {
    if (b.compare(1, 11, cpf) != 0) continue;
    if (b[0] == '*' && !deleted_too) continue;
    out.push_back(b);
  }
  return out;
}

}  // namespace dodu::shell::testing

#endif  // DODU_TESTS_SHELL_DECLARATION_TESTUTIL_H_
