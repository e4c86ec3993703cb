#include "app/core/minilab.h"

namespace vantlo {

void WriteMiniLabDefaults(tconfigrecord& config, const tminilabdefaults& d) {
  config.SetMiniLabFetchThumbnails(d.fetchThumbnails);
  config.SetMiniLabSaveThumbnails(false);
  config.SetMiniLabFetchPictures(true);
  config.SetMiniLabSaveJpeg(d.saveJpeg);
  config.SetMiniLabSaveCam(d.saveCam);
  config.SetMiniLabPrint(d.print);
  config.SetMiniLabSaveContactSheets(false);
  // Bytes 2530 and 2532 are set by no control; the wizard writes them as 0.
  config.Bytes()[2530] = 0;
  config.Bytes()[2532] = 0;
}

tsavingfields tsavingfields::Of(const tconfigrecord& c) {
  return {c.SaveThumbnails(),    c.SaveJpeg(),   c.SaveCam(),
          c.SaveContactSheets(), c.SaveFolder(), c.DailyFolder()};
}

void tsavingfields::StoreInto(tconfigrecord& c) const {
  c.SetSaveThumbnails(thumbnails);
  c.SetSaveJpeg(jpeg);
  c.SetSaveCam(cam);
  c.SetSaveContactSheets(contactSheets);
  c.SetSaveFolder(folder);
  c.SetDailyFolder(daily);
}

void RestoreSavingFields(tconfigrecord& c, const tsavingfields& before,
                         const tsavingfields& during) {
  const tsavingfields now = tsavingfields::Of(c);
  if (now.thumbnails == during.thumbnails) c.SetSaveThumbnails(before.thumbnails);
  if (now.jpeg == during.jpeg) c.SetSaveJpeg(before.jpeg);
  if (now.cam == during.cam) c.SetSaveCam(before.cam);
  if (now.contactSheets == during.contactSheets) c.SetSaveContactSheets(before.contactSheets);
  if (now.folder == during.folder) c.SetSaveFolder(before.folder);
  if (now.daily == during.daily) c.SetDailyFolder(before.daily);
}

void RunMiniLab(tminilabhost& host, const tcameraselection& selection) {
  tcameraselection& grid = host.CameraSelection();
  const tcameraselection keptSelection = grid;
  grid = selection;
  host.CollectSettings();
  tconfigrecord& config = host.Settings().config;
  const tsavingfields before = tsavingfields::Of(config);

  tsavingfields during = before;
  during.thumbnails = config.MiniLabSaveThumbnails();
  during.jpeg = config.MiniLabSaveJpeg();
  during.cam = config.MiniLabSaveCam();
  during.contactSheets = config.MiniLabSaveContactSheets();
  const std::string folder = host.Settings().extra.MiniLabFolder();
  if (!folder.empty()) {
    during.folder = folder;
    during.daily = false;
  }
  const bool fetchThumbnails = config.MiniLabFetchThumbnails();
  const bool fetch = config.MiniLabFetchPictures() || config.MiniLabSaveJpeg() ||
                     config.MiniLabSaveCam() || config.MiniLabPrint();
  const bool print = config.MiniLabPrint();
  during.StoreInto(config);

  const auto restore = [&] {
    // The window's controls may hold changes made during the run: into the records first.
    host.CollectSettings();
    RestoreSavingFields(host.Settings().config, before, during);
    host.CameraSelection() = keptSelection;
    host.SettingsChanged();
  };
  try {
    host.SettingsChanged();
    if (fetchThumbnails && !host.StopRequested()) host.LoadAllThumbnails();
    // Nothing selected (an empty camera): nothing to fetch.
    if (fetch && selection.Any() && !host.StopRequested()) {
      if (print)
        host.PrintSelected();
      else
        host.FetchSelected();
    }
  } catch (...) {
    restore();
    throw;
  }
  restore();
}

void RunMiniLabUsingDefaults(tminilabhost& host) {
  host.EnsureDailyFolder();
  tcameraselection all;
  all.SelectAll(host.PictureCount());
  RunMiniLab(host, all);
  const std::string folder = host.Settings().extra.MiniLabFolder();
  host.ShowFolder(folder.empty() ? host.SaveFolder() : folder);
}

}  // namespace vantlo
