// A pseudo-terminal pair for tests: the test plays the far end on the master
// while the code under test opens the slave path like a serial device. The
// pair keeps a slave descriptor of its own open, so the port may close and
// reopen (as it does on every speed change) without the master seeing a
// hang-up.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vantlo::test {

class tptypair {
 public:
  tptypair();
  ~tptypair();
  tptypair(const tptypair&) = delete;
  tptypair& operator=(const tptypair&) = delete;

  int Master() const { return master_; }
  const std::string& SlavePath() const { return slavePath_; }
  // Output speed the line is set to (termios of the pair, as the port set it).
  unsigned OutputSpeedConstant() const;
  // Any rate, standard or custom.
  unsigned LineRate() const;

  void Write(const std::vector<std::uint8_t>& bytes);
  // Reads until `count` bytes arrived or `timeoutMs` passed.
  std::vector<std::uint8_t> Read(std::size_t count, int timeoutMs);
  // Reads everything that arrives within `quietMs` of silence.
  std::vector<std::uint8_t> Drain(int quietMs);

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string slavePath_;
};

}  // namespace vantlo::test
