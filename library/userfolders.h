// The user's standard folders as the desktop names them, for the places where the program
// starts: where pictures are saved when no output folder is chosen, and where the Browse page
// opens when it has no folder of its own.
#pragma once

#include <string>

namespace vantlo {

// $HOME, else the home folder of the password database, else "/".
std::string UserHomeFolder();

// The user's Pictures folder: XDG_PICTURES_DIR as set in $XDG_CONFIG_HOME/user-dirs.dirs
// (~/.config/user-dirs.dirs when XDG_CONFIG_HOME is not an absolute path), else ~/Pictures.
// No trailing "/". The folder need not exist.
std::string UserPicturesFolder();

// Makes the Pictures folder when it is missing (one level, as the desktop's own tools do);
// false when it is not a folder afterwards.
bool EnsureUserPicturesFolder();

// Reads XDG_PICTURES_DIR from the text of a user-dirs.dirs file: a line
// XDG_PICTURES_DIR="$HOME/Pictures" or ="/absolute/path"; "$HOME" is replaced by `home`.
// Empty when the file has no such line or its value is neither absolute nor under $HOME.
std::string PicturesDirFromUserDirs(const std::string& text, const std::string& home);

}  // namespace vantlo
