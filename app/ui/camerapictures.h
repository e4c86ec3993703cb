// The camera pictures of the main window: the camera grid with its selection, the camera
// thumbnail manager on the one protocol engine, and the commands of the "Camera" page (load
// thumbnails, fetch current/all/selected/by number, next and previous, show on the camera
// display, take, delete selected/all, camera folders, Save As). The picture work itself is
// tfetchworkflow's; this class wires it to the window: busy slots, Stop, progress, dialogs.
#pragma once

#include <QObject>
#include <memory>
#include <string>

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
class QWidget;

namespace vantlo {

class TForm1;
class tcameragrid;
class tsavingpage;
class tthumbmanager;
class tqvProtocolEngine;

class tcamerapictures : public QObject {
  Q_OBJECT
 public:
  tcamerapictures(TForm1& form, tsavingpage* savingPage);
  ~tcamerapictures() override;

  // The date and time names and captions use (tests fix it); call before the first command.
  void SetClock(tlocalclock clock) { clock_ = std::move(clock); }

  tcameragrid& Grid() { return *grid_; }
  tcameraselection& Selection() { return selection_; }
  tgridclicks& Clicks() { return clicks_; }
  // Null without a protocol engine (the program built without the camera library).
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
  // Picture kind shown: 0 none, or tshownpicture::kCameraPicture / kMoviePreview.
  int ShownKind() const { return shownKind_; }

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
  // What Save As gets to save: the picture the view shows and where it came from.
  tsaveassubject SaveAsSubject();
  bool Query();
  // Runs a picture command in slot P; false when refused, failed or thrown.
  bool RunPictures(const std::function<tfetchresult()>& body);

  TForm1& form_;
  tsavingpage* savingPage_;
  tcameragrid* grid_;
  tcameraselection selection_;
  tgridclicks clicks_;
  tlocalclock clock_ = SystemLocalTime;
  tdialogoverwrite overwrite_;
  tdialogcaptionprompt captionPrompt_;
  std::unique_ptr<tthumbmanager> manager_;
  tnamingsettings naming_;
  tsaveoptions saveOptions_;
  tfetchsettings fetchSettings_;
  std::unique_ptr<tfilenamer> namer_;
  std::unique_ptr<tfetchworkflow> workflow_;
  tfetchresult lastResult_;
  tshownpicture shown_;
  int shownKind_ = 0;
  bool foldersRead_ = false;
  std::string cameraFolder_;  // the folder last chosen on the camera
};

}  // namespace vantlo
