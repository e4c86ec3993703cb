#include "app/core/minilabplan.h"

#include <algorithm>
#include <array>

namespace vantlo {

std::string tminilabplan::CountText(int count) {
  if (count == 1) return "There is 1 picture stored in the Camera.";
  return "There are " + std::to_string(count) + " pictures stored in the Camera.";
}

std::string tminilabplan::ContinueCheck(const tcameraselection& chosen) const {
  if (scope == tminilabscope::chosen && chosen.Selected(count).empty()) return kNothingChosen;
  if (scope == tminilabscope::range && to < from) return kFirstBelowLast;
  return {};
}

tcameraselection tminilabplan::SelectionMap(const tcameraselection& chosen) const {
  tcameraselection map;
  switch (scope) {
    case tminilabscope::all:
      map.SelectAll(count);
      break;
    case tminilabscope::range:
      for (int n = std::max(1, from); n <= std::min(to, count); ++n) map.Set(n, true);
      break;
    case tminilabscope::chosen:
      for (int n : chosen.Selected(count)) map.Set(n, true);
      break;
    case tminilabscope::none:
      break;
  }
  return map;
}

std::string tminilabplan::FetchText() const {
  switch (scope) {
    case tminilabscope::range:
      return ":  Pictures " + std::to_string(from) + " to " + std::to_string(to);
    case tminilabscope::chosen:
      return ":  Selected Pictures";
    default:
      return ":  All Pictures";
  }
}

std::string tminilabplan::SaveText() const {
  if (saveCam && saveJpeg) return ":  CAM and JPG files";
  return saveCam ? ":  CAM files" : ":  JPG files";
}

std::string tminilabplan::FolderText() const { return ":  " + folder; }

std::string tminilabplan::PrintText() const { return print ? ":  Yes" : ":  No"; }

namespace {

std::string WithoutLastSlash(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

}  // namespace

void SaveMiniLabChoices(tsettingsrecords& records, const tminilabplan& plan, bool fetchThumbnails,
                        const std::string& saveFolder) {
  WriteMiniLabDefaults(records.config, {fetchThumbnails, plan.saveJpeg, plan.saveCam, plan.print});
  const bool ordinary = WithoutLastSlash(plan.folder) == WithoutLastSlash(saveFolder);
  records.extra.SetMiniLabFolder(ordinary ? std::string() : plan.folder);
}

namespace {

// The MiniLab defaults and folder, the part of the records the wizard writes.
struct tminilabchoices {
  std::array<std::uint8_t, 9> defaults{};  // CONFIGD5 2524..2532
  std::string folder;
  static tminilabchoices Of(const tsettingsrecords& r) {
    tminilabchoices c;
    std::copy_n(r.config.Bytes().begin() + 2524, 9, c.defaults.begin());
    c.folder = r.extra.MiniLabFolder();
    return c;
  }
};

void RestoreChoices(tsettingsrecords& r, const tminilabchoices& before,
                    const tminilabchoices& during) {
  const tminilabchoices now = tminilabchoices::Of(r);
  for (std::size_t i = 0; i < before.defaults.size(); ++i)
    if (now.defaults[i] == during.defaults[i]) r.config.Bytes()[2524 + i] = before.defaults[i];
  if (now.folder == during.folder) r.extra.SetMiniLabFolder(before.folder);
}

}  // namespace

void StartMiniLab(tminilabhost& host, const tminilabplan& plan, bool fetchThumbnails) {
  const tcameraselection map = plan.SelectionMap(host.CameraSelection());
  host.CollectSettings();
  tsettingsrecords& records = host.Settings();
  const tminilabchoices before = tminilabchoices::Of(records);
  SaveMiniLabChoices(records, plan, fetchThumbnails, host.SaveFolder());
  const tminilabchoices during = tminilabchoices::Of(records);
  try {
    RunMiniLab(host, map);
  } catch (...) {
    host.CollectSettings();
    RestoreChoices(host.Settings(), before, during);
    host.SettingsChanged();
    throw;
  }
  host.CollectSettings();
  RestoreChoices(host.Settings(), before, during);
  host.SettingsChanged();
}

}  // namespace vantlo
