#include "library/keywords.h"

#include <exception>

#include "library/pictureproperties.h"
#include "library/textnocase.h"

namespace vantlo {

std::string SelectedPicturesText(int count) {
  if (count == 1) return "You have selected 1 picture";
  return "You have selected " + std::to_string(count) + " pictures";
}

taddkeywordsresult AddKeywordsToPictures(const std::vector<std::string>& pictures,
                                         const std::vector<std::string>& lines) {
  taddkeywordsresult result;
  bool any = false;
  for (const auto& line : lines) any = any || !line.empty();
  if (!any) return result;
  for (const auto& picture : pictures) {
    const std::string tail = UpperTail4(picture);
    if (tail != ".JPG" && tail != ".CAM") {
      ++result.skipped;
      continue;
    }
    try {
      tpictureproperties props;
      props.SetFile(picture);
      props.Load();
      for (const auto& line : lines) props.Keywords().Add(line);
      props.Save();
      ++result.updated;
    } catch (const std::exception& e) {
      result.failed.push_back(picture + ": " + e.what());
    }
  }
  return result;
}

}  // namespace vantlo
