// Times JPEG decoding without Google Benchmark, so that it also runs as an
// i686 Windows program under Wine: the median of several decodes of the same
// 24-megapixel q90 file by our reader and by the library's plain loop.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/JpegCases.h"

namespace {

template <class Fn>
double MedianMilliseconds(int runs, Fn&& fn) {
  std::vector<double> times;
  fn();  // warm-up: the first touch of the picture's pages is not decoding
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    fn();
    const auto stop = std::chrono::steady_clock::now();
    times.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
  }
  std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
  return times[runs / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  JpegDecodeWork work;
  const double ours = MedianMilliseconds(runs, [&] { work.Ours(); });
  const double library = MedianMilliseconds(runs, [&] { work.LibraryLoop(); });
  std::printf("%d x %d, %.1f MB file; median of %d runs\n", JpegDecodeWork::kWidth, JpegDecodeWork::kHeight,
              work.FileBytes() / 1e6, runs);
  std::printf("ours %.1f ms (%.0f Mpix/s), library loop %.1f ms (%.0f Mpix/s), ours/library %.2fx\n", ours,
              work.Megapixels() / ours * 1e3, library, work.Megapixels() / library * 1e3, ours / library);
  return work.Probe() == 0x12345 ? 1 : 0;  // keeps the decoded pixels observable
}
