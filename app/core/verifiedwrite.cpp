#include "app/core/verifiedwrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "library/unixfile.h"

namespace vantlo {

int tatomicwriter::Write(const std::string& path, std::span<const std::uint8_t> bytes) {
  return WriteFileAtomically(path, bytes, 0666, {}, texisting::replace, durability_);
}

bool FileHolds(const std::string& path, std::span<const std::uint8_t> bytes) {
  unixfile fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (!fd) return false;
  struct stat st;
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
      static_cast<std::uint64_t>(st.st_size) != bytes.size())
    return false;
  std::vector<std::uint8_t> chunk(std::min<std::size_t>(bytes.size(), 1 << 20) + 1);
  std::size_t at = 0;
  for (;;) {
    const ssize_t n = ::read(fd.get(), chunk.data(), chunk.size());
    if (n < 0) return false;
    if (n == 0) break;
    const std::size_t got = static_cast<std::size_t>(n);
    if (at + got > bytes.size() || std::memcmp(chunk.data(), bytes.data() + at, got) != 0)
      return false;
    at += got;
  }
  return at == bytes.size();
}

bool WriteVerified(tfilewriter& writer, const std::string& path,
                   std::span<const std::uint8_t> bytes) {
  return writer.Write(path, bytes) == 0 && FileHolds(path, bytes);
}

}  // namespace vantlo
