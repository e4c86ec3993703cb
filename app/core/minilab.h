// The MiniLab runner: the commonest job in one go (camera thumbnails, fetching, saving as CAM
// and/or JPEG files into the MiniLab folder, printing) carried out by the window's ordinary
// fetch and print commands under temporarily changed saving settings. Only the settings the
// run changed are put back afterwards, so a setting the user changes in the window while the
// (non-modal) wizard runs survives the run.
#pragma once

#include <cstdint>
#include <string>

#include "app/core/fetchworkflow.h"
#include "library/records.h"

namespace vantlo {

// What the runner needs of the window: its records and controls, the camera grid's selection
// and the camera commands of the Camera page, which fetch, save and print as the records say.
class tminilabhost {
 public:
  virtual ~tminilabhost() = default;
  virtual tsettingsrecords& Settings() = 0;
  // Controls into the records, and the records into the controls.
  virtual void CollectSettings() = 0;
  virtual void SettingsChanged() = 0;
  virtual tcameraselection& CameraSelection() = 0;
  virtual bool StopRequested() = 0;
  // "Show All Camera Thumbnails".
  virtual void LoadAllThumbnails() = 0;
  // "Selected Camera Pictures": each selected picture fetched and saved as the records say.
  virtual void FetchSelected() = 0;
  // Print "Selected Camera Pictures" (each fetched, saved and printed), then the last page goes
  // to the printer.
  virtual void PrintSelected() = 0;
  // The camera's picture count, asked of the engine (camera errors propagate).
  virtual int PictureCount() = 0;
  // The ordinary save folder (with the daily folder when that is on), and making that folder.
  virtual std::string SaveFolder() = 0;
  virtual void EnsureDailyFolder() = 0;
  // Shows the "Browse" and " Files " pages with the folder tree on `folder` (the browser
  // refreshed when it already shows it).
  virtual void ShowFolder(const std::string& folder) = 0;
};

// The MiniLab defaults (CONFIGD5 2524..2532) and the MiniLab folder (EXTRA 276) as the wizard
// writes them.
struct tminilabdefaults {
  bool fetchThumbnails = true;
  bool saveJpeg = true;
  bool saveCam = false;
  bool print = false;
};
void WriteMiniLabDefaults(tconfigrecord& config, const tminilabdefaults& d);

// Runs fetch, save and print under the MiniLab defaults for the pictures of `selection`. The
// grid's selection and the saving settings the run changed are back afterwards, also after an
// error (which propagates).
void RunMiniLab(tminilabhost& host, const tcameraselection& selection);

// "Run MiniLab Using Defaults" (the caller holds the MiniLab busy slot): the daily folder is
// made, pictures 1 to the camera's count are run, and the Browse page shows the MiniLab folder
// (or the ordinary save folder), also when the camera is empty.
void RunMiniLabUsingDefaults(tminilabhost& host);

// The saving fields of CONFIGD5 a run changes, kept so that only they go back.
struct tsavingfields {
  bool thumbnails = false;
  bool jpeg = false;
  bool cam = false;
  bool contactSheets = false;
  std::string folder;
  bool daily = false;
  static tsavingfields Of(const tconfigrecord& config);
  void StoreInto(tconfigrecord& config) const;
  bool operator==(const tsavingfields&) const = default;
};

// Puts `before` back field by field where the record still holds what the run set (`during`);
// a field the user changed meanwhile keeps the user's value.
void RestoreSavingFields(tconfigrecord& config, const tsavingfields& before,
                         const tsavingfields& during);

}  // namespace vantlo
