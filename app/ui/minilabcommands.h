// The MiniLab commands of the main window: "MiniLab Defaults...", "Run MiniLab Using Defaults"
// and "MiniLab Wizard...", and the runner's host over the window: the camera grid's selection
// and camera commands of the Camera page, the settings records, the folder shown on the Browse
// page. Printing and the help pages' commands come from the window through seams.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>

#include "app/core/minilab.h"
#include "app/ui/minilabwiz.h"

class QMenu;

namespace vantlo {

class tcamerapictures;
class twindowhost;

class tminilabcommands : public QObject, public tminilabhost {
  Q_OBJECT
 public:
  tminilabcommands(twindowhost& window, tcamerapictures& camera, QObject* parent = nullptr);
  ~tminilabcommands() override;

  // The commands into a menu (the tool bar's "MiniLab" button and the menu bar's).
  void AddMenuCommands(QMenu* menu);

  void MiniLabDefaults1Click();
  void RunMiniLabUsingDefaults1Click();
  void MinilabWizard1Click();
  void WindowClosing();
  Tminilabwiz* Wizard() { return wizard_.get(); }

  // Seams the window fills in: printing the selected camera pictures with the last page sent
  // (empty: the pictures are fetched and saved only, and the user is told), the Browse page on
  // a folder, and the wizard's commands of other pages.
  std::function<void(const tcameraselection&)> printSelected;
  std::function<void(const std::string& folder)> showFolder;
  tminilabwizcommands wizardCommands;
  // Shows the records in every control (the window's apply of settings to controls); empty:
  // the window's lighter SettingsChanged.
  std::function<void()> applySettings;
  // Runs a modal dialog (tests replace it).
  std::function<int(QDialog&)> runDialog;

  // tminilabhost
  tsettingsrecords& Settings() override;
  void CollectSettings() override;
  void SettingsChanged() override;
  tcameraselection& CameraSelection() override;
  bool StopRequested() override;
  void LoadAllThumbnails() override;
  void FetchSelected() override;
  void PrintSelected() override;
  int PictureCount() override;
  std::string SaveFolder() override;
  void EnsureDailyFolder() override;
  void ShowFolder(const std::string& folder) override;

 protected:
  // The window's close: the wizard goes with it.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Message(const std::string& text);

  twindowhost& window_;
  tcamerapictures& camera_;
  std::unique_ptr<Tminilabwiz> wizard_;
};

}  // namespace vantlo
