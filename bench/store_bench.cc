// Index benchmarks over 100,000 records of a register-like layout keyed on the
// CPF (C(11)): building the index file, seeking a key, adding the key of an
// appended record, and skipping through the whole order. Times are per
// operation (per record for the build and the walk).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/env.h"
#include "store/cdx_index.h"
#include "store/key_expr.h"

namespace dodu::store {
namespace {

constexpr int kRecords = 100000;

const Layout& RegisterLayout() {
  static const Layout layout = {{"CPF", FieldType::kChar, 11, 0},
                                {"RETIFICA", FieldType::kChar, 1, 0},
                                {"NOMECONTR", FieldType::kChar, 53, 0},
                                {"ESTATUS", FieldType::kNumeric, 2, 0}};
  return layout;
}

std::string Cpf(uint32_t n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%011u", (n * 2654435761u) % 100000000u * 1000u + n % 1000u);
  return buf;
}

struct Fixture {
  std::unique_ptr<platform::Env> env = platform::NewPosixEnv();
  std::string dir;
  KeyExpr expr = *KeyExpr::Compile("CPF", RegisterLayout());
  std::vector<CdxEntry> entries;

  Fixture() {
    char tmpl[] = "/tmp/dodu_bench_XXXXXX";
    dir = mkdtemp(tmpl);
    for (uint32_t r = 1; r <= kRecords; ++r) entries.push_back({Cpf(r), r});
  }
  ~Fixture() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  CdxIndex Build(const std::string& name) {
    return std::move(CdxIndex::Create(*env, dir + "/" + name, expr, entries, 1, kRecords)).value();
  }
};

Fixture& Shared() {
  static Fixture f;
  return f;
}

void BM_IndexBuild(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    auto idx = CdxIndex::Create(*f.env, f.dir + "/BUILD.CDX", f.expr, f.entries, 1, kRecords);
    if (!idx.ok()) state.SkipWithError(idx.status().ToString().c_str());
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
  state.counters["per_record"] = benchmark::Counter(static_cast<double>(state.iterations() * kRecords),
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_IndexBuild)->Unit(benchmark::kMillisecond);

void BM_Seek(benchmark::State& state) {
  Fixture& f = Shared();
  CdxIndex idx = f.Build("SEEK.CDX");
  auto cur = idx.NewCursor();
  std::mt19937 rng(1);
  for (auto _ : state) {
    uint32_t r = 1 + rng() % kRecords;
    auto found = cur.Seek(f.entries[r - 1].key);
    if (!found.ok() || !*found) state.SkipWithError("seek missed");
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Seek)->Unit(benchmark::kMicrosecond);

void BM_PartialSeek(benchmark::State& state) {
  Fixture& f = Shared();
  CdxIndex idx = f.Build("PART.CDX");
  auto cur = idx.NewCursor();
  std::mt19937 rng(2);
  for (auto _ : state) {
    std::string prefix = f.entries[rng() % kRecords].key.substr(0, 5);
    auto found = cur.Seek(prefix, true);
    if (!found.ok()) state.SkipWithError("seek failed");
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PartialSeek)->Unit(benchmark::kMicrosecond);

// The index side of an append: the new record's key into a 100,000-key index.
void BM_InsertOnAppend(benchmark::State& state) {
  Fixture& f = Shared();
  CdxIndex idx = f.Build("APPEND.CDX");
  uint32_t recno = kRecords;
  for (auto _ : state) {
    ++recno;
    Status st = idx.Insert(Cpf(recno), recno);
    if (!st.ok()) state.SkipWithError(st.ToString().c_str());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_InsertOnAppend)->Unit(benchmark::kMicrosecond);

void BM_WalkInOrder(benchmark::State& state) {
  Fixture& f = Shared();
  CdxIndex idx = f.Build("WALK.CDX");
  auto cur = idx.NewCursor();
  for (auto _ : state) {
    int n = 0;
    for (Status st = cur.Top(); st.ok() && !cur.eof(); st = cur.Next()) ++n;
    if (n != kRecords) state.SkipWithError("walk lost records");
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_WalkInOrder)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dodu::store
