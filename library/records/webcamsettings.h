// The timed-capture (webcam mode) settings block: 1832 bytes kept inside
// "CONFIGD5" at offset 312 and handed to the scheduler whole. Take a copy
// with tconfigrecord::WebcamSettings() and put it back with
// SetWebcamSettings(); the stored running flag is always false.
#pragma once

#include <string>
#include <string_view>

#include "library/records/defaultimages.h"
#include "library/records/recordbytes.h"

namespace vantlo {

class twebcamsettings : public trecord<defaultimages::kWebcamBlockSize> {
 public:
  // Interval values with a meaning of their own.
  static constexpr int kManual = -1;      // no timed capture
  static constexpr int kBySchedule = -2;  // times from the schedule file
  static constexpr int kAsFastAsPossible = 0;
  static constexpr int kCounterWrap = 10000;
  static constexpr std::size_t kScheduleFileMax = 214;  // characters the page stores

  twebcamsettings() : trecord(defaultimages::WebcamBlock()) {}
  explicit twebcamsettings(const std::array<std::uint8_t, Size>& bytes) : trecord(bytes) {}

  bool Active() const { return Bool<0>(); }
  void SetActive(bool v) { SetBool<0>(v); }
  // Seconds between shots, or kManual / kBySchedule; a damaged value below
  // -2 reads as kManual.
  int Interval() const;
  void SetInterval(int seconds) { SetI32<4>(seconds < kBySchedule ? kManual : seconds); }
  tdatetime FirstPictureTime() const { return DateTime<8>(); }
  void SetFirstPictureTime(tdatetime t) { SetDateTime<8>(t); }
  tdatetime NextShotTime() const { return DateTime<16>(); }
  void SetNextShotTime(tdatetime t) { SetDateTime<16>(t); }
  bool DeleteFromCamera() const { return Bool<24>(); }
  void SetDeleteFromCamera(bool v) { SetBool<24>(v); }
  bool FetchThumbnail() const { return Bool<25>(); }
  void SetFetchThumbnail(bool v) { SetBool<25>(v); }
  bool FetchPicture() const { return Bool<26>(); }
  void SetFetchPicture(bool v) { SetBool<26>(v); }
  bool SaveThumbnail() const { return Bool<27>(); }
  void SetSaveThumbnail(bool v) { SetBool<27>(v); }
  bool SavePicture() const { return Bool<28>(); }
  void SetSavePicture(bool v) { SetBool<28>(v); }
  // Stem of the timed-capture file names ("Vantlo").
  std::string Prefix() const { return Str<29, 255>(); }
  void SetPrefix(std::string_view s) { SetStr<29, 255>(s); }
  // Number of the next picture, 0..9999 (a stored value outside reads as 0).
  int PictureCounter() const;
  void SetPictureCounter(int n) { SetI32<288>(n >= 0 && n < kCounterWrap ? n : 0); }
  bool RunProgram() const { return Bool<292>(); }
  void SetRunProgram(bool v) { SetBool<292>(v); }
  std::string Program() const { return Str<293, 255>(); }
  void SetProgram(std::string_view s) { SetStr<293, 255>(s); }
  bool SendByFtp() const { return Bool<549>(); }
  void SetSendByFtp(bool v) { SetBool<549>(v); }
  std::string RemoteHost() const { return Str<550, 255>(); }
  void SetRemoteHost(std::string_view s) { SetStr<550, 255>(s); }
  std::string RemoteDirectory() const { return Str<806, 255>(); }
  void SetRemoteDirectory(std::string_view s) { SetStr<806, 255>(s); }
  // Name of the fixed output file (empty: numbered files); also the remote
  // output file name.
  std::string OutputFile() const { return Str<1062, 255>(); }
  void SetOutputFile(std::string_view s) { SetStr<1062, 255>(s); }
  std::string RemoteUser() const { return Str<1318, 255>(); }
  void SetRemoteUser(std::string_view s) { SetStr<1318, 255>(s); }
  std::string RemotePassword() const { return Str<1574, 40>(); }
  void SetRemotePassword(std::string_view s) { SetStr<1574, 40>(s); }
  // The field holds up to 216 characters; the page stores at most 214.
  std::string ScheduleFile() const { return Str<1615, 216>(); }
  void SetScheduleFile(std::string_view s) { SetStr<1615, 216>(s, kScheduleFileMax); }
};

}  // namespace vantlo
