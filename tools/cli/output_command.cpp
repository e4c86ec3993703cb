#include "tools/cli/output_command.h"

#include <QGuiApplication>
#include <cstdlib>
#include <exception>
#include <memory>
#include <optional>

#include "app/core/contactsheetcommand.h"
#include "app/core/printcommand.h"
#include "app/core/settingsrecords.h"
#include "library/atomicfile.h"
#include "library/regconfig.h"
#include "output/qprinterdevice.h"
#include "picture/pipeline.h"
#include "tools/cli/camerasession.h"
#include "tools/cli/cliargs.h"

namespace vantlo::cli {

const char* const kContactSheetUsage =
    "  contact-sheet OUT.jpg FILES... [--rows R] [--columns C] [--width W] [--height H]\n"
    "                [--captions title,filename,size|none]\n"
    "                    lay the JPEG and CAM FILES out on contact sheets (stored layout\n"
    "                    unless given); more sheets are OUT-2.jpg, OUT-3.jpg, ...\n";
const char* const kPrintUsage =
    "  print FILES... [--pdf OUT.pdf] [--rows R] [--columns C]\n"
    "                    print the JPEG and CAM FILES several to a page on the default\n"
    "                    printer, or into one PDF file with a page per printed page\n";

namespace {

// Fonts and printers come from the GUI library; a headless run uses the offscreen platform.
std::unique_ptr<QGuiApplication> StartGui() {
  if (QGuiApplication::instance()) return nullptr;
  if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "vantlo-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

struct toutputargs {
  std::vector<std::string> files;
  std::optional<int> rows, columns, width, height;
  std::optional<std::string> captions, pdf;
};

// Options may come anywhere among the files.
toutputargs Parse(const std::string& command, const std::vector<std::string>& args, bool sheet) {
  toutputargs a;
  const int maxGrid = sheet ? tcontactrecord::kMaxGrid : 6;
  toptionwalk walk(command, args);
  while (walk.Next()) {
    const std::string& word = walk.Word();
    if (word == "--rows") {
      a.rows = ParseNumber(walk.Value(), "--rows", 1, maxGrid);
    } else if (word == "--columns") {
      a.columns = ParseNumber(walk.Value(), "--columns", 1, maxGrid);
    } else if (sheet && word == "--width") {
      a.width = ParseNumber(walk.Value(), "--width", 1, tcontactrecord::kMaxSheetSize);
    } else if (sheet && word == "--height") {
      a.height = ParseNumber(walk.Value(), "--height", 1, tcontactrecord::kMaxSheetSize);
    } else if (sheet && word == "--captions") {
      a.captions = walk.Value();
    } else if (!sheet && word == "--pdf") {
      a.pdf = walk.Value();
      if (a.pdf->empty()) throw UsageError(command + ": --pdf needs a file name");
    } else if (walk.IsOption()) {
      walk.Unknown();
    } else {
      a.files.push_back(word);
    }
  }
  return a;
}

void ApplyCaptions(const std::string& list, tcontactrecord& r) {
  r.SetCaptionTitle(false);
  r.SetCaptionFilename(false);
  r.SetCaptionFileSize(false);
  if (list == "none") return;
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t comma = list.find(',', start);
    const std::string item = list.substr(start, comma == std::string::npos ? comma : comma - start);
    if (item == "title")
      r.SetCaptionTitle(true);
    else if (item == "filename")
      r.SetCaptionFilename(true);
    else if (item == "size")
      r.SetCaptionFileSize(true);
    else
      throw UsageError("contact-sheet: --captions takes title, filename, size or none: " + item);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
}

// OUT.jpg, then OUT-2.jpg, OUT-3.jpg, ... for further sheets.
std::string SheetName(const std::string& out, int n) {
  if (n == 1) return out;
  const auto dot = out.find_last_of('.');
  const auto slash = out.find_last_of('/');
  const bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  const std::string stem = hasExt ? out.substr(0, dot) : out;
  return stem + "-" + std::to_string(n) + (hasExt ? out.substr(dot) : std::string(".jpg"));
}

void ReportBatch(const tbatchreport& report, std::ostream& err) {
  for (const auto& f : report.failed) err << f << "\n";
  if (report.stopped) err << "stopped\n";
  if (!report.error.empty()) err << report.error << "\n";
}

}  // namespace

int RunContactSheetCommand(const std::vector<std::string>& args, std::ostream& out,
                           std::ostream& err) {
  toutputargs a;
  tsettingsrecords records;
  try {
    a = Parse("contact-sheet", args, true);
    if (a.files.size() < 2) throw UsageError("contact-sheet: give OUT.jpg and the picture files");
    tregconfig store;
    store.ReadAll(records);
    tcontactrecord& s = records.contact;
    if (a.rows) s.SetRows(*a.rows);
    if (a.columns) s.SetColumns(*a.columns);
    if (a.width) s.SetSheetWidth(*a.width);
    if (a.height) s.SetSheetHeight(*a.height);
    if (a.captions) ApplyCaptions(*a.captions, s);
  } catch (const UsageError& e) {
    err << e.what() << "\nusage: vantlo-cli [options]\n" << kContactSheetUsage;
    return 2;
  }
  const std::string output = a.files.front();
  a.files.erase(a.files.begin());
  const auto gui = StartGui();
  try {
    tconman manager;
    manager.Configure(records.contact);
    const int quality = records.config.JpegQuality();
    const bool progressive = records.config.ProgressiveJpeg();
    int sheets = 0;
    auto save = [&](tconman& m) {
      const std::string name = SheetName(output, ++sheets);
      WriteFileAtomic(name, CompressJpeg(m.SheetBitmap(), quality, progressive));
      out << name << "\n";
    };
    manager.SetOnSheetFinished(save);
    tpicturepipeline pipeline;
    tbatchhost host;
    host.stopRequested = [] { return CameraSession::StopRequested(); };
    tcontactsheetcommand command(manager, records.contact, pipeline, host);
    const tbatchreport report = command.AddFiles(a.files);
    ReportBatch(report, err);
    // A sheet that is not full is saved as well ("Save Current Sheet").
    if (report.error.empty() && manager.Making() && manager.Count() > 0) save(manager);
    if (report.done.empty()) err << "contact-sheet: no picture was placed\n";
    return report.failed.empty() && report.error.empty() && !report.done.empty() ? 0 : 1;
  } catch (const std::exception& e) {
    err << e.what() << "\n";
    return 1;
  }
}

int RunPrintCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  toutputargs a;
  tsettingsrecords records;
  try {
    a = Parse("print", args, false);
    if (a.files.empty()) throw UsageError("print: no picture files given");
    tregconfig store;
    store.ReadAll(records);
    if (a.rows) records.config.SetPrintRows(*a.rows);
    if (a.columns) records.config.SetPrintColumns(*a.columns);
  } catch (const UsageError& e) {
    err << e.what() << "\nusage: vantlo-cli [options]\n" << kPrintUsage;
    return 2;
  }
  const auto gui = StartGui();
  try {
    std::unique_ptr<tqprinterdevice> device;
    if (a.pdf) {
      device = tqprinterdevice::PdfBook(*a.pdf);
    } else {
      if (!DefaultPrinterName())
        throw tprintererror("There is no printer; print into a PDF file with --pdf OUT.pdf");
      device = std::make_unique<tqprinterdevice>();
    }
    tacprinter printer(device.get());
    tprintcommand::ApplyPageSetup(printer, records.config, records.diskman);
    tpicturepipeline pipeline;
    tbatchhost host;
    host.stopRequested = [] { return CameraSession::StopRequested(); };
    tprintcommand command(printer, pipeline, host);
    const tbatchreport report = command.PrintFiles(a.files);
    ReportBatch(report, err);
    // The last page goes out even when it is not full.
    if (report.error.empty()) printer.FinishJob();
    device->Close();
    if (a.pdf && !device->PdfFiles().empty()) out << *a.pdf << "\n";
    if (!a.pdf)
      out << "printed " << report.done.size() << " pictures on " << printer.JobCounter()
          << " pages to " << *DefaultPrinterName() << "\n";
    return report.failed.empty() && report.error.empty() && !report.done.empty() ? 0 : 1;
  } catch (const std::exception& e) {
    err << e.what() << "\n";
    return 1;
  }
}

}  // namespace vantlo::cli
