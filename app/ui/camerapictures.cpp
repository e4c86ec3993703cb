#include "camerapictures.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QThread>
#include <filesystem>

#include "app/core/saveasworkflow.h"
#include "app/core/settingsrecords.h"
#include "app/core/thumbmanager.h"
#include "browsepage.h"
#include "camera/qv10int.h"
#include "cameragrid.h"
#include "caponpicdlg.h"
#include "confirmdelete.h"
#include "form1.h"
#include "library/diskthumbmanager.h"
#include "library/pictureproperties.h"
#include "pictureview.h"
#include "savingpage.h"
#include "showpicnum.h"

namespace vantlo {

namespace {

QImage ToImage(const tbitmap& b) {
  if (b.Empty() || b.Format() != PixelFormat::pf24bit) return {};
  QImage q(b.Width(), b.Height(), QImage::Format_BGR888);
  for (int y = 0; y < b.Height(); ++y) std::copy_n(b.ScanLine(y), b.RowBytes(), q.scanLine(y));
  return q;
}

}  // namespace

tcamerapictures::tcamerapictures(TForm1& form, tsavingpage* savingPage)
    : QObject(&form),
      form_(form),
      savingPage_(savingPage),
      overwrite_(&form),
      captionPrompt_(&form) {
  grid_ = new tcameragrid(form.DrawGrid11);
  grid_->CellAt = [this](int n) { return CellOf(n); };
  grid_->OnClick = [this](int n, Qt::KeyboardModifiers m) { DrawGrid11Click(n, m); };
  grid_->OnDoubleClick = [this](int n) { DrawGrid11DblClick(n); };
  grid_->OnPointerOver = [this](int n) { form_.Label1->setText(" " + QString::number(n)); };
  grid_->OnDeleteKey = [this] {
    if (form_.BusyControl(tbusyregister::kQuery)) DeleteSelec1Click(false);
  };
  grid_->OnSelectAllKey = [this] { SelectAll1Click(); };

  // The folder choice above the grid, for cameras that keep their pictures in folders.
  Panel10 = new QWidget;
  Panel10->setObjectName("Panel10");
  auto* pl = new QHBoxLayout(Panel10);
  pl->setContentsMargins(0, 0, 0, 0);
  ComboBox5 = new QComboBox;
  ComboBox5->setObjectName("ComboBox5");
  pl->addWidget(ComboBox5, 1);
  Panel10->hide();
  if (auto* lay = qobject_cast<QBoxLayout*>(form.TabSheet1->layout()))
    lay->insertWidget(0, Panel10);
  connect(ComboBox5, &QComboBox::activated, this, [this] { ComboBox5Change(); });
}

tcamerapictures::~tcamerapictures() = default;

tqvProtocolEngine* tcamerapictures::Engine() {
  return form_.HasCameraLink() ? form_.Camera().Engine() : nullptr;
}

tthumbmanager* tcamerapictures::Manager() {
  EnsureWorkflow();
  return manager_.get();
}

bool tcamerapictures::EnsureWorkflow() {
  // Every camera command starts here: a port that would not open is tried again first.
  if (form_.HasCameraLink()) form_.Camera().ReopenIfClosed();
  if (workflow_) return true;
  tqvProtocolEngine* engine = Engine();
  if (!engine) return false;
  manager_ =
      std::make_unique<tthumbmanager>(*engine, *engine, form_.Settings().config.CacheFolder());
  form_.Settings().config.SetCacheFolder(manager_->CacheFolderSetting());
  manager_->OnThumbnail = [this](int n, bool& stop) { OnThumbnail(n, stop); };
  SyncFromSettings();
  namer_ = std::make_unique<tfilenamer>(naming_, clock_);
  namer_->SetFolderCreated([this](const std::string& f) { form_.CreatedFolders().NoteCreated(f); });
  tfetchhost host;
  host.progress = [this](int position, const std::string& text, int n) {
    form_.ReportPosition(position);
    form_.ReportText(text, n);
  };
  host.stopRequested = [this] {
    QApplication::processEvents();
    return form_.StopRequest().IsSet();
  };
  host.message = [this](tmessagekind kind, const std::string& text) { Message(kind, text); };
  host.show = [this](const tshownpicture& p) { ShowFetched(p); };
  host.overwrite = &overwrite_;
  host.captionPrompt = &captionPrompt_;
  host.confirmDelete = [this](int n, bool& alwaysAsk) {
    Tconfirmdelete dlg(CellOf(n), alwaysAsk, &form_);
    const bool yes = dlg.Confirm();
    alwaysAsk = dlg.AlwaysAsk();
    return yes;
  };
  host.confirm = [this](const std::string& text) {
    return QMessageBox::question(&form_, "Vantlo", QString::fromStdString(text),
                                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel) ==
           QMessageBox::Yes;
  };
  host.onConfirmOverwriteOff = [this] {
    if (savingPage_) savingPage_->SetConfirmOverwrite(false);
  };
  workflow_ = std::make_unique<tfetchworkflow>(*engine, *manager_, *namer_, saveOptions_,
                                               fetchSettings_, host, clock_);
  return true;
}

void tcamerapictures::Message(tmessagekind kind, const std::string& text) {
  // A lost connection on a port that would not open says what is wrong with the port.
  const QString t = QString::fromStdString(kind == tmessagekind::error && form_.HasCameraLink()
                                               ? CameraFailureText(form_.Camera(), text)
                                               : text);
  if (kind == tmessagekind::information) {
    form_.ShowPageNumber(1);
    QMessageBox::information(&form_, "Vantlo", t);
  } else if (kind == tmessagekind::warning) {
    QMessageBox::warning(&form_, "Vantlo", t);
  } else {
    QMessageBox::critical(&form_, "Vantlo", t);
  }
}

void tcamerapictures::FilesWritten(const std::vector<std::string>& paths) {
  // The Browse page lists the folder again when it shows one of them, so the new or replaced
  // files appear there.
  tbrowsepage* browser = form_.Browser();
  if (!browser || paths.empty()) return;
  const std::string& shown = browser->Manager().CurrentFolder();
  if (shown.empty()) return;
  std::error_code ec;
  for (const std::string& path : paths) {
    if (std::filesystem::equivalent(std::filesystem::path(path).parent_path(), shown, ec)) {
      browser->Manager().Refresh();
      browser->Grid().Reshape();
      return;
    }
  }
}

void tcamerapictures::SyncFromSettings() {
  form_.ReadControlsIntoSettings();
  const tsettingsrecords& r = form_.Settings();
  naming_ = NamingSettingsFrom(r);
  saveOptions_ = SaveOptionsFrom(r.config);
  fetchSettings_ = FetchSettingsFrom(r);
}

void tcamerapictures::SyncToSettings() {
  tsettingsrecords& r = form_.Settings();
  StoreNamingSettings(naming_, r);
  StoreSaveOptions(saveOptions_, r.config);
  r.config.SetConfirmDeleteFromCamera(fetchSettings_.askBeforeDelete);
  if (savingPage_) {
    savingPage_->SetConfirmOverwrite(saveOptions_.confirmOverwrite);
    savingPage_->FolderEdit->setText(QString::fromStdString(naming_.outputFolder));
  }
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
    cell.thumbnail = ToImage(*thumb);
    cell.movie = manager_->MovieFlag(n);
    cell.fine = manager_->FineFlag(n);
  }
  return cell;
}

