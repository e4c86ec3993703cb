#include "output/acprinter.h"

#include <QFontMetrics>
#include <QPainter>

#include "output/outputerror.h"

namespace vantlo {

tprintlayout PrintLayoutFrom(const tconfigrecord& config, const tdiskmanrecord& diskman) {
  tprintlayout l;
  l.rows = config.PrintRows();
  l.columns = config.PrintColumns();
  l.margin = diskman.PrintMargin();
  l.titles = diskman.PrintTitles();
  l.borders = diskman.PrintBorders();
  l.font.name = diskman.PrintFontName();
  l.font.size = diskman.PrintFontSize();
  l.font.colour = diskman.PrintFontColour();
  l.font.style = diskman.PrintFontStyle();
  return l;
}

void tacprinter::SetLayout(const tprintlayout& l) {
  if (printing_) throw toutputerror(kCannotChangeWhilePrinting);
  SetRows(l.rows);
  SetColumns(l.columns);
  margin_ = l.margin;
  font_ = l.font;
  titles_ = l.titles;
  borders_ = l.borders;
}

void tacprinter::SetRows(int rows) {
  if (printing_) throw toutputerror(kCannotChangeWhilePrinting);
  rows_ = rows;
}

void tacprinter::SetColumns(int columns) {
  if (printing_) throw toutputerror(kCannotChangeWhilePrinting);
  columns_ = columns;
}

std::string tacprinter::JobTitle() const { return kPrintJobTitle + std::to_string(jobCounter_); }

void tacprinter::StartJob() {
  if (printing_) return;
  if (rows_ <= 0 || columns_ <= 0) throw toutputerror(kZeroPicsPerPage);
  printing_ = true;
  pageNumber_ = 1;
  countOnPage_ = 0;
  buffer_.clear();
  ++jobCounter_;
}

void tacprinter::FinishJob() {
  if (!printing_) return;
  if (!buffer_.empty()) SendPage();
  printing_ = false;
  countOnPage_ = 0;
  pageNumber_ = 1;
  buffer_.clear();
}

void tacprinter::AbortJob() {
  if (!printing_) return;
  printing_ = false;
  countOnPage_ = 0;
  buffer_.clear();
}

void tacprinter::PrintPicture(const TJPEGImage& image, int depth, const std::string& title) {
  if (depth < 9) {
    TJPEGImage copy;
    copy.SetScale(image.Scale());
    std::vector<std::uint8_t> data;
    TJPEGImage source = image;
    source.SaveToStream(data);
    copy.LoadFromStream(data);
    PrintBitmap(PaletteBitmap(copy.Bitmap()), title);
    return;
  }
  PrintBitmap(image.Bitmap(), title);
}

void tacprinter::PrintBitmap(const tbitmap& bitmap, const std::string& title) {
  const bool started = !printing_;
  StartJob();
  if (countOnPage_ + 1 > rows_ * columns_) {
    // Only reachable when the grid shrank under a pending page: that page goes out first.
    SendPage();
    buffer_.clear();
    ++pageNumber_;
    countOnPage_ = 0;
  }
  buffer_.push_back({bitmap, title});
  ++countOnPage_;
  if (rows_ * columns_ == countOnPage_) {
    try {
      FinishJob();
    } catch (...) {
      // The picture that filled the page is taken out again: the buffer is as it was.
      buffer_.pop_back();
      --countOnPage_;
      if (started && buffer_.empty()) printing_ = false;
      throw;
    }
  }
}

tcellrect tacprinter::CellRect(int k, QSize page) const {
  return GridCellRect(page.width(), page.height(), margin_, rows_, columns_, k);
}

tcellrect tacprinter::NextCellRect() const {
  if (!device_) return {};
  const int k = printing_ && countOnPage_ < rows_ * columns_ ? countOnPage_ + 1 : 1;
  return CellRect(k, device_->PageSize());
}

void tacprinter::SendPage() {
  if (!device_) throw tprintererror("There is no printer");
  const QSize page = device_->PageSize();
  QPainter& painter = device_->BeginDocument(JobTitle());
  try {
    for (std::size_t i = 0; i < buffer_.size(); ++i)
      DrawCell(painter, page, static_cast<int>(i) + 1, buffer_[i]);
    device_->EndDocument();
  } catch (...) {
    device_->AbortDocument();
    throw;
  }
}

void tacprinter::DrawCell(QPainter& painter, QSize page, int k, const tcell& cell) const {
  tcellrect r = CellRect(k, page);
  const tcellrect c = r;
  tcellrect band;
  int h = 0;
  if (titles_) {
    painter.setFont(DeviceFont(font_));
    h = QFontMetrics(painter.font(), painter.device()).height();
    r.bottom -= RoundEven(2.0 * h);
    band = {c.left, r.bottom, c.right, c.bottom};
  }
  if (borders_) r = r.Inflated(-14);
  r = FitPicture(r, cell.picture.Width(), cell.picture.Height());
  const QImage picture = BitmapView(cell.picture);
  if (r.HasArea() && !picture.isNull()) {
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(ToQRect(r), picture);
  }
  if (borders_ && r.HasArea()) {
    for (int d : {2, 3, 11, 12}) FrameRect(painter, r.Inflated(d));
  }
  if (titles_ && !cell.title.empty() && band.HasArea()) {
    const QString text = ToQString(cell.title);
    const QFontMetrics fm(painter.font(), painter.device());
    const int x = band.left + std::max(0, (band.Width() - fm.horizontalAdvance(text)) / 2);
    const int y = band.top + fm.height() / 2;
    painter.save();
    painter.setClipRect(ToQRect(band));
    painter.setPen(ToQColor(font_.colour));
    painter.setBackground(Qt::white);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.drawText(x, y + fm.ascent(), text);
    painter.restore();
  }
}

}  // namespace vantlo
