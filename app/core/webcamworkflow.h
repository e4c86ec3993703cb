// twebcamworkflow: webcam mode, the camera taking pictures by itself. Start and Stop, the one-
// second tick, "Take Now", and the two shots: the serial shot (the camera is told to take a
// picture, then its thumbnail and picture are fetched over the serial link) and the USB shot
// (the camera's storage is taken away from the computer, the shutter is pressed with key
// commands, the storage comes back and the newest picture is read from it). After a shot the
// picture is captioned, written to the output file a web page shows, handed to a program, sent
// by FTP and deleted from the camera, as the settings say.
//
// Nothing is deleted from the camera before the output file has been written: a file that cannot
// be written stops webcam mode with the reason.
//
// Window-free: the page (or vantlo-cli) is the host; every pause goes through the host's sleep
// and processes the host's events once, so "Stop" is seen between steps.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/core/captions.h"
#include "app/core/fetchworkflow.h"
#include "app/core/vantlomanager.h"
#include "library/records/datetime.h"

namespace vantlo {

class TJPEGImage;
class tbitmap;
class tfilenamer;
class tqvProtocolEngine;

// Webcam status: the label and one light each (0 to 5), inactive, and a stop request.
enum class twebcamstatus {
  waiting = 0,
  taking = 1,
  fetchingThumbnail = 2,
  fetchingPicture = 3,
  deleting = 4,
  resetting = 5,
  inactive = 6,
  stopRequested = 7,
};

// "Waiting", "Taking picture #12", ..., "Inactive"; "Aborting" for a stop request.
std::string WebcamStatusLabel(twebcamstatus status, long counter);

// A USB camera found by the drive scan: its folder and its drive letter ("E:").
struct tusbcamera {
  std::string root;
  std::string letter;
};

// What a run needs of the settings besides the webcam block and the scheduler.
struct twebcamsetup {
  tfetchsettings picture;           // JPEG and decoding settings, orientation
  tcaptionsetting caption;          // the webcam-mode caption
  bool saveCam = false;             // the Saving page's "Pictures in CAM format"
  bool dailyFolder = false;         // "Create daily folder"
  bool quietPeriod = false;         // "Disable Vantlo between" from and to
  double quietFrom = 0;             // times of day (fractions)
  double quietTo = 0;
  bool playSound = false;           // "Play Sound" before each cycle
  int outputSize = 0;               // the USB shot's output size choice; 0 "Original"
  bool usbAndSerial = false;        // the connection type
  std::string usbRoot;              // the USB drive's folder; empty: not set up
  // The drive scan that finds the USB camera and stores it as the USB drive; empty: none.
  std::function<std::optional<tusbcamera>()> scanUsb;
};

// The host's side. Every member may be empty.
struct twebcamhost {
  // Label12 and the lights; the page repaints.
  std::function<void(twebcamstatus status, const std::string& label)> status;
  // Window messages once (a pause ends with it, so Stop and closing are handled between steps).
  std::function<void()> processEvents;
  // Sleeps `ms` milliseconds. Empty: returns at once (tests).
  std::function<void(int ms)> sleep;
  // Busy slot W: request (empty: granted) and release.
  std::function<bool()> requestBusy;
  std::function<void()> releaseBusy;
  // Timer1 on or off.
  std::function<void(bool on)> timer;
  // Webcam mode started (true: "Stop", " Vantlo active", "Manual mode") or ended (false: "Start").
  std::function<void(bool running, bool manual)> running;
  // The page's controls into the scheduler (interval and check boxes).
  std::function<void()> readPage;
  // The "Start" button enabled or not (disabled while a stopped shot finishes).
  std::function<void(bool enabled)> startEnabled;
  // The thumbnail into Image2 with the time text beside it.
  std::function<void(const tbitmap& thumbnail, const std::string& text)> preview;
  // The captioned picture as a webcam-mode picture, with its description.
  std::function<void(const TJPEGImage& picture, const std::string& description)> show;
  std::function<void(const std::string& path)> fileWritten;
  // Sends the output file by FTP; throws when webcam mode must stop (a connection failure).
  std::function<void(const std::string& path)> sendFile;
  // Disconnects FTP at Stop (errors ignored).
  std::function<void()> disconnectFtp;
  std::function<void()> playSound;
  std::function<void(tmessagekind kind, const std::string& text)> message;
  // Yes/No/Cancel warning; true for Yes. Empty: No.
  std::function<bool(const std::string& text)> askYes;
  // The camera is (true) or is no longer in USB mode (it is then not reset at close).
  std::function<void(bool on)> usbMode;
  // A shot ended webcam mode: the disk browser shows the output folder again.
  std::function<void()> finished;
};

class twebcamworkflow {
 public:
  // Nothing is owned; all must outlive the workflow. The setup is read at each shot.
  twebcamworkflow(tqvProtocolEngine& engine, tvantlomanager& manager, tfilenamer& namer,
                  const twebcamsetup& setup, twebcamhost host = {},
                  tdatetimeclock clock = tdatetime::Now);

