#include "picture/advstretch.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "picture/bitmapcheck.h"
#include "picture/jpegimage.h"

namespace vantlo {

void PlainStretch(const tbitmap& src, tbitmap& dst) {
  RequireFastBitmap(src);
  RequireFastBitmap(dst);
  const int sw = src.Width(), sh = src.Height();
  const int tw = dst.Width(), th = dst.Height();
  if (dst.Empty()) return;
  if (src.Empty()) {
    std::fill(dst.Bytes().begin(), dst.Bytes().end(), 0);
    return;
  }
  std::vector<int> sx(tw);
  for (int x = 0; x < tw; ++x) sx[x] = static_cast<int>(static_cast<long long>(x) * sw / tw) * 3;
  for (int y = 0; y < th; ++y) {
    const int syy = static_cast<int>(static_cast<long long>(y) * sh / th);
    const std::uint8_t* s = src.ScanLine(syy);
    std::uint8_t* d = dst.ScanLine(y);
    for (int x = 0; x < tw; ++x) {
      const std::uint8_t* p = s + sx[x];
      d[0] = p[0];
      d[1] = p[1];
      d[2] = p[2];
      d += 3;
    }
  }
}

void AdvStretch(const tbitmap& src, tbitmap& dst, bool smooth) {
  RequireFastBitmap(src);
  RequireFastBitmap(dst);
  if (src.Width() == dst.Width() && src.Height() == dst.Height()) {
    if (&src != &dst) dst.Bytes() = src.Bytes();
    return;
  }
  if (!smooth) {
    PlainStretch(src, dst);
  } else if (src.Height() < dst.Height()) {
    SmoothEnlarge(src, dst);
  } else {
    BoxShrink(src, dst);
  }
}

void BoxShrink(const tbitmap& src, tbitmap& dst) {
  RequireFastBitmap(src);
  RequireFastBitmap(dst);
  const int sw = src.Width(), sh = src.Height();
  const int tw = dst.Width(), th = dst.Height();
  if (dst.Empty()) return;
  const int k = sw / tw;
  // Only exact integer factors are averaged; the same k serves both
  // directions, so the source must also hold k rows for every target row.
  if (k < 1 || static_cast<long long>(k) * tw != sw || static_cast<long long>(k) * th > sh) {
    PlainStretch(src, dst);
    return;
  }
  const long long n = static_cast<long long>(k) * k;
  std::vector<std::uint32_t> sums(static_cast<std::size_t>(tw) * 3);
  for (int b = 0; b < th; ++b) {
    std::fill(sums.begin(), sums.end(), 0u);
    for (int r = 0; r < k; ++r) {
      const std::uint8_t* s = src.ScanLine(b * k + r);
      std::uint32_t* acc = sums.data();
      for (int a = 0; a < tw; ++a) {
        std::uint32_t c0 = 0, c1 = 0, c2 = 0;
        for (int i = 0; i < k; ++i) {
          c0 += s[0];
          c1 += s[1];
          c2 += s[2];
          s += 3;
        }
        acc[0] += c0;
        acc[1] += c1;
        acc[2] += c2;
        acc += 3;
      }
    }
    std::uint8_t* d = dst.ScanLine(b);
    for (std::size_t i = 0; i < sums.size(); ++i)
      d[i] = static_cast<std::uint8_t>(RoundDiv(sums[i], n));
  }
}

void SmoothEnlarge(const tbitmap& src, tbitmap& dst) {
  RequireFastBitmap(src);
  RequireFastBitmap(dst);
  const int sw = src.Width(), sh = src.Height();
  const int tw = dst.Width(), th = dst.Height();
  if (dst.Empty()) return;
  if (src.Empty()) {
    std::fill(dst.Bytes().begin(), dst.Bytes().end(), 0);
    return;
  }
  // Source column (row) under target column (row) i - 1 + t, for t = 0..2,
  // truncated and kept inside the source.
  auto under = [](int i, int s, int t) {
    long long v = static_cast<long long>(s) * i / t;
    if (v < 0) v = 0;
    if (v > s - 1) v = s - 1;
    return static_cast<int>(v);
  };
  std::vector<int> xs(static_cast<std::size_t>(tw) * 3);
  for (int i = 0; i < tw; ++i)
    for (int t = 0; t < 3; ++t) xs[i * 3 + t] = under(i + t - 1, sw, tw) * 3;
  static constexpr int kWeight[3][3] = {{1, 2, 1}, {2, 16, 2}, {1, 2, 1}};
  for (int j = 0; j < th; ++j) {
    const std::uint8_t* rows[3];
    for (int u = 0; u < 3; ++u) rows[u] = src.ScanLine(under(j + u - 1, sh, th));
    std::uint8_t* d = dst.ScanLine(j);
    for (int i = 0; i < tw; ++i) {
      const int* x = &xs[i * 3];
      int c0 = 0, c1 = 0, c2 = 0;
      for (int u = 0; u < 3; ++u) {
        for (int t = 0; t < 3; ++t) {
          const std::uint8_t* p = rows[u] + x[t];
          const int w = kWeight[u][t];
          c0 += w * p[0];
          c1 += w * p[1];
          c2 += w * p[2];
        }
      }
      d[0] = static_cast<std::uint8_t>(RoundDiv(c0, 28));
      d[1] = static_cast<std::uint8_t>(RoundDiv(c1, 28));
      d[2] = static_cast<std::uint8_t>(RoundDiv(c2, 28));
      d += 3;
    }
  }
}

tdimensions ResizeDimensions(int width, int height, int choice) {
  auto fixed = [&](int target) {
    if (width <= 0) return tdimensions{target, std::max(height, 1)};
    // Trunc(h * target / w) of the real quotient; integers truncate alike.
    return tdimensions{target, static_cast<int>(static_cast<long long>(height) * target / width)};
  };
  tdimensions d{width, height};
  switch (choice) {
    case rcTiny:
      d = fixed(160);
      break;
    case rcSmall:
      d = fixed(320);
      break;
    case rcMedium:
      d = fixed(480);
      break;
    case rcVGA:
      d = fixed(640);
      break;
    case rcLarge:
      d = fixed(1280);
      break;
    case rcHalf:
      d = {width / 2, height / 2};
      break;
    case rcQuarter:
      d = {width / 4, height / 4};
      break;
    case rcThreeQuarter:
      d = {static_cast<int>(static_cast<long long>(width) * 3 / 4),
           static_cast<int>(static_cast<long long>(height) * 3 / 4)};
      break;
    default:
      break;
  }
  d.Width = std::max(d.Width, 1);
  d.Height = std::max(d.Height, 1);
  return d;
}

tdimensions ResizeDimensions(TJPEGImage& picture, int choice) {
  return ResizeDimensions(picture.Width(), picture.Height(), choice);
}

}  // namespace vantlo
