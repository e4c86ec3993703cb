// The "Touch" page (TabSheet10): six sliders (brightness, contrast,
// blur/sharpen and the three colour saturations) with their labels, a live
// 132 x 84 preview of an area of the displayed picture (chosen by clicking
// the main picture), "Lock Color Sliders", "Apply", a one-level "Undo",
// "Zero All" and "Revert". The work is the window's retoucher's; the page
// reaches the displayed picture through its host.
#pragma once

#include <QPoint>
#include <QSize>
#include <QWidget>
#include <array>

#include "app/ui/picturetoolhost.h"
#include "app/ui/windowpage.h"
#include "picture/retoucher.h"
#include "picture/touchsliders.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;

namespace vantlo {

// What the Touch page needs of the window beyond the displayed picture.
class ttouchhost : public tpicturetoolhost {
 public:
  // The size the picture is drawn at on screen; click points are given in
  // this rectangle's coordinates (0, 0 at the picture's top-left).
  virtual QSize DisplaySize() const = 0;
};

class ttouchpage : public QWidget, public twindowpage {
  Q_OBJECT
 public:
  // Attaches the retoucher's preview to Image1 and its progress to the host.
  ttouchpage(tretoucher& retoucher, ttouchhost& host, QWidget* parent = nullptr);

  int PageNumber() const override { return 10; }
  QWidget* Widget() override { return this; }
  QString TabText() const override { return "Touch"; }

  // The display hook: the window calls it whenever it shows a new or
  // changed picture in the ordinary way (not after "Apply" and "Undo", not
  // for movie frames). The chosen area is forgotten and the retoucher's
  // base picture becomes the displayed one.
  void PictureDisplayed();
  // A click on the main picture at `point` (display coordinates).
  void PictureClicked(const QPoint& point);
  // Entering the page (also run when it is shown).
  void Enter();

  // Handlers named after their controls.
  void ApplyClick();
  void UndoClick();
  void ZeroAllClick();
  void RevertClick();
  void LockClick();
  // Enables "Undo" exactly while an undo is available.
  void UpdateUndoButton();

  // The slider positions of the last "Apply".
  const tretouchsliders& AppliedPositions() const { return applied_; }
  const tretouchsliders& Positions() const { return sliders_.Positions(); }

  QLabel* Image1 = nullptr;  // the preview, 132 x 84
  // Brightness, Contrast, Blur/Sharpen, Red, Green, Blue Saturation.
  std::array<QSlider*, 6> Sliders{};
  std::array<QLabel*, 6> SliderLabels{};
  QCheckBox* LockBox = nullptr;  // "Lock Color Sliders"
  QPushButton* ApplyButton = nullptr;
  QPushButton* UndoButton = nullptr;
  QPushButton* ZeroAllButton = nullptr;
  QPushButton* RevertButton = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void SliderMoved(int index, int value);
  void ShowPositions();
  // The displayed picture into the retoucher; false when it could not be read.
  bool LoadDisplayed(bool keep);
  void ChooseArea(const QPoint& topLeft, const tretouchrect& area);

  tretoucher& retoucher_;
  ttouchhost& host_;
  ttouchsliders sliders_;
  tretouchsliders applied_;
  bool areaChosen_ = false;
  QPoint topLeft_;        // remembered top-left of the area
  QSize lastDisplay_;     // display size at the last display hook
  bool showing_ = false;  // the sliders are being set from the model
};

}  // namespace vantlo
