// "A file was written at PATH": whatever saves a picture, thumbnail, CAM file or movie (the
// automatic saves after a fetch, Save As, contact sheets) tells the window, so that a view of
// that folder (the Browse page) shows the new or replaced file.
#pragma once

#include <string>

namespace vantlo {

class tfilewritten {
 public:
  virtual ~tfilewritten() = default;
  // `path` is the full path of the file as written.
  virtual void FileWritten(const std::string& path) = 0;
};

}  // namespace vantlo
