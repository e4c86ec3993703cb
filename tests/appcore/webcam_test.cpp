// Webcam mode: the scheduler on a fake clock (intervals as the page shows them, schedule files,
// the quiet period, due times), the output file a web server reads while shots replace it, the
// program hook, and whole shots against the simulated camera over the serial link and over its
// USB storage, with the faults that would lose a picture or report a failure as done.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "app/core/cardfolders.h"
#include "app/core/naming.h"
#include "app/core/vantlomanager.h"
#include "app/core/webcamoutput.h"
#include "app/core/webcamworkflow.h"
#include "camera/qv10int.h"
#include "camera/waiter.h"
#include "library/atomicfile.h"
#include "picture/jpegimage.h"
#include "simulator/simcamera.h"
#include "tempdir.h"

namespace vantlo {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::WriteText;

tdatetime At(int hour, int minute, int second = 0, int day = 8) {
  return tdatetime::FromCivil(2026, 12, day, hour, minute, second);
}

std::string Hm(tdatetime t) {
  const tcivildatetime c = t.ToCivil();
  char text[32];
  std::snprintf(text, sizeof text, "%d %02d:%02d", c.day, c.hour, c.minute);
  return text;
}

bool Eventually(const std::function<bool()>& condition) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return condition();
}

// ---- scheduler ----

TEST(WebcamScheduler, IntervalsAreShownInTheUnitTheyWereStoredIn) {
  EXPECT_EQ(IntervalSeconds(90, tintervalunit::secs), 90);
  EXPECT_EQ(IntervalField(90).value, 90);
  EXPECT_EQ(IntervalField(90).unit, tintervalunit::secs);
  EXPECT_EQ(IntervalSeconds(2, tintervalunit::mins), 120);
  EXPECT_EQ(IntervalField(120).value, 2);
  EXPECT_EQ(IntervalField(120).unit, tintervalunit::mins);
  EXPECT_EQ(IntervalSeconds(2, tintervalunit::hrs), 7200);
  EXPECT_EQ(IntervalField(7200).value, 120);
  EXPECT_EQ(IntervalField(7200).unit, tintervalunit::mins);
  EXPECT_EQ(IntervalField(0).unit, tintervalunit::secs);
}

TEST(WebcamScheduler, TimesOfDayAreReadStrictly) {
  EXPECT_DOUBLE_EQ(*ParseTimeOfDay("9:00"), 9 / 24.0);
  EXPECT_DOUBLE_EQ(*ParseTimeOfDay(" 18:30:15 "), (18 * 3600 + 30 * 60 + 15) / 86400.0);
  EXPECT_DOUBLE_EQ(*ParseTimeOfDay("12:00 AM"), 0.0);
  EXPECT_DOUBLE_EQ(*ParseTimeOfDay("1:15pm"), (13 * 60 + 15) / 1440.0);
  for (const char* bad : {"", "9", "24:00", "9:60", "9:00 XM", "13:00 PM", "9:00x", "ab:cd", "9::00"})
    EXPECT_FALSE(ParseTimeOfDay(bad)) << bad;
}

TEST(WebcamScheduler, QuietPeriodRules) {
  const double a = 22 / 24.0, b = 6 / 24.0;
  EXPECT_FALSE(QuietPeriodAllows(true, a, b, 23 / 24.0));
  EXPECT_FALSE(QuietPeriodAllows(true, a, b, 3 / 24.0));
  EXPECT_TRUE(QuietPeriodAllows(true, a, b, 6 / 24.0));
  EXPECT_TRUE(QuietPeriodAllows(true, a, b, 22 / 24.0));
  EXPECT_TRUE(QuietPeriodAllows(true, a, b, 12 / 24.0));
  EXPECT_TRUE(QuietPeriodAllows(false, a, b, 23 / 24.0));
  // Within one day the ends themselves are quiet; equal ends never are.
  EXPECT_FALSE(QuietPeriodAllows(true, b, a, 6 / 24.0));
  EXPECT_FALSE(QuietPeriodAllows(true, b, a, 22 / 24.0));
  EXPECT_TRUE(QuietPeriodAllows(true, b, a, 23 / 24.0));
  EXPECT_TRUE(QuietPeriodAllows(true, a, a, a));
}

class SchedulerTest : public ::testing::Test {
 protected:
  std::string Schedule(const std::string& text) {
    const std::string path = dir / "times.sch";
    WriteText(path, text);
    block.SetScheduleFile(path);
    return path;
  }
  TempDir dir;
  tdatetime now = At(13, 0);
  twebcamsettings block;
  tvantlomanager manager{block, [this] { return now; }};
};

