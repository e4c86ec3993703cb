// tconman: the contact sheet manager. Pictures are added one at a time into the next cell of a
// rows x columns grid on a sheet bitmap, each optionally captioned with its title (from its
// properties file), its file name and its size in bytes, and framed. Filling the last cell
// finishes the sheet and fires the sheet-finished notification (the window saves the sheet).
//
// States: idle (no sheet), filling (making; the sheet with Count() pictures), finished (not
// making; the last sheet kept for "Show Current Sheet" until the next sheet starts). Adding a
// picture when idle or finished starts a new sheet. Drawing uses QPainter on a QImage, so a
// QGuiApplication must exist.
#pragma once

#include <QImage>
#include <functional>
#include <string>
#include <vector>

#include "library/records/contactrecord.h"
#include "output/cellgeometry.h"
#include "output/drawhelpers.h"
#include "output/outputerror.h"
#include "picture/jpegimage.h"

namespace vantlo {

inline constexpr const char* kCannotChangeWhileMaking =
    "Cannot change this while making a contact sheet";

// The caption lines of one cell, in drawing order.
std::vector<std::string> CaptionLines(const std::string& fileName, const tcontactrecord& settings);

class tconman {
 public:
  using tsheetfinished = std::function<void(tconman&)>;

  tconman() = default;

  // Takes the layout of "CONTACTD5": caption font, borders, margin, rows, columns, width and
  // height. Refused ("Cannot change this while making a contact sheet") while a sheet is filled.
  void Configure(const tcontactrecord& settings);

  void StartSheet();
  void FinishSheet();
  void ClearSheet();

  void SetRows(int rows);
  void SetColumns(int columns);
  void SetMargin(double margin) { margin_ = margin; }
  void SetBorders(bool on) { borders_ = on; }
  void SetFont(const tfontsetting& font) { font_ = font; }
  // Used by the next sheet started.
  void SetSheetSize(int width, int height);
  void SetOnSheetFinished(tsheetfinished notify) { finished_ = std::move(notify); }

  // `depth` is the screen's colour depth in bits per pixel: 8 or less draws the picture in the
  // colours of a palette display. An empty file name draws no caption lines.
  void AddPicture(const TJPEGImage& image, int depth, const tcontactrecord& settings,
                  const std::string& fileName);
  // Places the bitmap into the next cell. Caption lines are read (title, size) before the cell
  // is taken, so a file that cannot be read leaves the sheet as it was.
  void AddBitmap(const tbitmap& bitmap, const std::string& fileName,
                 const tcontactrecord& settings);

  // The rectangle of cell Count() (the cell just counted).
  tcellrect CellRect() const;
  // The size of the cell the next picture goes into on a sheet of the current (or, when no
  // sheet is being filled, the configured) size; for decoding a picture no larger than needed.
  tcellrect NextCellRect() const;

  bool Making() const { return making_; }
  // Pictures placed since the manager was made (tells a failed add from a failed save).
  long Placed() const { return placed_; }
  int Count() const { return count_; }
  int Rows() const { return rows_; }
  int Columns() const { return columns_; }
  double Margin() const { return margin_; }
  bool Borders() const { return borders_; }
  const tfontsetting& Font() const { return font_; }
  int SheetWidth() const { return width_; }
  int SheetHeight() const { return height_; }

  // True when a sheet exists (filling or finished).
  bool HasSheet() const { return !sheet_.isNull(); }
  const QImage& SheetImage() const { return sheet_; }
  // The sheet as a 24-bit bitmap (empty without a sheet).
  tbitmap SheetBitmap() const { return BitmapFromImage(sheet_); }

 private:
  void DrawCell(const tbitmap& bitmap, const std::vector<std::string>& lines);

  bool making_ = false;
  int count_ = 0;
  long placed_ = 0;
  int rows_ = 4;
  int columns_ = 6;
  double margin_ = 0.005;
  int width_ = 640;
  int height_ = 480;
  bool borders_ = true;
  tfontsetting font_;
  tsheetfinished finished_;
  QImage sheet_;
};

}  // namespace vantlo
