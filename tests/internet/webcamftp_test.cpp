// Webcam mode sending each shot by FTP to a real pyftpdlib server: the output file arrives as it
// was written, and a refused login ends webcam mode with the server's reason while the picture
// stays in the camera.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/core/naming.h"
#include "app/core/vantlomanager.h"
#include "app/core/webcamworkflow.h"
#include "camera/qv10int.h"
#include "camera/waiter.h"
#include "fakedialup.h"
#include "internet/ftpsender.h"
#include "library/atomicfile.h"
#include "pyftpserver.h"
#include "simulator/simcamera.h"

namespace vantlo {
namespace {

namespace fs = std::filesystem;

struct tquietview : tftpview {
  void StatusLine(const std::string&) override {}
  void StatusLabel(const std::string&) override {}
  void ShowProgressWindow() override {}
  void HideProgressWindow() override {}
  void ErrorBox(const std::string&) override {}
  void ProcessEvents() override {}
  void Wait(int) override {}
  bool CaptureModeRunning() const override { return true; }
};

class WebcamFtp : public ::testing::Test {
 protected:
  WebcamFtp() {
    fs::create_directories(root / "server/web");
    fs::create_directories(root / "out");
    server = std::make_unique<testing::tpyftpserver>((root / "server").string(), "user", "pw");
    camsim::Options options;
    options.count = 1;
    camera = std::make_unique<camsim::SimulatedCamera>(options);
    camera->Start();
    engine = std::make_unique<tqvProtocolEngine>(camera->DevicePath(), 0, false, &waiter);
    naming.outputFolder = (root / "out").string();
    naming.webcamPrefix = "Vantlo";
    block.SetOutputFile("webcam.jpg");
    block.SetSendByFtp(true);
    manager.SetInterval(twebcamsettings::kManual);
    host.sendFile = [this](const std::string& path) {
      const tftpsendresult r = sender.SendPictureByFtp(path, tftpsendkind::Webcam);
      if (r.status == tftpsendresult::Failed) throw std::runtime_error(r.message);
    };
  }
  ~WebcamFtp() override {
    engine.reset();
    camera->Stop();
    std::error_code ec;
    fs::remove_all(root, ec);
  }
  void Settings(const std::string& password) {
    tftpsettings s;
    s.host = server->Host();
    s.user = "user";
    s.password = password;
    s.directory = "/web";
    sender.SetSettings(s);
  }

  fs::path root = fs::temp_directory_path() / ("webcamftp-" + std::to_string(::getpid()));
  std::unique_ptr<testing::tpyftpserver> server;
  std::unique_ptr<camsim::SimulatedCamera> camera;
  trecordingwaiter waiter;
  std::unique_ptr<tqvProtocolEngine> engine;
  tquietview view;
  tftplog log;
  testing::tfakenetwork net;
  tdialupconnector dialup{net.Factory()};
  tftpsender sender{view, log, dialup};
  tnamingsettings naming;
  tfilenamer namer{naming};
  twebcamsettings block;
  tvantlomanager manager{block};
  twebcamsetup setup;
  twebcamhost host;
};

TEST_F(WebcamFtp, EachShotArrivesOnTheServer) {
  Settings("pw");
  twebcamworkflow workflow(*engine, manager, namer, setup, host);
  ASSERT_TRUE(workflow.Start());
  workflow.TakeNow();
  const auto local = ReadWholeFile((root / "out/webcam.jpg").string());
  ASSERT_GT(local.size(), 1000u);
  EXPECT_EQ(ReadWholeFile((root / "server/web/webcam.jpg").string()), local);
  EXPECT_EQ(workflow.Status(), twebcamstatus::waiting);
}

TEST_F(WebcamFtp, ARefusedLoginStopsWebcamMode) {
  Settings("wrong");
  twebcamworkflow workflow(*engine, manager, namer, setup, host);
  ASSERT_TRUE(workflow.Start());
  EXPECT_THROW(workflow.TakeNow(), std::exception);
  EXPECT_FALSE(workflow.Running());
  EXPECT_EQ(workflow.Status(), twebcamstatus::inactive);
  EXPECT_EQ(engine->GetPictureCount(), 2);  // the picture taken is still in the camera
  EXPECT_FALSE(fs::exists(root / "server/web/webcam.jpg"));
}

}  // namespace
}  // namespace vantlo
