// Google Benchmark of JPEG decoding: our reader against the library's own
// plain decoding loop on the same 24-megapixel q90 file. Build it in the
// native-bench preset (optimised, no sanitizers).
#include <benchmark/benchmark.h>

#include "bench/JpegCases.h"

namespace {

JpegDecodeWork& Work() {
  static JpegDecodeWork work;
  return work;
}

void Ours(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Work().Ours());
  state.counters["Mpix"] = benchmark::Counter(Work().Megapixels(), benchmark::Counter::kIsIterationInvariantRate);
}

void LibraryLoop(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Work().LibraryLoop());
  state.counters["Mpix"] = benchmark::Counter(Work().Megapixels(), benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(Ours)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(LibraryLoop)->Unit(benchmark::kMillisecond)->MinTime(3);

}  // namespace
