// The camera pictures of the main window, offscreen, against the simulated camera: the grid and
// its selection, fetching from the window into files, deleting with Tconfirmdelete, the Saving
// page and the overwrite dialog.
#include "app/ui/camerapictures.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/core/thumbmanager.h"
#include "app/ui/browsepage.h"
#include "app/ui/cameragrid.h"
#include "app/ui/camerapage.h"
#include "app/ui/confirmdelete.h"
#include "app/ui/form1.h"
#include "app/ui/gridclick.h"
#include "app/ui/overdeldlg.h"
#include "app/ui/pictureview.h"
#include "app/ui/savingpage.h"
#include "dialoganswerer.h"
#include "library/diskthumbmanager.h"
#include "library/pictureproperties.h"
#include "simulator/simcamera.h"

namespace vantlo {
namespace {

const tlocaltime kDay{2026, 12, 6, 9, 30, 0};

class tsettingsdir {
 public:
  tsettingsdir() : old_(qgetenv("VANTLO_CONFIG_DIR")) {
    qputenv("VANTLO_CONFIG_DIR", dir_.path().toUtf8());
  }
  ~tsettingsdir() { qputenv("VANTLO_CONFIG_DIR", old_); }

 private:
  QTemporaryDir dir_;
  QByteArray old_;
};

// COM1 is the simulated camera; the other ports lead nowhere.
class tcom1 {
 public:
  explicit tcom1(const std::string& device) {
    ::setenv("VANTLO_COM1", device.c_str(), 1);
    for (int n = 2; n <= 8; ++n)
      ::setenv(("VANTLO_COM" + std::to_string(n)).c_str(),
               ("/nonexistent/vantlo-test-tty" + std::to_string(n)).c_str(), 1);
  }
  ~tcom1() {
    for (int n = 1; n <= 8; ++n) ::unsetenv(("VANTLO_COM" + std::to_string(n)).c_str());
  }
};

// Answers whatever modal window opens, once it is shown and has the focus: message boxes with
// their escape button (or Yes when `yes`), other dialogs by clicking the button captioned
// `button`. Records what was shown.
class tanswerer : public QObject {
 public:
  explicit tanswerer(QString button = "No")
      : button_(std::move(button)), answerer_([this](QWidget* w) { Answer(w); }) {}
  void SetButton(const QString& b) { button_ = b; }
  bool yesToBoxes = false;
  QStringList boxes;    // message box texts
  QStringList dialogs;  // window titles of other dialogs
  QStringList details;  // per dialog: a label text that identifies what was asked
  std::function<void(QDialog*)> inspect;

