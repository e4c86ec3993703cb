// The contact sheet commands of the main window: "Contact Sheets..." / "Setup...", adding the
// picture on display or the Browse page's pictures, showing, saving and clearing the current
// sheet, and the saving of every sheet the manager finishes (the next "CS" name; the save
// dialog first when "Contact Sheets" is off). The work is tcontactsheetcommand's and
// tsheetsaver's; this class wires them to the window through its host.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/core/contactsheetcommand.h"
#include "app/core/naming.h"
#include "app/core/picturesaver.h"
#include "app/core/sheetsaver.h"
#include "app/ui/fontchoice.h"
#include "app/ui/overdeldlg.h"
#include "app/ui/windowpage.h"

namespace vantlo {

class twindowhost;

class tsheetmenu : public QObject {
  Q_OBJECT
 public:
  explicit tsheetmenu(twindowhost& host, QObject* parent = nullptr);
  ~tsheetmenu() override;

  // The "Contact Sheets" menu of the bar.
  void AddMenuCommands(const twindowmenus& menus);

  // Command handlers (named after the menu items).
  void ContactSheets1Click();
  void AddCurrentPicture1Click();
  void AddSelectedDiskPictures1Click();
  void AddAllDiskPictures1Click();
  void ShowCurrentSheet1Click();
  void SaveCurrentSheet1Click();
  void ClearCurrentSheet1Click();

  // The manager's sheet-finished notification: the sheet is saved (errors are shown).
  void SheetFinished(tconman& manager);
  // The picture view shows the contact sheet (picture kind 4) until another picture comes.
  bool SheetShown() const { return sheetShown_; }
  // Save As of the shown sheet: the sheet counter counted up past taken names.
  long NextSheetNumber();
  // What the last pass of "Add ... Disk Pictures" did.
  const tbatchreport& LastReport() const { return lastReport_; }

  // Seams the window fills in: the Browse page's selected and listed CAM and JPEG pictures, in
  // item order; Save As of the shown picture.
  std::function<std::vector<std::string>()> selectedDiskPictures;
  std::function<std::vector<std::string>()> allDiskPictures;
  std::function<void()> saveAs;
  // The save dialog of a full sheet when "Contact Sheets" is off, and the font dialog of
  // "Contact Sheet Setup" (tests replace them).
  tsheetsaver::taskname askSheetName;
  tfontchooser chooseFont = ChooseFontWithDialogs;

 private:
  void AddFiles(const std::vector<std::string>& files);
  void ShowSheet();
  void ShowError(const std::string& text);
  tsheetsaver& Saver();

  twindowhost& host_;
  // The naming settings in force at each save (read from the records then), and the sheet
  // counter, which lives as long as the window.
  tnamingsettings naming_;
  tsaveoptions saveOptions_;
  std::unique_ptr<tfilenamer> namer_;
  std::unique_ptr<tsheetsaver> saver_;
  tdialogoverwrite overwrite_;
  bool sheetShown_ = false;
  tbatchreport lastReport_;
};

}  // namespace vantlo
