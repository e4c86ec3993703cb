#include "app/core/captiondraw.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QStringDecoder>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "output/drawhelpers.h"

namespace vantlo {

namespace {

QFont CaptionFont(const tcaptionstyle& style) {
  QFont font(ToQString(style.fontName));
  // Sizes are points on a 96-dpi screen, as the pictures were captioned on Windows; a damaged
  // size is kept to a sane range.
  const int points = std::clamp(style.fontSize, 1, 500);
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0))));
  font.setBold(style.fontStyle & 1);
  font.setItalic(style.fontStyle & 2);
  font.setUnderline(style.fontStyle & 4);
  font.setStrikeOut(style.fontStyle & 8);
  return font;
}

void RequireGui() {
  if (!QGuiApplication::instance()) {
    throw std::runtime_error("Drawing captions needs the GUI library to be started");
  }
}

void RequireBitmap(const tbitmap& image) {
  if (image.Format() != PixelFormat::pf24bit) {
    throw std::invalid_argument("Captions are drawn on 24-bit pictures only");
  }
  if (image.Bytes().size() < image.RowBytes() * static_cast<std::size_t>(image.Height())) {
    throw std::invalid_argument("Picture data is shorter than its size");
  }
}

void FromQImage(const QImage& q, tbitmap& image) {
  for (int y = 0; y < image.Height(); ++y) {
    std::memcpy(image.ScanLine(y), q.constScanLine(y), image.RowBytes());
  }
}

// Draws `text` with its top-left corner at (x, y), with the background box unless transparent.
void DrawText(QPainter& painter, int x, int y, const QString& text, const tcaptionstyle& style) {
  const QFontMetrics fm = painter.fontMetrics();
  if (!style.transparent) {
    painter.fillRect(QRect(x, y, fm.horizontalAdvance(text), fm.height()),
                     ToQColor(style.background));
  }
  painter.setPen(ToQColor(style.colour));
  painter.drawText(x, y + fm.ascent(), text);
}

}  // namespace

tcaptionlayout DrawCaption(tbitmap& image, std::string_view caption, const tcaptionstyle& style) {
  RequireGui();
  RequireBitmap(image);
  if (image.Empty()) return {};
  QImage q = ImageFromBitmap(image);
  QPainter painter(&q);
  painter.setClipRect(0, 0, q.width(), q.height());
  painter.setFont(CaptionFont(style));
  const QFontMetrics fm = painter.fontMetrics();
  auto width = [&fm](std::string_view s) { return fm.horizontalAdvance(ToQString(s)); };
  tcaptionlayout layout = LayoutCaption(q.width(), q.height(), CutUtf8(caption, kMaxCaptionLength),
                                        width, fm.height(), style.alignment, style.bottom);
  if (!layout.drawn.empty()) DrawText(painter, layout.x, layout.y, ToQString(layout.drawn), style);
  painter.end();
  FromQImage(q, image);
  return layout;
}

bool WriteCaption(tbitmap& image, long picnum, const tcaptionsetting& setting,
                  const tfieldtexts& texts, tcaptionprompt* prompt) {
  auto text = CaptionText(setting, picnum, texts, prompt);
  if (!text) return false;
  DrawCaption(image, *text, setting.style);
  return true;
}

void DrawCaptionSample(tbitmap& sample, const tcaptionsetting& setting, const tfieldtexts& texts) {
  RequireGui();
  RequireBitmap(sample);
  if (sample.Empty()) return;
  QImage q(sample.Width(), sample.Height(), QImage::Format_BGR888);
  q.fill(QColor(192, 192, 192));
  std::optional<std::string> text;
  switch (setting.mode) {
    case 0:
      break;
    case 3:
      text = "Sample Caption";
      break;
    case 1:
      text = ExpandCaptionFields(kStandardCaption, 1, texts);
      break;
    default:
      text = ExpandCaptionFields(setting.customText, 1, texts);
      break;
  }
  if (text) {
    QPainter painter(&q);
    painter.setFont(CaptionFont(setting.style));
    DrawText(painter, 10, 10, ToQString("  " + *text + "  "), setting.style);
  }
  FromQImage(q, sample);
}

}  // namespace vantlo
