// tacprinter: prints pictures several to a page from a print buffer. Each picture goes into the
// next cell of the current page; a full page is sent as one print job titled "Vantlo print #"
// and the job number; a page that is not full waits until it is sent (FinishJob) or thrown away
// (AbortJob).
//
// The page's pictures are kept in the buffer and drawn only when the page is sent, so cancelling
// really drops them and nothing reaches the printer half-drawn. A printer error leaves the
// buffer as it was before the failing step.
#pragma once

#include <string>
#include <vector>

#include "library/records/configrecord.h"
#include "library/records/diskmanrecord.h"
#include "output/cellgeometry.h"
#include "output/drawhelpers.h"
#include "output/printdevice.h"
#include "picture/jpegimage.h"

namespace vantlo {

inline constexpr const char* kCannotChangeWhilePrinting = "Cannot change this while printing";
inline constexpr const char* kPrintJobTitle = "Vantlo print #";

// The page layout as "Page Setup" keeps it (CONFIGD5 rows and columns, DISKMAN the rest).
struct tprintlayout {
  int rows = 1;
  int columns = 1;
  double margin = 0.03;
  bool titles = false;
  bool borders = true;
  tfontsetting font;
};
tprintlayout PrintLayoutFrom(const tconfigrecord& config, const tdiskmanrecord& diskman);

class tacprinter {
 public:
  // `device` may be null (no printer yet): sending a page then fails with a printer error.
  explicit tacprinter(tprintdevice* device = nullptr) : device_(device) {}

  void SetDevice(tprintdevice* device) { device_ = device; }
  tprintdevice* Device() const { return device_; }

  // Rows and columns first (refused while printing, leaving everything unchanged), then margin,
  // titles, borders and font.
  void SetLayout(const tprintlayout& layout);
  void SetRows(int rows);
  void SetColumns(int columns);
  void SetMargin(double margin) { margin_ = margin; }
  void SetTitles(bool on) { titles_ = on; }
  void SetBorders(bool on) { borders_ = on; }
  void SetTitleFont(const tfontsetting& font) { font_ = font; }

  void StartJob();
  // Sends the current page ("Flush Printer", "Send to Printer").
  void FinishJob();
  // Throws the current page away ("Cancel Printing").
  void AbortJob();

  // `depth` below 9: the picture in the colours of a palette display.
  void PrintPicture(const TJPEGImage& image, int depth, const std::string& title);
  void PrintBitmap(const tbitmap& bitmap, const std::string& title);

  bool Printing() const { return printing_; }
  int PageNumber() const { return pageNumber_; }
  int CountOnPage() const { return countOnPage_; }
  int Rows() const { return rows_; }
  int Columns() const { return columns_; }
  double Margin() const { return margin_; }
  bool Titles() const { return titles_; }
  bool Borders() const { return borders_; }
  const tfontsetting& TitleFont() const { return font_; }
  int JobCounter() const { return jobCounter_; }
  // "Vantlo print #" and the job counter.
  std::string JobTitle() const;
  // True when pictures wait in the buffer.
  bool HasPendingPage() const { return printing_ && countOnPage_ > 0; }

  // Cell k of a page of `page` device pixels.
  tcellrect CellRect(int k, QSize page) const;
  // The cell the next picture goes into on the device's page (empty without a device).
  tcellrect NextCellRect() const;

 private:
  struct tcell {
    tbitmap picture;
    std::string title;
  };
  // Draws the buffered cells onto one document and ends it; on failure the document is
  // aborted and the buffer kept.
  void SendPage();
  void DrawCell(QPainter& painter, QSize page, int k, const tcell& cell) const;

  tprintdevice* device_;
  bool printing_ = false;
  int pageNumber_ = 1;
  int countOnPage_ = 0;
  int rows_ = 1;
  int columns_ = 1;
  double margin_ = 0.03;
  bool titles_ = false;
  bool borders_ = true;
  tfontsetting font_;
  int jobCounter_ = 0;
  std::vector<tcell> buffer_;
};

}  // namespace vantlo
