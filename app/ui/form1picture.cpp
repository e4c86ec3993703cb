// The window's picture commands: the picture view on the "Picture" page,
// the "Rotate" page, the resize group and the "Picture" menu.
#include <QDialog>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/ui/browsepage.h"
#include "app/ui/camerapictures.h"
#include "app/ui/form1.h"
#include "app/ui/pictureview.h"
#include "app/ui/resizegroup.h"
#include "app/ui/rotatepage.h"

namespace vantlo {

namespace {

QScrollArea* EnclosingScrollArea(QWidget* w) {
  for (QWidget* p = w ? w->parentWidget() : nullptr; p; p = p->parentWidget())
    if (auto* s = qobject_cast<QScrollArea*>(p)) return s;
  return nullptr;
}

}  // namespace

void TForm1::BuildPictureCommands() {
  QScrollArea* scroll = EnclosingScrollArea(Image3);
  // The picture is drawn at its zoomed size; the scroll area scrolls it.
  if (scroll) scroll->setWidgetResizable(true);
  pictureView_ = new tpictureview(*this, Image3, Label32, scroll);
  pictureView_->OnZoomChanged = [this](int mode) { zoom_ = mode; };
  pictureView_->SetZoom(zoom_);
  connect(BitBtn5, &QPushButton::clicked, pictureView_, &tpictureview::RedisplayClick);
  connect(pictureView_, &tpictureview::PictureChanged, this,
          [this] { BitBtn5->setEnabled(pictureView_->HasPicture()); });

  // Zoom buttons beside the zoom text.
  auto* zoomOut = new QPushButton("Zoom Out");
  zoomOut->setObjectName("ZoomOutButton");
  auto* zoomIn = new QPushButton("Zoom In");
  zoomIn->setObjectName("ZoomInButton");
  if (auto* top = TabSheet11->layout() && TabSheet11->layout()->count() > 0
                      ? qobject_cast<QHBoxLayout*>(TabSheet11->layout()->itemAt(0)->layout())
                      : nullptr) {
    top->insertWidget(1, zoomOut);
    top->insertWidget(2, zoomIn);
  }
  auto zoomButtons = [this, zoomIn, zoomOut] {
    zoomOut->setEnabled(pictureView_->Zoom() != 1);
    zoomIn->setEnabled(pictureView_->Zoom() != 7);
  };
  connect(zoomIn, &QPushButton::clicked, pictureView_, &tpictureview::ZoomIn);
  connect(zoomOut, &QPushButton::clicked, pictureView_, &tpictureview::ZoomOut);
  pictureView_->OnZoomChanged = [this, zoomButtons](int mode) {
    zoom_ = mode;
    zoomButtons();
  };
  zoomButtons();

  new trotatepage(*this, *pictureView_, TabSheet9);
  new tresizegroup(*this, *pictureView_, tabcorrection);

  QMenu* menu = new QMenu("&Picture", this);
  menu->setObjectName("PictureMenu");
  menuBar()->insertMenu(menuBar()->actions().size() > 1 ? menuBar()->actions().at(1) : nullptr,
                        menu);
  menu->addAction("&Open Picture File...", this, [this] {
    const QString file = QFileDialog::getOpenFileName(
        this, "Open Picture File", QString::fromStdString(browseFolder_),
        "Pictures (*.jpg *.JPG *.cam *.CAM *.rcd *.RCD)");
    if (!file.isEmpty()) OpenPictureFile(file.toStdString(), true);
  });
  menu->addAction("&Redisplay", pictureView_, &tpictureview::RedisplayClick);
  menu->addSeparator();
  menu->addAction("Rotate &Clockwise", pictureView_, &tpictureview::RotateClockwise);
  menu->addAction("Rotate C&ounter-clockwise", pictureView_, &tpictureview::RotateCounterClockwise);
  menu->addAction("Zoom &In", pictureView_, &tpictureview::ZoomIn);
  menu->addAction("Zoom O&ut", pictureView_, &tpictureview::ZoomOut);
  menu->addSeparator();
  menu->addAction("&Define Orientation...", pictureView_, &tpictureview::DefineOrientationCurrent);
  menu->addAction("Define Orientation for Selected CAM files...", this, [this] {
    if (browser_) browser_->DefineOrientationSelected();
  });
  menu->addAction("&Save Selected CAM Files as JPEGs", this, [this] {
    pictureView_->SaveSelectedCamFilesAsJpegs(browser_ ? browser_->SelectedPictures()
                                                       : std::vector<std::string>());
  });

  // The picture's own pop-up menu (right mouse button on the picture).
  QMenu* popup = new QMenu(this);
  popup->setObjectName("PicturePopupMenu");
  popup->addAction("Save As...", this, [this] { CameraPictures().Other1Click(); });
  popup->addSeparator();
  popup->addAction("Redisplay", pictureView_, &tpictureview::RedisplayClick);
  popup->addAction("Rotate Clockwise", pictureView_, &tpictureview::RotateClockwise);
  popup->addAction("Rotate Counter-clockwise", pictureView_, &tpictureview::RotateCounterClockwise);
  popup->addAction("Zoom In", pictureView_, &tpictureview::ZoomIn);
  popup->addAction("Zoom Out", pictureView_, &tpictureview::ZoomOut);
  Image3->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(Image3, &QWidget::customContextMenuRequested, popup,
          [this, popup](const QPoint& at) { popup->popup(Image3->mapToGlobal(at)); });
}

bool TForm1::OpenPictureFile(const std::string& path, bool interactive) {
  return pictureView_ && pictureView_->OpenPictureFile(path, interactive);
}

}  // namespace vantlo
