// Times JPEG decoding without Google Benchmark, so that it also runs as an
// i686 Windows program under Wine: the median of several decodes of the same
// 24-megapixel q90 file by our reader and by the library's plain loop.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/JpegCases.h"
#include "bench/TimerMedian.h"

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
