// Picture tools benchmark, on a 2048 x 1536 photo-like picture with fringes, against ImageMagick
// in the same run. Prints `name: value` lines:
//   sharpen.apply_ms           the Touch page's "Apply" of sharpness 50 (undo copy included)
//   sharpen.convert_ms         `convert -unsharp 0x1` on the same picture, file reading and
//                              writing taken off
//   sharpen.over_convert       apply_ms / convert_ms; goal at most 1.0
//   defringe.runs              the runs both passes find and repair
//   defringe.both_ms           DeFringe with both passes (result copy included)
//   defringe.convert_ms        `convert -blur 0x1`, file reading and writing taken off
//   defringe.over_convert      both_ms / convert_ms; goal at most 1.0
//   preview.redraw_ms          one slider change with a chosen area: the 132 x 84 preview
//                              adjusted, sharpened and handed to the preview control
//   preview.over_apply         redraw_ms / apply_ms; goal at most 0.02 (1/50)
//
// All times are CPU times (user + system), medians: the machine is often shared. ImageMagick
// is timed per process: each repetition runs `convert in.ppm OP out.ppm` and, interleaved,
// `convert in.ppm out.ppm`; the difference of the two medians is the operation. It runs with
// MAGICK_THREAD_LIMIT=1 unless --magick-threads says otherwise, as the program's own code runs
// on one thread (more threads only add to ImageMagick's CPU time).
// Usage: bench_touch [--convert PATH] [--reps N] [--magick-threads N]
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "benchutil.h"
#include "picture/defringe.h"
#include "picture/fastbm.h"
#include "picture/rawencoder.h"
#include "picture/retoucher.h"
#include "picture/touchsliders.h"

namespace {

using namespace vantlo;
using namespace vantlo::bench;

void Print(const std::string& name, double value, const char* format = "%.3f") {
  std::printf("%s: ", name.c_str());
  std::printf(format, value);
  std::printf("\n");
  std::fflush(stdout);
}

// The test picture with noise (so that nothing is flat) and short bright and dark stripes one
// pixel wide at even columns and rows, as the cameras' fringes look.
tbitmap FringedPicture(int w, int h) {
  tbitmap b = MakeTestPicture(w, h, 11);
  std::uint32_t seed = 12345;
  for (std::uint8_t& v : b.Bytes()) {
    seed = seed * 1664525u + 1013904223u;
    const int n = static_cast<int>(v) + static_cast<int>((seed >> 24) % 17) - 8;
    v = static_cast<std::uint8_t>(n < 0 ? 0 : (n > 255 ? 255 : n));
  }
  tfastbm f;
  f.Attach(&b);
  for (int x = 2; x < w - 2; x += 24)
    for (int y = (x * 7) % (h - 60) + 1, end = y + 40; y < end; ++y)
      f.SetPixel(x, y, (x / 24) % 2 ? MakeColor(250, 250, 250) : MakeColor(5, 5, 5));
  for (int y = 4; y < h - 2; y += 30)
    for (int x = (y * 5) % (w - 80) + 1, end = x + 60; x < end; ++x)
      f.SetPixel(x, y, MakeColor(240, 240, 240));
  return b;
}

void WritePpm(const std::filesystem::path& path, const tbitmap& b) {
  const std::string head =
      "P6\n" + std::to_string(b.Width()) + " " + std::to_string(b.Height()) + "\n255\n";
  std::vector<std::uint8_t> bytes(head.begin(), head.end());
  bytes.reserve(head.size() + b.Bytes().size());
  for (std::size_t i = 0; i < b.Bytes().size(); i += 3) {
    bytes.push_back(b.Bytes()[i + 2]);
    bytes.push_back(b.Bytes()[i + 1]);
    bytes.push_back(b.Bytes()[i]);
  }
  WriteFile(path, bytes);
}

struct tconvert {
  std::string program = "/usr/bin/convert";
  int reps = 15;
};

// Median CPU seconds of `convert in OP... out`, the plain `convert in out` taken off;
// negative when convert fails.
double ConvertSeconds(const tconvert& c, const std::filesystem::path& in,
                      const std::filesystem::path& out, const std::vector<std::string>& op) {
  std::vector<double> withop, plain;
  std::vector<std::string> argv = {c.program, in.string()};
  argv.insert(argv.end(), op.begin(), op.end());
  argv.push_back(out.string());
  for (int i = 0; i < c.reps; ++i) {
    double took = 0;
    if (RunQuiet(argv, &took) != 0) return -1;
    withop.push_back(took);
    if (RunQuiet({c.program, in.string(), out.string()}, &took) != 0) return -1;
    plain.push_back(took);
  }
  return Median(withop) - Median(plain);
}

}  // namespace

