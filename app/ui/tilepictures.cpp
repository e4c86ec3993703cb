#include "tilepictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstring>

namespace vantlo {

namespace {

constexpr int kS = kTileSize;

// A raised frame with a sunken picture window: the background of picture
// tiles. `accent` tints the frame so CAM and JPEG tiles differ at a glance.
QImage FrameTile(QColor accent, const QRect& window) {
  QImage img(kS, kS, QImage::Format_RGB32);
  QPainter p(&img);
  QLinearGradient g(0, 0, 0, kS);
  g.setColorAt(0, accent.lighter(150));
  g.setColorAt(1, accent);
  p.fillRect(img.rect(), g);
  p.setPen(QColor(255, 255, 255));
  p.drawLine(0, 0, kS - 1, 0);
  p.drawLine(0, 0, 0, kS - 1);
  p.setPen(QColor(96, 96, 96));
  p.drawLine(0, kS - 1, kS - 1, kS - 1);
  p.drawLine(kS - 1, 0, kS - 1, kS - 1);
  p.fillRect(window, QColor(250, 250, 250));
  p.setPen(QColor(128, 128, 128));
  p.drawRect(window.adjusted(-1, -1, 0, 0));
  return img;
}

QImage Blank() {
  QImage img(kS, kS, QImage::Format_RGB32);
  img.fill(QColor(255, 255, 255));
  return img;
}

void DrawFolder(QPainter& p, QColor body, bool up) {
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath tab;
  tab.addRoundedRect(QRectF(14, 12, 24, 10), 3, 3);
  p.fillPath(tab, body.darker(115));
  QPainterPath front;
  front.addRoundedRect(QRectF(12, 18, 56, 40), 4, 4);
  QLinearGradient g(0, 18, 0, 58);
  g.setColorAt(0, body.lighter(125));
  g.setColorAt(1, body);
  p.fillPath(front, g);
  p.setPen(QPen(body.darker(160), 1));
  p.drawPath(front);
  if (up) {
    // An arrow pointing up: the parent folder.
    p.setPen(QPen(QColor(40, 60, 120), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(40, 52, 40, 28);
    p.drawLine(40, 28, 31, 37);
    p.drawLine(40, 28, 49, 37);
  }
}

// A sheet of paper with a folded corner.
void DrawSheet(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath sheet;
  sheet.moveTo(20, 8);
  sheet.lineTo(50, 8);
  sheet.lineTo(60, 18);
  sheet.lineTo(60, 58);
  sheet.lineTo(20, 58);
  sheet.closeSubpath();
  p.fillPath(sheet, QColor(245, 245, 245));
  p.setPen(QPen(QColor(110, 110, 110), 1));
  p.drawPath(sheet);
  p.drawLine(50, 8, 50, 18);
  p.drawLine(50, 18, 60, 18);
  p.setPen(QColor(170, 170, 170));
  for (int y = 26; y <= 50; y += 6) p.drawLine(26, y, 54, y);
}

// A small landscape (sun and hills): a picture whose thumbnail is not built.
void DrawWaiting(QPainter& p, const QRect& window) {
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(window, QColor(200, 225, 245));
  p.setBrush(QColor(250, 210, 60));
  p.setPen(Qt::NoPen);
  p.drawEllipse(QPoint(window.right() - 14, window.top() + 12), 6, 6);
  QPainterPath hills;
  hills.moveTo(window.left(), window.bottom());
  hills.cubicTo(window.left() + 20, window.top() + 20, window.left() + 40, window.bottom() - 4,
                window.right(), window.top() + 28);
  hills.lineTo(window.right(), window.bottom());
  hills.closeSubpath();
  p.fillPath(hills, QColor(90, 160, 90));
}

void DrawFilm(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(QRect(12, 14, 56, 44), QColor(40, 40, 40));
  p.setBrush(QColor(230, 230, 230));
  p.setPen(Qt::NoPen);
  for (int x = 15; x < 66; x += 8) {
    p.drawRect(x, 16, 4, 4);
    p.drawRect(x, 52, 4, 4);
  }
  p.fillRect(QRect(18, 24, 44, 24), QColor(120, 150, 200));
  QPainterPath play;
  play.moveTo(35, 28);
  play.lineTo(49, 36);
  play.lineTo(35, 44);
  play.closeSubpath();
  p.fillPath(play, QColor(255, 255, 255));
}

}  // namespace

ttilepictures DrawTilePictures() {
  ttilepictures t;
  // B1: CAM background, the picture window at (8, 7)-(72, 55).
  QImage cam = FrameTile(QColor(150, 170, 200), QRect(8, 7, 64, 48));
  {
    QPainter p(&cam);
    DrawWaiting(p, QRect(8, 7, 64, 48));
  }
  t[tpCam] = BitmapFromImage(cam);
  // B2: JPEG background, the picture area (5, 4)-(75, 59).
  t[tpJpeg] = BitmapFromImage(FrameTile(QColor(190, 190, 190), QRect(4, 4, 72, 55)));
  // B3: parent folder.
  QImage parent = Blank();
  {
    QPainter p(&parent);
    DrawFolder(p, QColor(235, 200, 90), true);
  }
  t[tpParent] = BitmapFromImage(parent);
  // B4: other file.
  QImage other = Blank();
  {
    QPainter p(&other);
    DrawSheet(p);
  }
  t[tpOther] = BitmapFromImage(other);
  // B5: a JPEG whose thumbnail is not built yet.
  QImage waiting = FrameTile(QColor(190, 190, 190), QRect(4, 4, 72, 55));
  {
    QPainter p(&waiting);
    DrawWaiting(p, QRect(5, 4, 70, 55));
  }
  t[tpJpegWaiting] = BitmapFromImage(waiting);
  // B6: folder.
  QImage folder = Blank();
  {
    QPainter p(&folder);
    DrawFolder(p, QColor(235, 200, 90), false);
  }
  t[tpFolder] = BitmapFromImage(folder);
  // B7: AVI movie.
  QImage movie = Blank();
  {
    QPainter p(&movie);
    DrawFilm(p);
  }
  t[tpAvi] = BitmapFromImage(movie);
  return t;
}

}  // namespace vantlo
