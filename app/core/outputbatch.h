// What the contact sheet and print commands share: the host's side of a pass over disk
// pictures (stop request, a note before each file) and the report of what the pass did.
#pragma once

#include <functional>
#include <string>
#include <vector>

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

}  // namespace vantlo
