// AutoCapture benchmark. Prints `name: value` lines:
//   cardcopy.files, cardcopy.bytes      the card: 200 files of 2 MB in DCIM/100CASIO
//   cardcopy.seconds                    the card run (keep card names, card kept): every copy
//                                       written atomically and compared with the card's file
//   cardcopy.reference_seconds          `cp -r` of the same tree plus `cmp` of every pair
//   cardcopy.ratio                      seconds / reference_seconds; goal at most 1.2
//   cardcopy.deleting_seconds           the same run emptying the card: the copies are flushed
//                                       to disk (syncfs) before anything is deleted
//   cardcopy.synced_reference_seconds   the reference with `sync FILE...` of the copies before
//                                       `cmp` (the same durability as the emptying run)
//   cardcopy.synced_ratio               deleting_seconds / synced_reference_seconds
//   serial.pictures, serial.seconds     the serial run over a simulated classic camera of 5
//                                       pictures, paced in real time at 115200 baud, saving CAM
//                                       and JPEG files and deleting each picture
//   serial.limit_seconds                line time of every byte + the waits the protocol
//                                       prescribes + AutoCapture's own (1 s before each picture,
//                                       2 s once all are captured)
//   serial.ratio                        seconds / limit_seconds; goal at most 1.10
// Wall-clock times (the work is on the disk and the line); each figure is the median of --reps
// runs. Usage: bench_autocap [--reps N] [--files N]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>

#include "app/core/autocapture.h"
#include "app/core/cardcapture.h"
#include "benchutil.h"
#include "camera/qv10int.h"
#include "library/records/autocapturerecord.h"
#include "protocolwaits.h"
#include "simulator/simcamera.h"

namespace {

using namespace vantlo;
using namespace vantlo::bench;
namespace fs = std::filesystem;

void MakeCard(const fs::path& root, int files) {
  const fs::path folder = root / "DCIM/100CASIO";
  fs::create_directories(folder);
  std::mt19937 random(20261206);
  std::vector<std::uint8_t> bytes(2 * 1024 * 1024);
  for (int i = 0; i < files; ++i) {
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    bytes[0] = 0xFF;
    bytes[1] = 0xD8;
    char name[32];
    std::snprintf(name, sizeof name, "CIMG%04d.JPG", i + 1);
    WriteFile(folder / name, bytes);
  }
}

double CardRun(const fs::path& card, const fs::path& out, bool emptyCard) {
  tautocapturerecord record;
  record.SetKeepCardNames(true);
  record.SetDeleteAfterCopying(emptyCard);
  tnamingsettings naming;
  naming.outputFolder = out.string();
  tfilenamer namer(naming);
  tautocapsounds sounds;
  tautocapstatus status(nullptr, sounds);
  tcardcapture run(record, namer, status, card.string());
  const auto start = tbenchclock::now();
  const tcardcaptureresult result = run.Run();
  const double took = SecondsSince(start);
  if (!result.failed.empty()) throw std::runtime_error("a copy failed");
  return took;
}

double Reference(const fs::path& card, const fs::path& out, bool sync) {
  const std::string from = (card / "DCIM/100CASIO").string();
  const std::string to = out.string();
  std::string script = "cp -r '" + from + "' '" + to + "' && ";
  if (sync) script += "sync '" + to + "'/* && ";
  script += "for f in '" + from + "'/*; do cmp -s \"$f\" '" + to + "'/\"${f##*/}\" || exit 1; done";
  const auto start = tbenchclock::now();
  if (RunQuiet({"/bin/sh", "-c", script}) != 0) throw std::runtime_error("cp/cmp failed");
  return SecondsSince(start);
}

struct tserialrun {
  double seconds = 0;
  double limit = 0;
  int captured = 0;
};

tserialrun SerialRun(const fs::path& out) {
  camsim::Options options;
  options.family = camsim::Family::classic;
  options.count = 5;
  options.realtime = true;
  camsim::SimulatedCamera camera(options);
  camera.Start();
  tserialrun measured;
  {
    tqvProtocolEngine engine(camera.DevicePath(), 0, false);
    engine.SetDesiredSpeed(BaudIndex(115200));
    engine.RequestBlockSize(4096);
    tautocapturerecord record;
    record.SetNameByPrefix(true);
    record.SetSeparateFiles(true);
    tnamingsettings naming;
    naming.outputFolder = out.string();
    naming.autoCapturePrefix = "autocap";
    tfilenamer namer(naming);
    tfetchsettings pictureSettings;
    tautocapsounds sounds;
    tautocapstatus status(nullptr, sounds);
    bool stop = false;
    tautocapturehost host;
    host.processEvents = [&stop] { return stop; };
    host.setStop = [&stop](bool on) { stop = on; };
    host.pumpingWait = [&stop](int ms) {
      if (!stop) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    };
    tautocapture run(engine, record, namer, pictureSettings, status, host);
    camera.ResetStats();
    const auto start = tbenchclock::now();
    measured.captured = run.Run().captured;
    measured.seconds = SecondsSince(start);
    const camsim::LineStats s = camera.Stats();
    measured.limit = s.lineSeconds + PrescribedWaits(s) + measured.captured * 1.0 + 2.0;
  }
  camera.Stop();
  return measured;
}

}  // namespace

