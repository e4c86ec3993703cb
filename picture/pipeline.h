// The decoding pipeline every camera picture passes through: camera data are
// wrapped into a JFIF stream, decoded by libjpeg and finished to the output
// size, with the older cameras' unusable first row repaired, optional
// colour-range expansion and requantisation at low JPEG qualities.
//
// The protocol engine derives from this class; the main window copies its
// settings into the public fields before every decode.
//
// Pictures are passed as `TJPEGImage&`: an in/out picture that "may be
// replaced by a new object" is simply overwritten (TJPEGImage is a value
// type), so the caller's object always holds the result. The picture's
// compression properties are the caller's except where the picture is
// replaced by a requantised image, which gets the pipeline's settings.
#pragma once

#include <cstdint>
#include <span>

#include "picture/advstretch.h"
#include "picture/bitmap.h"

namespace vantlo {

class TJPEGImage;

class tpicturepipeline {
 public:
  tpicturepipeline() = default;
  virtual ~tpicturepipeline() = default;

  // Quality for every JPEG the pipeline compresses, 1..100; values below 75
  // also requantise finished pictures.
  int JpegQuality = 85;
  // Output size choice, see OutputDimensions.
  std::uint8_t OutputSize = 0;
  // true: resizing uses the plain nearest-neighbour stretch; false: the
  // smooth resampler.
  bool PlainStretch = false;
  // Full-size camera JPEGs are decoded to a bitmap even when nothing changes them.
  bool AlwaysReencode = false;
  // Decoded pictures get colour-range expansion with ColourExpandPercent.
  bool ColourExpand = false;
  int ColourExpandPercent = 10;
  // JPEGs are written progressive.
  bool Progressive = false;

  // Throws "JPEG Quality must be between 1 and 100" for q <= 0 or q > 100.
  void SetJpegQuality(int q);
  // Stored as is (choices above 8 act as 8).
  void SetOutputSize(std::uint8_t choice) { OutputSize = choice; }

  // 24-bit pixel format, JpegQuality, Progressive.
  void PrepareJpeg(TJPEGImage& image) const;

  // Raw camera data (flavour 0, flavour 1 or a JPEG file) -> finished picture.
  void DecodeRawPicture(std::span<const std::uint8_t> raw, TJPEGImage& picture);
  // CAM file image -> finished picture.
  void LoadCamFile(std::span<const std::uint8_t> cam, TJPEGImage& picture);

  // Output size for choice `choice` and a w x h decoded picture: 1..5 fixed
  // rectangles (160 x 120 .. 1280 x 960); 0, 6, 7 keep the size except that
  // 480 x 240 becomes 320 x 240, then 6 halves and 7 quarters; 8 and above
  // 320 x 240. Never below 1 x 1.
  static tdimensions OutputDimensions(int choice, int width, int height);

  // Finishes a decoded picture into `picture` (see the .cpp for the paths).
  // The decoded image is handed over: a picture kept at its size is moved
  // into `picture`, never copied, and `decoded` is left empty. A caller that
  // keeps its image passes it as const and pays for one copy.
  void FinishPicture(TJPEGImage&& decoded, TJPEGImage& picture);
  void FinishPicture(const TJPEGImage& decoded, TJPEGImage& picture);

  // At JpegQuality below 75: compresses the picture at its quality and
  // replaces it by a new image decoded from that JPEG, so that the picture
  // shows the artefacts it will have when saved. Otherwise does nothing.
  void Requantise(TJPEGImage& picture);

  // Pixel (x, 0) := pixel (x, 1) for every x; nothing for bitmaps of fewer
  // than two rows.
  static void RepeatSecondRow(tbitmap& bitmap);
};

}  // namespace vantlo
