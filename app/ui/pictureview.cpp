#include "app/ui/pictureview.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/busyregister.h"
#include "app/core/captiondraw.h"
#include "app/core/clock.h"
#include "app/core/fetchworkflow.h"
#include "app/progressreport.h"
#include "app/stoprequest.h"
#include "app/ui/browsedialogs.h"
#include "app/ui/capprompt.h"
#include "app/ui/windowhost.h"
#include "app/zoommode.h"
#include "output/drawhelpers.h"

namespace vantlo {

namespace {

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

tpictureview::tpictureview(twindowhost& host)
    : host_(host), doc_(std::make_unique<tpicturedocument>(pipeline_)) {
  setObjectName("TabSheet11");
  auto* lay = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  BitBtn5 = new QPushButton("Redisplay");
  BitBtn5->setObjectName("BitBtn5");
  BitBtn5->setEnabled(false);  // no picture is current yet
  ZoomOutButton = new QPushButton("Zoom Out");
  ZoomOutButton->setObjectName("ZoomOutButton");
  ZoomInButton = new QPushButton("Zoom In");
  ZoomInButton->setObjectName("ZoomInButton");
  Label32 = new QLabel;
  Label32->setObjectName("Label32");
  top->addWidget(BitBtn5);
  top->addWidget(ZoomOutButton);
  top->addWidget(ZoomInButton);
  top->addWidget(Label32, 1);
  lay->addLayout(top);
  scroll_ = new QScrollArea;
  Image3 = new QLabel;
  Image3->setObjectName("Image3");
  Image3->setAlignment(Qt::AlignCenter);
  scroll_->setWidget(Image3);
  // The picture is drawn at its zoomed size; the scroll area scrolls it.
  scroll_->setWidgetResizable(true);
  lay->addWidget(scroll_, 1);

  ShowMessage = [this](const std::string& text) {
    QMessageBox::information(host_.Window(), "Vantlo", QString::fromStdString(text));
  };
  RunDialog = [](QDialog& dialog) { return dialog.exec(); };
  dialogPrompt_ = std::make_unique<tdialogcaptionprompt>(host_.Window());
  CaptionPrompt = dialogPrompt_.get();

  connect(BitBtn5, &QPushButton::clicked, this, &tpictureview::RedisplayClick);
  connect(this, &tpictureview::PictureChanged, this, [this] { BitBtn5->setEnabled(HasPicture()); });
  connect(ZoomInButton, &QPushButton::clicked, this, &tpictureview::ZoomIn);
  connect(ZoomOutButton, &QPushButton::clicked, this, &tpictureview::ZoomOut);
  Image3->installEventFilter(this);
  SetZoom(zoom_);
}

bool tpictureview::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Image3 && event->type() == QEvent::MouseButtonPress && OnPictureClicked) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPixmap shown = Image3->pixmap();
    if (mouse->button() == Qt::LeftButton && !shown.isNull()) {
      // The label centres the picture; the offset is taken off.
      const QPoint offset((Image3->width() - shown.width()) / 2,
                          (Image3->height() - shown.height()) / 2);
      OnPictureClicked(mouse->position().toPoint() - offset);
    }
  }
  return QWidget::eventFilter(watched, event);
}

void tpictureview::ShowZoomButtons() {
  ZoomOutButton->setEnabled(zoom_ != 1);
  ZoomInButton->setEnabled(zoom_ != 7);
}

