#include "tools/cli/camerasession.h"

#include <atomic>

namespace vantlo::cli {

namespace {

std::atomic<bool> stopRequested{false};

// The block size the main window asks for; the camera sends packets of up to this many bytes.
constexpr std::int32_t kBlockSize = 4096;

camsim::Family FamilyOf(const std::string& name) {
  if (name == "extended") return camsim::Family::extended;
  if (name == "filesystem") return camsim::Family::filesystem;
  return camsim::Family::classic;
}

}  // namespace

CameraSession::CameraSession(CliOptions options) : options_(std::move(options)) {}

CameraSession::~CameraSession() {
  progress_.End();
  // Like the window at close: a camera left at another speed or block size is reset, so the next
  // program (or the next run of this one) finds it at 9600 baud.
  if (engine_ && engine_->Port().IsOpen() &&
      (engine_->CurrentSpeed() != tqvProtocolEngine::kDefaultSpeed ||
       engine_->CameraBlockSize() != 128)) {
    try {
      engine_->ResetCamera();
    } catch (...) {
      // The command's own result stands; a reset that fails leaves nothing worse behind.
    }
  }
  engine_.reset();  // closes the port before the simulated camera goes away
  if (simulator_) simulator_->Stop();
}

void CameraSession::RequestStop() { stopRequested = true; }

bool CameraSession::StopRequested() { return stopRequested; }

tqvProtocolEngine& CameraSession::EngineUnchecked() {
  if (engine_) return *engine_;
  std::string port = options_.port;
  if (options_.simulate) {
    camsim::Options sim;
    sim.family = FamilyOf(options_.family);
    simulator_ = std::make_unique<camsim::SimulatedCamera>(sim);
    simulator_->Start();
    port = simulator_->DevicePath();
  }
  engine_ = std::make_unique<tqvProtocolEngine>(port, 0, options_.irda);
  engine_->SetDesiredSpeed(options_.speedIndex);
  if (!options_.knownFamily.empty()) {
    engine_->SetKnownFamily(options_.knownFamily == "classic" ? kCameraClassic : kCameraExtended,
                            options_.knownFamily == "filesystem");
  }
  engine_->RequestBlockSize(kBlockSize);
  engine_->OnProgress = [this](tqvProtocolEngine&, int position, const std::string&, int) {
    progress_.Report(position);
    return stopRequested ? tprogressanswer::stop : tprogressanswer::carryOn;
  };
  return *engine_;
}

tqvProtocolEngine& CameraSession::Engine() {
  tqvProtocolEngine& engine = EngineUnchecked();
  if (!engine.Port().IsOpen()) throw PortError(engine.Port().LastErrorText());
  return engine;
}

std::string CameraSession::FamilyName() {
  tqvProtocolEngine& engine = Engine();
  int type = engine.GetCameraType();
  if (type == kCameraUnknown) throw tqvnotconnected();
  if (type == kCameraClassic) return "classic";
  // A file-system camera is taken into its first picture folder by the engine when files are
  // first listed or fetched.
  return engine.HasFileSystem() ? "filesystem" : "extended";
}

}  // namespace vantlo::cli
