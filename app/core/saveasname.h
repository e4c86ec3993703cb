// Name rules of "Save As": the proposal shown in the save dialog and the ending a chosen name
// gets for the chosen filter.
#pragma once

#include <string>
#include <string_view>

namespace vantlo {

// The proposal without its folder and without a final ".CAM", ".JPG" or ".AVI" (any case):
// "/a/x.cam" gives "x".
std::string SaveAsProposal(std::string_view name);

// `name` with `ending` (".jpg", ".cam", ".avi") appended unless it already ends in it (compared
// without regard to case); a name shorter than 4 characters always gets it.
std::string EnsureEnding(std::string_view name, std::string_view ending);

}  // namespace vantlo
