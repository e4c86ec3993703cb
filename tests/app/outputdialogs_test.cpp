// The contact sheet and printing dialogs on their own, offscreen: Tcontactsetup and Tpagesetup
// edit copies of their records (OK copies back, Cancel drops), the page setup is refused while
// a page is pending, and Tprintstatus shows the buffer and sends or cancels the page.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>

#include "app/ui/contactsetup.h"
#include "app/ui/pagesetup.h"
#include "app/ui/printeroutput.h"
#include "app/ui/printstatus.h"
#include "app/ui/sheetsavedialog.h"
#include "modalcloser.h"
#include "output/acprinter.h"
#include "output/conman.h"
#include "tests/output/outputtestutil.h"

namespace vantlo {
namespace {

// Runs `edit` on the modal dialog once it is open, then presses its button `button`.
template <typename Dialog>
void WhenOpen(const QString& button, std::function<void(Dialog&)> edit) {
  QTimer::singleShot(0, [button, edit] {
    auto* dlg = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dlg, nullptr);
    edit(*dlg);
    for (QPushButton* b : dlg->template findChildren<QPushButton*>())
      if (b->text() == button) b->click();
  });
}

TEST(Tcontactsetup, ShowsTheRecordAndGivesAnEditedCopyBack) {
  tcontactrecord contact;  // defaults: 4 rows, 6 columns, 640 x 480, margin 0.005
  tconfigrecord config;
  config.SetSaveContactSheets(false);
  Tcontactsetup dlg(contact, config);
  EXPECT_EQ(dlg.windowTitle(), "Contact Sheet Setup");
  EXPECT_EQ(dlg.RowsEdit->value(), 4);
  EXPECT_EQ(dlg.ColumnsEdit->value(), 6);
  EXPECT_EQ(dlg.TotalLabel->text(), "( Giving a total of 24 pictures per page )");
  EXPECT_EQ(dlg.MarginSlider->value(), 1);  // round(0.005 x 250) = round(1.25)
  EXPECT_TRUE(dlg.FilenameBox->isChecked());
  EXPECT_FALSE(dlg.AutoSaveBox->isChecked());
  dlg.RowsEdit->setValue(3);
  EXPECT_EQ(dlg.TotalLabel->text(), "( Giving a total of 18 pictures per page )");
  dlg.MarginSlider->setValue(10);
  dlg.AutoSaveBox->setChecked(true);
  dlg.TitleBox->setChecked(true);
  dlg.WidthEdit->setValue(1024);
  dlg.chooseFont = [](const tfontsetting&, QWidget*) {
    tfontsetting f;
    f.name = std::string(40, 'N');
    f.size = 14;
    f.colour = 0x0000FF;
    f.style = 3;
    return std::optional<tfontsetting>(f);
  };
  dlg.FontButton->click();
  const tcontactrecord r = dlg.Contact();
  EXPECT_EQ(r.Rows(), 3);
  EXPECT_DOUBLE_EQ(r.Margin(), 0.04);
  EXPECT_TRUE(r.CaptionTitle());
  EXPECT_EQ(r.SheetWidth(), 1024);
  EXPECT_EQ(r.FontName(), std::string(32, 'N'));
  EXPECT_EQ(r.FontSize(), 14);
  EXPECT_EQ(r.FontStyle(), 3);
  EXPECT_TRUE(dlg.Config().SaveContactSheets());
  EXPECT_EQ(contact.Rows(), 4);  // the record handed in is untouched

  // A stored margin above 0.04 shows at the slider's end.
  tcontactrecord wide;
  wide.SetMargin(0.5);
  EXPECT_EQ(Tcontactsetup(wide, config).MarginSlider->value(), 10);
}

TEST(Tcontactsetup, OkDropsTheSheetInProgressAndCancelChangesNothing) {
  tsettingsrecords records;
  records.contact.SetSoundFile("bell.wav");
  tconman manager;
  manager.Configure(records.contact);
  manager.AddBitmap(testutil::Solid(10, 10, Qt::red), "", records.contact);
  ASSERT_TRUE(manager.Making());

  WhenOpen<Tcontactsetup>("Cancel", [](Tcontactsetup& d) { d.RowsEdit->setValue(2); });
  EXPECT_FALSE(Tcontactsetup::Run(records, manager, nullptr));
  EXPECT_EQ(records.contact.Rows(), 4);
  EXPECT_TRUE(manager.Making());

  WhenOpen<Tcontactsetup>("OK", [](Tcontactsetup& d) {
    d.RowsEdit->setValue(2);
    d.ColumnsEdit->setValue(3);
  });
  EXPECT_TRUE(Tcontactsetup::Run(records, manager, nullptr));
  EXPECT_EQ(records.contact.Rows(), 2);
  EXPECT_EQ(records.contact.Columns(), 3);
  EXPECT_EQ(records.contact.SoundFile(), "bell.wav");
  EXPECT_FALSE(manager.Making());
  EXPECT_FALSE(manager.HasSheet());
  EXPECT_EQ(manager.Rows(), 2);
  EXPECT_EQ(manager.Columns(), 3);
}

TEST(Tpagesetup, EditsACopyOfThePrintLayout) {
  tconfigrecord config;
  tdiskmanrecord diskman;  // margin 0.03, borders on, titles off
  Tpagesetup dlg(config, diskman);
  EXPECT_EQ(dlg.windowTitle(), "Page Setup");
  EXPECT_EQ(dlg.RowsEdit->value(), 1);
  EXPECT_EQ(dlg.RowsEdit->maximum(), 6);
  EXPECT_EQ(dlg.MarginSlider->value(), 3);
  EXPECT_EQ(dlg.TotalLabel->text(), "( Giving a total of 1 pictures per page )");
  dlg.RowsEdit->setValue(2);
  dlg.ColumnsEdit->setValue(2);
  EXPECT_EQ(dlg.TotalLabel->text(), "( Giving a total of 4 pictures per page )");
  dlg.TitlesBox->setChecked(true);
  dlg.MarginSlider->setValue(10);
  EXPECT_EQ(dlg.Config().PrintRows(), 2);
  EXPECT_DOUBLE_EQ(dlg.DiskMan().PrintMargin(), 0.1);
  EXPECT_TRUE(dlg.DiskMan().PrintTitles());
  EXPECT_EQ(config.PrintRows(), 1);
}

TEST(Tpagesetup, RefusedWhileAPageIsPending) {
  testutil::timagedevice device;
  tacprinter printer(&device);
  tsettingsrecords records;
  records.config.SetPrintRows(2);
  records.config.SetPrintColumns(2);
  printer.SetLayout(PrintLayoutFrom(records.config, records.diskman));
  printer.PrintBitmap(testutil::Solid(10, 10, Qt::red), "");

  tmodalcloser closer;
  WhenOpen<Tpagesetup>("OK", [](Tpagesetup& d) { d.RowsEdit->setValue(3); });
  EXPECT_FALSE(Tpagesetup::Run(records, printer, nullptr));
  EXPECT_EQ(closer.texts, QStringList{"Cannot change this while printing"});
  EXPECT_EQ(records.config.PrintRows(), 2);
  EXPECT_EQ(printer.Rows(), 2);
  EXPECT_EQ(printer.CountOnPage(), 1);

  printer.AbortJob();
  WhenOpen<Tpagesetup>("OK", [](Tpagesetup& d) { d.RowsEdit->setValue(3); });
  EXPECT_TRUE(Tpagesetup::Run(records, printer, nullptr));
  EXPECT_EQ(records.config.PrintRows(), 3);
  EXPECT_EQ(printer.Rows(), 3);
}

int GreenCells(const QImage& img, int rows, int columns) {
  // Cells are found by sampling a grid of points; count distinct green cells by centre.
  int green = 0;
  const double aspect = 3.0 / 4.0;
  int pw = img.width(), ph = static_cast<int>(pw / aspect);
  if (ph > img.height()) {
    ph = img.height();
    pw = static_cast<int>(ph * aspect);
  }
  const int left = (img.width() - pw) / 2, top = (img.height() - ph) / 2;
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c) {
      const int x = left + pw * (2 * c + 1) / (2 * columns);
      const int y = top + ph * (2 * r + 1) / (2 * rows);
      green += img.pixelColor(x, y) == QColor(Qt::green);
    }
  return green;
}

