// "Add Selected Pics" of the movie page without widgets (also vantlo-cli movie): disk
// pictures into the mini-movie maker, each with the orientation stored in its properties. A
// JPEG is taken as it is; a CAM file is decoded with the caller's picture settings and turned
// by its stored orientation, as opening it for display does.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "output/minimovie.h"

namespace vantlo {

class tpicturepipeline;

// Adds `files` in order, telling `progress` "Building MiniMovie : Picture " + i at
// round(i * 100 / m) for picture i of m. Throws with the user's text: "No Pictures are
// Selected" for none, "Unable to parse the JPEG data" / "Unable to parse the CAM data",
// "Cannot make a mini movie from " + name for other files, and the maker's refusals. The
// pictures added before a failure stay in the movie.
void AddMoviePictures(
    tminimovie& movie, const std::vector<std::string>& files, tpicturepipeline& pipeline,
    const std::function<void(int position, const std::string& text)>& progress = {});

inline constexpr const char* kCannotMakeMovieFrom = "Cannot make a mini movie from ";

}  // namespace vantlo
