#include "tools/cli/finishedfetch.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>

#include "library/atomicfile.h"
#include "app/core/fetchworkflow.h"
#include "app/core/settingsrecords.h"
#include "app/core/terminalquestion.h"
#include "app/core/thumbmanager.h"
#include "library/regconfig.h"

namespace vantlo::cli {

namespace {

namespace fs = std::filesystem;

// Captions are drawn with the GUI library's fonts: start it on the "offscreen" platform (no
// display needed) when a caption is to be written.
std::unique_ptr<QGuiApplication> StartGuiForCaptions(const tfetchsettings& settings) {
  if (settings.caption.mode == 0 || QGuiApplication::instance()) return nullptr;
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "vantlo-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

const char* KindWord(tmessagekind kind) {
  switch (kind) {
    case tmessagekind::information:
      return "note";
    case tmessagekind::warning:
      return "warning";
    default:
      return "error";
  }
}

// Everything a workflow run needs, made from the stored settings.
struct WorkflowRun {
  WorkflowRun(CameraSession& session, const std::string& outputFolder)
      : engine(session.Engine()), question(std::cin, std::cerr, StdioIsTerminal()) {
    tregconfig store;
    store.ReadAll(records);
    naming = NamingSettingsFrom(records);
    naming.outputFolder = outputFolder;
    saveOptions = SaveOptionsFrom(records.config);
    settings = FetchSettingsFrom(records);
    gui = StartGuiForCaptions(settings);
    manager = std::make_unique<tthumbmanager>(engine, engine);
    namer = std::make_unique<tfilenamer>(naming);
    host.progress = [&session](int position, const std::string& text, int n) {
      if (text == "Loading picture" || text == "Fetching AVI") {
        session.Progress().Begin("picture " + std::to_string(n));
      } else if (text == "Ready") {
        session.Progress().End();
      } else {
        session.Progress().Report(position);
      }
    };
    host.stopRequested = [] { return CameraSession::StopRequested(); };
    host.message = [&session](tmessagekind kind, const std::string& text) {
      session.Progress().End();
      std::fprintf(stderr, "%s: %s\n", KindWord(kind), text.c_str());
    };
    host.overwrite = &question;
    workflow =
        std::make_unique<tfetchworkflow>(engine, *manager, *namer, saveOptions, settings, host);
  }

  tqvProtocolEngine& engine;
  tterminalquestion question;
  tsettingsrecords records;
  tnamingsettings naming;
  tsaveoptions saveOptions;
  tfetchsettings settings;
  std::unique_ptr<QGuiApplication> gui;
  std::unique_ptr<tthumbmanager> manager;
  std::unique_ptr<tfilenamer> namer;
  tfetchhost host;
  std::unique_ptr<tfetchworkflow> workflow;
};

void MakeFolder(const fs::path& dir) {
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (!fs::is_directory(dir)) throw std::runtime_error("Cannot create folder " + dir.string());
}

}  // namespace

FetchFlags TakeFetchFlags(Arguments& args) {
  FetchFlags flags;
  Arguments rest;
  for (const std::string& a : args) {
    if (a == "--jpg") {
      flags.jpg = true;
    } else if (a == "--cam") {
      flags.cam = true;
    } else {
      rest.push_back(a);
    }
  }
  args = std::move(rest);
  return flags;
}

int RunFinishedFetch(CameraSession& session, int n, const std::string& file, FetchFlags flags) {
  fs::path path = file;
  const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
  WorkflowRun run(session, folder.string());
  // Only the files named here are written: no generated names, no daily folder.
  run.workflow->SetSaving(false);
  tshownpicture last;
  run.workflow->Host().show = [&last](const tshownpicture& p) { last = p; };
  // Nothing fetched (no such picture) is a failure, never an empty file.
  if (run.workflow->FetchPicture(n).fetched.empty()) throw tqvbadpicnum();

  auto named = [&](const char* extension) {
    if (!(flags.jpg && flags.cam)) return path;
    fs::path p = path;
    return p.replace_extension(extension);
  };
  if (last.kind == tshownkind::moviePreview) {
    const fs::path avi = named(".avi");
    WriteFileAtomic(avi.string(), last.movieData);
    std::printf("%s (movie, AVI as fetched, %zu bytes)\n", avi.c_str(), last.movieData.size());
    return 0;
  }
  if (flags.cam) {
    const fs::path cam = named(".cam");
    const std::vector<std::uint8_t> bytes = run.manager->CamFileBytes(n);
    WriteFileAtomic(cam.string(), bytes);
    std::printf("%s (CAM file, %zu bytes)\n", cam.c_str(), bytes.size());
  }
  if (flags.jpg) {
    const fs::path jpg = named(".jpg");
    std::vector<std::uint8_t> bytes;
    last.image.SaveToStream(bytes);
    WriteFileAtomic(jpg.string(), bytes);
    std::printf("%s (JPEG %d x %d, %zu bytes)\n", jpg.c_str(), last.image.Width(),
                last.image.Height(), bytes.size());
  }
  return 0;
}

int RunWorkflowFetchAll(CameraSession& session, const std::string& dir, FetchFlags flags) {
  MakeFolder(dir);
  WorkflowRun run(session, dir);
  if (flags.Any()) {
    run.saveOptions.saveJpeg = flags.jpg;
    run.saveOptions.saveCam = flags.cam;
  }
  const tfetchresult result = run.workflow->FetchAll(true);
  for (const std::string& name : result.saved) std::printf("%s\n", name.c_str());
  // Where the window would have asked and nobody could answer: skipped, and said so.
  for (const std::string& name : result.skipped)
    std::printf("skipped %s (the file exists)\n", name.c_str());
  std::printf("fetched %zu of %d pictures: %zu files saved, %zu skipped, %zu failed%s\n",
              result.fetched.size(), run.manager->Count(), result.saved.size(),
              result.skipped.size(), result.failed.size(), result.stopped ? " (stopped)" : "");
  return result.failed.empty() ? 0 : 1;
}

}  // namespace vantlo::cli
