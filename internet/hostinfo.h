// The host details of an upload and the host information file (".hif") they
// can come from: one "KEYWORD value" a line, the value being everything after
// the first space. Files written on Windows end their lines in CR LF; the CR
// is not part of the value.
#pragma once

#include <string>

namespace vantlo {

struct HostInformation {
  bool Send = true;  // upload allowed
  std::string HostName;
  std::string UserName;
  std::string Password;
  std::string FileName;  // remote file name (empty: the local name)
  std::string Directory;
};

// "Host Information Files|*.hif|All Files|*.*" as an open-file filter.
inline constexpr const char* kHostInformationFilter = "Host Information Files|*.hif|All Files|*.*";

// Reads `path` into `info` (which starts from the defaults). True when the
// file exists, has no illegal line and holds a HOSTNAME, a USERNAME and a
// PASSWORD line. On an illegal line reading stops and `illegalLine` (when
// given) gets "Illegal line in HIF file : " + the line, for an error box.
bool LoadHostInformationFile(const std::string& path, HostInformation& info,
                             std::string* illegalLine = nullptr);

}  // namespace vantlo
