// The Browse page's commands on selected disk pictures, without dialogs:
// delete, copy, move, rename, "Delete Empty Folders" and "Define
// Orientation". Questions to the user go through a callback; each run
// reports what was done, skipped and failed, with the user's messages.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "library/fileops.h"

namespace vantlo {

// Answers of the "Confirm" dialog.
enum class tanswer { Yes, No, YesToAll };

// Shows a prompt ("Do you want to delete ", "Do you want to overwrite ")
// with a path and returns the answer.
using tconfirm = std::function<tanswer(const std::string& prompt, const std::string& path)>;

struct tbatchresult {
  int done = 0;
  int skipped = 0;
  std::vector<std::string> failures;  // the user's messages, one per failed file
  bool Changed() const { return done > 0; }
};

// Deletes pictures with their companion files. With `ask`, each existing
// file is confirmed first ("Yes to All" stops the asking). A failed delete
// gives "Failed to delete <path>".
tbatchresult DeletePictures(const std::vector<std::string>& pictures, bool ask,
                            const tconfirm& confirm, tfileops& ops);

// Copies or moves pictures with their companion files into `folder`. An
// existing target is replaced only after "Do you want to overwrite <target>"
// (or without asking when `ask` is off); a move never loses its source. A
// failure gives "Error copying file <target>".
tbatchresult CopyPictures(const std::vector<std::string>& pictures, const std::string& folder,
                          bool move, bool ask, const tconfirm& confirm, tfileops& ops);

// Renames one picture (a path in another folder of the same file system
// moves it) with its companion; never replaces an existing file. Raises
// `Unable to rename "<old>" to "<new>"` on failure.
void RenamePicture(const std::string& from, const std::string& to, tfileops& ops);

struct temptyfolders {
  int deleted = 0;
  int skipped = 0;
  // "<n> empty folders deleted. <m> folders skipped"
  std::string Summary() const;
};
// Removes every empty direct sub-folder of `folder` (one level only).
// Raises "<folder> does not exist", and refuses an empty path, a relative
// path or the root of the file system.
temptyfolders DeleteEmptyFolders(const std::string& folder);

// "You have selected 1 CAM file" / "You have selected <n> CAM files".
std::string SelectedCamFilesText(int count);
// Sets the orientation (0..3) in each CAM file's properties. Failures are
// returned as "<path>: <reason>" and the run goes on.
tbatchresult DefineOrientation(const std::vector<std::string>& camFiles, std::uint32_t orientation);

}  // namespace vantlo
