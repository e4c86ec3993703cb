#include "app/core/autocapture.h"

#include <algorithm>

#include "app/core/captiondraw.h"
#include "app/core/thumbmanager.h"
#include "camera/qv10int.h"
#include "library/records/autocapturerecord.h"
#include "picture/advstretch.h"
#include "picture/camformats.h"

namespace vantlo {

std::string SaveErrorText(const std::string& name) {
  return "Error saving file " + name + " -- AutoCapture Aborted";
}

tautocapsounds SoundsFrom(const tautocapturerecord& record) {
  tautocapsounds sounds;
  for (int k = 0; k < 4; ++k) {
    const auto which = static_cast<tautocapsound>(k);
    sounds.files[k] = record.SoundFile(which);
    sounds.on[k] = record.PlaySound(which);
  }
  return sounds;
}

tautocapture::tautocapture(tqvProtocolEngine& engine, tautocapturerecord& record, tfilenamer& namer,
                           const tfetchsettings& pictureSettings, tautocapstatus& status,
                           tautocapturehost host, tfilewriter* writer, tlocalclock clock)
    : engine_(engine),
      record_(record),
      namer_(namer),
      pictureSettings_(pictureSettings),
      status_(status),
      host_(std::move(host)),
      writer_(writer ? *writer : atomicWriter_),
      clock_(std::move(clock)) {}

void tautocapture::Progress(int position, const std::string& text) {
  if (host_.progress) host_.progress(position, text);
}

bool tautocapture::Events() { return host_.processEvents && host_.processEvents(); }

void tautocapture::SetStop(bool on) {
  if (host_.setStop) host_.setStop(on);
}

void tautocapture::PumpingWait(int ms) {
  if (host_.pumpingWait) host_.pumpingWait(ms);
}

tnamekind tautocapture::PictureKind() const {
  return record_.NameByPrefix() ? tnamekind::autoCapturePrefix : tnamekind::autoCaptureDate;
}

long tautocapture::FirstFreeNumber() {
  return namer_.FirstFreeNumber(PictureKind(), {"JPG", "CAM", "AVI"});
}

std::string tautocapture::SingleOutputFile() {
  const std::string name = record_.SingleFileName() + ".jpg";
  if (name.find('/') != std::string::npos) return name;
  return namer_.Folder() + name;
}

void tautocapture::SaveVerified(const std::string& path, std::span<const std::uint8_t> bytes,
                                bool retryOnce) {
  bool ok = WriteVerified(writer_, path, bytes);
  if (!ok && retryOnce) ok = WriteVerified(writer_, path, bytes);
  if (!ok) throw tautocaptureerror(SaveErrorText(path));
  result_.saved.push_back(path);
  if (host_.fileWritten) host_.fileWritten(path);
}

std::vector<std::uint8_t> tautocapture::JpegOf(const tbitmap& bitmap) const {
  TJPEGImage jpeg;
  engine_.PrepareJpeg(jpeg);
  jpeg.Assign(bitmap);
  std::vector<std::uint8_t> bytes;
  jpeg.SaveToStream(bytes);
  return bytes;
}

std::vector<std::uint8_t> tautocapture::SingleFileBytes(const TJPEGImage& picture) const {
  const int size = record_.OutputSize();
  if (size == 0) {
    TJPEGImage copy = picture;
    std::vector<std::uint8_t> bytes;
    copy.SaveToStream(bytes);
    return bytes;
  }
  const tdimensions target = ResizeDimensions(picture.Width(), picture.Height(), size);
  tbitmap scaled(target.Width, target.Height);
  AdvStretch(picture.Bitmap(), scaled, true);
  return JpegOf(scaled);
}

bool tautocapture::WaitForCamera() {
  SetStop(false);
  for (;;) {
    bool answers = false;
    try {
      answers = engine_.CheckCamera();
    } catch (const std::exception&) {
      answers = false;  // no camera is not an error while waiting
    }
    if (Events()) return false;
    if (answers) {
      status_.Show(tautocapstate::connected);
      return true;
    }
    status_.Show(tautocapstate::waiting);
    Events();
    PumpingWait(1000);
    if (Events()) return false;
  }
}

bool tautocapture::SelectFolder() {
  engine_.ListFolders(folders_);
  if (folders_.empty()) return false;
  // The list may have shrunk (another camera) and the walk never runs past its last folder.
  folder_ = std::min(folder_, folders_.size() - 1);
  engine_.ChangeFolder(folders_[folder_]);
  return true;
}

void tautocapture::DeleteFirstPicture(int count) {
  // With deleting on from the start the picture saved is always picture 1; should the switch
  // have been turned on during the run, the picture saved is still the one deleted.
  const int n = index_ + 1;
  engine_.DeletePicture(n);
  if (engine_.GetPictureCount() != count - 1) throw tautocaptureerror(kDeleteNotDone);
  ++result_.deleted;
}

bool tautocapture::Capture(int n, int count) {
  const bool folders = engine_.HasFileSystem();
  status_.Show(tautocapstate::capturing, count - index_);
  engine_.Waiter().Wait(1000);
  if (Events()) return false;
  if (folders) engine_.Waiter().Wait(4000);

  tbitmap thumbnail(tthumbmanager::kThumbWidth, tthumbmanager::kThumbHeight);
  bool movie = false;
  bool fine = false;
  engine_.FetchThumbnail(n, thumbnail, movie, fine);
  if (host_.preview) host_.preview(thumbnail, movie);
  const tnamekind kind = PictureKind();
  if (record_.SaveThumbnail()) {
    ApplyPictureSettings(pictureSettings_, engine_);
    const std::vector<std::uint8_t> jpeg = JpegOf(thumbnail);
    namer_.EnsureDailyFolder();
    const tnamekind thumbKind = record_.NameByPrefix() ? tnamekind::autoCaptureThumbnail
                                                       : tnamekind::autoCaptureThumbnailDate;
    SaveVerified(namer_.FileName(number_, thumbKind, "JPG"), jpeg);
  }
  if (Events()) return false;

  std::vector<std::uint8_t> data;
  const std::uint8_t dataKind = engine_.FetchPicture(n, data);
  if (dataKind == kKindAviFile) {
    namer_.EnsureDailyFolder();
    SaveVerified(namer_.FileName(number_, kind, "AVI"), data);
    ++result_.captured;
    // N stays: the next picture shares the number with its own extension.
    if (record_.DeleteAfterSaving())
      DeleteFirstPicture(count);
    else
      ++index_;
    return true;
  }

  TJPEGImage picture;
  ApplyPictureSettings(pictureSettings_, engine_);
  engine_.PrepareJpeg(picture);
  engine_.DecodeRawPicture(data, picture);
  if (record_.SaveCam()) {
    std::vector<std::uint8_t> cam;
    RawToCamFile(data, cam, dataKind);
    namer_.EnsureDailyFolder();
    SaveVerified(namer_.FileName(number_, kind, "CAM"), cam);
  }

  {
    tbitmap bitmap = picture.Bitmap();
    if (WriteCaption(bitmap, number_, pictureSettings_.caption, SystemFieldTexts(clock_()),
                     host_.captionPrompt))
      picture.Assign(std::move(bitmap));
  }
  if (host_.show) host_.show(picture, number_);

  std::string separate;
  if (record_.SeparateFiles()) {
    std::vector<std::uint8_t> jpeg;
    picture.SaveToStream(jpeg);
    namer_.EnsureDailyFolder();
    separate = namer_.FileName(number_, kind, "JPG");
    SaveVerified(separate, jpeg, true);
  }
  std::string single;
  if (record_.SingleFile()) {
    namer_.EnsureDailyFolder();
    single = SingleOutputFile();
    SaveVerified(single, SingleFileBytes(picture));
  }
  ++result_.captured;

  if (record_.DeleteAfterSaving())
    DeleteFirstPicture(count);
  else
    ++index_;
  if (Events()) return true;

  if (record_.SendByFtp() && host_.sendFile) {
    // Only a file that was written can be sent.
    const std::string& file = !single.empty() ? single : separate;
    if (!file.empty()) host_.sendFile(file);
  }
  if (Events()) return true;

  if (record_.PrintPicture() && host_.print) host_.print(picture);
  number_ = FirstFreeNumber();
  return true;
}

void tautocapture::Finish() {
  Progress(0, "Ready");
  status_.Show(tautocapstate::stopped);
  if (host_.finished) host_.finished(namer_.Folder());
  try {
    engine_.ResetCamera();
  } catch (const std::exception&) {
  }
}

tautocaptureresult tautocapture::Run() {
  result_ = {};
  index_ = 0;
  folder_ = 0;
  folders_.clear();
  checkedDelete_ = false;
  // Only on the change to "all captured" is the camera reset, so a polling run does not keep
  // resetting it.
  status_.onAllCaptured = [this] {
    try {
      engine_.ResetCamera();
    } catch (const std::exception&) {
    }
  };
  try {
    number_ = FirstFreeNumber();
    while (!Events()) {
      if (!WaitForCamera()) continue;
      const bool folders = engine_.HasFileSystem();
      if (!checkedDelete_) {
        checkedDelete_ = true;
        if (folders && record_.DeleteAfterSaving()) {
          if (host_.message) host_.message(tmessagekind::information, kCannotDeleteOverSerial);
          record_.SetDeleteAfterSaving(false);
        }
      }
      int count = 0;
      if (folders) {
        if (!SelectFolder()) folders_.clear();
      }
      if (Events()) continue;
      if (!folders || !folders_.empty()) count = std::max(0, engine_.GetPictureCount());

      if (index_ < count) {
        Capture(index_ + 1, count);
        continue;
      }
      if (folders && folder_ + 1 < folders_.size()) {
        ++folder_;
        index_ = 0;
        continue;
      }
      status_.Show(tautocapstate::allCaptured);
      PumpingWait(2000);
      if (!record_.KeepPolling()) SetStop(true);
      Events();
    }
  } catch (...) {
    status_.onAllCaptured = {};
    status_.PlayError();
    Finish();
    throw;
  }
  status_.onAllCaptured = {};
  Finish();
  return result_;
}

}  // namespace vantlo
