// Table benchmarks over the register layout (table 09): appending records with
// the CPF index kept up to date, as a station does, and reading records back by
// number. Times are per record.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/env.h"
#include "store/catalogue.h"
#include "store/dbf_file.h"
#include "store/table.h"
#include "store/workarea_index.h"

namespace dodu::store {
namespace {

constexpr int kRecords = 100000;

std::string Cpf(uint32_t n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%011u", (n * 2654435761u) % 100000000u * 1000u + n % 1000u);
  return buf;
}

struct Folder {
  std::unique_ptr<platform::Env> env = platform::NewPosixEnv();
  std::string dir;
  Folder() {
    char tmpl[] = "/tmp/dodu_tbench_XXXXXX";
    dir = mkdtemp(tmpl);
  }
  ~Folder() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
};

const Layout& RegisterLayout() { return FindTable(9)->layout; }

// Appends kRecords register records to a table opened shared, with its CPF
// index attached, so every append takes the header lock and inserts a key.
void BM_AppendWithIndex(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    Folder folder;
    const std::string path = folder.dir + "/IMP0920.DBF";
    {
      auto created = Table::Create(*folder.env, path, RegisterLayout(), Sharing::kExclusive);
      if (!created.ok()) state.SkipWithError(created.status().ToString().c_str());
    }
    auto table = std::move(Table::Open(*folder.env, path, Sharing::kShared)).value();
    auto stamp = table->Stamp();
    auto built = BuildIndexFile(*folder.env, table->file(), folder.dir + "/IMP0920.CDX", "CPF",
                                *stamp);
    OrderIndex order(*folder.env, folder.dir + "/IMP0920.CDX", std::move(built).value());
    table->AttachIndex(order);
    Record record = table->BlankRecord();
    state.ResumeTiming();
    for (uint32_t n = 1; n <= kRecords; ++n) {
      (void)record.PutText("CPF", Cpf(n));
      auto recno = table->Append(record);
      if (!recno.ok()) {
        state.SkipWithError(recno.status().ToString().c_str());
        break;
      }
      table->UnlockRecord(*recno);
    }
    state.PauseTiming();
    table->DetachIndex(order);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_AppendWithIndex)->Unit(benchmark::kMillisecond)->Iterations(1);

// Reads every record of a 100,000-record register by number.
void BM_ReadByNumber(benchmark::State& state) {
  Folder folder;
  const std::string path = folder.dir + "/IMP0920.DBF";
  {
    auto table = std::move(Table::Create(*folder.env, path, RegisterLayout(), Sharing::kExclusive))
                     .value();
    Record record = table->BlankRecord();
    for (uint32_t n = 1; n <= kRecords; ++n) {
      (void)record.PutText("CPF", Cpf(n));
      (void)table->Append(record);
    }
  }
  auto table = std::move(Table::Open(*folder.env, path, Sharing::kShared)).value();
  uint32_t n = 0;
  for (auto _ : state) {
    n = n % kRecords + 1;
    benchmark::DoNotOptimize(table->Read(RecNo{n}));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReadByNumber);

}  // namespace
}  // namespace dodu::store
