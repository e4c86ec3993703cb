#include "browsepage.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>
#include <filesystem>

#include "app/busyregister.h"
#include "app/core/naming.h"
#include "app/core/picturedocument.h"
#include "app/core/settingsrecords.h"
#include "app/progressreport.h"
#include "app/stoprequest.h"
#include "browsedialogs.h"
#include "deleteempty.h"
#include "diskgrid.h"
#include "editpicprop.h"
#include "findpicsdlg.h"
#include "foldertree.h"
#include "internetfeatures.h"
#include "library/keywords.h"
#include "library/pictureproperties.h"
#include "library/records.h"
#include "library/userfolders.h"
#include "overdeldlg.h"
#include "pictureview.h"
#include "tidydbdlg.h"
#include "tilepictures.h"
#include "windowhost.h"

namespace vantlo {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

std::string WithSlash(std::string s) {
  if (!s.empty() && s.back() != '/') s += '/';
  return s;
}

std::string WithoutSlash(std::string s) {
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

}  // namespace

tbrowsepage::tbrowsepage(twindowhost& host)
    : host_(host), manager_(std::make_unique<tdiskthumbmanager>(source_, DrawTilePictures())) {
  setObjectName("BrowseSheet");
  auto* lay = new QVBoxLayout(this);
  Label27 = new QLabel;
  Label27->setObjectName("Label27");
  lay->addWidget(Label27);
  auto* filters = new QHBoxLayout;
  FilterCam = new QCheckBox("CAM");
  FilterJpg = new QCheckBox("JPG");
  FilterFolders = new QCheckBox("Folders");
  CheckBox25 = new QCheckBox("Autoload");
  CheckBox25->setObjectName("CheckBox25");
  for (auto* c : {FilterCam, FilterJpg, FilterFolders, CheckBox25}) filters->addWidget(c);
  filters->addStretch();
  RefreshButton = new QPushButton("Refresh");
  RefreshButton->setObjectName("RefreshButton");
  RefreshButton->setToolTip("Refreshes the current directory");
  TodayButton = new QPushButton("Today");
  TodayButton->setObjectName("TodayButton");
  TodayButton->setToolTip("Goes to Today's Autosave directory");
  filters->addWidget(RefreshButton);
  filters->addWidget(TodayButton);
  lay->addLayout(filters);
  auto* speed = new QHBoxLayout;
  SlideShowSpeed = new QSlider(Qt::Horizontal);
  SlideShowSpeed->setObjectName("SlideShowSpeed");
  SlideShowSpeed->setRange(0, tdiskmanrecord::kDelayChoices - 1);
  SlideShowSpeed->setPageStep(1);
  SlideShowSpeed->setTickPosition(QSlider::TicksBelow);
  SlideShowSpeed->setToolTip("Slide show speed");
  speed->addWidget(new QLabel("Slide show speed"));
  speed->addWidget(new QLabel("Slow"));
  speed->addWidget(SlideShowSpeed, 1);
  speed->addWidget(new QLabel("Fast"));
  lay->addLayout(speed);
  auto* split = new QSplitter(Qt::Horizontal);
  auto* left = new QWidget;
  auto* leftLay = new QVBoxLayout(left);
  leftLay->setContentsMargins(0, 0, 0, 0);
  dirModel_ = new tfoldertreemodel(this);
  directoryoutline1 = new QTreeView;
  directoryoutline1->setObjectName("directoryoutline1");
  directoryoutline1->setModel(dirModel_);
  directoryoutline1->header()->hide();
  directoryoutline1->setEnabled(false);
  leftLay->addWidget(directoryoutline1, 1);
  Image1 = new QLabel;
  Image1->setObjectName("Image1");
  Image1->setFrameShape(QFrame::StyledPanel);
  Image1->setFixedSize(132, 84);
  leftLay->addWidget(Image1, 0, Qt::AlignHCenter);
  split->addWidget(left);
  DrawGrid12 = new Tdiskgrid;
  DrawGrid12->setObjectName("DrawGrid12");
  split->addWidget(DrawGrid12);
  split->setStretchFactor(1, 1);
  lay->addWidget(split, 1);
  connect(directoryoutline1, &QTreeView::clicked, this, [this](const QModelIndex& i) {
    std::string folder = WithSlash(dirModel_->filePath(i).toStdString());
    shownFolder_ = folder;
    Label27->setText(Q("  " + folder));
    if (active_) SetFolder(folder);
  });

  grid_ = DrawGrid12;
  grid_->SetManager(manager_.get());
  message = [this](const std::string& text) {
    QMessageBox::information(host_.Window(), "Vantlo", Q(text));
  };
  chooseFolder = [this](const std::string& title) {
    return QFileDialog::getExistingDirectory(host_.Window(), Q(title), Q(manager_->CurrentFolder()))
        .toStdString();
  };
  confirm = [this](const std::string& prompt, const std::string& path) {
    Toverdeldlg dlg(Q(prompt), Q(path), host_.Window());
    switch (dlg.Ask()) {
      case Toverdeldlg::tanswer::yes:
        return tanswer::Yes;
      case Toverdeldlg::tanswer::yesToAll:
        return tanswer::YesToAll;
      default:
        return tanswer::No;
    }
  };
  askRename = [this](std::string& path) {
    prename dlg(path, host_.Window());
    dlg.exec();
    if (dlg.Answer() == prename::Ok) path = dlg.NewPath();
    return static_cast<int>(dlg.Answer());
  };
  runDialog = [](QDialog& dialog) { return dialog.exec(); };
  Hook();
}

tbrowsepage::~tbrowsepage() {
  manager_->StopLoading();
  if (grid_) grid_->SetManager(nullptr);
}

void tbrowsepage::Hook() {
  auto& h = manager_->Hooks();
  h.loadingStarted = [this] {
    host_.Busy().BusyControl(tbusyregister::kDiskThumbnails);
    // A stop request left over from earlier work does not end this run; one
    // made while it runs (the Stop button, closing the window) does.
    stopAtStart_ = host_.StopRequest().IsSet();
    if (!loadQueued_) {
      loadQueued_ = true;
      QTimer::singleShot(0, this, &tbrowsepage::LoadStep);
    }
  };
  h.loadingFinished = [this] {
    host_.Busy().BusyControl(tbusyregister::kDiskThumbnails + 1);
    host_.Progress().ReportPosition(0);
  };
  h.thumbnailMade = [this](int n) {
    grid_->RepaintItem(n);
    const int count = std::max(1, manager_->Count());
    host_.Progress().ReportText("Making thumb", n * 100 / count);
    host_.Progress().ReportPosition(n * 100 / count);
  };
  h.folderChanged = [this] {
    searchResults_ = false;
    RefreshButton->setText("Refresh");
    ShowCaption("  " + WithSlash(manager_->CurrentFolder()));
    ShowTreeFolder(manager_->CurrentFolder());
    FolderShown(WithSlash(manager_->CurrentFolder()));
    grid_->Reshape();
    grid_->verticalScrollBar()->setValue(0);
  };
  h.openPicture = [this] { OpenCurrent(); };
  h.deletePictures = [this] { DeleteSelected(); };
  h.openMovie = [](const std::string& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(Q(path)));
  };
  grid_->activated = [this](tactivation) { grid_->Reshape(); };
  grid_->contextMenu = [this](const QPoint& at) {
    if (menu_) menu_->popup(at);
  };

