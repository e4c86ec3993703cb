// The one naming routine for every file the program writes: pictures, thumbnails, movies,
// contact sheets, webcam-mode and AutoCapture pictures, and the daily folder they go into.
//
// A name is: the output folder (exactly as the user chose it), optionally the daily folder (the
// date text of today), a stem (date text or a prefix, with "TH"/"CS" for thumbnails and contact
// sheets), the number padded to 3 digits (4 from 999 on) and "." plus the extension. Linux file
// names are case-sensitive, so only the part the program builds (daily folder, stem, number,
// extension) is lower-cased; the user's folder is never changed. The name returned here is the one
// used for the existence test, for the write and for the search for a free number alike, so the
// overwrite question and the numbering always see the file that is really there.
#pragma once

#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/core/clock.h"

namespace vantlo {

enum class tdatestyle { Date1 = 0, Date2 = 1 };

// What a name is for; the values are the kind numbers the saving code passes around.
enum class tnamekind {
  picture = 0,                   // date text or prefix: fetched pictures (JPEG, CAM, movie)
  thumbnail = 1,                 // "TH" + date text or prefix
  contactSheet = 2,              // "CS" + date text or prefix
  webcam = 3,                    // webcam-mode prefix
  webcamThumbnail = 4,           // "TH" + webcam-mode prefix
  autoCapturePrefix = 5,         // AutoCapture prefix
  autoCaptureDate = 6,           // date text
  autoCaptureThumbnail = 7,      // "TH" + AutoCapture prefix
  autoCaptureThumbnailDate = 8,  // "TH" + date text: AutoCapture thumbnails named by date
  folder = 9,                    // the folder itself (with the daily folder when that is on)
};

// The settings the naming routine reads, filled from the stored records by the caller
// (see namingrecords.h). The routine writes back only `outputFolder` (the user's Pictures folder
// when it was empty, emptied when a daily folder cannot be made).
struct tnamingsettings {
  std::string outputFolder;                  // as chosen by the user; empty: the Pictures folder
  bool dateNaming = true;                    // kinds 0..2: date text (true) or `prefix` (false)
  tdatestyle dateStyle = tdatestyle::Date1;  // the last of Date1/Date2 chosen
  std::string prefix;                        // file-name prefix, up to 10 characters
  bool dailyFolder = false;                  // "Create daily folder"
  std::string webcamPrefix;                  // webcam-mode base name
  std::string autoCapturePrefix;             // AutoCapture base name
};

// A failure the user sees, with its text.
class tnamingerror : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "ddMMMyy" (Date1, e.g. 06Dec26) or "yymmdd" (Date2, e.g. 261206).
std::string DateText(const tlocaltime& date, tdatestyle style);

// n padded with zeros to 3 digits below 999 and to 4 digits from 999 on: 005, 998, 0999, 1000.
std::string NumberText(long n);

// The file name the routine builds from a stem, a number and an extension, exactly as it is
// written: separators in the stem or extension replaced, then lower-cased ("Trip", 1, "JPG" gives
// trip001.jpg).
std::string BuiltFileName(std::string_view stem, long n, std::string_view extension);
// The daily folder's name for a date text, as it is made on disk (06Dec26 gives 06dec26).
std::string DailyFolderName(std::string_view dateText);

class tfilenamer {
 public:
  // The folder an empty output folder stands for; by default the user's Pictures folder
  // (userfolders.h), made when missing.
  using tdefaultfolder = std::function<std::string()>;

  // `settings` is kept by reference: the routine always uses the values in force at the call.
  explicit tfilenamer(tnamingsettings& settings, tlocalclock clock = SystemLocalTime,
                      tdefaultfolder defaultFolder = {});

  // Today's date text in the chosen style.
  std::string DateText() const;

  // The full path of the file with number n, kind and extension ("JPG", "CAM", "AVI", ...).
  // Kind `folder` gives the folder (ending in "/"), number and extension unused.
  std::string FileName(long n, tnamekind kind, std::string_view extension);
  // The output folder with the daily folder when that is on; ends in "/".
  std::string Folder() { return FileName(0, tnamekind::folder, {}); }

  // Creates today's folder when the daily folder is on. On failure the output folder setting
  // is emptied and tnamingerror("Error creating daily directory : " + folder) is thrown.
  void EnsureDailyFolder();
  // The daily folders this namer created (and that may be removed again at close).
  const std::vector<std::string>& CreatedFolders() const { return created_; }
  // Told of each daily folder this namer creates, so that the window, which outlives its namers,
  // can remove the empty ones at close.
  using tfoldercreated = std::function<void(const std::string& folder)>;
  void SetFolderCreated(tfoldercreated notice) { folderCreated_ = std::move(notice); }
  // At close: removes the daily folders this run created that are still empty; never a folder
  // that existed before. Returns how many were removed.
  int RemoveEmptyCreatedFolders();

  // AutoCapture's first free number: from 0 up, the first n for which no file named with n, the
  // kind and any of the extensions exists. Ensures the daily folder first.
  long FirstFreeNumber(tnamekind kind, std::initializer_list<std::string_view> extensions);

 private:
  std::string ResolvedOutputFolder();

  tnamingsettings& settings_;
  tlocalclock clock_;
  tdefaultfolder defaultFolder_;
  std::vector<std::string> created_;
  tfoldercreated folderCreated_;
};

// True when a file (or anything else, a dangling link included) exists under the name.
bool NameTaken(const std::string& path);

}  // namespace vantlo
