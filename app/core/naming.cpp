#include "app/core/naming.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "library/textnocase.h"
#include "library/userfolders.h"

namespace vantlo {

namespace {

constexpr const char* kMonths = "JanFebMarAprMayJunJulAugSepOctNovDec";
// A bound on the free-number search so a folder full of numbered files ends in an error, not a
// loop that never finishes.
constexpr long kMaxFreeNumber = 1000000;

std::string TwoDigits(int v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02d", ((v % 100) + 100) % 100);
  return buf;
}

// A stem or extension comes from a setting; it must not carry a folder separator or a NUL,
// or the name could leave the output folder.
std::string SafeNamePart(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c == '/' || c == '\0') c = '_';
  }
  return out;
}

// An empty output folder is the user's Pictures folder, never the process's current directory
// (which depends on where the program was started from).
std::string DefaultOutputFolder() {
  EnsureUserPicturesFolder();  // a failure shows when the first file is written
  return UserPicturesFolder();
}

}  // namespace

std::string DateText(const tlocaltime& date, tdatestyle style) {
  if (style == tdatestyle::Date2) {
    return TwoDigits(date.year) + TwoDigits(date.month) + TwoDigits(date.day);
  }
  int m = (date.month >= 1 && date.month <= 12) ? date.month : 1;
  return TwoDigits(date.day) + std::string(kMonths + (m - 1) * 3, 3) + TwoDigits(date.year);
}

std::string NumberText(long n) {
  char buf[32];
  std::snprintf(buf, sizeof buf, n < 999 ? "%03ld" : "%04ld", n);
  return buf;
}

std::string BuiltFileName(std::string_view stem, long n, std::string_view extension) {
  return LowerAscii(SafeNamePart(stem) + NumberText(n) + "." + SafeNamePart(extension));
}

std::string DailyFolderName(std::string_view dateText) { return LowerAscii(std::string(dateText)); }

bool NameTaken(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

tfilenamer::tfilenamer(tnamingsettings& settings, tlocalclock clock, tdefaultfolder defaultFolder)
    : settings_(settings),
      clock_(clock ? std::move(clock) : tlocalclock(SystemLocalTime)),
      defaultFolder_(defaultFolder ? std::move(defaultFolder)
                                   : tdefaultfolder(DefaultOutputFolder)) {}

std::string tfilenamer::DateText() const { return vantlo::DateText(clock_(), settings_.dateStyle); }

std::string tfilenamer::ResolvedOutputFolder() {
  if (settings_.outputFolder.empty()) settings_.outputFolder = defaultFolder_();
  std::string folder = settings_.outputFolder;
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

std::string tfilenamer::FileName(long n, tnamekind kind, std::string_view extension) {
  std::string path = ResolvedOutputFolder();
  const std::string date = DateText();
  if (settings_.dailyFolder) path += DailyFolderName(date) + "/";
  if (kind == tnamekind::folder) return path;

  const std::string own = settings_.dateNaming ? date : settings_.prefix;
  std::string stem;
  switch (kind) {
    case tnamekind::picture:
      stem = own;
      break;
    case tnamekind::thumbnail:
      stem = "TH" + own;
      break;
    case tnamekind::contactSheet:
      stem = "CS" + own;
      break;
    case tnamekind::webcam:
      stem = settings_.webcamPrefix;
      break;
    case tnamekind::webcamThumbnail:
      stem = "TH" + settings_.webcamPrefix;
      break;
    case tnamekind::autoCapturePrefix:
      stem = settings_.autoCapturePrefix;
      break;
    case tnamekind::autoCaptureDate:
      stem = date;
      break;
    case tnamekind::autoCaptureThumbnail:
      stem = "TH" + settings_.autoCapturePrefix;
      break;
    case tnamekind::autoCaptureThumbnailDate:
      stem = "TH" + date;
      break;
    case tnamekind::folder:
      break;
  }
  return path + BuiltFileName(stem, n, extension);
}

void tfilenamer::EnsureDailyFolder() {
  if (!settings_.dailyFolder) return;
  const std::string folder = Folder();
  struct stat st;
  if (::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return;
  if (::mkdir(folder.c_str(), 0777) != 0) {
    settings_.outputFolder.clear();
    throw tnamingerror("Error creating daily directory : " + folder);
  }
  std::string bare = folder;
  if (bare.size() > 1 && bare.back() == '/') bare.pop_back();
  created_.push_back(bare);
  if (folderCreated_) folderCreated_(bare);
}

int tfilenamer::RemoveEmptyCreatedFolders() {
  int removed = 0;
  for (const std::string& folder : created_) {
    // rmdir only removes an empty folder, so a folder holding pictures is left alone.
    if (::rmdir(folder.c_str()) == 0) ++removed;
  }
  created_.clear();
  return removed;
}

long tfilenamer::FirstFreeNumber(tnamekind kind,
                                 std::initializer_list<std::string_view> extensions) {
  EnsureDailyFolder();
  for (long n = 0; n < kMaxFreeNumber; ++n) {
    bool taken = false;
    for (std::string_view ext : extensions) {
      if (NameTaken(FileName(n, kind, ext))) {
        taken = true;
        break;
      }
    }
    if (!taken) return n;
  }
  throw tnamingerror("No free file number in " + Folder());
}

}  // namespace vantlo
