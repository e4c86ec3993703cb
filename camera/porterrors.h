// Error codes of the serial port. The port keeps the Windows error codes the
// connection texts are written for (2 not found, 5 already open, 21 not
// ready, ...); the POSIX errno values of open(), flock() and the line calls
// are mapped onto them here. Errors without a fitting Windows code (permission
// refused: 5 would read "Already Open"; a device that is no serial port; ...)
// get an application-defined code (bit 29 set, as Windows reserves for
// applications, plus the errno value) whose text is the system's own; a
// refused permission's text names the fix.
#pragma once

#include <cstdint>
#include <string>

namespace vantlo {

inline constexpr int kErrorFileNotFound = 2;
inline constexpr int kErrorAccessDenied = 5;  // "Already Open"
inline constexpr int kErrorNotReady = 21;
inline constexpr int kErrorGenFailure = 31;
inline constexpr int kErrorSystemBit = 0x20000000;
inline constexpr int kErrorPermission = kErrorSystemBit | 13;

// Windows-style code for an errno value (0 stays 0).
int PortErrorFromErrno(int err);

// The connection texts: 0 "No Error", 2 "Port not found (2)", 5 "Already
// Open", ...; a system error code the system's text ("Inappropriate ioctl for
// device"); other codes "Win32 code N". The permission code gets a general
// text; tcomport::LastErrorText() names the device and its group.
std::string PortErrorText(int code);

// Text for a permission failure on `device`: names the group owning it.
std::string PermissionErrorText(const std::string& device);

// The line-error report: error name for the exact mask value, ";", the names
// of the set line-status bits 0..6 run together, ";", the error number.
std::string LineErrorText(std::uint32_t errorMask, std::uint32_t statusBits, int errorCode);

}  // namespace vantlo
