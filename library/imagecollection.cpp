#include "library/imagecollection.h"

#include <sys/stat.h>

#include <algorithm>
#include <stdexcept>

#include "library/folderwalk.h"
#include "library/pictureproperties.h"
#include "library/textnocase.h"

namespace vantlo {

char KindLetter(titemkind kind) {
  switch (kind) {
    case ikCam:
      return 'M';
    case ikJpeg:
      return 'J';
    case ikFolder:
      return 'F';
    case ikAvi:
      return 'V';
    case ikOther:
      break;
  }
  return 'X';
}

titemkind KindFromLetter(char letter) {
  switch (letter) {
    case 'M':
      return ikCam;
    case 'J':
      return ikJpeg;
    case 'F':
      return ikFolder;
    case 'V':
      return ikAvi;
    default:
      return ikOther;
  }
}

titemkind FileKind(const std::string& name) {
  const std::string tail = UpperTail4(name);
  if (tail == ".CAM") return ikCam;
  if (tail == ".JPG") return ikJpeg;
  if (tail == ".AVI") return ikAvi;
  return ikOther;
}

bool ParseDateFolderName(const std::string& name, int& yyyymmdd) {
  if (name.size() != 7) return false;
  auto digit = [&](std::size_t i) { return name[i] >= '0' && name[i] <= '9'; };
  if (!digit(0) || !digit(1) || !digit(5) || !digit(6)) return false;
  static const std::string kMonths = "JANFEBMARAPRMAYJUNJULAUGSEPOCTNOVDEC";
  const std::string month = UpperAscii(name.substr(2, 3));
  const auto at = kMonths.find(month);
  if (at == std::string::npos || at % 3 != 0) return false;
  const int day = (name[0] - '0') * 10 + (name[1] - '0');
  const int yy = (name[5] - '0') * 10 + (name[6] - '0');
  const int year = yy < 95 ? 2000 + yy : 1900 + yy;
  yyyymmdd = year * 10000 + static_cast<int>(at / 3 + 1) * 100 + day;
  return true;
}

void OrderDateFolders(std::vector<std::string>& paths) {
  bool swapped = true;
  while (swapped) {
    swapped = false;
    for (std::size_t i = 0; i + 1 < paths.size(); ++i) {
      const std::string a = BaseName(paths[i]), b = BaseName(paths[i + 1]);
      int da = 0, db = 0;
      if (a != ".." && ParseDateFolderName(a, da) && ParseDateFolderName(b, db) && da > db) {
        std::swap(paths[i], paths[i + 1]);
        swapped = true;
      }
    }
  }
}

std::string timagecollection::Path(int n) const {
  return n >= 1 && n <= Count() ? paths_[static_cast<std::size_t>(n - 1)] : std::string();
}

std::string timagecollection::DisplayName(int n) const {
  const std::string path = Path(n);
  if (Kind(n) == ikFolder) {
    const auto cut = path.find_last_of('/');
    return cut == std::string::npos ? std::string("*error*") : path.substr(cut + 1);
  }
  return BaseName(path);
}

titemkind timagecollection::Kind(int n) const {
  return n >= 1 && n <= Count() ? KindFromLetter(kinds_[static_cast<std::size_t>(n - 1)]) : ikOther;
}

std::uint64_t timagecollection::FileSize(int n) const {
  if (Kind(n) == ikFolder) return 0;
  struct stat st;
  if (::stat(Path(n).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return 0;
  return static_cast<std::uint64_t>(st.st_size);
}

void timagecollection::Clear() {
  paths_.clear();
  kinds_.clear();
}

void timagecollection::AddFile(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) throw std::runtime_error(path + " does not exist");
  paths_.push_back(path);
  kinds_.push_back(KindLetter(FileKind(path)));
}

void timagecollection::Scan(const std::string& folder, std::uint8_t flags) {
  struct stat st;
  if (folder.empty() || ::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
    throw std::runtime_error(folder + " does not exist");
  Clear();
  folder_ = WithTrailingSlash(folder);
  flags_ = flags;
  std::vector<tfolderentry> entries;
  ListFolder(folder_, entries);
  auto byName = [](const std::string& a, const std::string& b) { return LessNoCase(a, b); };

  if (flags & sfFolders) {
    std::vector<std::string> folders{folder_ + ".."};
    for (const auto& e : entries) {
      // A link to a folder is listed too: opening it is the user's choice.
      if (e.kind == tentrykind::Folder ||
          (e.kind == tentrykind::Link && ::stat((folder_ + e.name).c_str(), &st) == 0 &&
           S_ISDIR(st.st_mode)))
        folders.push_back(folder_ + e.name);
    }
    std::sort(folders.begin(), folders.end(), byName);
    OrderDateFolders(folders);
    for (auto& f : folders) {
      paths_.push_back(std::move(f));
      kinds_.push_back('F');
    }
  }

  auto isFile = [&](const tfolderentry& e) {
    if (e.kind == tentrykind::File) return true;
    return e.kind == tentrykind::Link && ::stat((folder_ + e.name).c_str(), &st) == 0 &&
           S_ISREG(st.st_mode);
  };
  auto addGroup = [&](auto keep) {
    std::vector<std::string> group;
    for (const auto& e : entries)
      if (isFile(e) && !LooksLikeCompanion(e.name) && keep(e.name))
        group.push_back(folder_ + e.name);
    std::sort(group.begin(), group.end(), byName);
    for (auto& p : group) {
      kinds_.push_back(KindLetter(FileKind(p)));
      paths_.push_back(std::move(p));
    }
  };
  if (flags & sfAllFiles) {
    addGroup([](const std::string&) { return true; });
    return;
  }
  if (flags & sfJpeg)
    addGroup([](const std::string& n) { return n.size() >= 4 && FileKind(n) == ikJpeg; });
  if (flags & sfCam)
    addGroup([](const std::string& n) { return n.size() >= 4 && FileKind(n) == ikCam; });
  if (flags & sfAvi)
    addGroup([](const std::string& n) { return n.size() >= 4 && FileKind(n) == ikAvi; });
}

}  // namespace vantlo