  // "Start"/"Stop". Start: false when webcam mode did not start (USB camera not ready, slot W
  // refused). Scheduler errors are shown; webcam mode then stays started without its timer.
  void StartStop();
  bool Start();
  void Stop();
  // "Take Now": starts webcam mode when needed and takes a shot at once. Shot errors end
  // webcam mode and are thrown on.
  void TakeNow();
  // Timer1: the daily reset, then a shot when due, else every 40 ticks a camera reset.
  void Tick();

  bool Running() const { return running_; }
  twebcamstatus Status() const { return status_; }
  bool TakeNowEnabled() const {
    return status_ == twebcamstatus::waiting || status_ == twebcamstatus::inactive;
  }
  // A shot is under way (also one that was stopped and is finishing its step).
  bool ShotInProgress() const;
  bool CameraInUsbMode() const { return usbMode_; }
  // The scheduler refused to start (its error was shown): started, but no shot comes until Stop.
  bool SchedulerFailed() const { return schedulerFailed_; }
  long Counter() const;

  // The USB camera's storage: given back to the computer or taken away by the key commands.
  void MountUsb();
  void UnmountUsb();
  // The camera folder of the USB drive ("…/DCIM/"); empty when the drive is not set up.
  std::string CameraFolder() const;

  static constexpr const char* kMemoryFull = "Camera memory is full";
  static constexpr const char* kUsbNotSetUp =
      "The USB / Card us not set up. Click \"Advanced\" to configure.";
  static constexpr const char* kCannotMount = "Cannot mount camera; check connections";
  static constexpr const char* kCannotControl2 =
      "Vantlo cannot control the camera; make sure the serial cable is connected properly(2)";
  static constexpr const char* kCannotControl1 =
      "Vantlo cannot control the camera; make sure the serial cable is connected properly(1)";
  static constexpr const char* kConnectBoth =
      "Make sure that the camera is connected to serial and USB ports, and that the camera "
      "window says \"USB\"";
  static constexpr const char* kCannotFindUsb = "Cannot find USB camera or card";
  static constexpr const char* kCannotFindCamera = "Cannot find camera; check the USB drivers";
  static constexpr const char* kNotEmpty =
      "There are already some pictures on the camera. To use the Vantlo the camera must be "
      "empty. Do you want to delete the pictures in the camera?";

 private:
  void SetStatus(twebcamstatus status);
  void Sleep(int ms);
  void Events();
  void Pause(int n);
  void Release();
  bool PrepareUsbCamera();
  void DailyReset();
  void TakeShot();
  void SerialShot();
  void UsbShot();
  // The picture finished, written, handed on; `ftpErrorsStop` false ignores FTP failures.
  void Deliver(TJPEGImage& picture, bool ftpErrorsStop);
  void EndShot();
  void AdvanceCounter();
  bool Quiet() const;
  std::string FolderOfDrive() const;

  tqvProtocolEngine& engine_;
  tvantlomanager& manager_;
  tfilenamer& namer_;
  const twebcamsetup& setup_;
  twebcamhost host_;
  tdatetimeclock clock_;

  std::string usbRoot_;  // the drive found at Start, else the setup's
  bool running_ = false;
  bool holdsBusy_ = false;
  bool usbMode_ = false;
  bool schedulerFailed_ = false;
  twebcamstatus status_ = twebcamstatus::inactive;
  twebcamstatus lastShown_ = twebcamstatus::inactive;
  tdatetime lastTick_;
  int ticks_ = 0;
};

}  // namespace vantlo
