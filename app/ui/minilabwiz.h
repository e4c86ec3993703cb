// The "MiniLab Wizard" (Tminilabwiz): page by page it asks whether the camera is connected,
// which pictures to fetch, what to save, where, and whether to print, and then runs the MiniLab
// (StartMiniLab) in the MiniLab busy slot. It is shown without being modal, so the main window
// stays usable for choosing thumbnails and changing settings while it is open; its help pages
// open the printing, contact sheet, orientation and CAM-to-JPEG commands of the window.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "app/core/minilabplan.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;

namespace vantlo {

class tbusyregister;
class twindowhost;

// What the wizard asks of the window besides the runner's host. Each may be left empty: the
// button then does nothing.
struct tminilabwizcommands {
  std::function<void()> connectionWizard;  // "Help me get the camera connected"
  std::function<std::string(const std::string& start)> chooseFolder;  // "" = cancelled
  std::function<void()> printerSetup, pageSetup, printStatus;
  // The help pages: the printer's name, orientation and pictures per page; the contact sheet
  // settings; the orientation dialog for selected CAM files; the CAM-to-JPEG batch.
  std::function<std::string()> printerText;
  std::function<void()> contactSettings;
  std::function<void()> defineOrientation;
  std::function<void()> camToJpeg;
  std::function<void(const std::string& text)> message;  // a message box
};

class Tminilabwiz : public QDialog {
  Q_OBJECT
 public:
  enum tpage {
    pgWelcome,
    pgConnected,
    pgWhich,
    pgSave,
    pgWhere,
    pgPrint,
    pgSummary,
    pgHelp,
    pgHelpPrint,
    pgHelpSheets,
    pgHelpOrientation,
    pgHelpCamToJpeg,
    pgcount
  };

  Tminilabwiz(twindowhost& window, tminilabhost& runner, tminilabwizcommands commands,
              QWidget* parent = nullptr);

  // Shows the wizard and returns at once: the window's own message loop runs it, so nothing of
  // the wizard outlives the window (which closes it as it closes, CloseWithWindow).
  void ShowWizard();
  void CloseWithWindow();

  int Page() const;
  void GoTo(int page);
  const tminilabplan& Plan() const { return plan_; }

  // Handlers of the pages (named for their buttons).
  void StartCameraTask();
  void OpenHelp();
  void Back();
  void StartOver();
  void CameraNo();
  void CameraYes();
  void ChooseAll();
  void ChooseRange();
  void ChooseThumbnails();
  void Continue();
  void SaveChoice(bool cam, bool jpeg);
  void UseThisFolder();
  void ChooseAnotherFolder();
  void UseDefaultFolder();
  void ChangeDefaultFolder();
  void UseNewDefaultFolder();
  void PrintChoice(bool print);
  void SaveTheseSettings();
  void StartProcessing();

  // Controls, for the tests.
  QStackedWidget* Pages = nullptr;
  QPushButton* BackButton = nullptr;
  QPushButton* StartButton = nullptr;  // "<< Start"
  QLabel* CountLabel = nullptr;
  QSpinBox* FromNumber = nullptr;
  QSpinBox* ToNumber = nullptr;
  QLabel* ThumbnailsLabel = nullptr;
  QLabel* AutoSaveLabel = nullptr;
  QLabel* ChosenFolderLabel = nullptr;
  QPushButton* UseNewDefaultButton = nullptr;
  QLabel* SummaryFetch = nullptr;
  QLabel* SummarySave = nullptr;
  QLabel* SummaryFolder = nullptr;
  QLabel* SummaryPrint = nullptr;
  QCheckBox* FetchThumbnailsBox = nullptr;
  QLabel* DefaultsLabel = nullptr;
  QLabel* PrinterLabel = nullptr;
  QLabel* SheetLabel = nullptr;
  QRadioButton* AutoSaveSheet = nullptr;
  QRadioButton* AskSheet = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Build();
  void Next(int page);
  void Enter(int page);
  void ShowChosenFolder();
  void Message(const std::string& text);

  twindowhost& window_;
  tminilabhost& runner_;
  tminilabwizcommands commands_;
  tminilabplan plan_;
  int previous_[pgcount] = {};
  bool changingFolder_ = false;
};

}  // namespace vantlo
