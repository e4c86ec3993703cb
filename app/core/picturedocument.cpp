#include "app/core/picturedocument.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <system_error>
#include <vector>

#include "app/core/picturefinish.h"
#include "library/pictureproperties.h"
#include "picture/advstretch.h"
#include "picture/pictureerror.h"
#include "picture/pipeline.h"
#include "picture/rotation.h"

namespace vantlo {

namespace {

// Picture files larger than this are not read into memory: no camera or
// cache file comes near it, so such a file is not one of ours.
constexpr std::uintmax_t kMaxPictureFileBytes = 256u * 1024u * 1024u;

std::string UpperTail(const std::string& path, std::size_t n) {
  std::string tail = path.size() >= n ? path.substr(path.size() - n) : std::string();
  for (char& c : tail) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return tail;
}

// Reads a whole file; throws tpictureopenerror(message) when it cannot.
std::vector<std::uint8_t> ReadWholeFile(const std::string& path, const char* message) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec || size == 0 || size > kMaxPictureFileBytes) throw tpictureopenerror(message);
  std::ifstream in(path, std::ios::binary);
  if (!in) throw tpictureopenerror(message);
  std::vector<std::uint8_t> data(static_cast<std::size_t>(size));
  in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
  if (static_cast<std::size_t>(in.gcount()) != data.size()) throw tpictureopenerror(message);
  return data;
}

std::uint64_t FileSizeOrZero(const std::string& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  return ec ? 0 : static_cast<std::uint64_t>(size);
}

void Report(const tpictureopenoptions& options, int position, const std::string& text) {
  if (options.progress) options.progress(position, text);
}

}  // namespace

int StoredOrientationOf(const std::string& path) {
  try {
    tpictureproperties props;
    props.SetFile(path);
    props.Load();
    const auto o = props.Orientation();
    return o <= 3 ? static_cast<int>(o) : 0;
  } catch (const std::exception&) {
    return 0;
  }
}

void StoreOrientation(const std::string& camPath, int code) {
  if (code < 0 || code > 3) throw std::invalid_argument("Invalid Orientation");
  tpictureproperties props;
  props.SetFile(camPath);
  props.Load();
  props.SetOrientation(static_cast<std::uint32_t>(code));
  props.Save();
}

torientationtarget CurrentOrientationTarget(const tpicturedocument& doc) {
  switch (doc.Kind()) {
    case tpicturekind::Camera:
    case tpicturekind::AutoCapture:
      return torientationtarget::Ignore;
    case tpicturekind::CamFile:
      return PictureFileType(doc.Path()) == tpicturefiletype::Cam ? torientationtarget::Cam
                                                                  : torientationtarget::NotCam;
    default:
      return torientationtarget::NotCam;
  }
}

tpicturefiletype PictureFileType(const std::string& path) {
  const std::string tail = UpperTail(path, 4);
  if (tail == ".JPG") return tpicturefiletype::Jpg;
  if (tail == ".CAM") return tpicturefiletype::Cam;
  if (tail == ".RCD") return tpicturefiletype::Rcd;
  return tpicturefiletype::None;
}

std::string tresizereport::OriginalText() const {
  return "Original size : " + std::to_string(originalBytes / 1024) + "KB";
}

std::string tresizereport::CurrentText() const {
  return "Current size : " + std::to_string(currentBytes / 1024) + "KB";
}

bool tpicturedocument::HasPicture() const {
  if (kind_ == tpicturekind::None || picture_.Empty()) return false;
  try {
    return picture_.Width() > 0 && picture_.Height() > 0;
  } catch (const std::exception&) {
    return false;
  }
}

void tpicturedocument::SetPicture(const TJPEGImage& picture, tpicturekind kind,
                                  const std::string& path, std::uint64_t fileSize) {
  picture_ = picture;
  kind_ = picture_.Empty() ? tpicturekind::None : kind;
  path_ = path;
  fileSize_ = fileSize;
  quarterTurns_ = 0;
  uncorrected_.reset();
}

void tpicturedocument::Clear() {
  picture_.Clear();
  kind_ = tpicturekind::None;
  path_.clear();
  fileSize_ = 0;
  quarterTurns_ = 0;
  uncorrected_.reset();
}

void tpicturedocument::PrepareJpeg(TJPEGImage& image) const { pipeline_.PrepareJpeg(image); }

