#include "library/portmapstore.h"

#include <cstdlib>
#include <sstream>

#include "library/configfolder.h"

namespace vantlo {

namespace {

// A port map is a few hundred bytes; anything far larger is not one.
constexpr std::size_t kMaxFileSize = 64 * 1024;
constexpr std::size_t kMaxPath = 4095;

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  const auto last = s.find_last_not_of(" \t\r");
  return s.substr(first, last - first + 1);
}

}  // namespace

tportmapstore::tportmapstore()
    : folder_(configfolder::Resolve()),
      tighten_(!(std::getenv("VANTLO_CONFIG_DIR") && *std::getenv("VANTLO_CONFIG_DIR"))) {}

tportmapstore::tportmapstore(std::string folder) : folder_(std::move(folder)), tighten_(false) {}

std::string tportmapstore::Path() const {
  std::string path = folder_;
  if (!path.empty() && path.back() != '/') path += '/';
  return path + FileName;
}

bool tportmapstore::IsUsablePath(const std::string& path) {
  if (path.empty() || path[0] != '/' || path.size() > kMaxPath) return false;
  for (const unsigned char c : path) {
    if (c < 0x20 || c == 0x7F) return false;
  }
  return true;
}

std::string tportmapstore::Format(const tmap& map) {
  std::string text;
  for (int i = 0; i < kPorts; ++i) {
    const std::string& device = map[static_cast<std::size_t>(i)];
    if (device.empty()) continue;
    text += "COM" + std::to_string(i + 1) + ": " + device + "\n";
  }
  return text;
}

tportmapstore::tmap tportmapstore::Parse(const std::string& text) {
  tmap map;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    line = Trim(line);
    // "COMn:" (any letter case), then blanks, then the device.
    if (line.size() < 6 || (line[0] | 0x20) != 'c' || (line[1] | 0x20) != 'o' ||
        (line[2] | 0x20) != 'm' || line[3] < '1' || line[3] > '8' || line[4] != ':') {
      continue;
    }
    const std::string device = Trim(line.substr(5));
    if (!IsUsablePath(device)) continue;
    map[static_cast<std::size_t>(line[3] - '1')] = device;
  }
  return map;
}

tportmapstore::tmap tportmapstore::Load() const {
  const auto bytes = configfolder::ReadBounded(Path(), kMaxFileSize);
  if (!bytes) return {};
  return Parse(std::string(bytes->begin(), bytes->end()));
}

void tportmapstore::Save(const tmap& map) const {
  for (int i = 0; i < kPorts; ++i) {
    const std::string& device = map[static_cast<std::size_t>(i)];
    if (!device.empty() && !IsUsablePath(device)) {
      throw tregconfigerror("Invalid device for COM" + std::to_string(i + 1) + ": \"" + device +
                            "\"");
    }
  }
  if (!configfolder::EnsurePrivate(folder_, tighten_)) {
    throw tregconfigerror("Registry open key failed");
  }
  const std::string text = Format(map);
  WriteFileAtomic(Path(),
                  std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
                  configfolder::kSettingsFileMode);
}

}  // namespace vantlo