 private:
  void Answer(QWidget* w) {
    if (auto* box = qobject_cast<QMessageBox*>(w)) {
      boxes << box->text();
      QAbstractButton* b = yesToBoxes ? box->button(QMessageBox::Yes) : nullptr;
      if (!b) b = box->escapeButton();
      if (!b && !box->buttons().isEmpty()) b = box->buttons().first();
      if (b) b->click();
      return;
    }
    auto* dlg = qobject_cast<QDialog*>(w);
    if (!dlg) return;
    dialogs << dlg->windowTitle();
    if (inspect) inspect(dlg);
    if (!dlg->isVisible()) return;  // answered by `inspect`
    for (QPushButton* b : dlg->findChildren<QPushButton*>()) {
      if (b->text() == button_) {
        b->click();
        return;
      }
    }
    dlg->reject();
  }
  QString button_;
  tdialoganswerer answerer_;
};

// Answers the save dialog as a user does: the filter chosen in its list, the name typed into its
// name field (which has the focus), then "Save".
// An empty `name` keeps the proposal.
void AnswerSaveDialog(QFileDialog* fd, const QString& filter, const QString& name) {
  fd->selectNameFilter(filter);
  auto* edit = fd->findChild<QLineEdit*>("fileNameEdit");
  ASSERT_NE(edit, nullptr);
  if (!name.isEmpty()) edit->setText(name);
  static_cast<QDialog*>(fd)->accept();  // "Save"
}

QByteArray Content(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void SetContent(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

// A window on a simulated camera with `count` pictures, saving into its own folder on a fixed day.
struct tcamerawindow {
  explicit tcamerawindow(int count, camsim::Family family = camsim::Family::classic)
      : camera(MakeOptions(count, family)), com(camera.DevicePath()) {
    form = std::make_unique<TForm1>(tstartoptions{{}, "COM1:"});
    form->Initialise();
    auto& config = form->Settings().config;
    config.SetSaveFolder(out.path().toStdString());
    config.SetNameByDate(true);
    config.SetDailyFolder(false);
    config.SetSaveJpeg(true);
    config.SetSaveCam(true);
    config.SetSaveThumbnails(false);
    config.SetConfirmOverwrite(true);
    config.SetConfirmDeleteFromCamera(true);
    form->Settings().extra.SetDate2Style(false);
    form->ApplySettingsToControls();
    form->Page<tcamerapage>().Pictures().SetClock([] { return kDay; });
  }
  static camsim::Options MakeOptions(int count, camsim::Family family) {
    camsim::Options o;
    o.count = count;
    o.family = family;
    return o;
  }
  ~tcamerawindow() {
    if (form) form->CloseAfterLoop();
  }
  bool Exists(const QString& name) const { return QFile::exists(out.path() + "/" + name); }
  QPoint CellCentre(int n) const {
    QTableWidget* t = form->Page<tcamerapage>().DrawGrid11;
    return t->visualRect(t->model()->index((n - 1) / 2, (n - 1) % 2)).center();
  }
  void Click(int n, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QTest::mouseClick(form->Page<tcamerapage>().DrawGrid11->viewport(), Qt::LeftButton, m,
                      CellCentre(n));
  }
  std::vector<int> Selected() {
    return form->Page<tcamerapage>().Pictures().Selection().Selected();
  }

  tsettingsdir settings;
  QTemporaryDir out;
  camsim::SimulatedCamera camera;
  tcom1 com;
  std::unique_ptr<TForm1> form;
};

bool Logged(const camsim::SimulatedCamera& cam, const std::string& entry) {
  for (int i = 0; i < 300; ++i) {
    for (const auto& e : cam.CommandLog())
      if (e == entry) return true;
    QTest::qWait(10);
  }
  return false;
}

class GridLoading : public testing::TestWithParam<int> {};

// All thumbnails of 0, 3 and 12 pictures: the grid has (count + 1) div 2 rows, every picture has
// its thumbnail, and cells past the count are painted in the window colour.
TEST_P(GridLoading, LoadsEveryThumbnailIntoTheGrid) {
  const int count = GetParam();
  tcamerawindow w(count);
  w.camera.Start();
  tanswerer answers;
  w.form->resize(900, 700);
  w.form->show();
  w.form->Page<tcamerapage>().Pictures().ShowThumbnails1Click();
  EXPECT_TRUE(answers.boxes.isEmpty()) << answers.boxes.join("|").toStdString();
  tcamerapictures& c = w.form->Page<tcamerapage>().Pictures();
  EXPECT_EQ(c.Count(), count);
  EXPECT_EQ(w.form->Page<tcamerapage>().DrawGrid11->rowCount(), (count + 1) / 2);
  for (int n = 1; n <= count; ++n) {
    EXPECT_TRUE(c.Manager()->HasThumbnail(n)) << n;
    EXPECT_TRUE(c.CellOf(n).loaded) << n;
    EXPECT_FALSE(c.CellOf(n).thumbnail.isNull()) << n;
  }
  EXPECT_FALSE(c.CellOf(count + 1).exists);
  if (count % 2 == 1) {
    // The empty last cell is all window colour; a picture cell is not.
    const QImage grab = w.form->Page<tcamerapage>().DrawGrid11->viewport()->grab().toImage();
    const QColor base = QApplication::palette().color(QPalette::Base);
    EXPECT_EQ(grab.pixelColor(w.CellCentre(count + 1)), base);
    EXPECT_NE(grab.pixelColor(w.CellCentre(count).x(), w.CellCentre(count).y() + 20),
              QColor(Qt::red));
  }
  EXPECT_EQ(w.form->Label1->text(), " Ready");
}

INSTANTIATE_TEST_SUITE_P(Counts, GridLoading, testing::Values(0, 3, 12));

// Selected pictures 2 and 4 of 5 are fetched, shown and saved as JPEG and CAM under the date
// names; the others are not written. A second fetch asks before overwriting, and "Yes to All"
// turns the confirmation off on the Saving page.
TEST(CameraPictures, FetchingSelectedTwoAndFourWritesTheirFiles) {
  tcamerawindow w(5);
  w.camera.Start();
  tanswerer answers("No");
  tcamerapictures& c = w.form->Page<tcamerapage>().Pictures();
  c.Selection().Set(2, true);
  c.Selection().Set(4, true);
  c.ShowSelectedPictures1Click();
  EXPECT_TRUE(answers.boxes.isEmpty()) << answers.boxes.join("|").toStdString();
  for (const char* name : {"06dec26002.jpg", "06dec26002.cam", "06dec26004.jpg", "06dec26004.cam"})
    EXPECT_TRUE(w.Exists(name)) << name;
  for (const char* name : {"06dec26001.jpg", "06dec26003.jpg", "06dec26005.jpg", "06dec26003.cam"})
    EXPECT_FALSE(w.Exists(name)) << name;
  EXPECT_EQ(c.LastResult().fetched, (std::vector<int>{2, 4}));
  EXPECT_EQ(c.CurrentPicture(), 4);
  EXPECT_EQ(c.ShownKind(), tshownkind::cameraPicture);
  ASSERT_FALSE(w.form->PictureView().Image3->pixmap().isNull());
  EXPECT_GT(w.form->PictureView().Image3->pixmap().width(), 0);
  EXPECT_EQ(w.form->Label1->text(), " Ready");

  // Again: the overwrite question comes up for the first file; "No" skips it.
  QFile::remove(w.out.path() + "/06dec26002.cam");
  const qint64 before = QFileInfo(w.out.path() + "/06dec26002.jpg").size();
  c.Selection().Set(4, false);
  c.ShowSelectedPictures1Click();
  EXPECT_TRUE(answers.dialogs.contains("Confirm"));
  EXPECT_TRUE(w.Exists("06dec26002.cam"));  // free name: written without asking
  EXPECT_EQ(QFileInfo(w.out.path() + "/06dec26002.jpg").size(), before);
  EXPECT_FALSE(c.LastResult().skipped.empty());
  EXPECT_TRUE(w.form->Page<tsavingpage>().ConfirmOverwriteBox->isChecked());

  // "Yes to All": written, and the confirmation is off on the page and in the settings.
  answers.SetButton("Yes to All");
  answers.dialogs.clear();
  c.ShowSelectedPictures1Click();
  EXPECT_EQ(answers.dialogs.size(), 1);
  EXPECT_TRUE(c.LastResult().skipped.empty());
  EXPECT_FALSE(w.form->Page<tsavingpage>().ConfirmOverwriteBox->isChecked());
  EXPECT_FALSE(w.form->Settings().config.ConfirmOverwrite());
}

// Clicks on the grid: plain, Ctrl and Shift with the anchor; a plain click on a picture whose
// thumbnail is not loaded shows it on the camera display.
TEST(CameraPictures, CtrlAndShiftClicksSelectAsTheGridRulesSay) {
  tcamerawindow w(5);
  w.camera.Start();
  tanswerer answers;
  w.form->resize(900, 700);
  w.form->show();
  tcamerapictures& c = w.form->Page<tcamerapage>().Pictures();
  // Nothing selected: the rows are set and the user is told to select.
  c.ShowSelectedThumbnails1Click();
  ASSERT_EQ(answers.boxes.size(), 1);
  EXPECT_EQ(answers.boxes[0],
            "Select one or more Camera Thumbnails to display using the panel on the right");
  ASSERT_EQ(w.form->Page<tcamerapage>().DrawGrid11->rowCount(), 3);

  w.Click(3);
  EXPECT_EQ(w.Selected(), (std::vector<int>{3}));
  EXPECT_TRUE(Logged(w.camera, "DA 03"));
  w.Click(1, Qt::ControlModifier);
  EXPECT_EQ(w.Selected(), (std::vector<int>{1, 3}));
  w.Click(1, Qt::ControlModifier);  // Ctrl sets, it does not toggle
  EXPECT_EQ(w.Selected(), (std::vector<int>{1, 3}));
  w.Click(5);
  w.Click(2, Qt::ShiftModifier);  // from the anchor 5 down to 2
  EXPECT_EQ(w.Selected(), (std::vector<int>{2, 3, 4, 5}));
  w.Click(4, Qt::ShiftModifier);  // anchor is now 2
  EXPECT_EQ(w.Selected(), (std::vector<int>{2, 3, 4}));

  // Loaded thumbnails: a plain click no longer asks the camera to show the picture.
  c.ShowThumbnails1Click();
  const auto shown = [&] {
    int n = 0;
    for (const auto& e : w.camera.CommandLog()) n += e == "DA 01";
    return n;
  };
  const int before = shown();
  w.Click(1);
  QTest::qWait(50);
  EXPECT_EQ(shown(), before);

  c.InvertSelection1Click();
  EXPECT_EQ(w.Selected(), (std::vector<int>{2, 3, 4, 5}));
  c.SelectNone1Click();
  EXPECT_TRUE(w.Selected().empty());
  c.SelectAll1Click();
  EXPECT_EQ(w.Selected(), (std::vector<int>{1, 2, 3, 4, 5}));
}

// A camera that keeps its pictures in folders: the folder list fills once and shows above the
// grid on the Camera page; a classic camera keeps it hidden.
TEST(CameraPictures, FolderChoiceOnlyForFileSystemCameras) {
  for (auto family : {camsim::Family::filesystem, camsim::Family::classic}) {
    tcamerawindow w(3, family);
    w.camera.Start();
    tanswerer answers;
    tcamerapictures& c = w.form->Page<tcamerapage>().Pictures();
    c.ShowThumbnails1Click();
    EXPECT_TRUE(answers.boxes.isEmpty()) << answers.boxes.join("|").toStdString();
    EXPECT_EQ(c.Count(), 3);
    const bool folders = family == camsim::Family::filesystem;
    EXPECT_EQ(c.ComboBox5->count() > 0, folders);
    EXPECT_EQ(!c.Panel10->isHidden(), folders);
    if (folders) {
      EXPECT_EQ(c.ComboBox5->currentIndex(), 0);
      c.ComboBox5Change();  // the same folder again: thumbnails dropped and loaded again
      EXPECT_EQ(c.Count(), 3);
      EXPECT_TRUE(c.Manager()->HasThumbnail(3));
      w.form->ShowPageNumber(3);
      EXPECT_TRUE(c.Panel10->isHidden());
    }
  }
}

TEST(GridClicks, ShiftWithoutAnchorSelectsOnlyTheClickedPicture) {
  tcameraselection sel;
  sel.Set(7, true);
  tgridclicks clicks;
  const auto changed = clicks.Click(sel, 4, tgridclicks::tclick::shift);
  EXPECT_EQ(sel.Selected(), (std::vector<int>{4}));
  EXPECT_EQ(changed, (std::vector<int>{4, 7}));
  EXPECT_EQ(clicks.Anchor(), 4);
  EXPECT_TRUE(clicks.Click(sel, 301, tgridclicks::tclick::plain).empty());
  clicks.Click(sel, 300, tgridclicks::tclick::shift);
  EXPECT_EQ(sel.Selected().size(), 297u);
}

// Deleting the selected 2 and 3 of 5 asks about picture 2 twice; declining the second keeps it.
TEST(CameraPictures, DeleteSelectedAsksWithTheShiftedNumbers) {
  tcamerawindow w(5);
  w.camera.Start();
  tanswerer answers("Yes");
  QStringList asked;
  answers.inspect = [&](QDialog* d) {
    if (auto* cd = qobject_cast<Tconfirmdelete*>(d)) {
      asked << cd->TextLabel->text();
      if (asked.size() == 2) answers.SetButton("No");
    }
  };
  tcamerapictures& c = w.form->Page<tcamerapage>().Pictures();
  c.ShowThumbnails1Click();
  c.Selection().Set(2, true);
  c.Selection().Set(3, true);
  c.DeleteSelec1Click();
  EXPECT_EQ(answers.dialogs, (QStringList{"Delete Picture?", "Delete Picture?"}));
  EXPECT_EQ(c.LastResult().deleted, (std::vector<int>{2}));
  EXPECT_EQ(w.camera.PictureCount(), 4);
  EXPECT_EQ(c.Count(), 4);
  EXPECT_TRUE(w.Selected().empty());
  EXPECT_EQ(w.form->Page<tcamerapage>().DrawGrid11->rowCount(), 2);
}

// "Delete All Pictures": only "Yes" to the question deletes; the grid empties.
TEST(CameraPictures, DeleteAllAsksFirst) {
  tcamerawindow w(4);
  w.camera.Start();
  tanswerer answers;
  tcamerapictures& c = w.form->Page<tcamerapage>().Pictures();
  c.ShowThumbnails1Click();
  c.DeleteAllPictures1Click();  // Cancel
  ASSERT_EQ(answers.boxes.size(), 1);
  EXPECT_EQ(answers.boxes[0],
            "Are you sure that you want to delete all the pictures from the camera?");
  EXPECT_EQ(w.camera.PictureCount(), 4);
  EXPECT_TRUE(c.Manager()->HasThumbnail(4));
  answers.yesToBoxes = true;
  c.DeleteAllPictures1Click();
  EXPECT_EQ(w.camera.PictureCount(), 0);
  EXPECT_EQ(c.Count(), 0);
  EXPECT_EQ(w.form->Page<tcamerapage>().DrawGrid11->rowCount(), 0);
}

// "Save As" on a fetched camera picture: the proposal is the picture's generated name; the JPEG
// filter writes the shown picture, the CAM filter the camera data; nothing shown: "Nothing to
// save".
TEST(CameraPictures, SaveAsWritesJpegAndCam) {
  tcamerawindow w(3);
  w.camera.Start();
  tanswerer answers;
  tcamerapictures& c = w.form->Page<tcamerapage>().Pictures();
  w.form->PageControl2->setCurrentWidget(&w.form->PictureView());  // the picture, not the browser
  c.Other1Click();
  EXPECT_EQ(answers.boxes, QStringList{"Nothing to save"});
  c.Selection().Set(3, true);
  c.ShowSelectedPictures1Click();
  ASSERT_TRUE(w.Exists("06dec26003.cam"));
  QStringList proposals;
  QString target;
  QString filter;
  answers.inspect = [&](QDialog* d) {
    auto* fd = qobject_cast<QFileDialog*>(d);
    if (!fd) return;
    // The proposal as the name field shows it (the dialog adds the filter's suffix itself).
    if (auto* edit = fd->findChild<QLineEdit*>("fileNameEdit")) proposals << edit->text();
    AnswerSaveDialog(fd, filter, target);
  };
  target = w.out.path() + "/copy";
  filter = "JPEG (*.jpg)";
  c.Other1Click();
  EXPECT_TRUE(w.Exists("copy.jpg"));
  target = w.out.path() + "/raw.CAM";
  filter = "CAM (*.cam)";
  c.Other1Click();
  EXPECT_TRUE(w.Exists("raw.CAM")) << "messages: " << answers.boxes.join(" | ").toStdString();
  QFile a(w.out.path() + "/raw.CAM"), b(w.out.path() + "/06dec26003.cam");
  ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
  EXPECT_EQ(a.readAll(), b.readAll());
  target = w.out.path() + "/movie";
  filter = "AVI (*.avi)";
  c.Other1Click();
  EXPECT_FALSE(w.Exists("movie.avi"));
  EXPECT_EQ(answers.boxes.last(), "You can only save an AVI as a AVI file");
  ASSERT_EQ(proposals.size(), 3);
  EXPECT_EQ(proposals[0], "06dec26003");

  // A CAM file opened from disk takes its properties along to the copy and to a JPEG.
  const std::string opened = (w.out.path() + "/raw.CAM").toStdString();
  tpictureproperties props;
  props.SetFile(opened);
  props.SetTitle("Harbour at dusk");
  props.Keywords().Add("boats");
  props.Save();
  ASSERT_TRUE(w.form->OpenPictureFile(opened, false));
  target = w.out.path() + "/copy2";
  filter = "CAM (*.cam)";
  c.Other1Click();
  ASSERT_TRUE(w.Exists("copy2.cam")) << answers.boxes.join(" | ").toStdString();
  target = w.out.path() + "/fromcam";
  filter = "JPEG (*.jpg)";
  c.Other1Click();
  ASSERT_TRUE(w.Exists("fromcam.jpg")) << answers.boxes.join(" | ").toStdString();
  for (const char* name : {"/copy2.cam", "/fromcam.jpg"}) {
    tpictureproperties copied;
    copied.SetFile(w.out.path().toStdString() + name);
    copied.Load();
    EXPECT_EQ(copied.Title(), "Harbour at dusk") << name;
    EXPECT_EQ(copied.Keywords().Items(), std::vector<std::string>{"boats"}) << name;
  }

  // On the Browse page the selected tile decides: a CAM file is opened and saved; a folder is not.
  w.form->PageControl2->setCurrentWidget(&w.form->Page<tbrowsepage>());
  tbrowsepage& browser = *&w.form->Page<tbrowsepage>();
  ASSERT_TRUE(browser.SetFolder(w.out.path().toStdString()));
  const timagecollection& items = browser.Manager().Collection();
  auto itemOf = [&](auto wanted) {
    for (int n = 1; n <= items.Count(); ++n)
      if (wanted(n)) return n;
    return 0;
  };
  const int cam =
      itemOf([&](int n) { return items.Path(n) == w.out.path().toStdString() + "/copy2.cam"; });
  ASSERT_GT(cam, 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !browser.Manager().Loading(); }, 10000));
  browser.Manager().MoveToItem(cam);
  target = w.out.path() + "/frombrowser";
  filter = "JPEG (*.jpg)";
  c.Other1Click();
  EXPECT_TRUE(w.Exists("frombrowser.jpg")) << answers.boxes.join(" | ").toStdString();
  // Save As refreshes the browser; wait until its tiles are made (the window is busy until then).
  ASSERT_TRUE(QTest::qWaitFor([&] { return !browser.Manager().Loading(); }, 10000));
  const int folder = itemOf([&](int n) { return items.Kind(n) == ikFolder; });
  ASSERT_GT(folder, 0);
  w.form->PageControl2->setCurrentWidget(
      &w.form->Page<tbrowsepage>());  // opening showed the picture
  browser.Manager().MoveToItem(folder);
  c.Other1Click();
  EXPECT_EQ(answers.boxes.last(), "Select a picture to save");
}

// Save As of an unedited camera JPEG writes the camera's JPEG data as they are; keeping the
// proposal names the saved file, which is asked about first ("No" keeps it, "Yes" replaces it);
// a JPEG opened from disk and saved onto itself is asked about too.
TEST(CameraPictures, SaveAsAsksBeforeReplacingAndWritesCameraJpegsByteForByte) {
  tcamerawindow w(3, camsim::Family::extended);
  w.camera.Start();
  tanswerer answers("No");
  tcamerapictures& c = w.form->Page<tcamerapage>().Pictures();
  c.ShowThumbnails1Click();
  w.form->PageControl2->setCurrentWidget(&w.form->PictureView());
  c.Selection().Set(3, true);
  c.ShowSelectedPictures1Click();
  const QString saved = w.out.path() + "/06dec26003.jpg";
  ASSERT_TRUE(w.Exists("06dec26003.jpg")) << answers.boxes.join(" | ").toStdString();
  const QByteArray camera = Content(saved);
  ASSERT_TRUE(camera.startsWith("\xFF\xD8"));

  QString target;
  answers.inspect = [&](QDialog* d) {
    auto* fd = qobject_cast<QFileDialog*>(d);
    if (!fd) return;
    EXPECT_EQ(fd->defaultSuffix(), "jpg");
    EXPECT_TRUE(fd->testOption(QFileDialog::DontConfirmOverwrite));  // the program asks itself
    AnswerSaveDialog(fd, "JPEG (*.jpg)", target);
  };
  target = w.out.path() + "/copy";
  c.Other1Click();
  EXPECT_EQ(Content(w.out.path() + "/copy.jpg"), camera);
  EXPECT_FALSE(answers.dialogs.contains("Confirm"));

  // The proposal kept: the final name 06dec26003.jpg is taken.
  SetContent(saved, "older picture");
  target.clear();
  answers.dialogs.clear();
  c.Other1Click();
  EXPECT_EQ(answers.dialogs, (QStringList{"Save Picture As", "Confirm"}));
  EXPECT_EQ(Content(saved), "older picture");
  answers.SetButton("Yes");
  c.Other1Click();
  EXPECT_EQ(Content(saved), camera);
  EXPECT_TRUE(answers.boxes.isEmpty()) << answers.boxes.join(" | ").toStdString();

  // A JPEG opened from disk, saved under its own name: asked about; "No" leaves it alone.
  const QString opened = w.out.path() + "/copy.jpg";
  SetContent(opened, camera);
  ASSERT_TRUE(w.form->OpenPictureFile(opened.toStdString(), false));
  answers.SetButton("No");
  answers.dialogs.clear();
  target = opened;
  c.Other1Click();
  EXPECT_EQ(answers.dialogs, (QStringList{"Save Picture As", "Confirm"}));
  EXPECT_EQ(Content(opened), camera);
}

// A turned picture is compressed with the current JPEG settings, "Progressive JPEG" included.
TEST(CameraPictures, SaveAsOfAnEditedPictureFollowsTheJpegSettings) {
  tcamerawindow w(2);
  w.camera.Start();
  tanswerer answers("No");
  tcamerapictures& c = w.form->Page<tcamerapage>().Pictures();
  w.form->Settings().config.SetProgressiveJpeg(true);
  w.form->Settings().ftp.SetOrientation(static_cast<torientation>(1));
  w.form->ApplySettingsToControls();
  w.form->PageControl2->setCurrentWidget(&w.form->PictureView());
  c.Selection().Set(2, true);
  c.ShowSelectedPictures1Click();
  ASSERT_TRUE(w.Exists("06dec26002.jpg")) << answers.boxes.join(" | ").toStdString();
  // The Browse page (of the shown window) shows the folder saved into.
  w.form->show();
  tbrowsepage& browser = *&w.form->Page<tbrowsepage>();
  ASSERT_TRUE(browser.SetFolder(w.out.path().toStdString()));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !browser.Manager().Loading(); }, 10000));
  w.form->PageControl2->setCurrentWidget(&w.form->PictureView());
  answers.inspect = [&](QDialog* d) {
    if (auto* fd = qobject_cast<QFileDialog*>(d))
      AnswerSaveDialog(fd, "JPEG (*.jpg)", w.out.path() + "/turned");
  };
  c.Other1Click();
  const QByteArray bytes = Content(w.out.path() + "/turned.jpg");
  ASSERT_FALSE(bytes.isEmpty()) << answers.boxes.join(" | ").toStdString();
  EXPECT_TRUE(bytes.contains("\xFF\xC2"));  // a progressive frame
  EXPECT_EQ(bytes, Content(w.out.path() + "/06dec26002.jpg"));
  // The listing is renewed once the save's notices are handled.
  const timagecollection& items = browser.Manager().Collection();
  const auto listed = [&] {
    for (int n = 1; n <= items.Count(); ++n)
      if (items.Path(n) == (w.out.path() + "/turned.jpg").toStdString()) return true;
    return false;
  };
  EXPECT_TRUE(QTest::qWaitFor(listed, 10000));
}

