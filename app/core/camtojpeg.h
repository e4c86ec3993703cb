// "Save Selected CAM Files as JPEGs": each selected CAM file is opened as
// the window opens it (stored orientation, caption, correction mode) and
// written next to itself as a JPEG file, its properties copied along. No
// file is ever deleted or replaced.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/core/picturedocument.h"

namespace vantlo {

// The JPEG name of a CAM file: the last three characters replaced by "jpg"
// and the file name (not the folder, which the user chose) in lower case.
std::string JpegNameForCam(const std::string& camPath);

struct tcamtojpegreport {
  std::vector<std::string> saved;    // JPEG files written
  std::vector<std::string> skipped;  // not CAM pictures, or the JPEG name already taken
  std::vector<std::string> failed;   // "name: reason"
  bool stopped = false;              // the user stopped the batch
  std::string error;                 // a message that ended the batch
  // "Saved N, skipped N, failed N" (plus " (stopped)").
  std::string Summary() const;
};

struct tcamtojpegoptions {
  tpictureopenoptions open;                        // how each file is opened
  std::function<bool()> stopRequested;             // polled between files (pump messages there)
  std::function<void(const std::string&)> onFile;  // before each file
};

// Runs the batch over `files` in order with `doc` (the window's picture:
// each file is opened into it as the window would). The JPEG settings of
// the document's pipeline decide quality and progressive flag.
tcamtojpegreport SaveCamFilesAsJpegs(const std::vector<std::string>& files, tpicturedocument& doc,
                                     const tcamtojpegoptions& options);

}  // namespace vantlo
