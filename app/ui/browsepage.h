// The "Browse" page (BrowseSheet): the folder tree, filters and tile grid of
// the disk picture browser, and the commands on selected disk pictures (open,
// step, slide show, rename, copy, move, delete, delete empty folders,
// properties, orientation, keywords, find, compress) with the "Disk" menu.
// The page builds its controls and owns the disk thumbnail manager.
#pragma once

#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "app/ui/diskgrid.h"
#include "app/ui/windowpage.h"
#include "library/diskthumbmanager.h"
#include "library/fileops.h"
#include "library/picturecommands.h"
#include "library/thumbsource.h"

class QMenu;
class QMenuBar;
class QAction;
class QCheckBox;
class QDialog;
class QEventLoop;
class QLabel;
class QPushButton;
class QSlider;
class QTreeView;

namespace vantlo {

class tfoldertreemodel;
class twindowhost;
struct tpictureinfo;

class tbrowsepage : public QWidget, public twindowpage {
  Q_OBJECT
 public:
  explicit tbrowsepage(twindowhost& host);
  ~tbrowsepage() override;

  int PageNumber() const override { return 0; }
  QWidget* Widget() override { return this; }
  QString TabText() const override { return "Browse"; }
  // The "Disk" menu (also the grid's pop-up menu) and the tool bar's "Back" and "Forward".
  void AddMenuCommands(const twindowmenus& menus) override;
  // The filters and the slide show speed (DISKMAN); the folder shown (EXTRA).
  void ApplySettings(tsettingsrecords& records) override;
  void ReadSettings(tsettingsrecords& records) override;
  // Re-shapes and focuses the grid.
  void Entered() override { PageShown(); }
  // Loading and opening begin; the start-up folder is listed.
  void WindowShown() override;
  // The Autoload check box is ticked (the autoload setting is on at every start).
  void DeferredStart() override;
  // Not while a slide show runs: it is stopped, and the window closed once it has ended.
  bool MayClose() override;

  // Start-up: the folder the page starts in, shown in the caption (listed once the window is
  // shown), and the same folder selected in the tree (throws when it cannot be).
  void SetStartFolder(const std::string& folder);
  void ShowStartFolderInTree();
  // The folder listed (with a trailing "/"; empty: none).
  const std::string& ShownFolder() const { return shownFolder_; }

  tdiskthumbmanager& Manager() { return *manager_; }
  Tdiskgrid& Grid() { return *grid_; }

  // Lists a folder (from the tree, the start-up folder or Today); errors
  // are shown. Returns true when the folder is listed.
  bool SetFolder(const std::string& folder);
  // The window has been shown: loading and opening may begin.
  void Activate();
  // The "Browse" page became visible: re-shape and focus the grid.
  void PageShown();

  // Commands (names as in the menu).
  void DeleteSelected();
  void CopySelected(bool move);
  void RenameSelected();
  void DeleteEmptyFolders();
  void SlideShow(bool selectedOnly);
  void PictureProperties();
  void DefineOrientationSelected();
  void CompressDatabase();
  void FindPictures();
  void AddKeywords();
  void RefreshClick();
  void TodayClick();
  void Back();
  void Forward();
  void StopSlideShow();
  bool SlideShowRunning() const { return sliding_; }

  // The program wrote the file at `path`: when it lies in the listed folder (or in a folder
  // right under it, such as a new daily folder), the listing is refreshed once the current
  // event has been handled, so a batch of saves refreshes once.
  void FileWritten(const std::string& path);
  // A command wrote these files: the listing is refreshed at once when one of them lies in the
  // listed folder or right under it.
  void FilesWritten(const std::vector<std::string>& paths);
  bool RefreshPending() const { return refreshQueued_; }

  // The paths of selected CAM, JPEG and AVI items, in item order.
  std::vector<std::string> SelectedPictures() const;
  // The paths of the selected, or of all listed, items of these kinds, in item order.
  std::vector<std::string> SelectedPaths(std::initializer_list<titemkind> kinds) const;
  std::vector<std::string> ListedPaths(std::initializer_list<titemkind> kinds) const;

  // "Send Selected Files using FTP...": every selected file (not folders) goes to the "Send
  // Using FTP" dialog, unless the program is busy ("Vantlo is busy").
  void SendSelectedFilesByFtp();
  tpictureinfo InfoOf(int item) const;

  // Seams the window fills in and tests replace. Each has a working default.
  std::function<bool(const std::string& path)> openPicture;  // show on the Picture page
  // "Back"/"Forward" (-1/+1) away from the Browse page with a camera picture shown.
  std::function<void(int by)> stepCamera;
  std::function<std::string(const std::string& title)> chooseFolder;  // "" = cancelled
  std::function<tanswer(const std::string& prompt, const std::string& path)> confirm;
  // Rename: returns 0 OK (path updated), 1 Skip, 2 Cancel.
  std::function<int(std::string& path)> askRename;
  // Runs a dialog modally (tests replace it to drive the dialog).
  std::function<int(QDialog& dialog)> runDialog;
  // Messages to the user.
  std::function<void(const std::string& text)> message;

  QAction* FtpSendAction = nullptr;

  // Opens the selected disk picture in the picture view (the "Picture" button
  // while the Browse page is shown; double click and Enter on a tile).
  void OpenCurrent();
  // Save As from the Browse page: a selected picture file is opened first and becomes the shown
  // picture, a movie file keeps the shown picture, anything else cannot be saved (said so).
  bool PrepareSaveAs();

  QLabel* Label27 = nullptr;  // the folder shown
  QCheckBox* FilterCam = nullptr;
  QCheckBox* FilterJpg = nullptr;
  QCheckBox* FilterFolders = nullptr;
  QCheckBox* CheckBox25 = nullptr;  // Autoload
  QPushButton* RefreshButton = nullptr;
  QPushButton* TodayButton = nullptr;
  QSlider* SlideShowSpeed = nullptr;  // Slow .. Fast (DISKMAN delay index)
  QTreeView* directoryoutline1 = nullptr;
  QLabel* Image1 = nullptr;  // the small preview, 132 x 84
  Tdiskgrid* DrawGrid12 = nullptr;

 private:
  void Hook();
  void LoadStep();
  void ShowCaption(const std::string& text);
  void ShowTreeFolder(const std::string& folder);
  void OpenOutputFolderInTree();
  void ApplyFilters();
  void AfterChange();
  void Step(int by);
  std::string DefaultFolder() const;
  void SlideWait(int delay);
  void EndSlideWait();
  void FolderShown(const std::string& folder) { shownFolder_ = folder; }
  bool ShowsFolderOf(const std::string& path) const;

  twindowhost& host_;
  tfoldertreemodel* dirModel_ = nullptr;
  std::string shownFolder_;
  bool active_ = false;  // the window has been shown
  tpicturethumbsource source_;
  std::unique_ptr<tdiskthumbmanager> manager_;
  QPointer<Tdiskgrid> grid_;  // the window may delete it first
  QMenu* menu_ = nullptr;
  tfileops ops_;
  bool searchResults_ = false;
  bool loadQueued_ = false;
  bool refreshQueued_ = false;
  bool stopAtStart_ = false;
  bool sliding_ = false;
  bool slideStop_ = false;
  int slideStep_ = 0;                 // +1 Forward, -1 Back, while a slide waits
  bool closeAfterSlideShow_ = false;  // the window was closed during the show
  QEventLoop* slideWait_ = nullptr;   // the running slide's wait
};

}  // namespace vantlo
