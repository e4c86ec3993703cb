#include "app/core/cardcapture.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "app/core/autocapture.h"
#include "app/core/cardfolders.h"
#include "library/atomicfile.h"
#include "library/folderwalk.h"
#include "library/records/autocapturerecord.h"
#include "library/textnocase.h"
#include "library/unixfile.h"

namespace vantlo {

namespace {

// Names taken by earlier cards are tried this far before the copy gives up.
constexpr int kMaxCollisions = 9999;

// Removes the empty real sub-folders below `folder`, deepest first; the folder itself stays.
void RemoveEmptyFolders(const std::string& folder) {
  std::vector<tfolderentry> entries;
  if (!ListFolder(folder, entries)) return;
  for (const auto& e : entries) {
    if (e.kind != tentrykind::Folder) continue;
    const std::string sub = WithTrailingSlash(folder) + e.name;
    RemoveEmptyFolders(sub);
    ::rmdir(sub.c_str());  // fails, as it should, for a folder that still holds something
  }
}

}  // namespace

std::vector<std::uint8_t> ReadCardFile(const std::string& path) {
  unixfile fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (!fd) throw tfileerror("Cannot read " + path + ": " + std::strerror(errno), errno);
  struct stat st;
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
    throw tfileerror("Cannot read " + path + ": not a file");
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(st.st_size));
  std::size_t at = 0;
  while (at < bytes.size()) {
    const ssize_t n = ::read(fd.get(), bytes.data() + at, bytes.size() - at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw tfileerror("Cannot read " + path + ": cut short", n < 0 ? errno : 0);
    at += static_cast<std::size_t>(n);
  }
  return bytes;
}

std::string CopyTargetFor(const std::vector<std::uint8_t>& source, const std::string& target,
                          bool& same) {
  const std::size_t slash = target.rfind('/');
  const std::size_t dot = target.rfind('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  const std::string stem = hasExtension ? target.substr(0, dot) : target;
  const std::string extension = hasExtension ? target.substr(dot) : std::string();
  for (int k = 0; k <= kMaxCollisions; ++k) {
    const std::string name = k == 0 ? target : stem + "_" + std::to_string(k) + extension;
    if (!NameTaken(name)) {
      same = false;
      return name;
    }
    if (FileHolds(name, source)) {
      same = true;
      return name;
    }
  }
  same = false;
  return {};
}

tcardcapture::tcardcapture(const tautocapturerecord& record, tfilenamer& namer,
                           tautocapstatus& status, std::string cardRoot, tcardcapturehost host,
                           tfilewriter* writer)
    : record_(record),
      namer_(namer),
      status_(status),
      cardRoot_(std::move(cardRoot)),
      host_(std::move(host)),
      writer_(writer ? *writer : atomicWriter_) {}

void tcardcapture::Events() {
  if (host_.processEvents) host_.processEvents();
}

void tcardcapture::CopyOne(const std::string& source, const std::string& target) {
  std::vector<std::uint8_t> bytes;
  try {
    bytes = ReadCardFile(source);
  } catch (const tfileerror&) {
    result_.failed.push_back(source);
    throw tautocaptureerror(SaveErrorText(target));
  }
  bool same = false;
  const std::string name = CopyTargetFor(bytes, target, same);
  if (same) {
    result_.skipped.push_back(source);
    copiedSources_.push_back(source);  // its content is safely in the output folder
    return;
  }
  if (name.empty() || !WriteVerified(writer_, name, bytes)) {
    result_.failed.push_back(source);
    throw tautocaptureerror(SaveErrorText(name.empty() ? target : name));
  }
  result_.saved.push_back(name);
  copiedSources_.push_back(source);
  if (host_.fileWritten) host_.fileWritten(name);
}

void tcardcapture::CopyTree(const std::string& from, const std::string& to) {
  std::vector<tfolderentry> entries;
  ListFolder(from, entries);
  std::sort(entries.begin(), entries.end(),
            [](const tfolderentry& a, const tfolderentry& b) { return a.name < b.name; });
  for (const auto& e : entries) {
    const std::string source = WithTrailingSlash(from) + e.name;
    const std::string target = WithTrailingSlash(to) + LowerAscii(e.name);
    if (e.kind == tentrykind::File) {
      CopyOne(source, target);
      Events();
    } else if (e.kind == tentrykind::Folder) {
      struct stat st;
      if (::lstat(target.c_str(), &st) != 0) {
        if (::mkdir(target.c_str(), 0777) != 0)
          throw tautocaptureerror("Cannot create folder " + target + ": " + std::strerror(errno));
      } else if (!S_ISDIR(st.st_mode)) {
        throw tautocaptureerror("Cannot create folder " + target + ": a file of that name exists");
      }
      CopyTree(source, target);
    }
    // Links and anything else on the card are neither copied nor deleted.
  }
}

void tcardcapture::DeleteCopied(bool removeEmptyFolders, const std::string& cameraFolder,
                                const std::string& targetFolder) {
  // The copies must be on the disk, not only in its cache, before their sources go.
  if (const int error = SyncFileSystemOf(targetFolder))
    throw tautocaptureerror("The copies in " + targetFolder + " could not be written to disk (" +
                            std::strerror(error) + "); nothing was deleted from the card");
  for (const auto& source : copiedSources_) {
    ::chmod(source.c_str(), 0644);  // the card's read-only attribute
    if (::unlink(source.c_str()) == 0) result_.deleted.push_back(source);
  }
  if (removeEmptyFolders) RemoveEmptyFolders(cameraFolder);
}

tcardcaptureresult tcardcapture::Run() {
  result_ = {};
  copiedSources_.clear();
  if (cardRoot_.empty()) {
    if (host_.message) host_.message(tmessagekind::error, kNotSetUp);
    return result_;
  }
  std::string cameraFolder = CameraFolderOf(cardRoot_);
  while (cameraFolder.empty()) {
    status_.Show(tautocapstate::waiting);
    if (!host_.askConnect || !host_.askConnect(kConnect)) {
      result_.cancelled = true;
      return result_;
    }
    cameraFolder = CameraFolderOf(cardRoot_);
  }
  status_.Show(tautocapstate::connected);

  if (record_.CopyCompleteCard()) {
    namer_.EnsureDailyFolder();
    const std::string target = namer_.Folder();
    status_.CaptureLightOn();
    CopyTree(cameraFolder, target);
    if (record_.DeleteAfterCopying()) DeleteCopied(true, cameraFolder, target);
    status_.Show(tautocapstate::allCaptured);
    if (host_.finished) host_.finished(target);
    return result_;
  }

  const std::vector<std::string> files = ListCameraPictureFiles(cameraFolder);
  status_.Show(tautocapstate::capturing, static_cast<int>(files.size()));
  namer_.EnsureDailyFolder();
  const std::string targetFolder = namer_.Folder();
  if (files.empty()) return result_;

  const tnamekind kind =
      record_.NameByPrefix() ? tnamekind::autoCapturePrefix : tnamekind::autoCaptureDate;
  for (std::size_t d = 0; d < files.size(); ++d) {
    const std::string& source = files[d];
    const std::string extension = UpperAscii(source.substr(source.size() - 3));
    std::string target;
    if (record_.KeepCardNames()) {
      target = targetFolder + LowerAscii(BaseName(source));
    } else {
      const long n = namer_.FirstFreeNumber(kind, {"JPG", "CAM", "AVI"});
      target = namer_.FileName(n, kind, extension);
    }
    CopyOne(source, target);
    status_.Show(tautocapstate::capturing, static_cast<int>(files.size() - d - 1));
    Events();
  }
  if (record_.DeleteAfterCopying()) DeleteCopied(false, cameraFolder, targetFolder);
  status_.Show(tautocapstate::allCaptured);
  if (host_.finished) host_.finished(targetFolder);
  return result_;
}

}  // namespace vantlo