TEST(Tprintstatus, ShowsThreeOfFourAndSendsThePage) {
  testutil::timagedevice device(QSize(800, 1000));
  tacprinter printer(&device);
  tprintlayout layout;
  layout.rows = 2;
  layout.columns = 2;
  printer.SetLayout(layout);
  for (int i = 0; i < 3; ++i) printer.PrintBitmap(testutil::Solid(10, 10, Qt::red), "");

  Tprintstatus dlg(printer);
  EXPECT_EQ(dlg.OrientationLabel->text(), ": Portrait");
  EXPECT_EQ(dlg.ColumnsLabel->text(), ": 2");
  EXPECT_EQ(dlg.RowsLabel->text(), ": 2");
  EXPECT_EQ(dlg.PerPageLabel->text(), ": 4");
  EXPECT_EQ(dlg.OnPageLabel->text(), ": 3");
  EXPECT_TRUE(dlg.SendButton->isEnabled());
  EXPECT_TRUE(dlg.CancelPrintingButton->isEnabled());
  EXPECT_EQ(GreenCells(RenderPrintPreview(QSize(150, 200), false, 2, 2, 3), 2, 2), 3);
  EXPECT_EQ(GreenCells(RenderPrintPreview(QSize(150, 200), false, 2, 2, 0), 2, 2), 0);

  dlg.SendButton->click();
  EXPECT_EQ(device.pages.size(), 1u);
  EXPECT_EQ(dlg.OnPageLabel->text(), ": 0");
  EXPECT_FALSE(dlg.SendButton->isEnabled());
  EXPECT_FALSE(dlg.CancelPrintingButton->isEnabled());

  printer.PrintBitmap(testutil::Solid(10, 10, Qt::red), "");
  dlg.Refresh();
  dlg.CancelPrintingButton->click();
  EXPECT_FALSE(printer.Printing());
  EXPECT_EQ(device.pages.size(), 1u);
}

