#include "library/records/webcamsettings.h"

namespace vantlo {

int twebcamsettings::Interval() const {
  const std::int32_t v = I32<4>();
  return v < kBySchedule ? kManual : v;
}

int twebcamsettings::PictureCounter() const {
  const std::int32_t v = I32<288>();
  return v >= 0 && v < kCounterWrap ? v : 0;
}

}  // namespace vantlo
