// Tile benchmark: the Browse page's thumbnail manager making the 80 x 80 tiles of a folder.
// Part one, without the thumbnail cache: 500 generated JPEG files (half 640 x 480, half
// 2048 x 1536; half of each with an EXIF thumbnail) against a reference that decodes every file
// at full size in the same run. Part two, with the thumbnail cache: a folder of 500 large
// (2048 x 1536) JPEG files browsed twice, the first time with an empty cache (every tile decoded
// and stored), the second time from the cache. The large pictures are photo-like (busy, 1.5 MB
// each), as a camera's are.
// Prints `name: value` lines:
//   tiles.files, tiles.made          files in the folder and tiles built
//   tiles.seconds                    CPU time of tdiskthumbmanager::LoadAllThumbnails over the
//                                    folder (CPU time: the machine is often shared; the
//                                    wall-clock times are printed as *.wall_seconds)
//   reference.seconds                CPU time of reading and decoding every file at full size
//   tiles.speedup                    reference / tiles (no goal: how much a full decode costs
//                                    beyond the entropy pass depends on the pictures)
//   tiles.entropy_seconds            CPU time of libjpeg's entropy pass alone over the files
//                                    whose tiles are decoded (those without EXIF thumbnails):
//                                    the floor of a decoded tile, which no scale goes below
//   tiles.over_entropy               tiles / entropy; goal at most 1.5 (the EXIF files' tiles,
//                                    file reads and tile drawing on top of the floor)
//   browse.cold.seconds              CPU time of the first Browse of the large folder (listing,
//                                    decoding at one eighth, storing the cache entries)
//   browse.warm.seconds              CPU time of the second Browse (a new manager, as after a
//                                    restart: listing and every tile from the cache)
//   browse.cold_over_entropy         cold / (files x the entropy pass of the large picture)
//   browse.warm_speedup              cold / warm in CPU time; goal at least 20
//   browse.warm_speedup_wall         the same in wall-clock time (the cold Browse also waits
//                                    for each entry's fsync); goal at least 20
//   browse.cache_kib                 size of the cache entries written
//   memory.<mode>.<size>_kib         peak resident set growth of a fresh child process that
//                                    makes the tiles (or full decodes) of 20 files of one pixel
//                                    size without EXIF thumbnails, over a child that only lists
//                                    the same folder (VmHWM, which the child reports); `warm`
//                                    makes them from a filled cache
//   memory.tiles.growth_kib          tiles' large minus small; the goal is that it stays small
//                                    (bounded by the compressed file read whole) while the
//                                    reference grows by the full-size bitmap
//   memory.warm.growth_kib           the same from the cache: flat (no picture file is read)
// The files are generated into a temp folder for this run and removed at the end, with the
// cache (never the user's own).
// Usage: bench_tile [--files N]
// (a child run: bench_tile --child tiles|full|list|warm FOLDER REPORTFILE CACHEROOT)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "benchutil.h"
#include "library/diskthumbmanager.h"
#include "library/thumbsource.h"
#include "picture/advstretch.h"
#include "picture/jpegimage.h"
#include "picture/rawencoder.h"

