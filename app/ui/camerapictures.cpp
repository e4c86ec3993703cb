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
#include <fstream>

#include "app/core/saveasname.h"
#include "app/core/settingsrecords.h"
#include "app/core/thumbmanager.h"
#include "camera/qv10int.h"
#include "library/diskthumbmanager.h"
#include "library/pictureproperties.h"
#include "cameragrid.h"
#include "browsepage.h"
#include "caponpicdlg.h"
#include "confirmdelete.h"
#include "form1.h"
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

std::vector<std::uint8_t> JpegBytesOf(const tbitmap& bitmap, int quality) {
  TJPEGImage image;
  image.SetCompressionQuality(std::clamp(quality, 1, 100));
  image.Assign(bitmap);
  std::vector<std::uint8_t> bytes;
  image.SaveToStream(bytes);
  return bytes;
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("Cannot write " + path);
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
  host.message = [this](tmessagekind kind, const std::string& text) {
    const QString t = QString::fromStdString(text);
    if (kind == tmessagekind::information) {
      form_.ShowPageNumber(1);
      QMessageBox::information(&form_, "Vantlo", t);
    } else if (kind == tmessagekind::warning) {
      QMessageBox::warning(&form_, "Vantlo", t);
    } else {
      QMessageBox::critical(&form_, "Vantlo", t);
    }
  };
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
  QMessageBox::critical(&form_, "Vantlo", QString::fromStdString(e.what()));
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
  if (folders) engine->ChangeFolder(ComboBox5->currentText().toStdString());
}

