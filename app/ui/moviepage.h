// The movie page (TabSheet13): a mini movie made of the pictures selected on the Browse page,
// single pictures or burst mosaics cut into frames, played in the picture view at the page's
// frames per second, stepped through frame by frame and saved as an AVI (or MP4) file. The
// frames come from tminimovie; saving is SaveMovie's; the page holds the controls and runs the
// commands in busy slot S.
#pragma once

#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "app/ui/windowpage.h"
#include "output/minimovie.h"
#include "output/moviecodecs.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace vantlo {

class twindowhost;

class tmoviepage : public QWidget, public twindowpage {
  Q_OBJECT
 public:
  explicit tmoviepage(twindowhost& host);

  int PageNumber() const override { return 13; }
  QWidget* Widget() override { return this; }
  QString TabText() const override { return "Movie"; }
  // "MiniMovie - Selected Disk Pictures" in the tool bar's "Show" button and the Disk menu.
  void AddMenuCommands(const twindowmenus& menus) override;
  // Closing ends a playback.
  void Closing() override;

  tminimovie& Movie() { return movie_; }
  bool Playing() const { return playing_; }

  // The commands.
  void NewMovieClick();       // "New MiniMovie"
  bool AddSelectedClick();    // "Add Selected Pics"; false when nothing was added
  void PlaySelectedClick();   // " Play Movie - Selected Pics"
  void MiniMovieMenuClick();  // "MiniMovie - Selected Disk Pictures"
  void PlayClick();
  void StopClick();
  void NextClick();
  void PreviousClick();
  void SaveClick();  // "Save MiniMovie"

  // Seams with working defaults; tests replace them. The movie's file name ("" cancels), the
  // compressor (none cancels), whether to replace an existing file, message boxes.
  std::function<std::string()> ChooseFile;
  std::function<std::optional<tmoviecodec>()> ChooseCodec;
  std::function<bool(const std::string& path)> ConfirmReplace;
  std::function<void(const std::string& text)> ShowMessage;

  QSpinBox* FramesPerSecond = nullptr;  // " Frames per second " 1..20
  QRadioButton* Format[4] = {};         // Single Image, 2x2, 4x4, Custom
  QSpinBox* Rows = nullptr;
  QSpinBox* Columns = nullptr;
  QPushButton* NewButton = nullptr;
  QPushButton* AddButton = nullptr;
  QPushButton* PlaySelectedButton = nullptr;
  QPushButton* SaveButton = nullptr;
  QPushButton* PlayButton = nullptr;
  QPushButton* StopButton = nullptr;
  QPushButton* PreviousButton = nullptr;
  QPushButton* NextButton = nullptr;
  QLabel* StatusLabel = nullptr;  // "Stopped", "Playing...", "Frame i of n"

 private:
  void FormatChosen(int format);
  void ShowFrame(int n);
  void Step(int by);
  std::string SavePath(std::string path, tmoviecodec codec);
  void Fail(const std::exception& e);

  twindowhost& host_;
  tminimovie movie_;
  bool playing_ = false;
  bool stepped_ = false;  // a step command ran during the playback
  bool restart_ = false;  // play was asked for again during the playback
};

}  // namespace vantlo