// The picture's pop-up menu offers Save As.
TEST(CameraPictures, PicturePopupMenuHasSaveAs) {
  tcamerawindow w(1);
  auto* popup = w.form->findChild<QMenu*>("PicturePopupMenu");
  ASSERT_NE(popup, nullptr);
  QAction* saveAs = nullptr;
  for (QAction* a : popup->actions())
    if (a->text() == "Save As...") saveAs = a;
  ASSERT_NE(saveAs, nullptr);
  EXPECT_EQ(w.form->PictureView().Image3->contextMenuPolicy(), Qt::CustomContextMenu);
  tanswerer answers;
  w.form->PageControl2->setCurrentWidget(&w.form->PictureView());
  saveAs->trigger();
  EXPECT_EQ(answers.boxes, QStringList{"Nothing to save"});
}

// Resize "Apply" on a camera picture starts from the picture fetched again, which writes no file
// and asks nothing; the original size is the picture's.
TEST(CameraPictures, ResizeOfACameraPictureSavesNothingAgain) {
  tcamerawindow w(3);
  w.camera.Start();
  tanswerer answers("Yes");
  tcamerapictures& c = w.form->Page<tcamerapage>().Pictures();
  w.form->PageControl2->setCurrentWidget(&w.form->PictureView());
  c.Selection().Set(2, true);
  c.ShowSelectedPictures1Click();
  ASSERT_TRUE(w.Exists("06dec26002.jpg")) << answers.boxes.join(" | ").toStdString();
  const qint64 jpegSize = QFileInfo(w.out.path() + "/06dec26002.jpg").size();
  ASSERT_GE(jpegSize, 1024);
  QFile::remove(w.out.path() + "/06dec26002.cam");
  const int width = w.form->PictureView().Document().Picture().Width();
  answers.dialogs.clear();
  w.form->pagecontrol1->setCurrentWidget(w.form->findChild<QWidget*>("tabcorrection"));
  auto* choice = w.form->findChild<QComboBox*>("ComboBox6");
  auto* apply = w.form->findChild<QPushButton*>("Button9");
  ASSERT_TRUE(choice && apply);
  choice->setCurrentIndex(6);  // Half Size
  apply->click();
  EXPECT_TRUE(answers.dialogs.isEmpty()) << answers.dialogs.join(" | ").toStdString();
  EXPECT_TRUE(answers.boxes.isEmpty()) << answers.boxes.join(" | ").toStdString();
  EXPECT_FALSE(w.Exists("06dec26002.cam"));
  EXPECT_EQ(w.form->PictureView().Document().Picture().Width(), width / 2);
  EXPECT_EQ(w.form->findChild<QLabel*>("OriginalSizeLabel")->text(),
            QString("Original size : %1KB").arg(jpegSize / 1024));
}

