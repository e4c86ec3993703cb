#include "library/records/extrarecord.h"

namespace vantlo {

int textrarecord::ColourFactor() const {
  return recordbytes::ClampTo<int>(I32<268>(), 0, kMaxColourFactor);
}
void textrarecord::SetColourFactor(int v) {
  SetI32<268>(recordbytes::ClampTo(v, 0, kMaxColourFactor));
}

tcolourmode textrarecord::ColourMode() const {
  return static_cast<tcolourmode>(recordbytes::IndexOr(I32<272>(), 3, 0));
}

}  // namespace vantlo