TEST_F(SchedulerTest, ScheduleGivesTheNextTimeTodayOrTomorrow) {
  Schedule("08:00\n\n12:00\n18:00\n");
  manager.SetInterval(twebcamsettings::kBySchedule);
  manager.Activate();
  EXPECT_EQ(Hm(manager.NextShotTime()), "8 18:00");
  now = At(19, 0);
  EXPECT_EQ(Hm(manager.NextScheduledTime()), "9 08:00");
  now = At(18, 0);
  EXPECT_EQ(Hm(manager.NextScheduledTime()), "8 18:00");
}

TEST_F(SchedulerTest, LinesAreOrderedByTheTimeTheyName) {
  // As text "9:00" sorts after "18:00", and a 9:00 shot would be missed at 8:00.
  Schedule("18:00\n9:00\n");
  manager.SetInterval(twebcamsettings::kBySchedule);
  now = At(8, 0);
  manager.Activate();
  EXPECT_EQ(Hm(manager.NextShotTime()), "8 09:00");
  EXPECT_EQ(manager.Schedule().size(), 2u);
  EXPECT_LT(manager.Schedule()[0], manager.Schedule()[1]);
  // Due at 9:00 moves on to 18:00, not to 9:00 again.
  now = At(9, 0);
  EXPECT_TRUE(manager.Due());
  EXPECT_EQ(Hm(manager.NextShotTime()), "8 18:00");
  EXPECT_FALSE(manager.Due());
}

TEST_F(SchedulerTest, ScheduleFileErrorsNameTheFileAndTheLine) {
  manager.SetInterval(twebcamsettings::kBySchedule);
  block.SetScheduleFile("");
  try {
    manager.Activate();
    FAIL();
  } catch (const tvantlomanagererror& e) {
    EXPECT_STREQ(e.what(), "You must specify a Schedule File for scheduled operation");
  }
  EXPECT_TRUE(manager.Active());  // still started: "Stop" ends it
  block.SetScheduleFile(dir / "none.sch");
  try {
    manager.Activate();
    FAIL();
  } catch (const tvantlomanagererror& e) {
    EXPECT_EQ(std::string(e.what()), "Schedule File not found : " + (dir / "none.sch"));
  }
  const std::string path = Schedule("08:00\n12:00\nnoon\n");
  try {
    manager.Activate();
    FAIL();
  } catch (const tvantlomanagererror& e) {
    const std::string text = e.what();
    EXPECT_EQ(text.rfind("Error in Schedule File : " + path, 0), 0u) << text;
    EXPECT_NE(text.find("line 3"), std::string::npos) << text;
  }
  std::ofstream(dir / "huge.sch") << std::string(2 << 20, '\n');
  EXPECT_THROW(manager.LoadSchedule(dir / "huge.sch"), tvantlomanagererror);
  fs::create_directory(dir / "folder.sch");
  EXPECT_THROW(manager.LoadSchedule(dir / "folder.sch"), tvantlomanagererror);
}

TEST_F(SchedulerTest, IntervalsAndDueTimes) {
  manager.SetInterval(90);
  EXPECT_EQ(Hm(manager.NextShotTime()), "8 13:01");
  manager.Activate();  // no first picture time: at once
  EXPECT_TRUE(manager.Due());
  EXPECT_FALSE(manager.Due());
  now = At(13, 1, 29);
  EXPECT_FALSE(manager.Due());
  now = At(13, 1, 30);
  EXPECT_TRUE(manager.Due());
  // The same interval again keeps the next shot; a long gap is not made up in a burst.
  const tdatetime next = manager.NextShotTime();
  manager.SetInterval(90);
  EXPECT_EQ(manager.NextShotTime(), next);
  now = At(15, 0);
  EXPECT_TRUE(manager.Due());
  EXPECT_FALSE(manager.Due());
  EXPECT_EQ(manager.NextShotTime(), tdatetime::FromCivil(2026, 12, 8, 15, 1, 30));

  manager.SetInterval(twebcamsettings::kManual);
  EXPECT_FALSE(manager.Due());
  EXPECT_EQ(manager.NextShotTime().Days(), -1.0);
  manager.Deactivate();
  manager.SetInterval(60);
  block.SetFirstPictureTime(At(16, 30));
  manager.Activate();
  EXPECT_EQ(Hm(manager.NextShotTime()), "8 16:30");
  EXPECT_FALSE(manager.Due());
  block.SetFirstPictureTime(At(10, 0));  // passed: now
  manager.Activate();
  EXPECT_TRUE(manager.Due());
  manager.Deactivate();
  EXPECT_FALSE(manager.Due());
}

