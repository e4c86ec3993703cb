#include "output/drawhelpers.h"

#include <QPainter>
#include <QStringDecoder>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace vantlo {

namespace {

constexpr int kMinPoints = 1;
constexpr int kMaxPoints = 500;

QFont BaseFont(const tfontsetting& f) {
  QFont font(ToQString(f.name));
  font.setBold(f.style & 1);
  font.setItalic(f.style & 2);
  font.setUnderline(f.style & 4);
  font.setStrikeOut(f.style & 8);
  return font;
}

}  // namespace

QFont ScreenFont(const tfontsetting& f) {
  QFont font = BaseFont(f);
  const int points = std::clamp(f.size, kMinPoints, kMaxPoints);
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0))));
  return font;
}

QFont DeviceFont(const tfontsetting& f) {
  QFont font = BaseFont(f);
  font.setPointSize(std::clamp(f.size, kMinPoints, kMaxPoints));
  return font;
}

QColor ToQColor(std::uint32_t c) {
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                static_cast<int>((c >> 16) & 0xFF));
}

std::uint32_t FromQColor(const QColor& c) {
  return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
         (static_cast<std::uint32_t>(c.blue()) << 16);
}

QString ToQString(std::string_view s) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8(QByteArrayView(s.data(), static_cast<qsizetype>(s.size())));
  if (!utf8.hasError()) return text;
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

QImage BitmapView(const tbitmap& b) {
  if (b.Empty() || b.Format() != PixelFormat::pf24bit ||
      b.Bytes().size() < b.RowBytes() * static_cast<std::size_t>(b.Height()))
    return QImage();
  return QImage(b.Bytes().data(), b.Width(), b.Height(), static_cast<qsizetype>(b.RowBytes()),
                QImage::Format_BGR888);
}

QImage ImageFromBitmap(const tbitmap& b) { return BitmapView(b).copy(); }

tbitmap BitmapFromImage(const QImage& image) {
  if (image.isNull()) return tbitmap();
  const QImage bgr = image.convertToFormat(QImage::Format_BGR888);
  tbitmap out(bgr.width(), bgr.height());
  for (int y = 0; y < bgr.height(); ++y)
    std::memcpy(out.ScanLine(y), bgr.constScanLine(y), out.RowBytes());
  return out;
}

QRect ToQRect(const tcellrect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

void FrameRect(QPainter& painter, const tcellrect& r, const QColor& colour) {
  if (!r.HasArea()) return;
  painter.fillRect(QRect(r.left, r.top, r.Width(), 1), colour);
  painter.fillRect(QRect(r.left, r.bottom - 1, r.Width(), 1), colour);
  painter.fillRect(QRect(r.left, r.top, 1, r.Height()), colour);
  painter.fillRect(QRect(r.right - 1, r.top, 1, r.Height()), colour);
}

tbitmap PaletteBitmap(const tbitmap& bitmap) {
  tbitmap out = bitmap;
  // Each channel to the nearest of 0, 51, ..., 255: the colour cube of a palette display.
  for (std::uint8_t& v : out.Bytes()) v = static_cast<std::uint8_t>(((v + 25) / 51) * 51);
  return out;
}

}  // namespace vantlo
