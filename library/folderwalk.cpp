#include "library/folderwalk.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <set>
#include <utility>

#include "library/unixfile.h"

namespace vantlo {

std::string WithTrailingSlash(const std::string& folder) {
  if (!folder.empty() && folder.back() == '/') return folder;
  return folder + "/";
}

bool ListFolder(const std::string& folder, std::vector<tfolderentry>& entries) {
  entries.clear();
  unixdir dir(folder);
  if (!dir) return false;
  const std::string base = WithTrailingSlash(folder);
  errno = 0;
  while (dirent* d = ::readdir(dir.get())) {
    std::string name = d->d_name;
    if (name == "." || name == "..") continue;
    struct stat st;
    tentrykind kind = tentrykind::Other;
    if (::lstat((base + name).c_str(), &st) == 0) {
      if (S_ISLNK(st.st_mode))
        kind = tentrykind::Link;
      else if (S_ISDIR(st.st_mode))
        kind = tentrykind::Folder;
      else if (S_ISREG(st.st_mode))
        kind = tentrykind::File;
    }
    entries.push_back({std::move(name), kind});
    errno = 0;
  }
  return errno == 0;
}

namespace {

void Walk(const std::string& folder, dev_t device, bool recursive,
          std::set<std::pair<dev_t, ino_t>>& seen, tfoldertree& tree) {
  tree.folders.push_back(folder);
  if (!recursive) return;
  std::vector<tfolderentry> entries;
  if (!ListFolder(folder, entries)) {
    tree.errors.push_back(folder + ": " + std::strerror(errno));
    return;
  }
  std::vector<std::string> subs;
  for (const auto& e : entries)
    if (e.kind == tentrykind::Folder) subs.push_back(e.name);
  std::sort(subs.begin(), subs.end());
  for (const auto& name : subs) {
    const std::string path = folder + name + "/";
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) continue;
    if (st.st_dev != device) continue;  // a mount point: another file system
    if (!seen.insert({st.st_dev, st.st_ino}).second) continue;  // bind-mount loop
    Walk(path, device, recursive, seen, tree);
  }
}

}  // namespace

tfoldertree ListFolderTree(const std::string& root, bool recursive) {
  tfoldertree tree;
  const std::string start = WithTrailingSlash(root);
  struct stat st;
  if (::stat(start.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    tree.errors.push_back(root + " does not exist");
    return tree;
  }
  std::set<std::pair<dev_t, ino_t>> seen{{st.st_dev, st.st_ino}};
  Walk(start, st.st_dev, recursive, seen, tree);
  return tree;
}

}  // namespace vantlo
