// Saving contact sheets: a finished sheet is written as a JPEG under the next "CS" name of the
// naming routine, through tpicturesaver's overwrite rule; with "Contact Sheets" off the user is
// asked for the name first ("Save Contact Sheet As"). The sheet counter starts at 0 each run, so
// the next number is the first one above the counter whose name is free: a sheet of an earlier
// run on the same day is never replaced.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/core/naming.h"
#include "app/core/overwrite.h"
#include "app/core/picturesaver.h"
#include "picture/bitmap.h"

namespace vantlo {

inline constexpr const char* kNoContactSheetAsCam = "You cannot save a contact sheet as a CAM file";
inline constexpr const char* kSaveContactSheetTitle = "Save Contact Sheet As";

// The answer of the save dialog: the chosen name and whether the CAM filter was chosen.
struct tsheetsavechoice {
  std::string path;
  bool camFilter = false;
};

struct tsheetjpeg {
  int quality = 85;
  bool progressive = false;
};

class tsheetsaver {
 public:
  // Shows the save dialog with the proposal (a full path); nothing when cancelled.
  using taskname = std::function<std::optional<tsheetsavechoice>(const std::string& proposal)>;

  // Nothing is owned. `question` may be null (a taken name is then skipped, never replaced).
  tsheetsaver(tfilenamer& namer, tsaveoptions& options, toverwritequestion* question = nullptr);

  // The sheet-finished notification: counter + 1 (past taken names), daily folder, then the
  // file: written without asking when `saveWithoutAsking` ("Contact Sheets"), else under the
  // name the dialog gives. Throws tnamingerror, tfileerror, and kNoContactSheetAsCam for the
  // CAM filter.
  tsavereport SaveFinishedSheet(const tbitmap& sheet, const tsheetjpeg& jpeg,
                                bool saveWithoutAsking, const taskname& ask);
  // Save As of a contact sheet on display: the counter + 1 (past taken names, in the daily
  // folder, which is made first) and the "CS" name of it.
  long NextSheetNumber();
  std::string NextSheetName();
  // Writes the sheet to a name the user chose (one retry). ".jpg" is appended when missing.
  std::string WriteSheetAs(const tbitmap& sheet, const tsheetjpeg& jpeg, const std::string& path);

  long Counter() const { return counter_; }

 private:
  long NextFreeNumber();

  tfilenamer& namer_;
  tsaveoptions& options_;
  toverwritequestion* question_;
  long counter_ = 0;
};

}  // namespace vantlo
