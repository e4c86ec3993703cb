// "AUTOCAPTURE" (1836 bytes): AutoCapture options for the serial camera and
// for a USB camera or memory card.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "library/records/defaultimages.h"
#include "library/records/recordbytes.h"

namespace vantlo {

// The four AutoCapture sounds, in their stored order.
enum class tautocapsound { Connected = 0, AllCaptured = 1, Disconnected = 2, Error = 3 };

class tautocapturerecord : public trecord<defaultimages::kAutoCaptureSize> {
 public:
  static constexpr const char* Name = "AUTOCAPTURE";
  // "Original", "Tiny (160 x 120)", ..., "Three-quarter".
  static constexpr int kOutputSizes = 9;
  static constexpr std::array<const char*, kOutputSizes> kOutputSizeNames = {
      "Original",           "Tiny (160 x 120)", "Small (320 x 240)",
      "Medium (480 x 360)", "VGA (640 x 480)",  "Large (1280 x 960)",
      "Half Size",          "Quarter Size",     "Three-quarter"};
  static constexpr int kMaxDrive = 26;  // Z:

  tautocapturerecord() : trecord(defaultimages::AutoCapture()) {}
  explicit tautocapturerecord(const std::array<std::uint8_t, Size>& bytes) : trecord(bytes) {}

  bool Running() const { return Bool<0>(); }
  void SetRunning(bool v) { SetBool<0>(v); }
  std::string SoundFile(tautocapsound s) const;
  void SetSoundFile(tautocapsound s, std::string_view file);
  bool PlaySound(tautocapsound s) const;
  void SetPlaySound(tautocapsound s, bool v);
  bool SaveThumbnail() const { return Bool<1036>(); }
  void SetSaveThumbnail(bool v) { SetBool<1036>(v); }
  bool DeleteAfterSaving() const { return Bool<1037>(); }
  void SetDeleteAfterSaving(bool v) { SetBool<1037>(v); }
  bool SendByFtp() const { return Bool<1038>(); }
  void SetSendByFtp(bool v) { SetBool<1038>(v); }
  // Name (without extension) of the single output file ("webcam").
  std::string SingleFileName() const { return Str<1039, 255>(); }
  void SetSingleFileName(std::string_view s) { SetStr<1039, 255>(s); }
  // Output size index 0..8, shared with webcam mode; outside reads 0.
  int OutputSize() const;
  void SetOutputSize(int index) { SetI32<1296>(recordbytes::IndexOr(index, kOutputSizes, 0)); }
  // Stem of the file names ("autocap").
  std::string NamePrefix() const { return Str<1300, 255>(); }
  void SetNamePrefix(std::string_view s) { SetStr<1300, 255>(s); }
  bool SeparateFiles() const { return Bool<1556>(); }
  void SetSeparateFiles(bool v) { SetBool<1556>(v); }
  bool SingleFile() const { return Bool<1557>(); }
  void SetSingleFile(bool v) { SetBool<1557>(v); }
  bool PrintPicture() const { return Bool<1558>(); }
  void SetPrintPicture(bool v) { SetBool<1558>(v); }
  // True: prefix + number; false: "Date + NNN.jpg".
  bool NameByPrefix() const { return Bool<1559>(); }
  void SetNameByPrefix(bool v) { SetBool<1559>(v); }
  bool SaveCam() const { return Bool<1560>(); }
  void SetSaveCam(bool v) { SetBool<1560>(v); }
  bool RunAtStart() const { return Bool<1561>(); }
  void SetRunAtStart(bool v) { SetBool<1561>(v); }
  bool RunMinimized() const { return Bool<1562>(); }
  void SetRunMinimized(bool v) { SetBool<1562>(v); }
  // Drive number of the USB/card source: 1 = A: ... 26 = Z:; 0 = not set up
  // (a stored value outside 0..26 reads as 0).
  int UsbDrive() const;
  void SetUsbDrive(int n) { SetI32<1564>(n >= 0 && n <= kMaxDrive ? n : 0); }
  // Colour range expansion for AutoCapture pictures, 0..50 (clamped).
  int ExpandAmount() const;
  void SetExpandAmount(int v);
  // JPEG quality for AutoCapture pictures, 1..100 (clamped).
  int JpegQuality() const;
  void SetJpegQuality(int v);
  bool CopyCompleteCard() const { return Bool<1576>(); }
  void SetCopyCompleteCard(bool v) { SetBool<1576>(v); }
  // Stored inverted from "Stop when all pictures captured".
  bool KeepPolling() const { return Bool<1832>(); }
  void SetKeepPolling(bool v) { SetBool<1832>(v); }
  bool UsbSource() const { return Bool<1833>(); }
  void SetUsbSource(bool v) { SetBool<1833>(v); }
  bool KeepCardNames() const { return Bool<1834>(); }
  void SetKeepCardNames(bool v) { SetBool<1834>(v); }
  bool DeleteAfterCopying() const { return Bool<1835>(); }
  void SetDeleteAfterCopying(bool v) { SetBool<1835>(v); }
};

}  // namespace vantlo
