// The window side of FTP sending: status line and label through the
// window's hooks, the "FTP Progress" window, error boxes, and keeping the
// window alive during blocking calls and dial-up waits.
#pragma once

#include <QPointer>
#include <functional>
#include <string>

#include "internet/ftpsender.h"

class QWidget;

namespace vantlo {

class TFTPprogress;

class tftpwindowview : public tftpview {
 public:
  struct thooks {
    std::function<void(const std::string&)> statusLine;
    std::function<void(const std::string&)> statusLabel;
    std::function<bool()> captureModeRunning;
  };
  tftpwindowview(QWidget* parent, TFTPprogress& progress, thooks hooks);

  void StatusLine(const std::string& text) override;
  void StatusLabel(const std::string& text) override;
  void ShowProgressWindow() override;
  void HideProgressWindow() override;
  void ErrorBox(const std::string& text) override;
  void ProcessEvents() override;
  void Wait(int milliseconds) override;
  bool CaptureModeRunning() const override;

 private:
  QPointer<QWidget> parent_;
  TFTPprogress& progress_;
  thooks hooks_;
};

}  // namespace vantlo
