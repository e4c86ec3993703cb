// TForm1 start-up: the initialisation routine in its guarded blocks,
// FormShow, the deferred start, the welcome window, the resize relayout and
// the copying of settings to controls and back.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <filesystem>

#include "app/core/thumbmanager.h"
#include "app/portchoice.h"
#include "app/pumpingwait.h"
#include "app/zoommode.h"
#include "autocapturepage.h"
#include "browsepage.h"
#include "camera/qv10int.h"
#include "form1.h"
#include "library/userfolders.h"
#include "output/acprinter.h"
#include "output/conman.h"
#include "pictureview.h"
#include "preferencespage.h"
#include "welcome.h"

namespace vantlo {

namespace {

constexpr const char* kContact = " -- please write down the next message and contact Corvane";

// Where the Browse page starts without a folder of its own: the Pictures folder, or the home
// folder while there is none.
std::string StartBrowseFolder() {
  std::error_code ec;
  const std::string pictures = UserPicturesFolder();
  if (std::filesystem::is_directory(pictures, ec)) return pictures;
  return UserHomeFolder();
}

}  // namespace

void TForm1::GuardedBlock(const char* message, const std::function<void()>& body) {
  try {
    body();
  } catch (...) {
    QMessageBox::warning(this, "Vantlo", QString(message) + kContact);
    throw;
  }
}

void TForm1::Initialise() {
  debug_ = DebugStartRequested(options_.args);
  Trace("Starting init");

  GuardedBlock("Error reading the system registry", [&] {
    store_ = std::make_unique<tsettingsio>();
    store_->ReadAll(
        settings_, [&](const char* t) { Trace(t); },
        [&] {
          const auto cl = ParseCommandLine(options_.args, settings_.autocapture.RunAtStart());
          autostart_ = cl.autostart;
        });
    firstRun_ = store_->FirstRun();
  });

  GuardedBlock("Error starting manager", [&] {
    // The contact sheet manager is the window's (made with it); the disk thumbnail manager is
    // the Browse page's, whose filters come from DISKMAN.
    Page<tbrowsepage>().ApplySettings(settings_);
  });

  Trace("init10");
  GuardedBlock("Error starting prototcol engine", [&] {
    const std::string port = options_.portOverride.empty() ? ValidPortName(settings_.config.Port())
                                                           : options_.portOverride;
    link_ = MakeEngineLink(port, settings_.extra.IrDA());
  });

  GuardedBlock("Error thumb handler", [&] {
    Trace("init11");
    // The camera thumbnail manager on the one engine, for the whole run.
    if (tqvProtocolEngine* engine = link_->Engine()) {
      cameraThumbs_ =
          std::make_unique<tthumbmanager>(*engine, *engine, settings_.config.CacheFolder());
      settings_.config.SetCacheFolder(cameraThumbs_->CacheFolderSetting());
    }
    Trace("init12");
    Trace("init13");
    Trace("init14");
  });

  try {
    Trace("init15");
  } catch (...) {
  }

  GuardedBlock("Init Error #1", [&] {
    link_->SetBlockSize(4096);
    link_->SetOnLowVoltage(
        [this] { ReportText("Battery Voltage is low; change batteries now", 0); });
    const int threshold = settings_.contact.LowBatteryThreshold();
    if (threshold != 0) link_->SetLowVoltageThreshold(threshold / 10.0);
    // Engine progress keeps the window alive. Stop is not answered here: cutting a transfer in
    // mid-packet leaves the camera at another speed; commands stop between items instead.
    link_->SetOnProgress([this](int position, const std::string& text, int picture) {
      if (!text.empty()) ReportText(text, picture);
      ReportPosition(position);
      QCoreApplication::processEvents();
    });
  });

  GuardedBlock("Error setting vantlo configuration", [&] {
    webcamBlock_ = settings_.config.WebcamSettings();
    webcamBlock_.SetActive(false);
    settings_.config.SetWebcamSettings(webcamBlock_);
    busy_.ClearAll();
    stop_.Clear();
  });

  GuardedBlock("Init Error #2 ", [&] {
    printer_->SetLayout(PrintLayoutFrom(settings_.config, settings_.diskman));
    // No picture is current (the picture view starts with Redisplay disabled); the Browse
    // page's preview is 132 x 84.
    switch (settings_.ftp.WindowState()) {
      case twindowstate::Minimized:
        setWindowState(Qt::WindowMinimized);
        break;
      case twindowstate::Maximized:
        setWindowState(Qt::WindowMaximized);
        break;
      default:
        setWindowState(Qt::WindowNoState);
        break;
    }
    PageControl2->setCurrentWidget(Page<tbrowsepage>().Widget());
  });

  Trace("init16");
  tbrowsepage& browse = Page<tbrowsepage>();
  try {
    // The browse folder is the window's state: the process's current directory is never changed
    // to follow it, and an empty or vanished folder starts at the user's Pictures folder.
    namespace fs = std::filesystem;
    std::string folder = settings_.extra.BrowseFolder();
    std::error_code ec;
    if (folder.empty() || folder[0] != '/' || !fs::is_directory(folder, ec))
      folder = StartBrowseFolder();
    const fs::path canonical = fs::canonical(folder, ec);
    if (!ec) folder = canonical.string();
    if (!fs::is_directory(folder, ec)) folder.clear();
    if (!folder.empty() && folder.back() != '/') folder += '/';
    browse.SetStartFolder(folder);
  } catch (...) {
    browse.SetStartFolder({});
  }

  Trace("init17");
  try {
    browse.ShowStartFolderInTree();
  } catch (...) {
    QMessageBox::critical(this, "Vantlo",
                          "There was a problem setting the directory " +
                              QString::fromStdString(browse.ShownFolder()));
  }

  GuardedBlock("Init Error #3", [&] {
    Trace("init18");
    // The manager's sheet-finished notification (set with the menus) saves each full sheet.
    conman_->Configure(settings_.contact);
    // The FTP client and dial-up are not made yet: Internet() makes them on first use.
  });

  Page<tpreferencespage>().ComboBox4->setCurrentIndex(settings_.config.PictureSize());
  Trace("Init Complete");
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!shown_) {
    shown_ = true;
    // Run after the window is on screen, as the message loop would.
    QTimer::singleShot(0, this, &TForm1::FormShow);
  }
}

