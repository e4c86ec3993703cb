// The Browse page of the main window, offscreen: listing and tiles, mouse
// and key selection, and the commands on selected disk pictures with their
// companion properties files.
#include "app/ui/browsepage.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTreeView>
#include <QUrl>
#include <filesystem>
#include <fstream>

#include "app/ui/browsedialogs.h"
#include "app/ui/camerapage.h"
#include "app/ui/camerapictures.h"
#include "app/ui/deleteempty.h"
#include "app/ui/diskgrid.h"
#include "app/ui/editpicprop.h"
#include "app/ui/findpicsdlg.h"
#include "app/ui/foldertree.h"
#include "app/ui/form1.h"
#include "app/ui/manual.h"
#include "app/ui/pictureview.h"
#include "app/ui/popupbutton.h"
#include "app/ui/savingpage.h"
#include "app/ui/tidydbdlg.h"
#include "app/ui/tilepictures.h"
#include "configdir.h"
#include "library/pictureproperties.h"
#include "library/regconfig.h"
#include "modalcloser.h"
#include "output/drawhelpers.h"
#include "picture/jpegimage.h"
#include "picture/rawencoder.h"
#include "temphome.h"

namespace vantlo {
namespace {

namespace fs = std::filesystem;

void WriteJpeg(const fs::path& path, int w, int h, int seed) {
  const auto bytes = CompressJpeg(MakeTestPicture(w, h, seed), 85, false);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

void SetProps(const fs::path& picture, const std::string& title,
              std::initializer_list<const char*> keywords) {
  tpictureproperties p;
  p.SetFile(picture.string());
  p.SetTitle(title);
  for (const char* k : keywords) p.Keywords().Add(k);
  p.Save();
}

tpictureproperties LoadProps(const fs::path& picture) {
  tpictureproperties p;
  p.SetFile(picture.string());
  p.Load();
  return p;
}

// A window with its Browse page on a temp folder of pictures.
class BrowsePage : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::path(pictures_.path().toStdString());
    fs::create_directory(root_ / "sub");
    WriteJpeg(root_ / "a.jpg", 640, 480, 1);
    WriteJpeg(root_ / "b.jpg", 480, 640, 2);
    WriteJpeg(root_ / "c.jpg", 320, 240, 3);
    {
      // Not a first run: the welcome window would otherwise come up modally half a second
      // after a test shows the window.
      tregconfig reg;
      tconfigrecord config;
      reg.WriteConfig(config);
    }
    form_ = std::make_unique<TForm1>(tstartoptions{});
    form_->Initialise();
    form_->resize(900, 600);
    page_ = &form_->Page<tbrowsepage>();
    page_->message = [this](const std::string& t) { messages_.push_back(t); };
    page_->Activate();
    ASSERT_TRUE(page_->SetFolder(root_.string()));
  }
  void TearDown() override {
    page_->Manager().StopLoading();
    form_->CloseAfterLoop();
  }
  // Runs the window's event loop until the tiles are built.
  void LoadTiles() {
    form_->Page<tbrowsepage>().CheckBox25->setChecked(true);
    QElapsedTimer t;
    t.start();
    while (page_->Manager().Loading() && t.elapsed() < 20000)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  int ItemOf(const std::string& name) const {
    const auto& c = page_->Manager().Collection();
    for (int n = 1; n <= c.Count(); ++n)
      if (c.DisplayName(n) == name) return n;
    return 0;
  }
  void SelectOnly(const std::string& name) {
    page_->Manager().SelectNone();
    page_->Manager().Click(ItemOf(name), {});
  }

  ttemphome home_;
  tconfigdir config_;
  QTemporaryDir pictures_;
  fs::path root_;
  std::unique_ptr<TForm1> form_;
  tbrowsepage* page_ = nullptr;
  std::vector<std::string> messages_;
};

TEST(TilePictures, SevenDistinctTilesOfEightyPixels) {
  const ttilepictures t = DrawTilePictures();
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(t[i].Width(), kTileSize) << i;
    EXPECT_EQ(t[i].Height(), kTileSize) << i;
    for (int j = 0; j < i; ++j) EXPECT_FALSE(t[i] == t[j]) << i << " " << j;
  }
  // The conversion to a Qt image and back keeps every pixel.
  EXPECT_TRUE(BitmapFromImage(ImageFromBitmap(t[tpFolder])) == t[tpFolder]);
}

TEST_F(BrowsePage, ListsTheFolderAndBuildsTilesBetweenEvents) {
  auto& m = page_->Manager();
  // "..", the sub-folder and three JPEG files.
  ASSERT_EQ(m.Count(), 5);
  EXPECT_EQ(m.Collection().DisplayName(2), "sub");
  EXPECT_EQ(form_->Page<tbrowsepage>().Label27->text().toStdString(), "  " + root_.string() + "/");
  EXPECT_FALSE(m.HasThumbnail(ItemOf("a.jpg")));
  LoadTiles();
  EXPECT_FALSE(m.Loading());
  for (const char* n : {"a.jpg", "b.jpg", "c.jpg"}) EXPECT_TRUE(m.HasThumbnail(ItemOf(n))) << n;
  EXPECT_EQ(m.PictureWidth(ItemOf("a.jpg")), 640);
  EXPECT_EQ(m.PictureHeight(ItemOf("b.jpg")), 640);
  // The disk-thumbnail busy slot is free again once loading has finished.
  EXPECT_FALSE(form_->Busy().IsHeld(tbusyregister::slotD));

  // The grid draws the tiles: the first JPEG tile is not window background.
  Tdiskgrid& grid = page_->Grid();
  grid.resize(400, 300);
  grid.Reshape();
  EXPECT_EQ(grid.Shape().columns, grid.viewport()->width() / 80);
  const QImage shot = grid.viewport()->grab().toImage();
  const int n = ItemOf("a.jpg");
  const QPoint centre(((n - 1) % grid.Shape().columns) * 80 + 40,
                      ((n - 1) / grid.Shape().columns) * 80 + 30);
  EXPECT_NE(shot.pixelColor(centre), grid.palette().color(QPalette::Window));
  // The tile drawn equals the thumbnail built.
  EXPECT_EQ(shot.pixelColor(centre), ImageFromBitmap(m.CellPicture(n)).pixelColor(40, 30));
}

TEST_F(BrowsePage, StopEndsLoadingBeforeTheNextItem) {
  auto& m = page_->Manager();
  m.SetAutoload(false);
  form_->Page<tbrowsepage>().CheckBox25->setChecked(
      true);  // starts loading, queued on the event loop
  ASSERT_TRUE(m.Loading());
  m.StopLoading();
  QElapsedTimer t;
  t.start();
  while (m.Loading() && t.elapsed() < 5000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_FALSE(m.Loading());
  int built = 0;
  for (int n = 1; n <= m.Count(); ++n) built += m.HasThumbnail(n);
  EXPECT_EQ(built, 0);
  EXPECT_FALSE(form_->Busy().IsHeld(tbusyregister::slotD));

  // The window's stop request (Stop button, closing) ends a run too.
  form_->Page<tbrowsepage>().CheckBox25->setChecked(false);
  form_->Page<tbrowsepage>().CheckBox25->setChecked(true);
  ASSERT_TRUE(m.Loading());
  form_->StopRequest().Set();
  t.restart();
  while (m.Loading() && t.elapsed() < 5000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_FALSE(m.Loading());
  built = 0;
  for (int n = 1; n <= m.Count(); ++n) built += m.HasThumbnail(n);
  EXPECT_EQ(built, 0);
  form_->StopRequest().Clear();
}

TEST_F(BrowsePage, MouseAndKeysSelect) {
  auto& m = page_->Manager();
  Tdiskgrid& grid = page_->Grid();
  grid.resize(400 + grid.verticalScrollBar()->sizeHint().width(), 300);
  form_->show();
  QCoreApplication::processEvents();
  grid.Reshape();
  const int cols = grid.Shape().columns;
  ASSERT_GE(cols, 3);
  auto cell = [&](int n) { return QPoint(((n - 1) % cols) * 80 + 40, ((n - 1) / cols) * 80 + 40); };
  QWidget* vp = grid.viewport();
  QTest::mouseClick(vp, Qt::LeftButton, {}, cell(3));
  EXPECT_EQ(m.CurrentItem(), 3);
  EXPECT_TRUE(m.Selection().Selected(3));
  EXPECT_FALSE(m.Selection().Selected(1));
  QTest::mouseClick(vp, Qt::LeftButton, Qt::ControlModifier, cell(5));
  EXPECT_TRUE(m.Selection().Selected(3));
  EXPECT_TRUE(m.Selection().Selected(5));
  QTest::mouseClick(vp, Qt::LeftButton, {}, cell(4));
  QTest::mouseClick(vp, Qt::LeftButton, Qt::ShiftModifier, cell(2));
  for (int n = 1; n <= 5; ++n) EXPECT_EQ(m.Selection().Selected(n), n >= 2 && n <= 4) << n;
  EXPECT_EQ(page_->SelectedPictures().size(), 2u);  // the folder is not a picture

  // A plain click on a selected item among others: only it stays, flipped
  // off. A plain click on an unselected one selects it alone.
  QTest::mouseClick(vp, Qt::LeftButton, {}, cell(4));
  EXPECT_EQ(m.Selection().SelectedCount(), 0);
  QTest::qWait(QApplication::doubleClickInterval() + 50);
  QTest::mouseClick(vp, Qt::LeftButton, {}, cell(5));
  EXPECT_TRUE(m.Selection().Selected(5));
  EXPECT_EQ(m.Selection().SelectedCount(), 1);
  // A click beyond the last item deselects the current one.
  QTest::mouseClick(vp, Qt::LeftButton, {}, QPoint(cols * 80 - 10, 2 * 80 + 40));
  EXPECT_FALSE(m.Selection().Selected(5));

  grid.setFocus();
  QTest::keyClick(vp, Qt::Key_Left);
  EXPECT_EQ(m.CurrentItem(), 4);
  QTest::keyClick(vp, Qt::Key_Right);
  EXPECT_EQ(m.CurrentItem(), 5);
  QTest::keyClick(vp, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(m.Selection().SelectedCount(), 5);
  // Forward and Back step the current item.
  page_->Back();
  EXPECT_EQ(m.CurrentItem(), 4);
  page_->Back();
  page_->Forward();
  page_->Back();
  EXPECT_EQ(m.CurrentItem(), 3);

  // Double-click on the folder tile opens it and shows it in the caption.
  QTest::mouseDClick(vp, Qt::LeftButton, {}, cell(ItemOf("sub")));
  EXPECT_EQ(form_->Page<tbrowsepage>().Label27->text().toStdString(),
            "  " + (root_ / "sub").string() + "/");
  EXPECT_EQ(m.Count(), 1);  // only ".."
}

TEST_F(BrowsePage, RenameCarriesTheCompanionAndCancelEndsTheRun) {
  SetProps(root_ / "a.jpg", "Harbour", {"boats"});
  SelectOnly("a.jpg");
  page_->askRename = [&](std::string& path) {
    path = (root_ / "renamed.jpg").string();
    return 0;
  };
  page_->RenameSelected();
  EXPECT_FALSE(fs::exists(root_ / "a.jpg"));
  EXPECT_FALSE(fs::exists(root_ / "a.QVJ"));
  EXPECT_TRUE(fs::exists(root_ / "renamed.jpg"));
  EXPECT_EQ(LoadProps(root_ / "renamed.jpg").Title(), "Harbour");
  EXPECT_GT(ItemOf("renamed.jpg"), 0);  // the listing was refreshed

  // Renaming onto an existing file is refused with the user's message and
  // replaces nothing.
  SelectOnly("b.jpg");
  page_->askRename = [&](std::string& path) {
    path = (root_ / "c.jpg").string();
    return 0;
  };
  page_->RenameSelected();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].rfind("Unable to rename \"", 0), 0u) << messages_[0];
  EXPECT_TRUE(fs::exists(root_ / "b.jpg"));

  // Cancel ends the run: nothing after it is asked.
  page_->Manager().SelectAll();
  int asked = 0;
  page_->askRename = [&](std::string&) {
    ++asked;
    return 2;
  };
  page_->RenameSelected();
  EXPECT_EQ(asked, 1);
}

TEST_F(BrowsePage, DeleteAsksWhenConfirmationIsOnAndTakesTheCompanion) {
  SetProps(root_ / "b.jpg", "Bridge", {});
  SelectOnly("b.jpg");
  form_->Settings().config.SetConfirmDeleteFile(true);
  form_->ApplySettingsToControls();
  std::vector<std::string> asked;
  page_->confirm = [&](const std::string& prompt, const std::string& path) {
    asked.push_back(prompt + path);
    return tanswer::No;
  };
  page_->DeleteSelected();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], "Do you want to delete " + (root_ / "b.jpg").string());
  EXPECT_TRUE(fs::exists(root_ / "b.jpg"));