void tpictureview::AddMenuCommands(const twindowmenus& menus) {
  QMenu* menu = new QMenu("&Picture", host_.Window());
  menu->setObjectName("PictureMenu");
  // Second on the bar, after "File".
  menus.bar->insertMenu(menus.bar->actions().size() > 1 ? menus.bar->actions().at(1) : nullptr,
                        menu);
  menu->addAction("&Open Picture File...", this, [this] {
    const QString file = QFileDialog::getOpenFileName(
        host_.Window(), "Open Picture File",
        QString::fromStdString(openFolder ? openFolder() : std::string()),
        "Pictures (*.jpg *.JPG *.cam *.CAM *.rcd *.RCD)");
    if (!file.isEmpty()) OpenPictureFile(file.toStdString(), true);
  });
  menu->addAction("&Redisplay", this, &tpictureview::RedisplayClick);
  menu->addSeparator();
  menu->addAction("Rotate &Clockwise", this, &tpictureview::RotateClockwise);
  menu->addAction("Rotate C&ounter-clockwise", this, &tpictureview::RotateCounterClockwise);
  menu->addAction("Zoom &In", this, &tpictureview::ZoomIn);
  menu->addAction("Zoom O&ut", this, &tpictureview::ZoomOut);
  menu->addSeparator();
  menu->addAction("&Define Orientation...", this, &tpictureview::DefineOrientationCurrent);
  menu->addAction("Define Orientation for Selected CAM files...", this, [this] {
    if (defineOrientationSelected) defineOrientationSelected();
  });
  menu->addAction("&Save Selected CAM Files as JPEGs", this, [this] {
    SaveSelectedCamFilesAsJpegs(selectedDiskPictures ? selectedDiskPictures()
                                                     : std::vector<std::string>());
  });

  // The picture's own pop-up menu (right mouse button on the picture).
  QMenu* popup = new QMenu(host_.Window());
  popup->setObjectName("PicturePopupMenu");
  popup->addAction("Save As...", this, [this] {
    if (saveAs) saveAs();
  });
  popup->addSeparator();
  popup->addAction("Redisplay", this, &tpictureview::RedisplayClick);
  popup->addAction("Rotate Clockwise", this, &tpictureview::RotateClockwise);
  popup->addAction("Rotate Counter-clockwise", this, &tpictureview::RotateCounterClockwise);
  popup->addAction("Zoom In", this, &tpictureview::ZoomIn);
  popup->addAction("Zoom Out", this, &tpictureview::ZoomOut);
  Image3->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(Image3, &QWidget::customContextMenuRequested, popup,
          [this, popup](const QPoint& at) { popup->popup(Image3->mapToGlobal(at)); });
}

tpictureview::~tpictureview() = default;

void tpictureview::CopySettings() {
  // The same picture settings a fetch uses, read from the stored records.
  const tfetchsettings f = FetchSettingsFrom(host_.Settings());
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
  Correction = f.correction;
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
      if (!text.empty()) host_.Progress().ReportText(text, 0);
      host_.Progress().ReportPosition(position);
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
  if (!description.empty()) host_.SetPictureText(description);
  Redraw();
  emit PictureChanged();
}

bool tpictureview::OpenPictureFile(const std::string& path, bool interactive) {
  if (!host_.Busy().BusyControl(tbusyregister::kQuery)) return false;
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
      host_.Progress().ReportText("Ready", 0);
      host_.Progress().ReportPosition(0);
      ShowMessage(e.what());
      return false;
    }
    host_.Progress().ReportText("Ready", 0);
    host_.Progress().ReportPosition(0);
    host_.SetCurrentPicture(path, doc_->FileSize());
    Redraw();
  }
  host_.ShowPicturePage();
  BitBtn5->setEnabled(true);
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
  if (!host_.Busy().BusyControl(tbusyregister::kQuery)) return;
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
  Label32->setText(QString::fromStdString(ZoomText(mode)));
  ShowZoomButtons();
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

void tpictureview::Redraw(bool displayHook) {
  if (!doc_->HasPicture()) {
    Image3->clear();
    return;
  }
  QImage picture;
  try {
    picture = ImageFromBitmap(doc_->Picture().Bitmap());
  } catch (const std::exception&) {
  }
  if (picture.isNull()) {
    Image3->clear();
    return;
  }
  const QSize size = DisplaySize(picture.width(), picture.height());
  const bool smooth = size.width() < picture.width();
  Image3->setPixmap(QPixmap::fromImage(
      size == picture.size()
          ? picture
          : picture.scaled(size, Qt::IgnoreAspectRatio,
                           smooth ? Qt::SmoothTransformation : Qt::FastTransformation)));
  if (displayHook && OnDisplayed) OnDisplayed();
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
  Tdefineorientation dlg(QString::fromStdString("Current file is : " + path), stored,
                         host_.Window());
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
  tbusyregister& busy = host_.Busy();
  busy.BusyControl(tbusyregister::kDiskList);
  struct trelease {
    tbusyregister& b;
    ~trelease() { b.BusyControl(tbusyregister::kDiskList + 1); }
  } release{busy};
  tcamtojpegoptions options;
  options.open = OpenOptions(false);
  options.stopRequested = [this] {
    QCoreApplication::processEvents();
    return host_.StopRequest().IsSet();
  };
  options.onFile = [this](const std::string& file) {
    host_.Progress().ReportText("Saving " + file.substr(file.find_last_of('/') + 1), 0);
  };
  {
    tbusycursor cursor(true);
    report = SaveCamFilesAsJpegs(selection, *doc_, options);
  }
  host_.Progress().ReportText("Ready", 0);
  Redraw();
  emit PictureChanged();
  std::string text =
      report.error.empty() ? report.Summary() : report.error + "\n" + report.Summary();
  for (const auto& f : report.failed) text += "\n" + f;
  ShowMessage(text);
  return report;
}

}  // namespace vantlo
