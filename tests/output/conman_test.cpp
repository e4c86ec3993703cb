// tconman: the cell arithmetic of the worked example, the fit with an odd surplus, the sheet's
// life cycle (finish on the last cell, a new sheet after it, Clear after a finished sheet), the
// caption band, and cells whose captions and borders leave no room for the picture.
#include "output/conman.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "library/pictureproperties.h"
#include "outputtestutil.h"

namespace vantlo {
namespace {

using testutil::Near;
using testutil::Solid;

tcontactrecord Layout(int rows, int columns, int w, int h, double margin) {
  tcontactrecord r;
  r.SetRows(rows);
  r.SetColumns(columns);
  r.SetSheetWidth(w);
  r.SetSheetHeight(h);
  r.SetMargin(margin);
  r.SetCaptionTitle(false);
  r.SetCaptionFilename(false);
  r.SetCaptionFileSize(false);
  return r;
}

TEST(CellGeometry, WorkedExampleTwoByThree) {
  // 640 x 480, margin 0.005: mx = 3, cw = round(628 / 3) = 209; my = 2, ch = round(474 / 2) = 237.
  EXPECT_EQ(GridCellRect(640, 480, 0.005, 2, 3, 1), (tcellrect{3, 2, 212, 239}));
  EXPECT_EQ(GridCellRect(640, 480, 0.005, 2, 3, 3),
            (tcellrect{3 * 3 + 2 * 209, 2, 427 + 209, 239}));
  EXPECT_EQ(GridCellRect(640, 480, 0.005, 2, 3, 4), (tcellrect{3, 241, 212, 478}));

  tconman man;
  man.Configure(Layout(2, 3, 640, 480, 0.005));
  for (int i = 0; i < 4; ++i)
    man.AddBitmap(Solid(40, 30, Qt::red), "", Layout(2, 3, 640, 480, 0.005));
  EXPECT_EQ(man.Count(), 4);
  EXPECT_EQ(man.CellRect(), (tcellrect{3, 241, 212, 478}));
}

TEST(CellGeometry, RoundingTiesToEven) {
  EXPECT_EQ(RoundEven(2.5), 2);
  EXPECT_EQ(RoundEven(3.5), 4);
  EXPECT_EQ(RoundEven(-2.5), -2);
  EXPECT_EQ(RoundEven(2.4999), 2);
  // 10 columns of (1001 - 11 * 5) / 10 = 94.6 -> 95; 100 x 0.025 = 2.5 -> 2.
  EXPECT_EQ(GridCellRect(100, 100, 0.025, 1, 1, 1), (tcellrect{2, 2, 98, 98}));
}

TEST(CellGeometry, FitSplitsTheSurplusAndKeepsOddPixel) {
  // 300 x 50 into 100 x 50: height round(16.67) = 17, surplus 33: 16 above and below, so the
  // picture is drawn 18 pixels high, one more than computed.
  const tcellrect wide = FitPicture({0, 0, 100, 50}, 300, 50);
  EXPECT_EQ(wide, (tcellrect{0, 16, 100, 34}));
  // Too tall: 50 x 300 into 50 x 100 gives the same split across.
  EXPECT_EQ(FitPicture({0, 0, 50, 100}, 50, 300), (tcellrect{16, 0, 34, 100}));
  // Same aspect: unchanged.
  EXPECT_EQ(FitPicture({5, 5, 45, 35}, 400, 300), (tcellrect{5, 5, 45, 35}));
  // No area, or a picture without pixels: returned as it is, no division by zero.
  EXPECT_EQ(FitPicture({10, 10, 10, 40}, 100, 50), (tcellrect{10, 10, 10, 40}));
  EXPECT_EQ(FitPicture({10, 40, 20, 10}, 100, 50), (tcellrect{10, 40, 20, 10}));
  EXPECT_EQ(FitPicture({0, 0, 10, 10}, 0, 50), (tcellrect{0, 0, 10, 10}));
}

TEST(Conman, SixthPictureFinishesTheSheetAndTheSeventhStartsANewOne) {
  const tcontactrecord s = Layout(2, 3, 640, 480, 0.005);
  tconman man;
  man.Configure(s);
  int finished = 0;
  QImage finishedSheet;
  man.SetOnSheetFinished([&](tconman& m) {
    ++finished;
    finishedSheet = m.SheetImage().copy();
  });
  EXPECT_FALSE(man.HasSheet());
  for (int i = 0; i < 5; ++i) man.AddBitmap(Solid(64, 48, Qt::blue), "", s);
  EXPECT_TRUE(man.Making());
  EXPECT_EQ(finished, 0);
  EXPECT_THROW(man.SetRows(3), toutputerror);
  man.AddBitmap(Solid(64, 48, Qt::blue), "", s);
  EXPECT_EQ(finished, 1);
  EXPECT_FALSE(man.Making());
  EXPECT_EQ(man.Count(), 0);
  ASSERT_TRUE(man.HasSheet());
  EXPECT_EQ(man.SheetImage(), finishedSheet);

  // "Clear Current Sheet" after a finished sheet changes nothing.
  man.ClearSheet();
  ASSERT_TRUE(man.HasSheet());
  EXPECT_EQ(man.SheetImage(), finishedSheet);

  // The seventh picture starts a new sheet: cell 1 again, the rest white.
  man.AddBitmap(Solid(64, 48, Qt::green), "", s);
  EXPECT_TRUE(man.Making());
  EXPECT_EQ(man.Count(), 1);
  const QImage sheet = man.SheetImage();
  EXPECT_TRUE(Near(sheet.pixelColor(100, 120), Qt::green));
  EXPECT_EQ(sheet.pixelColor(320, 120), QColor(Qt::white));
  EXPECT_EQ(sheet.pixelColor(100, 360), QColor(Qt::white));

  // Clearing a sheet in progress drops it.
  man.ClearSheet();
  EXPECT_FALSE(man.HasSheet());
  EXPECT_FALSE(man.Making());
}

TEST(Conman, ZeroPicturesPerPageIsRefused) {
  tconman man;
  man.SetRows(0);
  try {
    man.AddBitmap(Solid(4, 4, Qt::red), "", tcontactrecord());
    FAIL() << "no error";
  } catch (const toutputerror& e) {
    EXPECT_STREQ(e.what(), "Zero pics per page!");
  }
  EXPECT_FALSE(man.Making());
  EXPECT_EQ(man.Count(), 0);
}

TEST(Conman, AFailingNotificationStillFinishesTheSheet) {
  const tcontactrecord s = Layout(1, 1, 100, 100, 0.0);
  tconman man;
  man.Configure(s);
  man.SetOnSheetFinished([](tconman&) { throw std::runtime_error("disk full"); });
  EXPECT_THROW(man.AddBitmap(Solid(10, 10, Qt::red), "", s), std::runtime_error);
  EXPECT_FALSE(man.Making());
  EXPECT_EQ(man.Count(), 0);
  man.SetOnSheetFinished({});
  man.AddBitmap(Solid(10, 10, Qt::blue), "", s);  // a new sheet, not a cell past the last one
  EXPECT_TRUE(Near(man.SheetImage().pixelColor(50, 50), Qt::blue));
}

TEST(Conman, BordersFrameThePictureTwice) {
  tcontactrecord s = Layout(1, 1, 100, 100, 0.0);
  s.SetPrintBorders(true);
  tconman man;
  man.Configure(s);
  man.AddBitmap(Solid(88, 88, Qt::red), "", s);
  // The cell 0..100 shrinks by 6 to 6..94; frames at 5 and 3 (and 94, 96 on the far side).
  const QImage img = man.SheetImage();
  EXPECT_EQ(img.pixelColor(5, 50), QColor(Qt::black));
  EXPECT_EQ(img.pixelColor(4, 50), QColor(Qt::white));
  EXPECT_EQ(img.pixelColor(3, 50), QColor(Qt::black));
  EXPECT_EQ(img.pixelColor(94, 50), QColor(Qt::black));
  EXPECT_EQ(img.pixelColor(96, 50), QColor(Qt::black));
  EXPECT_TRUE(Near(img.pixelColor(6, 50), Qt::red));
}

class ConmanFiles : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, std::size_t bytes) {
    const std::string path = dir_.filePath(QString::fromStdString(name)).toStdString();
    std::ofstream(path, std::ios::binary) << std::string(bytes, 'x');
    return path;
  }
  QTemporaryDir dir_;
};

