#include "output/conman.h"

#include <QFontMetrics>
#include <QPainter>
#include <filesystem>
#include <system_error>

#include "library/pictureproperties.h"

namespace vantlo {

namespace {

std::string BaseName(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string TitleOf(const std::string& path) {
  if (!HasCompanionKind(path)) return {};
  tpictureproperties props;
  props.SetFile(path);
  props.Load();
  return props.Title();
}

std::string SizeText(const std::string& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) throw toutputerror("Cannot read the size of " + path + ": " + ec.message());
  return std::to_string(size) + " bytes";
}

}  // namespace

std::vector<std::string> CaptionLines(const std::string& fileName, const tcontactrecord& settings) {
  std::vector<std::string> lines;
  if (fileName.empty()) return lines;
  if (settings.CaptionTitle()) lines.push_back(TitleOf(fileName));
  if (settings.CaptionFilename()) lines.push_back(BaseName(fileName));
  if (settings.CaptionFileSize()) lines.push_back(SizeText(fileName));
  return lines;
}

void tconman::Configure(const tcontactrecord& s) {
  tfontsetting font;
  font.name = s.FontName();
  font.size = s.FontSize();
  font.colour = s.FontColour();
  font.style = s.FontStyle();
  SetRows(s.Rows());
  SetColumns(s.Columns());
  font_ = font;
  borders_ = s.PrintBorders();
  margin_ = s.Margin();
  SetSheetSize(s.SheetWidth(), s.SheetHeight());
}

void tconman::SetRows(int rows) {
  if (making_) throw toutputerror(kCannotChangeWhileMaking);
  rows_ = rows;
}

void tconman::SetColumns(int columns) {
  if (making_) throw toutputerror(kCannotChangeWhileMaking);
  columns_ = columns;
}

void tconman::SetSheetSize(int width, int height) {
  width_ = width;
  height_ = height;
}

void tconman::StartSheet() {
  if (making_) return;
  if (rows_ <= 0 || columns_ <= 0) throw toutputerror(kZeroPicsPerPage);
  if (width_ <= 0 || height_ <= 0) throw toutputerror("The contact sheet has no size");
  QImage sheet(width_, height_, QImage::Format_RGB32);
  if (sheet.isNull()) throw toutputerror("Not enough memory for the contact sheet");
  sheet.fill(Qt::white);
  sheet_ = std::move(sheet);
  making_ = true;
  count_ = 0;
}

void tconman::FinishSheet() {
  if (!making_) return;
  // The sheet is finished whatever the notification does: a failed save must not leave the
  // manager counting past the last cell.
  making_ = false;
  count_ = 0;
  if (finished_) finished_(*this);
}

void tconman::ClearSheet() {
  if (!making_) return;
  sheet_ = QImage();
  making_ = false;
  count_ = 0;
}

tcellrect tconman::CellRect() const {
  const int w = sheet_.isNull() ? width_ : sheet_.width();
  const int h = sheet_.isNull() ? height_ : sheet_.height();
  return GridCellRect(w, h, margin_, rows_, columns_, count_);
}

tcellrect tconman::NextCellRect() const {
  const bool filling = making_ && !sheet_.isNull();
  const int w = filling ? sheet_.width() : width_;
  const int h = filling ? sheet_.height() : height_;
  const int k = making_ && count_ < rows_ * columns_ ? count_ + 1 : 1;
  return GridCellRect(w, h, margin_, rows_, columns_, k);
}

void tconman::AddPicture(const TJPEGImage& image, int depth, const tcontactrecord& settings,
                         const std::string& fileName) {
  if (depth < 9) {
    // A palette display: a fresh copy of the picture through its JPEG data, in palette colours.
    TJPEGImage copy;
    copy.SetScale(image.Scale());
    std::vector<std::uint8_t> data;
    TJPEGImage source = image;
    source.SaveToStream(data);
    copy.LoadFromStream(data);
    AddBitmap(PaletteBitmap(copy.Bitmap()), fileName, settings);
    return;
  }
  AddBitmap(image.Bitmap(), fileName, settings);
}

void tconman::AddBitmap(const tbitmap& bitmap, const std::string& fileName,
                        const tcontactrecord& settings) {
  const std::vector<std::string> lines = CaptionLines(fileName, settings);
  if (!making_) StartSheet();
  ++count_;
  ++placed_;
  DrawCell(bitmap, lines);
  if (rows_ * columns_ == count_) FinishSheet();
}

void tconman::DrawCell(const tbitmap& bitmap, const std::vector<std::string>& lines) {
  QPainter painter(&sheet_);
  tcellrect r = CellRect();
  const tcellrect c = r;
  tcellrect band;
  int h = 0;
  if (!lines.empty()) {
    painter.setFont(ScreenFont(font_));
    h = QFontMetrics(painter.font()).height();
    r.bottom -= RoundEven(static_cast<double>(lines.size()) * h * 1.3);
    band = {c.left + 2, r.bottom, c.right - 2, c.bottom};
  }
  if (borders_) r = r.Inflated(-6);
  r = FitPicture(r, bitmap.Width(), bitmap.Height());
  const QImage picture = BitmapView(bitmap);
  // Captions and borders can leave no room for the picture: then it is not drawn.
  if (r.HasArea() && !picture.isNull()) {
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(ToQRect(r), picture);
  }
  if (borders_ && r.HasArea()) {
    FrameRect(painter, r.Inflated(1));
    FrameRect(painter, r.Inflated(3));
  }
  if (lines.empty()) return;
  const int step = RoundEven(h * 1.3);
  const QFontMetrics fm(painter.font());
  painter.setPen(ToQColor(font_.colour));
  painter.setBackground(Qt::white);
  painter.setBackgroundMode(Qt::OpaqueMode);
  for (const std::string& line : lines) {
    const tcellrect clip{band.left, band.top, band.right, band.bottom};
    if (clip.HasArea()) {
      const QString text = ToQString(line);
      painter.save();
      painter.setClipRect(ToQRect(clip));
      painter.fillRect(ToQRect(clip), Qt::white);
      const int x = band.left + std::max(0, (band.Width() - fm.horizontalAdvance(text)) / 2);
      const int y = band.top + step - h;
      painter.drawText(x, y + fm.ascent(), text);
      painter.restore();
    }
    band.top += step;
  }
}

}  // namespace vantlo
