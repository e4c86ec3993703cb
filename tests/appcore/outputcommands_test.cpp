// The contact sheet and print commands, headless: a sheet of six known pictures saved under the
// next free "CS" name, the save dialog path, Stop between pictures, damaged files, the setup
// applied to the manager; printing disk pictures into a pending page, Page Setup refused while
// printing, the close question, and camera pictures fetched, saved and printed.
#include <gtest/gtest.h>

#include <QColor>
#include <filesystem>
#include <fstream>

#include "app/core/contactsheetcommand.h"
#include "app/core/printcommand.h"
#include "app/core/sheetsaver.h"
#include "app/core/thumbmanager.h"
#include "camera/qv10int.h"
#include "camera/waiter.h"
#include "library/atomicfile.h"
#include "library/pictureproperties.h"
#include "output/outputerror.h"
#include "picture/pipeline.h"
#include "simulator/simcamera.h"
#include "tempdir.h"
#include "tests/output/outputtestutil.h"

namespace vantlo {
namespace {

using testing::TempDir;
using testutil::Near;
using testutil::Solid;

const QColor kColours[6] = {Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::magenta, Qt::cyan};

tlocaltime Day() { return {2026, 12, 6, 9, 30, 0}; }

void WriteJpeg(const std::string& path, int w, int h, QColor c) {
  WriteFileAtomic(path, CompressJpeg(Solid(w, h, c), 90, false));
}

tcontactrecord SheetLayout() {
  tcontactrecord s;
  s.SetRows(2);
  s.SetColumns(3);
  s.SetSheetWidth(640);
  s.SetSheetHeight(480);
  s.SetMargin(0.005);
  s.SetPrintBorders(true);
  s.SetCaptionTitle(false);
  s.SetCaptionFilename(true);
  s.SetCaptionFileSize(false);
  s.SetFontName("DejaVu Sans");
  return s;
}

class ContactSheetCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    naming_.outputFolder = out_.path();
    naming_.dailyFolder = false;
    namer_ = std::make_unique<tfilenamer>(naming_, Day);
    saver_ = std::make_unique<tsheetsaver>(*namer_, options_);
    settings_ = SheetLayout();
    manager_.Configure(settings_);
    manager_.SetOnSheetFinished([this](tconman& m) {
      const tsavereport r =
          saver_->SaveFinishedSheet(m.SheetBitmap(), {90, false}, autoSave_, ask_);
      saved_.insert(saved_.end(), r.saved.begin(), r.saved.end());
    });
  }
  std::vector<std::string> Pictures(int n) {
    std::vector<std::string> files;
    for (int i = 0; i < n; ++i) {
      files.push_back(in_ / ("pic" + std::to_string(i + 1) + ".jpg"));
      // One large picture: decoded at an eighth for its cell.
      WriteJpeg(files.back(), i == 2 ? 3000 : 320, i == 2 ? 2000 : 240, kColours[i % 6]);
    }
    return files;
  }
  tcontactsheetcommand Command(tbatchhost host = {}) {
    return tcontactsheetcommand(manager_, settings_, pipeline_, std::move(host));
  }

  TempDir in_, out_;
  tnamingsettings naming_;
  tsaveoptions options_;
  std::unique_ptr<tfilenamer> namer_;
  std::unique_ptr<tsheetsaver> saver_;
  tcontactrecord settings_;
  tconman manager_;
  tpicturepipeline pipeline_;
  bool autoSave_ = true;
  tsheetsaver::taskname ask_;
  std::vector<std::string> saved_;
};

