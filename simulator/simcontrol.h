// Control of a running simulated camera from outside its process: a Unix stream socket that
// takes one command line per connection and answers with one line. So a test, a benchmark or a
// person at a shell can unplug the camera of a running vantlo-camsim, plug it in again and take
// pictures with it, while a program talks to it over the pseudo-terminal.
//
// Commands and answers:
//   unplug        "ok"            the camera hears and says nothing
//   plug          "ok"            plugged in again, as after power-up
//   take [N]      "ok K"          N (default 1, at most 1000) new pictures; K taken
//   count         "ok K"          the pictures the camera holds
//   anything else "error unknown command"
#pragma once

#include <string>

#include "simulator/simcamera.h"

namespace vantlo::camsim {

// The answer to one command line (without its newline).
std::string ControlAnswer(SimulatedCamera& camera, const std::string& line);

class SimControl {
 public:
  // Listens on a new socket at `path` (a stale socket file there is replaced). Throws on failure.
  SimControl(SimulatedCamera& camera, std::string path);
  ~SimControl();  // closes the socket and removes its file
  SimControl(const SimControl&) = delete;
  SimControl& operator=(const SimControl&) = delete;

  // The listening descriptor, to poll for a waiting connection.
  int Fd() const { return fd_; }
  // Takes one waiting connection, reads its line (a client gets a second for it), answers and
  // closes it. Returns at once when no connection is waiting.
  void ServeOne();

 private:
  SimulatedCamera& camera_;
  std::string path_;
  int fd_ = -1;
};

// The client side: sends `line` to the control socket at `path` and returns the answer line;
// throws std::runtime_error when the socket cannot be reached.
std::string SendControl(const std::string& path, const std::string& line);

}  // namespace vantlo::camsim
