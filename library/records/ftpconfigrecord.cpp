#include "library/records/ftpconfigrecord.h"

namespace vantlo {

tfirewallmode tftpconfigrecord::FirewallMode() const {
  return static_cast<tfirewallmode>(recordbytes::IndexOr(I32<264>(), 5, 0));
}

int tftpconfigrecord::FirewallPort() const {
  const std::int32_t v = I32<304>();
  return v >= 0 && v <= 65535 ? v : 0;
}

torientation tftpconfigrecord::Orientation() const {
  return static_cast<torientation>(recordbytes::IndexOr(I32<344>(), 4, 0));
}

twindowstate tftpconfigrecord::WindowState() const {
  return static_cast<twindowstate>(recordbytes::IndexOr(I16<352>(), 3, 2));
}

}  // namespace vantlo