  form_->Settings().config.SetConfirmDeleteFile(false);
  form_->ApplySettingsToControls();
  page_->DeleteSelected();
  EXPECT_EQ(asked.size(), 1u);  // no question with the confirmation off
  EXPECT_FALSE(fs::exists(root_ / "b.jpg"));
  EXPECT_FALSE(fs::exists(root_ / "b.QVJ"));
  EXPECT_EQ(ItemOf("b.jpg"), 0);

  page_->Manager().SelectNone();
  page_->DeleteSelected();
  EXPECT_EQ(messages_.back(), "No Pictures are Selected");
}

TEST_F(BrowsePage, CopyAndMoveWithOverwriteQuestions) {
  QTemporaryDir target;
  const fs::path to(target.path().toStdString());
  WriteJpeg(to / "a.jpg", 16, 16, 9);
  WriteJpeg(to / "c.jpg", 16, 16, 9);
  SetProps(root_ / "a.jpg", "Alpha", {});
  page_->Manager().SelectAll();
  form_->Settings().config.SetConfirmOverwrite(true);
  form_->ApplySettingsToControls();
  page_->chooseFolder = [&](const std::string&) { return to.string() + "/"; };
  int asked = 0;
  page_->confirm = [&](const std::string& prompt, const std::string&) {
    EXPECT_EQ(prompt, "Do you want to overwrite ");
    ++asked;
    return tanswer::YesToAll;
  };
  page_->CopySelected(false);
  EXPECT_EQ(asked, 1);  // "Yes to All" ends the asking
  EXPECT_EQ(fs::file_size(to / "a.jpg"), fs::file_size(root_ / "a.jpg"));
  EXPECT_EQ(fs::file_size(to / "c.jpg"), fs::file_size(root_ / "c.jpg"));
  EXPECT_EQ(LoadProps(to / "a.jpg").Title(), "Alpha");
  EXPECT_TRUE(fs::exists(root_ / "a.jpg"));

  // Cancelling the folder choice does nothing.
  page_->chooseFolder = [](const std::string&) { return std::string(); };
  page_->CopySelected(true);
  EXPECT_TRUE(fs::exists(root_ / "a.jpg"));

  QTemporaryDir target2;
  const fs::path to2(target2.path().toStdString());
  page_->chooseFolder = [&](const std::string&) { return to2.string(); };
  page_->Manager().SelectAll();
  page_->CopySelected(true);
  EXPECT_FALSE(fs::exists(root_ / "a.jpg"));
  EXPECT_FALSE(fs::exists(root_ / "a.QVJ"));
  EXPECT_EQ(LoadProps(to2 / "a.jpg").Title(), "Alpha");
  EXPECT_TRUE(fs::exists(root_ / "sub"));  // folders are not pictures
  EXPECT_EQ(page_->Manager().Count(), 2);  // "..", "sub"
}