// ---- output file and program ----

TEST(WebcamOutput, NamesAndTheRenameInOneStep) {
  TempDir dir;
  tnamingsettings naming;
  naming.outputFolder = dir.path();
  naming.webcamPrefix = "Vantlo";
  tfilenamer namer{naming, [] { return tlocaltime{2026, 12, 8, 12, 0, 0}; }};
  EXPECT_EQ(WebcamOutputPath("WebCam", namer, 3), dir / "webcam");
  EXPECT_EQ(WebcamOutputPath("", namer, 3), namer.FileName(3, tnamekind::webcam, "JPG"));
  EXPECT_EQ(WebcamOutputPath("/srv/Web Site/Cam.JPG", namer, 3), "/srv/Web Site/cam.jpg");

  const std::vector<std::uint8_t> first(1000, 1), second(5000, 2);
  WriteWebcamOutput(dir / "webcam", first);
  WriteWebcamOutput(dir / "webcam", second);
  EXPECT_EQ(ReadWholeFile(dir / "webcam"), second);
  EXPECT_FALSE(fs::exists(dir / "webcam_"));

  // A folder that is gone: the error names the file and the old picture stays.
  EXPECT_THROW(WriteWebcamOutput(dir / "gone/webcam", first), twebcamerror);
  fs::create_directory(dir / "webcam2");  // a folder where the file should go: rename fails
  EXPECT_THROW(WriteWebcamOutput(dir / "webcam2", first), twebcamerror);
  EXPECT_FALSE(fs::exists(dir / "webcam2_"));
}

