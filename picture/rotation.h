// Turning pictures by quarter turns, and the orientation codes stored with
// each CAM file and chosen for pictures fetched from the camera.
#pragma once

#include <string>

#include "picture/bitmap.h"

namespace vantlo {

class TJPEGImage;

enum torientation : int {
  orNormal = 0,                 // "Normal": no turn
  orRotateClockwise = 1,        // "Rotate Clockwise": a quarter turn clockwise
  orUpsideDown = 2,             // "Upside Down": a half turn
  orRotateCounterClockwise = 3  // "Rotate Counter-clockwise": a quarter turn counter-clockwise
};

// The list text of an orientation code in "Define Orientation" ("" for a code
// outside 0..3).
std::string OrientationText(int code);

// Quarter turns clockwise that bring a picture turned `from` times to `to`
// times, always in 0..3 (differences of turn counters taken modulo 4).
int QuarterTurnsBetween(int from, int to);

// Returns `src` turned by orientation code `code`: 1 gives an h x w bitmap
// with source pixel (x, y) at (h - 1 - y, x); 2 mirrors both directions; 3
// gives source pixel (x, y) at (y, w - 1 - x). 0 and any other code return
// an unchanged copy.
tbitmap RotateBitmap(const tbitmap& src, int code);

// The target takes the source turned by `code`. Code 0 copies the source
// image as it is (its JPEG data kept byte for byte); the other codes give the
// target a new bitmap and drop its JPEG data. `src` and `target` may be the
// same object. Codes outside 0..3 act as 0.
void RotatePicture(TJPEGImage& src, TJPEGImage& target, int code);

}  // namespace vantlo
