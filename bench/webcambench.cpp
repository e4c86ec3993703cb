// Webcam mode benchmark. Prints `name: value` lines:
//   webcam.shots, webcam.seconds   shots "As fast as possible" on a simulated classic camera
//                                  paced in real time at 115200 baud, each fetching thumbnail
//                                  and picture, writing the output file and deleting the picture
//   webcam.pause_seconds           the pauses and sleeps the shots make at their real lengths
//   webcam.limit_seconds           line time of every byte + the protocol's prescribed waits +
//                                  the pauses
//   webcam.ratio                   seconds / limit_seconds; goal at most 1.05
// Wall-clock times. Usage: bench_webcam [--shots N]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "app/core/naming.h"
#include "app/core/vantlomanager.h"
#include "app/core/webcamworkflow.h"
#include "benchutil.h"
#include "camera/qv10int.h"
#include "protocolwaits.h"
#include "simulator/simcamera.h"

namespace {

using namespace vantlo;
using namespace vantlo::bench;

}  // namespace

int main(int argc, char** argv) {
  int shots = 10;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--shots") == 0 && i + 1 < argc) {
      shots = std::atoi(argv[++i]);
    } else {
      std::fprintf(stderr, "usage: bench_webcam [--shots N]\n");
      return 2;
    }
  }
  if (shots < 1) shots = 1;
  try {
    ttempfolder work("webcam");
    camsim::Options options;
    options.family = camsim::Family::classic;
    options.count = 1;
    options.realtime = true;
    camsim::SimulatedCamera camera(options);
    camera.Start();
    double seconds = 0;
    double pauses = 0;
    int taken = 0;
    camsim::LineStats stats;
    {
      tqvProtocolEngine engine(camera.DevicePath(), 0, false);
      engine.SetDesiredSpeed(BaudIndex(115200));
      engine.RequestBlockSize(4096);
      tnamingsettings naming;
      naming.outputFolder = work.Path().string();
      naming.webcamPrefix = "Vantlo";
      tfilenamer namer(naming);
      twebcamsettings block;
      block.SetOutputFile("webcam");
      tvantlomanager manager(block);
      manager.SetInterval(twebcamsettings::kAsFastAsPossible);
      twebcamsetup setup;
      twebcamhost host;
      host.sleep = [&pauses](int ms) {
        pauses += ms / 1000.0;
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
      };
      host.status = [&taken](twebcamstatus s, const std::string&) {
        if (s == twebcamstatus::resetting) ++taken;
      };
      twebcamworkflow workflow(engine, manager, namer, setup, host);
      if (!workflow.Start()) throw std::runtime_error("webcam mode did not start");
      camera.ResetStats();
      const auto start = tbenchclock::now();
      while (taken < shots) workflow.Tick();
      seconds = SecondsSince(start);
      stats = camera.Stats();
      workflow.Stop();
    }
    camera.Stop();
    const double limit = stats.lineSeconds + PrescribedWaits(stats) + pauses;
    PrintValue("webcam.shots", taken, "%.0f");
    PrintValue("webcam.seconds", seconds);
    PrintValue("webcam.pause_seconds", pauses);
    PrintValue("webcam.limit_seconds", limit);
    PrintValue("webcam.ratio", seconds / limit);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_webcam: %s\n", e.what());
    return 1;
  }
  return 0;
}
