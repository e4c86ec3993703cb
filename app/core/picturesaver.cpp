#include "app/core/picturesaver.h"

#include "library/atomicfile.h"

namespace vantlo {

void tsavereport::Add(const tsavereport& other) {
  saved.insert(saved.end(), other.saved.begin(), other.saved.end());
  skipped.insert(skipped.end(), other.skipped.begin(), other.skipped.end());
}

tpicturesaver::tpicturesaver(tfilenamer& namer, tsaveoptions& options, toverwritequestion* question,
                             std::function<void()> onConfirmOff)
    : namer_(namer),
      options_(options),
      question_(question),
      onConfirmOff_(std::move(onConfirmOff)) {}

bool tpicturesaver::MayWrite(const std::string& path) {
  if (!NameTaken(path) || !options_.confirmOverwrite) return true;
  tnoonetoask nobody;
  toverwritequestion& ask = question_ ? *question_ : nobody;
  switch (ask.AskOverwrite(path)) {
    case toverwriteanswer::yes:
      return true;
    case toverwriteanswer::yesToAll:
      options_.confirmOverwrite = false;
      if (onConfirmOff_) onConfirmOff_();
      return true;
    case toverwriteanswer::no:
      break;
  }
  return false;
}

void tpicturesaver::SaveFile(long n, tnamekind kind, std::string_view extension,
                             const tbytesource& bytes, bool retryOnce, tsavereport& report) {
  namer_.EnsureDailyFolder();
  // One name for the test, the question and the write.
  const std::string path = namer_.FileName(n, kind, extension);
  if (!MayWrite(path)) {
    report.skipped.push_back(path);
    return;
  }
  try {
    WriteFileAtomic(path, bytes());
  } catch (const std::exception&) {
    if (!retryOnce) throw;
    WriteFileAtomic(path, bytes());
  }
  report.saved.push_back(path);
}

void tpicturesaver::SaveFetchedPicture(long n, const tbytesource& cam, const tbytesource& jpeg,
                                       tsavereport& report) {
  if (options_.saveCam) SaveFile(n, tnamekind::picture, "CAM", cam, false, report);
  if (options_.saveJpeg) SaveFile(n, tnamekind::picture, "JPG", jpeg, true, report);
}

tsavereport tpicturesaver::SaveFetchedPicture(long n, const tbytesource& cam,
                                              const tbytesource& jpeg) {
  tsavereport report;
  SaveFetchedPicture(n, cam, jpeg, report);
  return report;
}

tsavereport tpicturesaver::SaveThumbnail(long n, const tbytesource& jpeg) {
  tsavereport report;
  if (options_.saveThumbnails) SaveFile(n, tnamekind::thumbnail, "JPG", jpeg, true, report);
  return report;
}

tsavereport tpicturesaver::SaveMovie(long n, const tbytesource& avi) {
  tsavereport report;
  SaveFile(n, tnamekind::picture, "AVI", avi, false, report);
  return report;
}

tsavereport tpicturesaver::SaveContactSheet(long counter, const tbytesource& jpeg) {
  tsavereport report;
  SaveFile(counter, tnamekind::contactSheet, "JPG", jpeg, true, report);
  return report;
}

}  // namespace vantlo
