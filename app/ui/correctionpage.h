// The correction page (tabcorrection): "AutoCorrect" and "Manual Correct"
// (the Casio correction, never piling up over earlier ones), the
// " Color Expand " group with its own strength slider and "Apply"
// (Shift-click redisplays the stored picture first), the " De-Fringe "
// group, and the saving quality slider with its label. The page works on
// the window's displayed picture through its host; its layout is a
// QVBoxLayout, so the window can put the " Resize " group on top of it.
#pragma once

#include <QObject>
#include <QWidget>

#include "app/ui/picturetoolhost.h"
#include "app/ui/windowpage.h"
#include "picture/correctionstate.h"

class QLabel;
class QPushButton;
class QSlider;

namespace vantlo {

// What the correction page needs of the window beyond the displayed picture.
class tcorrectionhost : public tpicturetoolhost {
 public:
  // The correction state of the displayed picture (reset by the window when
  // a picture is fetched or opened).
  virtual tcorrectionstate& CorrectionState() = 0;
  // The window's quarter-turn counter of the displayed picture (0..3).
  virtual int QuarterTurns() const = 0;
  // The window's redisplay command: the picture is opened or fetched again
  // and the user's quarter turns applied again. False when there was
  // nothing to redisplay (the window has said so).
  virtual bool Redisplay() = 0;
  // The correction strength of the "Image" page (TrackBar8, 0..20).
  virtual int CorrectionStrength() const = 0;
  virtual void SetCorrectionStrength(int strength) = 0;
};

class tcorrectionpage : public QWidget, public twindowpage {
  Q_OBJECT
 public:
  explicit tcorrectionpage(tcorrectionhost& host, QWidget* parent = nullptr);

  int PageNumber() const override { return 11; }
  QWidget* Widget() override { return this; }
  QString TabText() const override { return "Correction"; }
  // Puts a group (the window's " Resize ") at the top of the page.
  void AddGroupOnTop(QWidget* group);

  // Handlers named after their controls.
  void Button15Click();           // AutoCorrect
  void Button16Click();           // Manual Correct
  void Button4Click(bool shift);  // " Color Expand " Apply
  void DefringeClick(bool vertical, bool horizontal);
  // Shows "JPEG Quality N %" (also whenever the page is entered).
  void ShowQuality();
  // The saving quality of TrackBar12 (0..100).
  int SavingQuality() const;

  QPushButton* Button15 = nullptr;  // AutoCorrect
  QPushButton* Button16 = nullptr;  // Manual Correct
  QSlider* TrackBar5 = nullptr;     // expansion strength 0..50, not stored
  QLabel* ExpandLabel = nullptr;
  QPushButton* Button4 = nullptr;  // Apply
  QPushButton* VerticalButton = nullptr;
  QPushButton* HorizontalButton = nullptr;
  QSlider* TrackBar12 = nullptr;  // saving quality 0..100
  QLabel* QualityLabel = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // The checks shared by the correction commands; false when the command
  // stops (with the message shown).
  bool CanWork(const char* none, const char* movie);
  void Correct(bool automatic);

  tcorrectionhost& host_;
  bool shift_ = false;  // Shift held on Button4
};

}  // namespace vantlo
