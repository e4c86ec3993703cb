#include "app/ui/printmenu.h"

#include <QApplication>
#include <QMenu>
#include <QMessageBox>

#include "app/busyregister.h"
#include "app/core/printcommand.h"
#include "app/progressreport.h"
#include "app/stoprequest.h"
#include "app/ui/diskpass.h"
#include "app/ui/pagesetup.h"
#include "app/ui/pictureview.h"
#include "app/ui/printeroutput.h"
#include "app/ui/printstatus.h"
#include "app/ui/windowhost.h"
#include "library/records.h"
#include "output/acprinter.h"

namespace vantlo {

tprintmenu::tprintmenu(twindowhost& host, tprinteroutput& output, QObject* parent)
    : QObject(parent), host_(host), output_(output) {}

void tprintmenu::AddMenuCommands(const twindowmenus& menus) {
  QMenu* menu = menus.Menu("P&rint");
  menu->setObjectName("PrintMenu");
  menu->addAction("Pa&ge Setup...", this, &tprintmenu::PageSetup1Click);
  menu->addAction("P&rinter Setup...", this, &tprintmenu::PrinterSetup1Click);
  menu->addSeparator();
  menu->addAction("&Current Picture on Display", this, &tprintmenu::CurrentPicture1Click);
  menu->addAction("Selected &Disk Pictures", this, &tprintmenu::SelectedDiskPictures1Click);
  menu->addAction("A&ll Disk Pictures", this, &tprintmenu::AllDiskPictures1Click);
  menu->addAction("&Selected Camera Pictures", this, &tprintmenu::SelectedCameraPictures1Click);
  menu->addAction("&All Camera Pictures", this, &tprintmenu::AllCameraPictures1Click);
  menu->addSeparator();
  menu->addAction("&Flush Printer", this, &tprintmenu::FlushPrinter1Click);
  menu->addAction("Cancel Printing", this, &tprintmenu::CancelPrinting1Click);
  menu->addAction("Print Status...", this, &tprintmenu::PrintStatus1Click);
}

void tprintmenu::ShowError(const std::string& text) {
  QMessageBox::critical(host_.Window(), "Vantlo", QString::fromStdString(text));
}

void tprintmenu::PageSetup1Click() {
  host_.CollectSettings();
  // A layout refused while a page is pending is said by the dialog's Run.
  if (Tpagesetup::Run(host_.Settings(), host_.Printer(), host_.Window(), chooseFont))
    host_.SettingsChanged();
}

void tprintmenu::PrinterSetup1Click() {
  if (!host_.Busy().BusyControl(tbusyregister::kQuery)) return;
  output_.PrinterSetup(host_.Window());
}

void tprintmenu::CurrentPicture1Click() {
  if (host_.BrowsePageShown()) {
    SelectedDiskPictures1Click();
    return;
  }
  if (!host_.Busy().BusyControl(tbusyregister::kQuery)) return;
  const tpicturedocument& doc = host_.PictureView().Document();
  if (!doc.HasPicture()) {
    QMessageBox::warning(host_.Window(), "Vantlo", kNoPictureOnDisplay);
    return;
  }
  host_.CollectSettings();
  if (!host_.PreparePrinter()) return;
  try {
    tprintcommand command(host_.Printer(), host_.PictureView().Pipeline(), {}, {},
                          host_.ColourDepth());
    command.PrintCurrent(doc);
  } catch (const std::exception& e) {
    ShowError(e.what());
  }
}

void tprintmenu::SelectedDiskPictures1Click() {
  host_.CollectSettings();
  PrintFiles(selectedDiskPictures ? selectedDiskPictures() : std::vector<std::string>{});
}

void tprintmenu::AllDiskPictures1Click() {
  host_.CollectSettings();
  PrintFiles(allDiskPictures ? allDiskPictures() : std::vector<std::string>{});
}

void tprintmenu::PrintFiles(const std::vector<std::string>& files) {
  if (files.empty()) {
    QMessageBox::warning(host_.Window(), "Vantlo", kNoPicturesSelected);
    return;
  }
  if (!host_.PreparePrinter()) return;
  lastReport_ = RunDiskPass(host_, "Printing picture",
                            [&](const tbatchhost& batch, const tpictureopenoptions& open) {
                              tprintcommand command(host_.Printer(), host_.PictureView().Pipeline(),
                                                    batch, open, host_.ColourDepth());
                              return command.PrintFiles(files);
                            });
  if (const std::string problems = DiskPassProblems(lastReport_); !problems.empty())
    ShowError(problems);
}

void tprintmenu::SelectedCameraPictures1Click() {
  if (!cameraPicturesSelected || !cameraPicturesSelected()) {
    host_.ShowPage(1);
    QMessageBox::warning(host_.Window(), "Vantlo", kSelectToPrint);
    return;
  }
  if (!runOnCamera || !host_.PreparePrinter()) return;
  runOnCamera([this](tfetchworkflow& fetch, const tcameraselection& selection) {
    tprintcommand command(host_.Printer(), host_.PictureView().Pipeline(), {}, {},
                          host_.ColourDepth());
    tfetchresult result;
    command.PrintCameraSelected(fetch, selection, result);
    return result;
  });
}

void tprintmenu::AllCameraPictures1Click() {
  if (!runOnCamera || !host_.PreparePrinter()) return;
  runOnCamera([this](tfetchworkflow& fetch, const tcameraselection&) {
    tprintcommand command(host_.Printer(), host_.PictureView().Pipeline(), {}, {},
                          host_.ColourDepth());
    return command.PrintCameraAll(fetch);
  });
}

void tprintmenu::FlushPrinter1Click() {
  try {
    host_.Printer().FinishJob();
  } catch (const std::exception& e) {
    ShowError(e.what());
  }
}

void tprintmenu::CancelPrinting1Click() { host_.Printer().AbortJob(); }

void tprintmenu::PrintStatus1Click() {
  Tprintstatus dlg(host_.Printer(), host_.Window());
  dlg.exec();
}

}  // namespace vantlo
