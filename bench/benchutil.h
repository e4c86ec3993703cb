// Small helpers shared by the benchmarks: timing, medians, a private temp folder, running a
// program as a child process, and reading the peak resident set size.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace vantlo::bench {

using tbenchclock = std::chrono::steady_clock;

inline double SecondsSince(tbenchclock::time_point start) {
  return std::chrono::duration<double>(tbenchclock::now() - start).count();
}

// Median of the samples (0 for none). Medians keep one preempted run on the shared machine from
// moving a result.
inline double Median(std::vector<double> samples) {
  if (samples.empty()) return 0;
  std::sort(samples.begin(), samples.end());
  const std::size_t mid = samples.size() / 2;
  return samples.size() % 2 ? samples[mid] : (samples[mid - 1] + samples[mid]) / 2;
}

// CPU time this process has used, in seconds. The benchmarks compare CPU times where they
// compare computing work: the machine they run on is often shared, and wall-clock times then
// measure the other programs as much as this one.
double CpuSeconds();

// Runs `work` at least `minRuns` times and until `budgetSeconds` of wall-clock time have passed
// (at most `maxRuns` times) and returns the median CPU time of one run in seconds.
inline double MedianTime(const std::function<void()>& work, int minRuns, double budgetSeconds,
                         int maxRuns = 100000) {
  std::vector<double> samples;
  const auto begin = tbenchclock::now();
  while (static_cast<int>(samples.size()) < maxRuns &&
         (static_cast<int>(samples.size()) < minRuns || SecondsSince(begin) < budgetSeconds)) {
    const double start = CpuSeconds();
    work();
    samples.push_back(CpuSeconds() - start);
  }
  return Median(std::move(samples));
}

// A folder made for this run under the system temp folder, removed with everything in it.
class ttempfolder {
 public:
  explicit ttempfolder(const std::string& stem);
  ~ttempfolder();
  ttempfolder(const ttempfolder&) = delete;
  ttempfolder& operator=(const ttempfolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

void WriteFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Runs argv[0] (a path) with stdin, stdout and stderr on /dev/null and waits for it; returns
// its exit status, or -1 when it could not be started or did not exit normally. `cpuSeconds`
// (if given) receives the child's user plus system CPU time, `maxRssKiB` its peak resident set.
int RunQuiet(const std::vector<std::string>& argv, double* cpuSeconds = nullptr,
             long* maxRssKiB = nullptr);

// Peak resident set size of this process so far, in KiB (getrusage).
long MaxRssKiB();

// libjpeg's entropy pass over a JPEG alone (jpeg_read_coefficients): every block's coefficients
// read, nothing transformed. Every decode does at least this, at any scale, so it is the floor
// of a reduced-scale decode. For sound data only (libjpeg's own error handling ends the program).
void EntropyPass(std::span<const std::uint8_t> jpeg);

}  // namespace vantlo::bench