namespace {

using namespace vantlo;
using namespace vantlo::bench;
namespace fs = std::filesystem;

constexpr int kDistinctPictures = 6;  // per size; the files repeat them
constexpr int kMemoryFiles = 20;

void Print(const std::string& name, double value, const char* format = "%.3f") {
  std::printf("%s: ", name.c_str());
  std::printf(format, value);
  std::printf("\n");
  std::fflush(stdout);
}

// JPEG data without the JFIF segment, so it starts FF D8 FF DB as an embedded EXIF thumbnail
// does.
std::vector<std::uint8_t> BareJpeg(const std::vector<std::uint8_t>& jpeg) {
  std::size_t at = 2;
  while (at + 4 < jpeg.size() && jpeg[at] == 0xFF && jpeg[at + 1] >= 0xE0 && jpeg[at + 1] <= 0xEF)
    at += 2 + static_cast<std::size_t>(jpeg[at + 2]) * 256 + jpeg[at + 3];
  std::vector<std::uint8_t> out = {0xFF, 0xD8};
  out.insert(out.end(), jpeg.begin() + static_cast<long>(at), jpeg.end());
  return out;
}

// SOI, an APP1 "Exif" segment carrying a 160 x 120 JPEG thumbnail, then the main picture.
std::vector<std::uint8_t> WithExif(const std::vector<std::uint8_t>& main, const tbitmap& picture) {
  tbitmap small(160, 120);
  AdvStretch(picture, small, true);
  const std::vector<std::uint8_t> thumb = BareJpeg(CompressJpeg(small, 85, false));
  const std::size_t length = std::max<std::size_t>(thumb.size() + 8 + 64, 4000);
  std::vector<std::uint8_t> file = {0xFF,
                                    0xD8,
                                    0xFF,
                                    0xE1,
                                    static_cast<std::uint8_t>(length >> 8),
                                    static_cast<std::uint8_t>(length & 0xFF),
                                    'E',
                                    'x',
                                    'i',
                                    'f',
                                    0,
                                    0};
  file.insert(file.end(), thumb.begin(), thumb.end());
  file.resize(4 + length, 0);
  file.insert(file.end(), main.begin() + 2, main.end());
  return file;
}

struct tsizes {
  int width, height;
};
constexpr tsizes kSizes[2] = {{640, 480}, {2048, 1536}};

// Writes `files` pictures into `folder` (even: 640 x 480, odd: 2048 x 1536; every second pair
// with an EXIF thumbnail) and hard links kMemoryFiles plain ones of each size into
// folder/../small and folder/../large for the memory runs.
void Generate(const fs::path& folder, int files) {
  fs::create_directories(folder);
  fs::create_directories(folder.parent_path() / "small");
  fs::create_directories(folder.parent_path() / "large");
  std::vector<std::uint8_t> plain[2][kDistinctPictures], exif[2][kDistinctPictures];
  for (int s = 0; s < 2; ++s)
    for (int k = 0; k < kDistinctPictures; ++k) {
      const tbitmap picture = MakeTestPicture(kSizes[s].width, kSizes[s].height, 11 + k);
      plain[s][k] = CompressJpeg(picture, 90, false);
      exif[s][k] = WithExif(plain[s][k], picture);
    }
  int linked[2] = {0, 0};
  for (int i = 0; i < files; ++i) {
    const int s = i % 2;
    const bool withExif = (i / 2) % 2 == 1;
    const int k = (i / 4) % kDistinctPictures;
    char name[32];
    std::snprintf(name, sizeof name, "pic%04d.jpg", i + 1);
    WriteFile(folder / name, withExif ? exif[s][k] : plain[s][k]);
    if (!withExif && linked[s] < kMemoryFiles) {
      fs::create_hard_link(folder / name, folder.parent_path() / (s ? "large" : "small") / name);
      ++linked[s];
    }
  }
}

// A busy, photo-like picture: the test picture with strong noise on every byte. Its JPEG has a
// camera picture's size (1.5 MB at 2048 x 1536), so decoding it costs what a photo costs; the
// smooth test picture alone compresses to a fraction of that and decodes much faster.
tbitmap Busy(int width, int height) {
  tbitmap b = MakeTestPicture(width, height, 21);
  std::uint32_t x = 1;
  for (auto& v : b.Bytes()) {
    x = x * 1103515245u + 12345u;
    v = static_cast<std::uint8_t>(v / 2 + ((x >> 24) & 63));
  }
  return b;
}

// Writes one busy 2048 x 1536 JPEG without EXIF data into `folder` and links it under `files`
// names.
void GenerateLarge(const fs::path& folder, int files) {
  fs::create_directories(folder);
  const fs::path first = folder / "pic0001.jpg";
  WriteFile(first, CompressJpeg(Busy(2048, 1536), 90, false));
  for (int i = 1; i < files; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "pic%04d.jpg", i + 1);
    fs::create_hard_link(first, folder / name);
  }
}

