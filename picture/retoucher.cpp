#include "picture/retoucher.h"

#include <algorithm>
#include <cstring>

#include "picture/bitmapcheck.h"
#include "picture/pictureerror.h"

namespace vantlo {

namespace {

// The part of the bitmap `into` that `from` covers when `from` is laid
// over it at (0, 0): the pixels where `from` has no pixel keep `into`'s.
void DrawAt00(const tbitmap& from, tbitmap& into) {
  const int w = std::min(from.Width(), into.Width());
  const int h = std::min(from.Height(), into.Height());
  for (int y = 0; y < h; ++y)
    std::memcpy(into.ScanLine(y), from.ScanLine(y), static_cast<std::size_t>(w) * 3);
}

}  // namespace

tretouchrect CentredPreviewArea(int displayWidth, int displayHeight) {
  return {std::max(displayWidth / 2 - tretoucher::kPreviewWidth / 2, 0),
          std::max(displayHeight / 2 - tretoucher::kPreviewHeight / 2, 0),
          tretoucher::kPreviewWidth, tretoucher::kPreviewHeight};
}

tretouchrect PreviewAreaAt(int x, int y, int displayWidth, int displayHeight) {
  const int hw = tretoucher::kPreviewWidth / 2, hh = tretoucher::kPreviewHeight / 2;
  const int cx = std::max(std::min(x, displayWidth - hw), hw);
  const int cy = std::max(std::min(y, displayHeight - hh), hh);
  return {cx - hw, cy - hh, tretoucher::kPreviewWidth, tretoucher::kPreviewHeight};
}

tretoucher::tretoucher() : previewbitmap_(kPreviewWidth, kPreviewHeight) {}

void tretoucher::LoadPicture(const tbitmap& bitmap, bool keep) {
  haspicture_ = true;
  undo_.reset();
  const bool samesize =
      base_ && base_->Width() == bitmap.Width() && base_->Height() == bitmap.Height();
  if (keep && samesize && base_->Format() == bitmap.Format())
    DrawAt00(bitmap, *base_);
  else
    base_ = bitmap;
  filled_ = {};
}

void tretoucher::SetPreviewArea(const tretouchrect& area, const tretouchrect& display) {
  area_ = area;
  filled_ = {};
  if (base_ && !base_->Empty() && display.Width > 0 && display.Height > 0) {
    RequireFastBitmap(*base_);
    // The preview pixels (px, py) whose display point lies on the display.
    const int left = std::clamp(display.Left - area.Left, 0, kPreviewWidth);
    const int top = std::clamp(display.Top - area.Top, 0, kPreviewHeight);
    const int right = std::clamp(display.Left + display.Width - area.Left, 0, kPreviewWidth);
    const int bottom = std::clamp(display.Top + display.Height - area.Top, 0, kPreviewHeight);
    if (left < right && top < bottom) {
      filled_ = {left, top, right - left, bottom - top};
      const long long bw = base_->Width(), bh = base_->Height();
      long long sum = 0;
      for (int py = top; py < bottom; ++py) {
        const long long dy = area.Top + py - display.Top;
        const std::uint8_t* row = base_->ScanLine(static_cast<int>(dy * bh / display.Height));
        for (int px = left; px < right; ++px) {
          const long long dx = area.Left + px - display.Left;
          const std::uint8_t* p = row + (dx * bw / display.Width) * 3;
          const std::size_t i = static_cast<std::size_t>(py) * kPreviewWidth + px;
          std::memcpy(&samples_[i * 3], p, 3);
          sampleluma_[i] = static_cast<std::uint8_t>((299 * p[2] + 587 * p[1] + 114 * p[0]) / 1000);
          sum += sampleluma_[i];
        }
      }
      meanluminance_ =
          static_cast<int>(sum / (static_cast<long long>(filled_.Width) * filled_.Height));
    }
  }
  DrawPreview();
}

void tretoucher::SetBrightness(int v) {
  if (settings_.Brightness == v) return;
  settings_.Brightness = v;
  DrawPreview();
}

void tretoucher::SetContrast(int v) {
  if (settings_.Contrast == v) return;
  settings_.Contrast = v;
  DrawPreview();
}

void tretoucher::SetSharpness(int v) {
  if (settings_.Sharpness == v) return;
  settings_.Sharpness = v;
  DrawPreview();
}

void tretoucher::SetColourMix(int red, int green, int blue) {
  if (settings_.Red == red && settings_.Green == green && settings_.Blue == blue) return;
  settings_.Red = red;
  settings_.Green = green;
  settings_.Blue = blue;
  DrawPreview();
}

void tretoucher::ZeroAll() {
  settings_ = {};
  DrawPreview();
}

void tretoucher::ApplyTo(tbitmap& bitmap) {
  if (!haspicture_) return;
  RequireFastBitmap(bitmap);
  undo_ = bitmap;
  const int w = bitmap.Width(), h = bitmap.Height();
  if (w > 0 && h > 0 && base_) {
    // The base picture normally has the bitmap's size; where it has not,
    // the bitmap's own pixels stand in for the missing ones.
    const bool samesize = base_->Width() == w && base_->Height() == h;
    std::optional<tbitmap> composite;
    if (!samesize) {
      composite = bitmap;
      DrawAt00(*base_, *composite);
    }
    const tbitmap& source = samesize ? *base_ : *composite;
    if (settings_.Contrast != 0)
      meanluminance_ = static_cast<int>(SumIntLuma(source) / (static_cast<long long>(w) * h));
    if (settings_.AdjustsColour())
      AdjustPixels(source, bitmap, tpixeladjuster(settings_, meanluminance_), status_);
    if (settings_.Sharpness != 0) SharpnessStep(bitmap, settings_.Sharpness, status_);
  }
  Report(0, "Done");
}

void tretoucher::Undo(tbitmap& bitmap) {
  if (!undo_) throw tpictureerror("Cannot Undo");
  bitmap = std::move(*undo_);
  undo_.reset();
}

void tretoucher::Revert(tbitmap& bitmap) {
  if (base_) bitmap = *base_;
}

void tretoucher::DrawPreview() {
  if (!haspicture_ || !preview_) return;
  std::fill(previewbitmap_.Bytes().begin(), previewbitmap_.Bytes().end(), std::uint8_t{255});
  if (base_ && filled_.Width > 0 && filled_.Height > 0) {
    const tpixeladjuster adjuster(settings_, meanluminance_);
    const bool whole = filled_.Width == kPreviewWidth && filled_.Height == kPreviewHeight;
    // The sharpness step sees only the picture's part of the preview, not
    // the white around a picture smaller than the preview.
    tbitmap part;
    if (!whole) part.SetSize(filled_.Width, filled_.Height);
    tbitmap& target = whole ? previewbitmap_ : part;
    for (int py = 0; py < filled_.Height; ++py) {
      const std::size_t i =
          static_cast<std::size_t>(filled_.Top + py) * kPreviewWidth + filled_.Left;
      const std::uint8_t* in = &samples_[i * 3];
      std::uint8_t* out = target.ScanLine(whole ? filled_.Top + py : py) +
                          static_cast<std::size_t>(whole ? filled_.Left : 0) * 3;
      for (int px = 0; px < filled_.Width; ++px, in += 3, out += 3) adjuster.Adjust(in, out);
    }
    SharpnessStep(target, settings_.Sharpness);
    if (!whole) {
      for (int py = 0; py < filled_.Height; ++py)
        std::memcpy(
            previewbitmap_.ScanLine(filled_.Top + py) + static_cast<std::size_t>(filled_.Left) * 3,
            part.ScanLine(py), static_cast<std::size_t>(filled_.Width) * 3);
    }
  }
  preview_(previewbitmap_);
}

}  // namespace vantlo
