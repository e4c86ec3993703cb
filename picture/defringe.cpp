#include "picture/defringe.h"

#include <algorithm>
#include <utility>

#include "picture/bitmapcheck.h"
#include "picture/colour.h"

namespace vantlo {

namespace {

// Luma of the pixel at p (bytes blue, green, red), the same expression as
// `Luma` so that the comparisons give exactly its results.
inline double PixelLuma(const std::uint8_t* p) {
  return 0.299 * p[2] + 0.587 * p[1] + 0.114 * p[0];
}

inline tcolor PixelColour(const std::uint8_t* p) { return MakeColor(p[2], p[1], p[0]); }

inline void PutColour(std::uint8_t* p, tcolor c) {
  p[0] = GetBValue(c);
  p[1] = GetGValue(c);
  p[2] = GetRValue(c);
}

// The run search along one column or row: a run starts at a fringe pixel,
// goes on over fringe pixels and may bridge one ordinary pixel (the gap
// pixel is then repaired with the rest); two ordinary pixels end it.
class tfringescan {
 public:
  explicit tfringescan(std::vector<FringeRun>& kept) : kept_(kept) {}

  void Start() { inrun_ = gappending_ = false; }

  void Fringe(int x, int y) {
    if (inrun_) {
      ++run_.count;
    } else if (gappending_) {
      gappending_ = false;
      inrun_ = true;
      run_.count += 2;
    } else {
      run_ = FringeRun{x, y, 1};
      inrun_ = true;
    }
  }

  void Ordinary() {
    if (inrun_) {
      inrun_ = false;
      gappending_ = true;
    } else if (gappending_) {
      Keep();
      inrun_ = gappending_ = false;
    }
  }

  void End() {
    if (inrun_ || gappending_) Keep();
  }

 private:
  void Keep() {
    if (run_.count > 3) kept_.push_back(run_);
  }