TEST_F(BrowsePage, PropertiesDialogWritesACompanionThatReadsBack) {
  LoadTiles();
  SelectOnly("a.jpg");
  bool shown = false;
  page_->runDialog = [&](QDialog& d) {
    auto& dlg = dynamic_cast<Teditpicprop&>(d);
    shown = true;
    EXPECT_EQ(dlg.TypeLabel->text(), "JPEG File");
    EXPECT_EQ(dlg.DimensionsLabel->text(), "640 x 480");
    EXPECT_TRUE(dlg.SizeLabel->text().endsWith(" bytes"));
    EXPECT_FALSE(dlg.Orientation->isVisibleTo(&dlg));
    dlg.Edit1->setText("Quay");
    dlg.Memo1->setPlainText("red\n\ncar");
    dlg.Memo2->setPlainText("Sea\nboats\nsea");
    dlg.SaveFields();
    return int(QDialog::Accepted);
  };
  page_->PictureProperties();
  ASSERT_TRUE(shown);
  const tpictureproperties p = LoadProps(root_ / "a.jpg");
  EXPECT_EQ(p.Title(), "Quay");
  EXPECT_EQ(p.Keywords().Items(), (std::vector<std::string>{"boats", "sea"}));
  EXPECT_EQ(p.Description(), (std::vector<std::string>{"red", "car"}));  // the gap closes
  EXPECT_EQ(fs::file_size(root_ / "a.QVJ"), kPropertiesSize);

  // Opened again, the dialog shows what was saved; Clear and OK remove the file.
  page_->runDialog = [&](QDialog& d) {
    auto& dlg = dynamic_cast<Teditpicprop&>(d);
    EXPECT_EQ(dlg.Edit1->text(), "Quay");
    EXPECT_EQ(dlg.Memo2->toPlainText(), "boats\nsea");
    dlg.ClearFields();
    dlg.SaveFields();
    return int(QDialog::Accepted);
  };
  page_->PictureProperties();
  EXPECT_FALSE(fs::exists(root_ / "a.QVJ"));

  // From another page the user is sent to the browser.
  form_->PageControl2->setCurrentWidget(&form_->PictureView());
  page_->PictureProperties();
  EXPECT_EQ(messages_.back(), "Please select a picture on disk using the Browser");
  form_->PageControl2->setCurrentWidget(&form_->Page<tbrowsepage>());

  // A folder is not a picture.
  page_->Manager().MoveToItem(ItemOf("sub"));
  page_->PictureProperties();
  EXPECT_EQ(messages_.back(), "Please select a picture");
}

