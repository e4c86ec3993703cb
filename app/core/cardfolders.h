// The folders of a USB camera or memory card and the search for one among the mounted volumes.
//
// A card is a folder (a mount point, or any folder the user names) whose root holds "DCIM"; its
// camera folder is that DCIM folder. Picture folders are the camera folder's sub-folders whose
// names begin with a digit (100CASIO, 101CASIO; not MISC), picture files are the "*.JPG" and then
// the "*.AVI" files in each. Card file systems keep the letter case the camera wrote, so "DCIM",
// ".JPG" and ".AVI" match in any case.
//
// Nothing here follows a symbolic link: a link on a card (made there by another machine, or
// pointing at the user's home folder) is neither listed, copied nor descended into, and deleting
// a folder's contents removes a link itself, never what it points at. Nothing descends into
// another file system mounted inside the card either.
//
// Used by AutoCapture from a card and by webcam mode over USB.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantlo {

// The picture folders of `folder` (with or without a trailing "/"): each real sub-folder whose
// name begins with a digit, as the full path ending in "/", sorted by name. Empty when the folder
// cannot be read.
std::vector<std::string> ListPictureFolders(const std::string& folder);

// The picture files of one folder: full paths of the regular files named "*.JPG", then of those
// named "*.AVI" (any letter case), each group sorted by name.
std::vector<std::string> ListPictureFiles(const std::string& folder);

// Every picture file of the camera folder: the picture files of each picture folder in turn.
// A folder that cannot be read is passed over, so the result holds the files found.
std::vector<std::string> ListCameraPictureFiles(const std::string& cameraFolder);

// The size in bytes of a regular file, -1 when it cannot be opened (missing, unreadable, a
// symbolic link, not a regular file).
std::int64_t CardFileSize(const std::string& path);

// What DeleteFolderContents could not remove (full paths; a folder ends in "/").
struct tcarddeletion {
  int removed = 0;                  // files, links and folders removed
  std::vector<std::string> failed;  // items that stayed
};

// Empties `folder`: every file and link is removed, every real sub-folder is emptied the same way
// and removed; the folder itself stays. A read-only sub-folder is made writable first (the card's
// read-only attribute). An item that cannot be removed is listed and the rest goes on. Symbolic
// links and mount points inside the folder are never followed.
tcarddeletion DeleteFolderContents(const std::string& folder);

// The DCIM folder at the root of `root` (in any letter case, a real folder), as a full path
// ending in "/"; empty when there is none.
std::string CameraFolderOf(const std::string& root);

// A volume the card may be on.
struct tcardvolume {
  std::string root;   // mount point or named folder, without a trailing "/" (except "/")
  std::string label;  // volume label; empty when it has none
};

// The mounted file systems under /media, /run/media and /mnt, in the order they were mounted
// (oldest first), from the system's mount table.
std::vector<tcardvolume> RemovableVolumes();

// The drive list: the folders the user named (oldest, so any mounted card wins over them), then
// the removable volumes in mount order; a root listed twice is kept at its later place.
std::vector<tcardvolume> CardDriveList(const std::vector<std::string>& userFolders);

// The card among `volumes` (in the order of CardDriveList): the last one whose root holds DCIM,
// that is the most recently mounted card. nullopt when none does.
std::optional<tcardvolume> FindCard(const std::vector<tcardvolume>& volumes);

// The drive scan over the volumes mounted now and the user's folders.
inline std::optional<tcardvolume> ScanForCard(const std::vector<std::string>& userFolders) {
  return FindCard(CardDriveList(userFolders));
}

}  // namespace vantlo
