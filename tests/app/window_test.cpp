// The main window and its camera dialogs, offscreen, against the simulated
// camera on a pseudo-terminal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <cstdlib>

#include "app/cameralink.h"
#include "app/ui/browsepage.h"
#include "app/ui/camerapage.h"
#include "app/ui/camerapictures.h"
#include "app/ui/connectionwiz.h"
#include "app/ui/form1.h"
#include "app/ui/lowvolts.h"
#include "app/ui/programentry.h"
#include "app/ui/setuppage.h"
#include "app/ui/showpicnum.h"
#include "configdir.h"
#include "library/regconfig.h"
#include "modalcloser.h"
#include "simulator/simcamera.h"
#include "temphome.h"

namespace vantlo {
namespace {

// Points VANTLO_COM1..8 at the given devices for one test and back after.
class tcomenv {
 public:
  explicit tcomenv(const std::array<std::string, 8>& devices) {
    for (int n = 1; n <= 8; ++n) {
      const std::string var = "VANTLO_COM" + std::to_string(n);
      ::setenv(var.c_str(), devices[n - 1].c_str(), 1);
    }
  }
  ~tcomenv() {
    for (int n = 1; n <= 8; ++n) ::unsetenv(("VANTLO_COM" + std::to_string(n)).c_str());
  }
};

std::string Missing(int n) { return "/nonexistent/vantlo-test-tty" + std::to_string(n); }

TEST(ConnectionWizard, FindsTheCameraOnCom3AndLeavesLaterPortsUnknown) {
  camsim::SimulatedCamera camera(camsim::Options{});
  camera.Start();
  tcomenv env({Missing(1), Missing(2), camera.DevicePath(), Missing(4), Missing(5), Missing(6),
               Missing(7), Missing(8)});
  auto link = MakeEngineLink("COM5:", false);
  Tconnectionwiz wiz;
  wiz.Prepare(*link);
  EXPECT_FALSE(wiz.UseDetectedButton->isEnabled());
  EXPECT_EQ(wiz.DetectedPort(), "not found");
  wiz.TestAllPortsClick();
  EXPECT_EQ(wiz.StatusCells[0]->text(), "Port not available");
  EXPECT_EQ(wiz.ErrorCells[0]->text(), "Port not found (2)");
  EXPECT_EQ(wiz.StatusCells[1]->text(), "Port not available");
  EXPECT_EQ(wiz.StatusCells[2]->text(), "Camera Connected");
  EXPECT_TRUE(wiz.StatusCells[2]->font().bold());
  EXPECT_FALSE(wiz.NameCells[2]->font().bold());
  for (int i = 3; i < 8; ++i) EXPECT_EQ(wiz.StatusCells[i]->text(), "Unknown") << i;
  EXPECT_EQ(wiz.ResultLine->text(), "Camera found on COM3:");
  EXPECT_TRUE(wiz.UseDetectedButton->isEnabled());
  wiz.Finish(true);
  EXPECT_EQ(link->CurrentPortName(), "COM3:");
  EXPECT_TRUE(link->CheckCamera());
}

TEST(ConnectionWizard, CancelStopsBeforeTheNextPortAndRestoresThePort) {
  tcomenv env({Missing(1), Missing(2), Missing(3), Missing(4), Missing(5), Missing(6), Missing(7),
               Missing(8)});
  auto link = MakeEngineLink("COM5:", false);
  Tconnectionwiz wiz;
  wiz.Prepare(*link);
  // Cancel is "pressed" while the scan processes messages after COM1.
  QMetaObject::invokeMethod(
      &wiz, [&] { wiz.CancelClick(); }, Qt::QueuedConnection);
  wiz.TestAllPortsClick();
  EXPECT_EQ(wiz.StatusCells[0]->text(), "Port not available");
  for (int i = 1; i < 8; ++i) EXPECT_EQ(wiz.StatusCells[i]->text(), "Unknown") << i;
  wiz.Finish(false);
  EXPECT_EQ(link->CurrentPortName(), "COM5:");
}

TEST(ConnectionWizard, NoCameraAnywhereKeepsUseDetectedDisabled) {
  tcomenv env({Missing(1), Missing(2), Missing(3), Missing(4), Missing(5), Missing(6), Missing(7),
               Missing(8)});
  auto link = MakeEngineLink("COM1:", false);
  Tconnectionwiz wiz;
  wiz.Prepare(*link);
  wiz.TestAllPortsClick();
  for (int i = 0; i < 8; ++i) EXPECT_EQ(wiz.ErrorCells[i]->text(), "Port not found (2)") << i;
  EXPECT_FALSE(wiz.UseDetectedButton->isEnabled());
  EXPECT_TRUE(wiz.ResultLine->text().isEmpty());
}

TEST(LowVoltsDialog, RangeIsCheckedAndValuesStored) {
  tmodalcloser boxes;
  TLowvolts dlg(0);
  EXPECT_EQ(dlg.Edit1->text(), "4.0");
  dlg.Edit1->setText("3.4");
  dlg.OkClick();
  ASSERT_EQ(boxes.texts.size(), 1);
  EXPECT_EQ(boxes.texts[0], "Please enter a number in the range 3.5 to 6.0");
  EXPECT_NE(dlg.result(), QDialog::Accepted);
  dlg.Edit1->setText("abc");
  dlg.OkClick();  // not a number: an error box, the dialog stays open
  EXPECT_EQ(boxes.texts.size(), 2);
  EXPECT_NE(dlg.result(), QDialog::Accepted);
  dlg.Edit1->setText("4.5");
  dlg.OkClick();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(dlg.StoredThreshold(), 45);
  TLowvolts again(45);
  EXPECT_EQ(again.Edit1->text(), "4.5");
  again.DefaultClick();
  again.OkClick();
  EXPECT_EQ(again.StoredThreshold(), 0);
}

TEST(MainWindow, DamagedPortSettingResetsToCom1) {
  tconfigdir config;
  tcomenv env({Missing(1), Missing(2), Missing(3), Missing(4), Missing(5), Missing(6), Missing(7),
               Missing(8)});
  TForm1 form(tstartoptions{});
  form.Initialise();
  for (const char* bad : {"COM9:", "COMX:", "COM0:"}) {
    form.Settings().config.SetPort(bad);
    form.ApplySettingsToControls();
    EXPECT_EQ(form.Settings().config.Port(), "COM1:") << bad;
    EXPECT_EQ(form.Page<tsetuppage>().ComboBox2->currentIndex(), 0) << bad;
  }
  form.Settings().config.SetPort("COM7:");
  form.ApplySettingsToControls();
  EXPECT_EQ(form.Page<tsetuppage>().ComboBox2->currentIndex(), 6);
  EXPECT_TRUE(form.Page<tsetuppage>().ComboBox2->currentText().contains(
      QString::fromStdString(Missing(7))));
  form.CloseAfterLoop();
}

TEST(MainWindow, CloseIsRefusedWhileCameraWorkRunsAndWaitsForDiskLoops) {
  tconfigdir config;
  tcomenv env({Missing(1), Missing(2), Missing(3), Missing(4), Missing(5), Missing(6), Missing(7),
               Missing(8)});
  TForm1 form(tstartoptions{});
  form.Initialise();
  ASSERT_TRUE(form.BusyControl(tbusyregister::kThumbnails));
  EXPECT_TRUE(form.BitBtn_15->isEnabled());
  EXPECT_FALSE(form.close());
  EXPECT_FALSE(form.Closed());
  form.BusyControl(tbusyregister::kThumbnails + 1);
  EXPECT_EQ(form.Label1->text(), " Ready");
  EXPECT_FALSE(form.BitBtn_15->isEnabled());

  // Only a disk loop runs: the close goes ahead, but only after the loop
  // has seen the stop request and released its slot.
  ASSERT_TRUE(form.BusyControl(tbusyregister::kDiskThumbnails));
  bool stopSeen = false;
  QTimer::singleShot(100, &form, [&] {
    stopSeen = form.StopRequest().IsSet();
    form.BusyControl(tbusyregister::kDiskThumbnails + 1);
  });
  EXPECT_TRUE(form.close());
  EXPECT_TRUE(stopSeen);
  EXPECT_TRUE(form.Closed());
  EXPECT_TRUE(form.CloseWriteFailures().empty());
  for (const char* rec :
       {"CONFIGD5", "FTPCONFIG", "AUTOCAPTURE", "CAPDATA", "EXTRA", "DISKMAN", "CONTACTD5"})
    EXPECT_TRUE(QFile::exists(config.Path() + "/" + rec)) << rec;
}

TEST(MainWindow, MissingBrowseFolderFallsBackToThePicturesFolderSilently) {
  ttemphome home;
  tconfigdir config;
  {
    tregconfig reg;
    textrarecord extra;
    extra.SetBrowseFolder("/nonexistent/vantlo/pictures");
    reg.WriteExtra(extra);
  }
  tmodalcloser boxes;
  const QString pictures = QString::fromStdString(home.Pictures().string());
  TForm1 form(tstartoptions{{"-autocap"}, {}});
  form.Initialise();
  EXPECT_TRUE(form.AutostartFlag());
  EXPECT_TRUE(form.FirstRun());  // no main settings saved yet
  EXPECT_EQ(form.Page<tbrowsepage>().Label27->text(), "  " + pictures + "/");
  EXPECT_TRUE(boxes.texts.isEmpty());
  form.CloseAfterLoop();
}

TEST(MainWindow, ProgressReportMovesTheBar) {
  tconfigdir config;
  TForm1 form(tstartoptions{});
  form.Initialise();
  form.ReportText("Fetching picture", 3);
  EXPECT_EQ(form.Label1->text(), " Fetching picture 3");
  form.ReportPosition(96);
  form.ReportPosition(-4);
  EXPECT_EQ(form.ProgressBar1->value(), 5);
  form.SetCurrentPicture("/tmp/a.jpg", 10);
  EXPECT_EQ(form.Label9->text(), "Showing /tmp/a.jpg");
  form.CloseAfterLoop();
}

bool Logged(const camsim::SimulatedCamera& cam, const std::string& entry) {
  const auto log = cam.CommandLog();
  return std::find(log.begin(), log.end(), entry) != log.end();
}

// The camera logs a command once it has the program's final ACK, which may
// be a moment after the engine has returned; give it that moment.
bool EventuallyLogged(const camsim::SimulatedCamera& cam, const std::string& entry) {
  for (int i = 0; i < 500 && !Logged(cam, entry); ++i) QThread::msleep(10);
  return Logged(cam, entry);
}

// The camera page against a classic camera with weak batteries: gauge, show
// on camera, and the reset at close.
TEST(MainWindow, CameraPageWorksAndTheCloseResetsTheCamera) {
  tconfigdir config;
  camsim::Options options;
  options.faults.batteryByte = 0x39;  // 3.5625 V, read as 3.6 V
  camsim::SimulatedCamera camera(options);
  camera.Start();
  tcomenv env({camera.DevicePath(), Missing(2), Missing(3), Missing(4), Missing(5), Missing(6),
               Missing(7), Missing(8)});
  tmodalcloser boxes;
  TForm1 form(tstartoptions{{}, "COM1:"});
  form.Initialise();
  form.ApplySettingsToControls();
  form.Page<tcamerapage>().SpeedButton3Click();
  EXPECT_EQ(form.Page<tcamerapage>().VoltageLabel->text(), "3.6 volts");
  EXPECT_EQ(form.Page<tcamerapage>().Gauge1->value(), 4);
  EXPECT_EQ(form.Page<tcamerapage>().Gauge1->property("gaugeColour").toString(),
            QColor(Qt::red).name());
  EXPECT_EQ(form.Label1->text(), " Ready");  // the slot was given back

  const int count = form.Camera().GetPictureCount();
  ASSERT_GE(count, 2);
  Tshowpicnum dlg(form.Camera(), count);
  EXPECT_EQ(dlg.CountLabel->text(), QString("There are %1 pictures in the camera.").arg(count));
  EXPECT_FALSE(dlg.FetchButton->isEnabled());
  dlg.NumberEdit->setValue(2);
  dlg.ShowOnCameraClick();
  EXPECT_TRUE(EventuallyLogged(camera, "DA 02"));
  EXPECT_TRUE(boxes.texts.isEmpty()) << boxes.texts.join("|").toStdString();

  EXPECT_FALSE(Logged(camera, "QR"));
  form.CloseAfterLoop();
  EXPECT_TRUE(form.Closed());
  EXPECT_TRUE(EventuallyLogged(camera, "QR"));
}

// A port that cannot be opened says why, in Test Communications and in the camera commands:
// a missing device, and a device another program holds.
TEST(MainWindow, PortFailuresSayWhatIsWrongWithThePort) {
  tconfigdir config;
  tcomenv env({Missing(1), Missing(2), Missing(3), Missing(4), Missing(5), Missing(6), Missing(7),
               Missing(8)});
  tmodalcloser boxes;  // the wizard question is answered Cancel
  TForm1 form(tstartoptions{{}, "COM1:"});
  form.Initialise();
  form.Page<tsetuppage>().Button5Click();
  EXPECT_EQ(form.Page<tsetuppage>().TestStatusLabel->text(), "Port not available");
  ASSERT_EQ(boxes.texts.size(), 1);
  const QString missing = "Port not available on COM1: (" + QString::fromStdString(Missing(1)) +
                          ")\nPort not found (2)";
  EXPECT_TRUE(boxes.texts[0].startsWith(missing)) << boxes.texts[0].toStdString();
  EXPECT_TRUE(boxes.texts[0].endsWith(
      "Vantlo cannot communicate with the camera.  Do you want to run the Connection Wizard ?"));
  form.Page<tcamerapage>().Pictures().ShowThumbnails1Click();
  ASSERT_EQ(boxes.texts.size(), 2);
  EXPECT_EQ(boxes.texts[1], missing);

  // The device exists now, but another program holds it.
  camsim::SimulatedCamera camera(camsim::Options{});
  camera.Start();
  const int other = ::open(camera.DevicePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_GE(other, 0);
  ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
  ::setenv("VANTLO_COM1", camera.DevicePath().c_str(), 1);
  form.Page<tsetuppage>().Button5Click();
  ASSERT_EQ(boxes.texts.size(), 3);
  EXPECT_TRUE(boxes.texts[2].startsWith("Port not available on COM1: (" +
                                        QString::fromStdString(camera.DevicePath()) +
                                        ")\nAlready Open"))
      << boxes.texts[2].toStdString();
  // Once it is free the same port works without a restart.
  ::close(other);
  form.Page<tsetuppage>().Button5Click();
  EXPECT_EQ(form.Page<tsetuppage>().TestStatusLabel->text(), "Camera is connected");
  EXPECT_EQ(boxes.texts.size(), 3);
  form.CloseAfterLoop();
}

// The wizard's error column wraps a long reason (a refused permission names the group to join)
// inside the window instead of cutting it off at the edge.
TEST(ConnectionWizard, LongErrorTextsWrapInsideTheWindow) {
  tcomenv env({Missing(1), Missing(2), Missing(3), Missing(4), Missing(5), Missing(6), Missing(7),
               Missing(8)});
  auto link = MakeEngineLink("COM1:", false);
  Tconnectionwiz wiz;
  wiz.Prepare(*link);
  wiz.show();
  const std::string reason =
      "Permission denied on /dev/ttyUSB0: add your user to the group 'dialout' that owns it "
      "(sudo usermod -aG dialout $USER) and log in again";
  wiz.RowResult(0, 2, "Port not available", reason);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&wiz));
  QLabel* cell = wiz.ErrorCells[0];
  QCoreApplication::processEvents();
  wiz.layout()->activate();
  EXPECT_TRUE(cell->wordWrap());
  const QRect inWindow(cell->mapTo(&wiz, QPoint(0, 0)), cell->size());
  EXPECT_TRUE(wiz.rect().contains(inWindow)) << inWindow.right() << " > " << wiz.width();
  EXPECT_GE(cell->height(), cell->heightForWidth(cell->width()));
  wiz.hide();
}

// Settings that cannot be written at close make the program's exit status a failure.
TEST(Program, UnwrittenSettingsAtCloseExitNonZero) {
  tconfigdir config;
  tmodalcloser boxes(true);
  const QString folder = config.Path();
  const int rc = RunVantlo({"--simulate"}, [&](TForm1&) {
    // The settings folder is replaced by a plain file: no record can be written.
    QDir(folder).removeRecursively();
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    std::raise(SIGTERM);
  });
  EXPECT_EQ(rc, 1);
  QFile::remove(folder);
}

// The program entry with the simulated camera: the camera answers, the
// battery gauge shows, and SIGTERM closes the window in order without
// changing the stored port.
TEST(Program, SimulateThenSigtermClosesInOrder) {
  tconfigdir config;
  tmodalcloser boxes(true);
  QString testText, voltage, gaugeColour, portText;
  const int rc = RunVantlo({"--simulate"}, [&](TForm1& form) {
    portText = form.Page<tsetuppage>().ComboBox2->currentText();
    form.Page<tsetuppage>().Button5Click();
    testText = form.Page<tsetuppage>().TestStatusLabel->text();
    form.Page<tcamerapage>().SpeedButton3Click();
    voltage = form.Page<tcamerapage>().VoltageLabel->text();
    gaugeColour = form.Page<tcamerapage>().Gauge1->property("gaugeColour").toString();
    std::raise(SIGTERM);
  });
  EXPECT_EQ(rc, 0);
  EXPECT_TRUE(portText.startsWith("COM1:  /dev/"));
  EXPECT_EQ(testText, "Camera is connected");
  EXPECT_TRUE(voltage.endsWith(" volts"));
  EXPECT_FALSE(gaugeColour.isEmpty());
  for (const char* rec :
       {"CONFIGD5", "FTPCONFIG", "AUTOCAPTURE", "CAPDATA", "EXTRA", "DISKMAN", "CONTACTD5"})
    EXPECT_TRUE(QFile::exists(config.Path() + "/" + rec)) << rec;
  // The stored port is the default, not the simulated camera's COM1.
  QFile f(config.Path() + "/CONFIGD5");
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray bytes = f.read(6);
  EXPECT_EQ(bytes.mid(1, 5), QByteArray("COM2:"));
  EXPECT_EQ(qgetenv("VANTLO_COM1"), QByteArray());  // the override is gone again
}

}  // namespace
}  // namespace vantlo