void tcamerapictures::OnThumbnail(int n, bool& stop) {
  grid_->RedrawPicture(n);
  const int count = manager_->Count();
  if (count > 0) form_.ReportPosition(n * 100 / count);
  if (saveOptions_.saveThumbnails) {
    if (const tbitmap* thumb = manager_->Thumbnail(n)) {
      try {
        namer_->EnsureDailyFolder();
        const tbitmap copy = *thumb;
        const int quality = fetchSettings_.jpegQuality;
        tpicturesaver saver(*namer_, saveOptions_, &overwrite_, [this] {
          if (savingPage_) savingPage_->SetConfirmOverwrite(false);
        });
        saver.SaveThumbnail(n, [&] { return JpegBytesOf(copy, quality); });
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

void tcamerapictures::RunPictures(const std::function<tfetchresult()>& body) {
  if (!EnsureWorkflow()) return;
  tbusyguard guard(form_.Busy(), tbusyregister::kPictures);
  if (!guard.Granted()) return;
  QApplication::setOverrideCursor(Qt::BusyCursor);
  try {
    SyncFromSettings();
    SetRows();
    lastResult_ = body();
  } catch (const std::exception& e) {
    ShowError(e);
    SyncToSettings();
    return;
  }
  QApplication::restoreOverrideCursor();
  SyncToSettings();
  grid_->RedrawAll();
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
  form_.PictureView().ShowPicture(picture.image, picture.description,
                                  picture.kind == 7 ? tpicturekind::Other : tpicturekind::Camera);
  form_.PictureView().Refetch = [this, n = picture.number] {
    if (!EnsureWorkflow() || n < 1) return false;
    RunPictures([&] { return workflow_->FetchPicture(n); });
    return CurrentPicture() == n;
  };
  form_.PageControl2->setCurrentWidget(form_.TabSheet11);
  form_.SetCurrentPicture(QString::fromStdString(picture.description),
                          static_cast<qint64>(picture.sizeBytes));
  QApplication::processEvents();
}

// A picture opened from disk and saved under another name takes its title,
// description, keywords and orientation along (a CAM file's companion becomes
// the JPEG's when the format changes).
static void CopyPropertiesAlong(const std::string& from, const std::string& to) {
  if (from == to) return;
  tpictureproperties properties;
  properties.SetFile(from);
  properties.Load();
  properties.SetFile(to);
  properties.Save();
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
  // What is shown now decides: a camera picture (1), a JPEG (2) or CAM (3) file from disk, or the
  // preview of a camera movie (7).
  const tpicturedocument& doc = form_.PictureView().Document();
  int kind = 0;
  switch (doc.Kind()) {
    case tpicturekind::Camera:
      kind = 1;
      break;
    case tpicturekind::JpegFile:
      kind = 2;
      break;
    case tpicturekind::CamFile:
      kind = 3;
      break;
    case tpicturekind::Other:
      kind = shownKind_ == 7 ? 7 : 0;
      break;
    default:
      break;
  }
  if (kind == 0 || ((kind == 1 || kind == 7) && !EnsureWorkflow())) {
    QMessageBox::warning(&form_, "Vantlo", "Nothing to save");
    return;
  }
  try {
    SyncFromSettings();
    tfilenamer namer(naming_, clock_);
    namer.SetFolderCreated([this](const std::string& f) { form_.CreatedFolders().NoteCreated(f); });
    const int n = shown_.number;
    std::string proposal;
    if (kind == 2 || kind == 3)
      proposal = doc.Path();
    else
      proposal = namer.FileName(n, tnamekind::picture, kind == 7 ? "AVI" : "JPG");
    proposal = SaveAsProposal(proposal);
    namer.EnsureDailyFolder();
    QFileDialog dlg(&form_, "Save Picture As", QString::fromStdString(namer.Folder()));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    const QStringList filters = {"JPEG (*.jpg)", "CAM (*.cam)", "AVI (*.avi)"};
    dlg.setNameFilters(filters);
    dlg.selectNameFilter(filters[kind == 7 ? 2 : 0]);
    dlg.selectFile(QString::fromStdString(proposal));
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return;
    const std::string chosen = dlg.selectedFiles().front().toStdString();
    const int filter = filters.indexOf(dlg.selectedNameFilter());
    if (filter == 0) {
      if (kind == 7) {
        QMessageBox::warning(&form_, "Vantlo", "Nothing to save");
        return;
      }
      const std::string target = EnsureEnding(chosen, ".jpg");
      WriteFile(target, JpegBytesOf(doc.Picture().Bitmap(), fetchSettings_.jpegQuality));
      if (kind == 2 || kind == 3) CopyPropertiesAlong(doc.Path(), target);
    } else if (filter == 1) {
      if (kind != 1 && kind != 3) {
        QMessageBox::critical(&form_, "Vantlo", "You can only save a camera picture as a CAM file");
        return;
      }
      const std::string target = EnsureEnding(chosen, ".cam");
      if (kind == 1) {
        manager_->SaveRawPicture(n, target);
      } else if (target != doc.Path()) {
        std::error_code ec;
        std::filesystem::copy_file(doc.Path(), target,
                                   std::filesystem::copy_options::overwrite_existing, ec);
        if (ec) throw std::runtime_error("Cannot copy " + doc.Path() + ": " + ec.message());
        CopyPropertiesAlong(doc.Path(), target);
      }
    } else {
      if (kind != 7) {
        QMessageBox::critical(&form_, "Vantlo", "You can only save an AVI as a AVI file");
        return;
      }
      WriteFile(EnsureEnding(chosen, ".avi"), shown_.movieData);
    }
  } catch (const std::exception& e) {
    ShowError(e);
  }
  StoreNamingSettings(naming_, form_.Settings());
}

void tcamerapictures::Captions1Click(bool webcam) {
  form_.ReadControlsIntoSettings();
  const tcaptionkind kind = webcam ? tcaptionkind::Webcam : tcaptionkind::Interactive;
  Tcaponpicdlg dlg(form_.Settings().capdata.Caption(kind), &form_, clock_);
  if (dlg.exec() == QDialog::Accepted) form_.Settings().capdata.SetCaption(kind, dlg.Record());
}

}  // namespace vantlo
