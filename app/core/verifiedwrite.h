// Writing a picture file that is about to be the only copy: AutoCapture deletes the picture from
// the camera or the card once it is saved, so "the file exists" is not enough (a full disk leaves
// a short file, and a file system may lie about a write). Each file is written atomically
// (temporary file, fsync, rename) and then read back and compared byte for byte with what was
// meant; only a file that passes counts as saved.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "library/unixfile.h"

namespace vantlo {

// Where AutoCapture's files go. The real writer is the one atomic writer of the library; tests
// hand in writers that fail the way full disks and broken file systems do.
class tfilewriter {
 public:
  virtual ~tfilewriter() = default;
  // Replaces `path` with `bytes`; 0, or the errno of the failure.
  virtual int Write(const std::string& path, std::span<const std::uint8_t> bytes) = 0;
};

// WriteFileAtomically with an ordinary file's mode. Deferred durability is for a run that
// flushes the file system once (SyncFileSystemOf) before it deletes any source.
class tatomicwriter : public tfilewriter {
 public:
  explicit tatomicwriter(tdurability durability = tdurability::synced)
      : durability_(durability) {}
  int Write(const std::string& path, std::span<const std::uint8_t> bytes) override;

 private:
  tdurability durability_;
};

// True when the regular file at `path` (not a link) holds exactly `bytes`.
bool FileHolds(const std::string& path, std::span<const std::uint8_t> bytes);

// Writes through `writer`, then checks the file with FileHolds. True when both succeed.
bool WriteVerified(tfilewriter& writer, const std::string& path,
                   std::span<const std::uint8_t> bytes);

}  // namespace vantlo
