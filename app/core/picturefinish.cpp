#include "app/core/picturefinish.h"

#include "picture/pipeline.h"
#include "picture/rotation.h"

namespace vantlo {

tfinishresult FinishPicture(TJPEGImage& picture, const tfinishoptions& options,
                            tpicturepipeline& pipeline) {
  tfinishresult result;
  auto step = [&options](tfinishstep s) {
    if (options.step) options.step(s);
  };
  if (options.orientation >= 1 && options.orientation <= 3) {
    step(tfinishstep::orienting);
    RotatePicture(picture, picture, options.orientation);
    result.changed = true;
  }
  step(tfinishstep::caption);
  if (options.caption && options.caption(picture)) result.changed = true;
  step(tfinishstep::correcting);
  const bool correcting = options.correction.Mode != tcorrectionchoice::Off;
  if (correcting || options.keepUncorrected) result.uncorrected = picture.Bitmap();
  if (correcting) {
    tbitmap bitmap = result.uncorrected;
    result.correctionStrength =
        ApplyCorrection(bitmap, options.correction, options.correctionProgress);
    picture.Assign(bitmap);
    result.changed = true;
  }
  if (result.changed) pipeline.PrepareJpeg(picture);
  return result;
}

}  // namespace vantlo
