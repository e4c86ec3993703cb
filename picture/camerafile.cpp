#include "picture/camerafile.h"

#include "picture/camformats.h"
#include "picture/pictureerror.h"
#include "picture/pipeline.h"

namespace vantlo {

namespace {

std::size_t BE16(std::span<const std::uint8_t> d, std::size_t at) {
  return (static_cast<std::size_t>(d[at]) << 8) | d[at + 1];
}

bool IsPictureKind(std::uint8_t b) { return b >= 1 && b <= 6; }

}  // namespace

std::string CameraFileKindText(tcamerafilekind kind) {
  switch (kind) {
    case tcamerafilekind::Cam:
      return "CAM file";
    case tcamerafilekind::Cache:
      return "raw cache file";
    case tcamerafilekind::Raw:
      return "raw camera data";
    case tcamerafilekind::Jpeg:
      return "JPEG file";
    default:
      return "unknown";
  }
}

tcamerafilekind DetectCameraFile(std::span<const std::uint8_t> data) {
  const std::size_t n = data.size();
  if (n >= 4 && data[0] == 0x07 && data[1] == 0x20 && data[2] == 0x4D && data[3] == 0x4D)
    return tcamerafilekind::Cam;
  if (n >= 2 && data[0] == 0xFF && data[1] == 0xD8) {
    if (n >= 5 && data[n - 3] == 0xFF && data[n - 2] == 0xD9 && IsPictureKind(data[n - 1]))
      return tcamerafilekind::Cache;
    return tcamerafilekind::Jpeg;
  }
  if (n >= 1 && data[0] <= 1) {
    if (n >= kRawHeaderSize) {
      const std::size_t scans =
          data[0] == 0 ? BE16(data, 2) + BE16(data, 4) + BE16(data, 6) : BE16(data, 6);
      if (n == kRawHeaderSize + scans + 1 && IsPictureKind(data[n - 1]))
        return tcamerafilekind::Cache;
    }
    return tcamerafilekind::Raw;
  }
  return tcamerafilekind::Unknown;
}

tcamerafilekind DecodeCameraFile(std::span<const std::uint8_t> data, tpicturepipeline& pipeline,
                                 const tcorrectionchoice& correction, TJPEGImage& picture,
                                 const tpictureprogress& progress) {
  const tcamerafilekind kind = DetectCameraFile(data);
  pipeline.PrepareJpeg(picture);
  switch (kind) {
    case tcamerafilekind::Cam:
      pipeline.LoadCamFile(data, picture);
      break;
    case tcamerafilekind::Cache:
      // The last byte is the picture kind, not camera data.
      pipeline.DecodeRawPicture(data.first(data.size() - 1), picture);
      break;
    case tcamerafilekind::Raw:
    case tcamerafilekind::Jpeg:
      pipeline.DecodeRawPicture(data, picture);
      break;
    default:
      throw tpictureerror("Unsupported Camera Format");
  }
  if (correction.Mode != tcorrectionchoice::Off) {
    tbitmap bitmap = picture.Bitmap();
    ApplyCorrection(bitmap, correction, progress);
    picture.Assign(bitmap);
  }
  return kind;
}

}  // namespace vantlo