void tcamerapictures::ShowError(const std::exception& e) {
  QApplication::restoreOverrideCursor();
  form_.ReportText("Ready", 0);
  Message(tmessagekind::error, e.what());
}

bool tcamerapictures::Query() { return form_.BusyControl(tbusyregister::kQuery); }

void tcamerapictures::SetRows() {
  const int count = manager_->RefreshCount();
  if (!manager_->CountMessage().empty())
    QMessageBox::warning(&form_, "Vantlo", QString::fromStdString(manager_->CountMessage()));
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
  Panel10->setVisible(folders && form_.pagecontrol1->currentWidget() == form_.TabSheet1);
  if (folders) {
    cameraFolder_ = ComboBox5->currentText().toStdString();
    engine->ChangeFolder(cameraFolder_);
  }
}

void tcamerapictures::OnThumbnail(int n, bool& stop) {
  grid_->RedrawPicture(n);
  const int count = manager_->Count();
  if (count > 0) form_.ReportPosition(n * 100 / count);
  if (saveOptions_.saveThumbnails) {
    if (const tbitmap* thumb = manager_->Thumbnail(n)) {
      try {
        namer_->EnsureDailyFolder();
        TJPEGImage picture;
        picture.Assign(*thumb);
        const tjpegsettings jpeg{fetchSettings_.jpegQuality, fetchSettings_.progressive};
        tpicturesaver saver(*namer_, saveOptions_, &overwrite_, [this] {
          if (savingPage_) savingPage_->SetConfirmOverwrite(false);
        });
        FilesWritten(saver.SaveThumbnail(n, [&] { return PictureJpegBytes(picture, jpeg); }).saved);
      } catch (const std::exception& e) {
        QMessageBox::critical(&form_, "Vantlo", QString::fromStdString(e.what()));
        stop = true;
        return;
      }
    }
  }
  if (n < count)
    form_.Label1->setText(" Fetching thumbnail " + QString::number(n + 1) + " of " +
                          QString::number(count));
  QApplication::processEvents();
  if (form_.StopRequest().IsSet()) stop = true;
}

