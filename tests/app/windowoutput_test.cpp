// The main window's output commands offscreen, on real files: pictures selected on the Browse
// page sent with "Send Using FTP" to a real FTP server, laid out on a contact sheet that is
// shown, saved and saved again when full, and printed into PDF files, with the close question
// about a page left in the print buffer.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "app/core/printcommand.h"
#include "app/ui/browsepage.h"
#include "app/ui/camerapage.h"
#include "app/ui/camerapictures.h"
#include "app/ui/form1.h"
#include "app/ui/ftpsend.h"
#include "app/ui/hostsetup.h"
#include "app/ui/internetfeatures.h"
#include "app/ui/pictureview.h"
#include "app/ui/printeroutput.h"
#include "app/ui/printmenu.h"
#include "app/ui/sheetmenu.h"
#include "configdir.h"
#include "dialoganswerer.h"
#include "library/regconfig.h"
#include "modalcloser.h"
#include "output/acprinter.h"
#include "output/conman.h"
#include "picture/jpegimage.h"
#include "simulator/simcamera.h"
#include "temphome.h"
#include "tests/internet/ftptestfiles.h"
#include "tests/internet/pyftpserver.h"
#include "tests/output/outputtestutil.h"

namespace vantlo {
namespace {

namespace fs = std::filesystem;

void WriteSolidJpeg(const fs::path& path, QColor colour, int w = 320, int h = 240) {
  const auto bytes = CompressJpeg(testutil::Solid(w, h, colour), 95, false);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// A window on a folder of pictures, with the settings the test stored before start-up.
class twindow {
 public:
  // `port`: the engine's port instead of the stored one (a simulated camera).
  explicit twindow(const fs::path& folder, std::string port = {}) {
    form = std::make_unique<TForm1>(tstartoptions{{}, std::move(port)});
    form->Initialise();
    form->ApplySettingsToControls();  // as FormShow does: the pages show the stored settings
    browse = &form->Page<tbrowsepage>();
    browse->message = [this](const std::string& t) { messages.push_back(t); };
    browse->Activate();
    EXPECT_TRUE(browse->SetFolder(folder.string()));
  }
  ~twindow() {
    browse->Manager().StopLoading();
    if (!form->Closed()) form->CloseAfterLoop();
  }
  // Selects exactly the listed items with these names.
  void Select(std::initializer_list<const char*> names) {
    tdiskthumbmanager& m = browse->Manager();
    m.SelectNone();
    for (const char* name : names) {
      int item = 0;
      for (int n = 1; n <= m.Collection().Count(); ++n)
        if (m.Collection().DisplayName(n) == name) item = n;
      ASSERT_GT(item, 0) << name;
      m.Click(item, tshiftstate{false, true});
    }
    ASSERT_EQ(m.SelectedPaths({ikCam, ikJpeg, ikAvi, ikOther}).size(), names.size());
  }

  std::unique_ptr<TForm1> form;
  tbrowsepage* browse = nullptr;
  std::vector<std::string> messages;
};

// Stored settings of a first start: not a first run (no welcome window), pictures saved into
// `out` without a daily folder, and the given print layout.
void StoreSettings(const fs::path& out, int printRows = 1, int printColumns = 1,
                   const std::function<void(tconfigrecord&)>& more = {}) {
  tregconfig reg;
  tconfigrecord config;
  config.SetSaveFolder(out.string());
  config.SetDailyFolder(false);
  config.SetPrintRows(printRows);
  config.SetPrintColumns(printColumns);
  if (more) more(config);
  reg.WriteConfig(config);
}

std::vector<std::string> FilesIn(const fs::path& folder, const std::string& prefix,
                                 const std::string& suffix) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) {
    const std::string n = e.path().filename().string();
    if (n.rfind(prefix, 0) == 0 && n.size() >= suffix.size() &&
        n.compare(n.size() - suffix.size(), suffix.size(), suffix) == 0)
      names.push_back(n);
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The colour at the middle of the upper two thirds of cell k (1-based) of a rows x columns
// sheet of the default margin: inside the picture, above the caption band.
QColor CellColour(const QImage& sheet, int rows, int columns, int k) {
  const int w = sheet.width(), h = sheet.height();
  const int c = (k - 1) % columns, r = (k - 1) / columns;
  const int x = w * (2 * c + 1) / (2 * columns);
  const int y = h * r / rows + h / (3 * rows);
  return sheet.pixelColor(x, y);
}

QStringList MenuTexts(TForm1& form, const char* name) {
  QStringList texts;
  if (auto* menu = form.findChild<QMenu*>(name))
    for (QAction* a : menu->actions())
      if (!a->isSeparator()) texts << a->text();
  return texts;
}

// The menus hold the output commands under their names; "Internet Settings..." stores the host
// that the next upload uses.
TEST(WindowOutput, MenusHoldTheCommandsAndInternetSettingsStoresTheHost) {
  ttemphome home;
  tconfigdir config;
  StoreSettings(home.Pictures());
  {
    tregconfig reg;
    tcontactrecord contact;
    contact.SetInternetConnection(tcontactrecord::kNetworkConnection);
    reg.WriteContact(contact);
  }
  twindow w(home.Pictures());
  EXPECT_EQ(MenuTexts(*w.form, "PrintMenu"),
            (QStringList{"Pa&ge Setup...", "P&rinter Setup...", "&Current Picture on Display",
                         "Selected &Disk Pictures", "A&ll Disk Pictures",
                         "&Selected Camera Pictures", "&All Camera Pictures", "&Flush Printer",
                         "Cancel Printing", "Print Status..."}));
  EXPECT_EQ(MenuTexts(*w.form, "ContactSheetMenu"),
            (QStringList{"&Setup...", "Add Current &Picture...", "Add &Selected Disk Pictures",
                         "&Add All Disk Pictures", "Show &Current Sheet", "&Save Current Sheet",
                         "&Clear Current Sheet"}));
  const QStringList internet = MenuTexts(*w.form, "InternetMenu");
  ASSERT_TRUE(internet.contains("Internet Settings..."));

  QStringList titles;
  tdialoganswerer answer([&](QWidget* modal) {
    titles << modal->windowTitle();
    if (auto* dlg = qobject_cast<THostsetup*>(modal)) {
      dlg->HostEdit->setText("ftp.example.org");
      dlg->OkClick();
    } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      titles << box->text();
      box->buttons().first()->click();
    }
  });
  for (QAction* a : w.form->findChild<QMenu*>("InternetMenu")->actions())
    if (a->text() == "Internet Settings...") a->trigger();
  EXPECT_EQ(titles, QStringList{"Internet Preferences"});
  EXPECT_EQ(w.form->Internet().Sender().HostDetails().HostName, "ftp.example.org");
  // Kept with the webcam settings, which the close stores.
  w.form->CloseAfterLoop();
  tregconfig reg;
  tconfigrecord stored;
  reg.ReadConfig(stored);
  EXPECT_EQ(stored.WebcamSettings().RemoteHost(), "ftp.example.org");
}

TEST(WindowOutput, SelectedBrowsePicturesGoByFtpWithSendAllFiles) {
  ttemphome home;
  tconfigdir config;
  testing::ttempdirs dirs;
  fs::create_directories(dirs.server / "pics");
  testing::tpyftpserver server(dirs.server.string());
  const std::string a = testing::WriteJpegLike(dirs.local / "a.jpg", 150000, 1);
  const std::string b = testing::WriteJpegLike(dirs.local / "b.jpg", 70000, 2);
  testing::WriteJpegLike(dirs.local / "c.jpg", 1000, 3);
  // The host is set up in "Internet Preferences", which stores it with the webcam settings.
  StoreSettings(home.Pictures(), 1, 1, [&](tconfigrecord& c) {
    twebcamsettings w = c.WebcamSettings();
    w.SetRemoteHost(server.Host());
    w.SetRemoteUser("user");
    w.SetRemotePassword("pass");
    w.SetRemoteDirectory("pics");
    c.SetWebcamSettings(w);
  });
  {
    tregconfig reg;
    tcontactrecord contact;
    contact.SetInternetConnection(tcontactrecord::kNetworkConnection);
    reg.WriteContact(contact);
  }
  twindow w(dirs.local);
  w.Select({"a.jpg", "b.jpg"});

  QStringList boxes, groups;
  QPointer<QWidget> answered;
  tdialoganswerer answerer([&](QWidget* modal) {
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      boxes << box->text();
      box->escapeButton()->click();
      return;
    }
    auto* send = qobject_cast<Tftpsend*>(modal);
    if (!send || answered == send) return;
    answered = send;
    groups << send->FileGroup->title();
    send->SendAllButton->click();  // returns once every file is sent
    groups << send->FileGroup->title();
    send->CancelButton->click();  // "Close"
  });
  ASSERT_TRUE(w.browse->FtpSendAction->isEnabled());
  w.browse->FtpSendAction->trigger();

