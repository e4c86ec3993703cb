// vantlo-cli contact-sheet and print, run as built: sheets with their numbered follow-ups, a
// PDF with one page per printed page, and usage errors.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>

#include "outputtestutil.h"
#include "picture/jpegimage.h"

#ifdef VANTLO_CLI_PATH

namespace vantlo {
namespace {

class OutputCli : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 5; ++i) {
      files_ += " '" + Path("p" + std::to_string(i) + ".jpg") + "'";
      const auto jpeg = CompressJpeg(testutil::Solid(320, 240, QColor(Qt::red)), 85, false);
      std::FILE* f = std::fopen(Path("p" + std::to_string(i) + ".jpg").c_str(), "wb");
      std::fwrite(jpeg.data(), 1, jpeg.size(), f);
      std::fclose(f);
    }
  }
  std::string Path(const std::string& name) {
    return dir_.filePath(QString::fromStdString(name)).toStdString();
  }
  int Cli(const std::string& args) {
    int status = 0;
    output = testutil::Run("VANTLO_CONFIG_DIR='" + Path("cfg") + "' QT_QPA_PLATFORM=offscreen " +
                               VANTLO_CLI_PATH + " " + args + " 2>&1",
                           status);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  QTemporaryDir dir_;
  std::string files_;
  std::string output;
};

TEST_F(OutputCli, ContactSheetsOfFivePicturesOnTwoByTwo) {
  ASSERT_EQ(Cli("contact-sheet '" + Path("s.jpg") + "'" + files_ +
                " --rows 2 --columns 2 --width 400 --height 300 --captions none"),
            0)
      << output;
  const QImage first(QString::fromStdString(Path("s.jpg")));
  const QImage second(QString::fromStdString(Path("s-2.jpg")));
  ASSERT_EQ(first.size(), QSize(400, 300));
  ASSERT_EQ(second.size(), QSize(400, 300));
  EXPECT_TRUE(testutil::Near(first.pixelColor(300, 225), Qt::red));
  EXPECT_TRUE(testutil::Near(second.pixelColor(100, 75), Qt::red));
  EXPECT_TRUE(testutil::Near(second.pixelColor(300, 75), Qt::white, 10));  // the part sheet
}

TEST_F(OutputCli, PrintIntoOnePdf) {
  int status = 0;
  testutil::Run("pdfinfo -v 2>&1", status);
  if (status != 0) GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
  ASSERT_EQ(Cli("print" + files_ + " --pdf '" + Path("o.pdf") + "' --rows 2 --columns 2"), 0)
      << output;
  EXPECT_EQ(testutil::PdfPages(Path("o.pdf")), 2);
}

TEST_F(OutputCli, UsageErrors) {
  EXPECT_EQ(Cli("contact-sheet '" + Path("s.jpg") + "'"), 2);
  EXPECT_EQ(Cli("contact-sheet '" + Path("s.jpg") + "'" + files_ + " --rows 11"), 2);
  EXPECT_EQ(Cli("contact-sheet '" + Path("s.jpg") + "'" + files_ + " --captions colour"), 2);
  EXPECT_EQ(Cli("print" + files_ + " --rows 7"), 2);
  EXPECT_EQ(Cli("print"), 2);
  EXPECT_FALSE(std::filesystem::exists(Path("s.jpg")));
}

}  // namespace
}  // namespace vantlo

#endif
