#pragma once

#include <cstdint>
#include <string>

namespace vantlo {

// Zoom of the picture view: -2 stretch, -1 fit, 1..7 from 25 % to 300 %.
inline constexpr int kZoomActualSize = 4;

// Mode at start from the stored DISKMAN value (mode + 2); a result outside
// -2..7, or the unused mode 0, becomes " (Actual Size)".
int ZoomModeFromStored(std::uint8_t stored);
std::uint8_t StoredFromZoomMode(int mode);
std::string ZoomText(int mode);  // Label32 text; empty for no mode

}  // namespace vantlo