std::uintmax_t FolderBytes(const fs::path& folder) {
  std::uintmax_t total = 0;
  std::error_code ec;
  for (const auto& e : fs::recursive_directory_iterator(folder, ec))
    if (e.is_regular_file()) total += e.file_size();
  return total;
}

// Makes every tile of the folder; cacheroot "" browses without the thumbnail cache.
int MakeTiles(const fs::path& folder, const std::string& cacheroot = "") {
  tpicturethumbsource source(cacheroot);
  tdiskthumbmanager manager(source);
  manager.SetActive(true);
  manager.SetFolder(folder.string());
  manager.LoadAllThumbnails();
  int made = 0;
  for (int n = 1; n <= manager.Count(); ++n) made += manager.HasThumbnail(n) ? 1 : 0;
  return made;
}

std::vector<fs::path> JpegFiles(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(folder))
    if (e.path().extension() == ".jpg") files.push_back(e.path());
  return files;
}

// CPU seconds of the entropy pass over every file without an EXIF segment.
double EntropySeconds(const fs::path& folder) {
  double total = 0;
  for (const fs::path& file : JpegFiles(folder)) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
    if (data.size() > 10 && std::string(data.begin() + 6, data.begin() + 10) == "Exif") continue;
    const double start = CpuSeconds();
    EntropyPass(data);
    total += CpuSeconds() - start;
  }
  return total;
}

// Reads and decodes every file at full size; returns the decoded pixel count.
long long DecodeAllFull(const fs::path& folder) {
  long long pixels = 0;
  for (const fs::path& file : JpegFiles(folder)) {
    TJPEGImage image;
    image.LoadFromFile(file);
    pixels += static_cast<long long>(image.Width()) * image.Height();
  }
  return pixels;
}

// The peak resident set of this process's own address space (VmHWM). getrusage would not do:
// a child started by posix_spawn shares its parent's memory until exec, and its ru_maxrss keeps
// the parent's peak.
long PeakKiB() {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  return -1;
}

int Child(const std::string& mode, const fs::path& folder, const fs::path& report,
          const std::string& cacheroot) {
  bool ok = false;
  if (mode == "tiles") ok = MakeTiles(folder) > 0;
  if (mode == "warm") ok = MakeTiles(folder, cacheroot) > 0;
  if (mode == "full") ok = DecodeAllFull(folder) > 0;
  if (mode == "list") ok = !JpegFiles(folder).empty();
  if (!ok) return 1;
  std::ofstream out(report);
  out << PeakKiB() << "\n";
  return out ? 0 : 1;
}

