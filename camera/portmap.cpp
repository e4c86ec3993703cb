#include "camera/portmap.h"

#include <cctype>
#include <cstdlib>

namespace vantlo {

tportmap::tportmap() {
  for (int n = 1; n <= kPorts; ++n) entries_[n - 1] = DefaultEntry(n);
}

tportmap& tportmap::Global() {
  static tportmap map;
  return map;
}

std::optional<int> tportmap::ComNumber(const std::string& name) {
  std::string s = name;
  if (!s.empty() && s.back() == ':') s.pop_back();
  if (s.size() != 4) return std::nullopt;
  for (int i = 0; i < 3; ++i) {
    if (std::toupper(static_cast<unsigned char>(s[i])) != "COM"[i]) return std::nullopt;
  }
  if (s[3] < '1' || s[3] > '8') return std::nullopt;
  return s[3] - '0';
}

std::string tportmap::DefaultEntry(int n) {
  if (n >= 1 && n <= 4) return "/dev/ttyUSB" + std::to_string(n - 1);
  if (n >= 5 && n <= 8) return "/dev/ttyS" + std::to_string(n - 5);
  return {};
}

std::string tportmap::Entry(int n) const {
  return (n >= 1 && n <= kPorts) ? entries_[n - 1] : std::string();
}

void tportmap::SetEntry(int n, const std::string& device) {
  if (n < 1 || n > kPorts) return;
  entries_[n - 1] = device.empty() ? DefaultEntry(n) : device;
}

std::string tportmap::DevicePath(const std::string& name) const {
  const auto n = ComNumber(name);
  if (!n) return name;
  const std::string var = "VANTLO_COM" + std::to_string(*n);
  if (const char* env = std::getenv(var.c_str()); env != nullptr && *env != '\0') return env;
  return entries_[*n - 1];
}

}  // namespace vantlo
