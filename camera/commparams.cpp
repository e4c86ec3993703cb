#include "camera/commparams.h"

namespace vantlo {

const tcommparams& DefaultCommParams() {
  static const tcommparams defaults{};
  return defaults;
}

std::uint32_t BaudRateOfIndex(std::uint8_t index) {
  return index < kBaudRates.size() ? kBaudRates[index] : 0;
}

}  // namespace vantlo
