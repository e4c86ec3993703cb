#pragma once

#include <memory>
#include <string>

namespace vantlo {

// The built-in simulated camera of "--simulate": a camera on a
// pseudo-terminal, put behind COM1 for this process only (through the
// VANTLO_COM1 variable, which wins over the port map), so the stored
// settings and the stored port map are left alone.
class tsimulation {
 public:
  // family: "classic", "extended" or "filesystem". Throws with a message
  // when the simulated camera cannot start.
  explicit tsimulation(const std::string& family);
  ~tsimulation();
  tsimulation(const tsimulation&) = delete;
  tsimulation& operator=(const tsimulation&) = delete;

  static constexpr const char* kPort = "COM1:";
  const std::string& DevicePath() const { return device_; }

 private:
  struct tcamera;
  std::unique_ptr<tcamera> camera_;
  std::string device_;
  std::string previousCom1_;
  bool hadCom1_ = false;
};

}  // namespace vantlo
