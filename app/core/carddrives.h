// The drives of the USB/card source. The settings record keeps a drive number (1 for A: up to
// 26 for Z:), as the program always has; on Linux a drive is a folder: a mount point of a card
// reader or USB camera, or any folder the user names. This table, kept in the settings folder
// beside the records, says which folder each letter stands for, so the record's number still
// finds the same card after a restart. A letter is given to a folder the first time it is chosen
// and kept; the settings dialog shows the letters with their folders and volume labels.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace vantlo {

class tcarddrives {
 public:
  static constexpr int kDrives = 26;

  // The table file: "carddrives" in the settings folder (configfolder::Resolve()).
  static std::string DefaultFile();

  // Reads the table from `file` (missing or damaged lines: no drive).
  explicit tcarddrives(std::string file = DefaultFile());

  const std::string& File() const { return file_; }
  // Writes the table atomically; false when it cannot be written.
  bool Save() const;

  // The folder of drive n (1..26); empty when the letter stands for none.
  std::string RootOf(int drive) const;
  // The drive of `root` (a trailing "/" ignored): its letter when it has one, else the first
  // free letter from D: on (then A: to C:), given to it now; 0 when all 26 are taken.
  int DriveOf(const std::string& root);
  // The letters in use with their folders, in letter order.
  std::vector<std::pair<int, std::string>> Drives() const;
  // The folders that are not under /media, /run/media or /mnt: the ones the user named.
  std::vector<std::string> NamedFolders() const;

  // "E:" for 5.
  static std::string LetterOf(int drive);

 private:
  std::string file_;
  std::array<std::string, kDrives + 1> roots_;  // index 1..26
};

}  // namespace vantlo