  EXPECT_TRUE(boxes.isEmpty()) << boxes.join(" | ").toStdString();
  EXPECT_EQ(groups, (QStringList{" File #1 of 2 to send ", " All files sent "}));
  EXPECT_TRUE(testing::ReadAll(dirs.server / "pics" / "a.jpg") == a);
  EXPECT_TRUE(testing::ReadAll(dirs.server / "pics" / "b.jpg") == b);
  EXPECT_FALSE(fs::exists(dirs.server / "pics" / "c.jpg"));
  EXPECT_EQ(w.form->Label1->text(), " Ready");
  // One connection for the run.
  EXPECT_EQ(testing::tpyftpserver::Count(server.StopAndLog(), "logged in"), 1);
}

TEST(WindowOutput, ContactSheetOfSelectedPicturesIsShownSavedAndSavedAgainWhenFull) {
  ttemphome home;
  tconfigdir config;
  QTemporaryDir pictures, out;
  const fs::path folder = pictures.path().toStdString();
  const QColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::cyan, Qt::magenta};
  for (int i = 0; i < 6; ++i)
    WriteSolidJpeg(folder / ("p" + std::to_string(i + 1) + ".jpg"), colours[i]);
  StoreSettings(out.path().toStdString(), 1, 1,
                [](tconfigrecord& c) { c.SetSaveContactSheets(true); });
  {
    tregconfig reg;
    tcontactrecord contact;
    contact.SetRows(2);
    contact.SetColumns(3);
    reg.WriteContact(contact);
  }
  twindow w(folder);
  tconman& sheet = w.form->ContactSheet();
  EXPECT_EQ(sheet.Rows(), 2);
  EXPECT_EQ(sheet.Columns(), 3);

