// Where the settings live and how their files are read and written.
//
// The folder is $VANTLO_CONFIG_DIR when set, else $XDG_CONFIG_HOME/Corvane/Vantlo
// (an absolute XDG_CONFIG_HOME only, as the XDG rules say), else
// ~/.config/Corvane/Vantlo. The settings hold account passwords, so folders
// the store creates are private (0700) and every file it writes is 0600.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "library/atomicfile.h"

namespace vantlo {

// A failure of the configuration store; what() is the text for the user. A record that cannot
// be written fails as the atomic writer does ("Cannot write PATH: reason").
using tregconfigerror = tfileerror;

namespace configfolder {

// The settings folder as the environment names it (not created).
std::string Resolve();

// Creates the folder and any missing parents with mode 0700. When
// `tighten` is set, an existing folder of ours that others can read is made
// 0700 as well. Returns false (errno set) when the folder cannot be made.
bool EnsurePrivate(const std::string& folder, bool tighten);

// Reads a whole settings file of at most `limit` bytes. nullopt when it is
// missing, not a regular file, unreadable, or larger than `limit`. Never
// blocks on a FIFO or device put in its place.
std::optional<std::vector<std::uint8_t>> ReadBounded(const std::string& path, std::size_t limit);

// Settings files are private to the user.
inline constexpr unsigned kSettingsFileMode = 0600;

}  // namespace configfolder

}  // namespace vantlo
