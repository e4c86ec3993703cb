// The print commands of the main window: "Page Setup...", "Printer Setup...", the picture on
// display, the Browse page's selected or listed pictures, the selected or all camera pictures
// (fetched and saved as the camera grid does), "Flush Printer", "Cancel Printing" and "Print
// Status...". The work is tprintcommand's; this class wires it to the window through its host.
#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "app/core/fetchworkflow.h"
#include "app/core/outputbatch.h"
#include "app/ui/fontchoice.h"
#include "app/ui/windowpage.h"

class QMenu;

namespace vantlo {

class tprinteroutput;
class twindowhost;

class tprintmenu : public QObject {
  Q_OBJECT
 public:
  // A command on the camera pictures: run in the camera pictures slot on their fetch workflow
  // and selection, as the fetch commands run; false when refused or failed.
  using tcamerarun = std::function<bool(
      const std::function<tfetchresult(tfetchworkflow&, const tcameraselection&)>&)>;

  tprintmenu(twindowhost& host, tprinteroutput& output, QObject* parent = nullptr);

  // The "Print" menu of the bar.
  void AddMenuCommands(const twindowmenus& menus);

  // Command handlers (named after the menu items).
  void PageSetup1Click();
  void PrinterSetup1Click();
  void CurrentPicture1Click();
  void SelectedDiskPictures1Click();
  void AllDiskPictures1Click();
  void SelectedCameraPictures1Click();
  void AllCameraPictures1Click();
  void FlushPrinter1Click();
  void CancelPrinting1Click();
  void PrintStatus1Click();

  // What the last pass over disk pictures did.
  const tbatchreport& LastReport() const { return lastReport_; }

  // Seams the window fills in: the Browse page's selected and listed CAM and JPEG pictures (in
  // item order), whether camera pictures are selected, and the camera pictures' runner.
  std::function<std::vector<std::string>()> selectedDiskPictures;
  std::function<std::vector<std::string>()> allDiskPictures;
  std::function<bool()> cameraPicturesSelected;
  tcamerarun runOnCamera;
  tfontchooser chooseFont = ChooseFontWithDialogs;

 private:
  void PrintFiles(const std::vector<std::string>& files);
  void ShowError(const std::string& text);

  twindowhost& host_;
  tprinteroutput& output_;
  tbatchreport lastReport_;
};

}  // namespace vantlo
