// The serial AutoCapture run against the simulated camera: captures until all are taken, keeps
// polling, unplugging and plugging in, movies and pictures sharing a number, the first free
// number, the single output file, and the faults that would lose pictures: a file cut short on a
// full disk, a write the file system reports done but did not do, a camera that does not delete.
#include "app/core/autocapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>

#include "camera/qv10int.h"
#include "camera/waiter.h"
#include "library/atomicfile.h"
#include "library/records/autocapturerecord.h"
#include "simulator/simcamera.h"
#include "tempdir.h"

namespace vantlo {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

tlocaltime Dec6() { return tlocaltime{2026, 12, 6, 14, 5, 9}; }

// Writes only the first `limit` bytes of every file after `okFiles` good ones and says so
// (ENOSPC), as a full disk does; `lie` makes it report success all the same.
class tfullwriter : public tfilewriter {
 public:
  tfullwriter(int okFiles, std::size_t limit, bool lie) : ok_(okFiles), limit_(limit), lie_(lie) {}
  int Write(const std::string& path, std::span<const std::uint8_t> bytes) override {
    if (ok_-- > 0) return real_.Write(path, bytes);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(std::min(limit_, bytes.size())));
    return lie_ ? 0 : ENOSPC;
  }

 private:
  int ok_;
  std::size_t limit_;
  bool lie_;
  tatomicwriter real_;
};

class AutoCaptureTest : public ::testing::Test {
 protected:
  void StartCamera(camsim::Family family, int count, camsim::Faults faults = {}) {
    camsim::Options options;
    options.family = family;
    options.count = count;
    options.faults = faults;
    camera = std::make_unique<camsim::SimulatedCamera>(options);
    camera->Start();
    engine = std::make_unique<tqvProtocolEngine>(camera->DevicePath(), 0, false, &waiter);
    engine->RequestBlockSize(4096);
  }
  AutoCaptureTest() {
    naming.outputFolder = dir.path();
    naming.autoCapturePrefix = "autocap";
    record.SetNameByPrefix(true);
    record.SetSeparateFiles(true);
    for (int k = 0; k < 4; ++k) {
      record.SetSoundFile(static_cast<tautocapsound>(k), "sound" + std::to_string(k) + ".wav");
      record.SetPlaySound(static_cast<tautocapsound>(k), true);
    }
    sounds = SoundsFrom(record);
    status.onChange = [this](const tautocaplights& lights) {
      if (labels.empty() || labels.back() != lights.label) labels.push_back(lights.label);
    };
    host.processEvents = [this] { return stop; };
    host.setStop = [this](bool on) { stop = on; };
    host.pumpingWait = [this](int ms) {
      if (ms == 2000) ++allCapturedWaits;
      if (onWait) onWait(ms);
    };
    host.message = [this](tmessagekind, const std::string& text) { messages.push_back(text); };
    host.sendFile = [this](const std::string& path) { sent.push_back(path); };
  }
  ~AutoCaptureTest() override {
    engine.reset();
    if (camera) camera->Stop();
  }

  tautocaptureresult Run(tfilewriter* writer = nullptr) {
    tautocapture run(*engine, record, namer, pictureSettings, status, host, writer,
                     [] { return Dec6(); });
    status.Show(tautocapstate::waiting);  // as Start does before the run
    return run.Run();
  }
  std::string Out(const std::string& name) { return dir / name; }
  bool Has(const std::string& name) { return fs::exists(Out(name)); }
  int Deletes() {
    const auto log = camera->CommandLog();
    return static_cast<int>(std::count_if(log.begin(), log.end(), [](const std::string& c) {
      return c.rfind("DF", 0) == 0 || c.rfind("XF", 0) == 0;
    }));
  }
  int Played(int which) {
    return static_cast<int>(
        std::count(player.played.begin(), player.played.end(), sounds.files[which]));
  }

  TempDir dir;
  std::unique_ptr<camsim::SimulatedCamera> camera;
  trecordingwaiter waiter;
  std::unique_ptr<tqvProtocolEngine> engine;
  tnamingsettings naming;
  tfilenamer namer{naming, [] { return Dec6(); }};
  tautocapturerecord record;
  tfetchsettings pictureSettings;
  tautocapsounds sounds;
  tsilentsound player;
  tautocapstatus status{&player, sounds};
  tautocapturehost host;
  bool stop = false;
  int allCapturedWaits = 0;
  std::function<void(int)> onWait;
  std::vector<std::string> labels;
  std::vector<std::string> messages;
  std::vector<std::string> sent;
};

