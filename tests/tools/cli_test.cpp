// vantlo-cli and vantlo-camsim as programs: exit codes, messages and files.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "camera/comport.h"
#include "library/records.h"
#include "library/regconfig.h"
#include "picture/jpegimage.h"
#include "picture/pipeline.h"
#include "programtest.h"
#include "simulator/simcamera.h"

namespace vantlo::testing {
namespace {

namespace fs = std::filesystem;

TEST_F(ProgramTest, UsageErrorsExitTwo) {
  EXPECT_EQ(Cli("").status, 2);
  EXPECT_EQ(Cli("frobnicate").status, 2);
  EXPECT_EQ(Cli("--speed 1234 info").status, 2);
  EXPECT_EQ(Cli("--simulate=polaroid info").status, 2);
  EXPECT_EQ(Cli("--simulate fetch one -o x").status, 2);
  EXPECT_EQ(Cli("--simulate fetch 1").status, 2);
  EXPECT_EQ(Cli("--simulate delete").status, 2);
  Result r = Cli("--simulate info extra");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("usage:"), std::string::npos);
  EXPECT_EQ(Run(VANTLO_CAMSIM_PATH, "--family polaroid").status, 2);
  EXPECT_EQ(Run(VANTLO_CAMSIM_PATH, "").status, 2);
}

TEST_F(ProgramTest, InfoAndIllegalPictureNumber) {
  Result info = Cli("--simulate=classic info");
  EXPECT_EQ(info.status, 0) << info.err;
  EXPECT_NE(info.out.find("family: classic"), std::string::npos);
  EXPECT_NE(info.out.find("file system: no"), std::string::npos);
  EXPECT_NE(info.out.find("pictures: 5"), std::string::npos);
  Result bad = Cli("--simulate fetch 999 -o '" + (dir_ / "x").string() + "'");
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.err, "Illegal Picture Number\n");
  EXPECT_FALSE(fs::exists(dir_ / "x")) << "nothing saved for a failed fetch";
}

TEST_F(ProgramTest, FetchAllFromAFileSystemCameraKeepsJpegAndAviBytes) {
  StoreSettings([](tsettingsrecords& r) {
    r.config.SetSaveJpeg(true);
    r.config.SetSaveCam(false);
  });
  Result r = Cli("--simulate=filesystem fetch-all '" + (dir_ / "pics").string() + "'");
  EXPECT_EQ(r.status, 0) << r.err;
  // Generated names; a camera JPEG nothing changes and a movie are kept byte for byte.
  Result first = Cli("--simulate=filesystem fetch 1 -o '" + (dir_ / "p1").string() + "'");
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(Slurp(dir_ / "pics" / "shot001.jpg"), Slurp(dir_ / "p1"));
  EXPECT_FALSE(fs::exists(dir_ / "pics" / "shot001.cam"));
  EXPECT_FALSE(fs::exists(dir_ / "pics" / "shot004.jpg"));
  // A single fetch enters the picture folder too, and reports a movie as an AVI file.
  Result one = Cli("--simulate=filesystem fetch 4 -o '" + (dir_ / "m.avi").string() + "'");
  EXPECT_EQ(one.status, 0) << one.err;
  EXPECT_NE(one.out.find("kind: 6 (AVI file)"), std::string::npos);
  EXPECT_EQ(Slurp(dir_ / "m.avi").substr(0, 4), "RIFF");
  EXPECT_EQ(Slurp(dir_ / "pics" / "shot004.avi"), Slurp(dir_ / "m.avi"));
  Result del = Cli("--simulate=filesystem delete 1");
  EXPECT_EQ(del.status, 1);
  EXPECT_NE(del.err.find("not possible to delete"), std::string::npos);
}