TEST_F(ConmanFiles, CaptionLinesTitleNameAndSize) {
  const std::string path = Write("pic001.jpg", 1234);
  tpictureproperties props;
  props.SetFile(path);
  props.SetTitle("Harbour");
  props.Save();
  tcontactrecord s;
  s.SetCaptionTitle(true);
  s.SetCaptionFilename(true);
  s.SetCaptionFileSize(true);
  EXPECT_EQ(CaptionLines(path, s),
            (std::vector<std::string>{"Harbour", "pic001.jpg", "1234 bytes"}));
  s.SetCaptionTitle(false);
  EXPECT_EQ(CaptionLines(path, s), (std::vector<std::string>{"pic001.jpg", "1234 bytes"}));
  // No file name (a picture from the display): no lines at all.
  EXPECT_TRUE(CaptionLines("", s).empty());
}

TEST_F(ConmanFiles, CaptionBandIsWhiteWithDarkText) {
  const std::string path = Write("harbour.jpg", 10);
  tcontactrecord s = Layout(1, 2, 400, 200, 0.0);
  s.SetPrintBorders(false);
  s.SetCaptionFilename(true);
  s.SetCaptionFileSize(true);
  s.SetFontSize(12);
  tconman man;
  man.Configure(s);
  man.AddBitmap(Solid(200, 200, Qt::darkGreen), path, s);
  const QImage img = man.SheetImage();
  // The picture is above the band; the band across the bottom of the cell is white with text.
  EXPECT_TRUE(Near(img.pixelColor(100, 20), Qt::darkGreen));
  int dark = 0, white = 0;
  for (int y = 150; y < 200; ++y)
    for (int x = 2; x < 198; ++x) {
      const QColor c = img.pixelColor(x, y);
      if (c.lightness() < 100) ++dark;
      if (c == QColor(Qt::white)) ++white;
    }
  EXPECT_GT(dark, 20);
  EXPECT_GT(white, dark * 3);
  // A file that cannot be read for its size fails the add and takes no cell.
  EXPECT_THROW(man.AddBitmap(Solid(8, 8, Qt::red), path + ".gone", s), toutputerror);
  EXPECT_EQ(man.Count(), 1);
}

