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
#include "library/records.h"

class QAction;
class QButtonGroup;
class QComboBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QSplitter;
class QTabWidget;
class QTableWidget;
class QTimer;
class QToolButton;
class QTreeView;
class QCheckBox;
class QWidget;

namespace vantlo {

class tpopupbutton;
class Tdiskgrid;
class tbrowsepage;
class tfoldertreemodel;
class Tconnectionwiz;
class tpictureview;
class tcamerapictures;
class tsavingpage;

// How the program was started, beyond its own command line.
struct tstartoptions {
  std::vector<std::string> args;  // without the program name
  // Port the engine uses instead of the stored one (simulated camera); the
  // stored port setting is left as it was.
  std::string portOverride;
};

// The main window: owns the long-lived objects and the settings records,
// runs start-up and shut-down, arbitrates long operations with the busy
// register and shows progress in its status line. The work of commands sits
// in their own classes; the window wires them together.
class TForm1 : public QMainWindow, public tbusyview, public tprogressreport, public tfilewritten {
  Q_OBJECT
 public:
  explicit TForm1(tstartoptions options, QWidget* parent = nullptr);
  ~TForm1() override;

  // Start-up: the guarded blocks; throws after showing the block's message.
  void Initialise();

  // Shared machinery for the other parts of the window.
  void Trace(const QString& text);
  bool BusyControl(int code) { return busy_.BusyControl(code); }
  tbusyregister& Busy() { return busy_; }
  tstoprequest& StopRequest() { return stop_; }
  tcameralink& Camera() { return *link_; }
  tsettingsrecords& Settings() { return settings_; }
  tcreatedfolders& CreatedFolders() { return createdFolders_; }
  void SetCurrentPicture(const QString& path, qint64 bytes);
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

  // tbusyview
  void BusyStatusText(const std::string& text) override;
  void BusyIndicators(bool busy) override;
  void BusyProgressReset() override;
  // tprogressreport
  void ReportText(const std::string& text, int count) override;
  void ReportPosition(int position) override;
  // tfilewritten: the Browse page shows the file when it lists that folder.
  void FileWritten(const std::string& path) override;

  // Controls other code and tests reach by their designer names.
  QTabWidget* pagecontrol1 = nullptr;
  QTabWidget* PageControl2 = nullptr;
  QWidget* TabSheet1 = nullptr;
  QWidget* TabSheet2 = nullptr;
  QWidget* TabSheet3 = nullptr;
  QWidget* TabSheet4 = nullptr;
  QWidget* TabSheet5 = nullptr;
  QWidget* TabSheet6 = nullptr;
  QWidget* preferences = nullptr;
  QWidget* TabSheet8 = nullptr;
  QWidget* TabSheet9 = nullptr;
  QWidget* TabSheet10 = nullptr;
  QWidget* tabcorrection = nullptr;
  QWidget* TabSheet11 = nullptr;
  QWidget* TabSheet13 = nullptr;
  QWidget* BrowseSheet = nullptr;
  QProgressBar* ProgressBar1 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label9 = nullptr;
  QLabel* Label19 = nullptr;
  QLabel* Label27 = nullptr;
  QLabel* Label32 = nullptr;
  QLabel* Label49 = nullptr;
  QPushButton* BitBtn_15 = nullptr;
  QPushButton* BitBtn5 = nullptr;
  QComboBox* ComboBox1 = nullptr;        // baud rate
  QComboBox* ComboBox2 = nullptr;        // port
  QComboBox* ComboBox4 = nullptr;        // picture size
  QRadioButton* RadioButton7 = nullptr;  // Cable
  QRadioButton* RadioButton8 = nullptr;  // IrDA
  QPushButton* Button5 = nullptr;        // Test Communications
  QPushButton* ConnectionWizardButton = nullptr;
  QPushButton* PortMapButton = nullptr;
  QLabel* TestStatusLabel = nullptr;
  QPushButton* SpeedButton1 = nullptr;   // Switch Power Off
  QPushButton* SpeedButton2 = nullptr;   // Reset Camera
  QPushButton* SpeedButton3 = nullptr;   // Report Battery State
  QPushButton* SpeedButton11 = nullptr;  // Voltage Threshold...
  QPushButton* ShowPicNumButton = nullptr;
  QProgressBar* Gauge1 = nullptr;
  QLabel* VoltageLabel = nullptr;
  QTableWidget* DrawGrid11 = nullptr;
  Tdiskgrid* DrawGrid12 = nullptr;  // disk tiles
  QPushButton* RefreshButton = nullptr;
  QPushButton* TodayButton = nullptr;
  QTreeView* directoryoutline1 = nullptr;
  QCheckBox* CheckBox25 = nullptr;  // Autoload
  QCheckBox* FilterCam = nullptr;
  QCheckBox* FilterJpg = nullptr;
  QCheckBox* FilterFolders = nullptr;
  QSlider* SlideShowSpeed = nullptr;  // "Slide show speed", Slow 0 .. Fast 10
  QLabel* Image1 = nullptr;
  QLabel* Image3 = nullptr;
  QTimer* Timer1 = nullptr;
  QTimer* Timer2 = nullptr;
  QTimer* Timer3 = nullptr;
  QTimer* resizetimer = nullptr;
  QTimer* killtimer = nullptr;
  std::vector<tpopupbutton*> ToolButtons;

