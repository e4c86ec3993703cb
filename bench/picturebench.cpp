// Picture benchmark: camera pictures through the decoding pipeline against libjpeg-turbo's own
// djpeg, JPEG files through FinishPicture, and the eighth-scale preview against the floor that
// libjpeg allows: its entropy pass. Every decode must undo the entropy coding of every block,
// whatever the scale (jpeg_read_coefficients does exactly that and nothing more), so no
// eighth-scale tile can be faster than that pass; the goals are set against it and against djpeg.
// Prints `name: value` lines:
//   flavourN.jfif_bytes              size of the JFIF stream RawToJfif makes of the raw data
//   flavourN.djpeg_ms                djpeg's decode of that stream, process start-up taken off
//   flavourN.decode_ms               DecodeJpeg of the same stream at full size
//   flavourN.entropy_ms              libjpeg's entropy pass over the stream alone
//   flavourN.pipeline_ms             DecodeRawPicture: RawToJfif, decode, FinishPicture (choice 0)
//   flavourN.decode_over_djpeg       decode_ms / djpeg_ms; goal at most 1.2
//   flavourN.pipeline_over_djpeg     pipeline_ms / djpeg_ms (the finishing steps included)
//   finish.WxH.choiceC_ms            a W x H JPEG file's bytes to the finished picture
//                                    (LoadFromStream, FinishPicture)
//   finish.WxH.choiceC.finish_only_ms  FinishPicture alone on the decoded picture (handed over)
//   preview.full_ms, preview.eighth_ms  2048 x 1536 JPEG loaded at full and eighth scale
//   preview.entropy_ms               libjpeg's entropy pass over the same JPEG
//   preview.full_and_shrink_ms       full decode shrunk to the eighth's size (what the
//                                    eighth-scale decode replaces)
//   preview.speedup                  full_ms / eighth_ms (how much of a full decode the
//                                    reduced scale saves: less, the busier the picture)
//   preview.eighth_over_entropy      eighth_ms / entropy_ms; goal at most 1.3
//   preview.speedup_over_full_and_shrink  full_and_shrink_ms / eighth_ms
//   preview_busy.*                   the same for a noisy, photo-like picture (ten times the
//                                    JPEG bytes: entropy decoding, which every scale must do,
//                                    takes the larger share)
//
// All times are CPU times (user + system), medians of many runs: the machine is often shared,
// and wall-clock times would measure the other programs too.
// How djpeg is timed: djpeg decodes one file per process, so a run costs process start-up, the
// file read and the decode. Each repetition runs `djpeg -pnm -outfile /dev/null` on the stream
// (PPM: djpeg writes each row as it is decoded; its BMP output would first buffer the whole
// picture and turn it upside down, which is not decoding work), then on an 8 x 8 JPEG whose
// decode costs next to nothing, and takes the child's CPU time from wait4; the two kinds of
// runs are interleaved so that changes on the machine hit both alike. The decode time is the
// median of the stream's runs minus the median of the trivial runs. Usage: bench_picture [--djpeg
// PATH] [--reps N]
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "benchutil.h"
#include "picture/advstretch.h"
#include "picture/camformats.h"
#include "picture/jpegimage.h"
#include "picture/pipeline.h"
#include "picture/rawencoder.h"