  connect(CheckBox25, &QCheckBox::toggled, this, [this](bool on) { manager_->SetAutoload(on); });
  for (QCheckBox* c : {FilterCam, FilterJpg, FilterFolders})
    connect(c, &QCheckBox::toggled, this, [this] { ApplyFilters(); });
  connect(RefreshButton, &QPushButton::clicked, this, &tbrowsepage::RefreshClick);
  connect(TodayButton, &QPushButton::clicked, this, &tbrowsepage::TodayClick);
}

void tbrowsepage::LoadStep() {
  loadQueued_ = false;
  if (!stopAtStart_ && host_.StopRequest().IsSet()) manager_->StopLoading();
  bool more = false;
  try {
    more = manager_->LoadNextThumbnail();
  } catch (...) {
    manager_->StopLoading();
    more = manager_->Loading() && manager_->LoadNextThumbnail();
  }
  if (more && !loadQueued_) {
    loadQueued_ = true;
    QTimer::singleShot(0, this, &tbrowsepage::LoadStep);
  }
}

void tbrowsepage::ShowCaption(const std::string& text) { Label27->setText(Q(text)); }

void tbrowsepage::ShowTreeFolder(const std::string& folder) {
  auto* model = qobject_cast<tfoldertreemodel*>(directoryoutline1->model());
  if (!model || folder.empty()) return;
  const QModelIndex index = model->IndexOf(Q(WithoutSlash(folder)));
  if (!index.isValid()) return;
  directoryoutline1->setEnabled(true);
  QSignalBlocker block(directoryoutline1);
  directoryoutline1->setCurrentIndex(index);
  directoryoutline1->scrollTo(index);
}

