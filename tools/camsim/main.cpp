// vantlo-camsim: a simulated Casio QV camera on a pseudo-terminal. Prints the device path on its
// first line, then serves until SIGTERM or SIGINT.
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

#include "simulator/simcamera.h"

namespace {

using vantlo::camsim::Family;
using vantlo::camsim::Faults;
using vantlo::camsim::Options;

constexpr const char* kUsage =
    "usage: vantlo-camsim --family classic|extended|filesystem [--link PATH] [--pictures DIR]\n"
    "                     [--count N] [--realtime] [--latency MS] [--picture-bytes N]\n"
    "                     [--protect N,N...]\n"
    "                     [fault options]\n"
    "fault options:\n"
    "  --nak-enquiries K     answer the first K enquiries with NAK (-1: all of them)\n"
    "  --bad-command-checksum  answer commands with a wrong checksum byte\n"
    "  --bad-packets K       damage the first K data packets sent\n"
    "  --packet-fault KIND   checksum (default), short or overlong\n"
    "  --silence-after N     send nothing after N bytes\n"
    "  --battery BYTE        battery answer (classic: volts x 16; extended: 0 = good)\n"
    "  --play-mode           camera in play mode: taking a picture answers NAK\n"
    "  --count-override N    report N pictures (e.g. above 300)\n"
    "  --garbage-answers     random reply data and random bytes instead of packets\n"
    "  --stray-bytes N       follow every reply with N stray bytes\n"
    "  --endless-stream      a transfer is an endless slow stream of random bytes\n"
    "  --transfer-fault KIND ends-at-once, packet-missing or last-packet-longer\n"
    "  --switch-off-after N  switch off once N transfers are complete\n";

struct UsageError {
  std::string text;
};

long Number(const std::string& option, const char* text) {
  char* end = nullptr;
  long v = std::strtol(text, &end, 0);
  if (!*text || *end) throw UsageError{option + ": not a number: " + text};
  return v;
}

Options Parse(int argc, char** argv) {
  Options o;
  bool haveFamily = false;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&]() -> const char* {
      if (i + 1 >= argc) throw UsageError{a + " needs a value"};
      return argv[++i];
    };
    if (a == "--help" || a == "-h") {
      std::cout << kUsage;
      std::exit(0);
    } else if (a == "--family") {
      std::string f = value();
      if (f == "classic")
        o.family = Family::classic;
      else if (f == "extended")
        o.family = Family::extended;
      else if (f == "filesystem")
        o.family = Family::filesystem;
      else
        throw UsageError{"unknown family: " + f};
      haveFamily = true;
    } else if (a == "--link") {
      o.link = value();
    } else if (a == "--pictures") {
      o.picturesDir = value();
    } else if (a == "--count") {
      o.count = static_cast<int>(Number(a, value()));
      if (o.count < 0) throw UsageError{"--count must not be negative"};
    } else if (a == "--realtime") {
      o.realtime = true;
    } else if (a == "--latency") {
      o.latencyMs = static_cast<int>(Number(a, value()));
      if (o.latencyMs < 0 || o.latencyMs > 1000) throw UsageError{"--latency must be 0..1000"};
    } else if (a == "--picture-bytes") {
      o.pictureBytes = Number(a, value());
      if (o.pictureBytes < 0 || o.pictureBytes > 16 * 1024 * 1024)
        throw UsageError{"--picture-bytes out of range"};
    } else if (a == "--protect") {
      std::string list = value();
      for (size_t at = 0; at <= list.size();) {
        size_t comma = list.find(',', at);
        if (comma == std::string::npos) comma = list.size();
        o.protectedPictures.push_back(
            static_cast<int>(Number(a, list.substr(at, comma - at).c_str())));
        at = comma + 1;
      }
    } else if (a == "--nak-enquiries") {
      o.faults.nakEnquiries = static_cast<int>(Number(a, value()));
    } else if (a == "--bad-command-checksum") {
      o.faults.badCommandChecksum = true;
    } else if (a == "--bad-packets") {
      o.faults.badPackets = static_cast<int>(Number(a, value()));
    } else if (a == "--packet-fault") {
      std::string k = value();
      if (k == "checksum")
        o.faults.packetFault = Faults::PacketFault::checksum;
      else if (k == "short")
        o.faults.packetFault = Faults::PacketFault::shortPacket;
      else if (k == "overlong")
        o.faults.packetFault = Faults::PacketFault::overlong;
      else
        throw UsageError{"unknown packet fault: " + k};
    } else if (a == "--silence-after") {
      o.faults.silenceAfterBytes = Number(a, value());
    } else if (a == "--battery") {
      o.faults.batteryByte = static_cast<int>(Number(a, value()));
      if (o.faults.batteryByte < 0 || o.faults.batteryByte > 255)
        throw UsageError{"--battery must be 0..255"};
    } else if (a == "--play-mode") {
      o.faults.playMode = true;
    } else if (a == "--count-override") {
      o.faults.countOverride = static_cast<int>(Number(a, value()));
    } else if (a == "--switch-off-after") {
      o.faults.switchOffAfterTransfers = static_cast<int>(Number(a, value()));
    } else if (a == "--garbage-answers") {
      o.faults.garbageAnswers = true;
    } else if (a == "--stray-bytes") {
      o.faults.strayBytes = static_cast<int>(Number(a, value()));
      if (o.faults.strayBytes < 0 || o.faults.strayBytes > 100000)
        throw UsageError{"--stray-bytes must be 0..100000"};
    } else if (a == "--endless-stream") {
      o.faults.endlessStream = true;
    } else if (a == "--transfer-fault") {
      using TransferFault = Faults::TransferFault;
      std::string k = value();
      if (k == "ends-at-once")
        o.faults.transferFault = TransferFault::endsAtOnce;
      else if (k == "packet-missing")
        o.faults.transferFault = TransferFault::packetMissing;
      else if (k == "last-packet-longer")
        o.faults.transferFault = TransferFault::lastPacketLonger;
      else
        throw UsageError{"unknown transfer fault: " + k};
    } else {
      throw UsageError{"unknown option: " + a};
    }
  }
  if (!haveFamily) throw UsageError{"--family is required"};
  return o;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  try {
    options = Parse(argc, argv);
  } catch (const UsageError& e) {
    std::cerr << "vantlo-camsim: " << e.text << "\n" << kUsage;
    return 2;
  }
  // Block the stop signals before any thread starts, then wait for them here.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  try {
    vantlo::camsim::SimulatedCamera camera(options);
    camera.Start();
    std::printf("%s\n", camera.DevicePath().c_str());
    std::fflush(stdout);
    int sig = 0;
    sigwait(&stopSignals, &sig);
    camera.Stop();
  } catch (const std::exception& e) {
    std::cerr << "vantlo-camsim: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
