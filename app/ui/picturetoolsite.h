// The window's side of the picture tool pages (correction, Touch): the displayed picture of the
// picture view, its correction state, the status line and the "Image" page's correction
// strength. The window owns one for its whole life.
#pragma once

#include <functional>

#include "app/ui/correctionpage.h"
#include "app/ui/touchpage.h"
#include "picture/correctionstate.h"

namespace vantlo {

class twindowhost;

class tpicturetoolsite : public tcorrectionhost, public ttouchhost {
 public:
  explicit tpicturetoolsite(twindowhost& host) : host_(host) {}

  // tpicturetoolhost
  bool HasPicture() const override;
  bool IsMovieFrame() const override;
  tbitmap PictureBitmap() const override;
  void ReplacePicture(const tbitmap& bitmap, bool displayHook) override;
  void Progress(int position, const std::string& text) override;
  void Status(const std::string& text) override;
  void ShowMessage(const std::string& text) override;
  // tcorrectionhost
  tcorrectionstate& CorrectionState() override { return state_; }
  int QuarterTurns() const override;
  bool Redisplay() override;
  int CorrectionStrength() const override { return strength ? strength() : 10; }
  void SetCorrectionStrength(int value) override {
    if (setStrength) setStrength(value);
  }
  // ttouchhost
  QSize DisplaySize() const override;

  // A picture was fetched or opened: the correction starts afresh, from the uncorrected copy a
  // fetch or a corrected CAM file handed over.
  void PictureChanged();

  // The "Image" page's correction strength (TrackBar8), filled in by the window.
  std::function<int()> strength;
  std::function<void(int)> setStrength;

 private:
  twindowhost& host_;
  tcorrectionstate state_;
};

}  // namespace vantlo