TEST_F(BrowsePage, FindShowsItsResultsInTheBrowserAndRefreshComesBack) {
  fs::create_directory(root_ / "sub" / "deeper");
  WriteJpeg(root_ / "sub" / "deeper" / "d.jpg", 64, 48, 4);
  SetProps(root_ / "sub" / "deeper" / "d.jpg", "", {"seaside"});
  SetProps(root_ / "c.jpg", "", {"ocean"});
  SetProps(root_ / "a.jpg", "", {"se"});
  page_->runDialog = [&](QDialog& d) {
    auto& dlg = dynamic_cast<Tfindpics&>(d);
    EXPECT_EQ(dlg.Folder->text().toStdString(), root_.string() + "/");
    dlg.Edit1->setText("sea");
    dlg.ComboBox1->setCurrentIndex(0);  // Keywords
    dlg.FindClick();
    EXPECT_EQ(dlg.Status->text(), "2 pictures found");
    EXPECT_EQ(dlg.ListBox1->count(), 2);
    EXPECT_EQ(dlg.SecondButton->text(), "Close");
    EXPECT_TRUE(dlg.SecondButton->isDefault());
    dlg.SecondClick();
    return dlg.result();
  };
  page_->FindPictures();
  EXPECT_EQ(page_->Manager().Count(), 2);
  EXPECT_EQ(form_->Page<tbrowsepage>().Label27->text(), " Search Results");
  EXPECT_EQ(form_->Page<tbrowsepage>().RefreshButton->text(), "<Disk>");
  EXPECT_GT(ItemOf("d.jpg"), 0);

  // Stop during the search ends it and keeps what was found so far.
  page_->runDialog = [&](QDialog& d) {
    auto& dlg = dynamic_cast<Tfindpics&>(d);
    dlg.Edit1->setText("sea");
    QTimer::singleShot(0, &dlg, [&dlg] {
      EXPECT_EQ(dlg.SecondButton->text(), "Stop");
      dlg.SecondClick();
    });
    dlg.FindClick();
    EXPECT_TRUE(dlg.Status->text().endsWith("(stopped)")) << dlg.Status->text().toStdString();
    EXPECT_EQ(dlg.SecondButton->text(), "Close");
    EXPECT_FALSE(dlg.Searching());
    return int(QDialog::Rejected);
  };
  page_->FindPictures();
  EXPECT_EQ(page_->Manager().Count(), 2);  // a rejected dialog leaves the listing

  // Without subfolders, in file-name mode.
  page_->runDialog = [&](QDialog& d) {
    auto& dlg = dynamic_cast<Tfindpics&>(d);
    dlg.Folder->setText(QString::fromStdString(root_.string()));
    dlg.Edit1->setText("*.jpg");
    dlg.ComboBox1->setCurrentIndex(3);
    dlg.Subfolders->setChecked(false);
    dlg.FindClick();
    EXPECT_EQ(dlg.ListBox1->count(), 3);
    dlg.SecondClick();
    return dlg.result();
  };
  page_->FindPictures();
  EXPECT_EQ(page_->Manager().Count(), 3);

  // No file kind ticked: the user is told, and nothing is searched.
  page_->runDialog = [&](QDialog& d) {
    tmodalcloser boxes;
    auto& dlg = dynamic_cast<Tfindpics&>(d);
    dlg.Edit1->setText("sea");
    dlg.JpgFiles->setChecked(false);
    dlg.CamFiles->setChecked(false);
    dlg.FindClick();
    EXPECT_TRUE(boxes.texts.contains("You have not selected any files to Look For"));
    EXPECT_EQ(dlg.SecondButton->text(), "Close");
    return int(QDialog::Rejected);
  };
  page_->FindPictures();

  form_->Page<tbrowsepage>().directoryoutline1->setCurrentIndex(QModelIndex());
  page_->RefreshClick();
  EXPECT_EQ(form_->Page<tbrowsepage>().RefreshButton->text(), "Refresh");
  EXPECT_NE(form_->Page<tbrowsepage>().Label27->text(), " Search Results");
}

TEST_F(BrowsePage, AddKeywordsAndDefineOrientation) {
  std::ofstream(root_ / "m.CAM", std::ios::binary) << "not really a CAM file";
  page_->RefreshClick();
  page_->Manager().SelectAll();
  page_->runDialog = [&](QDialog& d) {
    auto& dlg = dynamic_cast<Taddkeywords&>(d);
    EXPECT_EQ(dlg.Label1->text(), "You have selected 4 pictures");
    dlg.Memo1->setPlainText("Harbour\n\nquay");
    return int(QDialog::Accepted);
  };
  page_->AddKeywords();
  for (const char* n : {"a.jpg", "b.jpg", "c.jpg", "m.CAM"})
    EXPECT_EQ(LoadProps(root_ / n).Keywords().Items(),
              (std::vector<std::string>{"harbour", "quay"}))
        << n;

  page_->runDialog = [&](QDialog& d) {
    auto& dlg = dynamic_cast<Tdefineorientation&>(d);
    dlg.ComboBox1->setCurrentIndex(2);
    return int(QDialog::Accepted);
  };
  page_->DefineOrientationSelected();
  EXPECT_EQ(LoadProps(root_ / "m.CAM").Orientation(), 2u);
  EXPECT_EQ(LoadProps(root_ / "a.jpg").Orientation(), 0u);

  SelectOnly("a.jpg");
  page_->DefineOrientationSelected();
  EXPECT_EQ(messages_.back(), "Please select one or more CAM files");

  // The properties dialog of a CAM file shows its type and orientation.
  page_->Manager().MoveToItem(ItemOf("m.CAM"));
  page_->runDialog = [&](QDialog& d) {
    auto& dlg = dynamic_cast<Teditpicprop&>(d);
    EXPECT_EQ(dlg.TypeLabel->text(), "CAM File");
    EXPECT_EQ(dlg.DimensionsLabel->text(), "Type not known");  // no thumbnail built
    EXPECT_TRUE(dlg.Orientation->isVisibleTo(&dlg));
    EXPECT_EQ(dlg.Orientation->currentText(), "Upside Down");
    dlg.Orientation->setCurrentIndex(3);
    dlg.SaveFields();
    return int(QDialog::Accepted);
  };
  page_->PictureProperties();
  EXPECT_EQ(LoadProps(root_ / "m.CAM").Orientation(), 3u);
  EXPECT_EQ(LoadProps(root_ / "m.CAM").Keywords().Size(), 2u);
}

