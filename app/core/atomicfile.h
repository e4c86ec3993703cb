// Whole-file writes that never leave a torn file behind: the bytes go to a temporary file in the
// same folder, are flushed to disk and then renamed over the target in one step. A reader (or a
// crash) sees either the old file or the complete new one. The writing itself is the library's
// one atomic writer (WriteFileAtomically, library/unixfile.h); this is its front for code that
// reports failures as exceptions with the path and the system's reason.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace vantlo {

class tfileerror : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Writes `bytes` to `path` atomically. `mode` is the permission of the new file before the
// umask (0666: an ordinary file; 0600: private). Throws tfileerror with the path and the reason.
void WriteFileAtomic(const std::string& path, std::span<const std::uint8_t> bytes,
                     unsigned mode = 0666);

// Reads a whole file. Throws tfileerror when it cannot be opened or read.
std::vector<std::uint8_t> ReadWholeFile(const std::string& path);

}  // namespace vantlo
