#include "camerapictures.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QThread>

#include "app/busyregister.h"
#include "app/cameralink.h"
#include "app/core/saveasworkflow.h"
#include "app/core/settingsrecords.h"
#include "app/core/thumbmanager.h"
#include "app/createdfolders.h"
#include "app/progressreport.h"
#include "camera/qv10int.h"
#include "cameragrid.h"
#include "caponpicdlg.h"
#include "confirmdelete.h"
#include "library/diskthumbmanager.h"
#include "library/pictureproperties.h"
#include "pictureview.h"
#include "showpicnum.h"
#include "tilepictures.h"
#include "windowhost.h"
#include "windowpage.h"

namespace vantlo {

namespace {}  // namespace

tcamerapictures::tcamerapictures(twindowhost& host, QTableWidget* grid, QWidget* folderPanel,
                                 QComboBox* folders, QObject* parent)
    : QObject(parent),
      Panel10(folderPanel),
      ComboBox5(folders),
      host_(host),
      overwrite_(host.Window()),
      captionPrompt_(host.Window()) {
  grid_ = new tcameragrid(grid);
  grid_->CellAt = [this](int n) { return CellOf(n); };
  grid_->OnClick = [this](int n, Qt::KeyboardModifiers m) { DrawGrid11Click(n, m); };
  grid_->OnDoubleClick = [this](int n) { DrawGrid11DblClick(n); };
  grid_->OnPointerOver = [this](int n) { host_.StatusText(" " + std::to_string(n)); };
  grid_->OnDeleteKey = [this] {
    if (host_.Busy().BusyControl(tbusyregister::kQuery)) DeleteSelec1Click(false);
  };
  grid_->OnSelectAllKey = [this] { SelectAll1Click(); };

  connect(ComboBox5, &QComboBox::activated, this, [this] { ComboBox5Change(); });
}

tcamerapictures::~tcamerapictures() = default;

tqvProtocolEngine* tcamerapictures::Engine() {
  tcameralink* link = host_.CameraLink();
  return link ? link->Engine() : nullptr;
}

tthumbmanager* tcamerapictures::Manager() {
  EnsureWorkflow();
  return manager_;
}

bool tcamerapictures::EnsureWorkflow() {
  // Every camera command starts here: a port that would not open is tried again first.
  // Without the engine (freed by the close) there is nothing to work on.
  tcameralink* link = host_.CameraLink();
  if (!link) return false;
  link->ReopenIfClosed();
  if (workflow_) return true;
  tqvProtocolEngine* engine = Engine();
  manager_ = host_.CameraThumbnails();
  if (!engine || !manager_) return false;
  manager_->OnThumbnail = [this](int n, bool& stop) { OnThumbnail(n, stop); };
  SyncFromSettings();
  namer_ = std::make_unique<tfilenamer>(naming_, clock_);
  namer_->SetFolderCreated([this](const std::string& f) { host_.CreatedFolders().NoteCreated(f); });
  tfetchhost host;
  host.progress = [this](int position, const std::string& text, int n) {
    host_.Progress().ReportPosition(position);
    host_.Progress().ReportText(text, n);
  };
  host.stopRequested = [this] {
    QApplication::processEvents();
    return host_.StopRequest().IsSet();
  };
  host.message = [this](tmessagekind kind, const std::string& text) { Message(kind, text); };
  host.show = [this](const tshownpicture& p) { ShowFetched(p); };
  host.overwrite = &overwrite_;
  host.captionPrompt = &captionPrompt_;
  host.confirmDelete = [this](int n, bool& alwaysAsk) {
    Tconfirmdelete dlg(CellOf(n), alwaysAsk, host_.Window());
    const bool yes = dlg.Confirm();
    alwaysAsk = dlg.AlwaysAsk();
    return yes;
  };
  host.confirm = [this](const std::string& text) {
    return QMessageBox::question(host_.Window(), "Vantlo", QString::fromStdString(text),
                                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel) ==
           QMessageBox::Yes;
  };
  host.onConfirmOverwriteOff = [this] { ConfirmOverwriteOff(); };
  workflow_ = std::make_unique<tfetchworkflow>(*engine, *manager_, *namer_, saveOptions_,
                                               fetchSettings_, host, clock_);
  return true;
}

void tcamerapictures::Message(tmessagekind kind, const std::string& text) {
  // A lost connection on a port that would not open says what is wrong with the port.
  tcameralink* link = host_.CameraLink();
  const QString t = QString::fromStdString(
      kind == tmessagekind::error && link ? CameraFailureText(*link, text) : text);
  if (kind == tmessagekind::information) {
    host_.ShowPage(1);
    QMessageBox::information(host_.Window(), "Vantlo", t);
  } else if (kind == tmessagekind::warning) {
    QMessageBox::warning(host_.Window(), "Vantlo", t);
  } else {
    QMessageBox::critical(host_.Window(), "Vantlo", t);
  }
}

void tcamerapictures::FilesWritten(const std::vector<std::string>& paths) {
  if (!paths.empty()) host_.FilesWritten(paths);
}

void tcamerapictures::ConfirmOverwriteOff() {
  // "Yes to All": the Saving page shows the confirmation off at once.
  host_.Settings().config.SetConfirmOverwrite(false);
  host_.SettingsChanged();
}

void tcamerapictures::SyncFromSettings() {
  host_.CollectSettings();
  const tsettingsrecords& r = host_.Settings();
  naming_ = NamingSettingsFrom(r);
  saveOptions_ = SaveOptionsFrom(r.config);
  fetchSettings_ = FetchSettingsFrom(r);
}

void tcamerapictures::SyncToSettings() {
  tsettingsrecords& r = host_.Settings();
  StoreNamingSettings(naming_, r);
  StoreSaveOptions(saveOptions_, r.config);
  r.config.SetConfirmDeleteFromCamera(fetchSettings_.askBeforeDelete);
  host_.SettingsChanged();
}

int tcamerapictures::Count() const { return manager_ ? manager_->Count() : 0; }

int tcamerapictures::CurrentPicture() const { return workflow_ ? workflow_->CurrentPicture() : 0; }

tcameracell tcamerapictures::CellOf(int n) const {
  tcameracell cell;
  cell.number = n;
  cell.exists = n >= 1 && n <= Count();
  if (!cell.exists) return cell;
  cell.selected = selection_.IsSelected(n);
  if (const tbitmap* thumb = manager_->Thumbnail(n)) {
    cell.loaded = true;
    cell.thumbnail = ImageFromBitmap(*thumb);
    cell.movie = manager_->MovieFlag(n);
    cell.fine = manager_->FineFlag(n);
  }
  return cell;
}

void tcamerapictures::ShowError(const std::exception& e) {
  QApplication::restoreOverrideCursor();
  host_.Progress().ReportText("Ready", 0);
  Message(tmessagekind::error, e.what());
}

bool tcamerapictures::Query() { return host_.Busy().BusyControl(tbusyregister::kQuery); }

void tcamerapictures::SetRows() {
  const int count = manager_->RefreshCount();
  if (!manager_->CountMessage().empty())
    QMessageBox::warning(host_.Window(), "Vantlo",
                         QString::fromStdString(manager_->CountMessage()));
  grid_->SetPictureCount(count);
}

void tcamerapictures::ReadFolderList() {
  tqvProtocolEngine* engine = Engine();
  if (!foldersRead_) {
    foldersRead_ = true;
    if (engine->HasFileSystem()) {
      std::vector<std::string> folders;
      engine->ListFolders(folders);
      ComboBox5->clear();
      for (const auto& f : folders) ComboBox5->addItem(QString::fromStdString(f));
      if (ComboBox5->count() > 0) ComboBox5->setCurrentIndex(0);
    }
  }
  const bool folders = ComboBox5->count() > 0;
  Panel10->setVisible(folders && host_.ShownPage() == 1);
  if (folders) {
    cameraFolder_ = ComboBox5->currentText().toStdString();
    engine->ChangeFolder(cameraFolder_);
  }
}

void tcamerapictures::OnThumbnail(int n, bool& stop) {
  grid_->RedrawPicture(n);
  const int count = manager_->Count();
  if (count > 0) host_.Progress().ReportPosition(n * 100 / count);
  if (saveOptions_.saveThumbnails) {
    if (const tbitmap* thumb = manager_->Thumbnail(n)) {
      try {
        namer_->EnsureDailyFolder();
        TJPEGImage picture;
        picture.Assign(*thumb);
        const tjpegsettings jpeg{fetchSettings_.jpegQuality, fetchSettings_.progressive};
        tpicturesaver saver(*namer_, saveOptions_, &overwrite_, [this] { ConfirmOverwriteOff(); });
        FilesWritten(saver.SaveThumbnail(n, [&] { return PictureJpegBytes(picture, jpeg); }).saved);
      } catch (const std::exception& e) {
        QMessageBox::critical(host_.Window(), "Vantlo", QString::fromStdString(e.what()));
        stop = true;
        return;
      }
    }
  }
  if (n < count)
    host_.StatusText(" Fetching thumbnail " + std::to_string(n + 1) + " of " +
                     std::to_string(count));
  QApplication::processEvents();
  if (host_.StopRequest().IsSet()) stop = true;
}

void tcamerapictures::ShowThumbnails1Click() {
  host_.ShowPage(1);
  if (!EnsureWorkflow()) return;
  tbusyguard guard(host_.Busy(), tbusyregister::kThumbnails);
  if (!guard.Granted()) return;
  try {
    SyncFromSettings();
    ReadFolderList();
    grid_->SetPictureCount(0);
    SetRows();
    host_.StatusText(" Fetching thumbnails");
    QApplication::processEvents();
    manager_->FetchAllThumbnails();
  } catch (const std::exception& e) {
    ShowError(e);
  }
  SyncToSettings();
  grid_->RedrawAll();
}

void tcamerapictures::ShowSelectedThumbnails1Click() {
  if (!EnsureWorkflow()) return;
  tbusyguard guard(host_.Busy(), tbusyregister::kThumbnails);
  if (!guard.Granted()) return;
  try {
    SyncFromSettings();
    SetRows();
    const auto chosen = selection_.Selected(Count());
    if (chosen.empty()) {
      host_.ShowPage(1);
      grid_->RedrawAll();
      QMessageBox::information(host_.Window(), "Vantlo", tfetchworkflow::kSelectToDisplay);
      return;
    }
    for (int n : chosen) {
      QApplication::processEvents();
      if (host_.StopRequest().IsSet()) break;
      manager_->FetchThumbnail(n);
      QApplication::processEvents();
      if (host_.StopRequest().IsSet()) break;
    }
  } catch (const std::exception& e) {
    ShowError(e);
  }
  SyncToSettings();
  grid_->RedrawAll();
}

bool tcamerapictures::RunPictures(const std::function<tfetchresult()>& body) {
  if (!EnsureWorkflow()) return false;
  tbusyguard guard(host_.Busy(), tbusyregister::kPictures);
  if (!guard.Granted()) return false;
  QApplication::setOverrideCursor(Qt::BusyCursor);
  try {
    SyncFromSettings();
    SetRows();
    lastResult_ = body();
  } catch (const std::exception& e) {
    ShowError(e);
    SyncToSettings();
    return false;
  }
  FilesWritten(lastResult_.saved);
  QApplication::restoreOverrideCursor();
  SyncToSettings();
  grid_->RedrawAll();
  return lastResult_.failed.empty();
}

bool tcamerapictures::RunOnWorkflow(
    const std::function<tfetchresult(tfetchworkflow&, const tcameraselection&)>& body) {
  return RunPictures([&] { return body(*workflow_, selection_); });
}

void tcamerapictures::ShowPictures1Click() {
  if (host_.BrowsePageShown() && showBrowsePicture) {
    showBrowsePicture();
    return;
  }
  if (host_.ShownPage() != 1) {
    QMessageBox::warning(host_.Window(), "Vantlo",
                         "Please select a disk or camera picture to show");
    return;
  }
  const int n = grid_->CurrentNumber();
  RunPictures([&] { return workflow_->FetchCurrent(n); });
}

void tcamerapictures::ShowAllPictures1Click() {
  RunPictures([&] { return workflow_->FetchAll(); });
}

void tcamerapictures::ShowSelectedPictures1Click() {
  RunPictures([&] {
    if (selection_.Selected(Count()).empty()) {
      host_.ShowPage(1);
      grid_->RedrawAll();
    }
    return workflow_->FetchSelected(selection_);
  });
}

void tcamerapictures::PicturebyNumber1Click() {
  if (!EnsureWorkflow()) return;
  tbusyguard guard(host_.Busy(), tbusyregister::kPictures);
  if (!guard.Granted()) return;
  try {
    SyncFromSettings();
    SetRows();
    if (Count() == 0) {
      QMessageBox::warning(host_.Window(), "Vantlo", tfetchworkflow::kMemoryEmpty);
      return;
    }
    Tshowpicnum dlg(*host_.CameraLink(), Count(), host_.Window());
    int chosen = 0;
    dlg.SetFetch([&](int n) { chosen = n; });
    dlg.exec();
    if (chosen > 0) {
      QApplication::setOverrideCursor(Qt::BusyCursor);
      lastResult_ = workflow_->FetchByNumber(chosen);
      QApplication::restoreOverrideCursor();
      FilesWritten(lastResult_.saved);
    }
  } catch (const std::exception& e) {
    ShowError(e);
  }
  SyncToSettings();
  grid_->RedrawAll();
}

void tcamerapictures::NextPicture() {
  if (!Query() || !EnsureWorkflow()) return;
  if (shownKind_ != tshownkind::none && shownKind_ != tshownkind::cameraPicture &&
      shownKind_ != tshownkind::moviePreview)
    return;
  const int next = CurrentPicture() + 1;
  RunPictures([&] {
    if (next >= 1 && next <= Count()) return workflow_->FetchPicture(next);
    return tfetchresult{};
  });
}

void tcamerapictures::PreviousPicture() {
  if (!Query() || !EnsureWorkflow()) return;
  if (shownKind_ != tshownkind::cameraPicture && shownKind_ != tshownkind::moviePreview) return;
  const int previous = CurrentPicture() - 1;
  RunPictures([&] {
    if (previous >= 1 && previous <= Count()) return workflow_->FetchPicture(previous);
    return tfetchresult{};
  });
}

void tcamerapictures::SelectedPictureonCameraDisplay1Click() {
  if (!Query() || !EnsureWorkflow()) return;
  try {
    const int lowest = selection_.Selected().empty() ? 0 : selection_.Selected().front();
    if (lowest == 0 || lowest > manager_->RefreshCount()) {
      QMessageBox::warning(host_.Window(), "Vantlo", "Select a Camera Thumbnail to display");
      return;
    }
    host_.CameraLink()->SelectPicture(lowest);
  } catch (const std::exception& e) {
    ShowError(e);
  }
}

void tcamerapictures::TakePicture1Click() {
  if (!Query() || !EnsureWorkflow()) return;
  try {
    const int count = workflow_->TakePicture();
    QApplication::processEvents();
    grid_->SetPictureCount(count);
    SetRows();
  } catch (const std::exception& e) {
    ShowError(e);
  }
}

void tcamerapictures::DeleteSelec1Click(bool checkBattery) {
  if (!Query() || !EnsureWorkflow()) return;
  try {
    SyncFromSettings();
    SetRows();
    if (selection_.Selected(Count()).empty()) {
      host_.ShowPage(1);
      grid_->RedrawAll();
    }
    lastResult_ = workflow_->DeleteSelected(selection_, checkBattery);
  } catch (const std::exception& e) {
    ShowError(e);
  }
  SyncToSettings();
  try {
    SetRows();
  } catch (const std::exception&) {
    grid_->RedrawAll();
  }
}

void tcamerapictures::DeleteAllPictures1Click() {
  if (!Query() || !EnsureWorkflow()) return;
  try {
    workflow_->DeleteAll();
  } catch (const std::exception& e) {
    ShowError(e);
  }
  grid_->SetPictureCount(Count());
}

void tcamerapictures::SelectAll1Click() {
  selection_.SelectAll(Count());
  grid_->RedrawAll();
}

void tcamerapictures::SelectNone1Click() {
  selection_.SelectNone();
  grid_->RedrawAll();
}

void tcamerapictures::InvertSelection1Click() {
  selection_.Invert(Count());
  grid_->RedrawAll();
}

void tcamerapictures::ComboBox5Change() {
  if (!EnsureWorkflow()) return;
  if (!Query()) {
    // A load or fetch is using the camera: its grid and folder stay as they are.
    const int index = ComboBox5->findText(QString::fromStdString(cameraFolder_));
    if (index >= 0) ComboBox5->setCurrentIndex(index);
    host_.StatusText(" Program is busy");
    return;
  }
  try {
    manager_->Clear();
    grid_->SetPictureCount(0);
  } catch (const std::exception& e) {
    ShowError(e);
    return;
  }
  ShowThumbnails1Click();
}

void tcamerapictures::DrawGrid11Click(int n, Qt::KeyboardModifiers modifiers) {
  if (!Query() || n < 1 || n > Count()) return;
  tgridclicks::tclick how = tgridclicks::tclick::plain;
  if (modifiers & Qt::ControlModifier)
    how = tgridclicks::tclick::ctrl;
  else if (modifiers & Qt::ShiftModifier)
    how = tgridclicks::tclick::shift;
  for (int changed : clicks_.Click(selection_, n, how)) grid_->RedrawPicture(changed);
  if (how == tgridclicks::tclick::plain && manager_ && !manager_->HasThumbnail(n)) {
    try {
      host_.CameraLink()->SelectPicture(n);
    } catch (const std::exception& e) {
      ShowError(e);
    }
  }
}

void tcamerapictures::DrawGrid11DblClick(int n) {
  if (!Query() || !EnsureWorkflow() || n < 1 || n > Count()) return;
  if (manager_->HasThumbnail(n)) {
    RunPictures([&] { return workflow_->FetchPicture(n); });
    return;
  }
  tbusyguard guard(host_.Busy(), tbusyregister::kThumbnails);
  if (!guard.Granted()) return;
  try {
    manager_->FetchThumbnail(n);
  } catch (const std::exception& e) {
    ShowError(e);
  }
  grid_->RedrawPicture(n);
}

void tcamerapictures::ShowFetched(const tshownpicture& picture) {
  shown_ = picture;
  shownKind_ = picture.kind;
  // The picture view of the Picture page shows it at the chosen zoom; "Redisplay" fetches the
  // camera picture again.
  const bool movie = picture.kind == tshownkind::moviePreview;
  host_.PictureView().ShowPicture(
      picture.image, picture.description, movie ? tpicturekind::Other : tpicturekind::Camera, {},
      picture.correctionStrength >= 0 ? &picture.uncorrected : nullptr, picture.sizeBytes);
  // Fetching again for "Redisplay" and the resize shows the picture as it came from the camera;
  // its files were saved by the first fetch and are not written (or asked about) again.
  host_.PictureView().Refetch = [this, n = picture.number] {
    if (!EnsureWorkflow() || n < 1) return false;
    return RunPictures([&] { return workflow_->RedisplayPicture(n); }) && CurrentPicture() == n;
  };
  host_.ShowPicturePage();
  host_.SetCurrentPicture(picture.description, picture.sizeBytes);
  QApplication::processEvents();
}

namespace {

// The save dialog of "Save As". The default suffix follows the filter shown when the name is
// accepted, so the name the dialog returns is the final one; the overwrite question for that
// name is the program's own (the "Overwriting file" rule), not the dialog's.
class tsaveasdialog : public QFileDialog {
 public:
  tsaveasdialog(QWidget* parent, const QString& title, const QString& folder)
      : QFileDialog(parent, title, folder) {
    setAcceptMode(QFileDialog::AcceptSave);
    setOption(QFileDialog::DontConfirmOverwrite);
    QStringList filters;
    for (const auto& info : kSaveAsFilters) filters << info.name;
    setNameFilters(filters);
    connect(this, &QFileDialog::filterSelected, this, [this] { FollowFilter(); });
  }
  void SelectFilter(tsaveasfilter filter) {
    selectNameFilter(SaveAsFilterInfo(filter).name);
    FollowFilter();
  }
  void accept() override {
    FollowFilter();
    QFileDialog::accept();
  }

