// TForm1: the menu items and tool bar entries of the camera pictures (camerapictures.h).
#include <QAction>
#include <QComboBox>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>

#include "browsepage.h"
#include "camerapictures.h"
#include "form1.h"
#include "popupbutton.h"

namespace vantlo {

namespace {

QMenu* MenuTitled(QMenuBar* bar, const QString& title) {
  for (QAction* a : bar->actions())
    if (a->menu() && a->text() == title) return a->menu();
  return bar->addMenu(title);
}

QMenu* PopupOf(const std::vector<tpopupbutton*>& buttons, const QString& name) {
  for (tpopupbutton* b : buttons)
    if (b->objectName() == name) return b->PopupMenu();
  return nullptr;
}

}  // namespace

void TForm1::BuildCameraPictureCommands() {
  cameraPictures_ = new tcamerapictures(*this, SavingPage);
  tcamerapictures* c = cameraPictures_;

  QMenu* file = MenuTitled(menuBar(), "&File");
  QAction* saveAs = new QAction("Save &As...", this);
  saveAs->setShortcut(QKeySequence("Ctrl+S"));
  connect(saveAs, &QAction::triggered, c, &tcamerapictures::Other1Click);
  file->insertAction(file->actions().isEmpty() ? nullptr : file->actions().first(), saveAs);

  QMenu* pictures = MenuTitled(menuBar(), "&Pictures");
  pictures->addAction("Camera &Thumbnails", c, &tcamerapictures::ShowThumbnails1Click);
  pictures->addAction("Show Selected Camera Thumbnails", c,
                      &tcamerapictures::ShowSelectedThumbnails1Click);
  pictures->addSeparator();
  pictures->addAction("&All Camera Pictures", c, &tcamerapictures::ShowAllPictures1Click);
  pictures->addAction("Se&lected Camera Pictures", c, &tcamerapictures::ShowSelectedPictures1Click);
  pictures->addAction("Camera Picture by N&umber...", c, &tcamerapictures::PicturebyNumber1Click);
  // The same steps as the tool bar's "Forward" and "Back" (slide show, disk browser, camera).
  pictures->addAction("&Next Picture", this, [this] { browser_->Forward(); });
  pictures->addAction("P&revious Picture", this, [this] { browser_->Back(); });
  pictures->addSeparator();
  pictures->addAction("&Take Picture", c, &tcamerapictures::TakePicture1Click);
  pictures->addAction("&Delete Selected Camera Pictures", c, [c] { c->DeleteSelec1Click(true); });
  pictures->addAction("Delete &All Camera Pictures", c, &tcamerapictures::DeleteAllPictures1Click);
  pictures->addSeparator();
  pictures->addAction("Picture &Captions...", c, [c] { c->Captions1Click(false); });
  pictures->addAction("Vantlo Captions...", c, [c] { c->Captions1Click(true); });
  pictures->addSeparator();
  QMenu* select = pictures->addMenu("&Select");
  select->addAction("&All Pictures", c, &tcamerapictures::SelectAll1Click);
  select->addAction("&No Pictures", c, &tcamerapictures::SelectNone1Click);
  select->addAction("&Invert Selection", c, &tcamerapictures::InvertSelection1Click);

  if (QMenu* thumbs = PopupOf(ToolButtons, "ToolButton_Thumbnails")) {
    thumbs->clear();
    thumbs->addAction("Show All Camera Thumbnails", c, &tcamerapictures::ShowThumbnails1Click);
    thumbs->addAction("Show Selected Camera Thumbnails", c,
                      &tcamerapictures::ShowSelectedThumbnails1Click);
    thumbs->addSeparator();
    thumbs->addAction("Select All", c, &tcamerapictures::SelectAll1Click);
    thumbs->addAction("Select None", c, &tcamerapictures::SelectNone1Click);
    thumbs->addAction("Invert Selection", c, &tcamerapictures::InvertSelection1Click);
    thumbs->addSeparator();
    thumbs->addAction("Selected Thumbnail on Camera Display", c,
                      &tcamerapictures::SelectedPictureonCameraDisplay1Click);
    thumbs->addAction("Take Picture", c, &tcamerapictures::TakePicture1Click);
    thumbs->addAction("Delete Selected Pictures", c, [c] { c->DeleteSelec1Click(true); });
    thumbs->addAction("Delete All Pictures", c, &tcamerapictures::DeleteAllPictures1Click);
  }
  if (QMenu* show = PopupOf(ToolButtons, "ToolButton_Show")) {
    show->clear();
    show->addAction("Picture", c, &tcamerapictures::ShowPictures1Click);
    show->addAction("All Camera Pictures", c, &tcamerapictures::ShowAllPictures1Click);
    show->addAction("Selected Camera Pictures", c, &tcamerapictures::ShowSelectedPictures1Click);
    show->addAction("Camera Picture by Number...", c, &tcamerapictures::PicturebyNumber1Click);
    show->addSeparator();
    show->addAction("Forward", this, [this] { browser_->Forward(); });
    show->addAction("Back", this, [this] { browser_->Back(); });
  }
  // The folder choice is shown only while the "Camera" page is.
  connect(pagecontrol1, &QTabWidget::currentChanged, c, [this, c] {
    c->Panel10->setVisible(c->ComboBox5->count() > 0 && pagecontrol1->currentWidget() == TabSheet1);
  });
}

}  // namespace vantlo