TEST(WebcamOutput, ProgramGetsThePicturePathAsOneArgument) {
  TempDir dir;
  const std::string script = dir / "my hooks/after shot.sh";
  WriteText(script, "#!/bin/sh\nprintf '%s|%d' \"$1\" \"$#\" > \"$(dirname \"$0\")/got.tmp\"\n"
                    "mv \"$(dirname \"$0\")/got.tmp\" \"$(dirname \"$0\")/got\"\n");
  fs::permissions(script, fs::perms::owner_all);
  const std::string picture = dir / "pics/we b;cam $(x).jpg";
  RunWebcamProgram(script, picture);
  ASSERT_TRUE(Eventually([&] { return fs::exists(dir / "my hooks/got"); }));
  std::ifstream in(dir / "my hooks/got");
  std::string got((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(got, picture + "|1");
  EXPECT_THROW(RunWebcamProgram(dir / "missing program", picture), twebcamerror);
  EXPECT_THROW(RunWebcamProgram("", picture), twebcamerror);
}

// ---- shots against the simulated camera ----

class WebcamShotTest : public ::testing::Test {
 protected:
  void StartCamera(int count, const std::string& usbDir = {}, int countOverride = -1,
                   camsim::Family family = camsim::Family::classic) {
    camsim::Options options;
    options.faults.countOverride = countOverride;
    options.family = family;
    options.count = count;
    options.usbStorageDir = usbDir;
    camera = std::make_unique<camsim::SimulatedCamera>(options);
    camera->Start();
    engine = std::make_unique<tqvProtocolEngine>(camera->DevicePath(), 0, false, &waiter);
    engine->RequestBlockSize(4096);
    workflow = std::make_unique<twebcamworkflow>(*engine, manager, namer, setup, host,
                                                 [this] { return now; });
  }
  WebcamShotTest() {
    naming.outputFolder = dir.path();
    naming.webcamPrefix = "Vantlo";
    block.SetOutputFile("webcam");
    block.SetPictureCounter(9998);
    manager.SetInterval(twebcamsettings::kManual);
    host.status = [this](twebcamstatus s, const std::string& label) {
      statuses.push_back(static_cast<int>(s));
      labels.push_back(label);
    };
    host.sleep = [this](int ms) { sleeps.push_back(ms); };
    host.requestBusy = [this] { return !busy && (busy = true); };
    host.releaseBusy = [this] { busy = false; };
    host.message = [this](tmessagekind, const std::string& text) { messages.push_back(text); };
    host.fileWritten = [this](const std::string& path) { written.push_back(path); };
  }
  ~WebcamShotTest() override {
    workflow.reset();
    engine.reset();
    if (camera) camera->Stop();
  }
  int CameraCount() { return engine->GetPictureCount(); }

  TempDir dir;
  tdatetime now = At(12, 0);
  tnamingsettings naming;
  tfilenamer namer{naming, [] { return tlocaltime{2026, 12, 8, 12, 0, 0}; }};
  twebcamsettings block;
  tvantlomanager manager{block, [this] { return now; }};
  twebcamsetup setup;
  twebcamhost host;
  trecordingwaiter waiter;
  std::unique_ptr<camsim::SimulatedCamera> camera;
  std::unique_ptr<tqvProtocolEngine> engine;
  std::unique_ptr<twebcamworkflow> workflow;
  std::vector<int> statuses;
  std::vector<std::string> labels;
  std::vector<int> sleeps;
  std::vector<std::string> messages;
  std::vector<std::string> written;
  bool busy = false;
};

TEST_F(WebcamShotTest, SerialShotWritesACompleteOutputFileEveryTime) {
  StartCamera(2);
  // A web server reading the file during the shots: it never sees a partial picture.
  std::atomic<bool> done{false};
  std::atomic<int> reads{0};
  std::atomic<int> bad{0};
  std::thread reader([&] {
    while (!done) {
      std::ifstream in(dir / "webcam", std::ios::binary);
      if (!in) continue;
      std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
      try {
        TJPEGImage jpeg;
        jpeg.LoadFromStream(bytes);
        if (jpeg.Width() < 320) ++bad;
      } catch (const std::exception& e) {
        if (!bad++) ADD_FAILURE() << e.what() << " " << bytes.size();
      }
      ++reads;
    }
  });
  ASSERT_TRUE(workflow->Start());
  EXPECT_TRUE(busy);
  for (int shot = 0; shot < 3; ++shot) {
    statuses.clear();
    workflow->TakeNow();
    EXPECT_EQ(statuses, (std::vector<int>{1, 2, 3, 4, 5, 0})) << shot;
  }
  ASSERT_TRUE(Eventually([&] { return reads > 0; }));
  done = true;
  reader.join();
  EXPECT_EQ(bad, 0);
  EXPECT_EQ(labels[labels.size() - 6], "Taking picture #0");
  EXPECT_EQ(labels[labels.size() - 4], "Fetching Picture #0");
  // 9998, 9999, then the counter wraps.
  EXPECT_EQ(block.PictureCounter(), 1);
  EXPECT_EQ(CameraCount(), 2);  // each picture taken was deleted again
  EXPECT_FALSE(fs::exists(dir / "webcam_"));
  EXPECT_TRUE(workflow->TakeNowEnabled());
  // The pauses of one shot: 1500, 4500, 4000, 1000, 1000, 1000, 3000 after 2000 each.
  const std::vector<int> one{3500, 6500, 6000, 3000, 3000, 3000, 5000};
  EXPECT_EQ(std::vector<int>(sleeps.end() - 7, sleeps.end()), one);
  workflow->StartStop();
  EXPECT_FALSE(busy);
  EXPECT_EQ(labels.back(), "Inactive");
}

TEST_F(WebcamShotTest, AFullCameraStopsWebcamMode) {
  // A classic camera counts in one byte; an extended one can hold 300.
  StartCamera(1, {}, 300, camsim::Family::extended);
  ASSERT_TRUE(workflow->Start());
  try {
    workflow->TakeNow();
    FAIL();
  } catch (const twebcamerror& e) {
    EXPECT_STREQ(e.what(), "Camera memory is full");
  }
  EXPECT_FALSE(workflow->Running());
  EXPECT_FALSE(busy);
  EXPECT_EQ(labels.back(), "Inactive");
  for (const std::string& c : camera->CommandLog()) EXPECT_NE(c.rfind("DR", 0), 0u) << c;
}

TEST_F(WebcamShotTest, StopDuringThePictureShowsAbortingUntilTheStepEnds) {
  StartCamera(1);
  bool heldWhileStopping = false;
  host.processEvents = [&] {
    if (workflow->Status() != twebcamstatus::fetchingPicture) return;
    workflow->Stop();
    workflow->Stop();  // pressed again: the shot still holds the camera until it ends
    heldWhileStopping = busy && workflow->ShotInProgress();
  };
  workflow = std::make_unique<twebcamworkflow>(*engine, manager, namer, setup, host,
                                               [this] { return now; });
  ASSERT_TRUE(workflow->Start());
  labels.clear();
  workflow->TakeNow();
  const std::vector<std::string> tail(labels.end() - 2, labels.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"Aborting", "Inactive"}));
  EXPECT_TRUE(heldWhileStopping);
  EXPECT_FALSE(busy);
  EXPECT_FALSE(workflow->Running());
  EXPECT_TRUE(fs::exists(dir / "webcam"));  // the step under way was finished
}

