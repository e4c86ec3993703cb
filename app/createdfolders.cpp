#include "createdfolders.h"

#include <filesystem>
#include <system_error>

namespace vantlo {

namespace fs = std::filesystem;

std::string tcreatedfolders::Key(const std::string& path) {
  std::string p = fs::path(path).lexically_normal().string();
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  return p;
}

void tcreatedfolders::NoteCreated(const std::string& path) {
  if (!path.empty()) created_.insert(Key(path));
}

bool tcreatedfolders::WasCreated(const std::string& path) const {
  return created_.count(Key(path)) != 0;
}

int tcreatedfolders::RemoveEmpty() {
  int removed = 0;
  for (const auto& p : created_) {
    std::error_code ec;
    // A symbolic link in place of the folder is not ours to remove.
    if (!fs::is_directory(fs::symlink_status(p, ec))) continue;
    if (!fs::is_empty(p, ec) || ec) continue;
    if (fs::remove(p, ec) && !ec) ++removed;
  }
  created_.clear();
  return removed;
}

}  // namespace vantlo
