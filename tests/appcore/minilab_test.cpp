// The MiniLab without its window, against the simulated camera: the wizard's range and chosen
// pictures, "JPG Files" without printing written into the chosen folder only (no daily folder,
// no CAM file) with the saving settings back afterwards, a setting the user changes in the
// window during the run kept, the settings and grid selection back after a failed run, "Run
// MiniLab Using Defaults" on an empty camera, and the wizard's checks and summary texts.
#include "app/core/minilab.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>

#include "app/core/minilabplan.h"
#include "app/core/settingsrecords.h"
#include "app/core/thumbmanager.h"
#include "camera/qv10int.h"
#include "camera/waiter.h"
#include "simulator/simcamera.h"
#include "tempdir.h"

namespace vantlo {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : fs::recursive_directory_iterator(folder, ec))
    names.push_back(fs::relative(e.path(), folder).string());
  std::sort(names.begin(), names.end());
  return names;
}

// The window's side of a run over a simulated camera: the camera commands run the fetch
// workflow with the saving and naming settings the records hold at that moment, as the Camera
// page does; printing is recorded (each printed picture is fetched and saved first).
class tcamerahost : public tminilabhost {
 public:
  tcamerahost(int pictures, const std::string& saveFolder) {
    camsim::Options o;
    o.family = camsim::Family::classic;
    o.count = pictures;
    camera_ = std::make_unique<camsim::SimulatedCamera>(o);
    camera_->Start();
    engine_ = std::make_unique<tqvProtocolEngine>(camera_->DevicePath(), 0, false, &waiter_);
    engine_->GetCameraType();
    manager_ = std::make_unique<tthumbmanager>(*engine_, *engine_);
    records.config.SetSaveFolder(saveFolder);
    records.config.SetDailyFolder(true);
    records.config.SetSaveJpeg(true);
    records.config.SetSaveCam(true);
    records.config.SetNameByDate(false);
    records.config.SetPrefix("pic");
  }

  tsettingsrecords& Settings() override { return records; }
  void CollectSettings() override {
    ++collected;
    if (userChange) userChange(records);  // what the user changed in the window meanwhile
    userChange = nullptr;
  }
  void SettingsChanged() override { ++changed; }
  tcameraselection& CameraSelection() override { return selection; }
  bool StopRequested() override { return false; }
  void LoadAllThumbnails() override {
    manager_->RefreshCount();
    manager_->FetchAllThumbnails();
    ++thumbnailLoads;
  }
  void FetchSelected() override { Fetch(); }
  void PrintSelected() override {
    Fetch();
    printed = selection.Selected();
  }
  int PictureCount() override { return manager_->RefreshCount(); }
  std::string SaveFolder() override { return Namer().Folder(); }
  void EnsureDailyFolder() override { Namer().EnsureDailyFolder(); }
  void ShowFolder(const std::string& folder) override { shownFolder = folder; }

  tsettingsrecords records;
  tcameraselection selection;
  std::function<void(tsettingsrecords&)> userChange;
  std::function<void()> duringFetch;
  std::vector<int> fetched;
  std::vector<int> printed;
  std::string shownFolder;
  bool savingSeenCam = true;
  bool savingSeenDaily = true;
  int thumbnailLoads = 0;
  int collected = 0;
  int changed = 0;

 private:
  tfilenamer& Namer() {
    naming_ = NamingSettingsFrom(records);
    namer_ = std::make_unique<tfilenamer>(naming_);
    return *namer_;
  }
  void Fetch() {
    if (duringFetch) duringFetch();
    tsaveoptions save = SaveOptionsFrom(records.config);
    savingSeenCam = records.config.SaveCam();
    savingSeenDaily = records.config.DailyFolder();
    tfetchsettings settings = FetchSettingsFrom(records);
    tfetchworkflow workflow(*engine_, *manager_, Namer(), save, settings);
    const tfetchresult result = workflow.FetchSelected(selection);
    fetched.insert(fetched.end(), result.fetched.begin(), result.fetched.end());
  }

  trecordingwaiter waiter_;
  std::unique_ptr<camsim::SimulatedCamera> camera_;
  std::unique_ptr<tqvProtocolEngine> engine_;
  std::unique_ptr<tthumbmanager> manager_;
  tnamingsettings naming_;
  std::unique_ptr<tfilenamer> namer_;
};

class MiniLab : public ::testing::Test {
 protected:
  std::string Folder(const std::string& name) {
    const std::string f = dir / name;
    fs::create_directories(f);
    return f;
  }
  TempDir dir;
};