TEST_F(WebcamShotTest, AnUnwritableOutputFileDeletesNothing) {
  block.SetOutputFile(dir / "no such folder/webcam");
  StartCamera(1);
  ASSERT_TRUE(workflow->Start());
  EXPECT_THROW(workflow->TakeNow(), twebcamerror);
  EXPECT_EQ(CameraCount(), 2);  // taken and kept
  EXPECT_FALSE(busy);
  EXPECT_EQ(labels.back(), "Inactive");
}

TEST_F(WebcamShotTest, TheQuietPeriodSkipsToTheReset) {
  setup.quietPeriod = true;
  setup.quietFrom = 22 / 24.0;
  setup.quietTo = 6 / 24.0;
  now = At(23, 0);
  StartCamera(1);
  ASSERT_TRUE(workflow->Start());
  statuses.clear();
  workflow->TakeNow();
  EXPECT_EQ(statuses, (std::vector<int>{5, 0}));
  EXPECT_EQ(CameraCount(), 1);
  EXPECT_FALSE(fs::exists(dir / "webcam"));
}

TEST_F(WebcamShotTest, TimedShotsAndTheDailyCounterReset) {
  manager.SetInterval(30);
  setup.dailyFolder = true;
  naming.dailyFolder = true;
  bool timer = false;
  host.timer = [&](bool on) { timer = on; };
  StartCamera(1);
  ASSERT_TRUE(workflow->Start());
  EXPECT_TRUE(timer);
  workflow->Tick();  // due at once
  EXPECT_EQ(block.PictureCounter(), 9999);
  EXPECT_TRUE(timer);
  statuses.clear();
  now = At(12, 0, 20);
  workflow->Tick();
  EXPECT_TRUE(statuses.empty());  // not due yet
  now = At(0, 0, 5, 9);  // a new day: the counter starts again
  workflow->Tick();
  EXPECT_EQ(block.PictureCounter(), 1);
}

TEST_F(WebcamShotTest, UsbShotTakesTheNewestPictureAndEmptiesTheCamera) {
  const std::string drive = dir / "drive";
  fs::create_directories(drive);
  setup.usbAndSerial = true;
  setup.usbRoot = drive;
  host.sleep = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(std::min(ms, 20))); };
  bool usbMode = false;
  host.usbMode = [&](bool on) { usbMode = on; };
  StartCamera(0, drive);
  ASSERT_TRUE(Eventually([&] { return fs::exists(drive + "/DCIM"); }));
  // An older picture the camera kept: the shot must take the new one, not the first listed.
  ASSERT_TRUE(workflow->Start()) << (messages.empty() ? "" : messages.back());
  EXPECT_TRUE(usbMode);
  EXPECT_FALSE(fs::exists(drive + "/DCIM"));  // taken away at Start
  statuses.clear();
  workflow->TakeNow();
  EXPECT_EQ(statuses, (std::vector<int>{1, 3, 4, 5, 0}));
  TJPEGImage jpeg;
  jpeg.LoadFromFile(dir / "webcam");
  EXPECT_GT(jpeg.Width(), 0);
  EXPECT_TRUE(ListCameraPictureFiles(drive + "/DCIM").empty());
  workflow->Stop();
  EXPECT_FALSE(busy);
}

TEST_F(WebcamShotTest, UsbCameraWithPicturesIsEmptiedOnlyWhenTheUserSaysYes) {
  const std::string drive = dir / "drive";
  fs::create_directories(drive);
  setup.usbAndSerial = true;
  setup.usbRoot = drive;
  host.sleep = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(std::min(ms, 20))); };
  bool yes = false;
  host.askYes = [&](const std::string& text) {
    messages.push_back(text);
    return yes;
  };
  StartCamera(2, drive);
  ASSERT_TRUE(Eventually([&] { return ListCameraPictureFiles(drive + "/DCIM").size() == 2; }));
  EXPECT_FALSE(workflow->Start());
  EXPECT_EQ(messages.back(), twebcamworkflow::kNotEmpty);
  EXPECT_EQ(ListCameraPictureFiles(drive + "/DCIM").size(), 2u);
  EXPECT_FALSE(busy);
  yes = true;
  EXPECT_TRUE(workflow->Start());
  EXPECT_TRUE(ListCameraPictureFiles(drive + "/DCIM").empty());
  workflow->Stop();

  // No drive set up and none found: the messages, and no start.
  setup.usbRoot.clear();
  messages.clear();
  EXPECT_FALSE(workflow->Start());
  EXPECT_EQ(messages, (std::vector<std::string>{twebcamworkflow::kConnectBoth,
                                                twebcamworkflow::kCannotFindUsb,
                                                twebcamworkflow::kCannotFindCamera}));
}

}  // namespace
}  // namespace vantlo
