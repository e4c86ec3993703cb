// Automatic saving of what a fetch produces: the picture as CAM and/or JPEG, its thumbnail, a
// movie as AVI, and finished contact sheets, under the names of the naming routine.
//
// Every file follows one overwrite rule: a free name is written; a taken name is overwritten
// when "Overwriting file" is off, otherwise the question is asked ("Yes" writes, "No" skips,
// "Yes to All" writes and switches the confirmation off for the rest of the run). CAM and AVI
// files follow the same rule as the JPEG, so a second fetch on the same day never replaces a
// different picture without asking. Files are written atomically; a JPEG write is tried once more
// after a failure, and a second failure propagates.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/core/naming.h"
#include "app/core/overwrite.h"

namespace vantlo {

// The "Automatically Save" and "Confirm before" choices, filled from the stored settings.
struct tsaveoptions {
  bool saveJpeg = true;          // "Pictures in JPEG format"
  bool saveCam = true;           // "Pictures in CAM format"
  bool saveThumbnails = false;   // "Thumbnails"
  bool confirmOverwrite = true;  // "Overwriting file"
};

// What a save did: the files written and the files skipped because the answer was "No".
struct tsavereport {
  std::vector<std::string> saved;
  std::vector<std::string> skipped;
  void Add(const tsavereport& other);
};

// Produces the bytes of a file when (and only when) the file is to be written.
using tbytesource = std::function<std::vector<std::uint8_t>()>;

class tpicturesaver {
 public:
  // `question` may be null: no one to ask, the answer is "No". `onConfirmOff` is called when
  // "Yes to All" switched the confirmation off, so the window can show it on the Saving page.
  tpicturesaver(tfilenamer& namer, tsaveoptions& options, toverwritequestion* question,
                std::function<void()> onConfirmOff = {});

  // The overwrite rule for one name: true when the file is to be written.
  bool MayWrite(const std::string& path);

  // Writes the file for (n, kind, extension) under the rule; retryOnce tries a failed write
  // once more. Ensures the daily folder first. Adds the name to `report`.
  void SaveFile(long n, tnamekind kind, std::string_view extension, const tbytesource& bytes,
                bool retryOnce, tsavereport& report);

  // After a fetch: the CAM file (when "Pictures in CAM format" is on), then the JPEG (when
  // "Pictures in JPEG format" is on), both kind 0. Each file written is added to `report` at
  // once, so when the JPEG fails after the CAM file was written the report still names the CAM
  // file (the error then propagates).
  void SaveFetchedPicture(long n, const tbytesource& cam, const tbytesource& jpeg,
                          tsavereport& report);
  tsavereport SaveFetchedPicture(long n, const tbytesource& cam, const tbytesource& jpeg);
  // After a thumbnail load, when "Thumbnails" is on: kind 1, "JPG".
  tsavereport SaveThumbnail(long n, const tbytesource& jpeg);
  // A movie fetched from a file-system camera: kind 0, "AVI".
  tsavereport SaveMovie(long n, const tbytesource& avi);
  // A finished contact sheet with its counter: kind 2, "JPG".
  tsavereport SaveContactSheet(long counter, const tbytesource& jpeg);

 private:
  tfilenamer& namer_;
  tsaveoptions& options_;
  toverwritequestion* question_;
  std::function<void()> onConfirmOff_;
};

}  // namespace vantlo
