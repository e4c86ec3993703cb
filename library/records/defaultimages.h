// The compiled-in default images of the seven settings records and of the two
// kinds of nested block, byte for byte. A record that is missing from the
// store, or cannot be used, starts from these.
#pragma once

#include <array>
#include <cstdint>

namespace vantlo::defaultimages {

inline constexpr std::size_t kConfigSize = 2816;
inline constexpr std::size_t kFtpConfigSize = 424;
inline constexpr std::size_t kAutoCaptureSize = 1836;
inline constexpr std::size_t kCapDataSize = 936;
inline constexpr std::size_t kExtraSize = 788;
inline constexpr std::size_t kDiskManSize = 328;
inline constexpr std::size_t kContactSize = 344;
inline constexpr std::size_t kWebcamBlockSize = 1832;
inline constexpr std::size_t kCaptionSize = 312;

const std::array<std::uint8_t, kConfigSize>& Config();
const std::array<std::uint8_t, kFtpConfigSize>& FtpConfig();
const std::array<std::uint8_t, kAutoCaptureSize>& AutoCapture();
const std::array<std::uint8_t, kCapDataSize>& CapData();
const std::array<std::uint8_t, kExtraSize>& Extra();  // all zero
const std::array<std::uint8_t, kDiskManSize>& DiskMan();
const std::array<std::uint8_t, kContactSize>& Contact();
// The timed-capture block as it lies at "CONFIGD5" offset 312.
const std::array<std::uint8_t, kWebcamBlockSize>& WebcamBlock();
// One caption block, as it lies twice at the start of "CAPDATA".
const std::array<std::uint8_t, kCaptionSize>& Caption();

}  // namespace vantlo::defaultimages