 private:
  void FollowFilter() {
    const auto filter = SaveAsFilterNamed(selectedNameFilter().toStdString());
    setDefaultSuffix(filter ? SaveAsFilterInfo(*filter).suffix : QString());
  }
};

}  // namespace

tsaveassubject tcamerapictures::SaveAsSubject() {
  const tpicturedocument& doc = host_.PictureView().Document();
  tsaveassubject subject;
  subject.picture = &doc.Picture();
  switch (doc.Kind()) {
    case tpicturekind::Camera:
      if (EnsureWorkflow()) {
        subject.kind = tshownkind::cameraPicture;
        subject.number = shown_.number;
        subject.camData = [this, n = shown_.number] { return manager_->CamFileBytes(n); };
      }
      break;
    case tpicturekind::JpegFile:
      subject.kind = tshownkind::jpegFile;
      subject.openedFile = doc.Path();
      break;
    case tpicturekind::CamFile:
      subject.kind = tshownkind::camFile;
      subject.openedFile = doc.Path();
      break;
    case tpicturekind::Other:
      if (const std::optional<long> sheet =
              shownContactSheet ? shownContactSheet() : std::nullopt) {
        subject.kind = tshownkind::contactSheet;
        subject.number = *sheet;
      } else if (shownKind_ == tshownkind::moviePreview && !shown_.movieData.empty()) {
        subject.kind = tshownkind::moviePreview;
        subject.number = shown_.number;
        subject.movieData = &shown_.movieData;
      }
      break;
    default:
      break;
  }
  return subject;
}

void tcamerapictures::Other1Click() {
  if (!Query()) return;
  // On the Browse page the selected item decides: a picture file is opened first and becomes the
  // shown picture, a movie file keeps the shown picture, anything else cannot be saved.
  if (host_.BrowsePageShown() && prepareBrowseSaveAs && !prepareBrowseSaveAs()) return;
  const tsaveassubject subject = SaveAsSubject();
  try {
    SyncFromSettings();
    tfilenamer namer(naming_, clock_);
    namer.SetFolderCreated([this](const std::string& f) { host_.CreatedFolders().NoteCreated(f); });
    tsaveasworkflow saveAs(namer, saveOptions_, &overwrite_, [this] { ConfirmOverwriteOff(); });
    const std::optional<std::string> proposal = saveAs.Proposal(subject);
    if (!proposal) {
      QMessageBox::warning(host_.Window(), "Vantlo", tsaveasworkflow::kNothingToSave);
      return;
    }
    namer.EnsureDailyFolder();
    tsaveasdialog dlg(host_.Window(), "Save Picture As", QString::fromStdString(namer.Folder()));
    dlg.SelectFilter(tsaveasworkflow::InitialFilter(subject.kind));
    dlg.selectFile(QString::fromStdString(*proposal));
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) {
      SyncToSettings();
      return;
    }
    const tsaveasresult result = saveAs.Save(
        subject, dlg.selectedFiles().front().toStdString(), dlg.selectedNameFilter().toStdString(),
        {fetchSettings_.jpegQuality, fetchSettings_.progressive});
    SyncToSettings();
    FilesWritten(result.saved);
    if (!result.message.empty()) Message(result.messageKind, result.message);
  } catch (const std::exception& e) {
    SyncToSettings();
    ShowError(e);
  }
}

