#include "library/records/diskmanrecord.h"

#include <array>

namespace vantlo {

namespace {

constexpr double kDefaultMargin = 0.03;

}  // namespace

int tdiskmanrecord::LowerPage() const { return I32<260>() == 1 ? 1 : kBrowsePage; }

int tdiskmanrecord::SlideShowDelayIndex() const {
  return recordbytes::IndexOr(I32<268>(), kDelayChoices, 2);
}

int tdiskmanrecord::SlideShowDelayMs() const {
  return kDelaysMs[static_cast<std::size_t>(SlideShowDelayIndex())];
}

double tdiskmanrecord::PrintMargin() const {
  return recordbytes::ClampReal(F64<272>(), 0.0, kMaxMargin, kDefaultMargin);
}
void tdiskmanrecord::SetPrintMargin(double v) {
  SetF64<272>(recordbytes::ClampReal(v, 0.0, kMaxMargin, kDefaultMargin));
}

int tdiskmanrecord::PrintFontSize() const {
  return recordbytes::ClampTo<int>(U16<320>(), kMinFontSize, kMaxFontSize);
}
void tdiskmanrecord::SetPrintFontSize(int points) {
  SetU16<320>(static_cast<std::uint16_t>(recordbytes::ClampTo(points, kMinFontSize, kMaxFontSize)));
}

std::optional<int> tdiskmanrecord::ZoomMode() const {
  const int stored = U8<323>();
  if (stored > 9) return 4;
  if (stored == 2) return std::nullopt;
  return stored - 2;
}

void tdiskmanrecord::SetZoomMode(int mode) {
  SetU8<323>(static_cast<std::uint8_t>(recordbytes::ClampTo(mode, -2, 7) + 2));
}

}  // namespace vantlo
