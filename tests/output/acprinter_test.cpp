// tacprinter: the print buffer (one job per full page, pending pages, cancel, send), the
// layout refusal while printing, printer errors leaving the buffer as it was, the cell drawing
// with borders and titles, and real PDF output through QPrinter checked with poppler's tools.
#include "output/acprinter.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "output/outputerror.h"
#include "output/qprinterdevice.h"
#include "outputtestutil.h"

namespace vantlo {
namespace {

using testutil::Near;
using testutil::Solid;
using testutil::timagedevice;

tprintlayout Grid(int rows, int columns, bool borders = false) {
  tprintlayout l;
  l.rows = rows;
  l.columns = columns;
  l.margin = 0.03;
  l.borders = borders;
  return l;
}

TEST(Acprinter, OneByOnePrintsEveryPictureAsItsOwnJob) {
  timagedevice device;
  tacprinter printer(&device);
  printer.SetLayout(Grid(1, 1));
  for (QColor c : {QColor(Qt::red), QColor(Qt::green), QColor(Qt::blue)})
    printer.PrintBitmap(Solid(40, 50, c), "");
  ASSERT_EQ(device.pages.size(), 3u);
  EXPECT_EQ(device.titles,
            (std::vector<std::string>{"Vantlo print #1", "Vantlo print #2", "Vantlo print #3"}));
  EXPECT_FALSE(printer.Printing());
  EXPECT_TRUE(Near(device.pages[1].pixelColor(400, 500), Qt::green));
}

TEST(Acprinter, PartPageWaitsUntilSentWithAnEmptyCell) {
  timagedevice device(QSize(1000, 1000));
  tacprinter printer(&device);
  printer.SetLayout(Grid(2, 2));
  printer.PrintBitmap(Solid(100, 100, Qt::red), "");
  printer.PrintBitmap(Solid(100, 100, Qt::green), "");
  printer.PrintBitmap(Solid(100, 100, Qt::blue), "");
  EXPECT_TRUE(printer.Printing());
  EXPECT_TRUE(printer.HasPendingPage());
  EXPECT_EQ(printer.CountOnPage(), 3);
  EXPECT_TRUE(device.titles.empty());  // nothing reaches the printer before the page is sent

  // Page Setup with a page pending: refused, layout unchanged.
  try {
    printer.SetLayout(Grid(3, 3));
    FAIL() << "no refusal";
  } catch (const toutputerror& e) {
    EXPECT_STREQ(e.what(), "Cannot change this while printing");
  }
  EXPECT_EQ(printer.Rows(), 2);
  EXPECT_EQ(printer.Columns(), 2);

  printer.FinishJob();
  ASSERT_EQ(device.pages.size(), 1u);
  const QImage& page = device.pages[0];
  // Cells: mx = my = 30, cw = ch = round((1000 - 90) / 2) = 455.
  EXPECT_TRUE(Near(page.pixelColor(257, 257), Qt::red));
  EXPECT_TRUE(Near(page.pixelColor(742, 257), Qt::green));
  EXPECT_TRUE(Near(page.pixelColor(257, 742), Qt::blue));
  EXPECT_EQ(page.pixelColor(742, 742), QColor(Qt::white));
  EXPECT_FALSE(printer.Printing());
  EXPECT_EQ(printer.CountOnPage(), 0);
  printer.SetLayout(Grid(3, 3));  // allowed again
}

TEST(Acprinter, CancelDropsThePageAndNothingIsPrinted) {
  timagedevice device;
  tacprinter printer(&device);
  printer.SetLayout(Grid(2, 2));
  printer.PrintBitmap(Solid(10, 10, Qt::red), "");
  printer.AbortJob();
  EXPECT_FALSE(printer.Printing());
  printer.FinishJob();
  EXPECT_TRUE(device.titles.empty());
  // The next picture starts a new job with the next number.
  printer.PrintBitmap(Solid(10, 10, Qt::red), "");
  printer.FinishJob();
  EXPECT_EQ(device.titles, (std::vector<std::string>{"Vantlo print #2"}));
}

TEST(Acprinter, PrinterErrorLeavesTheBufferAsItWas) {
  timagedevice device;
  tacprinter printer(&device);
  printer.SetLayout(Grid(1, 2));
  printer.PrintBitmap(Solid(10, 10, Qt::red), "");
  device.failEnd = true;
  EXPECT_THROW(printer.PrintBitmap(Solid(10, 10, Qt::green), ""), tprintererror);
  EXPECT_TRUE(printer.Printing());
  EXPECT_EQ(printer.CountOnPage(), 1);
  EXPECT_EQ(device.aborted, 1);
  EXPECT_THROW(printer.FinishJob(), tprintererror);
  EXPECT_EQ(printer.CountOnPage(), 1);
  device.failEnd = false;
  printer.PrintBitmap(Solid(10, 10, Qt::blue), "");
  ASSERT_EQ(device.pages.size(), 1u);
  EXPECT_FALSE(printer.Printing());

  // A 1 x 1 job that cannot even start leaves the printer idle, not printing an empty page.
  printer.SetLayout(Grid(1, 1));
  device.failBegin = true;
  EXPECT_THROW(printer.PrintBitmap(Solid(10, 10, Qt::blue), ""), tprintererror);
  EXPECT_FALSE(printer.Printing());
  EXPECT_EQ(printer.CountOnPage(), 0);
}

TEST(Acprinter, ZeroPicturesPerPage) {
  timagedevice device;
  tacprinter printer(&device);
  printer.SetRows(0);
  EXPECT_THROW(printer.StartJob(), toutputerror);
  EXPECT_THROW(printer.PrintBitmap(Solid(4, 4, Qt::red), ""), toutputerror);
  EXPECT_FALSE(printer.Printing());
}

TEST(Acprinter, BordersAndTitle) {
  timagedevice device(QSize(400, 400));
  tacprinter printer(&device);
  tprintlayout l = Grid(1, 1, true);
  l.margin = 0.0;
  l.titles = true;
  l.font.size = 10;
  printer.SetLayout(l);
  printer.PrintBitmap(Solid(300, 100, Qt::red), "Harbour at dawn");
  ASSERT_EQ(device.pages.size(), 1u);
  const QImage& page = device.pages[0];
  // Four frames around the picture: find the picture's left edge on the middle row of it.
  int y = -1;
  for (int yy = 0; yy < 400 && y < 0; ++yy)
    if (Near(page.pixelColor(200, yy), Qt::red)) y = yy + 5;
  ASSERT_GE(y, 0);
  int left = 0;
  while (left < 400 && !Near(page.pixelColor(left, y), Qt::red)) ++left;
  ASSERT_EQ(left, 14);  // the cell 0..400 shrinks by 14
  for (int d : {2, 3, 11, 12}) EXPECT_EQ(page.pixelColor(left - d, y), QColor(Qt::black)) << d;
  EXPECT_EQ(page.pixelColor(left - 5, y), QColor(Qt::white));
  // The title band at the bottom holds dark text.
  int dark = 0;
  for (int yy = 360; yy < 400; ++yy)
    for (int x = 0; x < 400; ++x) dark += page.pixelColor(x, yy).lightness() < 100;
  EXPECT_GT(dark, 20);
}

class PdfPrinting : public ::testing::Test {
 protected:
  void SetUp() override {
    int status = 0;
    testutil::Run("pdfinfo -v 2>&1", status);
    if (status != 0) GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
  }
  std::string Path(const char* name) { return dir_.filePath(name).toStdString(); }
  QTemporaryDir dir_;
};

TEST_F(PdfPrinting, OneByOneGivesOnePagePerPicture) {
  const std::string book = Path("book.pdf");
  {
    auto device = tqprinterdevice::PdfBook(book);
    tacprinter printer(device.get());
    printer.SetLayout(Grid(1, 1));
    for (QColor c : {QColor(Qt::red), QColor(Qt::green), QColor(Qt::blue)})
      printer.PrintBitmap(Solid(60, 40, c), "");
    device->Close();
  }
  EXPECT_EQ(testutil::PdfPages(book), 3);

  // One file per job when each job names its own file.
  std::vector<std::string> names;
  tqprinterdevice device([&](int job) {
    names.push_back(Path(("job" + std::to_string(job) + ".pdf").c_str()));
    return std::optional<std::string>(names.back());
  });
  tacprinter printer(&device);
  printer.SetLayout(Grid(1, 1));
  printer.PrintBitmap(Solid(60, 40, Qt::red), "");
  printer.PrintBitmap(Solid(60, 40, Qt::red), "");
  ASSERT_EQ(device.PdfFiles().size(), 2u);
  for (const auto& f : device.PdfFiles()) EXPECT_EQ(testutil::PdfPages(f), 1) << f;
}

TEST_F(PdfPrinting, TwoByTwoWithThreePicturesSendsOnePageWithAnEmptyCell) {
  const std::string pdf = Path("page.pdf");
  tqprinterdevice device([&](int) { return std::optional<std::string>(pdf); });
  tacprinter printer(&device);
  printer.SetLayout(Grid(2, 2));
  printer.PrintBitmap(Solid(80, 80, Qt::red), "");
  printer.PrintBitmap(Solid(80, 80, Qt::green), "");
  printer.PrintBitmap(Solid(80, 80, Qt::blue), "");
  EXPECT_FALSE(std::filesystem::exists(pdf));
  EXPECT_EQ(printer.CountOnPage(), 3);
  printer.FinishJob();
  ASSERT_EQ(testutil::PdfPages(pdf), 1);
  const QImage page = testutil::PdfPageImage(pdf, 1, 30);
  ASSERT_FALSE(page.isNull());
  const int w = page.width(), h = page.height();
  // The printable area sits inside the paper's own margins; sample the quarter centres.
  EXPECT_TRUE(Near(page.pixelColor(w / 4, h / 4), Qt::red, 60));
  EXPECT_TRUE(Near(page.pixelColor(3 * w / 4, h / 4), Qt::green, 60));
  EXPECT_TRUE(Near(page.pixelColor(w / 4, 3 * h / 4), Qt::blue, 60));
  EXPECT_TRUE(Near(page.pixelColor(3 * w / 4, 3 * h / 4), Qt::white, 10));
}

TEST_F(PdfPrinting, CancelledFileNameCancelsThePageAndKeepsTheBuffer) {
  tqprinterdevice device([](int) { return std::optional<std::string>(); });
  tacprinter printer(&device);
  printer.SetLayout(Grid(1, 2));
  printer.PrintBitmap(Solid(10, 10, Qt::red), "");
  EXPECT_THROW(printer.FinishJob(), tprintererror);
  EXPECT_TRUE(printer.HasPendingPage());
  printer.AbortJob();
  EXPECT_FALSE(printer.Printing());
}

}  // namespace
}  // namespace vantlo
