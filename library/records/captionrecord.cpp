#include "library/records/captionrecord.h"

namespace vantlo {

tcaptionmode tcaptionrecord::Mode() const {
  const std::uint8_t v = U8<0>();
  return v <= 3 ? static_cast<tcaptionmode>(v) : tcaptionmode::None;
}

int tcaptionrecord::FontSize() const {
  return recordbytes::ClampTo<int>(I16<296>(), kMinFontSize, kMaxFontSize);
}

void tcaptionrecord::SetFontSize(int points) {
  SetI16<296>(static_cast<std::int16_t>(recordbytes::ClampTo(points, kMinFontSize, kMaxFontSize)));
}

tcaptionalign tcaptionrecord::Alignment() const {
  const std::uint8_t v = U8<309>();
  return v <= 2 ? static_cast<tcaptionalign>(v) : tcaptionalign::Centre;
}

}  // namespace vantlo