  std::vector<FringeRun>& kept_;
  FringeRun run_;
  bool inrun_ = false;
  bool gappending_ = false;
};

// Classifies the middle pixel c between its neighbours a and b.
inline void Examine(tfringescan& scan, double a, double c, double b, int x, int y) {
  if (a < b) std::swap(a, b);
  if (c > a || c < b) {
    const double ratio = c / ((a + b) / 2 + 1);
    if (ratio > 1.1 || ratio < 0.9) scan.Fringe(x, y);
  } else {
    scan.Ordinary();
  }
}

inline void Report(const tpictureprogress& status, int position, const char* text) {
  if (status) status(position, text);
}

// The new luminances of a pixel and its two neighbours across the stripe.
struct tsoftened {
  tcolor left, centre, right;
};
inline tsoftened Soften(tcolor left, tcolor centre, tcolor right) {
  double yl, cbl, crl, yc, cbc, crc, yr, cbr, crr;
  RgbToYcc(centre, yc, cbc, crc);
  RgbToYcc(left, yl, cbl, crl);
  RgbToYcc(right, yr, cbr, crr);
  const double yc2 = (2 * yl + yc + 2 * yr) / 5;
  const double yl2 = (2 * yl + yc2) / 3;
  const double yr2 = (2 * yr + yc2) / 3;
  return {YccToRgb(yl2, cbl, crl), YccToRgb(yc2, cbc, crc), YccToRgb(yr2, cbr, crr)};
}

void ReportRepairs(const tpictureprogress& status, std::size_t done, std::size_t total) {
  const std::size_t step = std::max<std::size_t>(total / 4, 1);
  if (done % step == 0) Report(status, -10, "Processing Fringes");
}

}  // namespace

std::vector<FringeRun> FindVerticalFringes(const tbitmap& bitmap, const tpictureprogress& status) {
  RequireFastBitmap(bitmap);
  const int w = bitmap.Width(), h = bitmap.Height();
  std::vector<FringeRun> kept;
  tfringescan scan(kept);
  Report(status, 10, "Finding Fringes");
  const int step = std::max(w / 8, 1);
  for (int a = 1; a <= w / 2 - 1; ++a) {
    if (a % step == 0) Report(status, -10, "Finding Fringes");
    const int x = 2 * a;
    scan.Start();
    for (int y = 1; y < h; ++y) {
      const std::uint8_t* p = bitmap.ScanLine(y) + static_cast<std::size_t>(x) * 3;
      Examine(scan, PixelLuma(p - 3), PixelLuma(p), PixelLuma(p + 3), x, y);
    }
    scan.End();
  }
  return kept;
}

std::vector<FringeRun> FindHorizontalFringes(const tbitmap& bitmap,
                                             const tpictureprogress& status) {
  RequireFastBitmap(bitmap);
  const int w = bitmap.Width(), h = bitmap.Height();
  std::vector<FringeRun> kept;
  tfringescan scan(kept);
  Report(status, 10, "Finding Fringes");
  const int step = std::max(h / 8, 1);
  for (int a = 1; a <= h / 2 - 1; ++a) {
    if (a % step == 0) Report(status, -10, "Finding Fringes");
    const int y = 2 * a;
    const std::uint8_t* above = bitmap.ScanLine(y - 1);
    const std::uint8_t* row = bitmap.ScanLine(y);
    const std::uint8_t* below = bitmap.ScanLine(y + 1);
    scan.Start();
    for (int x = 1; x < w; ++x) {
      const std::size_t o = static_cast<std::size_t>(x) * 3;
      Examine(scan, PixelLuma(above + o), PixelLuma(row + o), PixelLuma(below + o), x, y);
    }
    scan.End();
  }
  return kept;
}

void RepairVerticalFringes(tbitmap& bitmap, const std::vector<FringeRun>& runs,
                           const tpictureprogress& status) {
  RequireFastBitmap(bitmap);
  Report(status, 50, "Processing Fringes");
  const int w = bitmap.Width(), h = bitmap.Height();
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const FringeRun& r = runs[i];
    // Runs come from the search on this bitmap; a foreign list is kept
    // inside the picture all the same.
    if (r.x < 1 || r.x > w - 2) continue;
    const int last = std::min(r.y + r.count - 1, h - 1);
    for (int y = std::max(r.y, 0); y <= last; ++y) {
      std::uint8_t* p = bitmap.ScanLine(y) + static_cast<std::size_t>(r.x) * 3;
      const tsoftened s = Soften(PixelColour(p - 3), PixelColour(p), PixelColour(p + 3));
      PutColour(p, s.centre);
      PutColour(p - 3, s.left);
      PutColour(p + 3, s.right);
    }
    ReportRepairs(status, i + 1, runs.size());
  }
}

void RepairHorizontalFringes(tbitmap& bitmap, const std::vector<FringeRun>& runs,
                             const tpictureprogress& status) {
  RequireFastBitmap(bitmap);
  Report(status, 50, "Processing Fringes");
  const int w = bitmap.Width(), h = bitmap.Height();
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const FringeRun& r = runs[i];
    if (r.y < 1 || r.y > h - 2) continue;
    std::uint8_t* above = bitmap.ScanLine(r.y - 1);
    std::uint8_t* row = bitmap.ScanLine(r.y);
    std::uint8_t* below = bitmap.ScanLine(r.y + 1);
    const int last = std::min(r.x + r.count - 1, w - 1);
    for (int x = std::max(r.x, 0); x <= last; ++x) {
      const std::size_t o = static_cast<std::size_t>(x) * 3;
      const tsoftened s =
          Soften(PixelColour(above + o), PixelColour(row + o), PixelColour(below + o));
      PutColour(row + o, s.centre);
      PutColour(above + o, s.left);
      PutColour(below + o, s.right);
    }
    ReportRepairs(status, i + 1, runs.size());
  }
}

void DeFringe(tbitmap& picture, tbitmap& result, bool vertical, bool horizontal,
              const tpictureprogress& status) {
  try {
    if (vertical) RepairVerticalFringes(picture, FindVerticalFringes(picture, status), status);
    if (horizontal)
      RepairHorizontalFringes(picture, FindHorizontalFringes(picture, status), status);
  } catch (...) {
    result = picture;
    throw;
  }
  result = picture;
}

}  // namespace vantlo
