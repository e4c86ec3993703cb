// The picture the main window shows, without widgets: the picture itself,
// where it came from, the quarter turns the user applied and the copy kept
// before colour correction. Opening ".JPG", ".CAM" and ".RCD" files, the
// rotate commands, the resize with its size measurement live here so they
// run headless in tests and tools; the window only shows the result.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

#include "picture/camerafile.h"
#include "picture/colourcorrection.h"
#include "picture/jpegimage.h"

namespace vantlo {

class tpicturepipeline;

// Where the displayed picture came from.
enum class tpicturekind {
  None,         // nothing on display
  JpegFile,     // a ".JPG" file (also ".RCD" cache files, shown the same way)
  CamFile,      // a ".CAM" file
  Camera,       // fetched from the camera
  AutoCapture,  // taken by AutoCapture
  Other         // anything else (e.g. a webcam frame)
};

// The kind of file a name asks for, from its last four characters in any
// case: ".JPG", ".CAM", ".RCD"; None for anything else (".JPEG" included).
enum class tpicturefiletype { None, Jpg, Cam, Rcd };
tpicturefiletype PictureFileType(const std::string& path);

// A picture file that could not be opened; what() is the user's message
// ("Unable to parse the JPEG data", "Unable to parse the CAM data", ...).
class tpictureopenerror : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// How a file is opened: the correction mode applied to CAM pictures, the
// caption written onto them (picture number 0), progress.
struct tpictureopenoptions {
  tcorrectionchoice correction;
  std::function<void(TJPEGImage&)> caption;  // empty: no caption
  tpictureprogress progress;                 // (position, text)
};

// Result of the resize "Apply": the file's size and the measured size of the
// picture as saving will write it, and the texts the tab shows.
struct tresizereport {
  std::uint64_t originalBytes = 0;
  std::uint64_t currentBytes = 0;
  std::string OriginalText() const;  // "Original size : <KB>KB"
  std::string CurrentText() const;   // "Current size : <KB>KB"
};

class tpicturedocument {
 public:
  // The pipeline decodes CAM and raw files; its settings are the caller's
  // (the window copies its settings into it before each open).
  explicit tpicturedocument(tpicturepipeline& pipeline) : pipeline_(pipeline) {}

  TJPEGImage& Picture() { return picture_; }
  const TJPEGImage& Picture() const { return picture_; }
  tpicturekind Kind() const { return kind_; }
  const std::string& Path() const { return path_; }
  std::uint64_t FileSize() const { return fileSize_; }
  // True when a picture with pixels is on display.
  bool HasPicture() const;

  // Quarter turns applied by the user, 0..3, clockwise positive.
  int QuarterTurns() const { return quarterTurns_; }
  void SetQuarterTurns(int turns) { quarterTurns_ = ((turns % 4) + 4) % 4; }

  // The copy kept before colour correction (used by the correction tab).
  std::optional<TJPEGImage>& Uncorrected() { return uncorrected_; }

  // Takes a picture from elsewhere (camera, AutoCapture, ...): no turns, no
  // uncorrected copy.
  void SetPicture(const TJPEGImage& picture, tpicturekind kind, const std::string& path = {},
                  std::uint64_t fileSize = 0);
  void Clear();

  // Opens a picture file for display. Returns the file type opened, None
  // (nothing changed) for other endings. Throws tpictureopenerror with a
  // clear message for missing or damaged files; the display is then empty.
  tpicturefiletype OpenPictureFile(const std::string& path, const tpictureopenoptions& options);

  // Turns the picture by an orientation code (nothing without a picture);
  // the picture becomes a new JPEG image with the pipeline's JPEG settings.
  void TurnWindowPicture(int code);
  void RotateClockwise();         // code 1, counter + 1 (3 wraps to 0)
  void RotateCounterClockwise();  // code 3, counter - 1 (0 wraps to 3)

  // Compresses the picture at `quality`, returns the byte count and reloads
  // the picture from those bytes, so it shows exactly what saving writes.
  std::uint64_t MeasureJpegSize(int quality);

  // The resize "Apply": `redisplay` restores the stored picture (false:
  // "Nothing to redisplay", thrown as tpictureopenerror); the user's quarter
  // turns are applied again; the picture is resized to resize choice
  // `choice` (smooth) and measured at `quality`. Throws tpictureopenerror
  // "No picture on display" without a picture.
  tresizereport ApplyResize(int choice, int quality, const std::function<bool()>& redisplay);

  // Gives the picture the pipeline's JPEG settings (24-bit, quality,
  // progressive); existing JPEG data are kept.
  void ApplyJpegSettings() { PrepareJpeg(picture_); }
  tpicturepipeline& Pipeline() { return pipeline_; }

 private:
  void PrepareJpeg(TJPEGImage& image) const;

  tpicturepipeline& pipeline_;
  TJPEGImage picture_;
  tpicturekind kind_ = tpicturekind::None;
  std::string path_;
  std::uint64_t fileSize_ = 0;
  int quarterTurns_ = 0;
  std::optional<TJPEGImage> uncorrected_;
};

// "Define Orientation" for the displayed picture: camera and AutoCapture
// pictures are ignored silently; a picture opened from a ".CAM" file can be
// given an orientation; anything else gets NotCam ("You can only define
// the orientation of a CAM file").
enum class torientationtarget { Ignore, NotCam, Cam };
torientationtarget CurrentOrientationTarget(const tpicturedocument& doc);
inline constexpr const char* kOnlyCamOrientation =
    "You can only define the orientation of a CAM file";
// The orientation stored for a CAM file (0 when none or unreadable).
int StoredOrientationOf(const std::string& camPath);
// Stores an orientation code (0..3) in a CAM file's properties, keeping its
// other properties; throws with the user's text on failure.
void StoreOrientation(const std::string& camPath, int code);

}  // namespace vantlo
