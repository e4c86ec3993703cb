#include "picture/retouchfilters.h"

#include <algorithm>
#include <vector>

#include "picture/bitmapcheck.h"

namespace vantlo {

namespace {

constexpr int kBand = 10;  // columns between progress reports

inline std::uint8_t Clamp255(int v) {
  return static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

inline int PixelIntLuma(const std::uint8_t* p) {
  return (299 * p[2] + 587 * p[1] + 114 * p[0]) / 1000;
}

// The chroma terms of IntYccToRgb for every chroma byte; each term is
// divided on its own there, so the tables give exactly its results.
struct tchromatables {
  std::array<int, 256> red, greencb, greencr, blue;
  tchromatables() {
    for (int v = 0; v < 256; ++v) {
      const int d = v - 128;
      red[v] = d * 1402 / 1000;
      greencb[v] = d * 34414 / 100000;
      greencr[v] = d * 71414 / 100000;
      blue[v] = d * 1772 / 1000;
    }
  }
};
const tchromatables& ChromaTables() {
  static const tchromatables tables;
  return tables;
}

}  // namespace

tcolor Mix(tcolor a, tcolor b, int strength) {
  auto channel = [strength](int x, int y) {
    return Clamp255((100 - strength) * x / 100 + strength * y / 100);
  };
  return MakeColor(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)),
                   channel(GetBValue(a), GetBValue(b)));
}

tmixtable::tmixtable(int strength) {
  for (int v = 0; v < 256; ++v) {
    keep_[v] = (100 - strength) * v / 100;
    take_[v] = strength * v / 100;
  }
}

tpixeladjuster::tpixeladjuster(const tretouchsettings& s, int meanLuminance) {
  const int mean = std::clamp(meanLuminance, 0, 255);
  for (int v = 0; v < 256; ++v) {
    int c = v;
    if (s.Contrast != 0) c = Clamp255((100 - s.Contrast) * c / 100 + s.Contrast * mean / 100);
    if (s.Brightness != 0) c = Clamp255((100 - s.Brightness) * c / 100);
    tone_[v] = static_cast<std::uint8_t>(c);
  }
  colour_ = s.Red != 0 || s.Green != 0 || s.Blue != 0;
  const int strengths[3] = {s.Blue, s.Green, s.Red};
  for (int ch = 0; ch < 3; ++ch) {
    for (int v = 0; v < 256; ++v) {
      keep_[ch][v] = (100 - strengths[ch]) * v / 100;
      take_[ch][v] = strengths[ch] * v / 100;
    }
  }
}

void tpixeladjuster::Adjust(const std::uint8_t* in, std::uint8_t* out) const {
  const std::uint8_t b = tone_[in[0]], g = tone_[in[1]], r = tone_[in[2]];
  if (!colour_) {
    out[0] = b;
    out[1] = g;
    out[2] = r;
    return;
  }
  const int y = (299 * r + 587 * g + 114 * b) / 1000;
  out[0] = Clamp255(keep_[0][b] + take_[0][y]);
  out[1] = Clamp255(keep_[1][g] + take_[1][y]);
  out[2] = Clamp255(keep_[2][r] + take_[2][y]);
}

tcolor tpixeladjuster::Adjust(tcolor p) const {
  std::uint8_t px[3] = {GetBValue(p), GetGValue(p), GetRValue(p)};
  Adjust(px, px);
  return MakeColor(px[2], px[1], px[0]);
}

void AdjustPixels(const tbitmap& src, tbitmap& dst, const tpixeladjuster& adjuster,
                  const tpictureprogress& progress) {
  RequireFastBitmap(src);
  RequireFastBitmap(dst);
  const int w = std::min(src.Width(), dst.Width()), h = std::min(src.Height(), dst.Height());
  for (int x0 = 0; x0 < w; x0 += kBand) {
    const int x1 = std::min(x0 + kBand, w);
    for (int y = 0; y < h; ++y) {
      const std::uint8_t* in = src.ScanLine(y) + static_cast<std::size_t>(x0) * 3;
      std::uint8_t* out = dst.ScanLine(y) + static_cast<std::size_t>(x0) * 3;
      for (int x = x0; x < x1; ++x, in += 3, out += 3) adjuster.Adjust(in, out);
    }
    if (progress) progress(x0 * 100 / w, "Adjusting");
  }
}

long long SumIntLuma(const tbitmap& bitmap) {
  RequireFastBitmap(bitmap);
  long long sum = 0;
  for (int y = 0; y < bitmap.Height(); ++y) {
    const std::uint8_t* p = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x, p += 3) sum += PixelIntLuma(p);
  }
  return sum;
}