void tcamerapictures::ShowThumbnails1Click() {
  form_.ShowPageNumber(1);
  if (!EnsureWorkflow()) return;
  tbusyguard guard(form_.Busy(), tbusyregister::kThumbnails);
  if (!guard.Granted()) return;
  try {
    SyncFromSettings();
    ReadFolderList();
    grid_->SetPictureCount(0);
    SetRows();
    form_.Label1->setText(" Fetching thumbnails");
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
  tbusyguard guard(form_.Busy(), tbusyregister::kThumbnails);
  if (!guard.Granted()) return;
  try {
    SyncFromSettings();
    SetRows();
    const auto chosen = selection_.Selected(Count());
    if (chosen.empty()) {
      form_.ShowPageNumber(1);
      grid_->RedrawAll();
      QMessageBox::information(&form_, "Vantlo", tfetchworkflow::kSelectToDisplay);
      return;
    }
    for (int n : chosen) {
      QApplication::processEvents();
      if (form_.StopRequest().IsSet()) break;
      manager_->FetchThumbnail(n);
      QApplication::processEvents();
      if (form_.StopRequest().IsSet()) break;
    }
  } catch (const std::exception& e) {
    ShowError(e);
  }
  SyncToSettings();
  grid_->RedrawAll();
}

bool tcamerapictures::RunPictures(const std::function<tfetchresult()>& body) {
  if (!EnsureWorkflow()) return false;
  tbusyguard guard(form_.Busy(), tbusyregister::kPictures);
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

void tcamerapictures::ShowPictures1Click() {
  if (form_.PageControl2->currentWidget() == form_.BrowseSheet && form_.Browser()) {
    form_.Browser()->OpenCurrent();
    return;
  }
  if (form_.pagecontrol1->currentWidget() != form_.TabSheet1) {
    QMessageBox::warning(&form_, "Vantlo", "Please select a disk or camera picture to show");
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
      form_.ShowPageNumber(1);
      grid_->RedrawAll();
    }
    return workflow_->FetchSelected(selection_);
  });
}