int main(int argc, char** argv) {
  int reps = 3;
  int files = 200;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string a = argv[i];
    const int v = std::atoi(argv[i + 1]);
    if (a == "--reps" && v >= 1 && v <= 20) {
      reps = v;
    } else if (a == "--files" && v >= 1 && v <= 1000) {
      files = v;
    } else {
      std::fprintf(stderr, "usage: bench_autocap [--reps N] [--files N]\n");
      return 2;
    }
  }
  try {
    ttempfolder work("vantlo-autocapbench");
    const fs::path card = work.Path() / "card";
    MakeCard(card, files);
    std::vector<double> ours, deleting, plain, synced;
    for (int r = 0; r < reps; ++r) {
      const fs::path a = work.Path() / "ours", b = work.Path() / "plain", c = work.Path() / "sync";
      const fs::path d = work.Path() / "emptied", spare = work.Path() / "spare";
      for (const auto& p : {a, b, c, d, spare}) fs::remove_all(p);
      fs::create_directories(a);
      fs::create_directories(d);
      fs::copy(card, spare, fs::copy_options::recursive);  // the card the emptying run empties
      ours.push_back(CardRun(card, a, false));
      plain.push_back(Reference(card, b, false));
      deleting.push_back(CardRun(spare, d, true));
      synced.push_back(Reference(card, c, true));
    }
    PrintValue("cardcopy.files", files, "%.0f");
    PrintValue("cardcopy.bytes", files * 2.0 * 1024 * 1024, "%.0f");
    PrintValue("cardcopy.seconds", Median(ours));
    PrintValue("cardcopy.reference_seconds", Median(plain));
    PrintValue("cardcopy.ratio", Median(ours) / Median(plain));
    PrintValue("cardcopy.synced_reference_seconds", Median(synced));
    PrintValue("cardcopy.deleting_seconds", Median(deleting));
    PrintValue("cardcopy.synced_ratio", Median(deleting) / Median(synced));

    std::vector<double> seconds, ratios;
    int captured = 0;
    for (int r = 0; r < reps; ++r) {
      const fs::path out = work.Path() / ("serial" + std::to_string(r));
      fs::create_directories(out);
      const tserialrun run = SerialRun(out);
      captured = run.captured;
      seconds.push_back(run.seconds);
      ratios.push_back(run.seconds / run.limit);
    }
    PrintValue("serial.pictures", captured, "%.0f");
    PrintValue("serial.seconds", Median(seconds));
    PrintValue("serial.limit_seconds", Median(seconds) / Median(ratios));
    PrintValue("serial.ratio", Median(ratios));
    return captured == 5 ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_autocap: %s\n", e.what());
    return 1;
  }
}
