#include "app/ui/minilabcommands.h"

#include <QEvent>
#include <QMenu>
#include <QMessageBox>
#include <QWidget>

#include "app/busyregister.h"
#include "app/core/naming.h"
#include "app/core/settingsrecords.h"
#include "app/core/thumbmanager.h"
#include "app/createdfolders.h"
#include "app/stoprequest.h"
#include "app/ui/camerapictures.h"
#include "app/ui/develop.h"
#include "app/ui/windowhost.h"

namespace vantlo {

tminilabcommands::tminilabcommands(twindowhost& window, tcamerapictures& camera, QObject* parent)
    : QObject(parent), window_(window), camera_(camera) {
  runDialog = [](QDialog& d) { return d.exec(); };
  if (QWidget* w = window_.Window()) w->installEventFilter(this);
}

bool tminilabcommands::eventFilter(QObject* watched, QEvent* event) {
  if (watched == window_.Window() && event->type() == QEvent::Close) WindowClosing();
  return QObject::eventFilter(watched, event);
}

tminilabcommands::~tminilabcommands() = default;

void tminilabcommands::AddMenuCommands(QMenu* menu) {
  if (!menu) return;
  menu->addAction("&Minilab Wizard...", this, &tminilabcommands::MinilabWizard1Click);
  menu->addAction("Run MiniLab Using Defaults", this,
                  &tminilabcommands::RunMiniLabUsingDefaults1Click);
  menu->addAction("MiniLab &Defaults...", this, &tminilabcommands::MiniLabDefaults1Click);
}

void tminilabcommands::Message(const std::string& text) {
  QMessageBox::warning(window_.Window(), "Vantlo", QString::fromStdString(text));
}

void tminilabcommands::MiniLabDefaults1Click() {
  window_.CollectSettings();
  // The dialog edits a copy; OK puts it back.
  tconfigrecord copy = window_.Settings().config;
  Tdevelop dialog(copy, window_.Window());
  if (runDialog(dialog) != QDialog::Accepted) return;
  window_.CollectSettings();
  tconfigrecord& config = window_.Settings().config;
  config.SetMiniLabFetchThumbnails(copy.MiniLabFetchThumbnails());
  config.SetMiniLabSaveJpeg(copy.MiniLabSaveJpeg());
  config.SetMiniLabSaveCam(copy.MiniLabSaveCam());
  config.SetMiniLabPrint(copy.MiniLabPrint());
  window_.SettingsChanged();
}

void tminilabcommands::RunMiniLabUsingDefaults1Click() {
  tbusyguard slot(window_.Busy(), tbusyregister::kMiniLab);
  if (!slot.Granted()) {
    Message(tbusyregister::kBusyBoxText);
    return;
  }
  try {
    RunMiniLabUsingDefaults(*this);
  } catch (const std::exception& e) {
    Message(e.what());
  }
}

void tminilabcommands::MinilabWizard1Click() {
  if (!wizard_) {
    tminilabwizcommands commands = wizardCommands;
    if (!commands.message) commands.message = [this](const std::string& t) { Message(t); };
    wizard_ = std::make_unique<Tminilabwiz>(window_, *this, commands, window_.Window());
  }
  wizard_->ShowWizard();
}

void tminilabcommands::WindowClosing() {
  if (wizard_) wizard_->CloseWithWindow();
}

tsettingsrecords& tminilabcommands::Settings() { return window_.Settings(); }
void tminilabcommands::CollectSettings() { window_.CollectSettings(); }
void tminilabcommands::SettingsChanged() {
  // The run's saving settings must reach the Saving page's boxes too: the camera commands read
  // the controls back into the records before they save.
  if (applySettings)
    applySettings();
  else
    window_.SettingsChanged();
}
tcameraselection& tminilabcommands::CameraSelection() { return camera_.Selection(); }
bool tminilabcommands::StopRequested() { return window_.StopRequest().IsSet(); }
void tminilabcommands::LoadAllThumbnails() { camera_.ShowThumbnails1Click(); }
void tminilabcommands::FetchSelected() { camera_.ShowSelectedPictures1Click(); }

void tminilabcommands::PrintSelected() {
  if (printSelected) {
    printSelected(camera_.Selection());
    return;
  }
  camera_.ShowSelectedPictures1Click();
  Message("The pictures were saved; there is no printer to print them on.");
}

int tminilabcommands::PictureCount() {
  tthumbmanager* manager = window_.CameraThumbnails();
  if (!manager)
    throw std::runtime_error("Camera is not connected or communicating properly; check and reset");
  return manager->RefreshCount();
}

std::string tminilabcommands::SaveFolder() {
  tnamingsettings naming = NamingSettingsFrom(window_.Settings());
  return tfilenamer(naming).Folder();
}

void tminilabcommands::EnsureDailyFolder() {
  tnamingsettings naming = NamingSettingsFrom(window_.Settings());
  tfilenamer namer(naming);
  namer.SetFolderCreated([this](const std::string& f) { window_.CreatedFolders().NoteCreated(f); });
  namer.EnsureDailyFolder();
  StoreNamingSettings(naming, window_.Settings());
}

void tminilabcommands::ShowFolder(const std::string& folder) {
  if (showFolder) showFolder(folder);
}

}  // namespace vantlo