namespace {

using namespace vantlo;
using namespace vantlo::bench;

struct tdjpeg {
  std::string program = "/usr/bin/djpeg";
  int reps = 200;
  std::filesystem::path trivial;  // an 8 x 8 JPEG
};

// Median seconds of one djpeg decode of `file`, start-up taken off; negative when djpeg fails.
double DjpegSeconds(const tdjpeg& dj, const std::filesystem::path& file) {
  std::vector<double> full, trivial;
  for (int i = 0; i < dj.reps; ++i) {
    for (int pass = 0; pass < 2; ++pass) {
      const std::string input = (pass == 0 ? file : dj.trivial).string();
      double took = 0;
      const int rc = RunQuiet({dj.program, "-pnm", "-outfile", "/dev/null", input}, &took);
      if (rc != 0) return -1;
      (pass == 0 ? full : trivial).push_back(took);
    }
  }
  return Median(full) - Median(trivial);
}

void Print(const std::string& name, double value, const char* format = "%.3f") {
  std::printf("%s: ", name.c_str());
  std::printf(format, value);
  std::printf("\n");
  std::fflush(stdout);
}

bool Flavour(int flavour, const tdjpeg& dj, const std::filesystem::path& folder) {
  const tbitmap source = MakeTestPicture(flavour == 0 ? 480 : 640, flavour == 0 ? 240 : 480, 7);
  const std::vector<std::uint8_t> raw = EncodeRawPicture(source, flavour);
  tbytes jfif;
  RawToJfif(raw, jfif);
  const std::filesystem::path file = folder / ("flavour" + std::to_string(flavour) + ".jpg");
  WriteFile(file, jfif);

  const std::string tag = "flavour" + std::to_string(flavour);
  const double djpeg = DjpegSeconds(dj, file);
  if (djpeg <= 0) {
    std::fprintf(stderr, "%s: djpeg failed or too fast to measure\n", tag.c_str());
    return false;
  }
  const double decode = MedianTime([&] { (void)DecodeJpeg(jfif, JpegScale::jsFullSize); }, 50, 2.0);
  const double entropy = MedianTime([&] { EntropyPass(jfif); }, 50, 1.0);
  tpicturepipeline pipeline;
  pipeline.SetOutputSize(0);
  const double whole = MedianTime(
      [&] {
        TJPEGImage picture;
        pipeline.DecodeRawPicture(raw, picture);
      },
      50, 2.0);
  Print(tag + ".jfif_bytes", static_cast<double>(jfif.size()), "%.0f");
  Print(tag + ".djpeg_ms", djpeg * 1000);
  Print(tag + ".decode_ms", decode * 1000);
  Print(tag + ".entropy_ms", entropy * 1000);
  Print(tag + ".pipeline_ms", whole * 1000);
  Print(tag + ".decode_over_djpeg", decode / djpeg);
  Print(tag + ".pipeline_over_djpeg", whole / djpeg);
  return true;
}

void Finish(int width, int height) {
  const std::vector<std::uint8_t> jpeg = CompressJpeg(MakeTestPicture(width, height, 3), 90, false);
  for (int choice : {0, 7}) {
    tpicturepipeline pipeline;
    pipeline.SetOutputSize(static_cast<std::uint8_t>(choice));
    const double whole = MedianTime(
        [&] {
          TJPEGImage decoded, picture;
          pipeline.PrepareJpeg(decoded);
          decoded.LoadFromStream(jpeg);
          pipeline.FinishPicture(decoded, picture);
        },
        10, 2.0);
    TJPEGImage decoded;
    pipeline.PrepareJpeg(decoded);
    decoded.LoadFromStream(jpeg);
    // FinishPicture takes the decoded image over; each run gets a fresh copy, made outside the
    // timed part.
    std::vector<double> samples;
    const auto begin = tbenchclock::now();
    while (samples.size() < 10 || SecondsSince(begin) < 1.0) {
      TJPEGImage copy = decoded, picture;
      const double at = CpuSeconds();
      pipeline.FinishPicture(std::move(copy), picture);
      samples.push_back(CpuSeconds() - at);
    }
    const double finishOnly = Median(samples);
    const std::string tag = "finish." + std::to_string(width) + "x" + std::to_string(height) +
                            ".choice" + std::to_string(choice);
    Print(tag + "_ms", whole * 1000);
    Print(tag + ".finish_only_ms", finishOnly * 1000);
  }
}

// A busy, photo-like picture: the test picture with strong noise on every byte.
tbitmap Busy(int width, int height) {
  tbitmap b = MakeTestPicture(width, height, 9);
  std::uint32_t x = 1;
  for (auto& v : b.Bytes()) {
    x = x * 1103515245u + 12345u;
    v = static_cast<std::uint8_t>(v / 2 + ((x >> 24) & 63));
  }
  return b;
}

void Preview(const std::string& tag, const tbitmap& source) {
  const std::vector<std::uint8_t> jpeg = CompressJpeg(source, 90, false);
  auto load = [&](JpegScale scale) {
    return MedianTime(
        [&] {
          TJPEGImage image;
          image.SetScale(scale);
          image.LoadFromStream(jpeg);
        },
        10, 2.0);
  };
  const double full = load(JpegScale::jsFullSize);
  const double eighth = load(JpegScale::jsEighth);
  const double entropy = MedianTime([&] { EntropyPass(jpeg); }, 10, 2.0);
  // What the eighth-scale decode replaces: a full decode shrunk to the same size.
  const double shrunk = MedianTime(
      [&] {
        TJPEGImage image;
        image.LoadFromStream(jpeg);
        tbitmap small(image.Width() / 8, image.Height() / 8);
        AdvStretch(image.Bitmap(), small, true);
      },
      10, 2.0);
  Print(tag + ".jpeg_bytes", static_cast<double>(jpeg.size()), "%.0f");
  Print(tag + ".full_ms", full * 1000);
  Print(tag + ".eighth_ms", eighth * 1000);
  Print(tag + ".entropy_ms", entropy * 1000);
  Print(tag + ".full_and_shrink_ms", shrunk * 1000);
  Print(tag + ".speedup", full / eighth);
  Print(tag + ".eighth_over_entropy", eighth / entropy);
  Print(tag + ".speedup_over_full_and_shrink", shrunk / eighth);
}

}  // namespace

int main(int argc, char** argv) {
  tdjpeg dj;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string a = argv[i];
    if (a == "--djpeg") {
      dj.program = argv[i + 1];
    } else if (a == "--reps" && std::atoi(argv[i + 1]) > 0) {
      dj.reps = std::atoi(argv[i + 1]);
    } else {
      std::fprintf(stderr, "usage: bench_picture [--djpeg PATH] [--reps N]\n");
      return 2;
    }
  }
  try {
    ttempfolder folder("vantlo-picturebench");
    dj.trivial = folder.Path() / "trivial.jpg";
    WriteFile(dj.trivial, CompressJpeg(tbitmap(8, 8), 90, false));
    if (RunQuiet({dj.program, "-pnm", "-outfile", "/dev/null", dj.trivial.string()}) != 0) {
      std::fprintf(stderr, "cannot run %s (package libjpeg-turbo-progs)\n", dj.program.c_str());
      return 1;
    }
    bool ok = Flavour(0, dj, folder.Path());
    ok = Flavour(1, dj, folder.Path()) && ok;
    Finish(640, 480);
    Finish(2048, 1536);
    Preview("preview", MakeTestPicture(2048, 1536, 5));
    Preview("preview_busy", Busy(2048, 1536));
    return ok ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_picture: %s\n", e.what());
    return 1;
  }
}
