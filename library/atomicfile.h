// Whole-file writes that never leave a torn file behind: the bytes go to a temporary file in the
// same folder, are flushed to disk and then put in place in one step. A reader (or a crash) sees
// either the old file or the complete new one. The writing itself is the one atomic writer
// (WriteFileAtomically, library/unixfile.h); this is its front for code that reports failures as
// exceptions with the path and the system's reason.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "library/unixfile.h"

namespace vantlo {

class tfileerror : public std::runtime_error {
 public:
  explicit tfileerror(const std::string& text, int error = 0)
      : std::runtime_error(text), error_(error) {}
  // The system's error code (errno), 0 when none applies.
  int Error() const { return error_; }

 private:
  int error_;
};

// Writes `bytes` to `path` atomically. `mode` is the permission of the new file before the
// umask (0666: an ordinary file; 0600: private). With texisting::keep a file already at `path`
// is left alone and the write fails with EEXIST. Throws tfileerror with the path and the reason.
void WriteFileAtomic(const std::string& path, std::span<const std::uint8_t> bytes,
                     unsigned mode = 0666, texisting existing = texisting::replace);

// Reads a whole file. Throws tfileerror when it cannot be opened or read.
std::vector<std::uint8_t> ReadWholeFile(const std::string& path);

}  // namespace vantlo