bool tbrowsepage::SetFolder(const std::string& folder) {
  try {
    manager_->SetFolder(folder);
  } catch (const std::exception& e) {
    message(e.what());
    return false;
  }
  searchResults_ = false;
  RefreshButton->setText("Refresh");
  ShowCaption("  " + WithSlash(manager_->CurrentFolder()));
  FolderShown(WithSlash(manager_->CurrentFolder()));
  ShowTreeFolder(manager_->CurrentFolder());
  grid_->Reshape();
  grid_->verticalScrollBar()->setValue(0);
  return true;
}

void tbrowsepage::Activate() {
  active_ = true;
  manager_->SetActive(true);
  manager_->SetAutoload(CheckBox25->isChecked());
  OpenOutputFolderInTree();
  grid_->Reshape();
}

// The tree opens onto the output folder, where the pictures go, as a file manager opens onto
// the folder the user works in.
void tbrowsepage::OpenOutputFolderInTree() {
  auto* model = qobject_cast<tfoldertreemodel*>(directoryoutline1->model());
  if (!model) return;
  for (QModelIndex i = model->IndexOf(Q(WithoutSlash(DefaultFolder()))); i.isValid();
       i = i.parent())
    directoryoutline1->expand(i);
}

void tbrowsepage::ApplySettings(tsettingsrecords& records) {
  FilterCam->setChecked(records.diskman.ShowCam());
  FilterJpg->setChecked(records.diskman.ShowJpg());
  FilterFolders->setChecked(records.diskman.ShowFolders());
  SlideShowSpeed->setValue(records.diskman.SlideShowDelayIndex());
}

void tbrowsepage::ReadSettings(tsettingsrecords& records) {
  records.diskman.SetShowCam(FilterCam->isChecked());
  records.diskman.SetShowJpg(FilterJpg->isChecked());
  records.diskman.SetShowFolders(FilterFolders->isChecked());
  records.diskman.SetAutoLoad(1);
  records.diskman.SetSlideShowDelayIndex(SlideShowSpeed->value());
  records.extra.SetBrowseFolder(shownFolder_);
}

void tbrowsepage::SetStartFolder(const std::string& folder) {
  shownFolder_ = folder;
  Label27->setText(Q("  " + folder));
}

void tbrowsepage::ShowStartFolderInTree() {
  if (shownFolder_.empty()) return;
  const QModelIndex index = dirModel_->IndexOf(Q(shownFolder_));
  directoryoutline1->setEnabled(true);
  directoryoutline1->setCurrentIndex(index);
  directoryoutline1->scrollTo(index);
}

void tbrowsepage::WindowShown() {
  Activate();
  if (!shownFolder_.empty()) SetFolder(shownFolder_);
}

void tbrowsepage::DeferredStart() { CheckBox25->setChecked(true); }

bool tbrowsepage::PrepareSaveAs() {
  const titemkind item = manager_->Collection().Kind(manager_->CurrentItem());
  if (item == ikJpeg || item == ikCam) return openPicture && openPicture(manager_->CurrentPath());
  if (item == ikAvi) return true;
  QMessageBox::warning(host_.Window(), "Vantlo", "Select a picture to save");
  return false;
}

void tbrowsepage::PageShown() {
  grid_->Reshape();
  grid_->setFocus();
}

void tbrowsepage::ApplyFilters() {
  std::uint8_t flags = 16;
  if (FilterCam->isChecked()) flags |= 1;
  if (FilterJpg->isChecked()) flags |= 2;
  if (FilterFolders->isChecked()) flags |= 4;
  manager_->SetScanFlags(flags);
  grid_->Reshape();
}