  // Nothing selected: said, and no sheet.
  tmodalcloser boxes;
  w.browse->Manager().SelectNone();
  w.form->SheetMenu().AddSelectedDiskPictures1Click();
  EXPECT_EQ(boxes.texts, QStringList{"No Pictures are Selected"});
  w.form->SheetMenu().ShowCurrentSheet1Click();
  EXPECT_EQ(boxes.texts.size(), 2);
  EXPECT_EQ(boxes.texts.back(), "The current contact sheet is empty");

  w.Select({"p1.jpg", "p2.jpg", "p3.jpg"});
  w.form->SheetMenu().AddSelectedDiskPictures1Click();
  EXPECT_EQ(w.form->SheetMenu().LastReport().done.size(), 3u);
  EXPECT_EQ(sheet.Count(), 3);
  EXPECT_TRUE(sheet.Making());
  // The sheet is the shown picture, on the Picture page.
  EXPECT_TRUE(w.form->SheetMenu().SheetShown());
  EXPECT_EQ(w.form->PageControl2->currentWidget(), &w.form->PictureView());
  EXPECT_EQ(w.form->PictureView().Document().Picture().Width(), 640);
  EXPECT_EQ(w.form->PictureView().Document().Picture().Height(), 480);
  EXPECT_TRUE(FilesIn(out.path().toStdString(), "cs", ".jpg").empty());  // not full: not saved

  // "Save Current Sheet": Save As proposes the first "CS" name; the proposal is kept.
  QString proposal;
  tdialoganswerer saveAs([&](QWidget* modal) {
    auto* fd = qobject_cast<QFileDialog*>(modal);
    if (!fd) return;
    fd->selectNameFilter("JPEG (*.jpg)");
    if (auto* edit = fd->findChild<QLineEdit*>("fileNameEdit")) proposal = edit->text();
    static_cast<QDialog*>(fd)->accept();
  });
  w.form->SheetMenu().SaveCurrentSheet1Click();
  EXPECT_EQ(boxes.texts.size(), 2) << boxes.texts.join(" | ").toStdString();
  EXPECT_TRUE(proposal.startsWith("cs")) << proposal.toStdString();
  EXPECT_TRUE(proposal.endsWith("001")) << proposal.toStdString();
  const auto saved = FilesIn(out.path().toStdString(), "cs", ".jpg");
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_EQ(QString::fromStdString(saved[0]), proposal + ".jpg");
  const QImage first(out.filePath(QString::fromStdString(saved[0])));
  ASSERT_EQ(first.size(), QSize(640, 480));
  for (int k = 1; k <= 3; ++k)
    EXPECT_TRUE(testutil::Near(CellColour(first, 2, 3, k), colours[k - 1])) << k;
  for (int k = 4; k <= 6; ++k)
    EXPECT_TRUE(testutil::Near(CellColour(first, 2, 3, k), Qt::white)) << k;

