#include "picture/rotation.h"

#include <cstdint>

#include "picture/bitmapcheck.h"
#include "picture/jpegimage.h"

namespace vantlo {

std::string OrientationText(int code) {
  switch (code) {
    case orNormal:
      return "Normal";
    case orRotateClockwise:
      return "Rotate Clockwise";
    case orUpsideDown:
      return "Upside Down";
    case orRotateCounterClockwise:
      return "Rotate Counter-clockwise";
    default:
      return "";
  }
}

int QuarterTurnsBetween(int from, int to) {
  const int d = (to % 4) - (from % 4);
  return ((d % 4) + 4) % 4;
}

tbitmap RotateBitmap(const tbitmap& src, int code) {
  RequireFastBitmap(src);
  const int w = src.Width(), h = src.Height();
  switch (code) {
    case orRotateClockwise: {
      tbitmap out(h, w);
      RequireFastBitmap(out);
      // Source row y becomes target column h - 1 - y, read top to bottom.
      for (int y = 0; y < h; ++y) {
        const std::uint8_t* s = src.ScanLine(y);
        const int tx = (h - 1 - y) * 3;
        for (int x = 0; x < w; ++x) {
          std::uint8_t* d = out.ScanLine(x) + tx;
          d[0] = s[0];
          d[1] = s[1];
          d[2] = s[2];
          s += 3;
        }
      }
      return out;
    }
    case orUpsideDown: {
      tbitmap out(w, h);
      for (int y = 0; y < h; ++y) {
        const std::uint8_t* s = src.ScanLine(y);
        std::uint8_t* d = out.ScanLine(h - 1 - y) + static_cast<std::size_t>(w) * 3;
        for (int x = 0; x < w; ++x) {
          d -= 3;
          d[0] = s[0];
          d[1] = s[1];
          d[2] = s[2];
          s += 3;
        }
      }
      return out;
    }
    case orRotateCounterClockwise: {
      tbitmap out(h, w);
      RequireFastBitmap(out);
      // Source pixel (x, y) goes to (y, w - 1 - x).
      for (int y = 0; y < h; ++y) {
        const std::uint8_t* s = src.ScanLine(y);
        const int tx = y * 3;
        for (int x = 0; x < w; ++x) {
          std::uint8_t* d = out.ScanLine(w - 1 - x) + tx;
          d[0] = s[0];
          d[1] = s[1];
          d[2] = s[2];
          s += 3;
        }
      }
      return out;
    }
    default:
      return src;
  }
}

void RotatePicture(TJPEGImage& src, TJPEGImage& target, int code) {
  if (code < orRotateClockwise || code > orRotateCounterClockwise) {
    if (&src != &target) target.Assign(src);
    return;
  }
  // Turn first, so a failure leaves the target as it was.
  const tbitmap turned = RotateBitmap(src.Bitmap(), code);
  target.Assign(turned);
}

}  // namespace vantlo