void tcamerapictures::PicturebyNumber1Click() {
  if (!EnsureWorkflow()) return;
  tbusyguard guard(form_.Busy(), tbusyregister::kPictures);
  if (!guard.Granted()) return;
  try {
    SyncFromSettings();
    SetRows();
    if (Count() == 0) {
      QMessageBox::warning(&form_, "Vantlo", tfetchworkflow::kMemoryEmpty);
      return;
    }
    Tshowpicnum dlg(form_.Camera(), Count(), &form_);
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
  if (shownKind_ != 0 && shownKind_ != 1 && shownKind_ != 7) return;
  const int next = CurrentPicture() + 1;
  RunPictures([&] {
    if (next >= 1 && next <= Count()) return workflow_->FetchPicture(next);
    return tfetchresult{};
  });
}

void tcamerapictures::PreviousPicture() {
  if (!Query() || !EnsureWorkflow()) return;
  if (shownKind_ != 1 && shownKind_ != 7) return;
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
      QMessageBox::warning(&form_, "Vantlo", "Select a Camera Thumbnail to display");
      return;
    }
    form_.Camera().SelectPicture(lowest);
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
      form_.ShowPageNumber(1);
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
    form_.BusyStatusText(" Program is busy");
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
      form_.Camera().SelectPicture(n);
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
  tbusyguard guard(form_.Busy(), tbusyregister::kThumbnails);
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
  const bool movie = picture.kind == 7;
  form_.PictureView().ShowPicture(
      picture.image, picture.description, movie ? tpicturekind::Other : tpicturekind::Camera, {},
      picture.correctionStrength >= 0 ? &picture.uncorrected : nullptr, picture.sizeBytes);
  // Fetching again for "Redisplay" and the resize shows the picture as it came from the camera;
  // its files were saved by the first fetch and are not written (or asked about) again.
  form_.PictureView().Refetch = [this, n = picture.number] {
    if (!EnsureWorkflow() || n < 1) return false;
    return RunPictures([&] { return workflow_->RedisplayPicture(n); }) && CurrentPicture() == n;
  };
  form_.PageControl2->setCurrentWidget(form_.TabSheet11);
  form_.SetCurrentPicture(QString::fromStdString(picture.description),
                          static_cast<qint64>(picture.sizeBytes));
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
  const tpicturedocument& doc = form_.PictureView().Document();
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
      if (shownKind_ == 7 && !shown_.movieData.empty()) {
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
  if (form_.PageControl2->currentWidget() == form_.BrowseSheet && form_.Browser()) {
    const tdiskthumbmanager& disk = form_.Browser()->Manager();
    const titemkind item = disk.Collection().Kind(disk.CurrentItem());
    if (item == ikJpeg || item == ikCam) {
      if (!form_.OpenPictureFile(disk.CurrentPath(), true)) return;
    } else if (item != ikAvi) {
      QMessageBox::warning(&form_, "Vantlo", "Select a picture to save");
      return;
    }
  }
  const tsaveassubject subject = SaveAsSubject();
  try {
    SyncFromSettings();
    tfilenamer namer(naming_, clock_);
    namer.SetFolderCreated([this](const std::string& f) { form_.CreatedFolders().NoteCreated(f); });
    tsaveasworkflow saveAs(namer, saveOptions_, &overwrite_, [this] {
      if (savingPage_) savingPage_->SetConfirmOverwrite(false);
    });
    const std::optional<std::string> proposal = saveAs.Proposal(subject);
    if (!proposal) {
      QMessageBox::warning(&form_, "Vantlo", tsaveasworkflow::kNothingToSave);
      return;
    }
    namer.EnsureDailyFolder();
    tsaveasdialog dlg(&form_, "Save Picture As", QString::fromStdString(namer.Folder()));
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
  form_.ReadControlsIntoSettings();
  const tcaptionkind kind = webcam ? tcaptionkind::Webcam : tcaptionkind::Interactive;
  Tcaponpicdlg dlg(form_.Settings().capdata.Caption(kind), &form_, clock_);
  if (dlg.exec() == QDialog::Accepted) form_.Settings().capdata.SetCaption(kind, dlg.Record());
}

}  // namespace vantlo
