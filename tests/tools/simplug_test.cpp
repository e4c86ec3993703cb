// The simulated camera unplugged and plugged in while it runs, and taking new pictures on
// request: in process, through its control socket, and as the vantlo-camsim program driven by
// signals and the socket.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>

#include "rawclient.h"
#include "simulator/simcamera.h"
#include "simulator/simcontrol.h"

extern char** environ;

namespace vantlo::testing {
namespace {

namespace fs = std::filesystem;

// The classic camera's picture count, asked over the line ("MP").
int CountOnLine(RawClient& client) {
  const RawClient::Exchange e = client.Command(Cmd("MP"), 1);
  return e.data.size() == 1 ? e.data[0] : -1;
}

std::string SocketPath(const std::string& name) {
  return (fs::temp_directory_path() / (name + std::to_string(::getpid()))).string();
}

TEST(SimulatedCameraPlug, UnpluggedItSaysNothingPluggedInItAnswersWithItsPictures) {
  camsim::Options options;
  options.count = 2;
  camsim::SimulatedCamera camera(options);
  camera.Start();
  RawClient client(camera.DevicePath());
  ASSERT_TRUE(client.Sync());
  EXPECT_TRUE(camera.PluggedIn());

  camera.Unplug();
  EXPECT_FALSE(camera.PluggedIn());
  EXPECT_FALSE(client.Sync());
  EXPECT_EQ(camera.TakePictures(3), 3);  // pictures taken while unplugged stay in the camera
  camera.Plug();
  EXPECT_TRUE(camera.PluggedIn());
  ASSERT_TRUE(client.Sync());
  EXPECT_EQ(CountOnLine(client), 5);
  EXPECT_EQ(camera.PictureCount(), 5);
  camera.Stop();
}

TEST(SimulatedCameraPlug, TheControlSocketAnswersEachCommand) {
  camsim::Options options;
  options.count = 1;
  camsim::SimulatedCamera camera(options);
  camera.Start();
  const std::string path = SocketPath("vantlo-simcontrol-");
  camsim::SimControl control(camera, path);
  std::atomic<bool> done{false};
  std::thread server([&] {
    while (!done) {
      pollfd p{control.Fd(), POLLIN, 0};
      if (::poll(&p, 1, 20) > 0) control.ServeOne();
    }
  });
  EXPECT_EQ(camsim::SendControl(path, "count"), "ok 1");
  EXPECT_EQ(camsim::SendControl(path, "take 2"), "ok 2");
  EXPECT_EQ(camsim::SendControl(path, "take"), "ok 1");
  EXPECT_EQ(camsim::SendControl(path, "count"), "ok 4");
  EXPECT_EQ(camsim::SendControl(path, "take 0"), "error bad count");
  EXPECT_EQ(camsim::SendControl(path, "take 2x"), "error bad count");
  EXPECT_EQ(camsim::SendControl(path, "format the card"), "error unknown command");
  EXPECT_EQ(camsim::SendControl(path, "unplug"), "ok");
  EXPECT_FALSE(camera.PluggedIn());
  EXPECT_EQ(camsim::SendControl(path, "plug"), "ok");
  EXPECT_TRUE(camera.PluggedIn());
  done = true;
  server.join();
  camera.Stop();
  EXPECT_THROW(camsim::SendControl(path + "-none", "count"), std::runtime_error);
}

#ifdef VANTLO_CAMSIM_PATH
// vantlo-camsim as a program: its device path on the first line of its output.
class CamsimProcess {
 public:
  explicit CamsimProcess(const std::string& control) {
    int out[2];
    if (::pipe(out) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string program = VANTLO_CAMSIM_PATH;
    std::string a1 = "--family", a2 = "classic", a3 = "--count", a4 = "1", a5 = "--control";
    std::string a6 = control;
    char* argv[] = {program.data(), a1.data(), a2.data(), a3.data(),
                    a4.data(),      a5.data(), a6.data(), nullptr};
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv, environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    char c = 0;
    while (::read(out[0], &c, 1) == 1 && c != '\n') device_.push_back(c);
    ::close(out[0]);
  }
  ~CamsimProcess() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  pid_t Pid() const { return pid_; }
  const std::string& Device() const { return device_; }

 private:
  pid_t pid_ = -1;
  std::string device_;
};

TEST(SimulatedCameraPlug, TheProgramIsUnpluggedBySignalAndTakesPicturesOnItsSocket) {
  const std::string path = SocketPath("vantlo-camsim-control-");
  CamsimProcess camsim(path);
  ASSERT_GT(camsim.Pid(), 0);
  ASSERT_FALSE(camsim.Device().empty());
  RawClient client(camsim.Device());
  ASSERT_TRUE(client.Sync());

  ::kill(camsim.Pid(), SIGUSR1);
  // The signal is taken by the program's loop; the camera falls silent once it is.
  bool silent = false;
  for (int i = 0; i < 100 && !silent; ++i) silent = !client.Sync();
  EXPECT_TRUE(silent);
  ::kill(camsim.Pid(), SIGUSR2);
  bool back = false;
  for (int i = 0; i < 100 && !back; ++i) back = client.Sync();
  EXPECT_TRUE(back);

  EXPECT_EQ(camsim::SendControl(path, "take 2"), "ok 2");
  EXPECT_EQ(CountOnLine(client), 3);
  EXPECT_EQ(camsim::SendControl(path, "unplug"), "ok");
  EXPECT_FALSE(client.Sync());
  EXPECT_EQ(camsim::SendControl(path, "plug"), "ok");
  EXPECT_TRUE(client.Sync());
}
#endif

}  // namespace
}  // namespace vantlo::testing
