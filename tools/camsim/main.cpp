// vantlo-camsim: a simulated Casio QV camera on a pseudo-terminal. Prints the device path on its
// first line, then serves until SIGTERM or SIGINT. SIGUSR1 unplugs the camera, SIGUSR2 plugs it
// in again; --control PATH also takes commands on a socket (simulator/simcontrol.h).
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>

#include "simulator/simcamera.h"
#include "simulator/simcontrol.h"

namespace {

using vantlo::camsim::Family;
using vantlo::camsim::Faults;
using vantlo::camsim::Options;

constexpr const char* kUsage =
    "usage: vantlo-camsim --family classic|extended|filesystem [--link PATH] [--pictures DIR]\n"
    "                     [--count N] [--realtime] [--latency MS] [--picture-bytes N]\n"
    "                     [--protect N,N...] [--control SOCKET]\n"
    "                     [--usb-storage DIR [--usb-delay MS]] [fault options]\n"
    "USB storage (webcam mode):\n"
    "  --usb-storage DIR     DIR stands for the camera's USB drive: mounted at start, holding\n"
    "                        DCIM/100CASIO/CIMG0001.JPG, ...; the key letters M then m (at 9600\n"
    "                        baud) unmount or mount it, A a B b take a picture\n"
    "  --usb-delay MS        a mount or unmount takes effect MS ms after its m (default 0)\n"
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
    "  --switch-off-after N  switch off once N transfers are complete\n"
    "while running: SIGUSR1 unplugs the camera, SIGUSR2 plugs it in again; the socket of\n"
    "--control takes one line per connection: unplug, plug, take [N], count\n";

struct UsageError {
  std::string text;
};

long Number(const std::string& option, const char* text) {
  char* end = nullptr;
  long v = std::strtol(text, &end, 0);
  if (!*text || *end) throw UsageError{option + ": not a number: " + text};
  return v;
}

Options Parse(int argc, char** argv, std::string& control) {
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
    } else if (a == "--control") {
      control = value();
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
    } else if (a == "--usb-storage") {
      o.usbStorageDir = value();
      if (o.usbStorageDir.empty()) throw UsageError{"--usb-storage needs a folder"};
    } else if (a == "--usb-delay") {
      o.usbDelayMs = static_cast<int>(Number(a, value()));
      if (o.usbDelayMs < 0 || o.usbDelayMs > 60000)
        throw UsageError{"--usb-delay must be 0..60000"};
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
  std::string control;
  try {
    options = Parse(argc, argv, control);
  } catch (const UsageError& e) {
    std::cerr << "vantlo-camsim: " << e.text << "\n" << kUsage;
    return 2;
  }
  // Block the signals before any thread starts, then take them here from a signalfd.
  sigset_t signals;
  sigemptyset(&signals);
  for (int sig : {SIGTERM, SIGINT, SIGUSR1, SIGUSR2}) sigaddset(&signals, sig);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  try {
    const int signalFd = signalfd(-1, &signals, SFD_CLOEXEC);
    if (signalFd < 0) throw std::runtime_error("signalfd failed");
    vantlo::camsim::SimulatedCamera camera(options);
    std::unique_ptr<vantlo::camsim::SimControl> controlSocket;
    if (!control.empty())
      controlSocket = std::make_unique<vantlo::camsim::SimControl>(camera, control);
    camera.Start();
    std::printf("%s\n", camera.DevicePath().c_str());
    std::fflush(stdout);
    for (bool running = true; running;) {
      pollfd fds[2] = {{signalFd, POLLIN, 0},
                       {controlSocket ? controlSocket->Fd() : -1, POLLIN, 0}};
      if (poll(fds, 2, -1) < 0) continue;  // EINTR
      if (fds[1].revents & POLLIN) controlSocket->ServeOne();
      if (!(fds[0].revents & POLLIN)) continue;
      signalfd_siginfo info{};
      if (read(signalFd, &info, sizeof info) != static_cast<ssize_t>(sizeof info)) continue;
      if (info.ssi_signo == SIGUSR1)
        camera.Unplug();
      else if (info.ssi_signo == SIGUSR2)
        camera.Plug();
      else
        running = false;
    }
    camera.Stop();
    close(signalFd);
  } catch (const std::exception& e) {
    std::cerr << "vantlo-camsim: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
