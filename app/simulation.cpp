#include "simulation.h"

#include <cstdlib>
#include <stdexcept>

#include "simulator/simcamera.h"

namespace vantlo {

struct tsimulation::tcamera {
  explicit tcamera(camsim::Options o) : camera(std::move(o)) {}
  camsim::SimulatedCamera camera;
};

tsimulation::tsimulation(const std::string& family) {
  camsim::Options options;
  if (family == "classic")
    options.family = camsim::Family::classic;
  else if (family == "extended")
    options.family = camsim::Family::extended;
  else if (family == "filesystem")
    options.family = camsim::Family::filesystem;
  else
    throw std::invalid_argument("Unknown camera family \"" + family + "\"");
  camera_ = std::make_unique<tcamera>(std::move(options));
  camera_->camera.Start();
  device_ = camera_->camera.DevicePath();
  if (const char* prev = std::getenv("VANTLO_COM1")) {
    hadCom1_ = true;
    previousCom1_ = prev;
  }
  ::setenv("VANTLO_COM1", device_.c_str(), 1);
}

tsimulation::~tsimulation() {
  if (hadCom1_)
    ::setenv("VANTLO_COM1", previousCom1_.c_str(), 1);
  else
    ::unsetenv("VANTLO_COM1");
  if (camera_) camera_->camera.Stop();
}

}  // namespace vantlo