void tbrowsepage::AfterChange() {
  manager_->Refresh();
  grid_->Reshape();
}

// The listed folder holds `path`, or a folder right under it (a new daily folder) does.
bool tbrowsepage::ShowsFolderOf(const std::string& path) const {
  const std::string listed = manager_->CurrentFolder();
  if (searchResults_ || listed.empty() || path.empty() || path[0] != '/') return false;
  namespace fs = std::filesystem;
  std::error_code ec;
  // The listed folder is canonical; so must the written file's folders be to compare with it.
  fs::path folder = fs::weakly_canonical(fs::path(path).parent_path(), ec);
  if (ec) return false;
  const bool here = WithSlash(folder.string()) == listed;
  const bool below = WithSlash(folder.parent_path().string()) == listed;
  return here || below;
}

void tbrowsepage::FilesWritten(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    if (!ShowsFolderOf(path)) continue;
    if (auto* model = qobject_cast<tfoldertreemodel*>(directoryoutline1->model())) model->Reread();
    AfterChange();
    return;
  }
}

void tbrowsepage::FileWritten(const std::string& path) {
  if (!ShowsFolderOf(path) || refreshQueued_) return;
  refreshQueued_ = true;
  QTimer::singleShot(0, this, [this] {
    refreshQueued_ = false;
    if (searchResults_) return;
    if (auto* model = qobject_cast<tfoldertreemodel*>(directoryoutline1->model())) model->Reread();
    AfterChange();
  });
}

std::vector<std::string> tbrowsepage::SelectedPictures() const {
  return manager_->SelectedPaths({ikCam, ikJpeg, ikAvi});
}

std::vector<std::string> tbrowsepage::SelectedPaths(std::initializer_list<titemkind> kinds) const {
  return manager_->SelectedPaths(kinds);
}

std::vector<std::string> tbrowsepage::ListedPaths(std::initializer_list<titemkind> kinds) const {
  std::vector<std::string> paths;
  const auto& items = manager_->Collection();
  for (int n = 1; n <= manager_->Count(); ++n)
    for (titemkind k : kinds)
      if (items.Kind(n) == k) {
        paths.push_back(items.Path(n));
        break;
      }
  return paths;
}

void tbrowsepage::SendSelectedFilesByFtp() {
  if (!host_.Busy().BusyControl(tbusyregister::kQuery)) {
    message("Vantlo is busy");
    return;
  }
  host_.CollectSettings();
  // Pictures, movies and any other file the listing shows; a folder cannot be uploaded.
  host_.Internet().SendFiles(manager_->SelectedPaths({ikCam, ikJpeg, ikAvi, ikOther}));
}

tpictureinfo tbrowsepage::InfoOf(int item) const {
  tpictureinfo info;
  info.path = manager_->Collection().Path(item);
  info.thumbnail = ImageFromBitmap(manager_->Thumbnail(item));
  info.camVariant = manager_->CamVariant(item);
  info.width = manager_->PictureWidth(item);
  info.height = manager_->PictureHeight(item);
  return info;
}

void tbrowsepage::OpenCurrent() {
  const std::string path = manager_->CurrentPath();
  if (path.empty()) return;
  if (openPicture)
    openPicture(path);
  else
    message("Opening pictures is not available in this build: " + path);
}

// ---- commands on the selection ----

void tbrowsepage::DeleteSelected() {
  manager_->StopLoading();
  const auto pictures = SelectedPictures();
  if (!pictures.empty()) {
    host_.CollectSettings();  // the confirmations as the Setup pages show them
    const tbatchresult r =
        DeletePictures(pictures, host_.Settings().config.ConfirmDeleteFile(), confirm, ops_);
    for (const auto& f : r.failures) message(f);
    if (r.Changed()) AfterChange();
    return;
  }
  const auto folders = manager_->SelectedPaths({ikFolder});
  if (!folders.empty()) {
    for (const auto& f : folders) {
      std::error_code ec;
      if (!std::filesystem::remove(WithoutSlash(f), ec) || ec)
        message("Cannot delete " + f + " -- folder is not empty");
    }
    auto* model = qobject_cast<tfoldertreemodel*>(directoryoutline1->model());
    if (model) model->Reread();
    AfterChange();
    return;
  }
  message("No Pictures are Selected");
}