// Runs this program as a child in `mode` over `folder`; its peak resident set in KiB, -1 on
// failure.
long ChildPeakKiB(const std::string& self, const std::string& mode, const fs::path& folder,
                  const std::string& cacheroot) {
  const fs::path report = folder.parent_path() / (mode + "-" + folder.filename().string() + ".hwm");
  if (RunQuiet({self, "--child", mode, folder.string(), report.string(), cacheroot}) != 0)
    return -1;
  std::ifstream in(report);
  long peak = -1;
  in >> peak;
  return in ? peak : -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 6 && std::string(argv[1]) == "--child")
    return Child(argv[2], argv[3], argv[4], argv[5]);
  int files = 500;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string a = argv[i];
    const int v = std::atoi(argv[i + 1]);
    if (a == "--files" && v >= 4 * kMemoryFiles && v <= 5000) {
      files = v;
    } else {
      std::fprintf(stderr, "usage: bench_tile [--files N]\n");
      return 2;
    }
  }
  try {
    const std::string self = fs::canonical("/proc/self/exe").string();
    ttempfolder temp("vantlo-tilebench");
    const fs::path folder = temp.Path() / "pictures";
    auto start = tbenchclock::now();
    Generate(folder, files);
    Print("generate.seconds", SecondsSince(start));

    start = tbenchclock::now();
    double cpu = CpuSeconds();
    const int made = MakeTiles(folder);
    const double tiles = CpuSeconds() - cpu;
    const double tilesWall = SecondsSince(start);
    start = tbenchclock::now();
    cpu = CpuSeconds();
    const long long pixels = DecodeAllFull(folder);
    const double reference = CpuSeconds() - cpu;
    const double referenceWall = SecondsSince(start);
    Print("tiles.files", files, "%.0f");
    Print("tiles.made", made, "%.0f");
    Print("tiles.seconds", tiles);
    Print("tiles.wall_seconds", tilesWall);
    Print("reference.seconds", reference);
    Print("reference.wall_seconds", referenceWall);
    Print("reference.megapixels", static_cast<double>(pixels) / 1e6, "%.1f");
    Print("tiles.speedup", reference / tiles, "%.2f");
    const double entropy = EntropySeconds(folder);
    Print("tiles.entropy_seconds", entropy);
    Print("tiles.over_entropy", tiles / entropy, "%.2f");

    // Part two: the same large picture under 500 names (hard links: one file's bytes on disk,
    // 500 URIs and so 500 cache entries), browsed cold and then warm.
    const fs::path large = temp.Path() / "large500";
    const std::string cacheroot = (temp.Path() / "cache" / "thumbnails").string();
    GenerateLarge(large, files);
    start = tbenchclock::now();
    cpu = CpuSeconds();
    const int coldMade = MakeTiles(large, cacheroot);
    const double cold = CpuSeconds() - cpu;
    const double coldWall = SecondsSince(start);
    start = tbenchclock::now();
    cpu = CpuSeconds();
    const int warmMade = MakeTiles(large, cacheroot);
    const double warm = CpuSeconds() - cpu;
    const double warmWall = SecondsSince(start);
    Print("browse.files", files, "%.0f");
    Print("browse.cold.seconds", cold);
    Print("browse.cold.wall_seconds", coldWall);
    Print("browse.warm.seconds", warm);
    Print("browse.warm.wall_seconds", warmWall);
    const std::vector<std::uint8_t> largeJpeg = [&] {
      std::ifstream in(large / "pic0001.jpg", std::ios::binary);
      return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
    }();
    const double largeEntropy = MedianTime([&] { EntropyPass(largeJpeg); }, 10, 1.0);
    Print("browse.cold_over_entropy", cold / (files * largeEntropy), "%.2f");
    Print("browse.warm_speedup", cold / warm, "%.1f");
    Print("browse.warm_speedup_wall", coldWall / warmWall, "%.1f");
    Print("browse.cache_kib", static_cast<double>(FolderBytes(cacheroot)) / 1024, "%.0f");

    // Fill the cache for the memory runs' folders.
    for (const char* size : {"small", "large"}) MakeTiles(temp.Path() / size, cacheroot);
    long peak[4][2] = {};  // list, tiles, full, warm x small, large
    const char* modes[4] = {"list", "tiles", "full", "warm"};
    for (int m = 0; m < 4; ++m)
      for (int s = 0; s < 2; ++s) {
        peak[m][s] = ChildPeakKiB(self, modes[m], temp.Path() / (s ? "large" : "small"), cacheroot);
        if (peak[m][s] < 0) throw std::runtime_error(std::string("child run failed: ") + modes[m]);
      }
    for (int m = 1; m < 4; ++m)
      for (int s = 0; s < 2; ++s)
        Print(std::string("memory.") + modes[m] + "." + (s ? "2048x1536" : "640x480") + "_kib",
              static_cast<double>(peak[m][s] - peak[0][s]), "%.0f");
    for (int m = 1; m < 4; ++m)
      Print(std::string("memory.") + modes[m] + ".growth_kib",
            static_cast<double>((peak[m][1] - peak[0][1]) - (peak[m][0] - peak[0][0])), "%.0f");
    if (coldMade != files || warmMade != files) return 1;
    return made == files ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_tile: %s\n", e.what());
    return 1;
  }
}
