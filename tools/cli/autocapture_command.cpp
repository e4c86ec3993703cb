// `vantlo-cli autocapture`: the headless capture station. The same AutoCapture runs as the
// window's, with the stored settings, printing each event on stdout; SIGINT or SIGTERM stops it
// after the picture being captured (a second SIGINT ends the program at once).
#include <signal.h>

#include <QGuiApplication>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <thread>

#include "app/core/autocapture.h"
#include "app/core/cardcapture.h"
#include "app/core/carddrives.h"
#include "app/core/cardfolders.h"
#include "app/core/settingsrecords.h"
#include "app/qtsoundplayer.h"
#include "internet/dialupconnect.h"
#include "internet/ftplog.h"
#include "internet/ftpsender.h"
#include "internet/ftpsettings.h"
#include "library/regconfig.h"
#include "tools/cli/cliftpview.h"
#include "tools/cli/commands.h"

namespace vantlo::cli {

const char* const kAutoCaptureUsage =
    "  autocapture [--source serial|card] [--card DIR] [--keep-polling]\n"
    "                    the AutoCapture station with the stored settings: waits for the\n"
    "                    camera (or the card of the stored drive, or DIR), saves every\n"
    "                    picture and prints each event; --keep-polling waits for new\n"
    "                    pictures after all are captured; SIGINT/SIGTERM stop after the\n"
    "                    current picture\n";

namespace {

volatile sig_atomic_t signalled = 0;

void OnStopSignal(int) { signalled = 1; }

void InstallStopSignals() {
  struct sigaction sa {};
  sa.sa_handler = OnStopSignal;
  sa.sa_flags = SA_RESETHAND;  // a second signal ends the program
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
}

bool Signalled() { return signalled != 0; }

// The GUI library draws captions and runs the sound player's events; "offscreen" needs no
// display.
std::unique_ptr<QGuiApplication> StartGui() {
  if (QGuiApplication::instance()) return nullptr;
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "vantlo-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

// Sleeps in short steps so a signal ends the wait at once.
void SleepUnlessStopped(int ms, const std::function<bool()>& stopped) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!stopped() && std::chrono::steady_clock::now() < end) {
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

// Events as lines: connected, N pictures to capture, all captured, disconnected.
void PrintEvent(const tautocaplights& lights, std::string& last) {
  if (lights.label == last) return;
  last = lights.label;
  const std::string& label = lights.label;
  const char* text = label == tautocapstatus::kConnected      ? "connected"
                     : label == tautocapstatus::kDisconnected ? "disconnected"
                     : label == tautocapstatus::kAllCaptured  ? "all captured"
                                                              : nullptr;
  if (text)
    std::printf("%s\n", text);
  else if (!label.empty())
    std::printf("%s\n", label.c_str());
  std::fflush(stdout);
}

struct Station {
  tsettingsrecords records;
  tnamingsettings naming;
  std::unique_ptr<tfilenamer> namer;
  tautocapsounds sounds;
  tqtsoundplayer player;
  std::unique_ptr<tautocapstatus> status;
  std::string lastLabel;

  Station() {
    tregconfig store;
    store.ReadAll(records);
    naming = NamingSettingsFrom(records);
    namer = std::make_unique<tfilenamer>(naming);
    sounds = SoundsFrom(records.autocapture);
    status = std::make_unique<tautocapstatus>(&player, sounds);
    status->onChange = [this](const tautocaplights& lights) { PrintEvent(lights, lastLabel); };
  }
};

void Saved(const std::string& path) {
  std::printf("saved %s\n", path.c_str());
  std::fflush(stdout);
}

int RunSerial(CameraSession& session, Station& station) {
  tqvProtocolEngine& engine = session.Engine();
  // The picture being fetched is finished when a stop comes; the run stops after it.
  engine.OnProgress = [](tqvProtocolEngine&, int, const std::string&, int) {
    return tprogressanswer::carryOn;
  };
  const tfetchsettings pictureSettings = FetchSettingsFrom(station.records);

  tcliftpview view(std::cerr, true);
  tftplog log;
  tdialupconnector dialup;
  tftpsender sender(view, log, dialup);
  sender.SetSettings(FtpSettingsFrom(station.records, station.records.config.WebcamSettings()));

  bool stop = false;
  auto stopped = [&stop] { return stop || Signalled(); };
  tautocapturehost host;
  host.processEvents = [stopped] {
    QCoreApplication::processEvents();
    return stopped();
  };
  host.setStop = [&stop](bool on) { stop = on; };
  host.pumpingWait = [stopped](int ms) { SleepUnlessStopped(ms, stopped); };
  host.message = [](tmessagekind, const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
  };
  host.fileWritten = Saved;
  host.sendFile = [&sender](const std::string& path) {
    const tftpsendresult sent = sender.SendPictureByFtp(path);
    if (sent.Ok())
      std::printf("sent %s\n", path.c_str());
    else if (sent.status == tftpsendresult::Failed)
      std::fprintf(stderr, "not sent %s: %s\n", path.c_str(), sent.message.c_str());
  };
  bool toldPrint = false;
  host.print = [&toldPrint](const TJPEGImage&) {
    if (!toldPrint) std::fprintf(stderr, "printing is left to the window; not printed\n");
    toldPrint = true;
  };

  tautocapture run(engine, station.records.autocapture, *station.namer, pictureSettings,
                   *station.status, host);
  station.status->Show(tautocapstate::waiting);
  const tautocaptureresult result = run.Run();
  std::printf("%d pictures captured, %d deleted from the camera%s\n", result.captured,
              result.deleted, Signalled() ? " (stopped)" : "");
  return 0;
}

int RunCard(Station& station, const std::string& cardDir) {
  std::string root = cardDir;
  if (root.empty()) root = tcarddrives().RootOf(station.records.autocapture.UsbDrive());
  tcardcapturehost host;
  bool told = false;
  // Nobody to click OK: the station waits for the card to appear.
  host.askConnect = [&](const std::string& text) {
    if (!told) std::printf("%s\n", text.c_str());
    std::fflush(stdout);
    told = true;
    SleepUnlessStopped(1000, [&root] { return Signalled() || !CameraFolderOf(root).empty(); });
    return !Signalled();
  };
  host.message = [](tmessagekind, const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
  };
  host.processEvents = [] { QCoreApplication::processEvents(); };
  host.fileWritten = Saved;
  tcardcapture run(station.records.autocapture, *station.namer, *station.status, root, host);
  station.status->Show(tautocapstate::waiting);
  const tcardcaptureresult result = run.Run();
  if (root.empty()) return 1;
  std::printf("%zu files saved, %zu already there, %zu deleted from the card%s\n",
              result.saved.size(), result.skipped.size(), result.deleted.size(),
              result.cancelled ? " (stopped)" : "");
  return 0;
}

}  // namespace

int RunAutoCapture(CameraSession& session, const Arguments& args) {
  std::string source, cardDir;
  bool keepPolling = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--source" && i + 1 < args.size()) {
      source = args[++i];
      if (source != "serial" && source != "card")
        throw UsageError("autocapture: --source is serial or card: " + source);
    } else if (a == "--card" && i + 1 < args.size()) {
      cardDir = args[++i];
    } else if (a == "--keep-polling") {
      keepPolling = true;
    } else {
      throw UsageError("autocapture: unexpected argument: " + a);
    }
  }
  if (source == "serial" && !cardDir.empty())
    throw UsageError("autocapture: --card goes with the card source");

  const auto gui = StartGui();
  Station station;
  tautocapturerecord& record = station.records.autocapture;
  if (keepPolling) record.SetKeepPolling(true);
  const bool card = source == "card" || !cardDir.empty() || (source.empty() && record.UsbSource());
  InstallStopSignals();
  return card ? RunCard(station, cardDir) : RunSerial(session, station);
}

}  // namespace vantlo::cli
