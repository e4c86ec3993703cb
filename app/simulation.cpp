#include "simulation.h"

#include <cstdlib>
#include <stdexcept>

#if defined(VANTLO_HAVE_CAMSIM) && __has_include("simulator/simcamera.h")
#define VANTLO_SIMULATION 1
#include "simulator/simcamera.h"
#elif defined(VANTLO_HAVE_CAMSIM) && __has_include("camsim/simcamera.h")
#define VANTLO_SIMULATION 1
#include "camsim/simcamera.h"
#endif

namespace vantlo {

#ifdef VANTLO_SIMULATION
struct tsimulation::tcamera {
  explicit tcamera(camsim::Options o) : camera(std::move(o)) {}
  camsim::SimulatedCamera camera;
};
#else
struct tsimulation::tcamera {};
#endif

tsimulation::tsimulation(const std::string& family) {
#ifdef VANTLO_SIMULATION
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
#else
  (void)family;
  throw std::runtime_error("The simulated camera is not built into this program");
#endif
}

tsimulation::~tsimulation() {
#ifdef VANTLO_SIMULATION
  if (hadCom1_)
    ::setenv("VANTLO_COM1", previousCom1_.c_str(), 1);
  else
    ::unsetenv("VANTLO_COM1");
  if (camera_) camera_->camera.Stop();
#endif
}

}  // namespace vantlo