int main(int argc, char** argv) {
  tconvert convert;
  std::string threads = "1";
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--convert" && i + 1 < argc) {
      convert.program = argv[++i];
    } else if (a == "--reps" && i + 1 < argc) {
      convert.reps = std::max(1, std::atoi(argv[++i]));
    } else if (a == "--magick-threads" && i + 1 < argc) {
      threads = argv[++i];
    } else {
      std::fprintf(stderr, "usage: bench_touch [--convert PATH] [--reps N] [--magick-threads N]\n");
      return 2;
    }
  }
  ::setenv("MAGICK_THREAD_LIMIT", threads.c_str(), 1);

  const int w = 2048, h = 1536;
  const tbitmap picture = FringedPicture(w, h);
  ttempfolder folder("bench_touch");
  const auto in = folder.Path() / "in.ppm";
  const auto out = folder.Path() / "out.ppm";
  WritePpm(in, picture);

  // "Apply" of sharpness 50: the retoucher's base picture is the displayed one; every run
  // applies to a fresh copy of it (the copy is not timed).
  tretoucher retoucher;
  ttouchsliders sliders(retoucher);
  retoucher.LoadPicture(picture, false);
  sliders.Move(ttouchslider::Sharpness, 50);
  std::vector<double> applies;
  for (int i = 0; i < 15; ++i) {
    tbitmap target = picture;
    const double start = CpuSeconds();
    retoucher.ApplyTo(target);
    applies.push_back(CpuSeconds() - start);
  }
  const double apply = Median(applies);
  Print("sharpen.apply_ms", apply * 1000);
  const double unsharp = ConvertSeconds(convert, in, out, {"-unsharp", "0x1"});
  if (unsharp > 0) {
    Print("sharpen.convert_ms", unsharp * 1000);
    Print("sharpen.over_convert", apply / unsharp);
  } else {
    std::printf("sharpen.convert_ms: failed (%s)\n", convert.program.c_str());
  }

  // De-fringe, both passes, each run on a fresh copy.
  {
    tbitmap probe = picture;
    const std::size_t runs = FindVerticalFringes(probe).size();
    RepairVerticalFringes(probe, FindVerticalFringes(probe));
    Print("defringe.runs", static_cast<double>(runs + FindHorizontalFringes(probe).size()), "%.0f");
  }
  std::vector<double> defringes;
  for (int i = 0; i < 15; ++i) {
    tbitmap target = picture, result;
    const double start = CpuSeconds();
    DeFringe(target, result, true, true);
    defringes.push_back(CpuSeconds() - start);
  }
  const double defringe = Median(defringes);
  Print("defringe.both_ms", defringe * 1000);
  const double blur = ConvertSeconds(convert, in, out, {"-blur", "0x1"});
  if (blur > 0) {
    Print("defringe.convert_ms", blur * 1000);
    Print("defringe.over_convert", defringe / blur);
  } else {
    std::printf("defringe.convert_ms: failed (%s)\n", convert.program.c_str());
  }

  // A slider change with an area chosen on a display of half the picture's size.
  std::size_t drawn = 0;
  retoucher.SetPreviewControl([&drawn](const tbitmap&) { ++drawn; });
  retoucher.SetPreviewArea(PreviewAreaAt(400, 300, w / 2, h / 2), {0, 0, w / 2, h / 2});
  sliders.Move(ttouchslider::Contrast, 20);
  int value = 0;
  const double redraw = MedianTime(
      [&] {
        value = value == 50 ? 49 : 50;
        sliders.Move(ttouchslider::Sharpness, value);
      },
      200, 1.0);
  Print("preview.redraw_ms", redraw * 1000);
  Print("preview.over_apply", redraw / apply);
  return drawn > 0 ? 0 : 1;
}