void TForm1::FormShow() {
  Trace("Starting FormShow");
  Trace("Part 4 OK");
  Trace("Part 5 OK");
  try {
    colourDepth_ = 16;
    if (QScreen* s = screen()) colourDepth_ = s->depth();
  } catch (...) {
  }
  if (colourDepth_ <= 8)
    QMessageBox::information(
        this, "Vantlo",
        "The System is running with 256 or fewer colors. Vantlo will perform all image "
        "manipulation in 24-bit color. However it will be unable to display all these colors and "
        "some screen corruption will occur.");
  Trace("Entering part 6");
  try {
    Trace("Part 6/1 OK");
    SetCurrentPicture({}, 0);
    Trace("Part 6/2 OK");
    ApplySettingsToControls();
    Trace("Part 6/3 OK");
    if (auto page = settings_.config.StartPage()) ShowPage(*page);
    UpdateRightPanelWidth();
    Trace("Part 6/4 OK -- " + QString::fromStdString(Page<tbrowsepage>().ShownFolder()));
    if (firstRun_) Timer2->start();
    Trace("Part 6/5 OK");
  } catch (const std::exception& e) {
    QMessageBox::warning(this, "Vantlo",
                         QString("Init Error #6") +
                             " -- please write down the next message and "
                             "contact Corvane");
    ShowError(QString::fromStdString(e.what()));
  }
  for (twindowpage* page : pages_) page->WindowShown();
  Trace("FormShow complete");
  Timer3->start();
}

void TForm1::Timer3Timer() {
  Timer3->stop();
  for (twindowpage* page : pages_) page->DeferredStart();
  if (auto mode = settings_.diskman.ZoomMode())
    SetZoom(*mode);
  else
    SetZoom(zoom_);
  if (autostart_) {
    stop_.Set();
    PumpingWait(250, stop_);
    if (settings_.autocapture.RunMinimized()) {
      showMinimized();
      stop_.Clear();
      PumpingWait(1000, stop_);
    }
    AutoCapture3Click();
    Page<tautocapturepage>().button1click();
  }
}

void TForm1::Timer2Timer() {
  Timer2->stop();
  Twelcome welcome(this);
  welcome.exec();
}

void TForm1::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (resizetimer && !resizetimer->isActive()) resizetimer->start();
}

void TForm1::resizetimerTimer() {
  try {
    UpdateRightPanelWidth();
    if (PageControl2->currentWidget() == pictureView_ && pictureView_->HasPicture())
      pictureView_->Redraw();
  } catch (...) {
  }
  resizetimer->stop();
}

void TForm1::killtimerTimer() {
  // No removal window to close on this system; the drive is unmounted by
  // webcam mode itself.
  killtimer->stop();
}

void TForm1::SetZoom(int mode) {
  if (ZoomText(mode).empty()) mode = kZoomActualSize;
  zoom_ = mode;
  pictureView_->SetZoom(mode);
}

}  // namespace vantlo
