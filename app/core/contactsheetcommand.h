// The contact sheet commands of the main window without widgets: "Contact Sheets..."/"Setup..."
// applied to the manager, "Add Current Picture...", "Add Selected Disk Pictures" and "Add All
// Disk Pictures" (a pass over the files that stops between pictures at a stop request). The
// window (or vantlo-cli) supplies the manager, the settings and the way pictures are opened.
#pragma once

#include <string>
#include <vector>

#include "app/core/outputbatch.h"
#include "app/core/picturedocument.h"
#include "library/records/contactrecord.h"
#include "output/conman.h"

namespace vantlo {

inline constexpr const char* kContactSheetEmpty = "The current contact sheet is empty";

// "Show Current Sheet" / "Save Current Sheet": the sheet (filling or finished) as a picture to
// show (picture kind 4). Throws toutputerror(kContactSheetEmpty) without a sheet.
TJPEGImage CurrentSheetPicture(const tconman& manager);

class tcontactsheetcommand {
 public:
  // Nothing is owned; all must outlive the command. `settings` is read at every picture.
  // `depth` is the screen's colour depth in bits per pixel.
  tcontactsheetcommand(tconman& manager, const tcontactrecord& settings, tpicturepipeline& pipeline,
                       tbatchhost host = {}, tpictureopenoptions open = {}, int depth = 24);

  // "Contact Sheet Setup" answered OK with `edited`: the sheet in progress is dropped and the
  // manager takes the new layout.
  static void ApplySetup(tconman& manager, const tcontactrecord& edited);

  // "Add Current Picture...": the picture on display, without caption lines. Throws
  // toutputerror(kNoPictureOnDisplay) without one.
  void AddCurrent(const tpicturedocument& display);

  // The pass of "Add Selected Disk Pictures" / "Add All Disk Pictures" over CAM and JPEG files
  // in order (other files are passed over). An empty list throws
  // toutputerror(kNoPicturesSelected). A file that cannot be opened is listed as failed and the
  // pass goes on; a failure to save a full sheet ends it (report.error).
  tbatchreport AddFiles(const std::vector<std::string>& files);

 private:
  tconman& manager_;
  const tcontactrecord& settings_;
  tpicturepipeline& pipeline_;
  tbatchhost host_;
  tpictureopenoptions open_;
  int depth_;
};

}  // namespace vantlo
