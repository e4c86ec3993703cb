// What the FTP sending code shows when vantlo-cli sends: error boxes become lines on stderr, and
// waits are plain sleeps. `captureMode`: AutoCapture runs (the idle status reads "Vantlo Active").
#pragma once

#include <chrono>
#include <ostream>
#include <string>
#include <thread>

#include "internet/ftpsender.h"

namespace vantlo::cli {

class tcliftpview : public tftpview {
 public:
  explicit tcliftpview(std::ostream& err, bool captureMode = false)
      : err_(err), captureMode_(captureMode) {}
  void StatusLine(const std::string&) override {}
  void StatusLabel(const std::string&) override {}
  void ShowProgressWindow() override {}
  void HideProgressWindow() override {}
  void ErrorBox(const std::string& text) override { err_ << text << "\n"; }
  void ProcessEvents() override {}
  void Wait(int milliseconds) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
  bool CaptureModeRunning() const override { return captureMode_; }

 private:
  std::ostream& err_;
  bool captureMode_;
};

}  // namespace vantlo::cli
