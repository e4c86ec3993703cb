#include "app/core/contactsheetcommand.h"

#include "app/core/cellpicture.h"
#include "output/outputerror.h"

namespace vantlo {

namespace {

bool IsSheetPicture(const std::string& path) {
  const tpicturefiletype t = PictureFileType(path);
  return t == tpicturefiletype::Jpg || t == tpicturefiletype::Cam;
}

}  // namespace

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
  tbatchreport report;
  tpicturedocument doc(pipeline_);
  const int total = static_cast<int>(files.size());
  for (int i = 0; i < total; ++i) {
    const std::string& file = files[static_cast<std::size_t>(i)];
    if (host_.stopRequested && host_.stopRequested()) {
      report.stopped = true;
      break;
    }
    if (!IsSheetPicture(file)) continue;
    if (host_.onFile) host_.onFile(file, i + 1, total);
    TJPEGImage picture;
    try {
      picture = OpenPictureForCell(file, manager_.NextCellRect(), doc, open_);
    } catch (const std::exception& e) {
      report.failed.push_back(file + ": " + e.what());
      continue;
    }
    const long placed = manager_.Placed();
    try {
      manager_.AddPicture(picture, depth_, settings_, file);
    } catch (const std::exception& e) {
      if (manager_.Placed() == placed) {
        // The file's size or properties could not be read: the sheet is as it was.
        report.failed.push_back(file + ": " + e.what());
        continue;
      }
      // The picture is on the sheet, but the full sheet could not be saved.
      report.done.push_back(file);
      report.error = e.what();
      break;
    }
    report.done.push_back(file);
  }
  return report;
}

}  // namespace vantlo
