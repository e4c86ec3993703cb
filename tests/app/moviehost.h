// The page tests' fake window host for the movie page and the MiniLab: the shared fake's fields
// plus every page shown in order, the picture page shown, the Browse page's selection and its
// thumbnail loading stopped.
#pragma once

#include <string>
#include <vector>

#include "app/cameralink.h"
#include "fakehost.h"

namespace vantlo::testhost {

class tmoviehost : public tfakehostof<tcameralink> {
 public:
  void ShowPage(int number) override {
    pages.push_back(number);
    tfakehostof::ShowPage(number);
  }
  void ShowPicturePage() override { ++picturePageShown; }
  std::vector<std::string> SelectedDiskPictures() override { return selected; }
  void StopDiskThumbnails() override { ++thumbnailStops; }

  std::vector<std::string> selected;
  std::vector<int> pages;
  int picturePageShown = 0;
  int thumbnailStops = 0;
};

}  // namespace vantlo::testhost
