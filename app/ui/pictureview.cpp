#include "app/ui/pictureview.h"

#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <algorithm>

#include "app/core/captiondraw.h"
#include "app/core/clock.h"
#include "app/core/fetchworkflow.h"
#include "app/ui/browsedialogs.h"
#include "app/ui/capprompt.h"
#include "app/ui/form1.h"
#include "app/zoommode.h"

namespace vantlo {

namespace {

QImage ToImage(const tbitmap& b) {
  if (b.Empty() || b.Format() != PixelFormat::pf24bit) return {};
  QImage q(b.Width(), b.Height(), QImage::Format_BGR888);
  for (int y = 0; y < b.Height(); ++y) std::copy_n(b.ScanLine(y), b.RowBytes(), q.scanLine(y));
  return q;
}

// Restores the cursor however the work ends.
class tbusycursor {
 public:
  explicit tbusycursor(bool on) : on_(on) {
    if (on_) QApplication::setOverrideCursor(Qt::WaitCursor);
  }
  ~tbusycursor() {
    if (on_) QApplication::restoreOverrideCursor();
  }
  tbusycursor(const tbusycursor&) = delete;
  tbusycursor& operator=(const tbusycursor&) = delete;

 private:
  bool on_;
};

}  // namespace

tpictureview::tpictureview(TForm1& form, QLabel* image, QLabel* zoomLabel, QScrollArea* scroll)
    : QObject(&form),
      form_(form),
      image_(image),
      zoomLabel_(zoomLabel),
      scroll_(scroll),
      doc_(std::make_unique<tpicturedocument>(pipeline_)) {
  ShowMessage = [this](const std::string& text) {
    QMessageBox::information(&form_, "Vantlo", QString::fromStdString(text));
  };
  RunDialog = [](QDialog& dialog) { return dialog.exec(); };
  dialogPrompt_ = std::make_unique<tdialogcaptionprompt>(&form_);
  CaptionPrompt = dialogPrompt_.get();
}

tpictureview::~tpictureview() = default;

void tpictureview::CopySettings() {
  // The same picture settings a fetch uses, read from the stored records.
  const tfetchsettings f = FetchSettingsFrom(form_.Settings());
  try {
    pipeline_.SetJpegQuality(std::clamp(f.jpegQuality, 1, 100));
  } catch (const std::exception&) {
  }
  pipeline_.Progressive = f.progressive;
  pipeline_.SetOutputSize(f.outputSize);
  pipeline_.PlainStretch = f.plainStretch;
  pipeline_.AlwaysReencode = f.alwaysReencode;
  pipeline_.ColourExpand = f.colourExpand;
  pipeline_.ColourExpandPercent = f.colourExpandPercent;
  Correction.Mode = f.correction == tcorrectionmode::automatic ? tcorrectionchoice::Auto
                    : f.correction == tcorrectionmode::manual  ? tcorrectionchoice::Manual
                                                               : tcorrectionchoice::Off;
  Correction.Strength = f.correctionStrength;
  // The caption configured for pictures, with picture number 0; "Prompt
  // each time" asks for this picture's caption.
  Caption = [setting = f.caption, prompt = CaptionPrompt](TJPEGImage& picture) {
    tbitmap bitmap = picture.Bitmap();
    if (WriteCaption(bitmap, 0, setting, SystemFieldTexts(SystemLocalTime()), prompt))
      picture.Assign(bitmap);
  };
}

tpictureopenoptions tpictureview::OpenOptions(bool interactive) {
  tpictureopenoptions o;
  o.correction = Correction;
  o.caption = Caption;
  if (interactive) {
    o.progress = [this](int position, const std::string& text) {
      if (!text.empty()) form_.ReportText(text, 0);
      form_.ReportPosition(position);
    };
  }
  return o;
}

void tpictureview::ShowPicture(const TJPEGImage& picture, const std::string& description,
                               tpicturekind kind, const std::string& path,
                               const tbitmap* uncorrected, std::uint64_t sizeBytes) {
  doc_->SetPicture(picture, kind, path, sizeBytes);
  if (uncorrected && !uncorrected->Empty()) {
    TJPEGImage copy;
    doc_->Pipeline().PrepareJpeg(copy);
    copy.Assign(*uncorrected);
    doc_->Uncorrected() = std::move(copy);
  }
  if (!description.empty()) form_.Label9->setText(QString::fromStdString(description));
  Redraw();
  emit PictureChanged();
}

bool tpictureview::OpenPictureFile(const std::string& path, bool interactive) {
  if (!form_.BusyControl(16)) return false;
  if (PictureFileType(path) == tpicturefiletype::None) return false;
  CopySettings();
  if (!interactive) {
    try {
      doc_->OpenPictureFile(path, OpenOptions(false));
    } catch (...) {
      Redraw();
      throw;
    }
    Redraw();
    emit PictureChanged();
    return true;
  }
  bool ok = false;
  {
    tbusycursor cursor(true);
    try {
      doc_->OpenPictureFile(path, OpenOptions(true));
      ok = true;
    } catch (const std::exception& e) {
      Redraw();
      form_.ReportText("Ready", 0);
      form_.BusyProgressReset();
      ShowMessage(e.what());
      return false;
    }
    form_.ReportText("Ready", 0);
    form_.BusyProgressReset();
    form_.SetCurrentPicture(QString::fromStdString(path), static_cast<qint64>(doc_->FileSize()));
    Redraw();
  }
  if (form_.PageControl2) form_.PageControl2->setCurrentWidget(form_.TabSheet11);
  if (form_.BitBtn5) form_.BitBtn5->setEnabled(true);
  emit PictureChanged();
  return ok;
}

bool tpictureview::Redisplay() {
  switch (doc_->Kind()) {
    case tpicturekind::JpegFile:
    case tpicturekind::CamFile: {
      const std::string path = doc_->Path();
      CopySettings();
      doc_->OpenPictureFile(path, OpenOptions(false));
      return doc_->HasPicture();
    }
    case tpicturekind::Camera: {
      // A copy: fetching shows the picture again, which sets a new hook
      // while this one runs.
      const std::function<bool()> refetch = Refetch;
      return refetch && refetch() && doc_->HasPicture();
    }
    default:
      return false;
  }
}

void tpictureview::RedisplayClick() {
  if (!form_.BusyControl(16)) return;
  try {
    if (!doc_->HasPicture() || !Redisplay()) {
      Redraw();
      ShowMessage("Nothing to redisplay");
      return;
    }
  } catch (const std::exception& e) {
    Redraw();
    ShowMessage(e.what());
    return;
  }
  Redraw();
  emit PictureChanged();
}

void tpictureview::RotateClockwise() {
  doc_->RotateClockwise();
  Redraw();
}

void tpictureview::RotateCounterClockwise() {
  doc_->RotateCounterClockwise();
  Redraw();
}

void tpictureview::SetZoom(int mode) {
  if (ZoomText(mode).empty()) mode = kZoomActualSize;
  zoom_ = mode;
  if (zoomLabel_) zoomLabel_->setText(QString::fromStdString(ZoomText(mode)));
  if (OnZoomChanged) OnZoomChanged(mode);
  Redraw();
}

void tpictureview::ZoomIn() {
  if (zoom_ >= 7) return;
  SetZoom(zoom_ < 1 ? kZoomActualSize + 1 : zoom_ + 1);
}

void tpictureview::ZoomOut() {
  if (zoom_ == 1) return;
  SetZoom(zoom_ < 1 ? kZoomActualSize - 1 : zoom_ - 1);
}

QSize tpictureview::DisplaySize(int width, int height) const {
  static const int percent[] = {0, 25, 50, 75, 100, 150, 200, 300};
  if (zoom_ >= 1 && zoom_ <= 7)
    return {std::max(1, width * percent[zoom_] / 100), std::max(1, height * percent[zoom_] / 100)};
  QSize area = scroll_ ? scroll_->viewport()->size() : QSize(width, height);
  area = area.expandedTo(QSize(1, 1));
  if (zoom_ == -2) return area;  // stretch to screen
  // Fit to screen: the largest size with the picture's shape.
  return QSize(width, height).scaled(area, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

void tpictureview::Redraw() {
  if (!image_) return;
  if (!doc_->HasPicture()) {
    image_->clear();
    return;
  }
  QImage picture;
  try {
    picture = ToImage(doc_->Picture().Bitmap());
  } catch (const std::exception&) {
  }
  if (picture.isNull()) {
    image_->clear();
    return;
  }
  const QSize size = DisplaySize(picture.width(), picture.height());
  const bool smooth = size.width() < picture.width();
  image_->setPixmap(QPixmap::fromImage(
      size == picture.size()
          ? picture
          : picture.scaled(size, Qt::IgnoreAspectRatio,
                           smooth ? Qt::SmoothTransformation : Qt::FastTransformation)));
}

void tpictureview::Clear() {
  doc_->Clear();
  Redraw();
  emit PictureChanged();
}

}  // namespace vantlo

namespace vantlo {

void tpictureview::DefineOrientationCurrent() {
  switch (CurrentOrientationTarget(*doc_)) {
    case torientationtarget::Ignore:
      return;
    case torientationtarget::NotCam:
      ShowMessage(kOnlyCamOrientation);
      return;
    case torientationtarget::Cam:
      break;
  }
  const std::string path = doc_->Path();
  const int stored = StoredOrientationOf(path);
  Tdefineorientation dlg(QString::fromStdString("Current file is : " + path), stored, &form_);
  if (RunDialog(dlg) != QDialog::Accepted) return;
  const int chosen = dlg.Orientation();
  if (chosen == stored) return;
  try {
    StoreOrientation(path, chosen);
  } catch (const std::exception& e) {
    ShowMessage(e.what());
    return;
  }
  OpenPictureFile(path, true);
}

tcamtojpegreport tpictureview::SaveSelectedCamFilesAsJpegs(
    const std::vector<std::string>& selection) {
  tcamtojpegreport report;
  if (selection.empty()) {
    ShowMessage("No Pictures are Selected");
    return report;
  }
  CopySettings();
  form_.BusyControl(14);
  struct trelease {
    TForm1& f;
    ~trelease() { f.BusyControl(15); }
  } release{form_};
  tcamtojpegoptions options;
  options.open = OpenOptions(false);
  options.stopRequested = [this] {
    QCoreApplication::processEvents();
    return form_.StopRequest().IsSet();
  };
  options.onFile = [this](const std::string& file) {
    form_.ReportText("Saving " + file.substr(file.find_last_of('/') + 1), 0);
  };
  {
    tbusycursor cursor(true);
    report = SaveCamFilesAsJpegs(selection, *doc_, options);
  }
  form_.ReportText("Ready", 0);
  Redraw();
  emit PictureChanged();
  std::string text =
      report.error.empty() ? report.Summary() : report.error + "\n" + report.Summary();
  for (const auto& f : report.failed) text += "\n" + f;
  ShowMessage(text);
  return report;
}

}  // namespace vantlo
