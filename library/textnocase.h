// Case-insensitive text helpers for file names. Linux names are
// case-sensitive, but the program treats extensions and the names of
// pictures the way Windows did: ".JPG" and ".jpg" are the same thing.
#pragma once

#include <string>
#include <string_view>

namespace vantlo {

// ASCII upper and lower case; other bytes are left alone (names are ANSI
// on the camera's cards and UTF-8 on Linux, neither of which we may mangle).
std::string UpperAscii(std::string_view text);
std::string LowerAscii(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
// Case-insensitive ordering, the order of the program's sorted string lists.
bool LessNoCase(std::string_view a, std::string_view b);
// The last four characters of a name in upper case (the whole name when it
// is shorter): the extension test of every kind decision.
std::string UpperTail4(std::string_view name);
// The last component of a path ("/a/b/c.jpg" gives "c.jpg").
std::string BaseName(std::string_view path);
// The folder part of a path without its trailing "/" ("/a/b/c.jpg" gives
// "/a/b"; "/c.jpg" gives "").
std::string DirName(std::string_view path);

}  // namespace vantlo
