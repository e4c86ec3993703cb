#include "output/qprinterdevice.h"

#include <QPageLayout>
#include <QPrinterInfo>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "library/unixfile.h"

namespace vantlo {

namespace {

std::vector<std::uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw tprintererror("Cannot read the printed file " + path);
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
  if (in.bad()) throw tprintererror("Cannot read the printed file " + path);
  return bytes;
}

}  // namespace

std::optional<std::string> DefaultPrinterName() {
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull() || info.printerName().isEmpty()) return std::nullopt;
  return info.printerName().toStdString();
}

tqprinterdevice::tqprinterdevice()
    : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
  if (const auto name = DefaultPrinterName())
    printer_->setPrinterName(QString::fromStdString(*name));
}

tqprinterdevice::tqprinterdevice(tpdfname name, int dpi)
    : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)),
      pdf_(true),
      pdfName_(std::move(name)) {
  printer_->setOutputFormat(QPrinter::PdfFormat);
  printer_->setResolution(dpi);
}

std::unique_ptr<tqprinterdevice> tqprinterdevice::PdfBook(const std::string& path, int dpi) {
  auto device = std::make_unique<tqprinterdevice>(
      [path](int) { return std::optional<std::string>(path); }, dpi);
  device->book_ = true;
  device->bookPath_ = path;
  return device;
}

tqprinterdevice::~tqprinterdevice() {
  try {
    if (book_) Close();
  } catch (const std::exception&) {
    // Nothing to report to from a destructor; the caller that cares calls Close().
  }
  if (painter_.isActive()) painter_.end();
}

QSize tqprinterdevice::PageSize() const {
  return printer_->pageLayout().paintRectPixels(printer_->resolution()).size();
}

bool tqprinterdevice::Landscape() const {
  return printer_->pageLayout().orientation() == QPageLayout::Landscape;
}

QPainter& tqprinterdevice::BeginDocument(const std::string& title) {
  if (book_ && bookOpen_) {
    if (!printer_->newPage()) throw tprintererror("The printer cannot start a new page");
    return painter_;
  }
  if (painter_.isActive()) painter_.end();
  printer_->setDocName(QString::fromStdString(title));
  if (pdf_) {
    if (!tempDir_.isValid()) throw tprintererror("Cannot make a folder for printing");
    const auto name = pdfName_ ? pdfName_(jobs_ + 1) : std::nullopt;
    if (!name || name->empty()) throw tprintererror("Printing cancelled");
    target_ = *name;
    printer_->setOutputFileName(tempDir_.filePath(QString("job%1.pdf").arg(jobs_ + 1)));
  }
  if (!painter_.begin(printer_.get())) {
    throw tprintererror(pdf_ ? "Cannot write the PDF file " + target_
                             : "The printer " + printer_->printerName().toStdString() +
                                   " cannot start a print job");
  }
  ++jobs_;
  if (book_) bookOpen_ = true;
  return painter_;
}

void tqprinterdevice::EndDocument() {
  if (book_) return;  // the page is done; the book is written by Close()
  if (!painter_.isActive()) return;
  const bool ok = painter_.end();
  if (!ok || printer_->printerState() == QPrinter::Error)
    throw tprintererror("The printer reported an error; the page was not printed");
  if (pdf_) WritePdf(printer_->outputFileName().toStdString(), target_);
}

void tqprinterdevice::AbortDocument() {
  if (book_ && bookOpen_) return;  // pages already in the book stay
  if (!painter_.isActive()) return;
  printer_->abort();
  painter_.end();
}

void tqprinterdevice::Close() {
  if (!book_ || !bookOpen_) return;
  bookOpen_ = false;
  const bool ok = painter_.end();
  if (!ok) throw tprintererror("Cannot write the PDF file " + bookPath_);
  WritePdf(printer_->outputFileName().toStdString(), bookPath_);
}

void tqprinterdevice::WritePdf(const std::string& from, const std::string& to) {
  const std::vector<std::uint8_t> bytes = ReadAll(from);
  std::remove(from.c_str());
  if (const int error = WriteFileAtomically(to, bytes, 0666))
    throw tprintererror("Cannot write the PDF file " + to + ": " + std::strerror(error));
  written_.push_back(to);
}

}  // namespace vantlo
