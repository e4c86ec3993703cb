#include "app/core/fetchworkflow.h"

#include <algorithm>

#include "app/core/captiondraw.h"
#include "app/core/picturefinish.h"
#include "app/core/thumbmanager.h"
#include "camera/qv10int.h"
#include "camera/qvexceptions.h"
#include "picture/colourcorrection.h"

namespace vantlo {

// ---- selection ----

void tcameraselection::Set(int n, bool on) {
  if (n >= 1 && n <= kMax) flags_[n] = on ? 1 : 0;
}

void tcameraselection::Toggle(int n) { Set(n, !IsSelected(n)); }

void tcameraselection::SelectAll(int count) {
  count = std::clamp(count, 0, kMax);
  for (int n = 1; n <= count; ++n) flags_[n] = 1;
}

void tcameraselection::SelectNone() { flags_.fill(0); }

void tcameraselection::Invert(int count) {
  count = std::clamp(count, 0, kMax);
  for (int n = 1; n <= count; ++n) flags_[n] = flags_[n] ? 0 : 1;
}

bool tcameraselection::Any() const {
  return std::any_of(flags_.begin() + 1, flags_.end(), [](std::uint8_t f) { return f != 0; });
}

std::vector<int> tcameraselection::Selected(int count) const {
  const int last = count < 0 ? kMax : std::min(count, kMax);
  std::vector<int> numbers;
  for (int n = 1; n <= last; ++n)
    if (flags_[n]) numbers.push_back(n);
  return numbers;
}

namespace {

void AddReport(const tsavereport& report, tfetchresult& result) {
  result.saved.insert(result.saved.end(), report.saved.begin(), report.saved.end());
  result.skipped.insert(result.skipped.end(), report.skipped.begin(), report.skipped.end());
}

}  // namespace

void tfetchresult::Add(const tfetchresult& other) {
  saved.insert(saved.end(), other.saved.begin(), other.saved.end());
  skipped.insert(skipped.end(), other.skipped.begin(), other.skipped.end());
  fetched.insert(fetched.end(), other.fetched.begin(), other.fetched.end());
  failed.insert(failed.end(), other.failed.begin(), other.failed.end());
  deleted.insert(deleted.end(), other.deleted.begin(), other.deleted.end());
  stopped = stopped || other.stopped;
}

// ---- workflow ----

tfetchworkflow::tfetchworkflow(tqvProtocolEngine& engine, tthumbmanager& manager, tfilenamer& namer,
                               tsaveoptions& saveOptions, tfetchsettings& settings, tfetchhost host,
                               tlocalclock clock)
    : engine_(engine),
      manager_(manager),
      namer_(namer),
      saveOptions_(saveOptions),
      settings_(settings),
      host_(std::move(host)),
      clock_(std::move(clock)) {}

void tfetchworkflow::Progress(int position, const std::string& text, int n) {
  if (host_.progress) host_.progress(position, text, n);
}

bool tfetchworkflow::StopRequested() { return host_.stopRequested && host_.stopRequested(); }

void tfetchworkflow::Message(tmessagekind kind, const std::string& text) {
  if (host_.message) host_.message(kind, text);
}

tpicturesaver tfetchworkflow::Saver() {
  return tpicturesaver(namer_, saveOptions_, host_.overwrite, host_.onConfirmOverwriteOff);
}

int tfetchworkflow::RefreshCount() {
  const int count = manager_.RefreshCount();
  if (!manager_.CountMessage().empty()) Message(tmessagekind::warning, manager_.CountMessage());
  return count;
}

void ApplyPictureSettings(const tfetchsettings& settings, tpicturepipeline& pipeline) {
  pipeline.SetOutputSize(settings.outputSize);
  pipeline.SetJpegQuality(std::clamp(settings.jpegQuality, 1, 100));
  pipeline.PlainStretch = settings.plainStretch;
  pipeline.AlwaysReencode = settings.alwaysReencode;
  pipeline.ColourExpand = settings.colourExpand;
  pipeline.ColourExpandPercent = settings.colourExpandPercent;
  pipeline.Progressive = settings.progressive;
}

void tfetchworkflow::ApplyPictureSettings() {
  // The pipeline the manager decodes with (the engine itself in the window) takes the picture
  // settings before every decode. A quality slider at 0 means 1.
  vantlo::ApplyPictureSettings(settings_, manager_.Pipeline());
}

bool tfetchworkflow::FetchMovie(int n, tfetchresult& result) {
  if (!engine_.HasFileSystem()) return false;
  tshownpicture shown;
  shown.number = n;
  shown.kind = tshownkind::moviePreview;
  shown.description = "picture #" + std::to_string(n);
  {
    tbitmap preview(320, 240);
    bool isMovie = false;
    bool fine = false;
    engine_.FetchThumbnail(n, preview, isMovie, fine);
    if (!isMovie) return false;
    shown.image.Assign(preview);
  }
  if (host_.show) host_.show(shown);
  StopRequested();  // lets the window paint the preview; the transfer is not stopped here

  Progress(10, "Fetching AVI", n);
  std::vector<std::uint8_t> stream =
      manager_.CacheStream(n, [this](int position, const std::string& text, int picture) {
        Progress(position, text, picture);
        return tprogressanswer::carryOn;
      });
  if (!IsSoundCacheStream(stream) || stream.back() != kKindAviFile) {
    // The camera marked it as a movie but sent a picture: it goes the picture's way (the data
    // are cached, so nothing crosses the link again).
    return false;
  }
  stream.pop_back();  // the kind byte
  if (saving_) {
    shown.movieFile = namer_.FileName(n, tnamekind::picture, "AVI");
    AddReport(Saver().SaveMovie(n, [&stream] { return stream; }), result);
    currentFile_ = shown.movieFile;
  }
  shown.movieData = std::move(stream);
  if (host_.show) host_.show(shown);
  // The movie becomes the current camera picture, so "Next" goes on past it.
  currentPicture_ = n;
  result.fetched.push_back(n);
  return true;
}

void tfetchworkflow::FetchStill(int n, tfetchresult& result) {
  if (n > manager_.Count()) RefreshCount();
  if (n < 1 || n > manager_.Count()) throw tthumbexception(kPictureNumberOutOfRange);

  tshownpicture shown;
  shown.number = n;
  shown.kind = tshownkind::cameraPicture;
  TJPEGImage& image = shown.image;
  manager_.Pipeline().PrepareJpeg(image);
  manager_.LoadPicture(n, image, [this](int position, const std::string& text, int picture) {
    Progress(position, text, picture);
    return tprogressanswer::carryOn;  // Stop waits for the end of this picture
  });
  // The picture as a JPEG stream, once, for its size. While nothing changes the picture these
  // are also the bytes saved (a camera JPEG file stays byte for byte where the pipeline kept it).
  std::vector<std::uint8_t> jpeg;
  image.SaveToStream(jpeg);
  shown.sizeBytes = jpeg.size();
  tfinishoptions finish;
  finish.orientation = settings_.orientation;
  finish.caption = [this, n](TJPEGImage& picture) {
    tbitmap bitmap = picture.Bitmap();
    if (!WriteCaption(bitmap, n, settings_.caption, SystemFieldTexts(clock_()),
                      host_.captionPrompt))
      return false;
    picture.Assign(bitmap);
    return true;
  };
  finish.correction = settings_.correction;
  finish.step = [this, n](tfinishstep step) {
    switch (step) {
      case tfinishstep::orienting:
        Progress(80, "Orienting", n);
        break;
      case tfinishstep::caption:
        Progress(90, "Writing caption", n);
        break;
      case tfinishstep::correcting:
        Progress(90, "Correcting", n);
        break;
    }
  };
  finish.correctionProgress = [this, n](int position, const std::string& text) {
    if (position >= 0) Progress(position, text, n);
  };
  finish.keepUncorrected = true;
  tfinishresult finished = FinishPicture(image, finish, manager_.Pipeline());
  shown.uncorrected = std::move(finished.uncorrected);
  shown.correctionStrength = finished.correctionStrength;
  if (finished.changed) jpeg.clear();

  shown.description = "picture #" + std::to_string(n);
  if (host_.show) host_.show(shown);

  if (!saving_) {
    currentPicture_ = n;
    result.fetched.push_back(n);
    return;
  }
  namer_.EnsureDailyFolder();
  auto cam = [this, n] { return manager_.CamFileBytes(n); };
  auto jpegBytes = [&image, &jpeg] {
    if (jpeg.empty()) image.SaveToStream(jpeg);
    return jpeg;
  };
  tsavereport report;
  try {
    Saver().SaveFetchedPicture(n, cam, jpegBytes, report);
  } catch (...) {
    // The CAM file may be complete on disk while the JPEG failed: it is listed as saved.
    AddReport(report, result);
    throw;
  }
  AddReport(report, result);
  currentPicture_ = n;
  result.fetched.push_back(n);
}

tfetchresult tfetchworkflow::FetchPicture(int n) {
  tfetchresult result;
  FetchPictureInto(n, result);
  return result;
}

void tfetchworkflow::FetchPictureInto(int n, tfetchresult& result) {
  if (n == 0) return;
  try {
    ApplyPictureSettings();
    if (!FetchMovie(n, result)) FetchStill(n, result);
  } catch (...) {
    Progress(0, "Ready", n);
    throw;
  }
  Progress(0, "Ready", n);
}

tfetchresult tfetchworkflow::RedisplayPicture(int n) {
  const bool saving = saving_;
  saving_ = false;
  try {
    tfetchresult result = FetchPicture(n);
    saving_ = saving;
    return result;
  } catch (...) {
    saving_ = saving;
    throw;
  }
}

void tfetchworkflow::Fail(int n, const std::exception& e, tfetchresult& result) {
  result.failed.push_back({n, e.what()});
  Message(tmessagekind::error, e.what());
}

tfetchresult tfetchworkflow::FetchList(const std::vector<int>& numbers, bool keepGoing) {
  tfetchresult result;
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    const int n = numbers[i];
    if (StopRequested()) {
      result.stopped = true;
      break;
    }
    try {
      FetchPictureInto(n, result);
    } catch (const tqvnotconnected& e) {
      Fail(n, e, result);  // nothing more can come from a lost camera
      break;
    } catch (const std::exception& e) {
      Fail(n, e, result);
      if (!keepGoing) break;
    }
    if (StopRequested() && i + 1 < numbers.size()) {
      result.stopped = true;
      break;
    }
  }
  return result;
}

