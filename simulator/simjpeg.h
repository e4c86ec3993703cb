// Small libjpeg helpers for the simulated camera's files and previews.
#pragma once

#include <cstdint>
#include <vector>

namespace vantlo::camsim {

// Compresses a 24-bit RGB image (rows of R, G, B). Throws std::runtime_error on failure.
std::vector<uint8_t> EncodeJpeg(const std::vector<uint8_t>& rgb, int width, int height,
                                int quality);

// Decodes JPEG data to 24-bit RGB at 1/scaleDenom size (1, 2, 4 or 8). Throws on bad data.
std::vector<uint8_t> DecodeJpeg(const std::vector<uint8_t>& jpeg, int scaleDenom, int& width,
                                int& height);

}  // namespace vantlo::camsim
