#include "portmapio.h"

#include "camera/portmap.h"
#include "library/portmapstore.h"

namespace vantlo {

void tportmapio::LoadStored() {
  const auto stored = tportmapstore().Load();
  for (int n = 1; n <= 8; ++n) tportmap::Global().SetEntry(n, stored[n - 1]);
}

tportmapio::tmap tportmapio::Current() {
  tmap m;
  for (int n = 1; n <= 8; ++n) m[n - 1] = tportmap::Global().Entry(n);
  return m;
}

std::string tportmapio::DeviceOf(const std::string& portName) {
  return tportmap::Global().DevicePath(portName);
}

std::string tportmapio::DefaultOf(int n) { return tportmap::DefaultEntry(n); }

void tportmapio::Save(const tmap& map) {
  // Entries equal to the default are not stored, so a changed default
  // later still applies to them.
  tportmapstore::tmap stored;
  for (int n = 1; n <= 8; ++n)
    stored[n - 1] = map[n - 1] == tportmap::DefaultEntry(n) ? std::string() : map[n - 1];
  tportmapstore().Save(stored);
  for (int n = 1; n <= 8; ++n) tportmap::Global().SetEntry(n, stored[n - 1]);
}

}  // namespace vantlo
