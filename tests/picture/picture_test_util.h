// Helpers shared by the picture tests and the disk-library tests.
#pragma once

#include <sys/resource.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "picture/bitmap.h"

namespace vantlo::testutil {

// Mean absolute difference per channel sample of two bitmaps of equal size.
inline double MeanAbsDiff(const tbitmap& a, const tbitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height() || a.Bytes().empty()) return 1e9;
  double sum = 0;
  for (std::size_t i = 0; i < a.Bytes().size(); ++i)
    sum += std::abs(static_cast<int>(a.Bytes()[i]) - static_cast<int>(b.Bytes()[i]));
  return sum / static_cast<double>(a.Bytes().size());
}

// The what() of the exception f throws, or "" when it throws none.
inline std::string ThrownMessage(const std::function<void()>& f) {
  try {
    f();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}

// Caps this process's address space at its present size plus `headroom`
// bytes, so that an allocation beyond that fails at once instead of taking
// the machine's memory. For a death-test child (EXPECT_EXIT) only.
inline void LimitAddressSpaceGrowth(std::uint64_t headroom) {
#if defined(__SANITIZE_ADDRESS__)
  // AddressSanitizer reserves terabytes of shadow memory up front and maps
  // its own allocator regions; a cap on the address space would only break
  // it. The decodes stay refused before they allocate, which is what counts.
  (void)headroom;
  return;
#endif
  std::ifstream in("/proc/self/status");
  std::string line;
  std::uint64_t kib = 0;
  while (std::getline(in, line))
    if (line.rfind("VmSize:", 0) == 0) kib = std::strtoull(line.c_str() + 7, nullptr, 10);
  const rlimit limit{static_cast<rlim_t>(kib * 1024 + headroom),
                     static_cast<rlim_t>(kib * 1024 + headroom)};
  if (kib == 0 || ::setrlimit(RLIMIT_AS, &limit) != 0) std::_Exit(3);
}

// The JPEG with the picture size of its frame header (any SOFn) replaced.
inline std::vector<std::uint8_t> WithClaimedSize(std::vector<std::uint8_t> jpeg, int width,
                                                 int height) {
  for (std::size_t i = 2; i + 9 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && jpeg[i + 1] >= 0xC0 && jpeg[i + 1] <= 0xC2) {
      jpeg[i + 5] = static_cast<std::uint8_t>(height >> 8);
      jpeg[i + 6] = static_cast<std::uint8_t>(height & 0xFF);
      jpeg[i + 7] = static_cast<std::uint8_t>(width >> 8);
      jpeg[i + 8] = static_cast<std::uint8_t>(width & 0xFF);
      return jpeg;
    }
  return {};
}

}  // namespace vantlo::testutil