void tcamerapictures::Captions1Click(bool webcam) {
  host_.CollectSettings();
  const tcaptionkind kind = webcam ? tcaptionkind::Webcam : tcaptionkind::Interactive;
  Tcaponpicdlg dlg(host_.Settings().capdata.Caption(kind), host_.Window(), clock_);
  if (dlg.exec() == QDialog::Accepted) host_.Settings().capdata.SetCaption(kind, dlg.Record());
}

}  // namespace vantlo

namespace vantlo {

void tcamerapictures::AddMenuCommands(const twindowmenus& menus) {
  auto stepBy = [this](int by) {
    if (step)
      step(by);
    else if (by > 0)
      NextPicture();
    else
      PreviousPicture();
  };

  QMenu* file = menus.Menu("&File");
  QAction* saveAs = new QAction("Save &As...", file);
  saveAs->setShortcut(QKeySequence("Ctrl+S"));
  connect(saveAs, &QAction::triggered, this, &tcamerapictures::Other1Click);
  file->insertAction(file->actions().isEmpty() ? nullptr : file->actions().first(), saveAs);

  QMenu* pictures = menus.Menu("&Pictures");
  pictures->addAction("Camera &Thumbnails", this, &tcamerapictures::ShowThumbnails1Click);
  pictures->addAction("Show Selected Camera Thumbnails", this,
                      &tcamerapictures::ShowSelectedThumbnails1Click);
  pictures->addSeparator();
  pictures->addAction("&All Camera Pictures", this, &tcamerapictures::ShowAllPictures1Click);
  pictures->addAction("Se&lected Camera Pictures", this,
                      &tcamerapictures::ShowSelectedPictures1Click);
  pictures->addAction("Camera Picture by N&umber...", this,
                      &tcamerapictures::PicturebyNumber1Click);
  // The same steps as the tool bar's "Forward" and "Back" (slide show, disk browser, camera).
  pictures->addAction("&Next Picture", this, [stepBy] { stepBy(1); });
  pictures->addAction("P&revious Picture", this, [stepBy] { stepBy(-1); });
  pictures->addSeparator();
  pictures->addAction("&Take Picture", this, &tcamerapictures::TakePicture1Click);
  pictures->addAction("&Delete Selected Camera Pictures", this,
                      [this] { DeleteSelec1Click(true); });
  pictures->addAction("Delete &All Camera Pictures", this,
                      &tcamerapictures::DeleteAllPictures1Click);
  pictures->addSeparator();
  pictures->addAction("Picture &Captions...", this, [this] { Captions1Click(false); });
  pictures->addAction("Vantlo Captions...", this, [this] { Captions1Click(true); });
  pictures->addSeparator();
  QMenu* select = pictures->addMenu("&Select");
  select->addAction("&All Pictures", this, &tcamerapictures::SelectAll1Click);
  select->addAction("&No Pictures", this, &tcamerapictures::SelectNone1Click);
  select->addAction("&Invert Selection", this, &tcamerapictures::InvertSelection1Click);

  if (QMenu* thumbs = menus.thumbnails) {
    thumbs->clear();
    thumbs->addAction("Show All Camera Thumbnails", this, &tcamerapictures::ShowThumbnails1Click);
    thumbs->addAction("Show Selected Camera Thumbnails", this,
                      &tcamerapictures::ShowSelectedThumbnails1Click);
    thumbs->addSeparator();
    thumbs->addAction("Select All", this, &tcamerapictures::SelectAll1Click);
    thumbs->addAction("Select None", this, &tcamerapictures::SelectNone1Click);
    thumbs->addAction("Invert Selection", this, &tcamerapictures::InvertSelection1Click);
    thumbs->addSeparator();
    thumbs->addAction("Selected Thumbnail on Camera Display", this,
                      &tcamerapictures::SelectedPictureonCameraDisplay1Click);
    thumbs->addAction("Take Picture", this, &tcamerapictures::TakePicture1Click);
    thumbs->addAction("Delete Selected Pictures", this, [this] { DeleteSelec1Click(true); });
    thumbs->addAction("Delete All Pictures", this, &tcamerapictures::DeleteAllPictures1Click);
  }
  if (QMenu* show = menus.show) {
    show->clear();
    show->addAction("Picture", this, &tcamerapictures::ShowPictures1Click);
    show->addAction("All Camera Pictures", this, &tcamerapictures::ShowAllPictures1Click);
    show->addAction("Selected Camera Pictures", this, &tcamerapictures::ShowSelectedPictures1Click);
    show->addAction("Camera Picture by Number...", this, &tcamerapictures::PicturebyNumber1Click);
    show->addSeparator();
    show->addAction("Forward", this, [stepBy] { stepBy(1); });
    show->addAction("Back", this, [stepBy] { stepBy(-1); });
  }
}

}  // namespace vantlo
