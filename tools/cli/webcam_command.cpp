// `vantlo-cli webcam`: webcam mode run headless with the stored settings. Each status change is
// printed on stdout; SIGINT or SIGTERM stop it after the current step of a shot.
#include "tools/cli/webcam_command.h"

#include <signal.h>
#include <time.h>

#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <stdexcept>

#include "app/core/carddrives.h"
#include "app/core/settingsrecords.h"
#include "app/core/webcamsetup.h"
#include "app/core/webcamworkflow.h"
#include "internet/dialupconnect.h"
#include "internet/ftplog.h"
#include "internet/ftpsender.h"
#include "internet/ftpsettings.h"
#include "library/regconfig.h"
#include "tools/cli/cliargs.h"
#include "tools/cli/cliftpview.h"

namespace vantlo::cli {

const char* const kWebcamUsage =
    "  webcam [--every SECONDS | --schedule FILE | --fast] [--output FILE] [--shots N]\n"
    "                    webcam mode with the stored settings: a shot every SECONDS, at the\n"
    "                    times of FILE, or back to back (default: the stored interval);\n"
    "                    --output sets the output file for this run; --shots stops after N\n"
    "                    shots; SIGINT/SIGTERM stop after the current step\n"
    "                    --no-pauses (for tests and benchmarks): no fixed pauses\n";

namespace {

volatile sig_atomic_t signalled = 0;

void OnStopSignal(int) { signalled = 1; }

void InstallStopSignals() {
  struct sigaction sa {};
  sa.sa_handler = OnStopSignal;
  sa.sa_flags = SA_RESETHAND;
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
}

std::unique_ptr<QGuiApplication> StartGui() {
  if (QGuiApplication::instance()) return nullptr;
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "vantlo-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

// Sleeps `ms` in slices of at most 20 ms; false when a signal ended the sleep early.
bool SliceSleep(int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!signalled) {
    const auto left = end - std::chrono::steady_clock::now();
    if (left <= std::chrono::nanoseconds(0)) return true;
    const auto slice = std::min<std::chrono::nanoseconds>(left, std::chrono::milliseconds(20));
    timespec ts{0, static_cast<long>(slice.count())};
    ::nanosleep(&ts, nullptr);
  }
  return false;
}

[[noreturn]] void Usage(const std::string& text) {
  throw UsageError(text);
}

}  // namespace

int RunWebcam(CameraSession& session, const Arguments& args) {
  int interval = 0;
  bool haveInterval = false;
  std::string schedule, output;
  bool haveOutput = false;
  int shots = 0;
  bool noPauses = false;
  int modes = 0;
  try {
    toptionwalk walk("webcam", args);
    while (walk.Next()) {
      const std::string& w = walk.Word();
      if (w == "--every") {
        interval = ParseNumber(walk.Value(), "webcam: --every", 1, 999999);
        haveInterval = true;
        ++modes;
      } else if (w == "--fast") {
        interval = twebcamsettings::kAsFastAsPossible;
        haveInterval = true;
        ++modes;
      } else if (w == "--schedule") {
        schedule = walk.Value();
        if (schedule.empty()) Usage("webcam: --schedule needs a file");
        interval = twebcamsettings::kBySchedule;
        haveInterval = true;
        ++modes;
      } else if (w == "--output") {
        output = walk.Value();
        haveOutput = true;
      } else if (w == "--shots") {
        shots = ParseNumber(walk.Value(), "webcam: --shots", 1, 1000000);
      } else if (w == "--no-pauses") {
        noPauses = true;
      } else if (walk.IsOption()) {
        walk.Unknown();
      } else {
        Usage("webcam: unexpected argument: " + w);
      }
    }
  } catch (const UsageError&) {
    throw;
  }
  if (modes > 1) Usage("webcam: --every, --schedule and --fast exclude each other");

  const auto gui = StartGui();
  tsettingsrecords records;
  tregconfig store;
  store.ReadAll(records);
  twebcamsettings block = records.config.WebcamSettings();
  const twebcamsettings stored = block;
  if (!haveInterval) interval = block.Interval();
  const bool manual = interval == twebcamsettings::kManual;
  if (manual && shots == 0) Usage("webcam: manual mode needs a --shots count");
  if (!schedule.empty()) block.SetScheduleFile(schedule);
  if (haveOutput) block.SetOutputFile(output);

  tnamingsettings naming = NamingSettingsFrom(records);
  tfilenamer namer(naming);
  twebcamsetup setup = WebcamSetupFrom(records, tcarddrives::DefaultFile());
  setup.playSound = false;  // nothing is played headless
  setup.scanUsb = [&records] { return ScanUsbCamera(records, tcarddrives::DefaultFile()); };

  tcliftpview view(std::cerr, true);
  tftplog log;
  tdialupconnector dialup;
  tftpsender sender(view, log, dialup);
  sender.SetSettings(FtpSettingsFrom(records, block));

  tvantlomanager manager(block);
  manager.SetInterval(interval);
  tqvProtocolEngine& engine = session.Engine();

  std::unique_ptr<twebcamworkflow> workflow;
  int done = 0;
  bool inShot = false;
  bool stopCalled = false;
  auto stopOnSignal = [&] {
    if (signalled && workflow && !stopCalled) {
      stopCalled = true;
      workflow->Stop();
    }
  };
  twebcamhost host;
  host.status = [&](twebcamstatus status, const std::string& label) {
    std::printf("webcam: %s\n", label.c_str());
    std::fflush(stdout);
    if (status >= twebcamstatus::taking && status <= twebcamstatus::resetting &&
        status != twebcamstatus::resetting)
      inShot = true;
    if ((status == twebcamstatus::waiting || status == twebcamstatus::inactive) && inShot) {
      inShot = false;
      ++done;
    }
  };
  host.processEvents = [&] {
    QCoreApplication::processEvents();
    stopOnSignal();
  };
  host.sleep = [&](int ms) {
    // The mount polls keep their real time: the storage takes that long to come and go.
    if (noPauses && ms > 100) ms = 0;
    if (!SliceSleep(ms)) stopOnSignal();
  };
  host.fileWritten = [](const std::string& path) {
    std::printf("webcam: wrote %s\n", path.c_str());
    std::fflush(stdout);
  };
  host.sendFile = [&sender](const std::string& path) {
    const tftpsendresult sent = sender.SendPictureByFtp(path, tftpsendkind::Webcam);
    if (!sent.Ok() && sent.status == tftpsendresult::Failed)
      throw std::runtime_error(sent.message);
  };
  host.disconnectFtp = [&sender] {
    try {
      sender.DisconnectFtp();
    } catch (...) {
    }
  };
  host.message = [](tmessagekind, const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
  };
  host.askYes = [](const std::string&) { return false; };
  workflow = std::make_unique<twebcamworkflow>(engine, manager, namer, setup, host);

  InstallStopSignals();
  int status = 0;
  try {
    if (!manual && !workflow->Start()) status = 1;
    // A schedule that cannot be used was told on stderr; no shot would ever come.
    if (status == 0 && workflow->SchedulerFailed()) status = 1;
    while (status == 0 && !signalled && (shots == 0 || done < shots)) {
      if (manual) {
        workflow->TakeNow();
      } else {
        if (!workflow->Running()) break;
        workflow->Tick();
        if (!workflow->Running() && !signalled) {
          status = 1;
          break;
        }
        if (shots == 0 || done < shots) SliceSleep(noPauses ? 0 : 1000);
      }
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    status = 1;
  }
  if (workflow->Running()) workflow->Stop();
  workflow.reset();
  std::printf("webcam: %d shot%s%s\n", done, done == 1 ? "" : "s", signalled ? " (stopped)" : "");
  std::fflush(stdout);

  // The counter and the shot times go back to the store; the run's own choices do not.
  twebcamsettings keep = block;
  keep.SetInterval(stored.Interval());
  keep.SetScheduleFile(stored.ScheduleFile());
  keep.SetOutputFile(stored.OutputFile());
  keep.SetActive(false);
  tconfigrecord config;
  store.ReadConfig(config);
  config.SetWebcamSettings(keep);
  store.WriteConfig(config);
  return status;
}

}  // namespace vantlo::cli