TEST_F(AutoCaptureTest, ThreePicturesAreCapturedFromTheFrontThenTheRunStops) {
  StartCamera(camsim::Family::classic, 3);
  const tautocaptureresult result = Run();
  EXPECT_EQ(result.captured, 3);
  EXPECT_EQ(result.deleted, 3);
  EXPECT_EQ(camera->PictureCount(), 0);
  for (const char* name : {"autocap000.jpg", "autocap000.cam", "autocap001.jpg", "autocap001.cam",
                           "autocap002.jpg", "autocap002.cam"})
    EXPECT_TRUE(Has(name)) << name;
  EXPECT_FALSE(Has("autocap003.jpg"));
  // Delete after saving always deletes picture 1: the camera empties from the front.
  const auto log = camera->CommandLog();
  EXPECT_EQ(std::count(log.begin(), log.end(), "DF 01 FF"), 3);
  EXPECT_EQ(Deletes(), 3);

  EXPECT_EQ(labels, (std::vector<std::string>{"", "Camera connected", "3 pictures to capture",
                                              "2 pictures to capture", "1 picture to capture",
                                              "All pictures captured", ""}));
  EXPECT_TRUE(status.Lights().allCaptured);  // stays on after the stop
  EXPECT_FALSE(status.Lights().connected);
  EXPECT_EQ(allCapturedWaits, 1);
  EXPECT_EQ(Played(tautocapsounds::connected), 1);
  EXPECT_EQ(Played(tautocapsounds::allCaptured), 1);
  EXPECT_EQ(Played(tautocapsounds::disconnected), 0);
}

TEST_F(AutoCaptureTest, KeepPollingPicksUpAPictureTakenLaterAndPlaysEachChangeOnce) {
  StartCamera(camsim::Family::classic, 1);
  record.SetKeepPolling(true);
  onWait = [this](int ms) {
    if (ms != 2000) return;
    if (allCapturedWaits == 3) camera->TakePictures(1);  // two quiet polls first
    if (allCapturedWaits == 6) stop = true;
  };
  const tautocaptureresult result = Run();
  EXPECT_EQ(result.captured, 2);
  EXPECT_TRUE(Has("autocap000.jpg"));
  EXPECT_TRUE(Has("autocap001.jpg"));
  // The all-captured light came on twice (before and after the second picture), and its sound
  // with it, however many polls found nothing new.
  EXPECT_EQ(Played(tautocapsounds::allCaptured), 2);
  EXPECT_EQ(Played(tautocapsounds::connected), 1);
}

TEST_F(AutoCaptureTest, UnpluggedWhilePollingThenPluggedInWithANewPicture) {
  StartCamera(camsim::Family::classic, 1);
  record.SetKeepPolling(true);
  int waitsForCamera = 0;
  onWait = [&](int ms) {
    if (ms == 2000 && allCapturedWaits == 1) camera->Unplug();
    if (ms == 1000 && ++waitsForCamera == 2) {
      camera->TakePictures(1);
      camera->Plug();
    }
    if (ms == 2000 && allCapturedWaits == 2) stop = true;
  };
  const tautocaptureresult result = Run();
  EXPECT_EQ(result.captured, 2);
  const auto disconnected = std::find(labels.begin(), labels.end(), "Camera disconnected");
  ASSERT_NE(disconnected, labels.end());
  EXPECT_NE(std::find(disconnected, labels.end(), "Camera connected"), labels.end());
  EXPECT_EQ(Played(tautocapsounds::disconnected), 1);  // once, however long it was away
  EXPECT_EQ(Played(tautocapsounds::connected), 2);
}

TEST_F(AutoCaptureTest, AFileSystemCameraKeepsItsPicturesAndAMovieSharesTheNextNumber) {
  // Pictures 1 to 3 are JPEG files, 4 a movie, 5 a JPEG file.
  StartCamera(camsim::Family::filesystem, 5);
  record.SetSaveThumbnail(true);
  const tautocaptureresult result = Run();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0],
            "It is not possible to delete pictures from this camera using the serial link");
  EXPECT_FALSE(record.DeleteAfterSaving());
  EXPECT_EQ(camera->PictureCount(), 5);
  EXPECT_EQ(Deletes(), 0);
  EXPECT_EQ(result.captured, 5);
  for (const char* name : {"autocap000.jpg", "autocap002.cam", "thautocap002.jpg", "autocap003.avi",
                           "thautocap003.jpg", "autocap003.jpg", "autocap003.cam"})
    EXPECT_TRUE(Has(name)) << name;
  EXPECT_FALSE(Has("autocap004.jpg"));
  // The folder camera waits the extra 4 seconds before each picture.
  const auto waits = waiter.Waits();
  EXPECT_EQ(std::count(waits.begin(), waits.end(), 4000), 5);
}

TEST_F(AutoCaptureTest, PollingAFolderCameraStaysInItsLastFolder) {
  StartCamera(camsim::Family::filesystem, 1);
  record.SetDeleteAfterSaving(false);
  record.SetKeepPolling(true);
  onWait = [this](int ms) {
    if (ms != 2000) return;
    if (allCapturedWaits == 2) camera->TakePictures(1);
    if (allCapturedWaits == 4) stop = true;
  };
  const tautocaptureresult result = Run();
  EXPECT_EQ(result.captured, 2);
  EXPECT_TRUE(Has("autocap001.jpg"));
}

