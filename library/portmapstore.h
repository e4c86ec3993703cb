// tportmapstore: the COM-name to device-path map kept with the settings, as
// the text file "portmap" in the settings folder, one "COMn: /dev/..." line
// per mapped port. Ports without a line are unmapped here (the camera
// link's own defaults and the VANTLO_COMn variables decide for them).
#pragma once

#include <array>
#include <string>

namespace vantlo {

class tportmapstore {
 public:
  static constexpr int kPorts = 8;
  static constexpr const char* FileName = "portmap";
  using tmap = std::array<std::string, kPorts>;  // [0] is COM1; "" = unmapped

  // The folder comes from the environment, as for tregconfig.
  tportmapstore();
  explicit tportmapstore(std::string folder);

  const std::string& Folder() const { return folder_; }
  std::string Path() const;

  // The stored map. A missing or unreadable file gives an empty map; lines
  // that are not "COMn: /absolute/path" with n 1..8 are ignored.
  tmap Load() const;
  // Writes the non-empty entries atomically (0600 file, 0700 folder).
  // Throws tregconfigerror when an entry is not a usable device path
  // ("Invalid device for COMn:") or the file cannot be written.
  void Save(const tmap& map) const;

  // The file's text for a map, and the map for a text (exposed for tests).
  static std::string Format(const tmap& map);
  static tmap Parse(const std::string& text);
  // An absolute path of printable characters, at most 4095 bytes.
  static bool IsUsablePath(const std::string& path);

 private:
  std::string folder_;
  bool tighten_;
};

}  // namespace vantlo
