// Error codes of the serial port. The port keeps the Windows error codes the
// connection texts are written for (2 not found, 5 already open, 21 not
// ready, ...); the POSIX errno values of open(), flock() and the line calls
// are mapped onto them here. Permission refused has no fitting Windows code
// (5 would read "Already Open"), so it gets an application-defined code of
// its own (bit 29 set, as Windows reserves for applications) and a text that
// names the fix.
#pragma once

#include <cstdint>
#include <string>

namespace vantlo {

inline constexpr int kErrorFileNotFound = 2;
inline constexpr int kErrorAccessDenied = 5;  // "Already Open"
inline constexpr int kErrorNotReady = 21;
inline constexpr int kErrorGenFailure = 31;
inline constexpr int kErrorPermission = 0x20000000 | 13;

// Windows-style code for an errno value (0 stays 0).
int PortErrorFromErrno(int err);

// The connection texts: 0 "No Error", 2 "Port not found (2)", 5 "Already
// Open", ...; other codes "Win32 code N". The permission code gets a general
// text; tcomport::LastErrorText() names the device and its group.
std::string PortErrorText(int code);

// Text for a permission failure on `device`: names the group owning it.
std::string PermissionErrorText(const std::string& device);

// The line-error report: error name for the exact mask value, ";", the names
// of the set line-status bits 0..6 run together, ";", the error number.
std::string LineErrorText(std::uint32_t errorMask, std::uint32_t statusBits, int errorCode);

}  // namespace vantlo