TEST_F(BrowsePage, CompressReportsWhatItRemoved) {
  SetProps(root_ / "a.jpg", "kept", {});
  SetProps(root_ / "c.jpg", "orphan", {});
  fs::remove(root_ / "c.jpg");
  page_->runDialog = [&](QDialog& d) {
    auto& dlg = dynamic_cast<Ttidydb&>(d);
    dlg.CompressClick();
    EXPECT_EQ(dlg.Result().removed, 1);
    EXPECT_TRUE(dlg.Result().Ok());
    EXPECT_EQ(dlg.Status->text(), "Finished Compressing");
    EXPECT_EQ(dlg.Counter->text(), "Number of files removed : 1");
    return int(QDialog::Accepted);
  };
  page_->CompressDatabase();
  EXPECT_TRUE(fs::exists(root_ / "a.QVJ"));
  EXPECT_FALSE(fs::exists(root_ / "c.QVJ"));

  // Stop ends the run and says so.
  SetProps(root_ / "b.jpg", "orphan too", {});
  fs::remove(root_ / "b.jpg");
  page_->runDialog = [&](QDialog& d) {
    auto& dlg = dynamic_cast<Ttidydb&>(d);
    QTimer::singleShot(0, &dlg, [&dlg] { dlg.StopButton->click(); });
    dlg.CompressClick();
    EXPECT_TRUE(dlg.Result().stopped);
    EXPECT_EQ(dlg.Status->text(), "Stopped");
    EXPECT_TRUE(dlg.CompressButton->isEnabled());
    return int(QDialog::Accepted);
  };
  page_->CompressDatabase();

  // A folder that cannot be walked is reported as a failure, never as
  // "Finished Compressing".
  page_->runDialog = [&](QDialog& d) {
    tmodalcloser boxes;
    auto& dlg = dynamic_cast<Ttidydb&>(d);
    dlg.Folder->setText(QString::fromStdString((root_ / "missing").string()));
    dlg.CompressClick();
    EXPECT_FALSE(dlg.Result().Ok());
    EXPECT_NE(dlg.Status->text(), "Finished Compressing");
    EXPECT_FALSE(boxes.texts.isEmpty());
    return int(QDialog::Accepted);
  };
  page_->CompressDatabase();
}

TEST_F(BrowsePage, DeleteEmptyFoldersRefusesWithoutAnOutputFolder) {
  // An empty output folder is the Pictures folder, and the dialog starts there.
  form_->Settings().config.SetSaveFolder("");
  fs::create_directory(home_.Pictures() / "empty");
  page_->runDialog = [&](QDialog& d) {
    auto& dlg = dynamic_cast<Tdeleteempty&>(d);
    EXPECT_EQ(dlg.Edit1->text().toStdString(), home_.Pictures().string() + "/");
    dlg.RemoveClick();
    EXPECT_EQ(dlg.LastMessage(), "1 empty folders deleted. 0 folders skipped");
    return int(QDialog::Accepted);
  };
  page_->DeleteEmptyFolders();
  EXPECT_FALSE(fs::exists(home_.Pictures() / "empty"));

  // A folder field emptied by hand is refused, never taken as the root of the file system.
  page_->runDialog = [&](QDialog& d) {
    tmodalcloser boxes;
    auto& dlg = dynamic_cast<Tdeleteempty&>(d);
    dlg.Edit1->clear();
    dlg.RemoveClick();
    EXPECT_FALSE(boxes.texts.isEmpty());
    return int(QDialog::Accepted);
  };
  page_->DeleteEmptyFolders();
  EXPECT_TRUE(fs::exists(root_ / "sub"));

  fs::create_directories(root_ / "full" / "inner");
  form_->Settings().config.SetSaveFolder(root_.string());
  page_->runDialog = [&](QDialog& d) {
    auto& dlg = dynamic_cast<Tdeleteempty&>(d);
    EXPECT_EQ(dlg.Edit1->text().toStdString(), root_.string() + "/");
    dlg.RemoveClick();
    EXPECT_EQ(dlg.LastMessage(), "1 empty folders deleted. 1 folders skipped");
    return int(QDialog::Accepted);
  };
  page_->DeleteEmptyFolders();
  EXPECT_FALSE(fs::exists(root_ / "sub"));
  EXPECT_TRUE(fs::exists(root_ / "full" / "inner"));
  EXPECT_EQ(ItemOf("sub"), 0);  // the listing was refreshed
}

// With a disk picture shown on the Picture page, "Forward" and "Back" move the browser's
// selection and open the picture there.
TEST_F(BrowsePage, ForwardAndBackOpenTheNeighbouringDiskPictures) {
  ASSERT_TRUE(form_->OpenPictureFile((root_ / "b.jpg").string(), false));
  form_->PageControl2->setCurrentWidget(&form_->PictureView());
  std::vector<std::string> opened;
  page_->openPicture = [&](const std::string& path) {
    opened.push_back(path);
    return true;
  };
  page_->Manager().MoveToItem(ItemOf("b.jpg"));
  page_->Forward();
  page_->Back();
  page_->Back();
  ASSERT_EQ(opened.size(), 3u);
  EXPECT_EQ(opened[0], (root_ / "c.jpg").string());
  EXPECT_EQ(opened[1], (root_ / "b.jpg").string());
  EXPECT_EQ(opened[2], (root_ / "a.jpg").string());
}

TEST_F(BrowsePage, TodayListsTheOutputFolderAndEnterOpensThePicture) {
  fs::create_directory(root_ / "out");
  WriteJpeg(root_ / "out" / "today.jpg", 64, 48, 7);
  form_->Settings().config.SetSaveFolder((root_ / "out").string());
  form_->Settings().config.SetDailyFolder(false);
  form_->ApplySettingsToControls();  // Today reads the settings from the controls
  page_->TodayClick();
  EXPECT_EQ(form_->Page<tbrowsepage>().Label27->text().toStdString(),
            "  " + (root_ / "out").string() + "/");
  ASSERT_GT(ItemOf("today.jpg"), 0);

  std::vector<std::string> opened;
  page_->openPicture = [&](const std::string& path) {
    opened.push_back(path);
    return true;
  };
  Tdiskgrid& grid = page_->Grid();
  page_->Manager().MoveToItem(ItemOf("today.jpg"));
  QTest::keyClick(grid.viewport(), Qt::Key_Return);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], (root_ / "out" / "today.jpg").string());
  // The "Picture" button opens the selected disk picture while the Browse page is shown.
  form_->PageControl2->setCurrentWidget(&form_->Page<tbrowsepage>());
  form_->Page<tcamerapage>().Pictures().ShowPictures1Click();
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[1], (root_ / "out" / "today.jpg").string());

  // A missing output folder is reported, and the listing stays.
  form_->Settings().config.SetSaveFolder((root_ / "gone").string());
  form_->ApplySettingsToControls();
  page_->TodayClick();
  EXPECT_FALSE(messages_.empty());
  EXPECT_GT(ItemOf("today.jpg"), 0);
}

