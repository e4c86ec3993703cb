// Contact sheet benchmark: a 4 x 6 contact sheet (1280 x 960, the window's caption and border
// settings) of 24 camera-sized (640 x 480) and of 24 large (3000 x 2000) JPEG files, made by the
// contact sheet command as "Add All Disk Pictures" makes it (decoding, drawing, saving the
// finished sheet as a JPEG), against the same sheet made by ImageMagick's `montage` in the same
// run. Prints `name: value` lines:
//   <set>.ours_seconds       median CPU time of our sheet (set: camera, large)
//   <set>.montage_seconds    median CPU time of the montage child (user plus system)
//   <set>.ratio              ours / montage; goals: large at most 0.5 (DCT-scaled decoding),
//                            camera at most 1.0
// CPU time is used because the machine is often shared; montage may use several threads, and
// their CPU time counts. The files are generated into a temp folder and removed at the end.
// Usage: bench_sheet [--montage PATH] [--reps N]
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "library/atomicfile.h"
#include "app/core/contactsheetcommand.h"
#include "benchutil.h"
#include "picture/jpegimage.h"
#include "picture/pipeline.h"
#include "picture/rawencoder.h"

namespace {

using namespace vantlo;
using namespace vantlo::bench;
namespace fs = std::filesystem;

constexpr int kRows = 4;
constexpr int kColumns = 6;
constexpr int kSheetWidth = 1280;
constexpr int kSheetHeight = 960;
constexpr int kDistinct = 4;

void Print(const std::string& name, double value) {
  std::printf("%s: %.3f\n", name.c_str(), value);
  std::fflush(stdout);
}

std::vector<std::string> Generate(const fs::path& folder, int width, int height) {
  fs::create_directories(folder);
  std::vector<std::vector<std::uint8_t>> jpegs;
  for (int k = 0; k < kDistinct; ++k)
    jpegs.push_back(CompressJpeg(MakeTestPicture(width, height, 21 + k), 90, false));
  std::vector<std::string> files;
  for (int i = 0; i < kRows * kColumns; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "pic%03d.jpg", i + 1);
    WriteFile(folder / name, jpegs[static_cast<std::size_t>(i % kDistinct)]);
    files.push_back((folder / name).string());
  }
  return files;
}

tcontactrecord Layout() {
  tcontactrecord s;
  s.SetRows(kRows);
  s.SetColumns(kColumns);
  s.SetSheetWidth(kSheetWidth);
  s.SetSheetHeight(kSheetHeight);
  return s;  // margin 0.005, borders and file-name captions as the defaults are
}

// One sheet, as "Add All Disk Pictures" makes it, saved when it is full.
void OurSheet(const std::vector<std::string>& files, const fs::path& out) {
  const tcontactrecord settings = Layout();
  tconman manager;
  manager.Configure(settings);
  manager.SetOnSheetFinished(
      [&](tconman& m) { WriteFileAtomic(out.string(), CompressJpeg(m.SheetBitmap(), 85, false)); });
  tpicturepipeline pipeline;
  tcontactsheetcommand command(manager, settings, pipeline);
  const tbatchreport report = command.AddFiles(files);
  if (report.done.size() != files.size() || !report.error.empty())
    throw std::runtime_error("sheet failed: " + report.Summary("Added"));
}

double MontageSeconds(const std::string& montage, const std::vector<std::string>& files,
                      const fs::path& out, int reps) {
  // The same grid: cells of the sheet's size less the gaps, the file name under each picture.
  const int gap = 6;
  const int cw = (kSheetWidth - gap * 2 * kColumns) / kColumns;
  const int ch = (kSheetHeight - gap * 2 * kRows) / kRows - 14;
  std::vector<std::string> argv = {montage};
  argv.insert(argv.end(), files.begin(), files.end());
  for (const std::string& a :
       {std::string("-tile"), std::to_string(kColumns) + "x" + std::to_string(kRows),
        std::string("-geometry"),
        std::to_string(cw) + "x" + std::to_string(ch) + "+" + std::to_string(gap) + "+" +
            std::to_string(gap),
        std::string("-label"), std::string("%f"), std::string("-pointsize"), std::string("10"),
        std::string("-background"), std::string("white"), std::string("-quality"),
        std::string("85"), out.string()})
    argv.push_back(a);
  std::vector<double> samples;
  for (int i = 0; i < reps; ++i) {
    double cpu = 0;
    if (RunQuiet(argv, &cpu) != 0) throw std::runtime_error("montage failed: " + montage);
    samples.push_back(cpu);
  }
  return Median(samples);
}

}  // namespace

int main(int argc, char** argv) {
  std::string montage = "/usr/bin/montage";
  int reps = 3;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string a = argv[i];
    if (a == "--montage") {
      montage = argv[i + 1];
    } else if (a == "--reps" && std::atoi(argv[i + 1]) > 0) {
      reps = std::atoi(argv[i + 1]);
    } else {
      std::fprintf(stderr, "usage: bench_sheet [--montage PATH] [--reps N]\n");
      return 2;
    }
  }
  if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  try {
    ttempfolder temp("vantlo-sheetbench");
    struct tset {
      const char* name;
      int width, height;
    } sets[] = {{"camera", 640, 480}, {"large", 3000, 2000}};
    for (const tset& s : sets) {
      const auto files = Generate(temp.Path() / s.name, s.width, s.height);
      const fs::path ours = temp.Path() / (std::string(s.name) + "-ours.jpg");
      const fs::path theirs = temp.Path() / (std::string(s.name) + "-montage.jpg");
      const double oursSeconds = MedianTime([&] { OurSheet(files, ours); }, reps, 0, reps);
      const double montageSeconds = MontageSeconds(montage, files, theirs, reps);
      Print(std::string(s.name) + ".ours_seconds", oursSeconds);
      Print(std::string(s.name) + ".montage_seconds", montageSeconds);
      Print(std::string(s.name) + ".ratio", montageSeconds > 0 ? oursSeconds / montageSeconds : 0);
    }
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_sheet: %s\n", e.what());
    return 1;
  }
}
