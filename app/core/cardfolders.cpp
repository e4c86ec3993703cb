#include "app/core/cardfolders.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QStorageInfo>
#include <QString>
#include <algorithm>
#include <string_view>

#include "library/folderwalk.h"
#include "library/textnocase.h"
#include "library/unixfile.h"

namespace vantlo {

namespace {

bool NameOrder(const std::string& a, const std::string& b) {
  if (LessNoCase(a, b)) return true;
  if (LessNoCase(b, a)) return false;
  return a < b;
}

bool HasExtension(std::string_view name, std::string_view extension) {
  return name.size() >= extension.size() &&
         EqualsNoCase(name.substr(name.size() - extension.size()), extension);
}

// Regular files of `folder` whose names end in `extension` (any case), sorted by name.
std::vector<std::string> FilesEndingIn(const std::vector<tfolderentry>& entries,
                                       std::string_view extension) {
  std::vector<std::string> names;
  for (const auto& e : entries)
    if (e.kind == tentrykind::File && HasExtension(e.name, extension)) names.push_back(e.name);
  std::sort(names.begin(), names.end(), NameOrder);
  return names;
}

// Removes everything inside the open folder `dirFd` (whose path is `path`, ending in "/"), never
// leaving the file system `device`.
void EmptyFolderAt(int dirFd, const std::string& path, dev_t device, tcarddeletion& out) {
  // fdopendir takes the descriptor over; hand it a duplicate so `dirFd` stays ours.
  int listFd = ::fcntl(dirFd, F_DUPFD_CLOEXEC, 0);
  if (listFd < 0) {
    out.failed.push_back(path);
    return;
  }
  DIR* dir = ::fdopendir(listFd);
  if (!dir) {
    ::close(listFd);
    out.failed.push_back(path);
    return;
  }
  std::vector<std::string> names;
  while (dirent* d = ::readdir(dir)) {
    std::string name = d->d_name;
    if (name != "." && name != "..") names.push_back(std::move(name));
  }
  ::closedir(dir);

  for (const auto& name : names) {
    struct stat st;
    if (::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
      out.failed.push_back(path + name);
      continue;
    }
    if (!S_ISDIR(st.st_mode)) {
      // A file, or a link removed as itself.
      if (::unlinkat(dirFd, name.c_str(), 0) == 0)
        ++out.removed;
      else
        out.failed.push_back(path + name);
      continue;
    }
    const std::string sub = path + name + "/";
    if (st.st_dev != device) {  // a mount point: someone else's file system
      out.failed.push_back(sub);
      continue;
    }
    if ((st.st_mode & (S_IRUSR | S_IWUSR | S_IXUSR)) != (S_IRUSR | S_IWUSR | S_IXUSR))
      ::fchmodat(dirFd, name.c_str(), (st.st_mode & 07777) | S_IRWXU, 0);
    unixfile subFd(::openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!subFd) {
      out.failed.push_back(sub);
      continue;
    }
    EmptyFolderAt(subFd.get(), sub, device, out);
    subFd.reset();
    if (::unlinkat(dirFd, name.c_str(), AT_REMOVEDIR) == 0)
      ++out.removed;
    else
      out.failed.push_back(sub);
  }
}

bool UnderRemovableMounts(const std::string& root) {
  for (std::string_view base : {"/media/", "/run/media/", "/mnt/"})
    if (root.compare(0, base.size(), base) == 0 && root.size() > base.size()) return true;
  return root == "/mnt" || root == "/media";
}

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace

std::vector<std::string> ListPictureFolders(const std::string& folder) {
  const std::string base = WithTrailingSlash(folder);
  std::vector<tfolderentry> entries;
  ListFolder(base, entries);
  std::vector<std::string> names;
  for (const auto& e : entries)
    if (e.kind == tentrykind::Folder && !e.name.empty() && e.name[0] >= '0' && e.name[0] <= '9')
      names.push_back(e.name);
  std::sort(names.begin(), names.end(), NameOrder);
  std::vector<std::string> folders;
  folders.reserve(names.size());
  for (const auto& name : names) folders.push_back(base + name + "/");
  return folders;
}

std::vector<std::string> ListPictureFiles(const std::string& folder) {
  const std::string base = WithTrailingSlash(folder);
  std::vector<tfolderentry> entries;
  ListFolder(base, entries);
  std::vector<std::string> files;
  for (std::string_view extension : {".JPG", ".AVI"})
    for (const auto& name : FilesEndingIn(entries, extension)) files.push_back(base + name);
  return files;
}

std::vector<std::string> ListCameraPictureFiles(const std::string& cameraFolder) {
  std::vector<std::string> files;
  for (const auto& folder : ListPictureFolders(cameraFolder)) {
    auto more = ListPictureFiles(folder);
    files.insert(files.end(), more.begin(), more.end());
  }
  return files;
}

std::int64_t CardFileSize(const std::string& path) {
  unixfile fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (!fd) return -1;
  struct stat st;
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return static_cast<std::int64_t>(st.st_size);
}

tcarddeletion DeleteFolderContents(const std::string& folder) {
  tcarddeletion out;
  const std::string base = WithTrailingSlash(folder);
  // Opened by its name without the trailing "/", which would make O_NOFOLLOW resolve a link.
  unixfile fd(::open(WithoutTrailingSlash(folder).c_str(),
                     O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  struct stat st;
  if (!fd || ::fstat(fd.get(), &st) != 0) {
    out.failed.push_back(base);
    return out;
  }
  EmptyFolderAt(fd.get(), base, st.st_dev, out);
  return out;
}

std::string CameraFolderOf(const std::string& root) {
  const std::string base = WithTrailingSlash(root);
  std::vector<tfolderentry> entries;
  if (!ListFolder(base, entries) && entries.empty()) return {};
  // A card written by a camera has one DCIM; should it hold two spellings, take the upper-case
  // one (the camera's) and otherwise the first by name.
  std::vector<std::string> hits;
  for (const auto& e : entries)
    if (e.kind == tentrykind::Folder && EqualsNoCase(e.name, "DCIM")) hits.push_back(e.name);
  if (hits.empty()) return {};
  std::sort(hits.begin(), hits.end());
  return base + hits.front() + "/";
}

std::vector<tcardvolume> RemovableVolumes() {
  std::vector<tcardvolume> volumes;
  for (const QStorageInfo& info : QStorageInfo::mountedVolumes()) {
    if (!info.isValid()) continue;
    const std::string root = WithoutTrailingSlash(info.rootPath().toStdString());
    if (!UnderRemovableMounts(root)) continue;
    volumes.push_back({root, info.name().toStdString()});
  }
  return volumes;
}

std::vector<tcardvolume> CardDriveList(const std::vector<std::string>& userFolders) {
  std::vector<tcardvolume> list;
  auto add = [&list](tcardvolume volume) {
    volume.root = WithoutTrailingSlash(volume.root);
    if (volume.root.empty()) return;
    std::erase_if(list, [&](const tcardvolume& v) { return v.root == volume.root; });
    list.push_back(std::move(volume));
  };
  for (const auto& folder : userFolders) add({folder, {}});
  for (auto& volume : RemovableVolumes()) add(std::move(volume));
  return list;
}

std::optional<tcardvolume> FindCard(const std::vector<tcardvolume>& volumes) {
  for (auto it = volumes.rbegin(); it != volumes.rend(); ++it)
    if (!CameraFolderOf(it->root).empty()) return *it;
  return std::nullopt;
}

}  // namespace vantlo