TEST_F(BrowsePage, MenuHoldsTheCommandsAndFtpSendingAsksForFilesAndAFreeProgram) {
  QMenu* menu = form_->findChild<QMenu*>("DiskMenu");
  ASSERT_NE(menu, nullptr);
  QStringList texts;
  for (QAction* a : menu->actions()) texts << a->text();
  for (const char* t : {"Delete Selected D&isk Pictures", "Copy Se&lected Disk Pictures...",
                        "Mo&ve Selected Disk Pictures...", "&Rename Selected Disk Pictures...",
                        "Delete Empty Folders", "Slide Show - Selected Disk Pictures",
                        "Slide Show - All Disk Pictures", "Send Selected Files using FTP..."})
    EXPECT_TRUE(texts.contains(t)) << t;
  ASSERT_NE(page_->FtpSendAction, nullptr);
  EXPECT_TRUE(page_->FtpSendAction->isEnabled());

  // Nothing selected: said so, and no dialog opens.
  tmodalcloser boxes(true);
  page_->Manager().SelectNone();
  page_->FtpSendAction->trigger();
  EXPECT_EQ(boxes.texts, QStringList{"No files are selected"});

  // While camera work runs nothing is sent.
  SelectOnly("a.jpg");
  ASSERT_TRUE(form_->BusyControl(tbusyregister::kPictures));
  page_->FtpSendAction->trigger();
  form_->BusyControl(tbusyregister::kPictures + 1);
  EXPECT_EQ(messages_, std::vector<std::string>{"Vantlo is busy"});
  EXPECT_EQ(boxes.texts.size(), 1);
}

TEST_F(BrowsePage, SlideShowStepsBackFromTheFirstToTheLastAndStops) {
  form_->Settings().diskman.SetSlideShowDelayIndex(0);  // two minutes: only the buttons move on
  form_->ApplySettingsToControls();                     // the show reads the speed slider
  std::vector<std::string> shown;
  page_->openPicture = [&](const std::string& path) {
    shown.push_back(fs::path(path).filename().string());
    if (shown.size() == 1) QTimer::singleShot(0, page_, [this] { page_->Back(); });
    if (shown.size() == 2) QTimer::singleShot(0, page_, [this] { page_->Forward(); });
    if (shown.size() == 3) QTimer::singleShot(0, page_, [this] { page_->StopSlideShow(); });
    return true;
  };
  page_->SlideShow(false);
  EXPECT_EQ(shown, (std::vector<std::string>{"a.jpg", "c.jpg", "a.jpg"}));
  EXPECT_FALSE(page_->SlideShowRunning());
  EXPECT_FALSE(form_->Busy().IsHeld(tbusyregister::slotS));
  page_->Manager().SelectNone();
  page_->SlideShow(true);
  EXPECT_EQ(messages_.back(), "No Pictures are Selected");
}

// Find checks the file kinds in every mode, file names too, before searching; Escape during a
// search stops it, and the dialog closes only once the search has ended.
TEST_F(BrowsePage, FindAsksForAFileKindInEveryModeAndEscapeStopsTheSearch) {
  SetProps(root_ / "a.jpg", "", {"sea"});
  page_->runDialog = [&](QDialog& d) {
    auto& dlg = dynamic_cast<Tfindpics&>(d);
    QStringList said;
    dlg.message = [&](const QString& t) { said << t; };
    dlg.Edit1->setText("*.jpg");
    dlg.ComboBox1->setCurrentIndex(3);  // Filename
    dlg.JpgFiles->setChecked(false);
    dlg.CamFiles->setChecked(false);
    dlg.FindClick();
    EXPECT_EQ(said, QStringList{"You have not selected any files to Look For"});
    EXPECT_EQ(dlg.ListBox1->count(), 0);
    EXPECT_EQ(dlg.SecondButton->text(), "Close");
    return int(QDialog::Rejected);
  };
  page_->FindPictures();

  page_->runDialog = [&](QDialog& d) {
    auto& dlg = dynamic_cast<Tfindpics&>(d);
    dlg.show();
    bool searchingWhenClosed = true;
    QObject::connect(&dlg, &QDialog::rejected, &dlg,
                     [&] { searchingWhenClosed = dlg.Searching(); });
    dlg.Edit1->setText("sea");
    QTimer::singleShot(0, &dlg, [&dlg] {
      EXPECT_TRUE(dlg.Searching());
      QTest::keyClick(&dlg, Qt::Key_Escape);
      EXPECT_TRUE(dlg.isVisible());  // not while the search runs
    });
    dlg.FindClick();
    EXPECT_FALSE(dlg.Searching());
    EXPECT_TRUE(dlg.Status->text().endsWith("(stopped)")) << dlg.Status->text().toStdString();
    EXPECT_FALSE(searchingWhenClosed);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), int(QDialog::Rejected));
    return dlg.result();
  };
  const int before = page_->Manager().Count();
  page_->FindPictures();
  EXPECT_EQ(page_->Manager().Count(), before);  // a closed search shows nothing
}

// The menu items "&Next Picture" / "P&revious Picture" and the Show button's "Forward" / "Back"
// step as the tool bar buttons do: the disk browser on the Browse page, the slide show while one
// runs.
TEST_F(BrowsePage, NextPictureMenuItemsStepLikeTheToolBar) {
  auto actionIn = [](const QList<QAction*>& actions, const QString& text) -> QAction* {
    for (QAction* a : actions)
      if (a->text() == text) return a;
    return nullptr;
  };
  QMenu* pictures = nullptr;
  for (QAction* a : form_->menuBar()->actions())
    if (a->text() == "&Pictures") pictures = a->menu();
  ASSERT_NE(pictures, nullptr);
  QMenu* show = nullptr;
  for (tpopupbutton* b : form_->ToolButtons)
    if (b->objectName() == "ToolButton_Show") show = b->PopupMenu();
  ASSERT_NE(show, nullptr);
  QAction* next = actionIn(pictures->actions(), "&Next Picture");
  QAction* previous = actionIn(pictures->actions(), "P&revious Picture");
  QAction* forward = actionIn(show->actions(), "Forward");
  QAction* back = actionIn(show->actions(), "Back");
  ASSERT_TRUE(next && previous && forward && back);

  form_->PageControl2->setCurrentWidget(&form_->Page<tbrowsepage>());
  auto& m = page_->Manager();
  m.MoveToItem(ItemOf("a.jpg"));
  next->trigger();
  ASSERT_EQ(m.CurrentItem(), ItemOf("b.jpg"));
  forward->trigger();
  EXPECT_EQ(m.CurrentItem(), ItemOf("c.jpg"));
  back->trigger();
  previous->trigger();
  EXPECT_EQ(m.CurrentItem(), ItemOf("a.jpg"));

  // During a slide show they move the show on and back.
  form_->Settings().diskman.SetSlideShowDelayIndex(0);
  form_->ApplySettingsToControls();
  std::vector<std::string> shown;
  page_->openPicture = [&](const std::string& path) {
    shown.push_back(fs::path(path).filename().string());
    QAction* step = nullptr;
    if (shown.size() == 1) step = next;
    if (shown.size() == 2) step = previous;
    if (shown.size() == 3) step = forward;
    if (step)
      QMetaObject::invokeMethod(step, &QAction::trigger, Qt::QueuedConnection);
    else
      QMetaObject::invokeMethod(page_, &tbrowsepage::StopSlideShow, Qt::QueuedConnection);
    return true;
  };
  page_->SlideShow(false);
  EXPECT_EQ(shown, (std::vector<std::string>{"a.jpg", "b.jpg", "a.jpg", "b.jpg"}));
}

