// The camera a vantlo-cli command talks to: the protocol engine on the chosen port, or on a
// simulated camera started in this process with --simulate. The engine is made on first use, so
// commands can check their arguments before any camera traffic.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "camera/qv10int.h"
#include "simulator/simcamera.h"
#include "tools/cli/cliargs.h"
#include "tools/cli/progressbar.h"

namespace vantlo::cli {

// The port could not be opened; carries the connection text ("Already Open", ...).
class PortError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class CameraSession {
 public:
  explicit CameraSession(CliOptions options);
  ~CameraSession();

  // The engine with the port open; throws PortError when it is not.
  tqvProtocolEngine& Engine();
  // The engine whatever the port's state (the link test reports that state itself).
  tqvProtocolEngine& EngineUnchecked();
  ProgressBar& Progress() { return progress_; }
  // "classic", "extended" or "filesystem" (asks the camera).
  std::string FamilyName();
  // Set from the SIGINT handler: the running transfer stops at its next packet.
  static void RequestStop();
  // True once Ctrl-C was pressed.
  static bool StopRequested();

 private:
  CliOptions options_;
  ProgressBar progress_;
  std::unique_ptr<camsim::SimulatedCamera> simulator_;  // outlives the engine
  std::unique_ptr<tqvProtocolEngine> engine_;
};

}  // namespace vantlo::cli
