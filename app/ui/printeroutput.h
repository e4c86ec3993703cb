// Where the window's printing goes: the system's default print queue, or, when there is none,
// PDF files the user names (the program says so and offers it once). Also "Printer Setup...",
// the system's printer dialog on the queue. The printer object (tacprinter) only sees the
// device this gives it.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "output/acprinter.h"
#include "output/qprinterdevice.h"

class QWidget;

namespace vantlo {

inline constexpr const char* kNoPrinterQuestion =
    "There is no printer on this system. Do you want to print into a PDF file instead?";

class tprinteroutput {
 public:
  // Asks a yes/no question; asks for the PDF file of a job (proposal given); shows the setup
  // dialog on a printer. The defaults show message boxes and the system's dialogs.
  using tquestion = std::function<bool(QWidget* parent, const std::string& text)>;
  using tpdfname = std::function<std::optional<std::string>(QWidget* parent, int job)>;

  explicit tprinteroutput(tacprinter& printer);
  ~tprinteroutput();

  // Before a print command: gives the printer a device. True when there is one (the default
  // queue, or PDF files after the user agreed); false when the user declined.
  bool Prepare(QWidget* parent);
  // "Printer Setup...": the system's printer dialog on the default queue; with no queue, the
  // same offer as Prepare.
  void PrinterSetup(QWidget* parent);

  bool PrintsToPdf() const { return device_ && device_->IsPdf(); }

  tquestion question;
  tpdfname pdfName;
  // Finds the default queue (the system's by default); tests replace it.
  std::function<std::optional<std::string>()> defaultPrinter = DefaultPrinterName;

 private:
  tacprinter& printer_;
  std::unique_ptr<tqprinterdevice> device_;
  QWidget* parent_ = nullptr;
};

}  // namespace vantlo
