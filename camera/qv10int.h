// tqvProtocolEngine: the one object that talks to a Casio QV camera. It owns
// the serial port and speaks the camera's link protocol (enquiry handshake,
// framed commands with checksums, speed change, block size, checksummed data
// packets) and, on top of it, the operations of the three camera families
// (classic, extended, extended with a file system).
//
// Link failures on mandatory steps raise tqvnotconnected after returning the
// link to 9600 baud and forgetting the camera type. Every fixed wait goes
// through the injected twaiter. Byte streams are std::vector<std::uint8_t>.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "camera/comport.h"
#include "camera/deadline.h"
#include "camera/qvexceptions.h"
#include "camera/waiter.h"
#include "picture/bitmap.h"
#include "picture/pipeline.h"

namespace vantlo {

class tqvProtocolEngine;

// A progress listener may ask the running operation to stop; the engine then
// ends it with tqvcancelled. A transfer cut in mid-packet is ended and the
// link reset on both sides first, so camera and engine stay in step.
enum class tprogressanswer { carryOn, stop };
using tprogressevent = std::function<tprogressanswer(tqvProtocolEngine& sender, int position,
                                                     const std::string& text, int picture)>;
using tlowvoltageevent = std::function<void(tqvProtocolEngine& sender)>;

// Result codes of SendCommand.
inline constexpr int kCommandOk = 0;
inline constexpr int kCommandNoAnswer = 2;
inline constexpr int kCommandBadChecksum = 4;
inline constexpr int kCommandWriteFailed = 8;
inline constexpr int kCommandReplyTooLong = 10;
inline constexpr int kCommandRefused = 12;

// Picture kind codes of FetchPicture.
inline constexpr std::uint8_t kKindUnknown = 0;
inline constexpr std::uint8_t kKindNormal = 1;
inline constexpr std::uint8_t kKindFine = 2;
inline constexpr std::uint8_t kKindExtended1 = 3;
inline constexpr std::uint8_t kKindExtended2 = 4;
inline constexpr std::uint8_t kKindJpegFile = 5;
inline constexpr std::uint8_t kKindAviFile = 6;

// Camera types of GetCameraType.
inline constexpr int kCameraUnknown = 0;
inline constexpr int kCameraClassic = 1;
inline constexpr int kCameraExtended = 2;

inline constexpr std::uint8_t kDefaultSpeedIndex = 6;  // 9600 baud

// Speed code the camera expects in "CB" for a baud index; 0 when the index
// has none (no switch takes place).
std::uint8_t SpeedCodeOfIndex(std::uint8_t baudIndex);
// Baud index for the user's speed choice "Auto", "9600" ... "115200" (list
// position 0..5); "Auto" is 38400. A position outside the list gives the
// default speed, 9600 baud.
std::uint8_t BaudIndexOfSpeedChoice(int position);

// The picture settings and decoding (JPEG quality, output size, ...) come
// from tpicturepipeline; the main window copies its settings into them.
class tqvProtocolEngine : public tpicturepipeline {
 public:
  using tbytestream = std::vector<std::uint8_t>;

  // A transfer larger than this is no camera's: it ends with tqvnotconnected.
  static constexpr std::size_t kMaxTransferBytes = 16u * 1024u * 1024u;
  // A file or folder list larger than this is no camera's either.
  static constexpr std::size_t kMaxListBytes = 64u * 1024u;
  // A broken camera (garbage, stray bytes, an endless stream) must end an
  // operation in a clear failure within seconds at any speed: the time one
  // operation may spend on bad packets, and their number.
  static constexpr std::int64_t kFailureBudgetMs = 6000;
  static constexpr int kMaxBadPacketsPerOperation = 6;
  // An operation within this time of the last good exchange goes straight to
  // its command instead of making the full handshake.
  static constexpr std::int64_t kFreshLinkMs = 2000;
  // Folder depth beyond which the climb to the top folder gives up.
  static constexpr int kMaxFolderClimb = 16;
  static constexpr std::uint8_t kDefaultSpeed = 6;  // 9600 baud

  // Opens the port (a failure to open does not fail the construction; the
  // first CheckCamera fails instead). `speed` is ignored. `waiter` and `clock`
  // must outlive the engine; null means real sleeping and the steady clock.
  // The clock times the engine's own decisions (how long an operation has
  // spent on failures); the port's time-outs keep the steady clock.
  tqvProtocolEngine(const std::string& portName, int speed, bool irda, twaiter* waiter = nullptr,
                    const tclock* clock = nullptr);
  ~tqvProtocolEngine() override;
  tqvProtocolEngine(const tqvProtocolEngine&) = delete;
  tqvProtocolEngine& operator=(const tqvProtocolEngine&) = delete;