// Stop during a thumbnail load ends it after the thumbnail being fetched, without an error; the
// camera is still in step for the next load.
TEST(CameraPictures, StopDuringThumbnailsEndsAfterTheCurrentOneWithoutAnError) {
  tcamerawindow w(6);
  w.camera.Start();
  tanswerer answers;
  tcamerapictures& c = w.form->Page<tcamerapage>().Pictures();
  // Stop is pressed as soon as the load lets the window process events.
  QMetaObject::invokeMethod(
      w.form.get(), [&] { w.form->ToolButton4Click(); }, Qt::QueuedConnection);
  c.ShowThumbnails1Click();
  EXPECT_TRUE(answers.boxes.isEmpty()) << answers.boxes.join(" | ").toStdString();
  EXPECT_EQ(c.Count(), 6);
  EXPECT_TRUE(c.Manager()->HasThumbnail(1));
  EXPECT_FALSE(c.Manager()->HasThumbnail(2));
  c.ShowThumbnails1Click();
  EXPECT_TRUE(answers.boxes.isEmpty()) << answers.boxes.join(" | ").toStdString();
  for (int n = 1; n <= 6; ++n) EXPECT_TRUE(c.Manager()->HasThumbnail(n)) << n;
}

// Choosing a camera folder while a load or fetch holds the camera is refused: the grid keeps its
// thumbnails.
TEST(CameraPictures, ChangingTheFolderWhileBusyIsRefused) {
  tcamerawindow w(3, camsim::Family::filesystem);
  w.camera.Start();
  tanswerer answers;
  tcamerapictures& c = w.form->Page<tcamerapage>().Pictures();
  c.ShowThumbnails1Click();
  ASSERT_TRUE(c.Manager()->HasThumbnail(3)) << answers.boxes.join(" | ").toStdString();
  {
    tbusyguard busy(w.form->Busy(), tbusyregister::kPictures);
    ASSERT_TRUE(busy.Granted());
    c.ComboBox5Change();
    EXPECT_TRUE(c.Manager()->HasThumbnail(3));
    EXPECT_EQ(w.form->Page<tcamerapage>().DrawGrid11->rowCount(), 2);
    EXPECT_EQ(c.ComboBox5->currentIndex(), 0);
  }
  EXPECT_TRUE(answers.boxes.isEmpty()) << answers.boxes.join(" | ").toStdString();
}

