// Rendering a print work file of a thousand pages to PDF; reports pages per
// second.
#include <benchmark/benchmark.h>

#include <string>

#include "print/pdf_renderer.h"
#include "print/print_stream.h"

namespace {

std::string ThousandPages() {
  std::string job;
  for (int page = 0; page < 1000; ++page) {
    for (int line = 0; line < 60; ++line) {
      if (line % 10 == 0) job += '\x0F';
      job += "DECLARACAO DE AJUSTE ANUAL  linha " + std::to_string(line) + "   " +
             std::string(40, 'X') + "  1.234.567,89\x12\r\n";
    }
    job += "\x0C\r";
  }
  return job;
}

void BM_RenderThousandPages(benchmark::State& state) {
  const std::string job = ThousandPages();
  for (auto _ : state) {
    std::vector<dodu::print::PrintedPage> pages = dodu::print::ReadPrintStream(job);
    auto pdf = dodu::print::RenderPdf(pages, {});
    benchmark::DoNotOptimize(pdf);
  }
  state.counters["pages/s"] =
      benchmark::Counter(1000.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RenderThousandPages)->Unit(benchmark::kMillisecond);

}  // namespace