  // ---- link ----
  // The full enquiry handshake, always (the operations make it only when the
  // camera's state is not known, see Check).
  bool CheckCamera();
  // command: two letters and argument bytes; replyLength counts the two
  // handshake bytes. Returns 0, 2, 4, 8, 10 or 12; on 0 or 4 with
  // replyLength > 2, reply holds ACK, checksum byte, data. Inside an
  // operation that skipped its handshake, the first command stands for it:
  // when its enquiry goes unanswered it raises tqvnotconnected.
  int SendCommand(const tbytestream& command, int replyLength, tbytestream& reply);
  // Bulk transfer into `stream`; more than `maxBytes` of data ends it with
  // tqvnotconnected as soon as the camera sends them.
  void ReceiveData(tbytestream& stream, std::size_t maxBytes = kMaxTransferBytes);
  void SetDesiredSpeed(std::uint8_t baudIndex);
  void ApplySpeed(std::uint8_t baudIndex);
  void SetPortSpeed(std::uint8_t baudIndex);
  // Negotiates n (1..65535) with the camera when it differs from CameraBlockSize.
  void SetBlockSize(std::int32_t n);
  // Status 1..8 (see TestLinkText); firstByte: the byte received, errorCode:
  // 0 for status 1, else the port's LastError.
  int TestLink(std::string& firstByte, int& errorCode);
  static std::string TestLinkText(int status);
  void ResetCamera();
  void PowerOff();
  void SelectPort(const std::string& portName);
  void SetIrdaMode(bool irda);
  void SendRaw(const std::string& text);
  void EnableLineErrorReports();

  // ---- camera operations ----
  // Identifies the camera when its family is not known; a known family (and
  // file-system flag) is read from the cache without a camera exchange.
  int GetCameraType();
  bool HasFileSystem();
  // The family the user says the camera is (kCameraClassic or
  // kCameraExtended, with or without file system): taken without the probe,
  // and kept after a lost connection. kCameraUnknown goes back to probing.
  void SetKnownFamily(int cameraType, bool fileSystem);
  int GetPictureCount();
  double GetBatteryVoltage();
  void SetLowVoltageThreshold(double volts);
  void CheckBattery();
  void SelectPicture(int n);
  void SelectThumbnail(int n);
  bool IsFinePicture(int n);
  void FetchThumbnailData(int n, tbytestream& stream);
  void FetchThumbnail(int n, tbitmap& bitmap, bool& isMovie, bool& fine);
  // File-system cameras: the preview JPEG of picture n (empty when the
  // PREVIEW folder could not be entered); returns the is-movie flag.
  bool FetchPreviewThumbnailData(int n, tbytestream& jpeg);
  void FetchPreviewThumbnail(int n, tbitmap& bitmap, bool& isMovie);
  // Returns the picture kind code.
  std::uint8_t FetchPicture(int n, tbytestream& stream);
  // The files of the picture folder (a file-system camera is put back into
  // it first when it may have left it).
  void ListFiles(std::vector<std::string>& list);
  // Leaves the camera in the DCIM folder; the next operation that needs the
  // picture folder enters it again.
  void ListFolders(std::vector<std::string>& list);
  void ChangeFolder(const std::string& name);
  void DeletePicture(int n);
  void DeleteAllPictures();
  void TakePicture();

  // ---- state ----
  tcomport& Port() { return *port_; }
  const tcomport& Port() const { return *port_; }
  twaiter& Waiter() { return *waiter_; }
  std::uint8_t CurrentSpeed() const { return currentSpeed_; }
  std::uint8_t DesiredSpeed() const { return desiredSpeed_; }
  std::int32_t BlockSize() const { return blockSize_; }
  // The block size to ask for at the next transfer (clamped to 1..65535);
  // the window sets 4096 at start-up.
  void RequestBlockSize(std::int32_t n);
  std::int32_t CameraBlockSize() const { return cameraBlockSize_; }
  int CameraType() const { return cameraType_; }           // cached, no camera traffic
  bool KnownFileSystem() const { return hasFileSystem_; }  // cached
  const std::string& PortName() const { return portName_; }
  const std::string& CurrentFolder() const { return currentFolder_; }
  int CurrentPicture() const { return currentPicture_; }
  int ProgressStep() const { return progressStep_; }
  bool IrdaMode() const { return irdaMode_; }
  double LowVoltageThreshold() const { return lowVoltageThreshold_; }

