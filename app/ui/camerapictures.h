// The camera pictures of the "Camera" page: the camera grid with its selection, the window's
// camera thumbnail manager, and the commands on camera pictures with their menu entries (load
// thumbnails, fetch current/all/selected/by number, next and previous, show on the camera
// display, take, delete selected/all, camera folders, captions, Save As). The picture work itself
// is tfetchworkflow's; this class wires it to the window through its host: busy slots, Stop,
// progress, dialogs.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/core/clock.h"
#include "app/core/fetchworkflow.h"
#include "app/core/naming.h"
#include "app/core/picturesaver.h"
#include "app/core/saveasworkflow.h"
#include "cameracell.h"
#include "capprompt.h"
#include "gridclick.h"
#include "overdeldlg.h"

class QComboBox;
class QTableWidget;
class QWidget;

namespace vantlo {

class tcameragrid;
class tthumbmanager;
class tqvProtocolEngine;
class twindowhost;
struct twindowmenus;

class tcamerapictures : public QObject {
  Q_OBJECT
 public:
  // Works on the camera page's grid and its camera folder choice (`folderPanel` holds
  // `folders`; it is shown for cameras with folders).
  tcamerapictures(twindowhost& host, QTableWidget* grid, QWidget* folderPanel, QComboBox* folders,
                  QObject* parent = nullptr);
  ~tcamerapictures() override;

  // The File menu's Save As, the Pictures menu and the tool bar's Thumbnails and Show buttons.
  void AddMenuCommands(const twindowmenus& menus);

  // The date and time names and captions use (tests fix it); call before the first command.
  void SetClock(tlocalclock clock) { clock_ = std::move(clock); }

  tcameragrid& Grid() { return *grid_; }
  tcameraselection& Selection() { return selection_; }
  tgridclicks& Clicks() { return clicks_; }
  // The window's camera thumbnail manager (null without a protocol engine).
  tthumbmanager* Manager();
  int Count() const;
  int CurrentPicture() const;
  // Result of the last fetch or delete command (what was saved, skipped, failed).
  const tfetchresult& LastResult() const { return lastResult_; }

  // Command handlers (named after the window's menu items).
  void ShowThumbnails1Click();
  void ShowSelectedThumbnails1Click();
  void ShowPictures1Click();
  void ShowAllPictures1Click();
  void ShowSelectedPictures1Click();
  void PicturebyNumber1Click();
  void NextPicture();
  void PreviousPicture();
  void SelectedPictureonCameraDisplay1Click();
  void TakePicture1Click();
  void DeleteSelec1Click(bool checkBattery = true);
  void DeleteAllPictures1Click();
  void SelectAll1Click();
  void SelectNone1Click();
  void InvertSelection1Click();
  void ComboBox5Change();
  void Other1Click();  // Save As
  // "Picture Captions..." (webcam false) and "Vantlo Captions..." (webcam true): Tcaponpicdlg on
  // the caption record of that kind.
  void Captions1Click(bool webcam = false);

  // Grid events.
  void DrawGrid11Click(int n, Qt::KeyboardModifiers modifiers);
  void DrawGrid11DblClick(int n);

  // The cell of picture n as the grid draws it.
  tcameracell CellOf(int n) const;
  // The kind of camera picture shown last (none, a camera picture or a movie preview).
  tshownkind ShownKind() const { return shownKind_; }

  // Seams the window fills in (the Browse page's side of commands that depend on it).
  // "Next Picture"/"Previous Picture" (+1/-1); empty: the camera picture after or before.
  std::function<void(int by)> step;
  // "Show Picture" while the Browse page is shown: opens its selected picture.
  std::function<void()> showBrowsePicture;
  // Save As while the Browse page is shown: opens the selected picture first (false: nothing
  // to save, and the user has been told).
  std::function<bool()> prepareBrowseSaveAs;
  // Save As of a picture that did not come from the camera or a file: the contact sheet's
  // number (counted up for this save) when the picture view shows the contact sheet.
  std::function<std::optional<long>()> shownContactSheet;

  // Runs another command on the camera pictures (printing them) as the fetch commands run: in
  // the camera pictures slot, on the fetch workflow and the grid's selection; false when
  // refused or failed.
  bool RunOnWorkflow(
      const std::function<tfetchresult(tfetchworkflow&, const tcameraselection&)>& body);

  QWidget* Panel10 = nullptr;
  QComboBox* ComboBox5 = nullptr;

 private:
  tqvProtocolEngine* Engine();
  bool EnsureWorkflow();
  void SyncFromSettings();
  void SyncToSettings();
  void SetRows();
  void ReadFolderList();
  void OnThumbnail(int n, bool& stop);
  void ShowFetched(const tshownpicture& picture);
  void ShowError(const std::exception& e);
  void Message(tmessagekind kind, const std::string& text);
  // Files a command wrote (the Browse page shows them when it shows their folder).
  void FilesWritten(const std::vector<std::string>& paths);
  // "Yes to All" switched the overwrite confirmation off.
  void ConfirmOverwriteOff();
  // What Save As gets to save: the picture the view shows and where it came from.
  tsaveassubject SaveAsSubject();
  bool Query();
  // Runs a picture command in slot P; false when refused, failed or thrown.
  bool RunPictures(const std::function<tfetchresult()>& body);

  twindowhost& host_;
  tcameragrid* grid_;
  tcameraselection selection_;
  tgridclicks clicks_;
  tlocalclock clock_ = SystemLocalTime;
  tdialogoverwrite overwrite_;
  tdialogcaptionprompt captionPrompt_;
  tthumbmanager* manager_ = nullptr;  // the window's
  tnamingsettings naming_;
  tsaveoptions saveOptions_;
  tfetchsettings fetchSettings_;
  std::unique_ptr<tfilenamer> namer_;
  std::unique_ptr<tfetchworkflow> workflow_;
  tfetchresult lastResult_;
  tshownpicture shown_;
  tshownkind shownKind_ = tshownkind::none;
  bool foldersRead_ = false;
  std::string cameraFolder_;  // the folder last chosen on the camera
};

}  // namespace vantlo