TEST_F(AutoCaptureTest, DateNamingAndTheThumbnailNamedByDate) {
  StartCamera(camsim::Family::classic, 1);
  record.SetNameByPrefix(false);
  record.SetSaveThumbnail(true);
  Run();
  EXPECT_TRUE(Has("06dec26000.jpg"));
  EXPECT_TRUE(Has("06dec26000.cam"));
  EXPECT_TRUE(Has("th06dec26000.jpg"));
}

TEST_F(AutoCaptureTest, FirstFreeNumberIsTheFirstGap) {
  StartCamera(camsim::Family::classic, 0);
  tautocapture run(*engine, record, namer, pictureSettings, status, host);
  EXPECT_EQ(run.FirstFreeNumber(), 0);
  for (const char* name :
       {"autocap000.jpg", "autocap001.cam", "autocap002.avi", "autocap003.jpg", "autocap004.jpg"})
    std::ofstream(Out(name)) << "x";
  EXPECT_EQ(run.FirstFreeNumber(), 5);
  fs::remove(Out("autocap002.avi"));
  EXPECT_EQ(run.FirstFreeNumber(), 2);
  record.SetNameByPrefix(false);
  EXPECT_EQ(run.FirstFreeNumber(), 0);
  std::ofstream(Out("06dec26000.avi")) << "x";
  EXPECT_EQ(run.FirstFreeNumber(), 1);
}

TEST_F(AutoCaptureTest, TheSingleOutputFileInTheOutputFolderOrWhereItsPathSays) {
  StartCamera(camsim::Family::extended, 2);
  record.SetSeparateFiles(false);
  record.SetSaveCam(false);
  record.SetSingleFile(true);
  record.SetSingleFileName("cam");
  record.SetOutputSize(2);  // "Small (320 x 240)"
  record.SetSendByFtp(true);
  Run();
  ASSERT_TRUE(Has("cam.jpg"));
  TJPEGImage single;
  single.LoadFromFile(Out("cam.jpg"));
  EXPECT_EQ(single.Width(), 320);
  EXPECT_EQ(single.Height(), 240);
  EXPECT_EQ(sent, (std::vector<std::string>{Out("cam.jpg"), Out("cam.jpg")}));

  tautocapture run(*engine, record, namer, pictureSettings, status, host);
  record.SetSingleFileName(dir / "web/cam");
  EXPECT_EQ(run.SingleOutputFile(), dir / "web/cam.jpg");
}

TEST_F(AutoCaptureTest, ADiskFullStopsTheRunAndTheCameraKeepsEveryPictureNotOnDisk) {
  StartCamera(camsim::Family::classic, 3);
  // The first picture's CAM and JPEG files are written; the next file is cut short.
  tfullwriter full(2, 100, false);
  try {
    Run(&full);
    FAIL() << "the run went on";
  } catch (const tautocaptureerror& e) {
    EXPECT_EQ(std::string(e.what()), SaveErrorText(Out("autocap001.cam")));
  }
  EXPECT_EQ(camera->PictureCount(), 2);  // only the picture that is safely on disk went
  EXPECT_EQ(Deletes(), 1);
  EXPECT_EQ(Played(tautocapsounds::error), 1);
  EXPECT_EQ(status.Lights(), (tautocaplights{false, false, false, false, ""}));
}

TEST_F(AutoCaptureTest, AWriteReportedDoneButCutShortIsCaughtBeforeTheDelete) {
  StartCamera(camsim::Family::classic, 2);
  tfullwriter liar(0, 10, true);
  EXPECT_THROW(Run(&liar), tautocaptureerror);
  EXPECT_EQ(camera->PictureCount(), 2);
  EXPECT_EQ(Deletes(), 0);
}

TEST_F(AutoCaptureTest, ACameraThatDoesNotDeleteStopsTheRunInsteadOfSavingForEver) {
  camsim::Faults faults;
  faults.countOverride = 2;  // the count never drops
  StartCamera(camsim::Family::classic, 2, faults);
  try {
    Run();
    FAIL() << "the run went on";
  } catch (const tautocaptureerror& e) {
    EXPECT_STREQ(e.what(), tautocapture::kDeleteNotDone);
  }
  EXPECT_TRUE(Has("autocap000.jpg"));
  EXPECT_FALSE(Has("autocap001.jpg"));
}

TEST_F(AutoCaptureTest, StopAfterTheFirstPictureLeavesTheRest) {
  StartCamera(camsim::Family::classic, 3);
  host.fileWritten = [this](const std::string& path) {
    if (path == Out("autocap000.jpg")) stop = true;
  };
  const tautocaptureresult result = Run();
  EXPECT_EQ(result.captured, 1);
  EXPECT_EQ(camera->PictureCount(), 2);
  EXPECT_EQ(status.Lights(), (tautocaplights{false, false, false, false, ""}));
}

}  // namespace
}  // namespace vantlo