void tbrowsepage::CopySelected(bool move) {
  manager_->StopLoading();
  const auto pictures = SelectedPictures();
  if (pictures.empty()) {
    message("No disk pictures are selected");
    return;
  }
  std::string folder =
      chooseFolder(move ? "Move Selected Disk Pictures" : "Copy Selected Disk Pictures");
  if (folder.empty()) return;
  folder = WithoutSlash(folder);
  host_.CollectSettings();
  const tbatchresult r = CopyPictures(pictures, folder, move,
                                      host_.Settings().config.ConfirmOverwrite(), confirm, ops_);
  for (const auto& f : r.failures) message(f);
  if (move && r.Changed()) AfterChange();
}

void tbrowsepage::RenameSelected() {
  manager_->StopLoading();
  const auto pictures = SelectedPictures();
  if (pictures.empty()) {
    message("No disk pictures are selected");
    return;
  }
  bool changed = false;
  for (const auto& old : pictures) {
    std::string path = old;
    const int answer = askRename(path);
    if (answer == 2) break;
    if (answer == 1 || path == old) continue;
    try {
      std::string target = path;
      if (!target.empty() && target.front() != '/')
        target = std::filesystem::path(old).parent_path().string() + "/" + target;
      RenamePicture(old, target, ops_);
      changed = true;
    } catch (const std::exception& e) {
      message(e.what());
      break;
    }
  }
  if (changed) AfterChange();
}

// The output folder; an empty one is the user's Pictures folder.
std::string tbrowsepage::DefaultFolder() const {
  const std::string folder = host_.Settings().config.SaveFolder();
  return folder.empty() ? UserPicturesFolder() : folder;
}

void tbrowsepage::DeleteEmptyFolders() {
  manager_->StopLoading();
  Tdeleteempty dlg(DefaultFolder(), host_.Window());
  runDialog(dlg);
  auto* model = qobject_cast<tfoldertreemodel*>(directoryoutline1->model());
  if (model) model->Reread();
  AfterChange();
}

void tbrowsepage::SlideShow(bool selectedOnly) {
  if (sliding_) return;
  host_.CollectSettings();
  std::vector<std::string> list;
  if (selectedOnly) {
    list = manager_->SelectedPaths({ikCam, ikJpeg});
    if (list.empty()) {
      message("No Pictures are Selected");
      return;
    }
  } else {
    for (int n = 1; n <= manager_->Count(); ++n) {
      const titemkind kind = manager_->Collection().Kind(n);
      if (kind == ikCam || kind == ikJpeg) list.push_back(manager_->Collection().Path(n));
    }
    if (list.empty()) {
      message("No Pictures are Selected");
      return;
    }
  }
  const int delay = host_.Settings().diskman.SlideShowDelayMs();
  sliding_ = true;
  slideStop_ = false;
  closeAfterSlideShow_ = false;
  host_.StopRequest().Clear();
  // Closing the window runs the close from inside this loop's event processing, where it would
  // wait for this very loop to end: MayClose holds the close back, and the window is closed once
  // the show has ended.
  while (!slideStop_ && !host_.StopRequest().IsSet()) {
    manager_->StopLoading();
    tbusyguard guard(host_.Busy(), tbusyregister::kDiskList);
    std::size_t i = 0;
    try {
      while (i < list.size() && !slideStop_) {
        if (openPicture) openPicture(list[i]);
        // Each picture shown goes to the FTP server too when the setting says so (under the
        // slide show's remote name, or its own); a failed upload is told in the status line.
        if (host_.Settings().capdata.SendSlideShowByFtp())
          host_.Internet().SendPicture(list[i], tftpsendkind::SlideShow);
        SlideWait(delay);
        if (slideStep_ < 0)
          i = i == 0 ? list.size() - 1 : i - 1;
        else
          ++i;
        slideStep_ = 0;
      }
    } catch (const std::exception& e) {
      slideStop_ = true;
      message(e.what());
    }
  }
  sliding_ = false;
  host_.StopRequest().Clear();
  if (closeAfterSlideShow_) {
    closeAfterSlideShow_ = false;
    QTimer::singleShot(0, host_.Window(), [w = host_.Window()] { w->close(); });
  }
}

