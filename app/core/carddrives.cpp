#include "app/core/carddrives.h"

#include <sstream>

#include "library/atomicfile.h"
#include "library/configfolder.h"

namespace vantlo {

namespace {

// Far more than 26 lines of folder names; a larger file is not ours.
constexpr std::size_t kMaxTableBytes = 64 * 1024;

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

bool UnderRemovableMounts(const std::string& root) {
  for (const char* base : {"/media/", "/run/media/", "/mnt/"})
    if (root.rfind(base, 0) == 0) return true;
  return false;
}

}  // namespace

std::string tcarddrives::DefaultFile() { return configfolder::Resolve() + "/carddrives"; }

std::string tcarddrives::LetterOf(int drive) {
  if (drive < 1 || drive > kDrives) return {};
  return std::string(1, static_cast<char>('A' + drive - 1)) + ":";
}

tcarddrives::tcarddrives(std::string file) : file_(std::move(file)) {
  const auto bytes = configfolder::ReadBounded(file_, kMaxTableBytes);
  if (!bytes) return;
  std::istringstream in(std::string(bytes->begin(), bytes->end()));
  std::string line;
  while (std::getline(in, line)) {
    // "E:/media/user/CARD": a letter, a colon, an absolute folder.
    if (line.size() < 3 || line[0] < 'A' || line[0] > 'Z' || line[1] != ':' || line[2] != '/')
      continue;
    roots_[static_cast<std::size_t>(line[0] - 'A' + 1)] = WithoutTrailingSlash(line.substr(2));
  }
}

bool tcarddrives::Save() const {
  std::string text;
  for (int n = 1; n <= kDrives; ++n)
    if (!roots_[static_cast<std::size_t>(n)].empty())
      text += LetterOf(n) + roots_[static_cast<std::size_t>(n)] + "\n";
  try {
    configfolder::EnsurePrivate(file_.substr(0, file_.rfind('/')), false);
    WriteFileAtomic(file_,
                    std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
                    configfolder::kSettingsFileMode);
    return true;
  } catch (const tfileerror&) {
    return false;
  }
}

std::string tcarddrives::RootOf(int drive) const {
  if (drive < 1 || drive > kDrives) return {};
  return roots_[static_cast<std::size_t>(drive)];
}

int tcarddrives::DriveOf(const std::string& root) {
  const std::string folder = WithoutTrailingSlash(root);
  if (folder.empty() || folder[0] != '/' || folder.find('\n') != std::string::npos) return 0;
  for (int n = 1; n <= kDrives; ++n)
    if (roots_[static_cast<std::size_t>(n)] == folder) return n;
  for (int k = 0; k < kDrives; ++k) {
    const int n = (k + 3) % kDrives + 1;  // D: first, A: to C: last
    if (roots_[static_cast<std::size_t>(n)].empty()) {
      roots_[static_cast<std::size_t>(n)] = folder;
      return n;
    }
  }
  return 0;
}

std::vector<std::pair<int, std::string>> tcarddrives::Drives() const {
  std::vector<std::pair<int, std::string>> drives;
  for (int n = 1; n <= kDrives; ++n)
    if (!roots_[static_cast<std::size_t>(n)].empty())
      drives.emplace_back(n, roots_[static_cast<std::size_t>(n)]);
  return drives;
}

std::vector<std::string> tcarddrives::NamedFolders() const {
  std::vector<std::string> folders;
  for (const auto& [n, root] : Drives())
    if (!UnderRemovableMounts(root)) folders.push_back(root);
  return folders;
}

}  // namespace vantlo
