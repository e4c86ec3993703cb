// Line rates that have no Bxxx constant in <termios.h> (14400, 56000, 128000,
// 256000 baud) go through the kernel's termios2/BOTHER interface. That needs
// <asm/termbits.h>, whose struct termios clashes with the one of <termios.h>,
// so it lives alone in custombaud.cpp behind these two plain functions.
#pragma once

#include <cstdint>

namespace vantlo {

// Sets input and output rate of the open tty fd to `rate`; returns 0 or errno.
int SetCustomLineRate(int fd, std::uint32_t rate);
// The output rate the kernel holds for fd (any rate, standard or custom);
// 0 when it cannot be read.
std::uint32_t ReadLineRate(int fd);

}  // namespace vantlo
