// A window host as fields for the movie page and MiniLab tests, without a window or settings
// folder: the busy register and stop request, progress texts, the pages shown, the files
// written and the Browse page's selection.
#pragma once

#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "app/busyregister.h"
#include "app/createdfolders.h"
#include "app/progressreport.h"
#include "app/stoprequest.h"
#include "app/ui/internetfeatures.h"
#include "app/ui/pictureview.h"
#include "app/ui/windowhost.h"
#include "library/records.h"
#include "output/acprinter.h"
#include "output/conman.h"

namespace vantlo::testhost {

class tprogresstexts : public tprogressreport {
 public:
  void ReportText(const std::string& text, int) override { texts.push_back(text); }
  void ReportPosition(int position) override { positions.push_back(position); }
  std::vector<std::string> texts;
  std::vector<int> positions;
};

class tmoviehost : public twindowhost {
 public:
  tmoviehost() : busy(stop, nullptr) {}
  QWidget* Window() override { return &window; }
  tsettingsrecords& Settings() override { return settings; }
  void CollectSettings() override { ++collected; }
  void SettingsChanged() override { ++changed; }
  tbusyregister& Busy() override { return busy; }
  tstoprequest& StopRequest() override { return stop; }
  tprogressreport& Progress() override { return progress; }
  void StatusText(const std::string& text) override { progress.texts.push_back(text); }
  void SetCurrentPicture(const std::string&, std::uint64_t) override {}
  void SetPictureText(const std::string&) override {}
  tcameralink* CameraLink() override { return nullptr; }
  tthumbmanager* CameraThumbnails() override { return nullptr; }
  tpictureview& PictureView() override {
    if (!view) view = std::make_unique<tpictureview>(*this);
    return *view;
  }
  void ShowPage(int number) override { pages.push_back(number); }
  int ShownPage() const override { return pages.empty() ? 1 : pages.back(); }
  void ShowPicturePage() override { ++picturePageShown; }
  bool BrowsePageShown() const override { return false; }
  void FilesWritten(const std::vector<std::string>& paths) override {
    written.insert(written.end(), paths.begin(), paths.end());
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
  std::vector<std::string> SelectedDiskPictures() override { return selected; }
  void StopDiskThumbnails() override { ++thumbnailStops; }

  QWidget window;
  tsettingsrecords settings;
  tstoprequest stop;
  tbusyregister busy;
  tprogresstexts progress;
  std::unique_ptr<tpictureview> view;
  tcreatedfolders folders;
  tconman sheet;
  tacprinter printer;
  twebcamsettings webcam;
  std::unique_ptr<tinternetfeatures> internet;
  std::vector<std::string> selected;
  std::vector<std::string> written;
  std::vector<int> pages;
  int picturePageShown = 0;
  int thumbnailStops = 0;
  int collected = 0;
  int changed = 0;
};

}  // namespace vantlo::testhost
