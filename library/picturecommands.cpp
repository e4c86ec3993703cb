#include "library/picturecommands.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <exception>
#include <stdexcept>

#include "library/companionfiles.h"
#include "library/folderwalk.h"
#include "library/pictureproperties.h"
#include "library/textnocase.h"

namespace vantlo {

namespace {

// Asks when asking is on; "Yes to All" turns asking off for the rest.
bool Confirmed(bool& ask, const tconfirm& confirm, const std::string& prompt,
               const std::string& path) {
  if (!ask || !confirm) return true;
  switch (confirm(prompt, path)) {
    case tanswer::Yes:
      return true;
    case tanswer::YesToAll:
      ask = false;
      return true;
    case tanswer::No:
      break;
  }
  return false;
}

}  // namespace

tbatchresult DeletePictures(const std::vector<std::string>& pictures, bool ask,
                            const tconfirm& confirm, tfileops& ops) {
  tbatchresult result;
  tcompanionfiles files(ops);
  for (const auto& picture : pictures) {
    if (tfileops::Exists(picture) && !Confirmed(ask, confirm, "Do you want to delete ", picture)) {
      ++result.skipped;
      continue;
    }
    if (files.Delete(picture).Ok())
      ++result.done;
    else
      result.failures.push_back("Failed to delete " + picture);
  }
  return result;
}

tbatchresult CopyPictures(const std::vector<std::string>& pictures, const std::string& folder,
                          bool move, bool ask, const tconfirm& confirm, tfileops& ops) {
  tbatchresult result;
  tcompanionfiles files(ops);
  std::string target = folder;
  while (target.size() > 1 && target.back() == '/') target.pop_back();
  for (const auto& picture : pictures) {
    const std::string to = (target == "/" ? "" : target) + "/" + BaseName(picture);
    bool overwrite = false;
    if (tfileops::Exists(to) && !tfileops::SameFile(picture, to)) {
      if (!Confirmed(ask, confirm, "Do you want to overwrite ", to)) {
        ++result.skipped;
        continue;
      }
      overwrite = true;
    }
    const tfileresult r =
        move ? files.Move(picture, to, overwrite) : files.Copy(picture, to, overwrite);
    if (r.Ok())
      ++result.done;
    else if (r.status == tfilestatus::SameFile)
      ++result.skipped;  // already there
    else
      result.failures.push_back("Error copying file " + to);
  }
  return result;
}

void RenamePicture(const std::string& from, const std::string& to, tfileops& ops) {
  tcompanionfiles files(ops);
  if (!files.Rename(from, to).Ok())
    throw std::runtime_error("Unable to rename \"" + from + "\" to \"" + to + "\"");
}

std::string temptyfolders::Summary() const {
  return std::to_string(deleted) + " empty folders deleted. " + std::to_string(skipped) +
         " folders skipped";
}

temptyfolders DeleteEmptyFolders(const std::string& folder) {
  struct stat st;
  if (folder.empty() || folder[0] != '/' || folder.find_first_not_of('/') == std::string::npos)
    throw std::runtime_error("Choose a folder to clean up; the root of the disk is never used");
  if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
    throw std::runtime_error(folder + " does not exist");
  temptyfolders result;
  std::vector<tfolderentry> entries;
  ListFolder(folder, entries);
  const std::string base = WithTrailingSlash(folder);
  for (const auto& e : entries) {
    if (e.kind != tentrykind::Folder) continue;
    // rmdir removes only empty folders: anything else is skipped.
    if (::rmdir((base + e.name).c_str()) == 0)
      ++result.deleted;
    else
      ++result.skipped;
  }
  return result;
}

std::string SelectedCamFilesText(int count) {
  if (count == 1) return "You have selected 1 CAM file";
  return "You have selected " + std::to_string(count) + " CAM files";
}

tbatchresult DefineOrientation(const std::vector<std::string>& camFiles,
                               std::uint32_t orientation) {
  if (orientation > poRotateCounterClockwise)
    throw std::invalid_argument("Orientation must be 0 to 3");
  tbatchresult result;
  for (const auto& file : camFiles) {
    try {
      tpictureproperties props;
      props.SetFile(file);
      props.Load();
      props.SetOrientation(orientation);
      props.Save();
      ++result.done;
    } catch (const std::exception& e) {
      result.failures.push_back(file + ": " + e.what());
    }
  }
  return result;
}

}  // namespace vantlo
