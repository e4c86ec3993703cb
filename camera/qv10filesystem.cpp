// File-system operations of tqvProtocolEngine: file and folder lists, folder
// changes and the preview thumbnails of the cameras that store JPEG and AVI
// files in DCIM picture folders.
#include "camera/qv10detail.h"
#include "camera/qv10int.h"
#include "picture/camformats.h"

namespace vantlo {

namespace {

// Splits at NUL bytes; each NUL ends one name, bytes after the last are dropped.
std::vector<std::string> SplitNames(const std::vector<std::uint8_t>& stream) {
  std::vector<std::string> names;
  std::string current;
  for (std::uint8_t b : stream) {
    if (b == 0) {
      names.push_back(current);
      current.clear();
    } else {
      current.push_back(static_cast<char>(b));
    }
  }
  return names;
}

}  // namespace

void tqvProtocolEngine::ListFiles(std::vector<std::string>& list) {
  toperationscope operation(*this);
  list.clear();
  Check();  // free inside an operation that has just made its check
  EnsurePictureFolder();
  tbytestream reply;
  (void)SendCommand(Cmd("ZE"), 2, reply);
  tbytestream stream;
  ReceiveData(stream, kMaxListBytes);
  for (std::string& name : SplitNames(stream)) {
    if (EndsWithNoCase(name, ".JPG") || EndsWithNoCase(name, ".AVI"))
      list.push_back(std::move(name));
  }
}

bool tqvProtocolEngine::ClimbToTop() {
  // "ZD" goes up one folder and answers 0xFF at the top. A camera that never
  // says so must not keep us climbing for ever.
  tbytestream reply;
  for (int step = 0; step < kMaxFolderClimb; ++step) {
    if (SendCommand(Cmd("ZD"), 3, reply) != kCommandOk) return false;
    if (reply[2] == 0xFF) return true;
  }
  return false;
}

void tqvProtocolEngine::ListFolders(std::vector<std::string>& list) {
  toperationscope operation(*this);
  list.clear();
  IdentifyIfUnknown();
  if (!(IsExtended() && hasFileSystem_)) return;
  Check();
  inFolder_ = false;
  if (!ClimbToTop()) return;
  tbytestream reply;
  if (SendCommand(CmdName("CD", "DCIM"), 3, reply) != kCommandOk) return;
  (void)SendCommand(Cmd("ZH"), 2, reply);
  tbytestream stream;
  ReceiveData(stream, kMaxListBytes);
  for (std::string& name : SplitNames(stream)) {
    if (!name.empty() && name[0] >= '0' && name[0] <= '9') list.push_back(std::move(name));
  }
}

bool tqvProtocolEngine::EnterFolder(const std::string& name) {
  inFolder_ = false;
  if (!ClimbToTop()) return false;
  tbytestream reply;
  if (SendCommand(CmdName("CD", "DCIM"), 3, reply) != kCommandOk) return false;
  if (SendCommand(CmdName("CD", name), 3, reply) != kCommandOk) return false;
  currentFolder_ = name;
  inFolder_ = true;
  return true;
}

void tqvProtocolEngine::ChangeFolder(const std::string& name) {
  // Failures are silent: the folder stays as it was.
  toperationscope operation(*this);
  (void)EnterFolder(name);
}

void tqvProtocolEngine::EnsurePictureFolder() {
  if (!(IsExtended() && hasFileSystem_) || inFolder_) return;
  if (!currentFolder_.empty()) {
    (void)EnterFolder(currentFolder_);
    return;
  }
  // No folder chosen yet (a fetch or count as the first action): the first
  // picture folder, the one the window shows first.
  std::vector<std::string> folders;
  ListFolders(folders);
  if (!folders.empty()) (void)EnterFolder(folders.front());
}

std::string tqvProtocolEngine::FileEntry(int n) {
  std::vector<std::string> files;
  ListFiles(files);
  if (n < 1 || static_cast<std::size_t>(n) > files.size()) throw tqvbadpicnum();
  return files[static_cast<std::size_t>(n) - 1];
}

void tqvProtocolEngine::LeavePreview() noexcept {
  // Back to the picture folder we came from. With no folder chosen yet, one
  // step up leads there just as well ("ZD" from PREVIEW). Runs during
  // unwinding too, so nothing may escape.
  try {
    if (!currentFolder_.empty()) {
      (void)EnterFolder(currentFolder_);
    } else {
      tbytestream reply;
      (void)SendCommand(Cmd("ZD"), 3, reply);
    }
  } catch (...) {
  }
}

// Returns to the picture folder when a preview fetch ends, on every path.
class tpreviewreturn {
 public:
  explicit tpreviewreturn(tqvProtocolEngine& engine) : engine_(engine) {}
  ~tpreviewreturn() { engine_.LeavePreview(); }
  tpreviewreturn(const tpreviewreturn&) = delete;
  tpreviewreturn& operator=(const tpreviewreturn&) = delete;

 private:
  tqvProtocolEngine& engine_;
};

bool tqvProtocolEngine::FetchPreviewThumbnailData(int n, tbytestream& jpeg) {
  toperationscope operation(*this);
  jpeg.clear();
  CheckAndIdentify();
  bool isMovie = false;
  ApplySpeed(desiredSpeed_);
  SetBlockSize(blockSize_);
  std::string name = FileEntry(n);
  tbytestream reply;
  if (SendCommand(CmdName("CD", "PREVIEW"), 3, reply) != kCommandOk) return false;
  inFolder_ = false;
  tpreviewreturn back(*this);
  if (EndsWithNoCase(name, "AVI")) {
    isMovie = true;
    name.replace(name.size() - 3, 3, "JPG");
  }
  (void)SendCommand(CmdName("ZG", name), 2, reply);
  ReceiveData(jpeg);
  // The folder was entered, so the camera has the preview: none at all is a
  // failed transfer, not a picture.
  if (jpeg.empty()) RaiseBadTransfer();
  return isMovie;
}

void tqvProtocolEngine::FetchPreviewThumbnail(int n, tbitmap& bitmap, bool& isMovie) {
  tbytestream jpeg;
  isMovie = FetchPreviewThumbnailData(n, jpeg);
  if (jpeg.empty()) return;
  DecodeJpegThumbnail(jpeg, bitmap);
}

}  // namespace vantlo
