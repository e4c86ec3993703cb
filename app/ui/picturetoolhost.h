// What the picture tool pages (correction, Touch) need of the window's
// displayed picture: whether there is one, its pixels, a way to replace it,
// the status line and a message box. The window implements it over its
// picture view; tests implement it over a plain bitmap.
#pragma once

#include <string>

#include "picture/bitmap.h"

namespace vantlo {

class tpicturetoolhost {
 public:
  virtual ~tpicturetoolhost() = default;

  // A picture with pixels is on display.
  virtual bool HasPicture() const = 0;
  // The displayed picture is a frame of a mini movie.
  virtual bool IsMovieFrame() const = 0;
  // A 24-bit copy of the displayed picture's pixels (empty without one).
  // Throws (with the user's text) when the picture cannot be decoded.
  virtual tbitmap PictureBitmap() const = 0;
  // The window's picture becomes a new JPEG image with the window's JPEG
  // settings holding `bitmap`, and the display is refreshed. With
  // `displayHook` false the display skips the retoucher's display hook
  // (after the Touch page's "Apply" and "Undo").
  virtual void ReplacePicture(const tbitmap& bitmap, bool displayHook) = 0;

  // Progress of picture work: a position of 0 or more sets the progress
  // bar, a negative one advances it by its magnitude; the text goes to the
  // status line.
  virtual void Progress(int position, const std::string& text) = 0;
  // The status line alone ("Ready", "Correcting", ...).
  virtual void Status(const std::string& text) = 0;
  // A message box with OK.
  virtual void ShowMessage(const std::string& text) = 0;
};

}  // namespace vantlo
