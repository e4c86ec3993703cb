#include "app/ui/sheetmenu.h"

#include <QApplication>
#include <QMenu>
#include <QMessageBox>

#include "app/busyregister.h"
#include "app/core/settingsrecords.h"
#include "app/createdfolders.h"
#include "app/progressreport.h"
#include "app/stoprequest.h"
#include "app/ui/contactsetup.h"
#include "app/ui/diskpass.h"
#include "app/ui/pictureview.h"
#include "app/ui/sheetsavedialog.h"
#include "app/ui/windowhost.h"
#include "library/records.h"
#include "output/conman.h"

namespace vantlo {

namespace {

constexpr const char* kSheetDescription = "Contact sheet";

}  // namespace

tsheetmenu::tsheetmenu(twindowhost& host, QObject* parent)
    : QObject(parent), host_(host), overwrite_(host.Window()) {
  askSheetName = SheetSaveDialog(host.Window());
}

tsheetmenu::~tsheetmenu() = default;

void tsheetmenu::AddMenuCommands(const twindowmenus& menus) {
  QMenu* menu = menus.Menu("Contact &Sheets");
  menu->setObjectName("ContactSheetMenu");
  menu->addAction("&Setup...", this, &tsheetmenu::ContactSheets1Click);
  menu->addSeparator();
  menu->addAction("Add Current &Picture...", this, &tsheetmenu::AddCurrentPicture1Click);
  menu->addAction("Add &Selected Disk Pictures", this, &tsheetmenu::AddSelectedDiskPictures1Click);
  menu->addAction("&Add All Disk Pictures", this, &tsheetmenu::AddAllDiskPictures1Click);
  menu->addSeparator();
  menu->addAction("Show &Current Sheet", this, &tsheetmenu::ShowCurrentSheet1Click);
  menu->addAction("&Save Current Sheet", this, &tsheetmenu::SaveCurrentSheet1Click);
  menu->addAction("&Clear Current Sheet", this, &tsheetmenu::ClearCurrentSheet1Click);
  // Any other picture on display ends the contact sheet's turn as the shown picture.
  connect(&host_.PictureView(), &tpictureview::PictureChanged, this,
          [this] { sheetShown_ = false; });
}

void tsheetmenu::ShowError(const std::string& text) {
  QMessageBox::critical(host_.Window(), "Vantlo", QString::fromStdString(text));
}

void tsheetmenu::ContactSheets1Click() {
  host_.CollectSettings();
  try {
    if (Tcontactsetup::Run(host_.Settings(), host_.ContactSheet(), host_.Window(), chooseFont))
      host_.SettingsChanged();  // "AutoSave when sheet full" is the Saving page's check box
  } catch (const std::exception& e) {
    ShowError(e.what());
  }
}

void tsheetmenu::AddCurrentPicture1Click() {
  if (!host_.Busy().BusyControl(tbusyregister::kQuery)) return;
  try {
    host_.CollectSettings();
    tcontactsheetcommand command(host_.ContactSheet(), host_.Settings().contact,
                                 host_.PictureView().Pipeline(), {}, {}, host_.ColourDepth());
    command.AddCurrent(host_.PictureView().Document());
  } catch (const std::exception& e) {
    QMessageBox::warning(host_.Window(), "Vantlo", QString::fromStdString(e.what()));
  }
}

void tsheetmenu::AddSelectedDiskPictures1Click() {
  host_.CollectSettings();
  AddFiles(selectedDiskPictures ? selectedDiskPictures() : std::vector<std::string>{});
}

void tsheetmenu::AddAllDiskPictures1Click() {
  host_.CollectSettings();
  AddFiles(allDiskPictures ? allDiskPictures() : std::vector<std::string>{});
}

void tsheetmenu::AddFiles(const std::vector<std::string>& files) {
  if (files.empty()) {
    QMessageBox::warning(host_.Window(), "Vantlo", kNoPicturesSelected);
    return;
  }
  lastReport_ = RunDiskPass(
      host_, "Adding picture", [&](const tbatchhost& batch, const tpictureopenoptions& open) {
        tcontactsheetcommand command(host_.ContactSheet(), host_.Settings().contact,
                                     host_.PictureView().Pipeline(), batch, open,
                                     host_.ColourDepth());
        return command.AddFiles(files);
      });
  if (host_.ContactSheet().HasSheet()) ShowSheet();
  if (const std::string problems = DiskPassProblems(lastReport_); !problems.empty())
    ShowError(problems);
}

void tsheetmenu::ShowSheet() {
  const TJPEGImage picture = CurrentSheetPicture(host_.ContactSheet());
  host_.PictureView().ShowPicture(picture, kSheetDescription, tpicturekind::Other);
  sheetShown_ = true;
  host_.ShowPicturePage();
}

void tsheetmenu::ShowCurrentSheet1Click() {
  try {
    ShowSheet();
  } catch (const std::exception& e) {
    QMessageBox::warning(host_.Window(), "Vantlo", QString::fromStdString(e.what()));
  }
}

void tsheetmenu::SaveCurrentSheet1Click() {
  try {
    ShowSheet();
  } catch (const std::exception& e) {
    QMessageBox::warning(host_.Window(), "Vantlo", QString::fromStdString(e.what()));
    return;
  }
  if (saveAs) saveAs();
}

void tsheetmenu::ClearCurrentSheet1Click() { host_.ContactSheet().ClearSheet(); }

tsheetsaver& tsheetmenu::Saver() {
  naming_ = NamingSettingsFrom(host_.Settings());
  saveOptions_ = SaveOptionsFrom(host_.Settings().config);
  if (!saver_) {
    namer_ = std::make_unique<tfilenamer>(naming_);
    namer_->SetFolderCreated(
        [this](const std::string& f) { host_.CreatedFolders().NoteCreated(f); });
    saver_ = std::make_unique<tsheetsaver>(*namer_, saveOptions_, &overwrite_);
  }
  return *saver_;
}

long tsheetmenu::NextSheetNumber() {
  host_.CollectSettings();
  tsheetsaver& saver = Saver();
  const long n = saver.NextSheetNumber();
  StoreNamingSettings(naming_, host_.Settings());
  return n;
}

void tsheetmenu::SheetFinished(tconman& manager) {
  // The notification comes from inside AddPicture: a failure goes back to the command that
  // added the picture, which ends its pass and shows it; the finished sheet stays for "Save
  // Current Sheet" instead of being replaced by the next one.
  host_.CollectSettings();
  tsheetsaver& saver = Saver();
  const tsettingsrecords& r = host_.Settings();
  tsavereport report;
  try {
    report = saver.SaveFinishedSheet(manager.SheetBitmap(),
                                     {r.config.JpegQuality(), r.config.ProgressiveJpeg()},
                                     r.config.SaveContactSheets(), askSheetName);
  } catch (...) {
    StoreNamingSettings(naming_, host_.Settings());
    host_.SettingsChanged();
    throw;
  }
  StoreNamingSettings(naming_, host_.Settings());
  StoreSaveOptions(saveOptions_, host_.Settings().config);
  host_.SettingsChanged();
  if (!report.saved.empty()) host_.FilesWritten(report.saved);
}

}  // namespace vantlo
