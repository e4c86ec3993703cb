// The MiniLab in the main window, offscreen, against the simulated camera on COM1: "Run MiniLab
// Using Defaults" saves the camera's pictures as the MiniLab defaults say into the MiniLab
// folder, the Saving page shows the user's own settings again afterwards, and the Browse page
// shows the folder, also for an empty camera; with printing on, the pictures are printed and
// the last page goes out (into a PDF file here); the tool bar's MiniLab button has the
// commands.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdlib>

#include "app/core/printcommand.h"
#include "app/ui/browsepage.h"
#include "app/ui/form1.h"
#include "app/ui/minilabcommands.h"
#include "app/ui/popupbutton.h"
#include "app/ui/printeroutput.h"
#include "app/ui/savingpage.h"
#include "configdir.h"
#include "dialoganswerer.h"
#include "output/acprinter.h"
#include "simulator/simcamera.h"
#include "tests/output/outputtestutil.h"

namespace vantlo {
namespace {

// A window whose settings live in a folder of its own and whose COM1 is the simulated camera.
struct tminilabwindow {
  explicit tminilabwindow(int pictures) : camera(Options(pictures)) {
    ::setenv("VANTLO_COM1", camera.DevicePath().c_str(), 1);
    camera.Start();
    settings.NotAFirstRun();
    form = std::make_unique<TForm1>(tstartoptions{{}, "COM1:"});
    form->Initialise();
    tconfigrecord& config = form->Settings().config;
    config.SetSaveFolder(Folder("autosave"));
    config.SetDailyFolder(true);
    config.SetNameByDate(false);
    config.SetPrefix("lab");
    config.SetSaveJpeg(true);
    config.SetSaveCam(true);
    config.SetMiniLabFetchThumbnails(false);
    config.SetMiniLabSaveJpeg(true);
    config.SetMiniLabSaveCam(false);
    config.SetMiniLabPrint(false);
    form->Settings().extra.SetMiniLabFolder(Folder("lab"));
    form->ApplySettingsToControls();
  }
  ~tminilabwindow() {
    form->CloseAfterLoop();
    form.reset();
    ::unsetenv("VANTLO_COM1");
  }
  static camsim::Options Options(int pictures) {
    camsim::Options o;
    o.count = pictures;
    return o;
  }
  std::string Folder(const std::string& name) {
    QDir(out.path()).mkpath(QString::fromStdString(name));
    return out.path().toStdString() + "/" + name;
  }
  QStringList Files(const std::string& name) {
    return QDir(QString::fromStdString(out.path().toStdString() + "/" + name))
        .entryList(QDir::Files, QDir::Name);
  }
  tminilabcommands& MiniLab() { return *form->findChild<tminilabcommands*>("MiniLab"); }

