// `vantlo-cli autocapture` as a program: the serial station on the simulated camera, the card
// station on a temporary card, a disk that fills up, and SIGTERM while it keeps polling.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "programtest.h"

extern char** environ;

namespace vantlo::testing {
namespace {

// AutoCapture names by the prefix "autocap" into dir/pictures, separate JPEGs and CAM files,
// delete after saving; `change` adjusts further.
class AutoCaptureCli : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    fs::create_directories(dir_ / "pictures");
    Store([](tsettingsrecords&) {});
  }
  template <typename F>
  void Store(F change) {
    StoreSettings([&](tsettingsrecords& records) {
      records.config.SetSaveFolder((dir_ / "pictures").string());
      records.autocapture.SetNameByPrefix(true);
      records.autocapture.SetSeparateFiles(true);
      change(records);
    });
  }
  // `limitKib` > 0: files limited to that size, so a write beyond fails part-way as on a full
  // disk.
  Result Cli(const std::string& args, int limitKib = 0) {
    return limitKib > 0 ? CliWithFileLimit(limitKib, args) : ProgramTest::Cli(args);
  }
  std::string Pictures(const std::string& name) { return (dir_ / "pictures" / name).string(); }
};

TEST_F(AutoCaptureCli, TheSerialStationEmptiesTheSimulatedCamera) {
  const Result r = Cli("--simulate autocapture");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("connected\n5 pictures to capture\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("saved " + Pictures("autocap000.cam") + "\n"), std::string::npos);
  EXPECT_NE(r.out.find("1 picture to capture\n"), std::string::npos);
  EXPECT_NE(r.out.find("all captured\n"), std::string::npos);
  EXPECT_NE(r.out.find("5 pictures captured, 5 deleted from the camera"), std::string::npos);
  for (int n = 0; n < 5; ++n) {
    EXPECT_TRUE(fs::exists(Pictures("autocap00" + std::to_string(n) + ".jpg")));
    EXPECT_TRUE(fs::exists(Pictures("autocap00" + std::to_string(n) + ".cam")));
  }
}

TEST_F(AutoCaptureCli, AFullDiskExitsOneWithTheMessage) {
  // Files are cut at 16 KiB: a picture's files do not fit.
  const Result r = Cli("--simulate autocapture", 16);
  EXPECT_EQ(r.status, 1);
  const std::size_t at = r.err.find("Error saving file " + Pictures("autocap00"));
  ASSERT_NE(at, std::string::npos) << r.err;
  EXPECT_NE(r.err.find(" -- AutoCapture Aborted", at), std::string::npos);
  // Nothing torn is left: every file there is complete (no temporary files either).
  for (const auto& e : fs::directory_iterator(dir_ / "pictures"))
    EXPECT_LT(fs::file_size(e.path()), 16u * 1024) << e.path();
}

TEST_F(AutoCaptureCli, TheCardStationCopiesTheCard) {
  const fs::path card = dir_ / "card";
  fs::create_directories(card / "DCIM/100CASIO");
  std::ofstream(card / "DCIM/100CASIO/CIMG0001.JPG") << "one";
  std::ofstream(card / "DCIM/100CASIO/CIMG0002.JPG") << "two";
  Store([](tsettingsrecords& r) { r.autocapture.SetKeepCardNames(true); });
  const Result r = Cli("autocapture --card '" + card.string() + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("saved " + Pictures("cimg0001.jpg")), std::string::npos) << r.out;
  EXPECT_EQ(Slurp(Pictures("cimg0002.jpg")), "two");
  EXPECT_NE(r.out.find("2 files saved, 0 already there, 0 deleted from the card"),
            std::string::npos);
  EXPECT_TRUE(fs::exists(card / "DCIM/100CASIO/CIMG0001.JPG"));  // delete after copying is off
}

TEST_F(AutoCaptureCli, UsageErrors) {
  EXPECT_EQ(Cli("autocapture --source usb").status, 2);
  EXPECT_EQ(Cli("autocapture --source serial --card /tmp").status, 2);
  EXPECT_EQ(Cli("autocapture extra").status, 2);
}

TEST_F(AutoCaptureCli, SigtermStopsAStationThatKeepsPolling) {
  int out[2];
  ASSERT_EQ(::pipe(out), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  std::string program = VANTLO_CLI_PATH;
  std::string a1 = "--simulate", a2 = "autocapture", a3 = "--keep-polling";
  char* argv[] = {program.data(), a1.data(), a2.data(), a3.data(), nullptr};
  pid_t pid = -1;
  ASSERT_EQ(posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  // Reads the events until all pictures are captured; the station then polls for more.
  std::string seen;
  char c = 0;
  while (seen.find("all captured\n") == std::string::npos && ::read(out[0], &c, 1) == 1)
    seen.push_back(c);
  ASSERT_NE(seen.find("all captured\n"), std::string::npos) << seen;
  ::kill(pid, SIGTERM);
  while (::read(out[0], &c, 1) == 1) seen.push_back(c);
  ::close(out[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_NE(seen.find("5 pictures captured, 5 deleted from the camera (stopped)"),
            std::string::npos)
      << seen;
}

}  // namespace
}  // namespace vantlo::testing