// Waits for the slide's time, Forward, Back or Stop with the window's events running, so the
// Stop button and the close box work at every speed, the fastest (no wait at all) included.
void tbrowsepage::SlideWait(int delay) {
  slideStep_ = 0;
  if (host_.StopRequest().IsSet()) slideStop_ = true;
  if (slideStop_) return;
  QEventLoop wait;
  QTimer timer;
  timer.setSingleShot(true);
  connect(&timer, &QTimer::timeout, &wait, &QEventLoop::quit);
  // The Stop button sets the window's stop request; look at it as events come in.
  QTimer poll;
  connect(&poll, &QTimer::timeout, &wait, [this, &wait] {
    if (host_.StopRequest().IsSet()) {
      slideStop_ = true;
      wait.quit();
    }
  });
  slideWait_ = &wait;
  timer.start(std::max(0, delay));
  poll.start(50);
  wait.exec();
  slideWait_ = nullptr;
  if (host_.StopRequest().IsSet()) slideStop_ = true;
}

void tbrowsepage::EndSlideWait() {
  if (slideWait_) slideWait_->quit();
}

void tbrowsepage::StopSlideShow() {
  slideStop_ = true;
  EndSlideWait();
}

bool tbrowsepage::MayClose() {
  if (!sliding_) return true;
  closeAfterSlideShow_ = true;
  StopSlideShow();
  return false;
}

void tbrowsepage::Back() { Step(-1); }

void tbrowsepage::Forward() { Step(1); }

// The tool bar's "Back" and "Forward": a running slide show only moves on or back; on the Browse
// page the selection moves; with a disk picture shown the selection moves and the picture there is
// opened; otherwise the camera picture before or after the shown one is fetched.
void tbrowsepage::Step(int by) {
  if (sliding_) {
    slideStep_ = by;
    EndSlideWait();
    return;
  }
  const bool onBrowser = host_.BrowsePageShown();
  const tpicturekind shown = host_.PictureView().Document().Kind();
  const bool diskPicture = shown == tpicturekind::JpegFile || shown == tpicturekind::CamFile;
  if (!onBrowser && !diskPicture) {
    if (stepCamera) stepCamera(by);
    return;
  }
  if (by > 0)
    manager_->NextItem();
  else
    manager_->PreviousItem();
  grid_->ShowItem(manager_->CurrentItem());
  grid_->viewport()->update();
  if (!onBrowser) {
    const titemkind item = manager_->Collection().Kind(manager_->CurrentItem());
    if (item == ikJpeg || item == ikCam) OpenCurrent();
  }
}

void tbrowsepage::PictureProperties() {
  if (!host_.BrowsePageShown()) {
    message("Please select a picture on disk using the Browser");
    return;
  }
  const int n = manager_->CurrentItem();
  const titemkind kind = manager_->Collection().Kind(n);
  if (n < 1 || !(kind == ikCam || kind == ikJpeg || kind == ikAvi)) {
    message("Please select a picture");
    return;
  }
  try {
    Teditpicprop dlg(InfoOf(n), host_.Window());
    runDialog(dlg);
  } catch (const std::exception& e) {
    message(e.what());
  }
}

void tbrowsepage::DefineOrientationSelected() {
  const auto cams = manager_->SelectedPaths({ikCam});
  if (cams.empty()) {
    message("Please select one or more CAM files");
    return;
  }
  Tdefineorientation dlg(Q(SelectedCamFilesText(static_cast<int>(cams.size()))), 0, host_.Window());
  if (runDialog(dlg) != QDialog::Accepted) return;
  const tbatchresult r = DefineOrientation(cams, static_cast<std::uint32_t>(dlg.Orientation()));
  for (const auto& f : r.failures) message(f);
}

void tbrowsepage::CompressDatabase() {
  std::string root = manager_->CurrentFolder();
  if (root.empty()) root = DefaultFolder();
  Ttidydb dlg(root, host_.Window());
  runDialog(dlg);
}