  // All six: the first three fill the sheet, which is saved under the next name without
  // asking; the other three start the next sheet, which is shown.
  w.form->SheetMenu().AddAllDiskPictures1Click();
  EXPECT_EQ(w.form->SheetMenu().LastReport().done.size(), 6u);
  const auto both = FilesIn(out.path().toStdString(), "cs", ".jpg");
  ASSERT_EQ(both.size(), 2u);
  EXPECT_EQ(both[0], saved[0]);
  EXPECT_TRUE(QString::fromStdString(both[1]).endsWith("002.jpg")) << both[1];
  const QImage full(out.filePath(QString::fromStdString(both[1])));
  ASSERT_EQ(full.size(), QSize(640, 480));
  for (int k = 1; k <= 6; ++k)
    EXPECT_TRUE(testutil::Near(CellColour(full, 2, 3, k), colours[(k - 1) % 3])) << k;
  EXPECT_EQ(sheet.Count(), 3);
  const QImage shown = ImageFromBitmap(w.form->PictureView().Document().Picture().Bitmap());
  for (int k = 1; k <= 3; ++k)
    EXPECT_TRUE(testutil::Near(CellColour(shown, 2, 3, k), colours[k + 2])) << k;

  // "Clear Current Sheet" drops the sheet in progress.
  w.form->SheetMenu().ClearCurrentSheet1Click();
  EXPECT_FALSE(sheet.HasSheet());
  EXPECT_EQ(boxes.texts.size(), 2) << boxes.texts.join(" | ").toStdString();
}

// Print output into PDF files named after the job, with the window's "no printer" question
// answered yes.
void PrintIntoPdf(TForm1& form, const QTemporaryDir& dir, QStringList& questions) {
  tprinteroutput& output = form.PrinterOutput();
  output.defaultPrinter = [] { return std::optional<std::string>(); };
  output.question = [&questions](QWidget*, const std::string& text) {
    questions << QString::fromStdString(text);
    return true;
  };
  output.pdfName = [&dir](QWidget*, int job) {
    return std::optional<std::string>(dir.filePath(QString("job%1.pdf").arg(job)).toStdString());
  };
}

TEST(WindowOutput, ThreeDiskPicturesWaitOnATwoByTwoPageUntilTheyAreFlushed) {
  ttemphome home;
  tconfigdir config;
  QTemporaryDir pictures, pdfs;
  const fs::path folder = pictures.path().toStdString();
  WriteSolidJpeg(folder / "r.jpg", Qt::red);
  WriteSolidJpeg(folder / "g.jpg", Qt::green);
  WriteSolidJpeg(folder / "b.jpg", Qt::blue);
  StoreSettings(home.Pictures(), 2, 2);
  twindow w(folder);
  tacprinter& printer = w.form->Printer();
  EXPECT_EQ(printer.Rows(), 2);
  EXPECT_EQ(printer.Columns(), 2);
  QStringList questions;
  PrintIntoPdf(*w.form, pdfs, questions);

  w.Select({"b.jpg", "g.jpg", "r.jpg"});
  w.form->PrintMenu().SelectedDiskPictures1Click();
  EXPECT_EQ(questions, QStringList{kNoPrinterQuestion});
  EXPECT_EQ(w.form->PrintMenu().LastReport().done.size(), 3u);
  EXPECT_TRUE(printer.HasPendingPage());
  EXPECT_EQ(printer.CountOnPage(), 3);
  EXPECT_FALSE(QFile::exists(pdfs.filePath("job1.pdf")));

  w.form->PrintMenu().FlushPrinter1Click();
  EXPECT_FALSE(printer.HasPendingPage());
  const std::string pdf = pdfs.filePath("job1.pdf").toStdString();
  ASSERT_TRUE(QFile::exists(QString::fromStdString(pdf)));
  EXPECT_EQ(testutil::PdfPages(pdf), 1);
  // Three cells hold the pictures in listing order (b, g, r); the fourth is empty.
  const QImage page = testutil::PdfPageImage(pdf, 1, 30);
  ASSERT_FALSE(page.isNull());
  EXPECT_TRUE(testutil::Near(CellColour(page, 2, 2, 1), Qt::blue));
  EXPECT_TRUE(testutil::Near(CellColour(page, 2, 2, 2), Qt::green));
  EXPECT_TRUE(testutil::Near(CellColour(page, 2, 2, 3), Qt::red));
  EXPECT_TRUE(testutil::Near(CellColour(page, 2, 2, 4), Qt::white));
  EXPECT_EQ(questions.size(), 1);  // asked once per run
}