TEST_F(ContactSheetCommand, SixPicturesLandWhereTheLayoutSaysInTheSavedJpeg) {
  const tbatchreport report = Command().AddFiles(Pictures(6));
  EXPECT_EQ(report.done.size(), 6u);
  EXPECT_TRUE(report.failed.empty());
  ASSERT_EQ(saved_, (std::vector<std::string>{out_ / "cs06dec26001.jpg"}));

  TJPEGImage sheet;
  sheet.LoadFromFile(saved_[0]);
  ASSERT_EQ(sheet.Width(), 640);
  ASSERT_EQ(sheet.Height(), 480);
  const QImage img = BitmapView(sheet.Bitmap()).copy();
  for (int k = 1; k <= 6; ++k) {
    const tcellrect cell = GridCellRect(640, 480, 0.005, 2, 3, k);
    // The picture fills the upper part of the cell; the caption band is at its bottom.
    const QColor centre =
        img.pixelColor((cell.left + cell.right) / 2, cell.top + cell.Height() / 3);
    EXPECT_TRUE(Near(centre, kColours[k - 1]))
        << "cell " << k << " " << centre.name().toStdString();
    int white = 0, dark = 0;
    for (int y = cell.bottom - 14; y < cell.bottom - 1; ++y)
      for (int x = cell.left + 2; x < cell.right - 2; ++x) {
        const QColor c = img.pixelColor(x, y);
        white += c.lightness() > 230;
        dark += c.lightness() < 110;
      }
    EXPECT_GT(dark, 10) << "cell " << k;
    EXPECT_GT(white, 4 * dark) << "cell " << k;
  }
}

TEST_F(ContactSheetCommand, SheetsOfAnEarlierRunAreNotReplaced) {
  const std::string earlier = out_ / "cs06dec26001.jpg";
  WriteFileAtomic(earlier, std::vector<std::uint8_t>{1, 2, 3});
  Command().AddFiles(Pictures(6));
  EXPECT_EQ(saved_, (std::vector<std::string>{out_ / "cs06dec26002.jpg"}));
  EXPECT_EQ(ReadWholeFile(earlier), (std::vector<std::uint8_t>{1, 2, 3}));
  // Save As of the sheet on display proposes the number after it.
  EXPECT_EQ(saver_->NextSheetName(), out_ / "cs06dec26003.jpg");
}

TEST_F(ContactSheetCommand, WithoutAutoSaveTheDialogNamesTheFile) {
  autoSave_ = false;
  std::string proposed;
  ask_ = [&](const std::string& proposal) {
    proposed = proposal;
    return std::optional<tsheetsavechoice>({out_ / "mysheet", false});
  };
  Command().AddFiles(Pictures(6));
  EXPECT_EQ(proposed, out_ / "cs06dec26001.jpg");
  EXPECT_EQ(saved_, (std::vector<std::string>{out_ / "mysheet.jpg"}));

  // The CAM filter is refused; the sheet stays finished and shown.
  ask_ = [&](const std::string&) {
    return std::optional<tsheetsavechoice>({out_ / "x.cam", true});
  };
  const tbatchreport report = Command().AddFiles(Pictures(6));
  EXPECT_EQ(report.error, kNoContactSheetAsCam);
  EXPECT_TRUE(manager_.HasSheet());
  EXPECT_FALSE(manager_.Making());
  EXPECT_FALSE(std::filesystem::exists(out_ / "x.cam"));
}

TEST_F(ContactSheetCommand, StopBetweenPicturesAndDamagedFiles) {
  std::vector<std::string> files = Pictures(4);
  WriteFileAtomic(files[1], std::vector<std::uint8_t>{0xFF, 0xD8, 0xFF, 0xE0, 0, 4});
  files.push_back(in_ / "notes.txt");
  int seen = 0;
  tbatchhost host;
  host.onFile = [&](const std::string&, int, int) { ++seen; };
  host.stopRequested = [&] { return seen == 3; };
  const tbatchreport report = Command(host).AddFiles(files);
  EXPECT_TRUE(report.stopped);
  EXPECT_EQ(report.done, (std::vector<std::string>{files[0], files[2]}));
  ASSERT_EQ(report.failed.size(), 1u);
  EXPECT_EQ(report.failed[0], files[1] + ": Unable to parse the JPEG data");
  EXPECT_EQ(manager_.Count(), 2);
  EXPECT_TRUE(saved_.empty());

  try {
    Command().AddFiles({});
    FAIL();
  } catch (const toutputerror& e) {
    EXPECT_STREQ(e.what(), "No Pictures are Selected");
  }
}