TEST(SavingPage, RoundTripsTheRecordsAndShowsTheSample) {
  tsavingpage page(nullptr, [] { return kDay; });
  tsettingsrecords in;
  in.config.SetSaveFolder("/data/Pictures");
  in.config.SetNameByDate(false);
  in.extra.SetDate2Style(true);
  in.config.SetPrefix("trip");
  in.config.SetDailyFolder(true);
  in.config.SetSaveJpeg(false);
  in.config.SetSaveCam(true);
  in.config.SetSaveThumbnails(false);
  in.config.SetSaveContactSheets(true);
  in.config.SetConfirmOverwrite(false);
  page.ApplyFrom(in);
  EXPECT_TRUE(page.RadioButton3->isChecked());
  EXPECT_TRUE(page.Edit1->isEnabled());
  EXPECT_EQ(page.Label8->text(), "( 261206/trip001.jpg )");
  tsettingsrecords out;
  page.ReadInto(out);
  EXPECT_EQ(out.config.SaveFolder(), "/data/Pictures");
  EXPECT_FALSE(out.config.NameByDate());
  EXPECT_TRUE(out.extra.Date2Style());
  EXPECT_EQ(out.config.Prefix(), "trip");
  EXPECT_TRUE(out.config.DailyFolder());
  EXPECT_FALSE(out.config.SaveJpeg());
  EXPECT_TRUE(out.config.SaveCam());
  EXPECT_FALSE(out.config.SaveThumbnails());
  EXPECT_TRUE(out.config.SaveContactSheets());
  EXPECT_FALSE(out.config.ConfirmOverwrite());

  // Date1 puts today's date into the prefix box and disables it; Other enables it again.
  page.RadioButton1->click();
  EXPECT_EQ(page.Edit1->text(), "06Dec26");
  EXPECT_FALSE(page.Edit1->isEnabled());
  // The sample is the name as written on disk.
  EXPECT_EQ(page.Label8->text(), "( 06dec26/06dec26001.jpg )");
  page.CheckBox17->setChecked(false);
  EXPECT_EQ(page.Label8->text(), "( 06dec26001.jpg )");
  page.RadioButton3->click();
  EXPECT_TRUE(page.Edit1->isEnabled());
  EXPECT_EQ(page.Edit1->text(), "06Dec26");
  page.Edit1->setText("averyveryverylongprefix");
  page.ReadInto(out);
  EXPECT_EQ(out.config.Prefix(), "averyveryv");
  EXPECT_FALSE(out.extra.Date2Style());  // Date1 was the last date style chosen
}