TEST_F(ProgramTest, FetchAllJpgAndCamWritesDecodablePicturesAndHeadlessSkipsTakenNames) {
  StoreSettings([](tsettingsrecords& r) {
    r.config.SetSaveJpeg(false);  // --jpg and --cam win over the stored choice
    r.config.SetSaveCam(false);
  });
  const fs::path out = dir_ / "saved";
  Result r = Cli("--simulate=classic fetch-all '" + out.string() + "' --jpg --cam");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("10 files saved, 0 skipped"), std::string::npos) << r.out;
  tpicturepipeline pipeline;
  for (int n = 1; n <= 5; ++n) {
    const std::string stem = (out / ("shot00" + std::to_string(n))).string();
    TJPEGImage jpeg;
    ASSERT_NO_THROW(jpeg.LoadFromFile(stem + ".jpg")) << n;
    // Pictures 2 and 5 are fine pictures (640 x 480), the others normal ones (shown 320 x 240).
    const bool fine = n == 2 || n == 5;
    EXPECT_EQ(jpeg.Width(), fine ? 640 : 320) << n;
    EXPECT_EQ(jpeg.Height(), fine ? 480 : 240) << n;
    const std::string camBytes = Slurp(stem + ".cam");
    TJPEGImage cam;
    ASSERT_NO_THROW(pipeline.LoadCamFile(
        std::span(reinterpret_cast<const std::uint8_t*>(camBytes.data()), camBytes.size()), cam))
        << n;
    EXPECT_EQ(cam.Width(), fine ? 640 : 320) << n;
  }
  // Again, with no terminal to ask: every taken name is skipped and reported, nothing replaced.
  const std::string before = Slurp(out / "shot003.jpg");
  Result again = Cli("--simulate=classic fetch-all '" + out.string() + "' --jpg --cam");
  EXPECT_EQ(again.status, 0) << again.err;
  EXPECT_NE(again.out.find("skipped " + (out / "shot003.cam").string()), std::string::npos);
  EXPECT_NE(again.out.find("0 files saved, 10 skipped"), std::string::npos) << again.out;
  EXPECT_EQ(Slurp(out / "shot003.jpg"), before);
}

