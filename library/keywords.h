// "Add Keywords to Selected Pictures": adds the same keywords to many
// pictures' properties at once.
#pragma once

#include <string>
#include <vector>

namespace vantlo {

struct taddkeywordsresult {
  int updated = 0;                  // pictures whose properties were saved
  int skipped = 0;                  // AVI and other items that take no keywords here
  std::vector<std::string> failed;  // "path: reason"
};

// "You have selected 1 picture" / "You have selected <n> pictures".
std::string SelectedPicturesText(int count);

// Loads each CAM or JPEG picture's properties, adds every non-empty line
// (the list stays sorted without duplicates; at most 40 keywords are
// stored, lower-cased and cut to 40 characters) and saves. AVI items are
// skipped. A failure on one picture is recorded and the run goes on.
taddkeywordsresult AddKeywordsToPictures(const std::vector<std::string>& pictures,
                                         const std::vector<std::string>& lines);

}  // namespace vantlo