Toverdeldlg::tanswer AnswerBy(const QString& button, bool escape = false) {
  Toverdeldlg dlg("Do you want to delete ", "/tmp/x.jpg");
  QTimer::singleShot(0, &dlg, [&] {
    if (escape) {
      QTest::keyClick(&dlg, Qt::Key_Escape);
      return;
    }
    for (QPushButton* b : dlg.findChildren<QPushButton*>())
      if (b->text() == button) b->click();
  });
  return dlg.Ask();
}

TEST(Overdeldlg, AnswersYesNoYesToAllAndEscapeIsNo) {
  Toverdeldlg dlg("Do you want to overwrite ", "/a/b.jpg");
  EXPECT_EQ(dlg.windowTitle(), "Confirm");
  EXPECT_EQ(dlg.QuestionLabel->text(), "Do you want to overwrite ");
  EXPECT_EQ(dlg.FileLabel->text(), "/a/b.jpg");
  EXPECT_TRUE(dlg.YesButton->isDefault());
  EXPECT_EQ(AnswerBy("Yes"), Toverdeldlg::tanswer::yes);
  EXPECT_EQ(AnswerBy("No"), Toverdeldlg::tanswer::no);
  EXPECT_EQ(AnswerBy("Yes to All"), Toverdeldlg::tanswer::yesToAll);
  EXPECT_EQ(AnswerBy({}, true), Toverdeldlg::tanswer::no);
}

TEST(Confirmdelete, CheckBoxStateComesBackWhicheverButton) {
  tcameracell cell;
  cell.number = 2;
  cell.exists = true;
  Tconfirmdelete dlg(cell, true);
  EXPECT_EQ(dlg.windowTitle(), "Delete Picture?");
  EXPECT_TRUE(dlg.AlwaysAsk());
  QTimer::singleShot(0, &dlg, [&] {
    dlg.AlwaysAskBox->setChecked(false);
    dlg.NoButton->click();
  });
  EXPECT_FALSE(dlg.Confirm());
  EXPECT_FALSE(dlg.AlwaysAsk());
}

}  // namespace
}  // namespace vantlo
