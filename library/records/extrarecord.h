// "EXTRA" (788 bytes, default all zero): browser folder, date style, link
// type, dial-up user choice, colour correction, MiniLab folder and host
// information file.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "library/records/defaultimages.h"
#include "library/records/recordbytes.h"

namespace vantlo {

enum class tcolourmode { Off = 0, Manual = 1, Auto = 2 };

class textrarecord : public trecord<defaultimages::kExtraSize> {
 public:
  static constexpr const char* Name = "EXTRA";
  static constexpr int kMaxColourFactor = 20;
  static constexpr std::array<const char*, 3> kColourModeNames = {"Off", "Manual", "Auto"};

  textrarecord() : trecord(defaultimages::Extra()) {}
  explicit textrarecord(const std::array<std::uint8_t, Size>& bytes) : trecord(bytes) {}

  // Folder shown in the disk browser.
  std::string BrowseFolder() const { return Str<0, 255>(); }
  void SetBrowseFolder(std::string_view s) { SetStr<0, 255>(s); }
  // File-name date style: true "Date2", false "Date1".
  bool Date2Style() const { return Bool<256>(); }
  void SetDate2Style(bool v) { SetBool<256>(v); }
  // Camera link: false "Cable", true "IrDA" (stored 0 / 1; any other
  // stored value reads as "Cable").
  bool IrDA() const { return U8<260>() == 1; }
  void SetIrDA(bool v) { SetU8<260>(v ? 1 : 0); }
  // Dial-up: true "Use this Username", false "Use Default ISP Username".
  bool UseThisUsername() const { return Bool<264>(); }
  void SetUseThisUsername(bool v) { SetBool<264>(v); }
  // Manual colour correction factor 0..20 (clamped), shown as factor x 5 %.
  int ColourFactor() const;
  void SetColourFactor(int v);
  // A stored mode outside 0..2 reads as Off.
  tcolourmode ColourMode() const;
  void SetColourMode(tcolourmode m) { SetI32<272>(static_cast<int>(m)); }
  std::string MiniLabFolder() const { return Str<276, 255>(); }
  void SetMiniLabFolder(std::string_view s) { SetStr<276, 255>(s); }
  std::string HostInfoFile() const { return Str<532, 255>(); }
  void SetHostInfoFile(std::string_view s) { SetStr<532, 255>(s); }
};

}  // namespace vantlo
