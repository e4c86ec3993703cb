// Reading saved movies back with FFmpeg's own tools for the output tests: ffprobe's stream
// entries, every frame decoded by ffmpeg into PPM files, and how far two frames differ.
#pragma once

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "outputtestutil.h"
#include "picture/bitmap.h"

namespace vantlo::testutil {

inline std::string RunQuiet(const std::string& command) {
  int status = 0;
  return Run(command + " 2>/dev/null", status);
}

inline bool HaveMovieTools() {
  return std::system("command -v ffprobe >/dev/null 2>&1 && command -v ffmpeg >/dev/null 2>&1") ==
         0;
}

inline std::string Quote(const std::string& s) { return "'" + s + "'"; }

// key=value lines of ffprobe's stream entries.
inline std::map<std::string, std::string> Probe(const std::string& movie) {
  const std::string out = RunQuiet(
      "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
      "stream=codec_name,width,height,r_frame_rate,nb_read_frames:stream_tags=title "
      "-of default=noprint_wrappers=1 " +
      Quote(movie));
  std::map<std::string, std::string> values;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    const auto eq = line.find('=');
    if (eq != std::string::npos) values[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return values;
}

// A binary PPM as a bitmap (rows of blue, green, red).
inline tbitmap ReadPpm(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int w = 0, h = 0, max = 0;
  in >> magic >> w >> h >> max;
  in.get();
  if (magic != "P6" || w <= 0 || h <= 0 || max != 255) throw std::runtime_error("bad ppm " + path);
  tbitmap b(w, h);
  std::vector<char> row(static_cast<std::size_t>(w) * 3);
  for (int y = 0; y < h; ++y) {
    in.read(row.data(), static_cast<std::streamsize>(row.size()));
    std::uint8_t* p = b.ScanLine(y);
    for (int x = 0; x < w; ++x) {
      p[3 * x] = static_cast<std::uint8_t>(row[3 * x + 2]);
      p[3 * x + 1] = static_cast<std::uint8_t>(row[3 * x + 1]);
      p[3 * x + 2] = static_cast<std::uint8_t>(row[3 * x]);
    }
  }
  if (!in) throw std::runtime_error("short ppm " + path);
  return b;
}

// Every frame of a movie, decoded by ffmpeg.
inline std::vector<tbitmap> DecodeFrames(const std::string& movie, const std::string& folder) {
  std::filesystem::create_directories(folder);
  RunQuiet("ffmpeg -v error -i " + Quote(movie) + " -f image2 " + Quote(folder + "/f%04d.ppm"));
  std::vector<tbitmap> frames;
  for (int i = 1;; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "/f%04d.ppm", i);
    if (!std::filesystem::exists(folder + name)) break;
    frames.push_back(ReadPpm(folder + name));
  }
  return frames;
}

inline double MeanAbsoluteDifference(const tbitmap& a, const tbitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return 1e9;
  double sum = 0;
  for (std::size_t i = 0; i < a.Bytes().size(); ++i) sum += std::abs(a.Bytes()[i] - b.Bytes()[i]);
  return sum / static_cast<double>(a.Bytes().size());
}

}  // namespace vantlo::testutil
