#include "app/core/saveasworkflow.h"

#include <algorithm>

#include "library/atomicfile.h"
#include "app/core/saveasname.h"
#include "library/pictureproperties.h"

namespace vantlo {

namespace {

// A picture opened from disk and saved under another name takes its title, description,
// keywords and orientation along (a CAM file's companion becomes the JPEG's when the format
// changes); a target without properties of its own keeps none.
void CopyPropertiesAlong(const std::string& from, const std::string& to) {
  if (from == to) return;
  tpictureproperties properties;
  properties.SetFile(from);
  properties.Load();
  properties.SetFile(to);
  properties.Save();
}

bool OpenedFromDisk(tshownkind kind) {
  return kind == tshownkind::jpegFile || kind == tshownkind::camFile;
}

}  // namespace

const tsaveasfilterinfo& SaveAsFilterInfo(tsaveasfilter filter) {
  for (const auto& info : kSaveAsFilters)
    if (info.filter == filter) return info;
  return kSaveAsFilters.front();
}

std::optional<tsaveasfilter> SaveAsFilterNamed(std::string_view name) {
  for (const auto& info : kSaveAsFilters)
    if (name == info.name) return info.filter;
  return std::nullopt;
}

std::vector<std::uint8_t> PictureJpegBytes(const TJPEGImage& picture, const tjpegsettings& jpeg) {
  TJPEGImage copy = picture;
  if (!copy.HasJpegData()) {
    copy.SetPixelFormat(PixelFormat::pf24bit);
    copy.SetCompressionQuality(std::clamp(jpeg.quality, 1, 100));
    copy.SetProgressiveEncoding(jpeg.progressive);
  }
  std::vector<std::uint8_t> bytes;
  copy.SaveToStream(bytes);
  return bytes;
}

tsaveasworkflow::tsaveasworkflow(tfilenamer& namer, tsaveoptions& options,
                                 toverwritequestion* question, std::function<void()> onConfirmOff)
    : namer_(namer), saver_(namer, options, question, std::move(onConfirmOff)) {}

tsaveasfilter tsaveasworkflow::InitialFilter(tshownkind kind) {
  return kind == tshownkind::moviePreview ? tsaveasfilter::avi : tsaveasfilter::jpeg;
}

std::optional<std::string> tsaveasworkflow::Proposal(const tsaveassubject& subject) {
  std::string name;
  switch (subject.kind) {
    case tshownkind::jpegFile:
    case tshownkind::camFile:
      name = subject.openedFile;
      break;
    case tshownkind::cameraPicture:
      name = namer_.FileName(subject.number, tnamekind::picture, "JPG");
      break;
    case tshownkind::moviePreview:
      name = namer_.FileName(subject.number, tnamekind::picture, "AVI");
      break;
    case tshownkind::contactSheet:
      name = namer_.FileName(subject.number, tnamekind::contactSheet, "JPG");
      break;
    case tshownkind::webcamPicture:
      name = namer_.FileName(subject.number - 1, tnamekind::webcam, "JPG");
      break;
    case tshownkind::none:
      return std::nullopt;
  }
  return SaveAsProposal(name);
}

bool tsaveasworkflow::Write(const std::string& path, const std::vector<std::uint8_t>& bytes,
                            tsaveasresult& result) {
  if (!saver_.MayWrite(path)) {
    result.skipped.push_back(path);
    return false;
  }
  WriteFileAtomic(path, bytes);
  result.saved.push_back(path);
  return true;
}

tsaveasresult tsaveasworkflow::Save(const tsaveassubject& subject, const std::string& chosen,
                                    std::string_view filterName, const tjpegsettings& jpeg) {
  tsaveasresult result;
  const std::optional<tsaveasfilter> filter = SaveAsFilterNamed(filterName);
  if (!filter) {
    result.messageKind = tmessagekind::error;
    result.message = "Cannot save as \"" + std::string(filterName) +
                     "\": choose one of the file types JPEG, CAM or AVI";
    return result;
  }
  if (chosen.empty()) return result;
  switch (*filter) {
    case tsaveasfilter::jpeg:
      SaveJpeg(subject, chosen, jpeg, result);
      break;
    case tsaveasfilter::cam:
      SaveCam(subject, chosen, result);
      break;
    case tsaveasfilter::avi:
      SaveAvi(subject, chosen, result);
      break;
  }
  return result;
}

void tsaveasworkflow::SaveJpeg(const tsaveassubject& subject, const std::string& chosen,
                               const tjpegsettings& jpeg, tsaveasresult& result) {
  if (subject.kind == tshownkind::none || subject.kind == tshownkind::moviePreview ||
      !subject.picture || subject.picture->Empty()) {
    result.messageKind = tmessagekind::warning;
    result.message = kNothingToSave;
    return;
  }
  const std::string target = EnsureEnding(chosen, SaveAsFilterInfo(tsaveasfilter::jpeg).ending);
  if (!saver_.MayWrite(target)) {
    result.skipped.push_back(target);
    return;
  }
  const std::vector<std::uint8_t> bytes = PictureJpegBytes(*subject.picture, jpeg);
  try {
    WriteFileAtomic(target, bytes);
  } catch (const std::exception&) {
    WriteFileAtomic(target, bytes);  // a JPEG write is tried once more
  }
  result.saved.push_back(target);
  if (OpenedFromDisk(subject.kind)) CopyPropertiesAlong(subject.openedFile, target);
}

void tsaveasworkflow::SaveCam(const tsaveassubject& subject, const std::string& chosen,
                              tsaveasresult& result) {
  if (subject.kind != tshownkind::cameraPicture && subject.kind != tshownkind::camFile) {
    result.messageKind = tmessagekind::error;
    result.message = kOnlyCameraAsCam;
    return;
  }
  const std::string target = EnsureEnding(chosen, SaveAsFilterInfo(tsaveasfilter::cam).ending);
  if (subject.kind == tshownkind::cameraPicture) {
    if (!subject.camData) throw tfileerror("No camera data for " + target);
    Write(target, subject.camData(), result);
    return;
  }
  // The opened CAM file itself: there is nothing to copy.
  if (target == subject.openedFile) return;
  if (Write(target, ReadWholeFile(subject.openedFile), result))
    CopyPropertiesAlong(subject.openedFile, target);
}

void tsaveasworkflow::SaveAvi(const tsaveassubject& subject, const std::string& chosen,
                              tsaveasresult& result) {
  if (subject.kind != tshownkind::moviePreview) {
    result.messageKind = tmessagekind::error;
    result.message = kOnlyAviAsAvi;
    return;
  }
  if (!subject.movieData || subject.movieData->empty()) {
    result.messageKind = tmessagekind::warning;
    result.message = kNothingToSave;
    return;
  }
  const std::string target = EnsureEnding(chosen, SaveAsFilterInfo(tsaveasfilter::avi).ending);
  Write(target, *subject.movieData, result);
}

}  // namespace vantlo
