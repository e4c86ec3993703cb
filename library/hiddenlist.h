// The ".hidden" file of a folder: one file name per line, which the common Linux file managers
// (GNOME Files, Nautilus, Nemo, Caja, Dolphin, Thunar, PCManFM) leave out of their listings.
// The program lists its companion properties files there as it writes them, so that they stay
// out of sight as the hidden attribute keeps them on Windows, and takes a name out again when its
// file is deleted or moved away.
//
// Only the line of the one name is ever added or removed; every other line (the user's, another
// program's) stays byte for byte. The file is replaced atomically, and a ".hidden" that is not a
// regular file (a link, a folder) or is implausibly large is left alone.
#pragma once

#include <string>

namespace vantlo {

// Lists the file at `path` in its folder's .hidden (nothing when it is listed already). False
// when the .hidden file could not be written; the caller's file is there either way.
bool AddToHiddenList(const std::string& path);
// Takes the name of `path` out of its folder's .hidden; a .hidden left empty is removed.
bool DropFromHiddenList(const std::string& path);

// The .hidden path of the folder holding `path`.
std::string HiddenListOf(const std::string& path);

}  // namespace vantlo
