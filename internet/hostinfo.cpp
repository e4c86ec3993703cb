#include "internet/hostinfo.h"

#include <cctype>
#include <string_view>

#include "library/configfolder.h"

namespace vantlo {

namespace {

// A host information file is a few lines; anything this large is not one.
constexpr std::size_t kMaxFileSize = 1024 * 1024;

// The first `keyword.size()` characters of `line` are `keyword`, in any case.
bool Leads(std::string_view line, std::string_view keyword) {
  if (line.size() < keyword.size()) return false;
  for (std::size_t i = 0; i < keyword.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(line[i])) != keyword[i]) return false;
  return true;
}

}  // namespace

bool LoadHostInformationFile(const std::string& path, HostInformation& info,
                             std::string* illegalLine) {
  info = HostInformation{};
  const auto bytes = configfolder::ReadBounded(path, kMaxFileSize);
  if (!bytes) return false;
  const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
  bool host = false, user = false, password = false;
  std::size_t start = 0;
  while (start < text.size()) {
    auto end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '!') continue;
    const auto space = line.find(' ');
    const std::string value(space == std::string_view::npos ? std::string_view{}
                                                            : line.substr(space + 1));
    if (Leads(line, "HOSTNAME")) {
      info.HostName = value;
      host = true;
    } else if (Leads(line, "USERNAME")) {
      info.UserName = value;
      user = true;
    } else if (Leads(line, "PASSWORD")) {
      info.Password = value;
      password = true;
    } else if (Leads(line, "FILENAME")) {
      info.FileName = value;
    } else if (Leads(line, "SEND")) {
      // An empty value is not "Y".
      info.Send = !value.empty() && (value[0] == 'Y' || value[0] == 'y');
    } else if (Leads(line, "DIRECTORY")) {
      info.Directory = value;
    } else {
      if (illegalLine) *illegalLine = "Illegal line in HIF file : " + std::string(line);
      return false;
    }
  }
  return host && user && password;
}

}  // namespace vantlo
