#pragma once

#include <functional>
#include <memory>
#include <string>

#include "portscan.h"

namespace vantlo {

class tqvProtocolEngine;

// The camera operations the main window's connection tools use. The window
// holds one; it forwards to the single protocol engine (tenginelink) so the
// window code does not depend on the engine's header. Failures are
// exceptions carrying the user's text.
class tcameralink : public tlinkprobe {
 public:
  virtual void SetDesiredSpeed(unsigned char baudIndex) = 0;
  virtual void SetIrdaMode(bool irda) = 0;
  virtual void SetBlockSize(int bytes) = 0;
  virtual void SetLowVoltageThreshold(double volts) = 0;
  virtual void SetOnLowVoltage(std::function<void()> handler) = 0;
  // Engine progress (position, text, picture number). A transfer is never cut from here: Stop
  // ends a command between two items, so camera and engine stay in step.
  virtual void SetOnProgress(std::function<void(int, const std::string&, int)> handler) = 0;
  virtual bool CheckCamera() = 0;
  virtual void PowerOff() = 0;
  virtual void ResetCamera() = 0;
  virtual double GetBatteryVoltage() = 0;
  virtual int GetPictureCount() = 0;
  virtual void SelectPicture(int number) = 0;
  // Device path the COM name maps to (port map, environment first).
  virtual std::string DeviceOf(const std::string& portName) const = 0;
  // The protocol engine behind the link (for the camera thumbnail manager);
  // null for a link without one (a test's stand-in).
  virtual tqvProtocolEngine* Engine() { return nullptr; }

  // Opens the port again when it is closed, so a device plugged in (or a
  // permission granted) since the last attempt is used without a restart.
  virtual void ReopenIfClosed() = 0;
  // Why the port cannot be used: "Port not available" with the port, its
  // device and the system's reason (for a refused permission, the group to
  // join); empty while the port is open.
  virtual std::string PortFailure() const = 0;
};

// The text for a camera failure: a lost connection on a port that could
// not be opened says what is wrong with the port; any other failure keeps
// its own message.
std::string CameraFailureText(const tcameralink& link, const std::string& message);

// "Port not available on COM1: (/dev/ttyUSB0)" and the reason on a line of
// its own.
std::string PortNotAvailableText(const std::string& portName, const std::string& device,
                                 const std::string& reason);

// The engine link for the window: the one protocol engine on `portName`.
std::unique_ptr<tcameralink> MakeEngineLink(const std::string& portName, bool irda);

}  // namespace vantlo