  tprogressevent OnProgress;
  tlowvoltageevent OnLowVoltage;

 private:
  friend class tpreviewreturn;
  friend class toperationscope;

  [[noreturn]] void RaiseNotConnected(const char* message = kNotConnectedMessage);
  // Back to 9600 baud, camera type forgotten. Never throws.
  void ForgetConnection() noexcept;
  void MustSend(const tbytestream& command, int replyLength, tbytestream& reply);
  void MustSend(const tbytestream& command, int replyLength);
  // The operation's check: the full handshake only when the camera's state is
  // not known (first contact, a failed exchange, a speed change or reset, more
  // than kFreshLinkMs since the last good exchange); else the operation's
  // first command stands for it.
  void Check();
  void MarkGood();
  bool LinkFresh() const;
  int Exchange(const tbytestream& command, int replyLength, tbytestream& reply, bool& answered);
  // The operation's check; a camera whose type is not known (first contact,
  // or forgotten after a lost connection) is identified first, so that every
  // family gets its own commands. Raises tqvnotconnected when none answers.
  void CheckAndIdentify();
  // Identifies the camera only when its type is not known.
  void IdentifyIfUnknown();
  bool WriteByte(std::uint8_t b);
  int ReadPacket(tbytestream& buffer, std::size_t& length);
  // Reads and drops until the line is quiet, for at most `limitMs`.
  void DrainLine(std::int64_t limitMs);
  // Line time of one packet at the current speed plus a margin: how long a
  // packet in flight may take to arrive.
  std::int64_t PacketTimeMs() const;
  // A transfer whose data cannot be right (size, emptiness): the camera is
  // reset so both sides are in step, then tqvnotconnected.
  [[noreturn]] void RaiseBadTransfer();
  // Ends a transfer the camera is still sending and resets the link on both
  // sides (the camera with "QR", the engine to 9600 baud); when no camera
  // answers, the connection is forgotten instead. Never throws.
  void CutTransfer() noexcept;
  // The engine's side of "QR" and "QX": the port back at 9600 baud (reopened
  // after a pause on an infrared link).
  void LinkAfterReset();
  void Progress(int position, const std::string& text, int picture);
  bool ClimbToTop();
  bool IsExtended() const { return cameraType_ == kCameraExtended; }
  void CheckClassicNumber(int n) const;
  void CheckExtendedNumber(int n) const;
  std::string FileEntry(int n);
  void LeavePreview() noexcept;
  // File-system cameras: puts the camera into the picture folder when it may
  // have left it (the "ZD" probe and folder lists climb out of it, a lost
  // connection forgets where it was); with no folder chosen yet, the first
  // picture folder is chosen.
  void EnsurePictureFolder();
  bool EnterFolder(const std::string& name);

  twaiter* waiter_;
  const tclock* clock_;
  std::unique_ptr<tcomport> port_;
  // The running operation (nested calls share the outermost one).
  int operationDepth_ = 0;
  std::int64_t failedMs_ = 0;  // spent on bad packets in this operation
  int badPackets_ = 0;         // bad packet reads in this operation
  std::uint8_t currentSpeed_ = kDefaultSpeed;
  std::uint8_t desiredSpeed_ = kDefaultSpeed;
  std::int32_t blockSize_ = 128;
  std::int32_t cameraBlockSize_ = 128;
  double lowVoltageThreshold_ = 4.0;
  std::string portName_;
  int currentPicture_ = 0;
  int progressStep_ = 0;
  bool irdaMode_ = false;
  std::string currentFolder_;
  bool inFolder_ = false;  // the camera is known to be in currentFolder_
  int cameraType_ = kCameraUnknown;
  bool hasFileSystem_ = false;
  int knownType_ = kCameraUnknown;  // the family the user gave, kept after failures
  bool knownFileSystem_ = false;
  // What the engine knows of the link: a good exchange at lastGoodMs_ with
  // nothing since that would put camera and engine out of step.
  bool linkKnown_ = false;
  std::int64_t lastGoodMs_ = 0;
  bool checkSkipped_ = false;  // the running operation went straight to its command
};

}  // namespace vantlo