tpicturefiletype tpicturedocument::OpenPictureFile(const std::string& path,
                                                   const tpictureopenoptions& options) {
  const tpicturefiletype type = PictureFileType(path);
  if (type == tpicturefiletype::None) return type;
  // A failed open leaves no picture on display.
  Clear();
  TJPEGImage picture;
  switch (type) {
    case tpicturefiletype::Jpg: {
      Report(options, 10, "Loading");
      try {
        const auto data = ReadWholeFile(path, "Unable to parse the JPEG data");
        picture.LoadFromStream(data);
        Report(options, 30, "Decoding");
        if (picture.Width() <= 0 || picture.Height() <= 0)
          throw tpictureopenerror("Unable to parse the JPEG data");
      } catch (const std::exception&) {
        throw tpictureopenerror("Unable to parse the JPEG data");
      }
      SetPicture(picture, tpicturekind::JpegFile, path, FileSizeOrZero(path));
      break;
    }
    case tpicturefiletype::Cam: {
      Report(options, 10, "Loading");
      const auto data = ReadWholeFile(path, "Unable to parse the CAM data");
      if (DetectCameraFile(data) != tcamerafilekind::Cam)
        throw tpictureopenerror("Unable to parse the CAM data");
      Report(options, 30, "Decoding");
      try {
        pipeline_.LoadCamFile(data, picture);
        if (picture.Width() <= 0 || picture.Height() <= 0)
          throw tpictureerror("Unable to parse the CAM data");
      } catch (const tpictureerror& e) {
        throw tpictureopenerror(e.what());
      } catch (const std::exception&) {
        throw tpictureopenerror("Unable to parse the CAM data");
      }
      tfinishoptions finish;
      finish.orientation = StoredOrientationOf(path);
      if (options.caption) {
        finish.caption = [&options](TJPEGImage& p) {
          options.caption(p);
          return true;
        };
      }
      finish.correction = options.correction;
      finish.step = [&options](tfinishstep step) {
        if (step == tfinishstep::orienting) Report(options, 85, "Orienting");
        if (step == tfinishstep::correcting) Report(options, 90, "Correcting");
      };
      finish.correctionProgress = options.progress;
      tfinishresult finished = FinishPicture(picture, finish, pipeline_);
      SetPicture(picture, tpicturekind::CamFile, path, FileSizeOrZero(path));
      if (finished.correctionStrength >= 0) {
        TJPEGImage before;
        PrepareJpeg(before);
        before.Assign(finished.uncorrected);
        uncorrected_ = std::move(before);
      }
      break;
    }
    case tpicturefiletype::Rcd: {
      Report(options, 10, "Loading");
      const auto data = ReadWholeFile(path, "Unable to parse the raw picture data");
      const tcamerafilekind kind = DetectCameraFile(data);
      try {
        if (kind == tcamerafilekind::Cache)
          pipeline_.DecodeRawPicture(std::span<const std::uint8_t>(data).first(data.size() - 1),
                                     picture);
        else if (kind == tcamerafilekind::Raw || kind == tcamerafilekind::Jpeg)
          pipeline_.DecodeRawPicture(data, picture);
        else
          throw tpictureerror("Unable to parse the raw picture data");
        if (picture.Width() <= 0 || picture.Height() <= 0)
          throw tpictureerror("Unable to parse the raw picture data");
      } catch (const tpictureerror& e) {
        throw tpictureopenerror(e.what());
      } catch (const std::exception&) {
        throw tpictureopenerror("Unable to parse the raw picture data");
      }
      SetPicture(picture, tpicturekind::JpegFile, path, FileSizeOrZero(path));
      break;
    }
    case tpicturefiletype::None:
      break;
  }
  return type;
}

void tpicturedocument::TurnWindowPicture(int code) {
  if (!HasPicture()) return;
  TJPEGImage turned;
  RotatePicture(picture_, turned, code);
  TJPEGImage fresh;
  PrepareJpeg(fresh);
  fresh.Assign(turned.Bitmap());
  picture_ = std::move(fresh);
}

void tpicturedocument::RotateClockwise() {
  if (!HasPicture()) return;
  TurnWindowPicture(orRotateClockwise);
  quarterTurns_ = (quarterTurns_ + 1) % 4;
}

void tpicturedocument::RotateCounterClockwise() {
  if (!HasPicture()) return;
  TurnWindowPicture(orRotateCounterClockwise);
  quarterTurns_ = (quarterTurns_ + 3) % 4;
}

std::uint64_t tpicturedocument::MeasureJpegSize(int quality) {
  if (!HasPicture()) return 0;
  picture_.SetCompressionQuality(std::clamp(quality, 1, 100));
  picture_.Recompress();
  std::vector<std::uint8_t> stream;
  picture_.SaveToStream(stream);
  TJPEGImage fresh;
  PrepareJpeg(fresh);
  fresh.LoadFromStream(stream);
  picture_ = std::move(fresh);
  return stream.size();
}

tresizereport tpicturedocument::ApplyResize(int choice, int quality,
                                            const std::function<bool()>& redisplay) {
  if (!HasPicture()) throw tpictureopenerror("No picture on display");
  const int turns = quarterTurns_;
  if (!redisplay || !redisplay()) throw tpictureopenerror("Nothing to redisplay");
  if (!HasPicture()) throw tpictureopenerror("No picture on display");
  for (int i = 0; i < turns; ++i) TurnWindowPicture(orRotateClockwise);
  const tdimensions size = ResizeDimensions(picture_, choice);
  tbitmap target(size.Width, size.Height);
  AdvStretch(picture_.Bitmap(), target, true);
  TJPEGImage fresh;
  PrepareJpeg(fresh);
  fresh.Assign(target);
  picture_ = std::move(fresh);
  tresizereport report;
  report.currentBytes = MeasureJpegSize(quality);
  report.originalBytes = fileSize_;
  quarterTurns_ = turns;
  return report;
}

}  // namespace vantlo
