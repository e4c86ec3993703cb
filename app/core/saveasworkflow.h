// "Save As" without widgets: the name proposed for the shown picture, the filter the dialog starts
// with, and the writing of the chosen file for the chosen filter.
//
// What can be saved depends on what is shown (tshownkind): a picture fetched from the camera, a
// JPEG or CAM file opened from disk, a contact sheet, a webcam-mode picture or the preview of a
// camera movie. The JPEG filter writes the shown picture: its existing JPEG data byte for byte
// when it has any (an unedited camera JPEG or JPEG file), otherwise the picture compressed with
// the current JPEG settings. The CAM filter writes the camera data of a camera picture, or a copy
// of an opened CAM file; the AVI filter the data of a fetched movie.
//
// The final name (with the filter's ending added) follows the same overwrite rule as every
// automatic save (tpicturesaver::MayWrite), and every file is written atomically, so a refused
// or failed Save As never leaves a damaged or replaced file behind.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/core/fetchworkflow.h"
#include "app/core/naming.h"
#include "app/core/picturesaver.h"
#include "picture/jpegimage.h"

namespace vantlo {

// The filters of the save dialog, in the dialog's order.
enum class tsaveasfilter { jpeg, cam, avi };

struct tsaveasfilterinfo {
  tsaveasfilter filter;
  const char* name;    // as the dialog lists it
  const char* suffix;  // the dialog's default suffix
  const char* ending;  // what a chosen name must end in
};
inline constexpr std::array<tsaveasfilterinfo, 3> kSaveAsFilters = {{
    {tsaveasfilter::jpeg, "JPEG (*.jpg)", "jpg", ".jpg"},
    {tsaveasfilter::cam, "CAM (*.cam)", "cam", ".cam"},
    {tsaveasfilter::avi, "AVI (*.avi)", "avi", ".avi"},
}};

const tsaveasfilterinfo& SaveAsFilterInfo(tsaveasfilter filter);
// The filter the dialog names `name`; nothing for a name that is none of them.
std::optional<tsaveasfilter> SaveAsFilterNamed(std::string_view name);

// The shown picture and what it came from.
struct tsaveassubject {
  tshownkind kind = tshownkind::none;
  const TJPEGImage* picture = nullptr;  // the shown picture (null: none)
  std::string openedFile;               // jpegFile, camFile: the file it was opened from
  // cameraPicture, moviePreview: the camera picture number; contactSheet: the sheet counter
  // (already counted up for this sheet); webcamPicture: the webcam-mode picture counter.
  long number = 0;
  std::function<std::vector<std::uint8_t>()> camData;    // cameraPicture: its CAM file
  const std::vector<std::uint8_t>* movieData = nullptr;  // moviePreview: the AVI data
};

// The JPEG settings a picture without JPEG data is compressed with.
struct tjpegsettings {
  int quality = 85;  // 1..100
  bool progressive = false;
};

// What a Save As did: the files written, the names answered "No", and the message to show
// (empty: none).
struct tsaveasresult {
  std::vector<std::string> saved;
  std::vector<std::string> skipped;
  tmessagekind messageKind = tmessagekind::information;
  std::string message;
};

class tsaveasworkflow {
 public:
  static constexpr const char* kNothingToSave = "Nothing to save";
  static constexpr const char* kOnlyCameraAsCam =
      "You can only save a camera picture as a CAM file";
  static constexpr const char* kOnlyAviAsAvi = "You can only save an AVI as a AVI file";

  // `question` may be null (nobody to ask: a taken name is not replaced while "Overwriting file"
  // is on). `onConfirmOff` is told when "Yes to All" switched the confirmation off.
  tsaveasworkflow(tfilenamer& namer, tsaveoptions& options, toverwritequestion* question,
                  std::function<void()> onConfirmOff = {});

  // The name the dialog proposes, without folder and without a ".CAM", ".JPG" or ".AVI" ending;
  // nothing when the shown picture cannot be saved ("Nothing to save").
  std::optional<std::string> Proposal(const tsaveassubject& subject);
  // The filter the dialog starts with: AVI for a movie preview, JPEG otherwise.
  static tsaveasfilter InitialFilter(tshownkind kind);

  // Writes `subject` under the name the user chose with the filter the dialog showed
  // (`filterName`, as listed in kSaveAsFilters). Write failures are thrown with the path and the
  // reason; refusals come back as the result's message.
  tsaveasresult Save(const tsaveassubject& subject, const std::string& chosen,
                     std::string_view filterName, const tjpegsettings& jpeg);

 private:
  void SaveJpeg(const tsaveassubject& subject, const std::string& chosen, const tjpegsettings& jpeg,
                tsaveasresult& result);
  void SaveCam(const tsaveassubject& subject, const std::string& chosen, tsaveasresult& result);
  void SaveAvi(const tsaveassubject& subject, const std::string& chosen, tsaveasresult& result);
  // The overwrite rule, then the atomic write; false when the answer was "No".
  bool Write(const std::string& path, const std::vector<std::uint8_t>& bytes,
             tsaveasresult& result);

  tfilenamer& namer_;
  tpicturesaver saver_;
};

// The bytes Save As writes for a picture: its JPEG data as they are when it has any, otherwise
// the picture compressed with `jpeg`.
std::vector<std::uint8_t> PictureJpegBytes(const TJPEGImage& picture, const tjpegsettings& jpeg);

}  // namespace vantlo
