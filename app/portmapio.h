#pragma once

#include <array>
#include <string>

namespace vantlo {

// The COM-name to device map as the window edits it: the running map of the
// serial port and the copy stored with the settings.
struct tportmapio {
  using tmap = std::array<std::string, 8>;  // [0] is COM1; "" = the default device

  // Puts the stored map into the running map (start-up).
  static void LoadStored();
  // The running map's entries.
  static tmap Current();
  // Device a COM name opens now (environment first); empty when unknown.
  static std::string DeviceOf(const std::string& portName);
  // Default device of COMn (1..8).
  static std::string DefaultOf(int n);
  // Stores the map and puts it into the running map; throws with the
  // store's message ("Invalid device for COMn:") when an entry is unusable.
  static void Save(const tmap& map);
};

}  // namespace vantlo
