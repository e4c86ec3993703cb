// Commands that move pictures from the camera to disk: thumbs, fetch, fetch-all (the last two
// through the fetch workflow when asked for finished pictures, see finishedfetch.h).
#include <cstdio>
#include <filesystem>

#include "library/atomicfile.h"
#include "tools/cli/commands.h"
#include "tools/cli/finishedfetch.h"

namespace vantlo::cli {

namespace {

namespace fs = std::filesystem;

const char* KindText(std::uint8_t kind) {
  switch (kind) {
    case kKindNormal:
      return "Normal Mode";
    case kKindFine:
      return "Fine Mode";
    case kKindExtended1:
      return "extended picture data (format 1)";
    case kKindExtended2:
      return "extended picture data (format 2)";
    case kKindJpegFile:
      return "JPEG file";
    case kKindAviFile:
      return "AVI file";
    default:
      return "nothing identified";
  }
}

// Atomically: a full disk or a failed write leaves the file that was there (or none), never a
// cut one; the message says why ("Cannot write X: No space left on device").
void WriteFile(const fs::path& path, const std::vector<std::uint8_t>& data) {
  WriteFileAtomic(path.string(), data);
}

void EnsureFolder(const fs::path& dir) {
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (!fs::is_directory(dir)) throw std::runtime_error("Cannot create folder " + dir.string());
}

std::string Numbered(const char* stem, int n, const char* ext) {
  char name[40];
  std::snprintf(name, sizeof name, "%s%03d%s", stem, n, ext);
  return name;
}

}  // namespace

int RunThumbs(CameraSession& session, const Arguments& args) {
  ExpectArguments("thumbs", args, 1);
  fs::path dir = args[0];
  tqvProtocolEngine& engine = session.Engine();
  bool fileSystem = session.FamilyName() == "filesystem";
  int count = engine.GetPictureCount();
  EnsureFolder(dir);
  for (int n = 1; n <= count; ++n) {
    std::vector<std::uint8_t> data;
    session.Progress().Begin("thumbnail " + std::to_string(n));
    if (fileSystem) {
      engine.FetchPreviewThumbnailData(n, data);
      if (data.empty())
        throw std::runtime_error("The camera has no preview of picture " + std::to_string(n));
    } else {
      engine.FetchThumbnailData(n, data);
    }
    session.Progress().End();
    fs::path path = dir / Numbered("thumb", n, fileSystem ? ".jpg" : ".raw");
    WriteFile(path, data);
    std::printf("%s (%zu bytes)\n", path.c_str(), data.size());
  }
  return 0;
}

int RunFetch(CameraSession& session, const Arguments& arguments) {
  Arguments args = arguments;
  const FetchFlags flags = TakeFetchFlags(args);
  if (args.size() != 3 || args[1] != "-o")
    throw UsageError("usage: fetch N -o FILE [--jpg] [--cam]");
  int n = ParseNumber(args[0], "picture number", 0, 65535);
  if (flags.Any()) return RunFinishedFetch(session, n, args[2], flags);
  fs::path path = args[2];
  tqvProtocolEngine& engine = session.Engine();
  std::vector<std::uint8_t> data;
  session.Progress().Begin("picture " + std::to_string(n));
  std::uint8_t kind = engine.FetchPicture(n, data);
  session.Progress().End();
  WriteFile(path, data);
  std::printf("kind: %d (%s)\n", kind, KindText(kind));
  std::printf("bytes: %zu\n", data.size());
  return 0;
}

int RunFetchAll(CameraSession& session, const Arguments& arguments) {
  Arguments args = arguments;
  const FetchFlags flags = TakeFetchFlags(args);
  if (args.size() != 1) throw UsageError("usage: fetch-all DIR [--jpg] [--cam]");
  return RunWorkflowFetchAll(session, args[0], flags);
}

}  // namespace vantlo::cli
