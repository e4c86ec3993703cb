#include "app/ui/picturetoolsite.h"

#include "app/progressreport.h"
#include "app/ui/pictureview.h"
#include "app/ui/windowhost.h"

namespace vantlo {

bool tpicturetoolsite::HasPicture() const { return host_.PictureView().HasPicture(); }

// Mini movies are not played in the window, so no frame of one is ever on display.
bool tpicturetoolsite::IsMovieFrame() const { return false; }

tbitmap tpicturetoolsite::PictureBitmap() const {
  if (!HasPicture()) return {};
  return host_.PictureView().Document().Picture().Bitmap();
}

void tpicturetoolsite::ReplacePicture(const tbitmap& bitmap, bool displayHook) {
  tpictureview& view = host_.PictureView();
  view.CopySettings();  // the window's JPEG settings
  TJPEGImage picture;
  view.Document().Pipeline().PrepareJpeg(picture);
  picture.Assign(bitmap);
  view.Document().Picture() = std::move(picture);
  view.Redraw(displayHook);
}

void tpicturetoolsite::Progress(int position, const std::string& text) {
  if (!text.empty()) host_.Progress().ReportText(text, 0);
  host_.Progress().ReportPosition(position);
}

void tpicturetoolsite::Status(const std::string& text) { host_.Progress().ReportText(text, 0); }

void tpicturetoolsite::ShowMessage(const std::string& text) {
  host_.PictureView().ShowMessage(text);
}

int tpicturetoolsite::QuarterTurns() const { return host_.PictureView().Document().QuarterTurns(); }

bool tpicturetoolsite::Redisplay() {
  tpictureview& view = host_.PictureView();
  const int turns = view.Document().QuarterTurns();
  bool back = false;
  try {
    back = view.Document().HasPicture() && view.Redisplay();
  } catch (const std::exception& e) {
    view.Redraw();
    view.ShowMessage(e.what());
    return false;
  }
  if (!back) {
    view.Redraw();
    view.ShowMessage("Nothing to redisplay");
    return false;
  }
  // The stored picture (its uncorrected copy taken before any turn), turned as the user had
  // turned it.
  PictureChanged();
  for (int i = 0; i < turns; ++i) view.Document().RotateClockwise();
  view.Redraw();
  return true;
}

QSize tpicturetoolsite::DisplaySize() const {
  tpictureview& view = host_.PictureView();
  const TJPEGImage& picture = view.Document().Picture();
  if (!HasPicture()) return {};
  return view.DisplaySize(picture.Width(), picture.Height());
}

void tpicturetoolsite::PictureChanged() {
  state_.Reset();
  tpicturedocument& doc = host_.PictureView().Document();
  if (auto& uncorrected = doc.Uncorrected()) {
    state_.Uncorrected = uncorrected->Bitmap();
    state_.TurnsAtCopy = doc.QuarterTurns();
    state_.Applied = true;
  }
}

}  // namespace vantlo
