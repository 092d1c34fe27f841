// Times the resampler without Google Benchmark, so that it also runs as an
// i686 Windows program under Wine: for each case the median of several runs of
// the shipped version, the reference and the copies of the source rows read,
// printed as one table with the ratios.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/ResampleCases.h"
#include "bench/TimerMedian.h"

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  std::printf("median of %d runs; Mpix/s of destination pixels\n", runs);
  std::printf("%-22s %9s %8s %9s %8s %7s %8s %8s %9s %9s\n", "case", "ship ms", "Mpix/s",
              "ref ms", "Mpix/s", "ship/ref", "read ms", "copy ms", "ship/read", "ship/copy");
  unsigned probe = 0;
  for (const ResampleCase& c : kResampleCases) {
    ResampleWork work(c);
    const double shipped = MedianMilliseconds(runs, [&] { work.Shipped(); });
    const double reference = MedianMilliseconds(runs, [&] { work.Reference(); });
    const double read = MedianMilliseconds(runs, [&] { work.ReadRows(); });
    const double copy = MedianMilliseconds(runs, [&] { work.CopyRows(); });
    probe += work.Probe();
    const double mpix = work.DestMegapixels();
    std::printf("%-22s %9.2f %8.0f %9.2f %8.0f %7.1fx %8.2f %8.2f %8.2fx %8.2fx\n", c.name, shipped,
                mpix / shipped * 1e3, reference, mpix / reference * 1e3, reference / shipped, read,
                copy, shipped / read, shipped / copy);
  }
  return probe == 0x12345 ? 1 : 0;  // keeps the copies observable
}
