#include "zoommode.h"

namespace vantlo {

int ZoomModeFromStored(std::uint8_t stored) {
  const int mode = static_cast<int>(stored) - 2;
  if (mode < -2 || mode > 7 || mode == 0) return kZoomActualSize;
  return mode;
}

std::uint8_t StoredFromZoomMode(int mode) {
  if (mode < -2 || mode > 7) mode = kZoomActualSize;
  return static_cast<std::uint8_t>(mode + 2);
}

std::string ZoomText(int mode) {
  switch (mode) {
    case -2:
      return " (Stretch to screen)";
    case -1:
      return " (Fit to screen)";
    case 1:
      return " (Reduced : 25%)";
    case 2:
      return " (Reduced : 50%) ";
    case 3:
      return " (Reduced : 75%)";
    case 4:
      return " (Actual Size)";
    case 5:
      return " (Enlarged : 150%) ";
    case 6:
      return " (Enlarged : 200%) ";
    case 7:
      return " (Enlarged : 300%) ";
    default:
      return "";
  }
}

}  // namespace vantlo
