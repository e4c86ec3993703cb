// The camera's end of a pseudo-terminal: the master side the simulator reads and writes, and a
// slave descriptor it keeps open itself. Holding the slave open means a client that closes and
// reopens the port (the engine does so on every speed change) never makes the master see a
// hang-up or EIO. Kept apart from the protocol code because it is all termios and pty calls.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

namespace vantlo::camsim {

class PtyLine {
 public:
  PtyLine();  // opens the pty; throws std::runtime_error on failure
  ~PtyLine();
  PtyLine(const PtyLine&) = delete;
  PtyLine& operator=(const PtyLine&) = delete;

  const std::string& SlavePath() const { return slavePath_; }

  // Line speed the client has set on its end, in baud (0 if unknown). On Linux the termios of a
  // pty master are those of the slave, so this sees what the client programmed.
  int ClientBaud() const;

  // Waits up to timeoutMs for input; reads what is there (up to max bytes). Returns the count,
  // 0 on time-out.
  size_t Read(uint8_t* buffer, size_t max, int timeoutMs);
  // Writes all bytes unless `abort` becomes true; waits while the client is not reading.
  bool Write(const uint8_t* data, size_t count, const std::atomic<bool>& abort);
  // Throws away everything the client has sent so far.
  void DrainInput();

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string slavePath_;
};

// Baud rate for a termios speed constant and back; 0 / B0 for unknown values.
int BaudFromSpeed(unsigned speed);

}  // namespace vantlo::camsim