void tbrowsepage::FindPictures() {
  std::string start = manager_->CurrentFolder();
  if (start.empty()) start = DefaultFolder();
  Tfindpics dlg(start, host_.Window());
  if (runDialog(dlg) != QDialog::Accepted || dlg.Results().empty()) return;
  manager_->StopLoading();
  try {
    manager_->LoadFileList(dlg.Results());
  } catch (const std::exception& e) {
    message(e.what());
  }
  searchResults_ = true;
  RefreshButton->setText("<Disk>");
  ShowCaption(" Search Results");
  grid_->Reshape();
}

void tbrowsepage::AddKeywords() {
  const auto pictures = SelectedPictures();
  if (pictures.empty()) {
    message("Please select a picture");
    return;
  }
  Taddkeywords dlg(static_cast<int>(pictures.size()), host_.Window());
  if (runDialog(dlg) != QDialog::Accepted) return;
  std::vector<std::string> lines;
  for (auto& l : dlg.Lines())
    if (!l.empty()) lines.push_back(l);
  if (lines.empty()) return;
  const taddkeywordsresult r = AddKeywordsToPictures(pictures, lines);
  for (const auto& f : r.failed) message(f);
}

void tbrowsepage::RefreshClick() {
  auto* model = qobject_cast<tfoldertreemodel*>(directoryoutline1->model());
  if (searchResults_) {
    searchResults_ = false;
    RefreshButton->setText("Refresh");
    std::string folder;
    if (model && directoryoutline1->currentIndex().isValid())
      folder = model->filePath(directoryoutline1->currentIndex()).toStdString();
    if (folder.empty()) folder = DefaultFolder();
    manager_->SetFolder("");
    SetFolder(folder);
  } else {
    manager_->Refresh();
    grid_->Reshape();
  }
  if (model) model->Reread();
}

void tbrowsepage::TodayClick() {
  host_.CollectSettings();
  tnamingsettings naming = NamingSettingsFrom(host_.Settings());
  std::string folder;
  try {
    folder = tfilenamer(naming).Folder();
  } catch (const std::exception& e) {
    message(e.what());
    return;
  }
  if (SetFolder(folder)) ShowTreeFolder(manager_->CurrentFolder());
}

void tbrowsepage::AddMenuCommands(const twindowmenus& menus) {
  menu_ = menus.Menu("&Disk");
  menu_->setObjectName("DiskMenu");
  auto add = [this](const QString& text, auto fn) { return menu_->addAction(text, this, fn); };
  add("&Find...", [this] { FindPictures(); });
  add("Picture &Properties...", [this] { PictureProperties(); });
  add("Add &Keywords to Selected Pictures...", [this] { AddKeywords(); });
  add("Define &Orientation For Selected CAM Files...", [this] { DefineOrientationSelected(); });
  add("Compress Properties &Database...", [this] { CompressDatabase(); });
  menu_->addSeparator();
  add("Delete Selected D&isk Pictures", [this] { DeleteSelected(); });
  add("Copy Se&lected Disk Pictures...", [this] { CopySelected(false); });
  add("Mo&ve Selected Disk Pictures...", [this] { CopySelected(true); });
  add("&Rename Selected Disk Pictures...", [this] { RenameSelected(); });
  add("Delete Empty Folders", [this] { DeleteEmptyFolders(); });
  menu_->addSeparator();
  add("Slide Show - Selected Disk Pictures", [this] { SlideShow(true); });
  add("Slide Show - All Disk Pictures", [this] { SlideShow(false); });
  add("Stop Slide Show", [this] { StopSlideShow(); });
  menu_->addSeparator();
  add("Select &All", [this] {
    manager_->SelectAll();
    grid_->viewport()->update();
  });
  add("Select &None", [this] {
    manager_->SelectNone();
    grid_->viewport()->update();
  });
  add("&Invert Selection", [this] {
    manager_->InvertSelection();
    grid_->viewport()->update();
  });
  menu_->addSeparator();
  FtpSendAction = menu_->addAction("Send Selected Files using FTP...", this,
                                   [this] { SendSelectedFilesByFtp(); });
  if (QToolBar* bar = menus.toolBar) {
    QAction* back = bar->addAction("Back", this, [this] { Back(); });
    back->setToolTip("Previous Picture");
    QAction* fwd = bar->addAction("Forward", this, [this] { Forward(); });
    fwd->setToolTip("Next Picture");
  }
}

}  // namespace vantlo