// Help > Manual on a machine without a desktop viewer (no xdg-open on the path) shows the README
// in a window of the program's own; with a viewer that opens it, no window of ours comes up.
TEST_F(BrowsePage, ManualOpensInAWindowOfItsOwnWithoutADesktopViewer) {
  const QString manual = FindManual(QCoreApplication::applicationDirPath());
  ASSERT_TRUE(manual.endsWith("/README.md")) << manual.toStdString();

  QTemporaryDir emptyPath;
  const QByteArray oldPath = qgetenv("PATH");
  qputenv("PATH", emptyPath.path().toUtf8());
  QAction* item = nullptr;
  for (QAction* a : form_->menuBar()->actions())
    if (a->text() == "&Help")
      for (QAction* h : a->menu()->actions())
        if (h->text() == "&Manual") item = h;
  ASSERT_NE(item, nullptr);
  item->trigger();
  qputenv("PATH", oldPath);
  auto* window = form_->findChild<Tmanual*>();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->Text->toPlainText().contains("Where settings and pictures go"));

  // Asked again: the same window; a viewer that opens the file: none of ours.
  QUrl asked;
  EXPECT_EQ(ShowManual(form_.get(), manual, [](const QUrl&) { return false; }), window);
  window->close();
  EXPECT_EQ(ShowManual(form_.get(), manual,
                       [&](const QUrl& u) {
                         asked = u;
                         return true;
                       }),
            nullptr);
  EXPECT_EQ(asked, QUrl::fromLocalFile(manual));
  EXPECT_FALSE(window->isVisible());
}

// The folder tree is rooted as file managers root theirs: the home folder, the Pictures folder,
// mounted media and "/", with the output folder opened and the listed folder selected.
TEST_F(BrowsePage, FolderTreeStartsAtHomePicturesMediaAndRoot) {
  auto* model =
      qobject_cast<tfoldertreemodel*>(form_->Page<tbrowsepage>().directoryoutline1->model());
  ASSERT_NE(model, nullptr);
  ASSERT_GE(model->rowCount(), 3);
  const QString home = QString::fromStdString(fs::canonical(home_.Path()).string());
  const QString pictures = QString::fromStdString(fs::canonical(home_.Pictures()).string());
  EXPECT_EQ(model->index(0, 0).data().toString(), "Home");
  EXPECT_EQ(model->filePath(model->index(0, 0)), home);
  EXPECT_EQ(model->index(1, 0).data().toString(), "Pictures");
  EXPECT_EQ(model->filePath(model->index(1, 0)), pictures);
  const QModelIndex last = model->index(model->rowCount() - 1, 0);
  EXPECT_EQ(model->filePath(last), "/");
  for (int r = 2; r < model->rowCount() - 1; ++r) {  // mounted media, if the machine has any
    const QString medium = model->filePath(model->index(r, 0));
    EXPECT_TRUE(medium.startsWith("/media/") || medium.startsWith("/run/media/") ||
                medium.startsWith("/mnt/"))
        << medium.toStdString();
  }
  EXPECT_FALSE(form_->Page<tbrowsepage>().directoryoutline1->isExpanded(
      model->index(0, 0)));  // nothing shown there

  // The output folder is opened, under the Pictures folder that holds it.
  fs::create_directories(home_.Pictures() / "out" / "inner");
  form_->Settings().config.SetSaveFolder((home_.Pictures() / "out").string());
  page_->Activate();
  const QModelIndex out = model->IndexOf(pictures + "/out");
  ASSERT_TRUE(out.isValid());
  EXPECT_EQ(out.parent(), model->index(1, 0));
  EXPECT_TRUE(form_->Page<tbrowsepage>().directoryoutline1->isExpanded(out));
  EXPECT_TRUE(form_->Page<tbrowsepage>().directoryoutline1->isExpanded(out.parent()));
  EXPECT_TRUE(model->hasChildren(out));  // "inner"

  // The listed folder is the tree's current one; a folder made since shows after Refresh, and
  // choosing one in the tree lists it.
  const QString listed = QString::fromStdString(fs::canonical(root_).string());
  EXPECT_EQ(model->filePath(form_->Page<tbrowsepage>().directoryoutline1->currentIndex()), listed);
  fs::create_directory(root_ / "fresh");
  page_->RefreshClick();
  const QModelIndex fresh = model->IndexOf(listed + "/fresh");
  ASSERT_TRUE(fresh.isValid());
  EXPECT_EQ(fresh.parent(), model->IndexOf(listed));
  fs::remove(root_ / "fresh");
  page_->RefreshClick();
  EXPECT_FALSE(model->IndexOf(listed + "/fresh").isValid());
  emit form_->Page<tbrowsepage>().directoryoutline1->clicked(model->IndexOf(listed + "/sub"));
  EXPECT_EQ(form_->Page<tbrowsepage>().Label27->text(), "  " + listed + "/sub/");
}

// "Define Orientation" names what it defines and asks "Select the correct orientation :".
TEST(DefineOrientation, AsksForTheCorrectOrientation) {
  Tdefineorientation dlg("You have selected 2 CAM files", 1);
  EXPECT_EQ(dlg.windowTitle(), "Define Orientation");
  EXPECT_EQ(dlg.Prompt->text(), "You have selected 2 CAM files");
  EXPECT_EQ(dlg.Label1->text(), "Select the correct orientation :");
  EXPECT_EQ(dlg.ComboBox1->currentIndex(), 1);
  QStringList labels;
  for (QLabel* l : dlg.findChildren<QLabel*>()) labels << l->text();
  EXPECT_TRUE(labels.contains("Select the correct orientation :"));
}

