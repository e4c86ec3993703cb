#include "app/core/moviepictures.h"

#include <cmath>

#include "app/core/outputbatch.h"
#include "app/core/picturedocument.h"
#include "output/outputerror.h"

namespace vantlo {

void AddMoviePictures(tminimovie& movie, const std::vector<std::string>& files,
                      tpicturepipeline& pipeline,
                      const std::function<void(int, const std::string&)>& progress) {
  if (files.empty()) throw toutputerror(kNoPicturesSelected);
  const int m = static_cast<int>(files.size());
  for (int i = 1; i <= m; ++i) {
    const std::string& path = files[i - 1];
    if (progress)
      progress(static_cast<int>(std::nearbyint(i * 100.0 / m)),
               "Building MiniMovie : Picture " + std::to_string(i));
    const tpicturefiletype type = PictureFileType(path);
    if (type != tpicturefiletype::Jpg && type != tpicturefiletype::Cam)
      throw toutputerror(kCannotMakeMovieFrom + path);
    // Opened as for display without caption or correction: a JPEG as it is, a CAM file
    // decoded and turned by its stored orientation.
    tpicturedocument document(pipeline);
    document.OpenPictureFile(path, tpictureopenoptions{});
    movie.AddSourcePicture(path, document.Picture().Bitmap(), StoredOrientationOf(path));
  }
}

}  // namespace vantlo
