#pragma once
// The timing loop of the timer programs, which run without Google Benchmark
// so that they also run as i686 Windows programs under Wine.
#include <algorithm>
#include <chrono>
#include <vector>

// The median of `runs` timed calls of fn, in milliseconds, after one untimed
// call: page faults of fresh buffers are not what is being measured.
template <class Fn>
double MedianMilliseconds(int runs, Fn&& fn) {
  std::vector<double> times;
  fn();
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    fn();
    const auto stop = std::chrono::steady_clock::now();
    times.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
  }
  std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
  return times[runs / 2];
}
