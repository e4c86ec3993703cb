#include "app/ui/moviepage.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>
#include <chrono>
#include <cmath>
#include <filesystem>

#include "app/busyregister.h"
#include "app/core/moviepictures.h"
#include "app/progressreport.h"
#include "app/pumpingwait.h"
#include "app/ui/moviecompressor.h"
#include "app/ui/pictureview.h"
#include "app/ui/windowhost.h"
#include "library/records.h"
#include "library/textnocase.h"
#include "output/moviesave.h"
#include "picture/jpegimage.h"

namespace vantlo {

namespace {

// Whether `path` has the four-character ending `ending` (".avi", ".mp4"), in any case.
bool HasEnding(const std::string& path, const std::string& ending) {
  return EqualsNoCase(UpperTail4(path), ending);
}

QPushButton* Button(const char* name, const QString& text, const QString& hint = {}) {
  auto* b = new QPushButton(text);
  b->setObjectName(name);
  if (!hint.isEmpty()) b->setToolTip(hint);
  return b;
}

}  // namespace

tmoviepage::tmoviepage(twindowhost& host) : host_(host) {
  setObjectName("TabSheet13");
  auto* lay = new QVBoxLayout(this);

  auto* rate = new QGroupBox(" Frames per second ");
  auto* rl = new QHBoxLayout(rate);
  FramesPerSecond = new QSpinBox;
  FramesPerSecond->setObjectName("FramesPerSecond");
  FramesPerSecond->setRange(1, 20);
  FramesPerSecond->setValue(10);
  rl->addWidget(FramesPerSecond);
  lay->addWidget(rate);

  auto* format = new QGroupBox(" Capture Format ");
  auto* fl = new QGridLayout(format);
  const char* names[4] = {"Single Image", "2x2 MiniMovie Frame", "4x4 MiniMovie Frame", "Custom"};
  for (int i = 0; i < 4; ++i) {
    Format[i] = new QRadioButton(names[i]);
    Format[i]->setObjectName(QString("FormatButton%1").arg(i));
    fl->addWidget(Format[i], i, 0, 1, 4);
    connect(Format[i], &QRadioButton::clicked, this, [this, i] { FormatChosen(i); });
  }
  Rows = new QSpinBox;
  Rows->setObjectName("Rows");
  Columns = new QSpinBox;
  Columns->setObjectName("Columns");
  for (QSpinBox* s : {Rows, Columns}) s->setRange(1, tminimovie::kMaxGrid);
  fl->addWidget(new QLabel("Rows"), 4, 0);
  fl->addWidget(Rows, 4, 1);
  fl->addWidget(new QLabel("Columns"), 4, 2);
  fl->addWidget(Columns, 4, 3);
  Format[0]->setChecked(true);
  FormatChosen(0);
  lay->addWidget(format);

  NewButton = Button("NewMovieButton", "New MiniMovie", "Clears any previous movie");
  AddButton = Button("AddPicsButton", "Add Selected Pics", "Adds the selected frames to the movie");
  PlaySelectedButton =
      Button("PlaySelectedButton", " Play Movie - Selected Pics",
             "Select the movie frames using the disk browser and click here to play them");
  SaveButton = Button("SaveMovieButton", "Save MiniMovie", "Save Movie as AVI file");
  for (QPushButton* b : {NewButton, AddButton, PlaySelectedButton, SaveButton}) lay->addWidget(b);
  connect(NewButton, &QPushButton::clicked, this, &tmoviepage::NewMovieClick);
  connect(AddButton, &QPushButton::clicked, this, [this] { AddSelectedClick(); });
  connect(PlaySelectedButton, &QPushButton::clicked, this, &tmoviepage::PlaySelectedClick);
  connect(SaveButton, &QPushButton::clicked, this, &tmoviepage::SaveClick);

  auto* transport = new QHBoxLayout;
  PreviousButton = Button("PreviousFrameButton", {}, "Previous frame");
  PlayButton = Button("PlayButton", {}, "Play");
  StopButton = Button("StopButton", {}, "Stop");
  NextButton = Button("NextFrameButton", {}, "Next frame");
  const std::pair<QPushButton*, QStyle::StandardPixmap> icons[] = {
      {PreviousButton, QStyle::SP_MediaSkipBackward},
      {PlayButton, QStyle::SP_MediaPlay},
      {StopButton, QStyle::SP_MediaStop},
      {NextButton, QStyle::SP_MediaSkipForward}};
  for (const auto& [b, icon] : icons) {
    b->setIcon(style()->standardIcon(icon));
    b->setAccessibleName(b->toolTip());
    transport->addWidget(b);
  }
  lay->addLayout(transport);
  connect(PreviousButton, &QPushButton::clicked, this, &tmoviepage::PreviousClick);
  connect(PlayButton, &QPushButton::clicked, this, &tmoviepage::PlayClick);
  connect(StopButton, &QPushButton::clicked, this, &tmoviepage::StopClick);
  connect(NextButton, &QPushButton::clicked, this, &tmoviepage::NextClick);
  StatusLabel = new QLabel("Stopped");
  StatusLabel->setObjectName("MovieStatus");
  lay->addWidget(StatusLabel);
  lay->addStretch();

  ChooseFile = [this]() -> std::string {
    QFileDialog dialog(host_.Window(), "Save MiniMovie");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("avi");
    dialog.setNameFilters({"Microsoft AVI Files (*.AVI *.avi)", "MP4 Movies (*.mp4 *.MP4)"});
    dialog.setDirectory(QString::fromStdString(host_.Settings().extra.BrowseFolder()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front().toStdString();
  };
  ChooseCodec = [this]() -> std::optional<tmoviecodec> {
    tmoviecompressor dialog(host_.Window());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Chosen();
  };
  ConfirmReplace = [this](const std::string& path) {
    return QMessageBox::question(
               host_.Window(), "Save MiniMovie",
               QString::fromStdString(path) + " already exists.\nDo you want to replace it?",
               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
  };
  ShowMessage = [this](const std::string& text) {
    QMessageBox::warning(host_.Window(), "Vantlo", QString::fromStdString(text));
  };
}

void tmoviepage::AddMenuCommands(const twindowmenus& menus) {
  if (menus.show)
    menus.show->addAction("MiniMovie - Selected Disk Pictures", this,
                          &tmoviepage::MiniMovieMenuClick);
  if (menus.bar)
    menus.Menu("&Disk")->addAction("MiniMovie - Selected Disk Pictures", this,
                                   &tmoviepage::MiniMovieMenuClick);
}

void tmoviepage::Closing() { host_.StopRequest().Set(); }

void tmoviepage::FormatChosen(int format) {
  const int sizes[3] = {1, 2, 4};
  const bool custom = format == 3;
  if (!custom) {
    Rows->setValue(sizes[format]);
    Columns->setValue(sizes[format]);
  }
  Rows->setEnabled(custom);
  Columns->setEnabled(custom);
}

void tmoviepage::Fail(const std::exception& e) { ShowMessage(e.what()); }

void tmoviepage::NewMovieClick() {
  // A playback or save running over the movie ends first.
  host_.StopRequest().Set();
  movie_.ClearMovie();
}

bool tmoviepage::AddSelectedClick() {
  host_.StopRequest().Set();
  movie_.SetGrid(Rows->value(), Columns->value());
  host_.SetCurrentPicture("", 0);
  host_.CollectSettings();
  bool added = false;
  try {
    host_.PictureView().CopySettings();
    AddMoviePictures(movie_, host_.SelectedDiskPictures(), host_.PictureView().Pipeline(),
                     [this](int position, const std::string& text) {
                       host_.Progress().ReportText(text, 0);
                       host_.Progress().ReportPosition(position);
                     });
    added = true;
  } catch (const std::exception& e) {
    Fail(e);
  }
  host_.Progress().ReportText("Ready", 0);
  host_.Progress().ReportPosition(0);
  return added;
}

void tmoviepage::PlaySelectedClick() {
  host_.StopRequest().Set();
  movie_.ClearMovie();
  if (AddSelectedClick()) PlayClick();
}

void tmoviepage::MiniMovieMenuClick() {
  host_.ShowPage(PageNumber());
  PlaySelectedClick();
}

void tmoviepage::ShowFrame(int n) {
  tbitmap frame(movie_.FrameWidth(), movie_.FrameHeight());
  movie_.GetFrame(n, frame);
  TJPEGImage picture;
  picture.Assign(std::move(frame));
  host_.PictureView().ShowPicture(picture, "", tpicturekind::Other);
}

void tmoviepage::PlayClick() {
  if (playing_) {
    // Started again from inside the playback (" Play Movie - Selected Pics" while playing):
    // the running loop starts over with the new movie.
    restart_ = true;
    return;
  }
  if (movie_.FrameCount() == 0) {
    ShowMessage(kNoMiniMovie);
    return;
  }
  host_.Progress().ReportText("Playing MiniMovie", 0);
  host_.StopDiskThumbnails();
  tbusyguard slot(host_.Busy(), tbusyregister::kDiskList);
  host_.ShowPicturePage();
  StatusLabel->setText("Playing...");
  host_.StopRequest().Clear();
  playing_ = true;
  stepped_ = false;
  restart_ = false;
  try {
    for (int f = 0; movie_.FrameCount() > 0;) {
      const auto started = std::chrono::steady_clock::now();
      ShowFrame(f);
      // Each frame is held round(1000 / frames per second) milliseconds from its start.
      const int hold = static_cast<int>(std::nearbyint(1000.0 / FramesPerSecond->value()));
      const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::steady_clock::now() - started)
                             .count();
      PumpingWait(std::max(0, hold - static_cast<int>(spent)), host_.StopRequest());
      if (host_.StopRequest().IsSet()) {
        if (!restart_) break;
        restart_ = false;
        stepped_ = false;
        StatusLabel->setText("Playing...");
        host_.StopRequest().Clear();
        f = 0;
        continue;
      }
      f = movie_.FrameCount() > 0 ? (f + 1) % movie_.FrameCount() : 0;
    }
  } catch (const std::exception& e) {
    Fail(e);
  }
  playing_ = false;
  restart_ = false;
  if (!stepped_) StatusLabel->setText("Stopped");
}

void tmoviepage::StopClick() { host_.StopRequest().Set(); }

void tmoviepage::Step(int by) {
  host_.StopRequest().Set();
  const int count = movie_.FrameCount();
  if (count == 0) {
    ShowMessage(kNoMiniMovie);
    return;
  }
  const int n = ((movie_.CurrentFrame() + by) % count + count) % count;
  if (playing_) stepped_ = true;
  try {
    host_.ShowPicturePage();
    ShowFrame(n);
    StatusLabel->setText(QString("Frame %1 of %2").arg(n + 1).arg(count));
  } catch (const std::exception& e) {
    Fail(e);
  }
}

void tmoviepage::NextClick() { Step(1); }
void tmoviepage::PreviousClick() { Step(-1); }

std::string tmoviepage::SavePath(std::string path, tmoviecodec codec) {
  const std::string ending = CodecExtension(codec);
  if (HasEnding(path, ending)) return path;
  // The container follows the codec: an ".avi" name for H.264 becomes ".mp4" and back.
  const std::string other = ending == ".mp4" ? ".avi" : ".mp4";
  if (HasEnding(path, other)) path.resize(path.size() - other.size());
  path += ending;
  std::error_code ec;
  if (std::filesystem::exists(path, ec) && !ConfirmReplace(path)) return {};
  return path;
}

void tmoviepage::SaveClick() {
  host_.StopRequest().Clear();
  tbusyguard slot(host_.Busy(), tbusyregister::kDiskList);
  // An empty movie would be an empty file.
  if (movie_.FrameCount() == 0) {
    ShowMessage(kNoMiniMovie);
    return;
  }
  std::string path = ChooseFile();
  if (path.empty()) return;
  // A cancelled compressor choice writes no file at all.
  const std::optional<tmoviecodec> codec = ChooseCodec();
  if (!codec) return;
  path = SavePath(path, *codec);
  if (path.empty()) return;

  tmoviesaveoptions options;
  options.codec = *codec;
  options.fps = FramesPerSecond->value();
  options.width = movie_.FrameWidth();
  options.height = movie_.FrameHeight();
  options.frameCount = movie_.FrameCount();
  try {
    const tmoviesaveresult result = SaveMovie(
        path, options, [this](int i, tbitmap& frame) { movie_.GetFrame(i, frame); },
        [this](int position, const std::string& text) {
          host_.Progress().ReportText(text, 0);
          host_.Progress().ReportPosition(position);
          QCoreApplication::processEvents();
          return host_.StopRequest().IsSet();
        });
    if (result.written) host_.FilesWritten({path});
  } catch (const std::exception& e) {
    Fail(e);
  }
  host_.Progress().ReportPosition(0);
  host_.Progress().ReportText("", 0);
}

}  // namespace vantlo