TEST(WindowOutput, ClosingWithAPendingPageAsksWhetherToPrintIt) {
  ttemphome home;
  QTemporaryDir pictures;
  const fs::path folder = pictures.path().toStdString();
  WriteSolidJpeg(folder / "r.jpg", Qt::red);
  WriteSolidJpeg(folder / "g.jpg", Qt::green);
  for (const bool yes : {true, false}) {
    tconfigdir config;
    QTemporaryDir pdfs;
    StoreSettings(home.Pictures(), 2, 2);
    twindow w(folder);
    QStringList questions;
    PrintIntoPdf(*w.form, pdfs, questions);
    w.Select({"g.jpg", "r.jpg"});
    w.form->PrintMenu().SelectedDiskPictures1Click();
    ASSERT_TRUE(w.form->Printer().HasPendingPage());

    QStringList asked;
    tdialoganswerer answer([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      if (!box) return;
      asked << box->text();
      box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
    });
    EXPECT_TRUE(w.form->close());
    EXPECT_TRUE(w.form->Closed());
    EXPECT_EQ(asked, QStringList{kPrinterBufferQuestion}) << yes;
    EXPECT_FALSE(w.form->Printer().HasPendingPage());
    const std::string pdf = pdfs.filePath("job1.pdf").toStdString();
    if (yes) {
      EXPECT_EQ(testutil::PdfPages(pdf), 1);
    } else {
      EXPECT_FALSE(fs::exists(pdf));
    }
  }
}

// Camera pictures are printed as the camera grid fetches them: each is shown and saved by the
// automatic saves, and printed without a title.
TEST(WindowOutput, CameraPicturesArePrintedAsTheyAreFetchedAndSaved) {
  ttemphome home;
  tconfigdir config;
  QTemporaryDir out, pdfs;
  camsim::Options options;
  options.count = 3;
  camsim::SimulatedCamera camera(options);
  camera.Start();
  qputenv("VANTLO_COM1", QByteArray::fromStdString(camera.DevicePath()));
  StoreSettings(out.path().toStdString(), 1, 1, [](tconfigrecord& c) {
    c.SetSaveJpeg(true);
    c.SetSaveCam(false);
    c.SetSaveThumbnails(false);
    c.SetConfirmOverwrite(false);  // "All" saves pictures 1 and 3 again
  });
  {
    twindow w(home.Pictures(), "COM1:");
    QStringList questions;
    PrintIntoPdf(*w.form, pdfs, questions);
    tcamerapictures& pictures = w.form->Page<tcamerapage>().Pictures();

    // Nothing selected: the Camera page and the warning, nothing printed.
    QStringList boxes;
    tdialoganswerer answer([&](QWidget* modal) {
      if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        boxes << box->text();
        box->escapeButton() ? box->escapeButton()->click() : box->buttons().first()->click();
      }
    });
    w.form->ShowPage(3);
    w.form->PrintMenu().SelectedCameraPictures1Click();
    EXPECT_EQ(boxes, QStringList{kSelectToPrint});
    EXPECT_EQ(w.form->ShownPage(), 1);
    EXPECT_EQ(w.form->Printer().JobCounter(), 0);

    // Pictures 1 and 3 of 3 on a page each: two jobs, and their JPEG files saved.
    pictures.Selection().Set(1, true);
    pictures.Selection().Set(3, true);
    w.form->PrintMenu().SelectedCameraPictures1Click();
    EXPECT_EQ(boxes.size(), 1) << boxes.join(" | ").toStdString();
    EXPECT_EQ(w.form->Printer().JobCounter(), 2);
    for (const char* job : {"job1.pdf", "job2.pdf"})
      EXPECT_EQ(testutil::PdfPages(pdfs.filePath(job).toStdString()), 1) << job;
    EXPECT_EQ(FilesIn(out.path().toStdString(), "", "001.jpg").size(), 1u);
    EXPECT_EQ(FilesIn(out.path().toStdString(), "", "003.jpg").size(), 1u);
    EXPECT_TRUE(FilesIn(out.path().toStdString(), "", "002.jpg").empty());
    EXPECT_EQ(w.form->Label1->text(), " Ready");  // the camera pictures slot is free again

    // All three: a job each, and picture 2 saved too.
    w.form->PrintMenu().AllCameraPictures1Click();
    EXPECT_EQ(boxes.size(), 1) << boxes.join(" | ").toStdString();
    EXPECT_EQ(w.form->Printer().JobCounter(), 5);
    EXPECT_EQ(testutil::PdfPages(pdfs.filePath("job5.pdf").toStdString()), 1);
    EXPECT_EQ(FilesIn(out.path().toStdString(), "", "002.jpg").size(), 1u);
    EXPECT_FALSE(w.form->Printer().HasPendingPage());
  }
  qunsetenv("VANTLO_COM1");
}

}  // namespace
}  // namespace vantlo
