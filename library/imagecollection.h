// The items of one disk folder (or of a list of files found by a search)
// as the Browse page lists them: full paths in a fixed order with the kind
// of each item. Positions are 1-based.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vantlo {

// Item kinds; the letter is what the collection's kind list holds.
enum titemkind : int { ikCam = 0, ikJpeg = 1, ikFolder = 2, ikOther = 3, ikAvi = 4 };

// Scan flags (bits of one byte).
enum tscanflag : std::uint8_t {
  sfCam = 1,
  sfJpeg = 2,
  sfFolders = 4,
  sfAllFiles = 8,  // every file; replaces sfCam, sfJpeg and sfAvi
  sfAvi = 16,
};
inline constexpr std::uint8_t kDefaultScanFlags = sfCam | sfJpeg | sfFolders | sfAvi;  // 23

char KindLetter(titemkind kind);
titemkind KindFromLetter(char letter);
// The kind of a file from the last four characters of its name (the whole
// name when shorter), upper-cased: ".CAM", ".JPG", ".AVI", else other.
titemkind FileKind(const std::string& name);

// Reads "DDMMMYY" (05JAN99) as yyyymmdd; years below 95 are 20YY. False
// when the name is not such a date.
bool ParseDateFolderName(const std::string& name, int& yyyymmdd);
// Puts runs of date-named folders in calendar order by adjacent swaps; a
// name that is not a date (or "..") is never moved and splits the runs.
void OrderDateFolders(std::vector<std::string>& paths);

class timagecollection {
 public:
  int Count() const { return static_cast<int>(paths_.size()); }
  // Empty text when n is out of range.
  std::string Path(int n) const;
  // Folders: the last component; files: the name without folders.
  std::string DisplayName(int n) const;
  // ikOther when n is out of range.
  titemkind Kind(int n) const;
  // 0 for folders and missing files.
  std::uint64_t FileSize(int n) const;

  const std::string& Folder() const { return folder_; }
  std::uint8_t ScanFlags() const { return flags_; }

  void Clear();
  // Adds one file; raises "<path> does not exist" when it is missing.
  void AddFile(const std::string& path);
  // Replaces the items with a folder's listing: sub-folders (with "..", date folders in calendar
  // order), then either all files or the JPEG, CAM and AVI groups, each sorted. Companion
  // properties files are never listed. Raises "<folder> does not exist" for a missing folder.
  void Scan(const std::string& folder, std::uint8_t flags);

 private:
  std::string folder_;  // ends in "/" once set
  std::uint8_t flags_ = kDefaultScanFlags;
  std::vector<std::string> paths_;
  std::string kinds_;  // one letter per item
};

}  // namespace vantlo
