#include "app/core/contactsheetcommand.h"

#include "app/core/cellpicture.h"
#include "output/outputerror.h"

namespace vantlo {

TJPEGImage CurrentSheetPicture(const tconman& manager) {
  if (!manager.HasSheet()) throw toutputerror(kContactSheetEmpty);
  TJPEGImage picture;
  picture.Assign(manager.SheetBitmap());
  return picture;
}

tcontactsheetcommand::tcontactsheetcommand(tconman& manager, const tcontactrecord& settings,
                                           tpicturepipeline& pipeline, tbatchhost host,
                                           tpictureopenoptions open, int depth)
    : manager_(manager),
      settings_(settings),
      pipeline_(pipeline),
      host_(std::move(host)),
      open_(std::move(open)),
      depth_(depth) {}

void tcontactsheetcommand::ApplySetup(tconman& manager, const tcontactrecord& edited) {
  manager.ClearSheet();
  manager.Configure(edited);
}

void tcontactsheetcommand::AddCurrent(const tpicturedocument& display) {
  if (!display.HasPicture()) throw toutputerror(kNoPictureOnDisplay);
  manager_.AddPicture(display.Picture(), depth_, settings_, "");
}

tbatchreport tcontactsheetcommand::AddFiles(const std::vector<std::string>& files) {
  if (files.empty()) throw toutputerror(kNoPicturesSelected);
  if (manager_.Rows() <= 0 || manager_.Columns() <= 0) throw toutputerror(kZeroPicsPerPage);
  tpicturedocument doc(pipeline_);
  long placed = 0;
  tbatchsteps steps;
  steps.open = [&](const std::string& file) {
    return OpenPictureForCell(file, manager_.NextCellRect(), doc, open_);
  };
  steps.place = [&](const std::string& file, const TJPEGImage& picture) {
    placed = manager_.Placed();
    manager_.AddPicture(picture, depth_, settings_, file);
  };
  // Unplaced, the file's size or properties could not be read and the sheet is as it was;
  // placed, the full sheet could not be saved.
  steps.placeFailure = [&] {
    return manager_.Placed() == placed ? tplacefailure::fileFailed : tplacefailure::placedEndsPass;
  };
  return RunBatch(files, host_, steps);
}

}  // namespace vantlo
