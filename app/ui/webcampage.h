// The Vantlo page (TabSheet6, webcam mode; it has no tab and is opened from the menus): the
// preview of the last thumbnail, Start/Stop, "Take Now", the status label with its six lights,
// "Advanced...", how pictures are taken (manually, as fast as possible, every n secs, mins or
// hrs, by a schedule file) and what is done with each. The page holds the scheduler on the
// window's webcam block and runs the webcam workflow on the camera link's engine; it is the
// workflow's host: it shows the status, keeps Timer1, holds busy slot W through the workflow,
// shows, sends and announces the pictures.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "app/core/carddrives.h"
#include "app/core/naming.h"
#include "app/core/vantlomanager.h"
#include "app/core/webcamworkflow.h"
#include "app/stoprequest.h"
#include "app/ui/windowpage.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTimer;

namespace vantlo {

class Tvantloadv;
class tbitmap;
class troundled;
class tsoundplayer;
class twindowhost;

class twebcampage : public QWidget, public twindowpage {
  Q_OBJECT
 public:
  // `player` null: the page plays its sound with Qt Multimedia. `drivesFile`: the USB drive
  // table.
  explicit twebcampage(twindowhost& host, tsoundplayer* player = nullptr,
                       std::string drivesFile = tcarddrives::DefaultFile());
  ~twebcampage() override;

  int PageNumber() const override { return 6; }
  QWidget* Widget() override { return this; }
  QString TabText() const override { return "Vantlo"; }
  bool HasTab() const override { return false; }
  void AddMenuCommands(const twindowmenus& menus) override;
  // The scheduler's block to the controls; the controls to the block.
  void ApplySettings(tsettingsrecords& records) override;
  void ReadSettings(tsettingsrecords& records) override;
  void Entered() override { TabSheet6Enter(); }
  void Left() override { TabSheet6Exit(); }
  // While webcam mode runs it is stopped; a shot in progress finishes its step first, and the
  // page then closes the window itself.
  bool MayClose() override;
  void Closing() override;

  // Handlers named after their controls and menu items.
  void SpeedButton7Click();   // "Start"/"Stop", "&Start / Stop Vantlo"
  void SpeedButton10Click();  // "Take Now", "&Take Now"
  void Timer1Timer();
  void SpeedButton8Click();  // "Advanced...", "&Advanced Vantlo..."
  void BitBtn6Click();       // "Set >": the schedule file
  void TabSheet6Enter();     // the scheduler to the controls
  void TabSheet6Exit();      // the controls to the scheduler
  void Vantlo1Click();       // "&Vantlo": shows the page

  // The radio buttons, number field and check boxes into the scheduler; the scheduler onto them.
  void ReadPage();
  void ShowScheduler();

  tvantlomanager& Manager() { return manager_; }
  bool Running() const { return workflow_ && workflow_->Running(); }
  bool CameraInUsbMode() const { return workflow_ && workflow_->CameraInUsbMode(); }
  twebcamstatus Status() const;

  // Replaces the workflow's sleeps (tests: instant). Empty: a wait that keeps the window alive.
  std::function<void(int ms)> sleepOverride;
  // Shows an error of a shot or of Start; empty: the application's error box.
  std::function<void(const std::string& text)> showError;

  QLabel* Image2 = nullptr;
  QPushButton* SpeedButton7 = nullptr;   // Start/Stop
  QPushButton* SpeedButton10 = nullptr;  // Take Now
  QLabel* Label12 = nullptr;
  troundled* RoundLed1 = nullptr;  // waiting
  troundled* RoundLed2 = nullptr;  // taking picture
  troundled* RoundLed3 = nullptr;  // fetching thumbnail
  troundled* RoundLed4 = nullptr;  // fetching picture
  troundled* RoundLed5 = nullptr;  // deleting
  troundled* RoundLed6 = nullptr;  // resetting
  QPushButton* SpeedButton8 = nullptr;  // Advanced...
  QGroupBox* TakePictures = nullptr;
  QRadioButton* ManualRadio = nullptr;    // "Manually"
  QRadioButton* FastRadio = nullptr;      // "As fast as possible"
  QRadioButton* EveryRadio = nullptr;     // "Every"
  QSpinBox* EveryBox = nullptr;
  QComboBox* UnitBox = nullptr;           // "secs", "mins", "hrs"
  QRadioButton* ScheduleRadio = nullptr;  // "By Schedule"
  QPushButton* BitBtn6 = nullptr;         // "Set >"
  QCheckBox* FetchThumbnailBox = nullptr;
  QCheckBox* FetchPictureBox = nullptr;
  QCheckBox* SaveThumbnailBox = nullptr;
  QCheckBox* SavePictureBox = nullptr;
  QCheckBox* DeleteBox = nullptr;
  QTimer* Timer1 = nullptr;

 private:
  // Builds the workflow on the link's engine when none runs; false (error shown) without one.
  bool PrepareWorkflow();
  void FillSetup();
  twebcamhost MakeHost();
  void ShowStatus(twebcamstatus status, const std::string& label);
  void ShowPreview(const tbitmap& thumbnail, const std::string& text);
  void ShowError(const std::string& text);
  void Sleep(int ms);
  // Runs a workflow call; its errors go to the error box. Calls do not nest.
  template <typename tcall>
  void Guarded(tcall call);

  twindowhost& host_;
  std::unique_ptr<tsoundplayer> ownPlayer_;
  tsoundplayer* player_;
  std::string drivesFile_;
  tvantlomanager manager_;
  tnamingsettings naming_;
  std::unique_ptr<tfilenamer> namer_;
  twebcamsetup setup_;
  std::unique_ptr<twebcamworkflow> workflow_;
  std::unique_ptr<Tvantloadv> dialog_;
  tstoprequest neverStop_;  // the sleeps wait their whole time
  int depth_ = 0;           // workflow calls under way (a pause processes events)
  bool closeWhenStopped_ = false;
};

}  // namespace vantlo
