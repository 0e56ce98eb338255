// Importing official declaration files into one data folder: a thousand
// generated files read, validated and applied, one after another, on disk.
// Reports files per second.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/ids.h"
#include "import/import_file.h"
#include "import/testutil.h"
#include "platform/env.h"
#include "platform/message_sink.h"
#include "store/opener_context.h"
#include "store/workarea.h"

namespace {

using namespace dodu;

// The fixture file of the import tests with taxpayer `n`'s own CPF in it.
std::string DeclarationOf(int n, std::string* cpf_out) {
  std::string base = std::to_string(100000000 + n).substr(0, 9);
  const std::string cpf = base + *core::CpfDigits(base);
  std::string file = import::testing::File({import::testing::Header(2020),
                                            import::testing::Identification(),
                                            import::testing::End()});
  for (size_t at = file.find(import::testing::kCpf); at != std::string::npos;
       at = file.find(import::testing::kCpf, at + cpf.size())) {
    file.replace(at, cpf.size(), cpf);
  }
  *cpf_out = cpf;
  return file;
}

void BM_ImportFilesIntoOneFolder(benchmark::State& state) {
  const int files = static_cast<int>(state.range(0));
  std::unique_ptr<platform::Env> env = platform::NewPosixEnv();
  char tmpl[] = "/tmp/dodu_import_bench_XXXXXX";
  const std::string root = mkdtemp(tmpl);
  std::vector<std::string> paths;
  for (const char* f : {"/inst", "/data", "/work", "/src"}) (void)env->CreateDir(root + f);
  for (int i = 0; i < files; ++i) {
    std::string cpf;
    const std::string bytes = DeclarationOf(i, &cpf);
    paths.push_back(root + "/src/" + cpf + "-IRPF-A-2020-2019-ORIGI.DEC");
    (void)platform::WriteFileAtomic(*env, paths.back(), bytes);
  }
  platform::RecordingSink sink;
  store::RecordingWaitObserver wait;
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove_all(root + "/data");
    (void)env->CreateDir(root + "/data");
    store::OpenerContext ctx(*env, sink, wait);
    ctx.terminal = "01";
    ctx.installation_folder = root + "/inst";
    ctx.data_folder = root + "/data";
    ctx.work_folder = root + "/work";
    store::WorkAreas areas;
    state.ResumeTiming();
    for (const std::string& path : paths) {
      Result<import::ImportOutcome> out =
          import::ImportFile(ctx, areas, path, import::ImportMode::kWhole, {});
      if (!out.ok()) {
        state.SkipWithError(out.status().ToString().c_str());
        break;
      }
      areas.CloseAll();
    }
  }
  state.counters["files/s"] = benchmark::Counter(
      static_cast<double>(files) * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate);
  std::filesystem::remove_all(root);
}
BENCHMARK(BM_ImportFilesIntoOneFolder)->Arg(1000)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
