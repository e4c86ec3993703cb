#include "library/atomicfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vantlo {

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path, int err) {
  throw tfileerror(what + " " + path + ": " + std::strerror(err), err);
}

mode_t CurrentUmask() {
  mode_t m = ::umask(0);
  ::umask(m);
  return m;
}

}  // namespace

void WriteFileAtomic(const std::string& path, std::span<const std::uint8_t> bytes, unsigned mode,
                     texisting existing) {
  const mode_t wanted = static_cast<mode_t>(mode) & ~CurrentUmask();
  if (const int error = WriteFileAtomically(path, bytes, wanted, {}, existing))
    Fail("Cannot write", path, error);
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
  unixfile fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) Fail("Cannot read", path, errno);
  std::vector<std::uint8_t> out;
  std::uint8_t buf[65536];
  for (;;) {
    ssize_t n = ::read(fd.get(), buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail("Cannot read", path, errno);
    }
    if (n == 0) break;
    out.insert(out.end(), buf, buf + n);
  }
  return out;
}

}  // namespace vantlo
