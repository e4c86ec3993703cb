// Small RAII owners for file descriptors, directory streams and temporary
// files, shared by the library's file code.
#pragma once

#include <dirent.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace vantlo {

// Owns a file descriptor; closes it once.
class unixfile {
 public:
  unixfile() = default;
  explicit unixfile(int fd) : fd_(fd) {}
  unixfile(const unixfile&) = delete;
  unixfile& operator=(const unixfile&) = delete;
  unixfile(unixfile&& o) noexcept : fd_(o.fd_) { o.fd_ = -1; }
  unixfile& operator=(unixfile&& o) noexcept;
  ~unixfile();
  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  void reset();

 private:
  int fd_ = -1;
};

// Owns a DIR stream.
class unixdir {
 public:
  explicit unixdir(const std::string& path);
  unixdir(const unixdir&) = delete;
  unixdir& operator=(const unixdir&) = delete;
  ~unixdir();
  explicit operator bool() const { return dir_ != nullptr; }
  DIR* get() const { return dir_; }

 private:
  DIR* dir_ = nullptr;
};

// A temporary file created next to `target` (same folder, so that renaming
// it into place is atomic). Removed on destruction unless released.
class tempfile {
 public:
  explicit tempfile(const std::string& target);
  tempfile(const tempfile&) = delete;
  tempfile& operator=(const tempfile&) = delete;
  ~tempfile();
  const unixfile& fd() const { return fd_; }
  const std::string& path() const { return path_; }
  // The file has been renamed into place: keep it.
  void Release();

 private:
  unixfile fd_;
  std::string path_;
};

// write() until all bytes are out; false with errno on failure.
bool WriteAll(int fd, const void* data, std::size_t size);
// Flushes the folder entry of a renamed file (failure ignored).
void SyncFolderOf(const std::string& path);

// What an atomic write does with a file already at the target: replace it, or keep it (the
// write then fails with EEXIST; no file is ever replaced, not even by a race).
enum class texisting { replace, keep };

// When an atomic write reaches the disk: before it returns, or when the caller flushes the whole
// file system (SyncFileSystemOf) before it relies on the files, which costs one flush for many
// files instead of one per file.
enum class tdurability { synced, deferred };

// Replaces `path` with `bytes` so that a crash or a full disk leaves either the
// old file or the complete new one: a temporary file in the same folder gets
// `mode`, then `prepare` (if any) on its descriptor, the bytes and an fsync, and
// is renamed over the target (or, to keep an existing file, put in place only
// where the name is free); the folder entry is flushed last. Deferred durability
// leaves out the fsync and the folder flush. Returns 0, or the errno of the step
// that failed, with the old file untouched.
int WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes, mode_t mode,
                        const std::function<void(int fd)>& prepare = {},
                        texisting existing = texisting::replace,
                        tdurability durability = tdurability::synced);

// Flushes everything written to the file system that holds `path` (syncfs). 0, or the errno.
int SyncFileSystemOf(const std::string& path);

}  // namespace vantlo
