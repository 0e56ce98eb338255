// Load and save of one declaration in data folders of 10, 1,000 and 10,000
// taxpayers (generated on the real file system: a register record, a
// declaration record, a monthly record and three assets each). The save
// replaces the taxpayer's records in place, so its time should stay flat as
// the folder grows; the load is a seek and a copy per table.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "platform/env.h"
#include "platform/message_sink.h"
#include "shell/declaration_session.h"
#include "store/catalogue.h"
#include "store/opener.h"
#include "store/table.h"

namespace dodu::shell {
namespace {

std::string Cpf(int n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%011d", 10000000 + n);
  return buf;
}

struct Folder {
  std::unique_ptr<platform::Env> env = platform::NewPosixEnv();
  std::string root;
  platform::RecordingSink sink;
  store::RecordingWaitObserver wait;
  std::unique_ptr<store::OpenerContext> ctx;
  store::WorkAreas areas;
  DeclarationHooks hooks;
  SessionDisplay display;

  explicit Folder(int taxpayers) {
    char tmpl[] = "/tmp/dodu_decl_bench_XXXXXX";
    root = mkdtemp(tmpl);
    for (const char* f : {"/inst", "/data", "/work"}) (void)env->CreateDir(root + f);
    ctx = std::make_unique<store::OpenerContext>(*env, sink, wait);
    ctx->terminal = "01";
    ctx->installation_folder = root + "/inst";
    ctx->data_folder = root + "/data";
    ctx->work_folder = root + "/work";
    // Tables created with their indexes, filled without them: the first open
    // rebuilds each index once, which is far quicker than keeping it per append.
    for (int n : {9, 1, 12, 4}) {
      if (!store::ABERTURA(*ctx, areas, n, true).ok()) std::abort();
      const std::string path = areas.Get(n)->table().path();
      areas.Close(n);
      auto t = std::move(store::Table::Open(*env, path, store::Sharing::kExclusive)).value();
      for (int i = 0; i < taxpayers; ++i) {
        for (int line = 1; line <= (n == 4 ? 3 : 1); ++line) {
          store::Record r = t->BlankRecord();
          (void)r.PutText("CPF", Cpf(i));
          if (n == 9) (void)r.PutText("NOMECONTR", "CONTRIBUINTE " + std::to_string(i));
          if (n == 4) {
            (void)r.PutNumber("I7_0", core::Decimal::FromInt(line * 10));
            (void)r.PutText("I7_2", "BEM " + std::to_string(line));
          }
          if (!t->Append(r).ok()) std::abort();
        }
      }
    }
    // Every other declaration table, empty.
    for (int n = 1; n <= 21; ++n) {
      if (n == 13) continue;
      if (!store::ABERTURA(*ctx, areas, n, true).ok()) std::abort();
      areas.Close(n);
    }
  }
  ~Folder() {
    areas.CloseAll();
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
  }
  std::unique_ptr<DeclarationSession> Session() {
    SessionSettings settings;
    settings.operator_name = "BENCH";
    return std::make_unique<DeclarationSession>(*ctx, areas, settings, hooks, display);
  }
};

Folder& FolderOf(int taxpayers) {
  static std::map<int, std::unique_ptr<Folder>> folders;
  auto& f = folders[taxpayers];
  if (!f) f = std::make_unique<Folder>(taxpayers);
  return *f;
}

LoadRequest Middle(int taxpayers) { return {LoadKind::kExisting, Cpf(taxpayers / 2), "", 11}; }

void BM_LoadDeclaration(benchmark::State& state) {
  const int taxpayers = static_cast<int>(state.range(0));
  Folder& f = FolderOf(taxpayers);
  for (auto _ : state) {
    auto s = f.Session();
    if (!s->Load(Middle(taxpayers)).ok()) state.SkipWithError("load failed");
    state.PauseTiming();
    (void)s->Discard();
    state.ResumeTiming();
  }
  state.counters["taxpayers"] = taxpayers;
}

void BM_SaveDeclaration(benchmark::State& state) {
  const int taxpayers = static_cast<int>(state.range(0));
  Folder& f = FolderOf(taxpayers);
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto s = f.Session();
    if (!s->Load(Middle(taxpayers)).ok()) state.SkipWithError("load failed");
    s->vars().SetText("ENDERECO", "RUA " + std::to_string(++round));
    state.ResumeTiming();
    if (!s->SaveAll(SaveMode::kFinal).ok()) state.SkipWithError("save failed");
  }
  state.counters["taxpayers"] = taxpayers;
}

BENCHMARK(BM_LoadDeclaration)->Arg(10)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveDeclaration)->Arg(10)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dodu::shell
