// The main window's picture view, the "Picture" page (TabSheet11): holds the
// displayed picture (through tpicturedocument) and shows it on Image3 at the
// zoom of Label32, with "Redisplay" and the zoom buttons above it, the
// "Picture" menu and the picture's pop-up menu. Every part of the window that
// shows a picture goes through here: fetched camera pictures (ShowPicture)
// and files opened from the browser (OpenPictureFile).
#pragma once

#include <QSize>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/core/camtojpeg.h"
#include "app/core/captions.h"
#include "app/core/picturedocument.h"
#include "app/ui/windowpage.h"
#include "picture/pipeline.h"

class QDialog;
class QLabel;
class QPushButton;
class QScrollArea;

namespace vantlo {

class twindowhost;

class tpictureview : public QWidget, public twindowpage {
  Q_OBJECT
 public:
  explicit tpictureview(twindowhost& host);
  ~tpictureview() override;

  int PageNumber() const override { return 0; }
  QWidget* Widget() override { return this; }
  QString TabText() const override { return "Picture"; }
  // The "Picture" menu and the picture's pop-up menu.
  void AddMenuCommands(const twindowmenus& menus) override;

  // Seams the window fills in: the pop-up menu's "Save As...", and the Browse page's side of
  // the menu (its folder for "Open Picture File", its selected CAM files).
  std::function<void()> saveAs;
  std::function<std::string()> openFolder;
  std::function<void()> defineOrientationSelected;
  std::function<std::vector<std::string>()> selectedDiskPictures;

  tpicturedocument& Document() { return *doc_; }
  // The pipeline the view decodes files with (the window's settings are
  // copied into it before each open).
  tpicturepipeline& Pipeline() { return pipeline_; }

  // Shows a picture from elsewhere; `description` goes to the status line.
  // The quarter-turn counter starts at 0; `uncorrected` (if any) is kept as
  // the copy before colour correction. `sizeBytes` is the picture's size as
  // it came (a camera picture's JPEG stream), reported as the original size.
  void ShowPicture(const TJPEGImage& picture, const std::string& description,
                   tpicturekind kind = tpicturekind::Camera, const std::string& path = {},
                   const tbitmap* uncorrected = nullptr, std::uint64_t sizeBytes = 0);
  // Opens ".JPG", ".CAM" or ".RCD" for display. Interactive: busy cursor,
  // progress, "Ready", name and size shown, failures shown in a message box.
  // Non-interactive: failures are thrown as tpictureopenerror. Returns true
  // when a picture was opened.
  bool OpenPictureFile(const std::string& path, bool interactive = true);

  // "Redisplay"/"Revert": a file picture is opened again, a camera picture
  // is fetched again through the refetch hook; otherwise "Nothing to
  // redisplay". Returns whether the stored picture is back.
  bool Redisplay();
  // The "Redisplay" button: Redisplay, with "Nothing to redisplay" shown.
  void RedisplayClick();
  // Fetches the displayed camera picture again (set by the camera pages).
  std::function<bool()> Refetch;

  // Turning, for the Rotate page and the menu.
  void RotateClockwise();
  void RotateCounterClockwise();

  // "Define Orientation" "For Current Picture".
  void DefineOrientationCurrent();
  // "Save Selected CAM Files as JPEGs" over the browser's selection; the
  // report is shown and returned.
  tcamtojpegreport SaveSelectedCamFilesAsJpegs(const std::vector<std::string>& selection);
  // Runs a dialog modally (tests replace it to drive the dialog).
  std::function<int(QDialog&)> RunDialog;

  // Zoom modes as ZoomText: -2 stretch, -1 fit, 1..7 (25 % .. 300 %).
  void SetZoom(int mode);
  int Zoom() const { return zoom_; }
  void ZoomIn();
  void ZoomOut();
  // Draws the picture again at the current zoom; with `displayHook` the display hook is told
  // (not after the Touch page's "Apply" and "Undo").
  void Redraw(bool displayHook = true);
  bool HasPicture() const { return doc_->HasPicture(); }
  void Clear();

  // Shows a message (a message box; tests may replace it).
  std::function<void(const std::string&)> ShowMessage;
  // Told of every zoom change (the window stores the zoom at close).
  std::function<void(int)> OnZoomChanged;
  // The display hook: a picture has been drawn in the ordinary way.
  std::function<void()> OnDisplayed;
  // A click on the picture, in picture display coordinates (0, 0 at its top-left).
  std::function<void(const QPoint&)> OnPictureClicked;
  // Colour correction applied to opened CAM files, and the caption written
  // onto them; CopySettings fills them from the stored settings.
  tcorrectionchoice Correction;
  std::function<void(TJPEGImage&)> Caption;
  // Asks for the caption when the setting is "Prompt each time" (Tcapprompt;
  // tests may replace it). Null: no caption is written for that setting.
  tcaptionprompt* CaptionPrompt = nullptr;

  // Copies the window's picture settings into the pipeline.
  void CopySettings();
  // The size the picture is drawn at for the current zoom.
  QSize DisplaySize(int width, int height) const;

  QPushButton* BitBtn5 = nullptr;  // Redisplay
  QPushButton* ZoomOutButton = nullptr;
  QPushButton* ZoomInButton = nullptr;
  QLabel* Label32 = nullptr;  // the zoom text
  QLabel* Image3 = nullptr;   // the picture

 signals:
  void PictureChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  tpictureopenoptions OpenOptions(bool interactive);

  void ShowZoomButtons();

  twindowhost& host_;
  QScrollArea* scroll_ = nullptr;
  tpicturepipeline pipeline_;
  std::unique_ptr<tpicturedocument> doc_;
  std::unique_ptr<tcaptionprompt> dialogPrompt_;
  int zoom_ = 4;
};

}  // namespace vantlo
