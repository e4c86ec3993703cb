#include "printeroutput.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>

namespace vantlo {

namespace {

bool AskYesNo(QWidget* parent, const std::string& text) {
  return QMessageBox::question(parent, "Vantlo", QString::fromStdString(text),
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

std::optional<std::string> AskPdfName(QWidget* parent, int job) {
  const QString name = QFileDialog::getSaveFileName(
      parent, "Print to PDF File", QString("vantlo-print-%1.pdf").arg(job), "PDF|*.pdf");
  if (name.isEmpty()) return std::nullopt;
  return name.toStdString();
}

}  // namespace

tprinteroutput::tprinteroutput(tacprinter& printer)
    : question(AskYesNo), pdfName(AskPdfName), printer_(printer) {}

tprinteroutput::~tprinteroutput() {
  if (printer_.Device() == device_.get()) printer_.SetDevice(nullptr);
}

bool tprinteroutput::Prepare(QWidget* parent) {
  parent_ = parent;
  if (device_) return true;
  // A page waiting in the buffer was laid out for this device: it is never swapped under it.
  if (defaultPrinter && defaultPrinter()) {
    device_ = std::make_unique<tqprinterdevice>();
  } else {
    if (!question || !question(parent, kNoPrinterQuestion)) return false;
    device_ = std::make_unique<tqprinterdevice>(
        [this](int job) { return pdfName ? pdfName(parent_, job) : std::nullopt; });
  }
  printer_.SetDevice(device_.get());
  return true;
}

void tprinteroutput::PrinterSetup(QWidget* parent) {
  if (!Prepare(parent) || device_->IsPdf()) return;
  QPrintDialog dialog(&device_->Printer(), parent);
  dialog.exec();
}

}  // namespace vantlo
