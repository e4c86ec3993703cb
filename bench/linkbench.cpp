// Link benchmark: fetches a 64 KiB picture from the simulated camera with real line timing and
// prints `name: value` lines per line speed and adapter latency:
//   <tag>.bulk_rate_ratio    payload rate of the packet transfer over the line's byte rate
//                            (baud / 10); goal at least 0.97
//   <tag>.fetch_time_ratio   whole FetchPicture time over its limit: the line time of every byte
//                            sent and received plus the waits the protocol prescribes (300 ms per
//                            enquiry handshake, 1 ms after each command ENQ, 2 ms per command
//                            byte, 10 ms after DC2); goal at most 1.05
// Usage: bench_link [--baud 9600|19200|38400|57600|115200]... [--latency MS]... [--bytes N]
// Without options: 115200 and 9600 baud, each at 0 and 16 ms latency (about four minutes).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "camera/qv10int.h"
#include "protocolwaits.h"
#include "simulator/simcamera.h"

namespace {

using vantlo::tqvProtocolEngine;
namespace camsim = vantlo::camsim;

using namespace vantlo::bench;

bool Run(int baud, int latencyMs, long bytes) {
  camsim::Options options;
  options.family = camsim::Family::classic;
  options.count = 1;
  options.pictureBytes = bytes;
  options.realtime = true;
  options.latencyMs = latencyMs;
  camsim::SimulatedCamera camera(options);
  camera.Start();

  tqvProtocolEngine engine(camera.DevicePath(), 0, false);
  engine.SetDesiredSpeed(BaudIndex(baud));
  engine.RequestBlockSize(4096);
  std::vector<std::uint8_t> data;
  auto start = std::chrono::steady_clock::now();
  try {
    engine.FetchPicture(1, data);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "fetch at %d baud failed: %s\n", baud, e.what());
    return false;
  }
  std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  // The camera answers an enquiry only after it has finished with the last ACK, so after this
  // handshake its counters are complete; the handshake itself is taken off again.
  engine.CheckCamera();
  camsim::LineStats s = camera.Stats();
  s.enquiries -= 1;
  s.bytesIn -= 1;
  s.bytesOut -= 1;
  s.lineSeconds -= 2 * 10.0 / baud;
  try {
    engine.ResetCamera();
  } catch (...) {
  }
  camera.Stop();

  int checks = s.enquiries - s.commands;
  double waits = checks * kCheckCameraWaits + s.commands * kCommandEnquiryWait +
                 static_cast<double>(s.commandBytes) * kCommandByteWaits + s.transfers * kDc2Wait;
  double limit = s.lineSeconds + waits;
  double bulkRate =
      s.transferSeconds > 0 ? static_cast<double>(s.transferBytes) / s.transferSeconds : 0;
  double lineRate = baud / 10.0;

  std::string tag = "b" + std::to_string(baud) + ".lat" + std::to_string(latencyMs);
  std::printf("%s.picture_bytes: %zu\n", tag.c_str(), data.size());
  std::printf("%s.bulk_seconds: %.3f\n", tag.c_str(), s.transferSeconds);
  std::printf("%s.bulk_rate_ratio: %.4f\n", tag.c_str(), bulkRate / lineRate);
  std::printf("%s.fetch_seconds: %.3f\n", tag.c_str(), took.count());
  std::printf("%s.fetch_limit_seconds: %.3f\n", tag.c_str(), limit);
  std::printf("%s.fetch_time_ratio: %.4f\n", tag.c_str(), took.count() / limit);
  std::fflush(stdout);
  return data.size() == static_cast<size_t>(bytes);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> bauds, latencies;
  long bytes = 65536;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string a = argv[i];
    long v = std::strtol(argv[i + 1], nullptr, 10);
    if (a == "--baud" && BaudIndex(static_cast<int>(v)))
      bauds.push_back(static_cast<int>(v));
    else if (a == "--latency" && v >= 0 && v <= 1000)
      latencies.push_back(static_cast<int>(v));
    else if (a == "--bytes" && v > 200 && v <= 16 * 1024 * 1024)
      bytes = v;
    else {
      std::fprintf(stderr, "usage: bench_link [--baud B]... [--latency MS]... [--bytes N]\n");
      return 2;
    }
  }
  if (bauds.empty()) bauds = {115200, 9600};
  if (latencies.empty()) latencies = {0, 16};
  bool ok = true;
  for (int baud : bauds)
    for (int latency : latencies) ok = Run(baud, latency, bytes) && ok;
  return ok ? 0 : 1;
}
