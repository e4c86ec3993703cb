#include "picture/rawencoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "picture/camformats.h"
#include "picture/colour.h"
#include "picture/jpegimage.h"
#include "picture/stretchnearest.h"

namespace vantlo {

namespace {

// The pieces of a baseline JPEG that camera raw data keep: the two
// quantisation tables (in DQT order) and the entropy-coded scans.
struct tjpegpieces {
  std::uint8_t qtables[2][64]{};
  bool haveq[2]{false, false};
  std::vector<std::vector<std::uint8_t>> scans;
};

tjpegpieces SplitJpeg(const std::vector<std::uint8_t>& jpeg) {
  tjpegpieces pieces;
  std::size_t pos = 2;  // after SOI
  const std::size_t n = jpeg.size();
  while (pos + 4 <= n) {
    if (jpeg[pos] != 0xFF) throw std::runtime_error("JPEG split: marker expected");
    const std::uint8_t marker = jpeg[pos + 1];
    if (marker == 0xD9) break;
    const std::size_t length = (static_cast<std::size_t>(jpeg[pos + 2]) << 8) | jpeg[pos + 3];
    const std::size_t body = pos + 4;
    const std::size_t end = pos + 2 + length;
    if (length < 2 || end > n) throw std::runtime_error("JPEG split: segment past the end");
    if (marker == 0xDB) {
      for (std::size_t p = body; p + 65 <= end; p += 65) {
        const std::uint8_t pq = jpeg[p] >> 4, tq = jpeg[p] & 0x0F;
        if (pq != 0 || tq > 1)
          throw std::runtime_error("JPEG split: unexpected quantisation table");
        std::memcpy(pieces.qtables[tq], &jpeg[p + 1], 64);
        pieces.haveq[tq] = true;
      }
      pos = end;
    } else if (marker == 0xDA) {
      // Entropy-coded data run to the next marker that is neither a stuffed
      // FF 00 nor a restart marker.
      std::size_t p = end;
      while (p + 1 < n && !(jpeg[p] == 0xFF && jpeg[p + 1] != 0x00 &&
                            (jpeg[p + 1] < 0xD0 || jpeg[p + 1] > 0xD7)))
        ++p;
      pieces.scans.emplace_back(jpeg.begin() + static_cast<std::ptrdiff_t>(end),
                                jpeg.begin() + static_cast<std::ptrdiff_t>(p));
      pos = p;
    } else {
      pos = end;
    }
  }
  if (!pieces.haveq[0] || !pieces.haveq[1]) throw std::runtime_error("JPEG split: tables missing");
  return pieces;
}

void PutBE16(std::vector<std::uint8_t>& out, std::size_t at, std::size_t v) {
  out[at] = static_cast<std::uint8_t>(v >> 8);
  out[at + 1] = static_cast<std::uint8_t>(v & 0xFF);
}

}  // namespace

std::vector<std::uint8_t> EncodeRawPicture(const tbitmap& picture, int flavour, int quality) {
  if (flavour != 0 && flavour != 1) throw std::invalid_argument("Raw flavour must be 0 or 1");
  if (picture.Empty()) throw std::invalid_argument("No picture to encode");
  if (quality < 1 || quality > 100) throw std::invalid_argument("Quality must be 1..100");
  const int width = flavour == 0 ? 480 : 640;
  const int height = flavour == 0 ? 240 : 480;
  tbitmap sized(width, height);
  detail::StretchNearest(picture, sized);
  detail::tjpeglayout layout;
  layout.lumah = flavour == 0 ? 3 : 2;
  layout.lumav = 2;
  layout.separatescans = flavour == 0;

  // The header holds each scan's length in 16 bits; a busy picture at a
  // high quality is coded again at a lower one until its scans fit.
  for (int q = quality;; q = std::max(1, q - 10)) {
    const tjpegpieces pieces = SplitJpeg(detail::CompressJpegLayout(sized, q, layout));
    const std::size_t expected = flavour == 0 ? 3 : 1;
    if (pieces.scans.size() != expected) throw std::runtime_error("Raw encoder: wrong scan count");
    bool fits = true;
    for (const auto& s : pieces.scans) fits = fits && s.size() <= 0xFFFF;
    if (!fits) {
      if (q == 1) throw std::runtime_error("Raw encoder: picture too detailed for raw data");
      continue;
    }
    std::vector<std::uint8_t> raw(kRawHeaderSize, 0);
    raw[0] = static_cast<std::uint8_t>(flavour);
    if (flavour == 0) {
      PutBE16(raw, 2, pieces.scans[0].size());
      PutBE16(raw, 4, pieces.scans[1].size());
      PutBE16(raw, 6, pieces.scans[2].size());
    } else {
      PutBE16(raw, 6, pieces.scans[0].size());
    }
    std::memcpy(&raw[8], pieces.qtables[0], 64);
    std::memcpy(&raw[72], pieces.qtables[1], 64);
    for (const auto& s : pieces.scans) raw.insert(raw.end(), s.begin(), s.end());
    return raw;
  }
}

std::vector<std::uint8_t> EncodeRawThumbnail(const tbitmap& picture) {
  if (picture.Empty()) throw std::invalid_argument("No picture to encode");
  tbitmap small(kThumbnailWidth, kThumbnailHeight);
  detail::StretchNearest(picture, small);
  std::vector<std::uint8_t> raw(kRawThumbnailSize, 0);
  auto colour = [&](int x, int y) {
    const std::uint8_t* p = small.ScanLine(y) + x * 3;
    return MakeColor(p[2], p[1], p[0]);
  };
  auto clamp = [](double v, int lo, int hi) {
    return std::clamp(static_cast<int>(std::nearbyint(v)), lo, hi);
  };
  for (int y = 0; y < kThumbnailHeight; ++y)
    for (int x = 0; x < kThumbnailWidth; ++x)
      raw[static_cast<std::size_t>(y * kThumbnailWidth + x)] =
          static_cast<std::uint8_t>(clamp(Luma(colour(x, y)), 0, 255));
  for (int by = 0; by < kThumbnailHeight / 2; ++by) {
    for (int bx = 0; bx < kThumbnailWidth / 2; ++bx) {
      double sumcb = 0, sumcr = 0;
      for (int dy = 0; dy < 2; ++dy) {
        for (int dx = 0; dx < 2; ++dx) {
          double y = 0, cb = 0, cr = 0;
          RgbToYcc(colour(bx * 2 + dx, by * 2 + dy), y, cb, cr);
          sumcb += cb;
          sumcr += cr;
        }
      }
      const std::size_t at = static_cast<std::size_t>(by * 26 + bx);
      raw[1872 + at] =
          static_cast<std::uint8_t>(static_cast<std::int8_t>(clamp(sumcb / 4, -128, 127)));
      raw[2340 + at] =
          static_cast<std::uint8_t>(static_cast<std::int8_t>(clamp(sumcr / 4, -128, 127)));
    }
  }
  return raw;
}

tbitmap MakeTestPicture(int width, int height, int seed) {
  if (width <= 0 || height <= 0) throw std::invalid_argument("Test picture needs a size");
  tbitmap bm(width, height);
  std::uint32_t state = static_cast<std::uint32_t>(seed) * 2654435761u + 12345u;
  auto next = [&state]() {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  };
  const int hue = static_cast<int>(next() % 256);
  // Background: red across, green down, blue from the seed and the diagonal.
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = bm.ScanLine(y);
    for (int x = 0; x < width; ++x) {
      const int r = width > 1 ? x * 255 / (width - 1) : 128;
      const int g = height > 1 ? y * 255 / (height - 1) : 128;
      const int b = (hue + (x + y) * 255 / (width + height)) % 256;
      row[x * 3] = static_cast<std::uint8_t>(b);
      row[x * 3 + 1] = static_cast<std::uint8_t>(g);
      row[x * 3 + 2] = static_cast<std::uint8_t>(r);
    }
  }
  // A few solid discs and rectangles of random colours.
  for (int shape = 0; shape < 6; ++shape) {
    const int cx = static_cast<int>(next() % static_cast<std::uint32_t>(width));
    const int cy = static_cast<int>(next() % static_cast<std::uint32_t>(height));
    const int rad = 1 + static_cast<int>(next() % static_cast<std::uint32_t>(
                                                      std::max(1, std::min(width, height) / 4)));
    const std::uint8_t cr = static_cast<std::uint8_t>(next()),
                       cg = static_cast<std::uint8_t>(next()),
                       cb = static_cast<std::uint8_t>(next());
    const bool disc = shape % 2 == 0;
    for (int y = std::max(0, cy - rad); y < std::min(height, cy + rad + 1); ++y) {
      std::uint8_t* row = bm.ScanLine(y);
      for (int x = std::max(0, cx - rad); x < std::min(width, cx + rad + 1); ++x) {
        if (disc && (x - cx) * (x - cx) + (y - cy) * (y - cy) > rad * rad) continue;
        row[x * 3] = cb;
        row[x * 3 + 1] = cg;
        row[x * 3 + 2] = cr;
      }
    }
  }
  return bm;
}

}  // namespace vantlo
