// tretoucher: the retouching tool behind the "Touch" page. It keeps the
// picture as last displayed (the base picture), samples a 132 x 84 area of
// it as shown on screen for a live preview of the six settings, applies
// them to the whole picture with one level of undo, and reverts to the base
// picture. Every Apply starts again from the base picture, so the settings
// are absolute, not increments. No window code: the preview is handed to a
// callback and progress to the status callback.
#pragma once

#include <array>
#include <functional>
#include <optional>

#include "picture/bitmap.h"
#include "picture/colourcorrection.h"
#include "picture/retouchfilters.h"

namespace vantlo {

// A rectangle in display coordinates.
struct tretouchrect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  bool operator==(const tretouchrect&) const = default;
};

// The area shown first for a display of w x h: top-left at (w div 2 - 66,
// h div 2 - 42), each at least 0.
tretouchrect CentredPreviewArea(int displayWidth, int displayHeight);
// The area chosen by a click at (x, y) on the display: centred on the click
// point moved into 66 .. w - 66 and 42 .. h - 42, so an area near a corner
// touches the corner. On a display narrower or lower than the preview the
// area starts at its left or top edge.
tretouchrect PreviewAreaAt(int x, int y, int displayWidth, int displayHeight);

class tretoucher {
 public:
  static constexpr int kPreviewWidth = 132;
  static constexpr int kPreviewHeight = 84;
  static constexpr int kPreviewSamples = kPreviewWidth * kPreviewHeight;

  tretoucher();

  // The window's status reporter (progress number and text).
  void SetStatusCallback(tpictureprogress status) { status_ = std::move(status); }
  // The preview control: gets the 132 x 84 preview bitmap whenever it is
  // drawn. Without one nothing is drawn.
  void SetPreviewControl(std::function<void(const tbitmap&)> draw) { preview_ = std::move(draw); }

  // The displayed picture: the undo is dropped and the base picture becomes
  // a copy of `bitmap`. With `keep` the base picture's storage is reused,
  // but only when it has the bitmap's size (a base of another size is
  // replaced, so Apply never reads past it). The preview area must be
  // chosen again: until then the preview is white.
  void LoadPicture(const tbitmap& bitmap, bool keep);

  // Chooses the area of the display (display coordinates, 132 x 84 from
  // area's top-left) that the preview shows; `display` is the rectangle the
  // picture is drawn into, whose size the base picture is scaled to (nearest
  // pixel). Samples the base picture under the area once and sets the mean
  // luminance from them. The parts of the area outside the display show
  // white and take no part in the mean.
  void SetPreviewArea(const tretouchrect& area, const tretouchrect& display);

  // Each stores the value when it changed and redraws the preview.
  void SetBrightness(int v);
  void SetContrast(int v);
  void SetSharpness(int v);
  void SetColourMix(int red, int green, int blue);
  // The six settings to 0; redraws the preview.
  void ZeroAll();

  // Writes the adjusted base picture into `bitmap` (the displayed picture,
  // 24-bit), keeping a copy of it as it was for Undo. Nothing without a
  // picture. With the sharpness alone the blur or sharpening acts on the
  // bitmap as it is, so repeated Applies of it accumulate.
  void ApplyTo(tbitmap& bitmap);
  // `bitmap` takes the picture from before the last Apply; one level only.
  // Throws tpictureerror "Cannot Undo" when there is none.
  void Undo(tbitmap& bitmap);
  // `bitmap` takes the base picture, when there is one.
  void Revert(tbitmap& bitmap);

  const tretouchsettings& Settings() const { return settings_; }
  bool HasPicture() const { return haspicture_; }
  bool UndoAvailable() const { return undo_.has_value(); }
  bool HasBasePicture() const { return base_.has_value(); }
  const tbitmap* BasePicture() const { return base_ ? &*base_ : nullptr; }
  const tretouchrect& PreviewArea() const { return area_; }
  int MeanLuminance() const { return meanluminance_; }
  const tbitmap& PreviewBitmap() const { return previewbitmap_; }

 private:
  void DrawPreview();
  void Report(int position, const char* text) const {
    if (status_) status_(position, text);
  }

  // Base-picture pixels under the preview area (blue, green, red) and the
  // part of the preview they fill; the rest of the preview is white.
  std::array<std::uint8_t, kPreviewSamples * 3> samples_{};
  std::array<std::uint8_t, kPreviewSamples> sampleluma_{};
  tretouchrect filled_;  // in preview coordinates; empty until an area is chosen
  tretouchrect area_;
  tretouchsettings settings_;
  int meanluminance_ = 0;
  tbitmap previewbitmap_;
  std::function<void(const tbitmap&)> preview_;
  std::optional<tbitmap> undo_;
  std::optional<tbitmap> base_;
  bool haspicture_ = false;
  tpictureprogress status_;
};

}  // namespace vantlo
