// The answers of the MiniLab wizard without its window: which pictures (all, a range, the
// thumbnails chosen), what to save, where, whether to print; the checks of the fetch page, the
// summary's texts, and "Save these settings" / "Start Processing" on the records.
#pragma once

#include <string>

#include "app/core/minilab.h"

namespace vantlo {

inline constexpr const char* kConnectTheCamera =
    "Connect the Camera and switch it on. Click OK to continue.";
inline constexpr const char* kNoPicturesInCamera =
    "There are no pictures stored in the camera. You need to take some pictures before you can "
    "fetch them.";
inline constexpr const char* kCannotCommunicate =
    "Vantlo cannot communicate with the camera. If you need help, click the \"Help me get the "
    "camera connected\" button.";
inline constexpr const char* kNothingChosen =
    "You have not selected any pictures. To select pictures, click on the thumbnails on the "
    "panel at the right of the screen. Use Shift-Click or Control-Click to select more than one "
    "picture.";
inline constexpr const char* kFirstBelowLast =
    "The first picture number must be lower than the last picture number.";
inline constexpr const char* kDefaultsSaved = "These options are now your default options";

enum class tminilabscope { none = 0, all = 1, range = 2, chosen = 3 };

struct tminilabplan {
  tminilabscope scope = tminilabscope::none;
  int count = 0;  // the camera's pictures
  int from = 1;   // a range, 1..count each
  int to = 1;
  bool saveJpeg = true;
  bool saveCam = false;
  bool print = false;
  std::string folder;  // where to save

  // "There is 1 picture stored in the Camera." or "There are N pictures stored in the Camera."
  static std::string CountText(int count);
  // "Continue >" on the fetch page: the refusal, or "" to go on. `chosen` is the camera grid's
  // selection (scope 3).
  std::string ContinueCheck(const tcameraselection& chosen) const;
  // The pictures to process: 1..count, from..to, or the grid's selection.
  tcameraselection SelectionMap(const tcameraselection& chosen) const;

  // The summary's values.
  std::string FetchText() const;  // ":  All Pictures", ":  Pictures 3 to 5", ":  Selected Pictures"
  std::string SaveText() const;   // ":  CAM and JPG files", ":  CAM files", ":  JPG files"
  std::string FolderText() const;  // ":  " + folder
  std::string PrintText() const;   // ":  Yes" / ":  No"
};

// "Save these settings": the MiniLab defaults from the answers and the check box, and the
// MiniLab folder (empty when the chosen folder is the ordinary save folder `saveFolder`).
void SaveMiniLabChoices(tsettingsrecords& records, const tminilabplan& plan, bool fetchThumbnails,
                        const std::string& saveFolder);

// "Start Processing" (the caller holds the MiniLab slot): the answers written as the defaults
// for the run, RunMiniLab on the plan's pictures, then the defaults and the MiniLab folder as
// they were (each only where the run's value is still there), also after an error.
void StartMiniLab(tminilabhost& host, const tminilabplan& plan, bool fetchThumbnails);

}  // namespace vantlo
