// "FTPCONFIG" (424 bytes): FTP progress window, firewall, picture
// orientation, main window state and the dial-up account.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "library/records/defaultimages.h"
#include "library/records/recordbytes.h"

namespace vantlo {

enum class tfirewallmode { Off = 0, Site = 1, Open = 2, UserLogin = 3, UserNoLogin = 4 };
enum class torientation { Normal = 0, Clockwise = 1, UpsideDown = 2, CounterClockwise = 3 };
enum class twindowstate { Normal = 0, Minimized = 1, Maximized = 2 };

class tftpconfigrecord : public trecord<defaultimages::kFtpConfigSize> {
 public:
  static constexpr const char* Name = "FTPCONFIG";
  // List entries in stored order.
  static constexpr std::array<const char*, 5> kFirewallModeNames = {"Off", "Site", "Open",
                                                                    "User Login", "User No Login"};
  static constexpr std::array<const char*, 4> kOrientationNames = {
      "Normal", "Rotated clockwise", "Upside down", "Rotated counter-clockwise"};

  tftpconfigrecord() : trecord(defaultimages::FtpConfig()) {}
  explicit tftpconfigrecord(const std::array<std::uint8_t, Size>& bytes) : trecord(bytes) {}

  bool ShowFtpProgress() const { return Bool<0>(); }
  void SetShowFtpProgress(bool v) { SetBool<0>(v); }
  bool UseFirewall() const { return Bool<4>(); }
  void SetUseFirewall(bool v) { SetBool<4>(v); }
  std::string FirewallHost() const { return Str<5, 255>(); }
  void SetFirewallHost(std::string_view s) { SetStr<5, 255>(s); }
  // A stored mode outside 0..4 reads as Off.
  tfirewallmode FirewallMode() const;
  void SetFirewallMode(tfirewallmode m) { SetI32<264>(static_cast<int>(m)); }
  std::string FirewallPassword() const { return Str<268, 32>(); }
  void SetFirewallPassword(std::string_view s) { SetStr<268, 32>(s); }
  // 0..65535; a stored value outside reads as 0.
  int FirewallPort() const;
  void SetFirewallPort(int port) { SetI32<304>(port >= 0 && port <= 65535 ? port : 0); }
  std::string FirewallUser() const { return Str<308, 32>(); }
  void SetFirewallUser(std::string_view s) { SetStr<308, 32>(s); }
  // Orientation applied to pictures; a stored value outside 0..3 reads Normal.
  torientation Orientation() const;
  void SetOrientation(torientation o) { SetI32<344>(static_cast<int>(o)); }
  // Handed to the picture decoder unchanged; nothing acts on it.
  std::int32_t DecoderValue() const { return I32<348>(); }
  void SetDecoderValue(std::int32_t v) { SetI32<348>(v); }
  // Main window state at start; a stored value outside 0..2 reads Maximized.
  twindowstate WindowState() const;
  void SetWindowState(twindowstate s) { SetI16<352>(static_cast<std::int16_t>(s)); }
  std::uint8_t Reserved354() const { return U8<354>(); }
  std::string DialUser() const { return Str<356, 32>(); }
  void SetDialUser(std::string_view s) { SetStr<356, 32>(s); }
  std::string DialPassword() const { return Str<389, 32>(); }
  void SetDialPassword(std::string_view s) { SetStr<389, 32>(s); }
};

}  // namespace vantlo