TEST_F(MiniLab, ARangeOfThreeToFiveAsJpegsOnlyGoesIntoTheChosenFolderAndTheSettingsComeBack) {
  tcamerahost host(6, Folder("autosave"));
  host.selection.Set(1, true);  // what the grid had selected before
  const std::string chosen = Folder("minilab");
  tminilabplan plan;
  plan.count = 6;
  plan.scope = tminilabscope::range;
  plan.from = 3;
  plan.to = 5;
  plan.saveJpeg = true;
  plan.saveCam = false;
  plan.print = false;
  plan.folder = chosen;
  ASSERT_EQ(plan.ContinueCheck(host.selection), "");
  const auto defaultsBefore = host.records.config.Bytes();
  std::vector<std::uint8_t> before(defaultsBefore.begin(), defaultsBefore.end());

  StartMiniLab(host, plan, false);

  EXPECT_EQ(host.fetched, (std::vector<int>{3, 4, 5}));
  EXPECT_FALSE(host.savingSeenCam);
  EXPECT_FALSE(host.savingSeenDaily);
  EXPECT_EQ(FilesIn(chosen), (std::vector<std::string>{"pic003.jpg", "pic004.jpg", "pic005.jpg"}));
  EXPECT_TRUE(FilesIn(dir / "autosave").empty());
  EXPECT_EQ(host.thumbnailLoads, 0);
  EXPECT_TRUE(host.printed.empty());
  // Afterwards: "Pictures in CAM format", the folder, the daily folder and the stored MiniLab
  // defaults are as they were, and so is the grid's selection.
  EXPECT_TRUE(host.records.config.SaveCam());
  EXPECT_TRUE(host.records.config.DailyFolder());
  EXPECT_EQ(host.records.config.SaveFolder(), dir / "autosave");
  const auto after = host.records.config.Bytes();
  EXPECT_TRUE(std::equal(after.begin(), after.end(), before.begin()));
  EXPECT_EQ(host.records.extra.MiniLabFolder(), "");
  EXPECT_EQ(host.selection.Selected(), (std::vector<int>{1}));
  EXPECT_GT(host.changed, 0);
}

TEST_F(MiniLab, ChosenThumbnailsArePrintedAfterTheThumbnailsAreLoaded) {
  tcamerahost host(4, Folder("autosave"));
  tminilabplan plan;
  plan.count = 4;
  plan.scope = tminilabscope::chosen;
  EXPECT_EQ(plan.ContinueCheck(host.selection), kNothingChosen);
  host.selection.Set(2, true);
  host.selection.Set(4, true);
  EXPECT_EQ(plan.ContinueCheck(host.selection), "");
  plan.saveCam = true;
  plan.saveJpeg = true;
  plan.print = true;
  plan.folder = Folder("lab");
  StartMiniLab(host, plan, true);
  EXPECT_EQ(host.thumbnailLoads, 1);
  EXPECT_EQ(host.printed, (std::vector<int>{2, 4}));
  EXPECT_EQ(FilesIn(plan.folder),
            (std::vector<std::string>{"pic002.cam", "pic002.jpg", "pic004.cam", "pic004.jpg"}));
}