// A full sheet that cannot be saved ends the pass: the picture that filled it counts as placed,
// the next one is not taken, so the unsaved sheet is not replaced by a new one.
TEST_F(ContactSheetCommand, AFullSheetThatCannotBeSavedEndsThePass) {
  settings_.SetRows(1);
  settings_.SetColumns(2);
  manager_.Configure(settings_);
  manager_.SetOnSheetFinished([](tconman&) { throw std::runtime_error("disk full"); });
  const std::vector<std::string> files = Pictures(3);
  const tbatchreport report = Command().AddFiles(files);
  EXPECT_EQ(report.done, (std::vector<std::string>{files[0], files[1]}));
  EXPECT_EQ(report.error, "disk full");
  EXPECT_TRUE(report.failed.empty());
  EXPECT_FALSE(manager_.Making());
  ASSERT_TRUE(manager_.HasSheet());
  EXPECT_EQ(manager_.Placed(), 2);
}

TEST_F(ContactSheetCommand, CurrentPictureAndSetup) {
  tpicturedocument display(pipeline_);
  try {
    Command().AddCurrent(display);
    FAIL();
  } catch (const toutputerror& e) {
    EXPECT_STREQ(e.what(), "No picture on display");
  }
  try {
    CurrentSheetPicture(manager_);
    FAIL();
  } catch (const toutputerror& e) {
    EXPECT_STREQ(e.what(), "The current contact sheet is empty");
  }
  TJPEGImage picture;
  picture.Assign(Solid(64, 48, Qt::red));
  display.SetPicture(picture, tpicturekind::Camera);
  Command().AddCurrent(display);
  EXPECT_EQ(manager_.Count(), 1);
  EXPECT_EQ(CurrentSheetPicture(manager_).Width(), 640);

  // OK in the setup dialog drops the sheet in progress and takes the new layout.
  tcontactrecord edited = settings_;
  edited.SetRows(1);
  edited.SetColumns(2);
  edited.SetSheetWidth(200);
  tcontactsheetcommand::ApplySetup(manager_, edited);
  EXPECT_FALSE(manager_.HasSheet());
  EXPECT_EQ(manager_.Rows(), 1);
  EXPECT_EQ(manager_.Columns(), 2);
  EXPECT_EQ(manager_.SheetWidth(), 200);
}

tprintlayout Grid(int rows, int columns) {
  tprintlayout l;
  l.rows = rows;
  l.columns = columns;
  return l;
}

class PrintCommand : public ::testing::Test {
 protected:
  std::vector<std::string> Pictures(int n) {
    std::vector<std::string> files;
    for (int i = 0; i < n; ++i) {
      files.push_back(in_ / ("pic" + std::to_string(i + 1) + ".jpg"));
      WriteJpeg(files.back(), 640, 480, kColours[i % 6]);
    }
    return files;
  }
  TempDir in_;
  testutil::timagedevice device_{QSize(1000, 1000)};
  tacprinter printer_{&device_};
  tpicturepipeline pipeline_;
};