bool tfetchworkflow::CountOrFail(int& count, tfetchresult& result) {
  try {
    count = RefreshCount();
    return true;
  } catch (const std::exception& e) {
    Fail(0, e, result);
    return false;
  }
}

tfetchresult tfetchworkflow::FetchCurrent(int n) {
  tfetchresult result;
  int count = 0;
  if (!CountOrFail(count, result)) return result;
  if (n < 1 || n > count) return result;
  return FetchList({n}, false);
}

tfetchresult tfetchworkflow::FetchAll(bool keepGoing) {
  tfetchresult result;
  int count = 0;
  if (!CountOrFail(count, result)) return result;
  std::vector<int> numbers;
  for (int n = 1; n <= count; ++n) numbers.push_back(n);
  return FetchList(numbers, keepGoing);
}

tfetchresult tfetchworkflow::FetchSelected(const tcameraselection& selection, bool keepGoing) {
  tfetchresult result;
  int count = 0;
  if (!CountOrFail(count, result)) return result;
  // Flags above the count belong to pictures no longer in the camera.
  const std::vector<int> numbers = selection.Selected(count);
  if (numbers.empty()) {
    Message(tmessagekind::information, kSelectToDisplay);
    return result;
  }
  return FetchList(numbers, keepGoing);
}

tfetchresult tfetchworkflow::FetchByNumber(int n) {
  tfetchresult result;
  int count = 0;
  if (!CountOrFail(count, result)) return result;
  if (count == 0) {
    Message(tmessagekind::warning, kMemoryEmpty);
    return result;
  }
  if (n < 1 || n > count) {
    Fail(n, tthumbexception(kPictureNumberOutOfRange), result);
    return result;
  }
  return FetchList({n}, false);
}

