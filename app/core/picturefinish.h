// The one step that finishes a picture after it has been decoded: turned to its orientation,
// captioned and colour corrected, in this order. A fetch from the camera, an opened CAM file
// and a picture fetched by the command line all go through it.
#pragma once

#include <functional>

#include "picture/colourcorrection.h"
#include "picture/jpegimage.h"

namespace vantlo {

class tpicturepipeline;

enum class tfinishstep { orienting, caption, correcting };

struct tfinishoptions {
  // Quarter turns clockwise, 1..3 (0 and anything else: not turned).
  int orientation = 0;
  // Writes the caption onto the picture; true when it wrote one. Empty: no caption.
  std::function<bool(TJPEGImage&)> caption;
  tcorrectionchoice correction;
  // Told as each step begins ("orienting" only when the picture is turned).
  std::function<void(tfinishstep)> step;
  tpictureprogress correctionProgress;
  // Keep the picture as it was before the correction even when the correction is "Off".
  bool keepUncorrected = false;
};

struct tfinishresult {
  bool changed = false;         // turned, captioned or corrected
  tbitmap uncorrected;          // the picture before the correction (when corrected or kept)
  int correctionStrength = -1;  // the strength applied; -1: not corrected
};

// Finishes `picture` in place. A changed picture is prepared again with the pipeline's JPEG
// settings (its JPEG data are gone, so saving compresses it with those settings).
tfinishresult FinishPicture(TJPEGImage& picture, const tfinishoptions& options,
                            tpicturepipeline& pipeline);

}  // namespace vantlo
