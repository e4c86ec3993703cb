// Shared helpers of the output tests: solid pictures, a temporary folder, a page device that
// draws into images, and running the poppler tools on a PDF.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdio>
#include <string>
#include <vector>

#include "output/printdevice.h"
#include "picture/bitmap.h"

namespace vantlo::testutil {

inline tbitmap Solid(int w, int h, QColor c) {
  tbitmap b(w, h);
  for (int y = 0; y < h; ++y) {
    std::uint8_t* p = b.ScanLine(y);
    for (int x = 0; x < w; ++x) {
      p[3 * x] = static_cast<std::uint8_t>(c.blue());
      p[3 * x + 1] = static_cast<std::uint8_t>(c.green());
      p[3 * x + 2] = static_cast<std::uint8_t>(c.red());
    }
  }
  return b;
}

inline bool Near(QColor a, QColor b, int tolerance = 40) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

// Pages drawn into images; can be told to fail at the start or at the end of a document.
class timagedevice : public tprintdevice {
 public:
  explicit timagedevice(QSize size = QSize(800, 1000)) : size_(size) {}
  QSize PageSize() const override { return size_; }
  bool Landscape() const override { return size_.width() > size_.height(); }
  QPainter& BeginDocument(const std::string& title) override {
    if (failBegin) throw tprintererror("begin failed");
    page_ = QImage(size_, QImage::Format_RGB32);
    page_.fill(Qt::white);
    painter_.begin(&page_);
    titles.push_back(title);
    return painter_;
  }
  void EndDocument() override {
    painter_.end();
    if (failEnd) throw tprintererror("The printer reported an error; the page was not printed");
    pages.push_back(page_);
  }
  void AbortDocument() override {
    if (painter_.isActive()) painter_.end();
    ++aborted;
  }

  std::vector<QImage> pages;
  std::vector<std::string> titles;
  int aborted = 0;
  bool failBegin = false;
  bool failEnd = false;

 private:
  QSize size_;
  QImage page_;
  QPainter painter_;
};

// Output of a command (stdout), and its exit status in `status`.
inline std::string Run(const std::string& command, int& status) {
  std::string out;
  FILE* p = ::popen(command.c_str(), "r");
  if (!p) {
    status = -1;
    return out;
  }
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  status = ::pclose(p);
  return out;
}

// Page count from pdfinfo; -1 when it cannot be read.
inline int PdfPages(const std::string& pdf) {
  int status = 0;
  const std::string info = Run("pdfinfo '" + pdf + "' 2>/dev/null", status);
  const auto at = info.find("Pages:");
  if (status != 0 || at == std::string::npos) return -1;
  return std::atoi(info.c_str() + at + 6);
}

// Page `page` of the PDF rendered by pdftoppm at `dpi` into a PNG next to it.
inline QImage PdfPageImage(const std::string& pdf, int page, int dpi) {
  int status = 0;
  const std::string stem = pdf + "-render";
  Run("pdftoppm -png -r " + std::to_string(dpi) + " -f " + std::to_string(page) + " -l " +
          std::to_string(page) + " -singlefile '" + pdf + "' '" + stem + "' 2>/dev/null",
      status);
  return QImage(QString::fromStdString(stem + ".png"));
}

}  // namespace vantlo::testutil
