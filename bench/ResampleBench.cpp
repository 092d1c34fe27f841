// Google Benchmark of the resampler: the shipped version, the reference and
// the copies of the source rows each case reads, all in one run. Build it in
// the native-bench preset (optimised, no sanitizers).
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/ResampleCases.h"

namespace {

void Shipped(benchmark::State& state, const ResampleCase& c) {
  ResampleWork work(c);
  for (auto _ : state) benchmark::DoNotOptimize(work.Shipped());
  state.counters["Mpix"] = benchmark::Counter(work.DestMegapixels(), benchmark::Counter::kIsIterationInvariantRate);
}

void Reference(benchmark::State& state, const ResampleCase& c) {
  ResampleWork work(c);
  for (auto _ : state) benchmark::DoNotOptimize(work.Reference());
  state.counters["Mpix"] = benchmark::Counter(work.DestMegapixels(), benchmark::Counter::kIsIterationInvariantRate);
}

void ReadRows(benchmark::State& state, const ResampleCase& c) {
  ResampleWork work(c);
  for (auto _ : state) {
    work.ReadRows();
    benchmark::DoNotOptimize(work.Probe());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(work.BytesRead()));
}

void CopyRows(benchmark::State& state, const ResampleCase& c) {
  ResampleWork work(c);
  for (auto _ : state) {
    work.CopyRows();
    benchmark::DoNotOptimize(work.Probe());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(work.BytesRead()));
}

const bool kRegistered = [] {
  for (const ResampleCase& c : kResampleCases) {
    const std::string name = c.name;
    benchmark::RegisterBenchmark(("Shipped/" + name).c_str(), Shipped, c)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("Reference/" + name).c_str(), Reference, c)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("ReadRows/" + name).c_str(), ReadRows, c)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("CopyRows/" + name).c_str(), CopyRows, c)->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace
