#include "library/unixfile.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "library/textnocase.h"

namespace vantlo {

unixfile& unixfile::operator=(unixfile&& o) noexcept {
  if (this != &o) {
    reset();
    fd_ = o.fd_;
    o.fd_ = -1;
  }
  return *this;
}

unixfile::~unixfile() { reset(); }

void unixfile::reset() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

unixdir::unixdir(const std::string& path) : dir_(::opendir(path.c_str())) {}

unixdir::~unixdir() {
  if (dir_) ::closedir(dir_);
}

tempfile::tempfile(const std::string& target) {
  std::string folder = DirName(target);
  std::string pattern =
      (folder.empty() && !target.empty() && target[0] == '/' ? std::string() : folder) + "/." +
      BaseName(target) + ".vantlo-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd >= 0) {
    fd_ = unixfile(fd);
    path_ = name.data();
  }
}

tempfile::~tempfile() {
  if (!path_.empty()) ::unlink(path_.c_str());
}

void tempfile::Release() { path_.clear(); }

bool WriteAll(int fd, const void* data, std::size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = ::write(fd, p, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

void SyncFolderOf(const std::string& path) {
  std::string folder = DirName(path);
  if (folder.empty()) folder = "/";
  unixfile dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir) ::fsync(dir.get());
}

namespace {

// Puts the temporary file at `path` unless a file is there: renameat2 with RENAME_NOREPLACE,
// else a hard link (refused for a taken name), else, on file systems with neither (FAT cards),
// a rename after a last look.
int PlaceWithoutReplacing(const std::string& temp, const std::string& path) {
  if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return errno;
  if (::link(temp.c_str(), path.c_str()) == 0) {
    ::unlink(temp.c_str());
    return 0;
  }
  if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP) return errno;
  struct stat st;
  if (::lstat(path.c_str(), &st) == 0) return EEXIST;
  if (::rename(temp.c_str(), path.c_str()) != 0) return errno;
  return 0;
}

}  // namespace

int WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes, mode_t mode,
                        const std::function<void(int fd)>& prepare, texisting existing,
                        tdurability durability) {
  tempfile temp(path);  // removed again unless renamed into place
  if (!temp.fd()) return errno;
  const int fd = temp.fd().get();
  if (::fchmod(fd, mode) != 0) return errno;
  if (prepare) prepare(fd);
  if (!WriteAll(fd, bytes.data(), bytes.size())) return errno;
  const bool synced = durability == tdurability::synced;
  if (synced && ::fsync(fd) != 0) return errno;
  if (existing == texisting::keep) {
    if (const int error = PlaceWithoutReplacing(temp.path(), path)) return error;
  } else if (::rename(temp.path().c_str(), path.c_str()) != 0) {
    return errno;
  }
  temp.Release();
  if (synced) SyncFolderOf(path);
  return 0;
}

int SyncFileSystemOf(const std::string& path) {
  unixfile fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) return errno;
  return ::syncfs(fd.get()) == 0 ? 0 : errno;
}

}  // namespace vantlo
