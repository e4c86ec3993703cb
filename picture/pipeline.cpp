#include "picture/pipeline.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "picture/camformats.h"
#include "picture/colourcorrection.h"
#include "picture/fastbm.h"
#include "picture/jpegimage.h"
#include "picture/pictureerror.h"

namespace vantlo {

namespace {

// The older cameras' pictures: 480 x 240 with non-square pixels and an
// unusable first row.
constexpr int kClassicWidth = 480;
constexpr int kClassicHeight = 240;

}  // namespace

void tpicturepipeline::SetJpegQuality(int q) {
  if (q <= 0 || q > 100) throw tpictureerror("JPEG Quality must be between 1 and 100");
  JpegQuality = q;
}

void tpicturepipeline::PrepareJpeg(TJPEGImage& image) const {
  image.SetPixelFormat(PixelFormat::pf24bit);
  image.SetCompressionQuality(JpegQuality);
  image.SetProgressiveEncoding(Progressive);
}

void tpicturepipeline::DecodeRawPicture(std::span<const std::uint8_t> raw, TJPEGImage& picture) {
  TJPEGImage image;
  PrepareJpeg(image);
  tbytes jfif;
  RawToJfif(raw, jfif);
  image.LoadFromStream(jfif);
  FinishPicture(std::move(image), picture);
}

void tpicturepipeline::LoadCamFile(std::span<const std::uint8_t> cam, TJPEGImage& picture) {
  if (IsJpegBearingCam(cam)) {
    TJPEGImage image;
    PrepareJpeg(image);
    image.LoadFromStream(cam, CamJpegOffset(cam));
    FinishPicture(std::move(image), picture);
    return;
  }
  tbytes area;
  ExtractPictureArea(cam, area);
  DecodeRawPicture(area, picture);
}

tdimensions tpicturepipeline::OutputDimensions(int choice, int width, int height) {
  tdimensions d;
  switch (choice) {
    case 1:
      d = {160, 120};
      break;
    case 2:
      d = {320, 240};
      break;
    case 3:
      d = {480, 360};
      break;
    case 4:
      d = {640, 480};
      break;
    case 5:
      d = {1280, 960};
      break;
    case 0:
    case 6:
    case 7:
      if (width == kClassicWidth && height == kClassicHeight) {
        d = {320, 240};
      } else {
        d = {width, height};
      }
      if (choice == 6) d = {d.Width / 2, d.Height / 2};
      if (choice == 7) d = {d.Width / 4, d.Height / 4};
      break;
    default:
      d = {320, 240};
      break;
  }
  // Halving or quartering a tiny picture must not give an empty bitmap.
  d.Width = std::max(d.Width, 1);
  d.Height = std::max(d.Height, 1);
  return d;
}

// Three paths:
//  1. The older cameras' 480 x 240 pictures: the first row is repaired, the
//     picture expanded when asked, resized to the output size and requantised.
//  2. Any other picture already of the output size: the picture takes the
//     decoded image with its JPEG data, so saving it loses nothing; it is
//     decoded to a bitmap only when AlwaysReencode or ColourExpand asks. The
//     image is moved, not copied (a 3-megapixel bitmap is 9.4 MB), and
//     expanded in place.
//  3. Any other picture: resized to the output size, expanded when asked,
//     requantised.
// Small pictures other than 480 x 240 (JPEG files from the newer cameras)
// take paths 2 and 3 like full-size ones: drawing them into a 480 x 240
// canvas would squeeze them and leave black borders.
void tpicturepipeline::FinishPicture(TJPEGImage&& decoded, TJPEGImage& picture) {
  const tbitmap& source = decoded.Bitmap();
  const int dw = source.Width(), dh = source.Height();
  const tdimensions out = OutputDimensions(OutputSize, dw, dh);

  if (dw == kClassicWidth && dh == kClassicHeight) {
    tbitmap canvas = std::move(decoded.EditBitmap());
    decoded.Clear();
    canvas.SetPixelFormat(PixelFormat::pf24bit);
    RepeatSecondRow(canvas);
    if (ColourExpand) ExpandColourRange(canvas, ColourExpandPercent);
    tbitmap target(out.Width, out.Height);
    AdvStretch(canvas, target, !PlainStretch);
    picture.Assign(std::move(target));
    Requantise(picture);
    return;
  }

  if (dw == out.Width && dh == out.Height) {
    picture = std::move(decoded);
    decoded.Clear();
    if (AlwaysReencode || ColourExpand) {
      tbitmap& bitmap = picture.EditBitmap();
      if (ColourExpand) ExpandColourRange(bitmap, ColourExpandPercent);
    }
    if (JpegQuality < 75) Requantise(picture);
    return;
  }

  tbitmap target(out.Width, out.Height);
  AdvStretch(source, target, !PlainStretch);
  decoded.Clear();
  if (ColourExpand) ExpandColourRange(target, ColourExpandPercent);
  picture.Assign(std::move(target));
  Requantise(picture);
}

void tpicturepipeline::FinishPicture(const TJPEGImage& decoded, TJPEGImage& picture) {
  FinishPicture(TJPEGImage(decoded), picture);
}

void tpicturepipeline::Requantise(TJPEGImage& picture) {
  if (JpegQuality > 74) return;
  // Compress the picture's pixels afresh at its quality (camera JPEG data
  // kept so far would otherwise be saved as they are).
  picture.Bitmap();
  picture.Recompress();
  std::vector<std::uint8_t> stream;
  picture.SaveToStream(stream);
  TJPEGImage fresh;
  PrepareJpeg(fresh);
  fresh.LoadFromStream(stream);
  picture = std::move(fresh);
}

void tpicturepipeline::RepeatSecondRow(tbitmap& bitmap) {
  tfastbm fastbm;
  fastbm.Attach(&bitmap);
  if (bitmap.Height() < 2) return;
  std::memcpy(fastbm.ScanLine(0), fastbm.ScanLine(1), bitmap.RowBytes());
}

}  // namespace vantlo
