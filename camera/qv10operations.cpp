// Camera operations of tqvProtocolEngine for the classic and extended
// families: identification, count, battery, selection, thumbnails, pictures,
// delete and take. The file-system operations are in qv10filesystem.cpp.
#include <stdexcept>

#include "camera/qv10detail.h"
#include "camera/qv10int.h"
#include "picture/camformats.h"

namespace vantlo {

namespace {

// Raw picture data hold at least what their header announces (a packet that
// went missing leaves them short); JPEG data and anything else are judged by
// the decoder. Empty data are never a picture.
bool CompleteRawPicture(const std::vector<std::uint8_t>& data) {
  if (data.empty()) return false;
  constexpr std::size_t kHeader = 136;
  auto u16 = [&data](std::size_t at) {
    return static_cast<std::size_t>(data[at]) * 256 + data[at + 1];
  };
  if (data[0] == 0x00)
    return data.size() >= kHeader && data.size() >= kHeader + u16(2) + u16(4) + u16(6);
  if (data[0] == 0x01) return data.size() >= kHeader && data.size() >= kHeader + u16(6);
  return true;
}

}  // namespace

void tqvProtocolEngine::CheckClassicNumber(int n) const {
  // A classic camera takes the number as one byte: a larger number would
  // address another picture.
  if (n < 1 || n > 255) throw tqvbadpicnum();
}

void tqvProtocolEngine::CheckExtendedNumber(int n) const {
  if (n < 1 || n > 65535) throw tqvbadpicnum();
}

void tqvProtocolEngine::CheckAndIdentify() {
  // The identification begins with the operation's check itself.
  if (cameraType_ == kCameraUnknown) {
    if (GetCameraType() == kCameraUnknown) RaiseNotConnected();
    return;
  }
  Check();
}

void tqvProtocolEngine::IdentifyIfUnknown() {
  if (cameraType_ == kCameraUnknown) CheckAndIdentify();
}

int tqvProtocolEngine::GetCameraType() {
  // A known family is read from the cache, without a camera exchange.
  if (cameraType_ != kCameraUnknown) return cameraType_;
  toperationscope operation(*this);
  Check();
  // A classic camera leaves "XC" unanswered: that is no lost camera, and the
  // handshake after the probe decides.
  checkSkipped_ = false;
  hasFileSystem_ = false;
  tbytestream reply;
  int result;
  {
    treadtimeoutscope probe(*this, 1000);
    result = SendCommand(Cmd("XC"), 3, reply);
  }
  if (result == kCommandOk) {
    cameraType_ = kCameraExtended;
    // "ZD" also climbs one folder: the camera has left its picture folder.
    inFolder_ = false;
    if (SendCommand(Cmd("ZD"), 3, reply) == kCommandOk) hasFileSystem_ = true;
  } else {
    cameraType_ = CheckCamera() ? kCameraClassic : kCameraUnknown;
    hasFileSystem_ = false;
  }
  return cameraType_;
}

bool tqvProtocolEngine::HasFileSystem() {
  toperationscope operation(*this);
  IdentifyIfUnknown();
  return hasFileSystem_;
}

void tqvProtocolEngine::SetKnownFamily(int cameraType, bool fileSystem) {
  knownType_ =
      cameraType == kCameraClassic || cameraType == kCameraExtended ? cameraType : kCameraUnknown;
  knownFileSystem_ = knownType_ == kCameraExtended && fileSystem;
  cameraType_ = knownType_;
  hasFileSystem_ = knownFileSystem_;
  inFolder_ = false;
}

int tqvProtocolEngine::GetPictureCount() {
  toperationscope operation(*this);
  CheckAndIdentify();
  int count = 0;
  {
    treadtimeoutscope slow(*this, IsExtended() ? Port().Params().ReadTimeout : 7000);
    tbytestream reply;
    if (!IsExtended()) {
      MustSend(Cmd("MP"), 3, reply);
      count = reply[2];
    } else if (hasFileSystem_) {
      std::vector<std::string> files;
      ListFiles(files);
      count = static_cast<int>(files.size());
    } else {
      MustSend(Cmd("XP"), 4, reply);
      count = reply[2] * 256 + reply[3];
    }
  }
  if (count < 0 || count > 300) RaiseNotConnected(kNotCommunicatingMessage);
  return count;
}

double tqvProtocolEngine::GetBatteryVoltage() {
  toperationscope operation(*this);
  CheckAndIdentify();
  tbytestream reply;
  if (IsExtended()) {
    MustSend(Cmd("BC"), 3, reply);
    return reply[2] == 0 ? 5.5 : 3.6;
  }
  MustSend(Cmd("RB", {0x05, 0xFF, 0xFE, 0xE6}), 3, reply);
  const double volts = reply[2] / 16.0;
  if (volts > 5.5) return 5.5;
  if (volts < 3.6) return 3.6;
  return volts;
}

void tqvProtocolEngine::SetLowVoltageThreshold(double volts) {
  lowVoltageThreshold_ = volts == 0 ? 4.0 : volts;
}

void tqvProtocolEngine::CheckBattery() {
  toperationscope operation(*this);
  const double volts = GetBatteryVoltage();
  if (volts > lowVoltageThreshold_) return;
  if (OnLowVoltage) OnLowVoltage(*this);
  throw tqvlowvoltage();
}

void tqvProtocolEngine::SelectPicture(int n) {
  toperationscope operation(*this);
  if (n < 1) throw tqvbadpicnum();
  IdentifyIfUnknown();
  if (IsExtended()) {
    CheckExtendedNumber(n);
  } else {
    CheckClassicNumber(n);
  }
  if (n > GetPictureCount()) throw tqvbadpicnum();
  currentPicture_ = n;
  if (IsExtended()) {
    MustSend(Cmd("XA", {High(n), Low(n)}), 2);
  } else {
    MustSend(Cmd("DA", {Low(n)}), 2);
  }
}

void tqvProtocolEngine::SelectThumbnail(int n) {
  toperationscope operation(*this);
  if (n < 1 || n > 300) throw tqvbadpicnum();
  CheckClassicNumber(n);
  currentPicture_ = n;
  MustSend(Cmd("DH", {Low(n)}), 2);
}

bool tqvProtocolEngine::IsFinePicture(int n) {
  toperationscope operation(*this);
  IdentifyIfUnknown();
  if (IsExtended()) return false;
  CheckClassicNumber(n);
  tbytestream reply;
  const int result = SendCommand(Cmd("DY", {0x02, Low(n)}), 3, reply);
  currentPicture_ = n;
  if (result != kCommandOk) RaiseNotConnected();
  // Mode bits: bit 1 fine, bit 0 protected (a protected normal picture
  // answers 1, a protected fine one 3).
  return (reply[2] & 0x02) != 0;
}

void tqvProtocolEngine::FetchThumbnailData(int n, tbytestream& stream) {
  toperationscope operation(*this);
  currentPicture_ = n;
  CheckAndIdentify();
  ApplySpeed(desiredSpeed_);
  SetBlockSize(blockSize_);
  if (IsExtended()) {
    CheckExtendedNumber(n);
    treadtimeoutscope quick(*this, 1000);
    MustSend(Cmd("XT", {High(n), Low(n)}), 2);
    ReceiveData(stream, kRawThumbnailSize);
  } else {
    SelectThumbnail(n);
    MustSend(Cmd("MK"), 2);
    ReceiveData(stream, kRawThumbnailSize);
  }
  // A raw thumbnail has exactly its size: a packet missing or one too long
  // would give a picture that is not the camera's.
  if (stream.size() != kRawThumbnailSize) RaiseBadTransfer();
}

void tqvProtocolEngine::FetchThumbnail(int n, tbitmap& bitmap, bool& isMovie, bool& fine) {
  toperationscope operation(*this);
  isMovie = false;
  fine = IsFinePicture(n);
  if (IsExtended() && hasFileSystem_) {
    FetchPreviewThumbnail(n, bitmap, isMovie);
    return;
  }
  tbytestream raw;
  FetchThumbnailData(n, raw);
  DecodeThumbnail(raw, bitmap);
}

std::uint8_t tqvProtocolEngine::FetchPicture(int n, tbytestream& stream) {
  toperationscope operation(*this);
  CheckAndIdentify();
  std::uint8_t kind = kKindUnknown;
  CheckBattery();
  ApplySpeed(desiredSpeed_);
  SetBlockSize(blockSize_);
  Progress(-5, std::string(), n);

  if (!IsExtended()) {
    SelectPicture(n);
    const bool fine = IsFinePicture(n);
    kind = fine ? kKindFine : kKindNormal;
    progressStep_ = fine ? -2 : -5;
    Progress(progressStep_, std::string(), n);
    MustSend(Cmd("DL"), 2);
    MustSend(Cmd(fine ? "Mg" : "MG"), 2);
    ReceiveData(stream);
    if (!CompleteRawPicture(stream)) RaiseBadTransfer();
    return kind;
  }

  treadtimeoutscope quick(*this, 1000);
  tbytestream reply;
  if (hasFileSystem_) {
    // A number outside the file list is an error, not an untouched stream
    // that a caller would save as a picture.
    const std::string name = FileEntry(n);
    kind = name.size() >= 3 && EndsWithNoCase(name, "AVI") ? kKindAviFile : kKindJpegFile;
    (void)SendCommand(CmdName("ZG", name), 2, reply);
    progressStep_ = -1;
    ReceiveData(stream);
    if (stream.empty()) RaiseBadTransfer();
    Progress(-1, std::string(), n);
    return kind;
  }

  CheckExtendedNumber(n);
  MustSend(Cmd("XC"), 3, reply);
  MustSend(Cmd("XK", {High(n), Low(n)}), 3, reply);
  if (reply[2] == 2) {
    kind = kKindExtended2;
  } else if (reply[2] == 1) {
    kind = kKindExtended1;
  }
  MustSend(Cmd("XG", {High(n), Low(n)}), 2);
  progressStep_ = -1;
  ReceiveData(stream);
  if (!CompleteRawPicture(stream)) RaiseBadTransfer();
  Progress(-1, std::string(), n);
  return kind;
}

void tqvProtocolEngine::DeletePicture(int n) {
  toperationscope operation(*this);
  CheckAndIdentify();
  if (IsExtended() && hasFileSystem_) return;
  if (n < 1 || n > 300) throw tqvbadpicnum();
  tbytestream reply;
  if (IsExtended()) {
    (void)SendCommand(Cmd("EY", {0x00, High(n), Low(n)}), 2, reply);
    (void)SendCommand(Cmd("XK", {High(n), Low(n)}), 3, reply);
    (void)SendCommand(Cmd("XF", {0x00, 0x01, High(n), Low(n)}), 2, reply);
    return;
  }
  CheckClassicNumber(n);
  MustSend(Cmd("DF", {Low(n), 0xFF}), 2);
}

void tqvProtocolEngine::DeleteAllPictures() {
  toperationscope operation(*this);
  CheckAndIdentify();
  if (IsExtended() && hasFileSystem_) return;
  MustSend(Cmd("DD"), 2);
}

void tqvProtocolEngine::TakePicture() {
  toperationscope operation(*this);
  CheckAndIdentify();
  if (IsExtended()) {
    throw std::runtime_error("This type of camera cannot take a picture under program control");
  }
  tbytestream reply;
  {
    treadtimeoutscope slow(*this, 12000);
    MustSend(Cmd("DR"), 3, reply);
  }
  if (reply[2] == kNAK) throw tqvplaypos();
}

}  // namespace vantlo
