#include "app/core/wavlength.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>

#include "library/unixfile.h"

namespace vantlo {

namespace {

std::uint32_t Le32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
         std::uint32_t(p[3]) << 24;
}

bool ReadAt(int fd, std::int64_t offset, std::uint8_t* buffer, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pread(fd, buffer + done, size - done, static_cast<off_t>(offset + done));
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// More chunks than any real WAV file has: a file of tiny chunks ends the walk.
constexpr int kMaxChunks = 4096;

}  // namespace

std::optional<std::int64_t> WavLengthMs(const std::string& path) {
  unixfile fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (!fd) return std::nullopt;
  struct stat st;
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  const std::int64_t fileSize = st.st_size;

  std::array<std::uint8_t, 12> riff{};
  if (fileSize < 12 || !ReadAt(fd.get(), 0, riff.data(), riff.size())) return std::nullopt;
  if (std::string(riff.begin(), riff.begin() + 4) != "RIFF" ||
      std::string(riff.begin() + 8, riff.end()) != "WAVE")
    return std::nullopt;

  std::uint32_t byteRate = 0;
  std::optional<std::int64_t> dataBytes;
  std::int64_t at = 12;
  for (int chunk = 0; chunk < kMaxChunks && at + 8 <= fileSize; ++chunk) {
    std::array<std::uint8_t, 8> head{};
    if (!ReadAt(fd.get(), at, head.data(), head.size())) break;
    const std::string id(head.begin(), head.begin() + 4);
    const std::int64_t size = Le32(head.data() + 4);
    const std::int64_t body = at + 8;
    if (id == "fmt ") {
      std::array<std::uint8_t, 16> fmt{};
      if (size < 16 || body + 16 > fileSize || !ReadAt(fd.get(), body, fmt.data(), fmt.size()))
        return std::nullopt;
      byteRate = Le32(fmt.data() + 8);
    } else if (id == "data") {
      // Only the bytes the file really holds will play.
      dataBytes = std::min(size, fileSize - body);
      if (byteRate != 0) break;
    }
    at = body + size + (size & 1);  // chunks are padded to an even size
  }
  if (byteRate == 0 || !dataBytes) return std::nullopt;
  return (*dataBytes * 1000 + byteRate - 1) / byteRate;
}

}  // namespace vantlo
