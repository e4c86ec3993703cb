#include "library/fileops.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "library/unixfile.h"

namespace vantlo {

namespace {

bool Absolute(const std::string& p) { return !p.empty() && p[0] == '/'; }

tfileresult Fail(int error) { return {tfilestatus::Failed, error}; }

}  // namespace

std::string tfileresult::Text() const {
  switch (status) {
    case tfilestatus::Ok:
      return "done";
    case tfilestatus::SameFile:
      return "source and target are the same file";
    case tfilestatus::TargetExists:
      return "the target already exists";
    case tfilestatus::SourceMissing:
      return "the source does not exist";
    case tfilestatus::NotAbsolute:
      return "the path is not absolute";
    case tfilestatus::Failed:
      return std::strerror(error);
  }
  return "unknown";
}

int RenameNoReplace(const std::string& from, const std::string& to) {
#ifdef RENAME_NOREPLACE
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return -1;
#endif
  // The file system cannot rename without replacing: a hard link fails
  // with EEXIST when the target exists, which is what we want.
  if (::link(from.c_str(), to.c_str()) != 0) return -1;
  if (::unlink(from.c_str()) != 0) {
    int saved = errno;
    ::unlink(to.c_str());
    errno = saved;
    return -1;
  }
  return 0;
}

bool tfileops::Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

bool tfileops::SameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

tfileresult tfileops::Rename(const std::string& from, const std::string& to, bool overwrite) {
  if (!Absolute(from) || !Absolute(to)) return {tfilestatus::NotAbsolute};
  if (!Exists(from)) return {tfilestatus::SourceMissing};
  if (from == to) return {tfilestatus::SameFile};
  if (SameFile(from, to)) {
    // Two spellings of one name on a case-insensitive file system: the
    // plain rename changes the case and replaces nothing.
    if (::rename(from.c_str(), to.c_str()) != 0) return Fail(errno);
    return {};
  }
  if (overwrite) {
    if (::rename(from.c_str(), to.c_str()) != 0) return Fail(errno);
    return {};
  }
  if (RenameNoReplace(from, to) != 0) {
    if (errno == EEXIST) return {tfilestatus::TargetExists};
    return Fail(errno);
  }
  return {};
}

tfileresult tfileops::CopyViaTemp(const std::string& from, const std::string& to, bool overwrite) {
  unixfile src(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
  if (!src) return errno == ENOENT ? tfileresult{tfilestatus::SourceMissing} : Fail(errno);
  struct stat st;
  if (::fstat(src.get(), &st) != 0) return Fail(errno);
  if (!S_ISREG(st.st_mode)) return Fail(EISDIR);

  tempfile tmp(to);
  if (!tmp.fd()) return Fail(errno);
  const bool cutShort = hooks_.failCopy && hooks_.failCopy(from);
  const off_t limit = cutShort ? st.st_size / 2 : st.st_size;
  std::vector<char> buf(1 << 16);
  off_t written = 0;
  while (written < limit) {
    ssize_t n = ::read(src.get(), buf.data(), buf.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return Fail(errno);
    }
    if (n == 0) break;
    if (written + n > limit) n = static_cast<ssize_t>(limit - written);
    if (!WriteAll(tmp.fd().get(), buf.data(), static_cast<std::size_t>(n))) return Fail(errno);
    written += n;
  }
  ::fchmod(tmp.fd().get(), st.st_mode & 07777);
  if (::fsync(tmp.fd().get()) != 0) return Fail(errno);
  struct stat tst;
  if (::fstat(tmp.fd().get(), &tst) != 0) return Fail(errno);
  if (tst.st_size != st.st_size) return Fail(EIO);  // short copy: keep the target as it was
  if (overwrite) {
    if (::rename(tmp.path().c_str(), to.c_str()) != 0) return Fail(errno);
  } else if (RenameNoReplace(tmp.path(), to) != 0) {
    if (errno == EEXIST) return {tfilestatus::TargetExists};
    return Fail(errno);
  }
  tmp.Release();
  SyncFolderOf(to);
  return {};
}

tfileresult tfileops::Copy(const std::string& from, const std::string& to, bool overwrite) {
  if (!Absolute(from) || !Absolute(to)) return {tfilestatus::NotAbsolute};
  if (!Exists(from)) return {tfilestatus::SourceMissing};
  if (from == to || SameFile(from, to)) return {tfilestatus::SameFile};
  if (!overwrite && Exists(to)) return {tfilestatus::TargetExists};
  return CopyViaTemp(from, to, overwrite);
}

tfileresult tfileops::Move(const std::string& from, const std::string& to, bool overwrite) {
  if (!Absolute(from) || !Absolute(to)) return {tfilestatus::NotAbsolute};
  if (!Exists(from)) return {tfilestatus::SourceMissing};
  if (from == to) return {tfilestatus::SameFile};
  if (SameFile(from, to)) {
    // Same file under another spelling (a case change on FAT): a rename.
    return Rename(from, to, false);
  }
  if (!hooks_.forceCrossDevice) {
    tfileresult r = Rename(from, to, overwrite);
    if (r.status != tfilestatus::Failed || r.error != EXDEV) return r;
  }
  if (!overwrite && Exists(to)) return {tfilestatus::TargetExists};
  tfileresult r = CopyViaTemp(from, to, overwrite);
  if (!r.Ok()) return r;  // the source is untouched
  if (::unlink(from.c_str()) != 0) return Fail(errno);
  return {};
}

tfileresult tfileops::Delete(const std::string& path) {
  if (!Absolute(path)) return {tfilestatus::NotAbsolute};
  if (::unlink(path.c_str()) != 0) {
    return errno == ENOENT ? tfileresult{tfilestatus::SourceMissing} : Fail(errno);
  }
  return {};
}

}  // namespace vantlo
