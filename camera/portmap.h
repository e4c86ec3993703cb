// Turns the program's port names ("COM1:" .. "COM8:") into Linux device paths.
// The environment (VANTLO_COM1 .. VANTLO_COM8) wins over the map, so a test or
// a capture station can point a COM name anywhere without touching settings;
// the map itself starts with COM1..COM4 = /dev/ttyUSB0..3 (USB adapters, the
// usual cable today) and COM5..COM8 = /dev/ttyS0..3, and the settings store
// or the GUI may replace entries. A name that is not a COM name is taken as a
// device path as it stands (so "/dev/pts/5" works).
#pragma once

#include <array>
#include <optional>
#include <string>

namespace vantlo {

class tportmap {
 public:
  static constexpr int kPorts = 8;

  tportmap();

  // The process-wide map that tcomport consults.
  static tportmap& Global();

  // 1..8 for "COM1", "COM1:", "com1:" ...; nullopt for anything else.
  static std::optional<int> ComNumber(const std::string& name);

  // Device path for a port name (see above). Never empty for a non-empty name.
  std::string DevicePath(const std::string& name) const;

  // Map entry for COMn, ignoring the environment; empty for n outside 1..8.
  std::string Entry(int n) const;
  // Sets COMn's device; an empty path restores the default. n outside 1..8 is ignored.
  void SetEntry(int n, const std::string& device);
  static std::string DefaultEntry(int n);

 private:
  std::array<std::string, kPorts> entries_;
};

}  // namespace vantlo
