#include "app/ui/ftpwindowview.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QTimer>

#include "app/ui/ftpprogress.h"

namespace vantlo {

tftpwindowview::tftpwindowview(QWidget* parent, TFTPprogress& progress, thooks hooks)
    : parent_(parent), progress_(progress), hooks_(std::move(hooks)) {}

void tftpwindowview::StatusLine(const std::string& text) {
  if (hooks_.statusLine) hooks_.statusLine(text);
}

void tftpwindowview::StatusLabel(const std::string& text) {
  if (hooks_.statusLabel) hooks_.statusLabel(text);
}

void tftpwindowview::ShowProgressWindow() {
  progress_.show();
  progress_.raise();
}

void tftpwindowview::HideProgressWindow() { progress_.hide(); }

void tftpwindowview::ErrorBox(const std::string& text) {
  QMessageBox::critical(parent_, "Vantlo", QString::fromStdString(text));
}

void tftpwindowview::ProcessEvents() { QCoreApplication::processEvents(); }

void tftpwindowview::Wait(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

bool tftpwindowview::CaptureModeRunning() const {
  return hooks_.captureModeRunning && hooks_.captureModeRunning();
}

}  // namespace vantlo
