// The printing service: a QPrinter on the system's default print queue (CUPS), or writing PDF
// files. A PDF job is drawn into a private temporary file and then put into place with the
// program's atomic writer, so a half-written PDF never replaces a good one.
#pragma once

#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "output/printdevice.h"

namespace vantlo {

// The name of the system's default print queue, or nothing when there is none.
std::optional<std::string> DefaultPrinterName();

class tqprinterdevice : public tprintdevice {
 public:
  // The PDF file of job n (1 for the first job of this device); nothing cancels the job.
  using tpdfname = std::function<std::optional<std::string>(int job)>;

  // The system's default print queue.
  tqprinterdevice();
  // PDF files: `name` gives each job's file.
  explicit tqprinterdevice(tpdfname name, int dpi = 300);
  // All jobs into one PDF file at `path`, one page per job (for a command-line run). The file
  // is written (atomically) by Close(), or by the destructor when Close() was not called.
  static std::unique_ptr<tqprinterdevice> PdfBook(const std::string& path, int dpi = 300);

  ~tqprinterdevice() override;
  // Finishes a PDF book: writes its file. Throws tprintererror when it cannot be written.
  void Close();

  // For the printer setup dialog (QPrintDialog) of the window.
  QPrinter& Printer() { return *printer_; }
  bool IsPdf() const { return pdf_; }
  // The PDF files written so far.
  const std::vector<std::string>& PdfFiles() const { return written_; }

  QSize PageSize() const override;
  bool Landscape() const override;
  QPainter& BeginDocument(const std::string& title) override;
  void EndDocument() override;
  void AbortDocument() override;

 private:
  void WritePdf(const std::string& from, const std::string& to);

  std::unique_ptr<QPrinter> printer_;
  QPainter painter_;
  bool pdf_ = false;
  tpdfname pdfName_;
  QTemporaryDir tempDir_;
  std::string target_;  // the PDF file of the open job
  int jobs_ = 0;
  std::vector<std::string> written_;
  // A PDF book keeps one document open across jobs.
  bool book_ = false;
  bool bookOpen_ = false;
  std::string bookPath_;
};

}  // namespace vantlo
