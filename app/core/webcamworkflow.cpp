#include "app/core/webcamworkflow.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/core/captiondraw.h"
#include "app/core/cardcapture.h"
#include "app/core/cardfolders.h"
#include "app/core/naming.h"
#include "app/core/picturefinish.h"
#include "app/core/thumbmanager.h"
#include "app/core/webcamoutput.h"
#include "camera/qv10int.h"
#include "library/atomicfile.h"
#include "library/unixfile.h"
#include "picture/advstretch.h"
#include "picture/camformats.h"

namespace vantlo {

namespace {

constexpr int kFullCamera = 300;
constexpr int kMountAttempts = 100;

bool FolderExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

tlocaltime LocalOf(tdatetime t) {
  const tcivildatetime c = t.ToCivil();
  return tlocaltime{c.year, c.month, c.day, c.hour, c.minute, c.second};
}

std::string TimeText(tdatetime t) {
  const tlocaltime l = LocalOf(t);
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", l.hour, l.minute, l.second);
  return std::string(text).substr(0, 8);
}

// The newest picture: the last by name (the camera numbers its files), the modification time
// deciding between names that sort equal without regard to case.
std::string NewestPicture(const std::vector<std::string>& files) {
  std::string best;
  std::string bestKey;
  long long bestTime = 0;
  for (const std::string& f : files) {
    std::string key = f.substr(f.rfind('/') + 1);
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (key.size() < 4 || key.compare(key.size() - 4, 4, ".JPG") != 0) continue;
    struct stat st {};
    const long long mtime = ::stat(f.c_str(), &st) == 0 ? static_cast<long long>(st.st_mtime) : 0;
    if (best.empty() || key > bestKey || (key == bestKey && mtime > bestTime)) {
      best = f;
      bestKey = key;
      bestTime = mtime;
    }
  }
  return best;
}

}  // namespace

std::string WebcamStatusLabel(twebcamstatus status, long counter) {
  const std::string n = std::to_string(counter);
  switch (status) {
    case twebcamstatus::waiting:
      return "Waiting";
    case twebcamstatus::taking:
      return "Taking picture #" + n;
    case twebcamstatus::fetchingThumbnail:
      return "Fetching thumbnail #" + n;
    case twebcamstatus::fetchingPicture:
      return "Fetching Picture #" + n;
    case twebcamstatus::deleting:
      return "Deleting picture";
    case twebcamstatus::resetting:
      return "Resetting camera";
    case twebcamstatus::inactive:
      return "Inactive";
    case twebcamstatus::stopRequested:
      return "Aborting";
  }
  return {};
}

twebcamworkflow::twebcamworkflow(tqvProtocolEngine& engine, tvantlomanager& manager,
                                 tfilenamer& namer, const twebcamsetup& setup, twebcamhost host,
                                 tdatetimeclock clock)
    : engine_(engine),
      manager_(manager),
      namer_(namer),
      setup_(setup),
      host_(std::move(host)),
      clock_(std::move(clock)) {}

long twebcamworkflow::Counter() const { return manager_.Block().PictureCounter(); }

bool twebcamworkflow::ShotInProgress() const {
  return (status_ >= twebcamstatus::taking && status_ <= twebcamstatus::resetting) ||
         status_ == twebcamstatus::stopRequested;
}

void twebcamworkflow::SetStatus(twebcamstatus status) {
  if (status == twebcamstatus::stopRequested) {
    if (lastShown_ != twebcamstatus::waiting && lastShown_ != twebcamstatus::inactive) {
      // The shot in progress finishes its step and then ends webcam mode itself.
      status_ = status;
      lastShown_ = status;
      if (host_.status) host_.status(status, WebcamStatusLabel(status, Counter()));
      return;
    }
    status = twebcamstatus::inactive;
  }
  // While a stopped shot finishes its step, "Aborting" stays until webcam mode is inactive.
  if (status_ == twebcamstatus::stopRequested && status != twebcamstatus::inactive) return;
  status_ = status;
  lastShown_ = status;
  if (status == twebcamstatus::inactive) {
    Release();
    if (host_.startEnabled) host_.startEnabled(true);
  }
  if (host_.status) host_.status(status, WebcamStatusLabel(status, Counter()));
}

void twebcamworkflow::Sleep(int ms) {
  if (host_.sleep) host_.sleep(ms);
}

void twebcamworkflow::Events() {
  if (host_.processEvents) host_.processEvents();
}

void twebcamworkflow::Pause(int n) {
  Sleep(2000 + n);
  Events();
}

void twebcamworkflow::Release() {
  if (holdsBusy_ && host_.releaseBusy) host_.releaseBusy();
  holdsBusy_ = false;
  if (running_) {
    running_ = false;
    if (host_.running) host_.running(false, false);
  }
}

void twebcamworkflow::StartStop() {
  if (running_)
    Stop();
  else
    Start();
}

std::string twebcamworkflow::FolderOfDrive() const {
  return usbRoot_.empty() ? std::string() : CameraFolderOf(usbRoot_);
}

std::string twebcamworkflow::CameraFolder() const {
  if (usbRoot_.empty()) return {};
  const std::string found = CameraFolderOf(usbRoot_);
  if (!found.empty()) return found;
  return usbRoot_ + (usbRoot_.back() == '/' ? "" : "/") + "DCIM/";
}

bool twebcamworkflow::Start() {
  if (running_) return true;
  usbRoot_ = setup_.usbRoot;
  if (setup_.usbAndSerial && !PrepareUsbCamera()) return false;
  if (host_.requestBusy && !host_.requestBusy()) {
    manager_.Deactivate();
    if (host_.timer) host_.timer(false);
    if (host_.running) host_.running(false, false);
    return false;
  }
  holdsBusy_ = true;
  if (host_.readPage) host_.readPage();
  running_ = true;
  if (host_.running) host_.running(true, manager_.Manual());
  SetStatus(twebcamstatus::waiting);
  lastTick_ = clock_();
  schedulerFailed_ = false;
  try {
    manager_.Activate();
  } catch (const tvantlomanagererror& e) {
    schedulerFailed_ = true;
    // Webcam mode stays started without its timer until "Stop" is pressed.
    if (host_.message) host_.message(tmessagekind::error, e.what());
    return true;
  }
  namer_.EnsureDailyFolder();
  if (!manager_.Manual() && host_.timer) host_.timer(true);
  return true;
}

void twebcamworkflow::Stop() {
  if (!running_ && status_ == twebcamstatus::inactive) return;
  if (status_ == twebcamstatus::stopRequested) return;  // already stopping
  if (host_.startEnabled) host_.startEnabled(false);
  if (host_.running) host_.running(false, false);
  manager_.Deactivate();
  if (host_.timer) host_.timer(false);
  if (host_.disconnectFtp) {
    try {
      host_.disconnectFtp();
    } catch (...) {
    }
  }
  SetStatus(ShotInProgress() ? twebcamstatus::stopRequested : twebcamstatus::inactive);
}

void twebcamworkflow::DailyReset() {
  const tdatetime now = clock_();
  if (std::floor(now.Days()) != std::floor(lastTick_.Days()) && setup_.dailyFolder) {
    manager_.Block().SetPictureCounter(0);
    namer_.EnsureDailyFolder();
  }
  lastTick_ = now;
}

void twebcamworkflow::Tick() {
  DailyReset();
  if (manager_.Due()) {
    ticks_ = 0;
    TakeShot();
    ticks_ = 0;
    return;
  }
  if (++ticks_ >= 40) {
    ticks_ = 0;
    if (!setup_.usbAndSerial) {
      // A waiting camera is woken now and then so it does not switch itself off.
      try {
        engine_.ResetCamera();
        Sleep(4000);
      } catch (const std::exception&) {
      }
    }
  }
}

void twebcamworkflow::TakeNow() {
  if (!running_ && !Start()) return;
  DailyReset();
  if (!manager_.Manual() && !manager_.Scheduled()) manager_.RestartInterval();
  TakeShot();
}

void twebcamworkflow::TakeShot() {
  if (host_.timer) host_.timer(false);
  try {
    if (setup_.usbAndSerial)
      UsbShot();
    else
      SerialShot();
  } catch (...) {
    manager_.Deactivate();
    SetStatus(twebcamstatus::inactive);
    if (host_.timer) host_.timer(false);
    if (host_.running) host_.running(false, false);
    throw;
  }
}

bool twebcamworkflow::Quiet() const {
  return !QuietPeriodAllows(setup_.quietPeriod, setup_.quietFrom, setup_.quietTo,
                            clock_().TimeOfDay());
}

void twebcamworkflow::AdvanceCounter() {
  twebcamsettings& block = manager_.Block();
  block.SetPictureCounter((block.PictureCounter() + 1) % twebcamsettings::kCounterWrap);
}

void twebcamworkflow::Deliver(TJPEGImage& picture, bool ftpErrorsStop) {
  const twebcamsettings& block = manager_.Block();
  const long counter = Counter();
  tfinishoptions finish;
  finish.orientation = setup_.picture.orientation;
  const tfieldtexts texts = SystemFieldTexts(LocalOf(clock_()));
  finish.caption = [&](TJPEGImage& image) {
    tbitmap bitmap = image.Bitmap();
    if (!WriteCaption(bitmap, counter, setup_.caption, texts, nullptr)) return false;
    image.Assign(std::move(bitmap));
    return true;
  };
  FinishPicture(picture, finish, engine_);
  if (host_.show) host_.show(picture, "Vantlo picture #" + std::to_string(counter));

  if (!block.SavePicture() && !block.RunProgram() && !block.SendByFtp()) return;
  const std::string output = WebcamOutputPath(block.OutputFile(), namer_, counter);
  std::vector<std::uint8_t> bytes;
  picture.SaveToStream(bytes);
  WriteWebcamOutput(output, bytes);
  if (host_.fileWritten) host_.fileWritten(output);
  if (block.RunProgram()) RunWebcamProgram(block.Program(), output);
  if (block.SendByFtp() && host_.sendFile) {
    if (ftpErrorsStop) {
      host_.sendFile(output);
    } else {
      try {
        host_.sendFile(output);
      } catch (const std::exception&) {
      }
    }
  }
}

void twebcamworkflow::EndShot() {
  if (manager_.Active()) {
    SetStatus(twebcamstatus::waiting);
    if (host_.readPage) host_.readPage();
    if (!manager_.Manual() && host_.timer) host_.timer(true);
    return;
  }
  SetStatus(twebcamstatus::inactive);
  if (host_.finished) host_.finished();
}

void twebcamworkflow::SerialShot() {
  if (!manager_.Active()) {
    SetStatus(twebcamstatus::inactive);
    return;
  }
  if (!Quiet()) {
    const twebcamsettings& block = manager_.Block();
    SetStatus(twebcamstatus::taking);
    const int count = engine_.GetPictureCount();
    Pause(1500);
    engine_.CheckBattery();
    if (!manager_.Active()) return SetStatus(twebcamstatus::inactive);
    engine_.ResetCamera();
    Pause(4500);
    if (!manager_.Active()) return SetStatus(twebcamstatus::inactive);
    if (count >= kFullCamera) throw twebcamerror(kMemoryFull);
    if (setup_.playSound && host_.playSound) {
      try {
        host_.playSound();
      } catch (...) {
      }
      Sleep(1000);
    }
    engine_.TakePicture();
    Pause(4000);
    const int n = count + 1;
    const long counter = Counter();

    if (manager_.Active() && block.FetchThumbnail()) {
      SetStatus(twebcamstatus::fetchingThumbnail);
      tbitmap thumbnail(tthumbmanager::kThumbWidth, tthumbmanager::kThumbHeight);
      bool movie = false;
      bool fine = false;
      engine_.FetchThumbnail(n, thumbnail, movie, fine);
      if (host_.preview) host_.preview(thumbnail, TimeText(clock_()));
      if (block.SaveThumbnail()) {
        ApplyPictureSettings(setup_.picture, engine_);
        TJPEGImage jpeg;
        engine_.PrepareJpeg(jpeg);
        jpeg.Assign(thumbnail);
        std::vector<std::uint8_t> bytes;
        jpeg.SaveToStream(bytes);
        namer_.EnsureDailyFolder();
        const std::string path = namer_.FileName(counter, tnamekind::webcamThumbnail, "JPG");
        WriteFileAtomic(path, bytes);
        if (host_.fileWritten) host_.fileWritten(path);
      }
      Pause(1000);
    }

    if (manager_.Active() && (block.FetchPicture() || block.SavePicture() ||
                              block.RunProgram() || block.SendByFtp())) {
      SetStatus(twebcamstatus::fetchingPicture);
      ApplyPictureSettings(setup_.picture, engine_);
      std::vector<std::uint8_t> data;
      const std::uint8_t kind = engine_.FetchPicture(n, data);
      if (kind == kKindAviFile) throw twebcamerror("The camera took a movie, not a picture");
      TJPEGImage picture;
      engine_.PrepareJpeg(picture);
      engine_.DecodeRawPicture(data, picture);
      if (block.SavePicture() && setup_.saveCam) {
        std::vector<std::uint8_t> cam;
        RawToCamFile(data, cam, kind);
        namer_.EnsureDailyFolder();
        const std::string path = namer_.FileName(counter, tnamekind::webcam, "CAM");
        WriteFileAtomic(path, cam);
        if (host_.fileWritten) host_.fileWritten(path);
      }
      Deliver(picture, true);
      Pause(1000);
    }

    AdvanceCounter();
    if (block.DeleteFromCamera()) {
      SetStatus(twebcamstatus::deleting);
      engine_.DeletePicture(n);
    }
    Pause(1000);
  }
  SetStatus(twebcamstatus::resetting);
  engine_.ResetCamera();
  Pause(3000);
  EndShot();
}

// ---- USB and serial ----

void twebcamworkflow::MountUsb() {
  if (usbRoot_.empty()) throw twebcamerror(kUsbNotSetUp);
  if (FolderExists(FolderOfDrive())) return;
  engine_.SendRaw("M");
  Sleep(50);
  engine_.SendRaw("m");
  for (int i = 0; i < kMountAttempts; ++i) {
    Events();
    Sleep(100);
    if (FolderExists(FolderOfDrive()) || !manager_.Active()) return;
  }
  if (!FolderExists(FolderOfDrive())) throw twebcamerror(kCannotMount);
}

void twebcamworkflow::UnmountUsb() {
  if (usbRoot_.empty()) throw twebcamerror(kUsbNotSetUp);
  if (!FolderExists(FolderOfDrive())) return;
  // What the computer wrote to the camera's storage reaches it before the storage goes.
  (void)SyncFileSystemOf(usbRoot_);
  engine_.SendRaw("M");
  Sleep(100);
  engine_.SendRaw("m");
  Sleep(50);
  for (int i = 0; i < kMountAttempts && FolderExists(FolderOfDrive()) && manager_.Active(); ++i) {
    Events();
    Sleep(100);
  }
  if (FolderExists(FolderOfDrive()) && manager_.Active()) throw twebcamerror(kCannotControl2);
  Sleep(1000);
  Events();
}

bool twebcamworkflow::PrepareUsbCamera() {
  auto say = [this](tmessagekind kind, const std::string& text) {
    if (host_.message) host_.message(kind, text);
  };
  try {
    if (usbRoot_.empty() || !FolderExists(FolderOfDrive())) {
      say(tmessagekind::information, kConnectBoth);
      const std::optional<tusbcamera> found = setup_.scanUsb ? setup_.scanUsb() : std::nullopt;
      if (found) {
        usbRoot_ = found->root;
        say(tmessagekind::information, "USB camera found on drive " + found->letter);
      } else {
        say(tmessagekind::information, kCannotFindUsb);
      }
      if (usbRoot_.empty()) {
        say(tmessagekind::error, kCannotFindCamera);
        return false;
      }
      // Prepared before webcam mode runs: the stop test of the mount loop must not end it.
      manager_.Block().SetActive(true);
      MountUsb();
      manager_.Deactivate();
    }
    const std::string folder = FolderOfDrive();
    if (!ListCameraPictureFiles(folder).empty()) {
      if (!host_.askYes || !host_.askYes(kNotEmpty)) return false;
      const tcarddeletion deleted = DeleteFolderContents(folder);
      if (!deleted.failed.empty())
        throw twebcamerror("Cannot delete " + deleted.failed.front() + " from the camera");
      return true;
    }
    manager_.Block().SetActive(true);
    UnmountUsb();
    manager_.Deactivate();
    if (FolderExists(FolderOfDrive())) {
      say(tmessagekind::error, kCannotControl1);
      return false;
    }
    usbMode_ = true;
    if (host_.usbMode) host_.usbMode(true);
    return true;
  } catch (const std::exception& e) {
    manager_.Deactivate();
    say(tmessagekind::error, e.what());
    return false;
  }
}

void twebcamworkflow::UsbShot() {
  if (!manager_.Active()) {
    SetStatus(twebcamstatus::inactive);
    return;
  }
  if (!Quiet()) {
    const twebcamsettings& block = manager_.Block();
    if (setup_.playSound && host_.playSound) {
      try {
        host_.playSound();
      } catch (...) {
      }
      Sleep(1000);
    }
    SetStatus(twebcamstatus::taking);
    UnmountUsb();
    Sleep(6000);
    engine_.SendRaw("A");
    Sleep(500);
    engine_.SendRaw("a");
    Sleep(100);
    engine_.SendRaw("B");
    Sleep(100);
    engine_.SendRaw("b");
    Sleep(4000);
    MountUsb();

    if (manager_.Active() && (block.FetchPicture() || block.SavePicture() ||
                              block.RunProgram() || block.SendByFtp())) {
      SetStatus(twebcamstatus::fetchingPicture);
      const std::string newest = NewestPicture(ListCameraPictureFiles(FolderOfDrive()));
      if (!newest.empty()) {
        TJPEGImage picture;
        picture.LoadFromStream(ReadCardFile(newest));
        engine_.PrepareJpeg(picture);
        if (setup_.outputSize != 0) {
          const tdimensions target =
              ResizeDimensions(picture.Width(), picture.Height(), setup_.outputSize);
          tbitmap scaled(target.Width, target.Height);
          AdvStretch(picture.Bitmap(), scaled, true);
          picture.Assign(std::move(scaled));
        }
        Deliver(picture, false);
      }
      Pause(1000);
    }

    AdvanceCounter();
    if (block.DeleteFromCamera()) {
      SetStatus(twebcamstatus::deleting);
      const std::string folder = FolderOfDrive();
      if (!folder.empty()) {
        const tcarddeletion deleted = DeleteFolderContents(folder);
        if (!deleted.failed.empty())
          throw twebcamerror("Cannot delete " + deleted.failed.front() + " from the camera");
      }
    }
    Pause(1000);
  }
  SetStatus(twebcamstatus::resetting);
  EndShot();
}

}  // namespace vantlo
