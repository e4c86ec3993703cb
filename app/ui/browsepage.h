// The "Browse" page: the folder tree, filters and tile grid of the disk
// picture browser, and the commands on selected disk pictures (open, step,
// slide show, rename, copy, move, delete, delete empty folders, properties,
// orientation, keywords, find, compress). The window hands over its
// controls; the page owns the thumbnail manager.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ui/diskgrid.h"
#include "library/diskthumbmanager.h"
#include "library/fileops.h"
#include "library/picturecommands.h"
#include "library/thumbsource.h"

class QMenu;
class QMenuBar;
class QAction;
class QDialog;
class QEventLoop;

namespace vantlo {

class TForm1;
struct tpictureinfo;

class tbrowsepage : public QObject {
  Q_OBJECT
 public:
  // Uses the window's Browse page controls (grid, tree, filters, caption).
  explicit tbrowsepage(TForm1& form);
  ~tbrowsepage() override;

  tdiskthumbmanager& Manager() { return *manager_; }
  Tdiskgrid& Grid() { return *grid_; }

  // Lists a folder (from the tree, the start-up folder or Today); errors
  // are shown. Returns true when the folder is listed.
  bool SetFolder(const std::string& folder);
  // The window has been shown: loading and opening may begin.
  void Activate();
  // The "Browse" page became visible: re-shape and focus the grid.
  void PageShown();
  // Builds the "Disk" menu (also the grid's pop-up menu).
  QMenu* BuildMenu(QMenuBar* bar);

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
  bool RefreshPending() const { return refreshQueued_; }

  // The paths of selected CAM, JPEG and AVI items, in item order.
  std::vector<std::string> SelectedPictures() const;
  tpictureinfo InfoOf(int item) const;

  // Seams the window fills in and tests replace. Each has a working default.
  std::function<bool(const std::string& path)> openPicture;           // show on the Picture page
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
  bool eventFilter(QObject* watched, QEvent* event) override;

  TForm1& form_;
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
