// `vantlo-cli webcam` as a program: shots as fast as possible into the output file with the
// counter stored afterwards, a schedule file that cannot be read, usage errors, and SIGTERM
// while the station waits for its next shot.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "programtest.h"

extern char** environ;

namespace vantlo::testing {
namespace {

class WebcamCli : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    fs::create_directories(dir_ / "web");
    StoreSettings([this](tsettingsrecords& records) {
      records.config.SetSaveFolder((dir_ / "web").string());
      twebcamsettings block = records.config.WebcamSettings();
      block.SetPictureCounter(7);
      records.config.SetWebcamSettings(block);
    });
  }
  std::string Web(const std::string& name) { return (dir_ / "web" / name).string(); }
};

TEST_F(WebcamCli, FastShotsReplaceTheOutputFileAndAdvanceTheCounter) {
  const Result r = Cli("--simulate webcam --fast --shots 2 --output webcam --no-pauses");
  ASSERT_EQ(r.status, 0) << r.err << r.out;
  EXPECT_NE(r.out.find("webcam: Taking picture #7\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("webcam: Taking picture #8\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("webcam: wrote " + Web("webcam") + "\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("webcam: 2 shots"), std::string::npos) << r.out;
  const std::string jpeg = Slurp(Web("webcam"));
  ASSERT_GT(jpeg.size(), 2u);
  EXPECT_EQ(static_cast<unsigned char>(jpeg[0]), 0xFF);
  EXPECT_EQ(static_cast<unsigned char>(jpeg[1]), 0xD8);
  EXPECT_FALSE(fs::exists(Web("webcam_")));
  // The counter is stored: the next run goes on from it.
  tregconfig store((dir_ / "config").string());
  tsettingsrecords records;
  store.ReadAll(records);
  EXPECT_EQ(records.config.WebcamSettings().PictureCounter(), 9);
}

TEST_F(WebcamCli, ScheduleAndUsageErrors) {
  std::ofstream(dir_ / "bad.sch") << "08:00\nlunch\n";
  const Result bad = Cli("--simulate webcam --schedule '" + (dir_ / "bad.sch").string() + "'");
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.err.find("Error in Schedule File : "), std::string::npos) << bad.err;
  EXPECT_NE(bad.err.find("line 2"), std::string::npos) << bad.err;
  EXPECT_EQ(Cli("webcam --every abc").status, 2);
  EXPECT_EQ(Cli("webcam --every 0").status, 2);
  EXPECT_EQ(Cli("webcam --fast --every 5").status, 2);
  EXPECT_EQ(Cli("webcam --shots").status, 2);
  EXPECT_EQ(Cli("webcam extra").status, 2);
}

TEST_F(WebcamCli, SigtermStopsAWaitingStation) {
  int out[2];
  ASSERT_EQ(::pipe(out), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  std::string program = VANTLO_CLI_PATH;
  std::string a1 = "--simulate", a2 = "webcam", a3 = "--every", a4 = "3600", a5 = "--no-pauses";
  char* argv[] = {program.data(), a1.data(), a2.data(), a3.data(), a4.data(), a5.data(), nullptr};
  pid_t pid = -1;
  ASSERT_EQ(posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  // The first shot is at once; then the station waits an hour for the next.
  std::string seen;
  char c = 0;
  auto twice = [&seen] {
    const auto first = seen.find("webcam: Waiting\n");
    return first != std::string::npos && seen.find("webcam: Waiting\n", first + 1) != std::string::npos;
  };
  while (!twice() && ::read(out[0], &c, 1) == 1) seen.push_back(c);
  ASSERT_TRUE(twice()) << seen;
  ::kill(pid, SIGTERM);
  while (::read(out[0], &c, 1) == 1) seen.push_back(c);
  ::close(out[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_NE(seen.find("webcam: Inactive\n"), std::string::npos) << seen;
  EXPECT_NE(seen.find("webcam: 1 shot (stopped)"), std::string::npos) << seen;
}

}  // namespace
}  // namespace vantlo::testing
