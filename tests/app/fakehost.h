// The window's side of a page test, as fields: settings, busy register, stop request, progress,
// status texts, the files written and the pages shown. `tlink` is the camera link the test
// hands in: a stand-in that records calls, or the real engine link on a simulated camera.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "app/busyregister.h"
#include "app/cameralink.h"
#include "app/createdfolders.h"
#include "app/progressreport.h"
#include "app/stoprequest.h"
#include "app/ui/internetfeatures.h"
#include "app/ui/pictureview.h"
#include "app/ui/windowhost.h"
#include "library/records.h"
#include "output/acprinter.h"
#include "output/conman.h"

namespace vantlo {

// A link of the test's own kind is made empty-handed; the engine link is handed in later.
template <typename tlink>
std::unique_ptr<tlink> MakeLink() {
  if constexpr (std::is_default_constructible_v<tlink>)
    return std::make_unique<tlink>();
  else
    return nullptr;
}

class tfakeprogress : public tprogressreport {
 public:
  void ReportText(const std::string& text, int) override { texts.push_back(text); }
  void ReportPosition(int) override {}
  std::vector<std::string> texts;
};

// The window's side, as fields.
template <typename tlink>
class tfakehostof : public twindowhost {
 public:
  tfakehostof() : busy(stop, nullptr) {}
  QWidget* Window() override { return &window; }
  tsettingsrecords& Settings() override { return settings; }
  void CollectSettings() override { ++collected; }
  void SettingsChanged() override { ++changed; }
  tbusyregister& Busy() override { return busy; }
  tstoprequest& StopRequest() override { return stop; }
  tprogressreport& Progress() override { return progress; }
  void StatusText(const std::string& text) override { statuses.push_back(text); }
  void SetCurrentPicture(const std::string&, std::uint64_t) override {}
  void SetPictureText(const std::string&) override {}
  tcameralink* CameraLink() override { return link.get(); }
  tthumbmanager* CameraThumbnails() override { return nullptr; }
  tpictureview& PictureView() override {
    if (!view) view = std::make_unique<tpictureview>(*this);
    return *view;
  }
  void ShowPage(int number) override { shownPage = number; }
  int ShownPage() const override { return shownPage; }
  void ShowPicturePage() override {}
  bool BrowsePageShown() const override { return false; }
  void FilesWritten(const std::vector<std::string>& paths) override {
    written.insert(written.end(), paths.begin(), paths.end());
    if (onFilesWritten) onFilesWritten();
  }
  tcreatedfolders& CreatedFolders() override { return folders; }
  int ColourDepth() const override { return 24; }
  tconman& ContactSheet() override { return sheet; }
  tacprinter& Printer() override { return printer; }
  bool PreparePrinter() override { return false; }
  tinternetfeatures& Internet() override {
    if (!internet)
      internet = std::make_unique<tinternetfeatures>(
          &window, settings, webcam, tftpwindowview::thooks{}, [] { return nullptr; });
    return *internet;
  }
  twebcamsettings& WebcamBlock() override { return webcam; }

  QWidget window;
  tsettingsrecords settings;
  tstoprequest stop;
  tbusyregister busy;
  tfakeprogress progress;
  std::unique_ptr<tlink> link = MakeLink<tlink>();
  std::unique_ptr<tpictureview> view;
  tcreatedfolders folders;
  tconman sheet;
  tacprinter printer;
  twebcamsettings webcam;
  std::unique_ptr<tinternetfeatures> internet;
  std::vector<std::string> statuses;
  std::vector<std::string> written;
  int collected = 0;
  int changed = 0;
  int shownPage = 1;
  std::function<void()> onFilesWritten;  // a test's hook into a running command
};

}  // namespace vantlo
