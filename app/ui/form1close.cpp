// TForm1: closing. FormCloseQuery decides whether the window may close;
// FormClose runs the close sequence with the window's own steps.
#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <cstdio>

#include "app/closesequence.h"
#include "app/core/printcommand.h"
#include "app/core/thumbmanager.h"
#include "form1.h"
#include "internetfeatures.h"
#include "output/acprinter.h"

namespace vantlo {

// The window's side of the close: each step of tclosesequence.
class TForm1::tclosehostimpl : public tclosehost {
 public:
  explicit tclosehostimpl(TForm1& f) : f_(f) { clock_.start(); }

  void StopDiskThumbnails() override {}
  void FreeDialUp() override {
    // A connection this program dialled and could not hang up after its upload goes now;
    // one it found up is left alone.
    if (!f_.internet_) return;
    try {
      if (f_.internet_->DialUp().DialledByUs()) f_.internet_->DialUp().HangUp();
    } catch (...) {
    }
    f_.internet_.reset();
  }
  bool PumpWhileLoopsRun() override {
    // The loops end at their next item; a loop that never does must not
    // keep the program from closing for ever.
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QThread::msleep(5);
    return clock_.elapsed() < 60000;
  }
  void SaveWebcamSettings() override {
    twebcamsettings block = f_.webcamBlock_;
    block.SetActive(false);
    f_.settings_.config.SetWebcamSettings(block);
  }
  void CollectSettings() override {
    f_.ReadControlsIntoSettings();
    twindowstate state = twindowstate::Normal;
    if (f_.isMinimized())
      state = twindowstate::Minimized;
    else if (f_.isMaximized())
      state = twindowstate::Maximized;
    f_.settings_.ftp.SetWindowState(state);
    f_.settings_.config.SetStartPage(f_.PageNumber());
    f_.settings_.config.SetLastExit(tdatetime::Now());
    f_.settings_.diskman.SetZoomMode(f_.zoom_);
  }
  void WriteRecord(const std::string& name) override {
    if (!f_.store_) throw std::runtime_error("settings store not open");
    f_.store_->Write(name, f_.settings_);
  }
  void HandlePrinterBuffer() override {
    tacprinter& printer = *f_.printer_;
    if (!tprintcommand::NeedsCloseQuestion(printer)) return;
    // Closing on a signal asks nobody: the pending page is dropped rather than printed unasked.
    bool printNow = false;
    if (!f_.quietClose_)
      printNow = QMessageBox::question(&f_, "Vantlo", kPrinterBufferQuestion,
                                       QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    try {
      tprintcommand::AnswerCloseQuestion(printer, printNow);
    } catch (const std::exception& e) {
      // The page could not be sent: say so, and drop it so the printer is free to go.
      if (!f_.quietClose_) QMessageBox::critical(&f_, "Vantlo", QString::fromStdString(e.what()));
      printer.AbortJob();
    }
  }
  void RemoveOutputFolder() override { f_.createdFolders_.RemoveEmpty(); }
  void FreePrinter() override {
    // The printer and its device stay for the pages until the window goes; nothing is left
    // pending in them.
    f_.printer_->AbortJob();
  }
  void ShowClosingStatus(const std::string& text) override {
    f_.Label1->setText(QString::fromStdString(text));
    f_.Label1->repaint();
  }
  bool CameraOnUsbPath() override {
    return f_.settings_.autocapture.UsbSource() || f_.settings_.capdata.UsbAndSerial();
  }
  void ResetCamera() override {
    if (f_.link_) f_.link_->ResetCamera();
  }
  void FreeEngine() override {
    for (twindowpage* page : f_.pages_) page->Closing();
    f_.link_.reset();
  }
  void FreeRest() override {
    f_.store_.reset();
    f_.cameraThumbs_.reset();
  }
  void ReportWriteFailures(const std::vector<std::string>& failures) override {
    QString text = "These settings could not be saved:";
    for (const auto& s : failures) {
      text += "\n" + QString::fromStdString(s);
      std::fprintf(stderr, "vantlo: settings not saved: %s\n", s.c_str());
    }
    if (f_.isVisible() && !f_.quietClose_) QMessageBox::warning(&f_, "Vantlo", text);
  }

 private:
  TForm1& f_;
  QElapsedTimer clock_;
};

bool TForm1::FormCloseQuery() {
  // Every page is asked (a running slide show stops and closes the window once it has ended).
  bool pagesMay = true;
  for (twindowpage* page : pages_) pagesMay = page->MayClose() && pagesMay;
  const bool may = pagesMay && MayClose(busy_);
  // Webcam mode and AutoCapture are stopped here as they join; the user
  // then closes again.
  return may;
}

void TForm1::FormClose() {
  if (closed_ || closing_) return;
  closing_ = true;
  Timer1->stop();
  Timer2->stop();
  Timer3->stop();
  resizetimer->stop();
  tclosehostimpl host(*this);
  const auto result = tclosesequence(busy_, stop_).Run(host);
  closeFailures_ = result.writeFailures;
  closed_ = true;
  closing_ = false;
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (closed_) {
    event->accept();
    return;
  }
  if (closing_ || !FormCloseQuery()) {
    event->ignore();
    return;
  }
  FormClose();
  event->accept();
}

void TForm1::CloseAfterLoop() {
  quietClose_ = true;
  FormClose();
}

void TForm1::RequestClose() {
  quietClose_ = true;
  stop_.Set();
  // A modal dialog runs its own loop with the window's objects on the
  // stack: end it, and close once that loop has unwound.
  if (QWidget* modal = QApplication::activeModalWidget()) {
    modal->close();
    QTimer::singleShot(50, this, &TForm1::RequestClose);
    return;
  }
  if (!FormCloseQuery()) {
    // A camera or task operation still runs: it has been asked to stop.
    QTimer::singleShot(200, this, &TForm1::RequestClose);
    return;
  }
  close();
}

}  // namespace vantlo