TEST_F(ProgramTest, FetchAllFollowsTheStoredChoiceAndOrientation) {
  StoreSettings([](tsettingsrecords& r) {
    r.config.SetSaveJpeg(true);
    r.config.SetSaveCam(false);
    r.ftp.SetOrientation(torientation::Clockwise);
  });
  const fs::path out = dir_ / "saved";
  Result r = Cli("--simulate=classic fetch-all '" + out.string() + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  TJPEGImage jpeg;
  jpeg.LoadFromFile(out / "shot001.jpg");
  EXPECT_EQ(jpeg.Width(), 240);
  EXPECT_EQ(jpeg.Height(), 320);
  jpeg.LoadFromFile(out / "shot002.jpg");  // a fine picture
  EXPECT_EQ(jpeg.Width(), 480);
  EXPECT_EQ(jpeg.Height(), 640);
  EXPECT_FALSE(fs::exists(out / "shot002.cam"));
}

TEST_F(ProgramTest, FetchOneWithJpgOrCam) {
  StoreSettings([](tsettingsrecords&) {});
  Result jpg = Cli("--simulate fetch 2 -o '" + (dir_ / "two.jpeg").string() + "' --jpg");
  ASSERT_EQ(jpg.status, 0) << jpg.err;
  TJPEGImage picture;
  picture.LoadFromFile(dir_ / "two.jpeg");
  EXPECT_EQ(picture.Width(), 640);  // picture 2 is a fine picture
  Result both = Cli("--simulate fetch --cam 3 --jpg -o '" + (dir_ / "three").string() + "'");
  ASSERT_EQ(both.status, 0) << both.err;
  EXPECT_TRUE(fs::exists(dir_ / "three.jpg"));
  const std::string cam = Slurp(dir_ / "three.cam");
  tpicturepipeline pipeline;
  TJPEGImage fromCam;
  EXPECT_NO_THROW(pipeline.LoadCamFile(
      std::span(reinterpret_cast<const std::uint8_t*>(cam.data()), cam.size()), fromCam));
  // Only the named files: no generated names, no daily folder.
  int files = 0;
  for (const auto& e : fs::directory_iterator(dir_)) files += e.is_regular_file() ? 1 : 0;
  EXPECT_EQ(files, 5);  // out, err, two.jpeg, three.jpg, three.cam
  // A movie is written as fetched, under the given name only.
  Result movie = Cli("--simulate=filesystem fetch 4 --jpg -o '" + (dir_ / "movie").string() + "'");
  ASSERT_EQ(movie.status, 0) << movie.err;
  EXPECT_EQ(Slurp(dir_ / "movie").substr(0, 4), "RIFF");
  files = 0;
  for (const auto& e : fs::directory_iterator(dir_)) files += e.is_regular_file() ? 1 : 0;
  EXPECT_EQ(files, 6);
  EXPECT_EQ(Cli("--simulate fetch 9 -o '" + (dir_ / "x").string() + "' --cam").status, 1);
  EXPECT_FALSE(fs::exists(dir_ / "x"));
}

TEST_F(ProgramTest, SecondProgramOnTheSamePortGetsAlreadyOpen) {
  camsim::SimulatedCamera cam(camsim::Options{});
  cam.Start();
  tcommparams params;
  params.PortName = cam.DevicePath();
  tcomport holder(params);
  holder.Open();
  ASSERT_TRUE(holder.IsOpen());
  Result r = Cli("--port '" + cam.DevicePath() + "' info");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Already Open\n");
  holder.Close();
  Result ok = Cli("--port '" + cam.DevicePath() + "' --speed 115200 fetch 2 -o '" +
                  (dir_ / "p2").string() + "'");
  EXPECT_EQ(ok.status, 0) << ok.err;
  EXPECT_NE(ok.out.find("kind: 2 (Fine Mode)"), std::string::npos);
  // The camera takes the reset once it has the tool's last ACK; wait for that.
  for (int i = 0; i < 200 && cam.BaudRate() != 9600; ++i) usleep(10000);
  EXPECT_EQ(cam.BaudRate(), 9600) << "the tool resets the camera when it ends";
}

// A broken camera: every run ends with exit 1 and a message, and leaves no file behind that it
// claims to have written (nor a short, long or empty one).
TEST_F(ProgramTest, AHostileCameraFailsTheRunAndLeavesNoFile) {
  using TransferFault = camsim::Faults::TransferFault;
  struct tcase {
    const char* name;
    camsim::Family family;
    camsim::Faults faults;
    std::string command;  // "thumbs", "fetch" or "fetch --jpg"
  };
  camsim::Faults garbage, endless, longer, empty, missing;
  garbage.garbageAnswers = true;
  endless.endlessStream = true;
  longer.transferFault = TransferFault::lastPacketLonger;
  empty.transferFault = TransferFault::endsAtOnce;
  missing.transferFault = TransferFault::packetMissing;
  const tcase cases[] = {
      {"garbage", camsim::Family::classic, garbage, "thumbs"},
      {"endless stream", camsim::Family::classic, endless, "thumbs"},
      {"last packet longer", camsim::Family::classic, longer, "thumbs"},
      {"missing packet", camsim::Family::extended, missing, "thumbs"},
      {"empty transfer", camsim::Family::classic, empty, "fetch"},
      {"missing packet", camsim::Family::classic, missing, "fetch"},
      {"missing packet", camsim::Family::extended, missing, "fetch --jpg"},
  };
  StoreSettings([](tsettingsrecords&) {});
  for (const tcase& c : cases) {
    SCOPED_TRACE(std::string(c.name) + ", " + c.command);
    camsim::Options options;
    options.family = c.family;
    options.faults = c.faults;
    camsim::SimulatedCamera camera(options);
    camera.Start();
    const fs::path out = dir_ / "out-files";
    fs::remove_all(out);
    fs::create_directories(out);
    const std::string port = "--port '" + camera.DevicePath() + "' --speed 115200 ";
    Result r;
    if (c.command == "thumbs") {
      r = Cli(port + "thumbs '" + out.string() + "'");
    } else {
      r = Cli(port + "fetch 2 -o '" + (out / "p").string() + "'" +
              (c.command == "fetch --jpg" ? " --jpg" : ""));
    }
    camera.Stop();
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_FALSE(r.err.empty());
    EXPECT_TRUE(fs::is_empty(out)) << r.out;
  }
}

TEST_F(ProgramTest, AFailedWriteSaysWhyAndLeavesTheFileThatWasThere) {
  const fs::path pictures = dir_ / "pictures";
  fs::create_directories(pictures);
  std::ofstream(pictures / "p1") << "old";
  Result fetch = CliWithFileLimit(2, "--simulate fetch 1 -o '" + (pictures / "p1").string() + "'");
  EXPECT_EQ(fetch.status, 1);
  EXPECT_NE(
      fetch.err.find("Cannot write " + (pictures / "p1").string() + ": " + std::strerror(EFBIG)),
      std::string::npos)
      << fetch.err;
  EXPECT_EQ(Slurp(pictures / "p1"), "old");
  EXPECT_EQ(Names(pictures), std::vector<std::string>{"p1"});

  const fs::path thumbs = dir_ / "thumbs";
  Result all = CliWithFileLimit(2, "--simulate thumbs '" + thumbs.string() + "'");
  EXPECT_EQ(all.status, 1);
  EXPECT_NE(all.err.find(std::strerror(EFBIG)), std::string::npos) << all.err;
  EXPECT_TRUE(fs::is_empty(thumbs)) << "no cut thumbnail left";
  // Without the limit the same commands write whole files.
  ASSERT_EQ(Cli("--simulate thumbs '" + thumbs.string() + "'").status, 0);
  EXPECT_EQ(fs::file_size(thumbs / "thumb001.raw"), 2808u);
}

TEST_F(ProgramTest, AKnownFamilySkipsTheProbe) {
  auto probes = [](const camsim::SimulatedCamera& camera) {
    const auto log = camera.CommandLog();
    return std::count_if(log.begin(), log.end(),
                         [](const std::string& c) { return c.rfind("XC", 0) == 0; });
  };
  for (const char* family : {"classic", "extended", "filesystem"}) {
    SCOPED_TRACE(family);
    camsim::Options options;
    options.family = std::string(family) == "classic"    ? camsim::Family::classic
                     : std::string(family) == "extended" ? camsim::Family::extended
                                                         : camsim::Family::filesystem;
    camsim::SimulatedCamera camera(options);
    camera.Start();
    const std::string port = "--port '" + camera.DevicePath() + "' ";
    Result known = Cli(port + "--family " + family + " info");
    EXPECT_EQ(known.status, 0) << known.err;
    EXPECT_NE(known.out.find(std::string("family: ") + family), std::string::npos);
    EXPECT_EQ(probes(camera), 0);
    Result probed = Cli(port + "info");  // without it the camera is identified as before
    EXPECT_EQ(probed.status, 0) << probed.err;
    EXPECT_NE(probed.out.find(std::string("family: ") + family), std::string::npos);
    EXPECT_EQ(probes(camera), 1);
    camera.Stop();
  }
  EXPECT_EQ(Cli("--family polaroid info").status, 2);
  Result simulated = Cli("--simulate --family extended info");
  EXPECT_NE(simulated.out.find("family: extended"), std::string::npos) << simulated.err;
}

// The camera goes off after the second picture of a fetch-all: the third is reported as a lost
// camera, and nothing after it is fetched from a state the camera no longer has.
TEST_F(ProgramTest, ACameraSwitchedOffDuringAFetchAllIsReported) {
  StoreSettings([](tsettingsrecords& r) {
    r.config.SetSaveJpeg(true);
    r.config.SetSaveCam(false);
  });
  camsim::Options options;
  options.faults.switchOffAfterTransfers = 2;
  camsim::SimulatedCamera camera(options);
  camera.Start();
  const fs::path out = dir_ / "all";
  Result r = Cli("--port '" + camera.DevicePath() +
                 "' --speed 115200 --family classic fetch-all '" + out.string() + "'");
  camera.Stop();
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("fetched 2 of 5 pictures: 2 files saved, 0 skipped, 1 failed"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.err.find("Camera is not connected or communicating properly; check and reset"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(Names(out), (std::vector<std::string>{"shot001.jpg", "shot002.jpg"}));
}

TEST_F(ProgramTest, APortThatIsNoSerialPortSaysWhatTheSystemSays) {
  Result r = Cli("--port /dev/null info");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, std::string(std::strerror(ENOTTY)) + "\n");
}

TEST_F(ProgramTest, CamsimPrintsItsDevicePathFirstAndRemovesItsLink) {
  fs::path link = dir_ / "cam";
  int out[2];
  ASSERT_EQ(pipe(out), 0);
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    dup2(out[1], STDOUT_FILENO);
    close(out[0]);
    close(out[1]);
    execl(VANTLO_CAMSIM_PATH, "vantlo-camsim", "--family", "extended", "--link", link.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  std::string device;
  char ch;
  while (read(out[0], &ch, 1) == 1 && ch != '\n') device.push_back(ch);
  EXPECT_TRUE(fs::exists(device)) << device;
  EXPECT_EQ(fs::read_symlink(link), device);
  Result r = Cli("--port '" + link.string() + "' info");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("family: extended"), std::string::npos);
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
  close(out[0]);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

}  // namespace
}  // namespace vantlo::testing
