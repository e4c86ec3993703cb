#pragma once

#include <string>

namespace vantlo {

// The two engine operations the connection wizard needs; the window hands
// the real engine in through an adapter, tests may hand a fake.
class tlinkprobe {
 public:
  virtual ~tlinkprobe() = default;
  virtual std::string CurrentPortName() const = 0;
  virtual void SelectPort(const std::string& name) = 0;
  // TestLink status 1..8; out: first byte received as text, system error code.
  virtual int TestLink(std::string& firstByte, int& errorCode) = 0;
  // Text for a port error code ("Port not found (2)", "Already Open", ...).
  virtual std::string ErrorText(int errorCode) const = 0;
};

// Text for a TestLink status: 1 "Camera Connected" .. 8 "Reset error".
std::string TestLinkStatusText(int status);

// Row updates of the wizard window while it scans.
class tportscanview {
 public:
  virtual ~tportscanview() = default;
  virtual void RowTesting(int row) = 0;
  virtual void RowResult(int row, int status, const std::string& statusText,
                         const std::string& errorText) = 0;
  virtual void CameraFound(int row, const std::string& portName) = 0;
  // Processes pending window messages between two ports (Cancel may be pressed).
  virtual void Pump() = 0;
};

// Scans "COM1:".."COM8:" in order for a camera and remembers the port the
// engine had before, to restore it on cancel.
class tportscan {
 public:
  static constexpr const char* kNotFound = "not found";

  explicit tportscan(tlinkprobe& probe) : probe_(probe) {}

  void Prepare();
  // Returns true when a camera answered; stops at the first one.
  bool TestAllPorts(tportscanview& view);
  void Cancel() { cancelled_ = true; }
  bool Cancelled() const { return cancelled_; }
  const std::string& DetectedPort() const { return detected_; }
  const std::string& RememberedPort() const { return remembered_; }
  // OK: the engine is put on the detected port; cancel: back on the remembered one.
  void Finish(bool useDetected);

 private:
  tlinkprobe& probe_;
  std::string remembered_;
  std::string detected_ = kNotFound;
  bool cancelled_ = false;
};

}  // namespace vantlo