int tfetchworkflow::TakePicture() {
  engine_.CheckBattery();
  engine_.Waiter().Wait(500);
  engine_.TakePicture();
  engine_.Waiter().Wait(2000 + 1000);
  StopRequested();  // process pending messages once
  return RefreshCount();
}

tfetchresult tfetchworkflow::DeleteSelected(tcameraselection& selection, bool checkBattery) {
  tfetchresult result;
  if (checkBattery) engine_.CheckBattery();
  const int count = RefreshCount();
  if (selection.Selected(count).empty()) {
    Message(tmessagekind::information, kSelectToDelete);
    return result;
  }
  // Refused before anything is asked, rather than after the first question.
  if (engine_.HasFileSystem()) throw tthumbexception(kCannotDeleteOverSerial);
  int d = 0;
  for (int k = 1; k <= tcameraselection::kMax; ++k) {
    if (!selection.IsSelected(k)) continue;
    if (k <= count) {
      const int picture = k - d;  // the numbers shift down after each deletion
      bool go = true;
      if (settings_.askBeforeDelete) {
        go = host_.confirmDelete && host_.confirmDelete(picture, settings_.askBeforeDelete);
      }
      if (go) {
        try {
          manager_.DeletePicture(picture);
        } catch (...) {
          // The flags from k on still name pictures by their old numbers; move them down by
          // the d deleted so far, so they mark the same pictures (k itself was not deleted).
          for (int j = k; j <= tcameraselection::kMax; ++j) {
            const bool on = selection.IsSelected(j);
            selection.Set(j, false);
            if (on) selection.Set(j - d, true);
          }
          throw;
        }
        result.deleted.push_back(picture);
        ++d;
      }
    }
    selection.Set(k, false);
  }
  RefreshCount();
  engine_.ResetCamera();
  return result;
}

bool tfetchworkflow::DeleteAll() {
  if (!host_.confirm || !host_.confirm(kDeleteAllQuestion)) return false;
  engine_.CheckBattery();
  manager_.DeleteAllPictures();
  engine_.ResetCamera();
  return true;
}

}  // namespace vantlo