TEST_F(MiniLab, ASettingChangedInTheWindowDuringTheRunSurvives) {
  tcamerahost host(3, Folder("autosave"));
  host.records.extra.SetMiniLabFolder(Folder("lab"));
  host.records.config.SetMiniLabFetchThumbnails(false);
  host.records.config.SetMiniLabSaveCam(false);
  host.records.config.SetMiniLabSaveJpeg(true);
  // While the pictures come in the user changes the JPEG quality, the prefix and switches
  // "Thumbnails" on, on the window's pages.
  host.duringFetch = [&host] {
    host.userChange = [](tsettingsrecords& r) {
      r.config.SetJpegQuality(42);
      r.config.SetPrefix("mine");
      r.config.SetSaveThumbnails(true);
    };
  };
  tcameraselection all;
  all.SelectAll(3);
  RunMiniLab(host, all);
  EXPECT_EQ(host.fetched, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(host.records.config.JpegQuality(), 42);
  EXPECT_EQ(host.records.config.Prefix(), "mine");
  EXPECT_TRUE(host.records.config.SaveThumbnails());
  // What the run itself changed is back.
  EXPECT_TRUE(host.records.config.SaveCam());
  EXPECT_TRUE(host.records.config.DailyFolder());
  EXPECT_EQ(host.records.config.SaveFolder(), dir / "autosave");
}

TEST_F(MiniLab, AFailedRunPutsTheSettingsAndTheSelectionBack) {
  tcamerahost host(3, Folder("autosave"));
  host.records.extra.SetMiniLabFolder(Folder("lab"));
  host.selection.Set(3, true);
  host.duringFetch = [] { throw std::runtime_error("Camera is not connected"); };
  tcameraselection first;
  first.Set(1, true);
  EXPECT_THROW(RunMiniLab(host, first), std::runtime_error);
  EXPECT_TRUE(host.records.config.SaveCam());
  EXPECT_TRUE(host.records.config.DailyFolder());
  EXPECT_EQ(host.records.config.SaveFolder(), dir / "autosave");
  EXPECT_EQ(host.selection.Selected(), (std::vector<int>{3}));
}

TEST_F(MiniLab, RunUsingDefaultsOnAnEmptyCameraProcessesNothingAndShowsTheFolder) {
  tcamerahost host(0, Folder("autosave"));
  host.records.config.SetDailyFolder(false);
  RunMiniLabUsingDefaults(host);
  EXPECT_TRUE(host.fetched.empty());
  EXPECT_EQ(host.shownFolder, dir / "autosave/");

  host.records.extra.SetMiniLabFolder(Folder("lab"));
  RunMiniLabUsingDefaults(host);
  EXPECT_EQ(host.shownFolder, dir / "lab");
}

TEST_F(MiniLab, RunUsingDefaultsFetchesEveryPictureAsTheDefaultsSay) {
  tcamerahost host(2, Folder("autosave"));
  host.records.extra.SetMiniLabFolder(Folder("lab"));
  host.records.config.SetMiniLabFetchThumbnails(true);
  host.records.config.SetMiniLabSaveCam(true);
  host.records.config.SetMiniLabSaveJpeg(false);
  RunMiniLabUsingDefaults(host);
  EXPECT_EQ(host.thumbnailLoads, 1);
  EXPECT_EQ(host.fetched, (std::vector<int>{1, 2}));
  EXPECT_EQ(FilesIn(dir / "lab"), (std::vector<std::string>{"pic001.cam", "pic002.cam"}));
}

TEST(MiniLabPlan, ChecksAndSummaryTexts) {
  tminilabplan plan;
  plan.count = 9;
  plan.scope = tminilabscope::range;
  plan.from = 5;
  plan.to = 3;
  EXPECT_EQ(plan.ContinueCheck({}), kFirstBelowLast);
  plan.to = 5;
  EXPECT_EQ(plan.ContinueCheck({}), "");
  EXPECT_EQ(plan.SelectionMap({}).Selected(), (std::vector<int>{5}));
  EXPECT_EQ(plan.FetchText(), ":  Pictures 5 to 5");
  plan.scope = tminilabscope::all;
  EXPECT_EQ(plan.FetchText(), ":  All Pictures");
  EXPECT_EQ(plan.SelectionMap({}).Selected().size(), 9u);
  plan.scope = tminilabscope::chosen;
  EXPECT_EQ(plan.FetchText(), ":  Selected Pictures");

  plan.saveCam = true;
  plan.saveJpeg = true;
  EXPECT_EQ(plan.SaveText(), ":  CAM and JPG files");
  plan.saveJpeg = false;
  EXPECT_EQ(plan.SaveText(), ":  CAM files");
  plan.saveCam = false;
  plan.saveJpeg = true;
  EXPECT_EQ(plan.SaveText(), ":  JPG files");
  plan.folder = "/home/me/Pictures";
  EXPECT_EQ(plan.FolderText(), ":  /home/me/Pictures");
  EXPECT_EQ(plan.PrintText(), ":  No");
  plan.print = true;
  EXPECT_EQ(plan.PrintText(), ":  Yes");

  EXPECT_EQ(tminilabplan::CountText(1), "There is 1 picture stored in the Camera.");
  EXPECT_EQ(tminilabplan::CountText(12), "There are 12 pictures stored in the Camera.");
}

TEST(MiniLabPlan, SavingTheChoicesWritesTheDefaultsAsTheTableSays) {
  tsettingsrecords r;
  r.config.Bytes()[2530] = 7;
  r.config.Bytes()[2532] = 7;
  r.config.SetMiniLabSaveThumbnails(true);
  r.config.SetMiniLabSaveContactSheets(true);
  tminilabplan plan;
  plan.saveJpeg = false;
  plan.saveCam = true;
  plan.print = true;
  plan.folder = "/pics/lab";
  SaveMiniLabChoices(r, plan, true, "/pics/auto/");
  const auto b = r.config.Bytes();
  EXPECT_EQ((std::vector<int>(b.begin() + 2524, b.begin() + 2533)),
            (std::vector<int>{1, 0, 1, 0, 1, 1, 0, 0, 0}));
  EXPECT_EQ(r.extra.MiniLabFolder(), "/pics/lab");
  // The ordinary save folder chosen (with or without its last slash): the folder is empty.
  plan.folder = "/pics/auto";
  SaveMiniLabChoices(r, plan, false, "/pics/auto/");
  EXPECT_EQ(r.extra.MiniLabFolder(), "");
  EXPECT_FALSE(r.config.MiniLabFetchThumbnails());
}

}  // namespace
}  // namespace vantlo
