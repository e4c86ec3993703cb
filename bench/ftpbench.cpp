// FTP benchmark: uploads to a local pyftpdlib server (python3-pyftpdlib, started here on a free
// loopback port) by the program's FTP client, against curl in the same run. Prints `name: value`
// lines (medians over --reps runs, wall-clock: a transfer waits on the server and the line):
//   large.bytes                      size of the large file (20 MB)
//   large.ours_seconds               TFTP Open + Put + Quit of the large file
//   large.curl_seconds               `curl -T FILE` of the same file (one process)
//   large.throughput_ratio           curl seconds / ours (our throughput over curl's); goal >= 0.95
//   small.files                      number of small JPEG files (50)
//   small.ours_seconds               one Open, a Put for each file, Quit
//   small.curl_one_seconds           one `curl -T "{a,b,...}"` for all files (one connection)
//   small.curl_each_seconds          one `curl -T` per file (a connection each), for scale
//   small.time_ratio                 ours / curl one connection; goal <= 1.1
// The files are generated into a temp folder for this run and removed at the end.
// Usage: bench_ftp [--reps N] [--curl PATH]
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "benchutil.h"
#include "internet/ftpclient.h"
#include "tests/internet/pyftpserver.h"

namespace {

using namespace vantlo;
using namespace vantlo::bench;
namespace fs = std::filesystem;

std::vector<std::uint8_t> JpegLike(std::size_t size, unsigned seed) {
  std::vector<std::uint8_t> data(size);
  std::mt19937 rng(seed);
  for (auto& b : data) b = static_cast<std::uint8_t>(rng());
  data[0] = 0xFF;
  data[1] = 0xD8;
  data[size - 2] = 0xFF;
  data[size - 1] = 0xD9;
  return data;
}

bool OursUpload(const std::string& host, const std::string& dir,
                const std::vector<std::string>& files) {
  TFTP ftp;
  if (ftp.Open(host, "user", "pass", dir) != tftpopenresult::Ok) return false;
  for (const auto& f : files)
    if (!ftp.Put(f, fs::path(f).filename().string())) return false;
  ftp.Quit();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int reps = 5;
  std::string curl = "/usr/bin/curl";
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--reps" && i + 1 < argc)
      reps = std::max(1, std::atoi(argv[++i]));
    else if (a == "--curl" && i + 1 < argc)
      curl = argv[++i];
    else {
      std::fprintf(stderr, "usage: bench_ftp [--reps N] [--curl PATH]\n");
      return 2;
    }
  }
  ttempfolder tmp("vantlo-bench-ftp");
  const fs::path local = tmp.Path() / "local";
  const fs::path served = tmp.Path() / "served";
  for (const char* d : {"ours-large", "curl-large", "ours-small", "curl-small", "curl-each"})
    fs::create_directories(served / d);
  fs::create_directories(local / "small");

  constexpr std::size_t kLarge = 20 * 1024 * 1024;
  const fs::path large = local / "large.jpg";
  WriteFile(large, JpegLike(kLarge, 1));
  std::vector<std::string> small;
  std::string curlList = "{";
  for (int i = 0; i < 50; ++i) {
    const fs::path p = local / "small" / ("DSC" + std::to_string(10000 + i) + ".JPG");
    WriteFile(p, JpegLike(30000 + (i * 997) % 50000, 100 + i));
    small.push_back(p.string());
    curlList += (i ? "," : "") + p.string();
  }
  curlList += "}";

  vantlo::testing::tpyftpserver server(served.string());
  const std::string host = server.Host();
  const std::string base = "ftp://" + host + "/";
  auto timed = [](const std::function<bool()>& work, std::vector<double>& samples) {
    const auto start = tbenchclock::now();
    const bool ok = work();
    samples.push_back(SecondsSince(start));
    return ok;
  };
  auto runCurl = [&](std::vector<std::string> args) {
    args.insert(args.begin(), {curl, "-s", "-S", "--ftp-pasv", "-u", "user:pass"});
    return RunQuiet(args) == 0;
  };

  std::vector<double> oursLarge, curlLarge, oursSmall, curlOne, curlEach;
  bool ok = true;
  for (int r = 0; r < reps && ok; ++r) {
    // Alternate the order so neither side always meets a warm or a cold server.
    auto ours = [&] {
      return timed([&] { return OursUpload(host, "ours-large", {large.string()}); }, oursLarge);
    };
    auto theirs = [&] {
      return timed(
          [&] {
            return runCurl({"-T", large.string(), base + "curl-large/"});
          },
          curlLarge);
    };
    ok = r % 2 ? (theirs() && ours()) : (ours() && theirs());
    if (!ok) break;
    ok = timed([&] { return OursUpload(host, "ours-small", small); }, oursSmall) &&
         timed(
             [&] {
               return runCurl({"-T", curlList, base + "curl-small/"});
             },
             curlOne) &&
         timed(
             [&] {
               for (const auto& f : small)
                 if (!runCurl({"-T", f, base + "curl-each/"})) return false;
               return true;
             },
             curlEach);
  }
  if (!ok) {
    std::fprintf(stderr, "an upload failed (is curl at %s?)\n", curl.c_str());
    return 1;
  }
  for (const char* d : {"ours-large", "curl-large"})
    if (fs::file_size(served / d / "large.jpg") != kLarge) {
      std::fprintf(stderr, "%s: the large file did not arrive whole\n", d);
      return 1;
    }
  const double ol = Median(oursLarge), cl = Median(curlLarge);
  const double os = Median(oursSmall), c1 = Median(curlOne), ce = Median(curlEach);
  std::printf("large.bytes: %zu\n", kLarge);
  std::printf("large.ours_seconds: %.4f\n", ol);
  std::printf("large.curl_seconds: %.4f\n", cl);
  std::printf("large.throughput_ratio: %.3f\n", cl / ol);
  std::printf("small.files: %zu\n", small.size());
  std::printf("small.ours_seconds: %.4f\n", os);
  std::printf("small.curl_one_seconds: %.4f\n", c1);
  std::printf("small.curl_each_seconds: %.4f\n", ce);
  std::printf("small.time_ratio: %.3f\n", os / c1);
  return 0;
}