  tconfigdir settings;
  QTemporaryDir out;
  camsim::SimulatedCamera camera;
  std::unique_ptr<TForm1> form;
};

// Message boxes are answered and kept.
struct tboxes {
  tboxes()
      : answerer([this](QWidget* w) {
          if (auto* box = qobject_cast<QMessageBox*>(w)) {
            texts << box->text();
            box->reject();
          }
        }) {}
  QStringList texts;
  tdialoganswerer answerer;
};

TEST(MiniLabWindow, RunUsingDefaultsSavesJpegsIntoTheMiniLabFolderAndShowsIt) {
  tminilabwindow w(3);
  tboxes boxes;
  w.form->show();
  w.MiniLab().RunMiniLabUsingDefaults1Click();
  EXPECT_TRUE(boxes.texts.isEmpty()) << boxes.texts.join("|").toStdString();
  EXPECT_EQ(w.Files("lab"), (QStringList{"lab001.jpg", "lab002.jpg", "lab003.jpg"}));
  EXPECT_TRUE(w.Files("autosave").isEmpty());  // (today's folder is made there, and stays empty)
  // The user's settings are back, in the records and on the Saving page.
  EXPECT_TRUE(w.form->Settings().config.SaveCam());
  EXPECT_TRUE(w.form->Settings().config.DailyFolder());
  EXPECT_TRUE(w.form->Page<tsavingpage>().SaveCamBox->isChecked());
  w.form->ReadControlsIntoSettings();
  EXPECT_TRUE(w.form->Settings().config.SaveCam());
  EXPECT_EQ(w.form->Settings().config.SaveFolder(), w.out.path().toStdString() + "/autosave");
  // The Browse page shows the MiniLab folder.
  EXPECT_EQ(w.form->PageControl2->currentWidget(), w.form->Page<tbrowsepage>().Widget());
  EXPECT_EQ(w.form->Page<tbrowsepage>().ShownFolder(), w.out.path().toStdString() + "/lab/");
}

TEST(MiniLabWindow, AnEmptyCameraProcessesNothingAndStillShowsTheBrowsePage) {
  tminilabwindow w(0);
  tboxes boxes;
  w.form->show();
  w.form->ShowPage(1);
  w.MiniLab().RunMiniLabUsingDefaults1Click();
  EXPECT_TRUE(boxes.texts.isEmpty()) << boxes.texts.join("|").toStdString();
  EXPECT_TRUE(w.Files("lab").isEmpty());
  EXPECT_EQ(w.form->PageControl2->currentWidget(), w.form->Page<tbrowsepage>().Widget());
  EXPECT_EQ(w.form->ShownPage(), 4);
}

TEST(MiniLabWindow, WithPrintingOnThePicturesArePrintedAndTheLastPageGoesOut) {
  tminilabwindow w(2);
  tboxes boxes;
  QTemporaryDir pdfs;
  tprinteroutput& output = w.form->PrinterOutput();
  output.defaultPrinter = [] { return std::optional<std::string>(); };
  output.question = [](QWidget*, const std::string&) { return true; };  // PDF files, yes
  output.pdfName = [&pdfs](QWidget*, int job) {
    return std::optional<std::string>(pdfs.filePath(QString("job%1.pdf").arg(job)).toStdString());
  };
  tconfigrecord& config = w.form->Settings().config;
  config.SetMiniLabPrint(true);
  config.SetPrintRows(2);
  config.SetPrintColumns(2);
  tprintcommand::ApplyPageSetup(w.form->Printer(), config, w.form->Settings().diskman);
  w.form->show();
  w.MiniLab().RunMiniLabUsingDefaults1Click();
  EXPECT_TRUE(boxes.texts.isEmpty()) << boxes.texts.join("|").toStdString();
  EXPECT_EQ(w.Files("lab"), (QStringList{"lab001.jpg", "lab002.jpg"}));
  EXPECT_FALSE(w.form->Printer().HasPendingPage());
  const std::string pdf = pdfs.filePath("job1.pdf").toStdString();
  ASSERT_TRUE(QFile::exists(QString::fromStdString(pdf)));
  int status = 0;
  testutil::Run("pdfinfo -v 2>&1", status);
  if (status == 0) {
    EXPECT_EQ(testutil::PdfPages(pdf), 1);
  }
}

// A new user's way through the wizard: camera connected, all pictures, JPG files, the MiniLab
// folder, printing yes, "Start Processing": the pictures are saved, printed, and the Browse
// page shows them.
TEST(MiniLabWindow, TheWizardFromStartToAPrintedPage) {
  tminilabwindow w(3);
  tboxes boxes;
  QTemporaryDir pdfs;
  tprinteroutput& output = w.form->PrinterOutput();
  output.defaultPrinter = [] { return std::optional<std::string>(); };
  output.question = [](QWidget*, const std::string&) { return true; };
  output.pdfName = [&pdfs](QWidget*, int job) {
    return std::optional<std::string>(pdfs.filePath(QString("job%1.pdf").arg(job)).toStdString());
  };
  w.form->show();
  w.MiniLab().MinilabWizard1Click();
  Tminilabwiz& wizard = *w.MiniLab().Wizard();
  EXPECT_TRUE(wizard.isVisible());
  EXPECT_FALSE(wizard.isModal());
  wizard.StartCameraTask();
  wizard.CameraYes();
  EXPECT_EQ(wizard.CountLabel->text(), "There are 3 pictures stored in the Camera.");
  wizard.ChooseAll();
  wizard.SaveChoice(false, true);
  EXPECT_EQ(wizard.Plan().folder, w.out.path().toStdString() + "/lab");
  wizard.UseThisFolder();
  wizard.PrintChoice(true);
  EXPECT_EQ(wizard.SummaryPrint->text(), ":  Yes");
  wizard.StartProcessing();
  EXPECT_TRUE(boxes.texts.isEmpty()) << boxes.texts.join("|").toStdString();
  EXPECT_FALSE(wizard.isVisible());
  EXPECT_EQ(w.Files("lab"), (QStringList{"lab001.jpg", "lab002.jpg", "lab003.jpg"}));
  EXPECT_FALSE(w.form->Printer().HasPendingPage());
  EXPECT_TRUE(QFile::exists(pdfs.filePath("job1.pdf")));
  EXPECT_EQ(w.form->Page<tbrowsepage>().ShownFolder(), w.out.path().toStdString() + "/lab/");
  EXPECT_FALSE(w.form->Busy().AnyHeld());
}

TEST(MiniLabWindow, TheToolBarButtonHoldsTheMiniLabCommands) {
  tminilabwindow w(0);
  QStringList texts;
  for (tpopupbutton* b : w.form->ToolButtons)
    if (b->objectName() == "ToolButton_MiniLab")
      for (QAction* a : b->PopupMenu()->actions()) texts << a->text();
  EXPECT_EQ(texts, (QStringList{"&Minilab Wizard...", "Run MiniLab Using Defaults",
                                "MiniLab &Defaults..."}));
}

}  // namespace
}  // namespace vantlo
