// What the contact sheet and print commands share: the host's side of a pass over disk
// pictures (stop request, a note before each file), the report of what the pass did, and the
// pass itself.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "picture/jpegimage.h"

namespace vantlo {

inline constexpr const char* kNoPictureOnDisplay = "No picture on display";
inline constexpr const char* kNoPicturesSelected = "No Pictures are Selected";

struct tbatchhost {
  // Processes pending events and returns the stop-request flag; polled between pictures.
  std::function<bool()> stopRequested;
  // Before each picture: its file, its place (1-based) and the number of pictures.
  std::function<void(const std::string& file, int index, int total)> onFile;
};

struct tbatchreport {
  std::vector<std::string> done;    // pictures placed on the sheet or the page
  std::vector<std::string> failed;  // "file: reason"; the pass went on with the next file
  bool stopped = false;             // the user stopped the pass
  std::string error;  // a failure that ended the pass (saving a full sheet, the printer)
  // "Added N, failed N" / "Printed N, failed N", with " (stopped)" or ": error".
  std::string Summary(const char* verb) const;
};

// What a failure to place a picture means for the pass.
enum class tplacefailure {
  fileFailed,      // the file is listed as failed; the pass goes on
  endsPass,        // the pass ends with the error; the picture is not placed
  placedEndsPass,  // the picture is placed, but the pass ends with the error
};

struct tbatchsteps {
  // The picture of a file, no larger than it is drawn; a failure is the file's: it is listed as
  // failed and the pass goes on.
  std::function<TJPEGImage(const std::string& file)> open;
  // Puts the picture on the sheet or the page; throws on failure.
  std::function<void(const std::string& file, const TJPEGImage& picture)> place;
  // What a failure of `place` means (asked right after it); empty: it ends the pass.
  std::function<tplacefailure()> placeFailure;
};

// The pass over `files` in order: it stops between pictures at a stop request, passes over files
// that are neither JPEG nor CAM files, tells the host before each picture, opens and places it.
tbatchreport RunBatch(const std::vector<std::string>& files, const tbatchhost& host,
                      const tbatchsteps& steps);

}  // namespace vantlo
