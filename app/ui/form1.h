#pragma once

#include <QMainWindow>
#include <memory>
#include <string>
#include <vector>

#include "app/busyregister.h"
#include "app/cameralink.h"
#include "app/commandline.h"
#include "app/core/filewritten.h"
#include "app/createdfolders.h"
#include "app/progressreport.h"
#include "app/settingsio.h"
#include "app/stoprequest.h"
#include "app/ui/windowhost.h"
#include "app/ui/windowpage.h"
#include "library/records.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTabWidget;
class QTimer;

namespace vantlo {

class tacprinter;
class tconman;
class tinternetfeatures;
class tpicturetoolsite;
class tpictureview;
class tpopupbutton;
class tprintmenu;
class tprinteroutput;
class tretoucher;
class tsheetmenu;
class tthumbmanager;

// How the program was started, beyond its own command line.
struct tstartoptions {
  std::vector<std::string> args;  // without the program name
  // Port the engine uses instead of the stored one (simulated camera); the
  // stored port setting is left as it was.
  std::string portOverride;
};

// The main window: owns the long-lived objects and the settings records, runs start-up and
// shut-down, arbitrates long operations with the busy register and shows progress in its status
// line. Its pages build their own widgets and reach the window through twindowhost; the window
// keeps one list of them and loops over it for the page controls, the menus, the settings and
// closing. The work of commands sits in their own classes.
class TForm1 : public QMainWindow,
               public twindowhost,
               public tbusyview,
               public tprogressreport,
               public tfilewritten {
  Q_OBJECT
 public:
  explicit TForm1(tstartoptions options, QWidget* parent = nullptr);
  ~TForm1() override;

  // Start-up: the guarded blocks; throws after showing the block's message.
  void Initialise();

  // Shared machinery for the other parts of the window.
  void Trace(const QString& text);
  bool BusyControl(int code) { return busy_.BusyControl(code); }
  tcameralink& Camera() { return *link_; }
  void ApplySettingsToControls();
  void ReadControlsIntoSettings();
  bool FirstRun() const { return firstRun_; }
  bool DebugFlag() const { return debug_; }
  bool AutostartFlag() const { return autostart_; }
  int ZoomMode() const { return zoom_; }
  // True once FormClose has run (the window may then be destroyed).
  bool Closed() const { return closed_; }
  // Write failures of the last close, "NAME: message".
  const std::vector<std::string>& CloseWriteFailures() const { return closeFailures_; }

  // The page of type T in the page list.
  template <class T>
  T& Page() {
    for (twindowpage* p : pages_)
      if (auto* page = dynamic_cast<T*>(p)) return *page;
    throw std::logic_error("the window has no such page");
  }
  const std::vector<twindowpage*>& Pages() const { return pages_; }

  // twindowhost
  QWidget* Window() override { return this; }
  tsettingsrecords& Settings() override { return settings_; }
  void CollectSettings() override { ReadControlsIntoSettings(); }
  void SettingsChanged() override;
  tbusyregister& Busy() override { return busy_; }
  tstoprequest& StopRequest() override { return stop_; }
  tprogressreport& Progress() override { return *this; }
  void StatusText(const std::string& text) override { BusyStatusText(text); }
  void SetCurrentPicture(const std::string& path, std::uint64_t bytes) override;
  void SetPictureText(const std::string& text) override;
  tcameralink* CameraLink() override { return link_.get(); }
  tthumbmanager* CameraThumbnails() override { return cameraThumbs_.get(); }
  tpictureview& PictureView() override { return *pictureView_; }
  void ShowPage(int number) override;
  int ShownPage() const override { return PageNumber(); }
  void ShowPicturePage() override;
  bool BrowsePageShown() const override;
  void FilesWritten(const std::vector<std::string>& paths) override;
  tcreatedfolders& CreatedFolders() override { return createdFolders_; }
  std::vector<std::string> SelectedDiskPictures() override;
  void StopDiskThumbnails() override;
  int ColourDepth() const override { return colourDepth_; }
  tconman& ContactSheet() override { return *conman_; }
  tacprinter& Printer() override { return *printer_; }
  bool PreparePrinter() override;
  // Made on first use with the window's records, the webcam settings block (the remote host
  // details) and the status line; FreeDialUp at close lets it go.
  tinternetfeatures& Internet() override;
  twebcamsettings& WebcamBlock() override { return webcamBlock_; }

  // Where printing goes (the default print queue or PDF files); the contact sheet and print
  // commands of the menus.
  tprinteroutput& PrinterOutput() { return *printerOutput_; }
  tsheetmenu& SheetMenu() { return *sheetMenu_; }
  tprintmenu& PrintMenu() { return *printMenu_; }

  // tbusyview
  void BusyStatusText(const std::string& text) override;
  void BusyIndicators(bool busy) override;
  void BusyProgressReset() override;
  // tprogressreport
  void ReportText(const std::string& text, int count) override;
  void ReportPosition(int position) override;
  // tfilewritten: the Browse page shows the file when it lists that folder.
  void FileWritten(const std::string& path) override;

  // The window's own controls, by their designer names.
  QTabWidget* pagecontrol1 = nullptr;  // the right-hand pages
  QTabWidget* PageControl2 = nullptr;  // the left-hand pages (Browse, Picture)
  QProgressBar* ProgressBar1 = nullptr;
  QLabel* Label1 = nullptr;          // status text
  QLabel* Label9 = nullptr;          // the current picture
  QLabel* Label19 = nullptr;         // its size
  QLabel* Label49 = nullptr;         // measures the wide right panel
  QPushButton* BitBtn_15 = nullptr;  // Stop
  QTimer* Timer1 = nullptr;
  QTimer* Timer2 = nullptr;
  QTimer* Timer3 = nullptr;
  QTimer* resizetimer = nullptr;
  QTimer* killtimer = nullptr;
  std::vector<tpopupbutton*> ToolButtons;

  // Handlers named after their controls.
  void ToolButton4Click();  // Stop
  void AutoCapture3Click();
  void Timer2Timer();
  void Timer3Timer();
  void resizetimerTimer();
  void killtimerTimer();
  // Closes in order whatever asked (close box, menu, SIGTERM/SIGINT).
  void RequestClose();
  // Shows page 1..13 of pagecontrol1 (numbers as stored in the settings).
  void ShowPageNumber(int number) { ShowPage(number); }
  // After the message loop has ended without a close: runs the close.
  void CloseAfterLoop();

  // Opens a ".JPG", ".CAM" or ".RCD" file for display (see tpictureview).
  bool OpenPictureFile(const std::string& path, bool interactive = true);

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  class tclosehostimpl;

  void BuildPages();
  void BuildMenus();
  void BuildToolBar();
  void BuildStatusLine();
  void BuildInternetMenu();
  void WirePages();
  void FormShow();
  bool FormCloseQuery();
  void FormClose();
  int PageNumber() const;
  twindowpage* PageOf(QWidget* widget) const;
  void UpdateRightPanelWidth();
  void ShowError(const QString& text);
  void SetZoom(int mode);
  void GuardedBlock(const char* message, const std::function<void()>& body);

  tstartoptions options_;
  tstoprequest stop_;
  tbusyregister busy_;
  tcreatedfolders createdFolders_;
  tsettingsrecords settings_;
  std::unique_ptr<tsettingsio> store_;
  std::unique_ptr<tcameralink> link_;
  std::unique_ptr<tthumbmanager> cameraThumbs_;  // on the link's engine
  std::unique_ptr<tretoucher> retoucher_;        // the Touch page's, for the whole run
  std::unique_ptr<tpicturetoolsite> toolSite_;   // the picture tool pages' host
  twebcamsettings webcamBlock_;                  // the webcam scheduler's settings block
  std::unique_ptr<tconman> conman_;              // the contact sheet manager
  std::unique_ptr<tacprinter> printer_;          // the printer and its print buffer
  std::unique_ptr<tprinteroutput> printerOutput_;
  std::unique_ptr<tinternetfeatures> internet_;  // made on first use
  std::unique_ptr<tsheetmenu> sheetMenu_;
  std::unique_ptr<tprintmenu> printMenu_;
  // The pages, in the order of their page controls; the tab widgets own them.
  std::vector<twindowpage*> pages_;
  tpictureview* pictureView_ = nullptr;  // one of the pages
  QSplitter* splitter_ = nullptr;
  bool debug_ = false;
  bool autostart_ = false;
  bool firstRun_ = false;
  bool shown_ = false;
  bool closed_ = false;
  bool closing_ = false;
  bool quietClose_ = false;  // closing on a signal: no message boxes
  int colourDepth_ = 16;
  int zoom_ = 4;
  int narrowWidth_ = 140;
  std::vector<std::string> closeFailures_;
};

}  // namespace vantlo
