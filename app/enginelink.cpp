#include <stdexcept>

#include "camera/porterrors.h"
#include "camera/qv10int.h"
#include "cameralink.h"
#include "portmapio.h"

namespace vantlo {

namespace {

// The engine's texts for a lost connection (camera/qvexceptions.h).
constexpr const char* kNoEngineText =
    "Camera is not connected or communicating properly; check and reset";
constexpr const char* kNotCommunicatingText =
    "Camera is not communicating properly;  check and reset";

// Forwards to the one protocol engine of the program.
class tenginelink : public tcameralink {
 public:
  tenginelink(const std::string& port, bool irda) : engine_(port, 9, irda) {}

  std::string CurrentPortName() const override { return engine_.PortName(); }
  void SelectPort(const std::string& name) override { engine_.SelectPort(name); }
  int TestLink(std::string& firstByte, int& errorCode) override {
    return engine_.TestLink(firstByte, errorCode);
  }
  std::string ErrorText(int code) const override {
    // A refused permission gets the port's own text, which names the device
    // and the group that owns it.
    if (code == kErrorPermission) return engine_.Port().LastErrorText();
    return PortErrorText(code);
  }
  void SetDesiredSpeed(unsigned char b) override { engine_.SetDesiredSpeed(b); }
  void SetIrdaMode(bool irda) override { engine_.SetIrdaMode(irda); }
  void SetBlockSize(int bytes) override { engine_.RequestBlockSize(bytes); }
  void SetLowVoltageThreshold(double v) override { engine_.SetLowVoltageThreshold(v); }
  void SetOnLowVoltage(std::function<void()> h) override {
    if (!h) {
      engine_.OnLowVoltage = nullptr;
      return;
    }
    engine_.OnLowVoltage = [h = std::move(h)](tqvProtocolEngine&) { h(); };
  }
  void SetOnProgress(std::function<void(int, const std::string&, int)> h) override {
    if (!h) {
      engine_.OnProgress = nullptr;
      return;
    }
    engine_.OnProgress = [h = std::move(h)](tqvProtocolEngine&, int pos, const std::string& text,
                                            int pic) {
      h(pos, text, pic);
      return tprogressanswer::carryOn;
    };
  }
  bool CheckCamera() override { return engine_.CheckCamera(); }
  void PowerOff() override { engine_.PowerOff(); }
  void ResetCamera() override { engine_.ResetCamera(); }
  double GetBatteryVoltage() override { return engine_.GetBatteryVoltage(); }
  int GetPictureCount() override { return engine_.GetPictureCount(); }
  void SelectPicture(int n) override { engine_.SelectPicture(n); }
  std::string DeviceOf(const std::string& port) const override {
    return tportmapio::DeviceOf(port);
  }
  tqvProtocolEngine* Engine() override { return &engine_; }
  void ReopenIfClosed() override {
    if (!engine_.Port().IsOpen()) engine_.SelectPort(engine_.PortName());
  }
  std::string PortFailure() const override {
    const tcomport& port = engine_.Port();
    if (port.IsOpen() || port.LastError() == 0) return {};
    return PortNotAvailableText(engine_.PortName(), port.DevicePath(), port.LastErrorText());
  }

 private:
  tqvProtocolEngine engine_;
};

}  // namespace

std::string PortNotAvailableText(const std::string& portName, const std::string& device,
                                 const std::string& reason) {
  std::string text = "Port not available on " + portName;
  if (!device.empty()) text += " (" + device + ")";
  return text + "\n" + reason;
}

std::string CameraFailureText(const tcameralink& link, const std::string& message) {
  if (message != kNoEngineText && message != kNotCommunicatingText) return message;
  const std::string port = link.PortFailure();
  return port.empty() ? message : port;
}

std::unique_ptr<tcameralink> MakeEngineLink(const std::string& portName, bool irda) {
  return std::make_unique<tenginelink>(portName, irda);
}

}  // namespace vantlo
