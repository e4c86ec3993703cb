// MD5 (RFC 1321), for the names of the desktop's thumbnail cache files,
// which are the MD5 of the picture's URI. Not for security.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vantlo {

std::array<std::uint8_t, 16> Md5(std::span<const std::uint8_t> data);
// The digest as 32 lower-case hexadecimal digits.
std::string Md5Hex(std::string_view text);

}  // namespace vantlo