  // Handlers named after their controls.
  void ToolButton4Click();  // Stop
  void Button5Click();      // Test Communications
  void ConnectionWizard1Click();
  void SpeedButton1Click();
  void SpeedButton2Click();
  void SpeedButton3Click();
  void SpeedButton11Click();
  void ShowPictureByNumberClick();
  void SelectedThumbnailOnCamera1Click();
  void ComboBox1Change();
  void ComboBox2Change();
  void RadioButton7Click();
  void EditPortMapClick();
  void TestCommunications1Click();
  void ReportVoltage1Click();
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

  // The disk browser of the Browse page.
  tbrowsepage* Browser() { return browser_; }
  // The folder the Browse page shows (stored at close).
  void BrowseFolderShown(const std::string& folder) { browseFolder_ = folder; }

  // The connection wizard, created on first use.
  Tconnectionwiz* ConnectionWizard();

  // The camera pictures: grid, selection, thumbnails and fetching (camerapictures.h).
  tcamerapictures& CameraPictures() { return *cameraPictures_; }
  bool HasCameraLink() const { return link_ != nullptr; }
  tsavingpage* SavingPage = nullptr;  // TabSheet5

  // The picture view on the "Picture" page: every picture shown in the
  // window goes through it (form1picture.cpp).
  tpictureview& PictureView() { return *pictureView_; }
  // Opens a ".JPG", ".CAM" or ".RCD" file for display (see tpictureview).
  bool OpenPictureFile(const std::string& path, bool interactive = true);

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  class tclosehostimpl;

  void BuildMenus();
  void BuildToolBar();
  void BuildStatusLine();
  void BuildPages();
  void BuildCameraPage();
  void BuildSetupPage();
  void BuildBrowsePage();
  void FormShow();
  bool FormCloseQuery();
  void FormClose();
  void ShowPage(int number);
  int PageNumber() const;
  void UpdateRightPanelWidth();
  void FillPortList();
  void ShowError(const QString& text);
  void ShowCameraError(const std::exception& e);
  void SetZoom(int mode);
  void SetBrowseFolder(const std::string& folder);
  void GuardedBlock(const char* message, const std::function<void()>& body);
  void BuildPictureCommands();
  void BuildCameraPictureCommands();  // form1fetch.cpp

  tstartoptions options_;
  tstoprequest stop_;
  tbusyregister busy_;
  tcreatedfolders createdFolders_;
  tsettingsrecords settings_;
  std::unique_ptr<tsettingsio> store_;
  std::unique_ptr<tcameralink> link_;
  twebcamsettings webcamBlock_;  // the webcam scheduler's settings block
  std::string browseFolder_;
  Tconnectionwiz* wizard_ = nullptr;
  tbrowsepage* browser_ = nullptr;
  tcamerapictures* cameraPictures_ = nullptr;
  tpictureview* pictureView_ = nullptr;
  tfoldertreemodel* dirModel_ = nullptr;
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
  QAction* pagesAction_[14] = {};
};

}  // namespace vantlo