TEST(Tprintstatus, PrinterErrorIsShownAndThePageKept) {
  testutil::timagedevice device;
  tacprinter printer(&device);
  tprintlayout layout;
  layout.rows = 1;
  layout.columns = 2;
  printer.SetLayout(layout);
  printer.PrintBitmap(testutil::Solid(10, 10, Qt::red), "");
  device.failEnd = true;
  Tprintstatus dlg(printer);
  tmodalcloser closer;
  dlg.SendButton->click();
  EXPECT_EQ(closer.texts, QStringList{"The printer reported an error; the page was not printed"});
  EXPECT_EQ(dlg.OnPageLabel->text(), ": 1");
  EXPECT_TRUE(dlg.SendButton->isEnabled());
}

TEST(Tprinteroutput, WithoutAPrinterTheUserMayPrintIntoPdfFiles) {
  tacprinter printer;
  tprinteroutput output(printer);
  output.defaultPrinter = [] { return std::optional<std::string>(); };
  std::vector<std::string> asked;
  output.question = [&](QWidget*, const std::string& text) {
    asked.push_back(text);
    return false;
  };
  EXPECT_FALSE(output.Prepare(nullptr));
  EXPECT_EQ(printer.Device(), nullptr);
  EXPECT_EQ(asked, (std::vector<std::string>{kNoPrinterQuestion}));

  QTemporaryDir dir;
  std::vector<int> jobs;
  output.question = [](QWidget*, const std::string&) { return true; };
  output.pdfName = [&](QWidget*, int job) {
    jobs.push_back(job);
    return std::optional<std::string>(dir.filePath(QString("p%1.pdf").arg(job)).toStdString());
  };
  ASSERT_TRUE(output.Prepare(nullptr));
  EXPECT_TRUE(output.PrintsToPdf());
  printer.PrintBitmap(testutil::Solid(20, 20, Qt::red), "");
  printer.PrintBitmap(testutil::Solid(20, 20, Qt::red), "");
  EXPECT_EQ(jobs, (std::vector<int>{1, 2}));
  EXPECT_TRUE(QFile::exists(dir.filePath("p2.pdf")));
}

TEST(SheetSaveDialog, ProposesTheNameAndTellsTheChosenFilter) {
  QTemporaryDir dir;
  const std::string proposal = dir.filePath("cs06dec26001.jpg").toStdString();
  QString title, shown;
  QTimer::singleShot(0, [&] {
    auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    title = d->windowTitle();
    shown = d->directory().absolutePath();
    d->selectNameFilter("CAM (*.cam)");
    d->selectFile(dir.filePath("mine.cam"));
    QMetaObject::invokeMethod(d, "accept");
  });
  const auto choice = SheetSaveDialog(nullptr)(proposal);
  EXPECT_EQ(title, "Save Contact Sheet As");
  EXPECT_EQ(shown, QFileInfo(dir.path()).absoluteFilePath());
  ASSERT_TRUE(choice);
  EXPECT_TRUE(choice->camFilter);
  EXPECT_EQ(QFileInfo(QString::fromStdString(choice->path)).fileName(), "mine.cam");
}

}  // namespace
}  // namespace vantlo