namespace {

// The luminance plane of a bitmap, one IntLuma byte per pixel.
std::vector<std::uint8_t> LumaPlane(const tbitmap& bitmap) {
  const int w = bitmap.Width(), h = bitmap.Height();
  std::vector<std::uint8_t> plane(static_cast<std::size_t>(w) * h);
  std::uint8_t* out = plane.data();
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* p = bitmap.ScanLine(y);
    for (int x = 0; x < w; ++x, p += 3) *out++ = static_cast<std::uint8_t>(PixelIntLuma(p));
  }
  return plane;
}

// The blurred value of the pixel p (one inside the border), whose
// luminance neighbourhood starts at l (the plane at the same pixel) with
// rows `stride` apart.
inline void BlurredPixel(const std::uint8_t* p, const std::uint8_t* l, std::size_t stride,
                         const tchromatables& t, std::uint8_t* out) {
  const std::uint8_t* up = l - stride;
  const std::uint8_t* down = l + stride;
  const int y =
      (4 * l[0] + 2 * (l[-1] + l[1] + up[0] + down[0]) + up[-1] + up[1] + down[-1] + down[1]) >> 4;
  const int b = p[0], g = p[1], r = p[2];
  const int cb = (5000 * b - 1687 * r - 3313 * g) / 10000 + 128;
  const int cr = (5000 * r - 4187 * g - 813 * b) / 10000 + 128;
  out[0] = Clamp255(y + t.blue[cb]);
  out[1] = Clamp255(y - t.greencb[cb] - t.greencr[cr]);
  out[2] = Clamp255(y + t.red[cr]);
}

// Calls f(pixel, blurred) for every pixel of the bitmap in bands of ten
// columns, the blurred value computed from the luminance plane of the
// bitmap as it was before the first call; f may rewrite the pixel.
template <typename F>
void ForEachBlurred(tbitmap& bitmap, const std::vector<std::uint8_t>& plane, F&& f,
                    const std::function<void(int)>& band) {
  const int w = bitmap.Width(), h = bitmap.Height();
  const bool blur = w >= 3 && h >= 3;
  const std::size_t stride = static_cast<std::size_t>(w);
  const tchromatables& t = ChromaTables();
  for (int x0 = 0; x0 < w; x0 += kBand) {
    if (band) band(x0);
    const int x1 = std::min(x0 + kBand, w);
    for (int y = 0; y < h; ++y) {
      std::uint8_t* row = bitmap.ScanLine(y);
      const bool innerrow = blur && y > 0 && y < h - 1;
      const int ix0 = innerrow ? std::max(x0, 1) : x1;
      const int ix1 = innerrow ? std::min(x1, w - 1) : x1;
      // Border pixels keep their own value as the blurred one.
      auto keep = [&](int from, int to) {
        for (int x = from; x < to; ++x) {
          std::uint8_t* p = row + static_cast<std::size_t>(x) * 3;
          const std::uint8_t same[3] = {p[0], p[1], p[2]};
          f(p, same);
        }
      };
      keep(x0, ix0);
      if (ix0 < ix1) {
        const std::uint8_t* l = plane.data() + y * stride + ix0;
        std::uint8_t* p = row + static_cast<std::size_t>(ix0) * 3;
        for (int x = ix0; x < ix1; ++x, ++l, p += 3) {
          std::uint8_t blurred[3];
          BlurredPixel(p, l, stride, t, blurred);
          f(p, blurred);
        }
      }
      keep(ix1, x1);
    }
  }
}

}  // namespace

void LuminanceBlur(const tbitmap& src, tbitmap& dst) {
  RequireFastBitmap(src);
  dst = src;
  if (src.Width() < 3 || src.Height() < 3) return;
  const std::vector<std::uint8_t> plane = LumaPlane(src);
  ForEachBlurred(dst, plane,
                 [](std::uint8_t* p, const std::uint8_t* blurred) {
                   p[0] = blurred[0];
                   p[1] = blurred[1];
                   p[2] = blurred[2];
                 },
                 {});
}

void SharpnessStep(tbitmap& bitmap, int sharpness, const tpictureprogress& progress) {
  if (sharpness == 0) return;
  RequireFastBitmap(bitmap);
  const int w = bitmap.Width(), h = bitmap.Height();
  if (w <= 0 || h <= 0) return;
  const std::vector<std::uint8_t> plane =
      w >= 3 && h >= 3 ? LumaPlane(bitmap) : std::vector<std::uint8_t>{};
  const tmixtable mix(-4 * sharpness);
  const char* text = sharpness < 1 ? "Blurring" : "Sharpening";
  std::function<void(int)> band;
  if (progress) band = [&](int x0) { progress(x0 * 100 / w, text); };
  ForEachBlurred(
      bitmap, plane,
      [&mix](std::uint8_t* p, const std::uint8_t* blurred) {
        p[0] = mix(p[0], blurred[0]);
        p[1] = mix(p[1], blurred[1]);
        p[2] = mix(p[2], blurred[2]);
      },
      band);
}

}  // namespace vantlo