TEST_F(ConmanFiles, CaptionsLeavingNoRoomDrawNoPicture) {
  const std::string path = Write("tiny.jpg", 10);
  tcontactrecord s = Layout(1, 1, 40, 30, 0.0);
  s.SetPrintBorders(true);
  s.SetCaptionTitle(true);
  s.SetCaptionFilename(true);
  s.SetCaptionFileSize(true);
  s.SetFontSize(20);
  tconman man;
  man.Configure(s);
  man.SetOnSheetFinished({});
  EXPECT_NO_THROW(man.AddBitmap(Solid(100, 50, Qt::red), path, s));
  const QImage img = man.SheetImage();
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      ASSERT_FALSE(Near(img.pixelColor(x, y), Qt::red, 60)) << x << "," << y;
}

TEST(Conman, PaletteDisplayDrawsPaletteColours) {
  const tcontactrecord s = Layout(1, 1, 50, 50, 0.0);
  tconman man;
  man.Configure(s);
  TJPEGImage image;
  image.Assign(Solid(50, 50, QColor(130, 20, 200)));
  man.AddPicture(image, 8, s, "");
  const QColor c = man.SheetImage().pixelColor(25, 25);
  EXPECT_EQ(c.red() % 51, 0);
  EXPECT_EQ(c.green() % 51, 0);
  EXPECT_EQ(c.blue() % 51, 0);
}

}  // namespace
}  // namespace vantlo
