// Thumbnail benchmark: the camera page's thumbnail manager loading every thumbnail of a
// 64-picture classic simulated camera with real line timing, and fetching one picture twice
// (the second time from the run's raw-data cache). Prints `name: value` lines:
//   thumbs.count, thumbs.bytes        thumbnails loaded and their payload bytes on the line
//   thumbs.seconds                    measured time of FetchAllThumbnails (the engine's
//                                     connection check, speed change, and per thumbnail its
//                                     enquiry handshake, commands and transfer)
//   thumbs.line_seconds               line time of the thumbnail bytes: bytes x 10 / baud
//   thumbs.line_ratio                 line_seconds / seconds; goal at least 0.85
//   thumbs.prescribed_wait_seconds    the waits the protocol prescribes on top of the line time
//                                     (300 ms per enquiry handshake, 1 ms after each command
//                                     ENQ, 2 ms per command byte, 10 ms after DC2), to show
//                                     where the time goes
//   thumbs.line_ratio_bound           the best line_ratio the prescribed waits allow:
//                                     line_seconds / (line time of every byte + prescribed waits)
//   thumbs.time_over_limit            seconds over (line time of every byte + prescribed waits)
//   cache.first_seconds, cache.second_seconds  LoadPicture(1) twice
//   cache.second_transfers            packet transfers during the second load (0: cached path)
//   cache.speedup                     first / second; goal at least 50
// Usage: bench_thumb [--count N] [--baud 9600|19200|38400|57600|115200]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/core/thumbmanager.h"
#include "benchutil.h"
#include "camera/qv10int.h"
#include "picture/jpegimage.h"
#include "protocolwaits.h"
#include "simulator/simcamera.h"

namespace {

using namespace vantlo;
using namespace vantlo::bench;
namespace camsim = vantlo::camsim;

}  // namespace

int main(int argc, char** argv) {
  int count = 64;
  int baud = 115200;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string a = argv[i];
    const int v = std::atoi(argv[i + 1]);
    if (a == "--count" && v >= 2 && v <= 300) {
      count = v;
    } else if (a == "--baud" && BaudIndex(v)) {
      baud = v;
    } else {
      std::fprintf(stderr, "usage: bench_thumb [--count N] [--baud B]\n");
      return 2;
    }
  }

  camsim::Options options;
  options.family = camsim::Family::classic;
  options.count = count;
  options.realtime = true;
  camsim::SimulatedCamera camera(options);
  camera.Start();
  bool ok = true;
  try {
    ttempfolder cacheBase("vantlo-thumbbench");
    tqvProtocolEngine engine(camera.DevicePath(), 0, false);
    engine.SetDesiredSpeed(BaudIndex(baud));
    tthumbmanager manager(engine, engine, cacheBase.Path().string());
    int loaded = 0;
    manager.OnThumbnail = [&](int, bool&) { ++loaded; };

    camera.ResetStats();
    const auto start = tbenchclock::now();
    manager.FetchAllThumbnails();
    const double took = SecondsSince(start);
    // The camera counts a transfer once it has the ACK of its end packet, which may be after the
    // engine has returned; it answers an enquiry only after that ACK, so after one handshake the
    // counters are complete. The handshake itself is taken off again.
    engine.CheckCamera();
    camsim::LineStats s = camera.Stats();
    s.enquiries -= 1;
    s.bytesIn -= 1;
    s.bytesOut -= 1;
    s.lineSeconds -= 2 * 10.0 / baud;
    const double lineSeconds = static_cast<double>(s.transferBytes) * 10.0 / baud;
    const double waits = PrescribedWaits(s);
    PrintValue("thumbs.count", loaded, "%.0f");
    PrintValue("thumbs.bytes", static_cast<double>(s.transferBytes), "%.0f");
    PrintValue("thumbs.seconds", took);
    PrintValue("thumbs.line_seconds", lineSeconds);
    PrintValue("thumbs.line_ratio", lineSeconds / took);
    PrintValue("thumbs.prescribed_wait_seconds", waits);
    PrintValue("thumbs.line_ratio_bound", lineSeconds / (s.lineSeconds + waits));
    PrintValue("thumbs.time_over_limit", took / (s.lineSeconds + waits));
    ok = loaded == count;

    TJPEGImage first, second;
    camera.ResetStats();
    auto t0 = tbenchclock::now();
    manager.LoadPicture(1, first);
    const double firstSeconds = SecondsSince(t0);
    engine.CheckCamera();
    const int firstTransfers = camera.Stats().transfers;
    camera.ResetStats();
    t0 = tbenchclock::now();
    manager.LoadPicture(1, second);
    const double secondSeconds = SecondsSince(t0);
    engine.CheckCamera();
    const int secondTransfers = camera.Stats().transfers;
    PrintValue("cache.first_seconds", firstSeconds);
    PrintValue("cache.first_transfers", firstTransfers, "%.0f");
    PrintValue("cache.second_seconds", secondSeconds, "%.6f");
    PrintValue("cache.second_transfers", secondTransfers, "%.0f");
    PrintValue("cache.speedup", firstSeconds / secondSeconds, "%.1f");
    ok = ok && secondTransfers == 0 && first.Width() == second.Width();
    try {
      engine.ResetCamera();
    } catch (...) {
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_thumb: %s\n", e.what());
    ok = false;
  }
  camera.Stop();
  return ok ? 0 : 1;
}
