#include "tools/cli/decode_command.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>

#include "library/atomicfile.h"
#include "picture/camerafile.h"
#include "picture/jpegimage.h"
#include "picture/pictureerror.h"
#include "picture/pipeline.h"
#include "tools/cli/touchoptions.h"

namespace vantlo::cli {

const char* const kDecodeUsage =
    "decode FILE -o OUT.jpg [--size 0..8] [--quality 1..100] [--progressive]\n"
    "       [--expand P] [--correct auto|off|N] [--defringe vertical|horizontal|both]\n"
    "       [--retouch brightness=B,contrast=C,sharpness=S,red=R,green=G,blue=B]\n"
    "  FILE: CAM file, raw cache file (.rcd), raw camera data or JPEG (told by content)\n"
    "  --size: 0 default, 1 160x120, 2 320x240, 3 480x360, 4 640x480, 5 1280x960,\n"
    "          6 half, 7 quarter, 8 320x240\n"
    "  --quality: JPEG quality (default 85; below 75 the picture is requantised)\n"
    "  --progressive: write a progressive JPEG (full-size camera JPEGs are re-encoded)\n"
    "  --expand P: colour-range expansion, P 1..100 (10 is the program's default)\n"
    "  --correct: Casio colour correction, auto from the contrast, off, or strength 0..20\n"
    "  --defringe: remove vertical and/or horizontal colour fringes (after decoding)\n"
    "  --retouch: the Touch sliders, each -100..100, any subset (after de-fringing)\n";

namespace {

std::optional<int> ParseInt(std::string_view s) {
  int v = 0;
  const char* end = s.data() + s.size();
  auto [p, ec] = std::from_chars(s.data(), end, v);
  if (ec != std::errc() || p != end || s.empty()) return std::nullopt;
  return v;
}

struct tdecodeargs {
  std::string Input;
  std::string Output;
  int Size = 0;
  std::optional<int> Quality;
  bool Progressive = false;
  std::optional<int> Expand;
  tcorrectionchoice Correction;
  ttouchoptions Touch;
};

// Returns an error text for a usage error, "" when the arguments are good.
std::string ParseArgs(const std::vector<std::string>& args, tdecodeargs& a) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string word = args[i];
    std::optional<std::string> inlinevalue;
    if (word.rfind("--", 0) == 0) {
      const auto eq = word.find('=');
      if (eq != std::string::npos) {
        inlinevalue = word.substr(eq + 1);
        word = word.substr(0, eq);
      }
    }
    auto value = [&]() -> std::optional<std::string> {
      if (inlinevalue) return inlinevalue;
      if (i + 1 < args.size()) return args[++i];
      return std::nullopt;
    };
    if (word == "-o" || word == "--output") {
      const auto v = value();
      if (!v || v->empty()) return "decode: " + word + " needs a file name";
      a.Output = *v;
    } else if (word == "--size") {
      const auto v = value();
      const auto n = v ? ParseInt(*v) : std::nullopt;
      if (!n || *n < 0 || *n > 8) return "decode: --size takes 0..8";
      a.Size = *n;
    } else if (word == "--quality") {
      const auto v = value();
      const auto n = v ? ParseInt(*v) : std::nullopt;
      if (!n) return "decode: --quality takes a number 1..100";
      a.Quality = *n;
    } else if (word == "--progressive") {
      if (inlinevalue) return "decode: --progressive takes no value";
      a.Progressive = true;
    } else if (word == "--expand") {
      const auto v = value();
      const auto n = v ? ParseInt(*v) : std::nullopt;
      if (!n || *n < 1 || *n > 100) return "decode: --expand takes a percentage 1..100";
      a.Expand = *n;
    } else if (word == "--correct") {
      const auto v = value();
      if (!v) return "decode: --correct takes auto, off or a strength 0..20";
      if (*v == "auto") {
        a.Correction.Mode = tcorrectionchoice::Auto;
      } else if (*v == "off") {
        a.Correction.Mode = tcorrectionchoice::Off;
      } else {
        const auto n = ParseInt(*v);
        if (!n || *n < 0 || *n > kMaxCorrectionStrength)
          return "decode: --correct takes auto, off or a strength 0..20";
        a.Correction.Mode = tcorrectionchoice::Manual;
        a.Correction.Strength = *n;
      }
    } else if (word == "--defringe" || word == "--retouch") {
      const auto v = value();
      const std::string error = !v                     ? "decode: " + word + " needs a value"
                                : word == "--defringe" ? ParseDefringe(*v, a.Touch)
                                                       : ParseRetouch(*v, a.Touch);
      if (!error.empty()) return error;
    } else if (word.size() > 1 && word[0] == '-') {
      return "decode: unknown option " + word;
    } else if (a.Input.empty()) {
      a.Input = word;
    } else {
      return "decode: more than one input file given";
    }
  }
  if (a.Input.empty()) return "decode: no input file given";
  if (a.Output.empty()) return "decode: no output file given (-o OUT.jpg)";
  return "";
}

// Replaces the file atomically, so that a failed or interrupted write leaves
// no damaged picture behind; JPEG writes are retried once. The path is made
// absolute first: the temporary file goes into the target's own folder.
void WriteFile(const std::string& path, const std::vector<std::uint8_t>& data) {
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  if (ec) throw tpictureerror("Unable to write file " + path + ": " + ec.message());
  int error = 0;
  for (int attempt = 0; attempt < 2; ++attempt) {
    try {
      WriteFileAtomic(absolute.string(), data);
      return;
    } catch (const tfileerror& e) {
      error = e.Error();
    }
  }
  throw tpictureerror("Unable to write file " + path + ": " + std::strerror(error));
}

}  // namespace

int RunDecodeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  tdecodeargs a;
  if (const std::string usage = ParseArgs(args, a); !usage.empty()) {
    err << usage << "\nusage: vantlo-cli " << kDecodeUsage;
    return 2;
  }
  tpicturepipeline pipeline;
  try {
    if (a.Quality) pipeline.SetJpegQuality(*a.Quality);
  } catch (const std::exception& e) {
    err << e.what() << "\n";
    return 2;
  }
  pipeline.SetOutputSize(static_cast<std::uint8_t>(a.Size));
  pipeline.Progressive = a.Progressive;
  // A progressive file was asked for: camera JPEGs kept as they are would
  // not be one.
  pipeline.AlwaysReencode = a.Progressive;
  if (a.Expand) {
    pipeline.ColourExpand = true;
    pipeline.ColourExpandPercent = *a.Expand;
  }

  try {
    std::ifstream in(a.Input, std::ios::binary);
    if (!in) throw tpictureerror("Unable to open file " + a.Input);
    const std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
    if (in.bad()) throw tpictureerror("Unable to read file " + a.Input);

    TJPEGImage picture;
    const tcamerafilekind kind = DecodeCameraFile(data, pipeline, a.Correction, picture);
    ApplyTouchOptions(picture, a.Touch);
    std::vector<std::uint8_t> jpeg;
    picture.SaveToStream(jpeg);
    WriteFile(a.Output, jpeg);
    out << a.Output << ": " << picture.Width() << " x " << picture.Height() << " from "
        << CameraFileKindText(kind) << "\n";
    return 0;
  } catch (const std::exception& e) {
    err << e.what() << "\n";
    return 1;
  }
}

}  // namespace vantlo::cli
