// "CAPDATA" (936 bytes): the two caption settings, the webcam-mode quiet
// period, the slide-show FTP name and the webcam connection type.
#pragma once

#include <string>
#include <string_view>

#include "library/records/captionrecord.h"
#include "library/records/defaultimages.h"
#include "library/records/recordbytes.h"

namespace vantlo {

enum class tcaptionkind { Interactive = 0, Webcam = 1 };

class tcapdatarecord : public trecord<defaultimages::kCapDataSize> {
 public:
  static constexpr const char* Name = "CAPDATA";

  tcapdatarecord() : trecord(defaultimages::CapData()) {}
  explicit tcapdatarecord(const std::array<std::uint8_t, Size>& bytes) : trecord(bytes) {}

  // A copy of one caption setting; store an edited copy with SetCaption.
  tcaptionrecord Caption(tcaptionkind kind) const;
  void SetCaption(tcaptionkind kind, const tcaptionrecord& caption);

  // "Disable Vantlo between" QuietStart and QuietEnd (times of day).
  bool QuietPeriod() const { return Bool<624>(); }
  void SetQuietPeriod(bool v) { SetBool<624>(v); }
  tdatetime QuietStart() const { return DateTime<632>(); }
  void SetQuietStart(tdatetime t) { SetDateTime<632>(t); }
  tdatetime QuietEnd() const { return DateTime<640>(); }
  void SetQuietEnd(tdatetime t) { SetDateTime<640>(t); }
  bool SendSlideShowByFtp() const { return Bool<648>(); }
  void SetSendSlideShowByFtp(bool v) { SetBool<648>(v); }
  std::string SlideShowRemoteName() const { return Str<649, 255>(); }
  void SetSlideShowRemoteName(std::string_view s) { SetStr<649, 255>(s); }
  // Timed-capture connection type: true "USB and Serial", false "Serial".
  bool UsbAndSerial() const { return Bool<905>(); }
  void SetUsbAndSerial(bool v) { SetBool<905>(v); }
};

}  // namespace vantlo