TEST_F(PrintCommand, DiskPicturesWaitOnAPartPageUntilFlushed) {
  tconfigrecord config;
  config.SetPrintRows(2);
  config.SetPrintColumns(2);
  tdiskmanrecord diskman;
  diskman.SetPrintTitles(true);
  diskman.SetPrintFontName("DejaVu Sans");
  tprintcommand::ApplyPageSetup(printer_, config, diskman);
  const auto files = Pictures(3);
  tpictureproperties props;
  props.SetFile(files[0]);
  props.SetTitle("Harbour");
  props.Save();

  tprintcommand command(printer_, pipeline_);
  const tbatchreport report = command.PrintFiles(files);
  EXPECT_EQ(report.done.size(), 3u);
  EXPECT_EQ(printer_.CountOnPage(), 3);
  EXPECT_TRUE(tprintcommand::NeedsCloseQuestion(printer_));

  // Page Setup with the page pending is refused and changes nothing.
  config.SetPrintRows(1);
  try {
    tprintcommand::ApplyPageSetup(printer_, config, diskman);
    FAIL();
  } catch (const toutputerror& e) {
    EXPECT_STREQ(e.what(), "Cannot change this while printing");
  }
  EXPECT_EQ(printer_.Rows(), 2);

  // Closing: "Yes" prints the page with its empty cell.
  tprintcommand::AnswerCloseQuestion(printer_, true);
  ASSERT_EQ(device_.pages.size(), 1u);
  EXPECT_TRUE(Near(device_.pages[0].pixelColor(257, 240), Qt::red));
  EXPECT_EQ(device_.pages[0].pixelColor(742, 742), QColor(Qt::white));
  EXPECT_FALSE(tprintcommand::NeedsCloseQuestion(printer_));

  // "No" drops the buffer.
  command.PrintFiles({files[1]});
  tprintcommand::AnswerCloseQuestion(printer_, false);
  EXPECT_FALSE(printer_.Printing());
  EXPECT_EQ(device_.pages.size(), 1u);
}

TEST_F(PrintCommand, APrinterErrorEndsThePassWithTheBufferAsItWas) {
  printer_.SetLayout(Grid(1, 2));
  device_.failEnd = true;
  tprintcommand command(printer_, pipeline_);
  const tbatchreport report = command.PrintFiles(Pictures(3));
  EXPECT_EQ(report.done.size(), 1u);
  EXPECT_EQ(report.error, "The printer reported an error; the page was not printed");
  EXPECT_EQ(printer_.CountOnPage(), 1);

  tpicturedocument display(pipeline_);
  EXPECT_THROW(command.PrintCurrent(display), toutputerror);
}

TEST_F(PrintCommand, CameraPicturesAreFetchedSavedAndPrinted) {
  camsim::Options options;
  options.count = 3;
  camsim::SimulatedCamera camera(options);
  camera.Start();
  trecordingwaiter waiter;
  tqvProtocolEngine engine(camera.DevicePath(), 0, false, &waiter);
  engine.GetCameraType();
  tthumbmanager manager(engine, engine);
  TempDir out;
  tnamingsettings naming;
  naming.outputFolder = out.path();
  tfilenamer namer(naming, Day);
  tsaveoptions saveOptions;
  tfetchsettings settings;
  std::vector<std::string> messages;
  int shown = 0;
  tfetchhost host;
  host.message = [&](tmessagekind, const std::string& text) { messages.push_back(text); };
  host.show = [&](const tshownpicture&) { ++shown; };
  tfetchworkflow fetch(engine, manager, namer, saveOptions, settings, host, Day);

  printer_.SetLayout(Grid(1, 1));
  tprintcommand command(printer_, pipeline_);
  tfetchresult result;
  EXPECT_FALSE(command.PrintCameraSelected(fetch, tcameraselection(), result));
  EXPECT_EQ(messages, (std::vector<std::string>{kSelectToPrint}));

  tcameraselection selection;
  selection.Set(2, true);
  ASSERT_TRUE(command.PrintCameraSelected(fetch, selection, result));
  EXPECT_EQ(result.fetched, (std::vector<int>{2}));
  EXPECT_EQ(device_.pages.size(), 1u);

  printer_.SetLayout(Grid(2, 2));
  result = command.PrintCameraAll(fetch);
  EXPECT_EQ(result.fetched, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(device_.pages.size(), 2u);  // the last part page is sent at the end
  EXPECT_FALSE(printer_.Printing());
  EXPECT_EQ(shown, 4);  // the window's own show still sees every picture
  EXPECT_TRUE(std::filesystem::exists(out / "06dec26003.jpg"));
}

}  // namespace
}  // namespace vantlo
