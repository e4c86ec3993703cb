#include "app/core/atomicfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vantlo {

namespace {

// Owns a file descriptor; closes it on every path out.
class tfd {
 public:
  explicit tfd(int fd) : fd_(fd) {}
  ~tfd() {
    if (fd_ >= 0) ::close(fd_);
  }
  tfd(const tfd&) = delete;
  tfd& operator=(const tfd&) = delete;
  int get() const { return fd_; }
  int release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

[[noreturn]] void Fail(const std::string& what, const std::string& path, int err) {
  throw tfileerror(what + " " + path + ": " + std::strerror(err));
}

mode_t CurrentUmask() {
  mode_t m = ::umask(0);
  ::umask(m);
  return m;
}

}  // namespace

void WriteFileAtomic(const std::string& path, std::span<const std::uint8_t> bytes, unsigned mode) {
  std::string temp = path + ".XXXXXX";
  tfd fd(::mkstemp(temp.data()));
  if (fd.get() < 0) Fail("Cannot write", path, errno);
  bool keep = false;
  struct Cleanup {
    const std::string& name;
    bool& keep;
    ~Cleanup() {
      if (!keep) ::unlink(name.c_str());
    }
  } cleanup{temp, keep};

  if (::fchmod(fd.get(), static_cast<mode_t>(mode) & ~CurrentUmask()) != 0) {
    Fail("Cannot write", path, errno);
  }
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail("Cannot write", path, errno);
    }
    done += static_cast<std::size_t>(n);
  }
  if (::fsync(fd.get()) != 0) Fail("Cannot write", path, errno);
  if (::close(fd.release()) != 0) Fail("Cannot write", path, errno);
  if (::rename(temp.c_str(), path.c_str()) != 0) Fail("Cannot write", path, errno);
  keep = true;
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
  tfd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) Fail("Cannot read", path, errno);
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