// The window's "a file was written" notice refreshes the listing when the file lies in the listed
// folder or in a new folder right under it (a daily folder), once for a batch of saves.
TEST_F(BrowsePage, WrittenFilesInTheListedFolderAppear) {
  auto settle = [&] {
    for (int i = 0; i < 100 && page_->RefreshPending(); ++i)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  };
  WriteJpeg(root_ / "new1.jpg", 32, 24, 5);
  WriteJpeg(root_ / "new2.jpg", 32, 24, 6);
  form_->FileWritten((root_ / "new1.jpg").string());
  form_->FileWritten((root_ / "new2.jpg").string());
  EXPECT_TRUE(page_->RefreshPending());
  settle();
  EXPECT_FALSE(page_->RefreshPending());
  EXPECT_GT(ItemOf("new1.jpg"), 0);
  EXPECT_GT(ItemOf("new2.jpg"), 0);

  fs::create_directory(root_ / "06dec26");
  WriteJpeg(root_ / "06dec26" / "06dec26001.jpg", 32, 24, 7);
  form_->FileWritten((root_ / "06dec26" / "06dec26001.jpg").string());
  settle();
  EXPECT_GT(ItemOf("06dec26"), 0);

  // Elsewhere: nothing to show here.
  QTemporaryDir other;
  form_->FileWritten(other.path().toStdString() + "/x.jpg");
  EXPECT_FALSE(page_->RefreshPending());
}

// An empty output folder and an empty browse folder are the user's Pictures folder as
// user-dirs.dirs names it, and the program never moves its current directory to follow the
// folder it browses.
TEST(PicturesFolder, EmptyFoldersAreThePicturesFolderAndTheCurrentDirectoryStays) {
  ttemphome home;
  const fs::path bilder = home.Path() / "Bilder";
  fs::create_directories(bilder);
  std::ofstream(home.Path() / ".config" / "user-dirs.dirs")
      << "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n";
  tconfigdir config;
  const QString cwd = QDir::currentPath();
  {
    TForm1 form(tstartoptions{});
    form.Initialise();
    EXPECT_EQ(form.Page<tbrowsepage>().Label27->text().toStdString(), "  " + bilder.string() + "/");
    form.Settings().config.SetDailyFolder(false);
    form.ApplySettingsToControls();
    EXPECT_EQ(form.Page<tsavingpage>().FolderEdit->text().toStdString(), bilder.string());
    std::vector<std::string> said;
    form.Page<tbrowsepage>().message = [&](const std::string& t) { said.push_back(t); };
    form.Page<tbrowsepage>().Activate();
    form.Page<tbrowsepage>().TodayClick();  // the output folder, which is the Pictures folder
    EXPECT_EQ(form.Page<tbrowsepage>().Label27->text().toStdString(), "  " + bilder.string() + "/");
    EXPECT_TRUE(said.empty());
    form.CloseAfterLoop();
  }
  QTemporaryDir elsewhere;
  const std::string shown = fs::canonical(elsewhere.path().toStdString()).string();
  fs::create_directory(fs::path(shown) / "inner");
  {
    tregconfig reg;
    textrarecord extra;
    extra.SetBrowseFolder(shown);
    reg.WriteExtra(extra);
  }
  TForm1 form(tstartoptions{});
  form.Initialise();
  EXPECT_EQ(form.Page<tbrowsepage>().Label27->text().toStdString(), "  " + shown + "/");
  form.Page<tbrowsepage>().message = [](const std::string& t) { ADD_FAILURE() << t; };
  form.Page<tbrowsepage>().Activate();
  ASSERT_TRUE(form.Page<tbrowsepage>().SetFolder(shown + "/inner"));
  EXPECT_EQ(QDir::currentPath(), cwd);
  form.CloseAfterLoop();
  EXPECT_EQ(QDir::currentPath(), cwd);
}

// The "Slide show speed" slider runs from Slow (two minutes) to Fast (no wait) and is the stored
// slide-show delay.
TEST_F(BrowsePage, SlideShowSpeedSliderIsTheStoredDelay) {
  QSlider* slider = form_->Page<tbrowsepage>().SlideShowSpeed;
  ASSERT_NE(slider, nullptr);
  EXPECT_EQ(slider->minimum(), 0);
  EXPECT_EQ(slider->maximum(), 10);
  EXPECT_EQ(slider->toolTip(), "Slide show speed");
  form_->Settings().diskman.SetSlideShowDelayIndex(5);
  form_->ApplySettingsToControls();
  EXPECT_EQ(slider->value(), 5);
  slider->setValue(10);
  form_->ReadControlsIntoSettings();
  EXPECT_EQ(form_->Settings().diskman.SlideShowDelayIndex(), 10);
  EXPECT_EQ(form_->Settings().diskman.SlideShowDelayMs(), 0);
  EXPECT_EQ(form_->Settings().diskman.Bytes()[268], 10);
}

// At the fastest speed there is no wait between slides, yet the window's events still run: a
// click on Stop ends the show, and closing the window ends it and then closes.
TEST_F(BrowsePage, FastestSlideShowStillAnswersStopAndClose) {
  form_->Page<tbrowsepage>().SlideShowSpeed->setValue(10);
  int shown = 0;
  page_->openPicture = [&](const std::string&) {
    if (++shown == 1)
      QMetaObject::invokeMethod(form_->BitBtn_15, &QPushButton::click, Qt::QueuedConnection);
    if (shown > 1000) page_->StopSlideShow();  // a show that never sees the click ends here
    return true;
  };
  page_->SlideShow(false);
  EXPECT_LE(shown, 2);
  EXPECT_FALSE(page_->SlideShowRunning());
  EXPECT_FALSE(form_->Busy().IsHeld(tbusyregister::slotS));

  shown = 0;
  page_->openPicture = [&](const std::string&) {
    if (++shown == 1) QMetaObject::invokeMethod(form_.get(), &QWidget::close, Qt::QueuedConnection);
    if (shown > 1000) page_->StopSlideShow();
    return true;
  };
  page_->SlideShow(false);
  EXPECT_LE(shown, 2);
  EXPECT_FALSE(form_->Busy().IsHeld(tbusyregister::slotS));
  // The close was held back while the show ran and follows once it has unwound.
  for (int i = 0; i < 1000 && !form_->Closed(); ++i)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_TRUE(form_->Closed());
}

}  // namespace
}  // namespace vantlo
